#include "app/a5/ui/page_barcode_target.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "barcode/barcode.h"
#include "framework/errors/scripted_presenter.h"

namespace paltrix::a5::ui {
namespace {

constexpr double kDotsPerMetrePerDpi = 1000 / 25.4;

class PageBarcodeTargetTest : public ::testing::Test {
 protected:
  PageBarcodeTargetTest() { errors_.Init(); }

  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_{presenter_, terminator_};
};

TEST_F(PageBarcodeTargetTest, MeasuresThePageDeviceAlongTheBars) {
  QImage page(400, 400, QImage::Format_RGB32);
  page.setDotsPerMeterX(static_cast<int>(300 * kDotsPerMetrePerDpi + 0.5));
  page.setDotsPerMeterY(static_cast<int>(600 * kDotsPerMetrePerDpi + 0.5));
  QPainter painter(&page);
  PageBarcodeTarget target(painter, errors_);
  barcode::Barcode barcode(errors_);
  EXPECT_EQ(target.ComputeThousPerPixel(barcode), 3);
  EXPECT_EQ(barcode.LOGPIXELSX, 300);
  EXPECT_EQ(barcode.LOGPIXELSY, 600);
  barcode.BARANGLE = 900;
  EXPECT_EQ(target.ComputeThousPerPixel(barcode), 2) << "rotated: the vertical 600 dpi";
  EXPECT_TRUE(presenter_.boxes().empty());
}

TEST_F(PageBarcodeTargetTest, ControlsAreKeptInThousandthsAndShownInTheUnitInForce) {
  QPdfWriter writer(QStringLiteral("/dev/null"));
  writer.setResolution(1200);
  QPainter painter(&writer);
  PageBarcodeTarget target(painter, errors_);
  const barcode::ControlId control = target.AddControl({1000, 2000, 4882, 906});
  EXPECT_EQ(target.Unit(), barcode::DrawingUnit::kMillimetres);
  EXPECT_EQ(target.ControlBox(control), (barcode::Box{25, 51, 124, 23}));
  target.SetUnit(barcode::DrawingUnit::kThousandths);
  target.SetControlSize(control, 4056, 906);
  EXPECT_EQ(target.ControlBox(control), (barcode::Box{1000, 2000, 4056, 906}));
  EXPECT_EQ(target.ControlBox(control + 1), std::nullopt);
  painter.end();
}

}  // namespace
}  // namespace paltrix::a5::ui
