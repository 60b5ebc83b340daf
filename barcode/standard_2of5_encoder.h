#pragma once

#include "barcode/barcode_encoder.h"

namespace paltrix::barcode {

// Standard (industrial) 2 of 5, symbology 12: each digit in five bars, two
// of them wide, every space narrow; start bars wide-wide-narrow, stop bars
// wide-narrow-wide. The quiet zones count towards the layout's modules.
class Standard2Of5Encoder final : public BarcodeEncoder {
 public:
  Symbol EncodeSymbol(std::string_view data) override;
  std::string HumanReadable(std::string_view data) const override;
};

}  // namespace paltrix::barcode
