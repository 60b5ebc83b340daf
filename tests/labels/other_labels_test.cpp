#include <gtest/gtest.h>

#include <string>

#include "app/labels/case_label.h"
#include "app/labels/compact_pallet_label.h"
#include "app/labels/ean_item_label.h"
#include "app/labels/mixed_pallet_label.h"
#include "tests/labels/label_test_data.h"

namespace paltrix::labels {
namespace {

using testing::kSscc;
using testing::OrdinaryInput;
using testing::Stream;
using testing::Today;

std::string Unwrap(const Result<std::string>& stream) {
  EXPECT_TRUE(stream.ok()) << stream.status().ToString();
  return stream.ok() ? *stream : std::string();
}

TEST(CompactPalletLabelTest, OrdinaryLabel) {
  EXPECT_EQ(Unwrap(BuildCompactPalletLabelStream(OrdinaryInput(), kSscc)),
            Stream({
                "^XA^FO30,72^A0N,68,113^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO30,141^A0N,56,75^FH^FDHavnevej 4, Port 2^FS",
                "^FO30,198^A0N,56,75^FH^FD8000 \x8Frhus -Id: P100^FS",
                "^FO30,257^A0N,45,45^FH^FDTlf: 86 12 34 56 Fax: 86 12 34 57^FS",
                "^FO30,306^A0N,56,75^FH^FDR\x9B"
                "dk\x86l 123^FS",
                "^FO30,364^A0N,75,75^FH^FDAntal: Kasser a 10 kg^FS",
                "^FO30,438^GB1080,0,8^FS",
                "^FO30,462^A0N,45,45^FH^FDSSCC:^FS^FO180,462^A0N,75,90^FH^FD057900010000000424^FS",
                "^FO30,552^A0N,45,45^FH^FDEan Nr:^FS^FO180,552^A0N,75,90^FH^FD5701234567892^FS",
                "^FO30,642^A0N,45,45^FH^FDAntal:^FS^FO180,642^A0N,75,90^FH^FD40^FS",
                "^FO30,732^A0N,45,45^FH^FDMHT^FS^FO180,732^A0N,75,90^FH^FD18.12.2026^FS",
                "^FO600,642^A0N,45,45^FH^FDNettov\x91gt^FS^FO780,642^A0N,75,90^FH^FD  12,500 kg^FS",
                "^FO600,732^A0N,45,45^FH^FDBatchNr^FS^FO780,732^A0N,75,90^FH^FDB77^FS",
                "^FO30,810^GB1080,0,8^FS",
                // Never an order number in this layout's barcodes.
                "^BY5,2.0,240^FO105,822^BCN,240,N,N,N^FH^FD>;>802057012345678923740^FS",
                "^FO105,1074^A0N,54,60^FH^FD(02)05701234567892(37)40^FS",
                "^BY4,2.0,240^FO105,1131^BCN,240,N,N,N^FH^FD>;>8152612183102001250>610B77^FS",
                "^FO105,1386^A0N,54,60^FH^FD(15)261218(3102)001250(10)B77^FS",
                "^BY6,2.0,270^FO105,1443^BCN,270,N,N,N^FH^FD>;>800057900010000000424^FS",
                "^FO105,1728^A0N,54,60^FH^FD(00)057900010000000424^FS",
            }));
}

TEST(CompactPalletLabelTest, WeightAloneGetsTheWiderBarAndCountZeroAnOneBarcode) {
  LabelInput input = OrdinaryInput();
  input.product.bestBefore = Today();
  input.product.batch.clear();
  input.product.count = 0;
  const std::string stream = Unwrap(BuildCompactPalletLabelStream(input, kSscc));
  EXPECT_NE(stream.find("^FO30,810^GB1080,0,8^FS"
                        "^BY5,2.0,240^FO105,822^BCN,240,N,N,N^FH^FD>;>80105701234567892^FS"
                        "^FO105,1074^A0N,54,60^FH^FD(01)05701234567892^FS"
                        "^BY3,2.0,240^FO105,1131^BCN,240,N,N,N^FH^FD>;>83102001250^FS"),
            std::string::npos);
  EXPECT_EQ(stream.find("Antal:^FS"), std::string::npos);
}

// Unlike the other pallet layouts, this one writes every separator and both
// captions of the phone row whatever is blank.
TEST(CompactPalletLabelTest, CompanyRowsKeepTheirSeparatorsWhenPartsAreBlank) {
  LabelInput input = testing::InputWithBlankOptionalTexts();
  input.sender.fax.clear();
  EXPECT_NE(Unwrap(BuildCompactPalletLabelStream(input, kSscc))
                .find("^FO30,141^A0N,56,75^FH^FDHavnevej 4, ^FS"
                      "^FO30,198^A0N,56,75^FH^FD8000 \x8Frhus -Id: P100^FS"
                      "^FO30,257^A0N,45,45^FH^FDTlf:  Fax: ^FS"
                      "^FO30,306^A0N,56,75^FH^FDR\x9B"
                      "dk\x86l ^FS"
                      "^FO30,438^GB1080,0,8^FS"),
            std::string::npos);
}

TEST(CaseLabelTest, OrdinaryLabel) {
  EXPECT_EQ(Unwrap(BuildCaseLabelStream(OrdinaryInput())),
            Stream({
                "^XA^FO20,30^A0N,40,60^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO20,70^A0N,30,30^FH^FDHavnevej 4, Port 2, 8000 \x8Frhus^FS",
                "^FO20,100^A0N,30,30^FH^FDTlf.: 86 12 34 56 Fax: 86 12 34 57^FS",
                "^FO20,140^A0N,40,40^FH^FDR\x9B"
                "dk\x86l   Ordre nr. 123^FS",
                "^FO20,180^GB730,0,8^FS",
                "^BY4,2.0,150^FO110,190^BCN,150,N,N,N^FH^FD>;>80105701234567892^FS",
                "^FO110,350^A0N,36,40^FH^FD(01)05701234567892^FS",
            }));
}

TEST(CaseLabelTest, SeparatorsStayWhenPartsAreBlank) {
  LabelInput input = OrdinaryInput();
  input.sender.address2.clear();
  input.product.orderNumber.clear();
  const std::string stream = Unwrap(BuildCaseLabelStream(input));
  EXPECT_NE(stream.find("^FO20,70^A0N,30,30^FH^FDHavnevej 4, , 8000 \x8Frhus^FS"),
            std::string::npos);
  EXPECT_NE(stream.find("^FO20,140^A0N,40,40^FH^FDR\x9B"
                        "dk\x86l^FS"),
            std::string::npos);
}

LabelInput MixedPalletInput() {
  LabelInput input = OrdinaryInput();
  input.product.name = "Blandet";
  input.product.bestBefore = 5;           // week 5
  input.product.batch = "1";              // mix number
  input.product.description = "1234567";  // flower order number
  return input;
}

TEST(MixedPalletLabelTest, SeparateBarcodesWhenWideNarrowIsZero) {
  EXPECT_EQ(Unwrap(BuildMixedPalletLabelStream(MixedPalletInput(), kSscc)),
            Stream({
                "^XA^LH0,0^FO50,150^A0N,100,100^FH^FDBlandet^FS",
                "^FO20,360^GB730,0,8^FS^FO20,380^A0N,30,30^FH^FDSSCC:^FS",
                "^FO120,380^A0N,50,60^FH^FD057900010000000424^FS",
                "^FO80,500^A0N,40,40^FH^FDMix Cont. Nr^FS",
                "^FO325,450^A0N,240,240^FH^FD1^FS",
                "^FO20,635^GB730,0,8^FS^FO80,680^A0N,40,40^FH^FDUge nr^FS",
                "^FO350,660^A0N,100,100^FH^FD05^FS",
                "^BY3,2.0,150^FO70,770^BCN,150,N,N,N^FH^FD>:>8100511234567^FS",
                "^FO70,930^A0N,36,40^FH^FD(10)0511234567^FS",
                "^BY4,2.0,170^FO70,1000^BCN,170,N,N,N^FH^FD>;>800057900010000000424^FS",
                "^FO70,1180^A0N,36,40^FH^FD(00)057900010000000424^FS",
            }));
}

TEST(MixedPalletLabelTest, OneCombinedBarcodeWhenWideNarrowIsSet) {
  LabelInput input = MixedPalletInput();
  input.wideNarrow = true;
  input.mixedCaption = "Net^AI90";
  EXPECT_EQ(
      Unwrap(BuildMixedPalletLabelStream(input, kSscc)),
      Stream({
          "^XA^LH0,0^FO50,150^A0N,100,100^FH^FDBlandet^FS",
          "^FO20,360^GB730,0,8^FS^FO20,380^A0N,30,30^FH^FDSSCC:^FS",
          "^FO120,380^A0N,50,60^FH^FD057900010000000424^FS",
          "^FO80,500^A0N,40,40^FH^FDNet_5EAI90^FS",
          "^FO325,450^A0N,240,240^FH^FD1^FS",
          "^FO20,635^GB730,0,8^FS^FO80,680^A0N,40,40^FH^FDUge nr^FS",
          "^FO350,660^A0N,100,100^FH^FD05^FS",
          // 277 modules: at ^BY3 the symbol would run past the 812-dot edge.
          "^BY2,2.0,170^FO70,1000^BCN,170,N,N,N^FH^FD>;>8000579000100000004241005>611234567^FS",
          "^FO70,1180^A0N,36,40^FH^FD(00)057900010000000424(10)0511234567^FS",
      }));
}

TEST(MixedPalletLabelTest, WeekOutsideTheYearIsRefused) {
  LabelInput input = MixedPalletInput();
  input.product.bestBefore = Today();  // a date, not a week
  EXPECT_FALSE(BuildMixedPalletLabelStream(input, kSscc).ok());
}

TEST(EanItemLabelTest, ThirteenDigitsGiveOneLabel) {
  EXPECT_EQ(Unwrap(BuildEanItemLabelStream(OrdinaryInput())),
            Stream({
                "^XA^FO20,30^A0N,30,30^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO20,70^A0N,30,30^FH^FDR\x9B"
                "dk\x86l^FS",
                "^BY3,2.0,150^FO50,110^BEN,100,Y,N^FH^FD5701234567892^FS",
            }));
}

TEST(EanItemLabelTest, AnythingButThirteenDigitsIsRefused) {
  for (const char* gtin : {"570123456789", "05701234567892", "570123456789X", ""}) {
    LabelInput input = OrdinaryInput();
    input.product.gtin = gtin;
    const Result<std::string> stream = BuildEanItemLabelStream(input);
    ASSERT_FALSE(stream.ok()) << gtin;
    EXPECT_EQ(stream.status().code(), ErrorCode::kInvalidValue);
  }
}

}  // namespace
}  // namespace paltrix::labels
