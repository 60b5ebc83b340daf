#include "app/ui/settings_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <set>
#include <sstream>

#include "app/gs1/sscc_allocator.h"
#include "app/ui/catalogue_print_windows.h"
#include "app/ui/product_catalogue_window.h"
#include "app/ui/product_list_model.h"
#include "app/ui/window_record_context.h"
#include "framework/text/windows1252.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/window_test_fixture.h"
#include "tests/cli/cli_runner.h"
#include "tests/output/fake_spooler.h"
#include "tests/support/file_text.h"

namespace paltrix::app {
namespace {

using testing::Control;

namespace firma = records::firma;
namespace printer = records::printer;

class SettingsWindowTest : public testing::WindowTest {
 protected:
  static void Retype(QLineEdit& entry, const QString& text) {
    entry.setFocus();
    entry.selectAll();
    QTest::keyClick(&entry, Qt::Key_Delete);
    QTest::keyClicks(&entry, text);
    QTest::keyClick(&entry, Qt::Key_Tab);
  }

  static void ShowTab(SettingsWindow& window, int tab) {
    auto& tabs = Control<QTabWidget>(window, "SettingsTabs");
    QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
    while (tabs.currentIndex() != tab) QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
  }

  static void PressOk(SettingsWindow& window) {
    QTest::mouseClick(&Control<QPushButton>(window, "OkButton"), Qt::LeftButton);
  }

  static void Retype(QSpinBox& entry, const QString& text) {
    entry.setFocus();
    entry.selectAll();
    QTest::keyClicks(&entry, text);
    QTest::keyClick(&entry, Qt::Key_Tab);
  }

  // The catalogue that "Produkt katalog" opened beside the window.
  static ProductCatalogueWindow* OpenedCatalogue() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() == "ProductCatalogue" && window->isVisible()) {
        return static_cast<ProductCatalogueWindow*>(window);
      }
    }
    return nullptr;
  }

  static ProductCatalogueWindow& OpenCatalogueFrom(SettingsWindow& window) {
    QTest::mouseClick(&Control<QPushButton>(window, "CatalogueButton"), Qt::LeftButton);
    ProductCatalogueWindow* catalogue = OpenedCatalogue();
    EXPECT_NE(catalogue, nullptr);
    Activate(*catalogue);
    return *catalogue;
  }

  // Presses F4 on the catalogue and returns the run counts the print dialog
  // proposed: {pallets, labels per pallet}.
  static std::pair<int, int> CountsProposedOnF4(ProductCatalogueWindow& catalogue,
                                                const QString& screenshot) {
    std::pair<int, int> counts{-1, -1};
    testing::ModalWindowWatcher dialog([&](QWidget& printData) {
      EXPECT_EQ(printData.objectName(), "PrintDataDialog");
      counts = {Control<QSpinBox>(printData, "pallets").value(),
                Control<QSpinBox>(printData, "labelsPerPallet").value()};
      testing::SaveScreenshot(printData, screenshot);
    });
    QTest::keyClick(&catalogue.list(), Qt::Key_F4);
    EXPECT_TRUE(dialog.seen());
    return counts;
  }

  testing::RecordingPrinting printing_;
};

