#pragma once

#include <cstdint>
#include <optional>

#include "barcode/drawing_surface.h"
#include "barcode/units.h"

// The report or window that holds a barcode's placeholder control: what the
// barcode object needs from it to bind to the control and draw in its place.
namespace paltrix::barcode {

class Barcode;

using ControlId = std::int32_t;
using BandId = std::int32_t;

enum class Justification : std::uint8_t { kLeft, kCentre, kRight };

// The look of a placeholder control, taken over by the barcode.
struct ControlStyle {
  Font font;
  Colour fontColour = kBlack;
  Colour backgroundColour = kNoColour;
  std::int16_t angle = 0;  // tenths of a degree, as the control holds it
  Justification justification = Justification::kLeft;
};

class BarcodeTarget {
 public:
  virtual ~BarcodeTarget() = default;

  // True for a report (drawn in thousandths of an inch on a band), false for
  // a window (drawn in pixels).
  virtual bool IsReport() const = 0;

  // The unit positions and sizes are given in; a report measures in
  // thousandths, millimetres or points, a window in pixels.
  virtual DrawingUnit Unit() const = 0;
  virtual void SetUnit(DrawingUnit unit) = 0;

  // Makes `band` (0 on a window) the one whose controls and surface the
  // following calls address.
  virtual void SelectBand(BandId band) = 0;

  // Position and size of `control` in the current unit; nullopt when there
  // is no such control.
  virtual std::optional<Box> ControlBox(ControlId control) const = 0;
  virtual void SetControlSize(ControlId control, std::int32_t width, std::int32_t height) = 0;
  virtual void HideControl(ControlId control) = 0;
  virtual ControlStyle Style(ControlId control) const = 0;

  // Where the selected band is painted.
  virtual DrawingSurface& Surface() = 0;

  // Measures the resolution of the device this target goes to (the report's
  // printer, or the screen for a window), stores LOGPIXELSX and LOGPIXELSY in
  // `barcode` and returns THOUSPERPIXEL: thousandths of an inch per device
  // pixel along the bars, rounded; 0 when the device could not be measured.
  virtual std::int32_t ComputeThousPerPixel(Barcode& barcode) = 0;
};

}  // namespace paltrix::barcode
