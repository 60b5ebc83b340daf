#include "app/labels/compact_pallet_label.h"

#include "app/gs1/barcode_data.h"
#include "app/labels/barcode_fit.h"
#include "app/labels/element_input.h"
#include "app/labels/label_pictures.h"
#include "app/labels/label_stream.h"
#include "app/labels/setup_preamble.h"
#include "app/labels/zpl_text.h"

namespace paltrix::labels {
namespace {

// The rows of the layout, in the order printed.
constexpr std::string_view kCompanyName = "^XA^FO30,72^A0N,68,113^FH^FD";
constexpr std::string_view kAddress = "^FO30,141^A0N,56,75^FH^FD";
constexpr std::string_view kTownAndId = "^FO30,198^A0N,56,75^FH^FD";
constexpr std::string_view kPhoneAndFax = "^FO30,257^A0N,45,45^FH^FD";
constexpr std::string_view kProductAndOrder = "^FO30,306^A0N,56,75^FH^FD";
constexpr std::string_view kDescription = "^FO30,364^A0N,75,75^FH^FD";
constexpr std::string_view kTopRule = "^FO30,438^GB1080,0,8^FS";
constexpr std::string_view kSsccCaption = "^FO30,462^A0N,45,45^FH^FDSSCC:^FS";
constexpr std::string_view kSscc = "^FO180,462^A0N,75,90^FH^FD";
constexpr std::string_view kGtinCaption = "^FO30,552^A0N,45,45^FH^FDEan Nr:^FS";
constexpr std::string_view kGtin = "^FO180,552^A0N,75,90^FH^FD";
constexpr std::string_view kCountCaption = "^FO30,642^A0N,45,45^FH^FDAntal:^FS";
constexpr std::string_view kCount = "^FO180,642^A0N,75,90^FH^FD";
constexpr std::string_view kBestBeforeCaption = "^FO30,732^A0N,45,45^FH^FDMHT^FS";
constexpr std::string_view kBestBefore = "^FO180,732^A0N,75,90^FH^FD";
constexpr std::string_view kWeightCaption = "^FO600,642^A0N,45,45^FH^FD";
constexpr std::string_view kWeightCaptionText = "Nettov\xE6gt";
constexpr std::string_view kWeight = "^FO780,642^A0N,75,90^FH^FD";
constexpr std::string_view kBatchCaption = "^FO600,732^A0N,45,45^FH^FDBatchNr^FS";
constexpr std::string_view kBatch = "^FO780,732^A0N,75,90^FH^FD";
constexpr std::string_view kBottomRule = "^FO30,810^GB1080,0,8^FS";
constexpr std::string_view kFirstBarcode = "^BY5,2.0,240^FO105,822^BCN,240,N,N,N^FH^FD";
constexpr std::string_view kFirstLine = "^FO105,1074^A0N,54,60^FH^FD";
// The second barcode's narrow bar is 3 for (3102) alone and 4 for every other variant.
constexpr std::string_view kSecondBarcodeWeightAlone =
    "^BY3,2.0,240^FO105,1131^BCN,240,N,N,N^FH^FD";
constexpr std::string_view kSecondBarcode = "^BY4,2.0,240^FO105,1131^BCN,240,N,N,N^FH^FD";
constexpr std::string_view kSecondLine = "^FO105,1386^A0N,54,60^FH^FD";
constexpr std::string_view kSsccBarcode = "^BY6,2.0,270^FO105,1443^BCN,270,N,N,N^FH^FD";
constexpr std::string_view kSsccLine = "^FO105,1728^A0N,54,60^FH^FD";

}  // namespace

Result<std::string> BuildCompactPalletLabelStream(const LabelInput& input, std::string_view sscc) {
  const ProductData& product = input.product;
  const SenderData& sender = input.sender;
  gs1::ElementInput elementInput = ElementInputOf(product, input.today);
  elementInput.useOrderNumber = false;
  const Result<PalletElements> formed = FormPalletElements(elementInput, sscc);
  if (!formed) return formed.status();
  const gs1::Elements& elements = formed->elements;
  const gs1::BarcodeData& ssccBarcode = formed->ssccBarcode;

  LabelStream stream(SetupPreamble(input.printer), kLabelWidth4Inch12Dots);
  stream.TextField(kCompanyName, ToPrinterCodePage(sender.name));
  stream.TextField(kAddress,
                   ToPrinterCodePage(sender.address1) + ", " + ToPrinterCodePage(sender.address2));
  stream.TextField(kTownAndId, std::to_string(sender.postalCode) + " " +
                                   ToPrinterCodePage(sender.town) + " -Id: " + product.productId);
  stream.TextField(kPhoneAndFax, "Tlf: " + ToPrinterCodePage(sender.phone) +
                                     " Fax: " + ToPrinterCodePage(sender.fax));
  stream.TextField(kProductAndOrder,
                   ToPrinterCodePage(product.name) + " " + ToPrinterCodePage(product.orderNumber));
  if (!product.description.empty()) stream.TextField(kDescription, "Antal: " + product.description);
  stream.Commands(kTopRule);
  stream.Commands(kSsccCaption);
  stream.TextField(kSscc, sscc);
  stream.Commands(kGtinCaption);
  stream.TextField(kGtin, product.gtin);
  if (product.count != 0) {
    stream.Commands(kCountCaption);
    stream.TextField(kCount, std::to_string(product.count));
  }
  if (elements.bestBefore) {
    stream.Commands(kBestBeforeCaption);
    stream.TextField(kBestBefore, DayMonthYear(product.bestBefore));
  }
  if (elements.netWeight) {
    stream.TextField(kWeightCaption, ToPrinterCodePage(kWeightCaptionText));
    stream.TextField(kWeight, DecimalText(product.netWeightThousandths, 3, 8) + " kg");
  }
  if (elements.batch) {
    stream.Commands(kBatchCaption);
    stream.TextField(kBatch, product.batch);
  }
  stream.Commands(kBottomRule);

  const gs1::BarcodeData first = gs1::FirstBarcode(elements);
  stream.BarcodeField(kFirstBarcode, first.zplData);
  stream.TextField(kFirstLine, first.humanReadable);
  if (const auto second = gs1::SecondBarcode(elements)) {
    const bool weightAlone = elements.netWeight && !elements.bestBefore && !elements.batch;
    stream.BarcodeField(weightAlone ? kSecondBarcodeWeightAlone : kSecondBarcode, second->zplData);
    stream.TextField(kSecondLine, second->humanReadable);
  }
  stream.BarcodeField(kSsccBarcode, ssccBarcode.zplData);
  stream.TextField(kSsccLine, ssccBarcode.humanReadable);
  return std::move(stream).Finish(input.labelsPerPallet);
}

}  // namespace paltrix::labels
