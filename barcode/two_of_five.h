#pragma once

#include <optional>
#include <string>
#include <string_view>

// What Interleaved and Standard 2 of 5 share: the five-element digit
// patterns (two of them wide) and the digits with their optional check digit.
namespace paltrix::barcode::two_of_five {

// Elements of digit `d`, "1" wide: "00110" for 0, "10001" for 1 ...
std::string_view Pattern(int d);

// The digits of `data` with the modulo-10 check digit (weights 3 and 1 from
// the right) appended when `addCheckDigit`; nullopt when `data` holds
// anything but digits or nothing.
std::optional<std::string> Digits(std::string_view data, bool addCheckDigit);

}  // namespace paltrix::barcode::two_of_five
