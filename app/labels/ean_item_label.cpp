#include "app/labels/ean_item_label.h"

#include <fmt/format.h>

#include "app/gs1/digits.h"
#include "app/labels/barcode_fit.h"
#include "app/labels/label_stream.h"
#include "app/labels/setup_preamble.h"
#include "app/labels/zpl_text.h"
#include "framework/text/windows1252.h"

namespace paltrix::labels {
namespace {

constexpr std::size_t kEan13Length = 13;

constexpr std::string_view kCompanyName = "^XA^FO20,30^A0N,30,30^FH^FD";
constexpr std::string_view kProductName = "^FO20,70^A0N,30,30^FH^FD";
constexpr std::string_view kEanBarcode = "^BY3,2.0,150^FO50,110^BEN,100,Y,N^FH^FD";

}  // namespace

Result<std::string> BuildEanItemLabelStream(const LabelInput& input) {
  const std::string_view ean = text::TrimRight(input.product.gtin);
  if (ean.size() != kEan13Length || !gs1::AllDigits(ean)) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The EAN item label needs a GTIN of 13 digits, not \"{}\"; "
                              "nothing was printed",
                              text::ToUtf8(ean)));
  }
  LabelStream stream(SetupPreamble(input.printer), kLabelWidth4Inch8Dots);
  stream.TextField(kCompanyName, ToPrinterCodePage(input.sender.name));
  stream.TextField(kProductName, ToPrinterCodePage(input.product.name));
  stream.BarcodeField(kEanBarcode, ean);
  return std::move(stream).Finish(input.labelsPerPallet);
}

}  // namespace paltrix::labels
