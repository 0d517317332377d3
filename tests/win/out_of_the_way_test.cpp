// "Out of the way" with a real main window: a real full-screen window in
// front hides a display that shows and it comes back when that window
// leaves, followed by the foreground event hook, not a timer; the shell's
// answer (handed in, as Wine's is always "accepts notifications") keeps the
// display away while the locks still change; and with the box unticked
// nothing is watched.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/form_main.h"
#include "framework/handles.h"
#include "indicator/lock_state.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;
using testing::SetLock;

// A plain top-level window of this process: full screen on the primary
// monitor, or small.
UniqueWindow MakeWindow(bool full_screen) {
  static const ATOM atom = [] {
    WNDCLASSW cls{};
    cls.lpfnWndProc = ::DefWindowProcW;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = L"LumitraxTestProgram";
    return ::RegisterClassW(&cls);
  }();
  EXPECT_NE(atom, 0);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT at = full_screen ? info.rcMonitor : RECT{100, 100, 400, 300};
  UniqueWindow window(::CreateWindowExW(0, L"LumitraxTestProgram", L"Test program",
                                        full_screen ? WS_POPUP : WS_OVERLAPPEDWINDOW, at.left, at.top,
                                        at.right - at.left, at.bottom - at.top, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr));
  ::ShowWindow(window.get(), SW_SHOW);
  ::SetForegroundWindow(window.get());
  return window;
}

// Windows raises EVENT_SYSTEM_FOREGROUND whenever the foreground window
// changes; Wine 8 raises it never (a hook sees the event only when a program
// raises it with NotifyWinEvent), so under Wine the test raises it as Windows would.
void RaiseForegroundEventUnderWine(HWND window) {
  if (testing::RunningUnderWine()) ::NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
}

class OutOfTheWay : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLock(VK_CAPITAL, 2, false);
    form_ = std::make_unique<TfrmMain>();
    Pump(50);
    form_->Hide();
    form_->UpdateOsd();
  }
  void TearDown() override {
    form_.reset();
    SetLock(VK_CAPITAL, 2, false);
  }
  void CapsOn() {
    SetLock(VK_CAPITAL, 2, true);
    ASSERT_TRUE(RunUntil([&] { return form_->LockMonitor.LockStates()[1]; }, 2500));
  }
  TfrmOsd& osd() { return *form_->OsdController.frmOsd; }
  std::unique_ptr<TfrmMain> form_;
};

TEST_F(OutOfTheWay, AFullScreenWindowInFrontHidesTheShownDisplayUntilItLeaves) {
  // Caps Lock held on with "Hide when all OFF": the display stays up.
  CapsOn();
  ASSERT_TRUE(osd().Visible());
  ASSERT_TRUE(form_->OsdController.FullScreenWatch.Watching());

  UniqueWindow full = MakeWindow(true);
  ASSERT_TRUE(RunUntil([&] { return ::GetForegroundWindow() == full.get(); }, 2000));
  RaiseForegroundEventUnderWine(full.get());
  EXPECT_TRUE(RunUntil([&] { return !osd().Visible(); }, 3000))
      << "the foreground event hid it; events seen: " << form_->OsdController.FullScreenWatch.EventCount();

  // Another program in front: the display is back, with the same text.
  UniqueWindow normal = MakeWindow(false);
  ASSERT_TRUE(RunUntil([&] { return ::GetForegroundWindow() == normal.get(); }, 2000));
  RaiseForegroundEventUnderWine(normal.get());
  EXPECT_TRUE(RunUntil([&] { return osd().Visible(); }, 3000));
  EXPECT_EQ(osd().Text(), L"Caps Lock ON");
  EXPECT_GE(form_->OsdController.FullScreenWatch.EventCount(), 2);

  // A lock changed while the full-screen window is in front: the state is
  // read, the display stays away.
  ::SetForegroundWindow(full.get());
  RaiseForegroundEventUnderWine(full.get());
  ASSERT_TRUE(RunUntil([&] { return !osd().Visible(); }, 3000));
  SetLock(VK_CAPITAL, 2, false);
  SetLock(VK_CAPITAL, 2, true);
  ::SetForegroundWindow(full.get());
  ASSERT_TRUE(RunUntil([&] { return form_->LockMonitor.LockStates()[1] && ::GetForegroundWindow() == full.get(); },
                       2500));
  form_->UpdateOsd();
  EXPECT_FALSE(osd().Visible());
}

TEST_F(OutOfTheWay, TheShellsAnswerKeepsTheDisplayAwayWhileTheLocksStillChange) {
  auto state = core::NotificationState::PresentationMode;
  form_->OsdController.FullScreenWatch.QueryNotificationState = [&] { return state; };
  CapsOn();
  EXPECT_FALSE(osd().Visible());
  EXPECT_TRUE(form_->LockMonitor.LockStates()[1]) << "the tray icon's states are read all the same";
  for (auto away : {core::NotificationState::Busy, core::NotificationState::Direct3DFullScreen,
                    core::NotificationState::QuietTime}) {
    state = away;
    form_->UpdateOsd();
    EXPECT_FALSE(osd().Visible()) << static_cast<int>(away);
  }
  state = core::NotificationState::AcceptsNotifications;
  form_->UpdateOsd();
  EXPECT_TRUE(osd().Visible());
}

TEST_F(OutOfTheWay, WithTheBoxUntickedNothingIsWatchedAndAFullScreenWindowChangesNothing) {
  form_->frmMoreSettings.chbOsdOutOfTheWay.SetChecked(false);
  CapsOn();
  ASSERT_TRUE(osd().Visible());
  EXPECT_FALSE(form_->OsdController.FullScreenWatch.Watching());
  UniqueWindow full = MakeWindow(true);
  ASSERT_TRUE(RunUntil([&] { return ::GetForegroundWindow() == full.get(); }, 2000));
  form_->UpdateOsd();
  EXPECT_TRUE(osd().Visible());
  // Ticked again: watched, and the window in front counts at once.
  form_->frmMoreSettings.chbOsdOutOfTheWay.SetChecked(true);
  EXPECT_TRUE(form_->OsdController.FullScreenWatch.Watching());
  EXPECT_FALSE(osd().Visible());
}

// Not a test: the display with and without a full-screen window in front,
// for screenshots through the bench (--shot-after).
TEST_F(OutOfTheWay, DISABLED_FullScreenWindowInFrontForAScreenshot) {
  CapsOn();
  const bool in_front = ::GetEnvironmentVariableW(L"LUMITRAX_FULL_SCREEN", nullptr, 0) > 0;
  UniqueWindow window = MakeWindow(in_front);
  form_->UpdateOsd();
  Pump(15000);
}

}  // namespace
}  // namespace lumitrax
