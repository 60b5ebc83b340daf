#include "barcode/ean8_encoder.h"

namespace paltrix::barcode {

std::optional<std::string> Ean8Encoder::Digits(std::string_view data) const {
  return ean_upc::WithCheckDigit(data, 8);
}

std::string Ean8Encoder::Modules(std::string_view digits) const {
  using namespace ean_upc;
  std::string modules(kNormalGuard);
  for (std::size_t i = 0; i < 4; ++i) modules += SetA(DigitAt(digits, i));
  modules += kCentreGuard;
  for (std::size_t i = 4; i < 8; ++i) modules += SetC(DigitAt(digits, i));
  modules += kNormalGuard;
  return modules;
}

}  // namespace paltrix::barcode
