#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "app/labels/label_input.h"
#include "framework/fields/date_time.h"

// The ordinary run the label tests start from, and a helper that assembles an
// expected stream from literal rows.
namespace paltrix::labels::testing {

// 8 December 2026.
inline std::int32_t Today() {
  return *fields::DayNumberFromCivil({2026, 12, 8});
}

// The SSCC of company prefix 5790001 and serial 42.
inline constexpr std::string_view kSscc = "057900010000000424";

// Texts in Windows-1252: "Grønt & Frugt A/S", "Århus", "Rødkål".
inline LabelInput OrdinaryInput() {
  LabelInput input;
  input.sender = {.name = "Gr\xF8nt & Frugt A/S",
                  .address1 = "Havnevej 4",
                  .address2 = "Port 2",
                  .postalCode = 8000,
                  .town = "\xC5rhus",
                  .phone = "86 12 34 56",
                  .fax = "86 12 34 57"};
  input.product = {.productId = "P100",
                   .name =
                       "R\xF8"
                       "dk\xE5l",
                   .orderNumber = "123",
                   .gtin = "5701234567892",
                   .description = "Kasser a 10 kg",
                   .count = 40,
                   .bestBefore = Today() + 10,
                   .netWeightThousandths = 12500,
                   .batch = "B77",
                   .orderInBarcode = 1};
  input.printer = {.printRate = "4", .darkness = 10, .leftMargin = 0, .topMargin = 0};
  input.printerName = "zebra-1";
  input.pallets = 1;
  input.labelsPerPallet = 2;
  input.today = Today();
  return input;
}

// OrdinaryInput() with the texts that may be blank left blank: the second
// address line, the phone number, the description and the order number.
inline LabelInput InputWithBlankOptionalTexts() {
  LabelInput input = OrdinaryInput();
  input.sender.address2.clear();
  input.sender.phone.clear();
  input.product.description.clear();
  input.product.orderNumber.clear();
  return input;
}

// The set-up preamble of OrdinaryInput().
inline constexpr std::string_view kPreamble =
    "^XA^SZ2^MTD^MMT^XZ^XA^PR4^XZ^XA^MD10^XZ^XA^MNY^XZ^XA^LH0,0^XZ^XA^LT0^XZ^XA^CI0^XZ";

inline std::string Rows(std::initializer_list<std::string_view> rows) {
  std::string joined;
  for (std::string_view row : rows) joined += row;
  return joined;
}

// The preamble of OrdinaryInput(), the rows, and the end with two copies.
inline std::string Stream(std::initializer_list<std::string_view> rows) {
  return std::string(kPreamble) + Rows(rows) + "^PQ2,0,1,N^XZ";
}

}  // namespace paltrix::labels::testing
