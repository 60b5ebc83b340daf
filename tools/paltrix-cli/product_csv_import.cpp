#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/records/produkt.h"
#include "framework/fields/record_codec.h"
#include "framework/text/windows1252.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/cli_session.h"
#include "tools/paltrix-cli/csv_text.h"
#include "tools/paltrix-cli/field_input.h"
#include "tools/paltrix-cli/product_csv.h"
#include "tools/paltrix-cli/product_csv_columns.h"
#include "tools/paltrix-cli/product_values.h"
#include "tools/paltrix-cli/progress_line.h"

namespace paltrix::cli {
namespace {

namespace produkt = records::produkt;
using product_csv::kColumns;

constexpr std::size_t kMessagesShown = 20;

// One checked row: the product image with the row's values over a blank
// record, and which columns the file gives.
struct ImportRow {
  std::size_t line;
  storage::Record record;
};

// Which column of kColumns each cell of a row belongs to.
using ColumnOrder = std::vector<const product_csv::Column*>;

ColumnOrder ReadHeader(const CsvRow& header) {
  ColumnOrder order;
  for (const std::string& name : header.cells) {
    const auto column = std::find_if(std::begin(kColumns), std::end(kColumns),
                                     [&](const product_csv::Column& c) { return c.name == name; });
    if (column == std::end(kColumns)) {
      std::string known;
      for (const product_csv::Column& c : kColumns)
        known += fmt::format("{}{}", known.empty() ? "" : ", ", c.name);
      throw BadInput(fmt::format("line {}: unknown column \"{}\" (the columns are {})", header.line,
                                 name, known));
    }
    if (std::find(order.begin(), order.end(), &*column) != order.end()) {
      throw BadInput(fmt::format("line {}: the column \"{}\" is named twice", header.line, name));
    }
    order.push_back(&*column);
  }
  if (std::find(order.begin(), order.end(), &kColumns[0]) == order.end()) {
    throw BadInput(fmt::format("line {}: the header names no \"id\" column", header.line));
  }
  return order;
}

// A whole number as the file writes it: optional minus, digits, nothing else.
std::int64_t WholeNumberText(std::string_view name, std::string_view text) {
  if (text.empty()) return 0;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw BadInput(fmt::format("{}: \"{}\" is not a whole number", name, text));
  }
  return value;
}

// The row's values checked as `product add` and `print` check them, over a
// blank product record.
ImportRow CheckRow(const CsvRow& row, const ColumnOrder& order) {
  const std::string prefix = fmt::format("line {}: ", row.line);
  if (row.cells.size() != order.size()) {
    throw BadInput(fmt::format("{}{} values where the header names {} columns", prefix,
                               row.cells.size(), order.size()));
  }
  ImportRow checked{row.line, storage::Record::Blank(produkt::kSchema)};
  fields::Image image = checked.record.image;
  ProductValues values;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::string& cell = row.cells[i];
    const fields::FieldDef& field = order[i]->field;
    const std::string name = prefix + std::string(order[i]->name);
    if (order[i] == &kColumns[0]) {
      fields::WriteText(image, produkt::PRODUKTID, ProductId(prefix, cell));
    } else if (field.name == produkt::PRODUKTNAVN.name) {
      values.name = cell;
    } else if (field.name == produkt::ANTALPRKOLLIE.name) {
      values.description = cell;
    } else if (field.name == produkt::EANNR.name) {
      values.gtin = cell;
    } else if (field.name == produkt::NAVN2.name) {
      values.orderNumber = cell;
    } else if (field.name == produkt::HOLDBARHEDSDAGE.name) {
      values.shelfLife = WholeNumberText(name, cell);
    } else if (field.name == produkt::ANTALPRPALLE.name) {
      values.count = WholeNumberText(name, cell);
    } else if (field.name == produkt::BRUGORDREID.name) {
      values.orderInBarcode = WholeNumberText(name, cell);
    } else if (field.name == produkt::HOLDBARTIL.name) {
      fields::WriteLong(image, field, cell.empty() ? 0 : DayNumber(name, cell));
    } else if (field.name == produkt::NETTOVAEGT.name) {
      fields::WriteDecimal(image, field, cell.empty() ? 0 : KilogramThousandths(name, cell));
    } else if (field.name == produkt::BATCHNR.name) {
      fields::WriteText(image, field, RecordText(name, cell, field.size - 1));
    }
  }
  ApplyProductValues(values, image, prefix);
  return checked;
}

