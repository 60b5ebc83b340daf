#include "framework/fields/record_codec.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/fields/date_time.h"

namespace paltrix::fields {
namespace {

constexpr FieldDef kLayout[] = {
    Long("T:LONG", 0),           Short("T:SHORT", 4),     Byte("T:BYTE", 6),
    Text("T:TEXT", 7, 5),        ZText("T:ZTEXT", 12, 4), Decimal("T:DEC", 16, 7, 3),
    Decimal("T:EVEN", 20, 6, 2),
};
static_assert(IsContiguousLayout(kLayout, 24));
static_assert(!IsContiguousLayout(kLayout, 25));

const FieldDef& F(std::string_view name) {
  return *FindField(kLayout, name);
}

TEST(RecordCodec, IntegersAreLittleEndianAndSigned) {
  std::vector<char> image(24, 0);
  WriteLong(image, F("T:LONG"), -2);
  WriteShort(image, F("T:SHORT"), 0x1234);
  WriteByte(image, F("T:BYTE"), 255);
  EXPECT_EQ(std::vector<char>(image.begin(), image.begin() + 7),
            (std::vector<char>{'\xFE', '\xFF', '\xFF', '\xFF', '\x34', '\x12', '\xFF'}));
  EXPECT_EQ(ReadLong(image, F("T:LONG")), -2);
  EXPECT_EQ(ReadShort(image, F("T:SHORT")), 0x1234);
  EXPECT_EQ(ReadByte(image, F("T:BYTE")), 255);
}

TEST(RecordCodec, TextIsBlankPaddedAndZTextKeepsItsTerminator) {
  std::vector<char> image(24, 'x');
  WriteText(image, F("T:TEXT"), "ab");
  WriteText(image, F("T:ZTEXT"), "abcdef");
  EXPECT_EQ(std::string(image.data() + 7, 5), "ab   ");
  EXPECT_EQ(std::string(image.data() + 12, 4), std::string("abc\0", 4));
  EXPECT_EQ(ReadText(image, F("T:TEXT")), "ab");
  EXPECT_EQ(ReadText(image, F("T:ZTEXT")), "abc");
  WriteText(image, F("T:TEXT"), "toolong");
  EXPECT_EQ(ReadText(image, F("T:TEXT")), "toolo");
}

TEST(RecordCodec, PackedDecimalsRoundTripWithSignAndRange) {
  std::vector<char> image(24, 0);
  const FieldDef& weight = F("T:DEC");
  for (std::int64_t value : {0LL, 12500LL, -12500LL, 9999999LL, -9999999LL, 1LL}) {
    ASSERT_TRUE(WriteDecimal(image, weight, value)) << value;
    EXPECT_EQ(ReadDecimal(image, weight), value);
  }
  WriteDecimal(image, weight, 12500);
  EXPECT_EQ(std::string(image.data() + 16, 4), std::string("\x00\x01\x25\x00", 4));
  EXPECT_FALSE(WriteDecimal(image, weight, 10000000));
  EXPECT_EQ(ReadDecimal(image, weight), 12500) << "a refused write leaves the field as it was";
  ASSERT_TRUE(WriteDecimal(image, F("T:EVEN"), -123456));
  EXPECT_EQ(ReadNumber(image, F("T:EVEN")), -123456);
}

TEST(DateTime, DayNumbersFollowTheRecordConvention) {
  EXPECT_EQ(DayNumberFromCivil({1801, 1, 1}), 4);
  EXPECT_EQ(DayNumberFromCivil({9999, 12, 31}), kLastValidDay);
  EXPECT_EQ(DayNumberFromCivil({1800, 12, 31}), std::nullopt);
  EXPECT_EQ(DayNumberFromCivil({2023, 2, 29}), std::nullopt);
  EXPECT_EQ(DayNumberFromCivil({2024, 2, 29}).has_value(), true);
  EXPECT_EQ(CivilFromDayNumber(4), (CivilDate{1801, 1, 1}));
  EXPECT_EQ(CivilFromDayNumber(3), std::nullopt);
  EXPECT_EQ(Weekday(4), 4) << "1 January 1801 was a Thursday";
  EXPECT_EQ(Weekday(*DayNumberFromCivil({2021, 1, 1})), 5) << "a Friday";
  for (std::int32_t day : {4, 60000, 80000, 2994626}) {
    EXPECT_EQ(DayNumberFromCivil(*CivilFromDayNumber(day)), day);
  }
}

TEST(DateTime, TimeIsHundredthsAfterMidnightPlusOne) {
  EXPECT_EQ(TimeFromClock(0, 0, 0, 0), 1);
  EXPECT_EQ(TimeFromClock(23, 59, 59, 99), 8640000);
}

}  // namespace
}  // namespace paltrix::fields
