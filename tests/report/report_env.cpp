// The report tests' Qt application (widgets, fonts), created once before the first test and
// kept to the end of the process.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/dc_qt.h"

namespace {

class ReportEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QCoreApplication::instance()) {
      static int argc = 1;
      static char name[] = "report_tests";
      static char* argv[] = {name, nullptr};
      static QApplication* app = new QApplication(argc, argv);
      (void)app;
    }
    platform::EnsureQtFontEngine();
  }
};

[[maybe_unused]] ::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new ReportEnvironment);

}  // namespace

// Under the leak checker: the system's font configuration library keeps a few allocations
// for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
