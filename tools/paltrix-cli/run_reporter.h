#pragma once

#include <cstddef>
#include <string>

#include "app/dispatch/raw_printer_output.h"
#include "app/labels/label_procedures.h"

namespace paltrix::cli {

// Reports a label run on the terminal while it goes: each SSCC on its own
// line of standard output, written the moment its stream has reached the
// printer (so a script reading the pipe, or a run that is killed, never has
// an SSCC on standard output that did not print); each stream that did not
// reach the printer on standard error, with the reason. The run ends after
// the pallet in hand when SIGINT or SIGTERM came (StopSignals) or standard
// output or error can no longer be written.
class RunReporter final : public labels::RunObserver {
 public:
  // REQUIRES: `output` outlives the reporter.
  RunReporter(const dispatch::RawPrinterOutput& output, std::string printerName);

  void StreamHandedOver(const labels::PrintedStream& stream) override;
  bool StopRequested() override;

  std::size_t sent() const { return sent_; }
  std::size_t notSent() const { return notSent_; }
  const std::string& lastSentSscc() const { return lastSentSscc_; }

 private:
  const dispatch::RawPrinterOutput& output_;
  std::string printerName_;  // UTF-8
  std::size_t sent_ = 0;
  std::size_t notSent_ = 0;
  std::string lastSentSscc_;
};

}  // namespace paltrix::cli
