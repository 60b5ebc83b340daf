#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/labels/label_output.h"
#include "output/raw_printer.h"

namespace paltrix::dispatch {

// Sends the label procedures' streams through a RawPrinter (Init on
// construction, Kill on destruction, as each procedure's printer object
// lives) and keeps the reason of every failed stream so the caller can tell
// the operator which printer and which label did not print, and why.
class RawPrinterOutput final : public labels::LabelOutput {
 public:
  // REQUIRES: `printer` outlives this object.
  explicit RawPrinterOutput(output::RawPrinter& printer);
  RawPrinterOutput(const RawPrinterOutput&) = delete;
  RawPrinterOutput& operator=(const RawPrinterOutput&) = delete;
  ~RawPrinterOutput() override;

  std::uint8_t PrintRaw(std::string_view printerName, std::string_view stream) override;

  // One entry per PrintRaw call, in order: empty when the stream was sent,
  // otherwise why it was not.
  const std::vector<std::string>& failureReasons() const { return failureReasons_; }

 private:
  output::RawPrinter& printer_;
  std::vector<std::string> failureReasons_;
};

}  // namespace paltrix::dispatch
