// The boundary between Windows and the program: what an exception in a
// callback does, what a failing main window does to the exit code, the order
// in which the framework's statics go at the end, and the tool tip's owner.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/boundary.h"
#include "framework/errors.h"
#include "framework/form.h"
#include "framework/control.h"
#include "framework/timer.h"
#include "framework/wnd_proc_hook.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

constexpr UINT WM_THROW_STD = WM_APP + 1;
constexpr UINT WM_THROW_OTHER = WM_APP + 2;

// Something thrown that is not a std::exception.
struct NotAStdException {
  int code = 42;
};

class ThrowingWindow : public TWindow {
 public:
  int handled_after = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWindow::CreateParams(params);
    params.class_name = L"TBoundaryTestWindow";
    params.style = WS_POPUP;
  }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_THROW_STD) throw AppError(std::string("the handler failed"));
    if (message == WM_THROW_OTHER) throw NotAStdException{};
    if (message == WM_NULL) ++handled_after;
    return TWindow::WndProc(message, wparam, lparam);
  }
};

class ExceptionCollector {
 public:
  ExceptionCollector() {
    Application().OnException = [this](const std::exception& error) { errors.push_back(error.what()); };
  }
  ~ExceptionCollector() { Application().OnException = nullptr; }
  std::vector<std::string> errors;
};

TEST(Boundary, AStdExceptionInAWindowProcedureGoesToTheErrorBoxAndTheProgramRunsOn) {
  ExceptionCollector collector;
  ThrowingWindow window;
  EXPECT_EQ(::SendMessageW(window.Handle(), WM_THROW_STD, 0, 0), 0);
  EXPECT_EQ(collector.errors, std::vector<std::string>{"the handler failed"});
  ::SendMessageW(window.Handle(), WM_NULL, 0, 0);
  EXPECT_EQ(window.handled_after, 1) << "the window still answers";
}

void ThrowOtherFromWindowProcedure() {
  ThrowingWindow window;
  ::SendMessageW(window.Handle(), WM_THROW_OTHER, 0, 0);
  std::exit(0);  // not reached when the boundary holds
}

void ThrowOtherFromHook() {
  ThrowingWindow window;
  TWndProcHook hook(&window);
  hook.OnMessageBefore = [](TCustomWndProcHook&, THookMessage& msg, bool&) {
    if (msg.Msg == WM_USER) throw NotAStdException{};
  };
  hook.SetActive(true);
  ::SendMessageW(window.Handle(), WM_USER, 0, 0);
  std::exit(0);
}

void ThrowOtherFromTimer() {
  TTimer timer(1, true);
  timer.OnTimer = [](TComponent&) { throw NotAStdException{}; };
  // The process ends inside the loop; the time-out only keeps a broken boundary from hanging.
  RunUntil([] { return false; }, 10000);
  std::exit(0);
}

TEST(BoundaryDeathTest, AnythingButAStdExceptionEndsTheProgramWithAReport) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ThrowOtherFromWindowProcedure(), ::testing::ExitedWithCode(kFatalExitCode),
              "not a std::exception escaped .a window procedure.; the program ends");
  EXPECT_EXIT(ThrowOtherFromHook(), ::testing::ExitedWithCode(kFatalExitCode),
              "not a std::exception escaped .a window hook.");
  EXPECT_EXIT(ThrowOtherFromTimer(), ::testing::ExitedWithCode(kFatalExitCode),
              "not a std::exception escaped .a window procedure.");
}

class FailingForm : public TForm {
 public:
  FailingForm() { throw AppError(std::string("Cannot load the settings window")); }
};

TEST(Boundary, AMainWindowThatFailsToBeCreatedShowsTheErrorAndGivesANonZeroExitCode) {
  ExceptionCollector collector;
  const int code = Application().RunMainForm([] { return std::make_unique<FailingForm>(); });
  EXPECT_NE(code, 0);
  EXPECT_EQ(collector.errors, std::vector<std::string>{"Cannot load the settings window"});
  EXPECT_EQ(Application().MainForm, nullptr);
}

void CreateMainWindowThrowingOther() {
  Application().RunMainForm([]() -> std::unique_ptr<TForm> { throw NotAStdException{}; });
  std::exit(0);
}

// The end of a process that used windows: the statics go in reverse order of
// construction, and the window map must outlive the application's window and
// the timers' window, which are destroyed on the way.
void ExitWithWindowsAlive() {
  TTimer timer(1000, true);
  static TForm form;
  form.Handle();
  std::exit(0);
}

// A main window closed while it is still being built: its start-up runs a
// nested message loop (the display fades in), and the close arrives there, as
// a session end does. The program must end, not run on without its window.
class ClosedWhileBuilt : public TForm {
 public:
  ClosedWhileBuilt() {
    ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
    Application().ProcessMessages();
  }
};

void CloseTheMainWindowWhileItIsBuilt() {
  // Ends a run that would otherwise wait for ever.
  ::SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { ::ExitProcess(7); });
  const int code = Application().RunMainForm([] { return std::make_unique<ClosedWhileBuilt>(); });
  std::exit(code == 0 && Application().MainForm == nullptr ? 0 : 5);
}

TEST(BoundaryDeathTest, FailedCreationAndCleanExit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(CreateMainWindowThrowingOther(), ::testing::ExitedWithCode(kFatalExitCode),
              "creation of the main window");
  EXPECT_EXIT(ExitWithWindowsAlive(), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(CloseTheMainWindowWhileItIsBuilt(), ::testing::ExitedWithCode(0), "");
}

TEST(Boundary, TheToolTipHasOneOwnerTheFormsWindow) {
  TForm form;
  TButton button(form);
  form.AddHint(button.Handle(), L"first");
  const HWND tip = form.ToolTip();
  ASSERT_TRUE(::IsWindow(tip));
  EXPECT_EQ(::GetWindow(tip, GW_OWNER), form.Handle());
  // The window goes and takes its tool tip along; a new window gets a new one.
  form.DestroyHandle();
  EXPECT_FALSE(::IsWindow(tip));
  EXPECT_EQ(form.ToolTip(), nullptr);
  form.AddHint(button.Handle(), L"second");
  ASSERT_TRUE(::IsWindow(form.ToolTip()));
  EXPECT_EQ(::SendMessageW(form.ToolTip(), TTM_GETTOOLCOUNT, 0, 0), 1);
}

}  // namespace
}  // namespace lumitrax
