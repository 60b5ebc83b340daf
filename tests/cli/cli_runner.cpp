#include "tests/cli/cli_runner.h"

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace paltrix::cli::testing {

CliResult RunCli(const std::filesystem::path& workingDirectory,
                 const std::vector<std::string>& arguments) {
  const paltrix::testing::ChildOutput output{workingDirectory / ".cli-stdout",
                                             workingDirectory / ".cli-stderr"};
  std::vector<std::string> words = {PALTRIX_CLI_PATH, "--workdir", workingDirectory.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());

  CliResult result;
  result.exitStatus = paltrix::testing::WaitForExit(paltrix::testing::SpawnProgram(words, output));
  result.out = paltrix::testing::ReadFileText(output.out);
  result.err = paltrix::testing::ReadFileText(output.err);
  std::filesystem::remove(output.out);
  std::filesystem::remove(output.err);
  return result;
}

}  // namespace paltrix::cli::testing
