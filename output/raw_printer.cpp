#include "output/raw_printer.h"

#include <fmt/format.h>

#include <algorithm>
#include <utility>

#include "framework/text/windows1252.h"
#include "output/append_log_line.h"
#include "output/file_printer.h"
#include "output/socket_printer.h"

namespace paltrix::output {
namespace {

constexpr char kCarriageReturn[] = "\r";

std::string UpperCaseAscii(std::string_view name) {
  std::string upper(name);
  std::ranges::transform(upper, upper.begin(), [](char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  });
  return upper;
}

// A printer name comes from settings files and operator input; control
// characters in it must not break the log into forged lines.
std::string PrintableForLog(std::string_view text) {
  std::string printable(text);
  std::ranges::replace_if(
      printable, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
  return printable;
}

// Writes all of bytes; a failure or a short write is described.
Status WriteAll(PrinterHandle& printer, std::string_view bytes) {
  Result<std::size_t> written = printer.Write(bytes);
  if (!written.ok()) return written.status();
  if (*written != bytes.size()) {
    return Status(ErrorCode::kFileSystemError,
                  fmt::format("the printer took only {} of {} bytes", *written, bytes.size()));
  }
  return Status::Ok();
}

std::string Describe(const Status& status) {
  if (!status.systemText().empty() && status.systemText() != status.message()) {
    return fmt::format("{} ({})", status.message(), status.systemText());
  }
  return status.message();
}

}  // namespace

RawPrinter::RawPrinter(Spooler& spooler, const Clock& clock, PrinterChooser* chooser)
    : spooler_(spooler), clock_(clock), chooser_(chooser) {}

void RawPrinter::Init() {
  printerQueue_.emplace();
}

void RawPrinter::Kill() {
  printerQueue_.reset();
}

std::uint8_t RawPrinter::PrintRaw(std::string_view printerName, std::string_view data) {
  const std::string workingName(printerName.substr(0, kMaxPrinterNameLength));
  const std::string shownName = text::ToUtf8(workingName);
  lastError_.clear();

  Result<std::unique_ptr<PrinterHandle>> opened = OpenNamedPrinter(workingName);
  if (!opened.ok()) {
    return Fail(
        kOpenFailureText, printerName,
        fmt::format("cannot open the printer \"{}\": {}", shownName, Describe(opened.status())));
  }
  lastPrinterUsed_ = workingName;
  PrinterHandle& printer = **opened;

  if (Status started = printer.StartRawDocument(kDocumentName); !started.ok()) {
    return Fail(
        kStartFailureText, printerName,
        fmt::format("cannot start a print job on \"{}\": {}", shownName, Describe(started)));
  }
  Status delivered = WriteAll(printer, kCarriageReturn);
  if (delivered.ok()) delivered = WriteAll(printer, data);
  if (delivered.ok()) delivered = printer.FinishDocument();
  if (!delivered.ok()) {
    return Fail(
        kWriteFailureText, printerName,
        fmt::format("the label was not delivered to \"{}\": {}", shownName, Describe(delivered)));
  }
  return kPrinterDone;
}

std::uint8_t RawPrinter::Fail(std::string_view logText, std::string_view printerName,
                              std::string reason) {
  const LocalDateTime now = clock_.Now();
  const std::string line =
      fmt::format("{:02}.{:02}.{:04}:{:02}.{:02}{}{}", now.date.day, now.date.month, now.date.year,
                  now.hour, now.minute, logText, PrintableForLog(printerName));
  if (AppendLogLine(kLogFileName, line) != kLogLineWritten) {
    reason += fmt::format(" (and \"{}\" could not be written)", kLogFileName);
  }
  lastError_ = std::move(reason);
  return kPrinterFailed;
}

Result<std::unique_ptr<PrinterHandle>> RawPrinter::OpenNamedPrinter(std::string_view printerName) {
  // The system calls below end names at a zero byte and would open another printer.
  if (printerName.find('\0') != std::string_view::npos) {
    return Status(ErrorCode::kInvalidValue, "the printer name holds a zero byte");
  }
  const std::string systemName = text::ToUtf8(printerName);
  if (IsSocketPrinterName(systemName)) return OpenSocketPrinter(systemName, timeouts_, &progress_);
  if (IsFilePrinterName(systemName)) return OpenFilePrinter(systemName, timeouts_, &progress_);
  return spooler_.Open(systemName);
}

void RawPrinter::SetTimeouts(const PrinterTimeouts& timeouts, WaitProgress progress) {
  timeouts_ = timeouts;
  progress_ = std::move(progress);
  spooler_.SetTimeouts(timeouts_, progress_);
}

std::uint8_t RawPrinter::ReadDefaultPrinter() {
  Result<std::vector<SpoolerDestination>> destinations = spooler_.ListDestinations();
  RememberDefault(destinations.ok() ? *destinations : std::vector<SpoolerDestination>{});
  return defaultPrinterNt_.empty() ? kPrinterFailed : kPrinterDone;
}

void RawPrinter::RememberDefault(const std::vector<SpoolerDestination>& destinations) {
  defaultPrinterNt_.clear();
  for (const SpoolerDestination& destination : destinations) {
    if (destination.isDefault) {
      defaultPrinterNt_ = UpperCaseAscii(destination.name).substr(0, kMaxListTextLength);
    }
  }
}

bool RawPrinter::IsDefaultPrinter(std::string_view printerName) const {
  return !defaultPrinterNt_.empty() && UpperCaseAscii(printerName) == defaultPrinterNt_;
}

int RawPrinter::FillPrinterQueue(PrinterList& list) {
  list.clear();
  lastError_.clear();
  Result<std::vector<SpoolerDestination>> destinations = spooler_.ListDestinations();
  if (!destinations.ok()) {
    defaultPrinterNt_.clear();
    lastError_ = fmt::format("cannot list the printers: {}", Describe(destinations.status()));
    return 0;
  }
  RememberDefault(*destinations);

  int defaultRow = 0;
  for (const SpoolerDestination& destination : *destinations) {
    PrinterListRow row;
    row.PRINTERNAME = destination.name.substr(0, kMaxListTextLength);
    row.SHOWNAME = fmt::format("{} on {}", text::TrimRight(row.PRINTERNAME),
                               text::TrimRight(destination.deviceUri))
                       .substr(0, kMaxListTextLength);
    list.push_back(std::move(row));
    if (IsDefaultPrinter(list.back().PRINTERNAME)) defaultRow = static_cast<int>(list.size());
  }
  if (list.empty()) {
    lastError_ = "no printer is installed";
    return 0;
  }
  return defaultRow == 0 ? 1 : defaultRow;
}

std::uint8_t RawPrinter::SelectPrinter(std::size_t maxLength, std::string& destination) {
  if (!printerQueue_) printerQueue_.emplace();
  PrinterList& printers = *printerQueue_;
  const int defaultRow = FillPrinterQueue(printers);
  if (defaultRow == 0 || printers.empty()) return kPrinterDone;
  if (chooser_ == nullptr) return kPrinterNoChoice;

  const std::optional<std::size_t> chosen =
      chooser_->Choose(printers, static_cast<std::size_t>(defaultRow - 1));
  if (!chosen) return kPrinterNoChoice;
  if (*chosen >= printers.size()) return kPrinterFailed;
  const std::optional<std::string> name = text::FromUtf8(printers[*chosen].PRINTERNAME);
  if (!name) {
    lastError_ = fmt::format("the printer name \"{}\" has characters the settings cannot hold",
                             printers[*chosen].PRINTERNAME);
    return kPrinterFailed;
  }
  const std::size_t room = maxLength == 0 ? 0 : maxLength - 1;
  destination = name->substr(0, room);
  return kPrinterDone;
}

}  // namespace paltrix::output
