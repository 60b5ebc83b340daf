#include "app/gs1/sscc_allocator.h"

#include <fmt/format.h>

#include "app/gs1/sscc.h"
#include "app/records/firma.h"
#include "framework/fields/record_codec.h"

namespace paltrix::gs1 {

namespace firma = records::firma;

namespace {

// Each failed attempt means another station wrote the record meanwhile; this
// many in a row means the record never stays still long enough.
constexpr int kMaxAttempts = 1000;

}  // namespace

Result<std::string> AllocateSSCC(storage::KeyedFile& firmaFile, storage::Record& firma) {
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
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
                    fmt::format("The SSCC serial {} is at its limit {}; no further SSCC can be "
                                "made with this GS1 prefix",
                                serial, kLargestSerial));
    }
    const std::int32_t nextSerial = serial + 1;
    auto sscc = SsccFromParts(fields::ReadLong(stored.image, firma::SSCCNR), nextSerial);
    if (!sscc) return sscc.status();

    storage::Record next = stored;
    fields::WriteLong(next.image, firma::SS, nextSerial);
    fields::WriteText(next.image, firma::SSCC, *sscc);
    Result<bool> written = firmaFile.PutIfUnchanged(position, stored, next);
    if (!written) return written.status();
    if (*written) {
      firma = std::move(next);
      return sscc;
    }
  }
  return Status(ErrorCode::kRecordHeld,
                "The company record was changed by other stations on every attempt to take the "
                "next SSCC serial; try again");
}

}  // namespace paltrix::gs1
