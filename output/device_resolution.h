#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "framework/errors/error_manager.h"

// How many thousandths of an inch one pixel of an output device covers, so
// that the barcode engine never draws a bar narrower than one device pixel.
// The rule is here, free of any toolkit; the devices are behind
// DeviceContextSource (the Qt one is output/ui/qt_device_contexts.h).
namespace paltrix::output {

inline constexpr std::string_view kDeviceContextErrorTitle = "Printer Device Context Error!";

// Pixels per inch, horizontally and vertically.
struct DeviceResolution {
  std::int32_t logPixelsX = 0;
  std::int32_t logPixelsY = 0;
  friend bool operator==(const DeviceResolution&, const DeviceResolution&) = default;
};

// A device opened for measuring. Destroying an owned context releases the
// device.
class DeviceContext {
 public:
  virtual ~DeviceContext() = default;
  virtual DeviceResolution Resolution() const = 0;
};

// The report engine's current printer: the device it has open (borrowed, may
// be null) and the names by which another context for it can be created.
// Names are UTF-8.
struct ReportPrinter {
  const DeviceContext* openContext = nullptr;
  std::string driverName;
  std::string deviceName;
  std::string portName;
};

// The codes shown when no context could be had: the system's error number and
// the print dialog's extended error (0 when there is none).
struct DeviceErrorCodes {
  std::int64_t systemError = 0;
  std::int64_t dialogError = 0;
};

class DeviceContextSource {
 public:
  virtual ~DeviceContextSource() = default;
  // The default printer's context, without showing a dialog; null if none.
  virtual std::unique_ptr<DeviceContext> DefaultPrinter() = 0;
  // A context for the report's printer created from its names; null if none.
  virtual std::unique_ptr<DeviceContext> NamedPrinter(const ReportPrinter& printer) = 0;
  // The screen's context; null when there is no screen.
  virtual std::unique_ptr<DeviceContext> Screen() = 0;
  // The error codes of the last failed attempt, read at once after it.
  virtual DeviceErrorCodes LastErrors() const = 0;
};

// What is drawn on: a report page (a printer) or a window (the screen).
enum class DrawingTarget : std::uint8_t { kReport, kWindow };

// The measurement the barcode keeps: THOUSPERPIXEL, LOGPIXELSX, LOGPIXELSY.
struct DeviceMeasurement {
  std::int32_t thousPerPixel = 0;  // 0: no device could be measured
  std::int32_t logPixelsX = 0;
  std::int32_t logPixelsY = 0;
  friend bool operator==(const DeviceMeasurement&, const DeviceMeasurement&) = default;
};

// Thousandths of an inch per pixel along the bars of a symbol at
// `barAngleTenths` (0, 900, 1800, 2700): the horizontal resolution for 0 and
// 1800, the vertical one for 900 and 2700; 1000 / resolution rounded to the
// nearest whole number, exact halves up (400 dpi gives 3, never a width
// below one pixel). 0 for a resolution that is not positive, and for one
// above 2000 dpi, where a pixel is less than half a thousandth.
std::int32_t ThousPerPixel(DeviceResolution resolution, std::int16_t barAngleTenths);

// Measures the device a barcode is drawn on.
//
// For a report: the report engine's own open context (borrowed, left open);
// else the default printer's; else one created from the report printer's
// names (both owned and released before returning). When all three fail, the
// message "Printer Device Context Error!" (information icon, OK) names the
// driver, device, port and both error codes, and the result is all 0.
// For a window: the screen's context; all 0 without a screen.
DeviceMeasurement ComputeThousPerPixel(DrawingTarget target, std::int16_t barAngleTenths,
                                       const ReportPrinter& reportPrinter,
                                       DeviceContextSource& devices, errors::ErrorManager& errors);

}  // namespace paltrix::output
