#pragma once

#include <memory>
#include <string_view>

#include "framework/result.h"
#include "output/spooler.h"

namespace paltrix::output {

// True for printer names of the form file:///path (scheme in any letter case).
bool IsFilePrinterName(std::string_view printerName);

// Opens a file:///path printer: every document is appended to the file, which
// is created when missing (its folder is not). The path is taken literally.
// Fails when the name is not an absolute local file URI or the file cannot be
// opened for appending.
Result<std::unique_ptr<PrinterHandle>> OpenFilePrinter(std::string_view printerName);

}  // namespace paltrix::output
