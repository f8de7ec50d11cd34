#include "ui/window/RunControl.h"

#include <QTimer>

#include "ui/window/ScopeExit.h"

namespace pictarix {

RunControl::RunControl(QWidget& window, Steps steps) : window_(&window), steps_(std::move(steps)) {}

bool RunControl::Run(const RunRequest& request) {
  if (closeAfterRun_) return false;
  if (running_ || (request.KeepWhileRunning && !kept_.empty())) {
    // Requests kept earlier go first: they are already waiting for RunKept.
    if (request.KeepWhileRunning) kept_.push_back(request);
    return false;
  }
  if (request.Ask && !request.Ask()) return false;
  // A dialog shown by Ask lets events in, and one of them may have begun a run.
  if (running_ || closeAfterRun_) return false;
  if (!request.Busy) {
    request.Work();
    return true;
  }
  running_ = true;
  steps_.Begin();
  const ScopeExit end([this] { Finish(); });
  request.Work();
  return true;
}

void RunControl::Finish() {
  steps_.End();
  running_ = false;
  if (closeAfterRun_) {
    // Closed during the run: close now that it has ended, once the command has returned.
    QTimer::singleShot(0, window_, &QWidget::close);
    return;
  }
  if (steps_.Ended) steps_.Ended();
  if (!kept_.empty()) {
    QTimer::singleShot(0, window_, [this] { steps_.Guard([this] { RunKept(); }); });
  }
}

void RunControl::RunKept() {
  while (!kept_.empty() && !running_ && !closeAfterRun_) {
    RunRequest request = std::move(kept_.front());
    kept_.pop_front();
    request.KeepWhileRunning = false;
    Run(request);
  }
}

bool RunControl::MayClose() {
  if (!running_) return true;
  closeAfterRun_ = true;
  return false;
}

}  // namespace pictarix
