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
#include <utility>

#include "framework/ui/errors_history_dialog.h"

namespace paltrix::ui {
namespace {

using namespace paltrix::errors;

// Answers the next modal window, once it is up, with `answer`; lives for the
// test while the code under test waits in its modal loop.
class ModalWindowAnswerer {
 public:
  explicit ModalWindowAnswerer(std::function<void(QWidget&)> answer) : answer_(std::move(answer)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      poll_.stop();
      answer_(*modal);
    });
    poll_.start(10);
  }

 private:
  std::function<void(QWidget&)> answer_;
  QTimer poll_;
};

TEST(QtMessagePresenter, ShowsTheBoxAndReturnsTheButtonBit) {
  QtMessagePresenter presenter;
  ModalWindowAnswerer answerer([](QWidget& window) {
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
  ModalWindowAnswerer answerer([](QWidget& window) {
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
  ModalWindowAnswerer answerer([](QWidget& window) {
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
