#include "output/file_printer.h"

#include <fcntl.h>

#include <cerrno>
#include <string>

#include "framework/text/windows1252.h"
#include "output/file_descriptor.h"
#include "output/posix_io.h"

namespace paltrix::output {
namespace {

constexpr std::string_view kScheme = "file://";

class FilePrinter final : public PrinterHandle {
 public:
  FilePrinter(FileDescriptor file, BoundedWait write)
      : file_(std::move(file)), write_(std::move(write)) {}

  Status StartRawDocument(std::string_view) override { return Status::Ok(); }

  Result<std::size_t> Write(std::string_view bytes) override {
    write_.Restart();
    const std::size_t written = WriteFully(file_.get(), bytes, /*isSocket=*/false, &write_);
    if (written < bytes.size()) return ErrnoStatus("cannot write to the file");
    return written;
  }

  Status FinishDocument() override {
    if (!file_.Close()) return ErrnoStatus("cannot close the file");
    return Status::Ok();
  }

 private:
  FileDescriptor file_;
  BoundedWait write_;
};

}  // namespace

bool IsFilePrinterName(std::string_view printerName) {
  return printerName.size() >= kScheme.size() &&
         text::CompareNoCase(printerName.substr(0, kScheme.size()), kScheme) == 0;
}

Result<std::unique_ptr<PrinterHandle>> OpenFilePrinter(std::string_view printerName,
                                                       const PrinterTimeouts& timeouts,
                                                       const WaitProgress* progress) {
  if (!IsFilePrinterName(printerName) || !printerName.substr(kScheme.size()).starts_with('/')) {
    return Status(ErrorCode::kInvalidValue, "a file printer is named file:///absolute/path");
  }
  const std::string path(printerName.substr(kScheme.size()));
  // Non-blocking, so that neither the open of a FIFO without a reader nor a
  // write to a stalled device can hold the run for ever.
  BoundedWait open("a reader of the printer file", timeouts.connect, progress);
  FileDescriptor file;
  for (;;) {
    file = FileDescriptor(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    if (file.valid()) break;
    const bool noReaderYet = errno == ENXIO;
    if (errno != EINTR && !(noReaderYet && !open.Over())) {
      if (noReaderYet) errno = ETIMEDOUT;
      return ErrnoStatus(noReaderYet ? "nothing reads the printer file" : "cannot open the file");
    }
    open.Pause();
  }
  return std::unique_ptr<PrinterHandle>(std::make_unique<FilePrinter>(
      std::move(file),
      BoundedWait("the printer file to take the label", timeouts.write, progress)));
}

}  // namespace paltrix::output
