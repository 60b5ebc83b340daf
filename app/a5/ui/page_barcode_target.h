#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "barcode/barcode_target.h"
#include "barcode/ui/qpainter_surface.h"
#include "output/device_resolution.h"

class QPainter;

namespace paltrix::errors {
class ErrorManager;
}

// An A5 report page as the barcode engine's target: one detail band whose
// barcode controls are rectangles on the page, drawn with the page's
// QPainter. Positions are kept in thousandths of an inch from the page's
// top left; the report measures in millimetres until the barcode switches it.
namespace paltrix::a5::ui {

inline constexpr barcode::BandId kDetailBand = 1;

class PageBarcodeTarget final : public barcode::BarcodeTarget {
 public:
  // REQUIRES: `painter` is active on the page device and, with `errors`,
  // outlives the target.
  PageBarcodeTarget(QPainter& painter, errors::ErrorManager& errors);

  // Adds a placeholder control; returns its number (1, 2, ...).
  barcode::ControlId AddControl(barcode::Box thousandths);

  bool IsReport() const override { return true; }
  barcode::DrawingUnit Unit() const override { return unit_; }
  void SetUnit(barcode::DrawingUnit unit) override { unit_ = unit; }
  void SelectBand(barcode::BandId) override {}
  std::optional<barcode::Box> ControlBox(barcode::ControlId control) const override;
  void SetControlSize(barcode::ControlId control, std::int32_t width, std::int32_t height) override;
  void HideControl(barcode::ControlId) override {}
  barcode::ControlStyle Style(barcode::ControlId control) const override;
  barcode::DrawingSurface& Surface() override { return surface_; }
  // The resolution of the page device the painter draws on (the report's
  // own printer or PDF writer).
  std::int32_t ComputeThousPerPixel(barcode::Barcode& barcode) override;

 private:
  std::optional<std::size_t> IndexOf(barcode::ControlId control) const;

  QPainter& painter_;
  errors::ErrorManager& errors_;
  barcode::ui::QPainterSurface surface_;
  barcode::DrawingUnit unit_ = barcode::DrawingUnit::kMillimetres;
  std::vector<barcode::Box> controls_;  // in thousandths
};

}  // namespace paltrix::a5::ui
