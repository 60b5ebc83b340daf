#pragma once

#include <cstdint>
#include <string>

// Numbers and dates as the label texts show them.
namespace paltrix::labels {

// A day number as dd.mm.yyyy; empty for a day outside the valid date range.
std::string DayMonthYear(std::int32_t dayNumber);

// A decimal with `places` implied decimals (scaled 12500 with 3 places is
// 12.5): space as thousands separator, comma as decimal mark, right-aligned in
// `width` characters ("   12,50" style). A number wider than `width` is shown
// in full rather than cut.
std::string DecimalText(std::int64_t scaled, int places, int width);

}  // namespace paltrix::labels
