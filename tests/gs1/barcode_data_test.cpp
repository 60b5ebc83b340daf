#include "app/gs1/barcode_data.h"

#include <gtest/gtest.h>

namespace paltrix::gs1 {
namespace {

const std::string kGtin = "05790001234567";
const std::string kCount = "24";
const std::string kOrder = "12345";
const std::string kDate = "250131";
const std::string kWeight = "001250";
const std::string kBatch = "L0815";
const std::string kSscc = "057900010000000424";
const std::string F(1, kEngineFnc1);

Elements First(std::optional<std::string> count, std::optional<std::string> order) {
  Elements elements;
  elements.gtin14 = kGtin;
  elements.count = std::move(count);
  elements.orderNumber = std::move(order);
  return elements;
}

struct BarcodeRow {
  const char* note;
  Elements elements;
  std::optional<BarcodeData> expected;
};

TEST(FirstBarcode, EveryVariantInBothEncodings) {
  const BarcodeRow rows[] = {
      {"count and order", First(kCount, kOrder),
       BarcodeData{">;>802" + kGtin + "37" + kCount + ">8400" + kOrder,
                   F + "02" + kGtin + "37" + kCount + F + "400" + kOrder,
                   "(02)" + kGtin + "(37)" + kCount + "(400)" + kOrder}},
      {"count", First(kCount, std::nullopt),
       BarcodeData{">;>802" + kGtin + "37" + kCount, F + "02" + kGtin + "37" + kCount,
                   "(02)" + kGtin + "(37)" + kCount}},
      {"order, no FNC1 after the fixed-length GTIN", First(std::nullopt, kOrder),
       BarcodeData{">;>801" + kGtin + "400" + kOrder, F + "01" + kGtin + "400" + kOrder,
                   "(01)" + kGtin + "(400)" + kOrder}},
      {"GTIN alone", First(std::nullopt, std::nullopt),
       BarcodeData{">;>801" + kGtin, F + "01" + kGtin, "(01)" + kGtin}},
      {"six-digit count", First("010000", std::nullopt),
       BarcodeData{">;>802" + kGtin + "37010000", F + "02" + kGtin + "37010000",
                   "(02)" + kGtin + "(37)010000"}},
      {"one-digit order pairs up with 400", First(std::nullopt, "7"),
       BarcodeData{">;>801" + kGtin + "4007", F + "01" + kGtin + "4007",
                   "(01)" + kGtin + "(400)7"}},
  };
  for (const BarcodeRow& row : rows)
    EXPECT_EQ(FirstBarcode(row.elements), row.expected) << row.note;
}

TEST(FirstBarcode, OrderNumbersSubsetCCannotCarryGoInSubsetB) {
  const BarcodeRow rows[] = {
      {"four digits: 400 and 1234 leave a lone digit, the pairs stay in subset C",
       First(kCount, "1234"),
       BarcodeData{">;>802" + kGtin + "37" + kCount + ">8400123>64",
                   F + "02" + kGtin + "37" + kCount + F + "4001234",
                   "(02)" + kGtin + "(37)" + kCount + "(400)1234"}},
      {"letters: the pair 40 stays in subset C", First(std::nullopt, "AB>1"),
       BarcodeData{">;>801" + kGtin + "40>60AB>01", F + "01" + kGtin + "400AB>1",
                   "(01)" + kGtin + "(400)AB>1"}},
  };
  for (const BarcodeRow& row : rows)
    EXPECT_EQ(FirstBarcode(row.elements), row.expected) << row.note;
}

Elements Second(std::optional<std::string> date, std::optional<std::string> weight,
                std::optional<std::string> batch) {
  Elements elements;
  elements.gtin14 = kGtin;
  elements.bestBefore = std::move(date);
  elements.netWeight = std::move(weight);
  elements.batch = std::move(batch);
  return elements;
}

TEST(SecondBarcode, EveryVariantInBothEncodings) {
  const BarcodeRow rows[] = {
      {"date, weight, batch", Second(kDate, kWeight, kBatch),
       BarcodeData{">;>815" + kDate + "3102" + kWeight + ">610" + kBatch,
                   F + "15" + kDate + "3102" + kWeight + "10" + kBatch,
                   "(15)" + kDate + "(3102)" + kWeight + "(10)" + kBatch}},
      {"weight, batch", Second(std::nullopt, kWeight, kBatch),
       BarcodeData{">;>83102" + kWeight + ">610" + kBatch, F + "3102" + kWeight + "10" + kBatch,
                   "(3102)" + kWeight + "(10)" + kBatch}},
      {"date, weight", Second(kDate, kWeight, std::nullopt),
       BarcodeData{">;>815" + kDate + "3102" + kWeight, F + "15" + kDate + "3102" + kWeight,
                   "(15)" + kDate + "(3102)" + kWeight}},
      {"weight", Second(std::nullopt, kWeight, std::nullopt),
       BarcodeData{">;>83102" + kWeight, F + "3102" + kWeight, "(3102)" + kWeight}},
      {"date, batch", Second(kDate, std::nullopt, kBatch),
       BarcodeData{">;>815" + kDate + ">610" + kBatch, F + "15" + kDate + "10" + kBatch,
                   "(15)" + kDate + "(10)" + kBatch}},
      {"batch alone starts in subset B", Second(std::nullopt, std::nullopt, kBatch),
       BarcodeData{">:>810" + kBatch, F + "10" + kBatch, "(10)" + kBatch}},
      {"date", Second(kDate, std::nullopt, std::nullopt),
       BarcodeData{">;>815" + kDate, F + "15" + kDate, "(15)" + kDate}},
      {"none: no barcode and no line", Second(std::nullopt, std::nullopt, std::nullopt),
       std::nullopt},
      {"numeric batch is still sent in subset B", Second(std::nullopt, kWeight, "4711"),
       BarcodeData{">;>83102" + kWeight + ">6104711", F + "3102" + kWeight + "104711",
                   "(3102)" + kWeight + "(10)4711"}},
  };
  for (const BarcodeRow& row : rows) {
    EXPECT_EQ(SecondBarcode(row.elements), row.expected) << row.note;
  }
}

TEST(SecondBarcode, ZplReservedCharactersInTheBatchBecomeInvocationCodes) {
  const std::pair<const char*, const char*> rows[] = {
      {"A>B", ">:>810A>0B"},   // ">" would start an invocation code
      {"^XZ", ">:>810><XZ"},   // "^" would end the label format
      {"~JA", ">:>810>=JA"},   // "~" would be a control command
      {"A_1F", ">:>810A_1F"},  // left for the ^FH escaping of the label
  };
  for (const auto& [batch, zpl] : rows) {
    const auto barcode = SecondBarcode(Second(std::nullopt, std::nullopt, batch));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->zplData, zpl) << batch;
    EXPECT_EQ(barcode->engineData, F + "10" + batch) << "the engine takes the raw text";
    EXPECT_EQ(barcode->humanReadable, std::string("(10)") + batch);
  }
}

TEST(SsccBarcode, BothEncodings) {
  EXPECT_EQ(SsccBarcode(kSscc).value(),
            (BarcodeData{">;>800" + kSscc, F + "00" + kSscc, "(00)" + kSscc}));
  EXPECT_EQ(SsccBarcode(kSscc + "  ").value().humanReadable, "(00)" + kSscc)
      << "only the first 18 characters of FIR:SSCC";
}

TEST(SsccBarcode, RefusesWhatIsNotAnSscc) {
  for (const char* sscc : {"", "05790001000000042", "057900010000000425", "0579000100000004A4"}) {
    const auto barcode = SsccBarcode(sscc);
    ASSERT_FALSE(barcode.ok()) << sscc;
    EXPECT_EQ(barcode.status().code(), ErrorCode::kInvalidValue);
  }
}

TEST(MixedPalletBarcode, TogetherWithTheSsccOrSeparate) {
  const MixedPalletContent content{7, "3  ", "F-204  "};
  EXPECT_EQ(MixedPalletBarcodeWithSscc(kSscc, content).value(),
            (BarcodeData{">;>800" + kSscc + "1007>63F-204", F + "00" + kSscc + "10073F-204",
                         "(00)" + kSscc + "(10)073F-204"}));
  EXPECT_EQ(MixedPalletBarcode(content).value(),
            (BarcodeData{">:>810073F-204", F + "10073F-204", "(10)073F-204"}));
}

TEST(MixedPalletBarcode, EscapesAndRefuses) {
  EXPECT_EQ(MixedPalletBarcode({12, "1", "A>B"}).value().zplData, ">:>810121A>0B");

  const std::pair<MixedPalletContent, const char*> refused[] = {
      {{0, "1", ""}, "week 0"},
      {{54, "1", ""}, "week 54"},
      {{5, "1", "Bl\xE5"}, "å in the flower order number"},
  };
  for (const auto& [content, note] : refused) {
    EXPECT_FALSE(MixedPalletBarcode(content).ok()) << note;
    EXPECT_FALSE(MixedPalletBarcodeWithSscc(kSscc, content).ok()) << note;
  }
  EXPECT_FALSE(MixedPalletBarcodeWithSscc("", {5, "1", ""}).ok()) << "no SSCC";
}

}  // namespace
}  // namespace paltrix::gs1
