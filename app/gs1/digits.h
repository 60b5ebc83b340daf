#pragma once

#include <algorithm>
#include <string_view>

namespace paltrix::gs1 {

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// True when every character of `text` is a digit 0-9 (and so for "").
constexpr bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace paltrix::gs1
