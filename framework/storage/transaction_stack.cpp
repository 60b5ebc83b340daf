#include "framework/storage/transaction_stack.h"

#include <fmt/format.h>

#include "framework/storage/sqlite_connection.h"
#include "framework/storage/sqlite_status.h"

namespace paltrix::storage {

Status TransactionStack::Run(std::string_view sql) const {
  const int rc = sqlite::Execute(connection_, sql);
  if (rc == SQLITE_OK) return Status::Ok();
  return SqliteFailure(connection_, rc, "transaction");
}

Status TransactionStack::Begin(bool immediate) {
  Status status = depth_ == 0 ? Run(immediate ? "BEGIN IMMEDIATE" : "BEGIN")
                              : Run(fmt::format("SAVEPOINT level{}", depth_));
  if (status.ok()) ++depth_;
  return status;
}

Status TransactionStack::Commit() {
  if (Status intact = CheckIntact(); !intact.ok()) {
    --depth_;
    return intact;
  }
  if (depth_ > 1) {
    --depth_;
    return Run(fmt::format("RELEASE level{}", depth_));
  }
  Status status = Run("COMMIT");
  if (!status.ok() && sqlite3_get_autocommit(connection_) == 0) Run("ROLLBACK");
  depth_ = 0;
  return status;
}

Status TransactionStack::Rollback() {
  if (sqlite3_get_autocommit(connection_) != 0) {
    // Already undone by SQLite itself; nothing is left to roll back.
    --depth_;
    return Status::Ok();
  }
  if (depth_ > 1) {
    --depth_;
    return Run(fmt::format("ROLLBACK TO level{0}; RELEASE level{0}", depth_));
  }
  depth_ = 0;
  return Run("ROLLBACK");
}

Status TransactionStack::CheckIntact() const {
  if (depth_ == 0 || sqlite3_get_autocommit(connection_) == 0) return Status::Ok();
  return Status(ErrorCode::kFileSystemError,
                "the transaction was rolled back after an earlier failure; its writes are lost");
}

}  // namespace paltrix::storage
