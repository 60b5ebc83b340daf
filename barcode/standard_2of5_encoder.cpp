#include "barcode/standard_2of5_encoder.h"

#include "barcode/barcode.h"
#include "barcode/element_runs.h"
#include "barcode/two_of_five.h"

namespace paltrix::barcode {
namespace {

constexpr std::string_view kStartBars = "110";
constexpr std::string_view kStopBars = "101";

// Bars from `bars` ("1" wide), each followed by a narrow space.
void AppendBars(std::string_view bars, double ratio, std::vector<double>& elements) {
  for (const char bar : bars) {
    elements.push_back(bar == '1' ? ratio : 1.0);
    elements.push_back(1.0);
  }
}

}  // namespace

Symbol Standard2Of5Encoder::EncodeSymbol(std::string_view data) {
  Symbol symbol;
  const std::optional<std::string> digits = two_of_five::Digits(data, MYBC->ADDCHECKDIGIT == 1);
  if (!digits) return symbol;
  const double ratio = MYBC->WIDE2NARROWRATIO;
  AppendBars(kStartBars, ratio, symbol.elements);
  for (const char d : *digits) AppendBars(two_of_five::Pattern(d - '0'), ratio, symbol.elements);
  AppendBars(kStopBars, ratio, symbol.elements);
  symbol.elements.pop_back();  // the symbol ends with its last bar
  symbol.moduleCount = ModuleSum(symbol.elements) + MYBC->CLEARAREALEFT + MYBC->CLEARAREARIGHT;
  return symbol;
}

std::string Standard2Of5Encoder::HumanReadable(std::string_view data) const {
  return two_of_five::Digits(data, MYBC != nullptr && MYBC->ADDCHECKDIGIT == 1)
      .value_or(std::string(data));
}

}  // namespace paltrix::barcode
