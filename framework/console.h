#pragma once

#include <string_view>

// Standard output and standard error of the command-line programs and of the
// error manager's console presenter, written without stdio buffering and
// without exceptions: a closed pipe or a full disk is a result, never an
// abort (a program that writes to pipes ignores SIGPIPE, so the write fails
// with EPIPE instead of ending the process).
namespace paltrix::console {

// Writes all of `text`, retrying interrupted and partial writes. False when
// the stream refused it; from then on OutputFailed() is true.
bool WriteOut(std::string_view text);
bool WriteErr(std::string_view text);

// True once any write to standard output or standard error has failed.
bool OutputFailed();

}  // namespace paltrix::console
