#include "barcode/upca_encoder.h"

#include "barcode/ean13_encoder.h"

namespace paltrix::barcode {

std::optional<std::string> UpcAEncoder::Digits(std::string_view data) const {
  return ean_upc::WithCheckDigit(data, 12);
}

std::string UpcAEncoder::Modules(std::string_view digits) const {
  return Ean13Modules("0" + std::string(digits));
}

}  // namespace paltrix::barcode
