#pragma once

#include <memory>

#include "output/device_resolution.h"

class QPaintDevice;
class QPrinterInfo;

// The devices of output/device_resolution.h as Qt reports them: a printer
// (QPrinter, QPrinterInfo) or a page writer, and the screen (QScreen).
namespace paltrix::output {

// A context over a paint device the caller keeps open (the report's own
// printer or PDF writer): its logical resolution in both directions.
// REQUIRES: `device` outlives the context.
class PaintDeviceContext final : public DeviceContext {
 public:
  explicit PaintDeviceContext(const QPaintDevice& device) : device_(device) {}
  DeviceResolution Resolution() const override;

 private:
  const QPaintDevice& device_;
};

// The default printer and named printers are CUPS queues opened with
// QPrinter at their own resolution; the screen is the primary screen's
// logical resolution. REQUIRES: a QGuiApplication exists.
class QtDeviceContextSource final : public DeviceContextSource {
 public:
  std::unique_ptr<DeviceContext> DefaultPrinter() override;
  // The printer named by ReportPrinter::deviceName.
  std::unique_ptr<DeviceContext> NamedPrinter(const ReportPrinter& printer) override;
  std::unique_ptr<DeviceContext> Screen() override;
  DeviceErrorCodes LastErrors() const override { return lastErrors_; }

 private:
  // A context for the printer, or null (and the error codes kept) when it
  // does not exist or cannot be opened.
  std::unique_ptr<DeviceContext> OpenPrinter(const QPrinterInfo& info);

  DeviceErrorCodes lastErrors_;
};

}  // namespace paltrix::output
