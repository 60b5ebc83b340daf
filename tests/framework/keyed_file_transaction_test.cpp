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

class TransactionTest : public ::testing::TestWithParam<testing::Backend> {
 protected:
  TransactionTest()
      : first_(OpenOrFail(session_, storage_ / "first.dat")),
        second_(OpenOrFail(session_, storage_ / "second.dat")) {}

  // What another process would see: the files read through a fresh session.
  Ids CommittedIds(const char* name) {
    Session reader(storage_.target());
    return IdsInPhysicalOrder(OpenOrFail(reader, storage_ / name));
  }

  testing::StorageUnderTest storage_{GetParam()};
  Session session_{storage_.target()};
  KeyedFile& first_;
  KeyedFile& second_;
};

TEST_P(TransactionTest, AnUncommittedTransactionRollsBackEveryFile) {
  {
    Result<Session::Transaction> transaction = session_.Begin();
    ASSERT_TRUE(transaction.ok());
    ASSERT_TRUE(first_.Add(MakeRecord("a")).ok());
    ASSERT_TRUE(second_.Add(MakeRecord("b")).ok());
    ASSERT_TRUE(first_.Put(1, MakeRecord("a2")).ok());
    EXPECT_EQ(IdsInPhysicalOrder(first_), (Ids{"a2"})) << "own writes are seen inside";
    EXPECT_EQ(CommittedIds("first.dat"), Ids{}) << "nothing is seen outside before commit";
  }
  EXPECT_EQ(IdsInPhysicalOrder(first_), Ids{});
  EXPECT_EQ(IdsInPhysicalOrder(second_), Ids{});
}

TEST_P(TransactionTest, CommitMakesEveryFileDurableAtOnce) {
  Result<Session::Transaction> transaction = session_.Begin(/*immediate=*/true);
  ASSERT_TRUE(transaction.ok());
  ASSERT_TRUE(first_.Add(MakeRecord("a")).ok());
  ASSERT_TRUE(second_.Add(MakeRecord("b")).ok());
  ASSERT_TRUE(transaction->Commit().ok());
  EXPECT_EQ(transaction->Commit().code(), ErrorCode::kInvalidValue) << "ends only once";
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"a"}));
  EXPECT_EQ(CommittedIds("second.dat"), (Ids{"b"}));
}

TEST_P(TransactionTest, AFailedStepCanBeUndoneWithoutLosingTheOuterTransaction) {
  ASSERT_TRUE(first_.Add(MakeRecord("taken")).ok());
  Result<Session::Transaction> outer = session_.Begin();
  ASSERT_TRUE(outer.ok());
  ASSERT_TRUE(second_.Add(MakeRecord("kept")).ok());
  {
    Result<Session::Transaction> inner = session_.Begin();
    ASSERT_TRUE(inner.ok());
    ASSERT_TRUE(second_.Add(MakeRecord("undone")).ok());
    EXPECT_EQ(first_.Add(MakeRecord("TAKEN")).status().code(), ErrorCode::kDuplicateKey);
  }  // inner rolled back
  EXPECT_EQ(outer->Commit().ok(), true);
  EXPECT_EQ(CommittedIds("second.dat"), (Ids{"kept"}));
}

// A server aborts a whole transaction on any failed statement (and then
// "commits" it as a rollback); the engine keeps the embedded engine's rule
// that only the refused write fails.
TEST_P(TransactionTest, AWriteRefusedInsideATransactionFailsAloneAndTheRestCommits) {
  ASSERT_TRUE(first_.Add(MakeRecord("taken")).ok());
  Result<Session::Transaction> transaction = session_.Begin();
  ASSERT_TRUE(transaction.ok());
  ASSERT_TRUE(second_.Add(MakeRecord("a")).ok());
  EXPECT_EQ(first_.Add(MakeRecord("TAKEN")).status().code(), ErrorCode::kDuplicateKey);
  ASSERT_TRUE(second_.Add(MakeRecord("b")).ok());
  ASSERT_TRUE(transaction->Commit().ok());
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"taken"}));
  EXPECT_EQ(CommittedIds("second.dat"), (Ids{"a", "b"}));
}

TEST_P(TransactionTest, AnOuterTransactionCannotCommitOverAnOpenInnerOne) {
  Result<Session::Transaction> outer = session_.Begin();
  ASSERT_TRUE(outer.ok());
  ASSERT_TRUE(first_.Add(MakeRecord("a")).ok());
  Result<Session::Transaction> inner = session_.Begin();
  ASSERT_TRUE(inner.ok());
  EXPECT_EQ(outer->Commit().code(), ErrorCode::kInvalidValue);
  ASSERT_TRUE(inner->Commit().ok());
  ASSERT_TRUE(outer->Commit().ok());
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"a"}));
}

