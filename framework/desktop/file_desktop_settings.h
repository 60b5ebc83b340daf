#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "framework/desktop/desktop_settings.h"

namespace paltrix::desktop {

// The environment variable that names the settings file outright (tests, kiosks).
inline constexpr const char* kDesktopSettingsFileVariable = "PALTRIX_DESKTOP_SETTINGS";

// Where the desktop settings are kept: $PALTRIX_DESKTOP_SETTINGS, else
// $XDG_CONFIG_HOME/paltrix/desktop.ini, else $HOME/.config/paltrix/desktop.ini.
// A failure when none of the three variables is set.
Result<std::filesystem::path> DefaultDesktopSettingsFile();

// Desktop settings kept in a small INI file, section "Desktop", key
// "DragFullWindows" (1 on, 0 off). Linux desktops have no such switch, so the
// file stands in for it. A missing file or key reads as on, the desktop default.
// Changes with kUpdateUserProfile are written to the file (atomically, creating
// its folder); changes without it last only as long as this object.
class FileDesktopSettings final : public DesktopSettings {
 public:
  explicit FileDesktopSettings(std::filesystem::path file) : file_(std::move(file)) {}

  Result<bool> DragFullWindows() override;
  Status SetDragFullWindows(bool on, unsigned flags) override;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  std::optional<bool> sessionValue_;
};

// The program's desktop settings: a FileDesktopSettings on
// DefaultDesktopSettingsFile(), or, when there is no place for that file,
// settings whose every call fails with the reason (so the program leaves the
// setting alone and says why).
std::unique_ptr<DesktopSettings> OpenDesktopSettings();

}  // namespace paltrix::desktop
