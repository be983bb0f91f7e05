// The views_tests program: one QApplication (offscreen unless told otherwise) for all tests,
// started as the program starts (the chart library among the rest).
#include <gtest/gtest.h>

#include <QApplication>

#include "app/startup/program_startup.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app::ProgramStartup startup;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
