#include "osd/full_screen_watch.h"

#include <shellapi.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/boundary.h"
#include "framework/work_area.h"

namespace lumitrax {
namespace {

// The watches by their hook: the event procedure gets the hook, not the object.
// Only the GUI thread hooks and is called back (out-of-context events arrive
// through its message loop).
std::vector<std::pair<HWINEVENTHOOK, TFullScreenWatch*>>& Watches() {
  static std::vector<std::pair<HWINEVENTHOOK, TFullScreenWatch*>> watches;
  return watches;
}

bool IsDesktopOrTaskbar(HWND window) {
  if (window == ::GetShellWindow() || window == ::GetDesktopWindow()) return true;
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  const std::wstring_view class_name = name;
  return class_name == L"Progman" || class_name == L"WorkerW" || class_name == L"Shell_TrayWnd" ||
         class_name == L"Shell_SecondaryTrayWnd";
}

}  // namespace

core::ForegroundWindow CurrentForegroundWindow() {
  core::ForegroundWindow foreground;
  const HWND window = ::GetForegroundWindow();
  RECT frame{};
  if (!window || !::GetWindowRect(window, &frame)) return foreground;
  foreground.Exists = true;
  foreground.DesktopOrTaskbar = IsDesktopOrTaskbar(window);
  foreground.Window = ToRect(frame);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
    foreground.Monitor = ToRect(info.rcMonitor);
  return foreground;
}

core::NotificationState TFullScreenWatch::ShellNotificationState() {
  // Windows Vista and later. (Wine's answer is always "accepts notifications".)
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(::SHQueryUserNotificationState(&state))) return core::NotificationState::Unknown;
  return static_cast<core::NotificationState>(state);
}

TFullScreenWatch::~TFullScreenWatch() { Stop(); }

bool TFullScreenWatch::InTheWay() {
  const core::NotificationState state =
      QueryNotificationState ? QueryNotificationState() : core::NotificationState::Unknown;
  FInTheWay = core::DisplayOutOfTheWay(state, CurrentForegroundWindow());
  return FInTheWay;
}

void TFullScreenWatch::Start() {
  if (FHook) return;
  FHook.reset(::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, ForegroundChanged, 0, 0,
                                WINEVENT_OUTOFCONTEXT));
  if (FHook) Watches().emplace_back(FHook.get(), this);
}

void TFullScreenWatch::Stop() {
  if (!FHook) return;
  std::erase_if(Watches(), [this](const auto& entry) { return entry.second == this; });
  FHook.reset();
}

void TFullScreenWatch::Check() {
  ++FEventCount;
  const bool before = FInTheWay;
  if (InTheWay() != before && OnChange) OnChange();
}

void CALLBACK TFullScreenWatch::ForegroundChanged(HWINEVENTHOOK hook, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  CallbackBoundary("the foreground event hook", [&] {
    for (const auto& [watched, watch] : Watches()) {
      if (watched != hook) continue;
      watch->Check();
      return;
    }
  });
}

}  // namespace lumitrax
