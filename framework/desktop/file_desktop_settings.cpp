#include "framework/desktop/file_desktop_settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "framework/ini/ini_file.h"

namespace paltrix::desktop {
namespace {

constexpr const char* kSection = "Desktop";
constexpr const char* kDragFullWindowsKey = "DragFullWindows";
constexpr int kDesktopDefault = 1;  // on

const char* NonEmptyVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

class UnavailableDesktopSettings final : public DesktopSettings {
 public:
  explicit UnavailableDesktopSettings(Status reason) : reason_(std::move(reason)) {}
  Result<bool> DragFullWindows() override { return reason_; }
  Status SetDragFullWindows(bool, unsigned) override { return reason_; }

 private:
  Status reason_;
};

}  // namespace

Result<std::filesystem::path> DefaultDesktopSettingsFile() {
  if (const char* file = NonEmptyVariable(kDesktopSettingsFileVariable)) {
    return std::filesystem::path(file);
  }
  if (const char* config = NonEmptyVariable("XDG_CONFIG_HOME")) {
    return std::filesystem::path(config) / "paltrix" / "desktop.ini";
  }
  if (const char* home = NonEmptyVariable("HOME")) {
    return std::filesystem::path(home) / ".config" / "paltrix" / "desktop.ini";
  }
  return Status(ErrorCode::kPathNotFound,
                "no place for the desktop settings: neither PALTRIX_DESKTOP_SETTINGS, "
                "XDG_CONFIG_HOME nor HOME is set");
}

Result<bool> FileDesktopSettings::DragFullWindows() {
  if (sessionValue_) return *sessionValue_;
  Result<ini::IniFile> ini = ini::IniFile::Load(file_);
  if (!ini.ok()) return ini.status();
  return ini->GetInteger(kSection, kDragFullWindowsKey, kDesktopDefault) != 0;
}

Status FileDesktopSettings::SetDragFullWindows(bool on, unsigned flags) {
  if ((flags & kUpdateUserProfile) == 0) {
    sessionValue_ = on;
    return Status::Ok();
  }
  Result<ini::IniFile> ini = ini::IniFile::Load(file_);
  if (!ini.ok()) return ini.status();
  if (Status set = ini->SetInteger(kSection, kDragFullWindowsKey, on ? 1 : 0); !set.ok()) {
    return set;
  }
  if (file_.has_parent_path()) {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    if (error) {
      return Status(ErrorCode::kFileSystemError, "cannot create the folder of " + file_.string(),
                    error.value(), std::strerror(error.value()));
    }
  }
  if (Status saved = ini->Save(); !saved.ok()) return saved;
  sessionValue_.reset();
  return Status::Ok();
}

std::unique_ptr<DesktopSettings> OpenDesktopSettings() {
  Result<std::filesystem::path> file = DefaultDesktopSettingsFile();
  if (!file.ok()) return std::make_unique<UnavailableDesktopSettings>(file.status());
  return std::make_unique<FileDesktopSettings>(std::move(file).value());
}

}  // namespace paltrix::desktop
