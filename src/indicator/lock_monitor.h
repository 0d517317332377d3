#pragma once
// The lock monitor: the keyboard hook's messages, the guard timer, the update
// that beeps and tells its listener, and switching a lock on the user's command.
// It knows nothing of what shows the states.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "framework/timer.h"
#include "indicator/keyboard_hook.h"
#include "indicator/session_notification.h"

namespace lumitrax {

class TLockMonitor {
 public:
  TLockMonitor();
  ~TLockMonitor();
  TLockMonitor(const TLockMonitor&) = delete;
  TLockMonitor& operator=(const TLockMonitor&) = delete;

  // A lock key went down (the hook's message): the update follows shortly.
  TTimer tmrSwitched{10, false};
  // Catches changes the hook cannot see.
  TTimer tmrSwitchGuard{1300, true};
  // Puts back a hook that Windows dropped silently.
  TTimer tmrHookRenewal{60000, true};
  TKeyboardHook KeyboardHook;
  // Unlock and reconnect messages for the hook's window.
  TSessionNotification SessionNotification;

  // Asked on every change: whether it beeps, and whether with the tones
  // (rising for on, falling for off) instead of the system beep.
  std::function<bool()> BeepOnSwitch;
  std::function<bool()> BeepTones;
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
  // One beep per update that found a change; counted for the curious. With
  // the tones chosen and a direction, the rising or the falling tone.
  void Beep(std::optional<bool> rising = std::nullopt);
  int ToneCount() const noexcept { return FToneCount; }
  bool LastToneRising() const noexcept { return FLastToneRising; }

  int BeepCount() const noexcept { return FBeepCount; }
  int LockUpdateCount() const noexcept { return FLockUpdateCount; }
  int ResynchroniseCount() const noexcept { return FResynchroniseCount; }
  const std::array<bool, 3>& LockStates() const noexcept { return FLockStates; }

 private:
  HWND FTarget = nullptr;
  bool FUpdating = false;
  std::array<bool, 3> FLockStates{};
  int FBeepCount = 0;
  int FToneCount = 0;
  bool FLastToneRising = false;
  // The two tones as wave files, made at their first use; the system plays
  // them from here while the program runs on, so they are never changed.
  std::vector<uint8_t> FToneRising, FToneFalling;
  int FLockUpdateCount = 0;
  int FResynchroniseCount = 0;
};

}  // namespace lumitrax
