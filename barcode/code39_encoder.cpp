#include "barcode/code39_encoder.h"

#include <array>

#include "barcode/barcode.h"
#include "barcode/element_runs.h"

namespace paltrix::barcode {
namespace {

// ISO/IEC 16388 Table 1: characters in value order and their nine elements
// (bar, space, ... ; "1" wide), three of them wide.
constexpr std::string_view kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr std::array<std::string_view, 43> kPatterns{
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000",
    "000100101", "100100100", "001100100", "100001001", "001001001", "101001000", "000011001",
    "100011000", "001011000", "000001101", "100001100", "001001100", "000011100", "100000011",
    "001000011", "101000010", "000010011", "100010010", "001010010", "000000111", "100000110",
    "001000110", "000010110", "110000001", "011000001", "111000000", "010010001", "110010000",
    "011010000", "010000101", "110000100", "011000100", "010101000", "010100010", "010001010",
    "000101010"};
constexpr std::string_view kStartStop = "010010100";  // "*"
static_assert(kAlphabet.size() == kPatterns.size());

constexpr bool PatternsHaveThreeWide() {
  for (const std::string_view pattern : kPatterns) {
    int wide = 0;
    for (const char e : pattern) wide += e == '1';
    if (pattern.size() != 9 || wide != 3) return false;
  }
  return true;
}
static_assert(PatternsHaveThreeWide());

// ISO/IEC 16388 Annex: the full ASCII table, by byte.
constexpr std::array<std::string_view, 128> BuildFullAsciiTable() {
  std::array<std::string_view, 128> table{};
  constexpr std::string_view kDollar[26] = {"$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I",
                                            "$J", "$K", "$L", "$M", "$N", "$O", "$P", "$Q", "$R",
                                            "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z"};
  constexpr std::string_view kPlus[26] = {"+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I",
                                          "+J", "+K", "+L", "+M", "+N", "+O", "+P", "+Q", "+R",
                                          "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z"};
  constexpr std::string_view kSlash[12] = {"/A", "/B", "/C", "/D", "/E", "/F",
                                           "/G", "/H", "/I", "/J", "/K", "/L"};
  table[0] = "%U";
  for (int i = 0; i < 26; ++i) table[1 + i] = kDollar[i];
  constexpr std::string_view kControls[5] = {"%A", "%B", "%C", "%D", "%E"};  // 27..31
  for (int i = 0; i < 5; ++i) table[27 + i] = kControls[i];
  table[' '] = " ";
  for (int i = 0; i < 12; ++i) table['!' + i] = kSlash[i];  // ! " # $ % & ' ( ) * + ,
  table['-'] = "-";
  table['.'] = ".";
  table['/'] = "/O";
  constexpr std::string_view kDigits = "0123456789";
  for (int i = 0; i < 10; ++i) table['0' + i] = kDigits.substr(static_cast<std::size_t>(i), 1);
  table[':'] = "/Z";
  constexpr std::string_view kPunctuation1[5] = {"%F", "%G", "%H", "%I", "%J"};  // ; < = > ?
  for (int i = 0; i < 5; ++i) table[';' + i] = kPunctuation1[i];
  table['@'] = "%V";
  for (int i = 0; i < 26; ++i)
    table['A' + i] = kAlphabet.substr(static_cast<std::size_t>(10 + i), 1);
  constexpr std::string_view kPunctuation2[5] = {"%K", "%L", "%M", "%N", "%O"};  // [ \ ] ^ _
  for (int i = 0; i < 5; ++i) table['[' + i] = kPunctuation2[i];
  table['`'] = "%W";
  for (int i = 0; i < 26; ++i) table['a' + i] = kPlus[i];
  constexpr std::string_view kPunctuation3[5] = {"%P", "%Q", "%R", "%S", "%T"};  // { | } ~ DEL
  for (int i = 0; i < 5; ++i) table['{' + i] = kPunctuation3[i];
  return table;
}
constexpr std::array<std::string_view, 128> kFullAscii = BuildFullAsciiTable();
static_assert(kFullAscii[0] == "%U" && kFullAscii['a'] == "+A" && kFullAscii[','] == "/L" &&
              kFullAscii[127] == "%T" && kFullAscii['_'] == "%O");

char UpperCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::optional<int> Code39Value(char c) {
  const std::size_t at = kAlphabet.find(c);
  if (at == std::string_view::npos) return std::nullopt;
  return static_cast<int>(at);
}

std::string_view Code39FullAsciiPair(unsigned char c) {
  return c < 128 ? kFullAscii[c] : "";
}

std::string Code39Encoder::Characters(std::string_view data) {
  std::string characters;
  auto append = [&](char c) {
    if (Code39Value(c)) {
      characters.push_back(c);
    } else {
      MYBC->ShowMessage(std::string(kCode39InvalidCodeText) + c, "");
    }
  };
  for (const char c : data) {
    if (!fullAscii_) {
      append(UpperCase(c));
      continue;
    }
    const std::string_view pair = Code39FullAsciiPair(static_cast<unsigned char>(c));
    if (pair.empty()) {
      append(c);
    } else {
      for (const char p : pair) append(p);
    }
  }
  if (MYBC->ADDCHECKDIGIT == 1) {
    int sum = 0;
    for (const char c : characters) sum += *Code39Value(c);
    characters.push_back(kAlphabet[static_cast<std::size_t>(sum % 43)]);
  }
  return characters;
}

Symbol Code39Encoder::EncodeSymbol(std::string_view data) {
  Symbol symbol;
  const std::string characters = Characters(data);
  const double ratio = MYBC->WIDE2NARROWRATIO;
  AppendNarrowWide(kStartStop, ratio, symbol.elements);
  for (const char c : characters) {
    symbol.elements.push_back(1.0);  // the narrow gap between characters
    AppendNarrowWide(kPatterns[static_cast<std::size_t>(*Code39Value(c))], ratio, symbol.elements);
  }
  symbol.elements.push_back(1.0);
  AppendNarrowWide(kStartStop, ratio, symbol.elements);
  symbol.moduleCount = ModuleSum(symbol.elements);
  return symbol;
}

}  // namespace paltrix::barcode
