#include "app/settings/settings_ini_name.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/temp_directory.h"

namespace paltrix::settings {
namespace {

TEST(SettingsIniName, ComesFromTheStartupFileOrDefaultsToIt) {
  struct Row {
    const char* note;
    const char* startupFile;  // nullptr: no ".\splab.ini"
    std::string expected;
  };
  const Row rows[] = {
      {"no start-up file", nullptr, ".\\splab.ini"},
      {"no key", "[STARTUP]\nOTHER=x\n", ".\\splab.ini"},
      {"empty value", "[STARTUP]\nINIFILE=\n", ".\\splab.ini"},
      {"the key, any case", "[startup]\ninifile=Data\\Tiger.ini\n", "Data\\Tiger.ini"},
      {"19 characters kept", "[STARTUP]\nINIFILE=.\\abcdefghijk.ini\n", ".\\abcdefghijk.ini"},
      {"longer names cut to 19", "[STARTUP]\nINIFILE=.\\settings-station-04.ini\n",
       ".\\settings-station-"},
  };
  for (const Row& row : rows) {
    testing::TempDirectory folder;
    if (row.startupFile != nullptr) std::ofstream(folder / "splab.ini") << row.startupFile;
    Result<std::string> name = ReadSettingsIniName(folder.path());
    ASSERT_TRUE(name.ok()) << row.note << ": " << name.status().message();
    EXPECT_EQ(*name, row.expected) << row.note;
    EXPECT_LE(name->size(), kMaxSettingsIniNameLength);
  }
}

TEST(SettingsIniName, FindsTheStartupFileWhateverItsCase) {
  testing::TempDirectory folder;
  std::ofstream(folder / "SPLAB.INI") << "[STARTUP]\nINIFILE=.\\tiger.ini\n";
  Result<std::string> name = ReadSettingsIniName(folder.path());
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(*name, ".\\tiger.ini");
}

TEST(SettingsIniName, AnUnreadableStartupFileIsReported) {
  testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "splab.ini");
  EXPECT_FALSE(ReadSettingsIniName(folder.path()).ok());
}

TEST(SettingsIniName, TheCurrentNameIsHeldCutAndResolved) {
  EXPECT_EQ(CurrentSettingsIniName(), ".\\splab.ini");
  SetCurrentSettingsIniName("Data\\a-very-long-settings-name.ini");
  EXPECT_EQ(CurrentSettingsIniName(), "Data\\a-very-long-se");

  testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "DATA");
  SetCurrentSettingsIniName("data\\Tiger.ini");
  Result<std::filesystem::path> path = CurrentSettingsIniPath(folder.path());
  ASSERT_TRUE(path.ok()) << path.status().message();
  EXPECT_EQ(*path, folder / "DATA" / "Tiger.ini");
  SetCurrentSettingsIniName(kStartupIniName);
}

}  // namespace
}  // namespace paltrix::settings
