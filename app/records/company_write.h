#pragma once

#include <cstdint>
#include <optional>

#include "framework/result.h"
#include "framework/storage/keyed_file.h"

// The one rule for writing a company (Firma) record, above all the sender
// record whose FIR:SS every SSCC is made from.
//
// A window or command reads the record, lets the operator edit it and writes
// it back, possibly minutes later. Meanwhile a print in another window or
// process may have raised FIR:SS many times. Writing the whole record back
// would roll the serial back and hand out every SSCC since once more. So a
// write never takes FIR:SS and FIR:SSCC from the caller's record, except the
// serial when the caller says it was set on purpose; and the look at the
// stored serial and the write are one immediate transaction, so no allocation
// can slip in between.
//
// Every writer of Firma goes through WriteCompanyRecord (RecordContext does
// for WriteFirma, WriteCompany and Update); only AllocateSSCC raises the
// serial by itself.
namespace paltrix::records {

// What a write does with FIR:SS.
class SerialChange {
 public:
  // Keep the stored FIR:SS and FIR:SSCC; the caller's values are ignored.
  static SerialChange Keep() { return SerialChange(std::nullopt, false); }
  // FIR:SS := serial, set on purpose by the operator. A serial below the
  // stored one is refused (CompanyWriteOutcome::kLowerSerialRefused): SSCCs
  // already printed would come again.
  static SerialChange Set(std::int32_t serial) { return SerialChange(serial, false); }
  // As Set, but a lower serial is written too: the operator was asked and
  // confirmed it.
  static SerialChange ForceLower(std::int32_t serial) { return SerialChange(serial, true); }

  const std::optional<std::int32_t>& serial() const { return serial_; }
  bool allowsLower() const { return allowLower_; }

 private:
  SerialChange(std::optional<std::int32_t> serial, bool allowLower)
      : serial_(serial), allowLower_(allowLower) {}
  std::optional<std::int32_t> serial_;
  bool allowLower_;
};

enum class CompanyWriteOutcome {
  kWritten,
  // Nothing was written: SerialChange::Set asked for a serial below the
  // stored one. A window asks the operator and writes again with ForceLower.
  kLowerSerialRefused,
};

struct CompanyWrite {
  CompanyWriteOutcome outcome = CompanyWriteOutcome::kWritten;
  // The record's serial as stored after the call (written or left).
  std::int32_t storedSerial = 0;
  // The record written (or refused).
  storage::RecordNumber number = 0;
};

// Pass as `number` to write the sender record: the first record of Firma in
// physical order, added when the file is empty.
inline constexpr storage::RecordNumber kSenderRecord = 0;

// Writes `record` over company record `number` (or the sender record) by the
// rule above, in one immediate transaction of `session`:
// - all fields come from `record`, except FIR:SS and FIR:SSCC, which keep
//   their stored values; FIR:SS takes change.serial() when given and not
//   refused. FIR:SSCC always stays: it is the code last handed out.
// - When the sender record is added to an empty file nothing is stored yet:
//   the record is added as given, FIR:SS set to change.serial() when given.
//
// On kWritten `record` holds the image as now stored. On kLowerSerialRefused
// and on failure the file and `record` are unchanged. Failures:
// - kInvalidValue: change.serial() is negative or above 999999999;
// - kRecordNotFound: there is no record `number`;
// - kRecordHeld: another process holds the file past the busy wait;
// - any other failure of the storage engine.
// REQUIRES: firmaFile was opened with the Firma schema in `session`; no
// transaction of `session` is open.
Result<CompanyWrite> WriteCompanyRecord(storage::Session& session, storage::KeyedFile& firmaFile,
                                        storage::RecordNumber number, storage::Record& record,
                                        SerialChange change);

}  // namespace paltrix::records
