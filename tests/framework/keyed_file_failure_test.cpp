// Files the engine cannot use: damaged, foreign, missing folders, and the
// operating system's refusals. Each must come back as a clear Status.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "framework/storage/keyed_file.h"
#include "tests/framework/storage_test_files.h"
#include "tests/support/temp_directory.h"

namespace paltrix::storage {
namespace {

using testing::MakeRecord;
using testing::OpenOrFail;

class FailureTest : public ::testing::Test {
 protected:
  std::filesystem::path FilePath() const { return folder_ / "file.dat"; }

  Status OpenStatus(const std::filesystem::path& path, const OpenOptions& options = {}) {
    Session session;
    return session.Open(testing::kSchema, path, options).status();
  }

  void CreateWithRecords(int count) {
    Session session;
    KeyedFile& file = OpenOrFail(session, FilePath());
    for (int i = 0; i < count; ++i) {
      ASSERT_TRUE(file.Add(MakeRecord("id" + std::to_string(i), std::string(25, 'n'))).ok());
    }
  }

  void Overwrite(std::streamoff offset, std::size_t length) {
    std::fstream file(FilePath(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    const std::string garbage(length, '\x5A');
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
  }

  paltrix::testing::TempDirectory folder_;
};

TEST_F(FailureTest, AMissingFolderIsPathNotFoundAndNothingIsCreated) {
  const Status status = OpenStatus(folder_ / "Data" / "PRODUKT.dat");
  EXPECT_EQ(status.code(), ErrorCode::kPathNotFound);
  EXPECT_NE(status.message().find("Data"), std::string::npos) << status.message();
  EXPECT_FALSE(std::filesystem::exists(folder_ / "Data"));
}

TEST_F(FailureTest, APlainTextFileIsAnInvalidDataFile) {
  std::ofstream(FilePath()) << "PRODUKTID;NAVN\n1;Rødkål\n";
  const Status status = OpenStatus(FilePath());
  EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile) << status.ToString();
  EXPECT_NE(status.message().find("file.dat"), std::string::npos) << status.message();
}

TEST_F(FailureTest, ADatabaseOfAnotherProgramIsAnInvalidDataFileAndIsLeftAlone) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(FilePath().c_str(), &raw), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(raw,
                         "CREATE TABLE customers(name TEXT); INSERT INTO customers "
                         "VALUES('x')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);
  const auto sizeBefore = std::filesystem::file_size(FilePath());

  const Status status = OpenStatus(FilePath());
  EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile) << status.ToString();
  EXPECT_EQ(std::filesystem::file_size(FilePath()), sizeBefore);
  EXPECT_FALSE(std::filesystem::exists(FilePath().string() + "-wal")) << "not switched to WAL";
}

TEST_F(FailureTest, ADamagedFileGivesInvalidDataFileNotACrash) {
  CreateWithRecords(200);
  // Page 1 holds the schema, so the damage is seen on open.
  Overwrite(100, 3000);
  EXPECT_EQ(OpenStatus(FilePath()).code(), ErrorCode::kInvalidDataFile);
}

TEST_F(FailureTest, DamageInRecordPagesIsReportedWhenTheyAreRead) {
  CreateWithRecords(200);
  // Keep page 1 (schema) and the file description; damage everything after.
  const auto size = std::filesystem::file_size(FilePath());
  Overwrite(4096 * 3, static_cast<std::size_t>(size) - 4096 * 3);

  Session session;
  Result<KeyedFile*> opened = session.Open(testing::kSchema, FilePath());
  if (!opened.ok()) {
    EXPECT_EQ(opened.status().code(), ErrorCode::kInvalidDataFile) << opened.status().ToString();
    return;
  }
  KeyedFile& file = **opened;
  file.SetPhysicalOrder();
  Record record;
  Status status;
  for (int i = 0; i < 300 && (status = file.Next(record)).ok(); ++i) {
  }
  EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile) << status.ToString();
}

TEST_F(FailureTest, AFileSystemErrorCarriesTheSystemsCodeAndText) {
  // A folder where the file should be: the system refuses to open it as one.
  std::filesystem::create_directory(FilePath());
  const Status status = OpenStatus(FilePath());
  EXPECT_EQ(status.code(), ErrorCode::kFileSystemError) << status.ToString();
  EXPECT_EQ(status.systemCode(), EISDIR) << status.ToString();
  EXPECT_EQ(status.systemText(), std::generic_category().message(EISDIR));
  EXPECT_NE(status.message().find("SQLite"), std::string::npos) << status.message();
  EXPECT_NE(status.ToString().find(std::to_string(EISDIR)), std::string::npos);
}

TEST_F(FailureTest, AReadOnlyFileRefusesWritesWithAccessDenied) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "the superuser may write any file; ReadOnlyTest checks this as an "
                    "unprivileged user";
  }
  CreateWithRecords(1);
  std::filesystem::permissions(FilePath(), std::filesystem::perms::owner_read);
  Session session;
  Result<KeyedFile*> opened = session.Open(testing::kSchema, FilePath());
  if (opened.ok()) {
    EXPECT_EQ((*opened)->Add(MakeRecord("x")).status().code(), ErrorCode::kAccessDenied);
  } else {
    EXPECT_EQ(opened.status().code(), ErrorCode::kAccessDenied) << opened.status().ToString();
  }
}

