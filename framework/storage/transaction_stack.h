#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "framework/status.h"
#include "framework/storage/database.h"

namespace paltrix::storage {

// The nesting of transactions on one connection. The outermost level is a
// real transaction (BEGIN ... COMMIT), inner levels are savepoints, so an
// inner level can be undone without giving up the outer one. Levels end in
// reverse order of their start.
class TransactionStack {
 public:
  explicit TransactionStack(db::Connection& connection) : connection_(connection) {}

  std::size_t depth() const { return depth_; }
  bool active() const { return depth_ > 0; }

  // Starts a level. `immediate` takes the write lock of every file in
  // `schemas` at once (outermost level only; inside a transaction the locks
  // are taken by the first write as usual). kRecordHeld when the lock is not
  // had in time.
  Status Begin(bool immediate, std::span<const std::string> schemas = {});
  // Ends the top level keeping its writes; at the outermost level the writes
  // become durable. On failure the level is rolled back and gone all the same.
  // REQUIRES: active()
  Status Commit();
  // Ends the top level undoing its writes. REQUIRES: active()
  Status Rollback();

  // kFileSystemError when the engine has rolled the whole transaction back on
  // its own (after an I/O error, a full disk or a lost server connection): further writes would
  // otherwise be committed one by one while the caller believes them undoable.
  Status CheckIntact() const;

 private:
  Status Run(std::string_view sql) const;

  db::Connection& connection_;
  std::size_t depth_ = 0;
};

// One level for the length of a scope: rolled back when the scope ends
// without Commit().
class TransactionLevel {
 public:
  explicit TransactionLevel(TransactionStack& stack) : stack_(stack) {}
  TransactionLevel(const TransactionLevel&) = delete;
  TransactionLevel& operator=(const TransactionLevel&) = delete;
  ~TransactionLevel() {
    if (open_) stack_.Rollback();
  }

  Status Begin() {
    Status status = stack_.Begin(/*immediate=*/false);
    open_ = status.ok();
    return status;
  }
  Status Commit() {
    open_ = false;
    return stack_.Commit();
  }

 private:
  TransactionStack& stack_;
  bool open_ = false;
};

}  // namespace paltrix::storage
