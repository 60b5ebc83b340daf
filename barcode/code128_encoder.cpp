#include "barcode/code128_encoder.h"

#include "barcode/code128_table.h"
#include "framework/text/windows1252.h"

namespace paltrix::barcode {
namespace {

using code128::kSetA;
using code128::kSetB;
using code128::kSetCFunctions;

bool IsDigit(std::uint8_t c) {
  return c >= '0' && c <= '9';
}
bool IsSetCFunction(std::uint8_t c) {
  return kSetCFunctions[c] >= 0;
}

class Code128Writer {
 public:
  Code128Writer(std::string_view data, std::vector<Code128Record>& values)
      : data_(data), values_(values) {}

  Code128Set current() const { return values_.empty() ? Code128Set::kNone : values_.back().set; }

  void Add(Code128Set set, int value) {
    values_.push_back(Code128Record{set, static_cast<std::uint8_t>(value)});
  }

  // Enters `set`: its start character first, else a code switch carrying the
  // set in force before it.
  void Enter(Code128Set set) {
    const Code128Set from = current();
    if (from == set) return;
    static constexpr std::uint8_t kStarts[] = {0, code128::kValueStartA, code128::kValueStartB,
                                               code128::kValueStartC};
    static constexpr std::uint8_t kSwitches[] = {0, code128::kValueCodeA, code128::kValueCodeB,
                                                 code128::kValueCodeC};
    const auto index = static_cast<std::size_t>(set);
    if (from == Code128Set::kNone) {
      Add(set, kStarts[index]);
    } else {
      Add(from, kSwitches[index]);
    }
  }

  // Encodes the `count` characters at `at` in set A or B (all present in it).
  void AddSingle(const code128::SetLookup& lookup, Code128Set set, std::size_t at,
                 std::size_t count) {
    for (std::size_t i = at; i < at + count; ++i) {
      Add(set, lookup[static_cast<std::uint8_t>(data_[i])]);
    }
  }

  // Encodes one set-C item at `at` (a function byte alone or a digit pair)
  // and returns the characters it took.
  std::size_t AddSetCItem(std::size_t at) {
    const auto c = static_cast<std::uint8_t>(data_[at]);
    if (IsSetCFunction(c)) {
      Add(Code128Set::kC, kSetCFunctions[c]);
      return 1;
    }
    Add(Code128Set::kC, (c - '0') * 10 + (data_[at + 1] - '0'));
    return 2;
  }

  void Finish() {
    const std::uint8_t check = Code128CheckValue(values_);
    const Code128Set set = current();
    Add(set, check);
    Add(set, code128::kValueStop);
  }

 private:
  std::string_view data_;
  std::vector<Code128Record>& values_;
};

bool FourDigitsAt(std::string_view data, std::size_t q) {
  return q + 3 < data.size() && IsDigit(data[q]) && IsDigit(data[q + 1]) && IsDigit(data[q + 2]) &&
         IsDigit(data[q + 3]);
}

// Characters from `i` that `lookup`'s set holds, stopping where four digits
// in a row begin (those go to set C).
std::size_t RunInSet(std::string_view data, std::size_t i, const code128::SetLookup& lookup) {
  std::size_t q = i;
  while (q < data.size() && lookup[static_cast<std::uint8_t>(data[q])] >= 0 &&
         !FourDigitsAt(data, q)) {
    ++q;
  }
  return q - i;
}

// Characters from `i` that set C takes: function bytes and digit pairs, never
// the very last character.
std::size_t RunInSetC(std::string_view data, std::size_t i) {
  std::size_t q = i;
  while (q + 1 < data.size()) {
    const auto c = static_cast<std::uint8_t>(data[q]);
    if (IsSetCFunction(c)) {
      q += 1;
    } else if (IsDigit(c) && IsDigit(data[q + 1])) {
      q += 2;
    } else {
      break;
    }
  }
  return q - i;
}

Code128Set ChooseSet(Code128Set cur, std::size_t runA, std::size_t runB, std::size_t runC) {
  if ((cur == Code128Set::kNone || cur == Code128Set::kC) && runC > 0) return Code128Set::kC;
  if (runC >= 6) return Code128Set::kC;
  if (runC >= 4 && cur == Code128Set::kA && runA < runB) return Code128Set::kC;
  if (runC >= 4 && cur == Code128Set::kB && runB < runA) return Code128Set::kC;
  if (runC > 0 && runA == 0 && runB == 0) return Code128Set::kC;
  if (runA < runB || (runB >= runA && cur != Code128Set::kA)) return Code128Set::kB;
  return Code128Set::kA;
}

void EncodeAutomatic(std::string_view data, Code128Writer& writer) {
  std::size_t i = 0;
  while (i < data.size()) {
    const std::size_t runA = RunInSet(data, i, kSetA);
    const std::size_t runB = RunInSet(data, i, kSetB);
    const std::size_t runC = RunInSetC(data, i);
    if (runA == 0 && runB == 0 && runC == 0) {
      ++i;  // no set holds this byte
      continue;
    }
    const Code128Set set = ChooseSet(writer.current(), runA, runB, runC);
    writer.Enter(set);
    if (set == Code128Set::kC) {
      for (const std::size_t end = i + runC; i < end;) i += writer.AddSetCItem(i);
    } else if (set == Code128Set::kB) {
      writer.AddSingle(kSetB, set, i, runB);
      i += runB;
    } else {
      writer.AddSingle(kSetA, set, i, runA);
      i += runA;
    }
  }
}

void EncodeSingleSet(std::string_view data, Code128Set set, Code128Writer& writer) {
  const code128::SetLookup& lookup = set == Code128Set::kA ? kSetA : kSetB;
  writer.Enter(set);
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (lookup[static_cast<std::uint8_t>(data[i])] >= 0) writer.AddSingle(lookup, set, i, 1);
  }
}

// Set C only: digit pairs and set-C function bytes, each digit run before a
// function byte of even length. Without any function byte an odd number of
// digits gets a leading "0". Returns false for data set C cannot carry.
bool NormaliseSetCData(std::string_view data, std::string& normalised) {
  if (data.empty()) return false;
  std::size_t digitRun = 0;
  bool sawFunction = false;
  for (const char ch : data) {
    const auto c = static_cast<std::uint8_t>(ch);
    if (IsDigit(c)) {
      ++digitRun;
      continue;
    }
    if (!IsSetCFunction(c) || digitRun % 2 != 0) return false;
    sawFunction = true;
    digitRun = 0;
  }
  normalised.clear();
  if (!sawFunction && data.size() % 2 != 0) {
    normalised.push_back('0');
  } else if (digitRun % 2 != 0) {
    return false;
  }
  normalised.append(data);
  return true;
}

}  // namespace

