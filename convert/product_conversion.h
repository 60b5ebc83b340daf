#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "framework/result.h"
#include "framework/status.h"
#include "framework/storage/storage_target.h"

// Upgrading the product file "Data\PRODUKT.dat" from the old 214-byte layout
// (old_produkt.h) to the current Produkt layout. No Qt: the program shows the
// progress in a window or on standard error.
namespace paltrix::convert {

inline constexpr std::string_view kTargetDiskName = "Data\\PRODUKT2.dat";

// Told what the conversion is doing, for the progress display.
class ConversionProgress {
 public:
  virtual ~ConversionProgress() = default;
  // Both files are open; copying begins (the count is 0).
  virtual void Started() = 0;
  // `count` records have been copied so far.
  virtual void RecordsConverted(std::int64_t count) = 0;
  // Copying is over; the new file's keys are being built.
  virtual void BuildingKeys() = 0;
};

enum class ConversionOutcome {
  kConverted,       // "Data\PRODUKT.dat" now holds every record in the current layout
  kAlreadyCurrent,  // the file was already in the current layout; nothing was touched
};

// Reads every record of "Data\PRODUKT.dat" under `workingDirectory` in the
// old layout, appends it in the current layout to "Data\PRODUKT2.dat"
// (created afresh) in bulk mode, builds that file's keys and then puts it in
// place of "Data\PRODUKT.dat" in one rename, after it is on disk.
//
// The product file is never lost: until the rename it is not written to
// (other programs may read it meanwhile, not write it), and the rename either
// happens whole or not at all, also when the process is killed. Any failure
// is returned and leaves "Data\PRODUKT.dat" exactly as it was; a partial
// "Data\PRODUKT2.dat" may remain and is replaced by the next run.
//
// When `recordFiles` is a PostgreSQL database, the converted products go into
// the database's product file before the rename, in place of all it held, in
// one server transaction: a failure or a lost connection there leaves the
// database's products and "Data\PRODUKT.dat" as they were. Since the Data
// folder's file is then current, a second run changes nothing.
//
// Failures: the storage engine's (kFileNotFound for a missing product file,
// before anything is created), kRecordHeld when another program has the
// product file open at the moment of the replace (or keeps the database's
// product file locked past the busy wait), kFileSystemError for a failed sync
// or rename or a lost server connection.
Result<ConversionOutcome> ConvertProductFile(const std::filesystem::path& workingDirectory,
                                             const storage::StorageTarget& recordFiles,
                                             ConversionProgress& progress);

// What the operator is shown for a failure: "File System Error: (code) text"
// for the file system's errors, "Error: " and the engine's text for others.
std::string ConversionErrorText(const Status& status);

}  // namespace paltrix::convert
