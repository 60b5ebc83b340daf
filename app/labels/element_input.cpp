#include "app/labels/element_input.h"

#include <charconv>

namespace paltrix::labels {

gs1::ElementInput ElementInputOf(const ProductData& product, std::int32_t today) {
  return {.gtin = product.gtin,
          .count = product.count,
          .orderNumber = product.orderNumber,
          .useOrderNumber = product.orderInBarcode == 1,
          .bestBefore = product.bestBefore,
          .today = today,
          .netWeightGrams = product.netWeightThousandths,
          .batch = product.batch};
}

std::int64_t WeightHundredths(std::string_view netWeightData) {
  std::int64_t hundredths = 0;
  std::from_chars(netWeightData.data(), netWeightData.data() + netWeightData.size(), hundredths);
  return hundredths;
}

}  // namespace paltrix::labels
