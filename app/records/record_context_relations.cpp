// RecordContext::Update and RecordContext::Delete: changes that the children
// of the changed record follow, each made as one transaction.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/records/link_value.h"
#include "app/records/record_context.h"
#include "framework/errors/message_numbers.h"

namespace paltrix::records {
namespace {

enum class ChangeKind { kUpdate, kDelete };

ReferentialAction ActionFor(const RelationDef& relation, ChangeKind change) {
  return change == ChangeKind::kUpdate ? relation.onUpdate : relation.onDelete;
}

// The files that a change of `root` can reach through cascading relations,
// without `root` itself.
std::vector<const storage::FileSchema*> FilesReachedFrom(const storage::FileSchema& root,
                                                         ChangeKind change) {
  std::vector<const storage::FileSchema*> reached;
  std::vector<const storage::FileSchema*> pending = {&root};
  while (!pending.empty()) {
    const storage::FileSchema* parent = pending.back();
    pending.pop_back();
    for (const RelationDef& relation : kRelations) {
      if (relation.parent != parent || ActionFor(relation, change) != kCascade) continue;
      if (relation.child == &root ||
          std::find(reached.begin(), reached.end(), relation.child) != reached.end()) {
        continue;
      }
      reached.push_back(relation.child);
      pending.push_back(relation.child);
    }
  }
  return reached;
}

struct Child {
  storage::RecordNumber number;
  storage::Record record;
};

}  // namespace

// One change of a parent record with its cascade, as one transaction. A
// failure is remembered with the file where it happened and reported only
// after the transaction has been rolled back, so that no file stays locked
// while the operator reads the message.
class RecordContext::Cascade {
 public:
  explicit Cascade(RecordContext& context) : context_(context) {}

  // Replaces (with `replacement`) or deletes (without) record `number`.
  Status Run(const storage::FileSchema& schema, storage::KeyedFile& file,
             storage::RecordNumber number, const storage::Record* replacement) {
    Status status = RunInTransaction(schema, file, number, replacement);
    if (status.ok() || failedFile_ == nullptr) return status;
    return context_.Report(*failedFile_, failedMessage_, std::move(status));
  }

 private:
  Status RunInTransaction(const storage::FileSchema& schema, storage::KeyedFile& file,
                          storage::RecordNumber number, const storage::Record* replacement) {
    Result<storage::Session::Transaction> transaction = context_.session_.Begin(/*immediate=*/true);
    if (!transaction.ok()) {
      return Fail(schema, errors::msg::kTransactionCancelled, transaction.status());
    }
    // Read under the write lock: nobody can change the record before it is replaced.
    const int failureMessage =
        replacement == nullptr ? errors::msg::kDeleteError : errors::msg::kUpdateError;
    storage::Record before = storage::Record::Blank(schema);
    if (Status read = file.Get(number, before); !read.ok()) {
      return Fail(schema, failureMessage, std::move(read));
    }
    if (replacement == nullptr) {
      if (Status removed = file.Delete(number); !removed.ok()) {
        return Fail(schema, failureMessage, std::move(removed));
      }
      if (Status followed = Delete(schema, before); !followed.ok()) return followed;
    } else {
      if (Status put = file.Put(number, *replacement); !put.ok()) {
        return FailWrite(schema, std::move(put));
      }
      if (Status followed = Update(schema, before, *replacement); !followed.ok()) return followed;
    }
    if (Status committed = transaction->Commit(); !committed.ok()) {
      return Fail(schema, errors::msg::kTransactionCancelled, std::move(committed));
    }
    return Status::Ok();
  }

  // Makes the children of `parent` follow its change from `before` to `after`.
  Status Update(const storage::FileSchema& parent, const storage::Record& before,
                const storage::Record& after) {
    for (const RelationDef* relation : context_.files_.relations(parent).children()) {
      if (relation->onUpdate != kCascade) continue;
      if (SameBytes(before, after, *relation->parentField)) continue;
      Result<std::vector<Child>> children = ChildrenOf(*relation, before);
      if (!children.ok()) return children.status();
      if (children->empty()) continue;

      storage::KeyedFile& file = *context_.Slot(*relation->child).handle;
      const fields::FieldDef& link = *relation->childField;
      storage::Record probe = storage::Record::Blank(*relation->child);
      if (!CopyLinkValue(after.image, *relation->parentField, probe.image, link)) {
        return Fail(*relation->child, errors::msg::kUpdateError,
                    Status(ErrorCode::kInvalidValue,
                           "The new value of " + std::string(relation->parentField->name) +
                               " cannot be held by " + std::string(link.name)));
      }
      for (const Child& child : *children) {
        storage::Record changed = child.record;
        std::copy_n(probe.image.begin() + link.offset, link.size,
                    changed.image.begin() + link.offset);
        if (Status put = file.Put(child.number, changed); !put.ok()) {
          return FailWrite(*relation->child, std::move(put));
        }
        if (Status followed = Update(*relation->child, child.record, changed); !followed.ok()) {
          return followed;
        }
      }
    }
    return Status::Ok();
  }

