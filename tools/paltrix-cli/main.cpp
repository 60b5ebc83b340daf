// paltrix-cli: the label program's core without a display. Every command runs
// in a working directory laid out as the program's own (Data folder, settings
// INI files, SPTIGER.DAT) and uses the same record files, keys and relations.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "framework/console.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/commands.h"

namespace {

constexpr const char* kExitStatusHelp =
    "Exit status: 0 done; 1 the files or the printer refused the work; 2 bad input (nothing was "
    "written); 3 a record file could not be opened or created; 4 some labels did not reach the "
    "printer; 5 standard output or error could not be written; 130 or 143 a print stopped by "
    "SIGINT or SIGTERM after the pallet in hand (a second signal ends it at once).";

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
  paltrix::cli::AddDatabaseCommands(app);

  // A closed pipe on standard output or error is then a failed write that the
  // program reports by its exit status, not a signal that ends it silently.
  std::signal(SIGPIPE, SIG_IGN);

  int status = paltrix::cli::kExitOk;
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& success) {
    status = app.exit(success);
    std::cout.flush();
    if (!std::cout) status = paltrix::cli::kExitOutputFailed;
  } catch (const CLI::ParseError& error) {
    app.exit(error);
    status = paltrix::cli::kExitBadInput;
  } catch (const paltrix::cli::CommandError& error) {
    paltrix::console::WriteErr(fmt::format("paltrix-cli: {}\n", error.what()));
    status = error.exitStatus();
  } catch (const std::exception& error) {
    paltrix::console::WriteErr(fmt::format("paltrix-cli: {}\n", error.what()));
    status = paltrix::cli::kExitFailed;
  }
  if (status == paltrix::cli::kExitOk && paltrix::console::OutputFailed()) {
    status = paltrix::cli::kExitOutputFailed;
  }
  return status;
}
