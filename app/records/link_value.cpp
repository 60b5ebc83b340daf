#include "app/records/link_value.h"

#include <cassert>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "framework/text/windows1252.h"

namespace paltrix::records {
namespace {

using fields::FieldType;

bool IsText(const fields::FieldDef& field) {
  return field.type == FieldType::kText || field.type == FieldType::kZText;
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  text = text::TrimRight(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

bool WriteWholeNumber(fields::Image image, const fields::FieldDef& field, std::int64_t value) {
  const auto fits = [value](std::int64_t low, std::int64_t high) {
    return value >= low && value <= high;
  };
  switch (field.type) {
    case FieldType::kLong:
    case FieldType::kDate:
    case FieldType::kTime:
      if (!fits(std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max())) {
        return false;
      }
      fields::WriteLong(image, field, static_cast<std::int32_t>(value));
      return true;
    case FieldType::kShort:
      if (!fits(std::numeric_limits<std::int16_t>::min(),
                std::numeric_limits<std::int16_t>::max())) {
        return false;
      }
      fields::WriteShort(image, field, static_cast<std::int16_t>(value));
      return true;
    case FieldType::kByte:
      if (!fits(0, 255)) return false;
      fields::WriteByte(image, field, static_cast<std::uint8_t>(value));
      return true;
    case FieldType::kText:
    case FieldType::kZText:
    case FieldType::kDecimal:
      break;
  }
  assert(false && "not a whole-number field");
  return false;
}

bool WriteWholeText(fields::Image image, const fields::FieldDef& field, std::string_view value) {
  const std::size_t room = field.type == FieldType::kZText ? field.size - 1 : field.size;
  if (text::TrimRight(value).size() > room) return false;
  fields::WriteText(image, field, value);
  return true;
}

}  // namespace

bool CopyLinkValue(fields::ConstImage from, const fields::FieldDef& fromField, fields::Image to,
                   const fields::FieldDef& toField) {
  assert(fromField.type != FieldType::kDecimal && toField.type != FieldType::kDecimal);
  if (IsText(fromField)) {
    const std::string value = fields::ReadText(from, fromField);
    if (IsText(toField)) return WriteWholeText(to, toField, value);
    const std::optional<std::int64_t> number = ParseWholeNumber(value);
    return number.has_value() && WriteWholeNumber(to, toField, *number);
  }
  const std::int64_t number = fields::ReadNumber(from, fromField);
  if (IsText(toField)) return WriteWholeText(to, toField, std::to_string(number));
  return WriteWholeNumber(to, toField, number);
}

bool SameKeyValue(fields::ConstImage a, fields::ConstImage b, const fields::FieldDef& field) {
  if (IsText(field)) {
    return text::CompareNoCase(fields::ReadText(a, field), fields::ReadText(b, field)) == 0;
  }
  return fields::ReadNumber(a, field) == fields::ReadNumber(b, field);
}

}  // namespace paltrix::records
