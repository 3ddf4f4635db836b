#pragma once

#include <utility>

namespace lum {

// Runs an action when the scope ends, however it ends: by returning or by
// an exception. For what must be put back on the way out (a device, a
// progress window) whether the work in between succeeded or not.
template <class Action>
class ScopeGuard {
 public:
  explicit ScopeGuard(Action action) : mAction(std::move(action)) {}
  ~ScopeGuard() { mAction(); }
  ScopeGuard(const ScopeGuard&) = delete;
  ScopeGuard& operator=(const ScopeGuard&) = delete;

 private:
  Action mAction;
};

}  // namespace lum
