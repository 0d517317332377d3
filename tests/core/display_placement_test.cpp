#include "core/display_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumitrax::core {
namespace {

// A: the primary, 1920 x 1080 at 96 dpi, taskbar at the bottom.
// B: right of A and higher, 2560 x 1440 at 144 dpi, no taskbar.
// C: left of A at negative coordinates, 1280 x 1024 at 120 dpi, taskbar at the top.
const MonitorArea A{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const MonitorArea B{{1920, -180, 4480, 1260}, {1920, -180, 4480, 1260}, 144};
const MonitorArea C{{-1280, 200, 0, 1224}, {-1280, 250, 0, 1224}, 120};
const std::vector<MonitorArea> TwoMonitors{A, B};
const std::vector<MonitorArea> ThreeMonitors{A, B, C};

TEST(DisplayPlacement, TheAnchorIsTheNearestCornerOfTheWorkAreaWithItsMarginAtThatMonitorsScale) {
  // Bottom-right of A: 10 from the right, 20 above the taskbar.
  EXPECT_EQ(AnchorOf({1810, 980, 1910, 1020}, A), (DisplayAnchor{true, true, 10, 20, 96}));
  // Top-left of B at 144 dpi.
  EXPECT_EQ(AnchorOf({1950, -135, 2100, -75}, B), (DisplayAnchor{false, false, 30, 45, 144}));
  // Top-right of C: the taskbar's height does not count as margin.
  EXPECT_EQ(AnchorOf({-300, 250, -50, 300}, C), (DisplayAnchor{true, false, 50, 0, 120}));
  // Partly outside the work area: at its edge.
  EXPECT_EQ(AnchorOf({1900, 1030, 2000, 1070}, A), (DisplayAnchor{true, true, 0, 0, 96}));
}

TEST(DisplayPlacement, OnItsOwnMonitorTheDisplayComesBackToThePixelAtEveryScale) {
  // Margins that do not divide evenly by the scale: 161 and 107 pixels at 144 dpi.
  for (const MonitorArea& monitor : ThreeMonitors) {
    const Rect stored{monitor.Work.left + 161, monitor.Work.top + 107, monitor.Work.left + 311,
                      monitor.Work.top + 167};
    EXPECT_EQ(PlaceAtAnchor(AnchorOf(stored, monitor), monitor, 150, 60), stored) << monitor.Dpi;
  }
}

TEST(DisplayPlacement, BottomRightOnOneMonitorIsBottomRightOnAnotherAtThatMonitorsScale) {
  const DisplayAnchor anchor = AnchorOf({1810, 980, 1910, 1020}, A);
  // On B the display is 150 x 60 (its font at 144 dpi); the margins grow by half.
  EXPECT_EQ(PlaceAtAnchor(anchor, B, 150, 60), (Rect{4315, 1170, 4465, 1230}));
  // And back on A as it was.
  EXPECT_EQ(PlaceAtAnchor(anchor, A, 100, 40), (Rect{1810, 980, 1910, 1020}));
}

TEST(DisplayPlacement, ThreeMonitorsOfDifferentScalesKeepTheCornerAndRoundTheMargin) {
  const DisplayAnchor anchor = AnchorOf({1950, -135, 2100, -75}, B);
  // On C at 120 dpi: 30 -> 25, 45 -> 37.5 -> 38 pixels from its work area's top-left.
  EXPECT_EQ(PlaceAtAnchor(anchor, C, 125, 50), (Rect{-1255, 288, -1130, 338}));
  EXPECT_EQ(PlaceAtAnchor(anchor, A, 100, 40), (Rect{20, 30, 120, 70}));
}

TEST(DisplayPlacement, AMarginTooLargeForASmallerMonitorKeepsTheDisplayInsideItsWorkArea) {
  // Far from B's bottom-right corner, which C cannot offer.
  const DisplayAnchor anchor = AnchorOf({2000, -100, 2150, -40}, B);
  ASSERT_FALSE(anchor.Right);
  const DisplayAnchor far{true, true, 5000, 5000, 96};
  const Rect placed = PlaceAtAnchor(far, C, 125, 50);
  EXPECT_EQ(placed.left, C.Work.left);
  EXPECT_EQ(placed.top, C.Work.top);
  EXPECT_EQ(placed.Width(), 125);
  EXPECT_EQ(placed.Height(), 50);
}

TEST(DisplayPlacement, EachModeNamesItsMonitors) {
  const Rect on_a{1810, 980, 1910, 1020};
  const Point pointer_on_c{-10, 500};
  // A window mostly on B though it starts on A.
  const Rect active_across{1700, 100, 3000, 900};
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::Stored, ThreeMonitors, on_a, pointer_on_c, active_across),
            (std::vector<size_t>{0}));
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::MouseMonitor, ThreeMonitors, on_a, pointer_on_c, active_across),
            (std::vector<size_t>{2}));
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::ActiveMonitor, ThreeMonitors, on_a, pointer_on_c, active_across),
            (std::vector<size_t>{1}));
  // Every monitor, the stored place's first.
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::EveryMonitor, ThreeMonitors, {2000, 0, 2100, 40}, std::nullopt,
                            std::nullopt),
            (std::vector<size_t>{1, 0, 2}));
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::EveryMonitor, TwoMonitors, on_a, std::nullopt, std::nullopt),
            (std::vector<size_t>{0, 1}));
  // Nothing known of the pointer or the active window: the stored place's monitor.
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::MouseMonitor, TwoMonitors, {2000, 0, 2100, 40}, std::nullopt,
                            std::nullopt),
            (std::vector<size_t>{1}));
  EXPECT_EQ(DisplayMonitors(OsdPlacementMode::ActiveMonitor, TwoMonitors, on_a, std::nullopt, std::nullopt),
            (std::vector<size_t>{0}));
  EXPECT_TRUE(DisplayMonitors(OsdPlacementMode::EveryMonitor, {}, on_a, std::nullopt, std::nullopt).empty());
}

TEST(DisplayPlacement, APlaceOrPointOffEveryMonitorBelongsToTheNearest) {
  // The far default place of a display never moved: beyond B's bottom-right.
  EXPECT_EQ(MonitorOfRect(ThreeMonitors, {1000000, 1000000, 1000100, 1000040}), 1u);
  // Below A, in the gap under B's bottom.
  EXPECT_EQ(MonitorOfPoint(ThreeMonitors, {900, 1500}), 0u);
  EXPECT_EQ(MonitorOfPoint(ThreeMonitors, {-2000, 300}), 2u);
  // On the line between two monitors the one it lies in counts.
  EXPECT_EQ(MonitorOfPoint(TwoMonitors, {1919, 500}), 0u);
  EXPECT_EQ(MonitorOfPoint(TwoMonitors, {1920, 500}), 1u);
}

TEST(DisplayPlacement, AStoredModeThatIsNoModeIsTheStoredPlace) {
  EXPECT_EQ(OsdPlacementOf(0), OsdPlacementMode::Stored);
  EXPECT_EQ(OsdPlacementOf(3), OsdPlacementMode::EveryMonitor);
  EXPECT_EQ(OsdPlacementOf(4), OsdPlacementMode::Stored);
  EXPECT_EQ(OsdPlacementOf(-1), OsdPlacementMode::Stored);
}

}  // namespace
}  // namespace lumitrax::core
