// Quillon's tests run with a Qt application (the synchronised calls of the
// acquisition threads need its event loop) and a private configuration
// folder, so nothing touches the user's own files.
#include <gtest/gtest.h>

#include <QApplication>

#include "temp_config_home.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                   : qgetenv("QT_QPA_PLATFORM"));
  testsupport::TempConfigHome home;
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
