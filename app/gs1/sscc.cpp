#include "app/gs1/sscc.h"

#include <fmt/format.h>

#include "app/gs1/check_digit.h"
#include "app/gs1/digits.h"

namespace paltrix::gs1 {

Result<std::string> SsccFromParts(std::int32_t companyPrefix, std::int32_t serial) {
  if (companyPrefix < 0 || companyPrefix > kLargestCompanyPrefix) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The GS1 prefix {} does not fit in 8 digits", companyPrefix));
  }
  if (serial < 0 || serial > kLargestSerial) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The SSCC serial {} does not fit in 9 digits", serial));
  }
  return AppendCheckDigit(fmt::format("{:08}{:09}", companyPrefix, serial), kSsccLength - 1);
}

bool IsValidSscc(std::string_view text) {
  return text.size() == kSsccLength && AllDigits(text) &&
         CheckDigit(text.substr(0, kSsccLength - 1)) == text.back();
}

}  // namespace paltrix::gs1
