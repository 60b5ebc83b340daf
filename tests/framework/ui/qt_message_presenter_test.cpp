#include "framework/ui/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <functional>
#include <thread>

#include "framework/ui/errors_history_dialog.h"

namespace paltrix::ui {
namespace {

using namespace paltrix::errors;

// Runs `answer` on the modal window once it is up.
void AnswerModalWindow(std::function<void(QWidget&)> answer) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [answer, poll] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
      QTimer::singleShot(10, *poll);
      return;
    }
    answer(*modal);
  };
  QTimer::singleShot(0, *poll);
}

TEST(QtMessagePresenter, ShowsTheBoxAndReturnsTheButtonBit) {
  QtMessagePresenter presenter;
  AnswerModalWindow([](QWidget& window) {
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Confirm Delete");
    EXPECT_EQ(box->text(), "Are you sure you want to delete the highlighted record?");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    box->grab().save("error_message_box.png");
    QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
  });
  const int pressed = presenter.ShowMessageBox(
      {"Are you sure you want to delete the highlighted record?", "Confirm Delete",
       MessageIcon::kExclamation, kButtonYes | kButtonNo, kButtonNo, 0});
  EXPECT_EQ(pressed, kButtonYes);
}

TEST(QtMessagePresenter, ShowsTheHistoryWindow) {
  QtMessagePresenter presenter;
  const HistoryEntry entries[] = {{"ABC", "first", 1}, {"ABC", "second", 2}};
  AnswerModalWindow([](QWidget& window) {
    auto* dialog = qobject_cast<ErrorsHistoryDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Errors History");
    EXPECT_EQ(dialog->list()->topLevelItemCount(), 2);
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  EXPECT_EQ(presenter.ShowHistory("Errors History", entries, kButtonOk | kButtonHelp, kButtonOk),
            kButtonOk);
}

TEST(QtMessagePresenter, ABoxAskedForOnAnotherThreadIsShownOnTheGuiThread) {
  QtMessagePresenter presenter;
  AnswerModalWindow([](QWidget& window) {
    EXPECT_EQ(window.thread(), QApplication::instance()->thread());
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  std::atomic<int> pressed{-1};
  QEventLoop untilAnswered;
  std::thread worker([&] {
    pressed = presenter.ShowMessageBox(
        {"No records", "No Records", MessageIcon::kInformation, kButtonOk, kButtonOk, 0});
    QMetaObject::invokeMethod(&untilAnswered, &QEventLoop::quit, Qt::QueuedConnection);
  });
  untilAnswered.exec();
  worker.join();
  EXPECT_EQ(pressed, kButtonOk);
}

}  // namespace
}  // namespace paltrix::ui
