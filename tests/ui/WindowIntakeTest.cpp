// Start-up and intake of the window: the command line from the first show, dropped files and
// folders, macros over the DDE stand-in's socket, and closing during a harvest.
#include <fstream>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "support/SlowReader.h"
#include "support/TempDir.h"
#include "ui/IconFiles.h"
#include "ui/MacroTestClient.h"
#include "ui/WindowFixture.h"
#include "ui/intake/MacroServer.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

class IntakeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    window = std::make_unique<MainWindow>(dialogs);
  }

  // An icon file named `name` (the caption is the name without extension) in `folder`.
  QString Icon(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    WriteSolidIconFile(folder / name, 0x112233);
    return FromPath(folder / name);
  }
  QString Folder(const std::string& name, int plainFiles = 0) {
    const auto folder = temp.Path() / name;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < plainFiles; ++i) std::ofstream(folder / ("plain" + std::to_string(i))) << i;
    return FromPath(folder);
  }
  // Waits until the start-up work and any run have ended.
  void WaitIdle() {
    PumpUntil([&] { return !window->Intake().StartupPending() && !window->RunInProgress(); });
    PumpPending();
  }
  QString Panel(int index) const { return window->Parts().StatusLine->Text(index); }
  QStringList Captions() const {
    QStringList captions;
    for (const ListEntry& entry : window->Harvest().Entries) {
      captions.push_back(QString::fromStdString(entry.Caption));
    }
    return captions;
  }
  // Drops local files (and a web address, which is no file) on the window.
  bool Drop(const QStringList& names) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& name : names) urls.push_back(QUrl::fromLocalFile(name));
    urls.push_back(QUrl(QStringLiteral("https://example.org/remote.ico")));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(10, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    return enter.isAccepted() && drop.isAccepted();
  }

  FakeDialogs dialogs;
  TempDir temp;
  std::unique_ptr<MainWindow> window;
};

TEST_F(IntakeTest, CommandLineFileAndDirectoryAreHarvestedInOrderFromTheFirstShow) {
  const QString red = Icon(temp.Path(), "Red.ICO");
  Icon(temp.Path() / "tree", "blue.ico");
  window->Intake().SetCommandLine(
      {red, FromPath(temp.Path() / "tree"), FromPath(temp.Path() / "gone")});
  AddEntries(*window, 1);  // the command line adds to what is there
  PumpPending();
  EXPECT_TRUE(window->Intake().StartupPending());  // nothing before the window is shown
  window->show();
  WaitIdle();
  EXPECT_EQ(Captions(), QStringList({"Icon 0", "Red", "blue"}));
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  EXPECT_EQ(Panel(1), QStringLiteral("2 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("3 icons"));
  EXPECT_TRUE(window->Parts().TileView->isVisible());
  // Showing the window again does not harvest again.
  window->hide();
  window->show();
  WaitIdle();
  EXPECT_EQ(window->Harvest().FileCount, 2);
}

TEST_F(IntakeTest, WithoutArgumentsTheWindowNeverGetsBusy) {
  bool busy = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { busy = busy || window->RunInProgress(); });
  watch.start(0);
  window->show();
  WaitIdle();
  EXPECT_FALSE(window->Intake().StartupPending());
  EXPECT_FALSE(busy);
  EXPECT_EQ(Panel(0), QString());
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
}

TEST_F(IntakeTest, TheCommandLineWaitsForARunThatBeganFirst) {
  window->Intake().SetCommandLine({Icon(temp.Path(), "Late.ico")});
  window->show();
  // A drop handled before the start-up work: the start-up call arrives inside its run.
  window->Intake().HandleDroppedFiles({Icon(temp.Path() / "drop", "Early.ico")});
  WaitIdle();
  EXPECT_EQ(Captions(), QStringList({"Early", "Late"}));
}

TEST_F(IntakeTest, DroppedFilesAreHarvestedInOrderWithoutClearingTheList) {
  window->show();
  WaitIdle();
  AddEntries(*window, 1);
  const QString a = Icon(temp.Path(), "a.ico");
  const QString c = Icon(temp.Path(), "c.ico");
  Icon(temp.Path() / "b", "inner.ico");
  EXPECT_TRUE(Drop({c, FromPath(temp.Path() / "b"), a}));
  WaitIdle();
  EXPECT_EQ(Captions(), QStringList({"Icon 0", "c", "inner", "a"}));
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));

  // Only web addresses: no drop of files.
  QMimeData web;
  web.setUrls({QUrl(QStringLiteral("https://example.org/x.ico"))});
  QDragEnterEvent enter(QPoint(10, 60), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST_F(IntakeTest, ADropDuringARunAddsNothing) {
  window->show();
  WaitIdle();
  dialogs.FolderAnswers = {Folder("plain", 3)};
  const QString dropped = Icon(temp.Path(), "dropped.ico");
  bool accepted = false;
  QTimer::singleShot(0, window.get(), [&] {
    accepted = Drop({dropped});
    PumpPending();
  });
  window->OpenDirectoryClick();
  WaitIdle();
  EXPECT_TRUE(accepted);  // taken from the shell, then ignored
  EXPECT_TRUE(Captions().isEmpty());
  EXPECT_EQ(Panel(1), QStringLiteral("3 files"));
}

TEST_F(IntakeTest, StopEndsADropBeforeTheNextName) {
  window->show();
  WaitIdle();
  const QStringList names{Icon(temp.Path(), "one.ico"), Icon(temp.Path(), "two.ico"),
                          Icon(temp.Path(), "three.ico")};
  // The second name takes long to read: Stop is pressed once the first is listed.
  window->Harvest().Engine.Reader = SlowReader("two.ico", std::chrono::seconds(5));
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (window->Harvest().Entries.empty()) return;
    watch.stop();
    window->Parts().StopBtn->click();
  });
  watch.start(1);
  window->Intake().HandleDroppedFiles(names);
  EXPECT_EQ(Captions(), QStringList({"one"}));
  EXPECT_FALSE(window->RunInProgress());
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
}

