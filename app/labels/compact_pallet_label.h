#pragma once

#include <string>
#include <string_view>

#include "app/labels/label_input.h"
#include "framework/result.h"

namespace paltrix::labels {

// The older 12 dots/mm 4-inch pallet label: the company block with the product
// ID, phone and fax always both, the data rows, and the three barcodes with
// no order number in any of them. Failures as BuildPalletLabelStream.
Result<std::string> BuildCompactPalletLabelStream(const LabelInput& input, std::string_view sscc);

}  // namespace paltrix::labels
