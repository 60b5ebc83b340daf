#include "app/labels/label_procedures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gs1/sscc.h"
#include "tests/labels/label_services_fakes.h"
#include "tests/labels/label_test_data.h"

namespace paltrix::labels {
namespace {

using testing::FakeSsccAllocator;
using testing::OrdinaryInput;
using testing::RecordingClipboard;
using testing::RecordingOutput;
using testing::RecordingSleeper;

class LabelProceduresTest : public ::testing::Test {
 protected:
  FakeSsccAllocator allocator_{41};
  RecordingOutput output_;
  RecordingSleeper sleeper_;
  RecordingClipboard clipboard_;
  LabelServices services_{allocator_, output_, sleeper_, &clipboard_};
};

bool EndsWith(std::string_view text, std::string_view end) {
  return text.ends_with(end);
}

TEST_F(LabelProceduresTest, ThreePalletsOfFourLabelsGiveThreeStreamsWithConsecutiveSsccs) {
  LabelInput input = OrdinaryInput();
  input.pallets = 3;
  input.labelsPerPallet = 4;
  const LabelRunReport report = PrintPalletLabel4(input, services_);

  ASSERT_TRUE(report.status.ok()) << report.status.ToString();
  EXPECT_TRUE(report.AllSent());
  EXPECT_EQ(report.printerName, "zebra-1");
  const std::vector<std::string> expected = {"057900010000000424", "057900010000000431",
                                             "057900010000000448"};
  ASSERT_EQ(output_.sent().size(), 3u);
  ASSERT_EQ(report.streams.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(output_.sent()[i].printer, "zebra-1");
    EXPECT_TRUE(EndsWith(output_.sent()[i].stream, "^PQ4,0,1,N^XZ"));
    EXPECT_NE(output_.sent()[i].stream.find(">;>800" + expected[i] + "^FS"), std::string::npos);
    EXPECT_EQ(report.streams[i].sscc, expected[i]);
    EXPECT_TRUE(report.streams[i].sent());
  }
  EXPECT_EQ(clipboard_.copies.size(), 3u);
  EXPECT_TRUE(sleeper_.pauses.empty());
}

TEST_F(LabelProceduresTest, FailedSendIsReportedAndTheRunGoesOn) {
  LabelInput input = OrdinaryInput();
  input.pallets = 3;
  output_.FailCall(2);
  const LabelRunReport report = PrintPalletLabel4Fine(input, services_);

  EXPECT_TRUE(report.status.ok());
  EXPECT_FALSE(report.AllSent());
  ASSERT_EQ(report.streams.size(), 3u);
  EXPECT_TRUE(report.streams[0].sent());
  EXPECT_FALSE(report.streams[1].sent());
  EXPECT_EQ(report.streams[1].sscc, "057900010000000431");
  EXPECT_EQ(report.printerName, "zebra-1");
  EXPECT_TRUE(report.streams[2].sent());
  EXPECT_TRUE(clipboard_.copies.empty());  // the 12 dots/mm 4-inch label is not copied
}

// Told of each stream as it leaves; asks to stop once `stopAfter` streams left.
class StoppingObserver final : public RunObserver {
 public:
  explicit StoppingObserver(std::size_t stopAfter) : stopAfter_(stopAfter) {}
  void StreamHandedOver(const PrintedStream& stream) override { seen.push_back(stream); }
  bool StopRequested() override { return seen.size() >= stopAfter_; }
  std::vector<PrintedStream> seen;

