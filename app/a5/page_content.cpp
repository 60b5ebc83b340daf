#include "app/a5/page_content.h"

#include <fmt/format.h>

#include <charconv>
#include <cstdlib>

#include "app/gs1/barcode_data.h"
#include "app/gs1/element_data.h"
#include "framework/fields/date_time.h"
#include "framework/text/windows1252.h"

namespace paltrix::a5 {
namespace {

std::string Trimmed(std::string_view text) {
  return std::string(text::TrimRight(text));
}

std::string Cut(std::string text, std::size_t length) {
  if (text.size() > length) text.resize(length);
  return text;
}

// A text field read as a number: its leading digits after blanks, 0 when
// there are none.
std::int64_t ReadAsNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string AddressLine(const LabelSender& sender) {
  return Cut(
      fmt::format("{} {} {}", Trimmed(sender.address1), sender.postalCode, Trimmed(sender.town)),
      51);
}

std::string PhoneLine(const LabelSender& sender) {
  const std::string phone = Trimmed(sender.phone);
  const std::string fax = Trimmed(sender.fax);
  std::string line;
  if (!phone.empty()) line = "Tlf.: " + phone;
  if (!fax.empty()) line += (line.empty() ? "Fax: " : " Fax: ") + fax;
  return Cut(std::move(line), 40);
}

// Kilograms with two decimals, rounded half away from zero, with a sign when
// negative.
std::string WeightText(std::int64_t thousandths) {
  const std::int64_t hundredths = (std::llabs(thousandths) + 5) / 10;
  return fmt::format("{}{}.{:02}", thousandths < 0 ? "-" : "", hundredths / 100, hundredths % 100);
}

std::string DateText(std::int32_t dayNumber) {
  const std::optional<fields::CivilDate> date = fields::CivilFromDayNumber(dayNumber);
  if (!date) return {};
  return fmt::format("{:02}.{:02}.{:04}", date->day, date->month, date->year);
}

}  // namespace

Result<PageContent> BuildPageContent(A5Report report, const QueuedLabel& label,
                                     const LabelProduct& product, const LabelSender& sender,
                                     std::int32_t today) {
  const std::int64_t count = ReadAsNumber(label.count);
  if (count > 999999) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("the count {} does not fit the 6 digits of (37)", count));
  }
  const gs1::ElementInput input{.gtin = product.gtin,
                                .count = static_cast<std::int32_t>(count),
                                .orderNumber = label.orderNumber,
                                .useOrderNumber = product.orderInBarcode == 1,
                                .bestBefore = label.bestBefore,
                                .today = today,
                                .netWeightGrams = label.netWeightThousandths,
                                .batch = label.batch};
  Result<gs1::Elements> elements = gs1::FormatElements(input);
  if (!elements) return elements.status();
  Result<gs1::BarcodeData> sscc = gs1::SsccBarcode(label.sscc);
  if (!sscc) return sscc.status();

  PageContent page;
  PageTexts& texts = page.texts;
  texts.company = Trimmed(sender.name);
  texts.address = AddressLine(sender);
  texts.phone = PhoneLine(sender);
  texts.product = Cut(Trimmed(product.name), 75);
  texts.description = Cut(Trimmed(product.description), 35);
  texts.sscc = Trimmed(label.sscc);
  texts.count = Trimmed(label.count);
  texts.gtin = elements->gtin14;
  texts.orderNumber = Trimmed(label.orderNumber);
  texts.weight = WeightText(label.netWeightThousandths);
  texts.batch = Trimmed(label.batch);
  texts.bestBefore = DateText(label.bestBefore);

  page.visible.weight = label.netWeightThousandths != 0;
  page.visible.bestBefore = elements->bestBefore.has_value();
  page.visible.batch = !texts.batch.empty();
  page.visible.orderCaption = ReadAsNumber(label.orderNumber) != 0;

  if (report != A5Report::kMix) {
    // Without a count the GTIN group is (01) alone: the order number goes
    // with (37) only.
    gs1::Elements firstGroup = *elements;
    if (!firstGroup.count) firstGroup.orderNumber.reset();
    const gs1::BarcodeData first = gs1::FirstBarcode(firstGroup);
    page.barcodes.first = first.engineData;
    texts.line1 = Cut(first.humanReadable, 47);
  }
  if (report == A5Report::kStandard) {
    if (const std::optional<gs1::BarcodeData> second = gs1::SecondBarcode(*elements)) {
      page.barcodes.second = second->engineData;
      texts.line2 = Cut(second->humanReadable, 47);
    }
  }
  page.barcodes.sscc = sscc->engineData;
  std::string ssccLine = sscc->humanReadable;
  if (report == A5Report::kMix && elements->orderNumber) {
    // (00) has a fixed length, so (400) follows without FNC1.
    page.barcodes.sscc += "400" + *elements->orderNumber;
    ssccLine += "(400)" + *elements->orderNumber;
  }
  texts.line3 = Cut(std::move(ssccLine), 47);
  return page;
}

}  // namespace paltrix::a5
