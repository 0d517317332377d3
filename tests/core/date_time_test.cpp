#include "core/date_time.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

TEST(DateTime, EncodesDaysSince18991230WithTimeAsFraction) {
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 31, 18), 1.75);
  EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 3, 1), 61.0);  // 1900 is no leap year
  EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime(2024, 2, 29, 12), 45351.5);
}

TEST(DateTime, IsoDateHasFourDigitYearAndTwoDigitMonthAndDay) {
  EXPECT_EQ(FormatIsoDate(EncodeDateTime(2026, 12, 8, 23, 59, 59, 999)), "2026-12-08");
  EXPECT_EQ(FormatIsoDate(EncodeDateTime(2024, 2, 29)), "2024-02-29");
  EXPECT_EQ(FormatIsoDate(EncodeDateTime(2024, 3, 1, 0, 0, 0, 1)), "2024-03-01");
  EXPECT_EQ(FormatIsoDate(0.0), "1899-12-30");
  EXPECT_EQ(FormatIsoDate(EncodeDateTime(987, 6, 5)), "0987-06-05");
}

TEST(DateTime, WholeMinutesTruncateAndIgnoreOrder) {
  const DateTime noon = EncodeDateTime(2026, 5, 1, 12);
  EXPECT_EQ(WholeMinutesBetween(noon, EncodeDateTime(2026, 5, 1, 12, 29, 59, 999)), 29);
  EXPECT_EQ(WholeMinutesBetween(EncodeDateTime(2026, 5, 1, 12, 30), noon), 30);
  EXPECT_EQ(WholeMinutesBetween(noon, EncodeDateTime(2026, 5, 2, 12)), 1440);
  EXPECT_EQ(WholeMinutesBetween(noon, noon), 0);
  EXPECT_EQ(WholeMinutesBetween(noon, 0.0), 46143LL * 1440 + 720);
}

TEST(DateTime, ExactMinuteBoundariesAreNotLostToFloatingPoint) {
  // Many of these differences come out a hair below the whole minute as doubles.
  const DateTime start = EncodeDateTime(2031, 7, 14, 9, 41, 17, 123);
  for (int minutes = 1; minutes <= 3000; ++minutes) {
    const DateTime later = start + minutes / 1440.0;
    ASSERT_EQ(WholeMinutesBetween(later, start), minutes) << minutes;
  }
}

}  // namespace
}  // namespace lumitrax::core
