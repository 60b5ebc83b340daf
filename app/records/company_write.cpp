#include "app/records/company_write.h"

#include <fmt/format.h>

#include <algorithm>
#include <utility>

#include "app/records/firma.h"
#include "framework/fields/record_codec.h"

namespace paltrix::records {
namespace {

Status CheckRequest(const storage::Record& record, const SerialChange& change) {
  if (record.image.size() != firma::kRecordLength) {
    return Status(ErrorCode::kInvalidValue, fmt::format("A company record has {} bytes, not {}",
                                                        record.image.size(), firma::kRecordLength));
  }
  if (const auto& serial = change.serial();
      serial && (*serial < 0 || *serial > firma::kLargestSerial)) {
    return Status(ErrorCode::kInvalidValue, fmt::format("The SSCC serial {} is outside 0 to {}",
                                                        *serial, firma::kLargestSerial));
  }
  return Status::Ok();
}

void KeepStoredSscc(const storage::Record& stored, storage::Record& written) {
  const auto field = stored.image.begin() + firma::SSCC.offset;
  std::copy(field, field + firma::SSCC.size, written.image.begin() + firma::SSCC.offset);
}

}  // namespace

Result<CompanyWrite> WriteCompanyRecord(storage::Session& session, storage::KeyedFile& firmaFile,
                                        storage::RecordNumber number, storage::Record& record,
                                        SerialChange change) {
  if (Status status = CheckRequest(record, change); !status) return status;

  auto transaction = session.Begin(/*immediate=*/true);
  if (!transaction) return transaction.status();

  // Read under the write lock: no allocation can come between this look at
  // the serial and the write below.
  storage::Record stored = storage::Record::Blank(firma::kSchema);
  Status read;
  if (number == kSenderRecord) {
    firmaFile.SetPhysicalOrder();
    read = firmaFile.Next(stored);
  } else {
    read = firmaFile.Get(number, stored);
  }
  const bool addingSender =
      number == kSenderRecord && read.code() == ErrorCode::kRecordNotAvailable;
  if (!read.ok() && !addingSender) return read;

  storage::Record written = record;
  if (addingSender) {
    if (change.serial()) fields::WriteLong(written.image, firma::SS, *change.serial());
    Result<storage::RecordNumber> added = firmaFile.Add(written);
    if (!added) return added.status();
    number = *added;
  } else {
    if (number == kSenderRecord) number = firmaFile.position();
    const std::int32_t storedSerial = fields::ReadLong(stored.image, firma::SS);
    if (change.serial() && *change.serial() < storedSerial && !change.allowsLower()) {
      return CompanyWrite{CompanyWriteOutcome::kLowerSerialRefused, storedSerial, number};
    }
    fields::WriteLong(written.image, firma::SS, change.serial().value_or(storedSerial));
    KeepStoredSscc(stored, written);
    if (Status status = firmaFile.Put(number, written); !status) return status;
  }
  if (Status status = transaction->Commit(); !status) return status;

  const CompanyWrite result{CompanyWriteOutcome::kWritten,
                            fields::ReadLong(written.image, firma::SS), number};
  record = std::move(written);
  return result;
}

}  // namespace paltrix::records
