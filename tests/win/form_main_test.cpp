// The main window in this process: lock monitoring through the real keyboard
// hook and guard timer, switching, hiding instead of closing, and the close
// confirmation.
#include <gtest/gtest.h>

#include <memory>

#include "app/form_main.h"
#include "framework/application.h"
#include "framework/message_dialog.h"
#include "indicator/keyboard_hook.h"
#include "indicator/lock_state.h"
#include "test_support.h"
#include "user_registry.h"
#include "web/form_about.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::PressKey;
using testing::RunUntil;
using testing::SetLock;
using testing::WindowText;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLock(VK_CAPITAL, 2, false);
    SetLock(VK_SCROLL, 3, false);
    form_ = std::make_unique<TfrmMain>();
    Pump(50);
  }
  void TearDown() override {
    form_.reset();
    SetLock(VK_CAPITAL, 2, false);
    SetLock(VK_SCROLL, 3, false);
  }
  TfrmMain& form() { return *form_; }

  std::unique_ptr<TfrmMain> form_;
};

TEST_F(MainWindow, CapsLockPressIsSeenThroughTheHookWithOneBeep) {
  ASSERT_TRUE(form().LockMonitor.KeyboardHook.Installed());
  const int beeps = form().LockMonitor.BeepCount();
  PressKey(VK_CAPITAL);
  // Well before the guard timer's 1300 ms: only the hook can be this fast.
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[1]; }, 600)) << "the hook did not report the press";
  EXPECT_EQ(form().LockMonitor.BeepCount(), beeps + 1);
  EXPECT_FALSE(form().LockMonitor.LockStates()[2]);
}

TEST_F(MainWindow, GuardTimerCatchesAChangeTheHookMissed) {
  form().LockMonitor.KeyboardHook.Remove();
  // The guard held back until the key is in: then nothing else can have seen it.
  form().LockMonitor.tmrSwitchGuard.SetEnabled(false);
  PressKey(VK_CAPITAL);
  ASSERT_TRUE(RunUntil([] { return GetLockState(2); }, 2500));
  Pump(50);
  EXPECT_FALSE(form().LockMonitor.LockStates()[1]) << "nothing but the guard timer should have seen it";
  form().LockMonitor.tmrSwitchGuard.SetEnabled(true);
  EXPECT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[1]; }, 2500));
  EXPECT_EQ(form().LockMonitor.LockUpdateCount(), 1);
}

TEST_F(MainWindow, LockPressedWithAltIsShownByTheGuardTimer) {
  PressKey(VK_CAPITAL, /*with_alt=*/true);
  EXPECT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[1]; }, 2500));
}

TEST_F(MainWindow, TwoLockKeysInOneBurstGiveOneUpdateAndOneBeep) {
  const int beeps = form().LockMonitor.BeepCount();
  INPUT inputs[4]{};
  const WORD keys[2] = {VK_CAPITAL, VK_SCROLL};
  for (int i = 0; i < 2; ++i) {
    inputs[2 * i].type = inputs[2 * i + 1].type = INPUT_KEYBOARD;
    inputs[2 * i].ki.wVk = inputs[2 * i + 1].ki.wVk = keys[i];
    inputs[2 * i + 1].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  ::SendInput(4, inputs, sizeof(INPUT));
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[2] && form().LockMonitor.LockStates()[1]; }, 2500));
  Pump(100);
  EXPECT_EQ(form().LockMonitor.LockUpdateCount(), 1);
  EXPECT_EQ(form().LockMonitor.BeepCount(), beeps + 1);
}

TEST_F(MainWindow, NoBeepWhenBeepingIsOff) {
  form().chbBeepOnSwitch.SetChecked(false);
  PressKey(VK_CAPITAL);
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[1]; }, 2500));
  EXPECT_EQ(form().LockMonitor.BeepCount(), 0);
  EXPECT_EQ(form().LockMonitor.LockUpdateCount(), 1);
}

