#pragma once

#include <string>

#include "app/labels/label_input.h"
#include "framework/result.h"

namespace paltrix::labels {

// The 4-inch case label: company block, product (with the order number when
// there is one) and one (01) GTIN barcode; no SSCC. Fails (kInvalidValue)
// when PRO:EANNR is not a GTIN.
Result<std::string> BuildCaseLabelStream(const LabelInput& input);

}  // namespace paltrix::labels
