#include "framework/storage/transaction_stack.h"

#include <fmt/format.h>

namespace paltrix::storage {

Status TransactionStack::Run(std::string_view sql) const {
  const int rc = connection_.Execute(sql);
  if (rc == db::kOk) return Status::Ok();
  return connection_.Failure(rc, "transaction");
}

Status TransactionStack::Begin(bool immediate, std::span<const std::string> schemas) {
  Status status = depth_ == 0 ? Run(immediate ? connection_.BeginImmediateSql(schemas) : "BEGIN")
                              : Run(fmt::format("SAVEPOINT level{}", depth_));
  if (status.ok()) {
    ++depth_;
  } else if (depth_ == 0 && connection_.InTransaction()) {
    // Begun, but its locks were not had: nothing of it may stay open.
    connection_.Execute("ROLLBACK");
  }
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
  if (!status.ok() && connection_.InTransaction()) Run("ROLLBACK");
  depth_ = 0;
  return status;
}

Status TransactionStack::Rollback() {
  if (!connection_.InTransaction()) {
    // Already undone by the engine itself; nothing is left to roll back.
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
  if (depth_ == 0 || connection_.InTransaction()) return Status::Ok();
  return Status(ErrorCode::kFileSystemError,
                "the transaction was rolled back after an earlier failure; its writes are lost");
}

}  // namespace paltrix::storage