TEST_F(IntakeTest, LongPathsAreNeverCut) {
  window->show();
  WaitIdle();
  auto deep = temp.Path();
  for (int i = 0; i < 6; ++i) deep /= std::string(60, static_cast<char>('a' + i));
  const QString name = Icon(deep, "deep.ico");
  ASSERT_GT(name.size(), 360);
  EXPECT_TRUE(Drop({name}));
  WaitIdle();
  window->Intake().RunMacro({QFile::encodeName("\"" + name + "\"")});
  EXPECT_EQ(Captions(), QStringList({"deep", "deep"}));
}

TEST_F(IntakeTest, ClosingDuringTheCommandLinesHarvestStopsItThenTheProgramEnds) {
  constexpr int kFiles = 400;
  window->Intake().SetCommandLine({Folder("many", kFiles)});
  bool closed = false;
  bool busyAfterClose = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (closed || !window->RunInProgress()) return;
    closed = true;
    window->close();
    busyAfterClose = window->RunInProgress() && window->isVisible();
  });
  closer.start(0);
  bool timedOut = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    timedOut = true;
    QCoreApplication::quit();
  });
  guard.start(30000);
  window->show();
  QApplication::exec();  // ends when the last window has closed
  EXPECT_FALSE(timedOut);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(busyAfterClose);        // the run ends first ...
  EXPECT_FALSE(window->isVisible());  // ... then the window closes
  EXPECT_FALSE(window->RunInProgress());
  EXPECT_TRUE(window->Harvest().StopRequested);
  EXPECT_LT(window->Harvest().FileCount, kFiles);
}

class MacroTest : public IntakeTest {
 protected:
  void SetUp() override {
    IntakeTest::SetUp();
    ASSERT_EQ(server.Announce(QStringLiteral("pictarix"), FromPath(socketFolder.Path())),
              MacroServer::Announcement::Serving);
    window->Intake().ServeMacros(server);
    window->show();
    WaitIdle();
  }
  // Sends `text` and waits until the window has run the macro.
  std::string Send(const std::string& text) {
    const QString path = server.SocketPath();
    std::string reply = WhileServing([&] { return SendMacro(path, text); });
    WaitIdle();
    return reply;
  }
  std::string Utf8(const QString& text) { return text.toStdString(); }

  TempDir socketFolder;
  MacroServer server;
};

