#include "app/gs1/week_number.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <chrono>

#include "framework/fields/date_time.h"

namespace paltrix::gs1 {
namespace {

std::int32_t Day(int year, int month, int day) {
  return *fields::DayNumberFromCivil({year, month, day});
}

struct WeekRow {
  std::int32_t date;
  bool weekOnly;
  const char* expected;
  const char* note;
};

TEST(WeekNumber, IsoWeeksAroundTheTurnOfTheYear) {
  const WeekRow rows[] = {
      {Day(2021, 1, 1), false, "202053", "a Friday: last week of the previous year"},
      {Day(2021, 1, 1), true, "53", "week only"},
      {Day(2021, 1, 4), false, "202101", "the Monday after"},
      {Day(2020, 12, 31), false, "202053", "a 53-week year"},
      {Day(2024, 12, 31), false, "202501", "a Tuesday: first week of the next year"},
      {Day(2024, 12, 31), true, "01", "week only"},
      {Day(2024, 12, 29), false, "202452", "the Sunday before"},
      {Day(2023, 1, 1), false, "202252", "a Sunday: still the previous year's last week"},
      {Day(2023, 1, 2), false, "202301", "a Monday"},
      {Day(2026, 2, 2), true, "06", "week only is zero-filled"},
  };
  for (const WeekRow& row : rows) {
    EXPECT_EQ(WeekNumber(row.date, false, row.weekOnly), row.expected) << row.note;
  }
}

TEST(WeekNumber, ValidRangeEdges) {
  const WeekRow rows[] = {
      {fields::kFirstValidDay, false, "180101", "1 January 1801, a Thursday"},
      {fields::kLastValidDay, false, "999952", "31 December 9999, a Friday"},
      {fields::kFirstValidDay - 1, false, "Error", "before the first valid day"},
      {fields::kLastValidDay + 1, false, "Error", "after the last valid day"},
      {0, true, "Error", "no date"},
      {-100, false, "Error", "negative day number"},
  };
  for (const WeekRow& row : rows) {
    EXPECT_EQ(WeekNumber(row.date, false, row.weekOnly), row.expected) << row.note;
  }
}

TEST(WeekNumber, UseTodayIgnoresTheDateArgument) {
  const FixedClock clock(LocalDateTime{.date = {2021, 1, 1}});
  EXPECT_EQ(WeekNumber(0, true, false, clock), "202053");
  EXPECT_EQ(WeekNumber(Day(2024, 12, 31), true, true, clock), "53");
}

// ISO week by the textbook route, independent of the day-number arithmetic:
// the week belongs to the year of its Thursday.
std::string IsoWeekByChrono(std::chrono::sys_days day) {
  using namespace std::chrono;
  const weekday dayOfWeek{day};
  const sys_days thursday = day - days{dayOfWeek.iso_encoding() - 1} + days{3};
  const year isoYear = year_month_day{thursday}.year();
  const auto week = (thursday - sys_days{isoYear / January / 1}).count() / 7 + 1;
  return fmt::format("{:04}{:02}", static_cast<int>(isoYear), week);
}

TEST(WeekNumber, AgreesWithChronoOverWholeYears) {
  using namespace std::chrono;
  const sys_days dayFour = sys_days{1801y / January / 1};
  const std::pair<year, year> spans[] = {
      {1801y, 1812y}, {1895y, 1905y}, {1995y, 2045y}, {2095y, 2105y}, {9990y, 9999y}};
  for (const auto& [first, last] : spans) {
    for (sys_days day = sys_days{first / January / 1}; day <= sys_days{last / December / 31};
         day += days{1}) {
      const auto dayNumber = static_cast<std::int32_t>((day - dayFour).count() + 4);
      ASSERT_EQ(WeekNumber(dayNumber, false, false), IsoWeekByChrono(day))
          << "day number " << dayNumber;
    }
  }
}

}  // namespace
}  // namespace paltrix::gs1
