#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "framework/desktop/drag_full_windows_suspension.h"
#include "framework/desktop/file_desktop_settings.h"
#include "tests/app/recording_desktop_settings.h"
#include "tests/support/temp_directory.h"

namespace paltrix::desktop {
namespace {

using testing::RecordingDesktopSettings;
using testing::TempDirectory;

const Status kDiskFailure(ErrorCode::kFileSystemError, "disk", 5, "Input/output error");

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SuspensionCase {
  const char* note;
  bool initiallyOn;
  bool failReads;
  bool failWrites;
  std::vector<std::string> callsWhileRunning;
  std::vector<std::string> callsAtEnd;
  bool finalValue;
};

class DragFullWindowsSuspensionTest : public ::testing::TestWithParam<SuspensionCase> {};

TEST_P(DragFullWindowsSuspensionTest, SwitchesOffWhileAliveAndRestoresAtTheEnd) {
  const SuspensionCase& c = GetParam();
  RecordingDesktopSettings settings(c.initiallyOn);
  if (c.failReads) settings.FailReads(kDiskFailure);
  if (c.failWrites) settings.FailWrites(kDiskFailure);
  {
    DragFullWindowsSuspension suspension(settings);
    EXPECT_EQ(settings.calls(), c.callsWhileRunning);
    EXPECT_EQ(suspension.suspendStatus().ok(), !c.failReads && !(c.failWrites && c.initiallyOn));
  }
  std::vector<std::string> expected = c.callsWhileRunning;
  expected.insert(expected.end(), c.callsAtEnd.begin(), c.callsAtEnd.end());
  EXPECT_EQ(settings.calls(), expected);
  EXPECT_EQ(settings.value(), c.finalValue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DragFullWindowsSuspensionTest,
    ::testing::Values(
        SuspensionCase{"on: off while running, on again after",
                       true,
                       false,
                       false,
                       {"get", "set 0 flags 3"},
                       {"set 1 flags 3"},
                       true},
        SuspensionCase{
            "already off: untouched at both ends", false, false, false, {"get"}, {}, false},
        SuspensionCase{"unreadable: never changed", true, true, false, {"get"}, {}, true},
        SuspensionCase{"switching off failed: nothing to restore",
                       true,
                       false,
                       true,
                       {"get", "set 0 flags 3"},
                       {},
                       true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(DragFullWindowsSuspension, RestoreIsDoneOnce) {
  RecordingDesktopSettings settings(true);
  DragFullWindowsSuspension suspension(settings);
  EXPECT_TRUE(suspension.suspended());
  EXPECT_TRUE(suspension.Restore().ok());
  EXPECT_FALSE(suspension.suspended());
  EXPECT_TRUE(suspension.Restore().ok());
  EXPECT_EQ(settings.calls(), (std::vector<std::string>{"get", "set 0 flags 3", "set 1 flags 3"}));
}

TEST(DragFullWindowsSuspension, ReportsAFailedRestore) {
  RecordingDesktopSettings settings(true);
  DragFullWindowsSuspension suspension(settings);
  settings.FailWrites(kDiskFailure);
  EXPECT_EQ(suspension.Restore().code(), ErrorCode::kFileSystemError);
}

TEST(DragFullWindowsSuspensionDeathTest, RestoresWhenTheProgramExitsWhileSuspended) {
  TempDirectory folder;
  const std::filesystem::path file = folder / "desktop.ini";
  EXPECT_EXIT(
      {
        FileDesktopSettings settings(file);
        DragFullWindowsSuspension suspension(settings);
        if (!suspension.suspended() || FileDesktopSettings(file).DragFullWindows().value()) {
          std::_Exit(1);  // not switched off: the parent's check below would pass vacuously
        }
        std::exit(3);
      },
      ::testing::ExitedWithCode(3), "");
  Result<bool> after = FileDesktopSettings(file).DragFullWindows();
  ASSERT_TRUE(after.ok());
  EXPECT_TRUE(*after);
}

TEST(FileDesktopSettings, AMissingFileReadsAsOnAndIsNotCreatedByReading) {
  TempDirectory folder;
  FileDesktopSettings settings(folder / "paltrix" / "desktop.ini");
  Result<bool> on = settings.DragFullWindows();
  ASSERT_TRUE(on.ok());
  EXPECT_TRUE(*on);
  EXPECT_FALSE(std::filesystem::exists(folder / "paltrix"));
}

TEST(FileDesktopSettings, AProfileUpdateIsStoredAndSeenByTheNextReader) {
  TempDirectory folder;
  const std::filesystem::path file = folder / "paltrix" / "desktop.ini";
  ASSERT_TRUE(FileDesktopSettings(file).SetDragFullWindows(false, kUpdateProfileAndBroadcast).ok());
  EXPECT_FALSE(FileDesktopSettings(file).DragFullWindows().value());
  EXPECT_NE(ReadAll(file).find("DragFullWindows"), std::string::npos);
  ASSERT_TRUE(FileDesktopSettings(file).SetDragFullWindows(true, kUpdateProfileAndBroadcast).ok());
  EXPECT_TRUE(FileDesktopSettings(file).DragFullWindows().value());
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".new"));
}

TEST(FileDesktopSettings, KeepsOtherEntriesOfTheFile) {
  TempDirectory folder;
  const std::filesystem::path file = folder / "desktop.ini";
  std::ofstream(file) << "; kept\n[Desktop]\nDragFullWindows=1\nOther=7\n";
  ASSERT_TRUE(FileDesktopSettings(file).SetDragFullWindows(false, kUpdateProfileAndBroadcast).ok());
  const std::string text = ReadAll(file);
  EXPECT_NE(text.find("; kept"), std::string::npos);
  EXPECT_NE(text.find("Other=7"), std::string::npos);
  EXPECT_NE(text.find("DragFullWindows=0"), std::string::npos);
}

TEST(FileDesktopSettings, AChangeWithoutProfileUpdateLastsOnlyForTheSession) {
  TempDirectory folder;
  const std::filesystem::path file = folder / "desktop.ini";
  FileDesktopSettings settings(file);
  ASSERT_TRUE(settings.SetDragFullWindows(false, kBroadcastChange).ok());
  EXPECT_FALSE(settings.DragFullWindows().value());
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(FileDesktopSettings(file).DragFullWindows().value());
}

TEST(FileDesktopSettings, ReportsFilesItCannotReadOrWrite) {
  TempDirectory folder;
  std::filesystem::create_directory(folder / "a-folder.ini");
  EXPECT_EQ(FileDesktopSettings(folder / "a-folder.ini").DragFullWindows().status().code(),
            ErrorCode::kFileSystemError);

  std::ofstream(folder / "plain-file") << "x";
  const Status written = FileDesktopSettings(folder / "plain-file" / "desktop.ini")
                             .SetDragFullWindows(false, kUpdateProfileAndBroadcast);
  EXPECT_EQ(written.code(), ErrorCode::kFileSystemError);
  EXPECT_EQ(ReadAll(folder / "plain-file"), "x");
}

// Sets or clears environment variables for the lifetime of the object.
class ScopedEnvironment {
 public:
  void Set(const char* name, std::optional<std::string> value) {
    if (const char* old = std::getenv(name)) {
      saved_.push_back({name, std::string(old)});
    } else {
      saved_.push_back({name, std::nullopt});
    }
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first, it->second->c_str(), 1);
      } else {
        unsetenv(it->first);
      }
    }
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(DefaultDesktopSettingsFile, PrefersTheExplicitFileThenXdgConfigThenHome) {
  struct Case {
    std::optional<std::string> explicitFile, xdgConfig, home;
    std::optional<std::string> expected;  // nullopt: no place at all
  };
  const std::vector<Case> cases = {
      {"/tmp/d.ini", "/x", "/h", "/tmp/d.ini"},
      {std::nullopt, "/x", "/h", "/x/paltrix/desktop.ini"},
      {"", "", "/h", "/h/.config/paltrix/desktop.ini"},
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    ScopedEnvironment environment;
    environment.Set(kDesktopSettingsFileVariable, c.explicitFile);
    environment.Set("XDG_CONFIG_HOME", c.xdgConfig);
    environment.Set("HOME", c.home);
    Result<std::filesystem::path> file = DefaultDesktopSettingsFile();
    if (c.expected) {
      ASSERT_TRUE(file.ok());
      EXPECT_EQ(file->string(), *c.expected);
    } else {
      EXPECT_FALSE(file.ok());
      EXPECT_FALSE(OpenDesktopSettings()->DragFullWindows().ok());
    }
  }
}

}  // namespace
}  // namespace paltrix::desktop
