// Fuzz target: the page compressor both ways and the expander on damaged runs
// (page_store_fuzz.h). Built and run with the others by
// scripts/fuzz.sh (for example "scripts/fuzz.sh 600 page_expand").
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
