#include "tools/paltrix-cli/page_printing.h"

#include <fmt/format.h>

#include <cstdlib>

#include "framework/clock.h"
#include "framework/text/windows1252.h"
#include "tools/paltrix-cli/cli_error.h"

namespace paltrix::cli {
namespace {

// The pages need fonts, not a screen.
int& OffscreenArgumentCount(int& argc) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return argc;
}

}  // namespace

PagePrinting::PagePrinting(CliSession& session, std::string_view printerName)
    : application_(OffscreenArgumentCount(argc_), argv_),
      reports_(
          {session.records(), text::ToUtf8(printerName), SystemClock().Today(), session.errors()}),
      services_{session.records(), reports_, session.errors()} {}

int ReportPageRun(const dispatch::PrintOutcome& outcome, std::string_view printerName) {
  const bool printed = outcome.a5Pages.status.ok() && !outcome.a5Pages.cancelled;
  // Standard output carries only SSCCs whose pages reached the printer.
  for (const std::string& sscc : outcome.a5Queue.ssccs) {
    if (printed) {
      fmt::print("{}\n", sscc);
    } else {
      fmt::print(stderr, "The labels with SSCC {} stay queued and print with the next run\n", sscc);
    }
  }
  std::fflush(stdout);
  int exitStatus = printed ? kExitOk : kExitNotPrinted;
  if (!outcome.a5Pages.status.ok()) {
    fmt::print(stderr, "The A5 pages did not reach the printer \"{}\": {}\n",
               text::ToUtf8(printerName), outcome.a5Pages.status.ToString());
  }
  if (outcome.a5Queue.failedAdds > 0) {
    fmt::print(stderr, "{} label(s) could not be queued\n", outcome.a5Queue.failedAdds);
    exitStatus = kExitNotPrinted;
  }
  for (const a5::SkippedLabel& skipped : outcome.a5Pages.skipped) {
    fmt::print(stderr, "The label with SSCC {} stays queued: {}\n", skipped.sscc,
               skipped.reason.ToString());
    exitStatus = kExitNotPrinted;
  }
  if (!outcome.a5Queue.status.ok()) {
    throw CommandError(kExitNotPrinted,
                       fmt::format("the label run stopped: {}", outcome.a5Queue.status.ToString()));
  }
  return exitStatus;
}

}  // namespace paltrix::cli
