#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/records/produkt.h"
#include "convert/old_produkt.h"
#include "framework/fields/record_codec.h"
#include "tests/convert/catalogue_files.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::convert::testing {
namespace {

namespace produkt = records::produkt;
using paltrix::testing::ReadFileText;
using ::testing::HasSubstr;
using ::testing::StartsWith;

bool OpensAs(const storage::FileSchema& schema, const std::filesystem::path& path) {
  storage::Session session;
  return session.Open(schema, path, {.createIfMissing = false}).ok();
}

struct RunResult {
  int exitStatus = -1;
  std::string out, err;
};

// `convert` run as a program in a fresh working directory with a Data folder,
// without a display so that its texts go to standard error.
class ConvertProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    std::filesystem::create_directories(work_ / "Data");
  }

  std::filesystem::path Catalogue() const { return work_ / "Data" / "PRODUKT.dat"; }

  // Starts `prefix` (e.g. /usr/bin/env with settings), the program, `arguments`.
  pid_t Start(std::vector<std::string> prefix = {},
              const std::vector<std::string>& arguments = {}) {
    paltrix::testing::ScopedWorkingDirectory inside(work_);
    prefix.push_back(PALTRIX_CONVERT_PATH);
    prefix.insert(prefix.end(), arguments.begin(), arguments.end());
    return paltrix::testing::SpawnProgram(prefix, {root_ / "out", root_ / "err"});
  }

  RunResult Run(std::vector<std::string> prefix = {},
                const std::vector<std::string>& arguments = {}) {
    RunResult result;
    result.exitStatus = paltrix::testing::WaitForExit(Start(std::move(prefix), arguments));
    result.out = ReadFileText(root_ / "out");
    result.err = ReadFileText(root_ / "err");
    return result;
  }

  std::vector<std::string> DataFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(work_ / "Data")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  paltrix::testing::TempDirectory root_;
  std::filesystem::path work_ = root_ / "work";
};

TEST_F(ConvertProgramTest, KeepsEveryFieldAtFullWidthAndSetsOrderInBarcodeToZero) {
  std::vector<char> full(old_produkt::kRecordLength, '\0');
  fields::WriteText(full, old_produkt::PRODUKTID, "\xC6\xD8\xC5-ID-0123456789-X");
  fields::WriteText(full, old_produkt::PRODUKTNAVN, std::string(49, 'N') + "\xE6");
  fields::WriteText(full, old_produkt::NAVN2, std::string(29, 'o') + "\xF8");
  fields::WriteText(full, old_produkt::EANNR, "5701234567899");
  fields::WriteShort(full, old_produkt::HOLDBARHEDSDAGE, -32768);
  fields::WriteText(full, old_produkt::ANTALPRKOLLIE, std::string(59, 'b') + "\xE5");
  fields::WriteLong(full, old_produkt::ANTALPRPALLE, -2147483647);
  fields::WriteLong(full, old_produkt::HOLDBARTIL, 2994626);
  fields::WriteDecimal(full, old_produkt::NETTOVAEGT, -9999999);
  fields::WriteText(full, old_produkt::BATCHNR, std::string(19, 'z'));
  std::vector<std::vector<char>> old = OldProducts(250);
  old.insert(old.begin() + 100, full);
  WriteProductFile(old_produkt::kSchema, Catalogue(), old);

  const RunResult result = Run();
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.err, StartsWith("Converting File\nConverting Record #: 0\n"));
  EXPECT_THAT(result.err, HasSubstr("Converting Record #: 251\nBuilding Keys\n"));
  EXPECT_EQ(DataFolder(), std::vector<std::string>{"PRODUKT.dat"});

  const std::vector<std::vector<char>> converted = ReadProductFile(produkt::kSchema, Catalogue());
  ASSERT_EQ(converted.size(), old.size());
  for (std::size_t i = 0; i < old.size(); ++i) EXPECT_EQ(converted[i], Converted(old[i])) << i;
  const std::vector<char>& image = converted[100];
  EXPECT_EQ(fields::ReadText(image, produkt::PRODUKTID), "\xC6\xD8\xC5-ID-0123456789-X");
  EXPECT_EQ(fields::ReadText(image, produkt::ANTALPRKOLLIE), std::string(59, 'b') + "\xE5");
  EXPECT_EQ(fields::ReadShort(image, produkt::HOLDBARHEDSDAGE), -32768);
  EXPECT_EQ(fields::ReadDecimal(image, produkt::NETTOVAEGT), -9999999);
  EXPECT_EQ(fields::ReadByte(image, produkt::BRUGORDREID), 0);

  // The keys of the new file are built: the product is found by its ID in
  // another case, and the order by name puts "Vare 0 ..." first.
  storage::Session session;
  Result<storage::KeyedFile*> file = session.Open(produkt::kSchema, Catalogue());
  ASSERT_TRUE(file.ok());
  storage::Record probe = storage::Record::Blank(produkt::kSchema);
  storage::Record found = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(probe.image, produkt::PRODUKTID, "\xE6\xF8\xE5-id-0123456789-x");
  ASSERT_TRUE((*file)->Fetch(produkt::kIDKey, probe, found).ok());
  EXPECT_EQ(found.image, image);
  ASSERT_TRUE((*file)->SetKeyOrder(produkt::kNavneKey).ok());
  ASSERT_TRUE((*file)->Next(found).ok());
  EXPECT_EQ(fields::ReadText(found.image, produkt::PRODUKTNAVN), std::string(49, 'N') + "\xE6");
}

