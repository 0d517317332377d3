#pragma once
// Whether the display is to keep out of the way now: the shell's answer about
// notifications (SHQueryUserNotificationState) and whether the foreground
// window is a full-screen program. While it watches, an event hook
// (EVENT_SYSTEM_FOREGROUND, out of context, so nothing runs inside other
// programs) tells it of every new foreground window; it asks again then and
// reports a change of its answer. No timer: nothing runs while nothing changes.
#include <windows.h>

#include <functional>

#include "core/out_of_the_way.h"
#include "framework/handles.h"

namespace lumitrax {

class TFullScreenWatch {
 public:
  TFullScreenWatch() = default;
  ~TFullScreenWatch();
  TFullScreenWatch(const TFullScreenWatch&) = delete;
  TFullScreenWatch& operator=(const TFullScreenWatch&) = delete;

  // The shell's answer; tests hand in their own.
  std::function<core::NotificationState()> QueryNotificationState = ShellNotificationState;
  static core::NotificationState ShellNotificationState();

  // The answer changed while watching.
  std::function<void()> OnChange;

  // Asks now and remembers the answer.
  bool InTheWay();
  // Follows the foreground window (again and again: only the first call hooks).
  void Start();
  void Stop();
  bool Watching() const noexcept { return static_cast<bool>(FHook); }
  // How many foreground changes the hook has reported.
  int EventCount() const noexcept { return FEventCount; }

 private:
  static void CALLBACK ForegroundChanged(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                         DWORD thread, DWORD time);
  void Check();

  UniqueWinEventHook FHook;
  bool FInTheWay = false;
  int FEventCount = 0;
};

// The foreground window as the core's rule needs it.
core::ForegroundWindow CurrentForegroundWindow();

}  // namespace lumitrax
