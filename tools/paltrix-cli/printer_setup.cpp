#include "tools/paltrix-cli/printer_setup.h"

#include <filesystem>

#include "app/settings/settings_ini_name.h"
#include "tools/paltrix-cli/cli_session.h"

namespace paltrix::cli {

PrinterSetup LoadPrinterSetup(errors::ErrorManager& errors) {
  records::PrinterRecord& record = records::PrinterRecord::Process();
  record.Prime();  // what a missing or empty file leaves in place
  Check(records::LoadPrinterRecord(record, errors), "cannot read the printer settings");

  const std::filesystem::path workingDirectory = std::filesystem::current_path();
  Result<std::string> iniName = settings::ReadSettingsIniName(workingDirectory);
  Check(iniName.status(), "cannot read .\\splab.ini");
  settings::SetCurrentSettingsIniName(*iniName);
  Result<std::filesystem::path> iniPath = settings::CurrentSettingsIniPath(workingDirectory);
  Check(iniPath.status(), "cannot find the settings INI file");
  Result<settings::PrinterSettings> printerSettings = settings::ReadPrinterSettings(*iniPath);
  Check(printerSettings.status(), "cannot read the settings INI file");
  return {record, *iniPath, *printerSettings};
}

output::PrinterTimeouts PrinterTimeoutsOf(const settings::PrinterSettings& settings) {
  return {std::chrono::seconds(settings.connectTimeoutSeconds),
          std::chrono::seconds(settings.writeTimeoutSeconds)};
}

}  // namespace paltrix::cli
