#include "app/settings/database_setting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/support/temp_directory.h"

namespace paltrix::settings {
namespace {

TEST(DatabaseSetting, VariableWinsOverTheSettingsIniWhichWinsOverTheDataFolder) {
  struct Row {
    const char* note;
    const char* startupFile;  // ".\splab.ini"; nullptr: none
    const char* stationFile;  // ".\station.ini"; nullptr: none
    std::optional<std::string_view> variable;
    std::string expected;  // empty: the Data folder
  };
  const Row rows[] = {
      {"nothing set", nullptr, nullptr, std::nullopt, ""},
      {"key in splab.ini", "[Database]\nConnection=dbname=site\n", nullptr, std::nullopt,
       "dbname=site"},
      {"key in the named settings INI, any case", "[STARTUP]\nINIFILE=.\\station.ini\n",
       "[database]\nconnection = host=/run/postgresql dbname=site \n", std::nullopt,
       "host=/run/postgresql dbname=site"},
      {"key in splab.ini ignored when another file is named",
       "[STARTUP]\nINIFILE=.\\station.ini\n[Database]\nConnection=dbname=wrong\n", "", std::nullopt,
       ""},
      {"variable wins", "[Database]\nConnection=dbname=site\n", nullptr, "postgresql:///other",
       "postgresql:///other"},
      {"blank variable counts as unset", "[Database]\nConnection=dbname=site\n", nullptr, "  ",
       "dbname=site"},
      {"empty key: Data folder", "[Database]\nConnection=\n", nullptr, std::nullopt, ""},
  };
  for (const Row& row : rows) {
    testing::TempDirectory folder;
    if (row.startupFile != nullptr) std::ofstream(folder / "splab.ini") << row.startupFile;
    if (row.stationFile != nullptr) std::ofstream(folder / "station.ini") << row.stationFile;
    Result<storage::StorageTarget> target = ReadStorageTarget(folder.path(), row.variable);
    ASSERT_TRUE(target.ok()) << row.note << ": " << target.status().message();
    EXPECT_EQ(target->postgresConnection, row.expected) << row.note;
  }
}

TEST(DatabaseSetting, AnUnreadableSettingsFileFailsRatherThanFallingBackToTheDataFolder) {
  testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "splab.ini");  // exists, cannot be read as a file
  EXPECT_FALSE(ReadStorageTarget(folder.path(), std::nullopt).ok());
}

}  // namespace
}  // namespace paltrix::settings
