#pragma once

#include <QPointF>

#include "barcode/drawing_surface.h"

class QPainter;

namespace paltrix::barcode::ui {

// Paints a barcode target's rectangles and text with a QPainter: on a page of
// a QPrinter or QPdfWriter, on a QImage, or on a window.
//
// A target coordinate c maps to the painter coordinate origin + c * scale:
// for a report drawn in thousandths of an inch on a device of D dots per inch
// the scale is D / 1000; for a window drawn in pixels it is 1. Fonts are
// sized in points for the painter's device.
// REQUIRES: `painter` is active and outlives the surface.
class QPainterSurface final : public DrawingSurface {
 public:
  QPainterSurface(QPainter& painter, double scale, QPointF origin = {});

  void FillRect(const Box& box, Colour colour) override;
  void Erase(const Box& box) override;
  TextSize MeasureText(std::string_view text, const Font& font) override;
  void DrawText(std::int32_t x, std::int32_t y, std::string_view text, const Font& font,
                Colour colour) override;

  // What Erase paints; white by default, as a fresh page is.
  void SetPageColour(Colour colour) { pageColour_ = colour; }

 private:
  QPainter& painter_;
  double scale_;
  QPointF origin_;
  Colour pageColour_ = kWhite;
};

}  // namespace paltrix::barcode::ui
