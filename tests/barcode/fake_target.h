#pragma once

#include <cmath>
#include <map>
#include <vector>

#include "barcode/barcode.h"
#include "barcode/barcode_target.h"
#include "barcode/recording_surface.h"

namespace paltrix::barcode::testing {

// A report (or window) with placeholder controls, a device of a fixed
// resolution, and a recording surface. A report keeps its controls in
// thousandths of an inch and gives and takes positions in the unit it is
// switched to; a window in pixels. Unit switches are logged so tests see them
// restored.
class FakeTarget final : public BarcodeTarget {
 public:
  explicit FakeTarget(bool report = true, DrawingUnit unit = DrawingUnit::kThousandths)
      : report_(report), unit_(unit) {}

  // `box` in the target's current unit.
  void AddControl(ControlId id, Box box, ControlStyle style = {}) {
    controls_[id] =
        Control{{FromUnit(box.x), FromUnit(box.y), FromUnit(box.width), FromUnit(box.height)},
                style,
                false};
  }
  void SetResolution(std::int32_t dpiX, std::int32_t dpiY, std::int32_t thousPerPixel) {
    dpiX_ = dpiX;
    dpiY_ = dpiY;
    thousPerPixel_ = thousPerPixel;
  }
  // Draws on `surface` instead of the recording one from now on.
  void UseSurface(DrawingSurface& other) { drawOn_ = &other; }
  bool hidden(ControlId id) const { return controls_.at(id).hidden; }

  bool IsReport() const override { return report_; }
  DrawingUnit Unit() const override { return unit_; }
  void SetUnit(DrawingUnit unit) override {
    unit_ = unit;
    unitLog.push_back(unit);
  }
  void SelectBand(BandId band) override { selectedBand = band; }
  std::optional<Box> ControlBox(ControlId id) const override {
    const auto it = controls_.find(id);
    if (it == controls_.end()) return std::nullopt;
    const Box& box = it->second.box;
    return Box{ToUnit(box.x), ToUnit(box.y), ToUnit(box.width), ToUnit(box.height)};
  }
  void SetControlSize(ControlId id, std::int32_t width, std::int32_t height) override {
    controls_.at(id).box.width = FromUnit(width);
    controls_.at(id).box.height = FromUnit(height);
  }
  void HideControl(ControlId id) override { controls_.at(id).hidden = true; }
  ControlStyle Style(ControlId id) const override { return controls_.at(id).style; }
  DrawingSurface& Surface() override { return drawOn_ != nullptr ? *drawOn_ : surface; }
  std::int32_t ComputeThousPerPixel(Barcode& barcode) override {
    ++measurements;
    barcode.LOGPIXELSX = dpiX_;
    barcode.LOGPIXELSY = dpiY_;
    return thousPerPixel_;
  }

  RecordingSurface surface;
  std::vector<DrawingUnit> unitLog;
  BandId selectedBand = 0;
  int measurements = 0;

 private:
  std::int32_t ToUnit(std::int32_t thou) const {
    switch (unit_) {
      case DrawingUnit::kMillimetres:
        return static_cast<std::int32_t>(std::lround(ToMillimetres(Thou(thou)).value));
      case DrawingUnit::kPoints:
        return static_cast<std::int32_t>(std::lround(ToPoints(Thou(thou)).value));
      default:
        return thou;
    }
  }
  std::int32_t FromUnit(std::int32_t value) const {
    switch (unit_) {
      case DrawingUnit::kMillimetres:
        return ToThou(Millimetres(value)).value;
      case DrawingUnit::kPoints:
        return ToThou(Points(value)).value;
      default:
        return value;
    }
  }

  struct Control {
    Box box;
    ControlStyle style;
    bool hidden = false;
  };
  bool report_;
  DrawingUnit unit_;
  DrawingSurface* drawOn_ = nullptr;
  std::map<ControlId, Control> controls_;
  std::int32_t dpiX_ = 600;
  std::int32_t dpiY_ = 600;
  std::int32_t thousPerPixel_ = 2;
};

}  // namespace paltrix::barcode::testing
