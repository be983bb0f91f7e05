// Fuzz target: stored report descriptions (report_text_fuzz.h): read, written, read and written
// again; the two writes must agree. Built and run with the others by scripts/fuzz.sh (for
// example "scripts/fuzz.sh 600 report_text").
// fuzz-options: -dict=fuzz/report_text.dict
//
// An input that fails goes to tests/report/fuzz_regressions/report_text/, which the ordinary
// tests replay.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "fuzz/report_text_fuzz.h"
#include "platform/qt/dc_qt.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(*argc, *argv);
  platform::EnsureQtFontEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = rptfuzz::ReportText(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
