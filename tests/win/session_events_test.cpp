// Coming back to the machine: a resume from sleep, an unlocked session or a
// reconnected remote or console session shows the locks at once and puts the
// keyboard hook back, without waiting for the guard timer. The lock is changed
// behind the program's back (this thread's key state, which no hook sees) and
// every timer that could notice it is stopped, so only the message can.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "app/form_main.h"
#include "indicator/lock_state.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;

struct SessionEvent {
  UINT message;
  WPARAM code;
  const char* name;
};

class SessionEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TfrmMain>();
    Pump(50);
    ::GetKeyboardState(original_keys_);
    // Nothing but the message under test may read the locks.
    TLockMonitor& monitor = form_->LockMonitor;
    monitor.tmrSwitchGuard.SetEnabled(false);
    monitor.tmrSwitched.SetEnabled(false);
    monitor.tmrHookRenewal.SetEnabled(false);
  }
  void TearDown() override {
    ::SetKeyboardState(original_keys_);
    form_.reset();
  }
  TfrmMain& form() { return *form_; }

  // Caps Lock toggles in this thread's key state: no key event, no hook call.
  void FlipCapsLockUnseen() {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CAPITAL] ^= 1;
    ::SetKeyboardState(keys);
  }
  bool CapsLedLit() {
    HDC dc = ::CreateCompatibleDC(nullptr);
    UniqueBitmap bitmap = form().TrayIndicator.imgsIcons.GetBitmap(0);
    HGDIOBJ old = ::SelectObject(dc, bitmap.get());
    const COLORREF pixel = ::GetPixel(dc, 8, 4);  // inside the middle cell, marks on
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return pixel == RGB(255, 0, 0);
  }
  void Send(const SessionEvent& event) { ::SendMessageW(form().Handle(), event.message, event.code, 1); }

  std::unique_ptr<TfrmMain> form_;
  BYTE original_keys_[256]{};
};

const SessionEvent kUserBack[] = {
    {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, "resume (automatic)"},
    {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, "resume (by the user)"},
    {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, "session unlock"},
    {WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT, "remote connect"},
    {WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, "console connect"},
};

TEST_F(SessionEvents, ResumeUnlockAndReconnectShowALockChangedUnseenAtOnceAndReinstallTheHook) {
  for (const SessionEvent& event : kUserBack) {
    SCOPED_TRACE(event.name);
    const bool shown_before = form().LockMonitor.LockStates()[1];
    ASSERT_EQ(CapsLedLit(), shown_before);
    FlipCapsLockUnseen();
    ASSERT_NE(GetLockState(2), shown_before) << "the key state did not change";
    form().LockMonitor.KeyboardHook.Remove();  // as Windows may drop it while the machine sleeps
    const int updates = form().LockMonitor.LockUpdateCount();

    Send(event);  // handled before SendMessage returns: no timer had a chance to run
    EXPECT_EQ(form().LockMonitor.LockStates()[1], !shown_before);
    EXPECT_EQ(form().LockMonitor.LockUpdateCount(), updates + 1);
    EXPECT_EQ(CapsLedLit(), !shown_before) << "the tray icon still shows the old state";
    EXPECT_TRUE(form().LockMonitor.KeyboardHook.Installed());
  }
}

TEST_F(SessionEvents, LockSuspendAndDisconnectChangeNothingTheNextUnlockCatchesUp) {
  const bool shown_before = form().LockMonitor.LockStates()[1];
  FlipCapsLockUnseen();
  const int updates = form().LockMonitor.LockUpdateCount();
  const SessionEvent away[] = {
      {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, "session lock"},
      {WM_WTSSESSION_CHANGE, WTS_REMOTE_DISCONNECT, "remote disconnect"},
      {WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT, "console disconnect"},
      {WM_POWERBROADCAST, PBT_APMSUSPEND, "suspend"},
      {WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, "power status"},
  };
  for (const SessionEvent& event : away) {
    SCOPED_TRACE(event.name);
    Send(event);
    EXPECT_EQ(form().LockMonitor.LockStates()[1], shown_before);
    EXPECT_EQ(form().LockMonitor.LockUpdateCount(), updates);
  }
  EXPECT_EQ(form().LockMonitor.ResynchroniseCount(), 0);
  Send(kUserBack[2]);
  EXPECT_EQ(form().LockMonitor.LockStates()[1], !shown_before);
  EXPECT_EQ(form().LockMonitor.ResynchroniseCount(), 1);
}

TEST_F(SessionEvents, AResumeInsideAnUpdateRunsTheUpdateRightAfterIt) {
  const bool shown_before = form().LockMonitor.LockStates()[1];
  TLockMonitor& monitor = form().LockMonitor;
  // The first change's listener is busy when the resume arrives (its message
  // processing delivered it); the second change must not wait for the guard.
  bool resumed = false;
  const auto listener = monitor.OnChange;
  monitor.OnChange = [&] {
    listener();
    if (resumed) return;
    resumed = true;
    FlipCapsLockUnseen();
    Send(kUserBack[0]);
  };
  FlipCapsLockUnseen();
  monitor.UpdateLockStates();
  ASSERT_TRUE(resumed);
  EXPECT_EQ(monitor.LockStates()[1], !shown_before) << "the first change";
  EXPECT_TRUE(monitor.tmrSwitched.Enabled()) << "the update after it is due";
  EXPECT_TRUE(testing::RunUntil([&] { return monitor.LockStates()[1] == shown_before; }, 1000));
  EXPECT_FALSE(monitor.tmrSwitchGuard.Enabled()) << "the guard timer did not do it";
}

TEST_F(SessionEvents, TheMainWindowAsksForSessionChangesAgainWhenItsHandleIsNew) {
  const HWND old_handle = form().Handle();
  EXPECT_EQ(form().LockMonitor.SessionNotification.Window(), old_handle);
  form().DestroyHandle();
  EXPECT_EQ(form().LockMonitor.SessionNotification.Window(), nullptr) << "withdrawn before the window went";
  const HWND new_handle = form().Handle();
  EXPECT_EQ(form().LockMonitor.SessionNotification.Window(), new_handle);
  // And the new window routes the messages: a resume still reads the locks.
  const bool shown_before = form().LockMonitor.LockStates()[1];
  FlipCapsLockUnseen();
  ::SendMessageW(new_handle, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_EQ(form().LockMonitor.LockStates()[1], !shown_before);

  // The request follows the window it is made for.
  TLockMonitor monitor;
  const HWND first = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const HWND second = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  monitor.WatchSession(first);
  EXPECT_EQ(monitor.SessionNotification.Window(), first);
  monitor.WatchSession(second);
  EXPECT_EQ(monitor.SessionNotification.Window(), second);
  monitor.SessionNotification.Unregister();
  EXPECT_EQ(monitor.SessionNotification.Window(), nullptr);
  ::DestroyWindow(first);
  ::DestroyWindow(second);
}

}  // namespace
}  // namespace lumitrax
