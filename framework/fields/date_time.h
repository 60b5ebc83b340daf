#pragma once

#include <cstdint>
#include <optional>

// The record files' date and time conventions.
//
// A date is a day number: days elapsed since 28 December 1800, so 1 January
// 1801 is day 4 and the weekday is (day number mod 7) with 0 = Sunday. Valid
// dates run from 1 January 1801 (4) to 31 December 9999 (2994626).
// A time is hundredths of a second after midnight plus one; 0 means no time.
namespace paltrix::fields {

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

inline constexpr std::int32_t kFirstValidDay = 4;
inline constexpr std::int32_t kLastValidDay = 2994626;

// Day number of a calendar date; nullopt when the date does not exist or lies
// outside the valid range.
std::optional<std::int32_t> DayNumberFromCivil(const CivilDate& date);
// Calendar date of a day number; nullopt outside the valid range.
std::optional<CivilDate> CivilFromDayNumber(std::int32_t dayNumber);

// 0 = Sunday .. 6 = Saturday.
int Weekday(std::int32_t dayNumber);

std::int32_t TimeFromClock(int hours, int minutes, int seconds, int hundredths);

}  // namespace paltrix::fields