TEST_F(SettingsWindowTest, OkWritesThePrinterRecordTheSenderAndTheSixIniKeys) {
  SetPrinter("ZPL 4\"", 8);
  SetSender(5790001, 41);
  SettingsWindow window(files_, printing_);
  Activate(window);
  EXPECT_EQ(window.windowTitle(), "Firma data");
  EXPECT_EQ(Control(window, "Gs1Prefix").text(), "05790001");
  EXPECT_EQ(Control(window, "Serial").text(), "000000041");

  Retype(Control(window, "Company"), QString::fromUtf8("Grønt Lager ApS"));
  ShowTab(window, 1);
  Retype(Control(window, "PrinterName"), "file:///tmp/labels.zpl");
  QTest::keyClick(&Control<QComboBox>(window, "PrinterType"), Qt::Key_Down);  // ZPL 6"
  QTest::keyClick(&Control<QComboBox>(window, "Dots"), Qt::Key_Down);         // 12
  // The two speed lists share PRI:SPEED: a named speed clears the rate.
  QTest::keyClick(&Control<QComboBox>(window, "SpeedName"), Qt::Key_Down);  // HIGH
  EXPECT_EQ(Control<QComboBox>(window, "Speed").currentText(), "");
  auto& wait = Control<QSpinBox>(window, "WaitSeconds");
  wait.selectAll();
  QTest::keyClicks(&wait, "3");
  auto& top = Control<QSpinBox>(window, "TopMargin");
  top.selectAll();
  QTest::keyClicks(&top, "-15");
  ShowTab(window, 2);
  Retype(Control(window, "Gs1Prefix"), "5790002");
  EXPECT_EQ(Control(window, "Gs1Prefix").text(), "05790002");
  auto& idToAi90 = Control<QCheckBox>(window, "IdToAi90");
  QTest::mouseClick(&idToAi90, Qt::LeftButton, {}, QPoint(6, idToAi90.height() / 2));
  auto& labels = Control<QSpinBox>(window, "LabelsPerPallet");
  labels.selectAll();
  QTest::keyClicks(&labels, "4");
  testing::SaveScreenshot(window, "settings_sscc");
  PressOk(window);
  EXPECT_FALSE(window.isVisible());

  records::PrinterRecord stored;
  ASSERT_TRUE(stored.Read(folder_ / "SPTIGER.DAT").ok());
  EXPECT_EQ(text::TrimRight(fields::ReadText(stored.image(), printer::PRINTER)), "ZPL 6\"");
  EXPECT_EQ(fields::ReadLong(stored.image(), printer::DOTS), 12);
  EXPECT_EQ(text::TrimRight(fields::ReadText(stored.image(), printer::SPEED)), "HIGH");
  EXPECT_EQ(fields::ReadByte(stored.image(), printer::ANTALDETLAB), 4);

  const storage::Record sender = StoredSender();
  EXPECT_EQ(text::TrimRight(fields::ReadText(sender.image, firma::NAVN)), "Gr\xF8nt Lager ApS");
  EXPECT_EQ(fields::ReadLong(sender.image, firma::SSCCNR), 5790002);
  EXPECT_EQ(fields::ReadLong(sender.image, firma::SS), 41);

  // The INI file did not exist: OK creates it with the six keys in order.
  EXPECT_EQ(testing::ReadFileText(folder_ / "splab.ini"),
            "[Printer]\nPrinter=file:///tmp/labels.zpl\nTMarg=-15\nLMarg=0\nIDAI90=1\n"
            "WideNarrow=0\nWAIT=3\n");
}

TEST_F(SettingsWindowTest, ZplAdjustmentsAreShownOnlyForTheZplTypes) {
  SetPrinter("Standard", 8);
  SetSender(5790001, 1);
  SettingsWindow window(files_, printing_);
  Activate(window);
  ShowTab(window, 1);
  auto& type = Control<QComboBox>(window, "PrinterType");
  EXPECT_EQ(type.currentText(), "Standard");
  const char* adjustments[] = {"TopMargin",  "Speed",      "Contrast",       "StartAdjustment",
                               "LeftMargin", "Resistance", "StopAdjustment", "Dots"};
  for (const char* name : adjustments) {
    EXPECT_FALSE(window.findChild<QWidget*>(name)->isVisible()) << name;
  }
  EXPECT_TRUE(Control<QSpinBox>(window, "WaitSeconds").isVisible());
  QTest::keyClick(&type, Qt::Key_Up);
  QTest::keyClick(&type, Qt::Key_Up);
  EXPECT_EQ(type.currentText(), "ZPL 4\"");
  for (const char* name : adjustments) {
    EXPECT_TRUE(window.findChild<QWidget*>(name)->isVisible()) << name;
  }
  testing::SaveScreenshot(window, "settings_printer_zpl");
  for (int i = 0; i < 3; ++i) QTest::keyClick(&type, Qt::Key_Down);
  EXPECT_EQ(type.currentText(), "Limited");
  EXPECT_FALSE(Control<QSpinBox>(window, "TopMargin").isVisible());
}

