#pragma once

#include <filesystem>

#include "framework/status.h"

namespace paltrix::convert {

// Puts the closed keyed file `replacement` in place of the keyed file
// `target` in the same folder: `replacement` is synced to disk, renamed over
// `target` (atomic: a crash leaves one or the other, whole) and the folder is
// synced so the rename itself survives a power loss. Refused, with nothing
// changed, while either file has a write-ahead log beside it: the log would
// otherwise be replayed into the wrong database (kRecordHeld: another program
// has the file open).
Status ReplaceKeyedFile(const std::filesystem::path& replacement,
                        const std::filesystem::path& target);

}  // namespace paltrix::convert
