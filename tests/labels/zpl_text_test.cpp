#include "app/labels/zpl_text.h"

#include <gtest/gtest.h>

#include "app/labels/label_pictures.h"
#include "app/labels/setup_preamble.h"
#include "tests/labels/label_test_data.h"

namespace paltrix::labels {
namespace {

struct TextCase {
  std::string_view input;
  std::string_view expected;
  std::string_view note;
};

TEST(ZplTextTest, ToPrinterCodePage) {
  constexpr TextCase kCases[] = {
      {"R\xF8"
       "dk\xE5l",
       "R\x9B"
       "dk\x86l",
       "ø and å"},
      {"\xE6\xC6\xF8\xD8\xE5\xC5", "\x91\x92\x9B\x9D\x86\x8F", "all six letters"},
      {"Caf\xE9 \xFC", "Caf\xE9 \xFC", "other letters unchanged"},
      {"Vej 1   ", "Vej 1", "trailing blanks removed"},
      {"  Vej", "  Vej", "leading blanks kept"},
  };
  for (const TextCase& c : kCases) {
    EXPECT_EQ(ToPrinterCodePage(c.input), c.expected) << c.note;
  }
}

TEST(ZplTextTest, EscapeHexField) {
  constexpr TextCase kCases[] = {
      {"A^XZ~JA_1F", "A_5EXZ_7EJA_5F1F", "command prefixes and the hex indicator"},
      {std::string_view("a\0b\tc\x1F\x7F", 7), "a_00b_09c_1F_7F", "control bytes"},
      {"\x86\x91\x9B\x9D", "\x86\x91\x9B\x9D", "code page 850 letters pass"},
      {"Ordre nr. 12,5 <>", "Ordre nr. 12,5 <>", "ordinary text unchanged"},
  };
  for (const TextCase& c : kCases) {
    EXPECT_EQ(EscapeHexField(c.input), c.expected) << c.note;
  }
}

TEST(SetupPreambleTest, PrintRate) {
  constexpr TextCase kCases[] = {
      {"4", "4", "a digit"},
      {"6   ", "6", "trailing blanks"},
      {"", "2", "empty"},
      {"NORMAL", "2", "a name"},
      {"ULTRA HIGH", "2", "a name"},
      {"-3", "-3", "signed"},
      {"1.5", "1.5", "decimal"},
      {"4^XZ", "2", "a command is not a rate"},
      {".", "2", "no digits"},
      {" 4", "2", "leading blank"},
  };
  for (const TextCase& c : kCases) {
    EXPECT_EQ(EffectivePrintRate(c.input), c.expected) << c.note;
  }
}

TEST(SetupPreambleTest, CarriesDarknessAndMargins) {
  EXPECT_EQ(
      SetupPreamble({.printRate = "NORMAL", .darkness = -12, .leftMargin = 15, .topMargin = -20}),
      "^XA^SZ2^MTD^MMT^XZ^XA^PR2^XZ^XA^MD-12^XZ^XA^MNY^XZ^XA^LH15,0^XZ^XA^LT-20^XZ"
      "^XA^CI0^XZ");
  EXPECT_EQ(SetupPreamble(testing::OrdinaryInput().printer), testing::kPreamble);
}

TEST(LabelPicturesTest, DecimalText) {
  struct Case {
    std::int64_t scaled;
    int places;
    int width;
    std::string_view expected;
  };
  constexpr Case kCases[] = {
      {1250, 2, 7, "  12,50"},    {5, 2, 7, "   0,05"},      {99999, 2, 7, " 999,99"},
      {123456, 2, 7, "1 234,56"}, {12500, 3, 8, "  12,500"}, {9999999, 3, 8, "9 999,999"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(DecimalText(c.scaled, c.places, c.width), c.expected);
  }
}

TEST(LabelPicturesTest, DayMonthYear) {
  EXPECT_EQ(DayMonthYear(testing::Today()), "08.12.2026");
  EXPECT_EQ(DayMonthYear(4), "01.01.1801");
  EXPECT_EQ(DayMonthYear(0), "");
}

}  // namespace
}  // namespace paltrix::labels
