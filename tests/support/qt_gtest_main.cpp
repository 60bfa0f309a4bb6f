// Runs GoogleTest inside the application object, so that tests can drive real
// widgets offscreen with QTest. Window tests get the program's own application
// object with its general error display.
#include <QApplication>
#include <gtest/gtest.h>

#ifdef DIDOD_TEST_WITH_APPLICATION
#include "app/application.h"
using TestApplication = didod::Application;
#else
using TestApplication = QApplication;
#endif

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  TestApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
