#pragma once

#include <string_view>
#include <system_error>

#include "framework/status.h"

namespace paltrix {

// The Status for a failed file-system call. EACCES, EPERM and EROFS give
// kAccessDenied, ENOTDIR kPathNotFound, ENOENT `whenMissing` (kFileNotFound or
// kPathNotFound, as the caller knows what was missing); anything else
// kFileSystemError. The message starts with `context`; systemCode/systemText
// always carry the system's own code and text.
Status FileSystemFailure(const std::error_code& error, std::string_view context,
                         ErrorCode whenMissing = ErrorCode::kFileNotFound);

}  // namespace paltrix
