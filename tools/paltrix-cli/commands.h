#pragma once

#include <CLI/CLI.hpp>

// Each command adds its subcommands to the application; the callbacks run
// inside the working directory and throw CommandError to fail.
namespace paltrix::cli {

void AddCompanyCommands(CLI::App& app);
void AddProductCommands(CLI::App& app);
// `product export` and `product import`, under the product command.
void AddProductFileCommands(CLI::App& product);
void AddPrinterCommands(CLI::App& app);
void AddPrintCommand(CLI::App& app);
// `copy-to-database`: the Data folder into an empty PostgreSQL database.
void AddDatabaseCommands(CLI::App& app);

}  // namespace paltrix::cli
