#pragma once

#include "barcode/barcode_encoder.h"

namespace paltrix::barcode {

// The encoder of the symbology codes that are accepted without a symbology
// of their own (15 to 20): printing with it leaves the target untouched.
class NoSymbolEncoder final : public BarcodeEncoder {
 public:
  Symbol EncodeSymbol(std::string_view) override { return {}; }
  int Draw(std::string_view) override { return 0; }
};

}  // namespace paltrix::barcode
