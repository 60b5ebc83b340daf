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
// Reads the first Firma record in physical order, sets FIR:SS to FIR:SS + 1
// and FIR:SSCC to the SSCC of FIR:SSCCNR and the new serial, and writes the
// record back with one statement that writes only if the stored record is
// still the one read (KeyedFile::PutIfUnchanged); when another station
// allocated or changed the company in between, it reads again. So two
// processes printing at the same moment, on one machine or on several
// sharing a database server, never get the same code; the statement is
// committed before the code is returned, so a crash after printing cannot
// hand it out again; and no lock is held between statements, so a station
// that dies mid-allocation holds up nobody.
//
// On success `firma` holds the company record as now stored.
// On failure the file and `firma` are unchanged:
// - kRecordNotFound when the file holds no company record;
// - kInvalidValue when the serial would pass 999999999 (9 digits) or
//   FIR:SSCCNR does not fit 8 digits;
// - kRecordHeld when another process holds the file past the busy wait, or
//   other stations kept changing the company record on every attempt;
// - any other storage failure as reported by the engine (a lost server
//   connection included: no code is returned that was not committed).
// REQUIRES: firmaFile was opened with the Firma schema; no transaction of
// its session is open.
Result<std::string> AllocateSSCC(storage::KeyedFile& firmaFile, storage::Record& firma);

// SsccAllocator over the Firma file of a session. Each Allocate() is one
// AllocateSSCC into the caller's company record buffer.
class FirmaSsccAllocator final : public SsccAllocator {
 public:
  // The references must outlive the allocator.
  FirmaSsccAllocator(storage::KeyedFile& firmaFile, storage::Record& firma)
      : firmaFile_(firmaFile), firma_(firma) {}

  Result<std::string> Allocate() override { return AllocateSSCC(firmaFile_, firma_); }

 private:
  storage::KeyedFile& firmaFile_;
  storage::Record& firma_;
};

}  // namespace paltrix::gs1
