// A working directory the user may read but not write: the commands that only
// read show the data, and a command that writes fails clearly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/cli/cli_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::cli::testing {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kReadable =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kSearchable =
    kReadable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

class ReadOnlyDirectoryTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    // The superuser may write anything, so as root the program runs as an
    // unprivileged user, from a copy of it that user can reach.
    if (geteuid() == 0) {
      fs::permissions(program_.path(), kSearchable | fs::perms::owner_write);
      const fs::path copy = program_ / "paltrix-cli";
      std::error_code error;
      fs::create_hard_link(PALTRIX_CLI_PATH, copy, error);
      if (error) fs::copy_file(PALTRIX_CLI_PATH, copy);
      launcher_ = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                   copy.string()};
    } else {
      launcher_ = {PALTRIX_CLI_PATH};
    }
    SetTree(kReadable, kSearchable);
  }

  void TearDown() override {
    SetTree(kReadable | fs::perms::owner_write, kSearchable | fs::perms::owner_write);
  }

  void SetTree(fs::perms files, fs::perms folders) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder_.path())) {
      fs::permissions(entry.path(), entry.is_directory() ? folders : files);
    }
    fs::permissions(folder_.path(), folders);
  }

  // Runs the program in the read-only working directory; its output is kept
  // elsewhere, where the test may write.
  CliResult RunReadOnly(const std::vector<std::string>& arguments) {
    const paltrix::testing::ChildOutput output{output_ / "stdout", output_ / "stderr"};
    std::vector<std::string> words = launcher_;
    words.insert(words.end(), {"--workdir", folder_.path().string()});
    words.insert(words.end(), arguments.begin(), arguments.end());
    CliResult result;
    result.exitStatus =
        paltrix::testing::WaitForExit(paltrix::testing::SpawnProgram(words, output));
    result.out = paltrix::testing::ReadFileText(output.out);
    result.err = paltrix::testing::ReadFileText(output.err);
    return result;
  }

  std::vector<fs::path> Listing() const {
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder_.path())) {
      paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  paltrix::testing::TempDirectory program_;
  paltrix::testing::TempDirectory output_;
  std::vector<std::string> launcher_;
};

TEST_F(ReadOnlyDirectoryTest, ReadingCommandsShowTheDataAndWritesFailClearly) {
  const std::vector<fs::path> before = Listing();
  const std::string companyBefore = CompanyRecord();

  const CliResult company = RunReadOnly({"company", "show"});
  EXPECT_EQ(company.exitStatus, 0) << company.err;
  EXPECT_NE(company.out.find("Grønt ApS"), std::string::npos) << company.out;
  EXPECT_NE(company.out.find("000000041"), std::string::npos) << company.out;

  const CliResult products = RunReadOnly({"product", "list"});
  EXPECT_EQ(products.exitStatus, 0) << products.err;
  EXPECT_NE(products.out.find("100\tRødkål\t5701234567899\t10\t40"), std::string::npos)
      << products.out;

  const CliResult exported = RunReadOnly({"product", "export"});
  EXPECT_EQ(exported.exitStatus, 0) << exported.err;
  EXPECT_NE(exported.out.find("100,Rødkål,,5701234567899,10,40"), std::string::npos)
      << exported.out;

  const CliResult printer = RunReadOnly({"printer", "show"});
  EXPECT_EQ(printer.exitStatus, 0) << printer.err;
  EXPECT_NE(printer.out.find("labels.zpl"), std::string::npos) << printer.out;

  const CliResult added =
      RunReadOnly({"product", "add", "--id", "101", "--name", "Porrer", "--gtin", "5701234567899"});
  EXPECT_EQ(added.exitStatus, 1) << added.out;
  EXPECT_NE(added.err.find("open read-only"), std::string::npos) << added.err;
  EXPECT_EQ(added.err.find("SQLite"), std::string::npos) << added.err;

  const CliResult renamed = RunReadOnly({"company", "set", "--name", "Andet ApS"});
  EXPECT_EQ(renamed.exitStatus, 1) << renamed.out;
  EXPECT_NE(renamed.err.find("open read-only"), std::string::npos) << renamed.err;

  // Nothing was created beside the files, and nothing in them changed.
  EXPECT_EQ(Listing(), before);
  EXPECT_EQ(CompanyRecord(), companyBefore);
}

TEST_F(ReadOnlyDirectoryTest, AFileMissingFromAReadOnlyFolderIsReportedNotCreated) {
  SetTree(kReadable | fs::perms::owner_write, kSearchable | fs::perms::owner_write);
  fs::remove(folder_ / "Data" / "PRODUKT.dat");
  SetTree(kReadable, kSearchable);

  const CliResult products = RunReadOnly({"product", "list"});
  EXPECT_NE(products.exitStatus, 0);
  EXPECT_NE(products.err.find("cannot be created: no write access to the folder"),
            std::string::npos)
      << products.err;
  EXPECT_FALSE(fs::exists(folder_ / "Data" / "PRODUKT.dat"));
}

}  // namespace
}  // namespace paltrix::cli::testing
