#pragma once

#include <string>

#include "app/labels/label_input.h"
#include "framework/result.h"

namespace paltrix::labels {

// The EAN-13 item label: company name, product name and the EAN-13 barcode
// of PRO:EANNR with its digits below, "^PQ" with the labels per pallet.
// Fails (kInvalidValue) unless PRO:EANNR is 13 digits: anything else would
// give no readable EAN-13.
Result<std::string> BuildEanItemLabelStream(const LabelInput& input);

}  // namespace paltrix::labels
