#include "app/labels/case_label.h"

#include "app/gs1/barcode_data.h"
#include "app/labels/barcode_fit.h"
#include "app/labels/label_stream.h"
#include "app/labels/sender_lines.h"
#include "app/labels/setup_preamble.h"
#include "app/labels/zpl_text.h"

namespace paltrix::labels {
namespace {

constexpr std::string_view kCompanyName = "^XA^FO20,30^A0N,40,60^FH^FD";
constexpr std::string_view kAddress = "^FO20,70^A0N,30,30^FH^FD";
constexpr std::string_view kPhone = "^FO20,100^A0N,30,30^FH^FD";
constexpr std::string_view kProduct = "^FO20,140^A0N,40,40^FH^FD";
constexpr std::string_view kRule = "^FO20,180^GB730,0,8^FS";
constexpr std::string_view kGtinBarcode = "^BY4,2.0,150^FO110,190^BCN,150,N,N,N^FH^FD";
constexpr std::string_view kGtinLine = "^FO110,350^A0N,36,40^FH^FD";

}  // namespace

Result<std::string> BuildCaseLabelStream(const LabelInput& input) {
  const SenderData& sender = input.sender;
  const ProductData& product = input.product;
  Result<std::string> gtin14 = gs1::Gtin14(product.gtin);
  if (!gtin14) return gtin14.status();
  gs1::Elements elements;
  elements.gtin14 = std::move(gtin14).value();
  const gs1::BarcodeData gtinBarcode = gs1::FirstBarcode(elements);

  // The separators stay even where a part is blank.
  std::string address = ToPrinterCodePage(sender.address1) + ", " +
                        ToPrinterCodePage(sender.address2) + ", " +
                        std::to_string(sender.postalCode) + " " + ToPrinterCodePage(sender.town);
  std::string productLine = ToPrinterCodePage(product.name);
  if (!product.orderNumber.empty()) {
    productLine += "   Ordre nr. " + ToPrinterCodePage(product.orderNumber);
  }

  LabelStream stream(SetupPreamble(input.printer), kLabelWidth4Inch8Dots);
  stream.TextField(kCompanyName, ToPrinterCodePage(sender.name));
  stream.TextField(kAddress, address);
  stream.TextField(kPhone, PhoneLine(sender));
  stream.TextField(kProduct, productLine);
  stream.Commands(kRule);
  stream.BarcodeField(kGtinBarcode, gtinBarcode.zplData);
  stream.TextField(kGtinLine, gtinBarcode.humanReadable);
  return std::move(stream).Finish(input.labelsPerPallet);
}

}  // namespace paltrix::labels
