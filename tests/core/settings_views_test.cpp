// The views of the one settings record: every field reaches the part that
// uses it, in its own place, so no two controls can swap on the way.
#include "core/settings_views.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

// Every value distinct, so a field read from the wrong member shows.
Settings Distinct() {
  Settings s;
  s.Bounds = "1,2,3,4";
  s.Visible = true;
  s.AutoRun = true;
  s.BeepOnSwitch = false;
  s.TrayLed1 = 3;
  s.TrayLed2 = -1;
  s.TrayLed3 = 1;
  s.IconMarks = true;
  s.TrayColor1 = 0x000011;
  s.TrayColor2 = 0x000022;
  s.TrayColor3 = 0x80000005;  // a system colour stays unresolved here
  s.GridColor = 0x000044;
  s.OsdShow = true;
  s.OsdLed1 = false;
  s.OsdLed2 = true;
  s.OsdLed3 = true;
  s.OsdAutoHide = false;
  s.OsdHideAfter = true;
  s.OsdHideInterval = 7;
  s.OsdOpacity = 55;
  s.OsdSize = 5;
  s.OsdBody = 0x000066;
  s.OsdText = 0x000077;
  return s;
}

TEST(SettingsViews, TrayIconTakesItsLedsColoursGridAndMarks) {
  const TrayIconSettings tray = TrayIconSettingsOf(Distinct());
  EXPECT_EQ(tray.LedLocks, (std::array<int, 3>{3, -1, 1}));
  EXPECT_EQ(tray.LedColors, (std::array<Color, 3>{0x000011, 0x000022, 0x80000005}));
  EXPECT_EQ(tray.GridColor, 0x000044u);
  EXPECT_TRUE(tray.IconMarks);
  Settings other = Distinct();
  other.IconMarks = false;
  EXPECT_FALSE(TrayIconSettingsOf(other).IconMarks);
}

TEST(SettingsViews, PingCarriesEverySettingAndTheVersion) {
  const PingSettings ping = PingSettingsOf(Distinct(), "2.5.0.51");
  EXPECT_EQ(ping.Version, "2.5.0.51");
  EXPECT_TRUE(ping.AutoRun);
  EXPECT_FALSE(ping.BeepOnSwitch);
  EXPECT_EQ(ping.LedLocks, (std::array<int, 3>{3, -1, 1}));
  EXPECT_EQ(ping.LedColors, (std::array<Color, 3>{0x000011, 0x000022, 0x80000005}));
  EXPECT_TRUE(ping.IconMarks);
  EXPECT_EQ(ping.GridColor, 0x000044u);
  EXPECT_TRUE(ping.OsdEnabled);
  EXPECT_EQ(ping.OsdLocks, (std::array<bool, 3>{false, true, true}));
  EXPECT_FALSE(ping.OsdAutoHide);
  EXPECT_TRUE(ping.OsdHideAfter);
  EXPECT_EQ(ping.OsdHideInterval, 7);
  EXPECT_EQ(ping.OsdSize, 5);
  EXPECT_EQ(ping.OsdBodyColor, 0x000066u);
  EXPECT_EQ(ping.OsdTextColor, 0x000077u);
  EXPECT_EQ(ping.OsdOpacity, 55);
  // The query built from the view is the one the settings window's values give.
  EXPECT_NE(BuildPingQuery(ping, "").find("version=2.5.0.51"), std::string::npos);
}

TEST(SettingsViews, DisplayInputsJoinTheSettingsWithTheLiveState) {
  const OsdInputs inputs = OsdInputsOf(Distinct(), {true, false, true}, true);
  EXPECT_TRUE(inputs.Enabled);
  EXPECT_EQ(inputs.ShowLock, (std::array<bool, 3>{false, true, true}));
  EXPECT_FALSE(inputs.AutoHide);
  EXPECT_EQ(inputs.LockStates, (std::array<bool, 3>{true, false, true}));
  EXPECT_TRUE(inputs.SettingsShown);
  // What the display then says follows from them: Caps off, Scroll on; with
  // "Hide when all OFF" the line of a lock that is off goes.
  Settings hidden = Distinct();
  EXPECT_EQ(GetOsdText(OsdInputsOf(hidden, {false, false, true}, false)), "Caps Lock OFF\rScroll Lock ON");
  hidden.OsdAutoHide = true;
  EXPECT_EQ(GetOsdText(OsdInputsOf(hidden, {false, false, true}, false)), "Scroll Lock ON");
  hidden.OsdShow = false;
  EXPECT_FALSE(IsOsdNeeded(OsdInputsOf(hidden, {false, false, true}, false)));
}

}  // namespace
}  // namespace lumitrax::core