TEST_F(MacroTest, DirectoriesWithAndWithoutQuotes) {
  Icon(temp.Path() / "with quotes", "quoted.ico");
  Icon(temp.Path() / "bare", "bare.ico");
  AddEntries(*window, 1);
  const std::string text = "\"" + Utf8(FromPath(temp.Path() / "with quotes")) + "\"\r\n" +
                           Utf8(FromPath(temp.Path() / "bare"));
  EXPECT_EQ(Send(text), kAck);
  EXPECT_EQ(Captions(), QStringList({"Icon 0", "quoted", "bare"}));
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));
  EXPECT_EQ(Panel(1), QStringLiteral("2 files"));
}

TEST_F(MacroTest, NamesThatAreNoUtf8ArriveWholeRawOrAsSurrogateEscapes) {
  const std::string raw = temp.Path().string() + "/raw\xFF.ico";
  WriteSolidIconFile(raw, 0x112233);
  const std::string escaped = temp.Path().string() + "/esc\xFE.ico";
  WriteSolidIconFile(escaped, 0x445566);
  EXPECT_EQ(Send(raw + "\n" + temp.Path().string() + "/esc\xED\xB3\xBE.ico"), kAck);
  std::vector<std::filesystem::path> files;
  for (const ListEntry& entry : window->Harvest().Entries) files.push_back(entry.File);
  EXPECT_EQ(files, (std::vector<std::filesystem::path>{raw, escaped}));
  EXPECT_EQ(Panel(1), QStringLiteral("2 files"));
}

TEST_F(MacroTest, CrLfLinesWithABlankLineAndShortLines) {
  const std::string a = Utf8(Icon(temp.Path(), "first.ico"));
  const std::string b = Utf8(Icon(temp.Path(), "second.ico"));
  // The lone quote pair is an empty name; the one-character line is skipped.
  EXPECT_EQ(Send(a + "\r\n\r\n\"\"\r\nx\r\n" + b + "\r\n"), kAck);
  EXPECT_EQ(Captions(), QStringList({"first", "second"}));
  EXPECT_EQ(Panel(1), QStringLiteral("2 files"));
}

TEST_F(MacroTest, AQuoteOnlyAtTheStartStaysAndTheNameDoesNotExist) {
  const std::string name = Utf8(Icon(temp.Path(), "half.ico"));
  EXPECT_EQ(Send("\"" + name), kAck);
  EXPECT_TRUE(Captions().isEmpty());
  EXPECT_EQ(Panel(0), QStringLiteral("Processing Finished"));  // the run took place
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
}

TEST_F(MacroTest, MacrosDuringARunAreAcknowledgedAtOnceAndHarvestedAfterItInArrivalOrder) {
  dialogs.FolderAnswers = {Folder("plain", 3)};
  const std::string first = Utf8(Icon(temp.Path(), "late.ico"));
  const std::string second = Utf8(Icon(temp.Path(), "later.ico"));
  std::string replies;
  QTimer::singleShot(0, window.get(), [&] {
    const QString path = server.SocketPath();
    replies += WhileServing([&] { return SendMacro(path, first); });
    replies += WhileServing([&] { return SendMacro(path, second); });
    PumpPending();  // both arrive while the run goes on
    EXPECT_TRUE(window->RunInProgress());
  });
  window->OpenDirectoryClick();
  WaitIdle();
  EXPECT_EQ(replies, kAck + kAck);
  EXPECT_EQ(Captions(), QStringList({"late", "later"}));
  EXPECT_EQ(Panel(1), QStringLiteral("5 files"));
}

TEST_F(MacroTest, TheMinimisedWindowIsRestored) {
  window->setWindowState(Qt::WindowMinimized);
  ASSERT_TRUE(window->isMinimized());
  EXPECT_EQ(Send(Utf8(Icon(temp.Path(), "up.ico"))), kAck);
  EXPECT_FALSE(window->isMinimized());
  EXPECT_EQ(Captions(), QStringList({"up"}));
}

TEST_F(MacroTest, AStalledClientDoesNotHoldUpTheWindow) {
  server.SetClientTimeout(60000);
  const int stalled = ConnectTo(server.SocketPath());
  ASSERT_GE(stalled, 0);
  SendAll(stalled, "/half/a/name");
  EXPECT_EQ(Send(Utf8(Icon(temp.Path(), "served.ico"))), kAck);
  EXPECT_EQ(Captions(), QStringList({"served"}));
  ::close(stalled);
}

}  // namespace
}  // namespace pictarix::testing
