#pragma once
// Runs a step when the scope ends, also when it is left through an exception: the window never
// stays half-changed (a disabled list, a model between two rebuilds, a suspended topmost band).
#include <utility>

namespace pictarix {

template <typename Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) : step_(std::move(step)) {}
  ~ScopeExit() { step_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Step step_;
};

}  // namespace pictarix
