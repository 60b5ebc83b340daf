#include "tools/paltrix-cli/csv_text.h"

#include <csv.h>
#include <fmt/format.h>

#include <algorithm>
#include <memory>

#include "tools/paltrix-cli/cli_error.h"

namespace paltrix::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The state libcsv's callbacks build the rows in. Lines are counted by LF,
// in the field data (line breaks inside quotes) and between rows.
struct RowCollector {
  std::vector<CsvRow> rows;
  CsvRow current;
  std::size_t line = 1;

  static void Field(void* data, std::size_t size, void* self) {
    auto& collector = *static_cast<RowCollector*>(self);
    const char* begin = static_cast<const char*>(data);
    if (collector.current.cells.empty()) collector.current.line = collector.line;
    collector.current.cells.emplace_back(begin == nullptr ? std::string()
                                                          : std::string(begin, size));
    collector.line += static_cast<std::size_t>(std::count(begin, begin + size, '\n'));
  }

  static void RowEnd(int terminator, void* self) {
    auto& collector = *static_cast<RowCollector*>(self);
    if (terminator == '\n') ++collector.line;
    const bool blank = collector.current.cells.empty() ||
                       (collector.current.cells.size() == 1 && collector.current.cells[0].empty());
    if (!blank) collector.rows.push_back(std::move(collector.current));
    collector.current = CsvRow{};
  }
};

int NoBlanksTrimmed(unsigned char) {
  return 0;
}

struct ParserDeleter {
  void operator()(csv_parser* parser) const {
    csv_free(parser);
    delete parser;
  }
};

[[noreturn]] void Malformed(std::size_t line, std::string_view what, csv_parser* parser) {
  if (csv_error(parser) != CSV_EPARSE) {
    throw Failed(fmt::format("line {}: {}", line, csv_strerror(csv_error(parser))));
  }
  throw BadInput(fmt::format("line {}: not valid CSV: {}", line, what));
}

}  // namespace

std::vector<CsvRow> ParseCsv(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  std::unique_ptr<csv_parser, ParserDeleter> parser(new csv_parser);
  if (csv_init(parser.get(), CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0) {
    throw Failed("cannot set up the CSV reader");
  }
  csv_set_space_func(parser.get(), NoBlanksTrimmed);
  RowCollector collector;
  const std::size_t processed = csv_parse(parser.get(), bytes.data(), bytes.size(),
                                          RowCollector::Field, RowCollector::RowEnd, &collector);
  if (processed != bytes.size()) {
    const auto consumed = bytes.substr(0, processed);
    Malformed(1 + static_cast<std::size_t>(std::count(consumed.begin(), consumed.end(), '\n')),
              "a quote inside a value that is not itself in quotes", parser.get());
  }
  if (csv_fini(parser.get(), RowCollector::Field, RowCollector::RowEnd, &collector) != 0) {
    Malformed(collector.line, "a quoted value that is never closed", parser.get());
  }
  return std::move(collector.rows);
}

void AppendCsvField(std::string& out, std::string_view value) {
  const bool quoted = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!quoted) {
    out += value;
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + 2 * value.size() + 2);  // the most csv_write needs
  out.resize(at + csv_write(out.data() + at, out.size() - at, value.data(), value.size()));
}

}  // namespace paltrix::cli
