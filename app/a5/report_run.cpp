#include "app/a5/report_run.h"

#include <fmt/format.h>

#include <algorithm>

#include "app/a5/record_fields.h"
#include "app/records/a5etiket.h"
#include "app/records/firma.h"
#include "app/records/produkt.h"

namespace paltrix::a5 {
namespace {

namespace a5e = records::a5etiket;
namespace pro = records::produkt;

}  // namespace

ReportRun::ReportRun(A5Report report, records::RecordContext& context, PagePrinter& printer,
                     std::int32_t today)
    : report_(report), context_(context), printer_(printer), today_(today) {}

Status ReportRun::Start() {
  Result<storage::KeyedFile*> queue = context_.File(a5e::kSchema);
  if (!queue) return queue.status();
  Result<storage::KeyedFile*> products = context_.File(pro::kSchema);
  if (!products) return products.status();
  queue_ = *queue;
  products_ = *products;
  const Status firma = context_.ReadFirma();
  if (!firma.ok() && firma.code() != ErrorCode::kRecordNotAvailable) return firma;
  sender_ = LabelSenderOf(context_.Buffer(records::firma::kSchema).image);
  Result<std::int64_t> count = queue_->RecordCount();
  if (!count) return count.status();
  total_ = *count;
  return queue_->SetKeyOrder(a5e::kKeySSCC);
}

Result<bool> ReportRun::PrintNext() {
  storage::Record& record = context_.Buffer(a5e::kSchema);
  const Status read = queue_->Next(record);
  if (read.code() == ErrorCode::kRecordNotAvailable) return false;
  if (!read.ok()) return read;
  const storage::RecordNumber number = queue_->position();
  const QueuedLabel label = QueuedLabelOf(record.image);

  storage::Record& product = context_.Buffer(pro::kSchema);
  storage::Record probe = storage::Record::Blank(pro::kSchema);
  fields::WriteText(probe.image, pro::PRODUKTID, label.productId);
  const Status found = products_->Fetch(pro::kIDKey, probe, product);
  if (!found.ok()) {
    skipped_.push_back({label.sscc, found.code() == ErrorCode::kRecordNotFound
                                        ? Status(ErrorCode::kRecordNotFound,
                                                 fmt::format("the product \"{}\" is not in the "
                                                             "catalogue",
                                                             label.productId))
                                        : found});
    return true;
  }
  Result<PageContent> content =
      BuildPageContent(report_, label, LabelProductOf(product.image), sender_, today_);
  if (!content) {
    skipped_.push_back({label.sscc, content.status()});
    return true;
  }
  const Status printed = printer_.PrintPage(PlanPage(report_, *content));
  if (!printed.ok()) return printed;
  printedRecords_.push_back(number);
  return true;
}

Status ReportRun::Finish() {
  const Status finished = printer_.Finish();
  if (!finished.ok()) {
    printedRecords_.clear();
    return finished;
  }
  for (const storage::RecordNumber number : printedRecords_) {
    const Status deleted = context_.Delete(a5e::kSchema, number);
    if (!deleted.ok() && deleted.code() != ErrorCode::kRecordNotFound) return deleted;
  }
  return Status::Ok();
}

int ReportRun::percent() const {
  const std::int64_t done = printed() + static_cast<std::int64_t>(skipped_.size());
  if (total_ <= 0) return 100;
  return static_cast<int>(std::min<std::int64_t>(100, done * 100 / total_));
}

}  // namespace paltrix::a5
