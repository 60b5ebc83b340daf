#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace paltrix::testing {

struct ChildOutput {
  std::filesystem::path out;  // standard output goes here
  std::filesystem::path err;  // standard error; empty: together with standard output
  bool append = false;        // append to the files instead of replacing them
};

// Starts words[0] with the other words as its arguments and standard input
// from /dev/null. Throws std::runtime_error when it cannot be started.
pid_t SpawnProgram(const std::vector<std::string>& words, const ChildOutput& output);

// Waits for the child; its exit status, or 128 + the signal that ended it.
int WaitForExit(pid_t child);

// The child's status as WaitForExit gives it when it has ended, else nullopt
// at once.
std::optional<int> ExitStatusIfEnded(pid_t child);

}  // namespace paltrix::testing
