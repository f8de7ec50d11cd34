// The window under load: a directory harvest into the list while menu commands, Stop, drops and
// socket macros keep arriving through the events the harvest processes. Nothing crashes (the
// sanitizers watch every free), the busy state always ends, and every entry keeps its own icon
// and a tile of the list. The suite harvests 1,500 icon files;
// PICTARIX_WINDOW_LOAD_ENTRIES=200000 makes it the 200,000-entry run.
#include <cstdlib>
#include <functional>
#include <future>
#include <set>
#include <string>
#include <vector>

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "support/TempDir.h"
#include "ui/IconFiles.h"
#include "ui/MacroTestClient.h"
#include "ui/WindowFixture.h"
#include "ui/intake/MacroServer.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

int LoadEntries() {
  const char* wanted = std::getenv("PICTARIX_WINDOW_LOAD_ENTRIES");
  const int entries = wanted != nullptr ? std::atoi(wanted) : 0;
  return entries > 0 ? entries : 1500;
}

class WindowLoadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tree_ = std::make_unique<TempDir>();
    for (int i = 0; i < LoadEntries(); ++i) {
      const auto folder = tree_->Path() / "tree" / ("d" + std::to_string(i / 500));
      if (i % 500 == 0) std::filesystem::create_directories(folder);
      WriteSolidIconFile(folder / ("icon" + std::to_string(i) + ".ico"),
                         static_cast<std::uint32_t>(i) * 2654435761u);
    }
    WriteSolidIconFile(tree_->Path() / "dropped.ico", 0x445566);
  }
  static void TearDownTestSuite() { tree_.reset(); }

  void SetUp() override {
    ClearSettings();
    window = std::make_unique<MainWindow>(dialogs);
    ASSERT_EQ(server.Announce(QStringLiteral("pictarix"), FromPath(socketFolder.Path())),
              MacroServer::Announcement::Serving);
    window->Intake().ServeMacros(server);
    window->show();
    WaitIdle();
  }
  void TearDown() override { AwaitReplies(); }

  // Waits for every socket client; each one is acknowledged, whether its text arrived during a
  // run (ignored) or after it (harvested as a run of its own).
  void AwaitReplies() {
    for (auto& reply : replies) {
      ASSERT_TRUE(PumpUntil(
          [&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
          std::chrono::seconds(60)));
      EXPECT_EQ(reply.get(), kAck);
    }
    replies.clear();
    WaitIdle();
  }

  void WaitIdle() {
    ASSERT_TRUE(
        PumpUntil([&] { return !window->Intake().StartupPending() && !window->RunInProgress(); },
                  std::chrono::seconds(600)));
    PumpPending();
  }

  void Drop(const QString& name) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(name)});
    QDropEvent drop(QPointF(10, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
  }

  // One of the things a user and other programs do while the harvest runs, in turn.
  void Disturb() {
    const QString dropped = FromPath(tree_->Path() / "dropped.ico");
    const QString socket = server.SocketPath();
    switch (tick++ % 10) {
      case 0:
        window->Parts().Item("selectAll")->trigger();
        break;
      case 1:
        window->Parts().Item("invertSelection")->trigger();
        break;
      case 2:
        window->Parts().Item("remove")->trigger();
        break;
      case 3:
        window->Parts().Item("clear")->trigger();
        break;
      case 4:
        window->Parts().Item("stayOnTop")->trigger();
        break;
      case 5:
        window->Parts().Item("saveAs")->trigger();
        break;  // the dialog is cancelled
      case 6:
        window->Parts().Item("openDirectory")->trigger();
        break;
      case 7:
        Drop(dropped);
        break;
      case 8:
        if (replies.size() < 50) {
          replies.push_back(std::async(std::launch::async, [socket, dropped] {
            return SendMacro(socket, dropped.toStdString());
          }));
        }
        break;
      default:
        window->Parts().Item("openFiles")->trigger();
        break;
    }
  }

  // Harvests the tree with the disturbances; `stopAt` entries press Stop (0: never).
  void HarvestUnderLoad(std::size_t stopAt) {
    dialogs.FolderAnswers = {FromPath(tree_->Path() / "tree")};
    QTimer disturb;
    disturb.setInterval(1);
    QObject::connect(&disturb, &QTimer::timeout, [&] {
      if (!window->RunInProgress()) return;
      Disturb();
      if (stopAt > 0 && window->Harvest().Entries.size() >= stopAt)
        window->Parts().StopBtn->click();
    });
    disturb.start();
    window->OpenDirectoryClick();
    disturb.stop();
    WaitIdle();
    AwaitReplies();
  }

  // The entries made from the tree (a macro that arrived after a run adds "dropped").
  std::size_t TreeEntries() const {
    std::size_t count = 0;
    for (const ListEntry& entry : window->Harvest().Entries) {
      if (entry.Caption != "dropped") ++count;
    }
    return count;
  }

  // Every entry holds its own icon with its one image, and a tile the list has.
  void ExpectWholeEntries() {
    const Harvester& harvest = window->Harvest();
    std::set<const AdvancedIcon*> icons;
    for (const ListEntry& entry : harvest.Entries) {
      ASSERT_NE(entry.Icon, nullptr);
      icons.insert(entry.Icon.get());
      ASSERT_EQ(entry.Icon->Images.Count(), 1);
      EXPECT_EQ(entry.Icon->Images.Get(0)->Bytes().size(), 40u + 4096 + 128);
      ASSERT_GE(entry.ImageIndex, 0);
      ASSERT_LT(entry.ImageIndex, harvest.LargeImgs.Count());
      EXPECT_NE(harvest.LargeImgs.Get(entry.ImageIndex), nullptr);
    }
    EXPECT_EQ(icons.size(), harvest.Entries.size());
    EXPECT_EQ(window->ListModel().rowCount(), static_cast<int>(harvest.Entries.size()));
    EXPECT_TRUE(window->Parts().TileView->isVisible());
    EXPECT_FALSE(window->Parts().StopBtn->isVisible());
    EXPECT_EQ(window->Parts().StatusLine->Text(0), QStringLiteral("Processing Finished"));
  }

  FakeDialogs dialogs;
  TempDir socketFolder;
  MacroServer server;
  std::unique_ptr<MainWindow> window;
  std::vector<std::future<std::string>> replies;
  int tick = 0;
  static inline std::unique_ptr<TempDir> tree_;
};

