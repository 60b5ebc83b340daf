#include "app/gs1/sscc_allocator.h"

#include <fmt/format.h>

#include "app/gs1/sscc.h"
#include "app/records/firma.h"
#include "framework/fields/record_codec.h"

namespace paltrix::gs1 {

namespace firma = records::firma;

Result<std::string> AllocateSSCC(storage::Session& session, storage::KeyedFile& firmaFile,
                                 storage::Record& firma) {
  auto transaction = session.Begin(/*immediate=*/true);
  if (!transaction) return transaction.status();

  storage::Record stored;
  firmaFile.SetPhysicalOrder();
  if (Status status = firmaFile.Next(stored); !status) {
    if (status.code() != ErrorCode::kRecordNotAvailable) return status;
    return Status(ErrorCode::kRecordNotFound,
                  "There is no company record to take the SSCC serial from");
  }
  const storage::RecordNumber position = firmaFile.position();

  const std::int32_t serial = fields::ReadLong(stored.image, firma::SS);
  if (serial >= kLargestSerial) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The SSCC serial {} is at its limit {}; no further SSCC can be made "
                              "with this GS1 prefix",
                              serial, kLargestSerial));
  }
  const std::int32_t nextSerial = serial + 1;
  auto sscc = SsccFromParts(fields::ReadLong(stored.image, firma::SSCCNR), nextSerial);
  if (!sscc) return sscc.status();

  fields::WriteLong(stored.image, firma::SS, nextSerial);
  fields::WriteText(stored.image, firma::SSCC, *sscc);
  if (Status status = firmaFile.Put(position, stored); !status) return status;
  if (Status status = transaction->Commit(); !status) return status;

  firma = std::move(stored);
  return sscc;
}

}  // namespace paltrix::gs1
