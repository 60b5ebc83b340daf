#include "framework/path/file_system_error.h"

#include <fmt/format.h>

#include <cerrno>

namespace paltrix {

Status FileSystemFailure(const std::error_code& error, std::string_view context,
                         ErrorCode whenMissing) {
  ErrorCode code = ErrorCode::kFileSystemError;
  if (error.category() == std::system_category() || error.category() == std::generic_category()) {
    switch (error.value()) {
      case EACCES:
      case EPERM:
      case EROFS:
        code = ErrorCode::kAccessDenied;
        break;
      case ENOENT:
        code = whenMissing;
        break;
      case ENOTDIR:
        code = ErrorCode::kPathNotFound;
        break;
      default:
        break;
    }
  }
  return Status(code, fmt::format("{}: {}", context, error.message()), error.value(),
                error.message());
}

}  // namespace paltrix
