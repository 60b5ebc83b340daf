#include "tools/paltrix-cli/field_input.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>

#include "app/gs1/check_digit.h"
#include "framework/fields/date_time.h"
#include "framework/text/windows1252.h"
#include "tools/paltrix-cli/cli_error.h"

namespace paltrix::cli {

std::string Quoted(std::string_view utf8) {
  constexpr std::size_t kLongestQuoted = 40;
  const auto continuation = [&](std::size_t at) {
    return (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80;
  };
  std::size_t length = utf8.size();
  if (length > kLongestQuoted) {
    length = kLongestQuoted;
    while (length > 0 && continuation(length)) --length;
  }
  std::string quoted = "\"";
  for (char c : utf8.substr(0, length)) {
    const auto byte = static_cast<unsigned char>(c);
    quoted += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
  quoted += length < utf8.size() ? "\"..." : "\"";
  return quoted;
}

std::string RecordText(std::string_view option, std::string_view utf8, std::size_t maxLength) {
  std::optional<std::string> text = text::FromUtf8(utf8);
  if (!text) {
    throw BadInput(
        fmt::format("{}: {} holds characters that the record files cannot store "
                    "(only Windows-1252 letters)",
                    option, Quoted(utf8)));
  }
  for (char c : *text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      throw BadInput(fmt::format("{}: control characters are not allowed", option));
    }
  }
  if (text->size() > maxLength) {
    throw BadInput(
        fmt::format("{}: {} is longer than {} characters", option, Quoted(utf8), maxLength));
  }
  return std::move(*text);
}

std::int64_t WholeNumber(std::string_view option, std::string_view text, std::int64_t minimum,
                         std::int64_t maximum) {
  const bool negative = minimum < 0 && text.starts_with('-');
  const std::string_view digits = negative ? text.substr(1) : text;
  const bool decimal = !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                                      [](char c) { return c >= '0' && c <= '9'; });
  if (!decimal) {
    throw BadInput(fmt::format("{}: {} is not a whole number written in decimal digits", option,
                               Quoted(text)));
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) {
    throw BadInput(
        fmt::format("{}: {} is outside {} to {}", option, Quoted(text), minimum, maximum));
  }
  return InRange(option, value, minimum, maximum);
}

std::int64_t InRange(std::string_view option, std::int64_t value, std::int64_t minimum,
                     std::int64_t maximum) {
  if (value < minimum || value > maximum) {
    throw BadInput(fmt::format("{}: {} is outside {} to {}", option, value, minimum, maximum));
  }
  return value;
}

std::int32_t DayNumber(std::string_view option, std::string_view isoDate) {
  fields::CivilDate date;
  const bool shaped = isoDate.size() == 10 && isoDate[4] == '-' && isoDate[7] == '-';
  const auto parse = [&](std::size_t at, std::size_t length, int& out) {
    const char* begin = isoDate.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + length, out);
    return error == std::errc() && end == begin + length;
  };
  if (!shaped || !parse(0, 4, date.year) || !parse(5, 2, date.month) || !parse(8, 2, date.day)) {
    throw BadInput(
        fmt::format("{}: {} is not a date of the form YYYY-MM-DD", option, Quoted(isoDate)));
  }
  const std::optional<std::int32_t> day = fields::DayNumberFromCivil(date);
  if (!day) throw BadInput(fmt::format("{}: {} is not a valid date", option, isoDate));
  return *day;
}

std::int64_t KilogramThousandths(std::string_view option, std::string_view text) {
  constexpr std::int64_t kMaxThousandths = 9'999'999;  // decimal(7,3)
  const auto bad = [&] {
    return BadInput(
        fmt::format("{}: {} is not a weight in kg from 0 to 9999.999 with at most three decimals",
                    option, Quoted(text)));
  };
  const std::size_t mark = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, mark);
  const std::string_view decimals =
      mark == std::string_view::npos ? std::string_view{} : text.substr(mark + 1);
  const auto digitsOnly = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.empty() || whole.size() > 4 || decimals.size() > 3 || !digitsOnly(whole) ||
      !digitsOnly(decimals) || (mark != std::string_view::npos && decimals.empty())) {
    throw bad();
  }
  std::int64_t value = 0;
  for (char c : whole) value = value * 10 + (c - '0');
  for (std::size_t i = 0; i < 3; ++i)
    value = value * 10 + (i < decimals.size() ? decimals[i] - '0' : 0);
  if (value > kMaxThousandths) throw bad();
  return value;
}

std::string Gtin(std::string_view option, std::string_view text) {
  const bool digitsOnly =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const bool knownLength =
      text.size() == 8 || text.size() == 12 || text.size() == 13 || text.size() == 14;
  if (!digitsOnly || !knownLength) {
    throw BadInput(
        fmt::format("{}: {} is not a GTIN of 8, 12, 13 or 14 digits", option, Quoted(text)));
  }
  const char expected = gs1::CheckDigit(text.substr(0, text.size() - 1));
  if (text.back() != expected) {
    throw BadInput(
        fmt::format("{}: the check digit of {} is wrong (expected {})", option, text, expected));
  }
  return std::string(text);
}

std::string Utf8(const fields::FieldDef& field, fields::ConstImage image) {
  return text::ToUtf8(fields::ReadText(image, field));
}

}  // namespace paltrix::cli
