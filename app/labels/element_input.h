#pragma once

#include <cstdint>
#include <string_view>

#include "app/gs1/element_data.h"
#include "app/labels/label_input.h"

namespace paltrix::labels {

// The GS1 element input of a product as edited for the run; the order number
// may go into the barcode when PRO:BRUGORDREID is 1.
gs1::ElementInput ElementInputOf(const ProductData& product, std::int32_t today);

// The (3102) element data (six digits, kilograms times 100) as a number, so
// that the weight printed as text is rounded exactly as the barcode's.
std::int64_t WeightHundredths(std::string_view netWeightData);

}  // namespace paltrix::labels
