#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/fields/field_types.h"

// Reading and writing field values inside a record image. All integers are
// little-endian. REQUIRES: field.offset + field.size <= image.size() and the
// field is of the type the function names.
namespace paltrix::fields {

using ConstImage = std::span<const char>;
using Image = std::span<char>;

std::int32_t ReadLong(ConstImage image, const FieldDef& field);
void WriteLong(Image image, const FieldDef& field, std::int32_t value);

std::int16_t ReadShort(ConstImage image, const FieldDef& field);
void WriteShort(Image image, const FieldDef& field, std::int16_t value);

std::uint8_t ReadByte(ConstImage image, const FieldDef& field);
void WriteByte(Image image, const FieldDef& field, std::uint8_t value);

// Text and ztext read without trailing blanks (ztext: up to the first zero
// byte). Writes cut what does not fit (ztext keeps room for its terminator)
// and pad with blanks (text) or zero bytes (ztext).
std::string ReadText(ConstImage image, const FieldDef& field);
void WriteText(Image image, const FieldDef& field, std::string_view value);

// Packed decimals as whole numbers scaled by 10^places: 12.500 in a
// decimal(7,3) is 12500. The layout is sign nibble (0x0 positive, 0xD
// negative) followed by BCD digits, most significant first.
std::int64_t ReadDecimal(ConstImage image, const FieldDef& field);
// False, and the field untouched, when the value has more digits than fit.
bool WriteDecimal(Image image, const FieldDef& field, std::int64_t scaled);

// Any numeric field (long, short, byte, date, time, decimal) as a number
// (decimals scaled as above); used for key columns and generic access.
std::int64_t ReadNumber(ConstImage image, const FieldDef& field);

}  // namespace paltrix::fields
