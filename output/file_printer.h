#pragma once

#include <memory>
#include <string_view>

#include "framework/result.h"
#include "output/bounded_wait.h"
#include "output/spooler.h"

namespace paltrix::output {

// True for printer names of the form file:///path (scheme in any letter case).
bool IsFilePrinterName(std::string_view printerName);

// Opens a file:///path printer: every document is appended to the file, which
// is created when missing (its folder is not). The path is taken literally;
// it may also be a FIFO or a device such as /dev/usb/lp0, which is opened
// without blocking: a FIFO gets timeouts.connect to find a reader, and a
// write that the reader or device does not take for timeouts.write fails.
// Fails when the name is not an absolute local file URI or the file cannot be
// opened for appending in time. `progress` (may be null) hears of every wait.
Result<std::unique_ptr<PrinterHandle>> OpenFilePrinter(std::string_view printerName,
                                                       const PrinterTimeouts& timeouts = {},
                                                       const WaitProgress* progress = nullptr);

}  // namespace paltrix::output
