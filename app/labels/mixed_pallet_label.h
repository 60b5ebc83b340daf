#pragma once

#include <string>
#include <string_view>

#include "app/labels/label_input.h"
#include "framework/result.h"

namespace paltrix::labels {

// The 4-inch mixed-container pallet label. On this path the product's
// bestBefore holds the week number, batch the mix number and description the
// flower order number. With input.wideNarrow one barcode carries the SSCC
// and the (10) content together; without, each has a barcode of its own.
// Fails (kInvalidValue) for an invalid SSCC, a week outside 1..53, or a mix
// or flower order number that a barcode cannot carry.
Result<std::string> BuildMixedPalletLabelStream(const LabelInput& input, std::string_view sscc);

}  // namespace paltrix::labels
