#include "app/a5/page_content.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/a5/page_plan.h"
#include "framework/fields/date_time.h"

namespace paltrix::a5 {
namespace {

const std::int32_t kToday = *fields::DayNumberFromCivil({2027, 3, 1});
const std::string kSscc = "057900010000000424";

QueuedLabel Label() {
  return {.sscc = kSscc,
          .productId = "100",
          .count = "12",
          .bestBefore = kToday + 10,
          .netWeightThousandths = 12500,
          .batch = "L42",
          .orderNumber = "12345"};
}

LabelProduct Product() {
  return {
      .name = "Tulipaner", .description = "10 stk.", .gtin = "5701234567899", .orderInBarcode = 1};
}

LabelSender Sender() {
  return {.name = "Blomster ApS",
          .address1 = "Havevej 1   ",
          .postalCode = 5000,
          .town = "Odense  ",
          .phone = "12345678",
          .fax = ""};
}

PageContent Content(A5Report report, const QueuedLabel& label,
                    const LabelProduct& product = Product()) {
  Result<PageContent> content = BuildPageContent(report, label, product, Sender(), kToday);
  EXPECT_TRUE(content.ok()) << content.status().ToString();
  return content.ok() ? *content : PageContent{};
}

bool PlanShows(const PagePlan& plan, std::string_view text) {
  return std::any_of(plan.texts.begin(), plan.texts.end(),
                     [&](const PlacedText& placed) { return placed.text == text; });
}

TEST(PageContentTest, StandardPageCarriesEveryElementInTheThreeBarcodes) {
  const PageContent page = Content(A5Report::kStandard, Label());
  EXPECT_EQ(page.barcodes.first,
            "\xC9"
            "020570123456789937"
            "12"
            "\xC9"
            "40012345");
  EXPECT_EQ(page.texts.line1, "(02)05701234567899(37)12(400)12345");
  EXPECT_EQ(page.barcodes.second,
            "\xC9"
            "15270311"
            "3102"
            "001250"
            "10L42");
  EXPECT_EQ(page.texts.line2, "(15)270311(3102)001250(10)L42");
  EXPECT_EQ(page.barcodes.sscc,
            "\xC9"
            "00" +
                kSscc);
  EXPECT_EQ(page.texts.line3, "(00)" + kSscc);
  EXPECT_EQ(page.texts.address, "Havevej 1 5000 Odense");
  EXPECT_EQ(page.texts.phone, "Tlf.: 12345678");
  EXPECT_EQ(page.texts.weight, "12.50");
  EXPECT_EQ(page.texts.bestBefore, "11.03.2027");
  EXPECT_EQ(page.texts.gtin, "05701234567899");

  const PagePlan plan = PlanPage(A5Report::kStandard, page);
  EXPECT_EQ(plan.barcodes.size(), 4u);  // the SSCC symbol is two stacked controls
  for (const char* shown : {"Netto v\xE6gt", "kg.", "MHT", "Batch nr.", "Ordre nr.", "12.50"}) {
    EXPECT_TRUE(PlanShows(plan, shown)) << shown;
  }
}

TEST(PageContentTest, NoWeightNoDateNoBatchLeavesOutTheSecondBarcodeAndTheirItems) {
  QueuedLabel label = Label();
  label.netWeightThousandths = 0;
  label.bestBefore = kToday;
  label.batch = "";
  const PageContent page = Content(A5Report::kStandard, label);
  EXPECT_EQ(page.barcodes.second, "");
  EXPECT_EQ(page.texts.line2, "");

  const PagePlan plan = PlanPage(A5Report::kStandard, page);
  EXPECT_EQ(plan.barcodes.size(), 3u);
  for (const char* hidden : {"Netto v\xE6gt", "kg.", "0.00", "MHT", "01.03.2027", "Batch nr."}) {
    EXPECT_FALSE(PlanShows(plan, hidden)) << hidden;
  }
  EXPECT_TRUE(PlanShows(plan, "Antal"));
}

TEST(PageContentTest, OrderNumberGoesIntoTheBarcodeOnlyWhenShortAndWanted) {
  QueuedLabel label = Label();
  label.orderNumber = "123456";
  EXPECT_EQ(Content(A5Report::kStandard, label).barcodes.first,
            "\xC9"
            "020570123456789937"
            "12");

  LabelProduct notWanted = Product();
  notWanted.orderInBarcode = 0;
  EXPECT_EQ(Content(A5Report::kSimple, Label(), notWanted).texts.line1, "(02)05701234567899(37)12");

  // "Standard_mix" puts the order number after the SSCC, without FNC1.
  const PageContent mix = Content(A5Report::kMix, Label());
  EXPECT_EQ(mix.barcodes.sscc,
            "\xC9"
            "00" +
                kSscc + "40012345");
  EXPECT_EQ(mix.texts.line3, "(00)" + kSscc + "(400)12345");
  EXPECT_EQ(mix.barcodes.first, "");
  EXPECT_EQ(mix.barcodes.second, "");

  // An order number that reads as 0 hides only its caption.
  label.orderNumber = "ABC";
  const PagePlan plan = PlanPage(A5Report::kStandard, Content(A5Report::kStandard, label));
  EXPECT_FALSE(PlanShows(plan, "Ordre nr."));
  EXPECT_TRUE(PlanShows(plan, "ABC"));
}

TEST(PageContentTest, CountsPairUpAndNoCountGivesTheTradeItemAlone) {
  QueuedLabel label = Label();
  label.count = "100";
  EXPECT_EQ(Content(A5Report::kStandard, label).barcodes.first,
            "\xC9"
            "020570123456789937"
            "0100"
            "\xC9"
            "40012345");
  label.count = "0";
  const PageContent page = Content(A5Report::kSimple, label);
  EXPECT_EQ(page.barcodes.first,
            "\xC9"
            "0105701234567899");
  EXPECT_EQ(page.texts.line1, "(01)05701234567899");
}

TEST(PageContentTest, SenderLinesAreCutToTheirWidths) {
  LabelSender sender = Sender();
  sender.phone = "";
  sender.fax = "87654321";
  sender.address1 = std::string(35, 'A');
  sender.town = std::string(20, 'B');
  Result<PageContent> page =
      BuildPageContent(A5Report::kStandard, Label(), Product(), sender, kToday);
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(page->texts.phone, "Fax: 87654321");
  EXPECT_EQ(page->texts.address.size(), 51u);
  sender.phone = "1";
  page = BuildPageContent(A5Report::kStandard, Label(), Product(), sender, kToday);
  EXPECT_EQ(page->texts.phone, "Tlf.: 1 Fax: 87654321");
}

TEST(PageContentTest, RefusesWhatNoBarcodeCanCarry) {
  LabelProduct badGtin = Product();
  badGtin.gtin = "57O1";
  EXPECT_EQ(
      BuildPageContent(A5Report::kStandard, Label(), badGtin, Sender(), kToday).status().code(),
      ErrorCode::kInvalidValue);
  QueuedLabel badSscc = Label();
  badSscc.sscc = "057900010000000425";
  EXPECT_FALSE(BuildPageContent(A5Report::kMix, badSscc, Product(), Sender(), kToday).ok());
  QueuedLabel badBatch = Label();
  badBatch.batch = "\xC9";
  EXPECT_FALSE(BuildPageContent(A5Report::kStandard, badBatch, Product(), Sender(), kToday).ok());
}

}  // namespace
}  // namespace paltrix::a5
