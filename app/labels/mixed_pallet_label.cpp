#include "app/labels/mixed_pallet_label.h"

#include <fmt/format.h>

#include <vector>

#include "app/gs1/barcode_data.h"
#include "app/labels/barcode_fit.h"
#include "app/labels/label_stream.h"
#include "app/labels/setup_preamble.h"
#include "app/labels/zpl_text.h"

namespace paltrix::labels {
namespace {

// This label resets the label home to 0,0 in its first row.
constexpr std::string_view kProductName = "^XA^LH0,0^FO50,150^A0N,100,100^FH^FD";
constexpr std::string_view kTopRule = "^FO20,360^GB730,0,8^FS";
constexpr std::string_view kSsccCaption = "^FO20,380^A0N,30,30^FH^FDSSCC:^FS";
constexpr std::string_view kSscc = "^FO120,380^A0N,50,60^FH^FD";
constexpr std::string_view kCaption = "^FO80,500^A0N,40,40^FH^FD";
constexpr std::string_view kMixNumber = "^FO325,450^A0N,240,240^FH^FD";
constexpr std::string_view kBottomRule = "^FO20,635^GB730,0,8^FS";
constexpr std::string_view kWeekCaption = "^FO80,680^A0N,40,40^FH^FDUge nr^FS";
constexpr std::string_view kWeek = "^FO350,660^A0N,100,100^FH^FD";
// "WideNarrow" set: one barcode with the SSCC and the (10) content.
constexpr std::string_view kCombinedBarcode = "^BY3,2.0,170^FO70,1000^BCN,170,N,N,N^FH^FD";
constexpr std::string_view kCombinedLine = "^FO70,1180^A0N,36,40^FH^FD";
// "WideNarrow" 0: the (10) content above the SSCC barcode.
constexpr std::string_view kContentBarcode = "^BY3,2.0,150^FO70,770^BCN,150,N,N,N^FH^FD";
constexpr std::string_view kContentLine = "^FO70,930^A0N,36,40^FH^FD";
constexpr std::string_view kSsccBarcode = "^BY4,2.0,170^FO70,1000^BCN,170,N,N,N^FH^FD";
constexpr std::string_view kSsccLine = "^FO70,1180^A0N,36,40^FH^FD";

struct PlacedBarcode {
  std::string_view command;
  std::string_view line;
  gs1::BarcodeData data;
};

}  // namespace

Result<std::string> BuildMixedPalletLabelStream(const LabelInput& input, std::string_view sscc) {
  const ProductData& product = input.product;
  const gs1::MixedPalletContent content{
      .week = product.bestBefore, .mixNumber = product.batch, .flowerOrder = product.description};
  std::vector<PlacedBarcode> barcodes;
  if (input.wideNarrow) {
    Result<gs1::BarcodeData> combined = gs1::MixedPalletBarcodeWithSscc(sscc, content);
    if (!combined) return combined.status();
    barcodes.push_back({kCombinedBarcode, kCombinedLine, std::move(combined).value()});
  } else {
    Result<gs1::BarcodeData> separate = gs1::MixedPalletBarcode(content);
    if (!separate) return separate.status();
    Result<gs1::BarcodeData> ssccBarcode = gs1::SsccBarcode(sscc);
    if (!ssccBarcode) return ssccBarcode.status();
    barcodes.push_back({kContentBarcode, kContentLine, std::move(separate).value()});
    barcodes.push_back({kSsccBarcode, kSsccLine, std::move(ssccBarcode).value()});
  }

  LabelStream stream(SetupPreamble(input.printer), kLabelWidth4Inch8Dots);
  stream.TextField(kProductName, ToPrinterCodePage(product.name));
  stream.Commands(kTopRule);
  stream.Commands(kSsccCaption);
  stream.TextField(kSscc, sscc);
  stream.TextField(kCaption, input.mixedCaption);
  stream.TextField(kMixNumber, product.batch);
  stream.Commands(kBottomRule);
  stream.Commands(kWeekCaption);
  stream.TextField(kWeek, fmt::format("{:02}", product.bestBefore));
  for (const PlacedBarcode& barcode : barcodes) {
    stream.BarcodeField(barcode.command, barcode.data.zplData);
    stream.TextField(barcode.line, barcode.data.humanReadable);
  }
  return std::move(stream).Finish(input.labelsPerPallet);
}

}  // namespace paltrix::labels
