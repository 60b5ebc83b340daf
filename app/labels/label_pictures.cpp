#include "app/labels/label_pictures.h"

#include <fmt/format.h>

#include "framework/fields/date_time.h"

namespace paltrix::labels {

std::string DayMonthYear(std::int32_t dayNumber) {
  const auto date = fields::CivilFromDayNumber(dayNumber);
  if (!date) return {};
  return fmt::format("{:02}.{:02}.{:04}", date->day, date->month, date->year);
}

std::string DecimalText(std::int64_t scaled, int places, int width) {
  const bool negative = scaled < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::uint64_t divisor = 1;
  for (int i = 0; i < places; ++i) divisor *= 10;

  const std::string whole = std::to_string(magnitude / divisor);
  std::string grouped;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped.push_back(' ');
    grouped.push_back(whole[i]);
  }
  std::string text = (negative ? "-" : "") + grouped;
  if (places > 0) text += fmt::format(",{:0{}}", magnitude % divisor, places);
  return fmt::format("{:>{}}", text, width);
}

}  // namespace paltrix::labels
