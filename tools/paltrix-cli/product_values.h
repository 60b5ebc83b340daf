#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/fields/record_codec.h"

// The product values an operator enters (the product form's fields), checked
// the same way wherever they come from: the options of `product add` and
// `product change`, or the rows of an imported file. Messages name a value as
// `namePrefix` followed by its name ("--name" on the command line, "line 7:
// name" in a file), and every check throws CommandError (bad input) before
// anything is written.
namespace paltrix::cli {

struct ProductValues {
  std::optional<std::string> name, description, gtin, orderNumber;
  std::optional<std::int64_t> shelfLife, count, orderInBarcode;
};

// The product ID as the form takes it: up to 12 characters, not blank.
std::string ProductId(std::string_view namePrefix, std::string_view utf8);

// Checks the given values and writes them over the product image. An empty
// GTIN clears it; any other GTIN needs its check digit.
void ApplyProductValues(const ProductValues& values, fields::Image image,
                        std::string_view namePrefix);

// An order number that goes into the barcode (PRO:BRUGORDREID 1) has at most
// 5 characters: (400) carries no longer one.
void CheckBarcodeOrderNumber(fields::ConstImage image, std::string_view namePrefix);

}  // namespace paltrix::cli
