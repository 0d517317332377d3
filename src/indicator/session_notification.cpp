#include "indicator/session_notification.h"

#include <wtsapi32.h>

namespace lumitrax {

TSessionNotification::~TSessionNotification() { Unregister(); }

void TSessionNotification::Register(HWND window) {
  if (window == window_) return;
  Unregister();
  // Without the request the program still catches up with the guard timer.
  if (window && ::WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION)) window_ = window;
}

void TSessionNotification::Unregister() noexcept {
  if (!window_) return;
  ::WTSUnRegisterSessionNotification(window_);
  window_ = nullptr;
}

}  // namespace lumitrax
