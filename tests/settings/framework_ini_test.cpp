#include "app/settings/framework_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/temp_directory.h"

namespace paltrix::settings {
namespace {

TEST(FrameworkIni, WritesOnCloseOnlyWhatChanged) {
  testing::TempDirectory folder;
  {
    Result<FrameworkIni> ini = FrameworkIni::Open(folder.path());
    ASSERT_TRUE(ini.ok()) << ini.status().message();
    EXPECT_TRUE(ini->Close().ok());
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "Paltrix10.INI")) << "nothing to write";
  {
    Result<FrameworkIni> ini = FrameworkIni::Open(folder.path());
    ASSERT_TRUE(ini.ok());
    ASSERT_TRUE(ini->file().SetInteger("Main", "Width", 640).ok());
    EXPECT_TRUE(ini->Close().ok());
  }
  Result<FrameworkIni> reopened = FrameworkIni::Open(folder.path());
  ASSERT_TRUE(reopened.ok());
  EXPECT_EQ(reopened->file().GetInteger("main", "width", 0), 640);
}

TEST(FrameworkIni, OpensTheExistingFileWhateverItsCase) {
  testing::TempDirectory folder;
  std::ofstream(folder / "paltrix10.ini") << "[Main]\nX=5\n";
  Result<FrameworkIni> ini = FrameworkIni::Open(folder.path());
  ASSERT_TRUE(ini.ok());
  EXPECT_EQ(ini->file().GetInteger("Main", "X", 0), 5);
  EXPECT_EQ(ini->file().path().filename(), "paltrix10.ini");
}

}  // namespace
}  // namespace paltrix::settings
