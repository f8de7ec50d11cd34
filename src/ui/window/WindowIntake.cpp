// Start-up and intake of MainWindow: the command line on the first activation, dropped files and
// folders, and the macros of the DDE stand-in. Each hands its names, in order, to the file or
// directory harvest inside one run, without clearing the list.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QShowEvent>

#include "ui/intake/MacroServer.h"
#include "ui/window/MainWindow.h"
#include "ui/window/NameIntake.h"

namespace pictarix {

// Command line

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Window managers may never activate a new window (focus-stealing prevention, Wayland), so the
  // start-up work begins from the first show; StartupPending makes it run once.
  if (StartupPending) QueueFormActivate();
}

void MainWindow::QueueFormActivate() {
  QMetaObject::invokeMethod(
      this, [this] { Guarded([this] { FormActivate(); }); }, Qt::QueuedConnection);
}

void MainWindow::FormActivate() {
  // A run that began first (a drop, a macro) keeps the command line waiting until it has ended;
  // a window that is closing or closed starts nothing. The window is on screen already, since
  // this runs after its first show.
  if (!StartupPending || !isVisible()) return;
  const auto take = [this] {
    if (!StartupPending) return false;  // taken by an earlier activation
    StartupPending = false;
    return !commandLine_.isEmpty();
  };
  runs_.Run({take, [this] { HarvestRoots(RootsOf(commandLine_)); }, true, true});
}

void MainWindow::ProcessCommandLine() {
  runs_.Run({{}, [this] { HarvestRoots(RootsOf(commandLine_)); }});
}

// Drops

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  // Accepted also while busy, as the shell accepts files throughout; the drop is ignored then.
  if (!LocalNames(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList names = LocalNames(event->mimeData());
  if (names.isEmpty()) return;
  event->acceptProposedAction();
  // The harvest runs after the drop has finished, so the program the files came from never waits
  // for it.
  QMetaObject::invokeMethod(
      this, [this, names] { Guarded([this, &names] { HandleDroppedFiles(names); }); },
      Qt::QueuedConnection);
}

void MainWindow::HandleDroppedFiles(const QStringList& names) {
  runs_.Run({{}, [this, &names] { HarvestRoots(RootsOf(names)); }});  // not kept during a run
}

// DDE macros

void MainWindow::ServeMacros(MacroServer& server) {
  connect(&server, &MacroServer::ExecuteMacro, this, [this](const QByteArrayList& lines) {
    Guarded([this, &lines] { RunMacro(lines); });
  });
}

void MainWindow::RunMacro(const QByteArrayList& lines) {
  if (lines.isEmpty()) return;
  // During a run the macro is kept (the server has acknowledged it already) and runs after it.
  const auto restore = [this] {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    return true;
  };
  runs_.Run(
      {restore, [this, paths = MacroNames(lines)] { HarvestRoots(RootsOf(paths)); }, true, true});
}

}  // namespace pictarix
