#include "app/labels/setup_preamble.h"

#include <fmt/format.h>

#include "framework/text/windows1252.h"

namespace paltrix::labels {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsNumber(std::string_view text) {
  std::size_t at = 0;
  std::size_t digits = 0;
  const auto skipDigits = [&] {
    for (; at < text.size() && IsDigit(text[at]); ++at) ++digits;
  };
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  skipDigits();
  if (at < text.size() && text[at] == '.') {
    ++at;
    skipDigits();
  }
  return digits > 0 && at == text.size();
}

}  // namespace

std::string EffectivePrintRate(std::string_view storedSpeed) {
  const std::string_view speed = text::TrimRight(storedSpeed);
  return IsNumber(speed) ? std::string(speed) : std::string("2");
}

std::string SetupPreamble(const PrinterSetup& setup) {
  return fmt::format(
      "^XA^SZ2^MTD^MMT^XZ^XA^PR{}^XZ^XA^MD{}^XZ^XA^MNY^XZ^XA^LH{},0^XZ^XA^LT{}^XZ^XA^CI0^XZ",
      EffectivePrintRate(setup.printRate), setup.darkness, setup.leftMargin, setup.topMargin);
}

}  // namespace paltrix::labels
