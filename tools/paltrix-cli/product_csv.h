#pragma once

#include <string>

// The product catalogue as a CSV file (RFC 4180, UTF-8, CR LF, a header row
// with the names of product_csv_columns.h). Both throw CommandError to fail.
namespace paltrix::cli {

// Every product in ID order to `outputPath`, or to standard output when it is
// empty. A file is written beside the path and renamed over it when complete.
void ExportProducts(const std::string& outputPath);

// Adds the products of the file; with `replace` a product whose ID is in the
// catalogue already gets the file's values instead (columns the file lacks
// keep their values). Every row is checked before anything is written, with
// the checks of `product add`; any bad row, or an ID that is in the catalogue
// already without `replace`, changes nothing. All rows are written in one
// transaction.
void ImportProducts(const std::string& inputPath, bool replace);

}  // namespace paltrix::cli
