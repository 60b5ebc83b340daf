#pragma once

#include <cstdint>
#include <string>

#include "framework/clock.h"

namespace paltrix::gs1 {

inline constexpr const char* kWeekNumberError = "Error";

// The ISO 8601 week (Monday first; week 1 holds the year's first Thursday) of
// the day number `date`, or of today by `clock` when `useToday` is set.
// Returns the week as two digits ("05") when `weekOnly` is set, else the
// week's year as four digits followed by the week ("202053"). Every valid day
// number (1 January 1801 .. 31 December 9999) has a week; any other date gives
// "Error".
std::string WeekNumber(std::int32_t date, bool useToday, bool weekOnly,
                       const Clock& clock = SystemClock());

}  // namespace paltrix::gs1
