#include "app/records/printer_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "framework/errors/message_numbers.h"
#include "framework/errors/runtime_error.h"
#include "framework/fields/record_codec.h"
#include "framework/file_descriptor.h"
#include "framework/path/ordinary_file.h"
#include "framework/path/path_resolver.h"

namespace paltrix::records {
namespace {

Status SystemError(const std::string& what, const std::filesystem::path& file, int error) {
  return Status(ErrorCode::kFileSystemError, what + " " + file.string(), error,
                std::strerror(error));
}

Status ReportPrinterFailure(errors::ErrorManager& errors, int messageNumber, Status status) {
  errors::SetRuntimeError(status);
  errors.SetFile(printer::kLabel);
  errors.Throw(messageNumber);
  return status;
}

}  // namespace

PrinterRecord& PrinterRecord::Process() {
  static PrinterRecord record;
  return record;
}

void PrinterRecord::Prime() {
  image_.fill(0);
  for (const fields::FieldDef& field : printer::kFields) {
    if (field.type == fields::FieldType::kText) fields::WriteText(image_, field, "");
  }
  fields::WriteLong(image_, printer::BAUDRATE, 38400);
  fields::WriteLong(image_, printer::DOTS, 8);
  fields::WriteText(image_, printer::PRINTER, "UBI");
  fields::WriteText(image_, printer::PARITY, "None");
  fields::WriteText(image_, printer::DATA, "8");
  fields::WriteText(image_, printer::STOP, "1");
  fields::WriteText(image_, printer::PORT, "COM1");
  fields::WriteText(image_, printer::SPEED, "NORMAL");
  fields::WriteText(image_, printer::ZEBRASPEED, "6");
}

Status PrinterRecord::Read(const std::filesystem::path& file) {
  int descriptor = -1;
  if (Status opened = OpenOrdinaryFile(file, O_RDONLY, descriptor); !opened.ok()) {
    if (opened.code() == ErrorCode::kFileNotFound) return Status::Ok();
    return opened;
  }
  FileDescriptor fd(descriptor);
  Image incoming{};
  std::size_t have = 0;
  while (have < incoming.size()) {
    const ssize_t got =
        ::pread(fd.get(), incoming.data() + have, incoming.size() - have, static_cast<off_t>(have));
    if (got < 0) {
      if (errno == EINTR) continue;
      return SystemError("Cannot read", file, errno);
    }
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  if (have == 0) return Status::Ok();
  if (have < incoming.size()) {
    return Status(ErrorCode::kInvalidDataFile, file.string() + " holds " + std::to_string(have) +
                                                   " bytes; a Printer record needs " +
                                                   std::to_string(incoming.size()));
  }
  image_ = incoming;
  return Status::Ok();
}

Status PrinterRecord::Write(const std::filesystem::path& file) const {
  int descriptor = -1;
  if (Status opened = OpenOrdinaryFile(file, O_WRONLY | O_CREAT, descriptor,
                                       std::numeric_limits<std::uintmax_t>::max());
      !opened.ok()) {
    if (opened.code() == ErrorCode::kFileNotFound) {
      return Status(ErrorCode::kPathNotFound, "The folder of " + file.string() + " does not exist");
    }
    return opened;
  }
  FileDescriptor fd(descriptor);
  std::size_t written = 0;
  while (written < image_.size()) {
    const ssize_t put = ::pwrite(fd.get(), image_.data() + written, image_.size() - written,
                                 static_cast<off_t>(written));
    if (put < 0) {
      if (errno == EINTR) continue;
      return SystemError("Cannot write", file, errno);
    }
    written += static_cast<std::size_t>(put);
  }
  if (::ftruncate(fd.get(), static_cast<off_t>(image_.size())) != 0) {
    return SystemError("Cannot set the length of", file, errno);
  }
  // The settings are on disk before a print that depends on them goes out.
  if (::fdatasync(fd.get()) != 0) return SystemError("Cannot save", file, errno);
  if (!fd.Close()) return SystemError("Cannot close", file, errno);
  return Status::Ok();
}

Status LoadPrinterRecord(PrinterRecord& record, errors::ErrorManager& errors) {
  Result<std::filesystem::path> file = path::ResolveDiskName(printer::kDiskName);
  Status status = file.ok() ? record.Read(*file) : file.status();
  if (!status.ok()) {
    return ReportPrinterFailure(errors, errors::msg::kRecordRetrievalError, std::move(status));
  }
  return status;
}

Status SavePrinterRecord(const PrinterRecord& record, errors::ErrorManager& errors) {
  Result<std::filesystem::path> file = path::ResolveDiskName(printer::kDiskName);
  Status status = file.ok() ? record.Write(*file) : file.status();
  if (!status.ok())
    return ReportPrinterFailure(errors, errors::msg::kUpdateError, std::move(status));
  return status;
}

}  // namespace paltrix::records
