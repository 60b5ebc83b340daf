#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "framework/errors/error_manager.h"
#include "framework/result.h"
#include "framework/storage/keyed_file.h"
#include "framework/storage/schema.h"

// The file manager of one record file: it carries the file's label and record
// length and opens the file for a record context.
namespace paltrix::records {

// The name of a file on a database server: the file name of its disk name
// ("Data\PRODUKT.dat" is "PRODUKT.dat").
std::filesystem::path DatabaseFileName(std::string_view diskName);

enum class WhenMissing {
  kCreate,  // the create attribute: a missing file is created empty
  kAbsent,  // a missing file (or folder) is reported as kFileNotFound, and nothing is created
};

class FileManager {
 public:
  // REQUIRES: `schema` and `errors` outlive the manager.
  FileManager(const storage::FileSchema& schema, errors::ErrorManager& errors);
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

  const storage::FileSchema& schema() const { return schema_; }
  std::string_view label() const { return schema_.label; }
  std::uint32_t recordLength() const { return schema_.recordLength; }
  errors::ErrorManager& errorManager() const { return errors_; }

  // Opens the file in `session`. In the Data folder the disk name is resolved
  // from the working directory (components matched without regard to case;
  // no folder is ever created); on a database server (session.target()) the
  // file is named by its file name alone (DatabaseFileName) and no Data
  // folder is needed. A missing file is created empty (kCreate); a file whose keys
  // need rebuilding gets them rebuilt; a file held by another process is
  // waited for up to 10 seconds.
  //
  // Failures are reported to the error manager and returned: message 12 when
  // the file could not be created (kPathNotFound when its folder is missing),
  // 30 and 29 when its keys are invalid and could not be rebuilt, 26 for any
  // other failed open. With kAbsent a missing file or folder is not a failure
  // to report: it returns kFileNotFound quietly.
  //
  // The flat Printer file and the declared-only PRODUcT (which shares
  // Produkt's disk name with another layout) are never opened here:
  // kInvalidRecordDeclaration, reported as message 26.
  Result<storage::KeyedFile*> Open(storage::Session& session,
                                   WhenMissing whenMissing = WhenMissing::kCreate) const;

  // Reports `status` against this file as message `messageNumber`: the
  // file's label as %File, the status as the run-time error (%ErrorText) and
  // its message as %Message; for kDuplicateKey, the label of the key as
  // %Message and %Key. Returns it.
  Status Report(int messageNumber, Status status) const;

 private:
  // The engine's answer to an open, with the failures reported. `existed`:
  // whether the file was there before (a failed create is message 12).
  Result<storage::KeyedFile*> Opened(Result<storage::KeyedFile*> file, WhenMissing whenMissing,
                                     bool existed) const;

  const storage::FileSchema& schema_;
  errors::ErrorManager& errors_;
};

}  // namespace paltrix::records
