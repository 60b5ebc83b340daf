// The operator's road through the windows, keys and clicks only: the frame,
// F2, locating a product, F4 and the print dialog, F6, with the streams
// compared byte for byte with what paltrix-cli prints for the same values.

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

#include "app/ui/catalogue_print_windows.h"
#include "app/ui/main_frame.h"
#include "app/ui/product_catalogue_window.h"
#include "app/ui/window_procedures.h"
#include "framework/fields/record_codec.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/print/print_window_fixture.h"

namespace paltrix::app::print::testing {
namespace {

using ::testing::HasSubstr;

// While alive, hands the modal window named `objectName` to `drive` once it
// opens (a modal window runs its own event loop, which would block the test).
class ModalWindowDriver {
 public:
  ModalWindowDriver(const char* objectName, std::function<void(QWidget&)> drive)
      : objectName_(objectName), drive_(std::move(drive)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal->objectName() != objectName_) return;
      timer_.stop();
      driven_ = true;
      // Offscreen, a window that opens is not made the active one by itself;
      // its keyboard shortcuts need it to be.
      QApplication::setActiveWindow(modal);
      static_cast<void>(QTest::qWaitForWindowActive(modal));
      drive_(*modal);
    });
    timer_.start(10);
  }
  bool driven() const { return driven_; }

 private:
  QString objectName_;
  std::function<void(QWidget&)> drive_;
  QTimer timer_;
  bool driven_ = false;
};

void Retype(QWidget& entry, const QString& text) {
  QTest::keyClick(&entry, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(&entry, text);
}

class OperatorRoadTest : public PrintWindowTest {};

TEST_F(OperatorRoadTest, FrameToPrintedLabelsLikeTheCommandLineWithTheProductUnchanged) {
  const std::vector<char> storedProduct = StoredProduct("0042");
  CataloguePrintWindows printWindows(services());
  WindowProcedures procedures(printWindows);
  MainFrame frame(clock_, procedures, *registry_);
  frame.show();
  QApplication::setActiveWindow(&frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

  bool dialogPrinted = false;
  ModalWindowDriver catalogueDriver("ProductCatalogue", [&](QWidget& window) {
    auto& catalogue = static_cast<ProductCatalogueWindow&>(window);
    auto* tabs = catalogue.findChild<QTabBar*>("SortTabs");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QTest::keyClicks(&catalogue.list(), "to");  // "Torsk", product 0042
    paltrix::testing::SaveScreenshot(catalogue, "operator_catalogue");

    ModalWindowDriver dialogDriver("PrintDataDialog", [&](QWidget& dialog) {
      Retype(Child<QSpinBox>(dialog, "count"), "55");
      Retype(Child<QLineEdit>(dialog, "batch"), "B77");
      Retype(Child<QSpinBox>(dialog, "pallets"), "2");
      paltrix::testing::SaveScreenshot(dialog, "operator_print_data");
      QTest::keyClick(&Child<QSpinBox>(dialog, "pallets"), Qt::Key_Return);
      dialogPrinted = true;
    });
    QTest::keyClick(&catalogue, Qt::Key_F4);
    ASSERT_TRUE(dialogDriver.driven());
    // No label service is configured: the dialog closes at once after printing.
    ASSERT_TRUE(WaitFor([] {
      return QApplication::activeModalWidget() != nullptr &&
             QApplication::activeModalWidget()->objectName() == "ProductCatalogue";
    }));
    QApplication::setActiveWindow(&catalogue);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&catalogue));
    QTest::keyClick(&catalogue, Qt::Key_F6);
    QTest::keyClick(&catalogue.list(), Qt::Key_Escape);
  });
  QTest::keyClick(&frame, Qt::Key_F2);
  ASSERT_TRUE(catalogueDriver.driven());
  ASSERT_TRUE(dialogPrinted);
  EXPECT_TRUE(presenter_.boxes().empty());
  EXPECT_EQ(StoredProduct("0042"), storedProduct) << "the print dialog does not store the product";
  const std::string printedByWindows = Labels();

  // The same runs from the command line: the dialog's values, then the
  // direct print's defaults (the company's 3 pallets, today + shelf life).
  ResetSerial();
  Cli({"product", "change", "--id", "0042", "--count", "55"});
  Cli({"print", "--product", "0042", "--batch", "B77", "--pallets", "2", "--printer",
       PrinterUrl("cli.zpl")});
  Cli({"product", "change", "--id", "0042", "--count", "40"});
  Cli({"print", "--product", "0042", "--printer", PrinterUrl("cli.zpl")});
  ASSERT_THAT(printedByWindows, HasSubstr("B77"));
  EXPECT_EQ(printedByWindows, Labels("cli.zpl"));
}

}  // namespace
}  // namespace paltrix::app::print::testing
