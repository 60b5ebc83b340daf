#include "app/catalogue/next_product_id.h"

#include <algorithm>

namespace paltrix::catalogue {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Adds one to a string of decimal digits, in place, growing it by a digit when
// it carries out of the top: works for IDs wider than any integer type.
void Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

std::string NextProductId(std::string_view highestId) {
  const std::string_view kept = Trim(highestId);
  std::string number = AllDigits(kept) ? std::string(kept) : std::string("0");
  number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
  Increment(number);
  const std::size_t width = std::max(kept.size(), number.size());
  if (width > kMaxProductIdLength) return {};
  return std::string(width - number.size(), '0') + number;
}

}  // namespace paltrix::catalogue
