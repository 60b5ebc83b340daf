// The library's windows and its event-processing waits inside a Qt application (offscreen).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "port/port_table.h"
#include "port_fixture.h"

namespace tavix::testing {
namespace {

// Runs `check` on the first modal window once it is shown.
void WhenModalShows(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      WhenModalShows(check);
      return;
    }
    check(modal);
  });
}

TEST_F(PortTest, ErrorDialogShowsTheFiveCountersAndClosesWithOk) {
  PortState& state = OpenPortRecord(kPort)->state;
  state.overrunErrors = 3;
  state.rxQueueOverruns = 12;
  state.txQueueFull = 4000000000u;
  QString shown;
  WhenModalShows([&](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "Communications Errors");
    for (int id = 102; id <= 106; ++id)
      shown += modal->findChild<QLabel*>(QStringLiteral("counter%1").arg(id))->text() + " ";
    modal->grab().save(QStringLiteral(TAVIX_SCREENSHOT_DIR "/communications-errors.png"));
    modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(DisplayErrors(kPort, nullptr), 1);
  EXPECT_EQ(shown, "0 0 3 12 4000000000 ");
}

TEST(MessageBoxTest, AnswerIsTheButtonPressedAndTextIsFormatted) {
  QString text;
  WhenModalShows([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    EXPECT_EQ(box->windowTitle(), "Transfer");
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(DisplayMessage(nullptr, "Transfer", TAVIX_MB_YESNO | TAVIX_MB_ICONQUESTION,
                           "%d files, %s", 3, "resume?"),
            TAVIX_ID_NO);
  EXPECT_EQ(text, "3 files, resume?");

  WhenModalShows([&](QWidget* modal) {
    text = qobject_cast<QMessageBox*>(modal)->text();
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(DisplayPortError(6), TAVIX_ID_OK);
  EXPECT_EQ(text, "Communications Port Is Already In Use");
  WhenModalShows([&](QWidget* modal) {
    text = qobject_cast<QMessageBox*>(modal)->text();
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
  });
  DisplayPortError(42);
  EXPECT_EQ(text, "Unknown Error");
}

TEST(ComDelayTest, ClosingTheNamedWindowEndsTheWaitAndTheCloseStillHappens) {
  QWidget window;
  window.show();
  QTimer::singleShot(0, &window, &QWidget::close);
  EXPECT_EQ(ComDelay(&window, 18 * 60), 1);  // returns long before the minute
  EXPECT_TRUE(window.isVisible());           // the close waits for the caller's event loop
  QApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
}

TEST(ComDelayTest, OtherWindowsClosingDoNotEndTheWait) {
  QWidget window;
  QWidget other;
  window.show();
  other.show();
  QTimer::singleShot(0, &other, &QWidget::close);
  EXPECT_GT(ComDelay(&window, 2), 1);
  EXPECT_FALSE(other.isVisible());
}

TEST(ComDelayTest, AQuitRequestEndsTheWaitAndReachesTheCallersLoop) {
  int32_t delayResult = 0;
  QTimer::singleShot(0, [&delayResult] {
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    delayResult = ComDelay(nullptr, 18 * 5);
  });
  QTimer::singleShot(20000, [] { QCoreApplication::exit(7); });  // a lost quit fails the test
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_EQ(delayResult, 1);
}

TEST(ParentWindowTest, TopLevelWindowOfAChild) {
  QWidget top;
  QWidget middle(&top);
  QWidget child(&middle);
  EXPECT_EQ(GetParentWindow(&child), &top);
  EXPECT_EQ(GetParentWindow(&top), &top);
  EXPECT_EQ(GetParentWindow(nullptr), nullptr);
}

}  // namespace
}  // namespace tavix::testing
