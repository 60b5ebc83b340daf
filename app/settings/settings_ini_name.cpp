#include "app/settings/settings_ini_name.h"

#include <mutex>

#include "framework/ini/ini_file.h"
#include "framework/path/path_resolver.h"

namespace paltrix::settings {
namespace {

std::string CutName(std::string_view name) {
  return std::string(name.substr(0, kMaxSettingsIniNameLength));
}

struct CurrentName {
  std::mutex mutex;
  std::string name{kStartupIniName};
};

CurrentName& Current() {
  static CurrentName current;
  return current;
}

}  // namespace

Result<std::string> ReadSettingsIniName(const std::filesystem::path& workingDirectory) {
  Result<std::filesystem::path> path = path::ResolveDiskName(kStartupIniName, workingDirectory);
  if (!path.ok()) return path.status();
  Result<ini::IniFile> startup = ini::IniFile::Load(std::move(path).value());
  if (!startup.ok()) return startup.status();
  // An empty value names no file at all, so it counts as missing.
  std::string name = startup->GetString(kStartupSection, kSettingsIniNameKey, "");
  if (name.empty()) name = kStartupIniName;
  return CutName(name);
}

std::string CurrentSettingsIniName() {
  std::lock_guard lock(Current().mutex);
  return Current().name;
}

void SetCurrentSettingsIniName(std::string_view name) {
  std::lock_guard lock(Current().mutex);
  Current().name = CutName(name);
}

Result<std::filesystem::path> CurrentSettingsIniPath(
    const std::filesystem::path& workingDirectory) {
  return path::ResolveDiskName(CurrentSettingsIniName(), workingDirectory);
}

}  // namespace paltrix::settings
