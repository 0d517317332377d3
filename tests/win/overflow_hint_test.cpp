// Windows 11's overflow: on the first run there, one balloon on the icon says
// where it is; its click opens the taskbar's settings page; never again after.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form_main.h"
#include "framework/os_functions.h"
#include "indicator/overflow_hint.h"
#include "test_support.h"
#include "user_registry.h"

namespace lumitrax {
namespace {

using testing::kKey;
using testing::TypeOf;

struct Balloon {
  std::wstring title, text;
};

std::vector<Balloon> g_balloons;

BOOL WINAPI RecordBalloons(DWORD message, NOTIFYICONDATAW* data) {
  if (message == NIM_MODIFY && (data->uFlags & NIF_INFO)) g_balloons.push_back({data->szInfoTitle, data->szInfo});
  return ::Shell_NotifyIconW(message, data);
}

class OverflowHint : public ::testing::Test {
 protected:
  void SetUp() override {
    g_balloons.clear();
    TTrayIcon::ShellNotifyIcon = &RecordBalloons;
  }
  void TearDown() override {
    TTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconW;
    os::ReportWindowsBuildForTesting(0);
  }
  DWORD Shown() {
    DWORD value = 0, size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, L"OverflowHintShown", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
      return 0xFFFFFFFF;
    return value;
  }
};

TEST_F(OverflowHint, TheFirstRunOnWindows11ShowsOneBalloonAndRemembersIt) {
  os::ReportWindowsBuildForTesting(22000);
  {
    TfrmMain form;
    ASSERT_EQ(g_balloons.size(), 1u);
    EXPECT_EQ(g_balloons[0].title, L"Lumitrax is in the hidden icons");
    EXPECT_EQ(g_balloons[0].text, Tr(T::OverflowHintText));
    EXPECT_NE(g_balloons[0].text.find(L"\"Other system tray icons\""), std::wstring::npos);
    EXPECT_LT(g_balloons[0].text.size(), 256u) << "the shell keeps 255 characters";
    EXPECT_EQ(Shown(), 1u);
  }
  // The next run, and the icon coming back after the taskbar restarts: nothing.
  TfrmMain again;
  ::SendMessageW(again.TrayIndicator.TrayIcon.Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(g_balloons.size(), 1u);
}

TEST_F(OverflowHint, Windows10ShowsNoBalloonAndWritesNothing) {
  os::ReportWindowsBuildForTesting(19045);
  TfrmMain form;
  EXPECT_TRUE(g_balloons.empty());
  EXPECT_EQ(TypeOf(kKey, L"OverflowHintShown"), static_cast<DWORD>(REG_NONE));
}

TEST_F(OverflowHint, ClickingTheBalloonOpensTheTaskbarSettings) {
  os::ReportWindowsBuildForTesting(22621);
  TfrmMain form;
  std::vector<std::wstring> opened;
  form.OverflowHint.OpenAddress = [&](const std::wstring& address) { opened.push_back(address); };
  TTrayIcon& tray = form.TrayIndicator.TrayIcon;
  const LPARAM event = tray.Version4() ? MAKELPARAM(NIN_BALLOONUSERCLICK, tray.IconID) : NIN_BALLOONUSERCLICK;
  ::SendMessageW(tray.Handle(), WM_TRAYNOTIFY, 0, event);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"ms-settings:taskbar"});
}

BOOL WINAPI RefuseFirstAdd(DWORD message, NOTIFYICONDATAW* data) {
  static bool refused = false;
  if (message == NIM_ADD && !refused) {
    refused = true;
    return FALSE;
  }
  return RecordBalloons(message, data);
}

TEST_F(OverflowHint, AnIconThatArrivesLateStillGetsItsBalloon) {
  os::ReportWindowsBuildForTesting(22000);
  TTrayIcon::ShellNotifyIcon = &RefuseFirstAdd;
  TfrmMain form;
  EXPECT_TRUE(g_balloons.empty()) << "a balloon for an icon the shell does not have";
  EXPECT_NE(Shown(), 1u);
  ASSERT_TRUE(testing::RunUntil([] { return !g_balloons.empty(); }, 10000));
  EXPECT_EQ(Shown(), 1u);
}

}  // namespace
}  // namespace lumitrax