TEST_F(WindowLoadTest, EverythingArrivingDuringARunIsIgnoredAndEveryEntryArrives) {
  HarvestUnderLoad(0);
  ExpectWholeEntries();
  EXPECT_EQ(TreeEntries(), static_cast<std::size_t>(LoadEntries()));
  EXPECT_GT(tick, 10);

  // Idle again, the list takes commands: all of it removed at once.
  window->Parts().Item("selectAll")->trigger();
  window->Parts().Item("remove")->trigger();
  EXPECT_TRUE(window->Harvest().Entries.empty());
  EXPECT_EQ(window->ListModel().rowCount(), 0);
}

TEST_F(WindowLoadTest, StopInTheMiddleEndsTheRunWithWholeEntries) {
  const std::size_t half = static_cast<std::size_t>(LoadEntries()) / 2;
  HarvestUnderLoad(half);
  ExpectWholeEntries();
  EXPECT_GE(TreeEntries(), half);
  EXPECT_LT(TreeEntries(), static_cast<std::size_t>(LoadEntries()));

  // A second run after the stop harvests the whole tree again, into a cleared list.
  HarvestUnderLoad(0);
  ExpectWholeEntries();
  EXPECT_EQ(TreeEntries(), static_cast<std::size_t>(LoadEntries()));
}

}  // namespace
}  // namespace pictarix::testing
