#include "framework/fields/date_time.h"

namespace paltrix::fields {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// Day number 4 is 1 January 1801.
constexpr std::int64_t kDayNumberOffset = DaysFromCivil(1801, 1, 1) - 4;

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<std::int32_t> DayNumberFromCivil(const CivilDate& date) {
  if (date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month)) {
    return std::nullopt;
  }
  const std::int64_t dayNumber =
      DaysFromCivil(date.year, static_cast<unsigned>(date.month), static_cast<unsigned>(date.day)) -
      kDayNumberOffset;
  if (dayNumber < kFirstValidDay || dayNumber > kLastValidDay) return std::nullopt;
  return static_cast<std::int32_t>(dayNumber);
}

std::optional<CivilDate> CivilFromDayNumber(std::int32_t dayNumber) {
  if (dayNumber < kFirstValidDay || dayNumber > kLastValidDay) return std::nullopt;
  return CivilFromDays(dayNumber + kDayNumberOffset);
}

int Weekday(std::int32_t dayNumber) {
  const int remainder = dayNumber % 7;
  return remainder < 0 ? remainder + 7 : remainder;
}

std::int32_t TimeFromClock(int hours, int minutes, int seconds, int hundredths) {
  return ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths + 1;
}

}  // namespace paltrix::fields
