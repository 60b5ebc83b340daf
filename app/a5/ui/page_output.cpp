#include "app/a5/ui/page_output.h"

#include <fmt/format.h>

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

namespace paltrix::a5::ui {
namespace {

// The resolution of PDF pages: fine enough that every module width the
// layouts ask for is a whole number of pixels.
constexpr int kPdfResolution = 1200;

// A device the output owns, painted by the DevicePageOutput it holds.
template <typename Device>
class OwnedDeviceOutput final : public PagePrinter {
 public:
  OwnedDeviceOutput(std::unique_ptr<Device> device, A5Report report, errors::ErrorManager& errors)
      : device_(std::move(device)), output_(report, *device_, errors) {}
  bool ready() const { return output_.ready(); }
  Status PrintPage(const PagePlan& page) override { return output_.PrintPage(page); }
  Status Finish() override { return output_.Finish(); }

 private:
  std::unique_ptr<Device> device_;
  DevicePageOutput output_;
};

template <typename Device>
Result<std::unique_ptr<PagePrinter>> Open(std::unique_ptr<Device> device, A5Report report,
                                          errors::ErrorManager& errors,
                                          std::string_view printerName) {
  auto output = std::make_unique<OwnedDeviceOutput<Device>>(std::move(device), report, errors);
  if (!output->ready()) {
    return Status(ErrorCode::kFileSystemError,
                  fmt::format("the page printer \"{}\" cannot be opened", printerName));
  }
  return std::unique_ptr<PagePrinter>(std::move(output));
}

}  // namespace

void UseA5Page(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

DevicePageOutput::DevicePageOutput(A5Report report, QPagedPaintDevice& device,
                                   errors::ErrorManager& errors)
    : device_(device) {
  if (painter_.begin(&device_)) pagePainter_.emplace(report, painter_, errors);
}

DevicePageOutput::~DevicePageOutput() {
  pagePainter_.reset();
  if (painter_.isActive()) painter_.end();
}

Status DevicePageOutput::PrintPage(const PagePlan& page) {
  if (!painter_.isActive()) return Status(ErrorCode::kFileNotOpen, "the page printer is not open");
  if (!firstPage_ && !device_.newPage()) {
    return Status(ErrorCode::kFileSystemError, "the page printer refused a new page");
  }
  firstPage_ = false;
  pagePainter_->Paint(page);
  return Status::Ok();
}

Status DevicePageOutput::Finish() {
  pagePainter_.reset();
  if (!painter_.isActive()) return Status(ErrorCode::kFileNotOpen, "the page printer is not open");
  if (!painter_.end()) {
    return Status(ErrorCode::kFileSystemError, "the pages could not be handed to the printer");
  }
  return Status::Ok();
}

Result<std::unique_ptr<PagePrinter>> OpenPageOutput(A5Report report, std::string_view printerName,
                                                    errors::ErrorManager& errors) {
  if (printerName.empty()) {
    return Status(ErrorCode::kInvalidValue,
                  "no page printer is set: the settings' \"Printer\" is empty");
  }
  if (printerName.starts_with(kPdfFilePrefix)) {
    const std::string_view path = printerName.substr(kPdfFilePrefix.size());
    if (!path.starts_with('/')) {
      return Status(ErrorCode::kInvalidValue,
                    fmt::format("\"{}\" is not a file:///path.pdf name", printerName));
    }
    auto writer = std::make_unique<QPdfWriter>(QString::fromUtf8(path.data(), path.size()));
    writer->setResolution(kPdfResolution);
    writer->setCreator(QStringLiteral("Paltrix"));
    writer->setTitle(QString::fromUtf8(ReportName(report).data(), ReportName(report).size()));
    UseA5Page(*writer);
    return Open(std::move(writer), report, errors, printerName);
  }
  const QString queue = QString::fromUtf8(printerName.data(), printerName.size());
  if (QPrinterInfo::printerInfo(queue).isNull()) {
    return Status(ErrorCode::kInvalidValue, fmt::format("there is no printer \"{}\"", printerName));
  }
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setPrinterName(queue);
  printer->setFullPage(true);
  printer->setDocName(QString::fromUtf8(ReportName(report).data(), ReportName(report).size()));
  UseA5Page(*printer);
  return Open(std::move(printer), report, errors, printerName);
}

}  // namespace paltrix::a5::ui
