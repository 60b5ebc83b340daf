#include "framework/fields/record_codec.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace paltrix::fields {
namespace {

std::uint32_t ReadUnsigned(ConstImage image, std::uint32_t offset, std::uint32_t bytes) {
  assert(offset + bytes <= image.size());
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < bytes; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[offset + i])) << (8 * i);
  }
  return value;
}

void WriteUnsigned(Image image, std::uint32_t offset, std::uint32_t bytes, std::uint32_t value) {
  assert(offset + bytes <= image.size());
  for (std::uint32_t i = 0; i < bytes; ++i) {
    image[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

constexpr unsigned char kNegativeSign = 0xD;

}  // namespace

std::int32_t ReadLong(ConstImage image, const FieldDef& field) {
  return static_cast<std::int32_t>(ReadUnsigned(image, field.offset, 4));
}
void WriteLong(Image image, const FieldDef& field, std::int32_t value) {
  WriteUnsigned(image, field.offset, 4, static_cast<std::uint32_t>(value));
}

std::int16_t ReadShort(ConstImage image, const FieldDef& field) {
  return static_cast<std::int16_t>(ReadUnsigned(image, field.offset, 2));
}
void WriteShort(Image image, const FieldDef& field, std::int16_t value) {
  WriteUnsigned(image, field.offset, 2, static_cast<std::uint16_t>(value));
}

std::uint8_t ReadByte(ConstImage image, const FieldDef& field) {
  return static_cast<std::uint8_t>(ReadUnsigned(image, field.offset, 1));
}
void WriteByte(Image image, const FieldDef& field, std::uint8_t value) {
  WriteUnsigned(image, field.offset, 1, value);
}

std::string ReadText(ConstImage image, const FieldDef& field) {
  assert(field.offset + field.size <= image.size());
  const char* begin = image.data() + field.offset;
  std::size_t length = field.size;
  if (field.type == FieldType::kZText) {
    const void* terminator = std::memchr(begin, '\0', field.size);
    if (terminator != nullptr) length = static_cast<const char*>(terminator) - begin;
  }
  while (length > 0 && (begin[length - 1] == ' ' || begin[length - 1] == '\0')) --length;
  return std::string(begin, length);
}

void WriteText(Image image, const FieldDef& field, std::string_view value) {
  assert(field.offset + field.size <= image.size());
  char* begin = image.data() + field.offset;
  const bool zeroTerminated = field.type == FieldType::kZText;
  const std::size_t room = zeroTerminated ? field.size - 1 : field.size;
  const std::size_t length = std::min(room, value.size());
  if (length > 0) std::memcpy(begin, value.data(), length);  // an empty view may hold nullptr
  std::memset(begin + length, zeroTerminated ? '\0' : ' ', field.size - length);
}

std::int64_t ReadDecimal(ConstImage image, const FieldDef& field) {
  assert(field.offset + field.size <= image.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(image.data() + field.offset);
  std::int64_t value = 0;
  for (std::uint32_t nibble = 1; nibble < field.size * 2; ++nibble) {
    const unsigned char byte = bytes[nibble / 2];
    const unsigned digit = nibble % 2 == 0 ? byte >> 4 : byte & 0x0F;
    value = value * 10 + (digit > 9 ? 0 : digit);
  }
  return (bytes[0] >> 4) == kNegativeSign ? -value : value;
}

bool WriteDecimal(Image image, const FieldDef& field, std::int64_t scaled) {
  assert(field.offset + field.size <= image.size());
  const bool negative = scaled < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(scaled)
                                     : static_cast<std::uint64_t>(scaled);
  const std::uint32_t digitCount = field.size * 2 - 1;
  unsigned char packed[16] = {};
  for (std::uint32_t nibble = digitCount; nibble >= 1; --nibble) {
    const auto digit = static_cast<unsigned char>(magnitude % 10);
    magnitude /= 10;
    packed[nibble / 2] |= nibble % 2 == 0 ? digit << 4 : digit;
  }
  if (magnitude != 0) return false;
  if (negative && scaled != 0) packed[0] |= kNegativeSign << 4;
  std::memcpy(image.data() + field.offset, packed, field.size);
  return true;
}

std::int64_t ReadNumber(ConstImage image, const FieldDef& field) {
  switch (field.type) {
    case FieldType::kLong:
    case FieldType::kDate:
    case FieldType::kTime:
      return ReadLong(image, field);
    case FieldType::kShort:
      return ReadShort(image, field);
    case FieldType::kByte:
      return ReadByte(image, field);
    case FieldType::kDecimal:
      return ReadDecimal(image, field);
    case FieldType::kText:
    case FieldType::kZText:
      break;
  }
  assert(false && "ReadNumber on a text field");
  return 0;
}

}  // namespace paltrix::fields
