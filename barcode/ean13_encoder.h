#pragma once

#include "barcode/ean_upc_encoder.h"

namespace paltrix::barcode {

// EAN-13 (ISO/IEC 15420), symbology 7: 12 digits and the check digit; the
// first digit is carried by the number sets of the left half.
class Ean13Encoder final : public EanUpcEncoder {
 protected:
  std::optional<std::string> Digits(std::string_view data) const override;
  std::string Modules(std::string_view digits) const override;
};

// The modules of the EAN-13 symbol of 13 digits. Shared with UPC-A, which is
// EAN-13 with a leading 0.
std::string Ean13Modules(std::string_view digits);

}  // namespace paltrix::barcode
