#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// CSV as RFC 4180 describes it, read and quoted with libcsv: fields separated by
// commas, rows by CR LF or LF, fields in double quotes may hold commas, line
// breaks and doubled quotes. Blanks around unquoted fields are kept (they are
// part of the value), a UTF-8 byte-order mark at the start is skipped, and
// empty lines are ignored.
namespace paltrix::cli {

struct CsvRow {
  std::size_t line = 0;  // where the row starts in the file, counting from 1
  std::vector<std::string> cells;
};

// Every row of `bytes`. Malformed CSV (a quote inside an unquoted field, an
// unterminated quoted field) throws CommandError (bad input) naming the line.
std::vector<CsvRow> ParseCsv(std::string_view bytes);

// `value` as one CSV field: quoted (with doubled quotes) only when it holds a
// comma, a quote, a line break or blanks at either end.
void AppendCsvField(std::string& out, std::string_view value);

}  // namespace paltrix::cli
