#include "indicator/lock_monitor.h"

#include <mmsystem.h>

#include "core/lock_names.h"
#include "core/lock_tone.h"
#include "framework/application.h"
#include "framework/scope_exit.h"
#include "indicator/lock_state.h"

namespace lumitrax {
namespace {

// Messages that say the user is back while the keyboard went unseen: the
// machine woke up, the session was unlocked, or a remote or console
// connection took it over again.
bool UserIsBack(UINT message, WPARAM wparam) {
  if (message == WM_POWERBROADCAST) return wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND;
  if (message == WM_WTSSESSION_CHANGE)
    return wparam == WTS_SESSION_UNLOCK || wparam == WTS_REMOTE_CONNECT || wparam == WTS_CONSOLE_CONNECT;
  return false;
}

std::array<bool, 3> ReadLockStates() {
  // Reading one key brings this thread's key state up to date with the
  // keyboard (Wine syncs it only there), then the rest comes in one read: the
  // guard reads on every tick, and under Wine every key read is a round trip
  // to the server.
  const bool num = GetLockState(core::LockKind::Num);
  BYTE keys[256] = {};
  if (!::GetKeyboardState(keys))
    return {GetLockState(core::LockKind::Num), GetLockState(core::LockKind::Caps),
            GetLockState(core::LockKind::Scroll)};
  const auto on = [&](core::LockKind kind) { return (keys[core::LockVirtualKey(kind)] & 1) != 0; };
  return {num, on(core::LockKind::Caps), on(core::LockKind::Scroll)};
}

}  // namespace

TLockMonitor::TLockMonitor() {
  // The lock states at start count as no change.
  FLockStates = ReadLockStates();
  tmrSwitched.OnTimer = [this](TComponent&) { tmrSwitchedTimer(); };
  tmrSwitchGuard.OnTimer = [this](TComponent&) { tmrSwitchGuardTimer(); };
  tmrHookRenewal.OnTimer = [this](TComponent&) {
    if (FTarget) InstallHook(FTarget);
    SessionNotification.Retry();
  };
}

void TLockMonitor::InstallHook(HWND target) {
  FTarget = target;
  KeyboardHook.Install(target);
}

void TLockMonitor::WatchSession(HWND window) { SessionNotification.Register(window); }

bool TLockMonitor::SessionMessage(UINT message, WPARAM wparam) {
  if (!UserIsBack(message, wparam)) return false;
  Resynchronise();
  return true;
}

void TLockMonitor::Resynchronise() {
  ++FResynchroniseCount;
  // Windows may have dropped the hook while the machine slept or the session
  // was elsewhere; a new one sees the next key at once.
  if (FTarget) InstallHook(FTarget);
  // Inside an update (its message processing delivered this message) the
  // update runs again as soon as the current one has finished.
  if (FUpdating) {
    tmrSwitched.SetEnabled(true);
    return;
  }
  UpdateLockStates();
}

void TLockMonitor::LockKeyPressed() { tmrSwitched.SetEnabled(true); }

void TLockMonitor::tmrSwitchedTimer() {
  tmrSwitched.SetEnabled(false);
  UpdateLockStates();
}

void TLockMonitor::UpdateLockStates() {
  if (FUpdating) return;
  FUpdating = true;
  const ScopeExit reset([this] { FUpdating = false; });

  const std::array<bool, 3> states = ReadLockStates();
  if (states == FLockStates) return;
  const std::optional<bool> rising = core::ToneRises(FLockStates, states);
  FLockStates = states;
  ++FLockUpdateCount;
  // The listeners first (the display is what the eye waits for), the beep after.
  if (OnChange) OnChange();
  if (BeepOnSwitch && BeepOnSwitch()) Beep(rising);
}

void TLockMonitor::tmrSwitchGuardTimer() {
  // The guard catches changes the hook cannot see: Alt held, another program
  // switching a lock, or a hook that Windows removed.
  if (FUpdating) return;
  if (ReadLockStates() == FLockStates) return;
  // The update stores the states it reads itself; storing the older reading
  // of this tick afterwards could only put a stale state back.
  UpdateLockStates();
}

void TLockMonitor::Beep(std::optional<bool> rising) {
  ++FBeepCount;
  if (!rising || !BeepTones || !BeepTones()) {
    ::MessageBeep(0);
    return;
  }
  std::vector<uint8_t>& wave = *rising ? FToneRising : FToneFalling;
  if (wave.empty()) wave = core::ToneWaveFile(*rising);
  ++FToneCount;
  FLastToneRising = *rising;
  // From memory, through the system's sound output at the user's volume; the
  // call returns at once. Without a sound device it fails, and stays silent.
  ::PlaySoundW(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

TLockMonitor::~TLockMonitor() {
  // A tone still playing is stopped before its wave goes.
  if (FToneCount > 0) ::PlaySoundW(nullptr, nullptr, 0);
}

void TLockMonitor::SwitchLockClick(TComponent& sender) {
  const core::LockKind kind = core::LockKindFromTag(static_cast<int>(sender.Tag));
  if (kind == core::LockKind::None) return;
  const BYTE key = core::LockVirtualKey(kind);
  const BYTE scan = core::LockScanCode(kind);
  ::keybd_event(key, scan, 0, 0);
  ::keybd_event(key, scan, KEYEVENTF_KEYUP, 0);
  Application().ProcessMessages();
  UpdateLockStates();
}

}  // namespace lumitrax
