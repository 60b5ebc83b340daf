#include "app/labels/pallet_label.h"

#include "app/gs1/barcode_data.h"
#include "app/labels/element_input.h"
#include "app/labels/label_pictures.h"
#include "app/labels/label_stream.h"
#include "app/labels/sender_lines.h"
#include "app/labels/setup_preamble.h"
#include "app/labels/zpl_text.h"

namespace paltrix::labels {
namespace {

std::string PalletAddress(AddressForm form, const SenderData& sender) {
  switch (form) {
    case AddressForm::kCommaJoined:
      return AddressLine(sender);
    case AddressForm::kBlankJoined:
      return ToPrinterCodePage(sender.address1) + " " + ToPrinterCodePage(sender.address2);
    case AddressForm::kFirstLineOnly:
      return ToPrinterCodePage(sender.address1);
  }
  return {};
}

std::string_view FirstBarcodeCommand(const FirstBarcodeCommands& commands,
                                     const gs1::Elements& elements) {
  if (elements.count) return elements.orderNumber ? commands.countOrder : commands.count;
  return elements.orderNumber ? commands.gtinOrder : commands.gtin;
}

std::string SecondBarcodeCommand(const SecondBarcodeCommands& commands,
                                 const gs1::Elements& elements) {
  const bool date = elements.bestBefore.has_value();
  const bool weight = elements.netWeight.has_value();
  const bool batch = elements.batch.has_value();
  const SecondBarcodeWidths& w = commands.widths;
  if (weight && !date && !batch && !commands.weightAlone.empty()) {
    return std::string(commands.weightAlone);
  }
  int width = w.bestBefore;
  if (weight) {
    width = date ? (batch ? w.bestBeforeWeightBatch : w.bestBeforeWeight)
                 : (batch ? w.weightBatch : w.weight);
  } else if (batch) {
    width = date ? w.bestBeforeBatch : w.batch;
  }
  return "^BY" + std::to_string(width) + std::string(commands.afterWidth);
}

}  // namespace

Result<std::string> BuildPalletLabelStream(const PalletLayout& layout, const LabelInput& input,
                                           std::string_view sscc) {
  const ProductData& product = input.product;
  gs1::ElementInput elementInput = ElementInputOf(product, input.today);
  // Where the layout has no (01)+(400) barcode the order number goes in only with a count.
  if (layout.firstBarcode.gtinOrder.empty() && product.count == 0) {
    elementInput.useOrderNumber = false;
  }
  const Result<PalletElements> formed = FormPalletElements(elementInput, sscc);
  if (!formed) return formed.status();
  const gs1::Elements& elements = formed->elements;
  const gs1::BarcodeData& ssccBarcode = formed->ssccBarcode;

  const auto asLayoutWants = [&](const std::string& text) {
    return layout.convertOrderAndDescription ? ToPrinterCodePage(text) : text;
  };
  LabelStream stream(SetupPreamble(input.printer), layout.labelWidth);
  stream.TextField(layout.companyName, ToPrinterCodePage(input.sender.name));
  stream.TextField(layout.address, PalletAddress(layout.addressForm, input.sender));
  stream.TextField(layout.town, TownLine(input.sender));
  stream.TextField(layout.phone, PhoneLine(input.sender));
  stream.TextField(layout.productName, ToPrinterCodePage(product.name));
  const auto writeDescription = [&] {
    if (!product.description.empty()) {
      stream.TextField(layout.description, asLayoutWants(product.description));
    }
  };
  const auto writeOrderNumber = [&] {
    if (!product.orderNumber.empty()) {
      stream.TextField(layout.orderNumber, asLayoutWants(product.orderNumber));
      stream.Commands(layout.orderCaption);
    }
  };
  if (layout.orderBeforeDescription) {
    writeOrderNumber();
    writeDescription();
  } else {
    writeDescription();
    writeOrderNumber();
  }
  stream.Commands(layout.topRule);
  stream.Commands(layout.sscc.caption);
  stream.TextField(layout.sscc.value, sscc);
  stream.Commands(layout.gtin.caption);
  stream.TextField(layout.gtin.value, product.gtin);
  if (product.count != 0) {
    stream.Commands(layout.count.caption);
    stream.TextField(layout.count.value, std::to_string(product.count));
  }
  if (elements.bestBefore) {
    stream.TextField(layout.bestBefore.captionPrefix,
                     ToPrinterCodePage(layout.bestBefore.captionText));
    stream.TextField(layout.bestBefore.value, DayMonthYear(product.bestBefore));
  }
  if (elements.netWeight) {
    const ConvertedCaptionField& place =
        elements.bestBefore ? layout.weightBesideBestBefore : layout.weightAlone;
    stream.TextField(place.captionPrefix, ToPrinterCodePage(place.captionText));
    stream.TextField(place.value, DecimalText(WeightHundredths(*elements.netWeight), 2, 7) + " kg");
  }
  if (elements.batch) {
    stream.Commands(layout.batch.caption);
    stream.TextField(layout.batch.value, product.batch);
  }
  stream.Commands(layout.bottomRule);

  const gs1::BarcodeData first = gs1::FirstBarcode(elements);
  stream.BarcodeField(FirstBarcodeCommand(layout.firstBarcode, elements), first.zplData);
  const bool convertLine =
      layout.convertOrderInCountOrderLine && elements.count && elements.orderNumber;
  stream.TextField(layout.firstBarcode.line,
                   convertLine ? ToPrinterCodePage(first.humanReadable) : first.humanReadable);
  if (const auto second = gs1::SecondBarcode(elements)) {
    stream.BarcodeField(SecondBarcodeCommand(layout.secondBarcode, elements), second->zplData);
    stream.TextField(layout.secondBarcode.line, second->humanReadable);
  }
  stream.BarcodeField(layout.ssccBarcode, ssccBarcode.zplData);
  stream.TextField(layout.ssccLine, ssccBarcode.humanReadable);
  return std::move(stream).Finish(input.labelsPerPallet);
}

}  // namespace paltrix::labels