TEST_F(FailureTest, ACopyHoldsWhatIsStillInTheSourcesLog) {
  Session writer;  // kept open: its commits stay in the write-ahead log
  KeyedFile& file = OpenOrFail(writer, FilePath());
  ASSERT_TRUE(file.Add(MakeRecord("logged")).ok());
  ASSERT_TRUE(std::filesystem::exists(FilePath().string() + "-wal"));

  const std::filesystem::path copy = folder_ / "copy.dat";
  ASSERT_TRUE(CopyKeyedFile(FilePath(), copy).ok());
  Session reader;
  EXPECT_EQ(testing::IdsInPhysicalOrder(OpenOrFail(reader, copy)),
            std::vector<std::string>{"logged"});
}

TEST_F(FailureTest, CopyAndRemoveWholeFiles) {
  CreateWithRecords(3);
  const std::filesystem::path copy = folder_ / "copy.dat";
  ASSERT_TRUE(CopyKeyedFile(FilePath(), copy).ok());
  {
    Session session;
    KeyedFile& file = OpenOrFail(session, copy);
    EXPECT_EQ(testing::IdsInKeyOrder(file, testing::kIdKey),
              (std::vector<std::string>{"id0", "id1", "id2"}));
  }
  // Copying over an existing file replaces it completely.
  {
    Session session;
    KeyedFile& file = OpenOrFail(session, copy);
    ASSERT_TRUE(file.Add(MakeRecord("only in the copy")).ok());
  }
  ASSERT_TRUE(CopyKeyedFile(FilePath(), copy).ok());
  {
    Session session;
    EXPECT_EQ(*OpenOrFail(session, copy).RecordCount(), 3);
  }

  ASSERT_TRUE(RemoveKeyedFile(copy).ok());
  for (const char* suffix : {"", "-wal", "-shm"}) {
    EXPECT_FALSE(std::filesystem::exists(copy.string() + suffix)) << suffix;
  }
  EXPECT_EQ(RemoveKeyedFile(copy).code(), ErrorCode::kFileNotFound);
  EXPECT_EQ(CopyKeyedFile(copy, FilePath()).code(), ErrorCode::kFileNotFound);
  EXPECT_EQ(CopyKeyedFile(FilePath(), folder_ / "missing" / "x.dat").code(),
            ErrorCode::kPathNotFound);

  std::ofstream(folder_ / "text.dat") << "not a record file";
  EXPECT_EQ(CopyKeyedFile(folder_ / "text.dat", copy).code(), ErrorCode::kInvalidDataFile);
}

}  // namespace
}  // namespace paltrix::storage
