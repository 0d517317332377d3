#pragma once
// Runs an action when the scope ends, however it ends: a flag reset, a list's
// update ended, a menu re-enabled after a dialog.
#include <utility>

namespace lumitrax {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F action) : action_(std::move(action)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() { action_(); }

 private:
  F action_;
};

}  // namespace lumitrax
