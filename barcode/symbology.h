#pragma once

#include <cstdint>

namespace paltrix::barcode {

// Symbology codes, the values of the barcode's BCTYPE. Codes 15 to 20 are
// accepted and draw nothing; 0 and codes above 20 are invalid.
enum class Symbology : std::uint8_t {
  kNone = 0,
  kCode39 = 1,
  kCode39FullAscii = 2,
  kCode128Auto = 3,
  kCode128SetA = 4,
  kCode128SetB = 5,
  kCode128SetC = 6,
  kEan13 = 7,
  kUpcE = 8,
  kUpcA = 9,
  kEan8 = 10,
  kInterleaved2Of5 = 11,
  kStandard2Of5 = 12,
  kCodabar = 13,
  kGs1_128 = 14,
};

inline constexpr std::uint8_t kHighestSymbologyCode = 20;

}  // namespace paltrix::barcode
