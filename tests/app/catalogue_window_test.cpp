#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <fstream>

#include "app/ui/main_frame.h"
#include "app/ui/product_catalogue_window.h"
#include "app/ui/product_list_model.h"
#include "app/ui/window_procedures.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/window_test_fixture.h"

namespace paltrix::app {
namespace {

using dispatch::LabelType;
namespace produkt = records::produkt;

class CatalogueWindowTest : public testing::WindowTest {
 protected:
  // The ID of the highlighted product.
  std::string Highlighted(ProductCatalogueWindow& window) {
    const QModelIndex current = window.list().currentIndex();
    if (!current.isValid()) return {};
    return fields::ReadText(window.model().RecordAt(current.row()).image, produkt::PRODUKTID);
  }

  static void ClickTab(ProductCatalogueWindow& window, int tab) {
    auto* tabs = window.findChild<QTabBar*>("SortTabs");
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    ASSERT_EQ(tabs->currentIndex(), tab);
  }

  testing::RecordingPrinting printing_;
};

TEST_F(CatalogueWindowTest, TypingLocatesByIdOneCharacterAtATimeAndByNameAccumulating) {
  AddProduct("a2", "Banan");
  AddProduct("B1",
             "\xD8llebr\xF8"
             "d");  // Øllebrød
  AddProduct("A1", "agurk");
  AddProduct("b2",
             "\xC6"
             "bler");         // Æbler
  AddProduct("C1", "\xF8l");  // øl
  ProductCatalogueWindow window(context_, printing_);
  Activate(window);
  EXPECT_EQ(Highlighted(window), "A1");

  // ID: each key moves to the first ID starting with it, whatever its case.
  QTest::keyClicks(&window.list(), "b");
  EXPECT_EQ(Highlighted(window), "B1");
  QTest::keyClicks(&window.list(), "C");
  EXPECT_EQ(Highlighted(window), "C1");
  QTest::keyClicks(&window.list(), "a");
  EXPECT_EQ(Highlighted(window), "A1");

  // Name: the typed text accumulates, Danish letters without regard to case.
  ClickTab(window, 1);
  EXPECT_EQ(Highlighted(window), "A1") << "the highlighted product stays when the order changes";
  QTest::keyClicks(&window.list(), QString::fromUtf8("ØL"));
  EXPECT_EQ(window.nameLocator(), QString::fromUtf8("ØL"));
  EXPECT_EQ(Highlighted(window), "C1");
  QTest::keyClicks(&window.list(), QString::fromUtf8("l"));
  EXPECT_EQ(Highlighted(window), "B1");
  for (int i = 0; i < 3; ++i) QTest::keyClick(&window.list(), Qt::Key_Backspace);
  EXPECT_EQ(window.nameLocator(), QString());
  QTest::keyClicks(&window.list(), QString::fromUtf8("æ"));
  EXPECT_EQ(Highlighted(window), "b2");
  testing::SaveScreenshot(window, "catalogue_by_name");
}

TEST_F(CatalogueWindowTest, ReadsAPageAtATimeAndReachesBothEndsAndOtherStationsChanges) {
  for (int i = 1; i <= 400; ++i) {
    char id[8];
    std::snprintf(id, sizeof id, "P%04d", i);
    AddProduct(id, std::string("Vare ") + id);
  }
  ProductCatalogueWindow window(context_, printing_);
  Activate(window);
  EXPECT_LT(window.model().rowCount(), 400) << "the list is read as it is scrolled";

  QTest::keyClick(&window.list(), Qt::Key_End);
  EXPECT_EQ(Highlighted(window), "P0400");
  for (int i = 0; i < 10; ++i) QTest::keyClick(&window.list(), Qt::Key_PageUp);
  QTest::keyClick(&window.list(), Qt::Key_Home);
  EXPECT_EQ(Highlighted(window), "P0001");
  for (int i = 0; i < 399; ++i) QTest::keyClick(&window.list(), Qt::Key_Down);
  EXPECT_EQ(Highlighted(window), "P0400") << "moving down reads on to the last product";
  for (int i = 0; i < 399; ++i) QTest::keyClick(&window.list(), Qt::Key_Up);
  EXPECT_EQ(Highlighted(window), "P0001");

  // Located far down, then back up line by line across the window's top.
  QTest::keyClicks(&window.list(), "P");
  ClickTab(window, 1);
  QTest::keyClicks(&window.list(), "vare p0300");
  EXPECT_EQ(Highlighted(window), "P0300");
  for (int i = 0; i < 150; ++i) QTest::keyClick(&window.list(), Qt::Key_Up);
  EXPECT_EQ(Highlighted(window), "P0150");

  // Another station adds one product and deletes another; F4 refreshes.
  AddProduct("P0149a", "Vare P0149a");
  ASSERT_TRUE(station_.File(produkt::kSchema).value()->Delete(151).ok());  // P0151
  QTest::keyClick(&window, Qt::Key_F4);
  ASSERT_EQ(printing_.calls.size(), 1u);
  EXPECT_EQ(printing_.calls[0].productId, "P0150");
  EXPECT_EQ(Highlighted(window), "P0150");
  QTest::keyClick(&window.list(), Qt::Key_Up);
  EXPECT_EQ(Highlighted(window), "P0149a");
  QTest::keyClick(&window.list(), Qt::Key_Down);
  QTest::keyClick(&window.list(), Qt::Key_Down);
  EXPECT_EQ(Highlighted(window), "P0152");
}

TEST_F(CatalogueWindowTest, LabelTypeCanBeChosenOnlyForThe4InchFormatAt8Dots) {
  AddProduct("1", "Vare");
  struct Case {
    const char* format;
    std::int32_t dots;
    bool shown;
  };
  const Case cases[] = {
      {"ZPL 4\"", 8, true},   {"ZPL 4\"", 12, false}, {"ZPL 6\"", 8, false},
      {"ZPL 6\"", 12, false}, {"Standard", 8, false}, {"Mixed", 8, false},
  };
  for (const Case& c : cases) {
    SetPrinter(c.format, c.dots);
    ProductCatalogueWindow window(context_, printing_);
    Activate(window);
    auto* group = window.findChild<QGroupBox*>("LabelTypeGroup");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->isVisible(), c.shown) << c.format << " " << c.dots;
    if (c.shown) {
      const QList<QRadioButton*> options = group->findChildren<QRadioButton*>();
      QStringList texts;
      for (QRadioButton* option : options) texts << option->text();
      EXPECT_EQ(texts, (QStringList{"Palle", "Kolli", "EAN-13", "Blandet palle"}));
      // A radio button takes a click on its indicator or its text.
      const QPoint indicator(6, options[1]->height() / 2);
      QTest::mouseClick(options[1], Qt::LeftButton, {}, indicator);
      QTest::keyClick(&window, Qt::Key_F6);
      QTest::mouseClick(options[3], Qt::LeftButton, {}, indicator);
      QTest::keyClick(&window, Qt::Key_F4);
      ASSERT_GE(printing_.calls.size(), 2u);
      EXPECT_TRUE(printing_.calls[printing_.calls.size() - 2].direct);
      EXPECT_EQ(printing_.calls[printing_.calls.size() - 2].type, LabelType::kCase);
      EXPECT_EQ(printing_.calls.back().type, LabelType::kMixedPallet);
      testing::SaveScreenshot(window, "catalogue_label_types");
    } else {
      QTest::keyClick(&window, Qt::Key_F6);
      ASSERT_FALSE(printing_.calls.empty());
      EXPECT_EQ(printing_.calls.back().type, LabelType::kPallet) << c.format << " " << c.dots;
    }
  }
}

// A mixed-pallet choice made for the 4-inch labels must not open the
// mixed-pallet window (whose week is no date) once the format has changed.
TEST_F(CatalogueWindowTest, LabelTypeFollowsAFormatChangedWhileTheCatalogueIsOpen) {
  AddProduct("1001", "Vare");
  SetPrinter("ZPL 4\"", 8);
  ProductCatalogueWindow window(context_, printing_);
  Activate(window);
  auto& group = testing::Control<QGroupBox>(window, "LabelTypeGroup");
  const QList<QRadioButton*> options = group.findChildren<QRadioButton*>();
  QTest::mouseClick(options[3], Qt::LeftButton, {}, QPoint(6, options[3]->height() / 2));
  EXPECT_EQ(window.labelType(), LabelType::kMixedPallet);

  QDialog elsewhere;  // where the format is changed
  elsewhere.resize(200, 100);
  elsewhere.show();
  auto changeFormatElsewhere = [&](std::string_view format) {
    QApplication::setActiveWindow(&elsewhere);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isActiveWindow(); }));
    // Written to the file only, as paltrix-cli would.
    records::PrinterRecord stored = records::PrinterRecord::Process();
    fields::WriteText(stored.image(), records::printer::PRINTER, format);
    ASSERT_TRUE(records::SavePrinterRecord(stored, errors_).ok());
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }));
  };
  changeFormatElsewhere("Standard");
  EXPECT_FALSE(group.isVisible());
  QTest::keyClick(&window, Qt::Key_F4);
  ASSERT_EQ(printing_.calls.size(), 1u);
  EXPECT_EQ(printing_.calls.back().type, LabelType::kPallet);

  changeFormatElsewhere("ZPL 4\"");
  EXPECT_TRUE(group.isVisible());
  EXPECT_TRUE(options[0]->isChecked());
}