std::string FoldedId(fields::ConstImage image) {
  return text::FoldCase(text::TrimRight(fields::ReadText(image, produkt::PRODUKTID)));
}

// Every row checked; all messages are shown before the import is refused.
std::vector<ImportRow> CheckRows(const std::vector<CsvRow>& rows, const ColumnOrder& order) {
  std::vector<ImportRow> checked;
  checked.reserve(rows.size());
  std::vector<std::string> messages;
  std::unordered_map<std::string, std::size_t> lineOfId;
  lineOfId.reserve(rows.size());
  ProgressLine progress("Checking products", rows.size());
  for (std::size_t i = 1; i < rows.size(); ++i) {
    try {
      ImportRow row = CheckRow(rows[i], order);
      const auto [seen, added] = lineOfId.emplace(FoldedId(row.record.image), row.line);
      if (!added) {
        throw BadInput(fmt::format("line {}: id: \"{}\" is also on line {}", row.line,
                                   rows[i].cells[0], seen->second));
      }
      checked.push_back(std::move(row));
    } catch (const CommandError& error) {
      messages.emplace_back(error.what());
    }
    progress.Update(i);
  }
  progress.Finish();
  if (messages.empty()) return checked;
  for (std::size_t i = 0; i < std::min(messages.size(), kMessagesShown); ++i) {
    fmt::print(stderr, "paltrix-cli: {}\n", messages[i]);
  }
  if (messages.size() > kMessagesShown) {
    fmt::print(stderr, "paltrix-cli: ... and {} more\n", messages.size() - kMessagesShown);
  }
  throw BadInput(fmt::format("{} of {} rows are wrong; nothing was imported", messages.size(),
                             rows.size() - 1));
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (!in || in.bad()) throw Failed(fmt::format("cannot read {}: {}", path, std::strerror(errno)));
  return std::move(bytes).str();
}

// The file's values over the catalogue's product, keeping its ID as stored
// (so nothing linked to it has to follow).
void MergeInto(storage::Record& existing, const ImportRow& row, const ColumnOrder& order) {
  for (const product_csv::Column* column : order) {
    if (column == &kColumns[0]) continue;
    std::copy_n(row.record.image.begin() + column->field.offset, column->field.size,
                existing.image.begin() + column->field.offset);
  }
  CheckBarcodeOrderNumber(existing.image, fmt::format("line {}: ", row.line));
}

}  // namespace

void ImportProducts(const std::string& inputPath, bool replace) {
  const std::vector<CsvRow> rows = ParseCsv(ReadWholeFile(inputPath));
  if (rows.empty()) throw BadInput(fmt::format("{} is empty: it needs a header row", inputPath));
  const ColumnOrder order = ReadHeader(rows.front());
  const std::vector<ImportRow> checked = CheckRows(rows, order);

  CliSession session;
  storage::KeyedFile& file = session.File(produkt::kSchema);
  Result<storage::Session::Transaction> transaction = session.records().session().Begin();
  Check(transaction.status(), "cannot begin the import");
  std::size_t added = 0, changed = 0;
  storage::Record existing = storage::Record::Blank(produkt::kSchema);
  ProgressLine progress("Importing products", checked.size());
  for (const ImportRow& row : checked) {
    const Status found = replace ? file.Fetch(produkt::kIDKey, row.record, existing)
                                 : Status(ErrorCode::kRecordNotFound, {});
    if (found.ok()) {
      MergeInto(existing, row, order);
      Check(file.Put(file.position(), existing),
            fmt::format("line {}: the product was not changed; nothing was imported", row.line));
      ++changed;
    } else if (found.code() == ErrorCode::kRecordNotFound) {
      Result<storage::RecordNumber> result = file.Add(row.record);
      if (result.status().code() == ErrorCode::kDuplicateKey) {
        throw Failed(fmt::format(
            "line {}: the product \"{}\" is in the catalogue already (--replace changes it); "
            "nothing was imported",
            row.line, text::ToUtf8(fields::ReadText(row.record.image, produkt::PRODUKTID))));
      }
      Check(result.status(),
            fmt::format("line {}: the product was not added; nothing was imported", row.line));
      ++added;
    } else {
      Check(found,
            fmt::format("line {}: cannot read the catalogue; nothing was imported", row.line));
    }
    progress.Update(added + changed);
  }
  Check(transaction->Commit(), "the import was not saved; nothing was imported");
  progress.Finish();
  fmt::print("{} products added, {} changed\n", added, changed);
}

}  // namespace paltrix::cli
