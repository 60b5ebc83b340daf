#pragma once

#include <string>
#include <string_view>

#include "framework/status.h"

// Operator text (batch, order number, mix number) inside Code 128 barcodes.
namespace paltrix::gs1 {

// True when every byte of `text` is printable ASCII (32 to 126), the
// characters Code 128 subset B carries. Any other byte cannot be encoded: a
// ZPL printer would drop or garble it, and in the program's own barcode engine
// the bytes 201-204, 240-243 and 251-255 are function characters, so an "É"
// in a batch would turn into an FNC1 separator in the middle of the element.
bool IsBarcodeText(std::string_view text);

// Ok when IsBarcodeText(text), else kInvalidValue with a message naming
// `what` ("batch") and the text.
Status CheckBarcodeText(std::string_view what, std::string_view text);

// `text` as ZPL ^BC field data in subset B: the three characters that ZPL
// reserves are written with their Code 128 invocation codes, ">" as ">0", "^"
// as "><" and "~" as ">=". Everything else is copied.
// REQUIRES: IsBarcodeText(text)
std::string EscapeForZplSubsetB(std::string_view text);

}  // namespace paltrix::gs1
