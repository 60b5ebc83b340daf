#pragma once

#include <cstdint>
#include <string_view>

#include "app/gs1/barcode_data.h"
#include "app/gs1/element_data.h"
#include "app/labels/label_input.h"
#include "framework/result.h"

namespace paltrix::labels {

// The GS1 element input of a product as edited for the run; the order number
// may go into the barcode when PRO:BRUGORDREID is 1.
gs1::ElementInput ElementInputOf(const ProductData& product, std::int32_t today);

// The elements of a pallet label and its SSCC barcode.
struct PalletElements {
  gs1::Elements elements;
  gs1::BarcodeData ssccBarcode;
};

// Fails (kInvalidValue) as gs1::FormatElements does, or when `sscc` is not a
// valid SSCC.
Result<PalletElements> FormPalletElements(const gs1::ElementInput& input, std::string_view sscc);

// The (3102) element data (six digits, kilograms times 100) as a number, so
// that the weight printed as text is rounded exactly as the barcode's.
std::int64_t WeightHundredths(std::string_view netWeightData);

}  // namespace paltrix::labels
