#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "barcode/barcode_encoder.h"

// Code 39 (ISO/IEC 16388), symbology 1, and its full ASCII form, symbology
// 2, which writes each byte 0..127 as one or two Code 39 characters.
namespace paltrix::barcode {

inline constexpr std::string_view kCode39InvalidCodeText = "Invalid code in barcode: ";

// The value 0..42 of a Code 39 data character, nullopt for others.
std::optional<int> Code39Value(char c);

// The Code 39 characters of byte `c` in the full ASCII table ("$A" for
// control-A, "+A" for "a", "%U" for NUL ...); empty above 127.
std::string_view Code39FullAsciiPair(unsigned char c);

class Code39Encoder final : public BarcodeEncoder {
 public:
  explicit Code39Encoder(bool fullAscii) : fullAscii_(fullAscii) {}

  Symbol EncodeSymbol(std::string_view data) override;

  // The Code 39 characters drawn between start and stop: upper-cased (code
  // 1) or translated (code 2), with the optional modulo-43 check character.
  // Characters Code 39 lacks are reported and left out.
  std::string Characters(std::string_view data);

 private:
  bool fullAscii_;
};

}  // namespace paltrix::barcode
