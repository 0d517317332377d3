#pragma once
// The lock monitor: the keyboard hook's messages, the guard timer, the update
// that beeps and tells its listener, and switching a lock on the user's command.
// It knows nothing of what shows the states.
#include <windows.h>

#include <array>
#include <functional>

#include "framework/timer.h"
#include "indicator/keyboard_hook.h"
#include "indicator/session_notification.h"

namespace lumitrax {

class TLockMonitor {
 public:
  TLockMonitor();

  // A lock key went down (the hook's message): the update follows shortly.
  TTimer tmrSwitched{10, false};
  // Catches changes the hook cannot see.
  TTimer tmrSwitchGuard{1300, true};
  // Puts back a hook that Windows dropped silently.
  TTimer tmrHookRenewal{60000, true};
  TKeyboardHook KeyboardHook;
  // Unlock and reconnect messages for the hook's window.
  TSessionNotification SessionNotification;

  // Asked on every change: whether it beeps.
  std::function<bool()> BeepOnSwitch;
  // The lock states changed (and are stored in LockStates).
  std::function<void()> OnChange;

  // The window the hook posts WM_LOCKKEY to; the hook is installed anew.
  void InstallHook(HWND target);
  // The window that receives the session changes (asked again for a new handle).
  void WatchSession(HWND window);
  // A message of the main window: on a resume from sleep, an unlocked session
  // or a remote or console reconnect, Resynchronise. True when it did.
  bool SessionMessage(UINT message, WPARAM wparam);
  // The user is back after a time in which the program could not see the
  // keyboard: the locks are read at once and the hook is installed anew.
  void Resynchronise();
  void LockKeyPressed();
  void tmrSwitchedTimer();
  void tmrSwitchGuardTimer();
  void UpdateLockStates();
  // Presses the lock the sender's Tag names (a LockKind) and updates at once.
  void SwitchLockClick(TComponent& sender);
  // One beep per update that found a change; counted for the curious.
  void Beep();

  int BeepCount() const noexcept { return FBeepCount; }
  int LockUpdateCount() const noexcept { return FLockUpdateCount; }
  int ResynchroniseCount() const noexcept { return FResynchroniseCount; }
  const std::array<bool, 3>& LockStates() const noexcept { return FLockStates; }

 private:
  HWND FTarget = nullptr;
  bool FUpdating = false;
  std::array<bool, 3> FLockStates{};
  int FBeepCount = 0;
  int FLockUpdateCount = 0;
  int FResynchroniseCount = 0;
};

}  // namespace lumitrax
