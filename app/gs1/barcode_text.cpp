#include "app/gs1/barcode_text.h"

#include <algorithm>

namespace paltrix::gs1 {

bool IsBarcodeText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 32 && byte <= 126;
  });
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
