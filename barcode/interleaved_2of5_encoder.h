#pragma once

#include "barcode/barcode_encoder.h"

namespace paltrix::barcode {

// Interleaved 2 of 5 (ISO/IEC 16390), symbology 11: digit pairs, the first
// digit of a pair in the bars, the second in the spaces; an odd number of
// digits gets a leading 0. The quiet zones count towards the layout's
// modules.
class Interleaved2Of5Encoder final : public BarcodeEncoder {
 public:
  Symbol EncodeSymbol(std::string_view data) override;
  std::string HumanReadable(std::string_view data) const override;
};

}  // namespace paltrix::barcode
