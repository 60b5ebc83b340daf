#include "output/device_resolution.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/errors/scripted_presenter.h"

namespace paltrix::output {
namespace {

// A device of a fixed resolution that counts its releases.
class FakeContext final : public DeviceContext {
 public:
  FakeContext(DeviceResolution resolution, int& released)
      : resolution_(resolution), released_(released) {}
  ~FakeContext() override { ++released_; }
  DeviceResolution Resolution() const override { return resolution_; }

 private:
  DeviceResolution resolution_;
  int& released_;
};

// Each route gives a device of its resolution, or none when unset, and
// records that it was tried.
class FakeSource final : public DeviceContextSource {
 public:
  std::optional<DeviceResolution> defaultPrinter, namedPrinter, screen;
  std::vector<std::string> tried;
  int released = 0;

  std::unique_ptr<DeviceContext> DefaultPrinter() override {
    return Open("default", defaultPrinter);
  }
  std::unique_ptr<DeviceContext> NamedPrinter(const ReportPrinter& printer) override {
    return Open("named " + printer.deviceName, namedPrinter);
  }
  std::unique_ptr<DeviceContext> Screen() override { return Open("screen", screen); }
  DeviceErrorCodes LastErrors() const override {
    return {.systemError = 1801, .dialogError = 4107};
  }

 private:
  std::unique_ptr<DeviceContext> Open(std::string route, std::optional<DeviceResolution> device) {
    tried.push_back(std::move(route));
    return device ? std::make_unique<FakeContext>(*device, released) : nullptr;
  }
};

TEST(ThousPerPixelTest, RoundsToNearestThousandthAlongTheBars) {
  struct Row {
    DeviceResolution resolution;
    std::int16_t angle;
    std::int32_t expected;
    const char* note;
  };
  const Row rows[] = {
      {{600, 600}, 0, 2, "1000/600 = 1.67"},
      {{300, 300}, 0, 3, "3.33"},
      {{203, 203}, 1800, 5, "4.93"},
      {{96, 96}, 0, 10, "screen, 10.42"},
      {{400, 400}, 0, 3, "exact half 2.5 goes up: never below one pixel"},
      {{2400, 2400}, 0, 0, "0.42: not usable as a minimum"},
      {{1200, 1200}, 0, 1, "PDF writer, 0.83"},
      {{300, 600}, 900, 2, "rotated: the vertical 600 dpi"},
      {{300, 600}, 2700, 2, "rotated the other way"},
      {{300, 600}, 0, 3, "horizontal: 300 dpi"},
      {{0, 0}, 0, 0, "no resolution"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ThousPerPixel(row.resolution, row.angle), row.expected) << row.note;
  }
}

ReportPrinter PrinterNamed(std::string name, const DeviceContext* openContext = nullptr) {
  ReportPrinter printer;
  printer.deviceName = std::move(name);
  printer.openContext = openContext;
  return printer;
}

class ComputeThousPerPixelTest : public ::testing::Test {
 protected:
  ComputeThousPerPixelTest() { errors_.Init(); }

  DeviceMeasurement ForReport(const ReportPrinter& printer, std::int16_t angle = 0) {
    return ComputeThousPerPixel(DrawingTarget::kReport, angle, printer, source_, errors_);
  }

  FakeSource source_;
  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_{presenter_, terminator_};
};

TEST_F(ComputeThousPerPixelTest, TheReportsOwnDeviceIsBorrowedWithoutOpeningAnother) {
  int ownReleased = 0;
  {
    const FakeContext own({300, 600}, ownReleased);
    source_.defaultPrinter = DeviceResolution{600, 600};
    EXPECT_EQ(ForReport(PrinterNamed("", &own), 900),
              (DeviceMeasurement{.thousPerPixel = 2, .logPixelsX = 300, .logPixelsY = 600}));
    EXPECT_TRUE(source_.tried.empty());
    EXPECT_EQ(ownReleased, 0);
  }
  EXPECT_TRUE(presenter_.boxes().empty());
}

TEST_F(ComputeThousPerPixelTest, FallsBackToDefaultThenNamedPrinterAndReleasesWhatItOpened) {
  source_.defaultPrinter = DeviceResolution{203, 203};
  source_.namedPrinter = DeviceResolution{600, 600};
  EXPECT_EQ(ForReport(PrinterNamed("Lager")).thousPerPixel, 5);
  EXPECT_EQ(source_.tried, std::vector<std::string>{"default"});
  EXPECT_EQ(source_.released, 1);

  source_.tried.clear();
  source_.defaultPrinter.reset();
  EXPECT_EQ(ForReport(PrinterNamed("Lager")).thousPerPixel, 2);
  EXPECT_EQ((source_.tried), (std::vector<std::string>{"default", "named Lager"}));
  EXPECT_EQ(source_.released, 2);
  EXPECT_TRUE(presenter_.boxes().empty());
}

TEST_F(ComputeThousPerPixelTest, NoDeviceShowsTheErrorOncePerAttemptAndGivesZero) {
  ReportPrinter printer = PrinterNamed("Kontor");
  printer.driverName = "IPP";
  printer.portName = "ipp://x";
  EXPECT_EQ(ForReport(printer), DeviceMeasurement{});
  EXPECT_EQ(ForReport(printer), DeviceMeasurement{});
  const std::vector<errors::MessageBoxRequest> boxes = presenter_.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].title, "Printer Device Context Error!");
  EXPECT_EQ(boxes[0].icon, errors::MessageIcon::kInformation);
  EXPECT_EQ(boxes[0].buttons, errors::kButtonOk);
  EXPECT_EQ(boxes[0].text,
            "Error getting the printer's Device Context\nDriver: IPP\nDevice: Kontor\nPort: "
            "ipp://x\nAPI Error: 1801\nCommon Dialog Extended Error: 4107");
}

TEST_F(ComputeThousPerPixelTest, WindowsMeasureTheScreenAndNeverComplain) {
  source_.screen = DeviceResolution{96, 96};
  source_.defaultPrinter = DeviceResolution{600, 600};
  EXPECT_EQ(ComputeThousPerPixel(DrawingTarget::kWindow, 0, {}, source_, errors_),
            (DeviceMeasurement{.thousPerPixel = 10, .logPixelsX = 96, .logPixelsY = 96}));
  EXPECT_EQ(source_.tried, std::vector<std::string>{"screen"});
  EXPECT_EQ(source_.released, 1);

  source_.screen.reset();
  EXPECT_EQ(ComputeThousPerPixel(DrawingTarget::kWindow, 0, {}, source_, errors_),
            DeviceMeasurement{});
  EXPECT_TRUE(presenter_.boxes().empty());
}

}  // namespace
}  // namespace paltrix::output
