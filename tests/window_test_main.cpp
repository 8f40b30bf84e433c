// Entry of the window tests: Qt's offscreen platform, so no display is needed,
// and one application object for all tests of the program.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no window system
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
