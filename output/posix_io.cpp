#include "output/posix_io.h"

#include <netdb.h>
#include <poll.h>
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

std::size_t WriteFully(int fd, std::string_view bytes, bool isSocket, BoundedWait* wait) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const char* from = bytes.data() + written;
    const std::size_t remaining = bytes.size() - written;
    const ssize_t result =
        isSocket ? ::send(fd, from, remaining, MSG_NOSIGNAL) : ::write(fd, from, remaining);
    if (result < 0) {
      if (errno == EINTR) continue;
      if ((errno == EAGAIN || errno == EWOULDBLOCK) && wait != nullptr) {
        if (const int error = wait->UntilReady(fd, POLLOUT); error != 0) {
          errno = error;
          break;
        }
        continue;
      }
      break;
    }
    if (result == 0) {
      errno = EIO;
      break;
    }
    written += static_cast<std::size_t>(result);
    if (wait != nullptr) wait->Restart();
  }
  return written;
}

Result<FileDescriptor> ConnectWithin(const addrinfo& address, BoundedWait& wait) {
  FileDescriptor socket(::socket(
      address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol));
  if (!socket.valid()) return ErrnoStatus("cannot create a socket");
  if (::connect(socket.get(), address.ai_addr, address.ai_addrlen) < 0) {
    if (errno != EINPROGRESS) return ErrnoStatus("cannot connect to the printer");
    int error = wait.UntilReady(socket.get(), POLLOUT);
    socklen_t length = sizeof error;
    if (error == 0 && ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) < 0) {
      error = errno;
    }
    if (error != 0) {
      errno = error;
      return ErrnoStatus("cannot connect to the printer");
    }
  }
  return socket;
}

}  // namespace paltrix::output