  // Deletes the children of the deleted record `parent` along cascade-delete
  // relations.
  Status Delete(const storage::FileSchema& parent, const storage::Record& deleted) {
    for (const RelationDef* relation : context_.files_.relations(parent).children()) {
      if (relation->onDelete != kCascade) continue;
      Result<std::vector<Child>> children = ChildrenOf(*relation, deleted);
      if (!children.ok()) return children.status();
      storage::KeyedFile* file = context_.Slot(*relation->child).handle;
      for (const Child& child : *children) {
        if (Status removed = file->Delete(child.number); !removed.ok()) {
          return Fail(*relation->child, errors::msg::kDeleteError, std::move(removed));
        }
        if (Status followed = Delete(*relation->child, child.record); !followed.ok()) {
          return followed;
        }
      }
    }
    return Status::Ok();
  }

  // The children of `parent` through `relation`, read before any of them is
  // changed. None when the child file does not exist or the parent's value
  // cannot be a value of the child's field.
  Result<std::vector<Child>> ChildrenOf(const RelationDef& relation,
                                        const storage::Record& parent) {
    std::vector<Child> children;
    storage::KeyedFile* file = context_.Slot(*relation.child).handle;
    if (file == nullptr) return children;
    storage::Record probe = storage::Record::Blank(*relation.child);
    if (!CopyLinkValue(parent.image, *relation.parentField, probe.image, *relation.childField)) {
      return children;
    }
    Status status = file->SetKeyOrder(relation.childKey, &probe);
    storage::Record record = storage::Record::Blank(*relation.child);
    while (status.ok() && (status = file->Next(record)).ok()) {
      if (!SameKeyValue(record.image, probe.image, *relation.childField)) break;
      children.push_back({file->position(), record});
    }
    if (!status.ok() && status.code() != ErrorCode::kRecordNotAvailable) {
      return Fail(*relation.child, errors::msg::kRecordRetrievalError, std::move(status));
    }
    return children;
  }

  static bool SameBytes(const storage::Record& a, const storage::Record& b,
                        const fields::FieldDef& field) {
    return std::equal(a.image.begin() + field.offset, a.image.begin() + field.offset + field.size,
                      b.image.begin() + field.offset);
  }

  Status Fail(const storage::FileSchema& file, int messageNumber, Status status) {
    failedFile_ = &file;
    failedMessage_ = messageNumber;
    return status;
  }

  Status FailWrite(const storage::FileSchema& file, Status status) {
    const int message = status.code() == ErrorCode::kDuplicateKey ? errors::msg::kDuplicateKey
                                                                  : errors::msg::kUpdateError;
    return Fail(file, message, std::move(status));
  }

  RecordContext& context_;
  const storage::FileSchema* failedFile_ = nullptr;
  int failedMessage_ = 0;
};

Status RecordContext::Update(const storage::FileSchema& schema, storage::RecordNumber number,
                             const storage::Record& record) {
  if (&schema == &firma::kSchema) {
    storage::Record company = record;
    return WriteCompany(number, company, SerialChange::Keep()).status();
  }
  return Change(schema, number, &record);
}

Status RecordContext::Delete(const storage::FileSchema& schema, storage::RecordNumber number) {
  return Change(schema, number, nullptr);
}

Status RecordContext::Change(const storage::FileSchema& schema, storage::RecordNumber number,
                             const storage::Record* replacement) {
  Result<storage::KeyedFile*> file = File(schema);
  if (!file.ok()) return file.status();
  // Files cannot join a running transaction: open every file the cascade can
  // reach first. A child file that does not exist stays closed and unmade.
  const ChangeKind kind = replacement == nullptr ? ChangeKind::kDelete : ChangeKind::kUpdate;
  for (const storage::FileSchema* child : FilesReachedFrom(schema, kind)) {
    Result<storage::KeyedFile*> opened = FileIfPresent(*child);
    if (!opened.ok()) return opened.status();
  }
  return Cascade(*this).Run(schema, **file, number, replacement);
}

}  // namespace paltrix::records
