#include "app/gs1/barcode_text.h"

#include <fmt/format.h>

#include <algorithm>

#include "framework/text/windows1252.h"

namespace paltrix::gs1 {

bool IsBarcodeText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 32 && byte <= 126;
  });
}

Status CheckBarcodeText(std::string_view what, std::string_view text) {
  if (IsBarcodeText(text)) return Status::Ok();
  return Status(ErrorCode::kInvalidValue,
                fmt::format("The {} \"{}\" holds a character that cannot be put in a barcode "
                            "(only letters A-Z, digits, blanks and ASCII punctuation)",
                            what, text::ToUtf8(text)));
}

std::string EscapeForZplSubsetB(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '>':
        escaped += ">0";
        break;
      case '^':
        escaped += "><";
        break;
      case '~':
        escaped += ">=";
        break;
      default:
        escaped += c;
        break;
    }
  }
  return escaped;
}

}  // namespace paltrix::gs1
