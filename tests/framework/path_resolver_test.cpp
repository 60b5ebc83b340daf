#include "framework/path/path_resolver.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_directory.h"

namespace paltrix::path {
namespace {

namespace fs = std::filesystem;

class PathResolverTest : public ::testing::Test {
 protected:
  void MakeFile(const fs::path& relative) { std::ofstream(root_.path() / relative) << "x"; }

  paltrix::testing::TempDirectory root_;
};

TEST_F(PathResolverTest, ComponentsMatchExistingNamesRegardlessOfCase) {
  fs::create_directory(root_ / "Data");
  MakeFile("Data/PRODUKT.dat");
  MakeFile("A5.tps");

  struct Case {
    const char* diskName;
    fs::path expected;  // relative to the root
  };
  const Case cases[] = {
      {"DATA\\DFIRMA.DAT", "Data/DFIRMA.DAT"},  // folder matched, missing file spelled as given
      {"Data\\PRODUKT.dat", "Data/PRODUKT.dat"},
      {"data\\produkt.DAT", "Data/PRODUKT.dat"},  // an existing file keeps its own spelling
      {"DATA/BRUGER.DAT", "Data/BRUGER.DAT"},
      {".\\a5.TPS", "A5.tps"},
      {"./Data//ordtail", "Data/ordtail"},
  };
  for (const Case& c : cases) {
    Result<fs::path> resolved = ResolveDiskName(c.diskName, root_.path());
    ASSERT_TRUE(resolved.ok()) << c.diskName << ": " << resolved.status().ToString();
    EXPECT_EQ(*resolved, root_.path() / c.expected) << c.diskName;
  }
}

TEST_F(PathResolverTest, DanishLettersFoldLikeAToZ) {
  fs::create_directory(root_ / "Ærø");  // UTF-8 on disk
  Result<fs::path> resolved = ResolveDiskName("æRØ\\fil.dat", root_.path());
  ASSERT_TRUE(resolved.ok()) << resolved.status().ToString();
  EXPECT_EQ(*resolved, root_.path() / "Ærø" / "fil.dat");
  // The same name given as Windows-1252 bytes.
  resolved = ResolveDiskName("\xE6R\xD8\\fil.dat", root_.path());
  ASSERT_TRUE(resolved.ok()) << resolved.status().ToString();
  EXPECT_EQ(*resolved, root_.path() / "Ærø" / "fil.dat");
}

TEST_F(PathResolverTest, AnExactMatchWinsOverOtherSpellings) {
  fs::create_directory(root_ / "DATA");
  fs::create_directory(root_ / "Data");
  EXPECT_EQ(*ResolveDiskName("Data\\x", root_.path()), root_.path() / "Data" / "x");
  EXPECT_EQ(*ResolveDiskName("DATA\\x", root_.path()), root_.path() / "DATA" / "x");
  // Neither exact: the first in byte order, every time.
  EXPECT_EQ(*ResolveDiskName("data\\x", root_.path()), root_.path() / "DATA" / "x");
}

TEST_F(PathResolverTest, AMissingFolderIsPathNotFoundAndIsNotCreated) {
  MakeFile("Data");  // a file where a folder is expected
  for (const char* diskName : {"Missing\\PRODUKT.dat", "Data\\PRODUKT.dat", "a\\b\\c.dat"}) {
    Result<fs::path> resolved = ResolveDiskName(diskName, root_.path());
    EXPECT_EQ(resolved.status().code(), ErrorCode::kPathNotFound) << diskName;
  }
  EXPECT_FALSE(fs::exists(root_ / "Missing"));
  EXPECT_FALSE(fs::exists(root_ / "a"));
  EXPECT_EQ(ResolveDiskName("", root_.path()).status().code(), ErrorCode::kFileNotFound);
}

TEST_F(PathResolverTest, WithoutABaseTheWorkingDirectoryIsUsed) {
  fs::create_directory(root_ / "Data");
  paltrix::testing::ScopedWorkingDirectory inRoot(root_.path());
  Result<fs::path> resolved = ResolveDiskName("DATA\\DFIRMA.DAT");
  ASSERT_TRUE(resolved.ok()) << resolved.status().ToString();
  EXPECT_EQ(fs::weakly_canonical(*resolved), fs::weakly_canonical(root_ / "Data" / "DFIRMA.DAT"));
}

}  // namespace
}  // namespace paltrix::path
