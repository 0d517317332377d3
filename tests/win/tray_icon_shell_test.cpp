// The tray icon against a shell that is not always ready: adds that fail at
// logon are retried at growing intervals until the icon is in place, a lost icon
// is added again; and the icon by keyboard with NOTIFYICON_VERSION_4.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/timer.h"
#include "indicator/tray_icon.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;

// A shell that refuses the first adds (as while the taskbar is not up yet)
// and passes everything else to the real one.
struct FlakyShell {
  static inline int adds_to_refuse = 0;
  static inline int modifies_to_refuse = 0;
  // Adds that reach the shell but report failure (the shell answered too late).
  static inline int adds_to_time_out = 0;
  static inline std::vector<DWORD> calls;
  static BOOL WINAPI Notify(DWORD message, NOTIFYICONDATAW* data) {
    calls.push_back(message);
    if (message == NIM_ADD && adds_to_refuse > 0) {
      --adds_to_refuse;
      return FALSE;
    }
    if (message == NIM_ADD && adds_to_time_out > 0) {
      --adds_to_time_out;
      ::Shell_NotifyIconW(message, data);
      return FALSE;
    }
    if (message == NIM_MODIFY && modifies_to_refuse > 0) {
      --modifies_to_refuse;
      return FALSE;
    }
    return ::Shell_NotifyIconW(message, data);
  }
  static int Count(DWORD message) { return static_cast<int>(std::count(calls.begin(), calls.end(), message)); }
};

class FlakyShellScope {
 public:
  explicit FlakyShellScope(int adds_to_refuse) {
    FlakyShell::adds_to_refuse = adds_to_refuse;
    FlakyShell::modifies_to_refuse = 0;
    FlakyShell::adds_to_time_out = 0;
    FlakyShell::calls.clear();
    TTrayIcon::ShellNotifyIcon = &FlakyShell::Notify;
  }
  ~FlakyShellScope() { TTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconW; }
};