TEST_P(TransactionTest, BulkModeOnTwoFilesCommitsWhenTheLastEnds) {
  ASSERT_TRUE(first_.BeginBulk().ok());
  ASSERT_TRUE(second_.BeginBulk().ok());
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(first_.Append(MakeRecord(std::to_string(i))).ok());
    ASSERT_TRUE(second_.Add(MakeRecord(std::to_string(i))).ok());
  }
  // Ended in the order they began, not in reverse.
  ASSERT_TRUE(first_.EndBulk().ok());
  EXPECT_EQ(CommittedIds("second.dat").size(), 0u) << "still one open bulk transaction";
  ASSERT_TRUE(second_.EndBulk().ok());
  EXPECT_EQ(CommittedIds("second.dat").size(), 100u);
  ASSERT_TRUE(first_.BuildKeys().ok());
  EXPECT_EQ(CommittedIds("first.dat").size(), 100u);
}

TEST_P(TransactionTest, BulkModeBegunInsideARolledBackTransactionGoesWithIt) {
  {
    Result<Session::Transaction> transaction = session_.Begin();
    ASSERT_TRUE(transaction.ok());
    ASSERT_TRUE(first_.BeginBulk().ok());
    ASSERT_TRUE(first_.Add(MakeRecord("a")).ok());
    EXPECT_EQ(transaction->Commit().code(), ErrorCode::kInvalidValue) << "bulk mode still open";
  }
  EXPECT_EQ(IdsInPhysicalOrder(first_), Ids{});
  // Bulk mode can start afresh.
  ASSERT_TRUE(first_.BeginBulk().ok());
  ASSERT_TRUE(first_.Add(MakeRecord("b")).ok());
  ASSERT_TRUE(first_.EndBulk().ok());
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"b"}));
}

TEST_P(TransactionTest, ClosingAFileInBulkModeKeepsWhatWasWritten) {
  ASSERT_TRUE(first_.BeginBulk().ok());
  ASSERT_TRUE(first_.Add(MakeRecord("a")).ok());
  session_.Close(&first_);
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"a"}));
}

TEST_P(TransactionTest, ClosingAFileInsideATransactionKeepsItUntilTheEnd) {
  {
    Result<Session::Transaction> transaction = session_.Begin();
    ASSERT_TRUE(transaction.ok());
    ASSERT_TRUE(first_.Add(MakeRecord("a")).ok());
    session_.Close(&first_);
    ASSERT_TRUE(second_.Add(MakeRecord("b")).ok());
    ASSERT_TRUE(transaction->Commit().ok());
  }
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"a"}));
  // The closed file's slot is free again once the transaction has ended.
  EXPECT_TRUE(session_.Open(testing::kSchema, storage_ / "third.dat").ok());
}

// Replacing a file's contents: the old records stay for everyone else until
// the commit and come back whole when the replacement fails; the numbers of
// deleted records are not given out again.
TEST_P(TransactionTest, DeleteAllReplacesAFilesRecordsOnlyWhenCommitted) {
  ASSERT_TRUE(first_.Add(MakeRecord("old1")).ok());
  ASSERT_TRUE(first_.Add(MakeRecord("old2")).ok());
  {
    Result<Session::Transaction> replace = session_.Begin(/*immediate=*/true);
    ASSERT_TRUE(replace.ok());
    ASSERT_TRUE(first_.DeleteAll().ok());
    ASSERT_TRUE(first_.Add(MakeRecord("new")).ok());
    EXPECT_EQ(first_.Add(MakeRecord("NEW")).status().code(), ErrorCode::kDuplicateKey);
    EXPECT_EQ(CommittedIds("first.dat"), (Ids{"old1", "old2"}));
  }  // rolled back
  EXPECT_EQ(IdsInPhysicalOrder(first_), (Ids{"old1", "old2"}));

  Result<Session::Transaction> replace = session_.Begin(/*immediate=*/true);
  ASSERT_TRUE(replace.ok());
  ASSERT_TRUE(first_.DeleteAll().ok());
  ASSERT_TRUE(first_.Add(MakeRecord("old1")).ok()) << "a deleted key value is free again";
  ASSERT_TRUE(replace->Commit().ok());
  EXPECT_EQ(CommittedIds("first.dat"), (Ids{"old1"}));
  EXPECT_GT(first_.position(), 2) << "record numbers are not given out twice";
}

TEST_P(TransactionTest, NoFileCanBeAttachedInsideATransaction) {
  Result<Session::Transaction> transaction = session_.Begin();
  ASSERT_TRUE(transaction.ok());
  EXPECT_EQ(session_.Open(testing::kSchema, storage_ / "third.dat").status().code(),
            ErrorCode::kInvalidValue);
  // A file already attached can be opened again.
  EXPECT_TRUE(session_.Open(testing::kSchema, storage_ / "first.dat").ok());
}

INSTANTIATE_TEST_SUITE_P(Backends, TransactionTest, testing::kBothBackends, testing::BackendName);

}  // namespace
}  // namespace paltrix::storage
