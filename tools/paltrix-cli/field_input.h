#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/fields/record_codec.h"

// Checking command-line values before they go into a record. Every function
// throws CommandError (bad input) with a message naming the option, so a
// command checks all its values before it writes anything.
namespace paltrix::cli {

// UTF-8 command-line text as Windows-1252 record text of at most maxLength
// characters.
std::string RecordText(std::string_view option, std::string_view utf8, std::size_t maxLength);

// Command-line text as a whole number within [minimum, maximum]: decimal
// digits, with leading zeros read as decimal, and a leading minus sign when
// minimum < 0. Empty text, blanks, a plus sign, hexadecimal or any other
// form is refused.
std::int64_t WholeNumber(std::string_view option, std::string_view text, std::int64_t minimum,
                         std::int64_t maximum);

// `value` when it lies within [minimum, maximum]; otherwise bad input naming
// the option and the range.
std::int64_t InRange(std::string_view option, std::int64_t value, std::int64_t minimum,
                     std::int64_t maximum);

// A value as messages quote it: at most a short prefix of it (cut at a
// character boundary, "..." added), control characters shown as "?".
std::string Quoted(std::string_view utf8);

// "YYYY-MM-DD" as a record day number.
std::int32_t DayNumber(std::string_view option, std::string_view isoDate);

// A weight in kilograms with at most three decimals ("12.5", "12,500"), as
// thousandths, within what a decimal(7,3) holds.
std::int64_t KilogramThousandths(std::string_view option, std::string_view text);

// A GTIN as the catalogue stores it: 8, 12, 13 or 14 digits with a correct
// GS1 check digit.
std::string Gtin(std::string_view option, std::string_view text);

// Record text as UTF-8 for the terminal.
std::string Utf8(const fields::FieldDef& field, fields::ConstImage image);

}  // namespace paltrix::cli