TEST_F(ConvertProgramTest, AnEmptyFileBecomesAnEmptyFileOfTheCurrentLayout) {
  WriteProductFile(old_produkt::kSchema, Catalogue(), {});
  const RunResult result = Run();
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "Converting File\nConverting Record #: 0\nBuilding Keys\n");
  EXPECT_TRUE(ReadProductFile(produkt::kSchema, Catalogue()).empty());
  EXPECT_EQ(DataFolder(), std::vector<std::string>{"PRODUKT.dat"});
}

TEST_F(ConvertProgramTest, AMissingProductFileIsReportedAndNothingIsCreated) {
  const RunResult result = Run();
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, StartsWith("Error: "));
  EXPECT_THAT(result.err, HasSubstr("does not exist"));
  EXPECT_THAT(result.err, ::testing::Not(HasSubstr("Converting")));
  EXPECT_TRUE(DataFolder().empty());
}

TEST_F(ConvertProgramTest, AFileAlreadyInTheCurrentLayoutIsLeftAlone) {
  std::vector<char> current = Converted(OldProducts(1).front());
  fields::WriteByte(current, produkt::BRUGORDREID, 1);
  WriteProductFile(produkt::kSchema, Catalogue(), {current});
  const std::string before = ReadFileText(Catalogue());

  const RunResult result = Run();
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("already in the current layout"));
  EXPECT_EQ(ReadFileText(Catalogue()), before);
  EXPECT_EQ(DataFolder(), std::vector<std::string>{"PRODUKT.dat"});
}

TEST_F(ConvertProgramTest, AFailedReplaceLeavesTheProductFileByteForByte) {
  WriteProductFile(old_produkt::kSchema, Catalogue(), OldProducts(500));
  const std::string before = ReadFileText(Catalogue());
  std::string asanOptions = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
  asanOptions += ":verify_asan_link_order=0";

  const RunResult result = Run(
      {"/usr/bin/env", "LD_PRELOAD=" PALTRIX_FAILING_RENAME_PATH, "ASAN_OPTIONS=" + asanOptions});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr("\nFile System Error: (28) No space left on device\n"));
  EXPECT_EQ(ReadFileText(Catalogue()), before);
  EXPECT_EQ(ReadProductFile(old_produkt::kSchema, Catalogue()), OldProducts(500));

  // The next run, without the fault, converts over the leftover new file.
  ASSERT_EQ(Run().exitStatus, 0);
  EXPECT_EQ(ReadProductFile(produkt::kSchema, Catalogue()).size(), 500u);
}

// Killed at any moment, the program leaves either the old catalogue or the
// new one, each with every product; a later run finishes the work.
TEST_F(ConvertProgramTest, KilledAtRandomPointsLeavesTheOldOrTheNewCatalogueWhole) {
  const std::vector<std::vector<char>> old = OldProducts(3000);
  std::vector<std::vector<char>> converted;
  for (const std::vector<char>& image : old) converted.push_back(Converted(image));
  WriteProductFile(old_produkt::kSchema, root_ / "pristine.dat", old);

  const auto restore = [&] {
    std::filesystem::remove_all(work_ / "Data");
    std::filesystem::create_directory(work_ / "Data");
    std::filesystem::copy_file(root_ / "pristine.dat", Catalogue());
  };
  restore();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(Run().exitStatus, 0);
  const auto fullRun = std::chrono::steady_clock::now() - started;

  // Round r kills at a random point of the r-th twelfth of 1.2 times a full run.
  constexpr int kRounds = 12;
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> withinSlice(0.0, 1.0);
  int oldSeen = 0, newSeen = 0;
  for (int round = 0; round < kRounds; ++round) {
    restore();
    const pid_t child = Start();
    std::this_thread::sleep_for((round + withinSlice(random)) * 1.2 / kRounds * fullRun);
    ::kill(child, SIGKILL);
    paltrix::testing::WaitForExit(child);

    if (OpensAs(old_produkt::kSchema, Catalogue())) {
      EXPECT_EQ(ReadProductFile(old_produkt::kSchema, Catalogue()), old) << "round " << round;
      ++oldSeen;
    } else {
      EXPECT_EQ(ReadProductFile(produkt::kSchema, Catalogue()), converted) << "round " << round;
      ++newSeen;
    }
    const RunResult again = Run();
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_EQ(ReadProductFile(produkt::kSchema, Catalogue()), converted) << "round " << round;
  }
  EXPECT_GT(oldSeen, 0);
  std::printf("killed: %d times the old catalogue, %d times the new one\n", oldSeen, newSeen);
}

TEST_F(ConvertProgramTest, AnswersHelpAndRefusesArgumentsWithoutTouchingAnything) {
  const RunResult help = Run({}, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_THAT(help.out, StartsWith("Usage: convert\n"));
  EXPECT_EQ(Run({}, {"now"}).exitStatus, 2);
  EXPECT_TRUE(DataFolder().empty());
}

}  // namespace
}  // namespace paltrix::convert::testing
