#include "core/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumitrax::core {
namespace {

TEST(BoundsText, RectToStrJoinsFourNumbersWithoutSpaces) {
  EXPECT_EQ(RectToStr({10, -20, 300, 0}), "10,-20,300,0");
  EXPECT_EQ(RectToStr({-2147483647 - 1, 2147483647, 0, 0}), "-2147483648,2147483647,0,0");
}

TEST(BoundsText, StrToRectReadsWhatRectToStrWrote) {
  for (const Rect& rect : {Rect{0, 0, 0, 0}, Rect{10, -20, 300, 7}, Rect{-1280, 1000000, 640, 480}})
    EXPECT_EQ(StrToRect(RectToStr(rect)), rect);
}

TEST(BoundsText, SpacesAndControlCharactersAroundNumbersAreIgnored) {
  EXPECT_EQ(StrToRect("1000000, 1000000, 0, 0"), (Rect{1000000, 1000000, 0, 0}));
  EXPECT_EQ(StrToRect("\t12 ,\r\n-34\x01, 5 ,6\n"), (Rect{12, -34, 5, 6}));
  EXPECT_EQ(StrToPoint("+7,8"), (Point{7, 8}));
}

TEST(BoundsText, FewerThanTwoCommasGiveZeroForLeftAndTop) {
  EXPECT_EQ(StrToRect("100,200"), (Rect{0, 0, 100, 200}));
  EXPECT_EQ(StrToRect("100"), (Rect{}));
  EXPECT_EQ(StrToRect(""), (Rect{}));
  EXPECT_EQ(StrToRect("1,2,3"), (Rect{1, 2, 0, 0}));
  EXPECT_EQ(StrToPoint("5"), (Point{}));
}

TEST(BoundsText, PartsThatAreNotIntegersReadAsZero) {
  EXPECT_EQ(StrToRect("abc,12x,$10,0x10"), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(StrToRect("1 2,3,4,5"), (Rect{0, 3, 4, 5}));
  EXPECT_EQ(StrToRect("1,2,3,4,5"), (Rect{1, 2, 3, 0}));  // the last half is "3,4,5"
  EXPECT_EQ(StrToRect("99999999999,-,+,2.5"), (Rect{}));
  EXPECT_EQ(StrToRect(",,,"), (Rect{}));
}

const Rect Work{0, 0, 1024, 738};
const WorkAreaNear OneMonitor = [](const Rect&) { return Work; };

TEST(WorkArea, CenterRoundsHalvesTowardZeroAndKeepsTheSize) {
  EXPECT_EQ(CenterInWorkArea({500, 500, 801, 701}, Work), (Rect{361, 268, 662, 469}));
  EXPECT_EQ(CenterInWorkArea({0, 0, 11, 11}, {100, 50, 120, 70}), (Rect{104, 54, 115, 65}));
  // Larger than the work area: (20 - 25) / 2 is -2, not -3.
  EXPECT_EQ(CenterInWorkArea({0, 0, 25, 25}, {0, 0, 20, 20}), (Rect{-2, -2, 23, 23}));
}

TEST(WorkArea, KeepMovesBackInsideWithoutResizing) {
  EXPECT_EQ(KeepInWorkArea({100, 100, 400, 300}, Work), (Rect{100, 100, 400, 300}));
  EXPECT_EQ(KeepInWorkArea({-5000, -10, -4700, 190}, Work), (Rect{0, 0, 300, 200}));
  EXPECT_EQ(KeepInWorkArea({1000000, 1000000, 1000300, 1000200}, Work), (Rect{724, 538, 1024, 738}));
  EXPECT_EQ(KeepInWorkArea({900, 10, 1100, 60}, {-1280, 0, 0, 1024}), (Rect{-200, 10, 0, 60}));
}

TEST(WorkArea, KeepShowsTheTopLeftCornerOfAWindowLargerThanTheWorkArea) {
  EXPECT_EQ(KeepInWorkArea({300, 300, 1500, 1100}, Work), (Rect{0, 0, 1200, 800}));
  EXPECT_EQ(KeepInWorkArea({-2147483647 - 1, 2147483647, -2147483647, 2147483647}, Work),
            (Rect{0, 738, 1, 738}));
}

// Two monitors side by side: the left one's work area when the window's left
// edge is left of 0, else the right one's.
struct TwoMonitors {
  std::vector<Rect> asked;
  Rect operator()(const Rect& window) {
    asked.push_back(window);
    return window.left < 0 ? Rect{-1280, 0, 0, 984} : Work;
  }
};

TEST(PlaceFromBounds, AllZerosCentreTheWindowAlthoughZeroZeroIsAValidPlace) {
  TwoMonitors monitors;
  EXPECT_EQ(PlaceFromBounds("0,0,0,0", {-900, 10, -600, 210}, std::ref(monitors)),
            (Rect{-790, 392, -490, 592}));
  ASSERT_EQ(monitors.asked.size(), 2u);
  EXPECT_EQ(monitors.asked[0], (Rect{-900, 10, -600, 210}));
  EXPECT_EQ(PlaceFromBounds("garbage", {0, 0, 300, 200}, OneMonitor), (Rect{362, 269, 662, 469}));
}

TEST(PlaceFromBounds, StoredPositionMovesTheWindowKeepingItsSize) {
  EXPECT_EQ(PlaceFromBounds("40,50,999,999", {500, 500, 800, 700}, OneMonitor), (Rect{40, 50, 340, 250}));
  // Only two numbers: left and top read as 0, the top-left corner, not the centre.
  EXPECT_EQ(PlaceFromBounds("100,200", {500, 500, 800, 700}, OneMonitor), (Rect{0, 0, 300, 200}));
}

TEST(PlaceFromBounds, APositionAtTheEdgeOfTheNumbersKeepsTheWholeWindowOnScreen) {
  // Moved to the stored place the window's bottom edge lies past the largest
  // number; it must still come back at its full size, not as a one-pixel strip
  // whose real body hangs below the screen.
  EXPECT_EQ(PlaceFromBounds("40,2147483646,0,0", {500, 500, 800, 700}, OneMonitor), (Rect{40, 538, 340, 738}));
  EXPECT_EQ(PlaceFromBounds("2147483647,-2147483648,0,0", {500, 500, 800, 700}, OneMonitor),
            (Rect{724, 0, 1024, 200}));
}

TEST(PlaceFromBounds, APlaceOffEveryMonitorComesBackToTheNearestWorkArea) {
  TwoMonitors monitors;
  EXPECT_EQ(PlaceFromBounds("-5000,100,300,200", {0, 0, 300, 200}, std::ref(monitors)),
            (Rect{-1280, 100, -980, 300}));
  ASSERT_EQ(monitors.asked.size(), 1u);
  EXPECT_EQ(monitors.asked[0], (Rect{-5000, 100, -4700, 300}));
}

TEST(BoundsToStore, NormalPlacementAsWidthAndHeightElseCurrentEdges) {
  EXPECT_EQ(BoundsToStore(Rect{10, 20, 310, 220}, {0, 0, 1, 1}), (Rect{10, 20, 300, 200}));
  EXPECT_EQ(BoundsToStore(std::nullopt, {10, 20, 310, 220}), (Rect{10, 20, 310, 220}));
}

TEST(BoundsToStore, ASizeBeyondThirtyTwoBitsIsHeldAtTheLargestNumber) {
  EXPECT_EQ(BoundsToStore(Rect{-2147483647 - 1, 2147483647, 2147483647, -2147483647 - 1}, {}),
            (Rect{-2147483647 - 1, 2147483647, 2147483647, -2147483647 - 1}));
}

}  // namespace
}  // namespace lumitrax::core
