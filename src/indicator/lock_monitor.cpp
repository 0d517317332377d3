// The main window's lock monitor: the hook's messages, the guard timer, the
// update that beeps and redraws, and switching a lock on the user's command.
#include <windows.h>

#include "app/form_main.h"
#include "core/lock_names.h"
#include "framework/application.h"
#include "indicator/lock_state.h"

namespace lumitrax {
namespace {

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

void TfrmMain::tmrSwitchedTimer() {
  tmrSwitched.SetEnabled(false);
  UpdateLockStates();
}

void TfrmMain::UpdateLockStates() {
  if (FUpdating) return;
  FUpdating = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FUpdating};

  const std::array<bool, 3> states = ReadLockStates();
  if (states == FLockStates) return;
  FLockStates = states;
  ++FLockUpdateCount;
  // The display first: it is what the eye waits for. The tray icon (a round
  // trip to the taskbar's process) and the beep follow in the same moment.
  UpdateOsd();
  ComposeTrayIcons();
  UpdateLockButtons();
  if (chbBeepOnSwitch.Checked()) Beep();
}

void TfrmMain::tmrSwitchGuardTimer() {
  // The guard catches changes the hook cannot see: Alt held, another program
  // switching a lock, or a hook that Windows removed.
  if (FUpdating) return;
  if (ReadLockStates() == FLockStates) return;
  // The update stores the states it reads itself; storing the older reading
  // of this tick afterwards could only put a stale state back.
  UpdateLockStates();
}

void TfrmMain::Beep() {
  ++FBeepCount;
  ::MessageBeep(0);
}

void TfrmMain::SwitchLockClick(TComponent& sender) {
  const core::LockKind kind = core::LockKindFromTag(static_cast<int>(sender.Tag));
  if (kind == core::LockKind::None) return;
  const BYTE key = core::LockVirtualKey(kind);
  const BYTE scan = core::LockScanCode(kind);
  ::keybd_event(key, scan, 0, 0);
  ::keybd_event(key, scan, KEYEVENTF_KEYUP, 0);
  Application().ProcessMessages();
  UpdateLockStates();
}

void TfrmMain::UpdateLockButtons() {
  // Hidden, the glyphs are left alone; showing the window brings them up to date.
  if (!Visible()) return;
  for (TBitBtn* button : {&btnNumLock, &btnCapsLock, &btnScrollLock}) {
    const bool on = GetLockState(static_cast<int>(button->Tag));
    button->SetGlyph((on ? imgLedOn : imgLedOff).Picture());
  }
}

void TfrmMain::UpdateSwitchMenuChecks() {
  for (TMenuItem* item : {miNumLock, miCapsLock, miScrollLock})
    item->Checked = GetLockState(static_cast<int>(item->Tag));
}

}  // namespace lumitrax
