#pragma once

#include <cstdint>
#include <memory>

#include "barcode/barcode_encoder.h"

namespace paltrix::barcode {

// The encoder of symbology `code` (1..20); codes 3, 4, 5, 6 and 14 share the
// Code 128 encoder in their mode, codes 15 to 20 get one that draws nothing.
// REQUIRES: 1 <= code <= 20.
std::unique_ptr<BarcodeEncoder> CreateEncoder(std::uint8_t code);

}  // namespace paltrix::barcode
