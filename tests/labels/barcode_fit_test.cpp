#include "app/labels/barcode_fit.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/labels/case_label.h"
#include "app/labels/compact_pallet_label.h"
#include "app/labels/mixed_pallet_label.h"
#include "app/labels/pallet_label.h"
#include "app/labels/pallet_layouts.h"
#include "app/labels/zpl_code128.h"
#include "label_test_data.h"

namespace paltrix::labels {
namespace {

using testing::kSscc;
using testing::OrdinaryInput;

struct BarcodeField {
  int narrowBar = 0;
  int x = 0;
  std::string data;  // as the printer reads it, ^FH escapes undone
};

std::string UndoHexEscapes(const std::string& data) {
  std::string plain;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '_' && i + 2 < data.size()) {
      plain.push_back(static_cast<char>(std::stoi(data.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      plain.push_back(data[i]);
    }
  }
  return plain;
}

std::vector<BarcodeField> Code128Fields(const std::string& stream) {
  static const std::regex kField(
      R"(\^BY(\d+)[^\^]*\^FO(\d+),\d+\^BC[^\^]*(\^FH)?\^FD([^\^]*)\^FS)");
  std::vector<BarcodeField> fields;
  for (auto it = std::sregex_iterator(stream.begin(), stream.end(), kField);
       it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    fields.push_back({std::stoi(m[1]), std::stoi(m[2]),
                      m[3].matched ? UndoHexEscapes(m[4]) : std::string(m[4])});
  }
  return fields;
}

struct Procedure {
  const char* name;
  std::function<Result<std::string>(const LabelInput&)> build;
  int labelWidth;
};

const Procedure kProcedures[] = {
    {"4-inch 8 dots/mm",
     [](const LabelInput& in) { return BuildPalletLabelStream(kPalletLayout4, in, kSscc); }, 812},
    {"4-inch 12 dots/mm",
     [](const LabelInput& in) { return BuildPalletLabelStream(kPalletLayout4Fine, in, kSscc); },
     1219},
    {"6-inch 8 dots/mm",
     [](const LabelInput& in) { return BuildPalletLabelStream(kPalletLayout6, in, kSscc); }, 1219},
    {"6-inch 12 dots/mm",
     [](const LabelInput& in) { return BuildPalletLabelStream(kPalletLayout6Fine, in, kSscc); },
     1828},
    {"4-inch compact",
     [](const LabelInput& in) { return BuildCompactPalletLabelStream(in, kSscc); }, 1219},
    {"4-inch case", [](const LabelInput& in) { return BuildCaseLabelStream(in); }, 812},
    {"mixed, separate", [](const LabelInput& in) { return BuildMixedPalletLabelStream(in, kSscc); },
     812},
    {"mixed, combined",
     [](LabelInput in) {
       in.wideNarrow = true;
       return BuildMixedPalletLabelStream(in, kSscc);
     },
     812},
};

// Every variant of every ZPL label with the widest data the inputs allow:
// count 999 999, a five-letter order number in the barcode, a 19-character
// batch, with and without each optional element. Every Code 128 symbol, with
// its ten-module quiet zone (ISO/IEC 15417), ends on the label.
TEST(BarcodeFit, EveryZplCode128SymbolEndsOnItsLabelWithItsQuietZone) {
  int measured = 0;
  for (const Procedure& procedure : kProcedures) {
    for (const std::int32_t count : {0, 999'999}) {
      for (const char* order : {"", "ABCDE", "1234", "12345"}) {
        for (const bool bestBefore : {false, true}) {
          for (const bool weight : {false, true}) {
            for (const char* batch : {"", "ABCDEFGHIJKLMNOPQRS"}) {
              LabelInput input = OrdinaryInput();
              input.product.count = count;
              input.product.orderNumber = order;
              input.product.bestBefore = bestBefore ? input.today + 10 : input.today;
              input.product.netWeightThousandths = weight ? 9'999'990 : 0;
              input.product.batch = batch;
              if (procedure.name[0] == 'm') {  // mixed pallet: week, mix and flower order
                input.product.bestBefore = 53;
                input.product.description = "";
                if (input.product.batch.empty()) input.product.batch = "1";
              }
              const Result<std::string> stream = procedure.build(input);
              ASSERT_TRUE(stream.ok()) << procedure.name << ": " << stream.status().message();
              for (const BarcodeField& field : Code128Fields(*stream)) {
                const auto symbol = ZplCode128Symbol(field.data);
                ASSERT_TRUE(symbol.has_value()) << procedure.name << " " << field.data;
                const int modules = barcode::Code128ModuleCount(symbol->size());
                EXPECT_LE(field.x + (modules + kQuietZoneModules) * field.narrowBar,
                          procedure.labelWidth)
                    << procedure.name << " ^BY" << field.narrowBar << " " << field.data;
                ++measured;
              }
            }
          }
        }
      }
    }
  }
  EXPECT_GT(measured, 8 * 4 * 8 * 2);
}

// The symbols verification found past the edge, and what they are now.
TEST(BarcodeFit, SymbolsThatRanPastTheEdgeAreShortenedOrNarrowed) {
  LabelInput fourInch = OrdinaryInput();
  fourInch.product.count = 0;
  fourInch.product.orderNumber = "12";
  const auto first4 = Code128Fields(*BuildPalletLabelStream(kPalletLayout4, fourInch, kSscc));
  ASSERT_FALSE(first4.empty());
  EXPECT_EQ(first4[0].data, ">;>801057012345678924001>62") << "digit pairs stay in subset C";
  EXPECT_EQ(first4[0].narrowBar, 4)
      << "178 modules now fit 812 dots from x=50 at the table's width";

  LabelInput sixInch = OrdinaryInput();
  sixInch.product.count = 10'000;
  sixInch.product.orderNumber = "ABCDE";
  const auto first6 = Code128Fields(*BuildPalletLabelStream(kPalletLayout6, sixInch, kSscc));
  EXPECT_EQ(first6[0].narrowBar, 3) << "277 modules at 4 dots would end at 1248 of 1219";
  const auto first6Fine =
      Code128Fields(*BuildPalletLabelStream(kPalletLayout6Fine, sixInch, kSscc));
  EXPECT_EQ(first6Fine[0].narrowBar, 5) << "277 modules at 6 dots would end at 1872 of 1828";
}

TEST(BarcodeFit, CommandsAreRewrittenOnlyInTheirNarrowBarWidth) {
  const std::string data = ">;>8" + std::string(60, '1');  // 34 values, 376 modules
  EXPECT_EQ(FitBarcodeCommand("^BY3,2.0,150^FO50,620^BCN,150,N,N,N^FD", data, 1000),
            "^BY2,2.0,150^FO50,620^BCN,150,N,N,N^FD");
  EXPECT_EQ(FitBarcodeCommand("^BY2,2.0,150^FO50,620^BCN,150,N,N,N^FD", data, 1000),
            "^BY2,2.0,150^FO50,620^BCN,150,N,N,N^FD");
  EXPECT_EQ(FitBarcodeCommand("^BY9,2.0,150^FO50,620^BCN,150,N,N,N^FD", data, 100),
            "^BY1,2.0,150^FO50,620^BCN,150,N,N,N^FD")
      << "never below one dot";
  EXPECT_EQ(FitBarcodeCommand("^BY3,2.0,150^FO50,110^BEN,100,Y,N^FD", "570123456789", 100),
            "^BY3,2.0,150^FO50,110^BEN,100,Y,N^FD")
      << "EAN-13 is not measured";
}

TEST(ZplCode128, InvocationCodesBecomeTheirSymbolValues) {
  // ISO/IEC 15417 values: START C 105, FNC1 102, CODE B 100, ">" 30, "^" 62, "~" 94.
  const auto symbol = ZplCode128Symbol(">;>81234>6A>0><>=>5");
  ASSERT_TRUE(symbol.has_value());
  std::vector<int> values;
  for (const auto& record : *symbol) values.push_back(record.value);
  const std::vector<int> expected{105, 102, 12, 34, 100, 33, 30, 62, 94, 99};
  ASSERT_EQ(values.size(), expected.size() + 2);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), values.begin()));
  EXPECT_EQ(values.back(), 106);
  EXPECT_FALSE(ZplCode128Symbol(">;123").has_value()) << "a lone digit in subset C";
  EXPECT_FALSE(ZplCode128Symbol("1234").has_value()) << "no start invocation";
}

}  // namespace
}  // namespace paltrix::labels