TEST_F(CatalogueWindowTest, Ai90TextFollowsTheHighlightedProductWhenIdToAi90IsSet) {
  AddProduct("1001", "Vare");
  AddProduct("1002", "Vare");
  {
    std::ofstream ini(folder_ / "splab.ini");
    ini << "[Printer]\r\nIDAI90=1\r\n";
  }
  ProductCatalogueWindow window(context_, printing_);
  Activate(window);
  auto* ai90 = window.findChild<QLineEdit*>("Ai90Entry");
  EXPECT_EQ(ai90->text(), "1001");
  QTest::keyClick(&window.list(), Qt::Key_Down);
  EXPECT_EQ(ai90->text(), "1002");
  // "&Vælg" prints the line as listed, with the AI90 text.
  QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
  // A button's mnemonic presses it with a short visible delay.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !printing_.calls.empty(); }));
  ASSERT_EQ(printing_.calls.size(), 1u);
  EXPECT_FALSE(printing_.calls[0].direct);
  EXPECT_EQ(printing_.calls[0].productId, "1002");
  EXPECT_EQ(printing_.calls[0].ai90Text, "1002");
}

TEST_F(CatalogueWindowTest, FrameOpensTheCatalogueWithF2AndShowsItsThreePictures) {
  AddProduct("1", "Vare");
  FixedClock clock({{2026, 3, 7}, 9, 5, 0, 0});
  WindowProcedures procedures(printing_);
  MainFrame frame(clock, procedures, files_);
  Activate(frame);
  for (const char* image : {"HeaderImage", "AddressImage", "CloseInfoImage"}) {
    auto* label = frame.findChild<QLabel*>(image);
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->pixmap().isNull()) << image;
  }
  testing::SaveScreenshot(frame, "frame_with_pictures");
  QString title;
  testing::ModalWindowWatcher watcher([&](QWidget& window) {
    title = window.windowTitle();
    testing::SaveScreenshot(window, "catalogue");
  });
  QTest::keyClick(&frame, Qt::Key_F2);
  EXPECT_TRUE(watcher.seen());
  EXPECT_EQ(title, "Produkt katalog");
}

}  // namespace
}  // namespace paltrix::app
