// Harvests a folder tree into the window (offscreen or on a display) and reports icons per second
// into the list, the longest stall of the event loop during the harvest, peak memory per 10,000
// entries, and the slowest frame while scrolling a list of at least 50,000 entries, page by page
// and by jumps to far places, at any tile size, with the peak memory of the whole run.
//
//   pictarix_window_bench [FOLDER | --generate] [--scroll-entries N] [--tile-size N]
//                         [--screenshot FILE]
//
// FOLDER defaults to Wine's x86_64 DLL folder; without it, or with --generate, a tree of 20,000
// icon files is made and harvested.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "harvest/Harvester.h"
#include "imaging/HiResIcon.h"
#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/list/IconListModel.h"
#include "ui/list/ListFeatures.h"
#include "ui/window/MainWindow.h"
#include "ui/window/QtPaths.h"
#include "ui/window/StatusPanels.h"

namespace {

using pictarix::Dialogs;

// Answers the folder picker with the folder to harvest; nothing else is asked.
class BenchDialogs : public Dialogs {
 public:
  explicit BenchDialogs(QString folder) : folder_(std::move(folder)) {}
  bool ExecuteFileDialog(QWidget*, const pictarix::FileDialogRequest&,
                         pictarix::FileDialogAnswer&) override {
    return false;
  }
  bool BrowseForFolder(QWidget*, const QString&, const QString&, QString& folder) override {
    folder = folder_;
    return true;
  }
  void ShowError(QWidget*, const QString& title, const QString& message) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(message));
  }
  void ShowModal(QDialog&) override {}

 private:
  QString folder_;
};

long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
  }
  return 0;
}

// One 32x32 icon file of 32 bits per pixel, coloured by `seed`.
void WriteIconFile(const std::filesystem::path& path, std::uint32_t seed) {
  std::vector<std::uint32_t> pixels(1024);
  for (std::uint32_t i = 0; i < 1024; ++i) pixels[i] = 0xFF000000u | (seed * 2654435761u + i);
  pictarix::testing::WriteBytes(path, pictarix::testing::TrueColourIconFile(pixels));
}

void MakeIconTree(const std::filesystem::path& root, int count) {
  for (int i = 0; i < count; ++i) {
    const auto folder = root / ("d" + std::to_string(i / 500));
    std::filesystem::create_directories(folder);
    WriteIconFile(folder / ("icon" + std::to_string(i) + ".ico"), static_cast<std::uint32_t>(i));
  }
}

