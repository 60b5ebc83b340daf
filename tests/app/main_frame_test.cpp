#include "app/ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolBar>
#include <set>
#include <vector>

#include "app/ui/product_catalogue_window.h"
#include "app/ui/settings_window.h"
#include "app/ui/window_procedures.h"
#include "app/ui/window_record_context.h"
#include "framework/errors/scripted_presenter.h"
#include "tests/app/frame_test_support.h"
#include "tests/app/window_test_fixture.h"
#include "tests/support/temp_directory.h"

namespace paltrix::app {
namespace {

using testing::ModalWindowWatcher;

constexpr LocalDateTime kMorning{{2026, 3, 7}, 9, 5, 30, 12};

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() { std::filesystem::create_directory(folder_ / "Data"); }

  void ShowFrame() {
    frame_.show();
    QApplication::setActiveWindow(&frame_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  }

  testing::TempDirectory folder_;
  testing::ScopedWorkingDirectory inFolder_{folder_.path()};
  FixedClock clock_{kMorning};
  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errorManager_{presenter_, terminator_, clock_};
  records::FileRegistry files_{errorManager_};
  testing::RecordingPrinting printing_;
  WindowProcedures procedures_{printing_};
  int opens_ = 0;
  MainFrame frame_{clock_, procedures_, files_, [this] { ++opens_; }};
};

TEST_F(MainFrameTest, IsTheApplicationFrameWithItsTitle) {
  EXPECT_EQ(frame_.objectName(), "P1$APPFRAME");
  EXPECT_EQ(frame_.windowTitle(), "Paltrix 1.7.7");
}

TEST_F(MainFrameTest, ToolBarHasTheThreeCommandsWithTheirKeys) {
  struct Expected {
    QAction* action;
    const char* text;
    Qt::Key key;
    int control;
  };
  const Expected expected[] = {
      {&frame_.closeAction(), "Luk program (F8)", Qt::Key_F8, -2},
      {&frame_.catalogueAction(), "Produkter (F2)", Qt::Key_F2, -7},
      {&frame_.settingsAction(), "Indstillinger (F10)", Qt::Key_F10, -8},
  };
  auto* toolBar = frame_.findChild<QToolBar*>("FrameToolBar");
  ASSERT_NE(toolBar, nullptr);
  for (const Expected& e : expected) {
    EXPECT_EQ(e.action->text(), QString::fromUtf8(e.text));
    EXPECT_EQ(e.action->shortcut(), QKeySequence(e.key)) << e.text;
    EXPECT_EQ(e.action->property("controlNumber").toInt(), e.control) << e.text;
    EXPECT_TRUE(toolBar->actions().contains(e.action)) << e.text;
  }
}

TEST_F(MainFrameTest, ShowsDateAndTimeWhenOpenedAndOnEveryTimerEvent) {
  frame_.SetTimerInterval(1);
  ShowFrame();
  EXPECT_EQ(frame_.statusZone(3).text(), "07/03/2026");
  EXPECT_EQ(frame_.statusZone(4).text(), "09:05");
  testing::SaveScreenshot(frame_, "main_frame");

  clock_.Set({{2027, 12, 31}, 23, 59, 0, 0});
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame_.statusZone(4).text() == "23:59"; }));
  EXPECT_EQ(frame_.statusZone(3).text(), "31/12/2027");
}

TEST_F(MainFrameTest, ReadsTheOpeningSettingsOnlyOnce) {
  ShowFrame();
  frame_.hide();
  ShowFrame();
  EXPECT_EQ(opens_, 1);
}

TEST_F(MainFrameTest, TimerIntervalOutsideOneToHundredBecomesOneSecond) {
  const std::pair<int, int> cases[] = {{0, 100},   {-5, 100}, {101, 100}, {1, 1},
                                       {100, 100}, {50, 50},  {1000, 100}};
  for (const auto& [requested, expected] : cases) {
    frame_.SetTimerInterval(requested);
    EXPECT_EQ(frame_.timerInterval(), expected) << requested;
  }
  EXPECT_EQ(MainFrame(clock_, procedures_, files_).timerInterval(), 100);
}

TEST_F(MainFrameTest, F2RunsTheCatalogueModallyOnTheFrameWithTheFrameContext) {
  ShowFrame();
  QString title;
  QWidget* parent = nullptr;
  bool ownContext = true;
  ModalWindowWatcher watcher([&](QWidget& window) {
    title = window.windowTitle();
    parent = window.parentWidget();
    ownContext = window.findChild<WindowRecordContext*>("RecordContext") != nullptr;
    testing::SaveScreenshot(window, "frame_catalogue");
  });
  QTest::keyClick(&frame_, Qt::Key_F2);
  EXPECT_TRUE(watcher.seen());
  EXPECT_EQ(title, "Produkt katalog");
  EXPECT_EQ(parent, &frame_);
  EXPECT_FALSE(ownContext) << "the catalogue on the frame runs on the frame's record context";
}

TEST_F(MainFrameTest, F10StartsIndependentSettingsWindowsThatCloseWithTheFrame) {
  ShowFrame();
  QTest::keyClick(&frame_, Qt::Key_F10);
  QApplication::setActiveWindow(&frame_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  QTest::keyClick(&frame_, Qt::Key_F10);

  std::vector<QPointer<QWidget>> settingsWindows;
  std::set<records::RecordContext*> contexts;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() != "Settings" || !window->isVisible()) continue;
    settingsWindows.emplace_back(window);
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), "Firma data");
    contexts.insert(&static_cast<SettingsWindow*>(window)->context());
  }
  ASSERT_EQ(settingsWindows.size(), 2u);
  EXPECT_EQ(contexts.size(), 2u) << "each settings window runs with a record context of its own";
  testing::SaveScreenshot(*settingsWindows.front(), "frame_settings");

  QApplication::setActiveWindow(&frame_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  QTest::keyClick(&frame_, Qt::Key_F8);
  EXPECT_FALSE(frame_.isVisible());
  for (const QPointer<QWidget>& window : settingsWindows) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
  }
}

TEST_F(MainFrameTest, F8ClosesTheFrame) {
  ShowFrame();
  bool closed = false;
  QObject::connect(&frame_, &MainFrame::closed, [&] { closed = true; });
  QTest::keyClick(&frame_, Qt::Key_F8);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(frame_.isVisible());
}

}  // namespace
}  // namespace paltrix::app
