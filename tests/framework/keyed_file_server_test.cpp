// What only a database server does to the engine: connections it ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/storage/keyed_file.h"
#include "tests/framework/storage_backends.h"
#include "tests/framework/storage_test_files.h"

namespace paltrix::storage {
namespace {

using testing::IdsInPhysicalOrder;
using testing::MakeRecord;
using testing::OpenOrFail;
using Ids = std::vector<std::string>;

class ServerTest : public ::testing::Test {
 protected:
  // Ends every other connection to the test's database, as an administrator
  // or a server restart would.
  void TerminateConnections() {
    paltrix::testing::ExecuteSql(storage_.databaseUrl(),
                                 "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                 "datname = current_database() AND pid <> pg_backend_pid()");
  }

  static void ExpectConnectionLost(const Status& status) {
    EXPECT_EQ(status.code(), ErrorCode::kFileSystemError) << status.ToString();
    EXPECT_NE(status.message().find("connection to the PostgreSQL server was lost"),
              std::string::npos)
        << status.message();
    EXPECT_NE(status.message().find("Test (PostgreSQL f_file)"), std::string::npos)
        << status.message();
  }

  testing::StorageUnderTest storage_{testing::Backend::kPostgres};
  Session session_{storage_.target()};
  KeyedFile& file_ = OpenOrFail(session_, storage_ / "file.dat");
};

TEST_F(ServerTest, ALostConnectionFailsTheOperationInHandAndTheNextOneConnectsAgain) {
  ASSERT_TRUE(file_.Add(MakeRecord("a")).ok());
  TerminateConnections();
  Result<RecordNumber> lost = file_.Add(MakeRecord("b"));
  ExpectConnectionLost(lost.status());

  // Prepared statements are made again on the new connection.
  Result<RecordNumber> again = file_.Add(MakeRecord("c"));
  ASSERT_TRUE(again.ok()) << again.status().ToString();
  EXPECT_EQ(IdsInPhysicalOrder(file_), (Ids{"a", "c"}));
  Record record;
  EXPECT_TRUE(file_.Fetch(testing::kIdKey, MakeRecord("C"), record).ok());
}

TEST_F(ServerTest, ATransactionWhoseConnectionWasLostCommitsNothingAndSaysSo) {
  ASSERT_TRUE(file_.Add(MakeRecord("before")).ok());
  {
    Result<Session::Transaction> transaction = session_.Begin();
    ASSERT_TRUE(transaction.ok());
    ASSERT_TRUE(file_.Add(MakeRecord("inside")).ok());
    TerminateConnections();
    ExpectConnectionLost(file_.Add(MakeRecord("lost")).status());
    // Later writes must not slip into the database one by one on a new
    // connection while the caller believes them part of the transaction.
    EXPECT_EQ(file_.Add(MakeRecord("after")).status().code(), ErrorCode::kFileSystemError);
    EXPECT_FALSE(transaction->Commit().ok());
  }
  Session reader(storage_.target());
  EXPECT_EQ(IdsInPhysicalOrder(OpenOrFail(reader, storage_ / "file.dat")), (Ids{"before"}));
  // The session goes on after the transaction.
  EXPECT_TRUE(file_.Add(MakeRecord("next")).ok());
}

// A station whose server is not there: every open says so, and nothing is
// taken for an empty file.
TEST(ServerDownTest, OpeningWithoutAServerSaysItCannotConnect) {
  const paltrix::testing::TempDirectory nowhere;
  Session session(StorageTarget::Postgres("host=" + nowhere.path().string() + " dbname=none"));
  for (int attempt = 0; attempt < 2; ++attempt) {
    const Status status = session.Open(testing::kSchema, "file.dat").status();
    EXPECT_EQ(status.code(), ErrorCode::kFileSystemError) << status.ToString();
    EXPECT_NE(status.message().find("cannot connect to the PostgreSQL server"), std::string::npos)
        << status.message();
  }
}

}  // namespace
}  // namespace paltrix::storage
