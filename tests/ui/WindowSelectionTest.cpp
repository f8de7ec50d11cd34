// Enabling rules, selection commands, Remove and Clear.
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "ui/WindowFixture.h"
#include "ui/list/ListFeatures.h"

namespace pictarix::testing {
namespace {

struct Expected {
  bool Copy, Single, Batch, Formats;
};

void ExpectItems(MainWindow& w, Expected e, int selected) {
  SCOPED_TRACE(selected);
  const auto expect = [&w](std::initializer_list<const char*> names, bool enabled) {
    for (const char* name : names) EXPECT_EQ(w.Parts().Item(name)->isEnabled(), enabled) << name;
  };
  expect({"copyToClipboard", "copyLargestImage"}, e.Copy);
  expect({"saveAs", "saveToLibrary", "addToLibrary", "remove"}, e.Single);
  expect({"batchSaveAs"}, e.Batch);
  expect({"batchIcons", "batchGifs", "batchBitmaps", "batchJpegs", "batchPngs"}, e.Formats);
  // The toolbar does not follow the selection.
  expect({"openFilesButton", "openDirectoryButton", "removeButton", "clearButton", "saveButton"},
         true);
}

using WindowSelectionTest = WindowTest;

TEST_F(WindowSelectionTest, ItemsFollowTheNumberOfSelectedEntries) {
  AddEntries(*window, 3);
  ExpectItems(*window, {false, false, false, false}, 0);

  SelectRow(0);
  ExpectItems(*window, {true, true, false, true}, 1);
  EXPECT_EQ(Panel(0), QStringLiteral("1 items seleted"));

  SelectRow(2);
  ExpectItems(*window, {false, true, true, true}, 2);
  EXPECT_EQ(Panel(0), QStringLiteral("2 items seleted"));

  window->Parts().TileView->clearSelection();
  ExpectItems(*window, {false, false, false, false}, 0);
  EXPECT_EQ(Panel(0), QStringLiteral("0 items seleted"));
}

TEST_F(WindowSelectionTest, ContextMenuOffersTheSaveMenusOwnItems) {
  // Below Details and its separator, the context menu holds the very actions of the Save menu,
  // in the same order; only the menu bar's menu shows their shortcuts.
  QMenu* save = window->Parts().Item("saveMenu")->menu();
  ASSERT_NE(save, nullptr);
  const QList<QAction*> popup = window->Parts().ContextMenu->actions();
  ASSERT_EQ(popup.size(), save->actions().size() + 2);
  EXPECT_EQ(popup.mid(2), save->actions());
  EXPECT_TRUE(popup.contains(window->Parts().Features->ExportImages));
  for (QAction* item : popup.mid(2)) EXPECT_FALSE(item->isShortcutVisibleInContextMenu());
  EXPECT_EQ(window->Parts().Item("saveAs")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));

