#include "app/a5/add_a5_label.h"

#include <fmt/format.h>

#include "app/a5/page_content.h"
#include "app/a5/record_fields.h"
#include "app/records/a5etiket.h"
#include "app/records/produkt.h"
#include "framework/text/windows1252.h"

namespace paltrix::a5 {
namespace {

namespace pro = records::produkt;

// A valid SSCC that stands in for the real ones while the labels are checked.
constexpr std::string_view kStandInSscc = "000000000000000000";

QueuedLabel LabelOfRun(fields::ConstImage produkt) {
  std::string orderNumber = fields::ReadText(produkt, pro::NAVN2);
  if (orderNumber.size() > 19) orderNumber.resize(19);
  return {.sscc = {},
          .productId = fields::ReadText(produkt, pro::PRODUKTID),
          .count = std::to_string(fields::ReadLong(produkt, pro::ANTALPRPALLE)),
          .bestBefore = fields::ReadLong(produkt, pro::HOLDBARTIL),
          .netWeightThousandths = fields::ReadDecimal(produkt, pro::NETTOVAEGT),
          .batch = fields::ReadText(produkt, pro::BATCHNR),
          .orderNumber = std::move(orderNumber)};
}

Status CheckPrintable(fields::ConstImage produkt, const QueuedLabel& label, std::int32_t today) {
  const std::int32_t count = fields::ReadLong(produkt, pro::ANTALPRPALLE);
  if (count > kMaxQueuedCount) {
    return Status(
        ErrorCode::kInvalidValue,
        fmt::format("the count {} is more than an A5 label can hold ({})", count, kMaxQueuedCount));
  }
  QueuedLabel standIn = label;
  standIn.sscc = kStandInSscc;
  // Any report will do: "Standard" forms every element.
  const Result<PageContent> page =
      BuildPageContent(A5Report::kStandard, standIn, LabelProductOf(produkt), {}, today);
  return page.status();
}

}  // namespace

QueueReport AddA5Label(records::RecordContext& context, fields::ConstImage produkt,
                       labels::RunCounts counts, gs1::SsccAllocator& sscc, std::int32_t today,
                       errors::ErrorManager& errors) {
  QueueReport report;
  QueuedLabel label = LabelOfRun(produkt);
  report.status = CheckPrintable(produkt, label, today);
  if (!report.status.ok() || counts.pallets < 1 || counts.labelsPerPallet < 1) return report;

  Result<storage::KeyedFile*> queue = context.File(records::a5etiket::kSchema);
  if (!queue) {
    report.status = queue.status();
    return report;
  }
  storage::Record& buffer = context.Buffer(records::a5etiket::kSchema);
  for (std::int32_t pallet = 0; pallet < counts.pallets; ++pallet) {
    Result<std::string> code = sscc.Allocate();
    if (!code) {
      report.status = code.status();
      return report;
    }
    report.ssccs.push_back(*code);
    label.sscc = *code;
    for (std::int32_t copy = 0; copy < counts.labelsPerPallet; ++copy) {
      buffer = storage::Record::Blank(records::a5etiket::kSchema);
      WriteQueuedLabel(buffer.image, label);
      const Result<storage::RecordNumber> added = (*queue)->Add(buffer);
      if (added) {
        ++report.queued;
        continue;
      }
      ++report.failedAdds;
      errors.ShowMessage(std::string(kAddFailedText) + added.status().ToString(), "A5etiket",
                         errors::MessageIcon::kExclamation, errors::kButtonOk, errors::kButtonOk);
    }
  }
  return report;
}

}  // namespace paltrix::a5
