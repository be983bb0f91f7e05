// Fuzz target: reading stored report descriptions. Any input either fails with an error or
// builds a report whose description, written, read and written again, gives the same text.
#include <QApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/locale_info.h"
#include "platform/qt/dc_qt.h"
#include "report/report_text.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(*argc, *argv);
  platform::EnsureQtFontEngine();
  platform::SetLocaleOverride(false, true);
  rpt::RegisterReportClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  QWidget form;
  rpt::ReportTextError error;
  QObject* report = rpt::ReadReport(text, "fuzz", &form, error);
  if (!report) return 0;
  std::string first = rpt::WriteReport(*report);
  QWidget form2;
  QObject* again = rpt::ReadReport(first, "again", &form2, error);
  if (!again) std::abort();  // what was written must read
  QWidget form3;
  QObject* third = rpt::ReadReport(rpt::WriteReport(*again), "third", &form3, error);
  if (!third || rpt::WriteReport(*third) != rpt::WriteReport(*again)) std::abort();
  return 0;
}
