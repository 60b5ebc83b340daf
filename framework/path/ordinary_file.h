#pragma once

#include <cstdint>
#include <filesystem>

#include "framework/status.h"

namespace paltrix {

// Settings files are small ordinary files. One that is a FIFO or a device
// would hang a read or never end it (a link to /dev/zero), so it is
// refused before anything is read or written.
inline constexpr std::uintmax_t kLargestSettingsFile = 1024 * 1024;

// Opens `path` without blocking (a FIFO without a writer or reader does not
// hold the caller) and checks it: OK with `fd` set when it is an ordinary
// file of at most `largest` bytes; else kInvalidDataFile naming the file and
// what it is, with `fd` closed (-1); a folder is the system's EISDIR. `flags` are open(2) flags (O_RDONLY, or
// O_WRONLY | O_CREAT ...). A missing file is the usual failure of open
// (FileSystemFailure, ENOENT as kFileNotFound).
Status OpenOrdinaryFile(const std::filesystem::path& path, int flags, int& fd,
                        std::uintmax_t largest = kLargestSettingsFile);

}  // namespace paltrix
