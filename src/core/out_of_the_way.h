#pragma once
// When the display keeps out of the user's way: a full-screen program (a
// game, a video, a presentation) runs, or the user turned notifications off.
// The shell's answer about notifications and the facts about the foreground
// window are handed in.
#include "core/rect.h"

namespace lumitrax::core {

// The shell's answer (its QUERY_USER_NOTIFICATION_STATE values); 0 when it
// could not be asked.
enum class NotificationState : int {
  Unknown = 0,
  NotPresent = 1,             // screen saver, locked, fast user switching
  Busy = 2,                   // a full-screen program
  Direct3DFullScreen = 3,     // a full-screen Direct3D program
  PresentationMode = 4,       // the user turned presentation mode on
  AcceptsNotifications = 5,
  QuietTime = 6,              // the first hour after a new installation
  App = 7,                    // a Windows Store program in front
};

// Whether the shell's answer says the user does not want to be disturbed now.
bool NotificationsUnwelcome(NotificationState state);

// The foreground window as the caller found it.
struct ForegroundWindow {
  bool Exists = false;
  // The desktop or a taskbar: it may span its monitor and is no program.
  bool DesktopOrTaskbar = false;
  Rect Window;
  Rect Monitor;  // the whole monitor it is on
};

// Whether the foreground window is a full-screen program: it covers its whole monitor.
bool FullScreenInFront(const ForegroundWindow& foreground);

// The display stays hidden: either of the two says so.
bool DisplayOutOfTheWay(NotificationState state, const ForegroundWindow& foreground);

}  // namespace lumitrax::core
