#pragma once

#include <QGuiApplication>
#include <optional>
#include <string>

#include "app/a5/ui/queued_label_printing.h"
#include "app/dispatch/print_run.h"
#include "tools/paltrix-cli/cli_session.h"

// A5 pages from the command line: painted without a display (Qt's offscreen
// platform) to the page printer of the run, with no window.
namespace paltrix::cli {

class PagePrinting {
 public:
  // printerName: the run's "Printer", Windows-1252 as the settings hold it.
  // REQUIRES: `session` outlives this object; one per process at a time.
  PagePrinting(CliSession& session, std::string_view printerName);

  const dispatch::A5Services& services() const { return services_; }

 private:
  int argc_ = 1;
  char programName_[12] = "paltrix-cli";
  char* argv_[2] = {programName_, nullptr};
  QGuiApplication application_;
  a5::ui::HeadlessReportPrinting reports_;
  dispatch::A5Services services_;
};

// Prints the SSCC of every pallet of the run once its pages reached the
// printer; on standard error the pallets and labels that stay queued, and
// why. The exit status.
int ReportPageRun(const dispatch::PrintOutcome& outcome, std::string_view printerName);

}  // namespace paltrix::cli
