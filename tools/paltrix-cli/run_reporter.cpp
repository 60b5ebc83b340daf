#include "tools/paltrix-cli/run_reporter.h"

#include <fmt/format.h>

#include <utility>

#include "framework/console.h"
#include "tools/paltrix-cli/stop_signals.h"

namespace paltrix::cli {

RunReporter::RunReporter(const dispatch::RawPrinterOutput& output, std::string printerName)
    : output_(output), printerName_(std::move(printerName)) {}

void RunReporter::StreamHandedOver(const labels::PrintedStream& stream) {
  if (stream.sent()) {
    ++sent_;
    if (!stream.sscc.empty()) {
      lastSentSscc_ = stream.sscc;
      console::WriteOut(stream.sscc + "\n");
    }
    return;
  }
  ++notSent_;
  console::WriteErr(fmt::format(
      "The label{} did not reach the printer \"{}\": {}\n",
      stream.sscc.empty() ? std::string() : " with SSCC " + stream.sscc, printerName_,
      output_.failureReasons().empty() ? std::string() : output_.failureReasons().back()));
}

bool RunReporter::StopRequested() {
  return StopSignals::Received() != 0 || console::OutputFailed();
}

}  // namespace paltrix::cli
