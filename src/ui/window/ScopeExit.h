#pragma once
// Runs a step when the scope ends, also when it is left through an exception: the window never
// stays half-changed (a disabled list, a model between two rebuilds, a suspended topmost band).
#include <utility>

namespace pictarix {

template <typename Step>
class TScopeExit {
 public:
  explicit TScopeExit(Step step) : step_(std::move(step)) {}
  ~TScopeExit() { step_(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  Step step_;
};

}  // namespace pictarix
