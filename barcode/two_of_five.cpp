#include "barcode/two_of_five.h"

#include <array>

#include "barcode/ean_upc_encoder.h"

namespace paltrix::barcode::two_of_five {
namespace {

// ISO/IEC 16390 Table 1 (Interleaved 2 of 5); Standard 2 of 5 uses the same
// digit patterns for its bars.
constexpr std::array<std::string_view, 10> kPatterns{"00110", "10001", "01001", "11000", "00101",
                                                     "10100", "01100", "00011", "10010", "01010"};

}  // namespace

std::string_view Pattern(int d) {
  return kPatterns[static_cast<std::size_t>(d)];
}

std::optional<std::string> Digits(std::string_view data, bool addCheckDigit) {
  if (data.empty()) return std::nullopt;
  for (const char c : data) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  std::string digits(data);
  if (addCheckDigit) digits.push_back(static_cast<char>('0' + ean_upc::CheckDigit(digits)));
  return digits;
}

}  // namespace paltrix::barcode::two_of_five
