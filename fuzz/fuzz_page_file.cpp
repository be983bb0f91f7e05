// Fuzz target: saved report page files ("RPT"), plain and compressed, loaded whole and read
// page by page (page_store_fuzz.h). Built and run with the others by
// scripts/fuzz.sh (for example "scripts/fuzz.sh 600 page_file").
// (The input goes through a temporary file; the script keeps it on a memory file system.)
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
