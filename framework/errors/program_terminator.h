#pragma once

#include <string_view>

namespace paltrix::errors {

// Exit status of a program ended by a fatal message: a fatal error is a
// failure, never reported to the caller as success.
inline constexpr int kFatalExitStatus = 3;

// Ends the program after a fatal message. The program's implementation does
// not return; a test implementation records the call and returns, in which
// case the error manager's Throw returns the fatal level to its caller.
class ProgramTerminator {
 public:
  virtual ~ProgramTerminator() = default;

  // `reason` is the title of the fatal message.
  virtual void Halt(std::string_view reason) = 0;
};

// Writes the reason to standard error and ends the process with
// kFatalExitStatus.
class ExitingTerminator final : public ProgramTerminator {
 public:
  [[noreturn]] void Halt(std::string_view reason) override;
};

}  // namespace paltrix::errors
