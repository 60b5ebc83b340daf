#pragma once

#include <optional>
#include <string>

#include "barcode/ean_upc_encoder.h"

namespace paltrix::barcode {

// UPC-E (ISO/IEC 15420), symbology 8: number system 0 or 1, six digits and
// the check digit of the UPC-A number they stand for. The number system and
// check digit are carried by the number sets of the six digits; the symbol
// ends with the guard "010101".
class UpcEEncoder final : public EanUpcEncoder {
 protected:
  std::optional<std::string> Digits(std::string_view data) const override;
  std::string Modules(std::string_view digits) const override;
};

// The 11 digits (without check digit) of the UPC-A number that the number
// system and six digits of a UPC-E symbol stand for.
std::string ExpandUpcE(std::string_view numberSystemAndSix);

}  // namespace paltrix::barcode