TEST_F(MainWindow, WithTheTonesChosenOnRisesAndOffFallsAndAFailedPlayIsSilent) {
  form().frmMoreSettings.chbBeepTones.SetChecked(true);
  PressKey(VK_CAPITAL);
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[1]; }, 2500));
  EXPECT_EQ(form().LockMonitor.ToneCount(), 1);
  EXPECT_TRUE(form().LockMonitor.LastToneRising());
  PressKey(VK_CAPITAL);
  ASSERT_TRUE(RunUntil([&] { return !form().LockMonitor.LockStates()[1]; }, 2500));
  EXPECT_EQ(form().LockMonitor.ToneCount(), 2);
  EXPECT_FALSE(form().LockMonitor.LastToneRising());
  // Under a bench without a sound device the play fails: no box, no error, the program runs on.
  EXPECT_EQ(::FindWindowW(L"#32770", nullptr), nullptr);

  // One update with Caps turning on and Scroll off: Caps, first in the order, decides.
  SetLock(VK_SCROLL, 3, true);
  ASSERT_TRUE(RunUntil([&] { return form().LockMonitor.LockStates()[2]; }, 2500));
  INPUT inputs[4]{};
  const WORD keys[2] = {VK_SCROLL, VK_CAPITAL};
  for (int i = 0; i < 2; ++i) {
    inputs[2 * i].type = inputs[2 * i + 1].type = INPUT_KEYBOARD;
    inputs[2 * i].ki.wVk = inputs[2 * i + 1].ki.wVk = keys[i];
    inputs[2 * i + 1].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  const int updates = form().LockMonitor.LockUpdateCount();
  ::SendInput(4, inputs, sizeof(INPUT));
  ASSERT_TRUE(
      RunUntil([&] { return form().LockMonitor.LockStates()[1] && !form().LockMonitor.LockStates()[2]; }, 2500));
  Pump(100);
  ASSERT_EQ(form().LockMonitor.LockUpdateCount(), updates + 1);
  EXPECT_TRUE(form().LockMonitor.LastToneRising());

  // Unticked: the system beep as before, no tone.
  form().frmMoreSettings.chbBeepTones.SetChecked(false);
  const int tones = form().LockMonitor.ToneCount(), beeps = form().LockMonitor.BeepCount();
  PressKey(VK_CAPITAL);
  ASSERT_TRUE(RunUntil([&] { return !form().LockMonitor.LockStates()[1]; }, 2500));
  EXPECT_EQ(form().LockMonitor.ToneCount(), tones);
  EXPECT_EQ(form().LockMonitor.BeepCount(), beeps + 1);
}

TEST(MainWindowStart, LockAlreadyOnAtStartIsNoChange) {
  SetLock(VK_CAPITAL, 2, true);
  {
    TfrmMain form;
    EXPECT_TRUE(form.LockMonitor.LockStates()[1]);
    Pump(1500);  // a guard tick and the start-up timer
    EXPECT_EQ(form.LockMonitor.BeepCount(), 0);
    EXPECT_EQ(form.LockMonitor.LockUpdateCount(), 0);
    EXPECT_FALSE(form.StartupPending());
  }
  SetLock(VK_CAPITAL, 2, false);
}

TEST_F(MainWindow, SwitchLockClickTogglesTheLockExactlyOnce) {
  form().LockMonitor.SwitchLockClick(*form().miCapsLock);
  EXPECT_TRUE(GetLockState(2));
  EXPECT_TRUE(form().LockMonitor.LockStates()[1]);
  // The synthetic press also passes the hook: its update finds nothing new.
  Pump(200);
  EXPECT_TRUE(GetLockState(2));
  EXPECT_EQ(form().LockMonitor.LockUpdateCount(), 1);
  EXPECT_EQ(form().LockMonitor.BeepCount(), 1);

  form().btnScrollLock.OnClick(form().btnScrollLock);
  Pump(200);
  EXPECT_TRUE(GetLockState(3));
  EXPECT_TRUE(form().LockMonitor.LockStates()[2]);
}

TEST_F(MainWindow, SwitchMenuChecksFollowTheLocks) {
  SetLock(VK_SCROLL, 3, true);
  form().UpdateSwitchMenuChecks();
  EXPECT_FALSE(form().miNumLock->Checked);
  EXPECT_FALSE(form().miCapsLock->Checked);
  EXPECT_TRUE(form().miScrollLock->Checked);
}

