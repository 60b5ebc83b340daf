#include "app/gs1/check_digit.h"

#include "app/gs1/digits.h"
#include "framework/text/windows1252.h"

namespace paltrix::gs1 {

char CheckDigit(std::string_view digits) {
  int sum = 0;
  int weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    const int digit = IsDigit(*it) ? *it - '0' : 0;
    sum += digit * weight;
    weight = 4 - weight;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string AppendCheckDigit(std::string_view text, std::size_t length) {
  std::string digits(text.substr(0, length));
  digits.resize(length, '0');
  const char check = CheckDigit(digits);
  std::string result(text::TrimRight(digits));
  result += check;
  return result;
}

}  // namespace paltrix::gs1
