#include "app/gs1/week_number.h"

#include <fmt/format.h>

#include "framework/fields/date_time.h"

namespace paltrix::gs1 {
namespace {

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Week counted from the first Monday on or before the year's first Thursday;
// 0 for the days before week 1, 53 may belong to the next year.
// `newYear` is the day number of 1 January of the date's year.
int RawWeek(std::int32_t date, std::int32_t newYear) {
  const int newYearWeekday = fields::Weekday(newYear);  // 0 = Sunday
  return (date + newYearWeekday + (newYearWeekday < 5 ? 7 : 0) - newYear - 1) / 7;
}

}  // namespace

std::string WeekNumber(std::int32_t date, bool useToday, bool weekOnly, const Clock& clock) {
  if (useToday) date = clock.Today();
  const auto civil = fields::CivilFromDayNumber(date);
  if (!civil) return kWeekNumberError;

  int year = civil->year;
  // The neighbouring years' 1 January are reached by counting days, so the
  // first and last valid dates need no date conversion outside the range.
  const std::int32_t newYear = *fields::DayNumberFromCivil({year, 1, 1});
  int week = RawWeek(date, newYear);
  if (week > 52) {
    const std::int32_t nextNewYear = newYear + (IsLeapYear(year) ? 366 : 365);
    if (fields::Weekday(nextNewYear) < 5) {
      week = 1;
      ++year;
    }
  } else if (week < 1) {
    const std::int32_t previousNewYear = newYear - (IsLeapYear(year - 1) ? 366 : 365);
    week = RawWeek(newYear - 1, previousNewYear);
    --year;
  }
  return weekOnly ? fmt::format("{:02}", week) : fmt::format("{:04}{:02}", year, week);
}

}  // namespace paltrix::gs1