// The window holds the sender record from the moment it opens; prints made
// meanwhile, here and at another station, must keep their SSCCs when OK
// writes it back.
TEST_F(SettingsWindowTest, OkAfterPrintsElsewhereHandsOutNoSsccTwice) {
  SetPrinter("ZPL 4\"", 8);
  SetSender(5790001, 100);
  AddProduct("1001", "Vare", "05701234567899");
  const std::string printerUri = "file://" + (folder_ / "labels.zpl").string();
  {
    std::ofstream ini(folder_ / "splab.ini");
    ini << "[Printer]\r\nPrinter=" << printerUri << "\r\n";
  }
  std::vector<std::string> ssccs;
  auto printFromCli = [&](int pallets) {
    const cli::testing::CliResult run = cli::testing::RunCli(
        folder_.path(), {"print", "--product", "1001", "--pallets", std::to_string(pallets)});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) ssccs.push_back(line);
  };

  SettingsWindow window(files_, printing_);
  Activate(window);
  printFromCli(2);
  records::RecordContext printing(files_);
  Result<std::string> sscc =
      gs1::AllocateSSCC(*printing.File(firma::kSchema).value(), printing.Buffer(firma::kSchema));
  ASSERT_TRUE(sscc.ok());
  ssccs.push_back(*sscc);

  Retype(Control(window, "Company"), "Nyt navn");
  PressOk(window);
  EXPECT_FALSE(window.isVisible());
  printFromCli(2);

  ASSERT_EQ(ssccs.size(), 5u);
  EXPECT_EQ(std::set<std::string>(ssccs.begin(), ssccs.end()).size(), 5u);
  const storage::Record sender = StoredSender();
  EXPECT_EQ(fields::ReadLong(sender.image, firma::SS), 105);
  EXPECT_EQ(text::TrimRight(fields::ReadText(sender.image, firma::NAVN)), "Nyt navn");
}

TEST_F(SettingsWindowTest, ALowerSerialIsWrittenOnlyAfterTheOperatorConfirmsIt) {
  SetSender(5790001, 100);
  SettingsWindow window(files_, printing_);
  Activate(window);
  ShowTab(window, 2);
  Retype(Control(window, "Serial"), "90");

  QString question;
  auto answerWith = [&](const char* answer) {
    return testing::ModalWindowWatcher([&question, answer](QWidget& box) {
      question = static_cast<QMessageBox&>(box).text();
      for (QAbstractButton* button : static_cast<QMessageBox&>(box).buttons()) {
        if (button->text() == answer) QTest::mouseClick(button, Qt::LeftButton);
      }
    });
  };
  {
    auto watcher = answerWith("&Nej");
    PressOk(window);
    ASSERT_TRUE(watcher.seen());
  }
  EXPECT_TRUE(question.contains("000000090")) << question.toStdString();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(fields::ReadLong(StoredSender().image, firma::SS), 100);
  EXPECT_EQ(Control(window, "Serial").text(), "000000100");

  Retype(Control(window, "Serial"), "90");
  {
    auto watcher = answerWith("&Ja");
    PressOk(window);
    ASSERT_TRUE(watcher.seen());
  }
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(fields::ReadLong(StoredSender().image, firma::SS), 90);
}

TEST_F(SettingsWindowTest, AllCompaniesListAddsAndDeletesCompaniesThroughTheirForm) {
  SetSender(5790001, 100);
  SettingsWindow window(files_, printing_);
  Activate(window);
  std::vector<QString> listed;
  testing::ModalWindowWatcher list([&](QWidget& companies) {
    auto& table = Control<QTableWidget>(companies, "CompanyTable");
    testing::ModalWindowWatcher form([&](QWidget& companyForm) {
      EXPECT_EQ(companyForm.windowTitle(), QString::fromUtf8("Ny/Redigér Firma"));
      QTest::keyClicks(&Control(companyForm, "Name"), "Kunde B");
      Retype(Control(companyForm, "Serial"), "7");
      testing::SaveScreenshot(companyForm, "company_form");
      QTest::mouseClick(&Control<QPushButton>(companyForm, "OkButton"), Qt::LeftButton);
    });
    QApplication::setActiveWindow(&companies);
    QTest::keyClick(&table, Qt::Key_Insert);
    ASSERT_TRUE(form.seen());
    for (int row = 0; row < table.rowCount(); ++row) listed.push_back(table.item(row, 0)->text());
    testing::SaveScreenshot(companies, "all_companies");
    presenter_.QueueAnswer(errors::kButtonYes);
    table.setCurrentCell(1, 0);
    testing::ModalWindowWatcher confirm([](QWidget& deleteForm) {
      QTest::mouseClick(&Control<QPushButton>(deleteForm, "OkButton"), Qt::LeftButton);
    });
    QTest::keyClick(&table, Qt::Key_Delete);
    EXPECT_EQ(table.rowCount(), 1);
  });
  QTest::mouseClick(&Control<QPushButton>(window, "CompaniesButton"), Qt::LeftButton);
  ASSERT_TRUE(list.seen());
  EXPECT_EQ(listed, (std::vector<QString>{"Afsender A/S", "Kunde B"}));
  // The sender is untouched by the other company's serial.
  EXPECT_EQ(fields::ReadLong(StoredSender().image, firma::SS), 100);
}