bool ShellKnows(const TTrayIcon& tray) {
  NOTIFYICONDATAW data = tray.IconData();
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool IsRunning(const TTimer& timer) {
  const auto running = TTimer::Running();
  return std::find(running.begin(), running.end(), &timer) != running.end();
}

class TrayIconRetry : public ::testing::Test {
 protected:
  void MakeTray() {
    tray_ = std::make_unique<TTrayIcon>(owner_);
    tray_->OnShow = [this](TComponent&) { ++shows_; };
    tray_->SetHint(L"retry probe");
  }
  void TearDown() override { tray_.reset(); }
  TForm owner_;
  std::unique_ptr<TTrayIcon> tray_;
  int shows_ = 0;
};

TEST_F(TrayIconRetry, AFailedAddIsRetriedUntilTheIconIsInPlaceThenNoTimerRuns) {
  FlakyShellScope shell(2);
  MakeTray();
  tray_->SetVisible(true);
  EXPECT_TRUE(tray_->Visible()) << "the icon is still meant to be shown";
  EXPECT_FALSE(tray_->Registered());
  EXPECT_TRUE(IsRunning(tray_->tmrRetryAdd));
  EXPECT_EQ(tray_->tmrRetryAdd.Interval(), TTrayIcon::kRetryFirstMs);
  // 1 s, then 2 s: the third add is taken.
  ASSERT_TRUE(RunUntil([&] { return tray_->Registered(); }, 15000));
  EXPECT_EQ(FlakyShell::Count(NIM_ADD), 3);
  EXPECT_TRUE(ShellKnows(*tray_));
  EXPECT_EQ(shows_, 1);
  EXPECT_FALSE(IsRunning(tray_->tmrRetryAdd)) << "the retry outlived the icon's arrival";
}

TEST_F(TrayIconRetry, TheIntervalsGrowFromASecondToAMinuteThenStayThere) {
  FlakyShellScope shell(1000);
  MakeTray();
  tray_->SetVisible(true);
  std::vector<UINT> intervals{tray_->tmrRetryAdd.Interval()};
  for (int i = 0; i < 8; ++i) {
    tray_->tmrRetryAdd.OnTimer(tray_->tmrRetryAdd);  // a tick, without the wait
    ASSERT_TRUE(IsRunning(tray_->tmrRetryAdd));
    intervals.push_back(tray_->tmrRetryAdd.Interval());
  }
  const std::vector<UINT> expected{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000};
  EXPECT_EQ(intervals, expected);
  EXPECT_FALSE(tray_->Registered());
  // Hidden meanwhile: nothing is retried any more.
  tray_->SetVisible(false);
  EXPECT_FALSE(IsRunning(tray_->tmrRetryAdd));
}

TEST_F(TrayIconRetry, TheTaskbarAppearingAddsTheIconAtOnceAndEndsTheRetries) {
  FlakyShellScope shell(1);
  MakeTray();
  tray_->SetVisible(true);
  ASSERT_TRUE(IsRunning(tray_->tmrRetryAdd));
  ::SendMessageW(tray_->Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(tray_->Registered());
  EXPECT_TRUE(ShellKnows(*tray_));
  EXPECT_FALSE(IsRunning(tray_->tmrRetryAdd));
}

TEST_F(TrayIconRetry, AnAddThatTimedOutButReachedTheShellCountsAsDone) {
  FlakyShellScope shell(0);
  FlakyShell::adds_to_time_out = 1;
  MakeTray();
  tray_->SetVisible(true);
  EXPECT_TRUE(tray_->Registered());
  EXPECT_TRUE(ShellKnows(*tray_));
  EXPECT_EQ(FlakyShell::Count(NIM_ADD), 1) << "a second add of a known icon fails for ever";
  EXPECT_FALSE(IsRunning(tray_->tmrRetryAdd));
}

TEST_F(TrayIconRetry, AFailedModifyOfAShownIconAddsItAgain) {
  MakeTray();
  tray_->SetVisible(true);
  ASSERT_TRUE(tray_->Registered());
  // The shell lost the icon without telling (no "TaskbarCreated").
  NOTIFYICONDATAW data = tray_->IconData();
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
  FlakyShellScope shell(0);
  tray_->SetHint(L"retry probe, changed");
  EXPECT_EQ(FlakyShell::Count(NIM_MODIFY), 1);
  EXPECT_EQ(FlakyShell::Count(NIM_ADD), 1);
  EXPECT_TRUE(ShellKnows(*tray_));
  EXPECT_STREQ(tray_->IconData().szTip, L"retry probe, changed");
}

TEST_F(TrayIconRetry, AHiddenIconIsNotAddedByAModify) {
  MakeTray();
  FlakyShellScope shell(0);
  tray_->SetHint(L"not shown");
  EXPECT_EQ(FlakyShell::Count(NIM_ADD), 0);
  EXPECT_FALSE(IsRunning(tray_->tmrRetryAdd));
}

TEST(TrayIconAtLogon, TheProgramsIconArrivesAfterTheShellRefusedItAtStart) {
  FlakyShellScope shell(1);
  TfrmMain form;
  TTrayIcon& tray = form.TrayIndicator.TrayIcon;
  EXPECT_FALSE(tray.Registered());
  ASSERT_TRUE(RunUntil([&] { return tray.Registered(); }, 10000));
  EXPECT_TRUE(ShellKnows(tray));
  EXPECT_STREQ(tray.IconData().szTip, L"Lumitrax (2.5.0.51)");
  EXPECT_FALSE(IsRunning(tray.tmrRetryAdd));
}

// The icon with the callbacks of NOTIFYICON_VERSION_4, sent as the taskbar
// sends them: the event in the low word of lParam, the anchor in wParam.
class TrayIconKeyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TfrmMain>();
    Pump(50);
    ASSERT_TRUE(tray().Version4()) << "the shell refused NOTIFYICON_VERSION_4";
    const TNotifyEvent click = tray().OnClick;
    tray().OnClick = [this, click](TComponent& sender) {
      ++clicks_;
      if (click) click(sender);
    };
    tray().OnPopupMenu = [this](TComponent&) { ++popups_; };
  }
  void TearDown() override { form_.reset(); }
  TTrayIcon& tray() { return form_->TrayIndicator.TrayIcon; }
  void Notify(UINT event, POINT anchor = {0, 0}) {
    ::SendMessageW(tray().Handle(), WM_TRAYNOTIFY, MAKEWPARAM(anchor.x, anchor.y),
                   MAKELPARAM(event, tray().IconID));
  }
  // Holds Alt in this thread's keyboard state while `action` runs.
  template <typename Action>
  void WithAlt(Action action) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    const BYTE alt = keys[VK_MENU];
    keys[VK_MENU] |= 0x80;
    ::SetKeyboardState(keys);
    action();
    keys[VK_MENU] = alt;
    ::SetKeyboardState(keys);
  }
  std::unique_ptr<TfrmMain> form_;
  int clicks_ = 0;
  int popups_ = 0;
};

