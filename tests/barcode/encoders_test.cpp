#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "barcode/barcode.h"
#include "barcode/codabar_encoder.h"
#include "barcode/code39_encoder.h"
#include "barcode/ean_upc_encoder.h"
#include "barcode/standard_2of5_encoder.h"
#include "barcode/upce_encoder.h"
#include "fake_target.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"

namespace paltrix::barcode {
namespace {

class EncoderTest : public ::testing::Test {
 protected:
  EncoderTest() : errors_(presenter_, terminator_) {
    errors_.Init();
    target_.AddControl(1, {0, 0, 4000, 500});
  }
  // The encoder of `code`, bound to a barcode as the reports bind it.
  BarcodeEncoder& Bound(int code) {
    barcode_.Init(&target_, 1, 1, code);
    return *barcode_.encoder();
  }

  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_;
  testing::FakeTarget target_;
  Barcode barcode_{errors_};
};

TEST(EanUpc, CheckDigitsAndUpcEExpansionFollowIso15420) {
  struct Row {
    const char* data;
    std::size_t length;
    const char* expected;
  };
  const Row rows[] = {
      {"590123412345", 13, "5901234123457"},   // GS1 General Specifications 7.9.1
      {"4006381333930", 13, "4006381333931"},  // a wrong check digit is replaced
      {"03600029145", 12, "036000291452"},
      {"9638507", 8, "96385074"},
      {"12A4567", 8, nullptr},
      {"123456", 8, nullptr},
  };
  for (const Row& row : rows) {
    const auto digits = ean_upc::WithCheckDigit(row.data, row.length);
    if (row.expected == nullptr) {
      EXPECT_FALSE(digits.has_value()) << row.data;
    } else {
      EXPECT_EQ(digits.value_or("none"), row.expected);
    }
  }
  // UPC-E zero suppression (ISO/IEC 15420 Table 9), by the last of the six digits.
  EXPECT_EQ(ExpandUpcE("0123450"), "01200000345");
  EXPECT_EQ(ExpandUpcE("0123453"), "01230000045");
  EXPECT_EQ(ExpandUpcE("0123454"), "01234000005");
  EXPECT_EQ(ExpandUpcE("0123456"), "01234500006");
}

TEST_F(EncoderTest, EanUpcSymbolsHaveTheirModulesAndQuietZones) {
  barcode_.CLEARAREALEFT = 11;
  barcode_.CLEARAREARIGHT = 7;
  struct Row {
    int code;
    const char* data;
    int modules;
  };
  for (const Row& row : {Row{7, "590123412345", 95}, Row{9, "03600029145", 95},
                         Row{8, "0123456", 51}, Row{10, "9638507", 67}}) {
    const Symbol symbol = Bound(row.code).EncodeSymbol(row.data);
    double sum = 0;
    for (const double e : symbol.elements) sum += e;
    EXPECT_EQ(sum, row.modules) << row.code;
    EXPECT_EQ(symbol.moduleCount, row.modules + 18) << row.code;
  }
  EXPECT_TRUE(Bound(7).EncodeSymbol("59012341234").empty()) << "too short";
  EXPECT_EQ(Bound(8).HumanReadable("0123456"), "01234565");
}

TEST_F(EncoderTest, Code39ReportsCharactersItLacksAndAddsTheModulo43Check) {
  auto& code39 = static_cast<Code39Encoder&>(Bound(1));
  EXPECT_EQ(code39.Characters("ab#c"), "ABC");
  ASSERT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_EQ(presenter_.boxes()[0].text, "Invalid code in barcode: #");
  EXPECT_EQ(presenter_.boxes()[0].title, "");

  barcode_.ADDCHECKDIGIT = 1;
  EXPECT_EQ(code39.Characters("CODE39"), "CODE39W");  // ISO/IEC 16388 Annex: 75 mod 43 = 32
  barcode_.ADDCHECKDIGIT = 0;

  auto& fullAscii = static_cast<Code39Encoder&>(Bound(2));
  EXPECT_EQ(fullAscii.Characters(std::string("a\0:", 3)), "+A%U/Z");
  // Nine elements and a gap per character; wide elements at the ratio.
  barcode_.WIDE2NARROWRATIO = 3.0;
  EXPECT_EQ(fullAscii.EncodeSymbol("A").moduleCount, 3 * (6 + 3 * 3) + 2);
}

TEST_F(EncoderTest, Standard2Of5DrawsEveryDigitInBarsWithNarrowSpaces) {
  barcode_.CLEARAREALEFT = 10;
  barcode_.CLEARAREARIGHT = 10;
  const Symbol symbol = Bound(12).EncodeSymbol("1");
  const std::vector<double> expected{2, 1, 2, 1, 1, 1,              // start: wide, wide, narrow
                                     2, 1, 1, 1, 1, 1, 1, 1, 2, 1,  // 1: "10001"
                                     2, 1, 1, 1, 2};                // stop: wide, narrow, wide
  EXPECT_EQ(symbol.elements, expected);
  EXPECT_EQ(symbol.moduleCount, 27 + 20);
  EXPECT_TRUE(Bound(12).EncodeSymbol("12a").empty());
}

TEST_F(EncoderTest, Interleaved2Of5PairsItsDigitsAndCodabarFramesItsData) {
  EXPECT_EQ(Bound(11).HumanReadable("123"), "0123");
  barcode_.ADDCHECKDIGIT = 1;
  EXPECT_EQ(Bound(11).HumanReadable("1234567"), "12345670");
  barcode_.ADDCHECKDIGIT = 0;
  auto& codabar = static_cast<CodabarEncoder&>(Bound(13));
  EXPECT_EQ(codabar.Characters("40156"), "A40156A");
  EXPECT_EQ(codabar.Characters("b40156d"), "B40156D");
  EXPECT_EQ(codabar.Characters("4x0"), "A40A") << "characters Codabar lacks are left out";
}

}  // namespace
}  // namespace paltrix::barcode
