#include "app/labels/pallet_label.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

#include "app/labels/pallet_layouts.h"
#include "tests/labels/label_test_data.h"

namespace paltrix::labels {
namespace {

using testing::kSscc;
using testing::OrdinaryInput;
using testing::Rows;
using testing::Stream;
using testing::Today;

std::string Build(const PalletLayout& layout, const LabelInput& input) {
  Result<std::string> stream = BuildPalletLabelStream(layout, input, kSscc);
  EXPECT_TRUE(stream.ok()) << stream.status().ToString();
  return stream.ok() ? *stream : std::string();
}

TEST(PalletLabelTest, FourInchEightDotsOrdinaryLabel) {
  EXPECT_EQ(Build(kPalletLayout4, OrdinaryInput()),
            Stream({
                "^XA^FO20,48^A0N,60,70^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO20,110^A0N,40,40^FH^FDHavnevej 4, Port 2^FS",
                "^FO20,150^A0N,40,40^FH^FD8000 \x8Frhus^FS",
                "^FO20,200^A0N,30,30^FH^FDTlf.: 86 12 34 56 Fax: 86 12 34 57^FS",
                "^FO20,240^A0N,50,50^FH^FDR\x9B"
                "dk\x86l^FS",
                "^FO20,290^A0N,40,40^FH^FDKasser a 10 kg^FS",
                "^FO540,570^A0N,40,40^FH^FD123^FS^FO540,535^A0N,30,30^FH^FDOrdre nr.^FS",
                "^FO20,340^GB770,0,8^FS",
                "^FO20,355^A0N,30,30^FH^FDSSCC^FS^FO20,390^A0N,50,50^FH^FD057900010000000424^FS",
                "^FO20,445^A0N,30,30^FH^FDGTIN^FS^FO20,480^A0N,50,50^FH^FD5701234567892^FS",
                "^FO540,355^A0N,30,30^FH^FDAntal^FS^FO540,390^A0N,50,50^FH^FD40^FS",
                "^FO20,535^A0N,30,30^FH^FDMHT^FS^FO20,570^A0N,40,40^FH^FD18.12.2026^FS",
                "^FO330,535^A0N,30,30^FH^FDNetto v\x91gt^FS^FO330,570^A0N,40,40^FH^FD  12,50 kg^FS",
                "^FO540,445^A0N,30,30^FH^FDBatch nr.^FS^FO540,480^A0N,50,50^FH^FDB77^FS",
                "^FO20,605^GB770,0,8^FS",
                "^BY3,2.0,150^FO50,620^BCN,150,N,N,N^FD>;>802057012345678923740>8400123^FS",
                "^FO50,780^A0N,36,40^FH^FD(02)05701234567892(37)40(400)123^FS",
                "^BY2,2.0,150^FO50,813^BCN,150,N,N,N^FH^FD>;>8152612183102001250>610B77^FS",
                "^FO50,973^A0N,36,40^FH^FD(15)261218(3102)001250(10)B77^FS",
                "^BY4,2.0,170^FO50,1006^BCN,170,N,N,N^FH^FD>;>800057900010000000424^FS",
                "^FO50,1186^A0N,36,40^FH^FD(00)057900010000000424^FS",
            }));
}

TEST(PalletLabelTest, FourInchTwelveDotsOrdinaryLabel) {
  EXPECT_EQ(Build(kPalletLayout4Fine, OrdinaryInput()),
            Stream({
                "^XA^FO30,72^A0N,90,105^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO30,165^A0N,60,60^FH^FDHavnevej 4, Port 2^FS",
                "^FO30,225^A0N,60,60^FH^FD8000 \x8Frhus^FS",
                "^FO30,300^A0N,45,45^FH^FDTlf.: 86 12 34 56 Fax: 86 12 34 57^FS",
                "^FO30,360^A0N,75,75^FH^FDR\x9B"
                "dk\x86l^FS",
                "^FO30,435^A0N,60,60^FH^FDKasser a 10 kg^FS",
                "^FO810,855^A0N,60,60^FH^FD123^FS^FO810,803^A0N,45,45^FH^FDOrdre nr.^FS",
                "^FO30,510^GB1155,0,8^FS",
                "^FO30,533^A0N,45,45^FH^FDSSCC^FS^FO30,585^A0N,75,75^FH^FD057900010000000424^FS",
                "^FO30,668^A0N,45,45^FH^FDGTIN^FS^FO30,720^A0N,75,75^FH^FD5701234567892^FS",
                "^FO810,533^A0N,45,45^FH^FDAntal^FS^FO810,585^A0N,75,75^FH^FD40^FS",
                "^FO30,803^A0N,45,45^FH^FDMHT^FS^FO30,855^A0N,60,60^FH^FD18.12.2026^FS",
                "^FO495,803^A0N,45,45^FH^FDNetto v\x91gt^FS^FO495,855^A0N,60,60^FH^FD  12,50 kg^FS",
                "^FO810,668^A0N,45,45^FH^FDBatch nr.^FS^FO810,720^A0N,75,75^FH^FDB77^FS",
                "^FO30,908^GB1155,0,8^FS",
                "^BY4,2.0,225^FO75,930^BCN,225,N,N,N^FD>;>802057012345678923740>8400123^FS",
                "^FO75,1170^A0N,54,60^FH^FD(02)05701234567892(37)40(400)123^FS",
                "^BY3,2.0,225^FO75,1220^BCN,225,N,N,N^FH^FD>;>8152612183102001250>610B77^FS",
                "^FO75,1460^A0N,54,60^FH^FD(15)261218(3102)001250(10)B77^FS",
                "^BY5,2.0,255^FO75,1510^BCN,255,N,N,N^FH^FD>;>800057900010000000424^FS",
                "^FO75,1780^A0N,54,60^FH^FD(00)057900010000000424^FS",
            }));
}

// The order number comes before the description; both, and the order number
// in the barcode line, as stored; the address joins its lines with a blank.
TEST(PalletLabelTest, SixInchTwelveDotsOrdinaryLabel) {
  LabelInput input = OrdinaryInput();
  input.product.description = "Sk\xE6rm";  // as stored: stays E6
  EXPECT_EQ(Build(kPalletLayout6Fine, input),
            Stream({
                "^XA^FO120,72^A0N,90,113^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO120,165^A0N,75,75^FH^FDHavnevej 4 Port 2^FS",
                "^FO120,251^A0N,75,75^FH^FD8000 \x8Frhus^FS",
                "^FO120,366^A0N,60,60^FH^FDTlf.: 86 12 34 56 Fax: 86 12 34 57^FS",
                "^FO120,429^A0N,90,113^FH^FDR\x9B"
                "dk\x86l^FS",
                "^FO1200,963^A0N,75,90^FH^FD123^FS^FO1200,912^A0N,45,45^FH^FDOrdre nr.^FS",
                "^FO120,525^A0N,60,60^FH^FDSk\xE6rm^FS",
                "^FO120,585^GB1587,0,9^FS",
                "^FO120,621^A0N,45,45^FH^FDSSCC^FS^FO120,672^A0N,75,90^FH^FD057900010000000424^FS",
                "^FO120,768^A0N,45,45^FH^FDGTIN^FS^FO120,819^A0N,75,90^FH^FD5701234567892^FS",
                "^FO1200,621^A0N,45,45^FH^FDAntal^FS^FO1200,672^A0N,75,90^FH^FD40^FS",
                "^FO120,912^A0N,45,45^FH^FDMHT^FS^FO120,963^A0N,75,90^FH^FD18.12.2026^FS",
                "^FO681,912^A0N,45,45^FH^FDNetto v\x91gt^FS^FO681,963^A0N,75,90^FH^FD  12,50 kg^FS",
                "^FO1200,768^A0N,45,45^FH^FDBatch nr.^FS^FO1200,819^A0N,75,90^FH^FDB77^FS",
                "^FO120,1056^GB1587,0,9^FS",
                "^BY6,2.0,360^FO150,1082^BCN,360,N,N,N^FH^FD>;>802057012345678923740>8400123^FS",
                "^FO150,1458^A0N,54,60^FH^FD(02)05701234567892(37)40(400)123^FS",
                "^BY5,2.0,360^FO150,1534^BCN,360,N,N,N^FH^FD>;>8152612183102001250>610B77^FS",
                "^FO150,1910^A0N,54,60^FH^FD(15)261218(3102)001250(10)B77^FS",
                "^BY8,2.0,390^FO150,1981^BCN,390,N,N,N^FH^FD>;>800057900010000000424^FS",
                "^FO150,2386^A0N,54,60^FH^FD(00)057900010000000424^FS",
            }));
}

// The address shows its first line only; "BEDST FØR" as the date caption.
TEST(PalletLabelTest, SixInchEightDotsOrdinaryLabel) {
  LabelInput input = OrdinaryInput();
  input.product.description = "Sk\xE6rm";  // converted: 91
  EXPECT_EQ(Build(kPalletLayout6, input),
            Stream({
                "^XA^FO80,48^A0N,60,75^FH^FDGr\x9Bnt & Frugt A/S^FS",
                "^FO80,110^A0N,50,50^FH^FDHavnevej 4^FS",
                "^FO80,167^A0N,50,50^FH^FD8000 \x8Frhus^FS",
                "^FO80,224^A0N,40,40^FH^FDTlf.: 86 12 34 56 Fax: 86 12 34 57^FS",
                "^FO80,286^A0N,60,75^FH^FDR\x9B"
                "dk\x86l^FS",
                "^FO80,350^A0N,40,40^FH^FDSk\x91rm^FS",
                "^FO800,642^A0N,50,60^FH^FD123^FS^FO800,608^A0N,30,30^FH^FDOrdre nr.^FS",
                "^FO80,390^GB1058,0,9^FS",
                "^FO80,414^A0N,30,30^FH^FDSSCC^FS^FO80,448^A0N,50,60^FH^FD057900010000000424^FS",
                "^FO80,512^A0N,30,30^FH^FDGTIN^FS^FO80,546^A0N,50,60^FH^FD5701234567892^FS",
                "^FO800,414^A0N,30,30^FH^FDAntal^FS^FO800,448^A0N,50,60^FH^FD40^FS",
                "^FO80,608^A0N,30,30^FH^FDBEDST F\x9DR^FS^FO80,642^A0N,50,60^FH^FD18.12.2026^FS",
                "^FO454,608^A0N,30,30^FH^FDNetto v\x91gt^FS^FO454,642^A0N,50,60^FH^FD  12,50 kg^FS",
                "^FO800,512^A0N,30,30^FH^FDBatch nr.^FS^FO800,546^A0N,50,60^FH^FDB77^FS",
                "^FO80,704^GB1058,0,9^FS",
                "^BY4,2.0,240^FO100,721^BCN,240,N,N,N^FH^FD>;>802057012345678923740>8400123^FS",
                "^FO100,972^A0N,36,40^FH^FD(02)05701234567892(37)40(400)123^FS",
                "^BY3,2.0,240^FO100,1029^BCN,240,N,N,N^FH^FD>;>8152612183102001250>610B77^FS",
                "^FO100,1280^A0N,36,40^FH^FD(15)261218(3102)001250(10)B77^FS",
                "^BY6,2.0,260^FO100,1334^BCN,260,N,N,N^FH^FD>;>800057900010000000424^FS",
                "^FO100,1604^A0N,36,40^FH^FD(00)057900010000000424^FS",
            }));
}

// Which of best-before, weight and batch are printed; the layouts' second
// barcode command prefixes are those of the row tables, the width by variant.
struct SecondBarcodeCase {
  bool bestBefore;
  bool weight;
  bool batch;
  std::string_view data;
  std::string_view line;
  int width4;
  int width4Fine;
  int width6Fine;
  int width6;
};

constexpr SecondBarcodeCase kSecondBarcodeCases[] = {
    {true, true, true, ">;>8152612183102001250>610B77", "(15)261218(3102)001250(10)B77", 2, 3, 5,
     3},
    {false, true, true, ">;>83102001250>610B77", "(3102)001250(10)B77", 3, 4, 6, 4},
    {true, true, false, ">;>8152612183102001250", "(15)261218(3102)001250", 3, 5, 6, 4},
    {false, true, false, ">;>83102001250", "(3102)001250", 4, 5, 7, 5},
    {true, false, true, ">;>815261218>610B77", "(15)261218(10)B77", 3, 4, 6, 4},
    {false, false, true, ">:>810B77", "(10)B77", 4, 5, 7, 5},
    {true, false, false, ">;>815261218", "(15)261218", 4, 5, 7, 5},
};

LabelInput WithSecondBarcodeElements(const SecondBarcodeCase& c) {
  LabelInput input = OrdinaryInput();
  if (!c.bestBefore) input.product.bestBefore = Today();
  if (!c.weight) input.product.netWeightThousandths = 0;
  if (!c.batch) input.product.batch.clear();
  return input;
}

TEST(PalletLabelTest, SecondBarcodeWidthFollowsItsElements) {
  for (const SecondBarcodeCase& c : kSecondBarcodeCases) {
    SCOPED_TRACE(c.line);
    const LabelInput input = WithSecondBarcodeElements(c);
    EXPECT_NE(Build(kPalletLayout4, input)
                  .find(fmt::format("^BY{},2.0,150^FO50,813^BCN,150,N,N,N^FH^FD{}^FS"
                                    "^FO50,973^A0N,36,40^FH^FD{}^FS^BY4,",
                                    c.width4, c.data, c.line)),
              std::string::npos);
    EXPECT_NE(Build(kPalletLayout4Fine, input)
                  .find(fmt::format("^BY{},2.0,225^FO75,1220^BCN,225,N,N,N^FH^FD{}^FS"
                                    "^FO75,1460^A0N,54,60^FH^FD{}^FS^BY5,",
                                    c.width4Fine, c.data, c.line)),
              std::string::npos);
    EXPECT_NE(Build(kPalletLayout6Fine, input)
                  .find(fmt::format("^BY{},2.0,360^FO150,1534^BCN,360,N,N,N^FH^FD{}^FS"
                                    "^FO150,1910^A0N,54,60^FH^FD{}^FS^BY8,",
                                    c.width6Fine, c.data, c.line)),
              std::string::npos);
    // The (3102)-only barcode of this layout has its own command; see below.
    if (c.bestBefore || !c.weight || c.batch) {
      EXPECT_NE(Build(kPalletLayout6, input)
                    .find(fmt::format("^BY{},2.0,240^FO100,1029^BCN,240,N,N,N^FH^FD{}^FS"
                                      "^FO100,1280^A0N,36,40^FH^FD{}^FS^BY6,",
                                      c.width6, c.data, c.line)),
                std::string::npos);
    }
  }
}

TEST(PalletLabelTest, SixInchEightDotsWeightAloneKeepsItsOwnCommand) {
  LabelInput input = OrdinaryInput();
  input.product.bestBefore = Today();
  input.product.batch.clear();
  EXPECT_NE(
      Build(kPalletLayout6, input)
          .find("(37)40(400)123^FS^BY5,2.0,600^FO100,1029^BCN,240,N,N,N^FH^FD>;>83102001250^FS"),
      std::string::npos);
}

TEST(PalletLabelTest, NoSecondBarcodeWithoutBestBeforeWeightAndBatch) {
  LabelInput input = OrdinaryInput();
  input.product.bestBefore = Today();
  input.product.netWeightThousandths = 0;
  input.product.batch.clear();
  const std::string stream = Build(kPalletLayout4, input);
  EXPECT_NE(stream.find(Rows({
                "^FO20,445^A0N,30,30^FH^FDGTIN^FS^FO20,480^A0N,50,50^FH^FD5701234567892^FS",
                "^FO540,355^A0N,30,30^FH^FDAntal^FS^FO540,390^A0N,50,50^FH^FD40^FS",
                "^FO20,605^GB770,0,8^FS",
                "^BY3,2.0,150^FO50,620^BCN,150,N,N,N^FD>;>802057012345678923740>8400123^FS",
                "^FO50,780^A0N,36,40^FH^FD(02)05701234567892(37)40(400)123^FS",
                "^BY4,2.0,170^FO50,1006^BCN,170,N,N,N^FH^FD>;>800057900010000000424^FS",
            })),
            std::string::npos);
  EXPECT_EQ(stream.find("MHT"), std::string::npos);
  EXPECT_EQ(stream.find("Netto"), std::string::npos);
  EXPECT_EQ(stream.find("Batch"), std::string::npos);
  EXPECT_EQ(stream.find("813"), std::string::npos);
}

TEST(PalletLabelTest, WeightTakesTheBestBeforePlaceWhenNoDateIsPrinted) {
  LabelInput input = OrdinaryInput();
  input.product.bestBefore = Today();
  input.product.netWeightThousandths = 1234567;  // 1234.567 kg, rounded like the barcode
  EXPECT_NE(Build(kPalletLayout4, input)
                .find("^FO20,535^A0N,30,30^FH^FDNetto v\x91gt^FS"
                      "^FO20,570^A0N,40,40^FH^FD1 234,57 kg^FS"),
            std::string::npos);
  EXPECT_NE(Build(kPalletLayout6Fine, input)
                .find("^FO120,912^A0N,45,45^FH^FDNetto v\x91gt^FS"
                      "^FO120,963^A0N,75,90^FH^FD1 234,57 kg^FS"),
            std::string::npos);
}

// First barcode by count and order number, for each layout.
struct FirstBarcodeCase {
  std::int32_t count;
  std::uint8_t orderInBarcode;
  std::string_view expected4;
  std::string_view expected6Fine;
};

constexpr FirstBarcodeCase kFirstBarcodeCases[] = {
    {40, 1,
     "^BY3,2.0,150^FO50,620^BCN,150,N,N,N^FD>;>802057012345678923740>8400123^FS"
     "^FO50,780^A0N,36,40^FH^FD(02)05701234567892(37)40(400)123^FS",
     "^BY6,2.0,360^FO150,1082^BCN,360,N,N,N^FH^FD>;>802057012345678923740>8400123^FS"
     "^FO150,1458^A0N,54,60^FH^FD(02)05701234567892(37)40(400)123^FS"},
    {40, 0,
     "^BY4,2.0,150^FO50,620^BCN,150,N,N,N^FH^FD>;>802057012345678923740^FS"
     "^FO50,780^A0N,36,40^FH^FD(02)05701234567892(37)40^FS",
     "^BY7,2.0,360^FO150,1082^BCN,360,N,N,N^FH^FD>;>802057012345678923740^FS"
     "^FO150,1458^A0N,54,60^FH^FD(02)05701234567892(37)40^FS"},
    // Without a count the 6-inch label never carries (400).
    {0, 1,
     "^BY4,2.0,150^FO50,620^BCN,150,N,N,N^FH^FD>;>80105701234567892400123^FS"
     "^FO50,780^A0N,36,40^FH^FD(01)05701234567892(400)123^FS",
     "^BY7,2.0,360^FO150,1082^BCN,360,N,N,N^FH^FD>;>80105701234567892^FS"
     "^FO150,1458^A0N,54,60^FH^FD(01)05701234567892^FS"},
    {0, 0,
     "^BY4,2.0,150^FO50,620^BCN,150,N,N,N^FH^FD>;>80105701234567892^FS"
     "^FO50,780^A0N,36,40^FH^FD(01)05701234567892^FS",
     "^BY7,2.0,360^FO150,1082^BCN,360,N,N,N^FH^FD>;>80105701234567892^FS"
     "^FO150,1458^A0N,54,60^FH^FD(01)05701234567892^FS"},
};

TEST(PalletLabelTest, FirstBarcodeFollowsCountAndOrderNumber) {
  for (const FirstBarcodeCase& c : kFirstBarcodeCases) {
    SCOPED_TRACE(c.expected4);
    LabelInput input = OrdinaryInput();
    input.product.count = c.count;
    input.product.orderInBarcode = c.orderInBarcode;
    const std::string stream4 = Build(kPalletLayout4, input);
    const std::string stream6 = Build(kPalletLayout6Fine, input);
    EXPECT_NE(stream4.find(c.expected4), std::string::npos);
    EXPECT_NE(stream6.find(c.expected6Fine), std::string::npos);
    EXPECT_EQ(stream4.find("Antal") != std::string::npos, c.count != 0);
    EXPECT_EQ(stream6.find("Antal") != std::string::npos, c.count != 0);
  }
}

TEST(PalletLabelTest, OptionalCompanyAndProductRowsFollowTheirFields) {
  LabelInput input = testing::InputWithBlankOptionalTexts();
  const std::string stream4 = Build(kPalletLayout4, input);
  EXPECT_NE(stream4.find(Rows({
                "^FO20,110^A0N,40,40^FH^FDHavnevej 4^FS",
                "^FO20,150^A0N,40,40^FH^FD8000 \x8Frhus^FS",
                "^FO20,200^A0N,30,30^FH^FDFax: 86 12 34 57^FS",
                "^FO20,240^A0N,50,50^FH^FDR\x9B"
                "dk\x86l^FS",
                "^FO20,340^GB770,0,8^FS",
            })),
            std::string::npos);
  EXPECT_EQ(stream4.find("Ordre nr."), std::string::npos);
  // The 12 dots/mm 6-inch address still ends with the blank between the lines.
  EXPECT_NE(Build(kPalletLayout6Fine, input).find("^FO120,165^A0N,75,75^FH^FDHavnevej 4 ^FS"),
            std::string::npos);

  input.sender.fax.clear();
  EXPECT_NE(Build(kPalletLayout4, input).find("^FO20,200^A0N,30,30^FH^FD^FS"), std::string::npos);
}

TEST(PalletLabelTest, OperatorTextPrintsLiterally) {
  LabelInput input = OrdinaryInput();
  input.product.name = "A^XZ~JA_1F";
  input.sender.phone = "^XA\r\n";
  input.product.batch = "X^Y~Z_1";
  const std::string stream = Build(kPalletLayout4, input);
  EXPECT_NE(stream.find("^FO20,240^A0N,50,50^FH^FDA_5EXZ_7EJA_5F1F^FS"), std::string::npos);
  EXPECT_NE(stream.find("^FO20,200^A0N,30,30^FH^FDTlf.: _5EXA_0D_0A Fax: 86 12 34 57^FS"),
            std::string::npos);
  EXPECT_NE(stream.find("^FO540,480^A0N,50,50^FH^FDX_5EY_7EZ_5F1^FS"), std::string::npos);
  // In the barcode "^" and "~" are Code 128 invocation codes, "_" is hex-escaped.
  EXPECT_NE(stream.find("^FH^FD>;>8152612183102001250>610X><Y>=Z_5F1^FS"
                        "^FO50,973^A0N,36,40^FH^FD(15)261218(3102)001250(10)X_5EY_7EZ_5F1^FS"),
            std::string::npos);
}

TEST(PalletLabelTest, LongStreamsAreNotCut) {
  LabelInput input = OrdinaryInput();
  input.sender.name = std::string(35, '_');
  input.sender.address1 = input.sender.address2 = std::string(35, '~');
  input.product.name = std::string(50, '^');
  input.product.description = std::string(60, '_');
  input.sender.town = input.sender.phone = input.sender.fax = std::string(20, '^');
  const std::string stream = Build(kPalletLayout6Fine, input);
  EXPECT_GT(stream.size(), 2000u);
  EXPECT_TRUE(stream.ends_with("(00)057900010000000424^FS^PQ2,0,1,N^XZ"));
}

TEST(PalletLabelTest, DataThatCannotFormGs1ElementsIsRefused) {
  LabelInput badGtin = OrdinaryInput();
  badGtin.product.gtin = "57012A";
  LabelInput badBatch = OrdinaryInput();
  badBatch.product.batch = "B\xF8";  // ø has no Code 128 form
  for (const LabelInput& input : {badGtin, badBatch}) {
    const Result<std::string> stream = BuildPalletLabelStream(kPalletLayout4, input, kSscc);
    ASSERT_FALSE(stream.ok());
    EXPECT_EQ(stream.status().code(), ErrorCode::kInvalidValue);
  }
  EXPECT_FALSE(BuildPalletLabelStream(kPalletLayout4, OrdinaryInput(), "057900010000000425").ok());
}

}  // namespace
}  // namespace paltrix::labels
