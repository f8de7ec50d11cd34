// Harvest commands and the busy state: Running, Stopping, Idle.
#include <fstream>

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "support/TempDir.h"
#include "ui/IconFiles.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/ProblemsDialog.h"
#include "ui/list/IconPreview.h"
#include "ui/window/OutputCommands.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

struct VisibleState {
  bool List, Preview, Stop, ToolBar;
  bool operator==(const VisibleState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const VisibleState& s) {
  return out << "list " << s.List << " preview " << s.Preview << " stop " << s.Stop << " toolbar "
             << s.ToolBar;
}

constexpr VisibleState kIdle{true, false, false, true};
constexpr VisibleState kRunning{false, true, true, false};
constexpr VisibleState kStopping{true, true, false, true};

class WindowRunTest : public WindowTest {
 protected:
  VisibleState State() const {
    return {window->Parts().TileView->isVisible(), window->Parts().Preview->isVisible(),
            window->Parts().StopBtn->isVisible(), window->Parts().ToolBar->isEnabled()};
  }
  // A folder of plain files (no icons).
  QString PlainFolder(int files) {
    for (int i = 0; i < files; ++i) std::ofstream(temp.Path() / ("file" + std::to_string(i))) << i;
    return FromPath(temp.Path());
  }
  // Runs `inside` at the first message processing of the next command.
  void DuringRun(std::function<void()> inside) { QTimer::singleShot(0, window.get(), inside); }

  TempDir temp;
};

TEST_F(WindowRunTest, StopMovesFromRunningToStoppingAndTheRunEndsIdle) {
  dialogs.FolderAnswers = {PlainFolder(5)};
  VisibleState running{}, stopping{};
  bool flagWhileStopping = false;
  DuringRun([&] {
    running = State();
    window->Parts().StopBtn->click();
    stopping = State();
    flagWhileStopping = window->RunInProgress();
  });
  window->Parts().Item("openDirectoryButton")->trigger();
  EXPECT_EQ(running, kRunning);
  EXPECT_EQ(stopping, kStopping);
  EXPECT_TRUE(flagWhileStopping);
  EXPECT_EQ(State(), kIdle);
  EXPECT_FALSE(window->RunInProgress());
  EXPECT_TRUE(window->Harvest().StopRequested);
  EXPECT_EQ(window->Harvest().FileCount, 0);  // stopped before the first entry
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(dialogs.FolderPrompts,
            std::vector<QString>{QStringLiteral("Please select a directory")});
  EXPECT_EQ(dialogs.FolderRoots, std::vector<QString>{QStringLiteral("/")});
}

TEST_F(WindowRunTest, EscapeStopsARunAsTheStopButtonDoes) {
  dialogs.FolderAnswers = {PlainFolder(5)};
  VisibleState stopping{};
  DuringRun([&] {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    stopping = State();
  });
  window->Parts().Item("openDirectoryButton")->trigger();
  EXPECT_EQ(stopping, kStopping);
  EXPECT_TRUE(window->Harvest().StopRequested);
  EXPECT_EQ(window->Harvest().FileCount, 0);
}

TEST_F(WindowRunTest, UnreadableFilesOfTheLastRunAreListedUnderProblems) {
  dialogs.FolderAnswers = {PlainFolder(3), FromPath(temp.Path())};
  DuringRun([&] { window->FileUnreadable("/m/bad.dll", "the resource table is damaged"); });
  window->OpenDirectoryClick();
  ASSERT_EQ(window->Problems().size(), 1u);
  EXPECT_TRUE(window->Parts().Item("problems")->isEnabled());
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));  // the status text stays
  QStringList row;
  dialogs.OnModal = [&](QDialog& shown) {
    const QTreeWidgetItem* item = static_cast<ProblemsDialog&>(shown).List().topLevelItem(0);
    row = {item->text(0), item->text(1)};
  };
  window->Parts().Item("problems")->trigger();
  EXPECT_EQ(row, QStringList({"/m/bad.dll", "the resource table is damaged"}));

  window->OpenDirectoryClick();  // a run without problems
  EXPECT_TRUE(window->Problems().empty());
  EXPECT_FALSE(window->Parts().Item("problems")->isEnabled());
}

TEST_F(WindowRunTest, DialogsStartInTheFolderLastUsedByThemEvenInANewWindow) {
  const QString file = FromPath(temp.Path() / "x.ico");
  std::ofstream(temp.Path() / "x.ico") << "x";
  dialogs.FileAnswers = {QStringList{file}};
  window->OpenFilesClick();
  EXPECT_EQ(dialogs.FileRequests[0].InitialDir, QDir::homePath());
  EXPECT_EQ(dialogs.FileRequests[0].Title, QStringLiteral("Open Files"));

  window = std::make_unique<MainWindow>(dialogs);
  window->OpenFilesClick();  // cancelled
  EXPECT_EQ(dialogs.FileRequests[1].InitialDir, FromPath(temp.Path()));
  dialogs.FileAnswers = {std::nullopt};
  window->SaveAsClick();  // nothing selected: no dialog; Save As keeps its own folder
  EXPECT_EQ(window->Parts().Output->SaveAsDialog.InitialDir, QDir::homePath());
}

