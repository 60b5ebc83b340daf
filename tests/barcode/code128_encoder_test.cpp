#include "barcode/code128_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "barcode/code128_table.h"

namespace paltrix::barcode {
namespace {

struct Code128Row {
  std::string data;
  Symbology mode;
  std::vector<int> values;  // start .. check, stop
  const char* note;
};

constexpr char kFnc1 = '\xC9';
const std::string kF(1, kFnc1);

// Symbol values from ISO/IEC 15417 Table 1; element strings from the GS1
// General Specifications (AI 00 SSCC, AI 10 batch).
const Code128Row kRows[] = {
    {kF + "00357012345000000017",
     Symbology::kCode128Auto,
     {105, 102, 0, 35, 70, 12, 34, 50, 0, 0, 0, 17, 54, 106},
     "GS1-128 SSCC: START C, FNC1, ten digit pairs, check, STOP"},
    {kF + "10AB12",
     Symbology::kCode128Auto,
     {105, 102, 10, 100, 33, 34, 17, 18, 27, 106},
     "batch after AI 10: two final digits stay in set B, fewer than four follow"},
    {"12AB",
     Symbology::kCode128Auto,
     {105, 12, 100, 33, 34, 37, 106},
     "two digits at the very start are enough for set C"},
    {"AB", Symbology::kCode128Auto, {104, 33, 34, 102, 106}, "equal runs in A and B start in B"},
    {"AB1234CD",
     Symbology::kCode128Auto,
     {104, 33, 34, 99, 12, 34, 100, 35, 36, 102, 106},
     "four digits in a row switch to set C and back"},
    {"a\tb",
     Symbology::kCode128Auto,
     {104, 65, 101, 73, 100, 66, 84, 106},
     "a control byte needs set A; CODE A and CODE B, never SHIFT"},
    {"A123456",
     Symbology::kCode128Auto,
     {104, 33, 99, 12, 34, 56, 66, 106},
     "six digits after a letter go to set C"},
    {kF + "123",
     Symbology::kCode128Auto,
     {105, 102, 12, 100, 19, 92, 106},
     "a lone last digit leaves set C"},
    {"AB  ", Symbology::kCode128Auto, {104, 33, 34, 102, 106}, "trailing blanks are not encoded"},
    {"A\xE9"
     "B",
     Symbology::kCode128Auto,
     {104, 33, 34, 102, 106},
     "a byte no code set holds is skipped"},
    {"AI",
     Symbology::kCode128SetB,
     {104, 33, 41, 13, 106},
     "check value (104 + 1*33 + 2*41) mod 103 = 13 (ISO/IEC 15417 Annex)"},
    {"Ab", Symbology::kCode128SetA, {103, 33, 33, 106}, "set A only: lower case is skipped"},
    {"12345",
     Symbology::kCode128SetC,
     {105, 1, 23, 45, 81, 106},
     "set C only: odd digit count gets a leading 0"},
    {"123" + kF + "45", Symbology::kCode128SetC, {}, "set C only: odd run before FNC1 is refused"},
    {"12A4", Symbology::kCode128SetC, {}, "set C only: a letter is refused"},
    {"1234567890123456789",
     Symbology::kGs1_128,
     {105, 102, 1, 23, 45, 67, 89, 1, 23, 45, 67, 89, 70, 106},
     "GS1-128 mode: START C, FNC1, then 19 digits with a leading 0"},
    {"", Symbology::kCode128Auto, {}, "empty data encodes nothing"},
    {"   ", Symbology::kGs1_128, {}, "blanks only encode nothing"},
};

void PrintTo(const Code128Row& row, std::ostream* os) {
  *os << row.note;
}

class Code128RowTest : public ::testing::TestWithParam<Code128Row> {};

TEST_P(Code128RowTest, EncodesTheSymbolValues) {
  const Code128Row& row = GetParam();
  std::vector<Code128Record> records;
  EncodeCode128(row.data, row.mode, records);
  std::vector<int> values;
  for (const Code128Record& record : records) values.push_back(record.value);
  EXPECT_EQ(values, row.values) << row.note;
}

INSTANTIATE_TEST_SUITE_P(Iso15417, Code128RowTest, ::testing::ValuesIn(kRows));

TEST(Code128Encoder, SscSymbolHas156ModulesAndItsElementsSumToThem) {
  Code128Encoder encoder(Symbology::kCode128Auto);
  const Symbol symbol = encoder.EncodeSymbol(kF + "00357012345000000017");
  EXPECT_EQ(encoder.BCQ.size(), 14u);
  EXPECT_EQ(symbol.moduleCount, 156);
  double sum = 0;
  for (const double e : symbol.elements) sum += e;
  EXPECT_EQ(sum, 156);
  EXPECT_EQ(symbol.elements.size() % 2, 1u) << "starts and ends with a bar";
}

TEST(Code128Encoder, RecordsCarryTheSetInForceAndSwitchesTheSetBefore) {
  std::vector<Code128Record> records;
  EncodeCode128("12AB", Symbology::kCode128Auto, records);
  using S = Code128Set;
  const std::vector<S> sets{S::kC, S::kC, S::kC, S::kB, S::kB, S::kB, S::kB};
  ASSERT_EQ(records.size(), sets.size());
  for (std::size_t i = 0; i < sets.size(); ++i) EXPECT_EQ(records[i].set, sets[i]) << i;
}

TEST(Code128Encoder, HumanReadableLeavesOutEveryReservedByte) {
  EXPECT_EQ(Code128Text(kF + "00" + "123"), "00123");
  std::string everyReserved;
  for (int b = 0; b < 256; ++b) {
    if (code128::IsReservedByte(static_cast<std::uint8_t>(b))) everyReserved.push_back(char(b));
  }
  EXPECT_EQ(everyReserved.size(), 12u);
  EXPECT_EQ(Code128Text("A" + everyReserved + "B"), "AB");
}

TEST(Code128Encoder, FunctionBytesReachTheirValuesInEachSet) {
  std::vector<Code128Record> records;
  // FNC3, FNC2, FNC4 in set B (ISO/IEC 15417 values 96, 97, 100).
  EncodeCode128("A\xCB\xCA\xCC", Symbology::kCode128SetB, records);
  ASSERT_EQ(records.size(), 7u);
  EXPECT_EQ(records[2].value, 96);
  EXPECT_EQ(records[3].value, 97);
  EXPECT_EQ(records[4].value, 100);
  // FNC4 in set A is value 101.
  EncodeCode128("A\xCC", Symbology::kCode128SetA, records);
  EXPECT_EQ(records[2].value, 101);
}

TEST(Code128Encoder, PatternsOutsideTheTableAreEmpty) {
  EXPECT_EQ(Code128Pattern(0), "212222");
  EXPECT_EQ(Code128Pattern(106), "2331112");
  EXPECT_TRUE(Code128Pattern(107).empty());
  EXPECT_TRUE(Code128Pattern(-1).empty());
}

}  // namespace
}  // namespace paltrix::barcode
