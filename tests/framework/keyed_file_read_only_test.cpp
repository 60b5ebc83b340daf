// Files this process may not write: read where they lie, never changed.
// The superuser may write anything, so as root the checks run in a child that
// has become an unprivileged user.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/storage/keyed_file.h"
#include "tests/framework/storage_test_files.h"
#include "tests/support/temp_directory.h"

namespace paltrix::storage {
namespace {

namespace fs = std::filesystem;
using testing::MakeRecord;
using testing::OpenOrFail;

// Counts the failed checks of the child, which reports them on stderr.
class Checks {
 public:
  void Expect(bool holds, const std::string& what) {
    if (holds) return;
    std::fprintf(stderr, "failed: %s\n", what.c_str());
    ++failed_;
  }
  int failed() const { return failed_; }

 private:
  int failed_ = 0;
};

void BecomeUnprivileged() {
  if (geteuid() != 0) return;
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
      setuid(nobody->pw_uid) != 0) {
    std::fprintf(stderr, "cannot become nobody\n");
    std::_Exit(100);
  }
}

class ReadOnlyTest : public ::testing::Test {
 protected:
  fs::path Path(const std::string& name) const { return folder_ / name; }

  void Create(const std::string& name, const std::vector<std::string>& ids) {
    Session session;
    KeyedFile& file = OpenOrFail(session, Path(name));
    for (const std::string& id : ids) ASSERT_TRUE(file.Add(MakeRecord(id)).ok());
  }

  void SetPermissions(fs::perms files, fs::perms folder) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_.path())) {
      fs::permissions(entry.path(), files);
    }
    fs::permissions(folder_.path(), folder);
  }

  void TearDown() override { SetPermissions(fs::perms::owner_all, fs::perms::owner_all); }

  paltrix::testing::TempDirectory folder_;
};

TEST_F(ReadOnlyTest, FilesInAFolderThatMayNotBeWrittenAreReadAndNeverChanged) {
  Create("clean.dat", {"b", "c", "a"});
  {
    Create("stale.dat", {"x"});
    Session session;
    ASSERT_TRUE(OpenOrFail(session, Path("stale.dat")).Append(MakeRecord("y")).ok());
  }
  Create("left_log.dat", {"x"});
  std::ofstream(Path("left_log.dat-wal")).put('\0');
  std::ofstream(Path("empty.dat")).flush();
  // Kept open, so its last record is still in the log beside it.
  Session writer;
  KeyedFile& logged = OpenOrFail(writer, Path("logged.dat"));
  ASSERT_TRUE(logged.Add(MakeRecord("in the log")).ok());

  const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  SetPermissions(readable,
                 readable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);

  EXPECT_EXIT(
      {
        BecomeUnprivileged();
        Checks checks;
        {
          Session session;
          Result<KeyedFile*> opened = session.Open(testing::kSchema, Path("clean.dat"));
          checks.Expect(opened.ok(), "clean file opens: " + opened.status().ToString());
          if (opened.ok()) {
            KeyedFile& file = **opened;
            checks.Expect(file.readOnly(), "clean file is read-only");
            checks.Expect(
                testing::IdsInPhysicalOrder(file) == std::vector<std::string>{"b", "c", "a"},
                "physical order");
            checks.Expect(testing::IdsInKeyOrder(file, testing::kIdKey) ==
                              std::vector<std::string>{"a", "b", "c"},
                          "key order");
            const Status added = file.Add(MakeRecord("d")).status();
            checks.Expect(added.code() == ErrorCode::kAccessDenied &&
                              added.message().find("read-only") != std::string::npos,
                          "add refused: " + added.ToString());
            checks.Expect(file.Delete(1).code() == ErrorCode::kAccessDenied, "delete refused");
            checks.Expect(file.BuildKeys().code() == ErrorCode::kAccessDenied, "key build refused");
          }
        }
        {
          Session session;
          Result<KeyedFile*> opened = session.Open(testing::kSchema, Path("logged.dat"));
          checks.Expect(opened.ok() && testing::IdsInPhysicalOrder(**opened) ==
                                           std::vector<std::string>{"in the log"},
                        "a file another process holds open is read with its log: " +
                            opened.status().ToString());
        }
        const auto openCode = [](const fs::path& path, std::string& message) {
          Session session;
          const Status status = session.Open(testing::kSchema, path).status();
          message = status.ToString();
          return status.code();
        };
        std::string message;
        checks.Expect(openCode(Path("stale.dat"), message) == ErrorCode::kKeysNeedRebuild &&
                          message.find("write access") != std::string::npos,
                      "stale keys: " + message);
        checks.Expect(openCode(Path("empty.dat"), message) == ErrorCode::kAccessDenied,
                      "empty file: " + message);
        checks.Expect(openCode(Path("left_log.dat"), message) == ErrorCode::kAccessDenied &&
                          message.find("write-ahead log") != std::string::npos,
                      "log left beside: " + message);
        checks.Expect(openCode(Path("missing.dat"), message) == ErrorCode::kAccessDenied &&
                          message.find("cannot be created") != std::string::npos,
                      "missing file: " + message);
        std::exit(checks.failed());
      },
      ::testing::ExitedWithCode(0), "");

  // Nothing was created or rebuilt: the stale file still needs its keys.
  EXPECT_FALSE(fs::exists(Path("missing.dat")));
  EXPECT_EQ(fs::file_size(Path("empty.dat")), 0u);
  EXPECT_FALSE(fs::exists(Path("clean.dat-wal")));
  SetPermissions(fs::perms::owner_all, fs::perms::owner_all);
  Session session;
  EXPECT_EQ(testing::IdsInPhysicalOrder(OpenOrFail(session, Path("stale.dat"))),
            (std::vector<std::string>{"x", "y"}));
}

}  // namespace
}  // namespace paltrix::storage
