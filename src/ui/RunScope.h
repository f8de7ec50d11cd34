#pragma once
// One processing run of the window, from BeginProcessing to EndProcessing.
#include "ui/IconMain.h"

namespace pictarix {

// Ends the run also when a command leaves through an exception, so the window never stays busy.
class RunScope {
 public:
  explicit RunScope(TIconMain& window) : window_(window) { window_.BeginProcessing(); }
  ~RunScope() {
    if (!ended_) window_.EndProcessing();
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;
  void End() {
    ended_ = true;
    window_.EndProcessing();
  }

 private:
  TIconMain& window_;
  bool ended_ = false;
};

}  // namespace pictarix
