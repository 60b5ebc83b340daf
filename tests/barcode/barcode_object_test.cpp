#include <gtest/gtest.h>

#include <string>

#include "barcode/barcode.h"
#include "barcode/code128_encoder.h"
#include "fake_target.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"

namespace paltrix::barcode {
namespace {

using testing::FakeTarget;

const std::string kSscc =
    "\xC9"
    "00357012345000000017";  // 14 values, 156 modules
constexpr ControlId kControl = 7;
constexpr BandId kDetailBand = 3;

class BarcodeObjectTest : public ::testing::Test {
 protected:
  BarcodeObjectTest() : errors_(presenter_, terminator_) { errors_.Init(); }

  // A report control bound as the A5 reports bind theirs: symbology 7, no
  // text, then printed as Code 128 with automatic sets.
  void Bind(Box box, ControlStyle style = {}) {
    target_.AddControl(kControl, box, style);
    barcode_.Init(&target_, kControl, kDetailBand, 7);
    barcode_.DRAWTEXT = 0;
  }
  std::int32_t barWidth() const { return barcode_.encoder()->BARWIDTH; }

  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_;
  FakeTarget target_;
  Barcode barcode_{errors_};
};

TEST_F(BarcodeObjectTest, ModuleWidthComesFromTheControlOrFromXWidth) {
  Bind({1000, 500, 2000, 800});
  target_.SetResolution(600, 600, 2);
  ASSERT_EQ(barcode_.Print(3, false, kSscc), 0);
  EXPECT_EQ(barcode_.encoder()->BARCOUNT, 156);
  EXPECT_EQ(barWidth(), 12) << "2000 / 156, integer part";
  EXPECT_EQ(target_.ControlBox(kControl)->width, 1872);
  EXPECT_EQ(barcode_.WIDTH, 1872);

  barcode_.XWIDTH = 26;
  ASSERT_EQ(barcode_.Print(3, false, kSscc), 0);
  EXPECT_EQ(target_.ControlBox(kControl)->width, 4056) << "whatever the width at binding";
  EXPECT_EQ(barcode_.ORIGINALWIDTH, 2000);
}

TEST_F(BarcodeObjectTest, ModulesAreNeverNarrowerThanOneDevicePixel) {
  target_.SetResolution(300, 300, 3);
  Bind({0, 0, 312, 400});  // 312 / 156 = 2 thousandths, below one 300 dpi pixel
  barcode_.Print(3, false, kSscc);
  EXPECT_EQ(barWidth(), 3);

  // Without a measured device the candidate stands and the device is asked
  // again at the next print.
  target_.SetResolution(0, 0, 0);
  barcode_.THOUSPERPIXEL = 0;
  const int before = target_.measurements;
  barcode_.Print(3, false, kSscc);
  EXPECT_EQ(barWidth(), 2);
  EXPECT_EQ(target_.measurements, before + 1);
}

TEST_F(BarcodeObjectTest, BarsAreDrawnNarrowerAndSpacesWiderThanTheirModules) {
  Bind({100, 200, 4000, 600}, ControlStyle{.font = {}, .backgroundColour = kWhite});
  barcode_.XWIDTH = 26;
  barcode_.DRAWSPACES = 1;
  barcode_.Print(5, false, "A");  // START B "211214" first
  const auto& rects = target_.surface.rects;
  ASSERT_GE(rects.size(), 7u);
  EXPECT_EQ(rects[0].box, (Box{100, 200, (11 * 4 + 2) * 26, 600}))
      << "background over the resized control";
  // 2-module bar 48, 1-module space 28, 1-module bar 24, 2-module space 56.
  EXPECT_EQ(rects[1].box, (Box{100, 200, 48, 599}));
  EXPECT_EQ(rects[1].colour, kBlack);
  EXPECT_EQ(rects[2].box, (Box{148, 200, 28, 599}));
  EXPECT_EQ(rects[2].colour, kWhite);
  EXPECT_EQ(rects[3].box.width, 24);
  EXPECT_EQ(rects[4].box.width, 56);
}

TEST_F(BarcodeObjectTest, SpacesInTheBackgroundColourAreLeftToTheFill) {
  Bind({0, 0, 2000, 600});
  barcode_.Print(3, false, kSscc);
  for (const auto& rect : target_.surface.rects) EXPECT_EQ(rect.colour, kBlack);
  EXPECT_EQ(target_.surface.rects.size(), 13u * 3 + 4) << "three bars a character, four in STOP";
}

TEST_F(BarcodeObjectTest, QuietZoneAndRotationsPlaceTheFirstElement) {
  struct Case {
    std::int16_t angle;
    Box expectedFirst;
  };
  // Control 800 wide and 2000 high; at 900 and 2700 the module comes from the
  // height (12) and the height becomes 1872. START C opens with a 2-module bar:
  // 22 long (12 x 1.884).
  const Case cases[] = {
      {0, {1000 + 10 * 5, 500, 9, 2000 - 1}},  // 800 / 156 = 5, 5 x 1.884 = 9
      {900, {1000, 500 + 1872 - 10 * 12 - 12, 800, 22}},
      {1800, {1000 + 780 - 10 * 5, 500 + 2000, -9, -(2000 - 1)}},  // from the right, upwards
      {2700, {1000 + 800, 500 + 10 * 12, -800, 22}},
  };
  for (const Case& c : cases) {
    FakeTarget target;
    target.AddControl(kControl, {1000, 500, 800, 2000}, ControlStyle{.font = {}, .angle = c.angle});
    Barcode barcode(errors_);
    barcode.Init(&target, kControl, kDetailBand, 3);
    barcode.DRAWTEXT = 0;
    barcode.CLEARAREALEFT = 10;
    barcode.Print(3, true, kSscc);
    ASSERT_FALSE(target.surface.rects.empty());
    if (c.angle == 0 || c.angle == 1800) {
      EXPECT_EQ(barcode.encoder()->BARWIDTH, 5) << "800 / 156";
    } else {
      EXPECT_EQ(target.ControlBox(kControl)->height, 1872) << c.angle;
    }
    EXPECT_EQ(target.surface.rects.front().box, c.expectedFirst) << c.angle;
  }
}

TEST_F(BarcodeObjectTest, TextIsMeasuredAndDrawnUnderTheBarsWithoutFunctionBytes) {
  target_.AddControl(
      kControl, {1000, 500, 2000, 800},
      ControlStyle{.font = {"Arial", 12, 700}, .justification = Justification::kCentre});
  barcode_.Init(&target_, kControl, kDetailBand, 3);
  barcode_.Print(3, true,
                 "\xC9"
                 "00123");
  ASSERT_EQ(target_.surface.texts.size(), 1u);
  const auto& text = target_.surface.texts[0];
  EXPECT_EQ(text.text, "00123");
  EXPECT_EQ(text.font, (Font{"Arial", 12, 700}));
  const Box control = *target_.ControlBox(kControl);
  EXPECT_EQ(text.x, control.x + (control.width - 50) / 2);
  EXPECT_EQ(text.y, control.y + control.height - 20 + 1);
  EXPECT_EQ(barcode_.encoder()->BARHEIGHT, 800 - 20);
}

TEST_F(BarcodeObjectTest, BindingTakesOverTheControlAndRestoresTheReportUnit) {
  FakeTarget target(true, DrawingUnit::kPoints);
  target.AddControl(kControl, {10, 20, 300, 40},
                    ControlStyle{.font = {std::string(40, 'F'), 9, 400},
                                 .fontColour = kNoColour,
                                 .angle = 450,
                                 .justification = Justification::kRight});
  Barcode barcode(errors_);
  barcode.Init(&target, kControl, kDetailBand, 3);
  EXPECT_TRUE(target.hidden(kControl));
  EXPECT_EQ(barcode.BARCOLOR, kBlack) << "no font colour and no background draw black";
  EXPECT_EQ(barcode.BARANGLE, 0) << "angles other than the four right ones become 0";
  EXPECT_EQ(barcode.TEXTALIGN, 2);
  EXPECT_EQ(barcode.MYFONT.size(), 35u);
  EXPECT_EQ(barcode.INITIALUNIT, 3);
  EXPECT_EQ(barcode.ORIGINALWIDTH, 4167) << "300 points in thousandths of an inch";
  EXPECT_EQ(barcode.LOGPIXELSX, 600);
  barcode.Print(3, true, "AB");
  using U = DrawingUnit;
  EXPECT_EQ(target.unitLog,
            (std::vector<U>{U::kThousandths, U::kPoints, U::kThousandths, U::kPoints}));

  FakeTarget window(false, DrawingUnit::kPixels);
  window.AddControl(kControl, {0, 0, 400, 60});
  Barcode onWindow(errors_);
  onWindow.Init(&window, kControl, 0, 3);
  EXPECT_EQ(onWindow.ISREPORT, 0);
  onWindow.XWIDTH = 26;
  onWindow.THOUSPERPIXEL = 10;
  onWindow.Print(3, true, "AB");
  EXPECT_EQ(onWindow.encoder()->BARWIDTH, 2) << "26 thousandths on a 96 dpi screen";
  onWindow.FORCEPIXELS = 1;
  onWindow.Print(3, true, "AB");
  EXPECT_EQ(onWindow.encoder()->BARWIDTH, 26);
  onWindow.Init(&target, kControl, kDetailBand, 3);
  EXPECT_EQ(onWindow.ISREPORT, 1) << "bound to a report after a window, it lays out in thousandths";
}

TEST_F(BarcodeObjectTest, BindingFailuresShowTheirMessagesAndLeaveTheBarcodeUnusable) {
  target_.AddControl(kControl, {0, 0, 100, 100});
  barcode_.Init(&target_, kControl, 0, 3);
  barcode_.Init(nullptr, kControl, kDetailBand, 3);
  EXPECT_EQ(barcode_.Print(3, false, "AB"), kPrintNotBound);

  barcode_.Init(&target_, kControl, kDetailBand, 21);
  EXPECT_EQ(barcode_.BCTYPE, 0);
  EXPECT_FALSE(target_.hidden(kControl)) << "not attached after an invalid symbology";
  EXPECT_EQ(barcode_.Print(0, true, "AB"), kPrintNoSymbology);
  EXPECT_EQ(barcode_.Print(0, false, "AB"), kPrintNoSymbology);

  const auto boxes = presenter_.boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text,
            "For reports you need to specify the DETAIL BAND where you want the barcode printed");
  EXPECT_EQ(boxes[0].title, "Barcode Initialization Error!");
  EXPECT_EQ(boxes[1].text, "The Window/Report you specified was invalid!");
  EXPECT_EQ(boxes[1].title, "Barcode Initialization Error!");
  EXPECT_EQ(boxes[2].text,
            "The Barcode Symbology you have specified: 21 is invalid!\nPlease verify your program "
            "data.");
  EXPECT_EQ(boxes[2].title, "Invalid Barcode Symbology");
  for (const auto& box : boxes) {
    EXPECT_EQ(box.icon, errors::MessageIcon::kInformation);
    EXPECT_EQ(box.buttons, errors::kButtonOk);
  }
}

TEST_F(BarcodeObjectTest, SymbologiesFifteenToTwentyDrawNothingAndTheSameCodeKeepsItsEncoder) {
  Bind({0, 0, 2000, 600});
  for (int code = 15; code <= 20; ++code) {
    target_.surface.Clear();
    EXPECT_EQ(barcode_.SetSymbology(code), 0) << code;
    EXPECT_EQ(barcode_.Print(code, true, kSscc), 0);
    EXPECT_TRUE(target_.surface.rects.empty() && target_.surface.erased.empty()) << code;
  }
  EXPECT_EQ(barcode_.SetSymbology(21), 1);
  EXPECT_EQ(barcode_.BCTYPE, 0);
  EXPECT_EQ(barcode_.encoder(), nullptr);

  barcode_.SetSymbology(3);
  const BarcodeEncoder* first = barcode_.encoder();
  EXPECT_EQ(barcode_.SetSymbology(3), 0);
  EXPECT_EQ(barcode_.encoder(), first);
  barcode_.SetSymbology(14);
  EXPECT_NE(dynamic_cast<Code128Encoder*>(barcode_.encoder()), nullptr);
}

TEST_F(BarcodeObjectTest, EmptyDataErasesTheAreaAndDrawsNoBars) {
  Bind({0, 0, 2000, 600}, ControlStyle{.font = {}, .backgroundColour = 0xEEEEEE});
  barcode_.Print(3, false, kSscc);
  target_.surface.Clear();
  barcode_.Print(3, false, "   ");
  ASSERT_EQ(target_.surface.rects.size(), 1u);
  EXPECT_EQ(target_.surface.rects[0].colour, 0xEEEEEE);
  ASSERT_FALSE(target_.surface.erased.empty());
  EXPECT_EQ(target_.surface.erased[0], (Box{0, 0, 1872, 600})) << "the previous symbol goes";
}

}  // namespace
}  // namespace paltrix::barcode
