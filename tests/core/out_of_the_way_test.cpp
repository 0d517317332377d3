#include "core/out_of_the_way.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

const Rect kMonitor{1920, 0, 3840, 1080};

TEST(OutOfTheWay, TheShellsBusyFullScreenPresentationAndQuietAnswersKeepTheDisplayAway) {
  for (NotificationState state : {NotificationState::Busy, NotificationState::Direct3DFullScreen,
                                  NotificationState::PresentationMode, NotificationState::QuietTime})
    EXPECT_TRUE(NotificationsUnwelcome(state)) << static_cast<int>(state);
  // Notifications welcome, no answer, a locked screen (nobody looks) or a store program in front.
  for (NotificationState state : {NotificationState::AcceptsNotifications, NotificationState::Unknown,
                                  NotificationState::NotPresent, NotificationState::App})
    EXPECT_FALSE(NotificationsUnwelcome(state)) << static_cast<int>(state);
  EXPECT_FALSE(NotificationsUnwelcome(static_cast<NotificationState>(42)));
}

TEST(OutOfTheWay, AForegroundWindowCoveringItsWholeMonitorIsAFullScreenProgram) {
  // Borderless full screen, and a window whose frame sticks out beyond the monitor.
  EXPECT_TRUE(FullScreenInFront({true, false, kMonitor, kMonitor}));
  EXPECT_TRUE(FullScreenInFront({true, false, {1912, -8, 3848, 1088}, kMonitor}));
  // A maximised window leaves the taskbar; one pixel short is not full screen.
  EXPECT_FALSE(FullScreenInFront({true, false, {1920, 0, 3840, 1040}, kMonitor}));
  EXPECT_FALSE(FullScreenInFront({true, false, {1921, 0, 3840, 1080}, kMonitor}));
  // Full screen on the other monitor only.
  EXPECT_FALSE(FullScreenInFront({true, false, {0, 0, 1920, 1080}, kMonitor}));
  // The desktop and the taskbar span their monitor and are no program; no window, no monitor.
  EXPECT_FALSE(FullScreenInFront({true, true, kMonitor, kMonitor}));
  EXPECT_FALSE(FullScreenInFront({false, false, kMonitor, kMonitor}));
  EXPECT_FALSE(FullScreenInFront({true, false, kMonitor, Rect{}}));
}

TEST(OutOfTheWay, EitherCheckKeepsTheDisplayAway) {
  const ForegroundWindow full{true, false, kMonitor, kMonitor};
  const ForegroundWindow normal{true, false, {2000, 100, 2600, 700}, kMonitor};
  // The shell misses a borderless full-screen window (and Wine always accepts notifications).
  EXPECT_TRUE(DisplayOutOfTheWay(NotificationState::AcceptsNotifications, full));
  EXPECT_TRUE(DisplayOutOfTheWay(NotificationState::PresentationMode, normal));
  EXPECT_FALSE(DisplayOutOfTheWay(NotificationState::AcceptsNotifications, normal));
}

}  // namespace
}  // namespace lumitrax::core
