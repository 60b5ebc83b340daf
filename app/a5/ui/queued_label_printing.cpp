#include "app/a5/ui/queued_label_printing.h"

#include <fmt/format.h>

#include <functional>

#include "app/a5/ui/page_output.h"
#include "app/a5/ui/preview_window.h"
#include "app/a5/ui/print_progress_window.h"

namespace paltrix::a5::ui {
namespace {

// Opens the page printer, starts the run over the queue and hands it to
// `print`; the page printer is closed when the run has ended.
ReportOutcome WithRun(const PrintSetup& setup, A5Report report,
                      const std::function<ReportOutcome(ReportRun&)>& print) {
  Result<std::unique_ptr<PagePrinter>> output =
      OpenPageOutput(report, setup.printerName, setup.errors);
  if (!output) return ReportOutcome::Stopped(output.status());
  ReportRun run(report, setup.context, **output, setup.today);
  if (const Status started = run.Start(); !started.ok()) return ReportOutcome::Stopped(started);
  return print(run);
}

}  // namespace

ReportOutcome WindowReportPrinting::PrintQueuedLabels(A5Report report) {
  if (previewFirst_) {
    PreviewWindow preview(report, setup_.context, setup_.today, setup_.errors, parent_);
    if (preview.exec() != QDialog::Accepted) return ReportOutcome::CancelledBeforeStart();
  }
  ReportOutcome outcome = WithRun(setup_, report, [&](ReportRun& run) {
    PrintProgressWindow window(run, report, parent_);
    return window.Run();
  });
  if (!outcome.status.ok()) {
    setup_.errors.ShowMessage(
        fmt::format("Etiketterne blev ikke udskrevet på \"{}\": {}\nDe bliver stående i køen.",
                    setup_.printerName, outcome.status.ToString()),
        ReportName(report), errors::MessageIcon::kExclamation, errors::kButtonOk,
        errors::kButtonOk);
  }
  return outcome;
}

ReportOutcome HeadlessReportPrinting::PrintQueuedLabels(A5Report report) {
  return WithRun(setup_, report, [](ReportRun& run) { return RunToEnd(run); });
}

}  // namespace paltrix::a5::ui
