#include "core/ping_query.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

PingSettings SampleSettings() {
  PingSettings settings;
  settings.Version = "2.5.0.51";
  settings.AutoRun = true;
  settings.BeepOnSwitch = true;
  settings.LedLocks = {1, 2, 3};
  settings.LedColors = {0x0000FF, 0x00FF00, 0xFF0000};
  settings.IconMarks = false;
  settings.GridColor = 0x808080;
  settings.OsdEnabled = true;
  settings.OsdLocks = {false, true, false};
  settings.OsdAutoHide = true;
  settings.OsdHideAfter = true;
  settings.OsdHideInterval = 3;
  settings.OsdSize = 3;
  settings.OsdBodyColor = 0x0000FF;
  settings.OsdTextColor = 0xFFFFFF;
  settings.OsdOpacity = 80;
  return settings;
}

TEST(PingQuery, EveryPairInOrderWithTheDisplayOnAndHideAfterChecked) {
  EXPECT_EQ(BuildPingQuery(SampleSettings(), ""),
            "version=2.5.0.51&auto=On&beep=On&l1=1&c1=000000FF&l2=2&c2=0000FF00&l3=3&c3=00FF0000"
            "&mark=Off&grid=00808080&osd1=Off&osd2=On&osd3=Off&osdHide1=On&osdHide2=3&osdSize=3"
            "&osdBody=000000FF&osdText=00FFFFFF&osdOpct=80");
}

TEST(PingQuery, DisplaySwitchedOffEndsWithGridThenTheExtraPair) {
  PingSettings settings = SampleSettings();
  settings.OsdEnabled = false;
  EXPECT_EQ(BuildPingQuery(settings, "date=2026-12-08"),
            "version=2.5.0.51&auto=On&beep=On&l1=1&c1=000000FF&l2=2&c2=0000FF00&l3=3&c3=00FF0000"
            "&mark=Off&grid=00808080&date=2026-12-08");
}

TEST(PingQuery, HideAfterUncheckedLeavesOutOnlyItsSeconds) {
  PingSettings settings = SampleSettings();
  settings.OsdHideAfter = false;
  settings.OsdHideInterval = 17;
  const std::string query = BuildPingQuery(settings, "id=0");
  EXPECT_NE(query.find("&osdHide1=On&osdSize=3&"), std::string::npos) << query;
  EXPECT_EQ(query.find("osdHide2"), std::string::npos) << query;
  EXPECT_TRUE(query.ends_with("&osdOpct=80&id=0")) << query;
}

TEST(PingQuery, NegativeIndexesAndFullWidthColours) {
  PingSettings settings = SampleSettings();
  settings.AutoRun = false;
  settings.BeepOnSwitch = false;
  settings.IconMarks = true;
  settings.LedLocks = {-1, 0, 3};
  settings.LedColors = {0, 0xABCDEF, 0x80000005};
  settings.OsdEnabled = false;
  EXPECT_EQ(BuildPingQuery(settings, ""),
            "version=2.5.0.51&auto=Off&beep=Off&l1=-1&c1=00000000&l2=0&c2=00ABCDEF&l3=3&c3=80000005"
            "&mark=On&grid=00808080");
}


TEST(PingAddress, ActionBetweenSlashesThenQuestionMarkAndQuery) {
  const std::string url = PingBaseUrl("http://www.lumitrax.example");
  EXPECT_EQ(url, "http://www.lumitrax.example/ping/");
  EXPECT_EQ(PingAddress(url, "stop", "version=2.5.0.51&auto=On"),
            "http://www.lumitrax.example/ping/stop/?version=2.5.0.51&auto=On");
}

TEST(PingAddress, MissingSlashesAreAddedOnceAndNothingIsEscaped) {
  EXPECT_EQ(PingAddress("http://h.example/ping", "start", "a=b c&d=%"),
            "http://h.example/ping/start/?a=b c&d=%");
  EXPECT_EQ(PingAddress("http://h.example/ping/", "running/", ""), "http://h.example/ping/running/");
  EXPECT_EQ(PingAddress("http://h.example/ping/", "", "x=1"), "http://h.example/ping/?x=1");
  EXPECT_EQ(PingAddress("", "", ""), "/");
}

}  // namespace
}  // namespace lumitrax::core
