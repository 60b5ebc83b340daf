#pragma once

#include <sqlite3.h>

#include <string_view>

#include "framework/status.h"

namespace paltrix::storage {

// The Status for a failed SQLite call on `connection` that returned `rc`.
// `context` names the file (e.g. "Produkt (/srv/Data/PRODUKT.dat)") and leads
// the message. Must be called before anything else runs on the connection,
// which would overwrite its error state.
//
// Mapping: busy or locked -> kRecordHeld; unique constraint -> kDuplicateKey
// (the caller names the key); not a database or damaged -> kInvalidDataFile;
// read-only, permission -> kAccessDenied; cannot open because a folder is
// missing -> kPathNotFound; anything else -> kFileSystemError.
//
// For kFileSystemError, systemCode/systemText are the operating system's errno
// and its text when SQLite's failure came from a system call, otherwise
// SQLite's extended result code and its text. The message always carries
// SQLite's own text and extended code.
Status SqliteFailure(sqlite3* connection, int rc, std::string_view context);

}  // namespace paltrix::storage
