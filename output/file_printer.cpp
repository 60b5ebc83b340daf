#include "output/file_printer.h"

#include <fcntl.h>

#include <string>

#include "framework/text/windows1252.h"
#include "output/file_descriptor.h"
#include "output/posix_io.h"

namespace paltrix::output {
namespace {

constexpr std::string_view kScheme = "file://";

class FilePrinter final : public PrinterHandle {
 public:
  explicit FilePrinter(FileDescriptor file) : file_(std::move(file)) {}

  Status StartRawDocument(std::string_view) override { return Status::Ok(); }

  Result<std::size_t> Write(std::string_view bytes) override {
    const std::size_t written = WriteFully(file_.get(), bytes, /*isSocket=*/false);
    if (written < bytes.size()) return ErrnoStatus("cannot write to the file");
    return written;
  }

  Status FinishDocument() override {
    if (!file_.Close()) return ErrnoStatus("cannot close the file");
    return Status::Ok();
  }

 private:
  FileDescriptor file_;
};

}  // namespace

bool IsFilePrinterName(std::string_view printerName) {
  return printerName.size() >= kScheme.size() &&
         text::CompareNoCase(printerName.substr(0, kScheme.size()), kScheme) == 0;
}

Result<std::unique_ptr<PrinterHandle>> OpenFilePrinter(std::string_view printerName) {
  if (!IsFilePrinterName(printerName) || !printerName.substr(kScheme.size()).starts_with('/')) {
    return Status(ErrorCode::kInvalidValue, "a file printer is named file:///absolute/path");
  }
  const std::string path(printerName.substr(kScheme.size()));
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (!file.valid()) return ErrnoStatus("cannot open the file");
  return std::unique_ptr<PrinterHandle>(std::make_unique<FilePrinter>(std::move(file)));
}

}  // namespace paltrix::output
