// Start-up and intake of TIconMain: the command line on the first activation, dropped files and
// folders, and the macros of the DDE stand-in. Each hands its names, in order, to the file or
// directory harvest inside one run, without clearing the list.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QShowEvent>
#include <QUrl>

#include "harvest/Harvester.h"
#include "ui/DdeServer.h"
#include "ui/IconMain.h"
#include "ui/RunScope.h"
#include "ui/Utilities.h"

namespace pictarix {

namespace {

void HarvestName(THarvester& harvester, const QString& name) {
  if (IsDirectory(name)) {
    harvester.HarvestDirectory(ToPath(name));
  } else {
    harvester.HarvestFile(ToPath(name));
  }
}

// The local files and folders among dropped URLs, in the order the drop lists them.
QStringList LocalNames(const QMimeData* data) {
  QStringList names;
  if (data == nullptr) return names;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) names.push_back(url.toLocalFile());
  }
  return names;
}

}  // namespace

// Command line

void TIconMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Window managers may never activate a new window (focus-stealing prevention, Wayland), so the
  // start-up work begins from the first show; StartupPending makes it run once.
  if (StartupPending) QueueFormActivate();
}

void TIconMain::QueueFormActivate() {
  QMetaObject::invokeMethod(
      this, [this] { Guarded([this] { FormActivate(); }); }, Qt::QueuedConnection);
}

void TIconMain::FormActivate() {
  // A run that began first (a drop, a macro) keeps the command line waiting until it has ended
  // (EndProcessing asks again); a window that is closing or closed starts nothing.
  if (!StartupPending || runInProgress_ || closeAfterRun_ || !isVisible()) return;
  StartupPending = false;
  // The window is on screen already, since this runs after its first show.
  if (!commandLine_.isEmpty()) ProcessCommandLine();
}

void TIconMain::ProcessCommandLine() {
  if (runInProgress_) return;
  RunScope run(*this);
  // After Stop, each remaining name ends at once inside the harvest.
  for (const QString& argument : commandLine_) HarvestName(*harvester_, argument);
  run.End();
}

// Drops

void TIconMain::dragEnterEvent(QDragEnterEvent* event) {
  // Accepted also while busy, as the shell accepts files throughout; the drop is ignored then.
  if (!LocalNames(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TIconMain::dropEvent(QDropEvent* event) {
  const QStringList names = LocalNames(event->mimeData());
  if (names.isEmpty()) return;
  event->acceptProposedAction();
  // The harvest runs after the drop has finished, so the program the files came from never waits
  // for it.
  QMetaObject::invokeMethod(
      this, [this, names] { Guarded([this, &names] { HandleDroppedFiles(names); }); },
      Qt::QueuedConnection);
}

void TIconMain::HandleDroppedFiles(const QStringList& names) {
  if (runInProgress_) return;  // dropped, not queued
  RunScope run(*this);
  for (const QString& name : names) {
    if (harvester_->StopRequested) break;
    HarvestName(*harvester_, name);
  }
  run.End();
}

// DDE macros

void TIconMain::ServeTarvo(TDdeServer& server) {
  connect(&server, &TDdeServer::ExecuteMacro, this, [this](const QStringList& lines) {
    Guarded([this, &lines] { TarvoExecuteMacro(lines); });
  });
}

void TIconMain::TarvoExecuteMacro(const QStringList& lines) {
  // Ignored while a run is in progress; the server has acknowledged the text all the same.
  if (lines.isEmpty() || runInProgress_) return;
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  RunScope run(*this);
  for (const QString& line : lines) {
    if (harvester_->StopRequested) break;
    if (line.size() < 2) continue;
    const QChar quote(QLatin1Char('"'));
    const bool quoted = line.front() == quote && line.back() == quote;
    HarvestName(*harvester_, quoted ? line.mid(1, line.size() - 2) : line);
  }
  run.End();
}

}  // namespace pictarix
