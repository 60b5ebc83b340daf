#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Runs the window tests inside one QApplication, on the offscreen platform
// unless the caller chose another.
int main(int argc, char* argv[]) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
