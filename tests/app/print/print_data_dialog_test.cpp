#include "app/ui/print/print_data_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/records/printer_file.h"
#include "app/ui/print/record_entry.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/print/print_window_fixture.h"

namespace paltrix::app::print::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Replaces the text of the focused entry by typing.
void Retype(QWidget& entry, const QString& text) {
  QTest::keyClick(&entry, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(&entry, text);
}

class PrintDataDialogTest : public PrintWindowTest {};

TEST_F(PrintDataDialogTest, OpensWithTheProductAndDefaultsInTabOrder) {
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  paltrix::testing::SaveScreenshot(dialog, "print_data_dialog");

  EXPECT_EQ(dialog.windowTitle(), "Print data");
  EXPECT_EQ(Child<QLineEdit>(dialog, "productId").text(), "0042");
  EXPECT_EQ(Child<QLineEdit>(dialog, "productName").text(), "Torsk");
  EXPECT_EQ(Child<QLineEdit>(dialog, "orderNumber").text(), "A1");
  EXPECT_EQ(Child<QSpinBox>(dialog, "count").value(), 40);
  EXPECT_EQ(DayNumberOfDate(Child<QDateEdit>(dialog, "bestBefore").date()), clock_.Today() + 10);
  EXPECT_EQ(Child<QSpinBox>(dialog, "labelsPerPallet").value(), 2);
  EXPECT_EQ(Child<QSpinBox>(dialog, "pallets").value(), 3);
  EXPECT_EQ(Child<QPushButton>(dialog, "print").property("controlNumber").toInt(), 10);
  EXPECT_FALSE(Child<QGroupBox>(dialog, "ai90Group").isVisible());

  // The AI90 group is hidden, so its check box is not in the walk.
  EXPECT_THAT(TabWalk(dialog, 11),
              ElementsAre("productId", "productName", "orderNumber", "count", "bestBefore", "batch",
                          "netWeight", "labelsPerPallet", "pallets", "print", "cancel"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PrintDataDialogTest, Ai90GroupOnlyForThe6InchFormatAndFollowsTheProductId) {
  AppendToSettingsIni("IDAI90=1\r\n");
  for (const char* format : {"zpl4", "standard", "limited", "mixed"}) {
    Cli({"printer", "set", "--format", format});
    PrintDataDialog dialog(*records_, 0, services());
    dialog.show();
    EXPECT_FALSE(Child<QGroupBox>(dialog, "ai90Group").isVisible()) << format;
  }

  Cli({"printer", "set", "--format", "zpl6"});
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_TRUE(Child<QGroupBox>(dialog, "ai90Group").isVisible());
  QCheckBox& flag = Child<QCheckBox>(dialog, "ai90Flag");
  QLineEdit& ai90 = Child<QLineEdit>(dialog, "ai90Text");
  EXPECT_TRUE(flag.isChecked());
  EXPECT_EQ(ai90.text(), "0042");
  paltrix::testing::SaveScreenshot(dialog, "print_data_dialog_6_inch");

  QLineEdit& id = Child<QLineEdit>(dialog, "productId");
  id.setFocus();
  QTest::keyClick(&id, Qt::Key_End);
  QTest::keyClicks(&id, "7");
  EXPECT_EQ(ai90.text(), "00427");

  // With the flag off the AI90 text keeps what it had.
  flag.setFocus();
  QTest::keyClick(&flag, Qt::Key_Space);
  EXPECT_FALSE(flag.isChecked());
  id.setFocus();
  QTest::keyClick(&id, Qt::Key_Backspace);
  EXPECT_EQ(ai90.text(), "00427");
}

TEST_F(PrintDataDialogTest, PrintsWhatTheCommandLinePrintsAndLeavesTheProductAsStored) {
  const std::vector<char> storedProduct = StoredProduct("0042");
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

  // The Printer record is written back before the print.
  fs::remove(folder_ / "SPTIGER.DAT");
  Retype(Child<QLineEdit>(dialog, "batch"), "B77");
  Retype(Child<QDoubleSpinBox>(dialog, "netWeight"), "12,5");
  Retype(Child<QSpinBox>(dialog, "pallets"), "2");
  QTest::keyClick(&Child<QSpinBox>(dialog, "pallets"), Qt::Key_Return);
  ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(presenter_.boxes().empty());
  EXPECT_EQ(paltrix::testing::ReadFileText(folder_ / "SPTIGER.DAT").size(),
            records::printer::kRecordLength);

  const std::string printed = Labels();
  ASSERT_THAT(printed, HasSubstr("B77"));
  EXPECT_EQ(StoredProduct("0042"), storedProduct);

  ResetSerial();
  Cli({"print", "--product", "0042", "--batch", "B77", "--weight", "12.5", "--pallets", "2",
       "--printer", PrinterUrl("cli.zpl")});
  EXPECT_EQ(printed, Labels("cli.zpl"));
}

TEST_F(PrintDataDialogTest, LabelsThatDoNotReachThePrinterAreNamedWithPrinterAndSscc) {
  const std::string missing = PrinterUrl("no-such-folder/labels.zpl");
  Cli({"printer", "set", "--printer", missing});
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  QTest::keyClick(&Child<QPushButton>(dialog, "print"), Qt::Key_Space);
  ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }));

  ASSERT_EQ(presenter_.boxes().size(), 1U);
  const QStringList lines = QString::fromStdString(presenter_.boxes().front().text).split('\n');
  // Three pallets, none printed, each named: the run went on after the first.
  ASSERT_EQ(lines.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(
        lines[i].startsWith(QStringLiteral("Etiketten med SSCC 57012345000000%1").arg(101 + i)))
        << lines[i].toStdString();
    EXPECT_TRUE(lines[i].contains(
        QStringLiteral(" nåede ikke printeren \"%1\"").arg(QString::fromStdString(missing))))
        << lines[i].toStdString();
  }
}

TEST_F(PrintDataDialogTest, StaysOpenAndShowsThePalletWhileA6InchRunPauses) {
  Cli({"printer", "set", "--format", "zpl6", "--wait", "1"});
  LoadProduct("0042");
  PrintDataDialog dialog(*records_, 0, services());
  dialog.show();
  Retype(Child<QSpinBox>(dialog, "pallets"), "2");
  QTest::keyClick(&Child<QSpinBox>(dialog, "pallets"), Qt::Key_Return);

  QLabel& progress = Child<QLabel>(dialog, "progress");
  ASSERT_TRUE(
      WaitFor([&] { return progress.text().startsWith("Sender palle 1 af 2 (SSCC 57012345"); }));
  EXPECT_TRUE(dialog.busy());
  QTest::keyClick(&dialog, Qt::Key_Escape);  // no closing in the middle of a run
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_TRUE(WaitFor([&] { return progress.text().startsWith("Sender palle 2 af 2"); }));
  ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace paltrix::app::print::testing
