#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "barcode/barcode_encoder.h"

// The EAN/UPC family (ISO/IEC 15420): number sets A, B and C, guard bars and
// the modulo-10 check digit, shared by EAN-13, UPC-A, UPC-E and EAN-8.
namespace paltrix::barcode::ean_upc {

// Modules of digit `d` in number set A (odd parity, left half), B (even
// parity, left half) and C (right half); "1" dark.
std::string_view SetA(int d);
std::string_view SetB(int d);
std::string_view SetC(int d);

inline constexpr std::string_view kNormalGuard = "101";
inline constexpr std::string_view kCentreGuard = "01010";

// The check digit of `digits` (the check position not included): weights 3
// and 1 alternately from the right, the digit next to the check weighing 3.
int CheckDigit(std::string_view digits);

// `data` as `length` digits with a correct check digit last: data of
// length - 1 digits gets it appended, data of `length` digits gets its last
// digit replaced. nullopt for anything else.
std::optional<std::string> WithCheckDigit(std::string_view data, std::size_t length);

inline int DigitAt(std::string_view digits, std::size_t i) {
  return digits[i] - '0';
}

}  // namespace paltrix::barcode::ean_upc

namespace paltrix::barcode {

// The common drawing of the family: the symbol's modules between the two
// quiet zones of the barcode, which count towards the layout's modules.
class EanUpcEncoder : public BarcodeEncoder {
 public:
  Symbol EncodeSymbol(std::string_view data) override;
  // The digits the symbol carries, check digit included; the data itself
  // when it does not make a symbol.
  std::string HumanReadable(std::string_view data) const override;

 protected:
  // Digits (check digit included) of a valid symbol, nullopt otherwise.
  virtual std::optional<std::string> Digits(std::string_view data) const = 0;
  // The symbol's modules, guards included, for valid digits.
  virtual std::string Modules(std::string_view digits) const = 0;
};

}  // namespace paltrix::barcode
