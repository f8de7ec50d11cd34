#include "ui/window/WindowIntake.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QWidget>

#include "ui/intake/MacroServer.h"
#include "ui/window/NameIntake.h"
#include "ui/window/RunControl.h"
#include "ui/window/WindowRun.h"

namespace pictarix {

WindowIntake::WindowIntake(QWidget& window, RunControl& runs, WindowRun& run, Guard guard)
    : window_(window), runs_(runs), run_(run), guard_(std::move(guard)) {}

// Command line

void WindowIntake::Shown() {
  // Window managers may never activate a new window (focus-stealing prevention, Wayland), so the
  // start-up work begins from the first show; startupPending_ makes it run once.
  if (!startupPending_) return;
  QMetaObject::invokeMethod(
      &window_, [this] { guard_([this] { FormActivate(); }); }, Qt::QueuedConnection);
}

void WindowIntake::FormActivate() {
  // A run that began first (a drop, a macro) keeps the command line waiting until it has ended;
  // a window that is closing or closed starts nothing. The window is on screen already, since
  // this runs after its first show.
  if (!startupPending_ || !window_.isVisible()) return;
  const auto take = [this] {
    if (!startupPending_) return false;  // taken by an earlier activation
    startupPending_ = false;
    return !commandLine_.isEmpty();
  };
  runs_.Run({take, [this] { run_.HarvestRoots(RootsOf(commandLine_)); }, true, true});
}

void WindowIntake::ProcessCommandLine() {
  runs_.Run({{}, [this] { run_.HarvestRoots(RootsOf(commandLine_)); }});
}

// Drops

void WindowIntake::DragEnter(QDragEnterEvent& event) {
  // Accepted also while busy, as the shell accepts files throughout; the drop is ignored then.
  if (!LocalNames(event.mimeData()).isEmpty()) event.acceptProposedAction();
}

void WindowIntake::Drop(QDropEvent& event) {
  const QStringList names = LocalNames(event.mimeData());
  if (names.isEmpty()) return;
  event.acceptProposedAction();
  // The harvest runs after the drop has finished, so the program the files came from never waits
  // for it.
  QMetaObject::invokeMethod(
      &window_, [this, names] { guard_([this, &names] { HandleDroppedFiles(names); }); },
      Qt::QueuedConnection);
}

void WindowIntake::HandleDroppedFiles(const QStringList& names) {
  // Not kept during a run.
  runs_.Run({{}, [this, &names] { run_.HarvestRoots(RootsOf(names)); }});
}

// DDE macros

void WindowIntake::ServeMacros(MacroServer& server) {
  QObject::connect(
      &server, &MacroServer::ExecuteMacro, &window_,
      [this](const QByteArrayList& lines) { guard_([this, &lines] { RunMacro(lines); }); });
}

void WindowIntake::RunMacro(const QByteArrayList& lines) {
  if (lines.isEmpty()) return;
  // During a run the macro is kept (the server has acknowledged it already) and runs after it.
  const auto restore = [this] {
    if (window_.isMinimized()) window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    return true;
  };
  runs_.Run({restore, [this, paths = MacroNames(lines)] { run_.HarvestRoots(RootsOf(paths)); },
             true, true});
}

}  // namespace pictarix
