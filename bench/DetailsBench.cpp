// The Details dialog's memory for a group whose images are few but large, named many times: a
// module of one group holding a 4096x4096 1-bit PNG (about 10 KB), a 32x32 image (for the tile)
// and N entries (default 1,000) naming one 1x1 image. Opens the file in the window (offscreen
// unless a display is set), opens Details of its tile, shows and scrolls the dialog, and reports
// the peak memory of the run and the time the dialog took to appear.
//
//   pictarix_details_bench [--entries N]
//
// Needs the MinGW binutils (windres, ld), as the PE tests do.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "harvest/Harvester.h"
#include "support/DibBuilder.h"
#include "support/FileBytes.h"
#include "support/HarvestFixtures.h"
#include "support/PeFixture.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/list/IconListModel.h"
#include "ui/list/ListFeatures.h"
#include "ui/window/MainWindow.h"
#include "ui/window/QtPaths.h"

namespace {

using pictarix::Dialogs;
using Clock = std::chrono::steady_clock;

long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
  }
  return 0;
}

// Answers Open > File(s) with the module; shows the Details dialog, scrolls it and closes it.
class BenchDialogs : public Dialogs {
 public:
  explicit BenchDialogs(QString file) : file_(std::move(file)) {}
  bool ExecuteFileDialog(QWidget*, const pictarix::FileDialogRequest&,
                         pictarix::FileDialogAnswer& answer) override {
    answer.Files = QStringList{file_};
    return true;
  }
  bool BrowseForFolder(QWidget*, const QString&, const QString&, QString&) override {
    return false;
  }
  void ShowError(QWidget*, const QString& title, const QString& message) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(message));
  }
  void ShowModal(QDialog& dialog) override {
    dialog.show();
    QApplication::processEvents();
    Shown = Clock::now();
    if (auto* details = dynamic_cast<pictarix::DetailsDialog*>(&dialog)) {
      Images = details->Images()->count();
      QScrollBar* bar = details->Images()->verticalScrollBar();
      for (int step = 0; step <= 20; ++step) {
        bar->setValue(bar->maximum() * step / 20);
        details->Images()->viewport()->repaint();
        QApplication::processEvents();
      }
    }
    dialog.close();
  }

  Clock::time_point Shown;
  int Images = 0;

 private:
  QString file_;
};

struct GroupEntry {
  int Side = 0;  // as the directory byte holds it: 0 stands for 256 and more
  int BitCount = 32;
  std::uint32_t Bytes = 0;
  int Id = 0;
};

// A group icon directory of `entries`.
std::vector<std::uint8_t> GroupBytes(const std::vector<GroupEntry>& entries) {
  std::vector<std::uint8_t> bytes;
  const auto put16 = [&](unsigned value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  };
  put16(0);
  put16(1);
  put16(static_cast<unsigned>(entries.size()));
  for (const GroupEntry& entry : entries) {
    bytes.push_back(static_cast<std::uint8_t>(entry.Side));
    bytes.push_back(static_cast<std::uint8_t>(entry.Side));
    bytes.push_back(0);  // colours
    bytes.push_back(0);
    put16(1);  // planes
    put16(static_cast<unsigned>(entry.BitCount));
    put16(entry.Bytes & 0xFFFF);
    put16(entry.Bytes >> 16);
    put16(static_cast<unsigned>(entry.Id));
  }
  return bytes;
}

}  // namespace

int main(int argc, char* argv[]) {
  int small = 1000;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--entries" && i + 1 < argc) small = std::atoi(argv[++i]);
  }
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir scratch;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
  QApplication application(argc, argv);

  const std::filesystem::path folder = pictarix::ToPath(scratch.path());
  std::uint32_t largeBytes = 0;
  {
    pictarix::testing::PngLayout large;
    large.Width = large.Height = 4096;
    large.Colour = pictarix::testing::PngColour::Grey;
    large.BitDepth = 1;
    large.Pixels.assign(std::size_t{4096} * 4096, 0xFFFFFFFFu);
    const std::vector<std::uint8_t> png = pictarix::testing::BuildPng(large);
    std::printf("large image: 4096x4096, 1 bit, %zu bytes of PNG\n", png.size());
    pictarix::testing::WriteBytes(folder / "large.png", png);
    largeBytes = static_cast<std::uint32_t>(png.size());
  }
  // A 32x32 image gives the group its tile; the 1x1 image is named `small` times.
  const std::vector<std::uint8_t> tilePng = pictarix::testing::SquareImage(32, 32);  // a bitmap
  const std::vector<std::uint8_t> smallPng = pictarix::testing::BuildPng(1, 1, {0xFF0000FFu});
  pictarix::testing::WriteBytes(folder / "tile.png", tilePng);
  pictarix::testing::WriteBytes(folder / "small.png", smallPng);
  std::vector<GroupEntry> entries{{0, 1, largeBytes, 1},
                                  {32, 32, static_cast<std::uint32_t>(tilePng.size()), 3}};
  entries.insert(entries.end(), static_cast<std::size_t>(small),
                 GroupEntry{1, 32, static_cast<std::uint32_t>(smallPng.size()), 2});
  pictarix::testing::WriteBytes(folder / "group.bin", GroupBytes(entries));
  std::string log;
  const auto module = pictarix::testing::BuildModule(
      pictarix::testing::Pe32PlusToolchain(), folder, "details",
      "1 3 \"large.png\"\n2 3 \"small.png\"\n3 3 \"tile.png\"\n1 14 \"group.bin\"\n", &log);
  if (!module) {
    std::fprintf(stderr, "cannot build the module (windres, ld): %s\n", log.c_str());
    return 1;
  }

  BenchDialogs dialogs(pictarix::FromPath(*module));
  pictarix::MainWindow window(dialogs);
  window.resize(720, 480);
  window.show();
  window.OpenFilesClick();
  QApplication::processEvents();
  if (window.Harvest().Entries.empty()) {
    scratch.setAutoRemove(false);
    std::fprintf(stderr, "the module gave no entry: %s\n", module->c_str());
    return 1;
  }
  const long rssBefore = StatusKb("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
  const auto start = Clock::now();
  window.Parts().Features->ShowDetails(0);
  const long peakKb = StatusKb("VmHWM:");
  std::printf("images in the dialog: %d\n", dialogs.Images);
  std::printf(
      "dialog shown after %lld ms\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(dialogs.Shown - start).count()));
  std::printf("memory before the dialog: %.1f MiB, peak while it was open: %.1f MiB\n",
              static_cast<double>(rssBefore) / 1024.0, static_cast<double>(peakKb) / 1024.0);
  return 0;
}
