#pragma once

#include <cstdint>

namespace paltrix::output {

// The one-byte results of the printer operations.
enum PrinterResult : std::uint8_t {
  kPrinterDone = 0,      // the stream was handed over, or a printer was chosen
  kPrinterFailed = 3,    // the printer could not be opened, started or written to
  kPrinterNoChoice = 5,  // the selection window was closed without a choice
};

}  // namespace paltrix::output
