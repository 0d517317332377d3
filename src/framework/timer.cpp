#include "framework/timer.h"

#include <unordered_set>

#include "framework/errors.h"

namespace lumitrax {
namespace {

std::unordered_set<TTimer*>& LiveTimers() {
  static std::unordered_set<TTimer*> timers;
  return timers;
}

class TTimerWindow : public TWindow {
 protected:
  void CreateParams(TCreateParams& params) override {
    TWindow::CreateParams(params);
    params.class_name = L"TTimerWindow";
    params.style = WS_POPUP;
    params.parent = HWND_MESSAGE;
    params.x = params.y = params.width = params.height = 0;
  }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_TIMER) {
      TTimer::Dispatch(wparam);
      return 0;
    }
    return TWindow::WndProc(message, wparam, lparam);
  }
};

HWND TimerWindow() {
  static TTimerWindow window;
  return window.Handle();
}

}  // namespace

TTimer::TTimer(UINT interval, bool enabled) : interval_(interval), enabled_(enabled) {
  LiveTimers().insert(this);
  Update();
}

TTimer::~TTimer() {
  LiveTimers().erase(this);
  if (running_) ::KillTimer(TimerWindow(), reinterpret_cast<UINT_PTR>(this));
}

void TTimer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::Update() {
  const HWND window = TimerWindow();
  const auto id = reinterpret_cast<UINT_PTR>(this);
  if (running_) ::KillTimer(window, id);
  running_ = false;
  if (enabled_ && interval_ != 0) {
    if (!::SetTimer(window, id, interval_, nullptr)) throw AppError(std::string("Not enough timers available"));
    running_ = true;
  }
}

bool TTimer::Dispatch(UINT_PTR id) {
  auto* timer = reinterpret_cast<TTimer*>(id);
  if (!LiveTimers().count(timer)) return false;
  if (timer->enabled_ && timer->OnTimer) timer->OnTimer(*timer);
  return true;
}

std::vector<const TTimer*> TTimer::Running() {
  std::vector<const TTimer*> running;
  for (const TTimer* timer : LiveTimers())
    if (timer->running_) running.push_back(timer);
  return running;
}

HWND TTimer::Window() { return TimerWindow(); }

}  // namespace lumitrax
