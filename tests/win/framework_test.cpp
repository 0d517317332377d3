// The framework under real Windows: the message filter, the default error box,
// timers, menus, message dialogs, handle owners and version information.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/menu.h"
#include "framework/message_dialog.h"
#include "framework/timer.h"
#include "framework/version_info.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::BesideTestExe;
using testing::Pump;
using testing::RunUntil;
using testing::WindowText;

constexpr UINT kProbeMessage = WM_APP + 77;

// A window that counts the probe messages that reach its procedure.
class ProbeWindow : public TWindow {
 public:
  int received = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWindow::CreateParams(params);
    params.class_name = L"TProbeWindow";
    params.style = WS_POPUP;
  }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kProbeMessage) ++received;
    return TWindow::WndProc(message, wparam, lparam);
  }
};

class FilterScope {
 public:
  explicit FilterScope(TApplication::TMessageEvent filter) { Application().OnMessage = std::move(filter); }
  ~FilterScope() { Application().OnMessage = nullptr; }
};

class ExceptionScope {
 public:
  explicit ExceptionScope(TApplication::TExceptionEvent handler) { Application().OnException = std::move(handler); }
  ~ExceptionScope() { Application().OnException = nullptr; }
};

TEST(MessageFilter, SeesPostedMessagesBeforeDispatchAndCanStopThem) {
  ProbeWindow window;
  std::vector<WPARAM> seen;
  std::vector<int> received_when_seen;
  FilterScope filter([&](MSG& msg, bool& handled) {
    if (msg.message != kProbeMessage) return;
    seen.push_back(msg.wParam);
    received_when_seen.push_back(window.received);
    handled = msg.wParam == 1;
  });
  ::PostMessageW(window.Handle(), kProbeMessage, 1, 0);  // stopped by the filter
  ::PostMessageW(window.Handle(), kProbeMessage, 2, 0);  // passes on
  ASSERT_TRUE(RunUntil([&] { return seen.size() == 2 && window.received == 1; }, 2000));
  EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2}));
  // The window had neither message when the filter looked at it.
  EXPECT_EQ(received_when_seen, (std::vector<int>{0, 0}));
  // Sent messages go straight to the window procedure, past the filter.
  ::SendMessageW(window.Handle(), kProbeMessage, 3, 0);
  EXPECT_EQ(window.received, 2);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(DefaultErrorBox, TimerHandlerExceptionIsReportedAndTheLoopRunsOn) {
  std::vector<std::string> errors;
  ExceptionScope scope([&](const std::exception& error) { errors.emplace_back(error.what()); });
  TTimer failing(20);
  int failures = 0;
  failing.OnTimer = [&](TComponent&) {
    if (++failures == 1) throw AppError(std::string("Failed to set data for 'Visible'"));
    failing.SetEnabled(false);
  };
  ASSERT_TRUE(RunUntil([&] { return failures >= 2; }, 3000)) << "the timer stopped after its handler threw";
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Failed to set data for 'Visible'");
}

TEST(DefaultErrorBox, ShowsTheMessageTextInABoxCaptionedWithTheTitle) {
  TTimer failing(20);
  failing.OnTimer = [&](TComponent&) {
    failing.SetEnabled(false);
    throw AppError(std::string("Unable to open the Software key"));
  };
  // The box runs its own loop; a thread-less timer callback finds and answers it.
  static std::wstring box_text;
  static std::wstring box_caption;
  box_text.clear();
  box_caption.clear();
  const UINT_PTR finder = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
          wchar_t cls[32] = {};
          ::GetClassNameW(window, cls, 32);
          if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
          box_caption = WindowText(window);
          ::EnumChildWindows(
              window,
              [](HWND child, LPARAM) -> BOOL {
                const std::wstring text = WindowText(child);
                if (text.find(L"Unable") != std::wstring::npos) box_text = text;
                return TRUE;
              },
              0);
          ::PostMessageW(window, WM_COMMAND, IDOK, 0);
          return FALSE;
        },
        0);
  });
  Pump(600);
  ::KillTimer(nullptr, finder);
  EXPECT_EQ(box_text, L"Unable to open the Software key");
  EXPECT_EQ(box_caption, L"Lumitrax");
  // The program runs on: a fresh timer still fires.
  TTimer after(20);
  bool fired = false;
  after.OnTimer = [&](TComponent&) { fired = true; };
  EXPECT_TRUE(RunUntil([&] { return fired; }, 2000));
}

