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

// Leaves the commands run in `workingDirectory` with empty record files: a
// fresh Data folder there (data_folder_reset.cpp), or a fresh database when
// the tests run on one (on_postgres.cpp).
void EmptyRecordFiles(const std::filesystem::path& workingDirectory);

}  // namespace paltrix::cli::testing
