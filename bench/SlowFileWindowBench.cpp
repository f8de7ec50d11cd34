// The window while one file takes 5 s to read: how long a frame, an answer on the macro socket
// and Stop take during that read, and the longest stall of the event loop. A reader that waits
// stands in for the slow disk.
//
//   pictarix_slow_file_bench
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "harvest/Harvester.h"
#include "support/HarvestFixtures.h"
#include "support/SlowReader.h"
#include "ui/MacroTestClient.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/intake/MacroServer.h"
#include "ui/list/IconPreview.h"
#include "ui/window/MainWindow.h"
#include "ui/window/QtPaths.h"

namespace {

class NoDialogs : public pictarix::Dialogs {
 public:
  bool ExecuteFileDialog(QWidget*, const pictarix::FileDialogRequest&,
                         pictarix::FileDialogAnswer&) override {
    return false;
  }
  bool BrowseForFolder(QWidget*, const QString&, const QString&, QString&) override {
    return false;
  }
  void ShowError(QWidget*, const QString& title, const QString& message) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(message));
  }
  void ShowModal(QDialog&) override {}
};

// Notes when the watched widget paints.
class PaintWatch : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted) {
      painted = true;
      paintedAt = clock.nsecsElapsed();
    }
    return QObject::eventFilter(watched, event);
  }
  QElapsedTimer clock;
  bool painted = true;
  qint64 paintedAt = 0;
};

double Ms(qint64 nanoseconds) {
  return static_cast<double>(nanoseconds) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace std::chrono_literals;
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir scratch;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
  QApplication application(argc, argv);

  const std::filesystem::path folder = pictarix::ToPath(scratch.path()) / "icons";
  std::filesystem::create_directories(folder);
  for (const char* name : {"a.ico", "b-slow.ico", "c.ico", "later.ico"})
    pictarix::testing::WriteIconFile(folder / name, {{32, 4}});

  NoDialogs dialogs;
  pictarix::MainWindow window(dialogs);
  window.resize(720, 480);
  window.show();
  QApplication::processEvents();
  window.Harvest().Engine.Reader = pictarix::testing::SlowReader("b-slow.ico", 5s);

  pictarix::MacroServer server;
  if (server.Announce(QStringLiteral("pictarix-bench"), scratch.path()) !=
      pictarix::MacroServer::Announcement::Serving) {
    std::fprintf(stderr, "the macro socket could not be served\n");
    return 1;
  }
  window.Intake().ServeMacros(server);

  QElapsedTimer clock;
  qint64 lastTick = 0, longestStall = 0;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    if (lastTick != 0) longestStall = std::max(longestStall, now - lastTick);
    lastTick = now;
  });

  PaintWatch paint;
  window.Parts().Preview->installEventFilter(&paint);
  qint64 frameAsked = 0;
  std::future<qint64> answer;              // nanoseconds from sending the macro to its answer
  QTimer::singleShot(1000, &window, [&] {  // a second into the slow file
    paint.painted = false;
    frameAsked = paint.clock.nsecsElapsed();
    window.Parts().Preview->update();
    const QString socket = server.SocketPath();
    const std::string macro = (folder / "later.ico").string();
    answer = std::async(std::launch::async, [socket, macro] {
      QElapsedTimer sent;
      sent.start();
      pictarix::testing::SendMacro(socket, macro);
      return sent.nsecsElapsed();
    });
  });
  qint64 stopAt = 0;
  QTimer::singleShot(2000, &window, [&] {
    stopAt = clock.nsecsElapsed();
    window.Parts().StopBtn->click();
  });

  paint.clock.start();
  clock.start();
  ticker.start();
  window.Intake().HandleDroppedFiles({pictarix::FromPath(folder)});
  const qint64 endedAt = clock.nsecsElapsed();
  ticker.stop();

  std::printf("entries before Stop: %zu (the files ahead of the slow one)\n",
              window.Harvest().Entries.size());
  std::printf("frame drawn during the slow read: %s ms (goal: within 50 ms)\n",
              paint.painted ? std::to_string(Ms(paint.paintedAt - frameAsked)).c_str() : "never");
  std::printf("macro socket answered in: %.2f ms (goal: within 50 ms)\n",
              answer.valid() ? Ms(answer.get()) : -1.0);
  std::printf("Stop took effect in: %.2f ms (goal: within 100 ms)\n", Ms(endedAt - stopAt));
  std::printf("longest event-loop stall: %.2f ms\n", Ms(longestStall));
  return 0;
}
