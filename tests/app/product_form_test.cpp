#include "app/ui/product_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "framework/errors/message_numbers.h"
#include "framework/text/windows1252.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/window_test_fixture.h"

namespace paltrix::app {
namespace {

using testing::Control;

namespace produkt = records::produkt;

// What a message box showed and which button the test pressed.
struct SeenBox {
  QString title;
  QString text;
  QStringList buttons;
};

class ProductFormTest : public testing::WindowTest {
 protected:
  // Types `gtin` into the form's GTIN entry and leaves it with Tab; a box
  // that comes up is answered with the button `answer`.
  std::optional<SeenBox> EnterGtin(ProductForm& form, const QString& gtin, const QString& answer) {
    // A closed message box leaves the form without activation offscreen.
    Activate(form);
    QLineEdit& entry = Control(form, "Gtin");
    entry.setFocus();
    entry.selectAll();
    QTest::keyClick(&entry, Qt::Key_Delete);
    QTest::keyClicks(&entry, gtin);
    std::optional<SeenBox> seen;
    testing::ModalWindowWatcher watcher([&](QWidget& window) {
      auto& box = static_cast<QMessageBox&>(window);
      seen = SeenBox{box.windowTitle(), box.text(), {}};
      QAbstractButton* chosen = nullptr;
      for (QAbstractButton* button : box.buttons()) {
        seen->buttons << button->text();
        if (button->text() == answer) chosen = button;
      }
      if (chosen != nullptr) QTest::mouseClick(chosen, Qt::LeftButton);
    });
    QTest::keyClick(&entry, Qt::Key_Tab);
    return seen;
  }
};

TEST_F(ProductFormTest, GtinCheckAsksToCorrectTheCheckDigitByLength) {
  ProductForm form(context_, FormRequest::kInsert, 0);
  Activate(form);
  QLineEdit& gtin = Control(form, "Gtin");

  // 13 digits with a correct check digit pass silently.
  EXPECT_FALSE(EnterGtin(form, "5701234567899", "&Ja"));
  EXPECT_EQ(gtin.text(), "5701234567899");

  // 13 digits with a wrong one: asked, titled "GTIN"; "&Nej" keeps the entry.
  std::optional<SeenBox> box = EnterGtin(form, "5701234567890", "&Nej");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "GTIN");
  EXPECT_EQ(box->text, "Kontrolciffer forkert!\nRet automatisk?");
  EXPECT_EQ(box->buttons, (QStringList{"&Ja", "&Nej"}));
  EXPECT_EQ(gtin.text(), "5701234567890");

  // 12 digits: always asked, titled "UPC"; "&Ja" appends the check digit.
  box = EnterGtin(form, "570123456789", "&Ja");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "UPC");
  EXPECT_EQ(gtin.text(), "5701234567899");

  // 14 digits: the 14th is checked over the first 13.
  EXPECT_FALSE(EnterGtin(form, "15701234567896", "&Ja"));
  box = EnterGtin(form, "15701234567891", "&Ja");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "EAN-14/SCC/DUN");
  EXPECT_EQ(gtin.text(), "15701234567896");

  // Blanks around the number are trimmed before the check.
  EXPECT_FALSE(EnterGtin(form, " 5701234567899 ", "&Ja"));
  EXPECT_EQ(gtin.text(), "5701234567899");

  // Any other length is told and left as entered; the product can be saved.
  box = EnterGtin(form, "57012345", "&OK");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "GTIN ikke udfyldt korrekt!");
  EXPECT_EQ(box->buttons, (QStringList{"&OK"}));
  EXPECT_EQ(gtin.text(), "57012345");
  testing::SaveScreenshot(form, "product_form_new");
  QTest::mouseClick(&Control<QPushButton>(form, "OkButton"), Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  storage::Record stored;
  ASSERT_TRUE(station_.File(produkt::kSchema).value()->Get(form.savedNumber(), stored).ok());
  EXPECT_EQ(fields::ReadText(stored.image, produkt::EANNR), "57012345");
}

