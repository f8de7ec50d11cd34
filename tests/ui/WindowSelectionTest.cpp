// Enabling rules, selection commands, Remove and Clear.
#include <QSignalSpy>
#include <QTest>

#include "ui/WindowFixture.h"

namespace pictarix::testing {
namespace {

struct Expected {
  bool Copy, Single, Batch, Formats;
};

void ExpectItems(TIconMain& w, Expected e, int selected) {
  SCOPED_TRACE(selected);
  for (QAction* item : {w.CopyClipBrd1, w.CopyClipBrd2}) EXPECT_EQ(item->isEnabled(), e.Copy);
  for (QAction* item :
       {w.SaveAs1, w.SaveAs2, w.SaveLib1, w.SaveLib2, w.AddLib1, w.AddLib2, w.Remove1, w.Remove2}) {
    EXPECT_EQ(item->isEnabled(), e.Single) << item->objectName().toStdString();
  }
  for (QAction* item : {w.BatchSaveAs1, w.BatchSaveAs2}) EXPECT_EQ(item->isEnabled(), e.Batch);
  for (QAction* item : {w.AsIcons1, w.AsIcons2, w.AsGIFs1, w.AsGIFs2, w.AsBitmaps1, w.AsBitmaps2,
                        w.AsJpegs1, w.AsJPEGs2}) {
    EXPECT_EQ(item->isEnabled(), e.Formats) << item->objectName().toStdString();
  }
  // The toolbar does not follow the selection.
  for (QAction* button : {w.FileBtn, w.DirBtn, w.DelBtn, w.ClearBtn, w.SaveBtn}) {
    EXPECT_TRUE(button->isEnabled());
  }
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

  window->ListView1->clearSelection();
  ExpectItems(*window, {false, false, false, false}, 0);
  EXPECT_EQ(Panel(0), QStringLiteral("0 items seleted"));
}

TEST_F(WindowSelectionTest, PopupMenuItemsCarryTheTagsAndCaptionsOfTheSaveMenu) {
  EXPECT_EQ(window->SaveAs1->text(), window->SaveAs2->text());
  EXPECT_EQ(window->Remove2->statusTip(), QStringLiteral("Remove select icons from the ListView"));
  EXPECT_EQ(window->CopyClipBrd1->statusTip(),
            QStringLiteral("Copy this image to Window clipboard"));
  const std::vector<QAction*> formats = {window->AsIcons1, window->AsGIFs2, window->AsBitmaps1,
                                         window->AsJpegs1};
  for (int tag = 0; tag < 4; ++tag) EXPECT_EQ(formats[tag]->data().toInt(), tag);
  EXPECT_EQ(window->AddLib1->data().toInt(), 1);
  EXPECT_EQ(window->AddLib2->data().toInt(), 1);
  EXPECT_EQ(window->SaveLib1->data().toInt(), 0);
  EXPECT_EQ(window->SelectAll1->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
}

TEST_F(WindowSelectionTest, SelectAllAndInvertChangeTheSelectionAsOneChange) {
  AddEntries(*window, 5);
  QSignalSpy changes(window->ListView1->selectionModel(), &QItemSelectionModel::selectionChanged);
  SelectRow(1);
  SelectRow(3);
  changes.clear();

  window->InvertSelection1Click();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(window->SelectedFlags(), std::vector<bool>({true, false, true, false, true}));
  EXPECT_EQ(Panel(0), QStringLiteral("3 items seleted"));

  window->SelectAll1Click();
  EXPECT_EQ(window->SelectedCount(), 5);
  EXPECT_EQ(Panel(0), QStringLiteral("5 items seleted"));
  EXPECT_TRUE(window->ListView1->hasFocus() || !QApplication::focusWidget());

  window->InvertSelection1Click();
  EXPECT_EQ(window->SelectedCount(), 0);
  EXPECT_EQ(Panel(0), QStringLiteral("0 items seleted"));
  ExpectItems(*window, {false, false, false, false}, 0);
}

TEST_F(WindowSelectionTest, CtrlAFromAnywhereSelectsAll) {
  AddEntries(*window, 4);
  QWidget* button = window->ToolBar1->widgetForAction(window->DirBtn);
  QApplication::setActiveWindow(window.get());
  button->setFocus();
  QTest::keyClick(button, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(window->SelectedCount(), 4);
}

TEST_F(WindowSelectionTest, EmptyListSelectionCommandsDoNothingVisible) {
  window->SelectAll1Click();
  window->InvertSelection1Click();
  window->RemoveClick();
  QTest::keyClick(window->ListView1, Qt::Key_Delete);
  EXPECT_EQ(Panel(0), QString());
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  window->Clear1Click();
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
}

TEST_F(WindowSelectionTest, RemoveTakesTheSelectedEntriesAndKeepsTheirTiles) {
  AddEntries(*window, 5);
  window->Harvester().FileCount = 2;
  SelectRow(0);
  SelectRow(2);
  SelectRow(3);
  window->Remove1->trigger();
  EXPECT_EQ(Captions(), std::vector<QString>({QStringLiteral("Icon 1"), QStringLiteral("Icon 4")}));
  EXPECT_EQ(window->Harvester().Entries[1].ImageIndex, 4);  // tiles stay until Clear
  EXPECT_EQ(window->Harvester().LargeImgs.Count(), 5);
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  EXPECT_EQ(Panel(1), QStringLiteral("2 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("2 icons"));
  EXPECT_EQ(window->SelectedCount(), 0);
  ExpectItems(*window, {false, false, false, false}, 0);
  EXPECT_TRUE(window->ListView1->isEnabled());
}

TEST_F(WindowSelectionTest, DeleteKeyRemovesWhereverTheFocusIs) {
  AddEntries(*window, 3);
  window->StatusBar1->SetText(0, QStringLiteral("unchanged"));
  QWidget* button = window->ToolBar1->widgetForAction(window->FileBtn);
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
  window->ListView1->setFocus();
  QTest::keyClick(window->ListView1, Qt::Key_Delete);
  EXPECT_EQ(Captions(), std::vector<QString>({QStringLiteral("Icon 2")}));
}

TEST_F(WindowSelectionTest, ClearEmptiesListAndTilesAndLeavesPanelZero) {
  AddEntries(*window, 4);
  window->Harvester().FileCount = 3;
  SelectRow(1);
  window->ClearBtn->trigger();
  EXPECT_EQ(window->ListModel().rowCount(), 0);
  EXPECT_EQ(window->Harvester().LargeImgs.Count(), 0);
  EXPECT_EQ(window->Harvester().FileCount, 0);
  EXPECT_EQ(Panel(0), QStringLiteral("1 items seleted"));
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  ExpectItems(*window, {false, false, false, false}, 0);
}

TEST_F(WindowSelectionTest, BulkSelectionOf200000EntriesRunsTheHandlerOncePerCommand) {
  AddEntries(*window, 200000);
  QSignalSpy changes(window->ListView1->selectionModel(), &QItemSelectionModel::selectionChanged);
  window->SelectAll1Click();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(Panel(0), QStringLiteral("200000 items seleted"));
  // Every other entry selected, then inverted: 100000 ranges in one change.
  QItemSelection even;
  for (int row = 0; row < 200000; row += 2) {
    even.select(window->ListModel().index(row), window->ListModel().index(row));
  }
  window->ListView1->clearSelection();
  window->ListView1->selectionModel()->select(even, QItemSelectionModel::Select);
  EXPECT_EQ(Panel(0), QStringLiteral("100000 items seleted"));
  changes.clear();
  window->InvertSelection1Click();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(Panel(0), QStringLiteral("100000 items seleted"));
  const std::vector<bool> flags = window->SelectedFlags();
  EXPECT_FALSE(flags[0]);
  EXPECT_TRUE(flags[199999]);
}

}  // namespace
}  // namespace pictarix::testing
