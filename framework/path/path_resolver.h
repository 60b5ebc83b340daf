#pragma once

#include <filesystem>
#include <string_view>

#include "framework/result.h"

// Disk names as the program spells them ("DATA\DFIRMA.DAT", "Data\PRODUKT.dat",
// "DATA/BRUGER.DAT", ".\splab.ini") turned into real paths on a file system
// that tells upper from lower case.
//
// - "\" and "/" both separate components; a leading ".\" or "./" (and any
//   "." component) means the folder resolved so far; a leading separator
//   starts at the root.
// - Each component that exists is matched without regard to case (A-Z and the
//   Windows-1252 letters, so "æ" meets "Æ"), preferring an exact match, then
//   the first match in byte order; so "DATA\DFIRMA.DAT" and "Data\PRODUKT.dat"
//   meet in one folder "Data".
// - A missing last component keeps the spelling given (as UTF-8 on disk): the
//   file can then be created under that name.
// - A missing folder on the way is kPathNotFound. No folder is ever created.
namespace paltrix::path {

// The path of `diskName` relative to `base`.
// Failures: kPathNotFound (a folder on the way is missing or is no folder),
// kFileNotFound (the name is empty), kAccessDenied / kFileSystemError (a folder
// cannot be read).
Result<std::filesystem::path> ResolveDiskName(std::string_view diskName,
                                              const std::filesystem::path& base);

// As above, relative to the current working directory.
Result<std::filesystem::path> ResolveDiskName(std::string_view diskName);

}  // namespace paltrix::path