TEST_F(MainWindow, LockButtonGlyphsFollowTheLocksOnlyWhileShown) {
  ASSERT_TRUE(form().Visible());
  form().LockMonitor.SwitchLockClick(*form().miCapsLock);
  const HBITMAP caps_glyph = form().btnCapsLock.Glyph();
  ASSERT_NE(caps_glyph, nullptr);
  // The lit glyph is a copy of the lit LED: same red pixel in the middle.
  // Sampled at the LED's centre, at the glyph's size for the scale.
  BITMAP glyph{};
  ::GetObjectW(caps_glyph, sizeof glyph, &glyph);
  const int centre = (glyph.bmWidth - 2) / 2;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, caps_glyph);
  const COLORREF lit = ::GetPixel(dc, centre, centre);
  ::SelectObject(dc, form().btnScrollLock.Glyph());
  const COLORREF unlit = ::GetPixel(dc, centre, centre);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  EXPECT_GT(GetRValue(lit), 2 * GetGValue(lit));
  EXPECT_GT(GetGValue(unlit), 150);

  form().Hide();
  form().LockMonitor.SwitchLockClick(*form().miCapsLock);
  EXPECT_EQ(form().btnCapsLock.Glyph(), caps_glyph) << "hidden, the glyphs are left alone";
}

TEST_F(MainWindow, EscapeAndTheCloseBoxHideTheWindowAndTheProgramRunsOn) {
  ASSERT_TRUE(form().Visible());
  ::SetForegroundWindow(form().Handle());
  ::SetFocus(form().btnCapsLock.Handle());
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(RunUntil([&] { return !form().Visible(); }, 2000));
  EXPECT_FALSE(form().WindowVisible());
  EXPECT_FALSE(Application().Terminated());

  form().actSetupExecute();
  EXPECT_TRUE(form().Visible());
  ::SendMessageW(form().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(form().Visible());
  EXPECT_TRUE(::IsWindow(form().Handle()));
}

// Answers the close confirmation once it shows; records what it showed.
struct ConfirmationAnswer {
  std::wstring text;
  bool settings_enabled_meanwhile = true;
  bool second_close_opened_another = false;
};

void AnswerConfirmation(TfrmMain& form, WORD key, ConfirmationAnswer& seen, TTimer& timer) {
  timer.OnTimer = [&form, key, &seen, &timer](TComponent&) {
    const HWND dialog = ActiveMessageDialog();
    if (!dialog || !::IsWindowVisible(dialog)) return;
    timer.SetEnabled(false);
    seen.settings_enabled_meanwhile = form.miPopupSetup->Enabled || form.miPopupAbout->Enabled;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (WindowText(child).find(L"really") != std::wstring::npos) seen.text = WindowText(child);
    // A second Close while the dialog is open does nothing.
    form.actCloseExecute();
    seen.second_close_opened_another = ActiveMessageDialog() != dialog;
    const HWND target = ::GetFocus() ? ::GetFocus() : dialog;
    ::PostMessageW(target, WM_KEYDOWN, key, 0);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000000);
  };
  timer.SetInterval(50);
  timer.SetEnabled(true);
}

