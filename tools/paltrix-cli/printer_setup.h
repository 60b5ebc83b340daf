#pragma once

#include <filesystem>

#include "app/records/printer_file.h"
#include "app/settings/printer_settings.h"
#include "framework/errors/error_manager.h"
#include "output/bounded_wait.h"

namespace paltrix::cli {

// The printer settings as a print window sees them when it opens: the
// process's Printer record (primed when "SPTIGER.DAT" is missing or empty) and
// the "Printer" keys of the settings INI file that ".\splab.ini" names.
struct PrinterSetup {
  records::PrinterRecord& record;
  std::filesystem::path settingsIniPath;
  settings::PrinterSettings settings;
};

// Failures end the command.
PrinterSetup LoadPrinterSetup(errors::ErrorManager& errors);

// The printer routes' limits as the settings INI file gives them.
output::PrinterTimeouts PrinterTimeoutsOf(const settings::PrinterSettings& settings);

}  // namespace paltrix::cli
