#include "app/a5/report_printing.h"

namespace paltrix::a5 {

ReportOutcome RunToEnd(ReportRun& run) {
  ReportOutcome outcome;
  for (;;) {
    Result<bool> more = run.PrintNext();
    if (!more.ok()) {
      outcome.status = more.status();
      break;
    }
    if (!*more) break;
  }
  const Status finished = run.Finish();
  if (outcome.status.ok()) outcome.status = finished;
  outcome.printed = run.printed();
  outcome.skipped = run.skipped();
  return outcome;
}

}  // namespace paltrix::a5
