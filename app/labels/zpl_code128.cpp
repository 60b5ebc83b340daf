#include "app/labels/zpl_code128.h"

#include "barcode/code128_table.h"

namespace paltrix::labels {
namespace {

using barcode::Code128Record;
using barcode::Code128Set;
namespace code128 = barcode::code128;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Value of the invocation code ">" `code` in subset A or B; -1 for none.
int InvocationValue(char code) {
  switch (code) {
    case '0':
      return 30;  // ">" in subset B
    case '<':
      return 62;  // "^" in subset B
    case '=':
      return 94;  // "~" in subset B
    case '1':
      return 95;
    case '2':
      return 96;
    case '3':
      return 97;
    case '4':
      return 98;
    case '5':
      return code128::kValueCodeC;
    case '6':
      return code128::kValueCodeB;
    case '7':
      return code128::kValueCodeA;
    case '8':
      return code128::kValueFnc1;
    default:
      return -1;
  }
}

// The set a value switches to from `set`, or `set` itself.
Code128Set SetAfter(Code128Set set, int value) {
  if (value == code128::kValueCodeC) return set == Code128Set::kC ? set : Code128Set::kC;
  if (value == code128::kValueCodeB && set != Code128Set::kB) return Code128Set::kB;
  if (value == code128::kValueCodeA && set != Code128Set::kA) return Code128Set::kA;
  return set;
}

}  // namespace

std::optional<std::vector<Code128Record>> ZplCode128Symbol(std::string_view data) {
  if (data.size() < 2 || data[0] != '>') return std::nullopt;
  Code128Set set;
  switch (data[1]) {
    case '9':
      set = Code128Set::kA;
      break;
    case ':':
      set = Code128Set::kB;
      break;
    case ';':
      set = Code128Set::kC;
      break;
    default:
      return std::nullopt;
  }
  std::vector<Code128Record> values;
  values.push_back(
      {set, static_cast<std::uint8_t>(code128::kValueStartA + static_cast<int>(set) - 1)});
  for (std::size_t i = 2; i < data.size();) {
    int value = -1;
    if (data[i] == '>' && i + 1 < data.size()) {
      value = InvocationValue(data[i + 1]);
      if (set == Code128Set::kC && value >= 0 && value < code128::kValueCodeC) value = -1;
      i += 2;
    } else if (set == Code128Set::kC) {
      if (i + 1 < data.size() && IsDigit(data[i]) && IsDigit(data[i + 1])) {
        value = (data[i] - '0') * 10 + (data[i + 1] - '0');
      }
      i += 2;
    } else {
      const auto byte = static_cast<std::uint8_t>(data[i]);
      value = set == Code128Set::kA ? code128::kSetA[byte] : code128::kSetB[byte];
      if (value > 95) value = -1;  // only data characters stand for themselves
      i += 1;
    }
    if (value < 0) return std::nullopt;
    values.push_back({set, static_cast<std::uint8_t>(value)});
    set = SetAfter(set, value);
  }
  const std::uint8_t check = barcode::Code128CheckValue(values);
  values.push_back({set, check});
  values.push_back({set, code128::kValueStop});
  return values;
}

}  // namespace paltrix::labels
