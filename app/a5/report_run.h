#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/a5/a5_report.h"
#include "app/a5/page_plan.h"
#include "app/records/record_context.h"
#include "framework/result.h"
#include "framework/status.h"

// A run of one A5 report over the queue: every queued label becomes one page,
// in A5E:KeySSCC order, and leaves the queue once its page is with the
// printer.
namespace paltrix::a5 {

// Where the pages go: a printer, a PDF file, a preview.
class PagePrinter {
 public:
  virtual ~PagePrinter() = default;
  // Paints one page, each on a sheet of its own.
  virtual Status PrintPage(const PagePlan& page) = 0;
  // Ends the document: hands every page painted so far to the printer (or
  // the file). Only after this succeeds are the pages' labels printed.
  virtual Status Finish() = 0;
};

// A queued label that could not be printed and stays queued.
struct SkippedLabel {
  std::string sscc;
  Status reason;
};

// REQUIRES: the context and the printer outlive the run; one thread.
class ReportRun {
 public:
  ReportRun(A5Report report, records::RecordContext& context, PagePrinter& printer,
            std::int32_t today);

  // Opens A5etiket and Produkt, reads the sending company and counts the
  // queue. Failures are reported by the file managers and returned.
  Status Start();

  // Prints the next queued label: true when a page was printed or a label
  // skipped, false when the queue holds no more. A label whose page cannot
  // be formed (its product is gone, data no barcode can carry) is skipped
  // and stays queued. A failure of the printer stops the run and is
  // returned; nothing is deleted for it.
  Result<bool> PrintNext();

  // Ends the document and then deletes the record of every printed page.
  // When the printer refuses the document, no record is deleted: they are
  // all printed by the next run. Called once, also after a cancel.
  Status Finish();

  std::int64_t total() const { return total_; }  // queued at Start (at least printed)
  std::int64_t printed() const { return static_cast<std::int64_t>(printedRecords_.size()); }
  int percent() const;
  const std::vector<SkippedLabel>& skipped() const { return skipped_; }

 private:
  A5Report report_;
  records::RecordContext& context_;
  PagePrinter& printer_;
  std::int32_t today_;
  storage::KeyedFile* queue_ = nullptr;
  storage::KeyedFile* products_ = nullptr;
  LabelSender sender_;
  std::int64_t total_ = 0;
  std::vector<storage::RecordNumber> printedRecords_;
  std::vector<SkippedLabel> skipped_;
};

}  // namespace paltrix::a5
