#pragma once

#include <string>
#include <string_view>

#include "app/labels/label_input.h"
#include "app/labels/pallet_layout.h"
#include "framework/result.h"

namespace paltrix::labels {

// The stream of one pallet label: set-up preamble, company block, product,
// SSCC, GTIN, count, best-before, weight, batch and order number rows, the
// GTIN barcode, the date/weight/batch barcode when any of those is printed,
// the SSCC barcode, and "^PQ" with the labels per pallet.
// Fails (kInvalidValue, with the reason) when the product's data cannot form
// GS1 elements (see gs1::FormatElements) or `sscc` is not a valid SSCC.
Result<std::string> BuildPalletLabelStream(const PalletLayout& layout, const LabelInput& input,
                                           std::string_view sscc);

}  // namespace paltrix::labels
