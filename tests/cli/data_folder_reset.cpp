#include <filesystem>

#include "tests/cli/cli_runner.h"

namespace paltrix::cli::testing {

void EmptyRecordFiles(const std::filesystem::path& workingDirectory) {
  std::filesystem::remove_all(workingDirectory / "Data");
  std::filesystem::create_directory(workingDirectory / "Data");
}

}  // namespace paltrix::cli::testing