TEST_F(WindowRunTest, DirectoryRunCountsEveryFile) {
  dialogs.FolderAnswers = {PlainFolder(10)};
  window->Parts().Item("openDirectory")->trigger();
  EXPECT_EQ(Panel(1), QStringLiteral("10 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  EXPECT_FALSE(window->Harvest().StopRequested);
  dialogs.FolderAnswers = {std::nullopt};  // cancelled: nothing happens
  window->Parts().Item("openDirectory")->trigger();
  EXPECT_EQ(Panel(1), QStringLiteral("10 files"));
}

TEST_F(WindowRunTest, DuringARunNothingStartsARunOrChangesTheList) {
  AddEntries(*window, 2);
  dialogs.FolderAnswers = {PlainFolder(3)};
  DuringRun([&] {
    window->Parts().StopBtn->click();  // the toolbar is enabled again, the run is not over
    window->Parts().Item("openFilesButton")->trigger();
    window->Parts().Item("openFiles")->trigger();
    window->Parts().Item("openDirectoryButton")->trigger();
    window->Parts().Item("clear")->trigger();
    window->SelectAllClick();
    window->Parts().Item("removeButton")->trigger();
    window->Parts().Item("remove")->trigger();
  });
  window->OpenDirectoryClick();
  EXPECT_TRUE(dialogs.FileRequests.empty());
  EXPECT_EQ(dialogs.FolderPrompts.size(), 1u);
  EXPECT_EQ(window->ListModel().rowCount(), 0);  // cleared by the run itself only
  EXPECT_EQ(State(), kIdle);
}

TEST_F(WindowRunTest, ClosingDuringARunStopsItThenCloses) {
  dialogs.FolderAnswers = {PlainFolder(4)};
  bool stillOpen = false;
  DuringRun([&] {
    window->close();
    stillOpen = window->isVisible();
  });
  window->OpenDirectoryClick();
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(window->Harvest().StopRequested);
  EXPECT_EQ(window->Harvest().FileCount, 0);
  QApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowRunTest, OpenFilesHarvestsIconFilesAndShowsTheTotals) {
  const auto red = temp.Path() / "Red.ICO";
  const auto blue = temp.Path() / "blue.ico";
  const auto broken = temp.Path() / "broken.ico";
  WriteSolidIconFile(red, 0xFF0000);
  WriteSolidIconFile(blue, 0x0000FF);
  std::ofstream(broken) << "not an icon";
  dialogs.FileAnswers = {QStringList{FromPath(red), FromPath(broken), FromPath(blue)}};
  window->Parts().Item("openFilesButton")->trigger();

  ASSERT_EQ(dialogs.FileRequests.size(), 1u);
  const FileDialogRequest& request = dialogs.FileRequests[0];
  EXPECT_EQ(request.Title, QStringLiteral("Open Files"));
  EXPECT_EQ(request.Filter,
            QStringLiteral("EXE;DLL;CPL;OCX;ICL;ICO;NIL|*.EXE;*.DLL;*.CPL;*.OCX;*.ICL;*.ICO;*.NIL|"
                           "EXE files(*.EXE)|*.exe|DLL files(*.DLL)|*.dll|All Files(*.*)|*.*"));
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_TRUE(request.MultiSelect);

  EXPECT_EQ(Captions(), std::vector<QString>({QStringLiteral("Red"), QStringLiteral("blue")}));
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  EXPECT_EQ(Panel(1), QStringLiteral("3 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("2 icons"));
  EXPECT_EQ(State(), kIdle);
  // The tile shown in the list is the icon's own picture.
  const QPixmap tile = window->ListModel().index(1).data(Qt::DecorationRole).value<QPixmap>();
  ASSERT_EQ(tile.size(), QSize(32, 32));
  EXPECT_EQ(tile.toImage().pixelColor(5, 5), QColor(0, 0, 255));
  EXPECT_EQ(window->Parts().Preview->Picture().pixelColor(5, 5), QColor(0, 0, 255));

  // Opening again clears the list first; a cancelled dialog changes nothing.
  dialogs.FileAnswers = {std::nullopt, QStringList{FromPath(blue)}};
  window->Parts().Item("openFiles")->trigger();
  EXPECT_EQ(window->ListModel().rowCount(), 2);
  window->Parts().Item("openFiles")->trigger();
  EXPECT_EQ(Captions(), std::vector<QString>{QStringLiteral("blue")});
  EXPECT_EQ(Panel(1), QStringLiteral("1 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("1 icons"));
}

}  // namespace
}  // namespace pictarix::testing
