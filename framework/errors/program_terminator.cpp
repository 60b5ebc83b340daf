#include "framework/errors/program_terminator.h"

#include <fmt/format.h>

#include <cstdio>
#include <cstdlib>

namespace paltrix::errors {

void ExitingTerminator::Halt(std::string_view reason) {
  fmt::print(stderr, "Program ended after a fatal error: {}\n", reason);
  std::fflush(nullptr);
  std::exit(kFatalExitStatus);
}

}  // namespace paltrix::errors
