#include "framework/errors/program_terminator.h"

#include <fmt/format.h>

#include <cstdio>
#include <cstdlib>

#include "framework/console.h"

namespace paltrix::errors {

void ExitingTerminator::Halt(std::string_view reason) {
  std::fflush(nullptr);
  console::WriteErr(fmt::format("Program ended after a fatal error: {}\n", reason));
  std::exit(kFatalExitStatus);
}

}  // namespace paltrix::errors
