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

Result<PalletElements> FormPalletElements(const gs1::ElementInput& input, std::string_view sscc) {
  Result<gs1::Elements> elements = gs1::FormatElements(input);
  if (!elements) return elements.status();
  Result<gs1::BarcodeData> ssccBarcode = gs1::SsccBarcode(sscc);
  if (!ssccBarcode) return ssccBarcode.status();
  return PalletElements{std::move(elements).value(), std::move(ssccBarcode).value()};
}

std::int64_t WeightHundredths(std::string_view netWeightData) {
  std::int64_t hundredths = 0;
  std::from_chars(netWeightData.data(), netWeightData.data() + netWeightData.size(), hundredths);
  return hundredths;
}

}  // namespace paltrix::labels
