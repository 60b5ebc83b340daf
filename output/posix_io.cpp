#include "output/posix_io.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace paltrix::output {

Status ErrnoStatus(std::string_view action) {
  const int error = errno;
  return Status(ErrorCode::kFileSystemError, std::string(action), error, std::strerror(error));
}

std::size_t WriteFully(int fd, std::string_view bytes, bool isSocket) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const char* from = bytes.data() + written;
    const std::size_t remaining = bytes.size() - written;
    const ssize_t result =
        isSocket ? ::send(fd, from, remaining, MSG_NOSIGNAL) : ::write(fd, from, remaining);
    if (result < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (result == 0) {
      errno = EIO;
      break;
    }
    written += static_cast<std::size_t>(result);
  }
  return written;
}

}  // namespace paltrix::output
