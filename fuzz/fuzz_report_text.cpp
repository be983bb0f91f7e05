// Fuzz target: stored report descriptions (report_text_fuzz.h). Build and run from the
// repository with clang 14 (the report library and the platform compiled for fuzzing into
// build-fuzz/):
//
//   CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
//     "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
//   ninja -C build-fuzz report
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
//     -fPIC -I. $(pkg-config --cflags Qt6Widgets) fuzz/fuzz_report_text.cpp build-fuzz/report/libreport.a \
//     build-fuzz/platform/libplatform_qt.a build-fuzz/platform/libplatform.a \
//     $(pkg-config --libs Qt6Widgets Qt6PrintSupport) -o build-fuzz/fuzz_report_text
//   build-fuzz/fuzz_report_text -max_total_time=600 -dict=fuzz/report_text.dict \
//     build-fuzz/report_text fuzz/seeds/report_text
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
