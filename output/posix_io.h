#pragma once

#include <cstddef>
#include <string_view>

#include "framework/result.h"
#include "framework/status.h"
#include "output/bounded_wait.h"
#include "output/file_descriptor.h"

struct addrinfo;

// The system-call helpers shared by the direct printers and the log file:
// errno becomes a Status in one place and interrupted calls are retried.
namespace paltrix::output {

// A kFileSystemError for the current errno: "<action>" with the system's text.
Status ErrnoStatus(std::string_view action);

// Writes all of bytes to fd, retrying interrupted and partial writes. Sockets
// are written with send() so that a closed peer is an error, not a signal.
// Returns the number of bytes written; when that is less than bytes.size(),
// errno says why it stopped. On a non-blocking descriptor that is not ready
// it waits within `wait` (restarted by every byte taken) and stops with
// ETIMEDOUT when the limit passes; without a wait it stops with EAGAIN.
std::size_t WriteFully(int fd, std::string_view bytes, bool isSocket, BoundedWait* wait = nullptr);

// A connected, non-blocking socket to `address`, or why there is none
// within `wait`.
Result<FileDescriptor> ConnectWithin(const addrinfo& address, BoundedWait& wait);

}  // namespace paltrix::output
