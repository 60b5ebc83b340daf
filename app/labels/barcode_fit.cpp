#include "app/labels/barcode_fit.h"

#include <charconv>
#include <optional>

#include "app/labels/zpl_code128.h"

namespace paltrix::labels {
namespace {

struct NumberAt {
  std::int32_t value = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The whole number right after `prefix` in `command`.
std::optional<NumberAt> NumberAfter(std::string_view command, std::string_view prefix) {
  const std::size_t at = command.find(prefix);
  if (at == std::string_view::npos) return std::nullopt;
  NumberAt number{.begin = at + prefix.size()};
  const char* first = command.data() + number.begin;
  const auto [last, error] = std::from_chars(first, command.data() + command.size(), number.value);
  if (error != std::errc() || last == first) return std::nullopt;
  number.end = static_cast<std::size_t>(last - command.data());
  return number;
}

}  // namespace

std::string FitBarcodeCommand(std::string_view command, std::string_view fieldData,
                              std::int32_t labelWidth) {
  const auto width = NumberAfter(command, "^BY");
  const auto origin = NumberAfter(command, "^FO");
  const auto symbol = ZplCode128Symbol(fieldData);
  if (command.find("^BC") == std::string_view::npos || !width || !origin || !symbol) {
    return std::string(command);
  }
  const std::int32_t modules = barcode::Code128ModuleCount(symbol->size()) + kQuietZoneModules;
  std::int32_t fitted = width->value;
  while (fitted > 1 && origin->value + modules * fitted > labelWidth) --fitted;
  if (fitted == width->value) return std::string(command);
  std::string result(command.substr(0, width->begin));
  result += std::to_string(fitted);
  result += command.substr(width->end);
  return result;
}

}  // namespace paltrix::labels