TEST_F(SettingsWindowTest, CatalogueButtonOpensItsOwnCatalogueThatClosesWithTheWindow) {
  AddProduct("1001", "Vare");
  QPointer<QWidget> catalogue;
  {
    SettingsWindow window(files_, printing_);
    Activate(window);
    catalogue = &OpenCatalogueFrom(window);
    EXPECT_EQ(catalogue->windowTitle(), "Produkt katalog");
    EXPECT_EQ(catalogue->parentWidget(), nullptr);
    EXPECT_FALSE(catalogue->isModal());
    auto* own = catalogue->findChild<WindowRecordContext*>("RecordContext");
    ASSERT_NE(own, nullptr) << "the catalogue runs with a record context of its own";
    EXPECT_NE(&own->context(), &window.context());
    EXPECT_EQ(static_cast<ProductCatalogueWindow&>(*catalogue).model().rowCount(), 1);
    testing::SaveScreenshot(*catalogue, "settings_catalogue");

    QTest::mouseClick(&Control<QPushButton>(window, "CancelButton"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return catalogue.isNull() || !catalogue->isVisible(); }));
}

TEST_F(SettingsWindowTest, ChoosePrinterPutsTheChosenNameIntoThePrinterEntry) {
  output::testing::FakeSpooler spooler;
  spooler.destinations = {{"Kontor", "ipp://kontor.local/ipp/print", true},
                          {"Zebra-Pakkeri", "socket://10.0.0.7:9100", false}};
  SettingsWindow window(files_, printing_, &spooler);
  Activate(window);
  ShowTab(window, 1);
  auto chooseRow = [](int downs) {
    return testing::ModalWindowWatcher([downs](QWidget& chooser) {
      EXPECT_EQ(chooser.windowTitle(), QString::fromUtf8("Vælg Printer"));
      auto* list = chooser.findChild<QWidget*>("printerList");
      ASSERT_NE(list, nullptr);
      for (int i = 0; i < downs; ++i) QTest::keyClick(list, Qt::Key_Down);
      testing::SaveScreenshot(chooser, "settings_choose_printer");
      QTest::keyClick(list, Qt::Key_Return);
    });
  };
  {
    auto watcher = chooseRow(1);
    QTest::mouseClick(&Control<QPushButton>(window, "ChoosePrinterButton"), Qt::LeftButton);
    ASSERT_TRUE(watcher.seen());
  }
  EXPECT_EQ(Control(window, "PrinterName").text(), "Zebra-Pakkeri");

  // Closing the chooser without a choice keeps the name.
  testing::ModalWindowWatcher cancelled([](QWidget&) {});
  QTest::mouseClick(&Control<QPushButton>(window, "ChoosePrinterButton"), Qt::LeftButton);
  ASSERT_TRUE(cancelled.seen());
  EXPECT_EQ(Control(window, "PrinterName").text(), "Zebra-Pakkeri");
}

// "Antal paller/serie" sets up the counts of the print windows opened while
// the settings window is open, before OK; cancelling it gives the print
// windows the stored counts back.
TEST_F(SettingsWindowTest, PalletCountSetUpInTheWindowIsWhatThePrintDialogProposes) {
  SetPrinter("ZPL 4\"", 8, 2);
  SetSender(5790001, 100, 3);
  AddProduct("1001", "Vare", "05701234567899");
  CataloguePrintWindows printWindows({nullptr, &errors_, nullptr});
  {
    SettingsWindow window(files_, printWindows);
    Activate(window);
    ShowTab(window, 2);
    Retype(Control<QSpinBox>(window, "LabelsPerPallet"), "5");
    Retype(Control<QSpinBox>(window, "PalletsPerRun"), "7");
    ProductCatalogueWindow& catalogue = OpenCatalogueFrom(window);
    EXPECT_EQ(CountsProposedOnF4(catalogue, "print_data_after_settings"), std::make_pair(7, 5));
    QTest::mouseClick(&Control<QPushButton>(window, "CancelButton"), Qt::LeftButton);
  }
  EXPECT_EQ(fields::ReadLong(StoredSender().image, firma::ANTALPALLER), 3);

  // A window only opened (and the company list's refresh) sets up nothing.
  SettingsWindow window(files_, printWindows);
  Activate(window);
  ProductCatalogueWindow& catalogue = OpenCatalogueFrom(window);
  EXPECT_EQ(CountsProposedOnF4(catalogue, "print_data_stored_counts"), std::make_pair(3, 2));
}

}  // namespace
}  // namespace paltrix::app
