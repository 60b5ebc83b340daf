#pragma once

#include "barcode/ean_upc_encoder.h"

namespace paltrix::barcode {

// EAN-8 (ISO/IEC 15420), symbology 10: 7 digits and the check digit, four
// in set A on the left and four in set C on the right.
class Ean8Encoder final : public EanUpcEncoder {
 protected:
  std::optional<std::string> Digits(std::string_view data) const override;
  std::string Modules(std::string_view digits) const override;
};

}  // namespace paltrix::barcode
