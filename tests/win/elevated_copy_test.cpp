// A copy with more rights than the programs that talk to it (run as
// administrator): exactly its three messages from outside are let through,
// and a second start or "/exit" whose message Windows refuses says so at once.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/exit_request.h"
#include "app/form_main.h"
#include "app/one_instance.h"
#include "framework/application.h"
#include "indicator/tray_icon.h"

namespace lumitrax {
namespace {

std::vector<std::pair<HWND, UINT>> g_allowed;

BOOL WINAPI RecordFilter(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT) {
  if (action == MSGFLT_ALLOW) g_allowed.emplace_back(window, message);
  return TRUE;
}

TEST(ElevatedCopy, OnlyTheHandOverTheExitAndTaskbarCreatedPassFromLesserRights) {
  g_allowed.clear();
  ChangeMessageFilter = &RecordFilter;
  std::vector<std::pair<HWND, UINT>> allowed;
  HWND tray = nullptr;
  {
    TfrmMain form;
    tray = form.TrayIndicator.TrayIcon.Handle();
    allowed = g_allowed;
  }
  ChangeMessageFilter = &::ChangeWindowMessageFilterEx;
  const HWND app = Application().Handle();
  const std::vector<std::pair<HWND, UINT>> expected{
      {tray, TTrayIcon::TaskbarCreatedMessage()}, {app, WM_ACTIVATEINSTANCE}, {app, WM_EXITINSTANCE}};
  EXPECT_EQ(allowed, expected);
}

// Windows' answer to a message across privilege isolation.
BOOL WINAPI RefusePost(HWND, UINT, WPARAM, LPARAM) {
  ::SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

class RefusedPosts {
 public:
  RefusedPosts() { PostToInstance = &RefusePost; }
  ~RefusedPosts() { PostToInstance = &::PostMessageW; }
};

// A running instance of this identity, with its application window.
class RunningInstance {
 public:
  explicit RunningInstance(const std::wstring& id) {
    guard.Identifier = id;
    guard.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
    EXPECT_FALSE(guard.InstanceExists());
    app.SetTitle(Application().Title());
    app.Initialize();
  }
  TOneInstance guard;
  TApplication app;
};

TEST(ElevatedCopy, ARefusedHandOverIsSaidAndTheDuplicateStillEnds) {
  const std::wstring id = L"-refused-" + std::to_wstring(::GetTickCount64());
  RunningInstance running(id);
  RefusedPosts refused;
  std::atomic<int> told{0};
  std::atomic<bool> checked{false}, terminating{false};
  std::thread([&] {
    TOneInstance duplicate;
    duplicate.Identifier = id;
    duplicate.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
    duplicate.OnHandOverRefused = [&](TComponent&) { ++told; };
    checked = duplicate.CheckInstance();
    terminating = duplicate.Terminating();
  }).join();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(terminating);
  EXPECT_EQ(told, 1);
}

TEST(ElevatedCopy, AHandOverThatArrivesSaysNothing) {
  const std::wstring id = L"-arrives-" + std::to_wstring(::GetTickCount64());
  RunningInstance running(id);
  std::atomic<int> told{0};
  std::thread([&] {
    TOneInstance duplicate;
    duplicate.Identifier = id;
    duplicate.PerformChecking = TPerformChecking::pcForCurrentUserOnly;
    duplicate.OnHandOverRefused = [&](TComponent&) { ++told; };
    duplicate.CheckInstance();
  }).join();
  EXPECT_EQ(told, 0);
  MSG msg{};
  EXPECT_TRUE(::PeekMessageW(&msg, running.app.Handle(), WM_ACTIVATEINSTANCE, WM_ACTIVATEINSTANCE, PM_REMOVE));
}

TEST(ElevatedCopy, ARefusedExitEndsAtOnceWithItsOwnCode) {
  const std::wstring id = L"-exit-" + std::to_wstring(::GetTickCount64());
  RunningInstance running(id);
  RefusedPosts refused;
  std::atomic<int> code{-1};
  // Without the check this waits out the whole time limit and answers 1.
  std::thread([&] { code = ExitRunningInstance(20000, id); }).join();
  EXPECT_EQ(code, kExitRefused);
  MSG msg{};
  EXPECT_FALSE(::PeekMessageW(&msg, running.app.Handle(), WM_EXITINSTANCE, WM_EXITINSTANCE, PM_REMOVE));
}

}  // namespace
}  // namespace lumitrax
