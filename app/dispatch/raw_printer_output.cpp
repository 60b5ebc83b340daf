#include "app/dispatch/raw_printer_output.h"

namespace paltrix::dispatch {

RawPrinterOutput::RawPrinterOutput(output::RawPrinter& printer) : printer_(printer) {
  printer_.Init();
}

RawPrinterOutput::~RawPrinterOutput() {
  printer_.Kill();
}

std::uint8_t RawPrinterOutput::PrintRaw(std::string_view printerName, std::string_view stream) {
  const std::uint8_t result = printer_.PrintRaw(printerName, stream);
  failureReasons_.push_back(result == labels::kPrintSent ? std::string() : printer_.lastError());
  return result;
}

}  // namespace paltrix::dispatch
