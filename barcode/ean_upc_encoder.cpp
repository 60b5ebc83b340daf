#include "barcode/ean_upc_encoder.h"

#include <array>
#include <cmath>

#include "barcode/barcode.h"
#include "barcode/element_runs.h"

namespace paltrix::barcode::ean_upc {
namespace {

// ISO/IEC 15420 Table 1: number set A; set C is its complement and set B is
// set C reversed.
constexpr std::array<std::string_view, 10> kSetA{"0001101", "0011001", "0010011", "0111101",
                                                 "0100011", "0110001", "0101111", "0111011",
                                                 "0110111", "0001011"};
constexpr std::array<std::string_view, 10> kSetB{"0100111", "0110011", "0011011", "0100001",
                                                 "0011101", "0111001", "0000101", "0010001",
                                                 "0001001", "0010111"};
constexpr std::array<std::string_view, 10> kSetC{"1110010", "1100110", "1101100", "1000010",
                                                 "1011100", "1001110", "1010000", "1000100",
                                                 "1001000", "1110100"};

constexpr bool SetsAreRelated() {
  for (std::size_t d = 0; d < 10; ++d) {
    for (std::size_t m = 0; m < 7; ++m) {
      if (kSetC[d][m] == kSetA[d][m]) return false;
      if (kSetB[d][m] != kSetC[d][6 - m]) return false;
    }
  }
  return true;
}
static_assert(SetsAreRelated(), "set C is the complement of set A, set B set C reversed");

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

}  // namespace

std::string_view SetA(int d) {
  return kSetA[static_cast<std::size_t>(d)];
}
std::string_view SetB(int d) {
  return kSetB[static_cast<std::size_t>(d)];
}
std::string_view SetC(int d) {
  return kSetC[static_cast<std::size_t>(d)];
}

int CheckDigit(std::string_view digits) {
  int sum = 0;
  int weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += (*it - '0') * weight;
    weight = 4 - weight;
  }
  return (10 - sum % 10) % 10;
}

std::optional<std::string> WithCheckDigit(std::string_view data, std::size_t length) {
  if (!AllDigits(data) || (data.size() != length && data.size() + 1 != length)) {
    return std::nullopt;
  }
  std::string digits(data.substr(0, length - 1));
  digits.push_back(static_cast<char>('0' + CheckDigit(digits)));
  return digits;
}

}  // namespace paltrix::barcode::ean_upc

namespace paltrix::barcode {

Symbol EanUpcEncoder::EncodeSymbol(std::string_view data) {
  Symbol symbol;
  const std::optional<std::string> digits = Digits(data);
  if (!digits) return symbol;
  const std::string modules = Modules(*digits);
  AppendModules(modules, symbol.elements);
  symbol.moduleCount =
      static_cast<std::int32_t>(modules.size()) + MYBC->CLEARAREALEFT + MYBC->CLEARAREARIGHT;
  return symbol;
}

std::string EanUpcEncoder::HumanReadable(std::string_view data) const {
  return Digits(data).value_or(std::string(data));
}

}  // namespace paltrix::barcode
