#include <gtest/gtest.h>

#include "app/catalogue/gtin_check.h"
#include "app/catalogue/label_type_option.h"
#include "app/catalogue/next_product_id.h"

namespace paltrix::catalogue {
namespace {

TEST(NextProductIdTest, KeepsTheWidthOfTheHighestIdAndGrowsWhenTheSumNeedsIt) {
  struct Case {
    const char* highest;
    const char* proposed;
  };
  const Case cases[] = {
      {"", "1"},
      {"0099", "0100"},
      {"99", "100"},
      {"00041", "00042"},
      {"9", "10"},
      {" 41 ", "42"},
      {"A12", "001"},
      {"12A", "001"},
      // Wider than any integer type, and one digit too many for the record.
      {"9999999999999999998", "9999999999999999999"},
      {"9999999999999999999", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(NextProductId(c.highest), c.proposed) << c.highest;
}

TEST(GtinCheckTest, ProposesTheCheckDigitByLength) {
  struct Case {
    const char* entered;
    const char* kind;
    const char* proposed;  // nullptr: the length is not accepted
  };
  const Case cases[] = {
      {"5701234567899", "GTIN", "5701234567899"},
      {"5701234567890", "GTIN", "5701234567899"},
      {"570123456789", "UPC", "5701234567899"},
      {"15701234567896", "EAN-14/SCC/DUN", "15701234567896"},
      {"15701234567891", "EAN-14/SCC/DUN", "15701234567896"},
      {"  5701234567890 ", "GTIN", "5701234567899"},
      {"", "", nullptr},
      {"57012345", "", nullptr},
      {"057012345678990", "", nullptr},
  };
  for (const Case& c : cases) {
    const GtinCheck check = CheckGtin(c.entered);
    EXPECT_EQ(check.kind, c.kind) << c.entered;
    EXPECT_EQ(check.lengthAccepted(), c.proposed != nullptr) << c.entered;
    if (c.proposed != nullptr) {
      EXPECT_EQ(*check.proposed, c.proposed) << c.entered;
      EXPECT_EQ(check.offersCorrection(), check.entered != c.proposed) << c.entered;
    }
  }
}

TEST(LabelTypeOptionTest, OnlyThe4InchZplFormatAt8DotsOffersTheChoice) {
  EXPECT_TRUE(LabelTypeOptionShown("ZPL 4\"", 8));
  EXPECT_TRUE(LabelTypeOptionShown("ZPL 4\"              ", 8));
  EXPECT_FALSE(LabelTypeOptionShown("ZPL 4\"", 12));
  EXPECT_FALSE(LabelTypeOptionShown("ZPL 4\"", 0));
  EXPECT_FALSE(LabelTypeOptionShown("ZPL 6\"", 8));
  EXPECT_FALSE(LabelTypeOptionShown("ZPL 4", 8));
  EXPECT_FALSE(LabelTypeOptionShown("Standard", 8));
}

}  // namespace
}  // namespace paltrix::catalogue
