#include "output/device_resolution.h"

#include <fmt/format.h>

namespace paltrix::output {
namespace {

DeviceMeasurement Measure(const DeviceContext& context, std::int16_t barAngleTenths) {
  const DeviceResolution resolution = context.Resolution();
  return {.thousPerPixel = ThousPerPixel(resolution, barAngleTenths),
          .logPixelsX = resolution.logPixelsX,
          .logPixelsY = resolution.logPixelsY};
}

std::string DeviceContextErrorText(const ReportPrinter& printer, DeviceErrorCodes codes) {
  return fmt::format(
      "Error getting the printer's Device Context\nDriver: {}\nDevice: {}\nPort: {}\nAPI Error: "
      "{}\nCommon Dialog Extended Error: {}",
      printer.driverName, printer.deviceName, printer.portName, codes.systemError,
      codes.dialogError);
}

}  // namespace

std::int32_t ThousPerPixel(DeviceResolution resolution, std::int16_t barAngleTenths) {
  const bool vertical = barAngleTenths == 900 || barAngleTenths == 2700;
  const std::int64_t pixelsPerInch = vertical ? resolution.logPixelsY : resolution.logPixelsX;
  if (pixelsPerInch <= 0) return 0;
  return static_cast<std::int32_t>((2000 + pixelsPerInch) / (2 * pixelsPerInch));
}

DeviceMeasurement ComputeThousPerPixel(DrawingTarget target, std::int16_t barAngleTenths,
                                       const ReportPrinter& reportPrinter,
                                       DeviceContextSource& devices, errors::ErrorManager& errors) {
  if (target == DrawingTarget::kWindow) {
    const std::unique_ptr<DeviceContext> screen = devices.Screen();
    return screen ? Measure(*screen, barAngleTenths) : DeviceMeasurement{};
  }
  if (reportPrinter.openContext != nullptr) {
    return Measure(*reportPrinter.openContext, barAngleTenths);
  }
  std::unique_ptr<DeviceContext> obtained = devices.DefaultPrinter();
  if (!obtained) obtained = devices.NamedPrinter(reportPrinter);
  if (!obtained) {
    const DeviceErrorCodes codes = devices.LastErrors();
    errors.ShowMessage(DeviceContextErrorText(reportPrinter, codes), kDeviceContextErrorTitle,
                       errors::MessageIcon::kInformation, errors::kButtonOk, errors::kButtonOk);
    return {};
  }
  return Measure(*obtained, barAngleTenths);
}

}  // namespace paltrix::output