// Fills the list up to `count` entries by repeating the entries it has, each padding entry with
// its own copy of the icon (sharing the image bytes, as copies do), or plain tiles.
void PadEntries(pictarix::MainWindow& window, int count) {
  pictarix::Harvester& harvest = window.Harvest();
  auto plain = std::make_shared<pictarix::IconPicture>();
  plain->Width = plain->Height = 32;
  plain->Rgba.assign(32 * 32 * 4, 0x80);
  plain->Mask.assign(32 * 32, 0);
  const std::size_t harvested = harvest.Entries.size();
  while (static_cast<int>(harvest.Entries.size()) < count) {
    pictarix::ListEntry entry;
    entry.Caption = "Padding " + std::to_string(harvest.Entries.size());
    entry.Icon = std::make_unique<pictarix::AdvancedIcon>();
    if (harvested > 0) {
      const pictarix::ListEntry& source = harvest.Entries[harvest.Entries.size() % harvested];
      if (source.Icon) entry.Icon->Assign(*source.Icon);
      entry.ImageIndex = source.ImageIndex;
      entry.File = source.File;
    } else {
      pictarix::IconGraphic graphic;
      graphic.SetHandle(plain);
      entry.ImageIndex = harvest.LargeImgs.Add(graphic);
    }
    harvest.Entries.push_back(std::move(entry));
  }
  window.ListModel().TakeNewRows();
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string folderArgument;
  std::string screenshot;
  bool generate = false;
  int scrollEntries = 50000;
  int tileSize = 32;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--generate") {
      generate = true;
    } else if (argument == "--scroll-entries" && i + 1 < argc) {
      scrollEntries = std::atoi(argv[++i]);
    } else if (argument == "--tile-size" && i + 1 < argc) {
      tileSize = std::atoi(argv[++i]);
    } else if (argument == "--screenshot" && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      folderArgument = argument;
    }
  }
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir scratch;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
  QApplication application(argc, argv);

  std::filesystem::path folder = folderArgument;
  const std::filesystem::path wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  if (folder.empty() && !generate && std::filesystem::is_directory(wine)) folder = wine;
  if (folder.empty()) {
    folder = pictarix::ToPath(scratch.path()) / "icons";
    std::printf("making 20000 icon files in %s\n", folder.c_str());
    MakeIconTree(folder, 20000);
  }

  BenchDialogs dialogs(pictarix::FromPath(folder));
  pictarix::MainWindow window(dialogs);
  window.Parts().Item("stayOnTop")->setChecked(false);
  window.StayOnTopClick();
  window.resize(720, 480);
  window.show();
  QApplication::processEvents();

  // A fast timer: the longest gap between two of its ticks is the longest stall.
  QElapsedTimer clock;
  qint64 lastTick = 0;
  qint64 longestStall = 0;
  QString stallAt;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    if (now - lastTick > longestStall) stallAt = window.Parts().StatusLine->Text(0);
    longestStall = std::max(longestStall, now - lastTick);
    lastTick = now;
  });

  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
  const long rssBefore = StatusKb("VmRSS:");
  clock.start();
  ticker.start();
  window.OpenDirectoryClick();
  const qint64 harvestMs = clock.elapsed();
  ticker.stop();
  const long peakKb = StatusKb("VmHWM:");

  const auto entries = static_cast<double>(window.Harvest().Entries.size());
  std::printf("folder: %s\n", folder.c_str());
  std::printf("files: %d, entries: %.0f, harvest: %lld ms\n", window.Harvest().FileCount, entries,
              static_cast<long long>(harvestMs));
  std::printf("icons per second into the list: %.0f\n",
              harvestMs > 0 ? entries * 1000.0 / static_cast<double>(harvestMs) : 0.0);
  std::printf("longest event-loop stall during the harvest: %lld ms (goal: under 50 ms), at %s\n",
              static_cast<long long>(longestStall), qPrintable(stallAt));

  if (entries > 0) {
    std::printf("peak memory per 10,000 entries: %.1f MiB\n",
                static_cast<double>(peakKb - rssBefore) / 1024.0 * 10000.0 / entries);
  }

  window.Parts().Features->SetTileSize(tileSize);
  if (!screenshot.empty()) {
    QApplication::processEvents();
    for (int row : {1, 2, 9}) {
      window.Parts().TileView->selectionModel()->select(window.ListModel().index(row),
                                                         QItemSelectionModel::Select);
    }
    window.PaceTick();
    QApplication::processEvents();
    window.grab().save(QString::fromStdString(screenshot));
    std::printf("screenshot: %s\n", screenshot.c_str());
    return 0;
  }

  // Scrolling through a list of at least 50,000 entries, one page per frame.
  PadEntries(window, std::max(scrollEntries, static_cast<int>(entries)));
  window.Parts().TileView->doItemsLayout();
  QScrollBar* bar = window.Parts().TileView->verticalScrollBar();
  // The list lays itself out in batches: wait until the last entry has its place.
  QElapsedTimer layout;
  layout.start();
  const QModelIndex last = window.ListModel().index(window.ListModel().rowCount() - 1);
  while (!window.Parts().TileView->visualRect(last).isValid() && layout.elapsed() < 30000) {
    QApplication::processEvents();
  }
  QApplication::processEvents();
  std::printf("layout of %d entries: %lld ms\n", window.ListModel().rowCount(),
              static_cast<long long>(layout.elapsed()));
  qint64 slowestFrame = 0;
  int frames = 0;
  int slowFrames = 0;
  QElapsedTimer frame;
  for (int value = 0; value <= bar->maximum() && frames < 2000; value += bar->pageStep()) {
    frame.start();
    QApplication::processEvents();  // pictures made meanwhile go into the cache
    bar->setValue(value);
    window.Parts().TileView->viewport()->repaint();
    slowestFrame = std::max(slowestFrame, frame.elapsed());
    if (frame.elapsed() > 50) ++slowFrames;
    ++frames;
  }
  std::printf(
      "scrolling %lld entries at tile size %d: %d pages, slowest frame %lld ms, %d over "
      "50 ms\n",
      static_cast<long long>(window.Harvest().Entries.size()),
      window.Parts().Features->TileSize(), frames, static_cast<long long>(slowestFrame),
      slowFrames);
  std::printf("memory after scrolling: %.0f MiB\n",
              static_cast<double>(StatusKb("VmRSS:")) / 1024.0);
  // Jumps to far places: every frame draws tiles never drawn before.
  qint64 slowestJump = 0;
  constexpr int kJumps = 300;
  for (int jump = 0; jump < kJumps; ++jump) {
    frame.start();
    QApplication::processEvents();
    bar->setValue(
        static_cast<int>(static_cast<qint64>(bar->maximum()) * ((jump * 7919) % kJumps) / kJumps));
    window.Parts().TileView->viewport()->repaint();
    slowestJump = std::max(slowestJump, frame.elapsed());
  }
  std::printf("%d jumps across the list: slowest frame %lld ms (goal: under 50 ms)\n", kJumps,
              static_cast<long long>(slowestJump));
  // Tiles not drawn before show the harvest's tile until their own picture is made.
  pictarix::TilePictures& pictures = window.ListModel().Pictures();
  pictures.WaitForPending();
  frame.start();
  bar->setValue(bar->maximum() / 3 + 1);
  window.Parts().TileView->viewport()->repaint();
  pictures.WaitForPending();
  window.Parts().TileView->viewport()->repaint();
  std::printf("a screen of tiles never drawn before is sharp after %lld ms\n",
              static_cast<long long>(frame.elapsed()));
  std::printf(
      "tile picture cache: %.1f MiB; peak memory from the harvest on: %.0f MiB, %.0f MiB "
      "before it (goal: under 2 GiB)\n",
      window.ListModel().Pictures().CachedKiB() / 1024.0, StatusKb("VmHWM:") / 1024.0,
      static_cast<double>(rssBefore) / 1024.0);
  return 0;
}