TEST_F(MainWindow, CloseAnsweredNoChangesNothingAndRestoresTheMenu) {
  for (WORD key : {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) {  // Enter takes the default "&No"
    TTimer timer(50, false);
    ConfirmationAnswer seen;
    AnswerConfirmation(form(), key, seen, timer);
    form().actCloseExecute();
    EXPECT_EQ(seen.text, L"Do you really want to close \"Lumitrax\" program and disable all its features?");
    EXPECT_FALSE(seen.settings_enabled_meanwhile);
    EXPECT_FALSE(seen.second_close_opened_another);
    EXPECT_FALSE(form().CloseAllowed());
    EXPECT_TRUE(form().Visible());
    EXPECT_TRUE(form().miPopupSetup->Enabled);
    EXPECT_TRUE(form().miPopupAbout->Enabled);
    EXPECT_TRUE(form().miPopupClose->Enabled);
  }
}

TEST_F(MainWindow, SessionEndIsAllowedAtOnceAndTheNextCloseEndsTheProgram) {
  const LRESULT answer = ::SendMessageW(form().Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(ActiveMessageDialog(), nullptr);
  EXPECT_TRUE(form().UsagePing.SessionEnding);
  EXPECT_TRUE(form().CloseAllowed());
  EXPECT_TRUE(form().CloseQuery()) << "a close request after the query must end the program";
}

// A second start hands over to this instance with WM_ACTIVATEINSTANCE; true
// once the hand-over has passed the main window's message filter.
bool HandOver() {
  bool seen = false;
  auto filter = Application().OnMessage;
  Application().OnMessage = [&](MSG& msg, bool& handled) {
    filter(msg, handled);
    if (msg.message == WM_ACTIVATEINSTANCE) seen = true;
  };
  ::PostMessageW(Application().Handle(), WM_ACTIVATEINSTANCE, 0, 0);
  const bool done = RunUntil([&] { return seen; }, 2000);
  Application().OnMessage = filter;
  return done;
}

TEST_F(MainWindow, ASecondStartWhileTheCloseQuestionIsOpenShowsNoSettingsAndKeepsTheQuestionInFront) {
  form().Hide();
  bool handed_over = false, settings_shown = true;
  HWND question = nullptr, front = nullptr;
  TTimer timer(50);
  timer.OnTimer = [&](TComponent&) {
    const HWND dialog = ActiveMessageDialog();
    if (!dialog || !::IsWindowVisible(dialog)) return;
    timer.SetEnabled(false);
    question = dialog;
    handed_over = HandOver();
    settings_shown = form().Visible();
    front = ::GetForegroundWindow();
    ::PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(dialog, WM_KEYUP, VK_ESCAPE, 0xC0000000);
  };
  form().actCloseExecute();
  ASSERT_TRUE(handed_over);
  EXPECT_FALSE(settings_shown);
  EXPECT_EQ(front, question);
  EXPECT_FALSE(form().CloseAllowed());
  EXPECT_FALSE(form().Visible());
  // With the question answered, the next start shows the window again.
  ASSERT_TRUE(HandOver());
  EXPECT_TRUE(form().Visible());
}

TEST_F(MainWindow, ASecondStartWhileTheAboutDialogIsOpenShowsNoSettingsAndKeepsTheDialogInFront) {
  form().Hide();
  bool handed_over = false, settings_shown = true, same_dialog = false;
  HWND front = nullptr, about_window = nullptr;
  TTimer timer(50);
  timer.OnTimer = [&](TComponent&) {
    TfrmAbout* about = OpenAboutDialog();
    if (!about || !about->Visible()) return;
    timer.SetEnabled(false);
    about_window = about->Handle();
    handed_over = HandOver();
    settings_shown = form().Visible();
    front = ::GetForegroundWindow();
    same_dialog = OpenAboutDialog() == about && about->Visible();
    ::PostMessageW(about->Handle(), WM_CLOSE, 0, 0);
  };
  form().actAboutExecute();
  ASSERT_TRUE(handed_over);
  EXPECT_FALSE(settings_shown);
  EXPECT_TRUE(same_dialog);
  EXPECT_EQ(front, about_window);
}

// Asks whether the tray icon is still registered at the last moment its
// window stands: told by the icon's object just before the window goes.
struct IconAtTheEnd : TComponent {
  NOTIFYICONDATAW icon{};
  bool registered = true;
  void Notification(TComponent&) override { registered = ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }
};

// The full road of "Close" answered "&Yes", in a child process of its own:
// the process must end through its message loop.
void CloseWithYesAndRun() {
  IconAtTheEnd at_the_end;
  {
    TfrmMain form;
    Application().MainForm = &form;
    TTimer timer(50, false);
    timer.OnTimer = [&](TComponent&) {
      const HWND dialog = ActiveMessageDialog();
      if (!dialog || !::IsWindowVisible(dialog)) return;
      timer.SetEnabled(false);
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0);  // "&Yes"
    };
    timer.SetEnabled(true);
    TTimer ask(100);
    ask.OnTimer = [&](TComponent&) {
      ask.SetEnabled(false);
      form.actCloseExecute();
    };
    Application().Run();
    Application().MainForm = nullptr;
    if (!form.CloseAllowed()) std::exit(3);
    // The settings are written: the window was open, so it opens at the next start.
    if (testing::TypeOf(testing::kKey, L"Visible") != REG_DWORD || testing::TypeOf(testing::kKey, L"Bounds") != REG_SZ)
      std::exit(4);
    at_the_end.icon = form.TrayIndicator.TrayIcon.IconData();
    if (!::Shell_NotifyIconW(NIM_MODIFY, &at_the_end.icon)) std::exit(5);  // still there while the program stands
    form.TrayIndicator.TrayIcon.FreeNotification(at_the_end);
  }
  std::exit(at_the_end.registered ? 6 : 0);
}

TEST(MainWindowDeathTest, CloseAnsweredYesWritesTheSettingsRemovesTheIconAndEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(CloseWithYesAndRun(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace lumitrax
