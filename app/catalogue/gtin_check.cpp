#include "app/catalogue/gtin_check.h"

#include "app/gs1/check_digit.h"

namespace paltrix::catalogue {
namespace {

struct GtinLength {
  std::size_t length;
  std::size_t digitsUsed;
  std::string_view kind;
};

constexpr GtinLength kGtinLengths[] = {
    {12, 12, "UPC"},
    {13, 12, "GTIN"},
    {14, 13, "EAN-14/SCC/DUN"},
};

}  // namespace

GtinCheck CheckGtin(std::string_view entered) {
  const auto first = entered.find_first_not_of(' ');
  GtinCheck check;
  if (first != std::string_view::npos) {
    check.entered = std::string(entered.substr(first, entered.find_last_not_of(' ') - first + 1));
  }
  for (const GtinLength& rule : kGtinLengths) {
    if (check.entered.size() != rule.length) continue;
    check.kind = rule.kind;
    check.proposed = gs1::AppendCheckDigit(check.entered, rule.digitsUsed);
  }
  return check;
}

}  // namespace paltrix::catalogue
