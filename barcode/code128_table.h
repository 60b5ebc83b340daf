#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The Code 128 symbol character table of ISO/IEC 15417 (Table 1): 107 symbol
// values with the data each stands for in code sets A, B and C and its
// element widths in modules, bar first.
//
// Function characters travel inside barcode data as single reserved bytes:
// FNC1 201, FNC2 202, FNC3 203, FNC4 204, SHIFT 240, CODE A 241, CODE B 242,
// CODE C 243, START A/B/C 251/252/253, STOP 255. In set C the values 0..99
// stand for the digit pairs "00".."99" (kPair); the bytes that stand alone
// in set C are FNC1, CODE A, CODE B, the starts and STOP.
namespace paltrix::barcode::code128 {

inline constexpr std::uint8_t kFnc1 = 201;
inline constexpr std::uint8_t kValueCodeB = 100;
inline constexpr std::uint8_t kValueCodeA = 101;
inline constexpr std::uint8_t kValueCodeC = 99;
inline constexpr std::uint8_t kValueFnc1 = 102;
inline constexpr std::uint8_t kValueStartA = 103;
inline constexpr std::uint8_t kValueStartB = 104;
inline constexpr std::uint8_t kValueStartC = 105;
inline constexpr std::uint8_t kValueStop = 106;
inline constexpr std::int16_t kPair = -1;
inline constexpr int kValueCount = 107;
inline constexpr int kCharacterModules = 11;
inline constexpr int kStopModules = 13;

struct Character {
  std::uint8_t value;
  std::uint8_t codeA;  // the data byte in set A
  std::uint8_t codeB;  // the data byte in set B
  std::int16_t codeC;  // kPair for "00".."99", else the reserved byte
  std::string_view pattern;
};

inline constexpr std::array<Character, kValueCount> kCharacters{{
    {0, 32, 32, kPair, "212222"},    {1, 33, 33, kPair, "222122"},   {2, 34, 34, kPair, "222221"},
    {3, 35, 35, kPair, "121223"},    {4, 36, 36, kPair, "121322"},   {5, 37, 37, kPair, "131222"},
    {6, 38, 38, kPair, "122213"},    {7, 39, 39, kPair, "122312"},   {8, 40, 40, kPair, "132212"},
    {9, 41, 41, kPair, "221213"},    {10, 42, 42, kPair, "221312"},  {11, 43, 43, kPair, "231212"},
    {12, 44, 44, kPair, "112232"},   {13, 45, 45, kPair, "122132"},  {14, 46, 46, kPair, "122231"},
    {15, 47, 47, kPair, "113222"},   {16, 48, 48, kPair, "123122"},  {17, 49, 49, kPair, "123221"},
    {18, 50, 50, kPair, "223211"},   {19, 51, 51, kPair, "221132"},  {20, 52, 52, kPair, "221231"},
    {21, 53, 53, kPair, "213212"},   {22, 54, 54, kPair, "223112"},  {23, 55, 55, kPair, "312131"},
    {24, 56, 56, kPair, "311222"},   {25, 57, 57, kPair, "321122"},  {26, 58, 58, kPair, "321221"},
    {27, 59, 59, kPair, "312212"},   {28, 60, 60, kPair, "322112"},  {29, 61, 61, kPair, "322211"},
    {30, 62, 62, kPair, "212123"},   {31, 63, 63, kPair, "212321"},  {32, 64, 64, kPair, "232121"},
    {33, 65, 65, kPair, "111323"},   {34, 66, 66, kPair, "131123"},  {35, 67, 67, kPair, "131321"},
    {36, 68, 68, kPair, "112313"},   {37, 69, 69, kPair, "132113"},  {38, 70, 70, kPair, "132311"},
    {39, 71, 71, kPair, "211313"},   {40, 72, 72, kPair, "231113"},  {41, 73, 73, kPair, "231311"},
    {42, 74, 74, kPair, "112133"},   {43, 75, 75, kPair, "112331"},  {44, 76, 76, kPair, "132131"},
    {45, 77, 77, kPair, "113123"},   {46, 78, 78, kPair, "113321"},  {47, 79, 79, kPair, "133121"},
    {48, 80, 80, kPair, "313121"},   {49, 81, 81, kPair, "211331"},  {50, 82, 82, kPair, "231131"},
    {51, 83, 83, kPair, "213113"},   {52, 84, 84, kPair, "213311"},  {53, 85, 85, kPair, "213131"},
    {54, 86, 86, kPair, "311123"},   {55, 87, 87, kPair, "311321"},  {56, 88, 88, kPair, "331121"},
    {57, 89, 89, kPair, "312113"},   {58, 90, 90, kPair, "312311"},  {59, 91, 91, kPair, "332111"},
    {60, 92, 92, kPair, "314111"},   {61, 93, 93, kPair, "221411"},  {62, 94, 94, kPair, "431111"},
    {63, 95, 95, kPair, "111224"},   {64, 0, 96, kPair, "111422"},   {65, 1, 97, kPair, "121124"},
    {66, 2, 98, kPair, "121421"},    {67, 3, 99, kPair, "141122"},   {68, 4, 100, kPair, "141221"},
    {69, 5, 101, kPair, "112214"},   {70, 6, 102, kPair, "112412"},  {71, 7, 103, kPair, "122114"},
    {72, 8, 104, kPair, "122411"},   {73, 9, 105, kPair, "142112"},  {74, 10, 106, kPair, "142211"},
    {75, 11, 107, kPair, "241211"},  {76, 12, 108, kPair, "221114"}, {77, 13, 109, kPair, "413111"},
    {78, 14, 110, kPair, "241112"},  {79, 15, 111, kPair, "134111"}, {80, 16, 112, kPair, "111242"},
    {81, 17, 113, kPair, "121142"},  {82, 18, 114, kPair, "121241"}, {83, 19, 115, kPair, "114212"},
    {84, 20, 116, kPair, "124112"},  {85, 21, 117, kPair, "124211"}, {86, 22, 118, kPair, "411212"},
    {87, 23, 119, kPair, "421112"},  {88, 24, 120, kPair, "421211"}, {89, 25, 121, kPair, "212141"},
    {90, 26, 122, kPair, "214121"},  {91, 27, 123, kPair, "412121"}, {92, 28, 124, kPair, "111143"},
    {93, 29, 125, kPair, "111341"},  {94, 30, 126, kPair, "131141"}, {95, 31, 127, kPair, "114113"},
    {96, 203, 203, kPair, "114311"},  // FNC3
    {97, 202, 202, kPair, "411113"},  // FNC2
    {98, 240, 240, kPair, "411311"},  // SHIFT
    {99, 243, 243, kPair, "113141"},  // CODE C
    {100, 242, 204, 242, "114131"},   // CODE B / FNC4 / CODE B
    {101, 204, 241, 241, "311141"},   // FNC4 / CODE A / CODE A
    {102, 201, 201, 201, "411131"},   // FNC1
    {103, 251, 251, 251, "211412"},   // START A
    {104, 252, 252, 252, "211214"},   // START B
    {105, 253, 253, 253, "211232"},   // START C
    {106, 255, 255, 255, "2331112"},  // STOP
}};

constexpr bool TableIsConsistent() {
  for (int v = 0; v < kValueCount; ++v) {
    const Character& c = kCharacters[v];
    if (c.value != v) return false;
    int modules = 0;
    int elements = 0;
    for (const char digit : c.pattern) {
      if (digit < '1' || digit > '4') return false;
      modules += digit - '0';
      ++elements;
    }
    const bool stop = v == kValueStop;
    if (modules != (stop ? kStopModules : kCharacterModules)) return false;
    if (elements != (stop ? 7 : 6)) return false;
  }
  return true;
}
static_assert(TableIsConsistent(), "Code 128 values in order, 11 modules each, 13 for STOP");

// Byte -> symbol value in one code set, -1 where the set lacks the byte.
using SetLookup = std::array<std::int8_t, 256>;

constexpr SetLookup BuildLookup(std::uint8_t Character::*code) {
  SetLookup lookup{};
  lookup.fill(-1);
  for (const Character& c : kCharacters) {
    if (lookup[c.*code] < 0) lookup[c.*code] = static_cast<std::int8_t>(c.value);
  }
  return lookup;
}

constexpr SetLookup BuildSetCFunctionLookup() {
  SetLookup lookup{};
  lookup.fill(-1);
  for (const Character& c : kCharacters) {
    if (c.codeC != kPair)
      lookup[static_cast<std::uint8_t>(c.codeC)] = static_cast<std::int8_t>(c.value);
  }
  return lookup;
}

inline constexpr SetLookup kSetA = BuildLookup(&Character::codeA);
inline constexpr SetLookup kSetB = BuildLookup(&Character::codeB);
inline constexpr SetLookup kSetCFunctions = BuildSetCFunctionLookup();
static_assert(kSetA['A'] == 33 && kSetA['\t'] == 73 && kSetB['a'] == 65 && kSetB[127] == 95);
static_assert(kSetCFunctions[kFnc1] == kValueFnc1 && kSetCFunctions['0'] == -1);

// The bytes that stand for function characters; the human-readable line
// leaves them out.
constexpr bool IsReservedByte(std::uint8_t byte) {
  return (byte >= 201 && byte <= 204) || (byte >= 240 && byte <= 243) ||
         (byte >= 251 && byte <= 253) || byte == 255;
}

}  // namespace paltrix::barcode::code128
