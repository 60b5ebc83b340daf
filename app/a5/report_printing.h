#pragma once

#include <cstdint>
#include <vector>

#include "app/a5/a5_report.h"
#include "app/a5/report_run.h"
#include "framework/status.h"

// Prints the queued A5 labels with one of the reports: the step the format
// dispatch takes after AddA5Label. The desktop shows the progress window
// (and a preview first, when asked); the command line prints without a
// window. Both are in app/a5/ui.
namespace paltrix::a5 {

struct ReportOutcome {
  // OK, or why the run stopped (no page printer, the printer refused the
  // pages, a record file failed). The labels not printed stay queued.
  Status status;
  bool cancelled = false;  // the operator pressed "Cancel" (or closed the preview)
  std::int64_t printed = 0;
  std::vector<SkippedLabel> skipped;  // stayed queued

  // Nothing printed: stopped by `status`, or cancelled before the run began.
  static ReportOutcome Stopped(Status status) {
    ReportOutcome outcome;
    outcome.status = std::move(status);
    return outcome;
  }
  static ReportOutcome CancelledBeforeStart() {
    ReportOutcome outcome;
    outcome.cancelled = true;
    return outcome;
  }
};

class ReportPrinting {
 public:
  virtual ~ReportPrinting() = default;
  // Prints every queued label with `report`.
  virtual ReportOutcome PrintQueuedLabels(A5Report report) = 0;
};

// Runs `run` to the end of the queue without a window and ends it.
// REQUIRES: run.Start() succeeded.
ReportOutcome RunToEnd(ReportRun& run);

}  // namespace paltrix::a5
