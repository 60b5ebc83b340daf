#include "barcode/interleaved_2of5_encoder.h"

#include "barcode/barcode.h"
#include "barcode/element_runs.h"
#include "barcode/two_of_five.h"

namespace paltrix::barcode {
namespace {

constexpr std::string_view kStart = "0000";  // narrow bar, space, bar, space
constexpr std::string_view kStop = "100";    // wide bar, narrow space, narrow bar

std::optional<std::string> EvenDigits(std::string_view data, bool addCheckDigit) {
  std::optional<std::string> digits = two_of_five::Digits(data, addCheckDigit);
  if (digits && digits->size() % 2 != 0) digits->insert(digits->begin(), '0');
  return digits;
}

}  // namespace

Symbol Interleaved2Of5Encoder::EncodeSymbol(std::string_view data) {
  Symbol symbol;
  const std::optional<std::string> digits = EvenDigits(data, MYBC->ADDCHECKDIGIT == 1);
  if (!digits) return symbol;
  const double ratio = MYBC->WIDE2NARROWRATIO;
  AppendNarrowWide(kStart, ratio, symbol.elements);
  for (std::size_t i = 0; i < digits->size(); i += 2) {
    const std::string_view bars = two_of_five::Pattern((*digits)[i] - '0');
    const std::string_view spaces = two_of_five::Pattern((*digits)[i + 1] - '0');
    for (std::size_t e = 0; e < 5; ++e) {
      const char pair[2] = {bars[e], spaces[e]};
      AppendNarrowWide(std::string_view(pair, 2), ratio, symbol.elements);
    }
  }
  AppendNarrowWide(kStop, ratio, symbol.elements);
  symbol.moduleCount = ModuleSum(symbol.elements) + MYBC->CLEARAREALEFT + MYBC->CLEARAREARIGHT;
  return symbol;
}

std::string Interleaved2Of5Encoder::HumanReadable(std::string_view data) const {
  return EvenDigits(data, MYBC != nullptr && MYBC->ADDCHECKDIGIT == 1).value_or(std::string(data));
}

}  // namespace paltrix::barcode
