#pragma once

#include <filesystem>
#include <string_view>

#include "framework/ini/ini_file.h"
#include "framework/result.h"
#include "framework/status.h"

namespace paltrix::settings {

inline constexpr std::string_view kFrameworkIniName = ".\\Paltrix10.INI";

// The framework's own INI file, open for the whole run: framework state such
// as window positions, never a label setting. The program opens it at start
// and closes it at exit; Close is the closing update that writes back what
// was changed.
class FrameworkIni {
 public:
  // ".\Paltrix10.INI" in `workingDirectory`; empty when it does not exist yet.
  // Fails when the file exists but cannot be read.
  static Result<FrameworkIni> Open(const std::filesystem::path& workingDirectory);

  ini::IniFile& file() { return file_; }
  const ini::IniFile& file() const { return file_; }

  // Writes the file when anything was set since Open; creates it then if it
  // did not exist. Returns the write's failure, if any.
  Status Close();

 private:
  explicit FrameworkIni(ini::IniFile file) : file_(std::move(file)) {}

  ini::IniFile file_;
};

}  // namespace paltrix::settings
