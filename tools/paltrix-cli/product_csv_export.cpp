#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/records/produkt.h"
#include "framework/fields/date_time.h"
#include "framework/fields/record_codec.h"
#include "framework/text/windows1252.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/cli_session.h"
#include "tools/paltrix-cli/csv_text.h"
#include "tools/paltrix-cli/product_csv.h"
#include "tools/paltrix-cli/product_csv_columns.h"
#include "tools/paltrix-cli/progress_line.h"

namespace paltrix::cli {
namespace {

namespace produkt = records::produkt;
using product_csv::kColumns;

constexpr std::size_t kFlushAt = 1 << 16;

// A field as the column shows it: text as UTF-8, dates as YYYY-MM-DD (empty
// for none), weights in kg with three decimals, other numbers as they are.
void AppendValue(std::string& out, const fields::FieldDef& field, fields::ConstImage image) {
  switch (field.type) {
    case fields::FieldType::kText:
    case fields::FieldType::kZText:
      AppendCsvField(out, text::ToUtf8(fields::ReadText(image, field)));
      return;
    case fields::FieldType::kDate: {
      const std::optional<fields::CivilDate> date =
          fields::CivilFromDayNumber(fields::ReadLong(image, field));
      if (date)
        fmt::format_to(std::back_inserter(out), "{:04}-{:02}-{:02}", date->year, date->month,
                       date->day);
      return;
    }
    case fields::FieldType::kDecimal: {
      const std::int64_t scaled = fields::ReadDecimal(image, field);
      const std::int64_t magnitude = scaled < 0 ? -scaled : scaled;
      fmt::format_to(std::back_inserter(out), "{}{}.{:03}", scaled < 0 ? "-" : "", magnitude / 1000,
                     magnitude % 1000);
      return;
    }
    default:
      fmt::format_to(std::back_inserter(out), "{}", fields::ReadNumber(image, field));
  }
}

void AppendHeader(std::string& out) {
  for (const product_csv::Column& column : kColumns) {
    if (&column != &kColumns[0]) out += ',';
    out += column.name;
  }
  out += "\r\n";
}

void AppendRow(std::string& out, fields::ConstImage image) {
  for (const product_csv::Column& column : kColumns) {
    if (&column != &kColumns[0]) out += ',';
    AppendValue(out, column.field, image);
  }
  out += "\r\n";
}

// Standard output, or a new file beside FILE that replaces it once complete,
// so a failed export never leaves half a file under the name asked for.
class ExportTarget {
 public:
  explicit ExportTarget(const std::string& path) : path_(path) {
    if (path_.empty()) {
      stream_ = stdout;
      return;
    }
    temporary_ = path_ + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary_.data());
    if (descriptor < 0) Fail("cannot create a file beside");
    ::fchmod(descriptor, 0644);
    stream_ = ::fdopen(descriptor, "wb");
    if (stream_ == nullptr) {
      const int openError = errno;
      ::close(descriptor);
      std::remove(temporary_.c_str());
      errno = openError;
      Fail("cannot write beside");
    }
  }
  ExportTarget(const ExportTarget&) = delete;
  ExportTarget& operator=(const ExportTarget&) = delete;
  ~ExportTarget() {
    if (path_.empty()) return;
    if (stream_ != nullptr) std::fclose(stream_);
    if (!temporary_.empty()) std::remove(temporary_.c_str());
  }

  void Write(std::string& buffer) {
    if (std::fwrite(buffer.data(), 1, buffer.size(), stream_) != buffer.size())
      Fail("cannot write");
    buffer.clear();
  }

  void Complete() {
    if (std::fflush(stream_) != 0) Fail("cannot write");
    if (path_.empty()) return;
    if (::fsync(::fileno(stream_)) != 0) Fail("cannot write");
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (closed != 0) Fail("cannot write");
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) Fail("cannot replace");
    temporary_.clear();
  }

 private:
  [[noreturn]] void Fail(std::string_view what) {
    throw Failed(fmt::format("{} {}: {}", what, path_.empty() ? "standard output" : path_,
                             std::strerror(errno)));
  }

  std::string path_;
  std::string temporary_;
  std::FILE* stream_ = nullptr;
};

}  // namespace

void ExportProducts(const std::string& outputPath) {
  CliSession session;
  storage::KeyedFile& file = session.File(produkt::kSchema);
  // One read transaction: every product as of one moment, and each read
  // skips taking the file's locks anew.
  Result<storage::Session::Transaction> snapshot = session.records().session().Begin();
  Check(snapshot.status(), "cannot read products");
  Result<std::int64_t> total = file.RecordCount();
  Check(total.status(), "cannot read products");
  Check(file.SetKeyOrder(produkt::kIDKey), "cannot read products");

  ExportTarget target(outputPath);
  ProgressLine progress("Exporting products", static_cast<std::size_t>(*total));
  std::string buffer;
  AppendHeader(buffer);
  storage::Record record = storage::Record::Blank(produkt::kSchema);
  std::size_t written = 0;
  for (Status status = file.Next(record); status.code() != ErrorCode::kRecordNotAvailable;
       status = file.Next(record)) {
    Check(status, "cannot read products");
    AppendRow(buffer, record.image);
    progress.Update(++written);
    if (buffer.size() >= kFlushAt) target.Write(buffer);
  }
  target.Write(buffer);
  target.Complete();
  progress.Finish();
}

}  // namespace paltrix::cli
