#include "app/settings/framework_ini.h"

#include "framework/path/path_resolver.h"

namespace paltrix::settings {

Result<FrameworkIni> FrameworkIni::Open(const std::filesystem::path& workingDirectory) {
  Result<std::filesystem::path> path = path::ResolveDiskName(kFrameworkIniName, workingDirectory);
  if (!path.ok()) return path.status();
  Result<ini::IniFile> file = ini::IniFile::Load(std::move(path).value());
  if (!file.ok()) return file.status();
  return FrameworkIni(std::move(file).value());
}

Status FrameworkIni::Close() {
  if (!file_.changed()) return Status::Ok();
  return file_.Save();
}

}  // namespace paltrix::settings
