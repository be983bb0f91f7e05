// Fuzz target: the page compressor both ways and the expander on damaged runs
// (page_store_fuzz.h). Build and run from the repository with clang 14:
//
//   mkdir -p build-fuzz/page_expand
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
//     -fno-sanitize-recover=undefined -I. -fPIC \
//     fuzz/fuzz_page_expand.cpp report/page_compress.cpp platform/stream.cpp -o build-fuzz/fuzz_page_expand
//   build-fuzz/fuzz_page_expand -max_total_time=600 build-fuzz/page_expand fuzz/seeds/page_expand
//
// An input that fails goes to tests/report/fuzz_regressions/page_expand/, which the ordinary
// tests replay.
#include <cstdio>
#include <cstdlib>

#include "fuzz/page_store_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = rptfuzz::PageExpand(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
