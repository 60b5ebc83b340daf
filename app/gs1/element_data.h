#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/result.h"

// The data of each GS1 element on a pallet label, formed from the product
// record as the print dialog left it. Barcode and line assembly is in
// barcode_data.h.
namespace paltrix::gs1 {

// The product fields that decide the elements (PRO: fields of the Produkt
// record), plus today's day number.
struct ElementInput {
  std::string gtin;                 // PRO:EANNR as stored
  std::int32_t count = 0;           // PRO:ANTALPRPALLE; 0 = no (37)
  std::string orderNumber;          // PRO:NAVN2
  bool useOrderNumber = false;      // PRO:BRUGORDREID = 1
  std::int32_t bestBefore = 0;      // PRO:HOLDBARTIL, a day number; 0 = no date
  std::int32_t today = 0;           // day number
  std::int64_t netWeightGrams = 0;  // PRO:NETTOVAEGT scaled by 1000 (kg with 3 decimals)
  std::string batch;                // PRO:BATCHNR
};

// Element data, each without its AI. An absent optional means the element is
// not on the label. Texts are raw Windows-1252 bytes (not escaped for ZPL).
struct Elements {
  std::string gtin14;                      // (01) or (02): 14 digits
  std::optional<std::string> count;        // (37): 2, 4 or 6 digits
  std::optional<std::string> orderNumber;  // (400): 1 to 5 printable ASCII characters
  std::optional<std::string> bestBefore;   // (15): yymmdd
  std::optional<std::string> netWeight;    // (3102): kilograms times 100, 6 digits
  std::optional<std::string> batch;        // (10): printable ASCII, no trailing blanks
};

// Forms every element of `input`:
// - GTIN-14: PRO:EANNR without surrounding blanks, 1 to 14 digits, zero-filled
//   on the left to 14 (an EAN-13 gains one leading zero).
// - (37) when the count is not 0, zero-filled to 2 digits up to 99, to 4 up to
//   9999 and to 6 above, so that the digits pair up in Code 128 subset C.
// - (400) when the order number is not blank, useOrderNumber is set and the
//   order number without trailing blanks is shorter than 6 characters.
// - (15) when ShelfLifeDays(bestBefore, today) is not 0 and a date is given.
// - (3102) when the weight is above 0: rounded half up to whole hundredths of
//   a kilogram (12.345 kg gives "001235").
// - (10) when the batch without trailing blanks is not empty.
// Fails with kInvalidValue, naming the field, when PRO:EANNR is empty, holds a
// non-digit or more than 14 digits; when the count is negative or above
// 999999; when the best-before day number is not a valid date or falls
// outside the years (15) can name (CheckBestBefore); when the weight rounds above 9999.99 kg; or
// when a batch or order number that goes into a barcode holds a byte that Code 128 cannot carry
// (see barcode_text.h).
Result<Elements> FormatElements(const ElementInput& input);

// The longest order number (without trailing blanks) that goes into the
// barcode as (400); a longer one is left out of it.
inline constexpr std::size_t kLongestBarcodeOrderNumber = 5;

// AI (15) carries the year as two digits; a reader takes the century that
// puts the year between 49 years before and 50 years after the current year
// (GS1 General Specifications, "Determination of century in dates"). A
// best-before date (a day number, 0 = none) outside that window would be read
// as another date and is refused with kInvalidValue, naming the date and the
// years that can be printed; so is a day number that is not a date.
Status CheckBestBefore(std::int32_t bestBefore, std::int32_t today);

// PRO:HOLDBARHEDSDAGE as the label procedures set it: best-before minus today
// in days, wrapped to 16 bits as the field stores it. (15) is printed only
// when this is not 0.
std::int16_t ShelfLifeDays(std::int32_t bestBefore, std::int32_t today);

// PRO:EANNR as a GTIN-14; failures as for FormatElements.
Result<std::string> Gtin14(std::string_view eannr);

}  // namespace paltrix::gs1
