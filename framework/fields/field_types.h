#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Field types of fixed-length record images and the declaration of a layout.
//
// A layout is a constexpr array of FieldDef, one per field in record order.
// IsContiguousLayout() lets each layout prove at compile time that its fields
// follow each other without gaps or overlaps and add up to the record length:
//
//   inline constexpr FieldDef kFields[] = {ZText("PRO:PRODUKTID", 0, 20), ...};
//   static_assert(IsContiguousLayout(kFields, 215));
namespace paltrix::fields {

enum class FieldType : std::uint8_t {
  kLong,     // 32-bit signed, little-endian
  kShort,    // 16-bit signed, little-endian
  kByte,     // unsigned 0..255
  kDate,     // 32-bit day number, 1 January 1801 is day 4 (see date_time.h)
  kTime,     // 32-bit hundredths of a second after midnight, plus one
  kText,     // blank-padded
  kZText,    // zero-terminated, at most size-1 characters
  kDecimal,  // signed packed decimal(digits, places), digits/2+1 bytes
};

struct FieldDef {
  std::string_view name;
  FieldType type;
  std::uint32_t offset;
  std::uint32_t size;  // bytes inside the record image
  std::uint8_t digits = 0;
  std::uint8_t places = 0;
};

constexpr std::uint32_t PackedDecimalSize(std::uint8_t digits) { return digits / 2u + 1u; }

constexpr FieldDef Long(std::string_view name, std::uint32_t offset) {
  return {name, FieldType::kLong, offset, 4};
}
constexpr FieldDef Short(std::string_view name, std::uint32_t offset) {
  return {name, FieldType::kShort, offset, 2};
}
constexpr FieldDef Byte(std::string_view name, std::uint32_t offset) {
  return {name, FieldType::kByte, offset, 1};
}
constexpr FieldDef Date(std::string_view name, std::uint32_t offset) {
  return {name, FieldType::kDate, offset, 4};
}
constexpr FieldDef Time(std::string_view name, std::uint32_t offset) {
  return {name, FieldType::kTime, offset, 4};
}
constexpr FieldDef Text(std::string_view name, std::uint32_t offset, std::uint32_t length) {
  return {name, FieldType::kText, offset, length};
}
constexpr FieldDef ZText(std::string_view name, std::uint32_t offset, std::uint32_t length) {
  return {name, FieldType::kZText, offset, length};
}
constexpr FieldDef Decimal(std::string_view name, std::uint32_t offset, std::uint8_t digits,
                           std::uint8_t places) {
  return {name, FieldType::kDecimal, offset, PackedDecimalSize(digits), digits, places};
}

// True when every field starts where the previous one ended, the first starts
// at 0 and the last ends at recordLength.
constexpr bool IsContiguousLayout(std::span<const FieldDef> fields, std::uint32_t recordLength) {
  std::uint32_t next = 0;
  for (const FieldDef& field : fields) {
    if (field.offset != next || field.size == 0) return false;
    next = field.offset + field.size;
  }
  return next == recordLength;
}

// True when the layout has a field of that name. Usable in static_assert also
// under -fsanitize=undefined, where GCC refuses to compare an address with
// nullptr in a constant expression (so FindField(...) == nullptr is not).
constexpr bool HasField(std::span<const FieldDef> fields, std::string_view name) {
  for (const FieldDef& field : fields) {
    if (field.name == name) return true;
  }
  return false;
}

// The field with the given name, or nullptr.
constexpr const FieldDef* FindField(std::span<const FieldDef> fields, std::string_view name) {
  for (const FieldDef& field : fields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

}  // namespace paltrix::fields
