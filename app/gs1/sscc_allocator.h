#pragma once

#include <string>

#include "framework/result.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::gs1 {

// Hands out the SSCC of each pallet. Label procedures take this interface so
// that tests can give them fixed codes.
class SsccAllocator {
 public:
  virtual ~SsccAllocator() = default;

  // The next SSCC, 18 digits. On success the code is durably recorded as
  // used: no later call, in this or any other process and also after a crash,
  // returns it again. On failure nothing is used up.
  virtual Result<std::string> Allocate() = 0;
};

// Advances the company's SSCC serial and returns the new SSCC.
//
// In one immediate transaction of `session` (other writers wait, up to the
// file's busy wait): reads the first Firma record in physical order, sets
// FIR:SS to FIR:SS + 1 and FIR:SSCC to the SSCC of FIR:SSCCNR and the new
// serial, writes the record back and commits. Because the read, the increment
// and the write are one transaction, two processes printing at the same
// moment never get the same code, and the serial is on disk before the code
// is returned, so a crash after printing cannot hand it out again.
//
// On success `firma` holds the company record as now stored.
// On failure the file and `firma` are unchanged:
// - kRecordNotFound when the file holds no company record;
// - kInvalidValue when the serial would pass 999999999 (9 digits) or
//   FIR:SSCCNR does not fit 8 digits;
// - kRecordHeld when another process holds the file past the busy wait;
// - any other storage failure as reported by the engine.
// REQUIRES: firmaFile was opened with the Firma schema in `session`; no
// transaction of `session` is open.
Result<std::string> AllocateSSCC(storage::Session& session, storage::KeyedFile& firmaFile,
                                 storage::Record& firma);

// SsccAllocator over the Firma file of a session. Each Allocate() is one
// AllocateSSCC into the caller's company record buffer.
class FirmaSsccAllocator final : public SsccAllocator {
 public:
  // The references must outlive the allocator.
  FirmaSsccAllocator(storage::Session& session, storage::KeyedFile& firmaFile,
                     storage::Record& firma)
      : session_(session), firmaFile_(firmaFile), firma_(firma) {}

  Result<std::string> Allocate() override { return AllocateSSCC(session_, firmaFile_, firma_); }

 private:
  storage::Session& session_;
  storage::KeyedFile& firmaFile_;
  storage::Record& firma_;
};

}  // namespace paltrix::gs1
