#pragma once
// The names that reach the window without its Open commands: the command line, taken up when the
// window is first shown; dropped files and folders; the macros of the DDE stand-in. Each hands
// its names, in order, to the harvest inside one run, without clearing the list.
#include <functional>

#include <QByteArrayList>
#include <QStringList>

class QDragEnterEvent;
class QDropEvent;
class QWidget;

namespace pictarix {

class MacroServer;
class RunControl;
class WindowRun;

class WindowIntake {
 public:
  using Guard = std::function<void(const std::function<void()>&)>;

  // `guard` runs the queued work where its errors are shown.
  WindowIntake(QWidget& window, RunControl& runs, WindowRun& run, Guard guard);

  // The command line's paths are harvested when the window is first activated.
  void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }
  // True until the first activation has taken up the command line.
  bool StartupPending() const { return startupPending_; }
  // The window has been shown: the start-up work is queued while it is pending.
  void Shown();
  void FormActivate();
  void ProcessCommandLine();

  void DragEnter(QDragEnterEvent& event);
  void Drop(QDropEvent& event);
  void HandleDroppedFiles(const QStringList& names);

  // A macro that arrives during a run is kept and runs once the run has ended.
  void RunMacro(const QByteArrayList& lines);
  // The macros `server` receives run as RunMacro of this window.
  void ServeMacros(MacroServer& server);

 private:
  QWidget& window_;
  RunControl& runs_;
  WindowRun& run_;
  Guard guard_;
  QStringList commandLine_;
  bool startupPending_ = true;
};

}  // namespace pictarix
