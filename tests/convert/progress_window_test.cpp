#include "convert/ui/progress_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

namespace paltrix::convert {
namespace {

TEST(ProgressWindowTest, ShowsTheCountWhileCopyingAndThenBuildingKeys) {
  ProgressWindow window;
  EXPECT_EQ(window.windowTitle(), "Converting File");
  window.Started();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.recordCaption()->text(), "Converting Record #:");
  EXPECT_TRUE(window.recordCaption()->isVisible());
  EXPECT_EQ(window.recordCount()->text(), "0");
  EXPECT_FALSE(window.buildingKeys()->isVisible());

  QTest::qWait(60);  // the count is redrawn at most every 50 ms
  window.RecordsConverted(1234);
  EXPECT_EQ(window.recordCount()->text(), "1234");

  window.BuildingKeys();
  EXPECT_FALSE(window.recordCaption()->isVisible());
  EXPECT_FALSE(window.recordCount()->isVisible());
  EXPECT_TRUE(window.buildingKeys()->isVisible());
  EXPECT_EQ(window.buildingKeys()->text(), "Building Keys");
}

TEST(ProgressWindowTest, MessagesHaveTheirTextAndOneButton) {
  const auto box = MakeConversionMessage("File System Error: (28) No space left on device",
                                         QMessageBox::Critical);
  EXPECT_EQ(box->text(), "File System Error: (28) No space left on device");
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->standardButton(box->buttons().front()), QMessageBox::Ok);
}

}  // namespace
}  // namespace paltrix::convert
