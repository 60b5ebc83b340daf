#include "app/gs1/element_data.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "framework/fields/date_time.h"

namespace paltrix::gs1 {
namespace {

const std::int32_t kToday = *fields::DayNumberFromCivil({2025, 3, 10});

// A product with only a GTIN; each test sets what it is about.
ElementInput PlainProduct() {
  ElementInput input;
  input.gtin = "5790001234567";
  input.today = kToday;
  input.bestBefore = kToday;
  return input;
}

Elements Formed(const ElementInput& input) {
  auto elements = FormatElements(input);
  EXPECT_TRUE(elements.ok()) << elements.status().ToString();
  return elements.ok() ? *elements : Elements{};
}

void ExpectRefused(const ElementInput& input, const char* note) {
  const auto elements = FormatElements(input);
  ASSERT_FALSE(elements.ok()) << note;
  EXPECT_EQ(elements.status().code(), ErrorCode::kInvalidValue) << note;
  EXPECT_FALSE(elements.status().message().empty()) << note;
}

TEST(Gtin14, ZeroFillsTheStoredNumber) {
  const std::pair<const char*, const char*> rows[] = {
      {"5790001234567", "05790001234567"},   // EAN-13 gains one leading zero
      {"15790001234564", "15790001234564"},  // GTIN-14 unchanged
      {"123", "00000000000123"},
      {" 5790001234567  ", "05790001234567"},  // blanks around the number
  };
  for (const auto& [eannr, gtin] : rows) EXPECT_EQ(Gtin14(eannr).value(), gtin) << eannr;
}

TEST(Gtin14, RefusesWhatIsNotAGtinRatherThanPrintingAWrongOne) {
  const char* rows[] = {
      "",                 // no GTIN: would print 14 zeros
      "   ",              //
      "579000123456A",    // a letter would end the number early
      "5790-001234567",   //
      "157900012345645",  // 15 digits would make the barcode a digit too long
  };
  for (const char* eannr : rows) {
    ElementInput input = PlainProduct();
    input.gtin = eannr;
    ExpectRefused(input, eannr);
  }
}

TEST(FormatElements, CountHasAnEvenNumberOfDigits) {
  const std::pair<std::int32_t, const char*> rows[] = {
      {1, "01"}, {99, "99"}, {100, "0100"}, {9999, "9999"}, {10000, "010000"}, {999999, "999999"}};
  for (const auto& [count, expected] : rows) {
    ElementInput input = PlainProduct();
    input.count = count;
    EXPECT_EQ(Formed(input).count, expected) << count;
  }
  EXPECT_EQ(Formed(PlainProduct()).count, std::nullopt) << "count 0: no (37)";

  for (const std::int32_t count : {1000000, -1}) {
    ElementInput input = PlainProduct();
    input.count = count;
    ExpectRefused(input, "count outside six digits");
  }
}

TEST(FormatElements, NetWeightIsHundredthsOfAKilogramRoundedHalfUp) {
  const std::pair<std::int64_t, const char*> rows[] = {
      {12500, "001250"},    // 12.5 kg, never with a decimal mark
      {12344, "001234"},    // third decimal below 5 is dropped
      {12345, "001235"},    // third decimal 5 rounds up
      {1, "000000"},        // 0.001 kg is above 0, so present
      {9999994, "999999"},  // largest weight that fits
  };
  for (const auto& [grams, expected] : rows) {
    ElementInput input = PlainProduct();
    input.netWeightGrams = grams;
    EXPECT_EQ(Formed(input).netWeight, expected) << grams;
  }
  for (const std::int64_t grams : {0, -5}) {
    ElementInput input = PlainProduct();
    input.netWeightGrams = grams;
    EXPECT_EQ(Formed(input).netWeight, std::nullopt) << grams;
  }
  for (const std::int64_t grams : {std::int64_t{9999995}, INT64_MAX}) {
    ElementInput input = PlainProduct();
    input.netWeightGrams = grams;
    ExpectRefused(input, "rounds to 10000.00 kg or more: seven digits");
  }
}

TEST(FormatElements, BestBeforeOnlyWhenItDiffersFromToday) {
  struct Row {
    std::int32_t bestBefore;
    std::optional<std::string> expected;
    const char* note;
  };
  const Row rows[] = {
      {kToday, std::nullopt, "equal to today"},
      {kToday + 1, "250311", "tomorrow, as yymmdd"},
      {kToday - 1, "250309", "yesterday is printed too"},
      {*fields::DayNumberFromCivil({2031, 12, 1}), "311201", ""},
      {0, std::nullopt, "no date"},
      {*fields::DayNumberFromCivil({1976, 1, 1}), "760101", "first day a reader puts in 1976"},
      {*fields::DayNumberFromCivil({2075, 12, 31}), "751231", "last day a reader puts in 2075"},
  };
  for (const Row& row : rows) {
    ElementInput input = PlainProduct();
    input.bestBefore = row.bestBefore;
    EXPECT_EQ(Formed(input).bestBefore, row.expected) << row.note;
  }
  const struct {
    std::int32_t bestBefore;
    const char* note;
  } refused[] = {
      {-20, "a day number that is no date"},
      {kToday + 65536, "the 16-bit day count wraps to 0: it would print no date at all"},
      {*fields::DayNumberFromCivil({1975, 12, 31}), "read as 2075"},
      {*fields::DayNumberFromCivil({2076, 1, 1}), "read as 1976"},
      {*fields::DayNumberFromCivil({9999, 12, 31}), "991231 is read as 1999"},
  };
  for (const auto& row : refused) {
    ElementInput input = PlainProduct();
    input.bestBefore = row.bestBefore;
    ExpectRefused(input, row.note);
  }
  EXPECT_EQ(CheckBestBefore(*fields::DayNumberFromCivil({9999, 12, 31}), kToday).message(),
            "The best-before date 31.12.9999 cannot be printed: (15) carries the year as two "
            "digits, which name the years 1976 to 2075 only");
}

TEST(ShelfLifeDays, IsTheDifferenceIn16Bits) {
  EXPECT_EQ(ShelfLifeDays(kToday + 30, kToday), 30);
  EXPECT_EQ(ShelfLifeDays(kToday - 2, kToday), -2);
  EXPECT_EQ(ShelfLifeDays(kToday + 40000, kToday), 40000 - 65536);
}

TEST(FormatElements, OrderNumberRule) {
  struct Row {
    const char* orderNumber;
    bool useOrderNumber;
    std::optional<std::string> expected;
    const char* note;
  };
  const Row rows[] = {
      {"12345", true, "12345", "five characters"},
      {"12345     ", true, "12345", "trailing blanks do not count"},
      {"AB-1", true, "AB-1", "letters are allowed"},
      {"123456", true, std::nullopt, "six characters are too many"},
      {"12345678", true, std::nullopt, "longer still"},
      {"12345", false, std::nullopt, "not asked for"},
      {"      ", true, std::nullopt, "blank"},
  };
  for (const Row& row : rows) {
    ElementInput input = PlainProduct();
    input.orderNumber = row.orderNumber;
    input.useOrderNumber = row.useOrderNumber;
    EXPECT_EQ(Formed(input).orderNumber, row.expected) << row.note;
  }
  ElementInput danish = PlainProduct();
  danish.orderNumber =
      "\xC5"
      "12";  // Å12
  danish.useOrderNumber = true;
  ExpectRefused(danish, "a letter Code 128 cannot carry");
  danish.useOrderNumber = false;
  EXPECT_TRUE(FormatElements(danish).ok()) << "not in a barcode: no objection";
}

TEST(FormatElements, BatchWithoutTrailingBlanks) {
  ElementInput input = PlainProduct();
  input.batch = "L0815   ";
  EXPECT_EQ(Formed(input).batch, "L0815");
  input.batch = "A>B^C~D_E";
  EXPECT_EQ(Formed(input).batch, "A>B^C~D_E") << "element data stays raw";
  input.batch = "    ";
  EXPECT_EQ(Formed(input).batch, std::nullopt);

  for (const char* batch : {"R\xF8"
                            "d",
                            "\xC9"
                            "12",
                            "A\tB"}) {  // ø, FNC1 byte, tab
    input.batch = batch;
    ExpectRefused(input, "byte outside printable ASCII");
  }
}

TEST(FormatElements, PlainProductHasOnlyTheGtin) {
  const Elements elements = Formed(PlainProduct());
  EXPECT_EQ(elements.gtin14, "05790001234567");
  EXPECT_FALSE(elements.count || elements.orderNumber || elements.bestBefore ||
               elements.netWeight || elements.batch);
}

}  // namespace
}  // namespace paltrix::gs1
