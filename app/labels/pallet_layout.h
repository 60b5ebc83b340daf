#pragma once

#include <cstdint>
#include <string_view>

// The pallet label drawn by the 4-inch and 6-inch pallet procedures at either
// resolution: the same rows in the same order, differing only in the command
// prefixes and in the few choices named here. The four layouts themselves are
// in pallet_layouts.h.
namespace paltrix::labels {

enum class AddressForm {
  kCommaJoined,    // first line, then ", " second line when it is not blank
  kBlankJoined,    // first line, " ", second line (blank or not)
  kFirstLineOnly,  // the second line is not shown
};

// A text row: its field prefix (ending in "^FH^FD") for the value, and the
// fixed caption row written next to it.
struct CaptionedField {
  std::string_view caption;
  std::string_view value;
};

// A row whose caption is a converted text of its own field.
struct ConvertedCaptionField {
  std::string_view captionPrefix;
  std::string_view captionText;  // Windows-1252, converted when written
  std::string_view value;
};

// First barcode commands by element variant. `gtinOrder` is empty where a
// layout has no (01)+(400) variant: there the order number goes into the
// barcode only together with a count. A command without "^FH" takes its data
// unescaped.
struct FirstBarcodeCommands {
  std::string_view countOrder;  // (02)+(37)+(400)
  std::string_view count;       // (02)+(37)
  std::string_view gtinOrder;   // (01)+(400)
  std::string_view gtin;        // (01)
  std::string_view line;
};

// Narrow-bar width of the second barcode by the elements it carries.
struct SecondBarcodeWidths {
  int bestBeforeWeightBatch;
  int weightBatch;
  int bestBeforeWeight;
  int weight;
  int bestBeforeBatch;
  int batch;
  int bestBefore;
};

struct SecondBarcodeCommands {
  SecondBarcodeWidths widths;
  std::string_view afterWidth;   // the command after "^BY" and the width
  std::string_view weightAlone;  // full command for (3102) alone, or empty to use the above
  std::string_view line;
};

struct PalletLayout {
  std::string_view companyName;
  std::string_view address;
  AddressForm addressForm;
  std::string_view town;
  std::string_view phone;
  std::string_view productName;
  std::string_view description;
  // The order number's value prefix and the fixed "Ordre nr." caption row that follows it.
  std::string_view orderNumber;
  std::string_view orderCaption;
  bool orderBeforeDescription;
  // Order number and description converted to the printer's code page, or as stored.
  bool convertOrderAndDescription;
  std::string_view topRule;
  CaptionedField sscc;
  CaptionedField gtin;
  CaptionedField count;
  ConvertedCaptionField bestBefore;
  ConvertedCaptionField weightBesideBestBefore;
  ConvertedCaptionField weightAlone;  // in the best-before's place when that is not printed
  CaptionedField batch;
  std::string_view bottomRule;
  FirstBarcodeCommands firstBarcode;
  // Whether the first barcode's line shows the order number converted in the
  // (02)+(37)+(400) variant.
  bool convertOrderInCountOrderLine;
  SecondBarcodeCommands secondBarcode;
  std::string_view ssccBarcode;
  std::string_view ssccLine;
  std::int32_t labelWidth;  // dots (barcode_fit.h)
};

}  // namespace paltrix::labels
