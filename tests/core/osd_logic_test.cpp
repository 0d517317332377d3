#include "core/osd_logic.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

OsdInputs DefaultOsd() {
  OsdInputs inputs;
  inputs.Enabled = true;
  inputs.ShowLock = {false, true, false};
  inputs.AutoHide = true;
  return inputs;
}

TEST(OsdText, DefaultSettingsShowTheCapsLineOnlyWhileCapsIsOn) {
  OsdInputs inputs = DefaultOsd();
  inputs.LockStates = {true, true, true};
  EXPECT_EQ(GetOsdText(inputs), "Caps Lock ON");
  EXPECT_TRUE(IsOsdNeeded(inputs));

  inputs.LockStates = {true, false, true};
  EXPECT_EQ(GetOsdText(inputs), "");
  EXPECT_FALSE(IsOsdNeeded(inputs));
  EXPECT_FALSE(OsdWindowShown(IsOsdNeeded(inputs), GetOsdText(inputs)));
}

TEST(OsdText, WithoutAutoHideEverySelectedLockShowsInOrderSeparatedByCarriageReturn) {
  OsdInputs inputs = DefaultOsd();
  inputs.AutoHide = false;
  inputs.ShowLock = {true, true, false};
  inputs.LockStates = {false, true, false};
  EXPECT_EQ(GetOsdText(inputs), "Num Lock OFF\rCaps Lock ON");
  EXPECT_TRUE(IsOsdNeeded(inputs));
  inputs.LockStates = {false, false, false};
  EXPECT_EQ(GetOsdText(inputs), "Num Lock OFF\rCaps Lock OFF");
  EXPECT_TRUE(IsOsdNeeded(inputs));
}

TEST(OsdText, AutoHideDropsTheLinesOfLocksThatAreOff) {
  OsdInputs inputs = DefaultOsd();
  inputs.ShowLock = {true, true, true};
  inputs.LockStates = {true, false, true};
  EXPECT_EQ(GetOsdText(inputs), "Num Lock ON\rScroll Lock ON");
}

TEST(OsdText, SettingsWindowOpenPreviewsEverySelectedLockWhateverItsState) {
  OsdInputs inputs = DefaultOsd();
  inputs.ShowLock = {false, true, true};
  inputs.SettingsShown = true;
  EXPECT_EQ(GetOsdText(inputs), "Caps Lock OFF\rScroll Lock OFF");
  EXPECT_TRUE(IsOsdNeeded(inputs));
}

TEST(OsdText, NoLockSelectedSaysSoOnlyWhileTheSettingsWindowIsOpen) {
  OsdInputs inputs = DefaultOsd();
  inputs.ShowLock = {false, false, false};
  inputs.LockStates = {true, true, true};
  EXPECT_EQ(GetOsdText(inputs), "");
  EXPECT_FALSE(IsOsdNeeded(inputs));

  inputs.SettingsShown = true;
  EXPECT_EQ(GetOsdText(inputs), "No Led Selected!");
  EXPECT_TRUE(IsOsdNeeded(inputs));
}

TEST(OsdText, SwitchedOffDisplayIsNeverNeededEvenAsPreview) {
  OsdInputs inputs = DefaultOsd();
  inputs.Enabled = false;
  inputs.LockStates = {true, true, true};
  inputs.SettingsShown = true;
  EXPECT_FALSE(IsOsdNeeded(inputs));
}


TEST(OsdSize, FontPointSizesAndTheNormalFallback) {
  const int expected[] = {5, 7, 9, 11, 15, 20, 30};
  for (int size = 0; size < 7; ++size) EXPECT_EQ(OsdFontPointSize(size), expected[size]) << size;
  EXPECT_EQ(OsdFontPointSize(-1), 11);
  EXPECT_EQ(OsdFontPointSize(7), 11);
  EXPECT_EQ(OsdFontPointSize(255), 11);
  EXPECT_EQ(OsdSizeName(0), "Nano");
  EXPECT_EQ(OsdSizeName(OsdDefaultSize), "[Normal]");
  EXPECT_EQ(OsdSizeName(6), "XXL");
  EXPECT_EQ(OsdSizeName(7), "");
}

TEST(OsdSize, FontHeightInPixelsRoundsToNearest) {
  EXPECT_EQ(FontHeightPixels(11, 96), 15);   // 14.67
  EXPECT_EQ(FontHeightPixels(9, 96), 12);
  EXPECT_EQ(FontHeightPixels(5, 96), 7);     // 6.67
  EXPECT_EQ(FontHeightPixels(30, 144), 60);
  EXPECT_EQ(FontHeightPixels(15, 120), 25);  // exactly 25
  EXPECT_EQ(FontHeightPixels(3, 96), 4);     // exactly 4
  EXPECT_EQ(FontHeightPixels(7, 96), 9);     // 9.33
}

