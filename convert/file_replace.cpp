#include "convert/file_replace.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "framework/path/file_system_error.h"

namespace paltrix::convert {
namespace {

Status SystemFailure(std::string_view what, const std::filesystem::path& path) {
  return FileSystemFailure(std::error_code(errno, std::generic_category()),
                           fmt::format("cannot {} {}", what, path.string()));
}

// Flushes a file or folder to disk.
Status Sync(const std::filesystem::path& path, int flags) {
  const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC);
  if (descriptor < 0) return SystemFailure("open", path);
  const bool synced = ::fsync(descriptor) == 0;
  const int syncError = errno;
  ::close(descriptor);
  if (!synced) {
    errno = syncError;
    return SystemFailure("write to disk", path);
  }
  return Status::Ok();
}

Status RefuseOpenLog(const std::filesystem::path& database) {
  std::filesystem::path log = database;
  log += "-wal";
  std::error_code error;
  if (!std::filesystem::exists(log, error) && !error) return Status::Ok();
  return Status(ErrorCode::kRecordHeld,
                fmt::format("{} is open in another program (its log {} exists); close it and "
                            "try again",
                            database.string(), log.filename().string()));
}

}  // namespace

Status ReplaceKeyedFile(const std::filesystem::path& replacement,
                        const std::filesystem::path& target) {
  if (Status status = RefuseOpenLog(target); !status.ok()) return status;
  if (Status status = RefuseOpenLog(replacement); !status.ok()) return status;
  if (Status status = Sync(replacement, O_RDONLY); !status.ok()) return status;
  if (::rename(replacement.c_str(), target.c_str()) != 0) {
    return SystemFailure(fmt::format("rename {} to", replacement.string()), target);
  }
  return Sync(target.parent_path().empty() ? "." : target.parent_path(), O_RDONLY | O_DIRECTORY);
}

}  // namespace paltrix::convert
