#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/a5/page_content.h"
#include "app/a5/page_plan.h"
#include "app/a5/ui/page_output.h"
#include "framework/errors/scripted_presenter.h"
#include "framework/fields/date_time.h"
#include "tests/a5/ui/page_decoding.h"

namespace paltrix::a5 {
namespace {

using testing::DecodedSymbol;

const std::int32_t kToday = *fields::DayNumberFromCivil({2027, 3, 1});
constexpr char kGs = '\x1D';

struct PageCase {
  const char* name;
  A5Report report;
  QueuedLabel label;
  std::string gtin;
  std::set<std::string> symbols;   // the GS1 element strings as a scanner passes them on
  std::vector<std::string> texts;  // shown somewhere on the page
};

// Engine data as a scanner reports it: the leading FNC1 is the GS1 flag
// (]C1), any further FNC1 a GS separator.
std::string ElementString(std::string data) {
  data.erase(0, 1);
  for (char& c : data) {
    if (c == '\xC9') c = kGs;
  }
  return data;
}

void PrintTo(const PageCase& page, std::ostream* out) {
  *out << page.name;
}

QueuedLabel Label(std::string count, std::int32_t bestBefore, std::int64_t weight,
                  std::string batch, std::string order) {
  return {.sscc = "057900010000000424",
          .productId = "100",
          .count = std::move(count),
          .bestBefore = bestBefore,
          .netWeightThousandths = weight,
          .batch = std::move(batch),
          .orderNumber = std::move(order)};
}

const std::string kSsccSymbol = "00057900010000000424";

std::vector<PageCase> Cases() {
  return {
      {"standard_full",
       A5Report::kStandard,
       Label("12", kToday + 10, 12500, "L42-b", "12345"),
       "5701234567899",
       {"0205701234567899"
        "3712" +
            std::string(1, kGs) + "40012345",
        std::string("15270311") + "3102001250" + "10L42-b", kSsccSymbol},
       {"Blomster ApS", "Tulipaner", "057900010000000424", "Netto v\u00e6gt", "12.50", "kg.",
        "L42-b", "11.03.2027", "(02)05701234567899(37)12(400)12345",
        "(15)270311(3102)001250(10)L42-b", "(00)057900010000000424"}},
      {"standard_no_weight_date_batch_count",
       A5Report::kStandard,
       Label("0", kToday, 0, "", ""),
       "5701234567899",
       {"0105701234567899", kSsccSymbol},
       {"(01)05701234567899", "(00)057900010000000424"}},
      {"standard_count_100_long_order",
       A5Report::kStandard,
       Label("100", kToday + 1, 999, "X", "123456"),
       "05701234567899",
       {"0205701234567899370100",
        "152703023102000100"
        "10X",
        kSsccSymbol},
       {"(02)05701234567899(37)0100", "123456"}},
      {"simple_large_count_letters_order",
       A5Report::kSimple,
       Label("99999", kToday + 10, 12500, "L42", "AB12"),
       "5701234567899",
       {"020570123456789937099999" + std::string(1, kGs) + "400AB12", kSsccSymbol},
       {"(02)05701234567899(37)099999(400)AB12", "99999"}},
      {"mix_with_order",
       A5Report::kMix,
       Label("40", kToday + 10, 12500, "L42", "12345"),
       "5701234567899",
       {kSsccSymbol + "40012345"},
       {"(00)057900010000000424(400)12345", "GTIN", "05701234567899"}},
  };
}

class PageRenderTest : public ::testing::TestWithParam<PageCase> {
 protected:
  PageRenderTest() { errors_.Init(); }

  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_{presenter_, terminator_};
};

TEST_P(PageRenderTest, EveryBarcodeReadsAsItsElementStringAndEveryTextIsOnThePage) {
  const PageCase& page = GetParam();
  const std::filesystem::path folder = PALTRIX_PAGE_DIR;
  const std::filesystem::path pdf = folder / (std::string(page.name) + ".pdf");
  const std::filesystem::path png = folder / (std::string(page.name) + ".png");
  std::filesystem::remove(pdf);

  const LabelProduct product{
      .name = "Tulipaner", .description = "10 stk.", .gtin = page.gtin, .orderInBarcode = 1};
  const LabelSender sender{.name = "Blomster ApS",
                           .address1 = "Havevej 1",
                           .postalCode = 5000,
                           .town = "Odense",
                           .phone = "12345678",
                           .fax = "87654321"};
  Result<PageContent> content = BuildPageContent(page.report, page.label, product, sender, kToday);
  ASSERT_TRUE(content.ok()) << content.status().ToString();
  {
    Result<std::unique_ptr<PagePrinter>> output =
        ui::OpenPageOutput(page.report, "file://" + pdf.string(), errors_);
    ASSERT_TRUE(output.ok()) << output.status().ToString();
    ASSERT_TRUE((*output)->PrintPage(PlanPage(page.report, *content)).ok());
    ASSERT_TRUE((*output)->Finish().ok());
  }
  EXPECT_TRUE(presenter_.boxes().empty());
  EXPECT_EQ(testing::PdfPageCount(pdf), 1);

  // Each control holds its symbol; the SSCC's two stacked controls each read
  // as the whole symbol.
  const PagePlan plan = PlanPage(page.report, *content);
  std::vector<MmRect> areas;
  std::vector<DecodedSymbol> expected;
  for (const PlacedBarcode& barcode : plan.barcodes) {
    areas.push_back(barcode.rect);
    expected.push_back({"]C1", ElementString(barcode.data)});
  }
  std::set<std::string> strings;
  for (const DecodedSymbol& symbol : expected) strings.insert(symbol.text);
  EXPECT_EQ(strings, page.symbols);
  EXPECT_EQ(testing::DecodePage(pdf, png, areas), expected);

  const std::string text = testing::PdfText(pdf);
  for (const std::string& shown : page.texts) {
    EXPECT_NE(text.find(shown), std::string::npos) << shown << " is not in\n" << text;
  }
}

INSTANTIATE_TEST_SUITE_P(A5Pages, PageRenderTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<PageCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace paltrix::a5
