#include "app/records/record_context.h"

#include <cassert>
#include <utility>

#include "framework/errors/message_numbers.h"

namespace paltrix::records {

RecordContext::RecordContext(const FileRegistry& files) : files_(files) {
  for (std::size_t i = 0; i < kFilesInCreationOrder.size(); ++i) {
    openFiles_[i].buffer = storage::Record::Blank(*kFilesInCreationOrder[i]);
  }
}

RecordContext::~RecordContext() = default;

RecordContext::OpenFile& RecordContext::Slot(const storage::FileSchema& schema) {
  const std::size_t index = IndexOfFile(schema);
  assert(index < openFiles_.size());
  return openFiles_[index];
}

storage::Record& RecordContext::Buffer(const storage::FileSchema& schema) {
  assert(&schema != &printer::kSchema);
  return Slot(schema).buffer;
}

Result<storage::KeyedFile*> RecordContext::File(const storage::FileSchema& schema) {
  OpenFile& slot = Slot(schema);
  if (slot.handle != nullptr) return slot.handle;
  Result<storage::KeyedFile*> opened = files_.file(schema).Open(session_);
  if (opened.ok()) slot.handle = *opened;
  return opened;
}

Result<storage::KeyedFile*> RecordContext::FileIfPresent(const storage::FileSchema& schema) {
  OpenFile& slot = Slot(schema);
  if (slot.handle != nullptr) return slot.handle;
  Result<storage::KeyedFile*> opened = files_.file(schema).Open(session_, WhenMissing::kAbsent);
  if (opened.ok()) {
    slot.handle = *opened;
    return opened;
  }
  if (opened.status().code() == ErrorCode::kFileNotFound) return nullptr;
  return opened;
}

Status RecordContext::Report(const storage::FileSchema& schema, int messageNumber,
                             Status status) const {
  return files_.file(schema).Report(messageNumber, std::move(status));
}

Status RecordContext::ReadFirma() {
  Result<storage::KeyedFile*> file = File(firma::kSchema);
  if (!file.ok()) return file.status();
  storage::Record record = storage::Record::Blank(firma::kSchema);
  (*file)->SetPhysicalOrder();
  Status status = (*file)->Next(record);
  if (status.code() == ErrorCode::kRecordNotAvailable) return status;
  if (!status.ok()) return Report(firma::kSchema, errors::msg::kRecordRetrievalError, status);
  firmaNumber_ = (*file)->position();
  Buffer(firma::kSchema) = std::move(record);
  return Status::Ok();
}

Status RecordContext::WriteFirma() {
  Result<storage::KeyedFile*> file = File(firma::kSchema);
  if (!file.ok()) return file.status();
  const storage::Record& buffer = Buffer(firma::kSchema);
  if (firmaNumber_ != 0) {
    const Status put = (*file)->Put(firmaNumber_, buffer);
    if (!put.ok()) return Report(firma::kSchema, errors::msg::kUpdateError, put);
    return Status::Ok();
  }

  // Not read yet: write over the first record, or add it to an empty file.
  // Nobody may add a first record between our look and our add.
  Result<storage::Session::Transaction> transaction = session_.Begin(/*immediate=*/true);
  if (!transaction.ok()) {
    return Report(firma::kSchema, errors::msg::kTransactionCancelled, transaction.status());
  }
  storage::Record first = storage::Record::Blank(firma::kSchema);
  (*file)->SetPhysicalOrder();
  const Status found = (*file)->Next(first);
  storage::RecordNumber number = 0;
  if (found.ok()) {
    number = (*file)->position();
    const Status put = (*file)->Put(number, buffer);
    if (!put.ok()) return Report(firma::kSchema, errors::msg::kUpdateError, put);
  } else if (found.code() == ErrorCode::kRecordNotAvailable) {
    Result<storage::RecordNumber> added = (*file)->Add(buffer);
    if (!added.ok()) {
      return Report(firma::kSchema, errors::msg::kRecordInsertError, added.status());
    }
    number = *added;
  } else {
    return Report(firma::kSchema, errors::msg::kRecordRetrievalError, found);
  }
  const Status committed = transaction->Commit();
  if (!committed.ok()) {
    return Report(firma::kSchema, errors::msg::kTransactionCancelled, committed);
  }
  firmaNumber_ = number;
  return Status::Ok();
}

}  // namespace paltrix::records
