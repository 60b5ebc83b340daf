// paltrix-cli: the label program's core without a display. Every command runs
// in a working directory laid out as the program's own (Data folder, settings
// INI files, SPTIGER.DAT) and uses the same record files, keys and relations.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/commands.h"

namespace {

constexpr const char* kExitStatusHelp =
    "Exit status: 0 done; 1 the files or the printer refused the work; 2 bad input (nothing was "
    "written); 3 a record file could not be opened or created; 4 some labels did not reach the "
    "printer.";

void EnterWorkingDirectory(const std::string& folder) {
  if (folder.empty()) return;
  std::error_code error;
  std::filesystem::current_path(folder, error);
  if (error) {
    throw paltrix::cli::BadInput(
        fmt::format("--workdir: cannot use \"{}\": {}", folder, error.message()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Paltrix label printing without a display", "paltrix-cli");
  app.footer(kExitStatusHelp);
  app.require_subcommand(1);
  app.fallthrough();

  std::string workdir;
  app.add_option("--workdir", workdir, "Working directory (default: the current directory)");
  app.parse_complete_callback([&workdir] { EnterWorkingDirectory(workdir); });

  paltrix::cli::AddCompanyCommands(app);
  paltrix::cli::AddProductCommands(app);
  paltrix::cli::AddPrinterCommands(app);
  paltrix::cli::AddPrintCommand(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& success) {
    return app.exit(success);
  } catch (const CLI::ParseError& error) {
    app.exit(error);
    return paltrix::cli::kExitBadInput;
  } catch (const paltrix::cli::CommandError& error) {
    std::fflush(stdout);
    fmt::print(stderr, "paltrix-cli: {}\n", error.what());
    return error.exitStatus();
  }
  return paltrix::cli::kExitOk;
}
