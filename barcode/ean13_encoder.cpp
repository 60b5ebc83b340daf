#include "barcode/ean13_encoder.h"

#include <array>

namespace paltrix::barcode {
namespace {

// ISO/IEC 15420 Table 7: number sets of the left half for each leading digit
// ("A" set A, "B" set B).
constexpr std::array<std::string_view, 10> kLeftHalfSets{"AAAAAA", "AABABB", "AABBAB", "AABBBA",
                                                         "ABAABB", "ABBAAB", "ABBBAA", "ABABAB",
                                                         "ABABBA", "ABBABA"};

}  // namespace

std::string Ean13Modules(std::string_view digits) {
  using namespace ean_upc;
  std::string modules(kNormalGuard);
  const std::string_view sets = kLeftHalfSets[static_cast<std::size_t>(DigitAt(digits, 0))];
  for (std::size_t i = 1; i <= 6; ++i) {
    const int d = DigitAt(digits, i);
    modules += sets[i - 1] == 'A' ? SetA(d) : SetB(d);
  }
  modules += kCentreGuard;
  for (std::size_t i = 7; i <= 12; ++i) modules += SetC(DigitAt(digits, i));
  modules += kNormalGuard;
  return modules;
}

std::optional<std::string> Ean13Encoder::Digits(std::string_view data) const {
  return ean_upc::WithCheckDigit(data, 13);
}

std::string Ean13Encoder::Modules(std::string_view digits) const {
  return Ean13Modules(digits);
}

}  // namespace paltrix::barcode