void EncodeCode128(std::string_view data, Symbology mode, std::vector<Code128Record>& values) {
  values.clear();
  data = text::TrimRight(data);
  if (data.empty()) return;

  std::string normalised;
  if (mode == Symbology::kCode128SetC || mode == Symbology::kGs1_128) {
    if (!NormaliseSetCData(data, normalised)) return;
    data = normalised;
  }
  Code128Writer writer(data, values);
  switch (mode) {
    case Symbology::kCode128SetA:
      EncodeSingleSet(data, Code128Set::kA, writer);
      break;
    case Symbology::kCode128SetB:
      EncodeSingleSet(data, Code128Set::kB, writer);
      break;
    case Symbology::kGs1_128:
      writer.Add(Code128Set::kC, code128::kValueStartC);
      writer.Add(Code128Set::kC, code128::kValueFnc1);
      [[fallthrough]];
    case Symbology::kCode128SetC:
      writer.Enter(Code128Set::kC);
      for (std::size_t i = 0; i < data.size();) i += writer.AddSetCItem(i);
      break;
    default:
      EncodeAutomatic(data, writer);
      break;
  }
  writer.Finish();
}

std::uint8_t Code128CheckValue(std::span<const Code128Record> values) {
  if (values.empty()) return 0;
  std::uint32_t sum = values[0].value;
  for (std::size_t position = 1; position < values.size(); ++position) {
    sum += static_cast<std::uint32_t>(position) * values[position].value;
  }
  return static_cast<std::uint8_t>(sum % 103);
}

std::string_view Code128Pattern(int value) {
  if (value < 0 || value >= code128::kValueCount) return {};
  return code128::kCharacters[static_cast<std::size_t>(value)].pattern;
}

Symbol Code128Symbol(std::span<const Code128Record> values) {
  Symbol symbol;
  symbol.moduleCount = Code128ModuleCount(values.size());
  symbol.elements.reserve(values.size() * 6 + 1);
  for (const Code128Record& record : values) {
    for (const char digit : Code128Pattern(record.value)) symbol.elements.push_back(digit - '0');
  }
  return symbol;
}

std::string Code128Text(std::string_view data) {
  std::string text;
  text.reserve(data.size());
  for (const char c : data) {
    if (!code128::IsReservedByte(static_cast<std::uint8_t>(c))) text.push_back(c);
  }
  return text;
}

Symbol Code128Encoder::EncodeSymbol(std::string_view data) {
  Encode(data);
  Symbol symbol = Code128Symbol(BCQ);
  // An empty symbol still lays out its start/stop frame, as a blank control.
  if (symbol.moduleCount == 0) symbol.moduleCount = 2;
  return symbol;
}

}  // namespace paltrix::barcode