TEST(Timer, EnablingARunningTimerDoesNotRestartIt) {
  // Told by the order of ticks, not by the clock. The timer runs at 600 ms; once
  // a 300 ms timer has ticked it is enabled again, just after a 400 ms witness
  // starts. Kept, it is due 100 ms or more before the witness; restarted, 200 ms
  // after it.
  std::vector<std::string> order;
  TTimer timer(600);
  timer.OnTimer = [&](TComponent&) { order.push_back("timer"); };
  TTimer half(300);
  std::unique_ptr<TTimer> witness;
  half.OnTimer = [&](TComponent&) {
    half.SetEnabled(false);
    witness = std::make_unique<TTimer>(400);
    witness->OnTimer = [&](TComponent&) { order.push_back("witness"); };
    timer.SetEnabled(true);  // already enabled: keeps its schedule
  };
  ASSERT_TRUE(RunUntil([&] { return order.size() >= 2; }, 10000));
  EXPECT_EQ(order[0], "timer") << "enabling the running timer restarted it";
}

TEST(Timer, DisabledTimerDoesNotFireAndANewIntervalApplies) {
  TTimer timer(30, false);
  int ticks = 0;
  timer.OnTimer = [&](TComponent&) { ++ticks; };
  Pump(150);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(10);
  timer.SetEnabled(true);
  EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }, 2000));
  timer.SetEnabled(false);
  const int stopped_at = ticks;
  Pump(100);
  EXPECT_EQ(ticks, stopped_at);
}

