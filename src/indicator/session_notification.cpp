#include "indicator/session_notification.h"

#include <wtsapi32.h>

namespace lumitrax {

TSessionNotification::~TSessionNotification() { Unregister(); }

void TSessionNotification::Register(HWND window) {
  if (window == window_) return;
  Unregister();
  wanted_ = window;
  Retry();
}

void TSessionNotification::Retry() {
  // Without the request the program still catches up with the guard timer.
  if (wanted_ && !window_ && ::WTSRegisterSessionNotification(wanted_, NOTIFY_FOR_THIS_SESSION)) window_ = wanted_;
}

void TSessionNotification::Unregister() noexcept {
  wanted_ = nullptr;
  if (!window_) return;
  ::WTSUnRegisterSessionNotification(window_);
  window_ = nullptr;
}

}  // namespace lumitrax
