#include "app/a5/ui/page_barcode_target.h"

#include <QPainter>
#include <cmath>

#include "barcode/barcode.h"
#include "output/ui/qt_device_contexts.h"

namespace paltrix::a5::ui {
namespace {

// Thousandths of an inch per unit.
double ThouPerUnit(barcode::DrawingUnit unit) {
  switch (unit) {
    case barcode::DrawingUnit::kMillimetres:
      return 1000.0 / 25.4;
    case barcode::DrawingUnit::kPoints:
      return 1000.0 / 72.0;
    case barcode::DrawingUnit::kThousandths:
    case barcode::DrawingUnit::kPixels:
      break;
  }
  return 1.0;
}

std::int32_t Convert(std::int32_t value, double factor) {
  return static_cast<std::int32_t>(std::lround(value * factor));
}

}  // namespace

PageBarcodeTarget::PageBarcodeTarget(QPainter& painter, errors::ErrorManager& errors)
    : painter_(painter),
      errors_(errors),
      surface_(painter, painter.device()->logicalDpiX() / 1000.0) {}

barcode::ControlId PageBarcodeTarget::AddControl(barcode::Box thousandths) {
  controls_.push_back(thousandths);
  return static_cast<barcode::ControlId>(controls_.size());
}

std::optional<std::size_t> PageBarcodeTarget::IndexOf(barcode::ControlId control) const {
  if (control < 1 || static_cast<std::size_t>(control) > controls_.size()) return std::nullopt;
  return static_cast<std::size_t>(control) - 1;
}

std::optional<barcode::Box> PageBarcodeTarget::ControlBox(barcode::ControlId control) const {
  const std::optional<std::size_t> index = IndexOf(control);
  if (!index) return std::nullopt;
  const barcode::Box& box = controls_[*index];
  const double factor = 1.0 / ThouPerUnit(unit_);
  return barcode::Box{Convert(box.x, factor), Convert(box.y, factor), Convert(box.width, factor),
                      Convert(box.height, factor)};
}

void PageBarcodeTarget::SetControlSize(barcode::ControlId control, std::int32_t width,
                                       std::int32_t height) {
  const std::optional<std::size_t> index = IndexOf(control);
  if (!index) return;
  const double factor = ThouPerUnit(unit_);
  controls_[*index].width = Convert(width, factor);
  controls_[*index].height = Convert(height, factor);
}

barcode::ControlStyle PageBarcodeTarget::Style(barcode::ControlId) const {
  barcode::ControlStyle style;
  style.font = barcode::Font{.typeface = "Arial", .size = 10, .style = 700};
  style.fontColour = barcode::kBlack;
  style.backgroundColour = barcode::kNoColour;
  return style;
}

std::int32_t PageBarcodeTarget::ComputeThousPerPixel(barcode::Barcode& barcode) {
  const output::PaintDeviceContext pageDevice(*painter_.device());
  output::ReportPrinter printer;
  printer.openContext = &pageDevice;
  output::QtDeviceContextSource devices;
  const output::DeviceMeasurement measured = output::ComputeThousPerPixel(
      output::DrawingTarget::kReport, barcode.BARANGLE, printer, devices, errors_);
  barcode.LOGPIXELSX = measured.logPixelsX;
  barcode.LOGPIXELSY = measured.logPixelsY;
  return measured.thousPerPixel;
}

}  // namespace paltrix::a5::ui