TEST(OsdAlpha, PercentTimes255RoundedHalfToEvenWithFloorOf16) {
  EXPECT_EQ(OsdAlpha(1), 16);
  EXPECT_EQ(OsdAlpha(6), 16);
  EXPECT_EQ(OsdAlpha(7), 18);
  EXPECT_EQ(OsdAlpha(10), 26);   // 25.5 -> 26
  EXPECT_EQ(OsdAlpha(30), 76);   // 76.5 -> 76
  EXPECT_EQ(OsdAlpha(50), 128);  // 127.5 -> 128
  EXPECT_EQ(OsdAlpha(80), 204);
  EXPECT_EQ(OsdAlpha(81), 207);  // 206.55
  EXPECT_EQ(OsdAlpha(100), 255);
}

TEST(OsdAlpha, OutOfRangeOpacityStaysWithinAByte) {
  EXPECT_EQ(OsdAlpha(150), 255);
  EXPECT_EQ(OsdAlpha(0), 16);
  EXPECT_EQ(OsdAlpha(-40), 16);
}

TEST(OsdFade, StepsOfEightDownToZero) {
  const std::vector<uint8_t> fromDefault = FadeAlphaSteps(204);
  ASSERT_EQ(fromDefault.size(), 26u);
  EXPECT_EQ(fromDefault.front(), 196);
  EXPECT_EQ(fromDefault[24], 4);
  EXPECT_EQ(fromDefault.back(), 0);

  EXPECT_EQ(FadeAlphaSteps(16), (std::vector<uint8_t>{8, 0}));
  EXPECT_EQ(FadeAlphaSteps(255).size(), 32u);
  EXPECT_EQ(FadeAlphaSteps(3), (std::vector<uint8_t>{0}));
  EXPECT_TRUE(FadeAlphaSteps(0).empty());
}


TEST(OsdHideTimer, RunsOnlyWhenCheckedAndSettingsWindowHidden) {
  const HideTimerSetting running = RestartHideTimer(true, 3, false);
  EXPECT_TRUE(running.Enabled);
  EXPECT_EQ(running.IntervalMs, 3000u);
  EXPECT_FALSE(RestartHideTimer(true, 3, true).Enabled);
  EXPECT_FALSE(RestartHideTimer(false, 3, false).Enabled);
  EXPECT_EQ(RestartHideTimer(true, 60, false).IntervalMs, 60000u);
}

TEST(OsdHideTimer, IntervalOutsideTheEditRangeIsHeldToIt) {
  EXPECT_EQ(RestartHideTimer(true, 0, false).IntervalMs, 1000u);
  EXPECT_EQ(RestartHideTimer(true, -5, false).IntervalMs, 1000u);
  EXPECT_EQ(RestartHideTimer(true, 5000000, false).IntervalMs, 60000u);
}


TEST(OsdHideTimer, PressHeldStillClearsOnFirstTickAndFadesOnTheSecond) {
  OsdPressState state;
  OsdMouseButton(state, true, {100, 200});
  EXPECT_FALSE(OsdHideTimerTick(state, {100, 200}));
  EXPECT_FALSE(state.Pressed);
  EXPECT_TRUE(OsdHideTimerTick(state, {100, 200}));
}

TEST(OsdHideTimer, DraggingPostponesUntilATickFindsTheWindowUnmoved) {
  OsdPressState state;
  OsdMouseButton(state, true, {100, 200});
  EXPECT_FALSE(OsdHideTimerTick(state, {130, 200}));
  EXPECT_FALSE(OsdHideTimerTick(state, {130, 170}));
  EXPECT_TRUE(state.Pressed);
  EXPECT_EQ(state.PressPos, (Point{130, 170}));
  EXPECT_FALSE(OsdHideTimerTick(state, {130, 170}));  // unmoved: clears the press
  EXPECT_TRUE(OsdHideTimerTick(state, {130, 170}));
}

TEST(OsdHideTimer, ReleaseEndsThePostponement) {
  OsdPressState state;
  OsdMouseButton(state, true, {0, 0});
  OsdMouseButton(state, false, {40, 50});
  EXPECT_FALSE(state.Pressed);
  EXPECT_EQ(state.PressPos, (Point{40, 50}));
  EXPECT_TRUE(OsdHideTimerTick(state, {40, 50}));
}


}  // namespace
}  // namespace lumitrax::core
