#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/settings/printer_settings.h"
#include "app/ui/print/mixed_pallet_window.h"
#include "app/ui/print/print_windows.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/print/print_window_fixture.h"

namespace paltrix::app::print::testing {
namespace {

using ::testing::ElementsAre;

class MixedAndDirectPrintTest : public PrintWindowTest {};

TEST_F(MixedAndDirectPrintTest, MixedPalletWindowInWeekFive) {
  clock_.Set({.date = {2027, 2, 3}, .hour = 9});  // Wednesday of ISO week 5
  AppendToSettingsIni("BlOPicture=@n03\r\n");
  LoadProduct("0042");
  MixedPalletWindow window(*records_, 2, services());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  paltrix::testing::SaveScreenshot(window, "mixed_pallet_window");

  EXPECT_EQ(window.windowTitle(), "Print data");
  EXPECT_EQ(Child<QSpinBox>(window, "week").value(), 5);
  EXPECT_EQ(Child<QLineEdit>(window, "mixNumber").text(), "1");
  EXPECT_EQ(Child<QLineEdit>(window, "caption").text(), "Mix Cont. Nr");
  EXPECT_EQ(Child<QSpinBox>(window, "pallets").value(), 3);
  EXPECT_EQ(Child<QLineEdit>(window, "productName").text(), "Torsk");
  EXPECT_EQ(Child<QLineEdit>(window, "mixNumber").maxLength(), 1);  // "@n01"
  QLineEdit& flowerOrder = Child<QLineEdit>(window, "flowerOrderNumber");
  flowerOrder.clear();
  QTest::keyClicks(&flowerOrder, "12x345");
  EXPECT_EQ(flowerOrder.text(), "123");  // "@n03": three digits

  Child<QLineEdit>(window, "mixNumber").setFocus();
  EXPECT_THAT(TabWalk(window, 8),
              ElementsAre("mixNumber", "caption", "print", "week", "flowerOrderNumber", "pallets",
                          "productName", "cancel"));

  // An accepted caption goes to the settings file at once.
  QLineEdit& caption = Child<QLineEdit>(window, "caption");
  caption.setFocus();
  QTest::keyClick(&caption, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(&caption, "Blandet");
  QTest::keyClick(&caption, Qt::Key_Tab);
  Result<settings::PrinterSettings> ini = settings::ReadPrinterSettings(folder_ / "splab.ini");
  ASSERT_TRUE(ini.ok());
  EXPECT_EQ(ini->mixedPalletCaption, "Blandet");

  QTest::keyClick(&Child<QPushButton>(window, "print"), Qt::Key_Space);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_TRUE(presenter_.boxes().empty());
  // The mixed-pallet label with the caption as typed.
  const std::string printed = Labels();
  EXPECT_NE(printed.find("Blandet"), std::string::npos);
}

TEST_F(MixedAndDirectPrintTest, DirectPrintMatchesTheCommandLineWithTheStoredDefaults) {
  LoadProduct("0042");
  QWidget catalogue;
  PrintDirect(catalogue, *records_, 0, "0042", services());
  EXPECT_TRUE(presenter_.boxes().empty());
  const std::string printed = Labels();
  ASSERT_FALSE(printed.empty());

  ResetSerial();
  Cli({"print", "--product", "0042", "--printer", PrinterUrl("cli.zpl")});
  EXPECT_EQ(printed, Labels("cli.zpl"));
}

TEST_F(MixedAndDirectPrintTest, DirectPrintShowsThePalletsWhileA6InchRunPauses) {
  Cli({"printer", "set", "--format", "zpl6", "--wait", "1"});
  Cli({"company", "set", "--pallets", "2"});
  LoadProduct("0042");
  QString shown;
  paltrix::testing::ModalWindowWatcher watcher([&](QWidget& window) {
    QLabel& progress = Child<QLabel>(window, "progress");
    WaitFor([&] { return progress.text().startsWith("Sender palle"); });
    shown = progress.text();
    paltrix::testing::SaveScreenshot(window, "direct_print_window");
  });
  QWidget catalogue;
  PrintDirect(catalogue, *records_, 0, "0042", services());
  EXPECT_TRUE(watcher.seen());
  EXPECT_TRUE(shown.startsWith("Sender palle 1 af 2 (SSCC 57012345")) << shown.toStdString();
  EXPECT_TRUE(presenter_.boxes().empty());
  EXPECT_FALSE(Labels().empty());
}

}  // namespace
}  // namespace paltrix::app::print::testing
