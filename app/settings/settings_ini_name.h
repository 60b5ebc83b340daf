#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "framework/result.h"

// Where the printer settings live: the settings INI file, whose name is itself
// read from the start-up file ".\splab.ini".
namespace paltrix::settings {

inline constexpr std::string_view kStartupIniName = ".\\splab.ini";
inline constexpr std::string_view kStartupSection = "STARTUP";
inline constexpr std::string_view kSettingsIniNameKey = "INIFILE";
// The name is held in 20 bytes with a terminating zero.
inline constexpr std::size_t kMaxSettingsIniNameLength = 19;

// The settings INI file's disk name: key "INIFILE" of section "STARTUP" in
// ".\splab.ini" under `workingDirectory`, or ".\splab.ini" when the file, the
// key or its value is missing; cut to kMaxSettingsIniNameLength characters.
// Fails only when ".\splab.ini" exists but cannot be read.
Result<std::string> ReadSettingsIniName(const std::filesystem::path& workingDirectory);

// The settings INI file name of this run. The frame sets it once when it
// opens; before that it is ".\splab.ini". Safe to call from any thread.
std::string CurrentSettingsIniName();
// Stores `name`, cut to kMaxSettingsIniNameLength characters.
void SetCurrentSettingsIniName(std::string_view name);

// The path of the file CurrentSettingsIniName() names, under
// `workingDirectory` (which a relative name such as ".\splab.ini" refers to).
// Fails when a folder on the way is missing.
Result<std::filesystem::path> CurrentSettingsIniPath(const std::filesystem::path& workingDirectory);

}  // namespace paltrix::settings
