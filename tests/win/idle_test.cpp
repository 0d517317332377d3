// The program at rest: once the settings window hides, no mouse tracking of its
// controls stays alive (it would keep the system polling the resting pointer
// many times a second), and no timer runs but the lock guard and the usage
// ping's minutes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

HWND TrackedWindow() {
  TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
  return ::TrackMouseEvent(&query) ? query.hwndTrack : nullptr;
}

// The window under the pointer, by class name (for failure messages).
std::string WindowUnderPointer() {
  POINT point{};
  ::GetCursorPos(&point);
  char name[64] = {}, capture[64] = "none";
  ::GetClassNameA(::WindowFromPoint(point), name, sizeof name);
  if (::GetCapture()) ::GetClassNameA(::GetCapture(), capture, sizeof capture);
  return std::string(name) + ", mouse captured by " + capture;
}

// Rests the pointer on the middle of the control, arriving in small steps as
// a hand would, until the control tracks the mouse.
bool RestPointerOn(HWND control) {
  RECT place{};
  ::GetWindowRect(control, &place);
  const int x = (place.left + place.right) / 2, y = (place.top + place.bottom) / 2;
  for (int attempt = 0; attempt < 10; ++attempt) {
    for (int step = 0; step < 4; ++step) {
      ::SetCursorPos(x - 6 + 2 * step, y + attempt % 2);
      RunUntil([] { return false; }, 30);
    }
    if (RunUntil([&] { return TrackedWindow() == control; }, 300)) return true;
  }
  return false;
}

// The queued messages the thread takes while a 100 ms marker timer ticks ten
// times; the marker's own ticks are left out.
struct MessageCount {
  int messages = 0;
  int timer_messages = 0;  // WM_TIMER to the timers' window, the marker's left out
};

thread_local MessageCount* g_count = nullptr;
thread_local UINT_PTR g_marker = 0;

LRESULT CALLBACK CountMessage(int code, WPARAM wparam, LPARAM lparam) {
  const auto* msg = reinterpret_cast<const MSG*>(lparam);
  if (code == HC_ACTION && wparam == PM_REMOVE && g_count) {
    const bool marker = msg->message == WM_TIMER && msg->wParam == g_marker;
    if (!marker) ++g_count->messages;
    if (!marker && msg->message == WM_TIMER && msg->hwnd == TTimer::Window()) ++g_count->timer_messages;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

MessageCount CountIdleMessages() {
  MessageCount count;
  TTimer marker{100, true};
  int ticks = 0;
  marker.OnTimer = [&](TComponent&) { ++ticks; };
  g_marker = reinterpret_cast<UINT_PTR>(&marker);
  g_count = &count;
  const HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, CountMessage, nullptr, ::GetCurrentThreadId());
  Application().ModalLoop([&] { return ticks >= 10; });
  ::UnhookWindowsHookEx(hook);
  g_count = nullptr;
  return count;
}

class IdleProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SetCursorPos(0, 0);
    form_ = std::make_unique<TfrmMain>();
    form_->Show();
    form_->BringToFront();
    ASSERT_TRUE(RunUntil([&] { return form_->Visible(); }, 3000));
  }
  void TearDown() override {
    ::SetCursorPos(0, 0);
    form_.reset();
  }
  TfrmMain& form() { return *form_; }
  std::unique_ptr<TfrmMain> form_;
};

TEST_F(IdleProgram, SettingsWindowHiddenUnderARestingPointerLeavesNoMouseTrackingAndTheThreadQuiet) {
  // The check box hot-tracks the mouse that rests on it.
  ASSERT_TRUE(RestPointerOn(form().chbIconMarks.Handle()))
      << "the check box never tracked the mouse; under the pointer: " << WindowUnderPointer();

  form().Close();  // hides to the tray; the pointer stays where it is
  ASSERT_FALSE(form().Visible());
  EXPECT_EQ(TrackedWindow(), nullptr);

  // Over about a second only the program's own timers may come by: the guard
  // ticks once at most, where a leftover tracking polls hundreds of times.
  const MessageCount count = CountIdleMessages();
  EXPECT_LE(count.messages, 12) << "the hidden program keeps being woken";
  EXPECT_LE(count.timer_messages, 2);
}

TEST_F(IdleProgram, OnlyTheGuardHookRenewalAndMinutesTimersRunOnceTheWindowIsHidden) {
  form().Close();
  ASSERT_FALSE(form().Visible());
  // The start-up timer ends itself after its one tick.
  ASSERT_TRUE(RunUntil([&] { return !form().StartupPending(); }, 3000));
  std::vector<const TTimer*> running = TTimer::Running();
  // The guard every 1.3 s, the hook's renewal every minute and the usage
  // ping's timer every one to five minutes: nothing else wakes the program.
  std::vector<const TTimer*> expected{&form().LockMonitor.tmrSwitchGuard, &form().LockMonitor.tmrHookRenewal,
                                      &form().UsagePing.tmrMinutes};
  std::sort(running.begin(), running.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(running, expected);
  EXPECT_EQ(form().LockMonitor.tmrSwitchGuard.Interval(), 1300u);
  EXPECT_EQ(form().LockMonitor.tmrHookRenewal.Interval(), 60000u);
}

// A form with a check box, which hot-tracks the mouse resting on it.
struct CheckBoxForm {
  TForm form;
  TCheckBox box{form};
  CheckBoxForm() {
    form.SetFont(L"Arial", 12);
    ::SetWindowPos(form.Handle(), nullptr, 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    box.SetBounds(20, 20, 200, 60);
    box.SetCaption(L"a check box to rest on");
    form.Show();
    form.BringToFront();
  }
};

// Any form of the framework ends the tracking of its controls when it hides,
// and a window leaves none behind when it is destroyed: a stale one keeps the
// controls of other windows from tracking the mouse.
TEST(FormMouseTracking, EndsWhenTheFormHidesOrIsDestroyed) {
  ::SetCursorPos(0, 0);
  {
    CheckBoxForm hidden;
    ASSERT_TRUE(RestPointerOn(hidden.box.Handle())) << "under the pointer: " << WindowUnderPointer();
    hidden.form.Hide();
    EXPECT_EQ(TrackedWindow(), nullptr) << "after hiding";
  }
  {
    CheckBoxForm destroyed;
    ASSERT_TRUE(RestPointerOn(destroyed.box.Handle())) << "under the pointer: " << WindowUnderPointer();
  }
  EXPECT_EQ(TrackedWindow(), nullptr) << "after destroying";
  ::SetCursorPos(0, 0);
}

}  // namespace
}  // namespace lumitrax
