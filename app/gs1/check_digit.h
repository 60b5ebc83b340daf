#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace paltrix::gs1 {

// The GS1 modulo-10 check digit over the first `length` characters of `text`.
//
// The text is first padded on the right with "0" up to `length` characters and
// cut to `length`. Weights 3 and 1 alternate from the rightmost character
// (weight 3) leftwards; the check digit is 10 minus the weighted sum modulo 10,
// with 10 written as 0. Returns those `length` characters with trailing blanks
// removed, followed by the check digit.
//
// The input is not validated: a character that is not a digit counts as 0.
std::string AppendCheckDigit(std::string_view text, std::size_t length);

// The check digit alone (as above) over all of `digits`.
char CheckDigit(std::string_view digits);

}  // namespace paltrix::gs1
