#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gs1/barcode_data.h"
#include "app/labels/zpl_code128.h"
#include "rendered_symbol.h"

namespace paltrix::barcode {
namespace {

using gs1::BarcodeData;

// The element string a GS1 scanner reports: the leading FNC1 is the ]C1
// flag, later ones are group separators.
std::string ScannedElementString(const std::string& engineData) {
  std::string text;
  for (std::size_t i = 1; i < engineData.size(); ++i) {
    text.push_back(engineData[i] == gs1::kEngineFnc1 ? '\x1D' : engineData[i]);
  }
  return text;
}

gs1::Elements WidestElements(std::string order) {
  return gs1::Elements{.gtin14 = "05701234567892",
                       .count = "999999",
                       .orderNumber = std::move(order),
                       .bestBefore = "261218",
                       .netWeight = "999999",
                       .batch = "ABCDEFGHIJKLMNOPQRS"};
}

std::vector<BarcodeData> ZplBarcodes() {
  std::vector<BarcodeData> barcodes;
  for (const char* order : {"ABCDE", "1234", "12345", "A>^~_"}) {
    barcodes.push_back(gs1::FirstBarcode(WidestElements(order)));
  }
  gs1::Elements gtinOnly = WidestElements("12");
  gtinOnly.count.reset();
  barcodes.push_back(gs1::FirstBarcode(gtinOnly));
  barcodes.push_back(*gs1::SecondBarcode(WidestElements("")));
  gs1::Elements batchOnly = WidestElements("");
  batchOnly.bestBefore.reset();
  batchOnly.netWeight.reset();
  barcodes.push_back(*gs1::SecondBarcode(batchOnly));
  barcodes.push_back(*gs1::SsccBarcode("057900010000000424"));
  const gs1::MixedPalletContent mixed{.week = 5, .mixNumber = "1", .flowerOrder = "1234567"};
  barcodes.push_back(*gs1::MixedPalletBarcodeWithSscc("057900010000000424", mixed));
  barcodes.push_back(*gs1::MixedPalletBarcode(mixed));
  return barcodes;
}

// What the label printer draws for each ZPL field, drawn here module for
// module from its symbol values, reads as GS1-128 with exactly the element
// string the program meant.
TEST(ZplFieldDecode, EveryZplBarcodeReadsAsItsGs1ElementString) {
  for (const BarcodeData& barcode : ZplBarcodes()) {
    const auto values = labels::ZplCode128Symbol(barcode.zplData);
    ASSERT_TRUE(values.has_value()) << barcode.zplData;
    const QImage page = testing::RenderCode128Values(*values, {.controlWidth = 9000});
    const testing::Decoded decoded = testing::Decode(page, {"Code128"});
    ASSERT_TRUE(decoded.valid) << barcode.zplData;
    EXPECT_EQ(decoded.symbologyIdentifier, "]C1") << barcode.zplData;
    EXPECT_EQ(decoded.text, ScannedElementString(barcode.engineData)) << barcode.zplData;
  }
}

}  // namespace
}  // namespace paltrix::barcode
