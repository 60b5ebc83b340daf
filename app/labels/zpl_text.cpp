#include "app/labels/zpl_text.h"

#include <fmt/format.h>

#include "framework/text/windows1252.h"

namespace paltrix::labels {
namespace {

struct LetterMapping {
  unsigned char windows1252;
  unsigned char codePage850;
};

// æ Æ ø Ø å Å
constexpr LetterMapping kDanishLetters[] = {
    {0xE6, 0x91}, {0xC6, 0x92}, {0xF8, 0x9B}, {0xD8, 0x9D}, {0xE5, 0x86}, {0xC5, 0x8F},
};

bool IsControlByte(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}

bool NeedsHexEscape(unsigned char byte) {
  return byte == '^' || byte == '~' || byte == '_' || IsControlByte(byte);
}

}  // namespace

std::string ToPrinterCodePage(std::string_view windows1252) {
  std::string converted(text::TrimRight(windows1252));
  for (char& c : converted) {
    for (const LetterMapping& letter : kDanishLetters) {
      if (static_cast<unsigned char>(c) == letter.windows1252) {
        c = static_cast<char>(letter.codePage850);
        break;
      }
    }
  }
  return converted;
}

std::string EscapeHexField(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsHexEscape(byte)) {
      escaped += fmt::format("_{:02X}", byte);
    } else {
      escaped.push_back(c);
    }
  }
  return escaped;
}

}  // namespace paltrix::labels
