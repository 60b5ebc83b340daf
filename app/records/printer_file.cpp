#include "app/records/printer_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "framework/errors/message_numbers.h"
#include "framework/errors/runtime_error.h"
#include "framework/fields/record_codec.h"
#include "framework/path/path_resolver.h"

namespace paltrix::records {
namespace {

// Closes the descriptor it owns.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now so that a failing close (a delayed write error) is reported.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

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
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return Status::Ok();
    return SystemError("Cannot open", file, errno);
  }
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
  FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
  if (fd.get() < 0) {
    if (errno == ENOENT) {
      return Status(ErrorCode::kPathNotFound, "The folder of " + file.string() + " does not exist");
    }
    return SystemError("Cannot open", file, errno);
  }
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
  if (fd.Close() != 0) return SystemError("Cannot close", file, errno);
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
