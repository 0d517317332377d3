#pragma once
// Local date-times as the program keeps them: days since 1899-12-30 with the
// time of day as the fraction (6 p.m. on 1899-12-31 is 1.75).
#include <cstdint>
#include <string>

namespace lumitrax::core {

using DateTime = double;

struct CivilDate {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
};

// For dates from 1899-12-30 on; the clock fields as a system clock reports them.
DateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                        int second = 0, int millisecond = 0);
CivilDate DecodeDate(DateTime value);
// "yyyy-mm-dd": four-digit year, two-digit month and day.
std::string FormatIsoDate(DateTime value);

// Whole minutes between two date-times, either order. The difference is first
// rounded to the millisecond so that exactly 30 minutes never reads as 29.
int64_t WholeMinutesBetween(DateTime a, DateTime b);

}  // namespace lumitrax::core
