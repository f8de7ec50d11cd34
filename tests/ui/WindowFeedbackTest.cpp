// What the window tells after a command or a run: the status line's notice after a write (with
// "Open Folder") and after a run with unreadable files, the filter's count, the empty list's hint.
#include <fstream>

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>

#include "support/HarvestFixtures.h"
#include "support/TempDir.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/ProblemsDialog.h"
#include "ui/list/EmptyListHint.h"
#include "ui/list/FilterCount.h"
#include "ui/list/ListFeatures.h"
#include "ui/window/QtPaths.h"
#include "ui/window/StatusNotice.h"

namespace pictarix::testing {
namespace {

class WindowFeedbackTest : public WindowTest {
 protected:
  StatusNotice& Notice() const { return window->Parts().StatusLine->Notice(); }
  ListFeatures& Features() const { return *window->Parts().Features; }
  void Filter(const QString& text) {
    Features().FilterBox->setText(text);
    Features().ApplyFilter();
  }
  QString Count() const { return Features().Count->text(); }
  QString Hint() const { return Features().Hint->Text(); }
  void AddIcons(int count) {
    Harvester& harvest = window->Harvest();
    for (int i = 0; i < count; ++i) {
      AppendHarvestedEntry(harvest.Entries, harvest.LargeImgs, "name" + std::to_string(i),
                           MakeIcon({{32, 32}, {16, 8}}));
    }
    window->ListModel().TakeNewRows();
  }

  TempDir dir;
};

TEST_F(WindowFeedbackTest, FilterCountFollowsTheFilterArrivalsRemoveAndUndo) {
  EXPECT_EQ(Hint(), EmptyListHint::kEmptyText);
  AddEntries(*window, 12);  // "Icon 0" to "Icon 11"
  EXPECT_TRUE(Count().isEmpty());
  EXPECT_TRUE(Hint().isEmpty());
  Filter(QStringLiteral(" 1 "));
  EXPECT_EQ(Count(), QStringLiteral("3 of 12"));
  AddEntries(*window, 10);  // rows arriving during a run: "Icon 12" to "Icon 21"
  EXPECT_EQ(Count(), QStringLiteral("12 of 22"));
  SelectRow(0);
  window->RemoveClick();
  EXPECT_EQ(Count(), QStringLiteral("11 of 21"));
  window->UndoClick();
  EXPECT_EQ(Count(), QStringLiteral("12 of 22"));
  Filter(QStringLiteral("nothing like it"));
  EXPECT_EQ(Count(), QStringLiteral("0 of 22"));
  EXPECT_EQ(Hint(), EmptyListHint::kFilteredText);
  Filter(QString());
  EXPECT_TRUE(Count().isEmpty());
  window->ClearClick();
  EXPECT_EQ(Hint(), EmptyListHint::kEmptyText);
}

TEST_F(WindowFeedbackTest, WritesAreToldWithAnOpenFolderLinkAndTheCountersStay) {
  AddIcons(3);
  SelectRow(0);
  SelectRow(2);
  const QString folder = FromPath(dir.Path());
  dialogs.FolderAnswers = {folder, folder};
  Features().ExportImages->trigger();
  EXPECT_EQ(Notice().Message(), QStringLiteral("Saved 4 files to ") + folder);
  EXPECT_EQ(Notice().LinkText(), QStringLiteral("Open Folder"));
  EXPECT_EQ(Panel(0), QStringLiteral("2 items seleted"));
  Notice().ActivateLink();
  EXPECT_EQ(dialogs.Documents, std::vector<QUrl>{QUrl::fromLocalFile(folder)});

  window->BatchSaveClick(window->Parts().Item("batchIcons"));
  EXPECT_EQ(Notice().Message(), QStringLiteral("Saved 2 files to ") + folder);

  const QString library = FromPath(dir.Path() / "set.icl");
  dialogs.FileAnswers = {QStringList{library}, QStringList{library}};
  window->SaveToLibraryClick(window->Parts().Item("saveToLibrary"));
  EXPECT_EQ(Notice().Message(), QStringLiteral("Saved 2 icons to ") + library);
  SelectRow(2, QItemSelectionModel::Deselect);
  window->SaveToLibraryClick(window->Parts().Item("addToLibrary"));
  EXPECT_EQ(Notice().Message(), QStringLiteral("Added 1 icon to ") + library);

  // Without a program to open it the path can be copied: no dead end.
  dialogs.NoOpener = true;
  Notice().ActivateLink();
  EXPECT_EQ(Notice().Message(), QStringLiteral("No program could open ") + folder);
  Notice().ActivateLink();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), folder);
}

TEST_F(WindowFeedbackTest, ARunWithUnreadableFilesLinksToProblemsUntilTheNextRun) {
  for (const char* name : {"a.ico", "b.ico"}) {
    std::ofstream(dir.Path() / name, std::ios::binary)
        << std::string("\0\0\1\0\5\0garbagegarbage", 20);
  }
  std::ofstream(dir.Path() / "plain.txt") << "no icons";
  std::filesystem::create_directory(dir.Path() / "empty");
  dialogs.FolderAnswers = {FromPath(dir.Path()), FromPath(dir.Path() / "empty")};
  window->OpenDirectoryClick();
  EXPECT_EQ(Notice().LinkText(), QStringLiteral("2 files could not be read"));
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  bool problemsShown = false;
  dialogs.OnModal = [&](QDialog& shown) {
    problemsShown = dynamic_cast<ProblemsDialog*>(&shown) != nullptr;
  };
  Notice().ActivateLink();
  EXPECT_TRUE(problemsShown);

  window->OpenDirectoryClick();
  EXPECT_TRUE(Notice().LinkText().isEmpty());
  EXPECT_FALSE(Notice().isVisibleTo(window->Parts().StatusLine));
}

}  // namespace
}  // namespace pictarix::testing
