#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/a5/ui/preview_window.h"
#include "app/records/a5etiket.h"
#include "app/ui/print/mixed_pallet_window.h"
#include "app/ui/print/print_data_dialog.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/print/print_window_fixture.h"
#include "tests/support/child_process.h"

namespace paltrix::app::print::testing {
namespace {

using ::testing::HasSubstr;

// The page formats from the windows: the labels are queued and the queue is
// printed as A5 pages to the settings' "Printer", here a PDF file.
class PagePrintWindowsTest : public PrintWindowTest {
 protected:
  void SetFormat(const char* format, const std::string& printer) {
    Cli({"printer", "set", "--format", format, "--printer", printer});
  }

  int PdfPages() {
    const fs::path info = folder_ / "pdfinfo.txt";
    const pid_t child =
        paltrix::testing::SpawnProgram({"/usr/bin/pdfinfo", Pdf().string()}, {info, {}, false});
    EXPECT_EQ(paltrix::testing::WaitForExit(child), 0);
    const std::string text = paltrix::testing::ReadFileText(info);
    const std::size_t at = text.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + 6));
  }

  std::int64_t Queued() { return *(*records_->File(records::a5etiket::kSchema))->RecordCount(); }

  fs::path Pdf() const { return folder_ / "out.pdf"; }
};

// Ticks "Vis udskrift først" with Alt+V and presses Enter; the preview that
// opens is answered with its button `button`. The pages it showed.
int PrintWithPreview(QDialog& window, const char* button) {
  QApplication::setActiveWindow(&window);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
  // A mnemonic ticks the box with a short visible delay.
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return Child<QCheckBox>(window, "previewFirst").isChecked(); }));
  int previewPages = -1;
  QTimer::singleShot(0, [&previewPages, button] {
    ASSERT_TRUE(QTest::qWaitFor([] {
      return qobject_cast<a5::ui::PreviewWindow*>(QApplication::activeModalWidget()) != nullptr;
    }));
    auto* preview = qobject_cast<a5::ui::PreviewWindow*>(QApplication::activeModalWidget());
    previewPages = preview->pageCount();
    QTest::mouseClick(preview->findChild<QPushButton*>(button), Qt::LeftButton);
  });
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  return previewPages;
}

TEST_F(PagePrintWindowsTest, ClosingThePreviewPrintsNothingAndKeepsTheLabelsQueued) {
  SetFormat("standard", PrinterUrl("out.pdf"));
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(PrintWithPreview(dialog, "cancel"), 6);
  ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(presenter_.boxes().empty());
  EXPECT_FALSE(fs::exists(Pdf()));
  EXPECT_EQ(Queued(), 6);
}

TEST_F(PagePrintWindowsTest, PrintDialogPreviewsThenPrintsEveryLabelAsAPage) {
  SetFormat("standard", PrinterUrl("out.pdf"));
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

  QSpinBox& pallets = Child<QSpinBox>(dialog, "pallets");
  pallets.setFocus();
  QTest::keyClick(&pallets, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(&pallets, "2");
  // The preview check follows the pallets in the tab order.
  QTest::keyClick(&pallets, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), &Child<QCheckBox>(dialog, "previewFirst"));
  paltrix::testing::SaveScreenshot(dialog, "print_data_dialog_pages");
  const int previewPages = PrintWithPreview(dialog, "print");
  ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }));

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(presenter_.boxes().empty());
  EXPECT_EQ(previewPages, 4);
  EXPECT_EQ(PdfPages(), 4);  // 2 pallets × 2 labels
  EXPECT_EQ(Queued(), 0);
}

TEST_F(PagePrintWindowsTest, LabelsLeftQueuedByAFailedRunPrintWithTheNextDirectPrint) {
  SetFormat("limited", "no-such-queue");
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&Child<QSpinBox>(dialog, "pallets"), Qt::Key_Return);
  ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }));
  ASSERT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_THAT(presenter_.boxes()[0].text, HasSubstr("no-such-queue"));
  EXPECT_THAT(presenter_.boxes()[0].text, HasSubstr("stående i køen"));
  EXPECT_EQ(Queued(), 6);  // 3 pallets × 2 labels
  EXPECT_FALSE(fs::exists(Pdf()));

  // F6 prints without a preview: the six left over and six of its own.
  SetFormat("mixed", PrinterUrl("out.pdf"));
  LoadProduct("0042");
  QWidget catalogue;
  PrintDirect(catalogue, *records_, 0, "0042", services());
  EXPECT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_EQ(PdfPages(), 12);
  EXPECT_EQ(Queued(), 0);
}

// The mixed-pallet window keeps the week in the best-before field, which a
// page cannot print as a date: the run is refused before any SSCC is spent
// and the window stays open for another try.
TEST_F(PagePrintWindowsTest, MixedPalletWindowRefusesAPageRunWithTheWeekAsDate) {
  SetFormat("standard", PrinterUrl("out.pdf"));
  LoadProduct("0042");
  MixedPalletWindow window(*records_, 2, services());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(Child<QCheckBox>(window, "previewFirst").isVisible());
  QTest::keyClick(&Child<QPushButton>(window, "print"), Qt::Key_Space);
  ASSERT_TRUE(WaitFor([&] { return !presenter_.boxes().empty(); }));
  EXPECT_THAT(presenter_.boxes()[0].text, HasSubstr("best-before"));
  ASSERT_TRUE(WaitFor([&] { return Child<QPushButton>(window, "print").isEnabled(); }));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_EQ(Queued(), 0);
  EXPECT_FALSE(fs::exists(Pdf()));
  QTest::keyClick(&Child<QPushButton>(window, "cancel"), Qt::Key_Escape);
}

}  // namespace
}  // namespace paltrix::app::print::testing
