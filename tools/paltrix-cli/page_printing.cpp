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
  for (const std::string& sscc : outcome.a5Queue.ssccs) fmt::print("{}\n", sscc);
  std::fflush(stdout);
  const std::string printer = text::ToUtf8(printerName);
  int exitStatus = kExitOk;
  if (outcome.a5Queue.failedAdds > 0) {
    fmt::print(stderr, "{} label(s) could not be queued\n", outcome.a5Queue.failedAdds);
    exitStatus = kExitNotPrinted;
  }
  for (const a5::SkippedLabel& skipped : outcome.a5Pages.skipped) {
    fmt::print(stderr, "The label with SSCC {} stays queued: {}\n", skipped.sscc,
               skipped.reason.ToString());
    exitStatus = kExitNotPrinted;
  }
  if (!outcome.a5Pages.status.ok()) {
    fmt::print(stderr,
               "The A5 pages did not reach the printer \"{}\": {}; the labels stay queued and "
               "print with the next run\n",
               printer, outcome.a5Pages.status.ToString());
    exitStatus = kExitNotPrinted;
  }
  if (!outcome.a5Queue.status.ok()) {
    throw CommandError(kExitNotPrinted,
                       fmt::format("the label run stopped: {}", outcome.a5Queue.status.ToString()));
  }
  return exitStatus;
}

}  // namespace paltrix::cli
