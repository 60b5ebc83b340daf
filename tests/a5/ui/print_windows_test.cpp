#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/a5/ui/page_output.h"
#include "app/a5/ui/preview_window.h"
#include "app/a5/ui/print_progress_window.h"
#include "app/a5/ui/queued_label_printing.h"
#include "tests/a5/a5_queue_fixture.h"
#include "tests/a5/ui/page_decoding.h"

namespace paltrix::a5::ui {
namespace {

const std::filesystem::path kPages = PALTRIX_PAGE_DIR;

void SaveScreenshot(QWidget& window, const char* name) {
  window.grab().save(QString::fromStdString((kPages / name).string()));
}

// Paints into a PDF file and lets the test act after each page.
class PdfPagesWithHook final : public PagePrinter {
 public:
  PdfPagesWithHook(const std::filesystem::path& pdf, errors::ErrorManager& errors)
      : output_(std::move(OpenPageOutput(A5Report::kStandard, "file://" + pdf.string(), errors))
                    .value()) {}
  Status PrintPage(const PagePlan& page) override {
    const Status status = output_->PrintPage(page);
    ++pages;
    if (afterPage) afterPage(pages);
    return status;
  }
  Status Finish() override { return output_->Finish(); }

  int pages = 0;
  std::function<void(int)> afterPage;

 private:
  std::unique_ptr<PagePrinter> output_;
};

class PrintWindowsTest : public testing::A5QueueTest {
 protected:
  PrintSetup Setup(const std::filesystem::path& pdf) {
    return {context_, "file://" + pdf.string(), today_, errors_};
  }
};

TEST_F(PrintWindowsTest, CancelAfterTwoPagesKeepsTheRestForTheNextRun) {
  ASSERT_TRUE(Queue(2, 3).status.ok());
  const std::filesystem::path cancelledPdf = kPages / "cancelled_run.pdf";
  {
    PdfPagesWithHook pages(cancelledPdf, errors_);
    ReportRun run(A5Report::kStandard, context_, pages, today_);
    ASSERT_TRUE(run.Start().ok());
    PrintProgressWindow window(run, A5Report::kStandard);
    EXPECT_EQ(window.windowTitle(), "Udskriver...");
    pages.afterPage = [&](int page) {
      if (page == 1) SaveScreenshot(window, "progress_window.png");
      if (page == 2) QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    };
    const ReportOutcome outcome = window.Run();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.status.ok()) << outcome.status.ToString();
    EXPECT_EQ(outcome.printed, 2);
  }
  EXPECT_EQ(testing::PdfPageCount(cancelledPdf), 2);
  EXPECT_EQ(QueuedSsccs().size(), 4u);

  const std::filesystem::path nextPdf = kPages / "next_run.pdf";
  HeadlessReportPrinting next(Setup(nextPdf));
  const ReportOutcome outcome = next.PrintQueuedLabels(A5Report::kStandard);
  EXPECT_TRUE(outcome.status.ok()) << outcome.status.ToString();
  EXPECT_EQ(outcome.printed, 4);
  EXPECT_EQ(testing::PdfPageCount(nextPdf), 4);
  EXPECT_TRUE(QueuedSsccs().empty());
}

TEST_F(PrintWindowsTest, PreviewShowsTheQueueAndOnlyItsPrintButtonPrints) {
  ASSERT_TRUE(Queue(2, 3).status.ok());
  const std::filesystem::path pdf = kPages / "previewed_run.pdf";
  std::filesystem::remove(pdf);
  WindowReportPrinting printing(Setup(pdf), nullptr, /*previewFirst=*/true);

  int previewPages = -1;
  const auto answerPreview = [&](const char* button) {
    QTimer::singleShot(0, [&previewPages, button] {
      auto* preview = qobject_cast<PreviewWindow*>(QApplication::activeModalWidget());
      ASSERT_NE(preview, nullptr);
      previewPages = preview->pageCount();
      SaveScreenshot(*preview, "preview_window.png");
      QTest::mouseClick(preview->findChild<QPushButton*>(button), Qt::LeftButton);
    });
  };

  answerPreview("cancel");
  EXPECT_TRUE(printing.PrintQueuedLabels(A5Report::kSimple).cancelled);
  EXPECT_EQ(previewPages, 6);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_EQ(QueuedSsccs().size(), 6u);

  answerPreview("print");
  const ReportOutcome outcome = printing.PrintQueuedLabels(A5Report::kSimple);
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_TRUE(outcome.status.ok()) << outcome.status.ToString();
  EXPECT_EQ(testing::PdfPageCount(pdf), 6);
  EXPECT_TRUE(QueuedSsccs().empty());
  EXPECT_TRUE(presenter_.boxes().empty());
}

TEST_F(PrintWindowsTest, AnUnknownPrinterIsToldAndTheLabelsStayQueued) {
  ASSERT_TRUE(Queue(1, 2).status.ok());
  PrintSetup setup = Setup("/unused");
  setup.printerName = "no-such-queue";
  WindowReportPrinting printing(setup, nullptr, /*previewFirst=*/false);
  const ReportOutcome outcome = printing.PrintQueuedLabels(A5Report::kMix);
  EXPECT_EQ(outcome.status.code(), ErrorCode::kInvalidValue);
  ASSERT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_NE(presenter_.boxes()[0].text.find("no-such-queue"), std::string::npos);
  EXPECT_EQ(QueuedSsccs().size(), 2u);
}

}  // namespace
}  // namespace paltrix::a5::ui
