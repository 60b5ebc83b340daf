#include <gtest/gtest.h>

#include "tests/a5/a5_queue_fixture.h"

namespace paltrix::a5 {
namespace {

const std::string kFirst = "057900010000000424";
const std::string kSecond = "057900010000000431";

// Keeps the SSCC text of every page and can refuse a page or the document.
class RecordingPagePrinter final : public PagePrinter {
 public:
  Status PrintPage(const PagePlan& page) override {
    if (pagesBeforeFailure == 0) return Status(ErrorCode::kFileSystemError, "paper jam");
    --pagesBeforeFailure;
    pages.push_back(page);
    return Status::Ok();
  }
  Status Finish() override {
    ++finished;
    return refuseDocument ? Status(ErrorCode::kFileSystemError, "queue stopped") : Status::Ok();
  }
  // The SSCC text printed on each page.
  std::vector<std::string> Ssccs() const {
    std::vector<std::string> ssccs;
    for (const PagePlan& page : pages) {
      for (const PlacedText& text : page.texts) {
        if (text.text.size() == 18 && text.bold && text.pointSize == 16) ssccs.push_back(text.text);
      }
    }
    return ssccs;
  }

  std::vector<PagePlan> pages;
  int pagesBeforeFailure = -1;
  bool refuseDocument = false;
  int finished = 0;
};

class LabelQueueTest : public testing::A5QueueTest {
 protected:
  // Runs the report, printing at most `maxPages` pages before stopping as a
  // cancel does, and finishes the document.
  Status Run(RecordingPagePrinter& printer, int maxPages = 1000,
             A5Report report = A5Report::kStandard) {
    ReportRun run(report, context_, printer, today_);
    Status status = run.Start();
    if (!status.ok()) return status;
    for (int page = 0; page < maxPages; ++page) {
      Result<bool> more = run.PrintNext();
      if (!more.ok()) {
        status = more.status();
        break;
      }
      if (!*more) break;
    }
    const Status finished = run.Finish();
    return status.ok() ? finished : status;
  }
};

TEST_F(LabelQueueTest, TwoPalletsOfThreeLabelsPrintSixPagesAndEmptyTheQueue) {
  const QueueReport queued = Queue(2, 3);
  ASSERT_TRUE(queued.status.ok()) << queued.status.ToString();
  EXPECT_EQ(queued.ssccs, (std::vector<std::string>{kFirst, kSecond}));
  EXPECT_EQ(queued.queued, 6);
  EXPECT_EQ(QueuedSsccs(),
            (std::vector<std::string>{kFirst, kFirst, kFirst, kSecond, kSecond, kSecond}));
  // The serial is stored before anything is printed.
  ASSERT_TRUE(context_.ReadFirma().ok());
  EXPECT_EQ(fields::ReadLong(context_.Buffer(records::firma::kSchema).image, records::firma::SS),
            43);

  RecordingPagePrinter printer;
  ASSERT_TRUE(Run(printer).ok());
  EXPECT_EQ(printer.Ssccs(),
            (std::vector<std::string>{kFirst, kFirst, kFirst, kSecond, kSecond, kSecond}));
  EXPECT_EQ(printer.finished, 1);
  EXPECT_TRUE(QueuedSsccs().empty());
}

TEST_F(LabelQueueTest, CancelledOrRefusedRunsLeaveTheirLabelsForTheNextRun) {
  ASSERT_TRUE(Queue(2, 3).status.ok());
  RecordingPagePrinter cancelled;
  ASSERT_TRUE(Run(cancelled, 2).ok());
  EXPECT_EQ(cancelled.pages.size(), 2u);
  EXPECT_EQ(QueuedSsccs(), (std::vector<std::string>{kFirst, kSecond, kSecond, kSecond}));

  // The printer takes one page and jams: nothing more leaves the queue.
  RecordingPagePrinter jammed;
  jammed.pagesBeforeFailure = 1;
  EXPECT_EQ(Run(jammed).code(), ErrorCode::kFileSystemError);
  EXPECT_EQ(QueuedSsccs().size(), 3u);

  // The document is refused as a whole: every page stays queued.
  RecordingPagePrinter refused;
  refused.refuseDocument = true;
  EXPECT_FALSE(Run(refused).ok());
  EXPECT_EQ(refused.pages.size(), 3u);
  EXPECT_EQ(QueuedSsccs().size(), 3u);

  RecordingPagePrinter next;
  ASSERT_TRUE(Run(next).ok());
  EXPECT_EQ(next.Ssccs(), (std::vector<std::string>{kSecond, kSecond, kSecond}));
  EXPECT_TRUE(QueuedSsccs().empty());
}

TEST_F(LabelQueueTest, UnprintableProductsAreRefusedBeforeAnySerialIsSpent) {
  fields::WriteText(product_.image, records::produkt::EANNR, "57-01");
  EXPECT_EQ(Queue(2, 3).status.code(), ErrorCode::kInvalidValue);
  fields::WriteText(product_.image, records::produkt::EANNR, "5701234567899");
  // A5E:ANTAL holds five characters: 100000 would be queued as 10000.
  fields::WriteLong(product_.image, records::produkt::ANTALPRPALLE, 100000);
  EXPECT_EQ(Queue(1, 1).status.code(), ErrorCode::kInvalidValue);

  EXPECT_TRUE(QueuedSsccs().empty());
  ASSERT_TRUE(context_.ReadFirma().ok());
  EXPECT_EQ(fields::ReadLong(context_.Buffer(records::firma::kSchema).image, records::firma::SS),
            41);
}

TEST_F(LabelQueueTest, ALabelWhoseProductIsGoneIsSkippedAndStaysQueued) {
  ASSERT_TRUE(Queue(1, 1).status.ok());
  fields::WriteText(product_.image, records::produkt::PRODUKTID, "200");
  records::AddRecord(context_, records::produkt::kSchema, product_);
  ASSERT_TRUE(Queue(1, 1).status.ok());
  storage::KeyedFile& products = **context_.File(records::produkt::kSchema);
  storage::Record probe = storage::Record::Blank(records::produkt::kSchema);
  storage::Record found = probe;
  fields::WriteText(probe.image, records::produkt::PRODUKTID, "100");
  ASSERT_TRUE(products.Fetch(records::produkt::kIDKey, probe, found).ok());
  ASSERT_TRUE(products.Delete(products.position()).ok());

  RecordingPagePrinter printer;
  ReportRun run(A5Report::kSimple, context_, printer, today_);
  ASSERT_TRUE(run.Start().ok());
  EXPECT_EQ(run.total(), 2);
  while (*run.PrintNext()) {
  }
  ASSERT_TRUE(run.Finish().ok());
  EXPECT_EQ(run.percent(), 100);
  ASSERT_EQ(run.skipped().size(), 1u);
  EXPECT_EQ(run.skipped()[0].sscc, kFirst);
  EXPECT_EQ(printer.Ssccs(), std::vector<std::string>{kSecond});
  EXPECT_EQ(QueuedSsccs(), std::vector<std::string>{kFirst});
}

}  // namespace
}  // namespace paltrix::a5
