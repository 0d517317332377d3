#include "core/out_of_the_way.h"

namespace lumitrax::core {

bool NotificationsUnwelcome(NotificationState state) {
  switch (state) {
    case NotificationState::Busy:
    case NotificationState::Direct3DFullScreen:
    case NotificationState::PresentationMode:
    case NotificationState::QuietTime:
      return true;
    default:
      return false;
  }
}

bool FullScreenInFront(const ForegroundWindow& foreground) {
  if (!foreground.Exists || foreground.DesktopOrTaskbar) return false;
  const Rect& window = foreground.Window;
  const Rect& monitor = foreground.Monitor;
  if (monitor.Width() <= 0 || monitor.Height() <= 0) return false;
  return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
         window.bottom >= monitor.bottom;
}

bool DisplayOutOfTheWay(NotificationState state, const ForegroundWindow& foreground) {
  return NotificationsUnwelcome(state) || FullScreenInFront(foreground);
}

}  // namespace lumitrax::core
