#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "barcode/barcode_encoder.h"
#include "barcode/symbology.h"

// Code 128 (ISO/IEC 15417) and GS1-128 (GS1 General Specifications 5.4):
// symbologies 3 (code sets chosen automatically), 4, 5, 6 (one set only) and
// 14 (set C after START C and FNC1). Function characters are reserved bytes
// of the data (code128_table.h); FNC1 is byte 201.
namespace paltrix::barcode {

enum class Code128Set : std::uint8_t { kNone = 0, kA = 1, kB = 2, kC = 3 };

// One symbol character: its value and the code set it belongs to (a start its
// own set, a code switch the set before it, check and STOP the set before).
struct Code128Record {
  Code128Set set = Code128Set::kNone;
  std::uint8_t value = 0;
  friend bool operator==(const Code128Record&, const Code128Record&) = default;
};

// Fills `values` with the symbol for `data` under `mode`: start, data and
// switches, check character, STOP. Leaves it empty for data that is empty
// after its trailing blanks, and under codes 6 and 14 for data that is not
// digit pairs and set-C function bytes. Bytes no set can carry are skipped.
// REQUIRES: mode is one of the five Code 128 codes.
void EncodeCode128(std::string_view data, Symbology mode, std::vector<Code128Record>& values);

// The check value of ISO/IEC 15417: start value plus each following value
// times its position, modulo 103.
std::uint8_t Code128CheckValue(std::span<const Code128Record> values);

// Modules of a symbol of `valueCount` characters, STOP included, without
// quiet zones.
constexpr std::int32_t Code128ModuleCount(std::size_t valueCount) {
  return valueCount == 0 ? 0 : static_cast<std::int32_t>(11 * valueCount + 2);
}

// The element widths of `value`; empty for a value outside 0..106.
std::string_view Code128Pattern(int value);

// The drawable symbol of a value list.
Symbol Code128Symbol(std::span<const Code128Record> values);

// Data with the reserved function bytes removed: what the human-readable
// line shows.
std::string Code128Text(std::string_view data);

class Code128Encoder final : public BarcodeEncoder {
 public:
  explicit Code128Encoder(Symbology mode) : mode_(mode) {}

  // Fills BCQ with the symbol of `data`.
  void Encode(std::string_view data) { EncodeCode128(data, mode_, BCQ); }

  Symbol EncodeSymbol(std::string_view data) override;
  std::string HumanReadable(std::string_view data) const override { return Code128Text(data); }

  // The symbol values of the last Encode.
  std::vector<Code128Record> BCQ;

 private:
  Symbology mode_;
};

}  // namespace paltrix::barcode
