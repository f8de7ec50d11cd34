#pragma once
// The window's processing runs: at most one at a time, always ended, requests kept while a run
// goes when they ask for it, and a close asked for during a run carried out once it has ended.
// Every command that harvests or changes the list goes through Run, the only place that looks at
// the run state.
#include <deque>
#include <functional>

#include <QPointer>
#include <QWidget>

namespace pictarix {

// What a command asks of Run.
struct RunRequest {
  // Asked first, while no run is going (a dialog, a check); false: nothing happens.
  std::function<bool()> Ask;
  // The work. It runs only if no run began while Ask was open.
  std::function<void()> Work;
  // True: a processing run between the window's Begin and End steps (list hidden, Stop shown).
  // False: a change of the list that needs no busy state but must not happen during a run.
  bool Busy = true;
  // True: a request made during a run is kept and runs once the run has ended, in the order the
  // requests came; otherwise it is dropped.
  bool KeepWhileRunning = false;
};

class RunControl {
 public:
  struct Steps {
    std::function<void()> Begin;  // BeginProcessing
    std::function<void()> End;    // EndProcessing
    std::function<void()> Ended;  // after a run has ended, unless the window then closes
    // Runs a kept request where its errors are shown.
    std::function<void(const std::function<void()>&)> Guard;
  };

  RunControl(QWidget& window, Steps steps);

  // Runs the request unless a run is going or the window is closing. End runs also when the
  // work leaves through an exception (which then goes on to the caller). False when the work
  // did not run (now).
  bool Run(const RunRequest& request);

  // From BeginProcessing to the EndProcessing that ends the run: running and stopping.
  bool Running() const { return running_; }

  // A request to close the window: true when it may close now. During a run the answer is
  // false, and the window closes once the run has ended.
  bool MayClose();

 private:
  void Finish();
  void RunKept();

  QPointer<QWidget> window_;
  Steps steps_;
  bool running_ = false;
  bool closeAfterRun_ = false;
  std::deque<RunRequest> kept_;
};

}  // namespace pictarix
