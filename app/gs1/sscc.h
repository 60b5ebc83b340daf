#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/records/firma.h"
#include "framework/result.h"

namespace paltrix::gs1 {

// The largest company prefix (FIR:SSCCNR, extension digit and GS1 company
// prefix) and serial reference (FIR:SS) that fit their 8 and 9 places.
inline constexpr std::int32_t kLargestCompanyPrefix = 99'999'999;
inline constexpr std::int32_t kLargestSerial = records::firma::kLargestSerial;
inline constexpr std::size_t kSsccLength = 18;

// The SSCC of a company prefix and serial: the prefix as 8 digits and the
// serial as 9, both zero-filled, followed by the check digit (18 digits).
// Fails with kInvalidValue when either number is negative or too large for
// its places; a wider number would shift every later digit of the code.
Result<std::string> SsccFromParts(std::int32_t companyPrefix, std::int32_t serial);

// True when `text` is 18 digits whose last digit is the check digit of the
// first 17.
bool IsValidSscc(std::string_view text);

}  // namespace paltrix::gs1
