#pragma once

#include <array>
#include <filesystem>
#include <span>

#include "app/records/printer.h"
#include "framework/errors/error_manager.h"
#include "framework/status.h"

// The Printer record and its flat file "SPTIGER.DAT".
//
// The file is the bare 188-byte record image at offset 0 (record position 1):
// no header, no keys. The program only ever reads and writes that one record;
// a write never appends and leaves the file exactly 188 bytes long.
//
// The record has one buffer for the whole process (PrinterRecord::Process()),
// shared by every window: a print window re-reads it when it opens and writes
// it back before it prints. REQUIRES: used from one thread at a time (the
// program's windows all live on the GUI thread).
namespace paltrix::records {

class PrinterRecord {
 public:
  using Image = std::array<char, printer::kRecordLength>;

  // A buffer of zeros, as the process buffer is before the first read.
  PrinterRecord() = default;

  // The process-wide buffer.
  static PrinterRecord& Process();

  std::span<char> image() { return image_; }
  std::span<const char> image() const { return image_; }

  // Sets the values of a new record: BAUDRATE 38400, DOTS 8, PRINTER "UBI",
  // PARITY "None", DATA "8", STOP "1", PORT "COM1", SPEED "NORMAL",
  // ZEBRASPEED "6"; every other field zero or blank.
  void Prime();

  // Reads the record at position 1 of `file` into the buffer.
  // A missing or empty file leaves the buffer as it was and returns OK.
  // A file shorter than one record returns kInvalidDataFile and leaves the
  // buffer as it was; bytes after the first record are ignored.
  // Other failures: kFileSystemError with the system's code and text.
  Status Read(const std::filesystem::path& file);

  // Writes the buffer as the record at position 1 of `file`, creating the
  // file when it is missing, and cuts the file to exactly one record.
  // Failures: kPathNotFound when the folder does not exist, otherwise
  // kFileSystemError with the system's code and text.
  Status Write(const std::filesystem::path& file) const;

 private:
  Image image_{};
};

// Read and Write on "SPTIGER.DAT" in the working directory (the name matched
// without regard to case, as every disk name is). Failures are reported to
// the error manager against the file "Printer" (message 1 for a read, 28 for
// a write) and returned.
Status LoadPrinterRecord(PrinterRecord& record, errors::ErrorManager& errors);
Status SavePrinterRecord(const PrinterRecord& record, errors::ErrorManager& errors);

}  // namespace paltrix::records
