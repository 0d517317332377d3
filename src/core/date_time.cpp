#include "core/date_time.h"

#include <cmath>
#include "core/number_text.h"

namespace lumitrax::core {

namespace {

constexpr int64_t DaysFrom1970To1899Epoch = -25569;  // 1899-12-30 counted from 1970-01-01
constexpr double MillisecondsPerDay = 86400000.0;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

}  // namespace

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                        int millisecond) {
  const int64_t days = DaysFromCivil(year, month, day) - DaysFrom1970To1899Epoch;
  const int64_t milliseconds =
      ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(days) + static_cast<double>(milliseconds) / MillisecondsPerDay;
}

CivilDate DecodeDate(DateTime value) {
  return CivilFromDays(static_cast<int64_t>(std::trunc(value)) + DaysFrom1970To1899Epoch);
}

std::string FormatIsoDate(DateTime value) {
  const CivilDate date = DecodeDate(value);
  return PaddedNumber(date.Year, 4) + '-' + PaddedNumber(date.Month, 2) + '-' + PaddedNumber(date.Day, 2);
}

int64_t WholeMinutesBetween(DateTime a, DateTime b) {
  const int64_t milliseconds = std::llround(std::fabs(a - b) * MillisecondsPerDay);
  return milliseconds / 60000;
}

}  // namespace lumitrax::core
