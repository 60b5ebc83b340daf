#pragma once

#include <cstddef>
#include <string_view>

#include "framework/status.h"

// The system-call helpers shared by the direct printers and the log file:
// errno becomes a Status in one place and interrupted calls are retried.
namespace paltrix::output {

// A kFileSystemError for the current errno: "<action>" with the system's text.
Status ErrnoStatus(std::string_view action);

// Writes all of bytes to fd, retrying interrupted and partial writes. Sockets
// are written with send() so that a closed peer is an error, not a signal.
// Returns the number of bytes written; when that is less than bytes.size(),
// errno says why it stopped.
std::size_t WriteFully(int fd, std::string_view bytes, bool isSocket);

}  // namespace paltrix::output
