#pragma once

#include <stdexcept>
#include <string>

namespace paltrix::cli {

// Exit statuses of paltrix-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;    // the files or the printer refused the work
inline constexpr int kExitBadInput = 2;  // the command line was wrong; nothing was written
// 3 is the error manager's exit after a fatal record-file error.
inline constexpr int kExitNotPrinted = 4;  // some label streams did not reach the printer
// Standard output or standard error could not be written (closed pipe, full
// disk); a label run ends after the pallet in hand.
inline constexpr int kExitOutputFailed = 5;
// A label run ended early by SIGINT or SIGTERM exits with 128 + the signal.

// Raised by the commands to end with a message on standard error and an exit
// status; nothing after the point of the throw has been written.
class CommandError : public std::runtime_error {
 public:
  CommandError(int exitStatus, const std::string& message)
      : std::runtime_error(message), exitStatus_(exitStatus) {}
  int exitStatus() const { return exitStatus_; }

 private:
  int exitStatus_;
};

// Bad input: usage errors and values that cannot be stored.
inline CommandError BadInput(const std::string& message) {
  return CommandError(kExitBadInput, message);
}
inline CommandError Failed(const std::string& message) {
  return CommandError(kExitFailed, message);
}

}  // namespace paltrix::cli
