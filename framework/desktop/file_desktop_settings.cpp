#include "framework/desktop/file_desktop_settings.h"

#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION  // the file is plain ASCII; no wide-character API needed
#endif
#ifndef SI_IMPLEMENTATION
#define SI_IMPLEMENTATION  // Debian's header keeps the template bodies behind this switch
#endif
#include <SimpleIni.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

namespace paltrix::desktop {
namespace {

constexpr const char* kSection = "Desktop";
constexpr const char* kDragFullWindowsKey = "DragFullWindows";
constexpr bool kDesktopDefault = true;

Status FileSystemFailure(const std::string& what, const std::filesystem::path& file,
                         int systemCode) {
  return Status(ErrorCode::kFileSystemError, what + " " + file.string(), systemCode,
                std::strerror(systemCode));
}

const char* NonEmptyVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Loads the file into ini. A missing file leaves ini empty.
Status Load(const std::filesystem::path& file, CSimpleIniA& ini) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    return error ? FileSystemFailure("cannot look for", file, error.value()) : Status::Ok();
  }
  errno = 0;
  if (ini.LoadFile(file.c_str()) < 0) {
    return FileSystemFailure("cannot read", file, errno != 0 ? errno : EIO);
  }
  return Status::Ok();
}

// Writes text to a sibling file and renames it over file, so that a failure
// halfway never leaves a truncated settings file behind.
Status ReplaceFile(const std::filesystem::path& file, const std::string& text) {
  std::error_code error;
  if (file.has_parent_path()) {
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return FileSystemFailure("cannot create the folder of", file, error.value());
  }
  std::filesystem::path temporary = file;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      const int code = errno != 0 ? errno : EIO;
      std::filesystem::remove(temporary, error);
      return FileSystemFailure("cannot write", temporary, code);
    }
  }
  std::filesystem::rename(temporary, file, error);
  if (error) {
    const int code = error.value();
    std::filesystem::remove(temporary, error);
    return FileSystemFailure("cannot replace", file, code);
  }
  return Status::Ok();
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
  CSimpleIniA ini;
  if (Status loaded = Load(file_, ini); !loaded.ok()) return loaded;
  return ini.GetLongValue(kSection, kDragFullWindowsKey, kDesktopDefault ? 1 : 0) != 0;
}

Status FileDesktopSettings::SetDragFullWindows(bool on, unsigned flags) {
  if ((flags & kUpdateUserProfile) == 0) {
    sessionValue_ = on;
    return Status::Ok();
  }
  CSimpleIniA ini;
  ini.SetSpaces(false);
  if (Status loaded = Load(file_, ini); !loaded.ok()) return loaded;
  ini.SetLongValue(kSection, kDragFullWindowsKey, on ? 1 : 0);
  std::string text;
  if (ini.Save(text) < 0) {
    return Status(ErrorCode::kFileSystemError, "cannot format " + file_.string(), ENOMEM,
                  std::strerror(ENOMEM));
  }
  if (Status written = ReplaceFile(file_, text); !written.ok()) return written;
  sessionValue_.reset();
  return Status::Ok();
}

std::unique_ptr<DesktopSettings> OpenDesktopSettings() {
  Result<std::filesystem::path> file = DefaultDesktopSettingsFile();
  if (!file.ok()) return std::make_unique<UnavailableDesktopSettings>(file.status());
  return std::make_unique<FileDesktopSettings>(std::move(file).value());
}

}  // namespace paltrix::desktop
