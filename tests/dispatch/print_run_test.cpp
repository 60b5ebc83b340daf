#include "app/dispatch/print_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "tests/labels/label_services_fakes.h"

namespace paltrix::dispatch {
namespace {

namespace produkt = records::produkt;
namespace printer = records::printer;
using ::testing::HasSubstr;
using labels::testing::FakeSsccAllocator;
using labels::testing::RecordingOutput;
using labels::testing::RecordingSleeper;

// Monday 8 February 2027: ISO week 6.
const FixedClock kWeekSix({{2027, 2, 8}, 10, 0, 0, 0});

class PrintRunTest : public ::testing::Test {
 protected:
  PrintRunTest() {
    fields::WriteText(product_, produkt::PRODUKTID, "100");
    fields::WriteText(product_, produkt::PRODUKTNAVN, "Tulipaner");
    fields::WriteText(product_, produkt::EANNR, "5701234567899");
    fields::WriteText(product_, produkt::ANTALPRKOLLIE, "4711");
    fields::WriteText(firma_, records::firma::NAVN, "Blomster ApS");
    printer_.Prime();
    settings_.printerName = "dock";
  }

  void UseFormat(std::string_view format, int dots) {
    fields::WriteText(printer_.image(), printer::PRINTER, format);
    fields::WriteLong(printer_.image(), printer::DOTS, dots);
  }

  Result<PrintOutcome> Dispatch(DispatchVariant variant, LabelType type) {
    const PrintJob job{variant, static_cast<std::uint8_t>(type), {2, 1}};
    return DispatchLabelFormat(job, {product_, firma_, printer_.image()}, settings_,
                               {allocator_, output_, sleeper_, nullptr}, kWeekSix);
  }

  std::vector<char> product_ = std::vector<char>(produkt::kRecordLength, 0);
  std::vector<char> firma_ = std::vector<char>(records::firma::kRecordLength, 0);
  records::PrinterRecord printer_;
  settings::PrinterSettings settings_;
  FakeSsccAllocator allocator_{41};
  RecordingOutput output_;
  RecordingSleeper sleeper_;
};

TEST_F(PrintRunTest, RunsTheChosenProcedureForEveryPallet) {
  UseFormat("ZPL 4\"", 8);
  const Result<PrintOutcome> outcome = Dispatch(DispatchVariant::kDialog, LabelType::kPallet);
  ASSERT_TRUE(outcome.ok()) << outcome.status().ToString();
  EXPECT_EQ(outcome->procedure, LabelProcedure::kPalletLabel4);
  EXPECT_TRUE(outcome->report.AllSent());
  ASSERT_EQ(output_.sent().size(), 2u);
  EXPECT_EQ(output_.sent()[0].printer, "dock");
  EXPECT_THAT(output_.sent()[1].stream, HasSubstr(">;>800057900010000000431"));
  EXPECT_EQ(fields::ReadText(printer_.image(), printer::SPEED), "2")
      << "the primed print rate NORMAL is not a number and is stored as 2";
}

TEST_F(PrintRunTest, DirectMixedPalletTakesThisWeekAndMixNumberOne) {
  UseFormat("ZPL 4\"", 8);
  const Result<PrintOutcome> outcome = Dispatch(DispatchVariant::kDirect, LabelType::kMixedPallet);
  ASSERT_TRUE(outcome.ok()) << outcome.status().ToString();
  EXPECT_EQ(outcome->procedure, LabelProcedure::kMixedPalletLabel);
  EXPECT_EQ(fields::ReadLong(product_, produkt::HOLDBARTIL), 6);
  EXPECT_EQ(fields::ReadText(product_, produkt::BATCHNR), "1");
  ASSERT_FALSE(output_.sent().empty());
  EXPECT_THAT(output_.sent()[0].stream, HasSubstr("(10)0614711")) << "week 06, mix 1, order 4711";
}

TEST_F(PrintRunTest, PageFormatsWithoutPagePrintingAreRefusedBeforeAnythingIsSpent) {
  for (std::string_view format : {"Standard", "Limited", "Mixed"}) {
    UseFormat(format, 8);
    const Result<PrintOutcome> outcome = Dispatch(DispatchVariant::kDialog, LabelType::kPallet);
    ASSERT_FALSE(outcome.ok()) << format;
    EXPECT_EQ(outcome.status().code(), ErrorCode::kInvalidValue);
    EXPECT_THAT(outcome.status().message(), HasSubstr("prints A5 pages"));
  }
  EXPECT_EQ(allocator_.calls(), 0);
  EXPECT_TRUE(output_.sent().empty());
}

TEST_F(PrintRunTest, AnUnknownFormatPrintsNothing) {
  UseFormat("UBI", 8);
  const Result<PrintOutcome> outcome = Dispatch(DispatchVariant::kDialog, LabelType::kPallet);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome->procedure, LabelProcedure::kNothing);
  EXPECT_EQ(allocator_.calls(), 0);
  EXPECT_TRUE(output_.sent().empty());
}

}  // namespace
}  // namespace paltrix::dispatch
