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
  int failedMessage = errors::msg::kUpdateError;
  Status status = firmaNumber_ != 0 ? (*file)->Put(firmaNumber_, Buffer(firma::kSchema))
                                    : WriteFirstFirma(**file, failedMessage);
  if (!status.ok()) return Report(firma::kSchema, failedMessage, std::move(status));
  return status;
}

Status RecordContext::WriteFirstFirma(storage::KeyedFile& file, int& failedMessage) {
  // Nobody may add a first record between our look and our add.
  Result<storage::Session::Transaction> transaction = session_.Begin(/*immediate=*/true);
  if (!transaction.ok()) {
    failedMessage = errors::msg::kTransactionCancelled;
    return transaction.status();
  }
  const storage::Record& buffer = Buffer(firma::kSchema);
  storage::Record first = storage::Record::Blank(firma::kSchema);
  file.SetPhysicalOrder();
  Status status = file.Next(first);
  storage::RecordNumber number = 0;
  if (status.ok()) {
    number = file.position();
    status = file.Put(number, buffer);
    failedMessage = errors::msg::kUpdateError;
  } else if (status.code() == ErrorCode::kRecordNotAvailable) {
    Result<storage::RecordNumber> added = file.Add(buffer);
    status = added.ok() ? Status::Ok() : added.status();
    number = added.ok() ? *added : 0;
    failedMessage = errors::msg::kRecordInsertError;
  } else {
    failedMessage = errors::msg::kRecordRetrievalError;
  }
  if (!status.ok()) return status;
  status = transaction->Commit();
  if (!status.ok()) {
    failedMessage = errors::msg::kTransactionCancelled;
    return status;
  }
  firmaNumber_ = number;
  return Status::Ok();
}

}  // namespace paltrix::records
