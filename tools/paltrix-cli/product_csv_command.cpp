#include <memory>
#include <string>

#include "tools/paltrix-cli/commands.h"
#include "tools/paltrix-cli/product_csv.h"

namespace paltrix::cli {

void AddProductFileCommands(CLI::App& product) {
  auto outputPath = std::make_shared<std::string>();
  CLI::App* exportCommand = product.add_subcommand(
      "export",
      "Write every product as CSV (UTF-8, a header row, one row per product in ID order)");
  exportCommand->add_option("--output,-o", *outputPath, "File to write (default: standard output)");
  exportCommand->callback([outputPath] { ExportProducts(*outputPath); });

  auto inputPath = std::make_shared<std::string>();
  auto replace = std::make_shared<bool>(false);
  CLI::App* importCommand = product.add_subcommand(
      "import",
      "Add the products of a CSV file as export writes it, all or none: every row is checked "
      "first and any bad row changes nothing");
  importCommand->add_option("FILE", *inputPath, "CSV file with a header row naming the columns")
      ->required();
  importCommand->add_flag("--replace", *replace,
                          "Also change products whose ID is in the catalogue already");
  importCommand->callback([inputPath, replace] { ImportProducts(*inputPath, *replace); });
}

}  // namespace paltrix::cli
