#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace paltrix::cli::testing {

struct CliResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs the built paltrix-cli with `arguments` in `workingDirectory` and
// waits for it; its standard output and error are captured.
CliResult RunCli(const std::filesystem::path& workingDirectory,
                 const std::vector<std::string>& arguments);

}  // namespace paltrix::cli::testing