 private:
  std::size_t stopAfter_;
};

TEST_F(LabelProceduresTest, TheObserverSeesEachStreamAsItLeavesAndCanEndTheRunBetweenPallets) {
  LabelInput input = OrdinaryInput();
  input.pallets = 5;
  input.waitSeconds = 3;
  output_.FailCall(1);
  StoppingObserver observer(2);
  services_.observer = &observer;
  const LabelRunReport report = PrintPalletLabel6(input, services_);

  EXPECT_TRUE(report.stopped);
  EXPECT_FALSE(report.AllSent());
  ASSERT_EQ(observer.seen.size(), 2u);
  EXPECT_FALSE(observer.seen[0].sent());
  EXPECT_EQ(observer.seen[0].sscc, "057900010000000424");
  EXPECT_TRUE(observer.seen[1].sent());
  EXPECT_EQ(report.streams.size(), 2u);
  EXPECT_EQ(allocator_.calls(), 2) << "no SSCC for a pallet not begun";
  EXPECT_EQ(sleeper_.pauses.size(), 1u) << "no pause once the run is to end";
}

TEST_F(LabelProceduresTest, SsccThatCannotBeSavedStopsTheRunBeforeItsStream) {
  LabelInput input = OrdinaryInput();
  input.pallets = 3;
  allocator_.FailFromCall(2);
  const LabelRunReport report = PrintPalletLabel6(input, services_);

  EXPECT_EQ(report.status.code(), ErrorCode::kRecordHeld);
  EXPECT_FALSE(report.AllSent());
  ASSERT_EQ(report.streams.size(), 1u);
  EXPECT_EQ(output_.sent().size(), 1u);
}

TEST_F(LabelProceduresTest, UnprintableDataRefusesTheRunBeforeAnySsccIsSpent) {
  LabelInput badBatch = OrdinaryInput();
  badBatch.product.batch = "B\x01";
  LabelInput badGtin = OrdinaryInput();
  badGtin.product.gtin = "ABC";
  for (const LabelInput& input : {badBatch, badGtin}) {
    for (auto procedure : {PrintPalletLabel4, PrintPalletLabel4Fine, PrintPalletLabel4Compact,
                           PrintPalletLabel6, PrintPalletLabel6Fine}) {
      const LabelRunReport report = procedure(input, services_);
      EXPECT_EQ(report.status.code(), ErrorCode::kInvalidValue);
      EXPECT_FALSE(report.status.message().empty());
    }
  }
  EXPECT_EQ(allocator_.calls(), 0);
  EXPECT_TRUE(output_.sent().empty());
  EXPECT_TRUE(clipboard_.copies.empty());
}

TEST_F(LabelProceduresTest, NoPalletsIsNotReportedAsSuccess) {
  LabelInput input = OrdinaryInput();
  input.pallets = 0;
  const LabelRunReport report = PrintPalletLabel4(input, services_);
  EXPECT_EQ(report.status.code(), ErrorCode::kInvalidValue);
  EXPECT_FALSE(report.AllSent());
  EXPECT_TRUE(output_.sent().empty());
  EXPECT_EQ(allocator_.calls(), 0);
  EXPECT_TRUE(PrintEanItemLabel(input, services_).AllSent());  // one label whatever the pallets
}

TEST_F(LabelProceduresTest, SixInchLabelsPauseAfterEachPallet) {
  LabelInput input = OrdinaryInput();
  input.pallets = 4;
  input.waitSeconds = 3;
  PrintPalletLabel6Fine(input, services_);
  EXPECT_EQ(output_.sent().size(), 4u);
  EXPECT_EQ(sleeper_.pauses, std::vector<std::chrono::seconds>(4, std::chrono::seconds(3)));
  EXPECT_EQ(clipboard_.copies.size(), 4u);

  sleeper_.pauses.clear();
  PrintPalletLabel4(input, services_);  // the 4-inch labels never wait
  input.waitSeconds = 0;
  PrintPalletLabel6(input, services_);
  EXPECT_TRUE(sleeper_.pauses.empty());
}

TEST_F(LabelProceduresTest, CaseLabelSpendsNoSsccAndPrintsOnePerPallet) {
  LabelInput input = OrdinaryInput();
  input.pallets = 2;
  const LabelRunReport report = PrintCaseLabel4(input, services_);
  EXPECT_TRUE(report.AllSent());
  EXPECT_EQ(allocator_.calls(), 0);
  ASSERT_EQ(report.streams.size(), 2u);
  EXPECT_TRUE(report.streams[0].sscc.empty());
  EXPECT_EQ(clipboard_.copies.size(), 2u);
}

TEST_F(LabelProceduresTest, EanItemLabelPrintsOneStreamOrNothing) {
  LabelInput input = OrdinaryInput();
  input.pallets = 5;
  EXPECT_TRUE(PrintEanItemLabel(input, services_).AllSent());
  EXPECT_EQ(output_.sent().size(), 1u);

  input.product.gtin = "570123456789";
  const LabelRunReport refused = PrintEanItemLabel(input, services_);
  EXPECT_FALSE(refused.status.ok());
  EXPECT_EQ(output_.sent().size(), 1u);
  EXPECT_EQ(allocator_.calls(), 0);
}

TEST_F(LabelProceduresTest, MixedPalletLabelSpendsOneSsccPerPallet) {
  LabelInput input = OrdinaryInput();
  input.product.bestBefore = 7;  // the week number on this path
  input.pallets = 2;
  const LabelRunReport report = PrintMixedPalletLabel(input, services_);
  EXPECT_TRUE(report.AllSent()) << report.status.ToString();
  EXPECT_EQ(allocator_.calls(), 2);
  EXPECT_TRUE(clipboard_.copies.empty());
}

TEST_F(LabelProceduresTest, ReportCarriesTheValuesForTheRecordBuffers) {
  LabelInput input = OrdinaryInput();
  input.printer.printRate = "";
  const LabelRunReport report = PrintPalletLabel4(input, services_);
  EXPECT_EQ(report.printRate, "2");
  EXPECT_EQ(report.shelfLifeDays, 10);
  ASSERT_EQ(output_.sent().size(), 1u);
  EXPECT_TRUE(output_.sent()[0].stream.starts_with("^XA^SZ2^MTD^MMT^XZ^XA^PR2^XZ"));
}

TEST_F(LabelProceduresTest, NoClipboardWithoutADesktop) {
  LabelServices headless{allocator_, output_, sleeper_};
  EXPECT_TRUE(PrintPalletLabel4(OrdinaryInput(), headless).AllSent());
  EXPECT_TRUE(clipboard_.copies.empty());
}

}  // namespace
}  // namespace paltrix::labels
