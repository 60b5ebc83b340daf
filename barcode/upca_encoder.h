#pragma once

#include "barcode/ean_upc_encoder.h"

namespace paltrix::barcode {

// UPC-A (ISO/IEC 15420), symbology 9: 11 digits and the check digit, drawn
// as the EAN-13 symbol with a leading 0.
class UpcAEncoder final : public EanUpcEncoder {
 protected:
  std::optional<std::string> Digits(std::string_view data) const override;
  std::string Modules(std::string_view digits) const override;
};

}  // namespace paltrix::barcode
