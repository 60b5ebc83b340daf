#include "barcode/codabar_encoder.h"

#include <array>

#include "barcode/barcode.h"
#include "barcode/element_runs.h"

namespace paltrix::barcode {
namespace {

// ANSI/AIM BC3 Table 1: characters in value order and their seven elements
// (bar, space, ... ; "1" wide).
constexpr std::string_view kAlphabet = "0123456789-$:/.+ABCD";
constexpr std::array<std::string_view, 20> kPatterns{
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001",
    "0100100", "0110000", "1001000", "0001100", "0011000", "1000101", "1010001",
    "1010100", "0010101", "0011010", "0101001", "0001011", "0001110"};
static_assert(kAlphabet.size() == kPatterns.size());
constexpr std::size_t kFirstLetter = 16;

bool IsStartStop(char c) {
  return c >= 'A' && c <= 'D';
}

char UpperCase(char c) {
  return c >= 'a' && c <= 'd' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string CodabarEncoder::Characters(std::string_view data) const {
  std::string body;
  char start = 'A';
  char stop = 'A';
  if (data.size() >= 2 && IsStartStop(UpperCase(data.front())) &&
      IsStartStop(UpperCase(data.back()))) {
    start = UpperCase(data.front());
    stop = UpperCase(data.back());
    data = data.substr(1, data.size() - 2);
  }
  for (const char c : data) {
    const std::size_t at = kAlphabet.find(c);
    if (at != std::string_view::npos && at < kFirstLetter) body.push_back(c);
  }
  if (MYBC != nullptr && MYBC->ADDCHECKDIGIT == 1) {
    std::size_t sum = kAlphabet.find(start) + kAlphabet.find(stop);
    for (const char c : body) sum += kAlphabet.find(c);
    body.push_back(kAlphabet[(16 - sum % 16) % 16]);
  }
  return start + body + stop;
}

Symbol CodabarEncoder::EncodeSymbol(std::string_view data) {
  Symbol symbol;
  const std::string characters = Characters(data);
  const double ratio = MYBC->WIDE2NARROWRATIO;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    if (i > 0) symbol.elements.push_back(1.0);  // the narrow gap between characters
    AppendNarrowWide(kPatterns[kAlphabet.find(characters[i])], ratio, symbol.elements);
  }
  symbol.moduleCount = ModuleSum(symbol.elements);
  return symbol;
}

}  // namespace paltrix::barcode
