#include "barcode/upce_encoder.h"

#include <array>

namespace paltrix::barcode {
namespace {

// ISO/IEC 15420 Table 8: number sets of the six digits by check digit, for
// number system 0 ("A" set A, "B" set B); number system 1 swaps them.
constexpr std::array<std::string_view, 10> kSetsByCheckDigit{"BBBAAA", "BBABAA", "BBAABA", "BBAAAB",
                                                             "BABBAA", "BAABBA", "BAAABB", "BABABA",
                                                             "BABAAB", "BAABAB"};
constexpr std::string_view kUpcEEndGuard = "010101";

}  // namespace

std::string ExpandUpcE(std::string_view s) {
  const std::string ns(s.substr(0, 1));
  const std::string d(s.substr(1, 6));
  switch (d[5]) {
    case '0':
    case '1':
    case '2':
      return ns + d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
    case '3':
      return ns + d.substr(0, 3) + "00000" + d.substr(3, 2);
    case '4':
      return ns + d.substr(0, 4) + "00000" + d[4];
    default:
      return ns + d.substr(0, 5) + "0000" + d[5];
  }
}

std::optional<std::string> UpcEEncoder::Digits(std::string_view data) const {
  // Number system and six digits, with or without the check digit.
  const std::optional<std::string> shape = ean_upc::WithCheckDigit(data, 8);
  if (!shape || (data[0] != '0' && data[0] != '1')) return std::nullopt;
  std::string digits = shape->substr(0, 7);
  digits.push_back(static_cast<char>('0' + ean_upc::CheckDigit(ExpandUpcE(digits))));
  return digits;
}

std::string UpcEEncoder::Modules(std::string_view digits) const {
  using namespace ean_upc;
  const std::string_view sets = kSetsByCheckDigit[static_cast<std::size_t>(DigitAt(digits, 7))];
  const bool swap = digits[0] == '1';
  std::string modules(kNormalGuard);
  for (std::size_t i = 1; i <= 6; ++i) {
    const bool setA = (sets[i - 1] == 'A') != swap;
    modules += setA ? SetA(DigitAt(digits, i)) : SetB(DigitAt(digits, i));
  }
  modules += kUpcEEndGuard;
  return modules;
}

}  // namespace paltrix::barcode
