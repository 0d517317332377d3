// The real program's window life, driven from another process.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "user_registry.h"

namespace lumitrax::e2e {
namespace {

constexpr UINT kTimeout = 15000;

TEST(Lifecycle, FirstStartShowsTheSettingsWindowCentredAndOwnedByTheHiddenApplication) {
  Program program;
  const HWND app = program.FindWindow(L"TApplication", L"Lumitrax", kTimeout);
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, kTimeout));
  // Owned by the application window: no taskbar button of its own.
  EXPECT_EQ(::GetWindow(main, GW_OWNER), app);
  EXPECT_FALSE(::GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  // Client area 332 x 503 at 96 dpi, centred in the work area; taller by at
  // most a line where the fonts wrap the information text into one more line.
  RECT client{}, frame{}, work{};
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, 332);
  EXPECT_GE(client.bottom, 503);
  EXPECT_LE(client.bottom, 503 + 16);
  ::GetWindowRect(main, &frame);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);
  // Only the system menu and the close box.
  const auto style = ::GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST(Lifecycle, CloseBoxAndEscapeHideTheWindowAndTheProgramRunsOn) {
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, kTimeout));
  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }, 5000));
  ::Sleep(300);
  EXPECT_TRUE(program.Running());
  EXPECT_TRUE(::IsWindow(main));
}

TEST(Lifecycle, SessionEndIsAnsweredAtOnceAndTheNextCloseEndsTheProgram) {
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 1u);
  // No dialog asked anything.
  EXPECT_EQ(program.FindWindow(L"TMessageForm", nullptr, 300), nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD exit_code = 99;
  EXPECT_TRUE(program.WaitForExit(10000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
}

// Windows asks, then ends the session, as it does at a log-off.
void EndTheSession(HWND main) {
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 1u);
  // A box shown inside the handler would hold this call until the time-out.
  EXPECT_TRUE(::SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer))
      << "the session end waited for something";
}

TEST(Lifecycle, SessionEndWritesTheSettingsShowsNothingAndTheProcessEnds) {
  using lumitrax::testing::kKey;
  using lumitrax::testing::TypeOf;
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, kTimeout));
  ASSERT_EQ(TypeOf(kKey, L"Visible"), static_cast<DWORD>(REG_NONE)) << "a first start writes no settings";

  EndTheSession(main);
  DWORD exit_code = 99;
  EXPECT_TRUE(program.WaitForExit(10000, &exit_code)) << "the process is still there";
  EXPECT_EQ(exit_code, 0u);
  // Written at the end: the window was open, so it opens again at the next start.
  EXPECT_EQ(TypeOf(kKey, L"Visible"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(TypeOf(kKey, L"Bounds"), static_cast<DWORD>(REG_SZ));
}

TEST(Lifecycle, AFailingSaveAtSessionEndShowsNoBoxAndTheProcessStillEnds) {
  lumitrax::testing::RefusedSettingsKey refused;
  Program program;
  const HWND main = program.FindWindow(L"TfrmMain", L"Lumitrax", kTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, kTimeout));

  EndTheSession(main);
  const bool ended = program.WaitForExit(10000);
  EXPECT_EQ(program.FindWindow(L"#32770", nullptr, 0), nullptr) << "an error box waits for the user";
  EXPECT_TRUE(ended) << "the process is still there";
}

}  // namespace
}  // namespace lumitrax::e2e
