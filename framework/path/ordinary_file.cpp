#include "framework/path/ordinary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "framework/path/file_system_error.h"

namespace paltrix {
namespace {

const char* Kind(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not an ordinary file";
}

}  // namespace

Status OpenOrdinaryFile(const std::filesystem::path& path, int flags, int& fd,
                        std::uintmax_t largest) {
  fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    // A FIFO opened for writing without a reader.
    if (errno == ENXIO) {
      return Status(ErrorCode::kInvalidDataFile, path.string() + " is a FIFO, not a settings file");
    }
    return FileSystemFailure(std::error_code(errno, std::generic_category()),
                             "cannot open " + path.string());
  }
  struct stat info {};
  Status refusal;
  if (::fstat(fd, &info) != 0) {
    refusal = FileSystemFailure(std::error_code(errno, std::generic_category()),
                                "cannot examine " + path.string());
  } else if (S_ISDIR(info.st_mode)) {
    refusal = FileSystemFailure(std::error_code(EISDIR, std::generic_category()),
                                "cannot read " + path.string());
  } else if (!S_ISREG(info.st_mode)) {
    refusal = Status(ErrorCode::kInvalidDataFile,
                     path.string() + " is " + Kind(info.st_mode) + ", not a settings file");
  } else if (static_cast<std::uintmax_t>(info.st_size) > largest) {
    refusal = Status(ErrorCode::kInvalidDataFile,
                     path.string() + " holds " + std::to_string(info.st_size) +
                         " bytes, more than any settings file (" + std::to_string(largest) + ")");
  } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    refusal = FileSystemFailure(std::error_code(errno, std::generic_category()),
                                "cannot use " + path.string());
  } else {
    return Status::Ok();
  }
  ::close(fd);
  fd = -1;
  return refusal;
}

}  // namespace paltrix
