#include <gtest/gtest.h>

#include "app/dispatch/print_run.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "tests/a5/a5_queue_fixture.h"
#include "tests/labels/label_services_fakes.h"

namespace paltrix::dispatch {
namespace {

using labels::testing::FakeSsccAllocator;
using labels::testing::RecordingOutput;
using labels::testing::RecordingSleeper;

// Records which report was asked to print and how many labels were queued.
class RecordingReports final : public a5::ReportPrinting {
 public:
  explicit RecordingReports(std::function<std::size_t()> queued) : queued_(std::move(queued)) {}
  a5::ReportOutcome PrintQueuedLabels(a5::A5Report report) override {
    calls.push_back({report, queued_()});
    return {};
  }
  std::vector<std::pair<a5::A5Report, std::size_t>> calls;

 private:
  std::function<std::size_t()> queued_;
};

class PageDispatchTest : public a5::testing::A5QueueTest {
 protected:
  PageDispatchTest() { printer_.Prime(); }

  Result<PrintOutcome> Dispatch(std::string_view format, DispatchVariant variant) {
    fields::WriteText(printer_.image(), records::printer::PRINTER, format);
    const PrintJob job{variant, 0, {2, 1}};
    const A5Services a5{context_, reports_, errors_};
    return DispatchLabelFormat(
        job, {product_.image, context_.Buffer(records::firma::kSchema).image, printer_.image()},
        settings_, {allocator_, output_, sleeper_, nullptr}, SystemClock(), &a5);
  }

  records::PrinterRecord printer_;
  settings::PrinterSettings settings_;
  FakeSsccAllocator allocator_{41};
  RecordingOutput output_;
  RecordingSleeper sleeper_;
  RecordingReports reports_{[this] { return QueuedSsccs().size(); }};
};

TEST_F(PageDispatchTest, EachPageFormatQueuesItsLabelsAndPrintsThemWithItsReport) {
  ASSERT_TRUE(Dispatch("Standard", DispatchVariant::kDialog).ok());
  ASSERT_TRUE(Dispatch("Limited  ", DispatchVariant::kDirect).ok());
  const Result<PrintOutcome> mixed = Dispatch("Mixed", DispatchVariant::kDialog);
  ASSERT_TRUE(mixed.ok()) << mixed.status().ToString();
  EXPECT_EQ(mixed->procedure, LabelProcedure::kA5Mixed);
  EXPECT_EQ(mixed->a5Queue.ssccs,
            (std::vector<std::string>{"057900010000000462", "057900010000000479"}));
  // The mixed-pallet window prints "Mixed" nowhere.
  ASSERT_TRUE(Dispatch("Mixed", DispatchVariant::kMixedWindow).ok());

  const std::vector<std::pair<a5::A5Report, std::size_t>> expected = {
      {a5::A5Report::kStandard, 2}, {a5::A5Report::kSimple, 4}, {a5::A5Report::kMix, 6}};
  EXPECT_EQ(reports_.calls, expected) << "the fake prints nothing, so the queue grows";
  EXPECT_EQ(allocator_.calls(), 6);
  EXPECT_TRUE(output_.sent().empty());
}

TEST_F(PageDispatchTest, AProductThatCannotBePrintedSpendsNothing) {
  fields::WriteText(product_.image, records::produkt::BATCHNR, "\xC9t");
  const Result<PrintOutcome> outcome = Dispatch("Standard", DispatchVariant::kDialog);
  EXPECT_EQ(outcome.status().code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(allocator_.calls(), 0);
  EXPECT_TRUE(reports_.calls.empty());
  EXPECT_TRUE(QueuedSsccs().empty());
}

}  // namespace
}  // namespace paltrix::dispatch
