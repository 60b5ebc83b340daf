#include "framework/ui/errors_history_dialog.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <vector>

namespace paltrix::ui {
namespace {

using namespace paltrix::errors;

const std::vector<HistoryEntry> kEntries = {
    {"ABC", "There are no records available to process.", 25},
    {"Lager", "File PRODUKT could not be opened.  Error: File Not Found (2).", 26},
};

std::vector<QPushButton*> ButtonsInOrder(const QDialog& dialog) {
  std::vector<QPushButton*> buttons;
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) buttons.push_back(button);
  std::sort(buttons.begin(), buttons.end(),
            [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
  return buttons;
}

TEST(ErrorsHistoryDialog, ShowsTheEntriesAndTheMaskedButtonsHighestBitFirst) {
  ErrorsHistoryDialog dialog("Errors History", kEntries, 0xFF, kButtonOk);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

  EXPECT_EQ(dialog.windowTitle(), "Errors History");
  QTreeWidget* list = dialog.list();
  EXPECT_EQ(list->headerItem()->text(0), "Message");
  EXPECT_EQ(list->headerItem()->text(1), "Category");
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(1)->text(0),
            "File PRODUKT could not be opened.  Error: File Not Found (2).");
  EXPECT_EQ(list->topLevelItem(1)->text(1), "Lager");

  QStringList texts;
  for (QPushButton* button : ButtonsInOrder(dialog)) texts << button->text();
  EXPECT_EQ(texts,
            (QStringList{"&Help", "&Cancel", "&Ignore", "&Retry", "&Abort", "&No", "&Yes", "O&k"}));
  ASSERT_TRUE(dialog.grab().save("errors_history_window.png"));
}

TEST(ErrorsHistoryDialog, ReturnsTheBitOfTheButtonPressed) {
  struct Row {
    const char* note;
    int buttons;
    int defaultButton;
    std::function<void(ErrorsHistoryDialog&)> act;
    int expected;
  };
  const Row rows[] = {
      {"click Yes", kButtonYes | kButtonNo, kButtonNo,
       [](ErrorsHistoryDialog& dialog) {
         QTest::mouseClick(dialog.findChild<QPushButton*>("button2"), Qt::LeftButton);
       },
       kButtonYes},
      {"Enter presses the default", kButtonOk | kButtonHelp | kButtonCancel, kButtonCancel,
       [](ErrorsHistoryDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); },
       kButtonCancel},
      {"Escape closes with the default", kButtonOk | kButtonHelp, kButtonHelp,
       [](ErrorsHistoryDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }, kButtonHelp},
  };
  for (const Row& row : rows) {
    ErrorsHistoryDialog dialog("Record Retrieval Error", kEntries, row.buttons, row.defaultButton);
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog)) << row.note;
    row.act(dialog);
    EXPECT_FALSE(dialog.isVisible()) << row.note;
    EXPECT_EQ(dialog.result(), row.expected) << row.note;
  }
}

TEST(ErrorsHistoryDialog, MarksAndFocusesTheDefaultButton) {
  ErrorsHistoryDialog dialog("Confirm Delete", kEntries, kButtonYes | kButtonNo, kButtonNo);
  dialog.open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  auto* no = dialog.findChild<QPushButton*>("button4");
  auto* yes = dialog.findChild<QPushButton*>("button2");
  ASSERT_NE(no, nullptr);
  ASSERT_NE(yes, nullptr);
  EXPECT_TRUE(no->isDefault());
  EXPECT_FALSE(yes->isDefault());
  EXPECT_TRUE(no->hasFocus());
  EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 2);
  dialog.grab().save("errors_history_yes_no.png");
  dialog.done(0);
}

}  // namespace
}  // namespace paltrix::ui
