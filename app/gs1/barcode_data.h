#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/gs1/element_data.h"
#include "framework/result.h"

// The GS1-128 barcodes of a pallet label in the two encodings the program
// uses, each with its human-readable line.
//
// Who escapes what:
// - zplData is complete ^BC field data, to be written right after ^FD: it
//   starts with the subset start (">;" C, ">:" B) and FNC1 (">8"), switches to
//   subset B with ">6" before text, and writes the ZPL-reserved characters of
//   operator text as invocation codes (">" as ">0", "^" as "><", "~" as ">="),
//   so it never holds "^" or "~". It is NOT escaped for ^FH: where the label
//   sends the field with ^FH, pass zplData through the same ^FH escaping as a
//   text field (a "_" in a batch must become "_5F"); digits and ">" are left
//   alone by that escaping.
// - engineData is for the program's own Code 128 encoder: the FNC1 byte 201
//   ("É" in Windows-1252) at the start and after every variable-length element
//   that is not last; no subset switches.
// - humanReadable is the plain line, "(AI)data" per element, raw bytes; the
//   label escapes it like any other text field.
// Operator text in the elements is printable ASCII (FormatElements and the
// mixed-pallet builders refuse anything else), so every byte is encodable.
//
// For ordinary data (digits, and order numbers of 1, 3 or 5 digits) the ZPL
// data is exactly the element string the label templates have always carried.
// An order number that is not all digits or has an even number of digits
// cannot follow "400" wholly in subset C (a lone last digit or a letter is
// dropped there): its digit pairs stay in subset C and the rest goes to
// subset B, ">8400123>64" for "1234", ">840>60AB" for "AB".
namespace paltrix::gs1 {

inline constexpr char kEngineFnc1 = '\xC9';

struct BarcodeData {
  std::string zplData;
  std::string engineData;
  std::string humanReadable;
  friend bool operator==(const BarcodeData&, const BarcodeData&) = default;
};

// The GTIN group: (02) GTIN-14 (37) count [(400) order] when there is a
// count, else (01) GTIN-14 [(400) order].
BarcodeData FirstBarcode(const Elements& elements);

// The date/weight/batch group in the order (15), (3102), (10); nullopt when
// the label has none of them.
std::optional<BarcodeData> SecondBarcode(const Elements& elements);

// (00) followed by the first 18 characters of `sscc` (FIR:SSCC).
// Fails with kInvalidValue when those are not a valid SSCC (18 digits with
// their check digit), e.g. a company record that never had one allocated.
Result<BarcodeData> SsccBarcode(std::string_view sscc);

// The AI (10) content of a mixed pallet: the week as two digits, the mix
// number (PRO:BATCHNR) and the flower order number (PRO:ANTALPRKOLLIE).
struct MixedPalletContent {
  std::int32_t week = 0;    // PRO:HOLDBARTIL on the mixed-pallet path
  std::string mixNumber;    // trailing blanks are removed
  std::string flowerOrder;  // trailing blanks are removed
};

// (00) SSCC (10) week mix order in one barcode.
// Fails with kInvalidValue for an invalid SSCC, a week outside 1..53, or a mix
// or flower order number with a byte Code 128 cannot carry.
Result<BarcodeData> MixedPalletBarcodeWithSscc(std::string_view sscc,
                                               const MixedPalletContent& content);

// (10) week mix order on its own; failures as above.
Result<BarcodeData> MixedPalletBarcode(const MixedPalletContent& content);

}  // namespace paltrix::gs1