TEST_F(TrayIconKeyboard, KeyboardSelectionIsALeftClick) {
  form_->Hide();
  Notify(NIN_KEYSELECT, {500, 700});
  EXPECT_EQ(clicks_, 1);
  EXPECT_FALSE(form_->Visible()) << "a plain click shows nothing";
  WithAlt([&] { Notify(NIN_KEYSELECT, {500, 700}); });
  EXPECT_EQ(clicks_, 2);
  EXPECT_TRUE(form_->Visible()) << "Alt with the selection opens the settings window";
}

TEST_F(TrayIconKeyboard, EnterOnTheIconTheMouseSelectedIsALeftClick) {
  form_->Hide();
  WithAlt([&] { Notify(NIN_SELECT, {500, 700}); });
  EXPECT_EQ(clicks_, 1);
  EXPECT_TRUE(form_->Visible());
}

TEST_F(TrayIconKeyboard, AMouseClickIsOneClickAlthoughTheShellAddsNinSelect) {
  form_->Hide();
  Notify(WM_LBUTTONDOWN);
  Notify(WM_LBUTTONUP);
  Notify(NIN_SELECT);
  EXPECT_EQ(clicks_, 1);
  EXPECT_FALSE(form_->Visible());
  // A double click still opens the settings window.
  Notify(WM_LBUTTONDBLCLK);
  Notify(WM_LBUTTONUP);
  Notify(NIN_SELECT);
  EXPECT_TRUE(form_->Visible());
  EXPECT_EQ(clicks_, 1);
}

TEST_F(TrayIconKeyboard, TheContextMenuOpensOnceAtTheAnchorNotAtThePointer) {
  ::SetCursorPos(5, 5);
  const POINT anchor{400, 300};
  RECT menu_place{};
  TTimer closer(100);
  closer.OnTimer = [&](TComponent&) {
    closer.SetEnabled(false);
    if (HWND menu = ::FindWindowW(L"#32768", nullptr)) ::GetWindowRect(menu, &menu_place);
    ::EndMenu();
  };
  // A right click: the releases open nothing, the WM_CONTEXTMENU after them does.
  Notify(WM_RBUTTONDOWN, anchor);
  Notify(WM_RBUTTONUP, anchor);
  EXPECT_EQ(popups_, 0);
  Notify(WM_CONTEXTMENU, anchor);  // returns when the menu has closed
  EXPECT_EQ(popups_, 1);
  EXPECT_FALSE(form_->pmPopup.PopupShowing());
  const bool at_anchor = menu_place.left == anchor.x || menu_place.right == anchor.x;
  EXPECT_TRUE(at_anchor && menu_place.top <= anchor.y && anchor.y <= menu_place.bottom)
      << "menu at " << menu_place.left << "," << menu_place.top << " - " << menu_place.right << ","
      << menu_place.bottom;
}

TEST_F(TrayIconKeyboard, TheTipIsStillAskedFor) {
  EXPECT_TRUE(tray().IconData().uFlags & NIF_SHOWTIP);
  EXPECT_TRUE(tray().IconData().uFlags & NIF_TIP);
}

}  // namespace
}  // namespace lumitrax
