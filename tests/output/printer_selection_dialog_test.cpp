#include "output/ui/printer_selection_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "output/raw_printer.h"
#include "output/ui/qt_printer_chooser.h"
#include "tests/output/fake_spooler.h"

namespace paltrix::output {
namespace {

const PrinterList kPrinters = {
    {"Kontor on ipp://kontor.local/ipp/print", "Kontor"},
    {"Zebra-Pakkeri on socket://10.0.0.7:9100", "Zebra-Pakkeri"},
    {"Zebra-Lager on socket://10.0.0.8:9100", "Zebra-Lager"},
};

void SaveScreenshot(QWidget& window, const QString& name) {
  window.grab().save(QStringLiteral(PALTRIX_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

QTreeWidget& ListOf(QWidget& dialog) {
  auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("printerList"));
  EXPECT_NE(list, nullptr);
  return *list;
}

QPushButton& Button(QWidget& dialog, const char* name) {
  auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  EXPECT_NE(button, nullptr) << name;
  return *button;
}

// Acts on the modal window once it is shown (the chooser blocks in exec()).
void WhenModalShown(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr) << "the selection window was not shown";
    act(*modal);
  });
}

TEST(PrinterSelectionDialog, ShowsTheListWithTheDefaultPreselectedAndConfirmsTheChosenRow) {
  PrinterSelectionDialog dialog(kPrinters, 1);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vælg Printer"));
  QTreeWidget& list = ListOf(dialog);
  EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Show Name"));
  ASSERT_EQ(list.topLevelItemCount(), 3);
  EXPECT_EQ(list.topLevelItem(0)->text(0),
            QStringLiteral("Kontor on ipp://kontor.local/ipp/print"));
  EXPECT_EQ(list.currentIndex().row(), 1);
  SaveScreenshot(dialog, QStringLiteral("printer_selection"));

  QTest::keyClick(&list, Qt::Key_Down);
  QTest::mouseClick(&Button(dialog, "okButton"), Qt::LeftButton);

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chosenRow(), std::optional<std::size_t>(2));
}

class SelectPrinterWindowTest : public ::testing::Test {
 protected:
  SelectPrinterWindowTest() {
    for (const PrinterListRow& row : kPrinters) {
      spooler_.destinations.push_back({row.PRINTERNAME,
                                       row.SHOWNAME.substr(row.SHOWNAME.find(" on ") + 4),
                                       row.PRINTERNAME == "Zebra-Pakkeri"});
    }
    printer_.Init();
  }

  testing::FakeSpooler spooler_;
  QtPrinterChooser chooser_;
  RawPrinter printer_{spooler_, SystemClock(), &chooser_};
  std::string destination_ = "Gammel";
};

TEST_F(SelectPrinterWindowTest, DoubleClickChoosesThatPrinter) {
  WhenModalShown([](QWidget& dialog) {
    QTreeWidget& list = ListOf(dialog);
    const QRect row = list.visualItemRect(list.topLevelItem(2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row.center());
  });

  EXPECT_EQ(printer_.SelectPrinter(80, destination_), kPrinterDone);
  EXPECT_EQ(destination_, "Zebra-Lager");
}

TEST_F(SelectPrinterWindowTest, EnterConfirmsThePreselectedDefault) {
  WhenModalShown([](QWidget& dialog) { QTest::keyClick(&ListOf(dialog), Qt::Key_Return); });

  EXPECT_EQ(printer_.SelectPrinter(6, destination_), kPrinterDone);
  EXPECT_EQ(destination_, "Zebra");
}

TEST_F(SelectPrinterWindowTest, CancelLeavesTheDestinationAndReturnsNoChoice) {
  WhenModalShown(
      [](QWidget& dialog) { QTest::mouseClick(&Button(dialog, "cancelButton"), Qt::LeftButton); });

  EXPECT_EQ(printer_.SelectPrinter(80, destination_), kPrinterNoChoice);
  EXPECT_EQ(destination_, "Gammel");
}

TEST_F(SelectPrinterWindowTest, ClosingTheWindowIsNoChoice) {
  WhenModalShown([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });

  EXPECT_EQ(printer_.SelectPrinter(80, destination_), kPrinterNoChoice);
  EXPECT_EQ(destination_, "Gammel");
}

}  // namespace
}  // namespace paltrix::output
