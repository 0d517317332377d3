#pragma once
// Window timers as components: Interval, Enabled, OnTimer. All timers of the
// process share one hidden message window; their WM_TIMER messages pass the
// application's message filter like any other queued message.
#include <windows.h>

#include <vector>

#include "framework/window.h"

namespace lumitrax {

class TTimer : public TComponent {
 public:
  explicit TTimer(UINT interval = 1000, bool enabled = true);
  ~TTimer() override;

  UINT Interval() const noexcept { return interval_; }
  // A new interval restarts a running timer.
  void SetInterval(UINT interval);
  bool Enabled() const noexcept { return enabled_; }
  // Enabling a timer that already runs does not restart it.
  void SetEnabled(bool enabled);

  TNotifyEvent OnTimer;

  // Handles the WM_TIMER of the shared window; false when no live timer has that id.
  static bool Dispatch(UINT_PTR id);
  // The timers that run now (enabled, with an interval), in no set order.
  static std::vector<const TTimer*> Running();
  // The window whose WM_TIMER messages are the timers' ticks.
  static HWND Window();

 private:
  void Update();

  UINT interval_;
  bool enabled_;
  bool running_ = false;
};

}  // namespace lumitrax
