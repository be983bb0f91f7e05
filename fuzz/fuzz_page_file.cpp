// Fuzz target: saved report page files ("RPT"), plain and compressed, loaded whole and read
// page by page (page_store_fuzz.h). Build and run from the repository with clang 14:
//
//   mkdir -p build-fuzz/page_file
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
//     -fno-sanitize-recover=undefined -I. $(pkg-config --cflags Qt6Widgets) -fPIC \
//     fuzz/fuzz_page_file.cpp report/page_store.cpp report/page_compress.cpp platform/files.cpp \
//     platform/path.cpp platform/cp932.cpp platform/stream.cpp platform/emf.cpp platform/dc.cpp \
//     platform/mbcs.cpp platform/ui.cpp platform/qt/qt_text.cpp $(pkg-config --libs Qt6Widgets) \
//     -o build-fuzz/fuzz_page_file
//   TMPDIR=/dev/shm build-fuzz/fuzz_page_file -max_total_time=600 build-fuzz/page_file fuzz/seeds/page_file
//
// (The input goes through a temporary file; TMPDIR=/dev/shm keeps it off the disk.)
//
// An input that fails goes to tests/report/fuzz_regressions/page_file/, which the ordinary
// tests replay.
#include <cstdio>
#include <cstdlib>

#include "fuzz/page_store_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = rptfuzz::PageFile(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
