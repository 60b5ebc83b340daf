#include "app/dispatch/label_format.h"

#include <gtest/gtest.h>

namespace paltrix::dispatch {
namespace {

using enum LabelProcedure;
using enum DispatchVariant;
using enum LabelFormat;

TEST(LabelFormat, StoredNamesCompareAfterTrailingBlanksOnly) {
  EXPECT_EQ(ParseLabelFormat("ZPL 4\"              "), kZpl4Inch);
  EXPECT_EQ(ParseLabelFormat("ZPL 6\""), kZpl6Inch);
  EXPECT_EQ(ParseLabelFormat("Standard"), kStandard);
  EXPECT_EQ(ParseLabelFormat("Limited "), kLimited);
  EXPECT_EQ(ParseLabelFormat("Mixed"), kMixed);
  EXPECT_EQ(ParseLabelFormat("ZPL 4"), kUnknown) << "the inch mark belongs to the name";
  EXPECT_EQ(ParseLabelFormat("standard"), kUnknown);
  EXPECT_EQ(ParseLabelFormat(" Mixed"), kUnknown);
  EXPECT_EQ(ParseLabelFormat("UBI"), kUnknown) << "the primed value prints nothing";
}

TEST(LabelFormat, ReportDropsTheInchMarkOfTheZplFormatsOnly) {
  EXPECT_EQ(ReportedFormatName("ZPL 4\"   "), "ZPL 4");
  EXPECT_EQ(ReportedFormatName("ZPL 6\""), "ZPL 6");
  EXPECT_EQ(ReportedFormatName("Limited"), "Limited");
  EXPECT_EQ(ReportedFormatName("UBI"), "UBI");
}

struct DispatchRow {
  DispatchVariant variant;
  LabelFormat format;
  int dots;
  int labelType;
  LabelProcedure expected;
  const char* note;
};

TEST(ChooseLabelProcedure, FollowsTheDispatchTables) {
  const DispatchRow rows[] = {
      {kDialog, kZpl6Inch, 12, 0, kPalletLabel6Fine, "6-inch on 12 dots/mm"},
      {kDialog, kZpl6Inch, 8, 0, kPalletLabel6, "6-inch on 8 dots/mm"},
      {kDirect, kZpl6Inch, 8, 0, kPalletLabel6Fine, "F6 always prints the 12 dots/mm 6-inch label"},
      {kMixedWindow, kZpl6Inch, 8, 2, kPalletLabel6Fine, "mixed window likewise"},
      {kDialog, kZpl4Inch, 12, 1, kPalletLabel4Fine, "dialog on 12 dots/mm, any type"},
      {kDirect, kZpl4Inch, 12, 0, kPalletLabel4Compact, "direct print on 12 dots/mm"},
      {kMixedWindow, kZpl4Inch, 12, 2, kPalletLabel4Compact, "mixed window on 12 dots/mm"},
      {kDialog, kZpl4Inch, 8, 0, kPalletLabel4, "pallet"},
      {kDialog, kZpl4Inch, 8, 1, kCaseLabel4, "case"},
      {kDialog, kZpl4Inch, 8, 2, kMixedPalletLabel, "mixed pallet"},
      {kDialog, kZpl4Inch, 8, 3, kEanItemLabel, "EAN-13 item"},
      {kDirect, kZpl4Inch, 8, 3, kEanItemLabel, "EAN-13 item from F6"},
      {kMixedWindow, kZpl4Inch, 8, 3, kNothing, "the mixed window has no EAN-13 branch"},
      {kDialog, kZpl4Inch, 8, 4, kNothing, "unknown label type"},
      {kDialog, kZpl4Inch, 0, 0, kPalletLabel4, "any dots but 12 is 8 dots/mm"},
      {kDialog, kStandard, 8, 0, kA5Standard, ""},
      {kDirect, kLimited, 12, 0, kA5Limited, ""},
      {kDialog, kMixed, 8, 0, kA5Mixed, ""},
      {kDirect, kMixed, 8, 0, kA5Mixed, ""},
      {kMixedWindow, kMixed, 8, 0, kNothing, "the mixed window prints nothing for Mixed"},
      {kMixedWindow, kStandard, 8, 0, kA5Standard, ""},
      {kDialog, kUnknown, 8, 0, kNothing, "unknown formats print nothing"},
  };
  for (const DispatchRow& row : rows) {
    EXPECT_EQ(ChooseLabelProcedure(row.variant, row.format, row.dots,
                                   static_cast<std::uint8_t>(row.labelType)),
              row.expected)
        << row.note << " -> got " << ProcedureName(ChooseLabelProcedure(
                                        row.variant, row.format, row.dots,
                                        static_cast<std::uint8_t>(row.labelType)));
  }
}

}  // namespace
}  // namespace paltrix::dispatch
