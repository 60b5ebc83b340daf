#include "app/records/record_context.h"

#include <cassert>
#include <utility>

#include "framework/errors/message_numbers.h"

namespace paltrix::records {

RecordContext::RecordContext(const FileRegistry& files) : files_(files), session_(files.target()) {
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
  Buffer(firma::kSchema) = std::move(record);
  return Status::Ok();
}

Result<CompanyWrite> RecordContext::WriteFirma(SerialChange change) {
  return WriteCompany(kSenderRecord, Buffer(firma::kSchema), change);
}

Result<CompanyWrite> RecordContext::WriteCompany(storage::RecordNumber number,
                                                 storage::Record& record, SerialChange change) {
  Result<storage::KeyedFile*> file = File(firma::kSchema);
  if (!file.ok()) return file.status();
  Result<CompanyWrite> written = WriteCompanyRecord(session_, **file, number, record, change);
  if (written.ok()) return written;
  const Status& status = written.status();
  int message = errors::msg::kUpdateError;
  if (status.code() == ErrorCode::kRecordHeld) message = errors::msg::kTransactionCancelled;
  return Report(firma::kSchema, message, status);
}

}  // namespace paltrix::records
