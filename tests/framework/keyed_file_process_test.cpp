// Several processes on one keyed file: concurrent writers, a writer killed in
// the middle of a transaction, and a writer holding the file too long.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/storage/keyed_file.h"
#include "framework/storage/table_layout.h"
#include "framework/text/windows1252.h"
#include "tests/framework/storage_test_files.h"
#include "tests/support/temp_directory.h"

namespace paltrix::storage {
namespace {

using testing::IdsInKeyOrder;
using testing::IdsInPhysicalOrder;
using testing::MakeRecord;
using testing::OpenOrFail;

// A one-way channel for single bytes between parent and child.
class Pipe {
 public:
  Pipe() {
    if (pipe(ends_) != 0) throw std::runtime_error("pipe failed");
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() {
    close(ends_[0]);
    close(ends_[1]);
  }
  void Signal() const {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(ends_[1], &byte, 1);
  }
  bool Wait() const {
    char byte = 0;
    return read(ends_[0], &byte, 1) == 1;
  }

 private:
  int ends_[2];
};

// Runs `body` in a forked child that ends with its result as exit status,
// without running any destructor of the parent's objects.
pid_t Fork(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

// The child's exit status, or -1 when it did not exit normally.
int ExitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// SQLite's own check of the file's pages, records and indexes.
std::string IntegrityCheck(const std::filesystem::path& path) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  const auto compare = [](void*, int leftLength, const void* left, int rightLength,
                          const void* right) {
    return text::CompareNoCase({static_cast<const char*>(left), std::size_t(leftLength)},
                               {static_cast<const char*>(right), std::size_t(rightLength)});
  };
  sqlite3_create_collation(raw, std::string(kCollation).c_str(), SQLITE_UTF8, nullptr, compare);
  sqlite3_stmt* statement = nullptr;
  std::string result;
  if (sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  } else {
    result = sqlite3_errmsg(raw);
  }
  sqlite3_finalize(statement);
  sqlite3_close(raw);
  return result;
}

class ProcessTest : public ::testing::Test {
 protected:
  std::filesystem::path FilePath() const { return folder_ / "shared.dat"; }

  paltrix::testing::TempDirectory folder_;
};

TEST_F(ProcessTest, TwoProcessesAddingAtOnceLoseNothing) {
  constexpr int kEach = 150;
  {
    Session creator;
    OpenOrFail(creator, FilePath());
  }
  const auto writer = [&](char prefix) {
    return [&, prefix] {
      Session session;
      Result<KeyedFile*> file = session.Open(testing::kSchema, FilePath());
      if (!file.ok()) return 10;
      for (int i = 0; i < kEach; ++i) {
        if (!(*file)->Add(MakeRecord(std::string(1, prefix) + std::to_string(i))).ok()) return 11;
      }
      return 0;
    };
  };
  const pid_t first = Fork(writer('a'));
  const pid_t second = Fork(writer('b'));
  EXPECT_EQ(ExitStatus(first), 0);
  EXPECT_EQ(ExitStatus(second), 0);

  Session session;
  KeyedFile& file = OpenOrFail(session, FilePath());
  const std::vector<std::string> ids = IdsInKeyOrder(file, testing::kIdKey);
  EXPECT_EQ(ids.size(), 2u * kEach);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 2u * kEach);
  EXPECT_EQ(IdsInPhysicalOrder(file).size(), 2u * kEach);
}

TEST_F(ProcessTest, ProcessesCreatingTheSameFileAtOnceCreateItOnce) {
  constexpr int kProcesses = 4;
  constexpr int kEach = 10;
  Pipe start;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    children.push_back(Fork([&, p] {
      start.Wait();
      Session session;
      Result<KeyedFile*> file = session.Open(testing::kSchema, FilePath());
      if (!file.ok()) {
        std::fprintf(stderr, "open: %s\n", file.status().ToString().c_str());
        return 10;
      }
      for (int i = 0; i < kEach; ++i) {
        if (!(*file)->Add(MakeRecord(std::to_string(p) + "-" + std::to_string(i))).ok()) return 11;
      }
      return 0;
    }));
  }
  for (int p = 0; p < kProcesses; ++p) start.Signal();
  for (pid_t child : children) EXPECT_EQ(ExitStatus(child), 0);

  Session session;
  KeyedFile& file = OpenOrFail(session, FilePath());
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey).size(), std::size_t{kProcesses * kEach});
}

TEST_F(ProcessTest, AWriterKilledInTheMiddleOfABulkTransactionLeavesEveryCommittedRecord) {
  {
    Session creator;
    KeyedFile& file = OpenOrFail(creator, FilePath());
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(file.Add(MakeRecord("p" + std::to_string(i))).ok());
  }
  Pipe busy;
  const pid_t child = Fork([&] {
    Session session;
    Result<KeyedFile*> opened = session.Open(testing::kSchema, FilePath());
    if (!opened.ok()) return 10;
    KeyedFile& file = **opened;
    for (int i = 0; i < 5; ++i) {
      if (!file.Add(MakeRecord("c" + std::to_string(i))).ok()) return 11;
    }
    if (!file.BeginBulk().ok()) return 12;
    // Enough to spill uncommitted pages into the log before the kill.
    for (int i = 0;; ++i) {
      if (!file.Add(MakeRecord("bulk" + std::to_string(i), "uncommitted", i, "memo")).ok()) {
        return 13;
      }
      if (i == 20000) busy.Signal();
    }
  });
  ASSERT_TRUE(busy.Wait()) << "the child ended before its bulk transaction was under way";
  kill(child, SIGKILL);
  EXPECT_EQ(ExitStatus(child), -1);

  EXPECT_EQ(IntegrityCheck(FilePath()), "ok");
  Session session;
  KeyedFile& file = OpenOrFail(session, FilePath());
  EXPECT_EQ(*file.RecordCount(), 15);
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey).size(), 15u);
  EXPECT_EQ(IdsInKeyOrder(file, testing::kGroupKey).size(), 0u);
  EXPECT_TRUE(file.Add(MakeRecord("after")).ok());
}

TEST_F(ProcessTest, AFileHeldByAnotherProcessPastTheWaitIsRecordHeld) {
  {
    Session creator;
    OpenOrFail(creator, FilePath());
  }
  Pipe holding;
  Pipe release;
  const pid_t child = Fork([&] {
    Session session;
    Result<KeyedFile*> file = session.Open(testing::kSchema, FilePath());
    if (!file.ok()) return 10;
    Result<Session::Transaction> transaction = session.Begin(/*immediate=*/true);
    if (!transaction.ok()) return 11;
    holding.Signal();
    release.Wait();
    return transaction->Commit().ok() ? 0 : 12;
  });
  ASSERT_TRUE(holding.Wait());

  Session session;
  Result<KeyedFile*> opened =
      session.Open(testing::kSchema, FilePath(), {.busyWaitMilliseconds = 200});
  ASSERT_TRUE(opened.ok()) << "reading needs no lock: " << opened.status().ToString();
  KeyedFile& file = **opened;
  EXPECT_EQ(*file.RecordCount(), 0);
  const Result<RecordNumber> refused = file.Add(MakeRecord("x"));
  EXPECT_EQ(refused.status().code(), ErrorCode::kRecordHeld) << refused.status().ToString();

  release.Signal();
  EXPECT_EQ(ExitStatus(child), 0);
  EXPECT_TRUE(file.Add(MakeRecord("x")).ok());
}

}  // namespace
}  // namespace paltrix::storage
