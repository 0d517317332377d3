#include "framework/timer.h"

#include <algorithm>
#include <vector>

#include "framework/errors.h"

namespace lumitrax {
namespace {

// A handful of timers live at a time: a plain list serves them best.
std::vector<TTimer*>& LiveTimers() {
  static std::vector<TTimer*> timers;
  return timers;
}

bool IsLive(const TTimer* timer) {
  const auto& timers = LiveTimers();
  return std::find(timers.begin(), timers.end(), timer) != timers.end();
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
  LiveTimers().push_back(this);
  Update();
}

TTimer::~TTimer() {
  auto& timers = LiveTimers();
  timers.erase(std::find(timers.begin(), timers.end(), this));
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
  if (!IsLive(timer)) return false;
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