  EXPECT_EQ(window->Parts().Item("remove")->statusTip(),
            QStringLiteral("Remove select icons from the ListView"));
  EXPECT_EQ(window->Parts().Item("copyToClipboard")->statusTip(),
            QStringLiteral("Copy this image to Window clipboard"));
  const std::vector<QAction*> formats = {
      window->Parts().Item("batchIcons"), window->Parts().Item("batchGifs"),
      window->Parts().Item("batchBitmaps"), window->Parts().Item("batchJpegs")};
  for (int tag = 0; tag < 4; ++tag) EXPECT_EQ(formats[tag]->data().toInt(), tag);
  EXPECT_EQ(window->Parts().Item("addToLibrary")->data().toInt(), 1);
  EXPECT_EQ(window->Parts().Item("saveToLibrary")->data().toInt(), 0);
  EXPECT_EQ(window->Parts().Item("selectAll")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
}

TEST_F(WindowSelectionTest, SelectAllAndInvertChangeTheSelectionAsOneChange) {
  AddEntries(*window, 5);
  QSignalSpy changes(window->Parts().TileView->selectionModel(),
                     &QItemSelectionModel::selectionChanged);
  SelectRow(1);
  SelectRow(3);
  changes.clear();

  window->InvertSelectionClick();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(window->SelectedFlags(), std::vector<bool>({true, false, true, false, true}));
  EXPECT_EQ(Panel(0), QStringLiteral("3 items seleted"));

  window->SelectAllClick();
  EXPECT_EQ(window->SelectedCount(), 5);
  EXPECT_EQ(Panel(0), QStringLiteral("5 items seleted"));
  EXPECT_TRUE(window->Parts().TileView->hasFocus() || !QApplication::focusWidget());

  window->InvertSelectionClick();
  EXPECT_EQ(window->SelectedCount(), 0);
  EXPECT_EQ(Panel(0), QStringLiteral("0 items seleted"));
  ExpectItems(*window, {false, false, false, false}, 0);
}

TEST_F(WindowSelectionTest, CtrlAFromAnywhereSelectsAll) {
  AddEntries(*window, 4);
  QWidget* button =
      window->Parts().ToolBar->widgetForAction(window->Parts().Item("openDirectoryButton"));
  QApplication::setActiveWindow(window.get());
  button->setFocus();
  QTest::keyClick(button, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(window->SelectedCount(), 4);
}

TEST_F(WindowSelectionTest, EmptyListSelectionCommandsDoNothingVisible) {
  window->SelectAllClick();
  window->InvertSelectionClick();
  window->RemoveClick();
  QTest::keyClick(window->Parts().TileView, Qt::Key_Delete);
  EXPECT_EQ(Panel(0), QString());
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  window->ClearClick();
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
}

TEST_F(WindowSelectionTest, RemoveTakesTheSelectedEntriesAndKeepsTheirTiles) {
  AddEntries(*window, 5);
  window->Harvest().FileCount = 2;
  SelectRow(0);
  SelectRow(2);
  SelectRow(3);
  window->Parts().Item("remove")->trigger();
  EXPECT_EQ(Captions(), std::vector<QString>({QStringLiteral("Icon 1"), QStringLiteral("Icon 4")}));
  EXPECT_EQ(window->Harvest().Entries[1].ImageIndex, 4);  // tiles stay until Clear
  EXPECT_EQ(window->Harvest().LargeImgs.Count(), 5);
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  EXPECT_EQ(Panel(1), QStringLiteral("2 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("2 icons"));
  EXPECT_EQ(window->SelectedCount(), 0);
  ExpectItems(*window, {false, false, false, false}, 0);
  EXPECT_TRUE(window->Parts().TileView->isEnabled());
}

TEST_F(WindowSelectionTest, DeleteKeyRemovesWhereverTheFocusIs) {
  AddEntries(*window, 3);
  window->Parts().StatusLine->SetText(0, QStringLiteral("unchanged"));
  QWidget* button =
      window->Parts().ToolBar->widgetForAction(window->Parts().Item("openFilesButton"));
  QApplication::setActiveWindow(window.get());
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Delete);  // nothing selected: nothing changes
  EXPECT_EQ(Panel(0), QStringLiteral("unchanged"));
  EXPECT_EQ(window->ListModel().rowCount(), 3);

  SelectRow(1);
  QTest::keyClick(button, Qt::Key_Delete);
  EXPECT_EQ(Captions(), std::vector<QString>({QStringLiteral("Icon 0"), QStringLiteral("Icon 2")}));
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  SelectRow(0);
  window->Parts().TileView->setFocus();
  QTest::keyClick(window->Parts().TileView, Qt::Key_Delete);
  EXPECT_EQ(Captions(), std::vector<QString>({QStringLiteral("Icon 2")}));
}

TEST_F(WindowSelectionTest, ClearEmptiesListAndTilesAndLeavesPanelZero) {
  AddEntries(*window, 4);
  window->Harvest().FileCount = 3;
  SelectRow(1);
  window->Parts().Item("clearButton")->trigger();
  EXPECT_EQ(window->ListModel().rowCount(), 0);
  EXPECT_EQ(window->Harvest().LargeImgs.Count(), 0);
  EXPECT_EQ(window->Harvest().FileCount, 0);
  EXPECT_EQ(Panel(0), QStringLiteral("1 items seleted"));
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  ExpectItems(*window, {false, false, false, false}, 0);
}

TEST_F(WindowSelectionTest, BulkSelectionOf200000EntriesRunsTheHandlerOncePerCommand) {
  AddEntries(*window, 200000);
  QSignalSpy changes(window->Parts().TileView->selectionModel(),
                     &QItemSelectionModel::selectionChanged);
  window->SelectAllClick();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(Panel(0), QStringLiteral("200000 items seleted"));
  // Every other entry selected, then inverted: 100000 ranges in one change.
  QItemSelection even;
  for (int row = 0; row < 200000; row += 2) {
    even.select(window->ListModel().index(row), window->ListModel().index(row));
  }
  window->Parts().TileView->clearSelection();
  window->Parts().TileView->selectionModel()->select(even, QItemSelectionModel::Select);
  EXPECT_EQ(Panel(0), QStringLiteral("100000 items seleted"));
  changes.clear();
  window->InvertSelectionClick();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(Panel(0), QStringLiteral("100000 items seleted"));
  const std::vector<bool> flags = window->SelectedFlags();
  EXPECT_FALSE(flags[0]);
  EXPECT_TRUE(flags[199999]);
}

}  // namespace
}  // namespace pictarix::testing