TEST_F(ProductFormTest, ANewProductIsProposedTheIdAfterTheHighest) {
  struct Case {
    std::vector<std::string> ids;
    const char* proposed;
  };
  const Case cases[] = {
      {{}, "1"},
      {{"0098", "0099"}, "0100"},
      {{"98", "99"}, "100"},
  };
  for (const Case& c : cases) {
    {
      records::RecordContext cleaner(files_);
      storage::KeyedFile* file = cleaner.File(produkt::kSchema).value();
      file->SetPhysicalOrder();
      storage::Record record;
      while (file->Next(record).ok()) ASSERT_TRUE(file->Delete(file->position()).ok());
    }
    for (const std::string& id : c.ids) AddProduct(id, "Vare " + id);
    ProductForm form(context_, FormRequest::kInsert, 0);
    EXPECT_EQ(form.windowTitle(), "Nyt produkt");
    EXPECT_EQ(Control(form, "ProductId").text(), c.proposed);
  }
}

TEST_F(ProductFormTest, OrderNumberTakesFiveCharactersWhileItGoesIntoTheBarcode) {
  ProductForm form(context_, FormRequest::kInsert, 0);
  Activate(form);
  QLineEdit& order = Control(form, "OrderNumber");
  auto& inBarcode = Control<QCheckBox>(form, "OrderInBarcode");
  EXPECT_EQ(inBarcode.text(), "Ordre nr. i stregkode. (Kun op til 5 cifre)");

  QTest::keyClicks(&order, "1234567");
  EXPECT_EQ(order.text(), "1234567");
  EXPECT_FALSE(inBarcode.isEnabled()) << "an order number over 5 characters cannot go into it";
  QTest::keyClick(&order, Qt::Key_Backspace);
  QTest::keyClick(&order, Qt::Key_Backspace);
  EXPECT_TRUE(inBarcode.isEnabled());
  QTest::mouseClick(&inBarcode, Qt::LeftButton);
  ASSERT_TRUE(inBarcode.isChecked());
  QTest::keyClicks(&order, "89");
  EXPECT_EQ(order.text(), "12345");
  QTest::mouseClick(&inBarcode, Qt::LeftButton);
  QTest::keyClicks(&order, "6789012");
  EXPECT_EQ(order.text(), "1234567890");
}

TEST_F(ProductFormTest, SavingRefusesAnIdThatDiffersOnlyInLetterCaseAndTheFormStaysOpen) {
  AddProduct(
      "\xC6"
      "BLE-1",
      "Æbler");  // ÆBLE-1
  ProductForm form(context_, FormRequest::kInsert, 0);
  Activate(form);
  QLineEdit& id = Control(form, "ProductId");
  id.selectAll();
  QTest::keyClicks(&id, QString::fromUtf8("æble-1"));
  QTest::keyClicks(&Control(form, "ProductName"), "Andre æbler");
  presenter_.QueueAnswer(errors::kButtonOk);
  QTest::mouseClick(&Control<QPushButton>(form, "OkButton"), Qt::LeftButton);
  ASSERT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_NE(presenter_.boxes()[0].text.find("PRO:IDKey"), std::string::npos)
      << presenter_.boxes()[0].text;
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(station_.File(produkt::kSchema).value()->RecordCount().value(), 1);

  // Changed to a free ID it is stored with every field as typed.
  id.selectAll();
  QTest::keyClicks(&id, "AEBLE-2");
  QTest::mouseClick(&Control<QPushButton>(form, "OkButton"), Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  storage::Record stored;
  ASSERT_TRUE(station_.File(produkt::kSchema).value()->Get(form.savedNumber(), stored).ok());
  EXPECT_EQ(fields::ReadText(stored.image, produkt::PRODUKTID), "AEBLE-2");
  EXPECT_EQ(text::TrimRight(fields::ReadText(stored.image, produkt::PRODUKTNAVN)),
            "Andre \xE6"
            "bler");
}

}  // namespace
}  // namespace paltrix::app
