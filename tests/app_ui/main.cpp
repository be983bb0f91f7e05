// The app_ui_tests program: one QApplication (offscreen unless told otherwise) for all tests,
// and the metafile picture class the program registers at start-up (picture saving loads the
// metafiles it writes).
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/ui/metafile_picture.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  fw::RegisterMetafileEx();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
