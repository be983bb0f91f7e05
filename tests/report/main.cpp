// The report_tests program: one QApplication (offscreen unless told otherwise) for all tests;
// the report's widgets, fonts and messages need it. The control editors are registered as the
// program registers them at start-up.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/dc_qt.h"
#include "report/ui/editors.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  rpt::RegisterControlEditors();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
