#include "app/gs1/check_digit.h"

#include <gtest/gtest.h>

#include "app/gs1/sscc.h"

namespace paltrix::gs1 {
namespace {

struct CheckDigitRow {
  const char* text;
  std::size_t length;
  const char* expected;
  const char* note;
};

TEST(AppendCheckDigit, FollowsTheGs1ModuloTenRule) {
  const CheckDigitRow rows[] = {
      {"05790001000000042", 17, "057900010000000424", "SSCC: weighted sum 46 gives 4"},
      {"400638133393", 12, "4006381333931", "published EAN-13 example"},
      {"0001234560001", 13, "00012345600012", "GTIN-14: weight 3 starts at the rightmost digit"},
      {"55", 2, "550", "sum 20: 10 - 0 becomes 0"},
      {"123", 5, "123006", "short text is padded with 0 on the right"},
      {"1234567", 3, "1236", "only the first n characters count"},
      {"12  ", 4, "123", "blanks count as 0 and trailing blanks are dropped"},
      {"", 0, "0", "nothing to weigh"},
  };
  for (const CheckDigitRow& row : rows) {
    EXPECT_EQ(AppendCheckDigit(row.text, row.length), row.expected) << row.note;
  }
}

TEST(SsccFromParts, IsPrefixSerialAndCheckDigit) {
  EXPECT_EQ(SsccFromParts(5790001, 42).value(), "057900010000000424");
  EXPECT_EQ(SsccFromParts(kLargestCompanyPrefix, kLargestSerial).value(),
            AppendCheckDigit("99999999999999999", 17));
  EXPECT_EQ(SsccFromParts(0, 0).value(), "000000000000000000");
}

TEST(SsccFromParts, RefusesNumbersWiderThanTheirPlaces) {
  const std::pair<std::int32_t, std::int32_t> rows[] = {
      {kLargestCompanyPrefix + 1, 1}, {-1, 1}, {5790001, kLargestSerial + 1}, {5790001, -1}};
  for (const auto& [prefix, serial] : rows) {
    const auto sscc = SsccFromParts(prefix, serial);
    ASSERT_FALSE(sscc.ok()) << prefix << " " << serial;
    EXPECT_EQ(sscc.status().code(), ErrorCode::kInvalidValue);
  }
}

TEST(IsValidSscc, NeedsEighteenDigitsWithTheirCheckDigit) {
  EXPECT_TRUE(IsValidSscc("057900010000000424"));
  EXPECT_FALSE(IsValidSscc("057900010000000425")) << "wrong check digit";
  EXPECT_FALSE(IsValidSscc("05790001000000042")) << "17 digits";
  EXPECT_FALSE(IsValidSscc("0579000100000004240")) << "19 digits";
  EXPECT_FALSE(IsValidSscc("05790001000000042A"));
  EXPECT_FALSE(IsValidSscc(""));
}

}  // namespace
}  // namespace paltrix::gs1
