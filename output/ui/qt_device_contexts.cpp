#include "output/ui/qt_device_contexts.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <cerrno>

namespace paltrix::output {
namespace {

// A printer opened here for measuring only; it is released with the context.
class OwnedPrinterContext final : public DeviceContext {
 public:
  explicit OwnedPrinterContext(const QPrinterInfo& info)
      : printer_(info, QPrinter::HighResolution) {}
  bool valid() const { return printer_.isValid(); }
  DeviceResolution Resolution() const override { return PaintDeviceContext(printer_).Resolution(); }

 private:
  QPrinter printer_;
};

class ScreenContext final : public DeviceContext {
 public:
  explicit ScreenContext(const QScreen& screen) : screen_(screen) {}
  DeviceResolution Resolution() const override {
    return {.logPixelsX = static_cast<std::int32_t>(screen_.logicalDotsPerInchX()),
            .logPixelsY = static_cast<std::int32_t>(screen_.logicalDotsPerInchY())};
  }

 private:
  const QScreen& screen_;
};

}  // namespace

DeviceResolution PaintDeviceContext::Resolution() const {
  return {.logPixelsX = device_.logicalDpiX(), .logPixelsY = device_.logicalDpiY()};
}

std::unique_ptr<DeviceContext> QtDeviceContextSource::OpenPrinter(const QPrinterInfo& info) {
  if (!info.isNull()) {
    auto context = std::make_unique<OwnedPrinterContext>(info);
    if (context->valid()) return context;
  }
  lastErrors_ = {.systemError = errno, .dialogError = 0};
  return nullptr;
}

std::unique_ptr<DeviceContext> QtDeviceContextSource::DefaultPrinter() {
  errno = 0;
  return OpenPrinter(QPrinterInfo::defaultPrinter());
}

std::unique_ptr<DeviceContext> QtDeviceContextSource::NamedPrinter(const ReportPrinter& printer) {
  errno = 0;
  return OpenPrinter(QPrinterInfo::printerInfo(QString::fromStdString(printer.deviceName)));
}

std::unique_ptr<DeviceContext> QtDeviceContextSource::Screen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return nullptr;
  return std::make_unique<ScreenContext>(*screen);
}

}  // namespace paltrix::output
