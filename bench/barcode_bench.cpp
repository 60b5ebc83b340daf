// The barcode engine: encoding the GS1-128 symbol of an SSCC, as each A5
// label page does three times, and laying it out and drawing it on a
// recording surface.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "barcode/barcode.h"
#include "barcode/code128_encoder.h"
#include "barcode/recording_surface.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"

namespace paltrix::barcode {
namespace {

const std::string kSsccData =
    "\xC9"
    "00357900010000000424";

// Symbol values of FNC1, "00" and an 18-digit SSCC under automatic code sets.
void BM_EncodeGs1_128Sscc(benchmark::State& state) {
  std::vector<Code128Record> values;
  for (auto _ : state) {
    EncodeCode128(kSsccData, Symbology::kCode128Auto, values);
    benchmark::DoNotOptimize(values.data());
  }
}
BENCHMARK(BM_EncodeGs1_128Sscc);

// A report target with one control that only records what is drawn.
class RecordingTarget final : public BarcodeTarget {
 public:
  bool IsReport() const override { return true; }
  DrawingUnit Unit() const override { return unit_; }
  void SetUnit(DrawingUnit unit) override { unit_ = unit; }
  void SelectBand(BandId) override {}
  std::optional<Box> ControlBox(ControlId) const override { return box_; }
  void SetControlSize(ControlId, std::int32_t width, std::int32_t height) override {
    box_.width = width;
    box_.height = height;
  }
  void HideControl(ControlId) override {}
  ControlStyle Style(ControlId) const override { return {}; }
  DrawingSurface& Surface() override { return surface; }
  std::int32_t ComputeThousPerPixel(Barcode&) override { return 3; }

  RecordingSurface surface;

 private:
  DrawingUnit unit_ = DrawingUnit::kThousandths;
  Box box_{500, 500, 2000, 800};
};

// Print of the SSCC barcode through the Barcode object: encode, lay out,
// 43 bars.
void BM_PrintGs1_128Sscc(benchmark::State& state) {
  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager errors(presenter, terminator);
  RecordingTarget target;
  Barcode barcode(errors);
  barcode.Init(&target, 1, 1, 7);
  barcode.DRAWTEXT = 0;
  for (auto _ : state) {
    target.surface.Clear();
    benchmark::DoNotOptimize(barcode.Print(3, false, kSsccData));
  }
}
BENCHMARK(BM_PrintGs1_128Sscc);

}  // namespace
}  // namespace paltrix::barcode