TEST(PopupMenu, BuildsItemsWithTheirStatesAndSubmenus) {
  TPopupMenu menu;
  TMenuItem& settings = menu.Items.Add(L"Settings");
  settings.Default = true;
  TMenuItem& locks = menu.Items.Add(L"Switch");
  TMenuItem& caps = locks.Add(L"Caps Lock", 2);
  caps.Checked = true;
  menu.Items.Add(L"-");
  TMenuItem& close = menu.Items.Add(L"Close");
  close.Enabled = false;

  UniqueMenu built(menu.Items.BuildMenu(true));
  ASSERT_EQ(::GetMenuItemCount(built.get()), 4);
  EXPECT_EQ(::GetMenuDefaultItem(built.get(), FALSE, 0), settings.Command());
  EXPECT_EQ(::GetMenuState(built.get(), 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_TRUE(::GetMenuState(built.get(), close.Command(), MF_BYCOMMAND) & MF_GRAYED);
  const HMENU sub = ::GetSubMenu(built.get(), 1);
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(::GetMenuState(sub, caps.Command(), MF_BYCOMMAND) & MF_CHECKED);
  wchar_t text[64] = {};
  ::GetMenuStringW(sub, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Caps Lock");

  int clicks = 0;
  intptr_t tag = 0;
  caps.OnClick = [&](TComponent& sender) {
    ++clicks;
    tag = sender.Tag;
  };
  menu.Items.FindByCommand(caps.Command())->Click();
  close.OnClick = [&](TComponent&) { ++clicks; };
  close.Click();  // disabled items do nothing
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(tag, 2);
}

struct DialogAnswer {
  std::vector<std::wstring> buttons;
  std::wstring caption;
  std::wstring focused;
};

// Answers the open message dialog with a key press once it shows.
int RunDialogAnsweredWith(const MessageDialogParams& params, WORD key, DialogAnswer& seen) {
  TTimer answer(50);
  answer.OnTimer = [&](TComponent&) {
    const HWND dialog = ActiveMessageDialog();
    if (!dialog || !::IsWindowVisible(dialog)) return;
    answer.SetEnabled(false);
    seen.caption = WindowText(dialog);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      wchar_t cls[32] = {};
      ::GetClassNameW(child, cls, 32);
      if (std::wstring(cls) == L"Button") seen.buttons.push_back(WindowText(child));
    }
    seen.focused = WindowText(::GetFocus());
    const HWND target = ::GetFocus() ? ::GetFocus() : dialog;
    ::PostMessageW(target, WM_KEYDOWN, key, 0);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000000);
  };
  return MessageDialog(params);
}

TEST(MessageDialog, EscapeChoosesTheCancelButtonAndEnterTheDefault) {
  MessageDialogParams params;
  params.caption = L"Lumitrax";
  params.text = L"Do you really want to go on?";
  params.icon = ::LoadIconW(nullptr, IDI_QUESTION);
  params.buttons = {L"&Yes", L"&No"};
  params.default_button = 1;
  params.cancel_button = 1;

  DialogAnswer seen;
  EXPECT_EQ(RunDialogAnsweredWith(params, VK_ESCAPE, seen), 1);
  EXPECT_EQ(seen.caption, L"Lumitrax");
  EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
  EXPECT_EQ(seen.focused, L"&No");

  params.default_button = 0;
  DialogAnswer seen_enter;
  EXPECT_EQ(RunDialogAnsweredWith(params, VK_RETURN, seen_enter), 0);
  EXPECT_EQ(seen_enter.focused, L"&Yes");
  EXPECT_EQ(ActiveMessageDialog(), nullptr);
}

TEST(MessageDialog, MessagesInsideItsLoopPassTheFilter) {
  int probes = 0;
  FilterScope filter([&](MSG& msg, bool& handled) {
    if (msg.message == kProbeMessage) {
      ++probes;
      handled = true;
    }
  });
  ProbeWindow window;
  MessageDialogParams params;
  params.caption = L"Lumitrax";
  params.text = L"Waiting";
  params.buttons = {L"OK"};
  params.cancel_button = 0;
  TTimer poster(30);
  poster.OnTimer = [&](TComponent&) {
    if (!ActiveMessageDialog()) return;
    poster.SetEnabled(false);
    ::PostMessageW(window.Handle(), kProbeMessage, 0, 0);
    ::PostMessageW(ActiveMessageDialog(), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(MessageDialog(params), 0);
  EXPECT_EQ(probes, 1);
  EXPECT_EQ(window.received, 0);
}

TEST(Handles, ReleaseKeepsTheLastErrorAndOwnersMove) {
  UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
  ASSERT_TRUE(brush);
  const HBRUSH raw = brush.get();
  UniqueBrush moved(std::move(brush));
  EXPECT_FALSE(brush);
  EXPECT_EQ(moved.get(), raw);
  ::SetLastError(ERROR_FILE_NOT_FOUND);
  moved.reset();
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // The brush is really gone.
  EXPECT_EQ(::GetObjectType(raw), 0u);
}

TEST(VersionInfo, ProgramAndTestsCarryTheReleaseVersion) {
  EXPECT_EQ(GetFileVersionString(BesideTestExe(L"Lumitrax.exe")), L"2.5.0.51");
  EXPECT_EQ(GetFileVersionString(GetModulePath()), L"2.5.0.51");
  EXPECT_EQ(GetFileVersionString(BesideTestExe(L"no-such-file.exe")), L"");
}

TEST(Application, WindowCarriesTheTitleAndClass) {
  const HWND window = Application().Handle();
  wchar_t cls[32] = {};
  ::GetClassNameW(window, cls, 32);
  EXPECT_STREQ(cls, L"TApplication");
  EXPECT_EQ(WindowText(window), L"Lumitrax");
  Application().SetHidden(true);
  const auto ex_style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
  EXPECT_FALSE(::IsWindowVisible(window));
}

}  // namespace
}  // namespace lumitrax
