// Fuzz target: CSV texts read by the report's in-memory tables and queries, every record and
// field read back, and the query filtered by a value of its first record (expr_fuzz.h). Built
// and run with the others by scripts/fuzz.sh ("scripts/fuzz.sh 600 table_csv").
// fuzz-options: -max_len=262144
// (Long enough for headers of tens of thousands of fields and long runs of records.)
//
// An input that fails goes to tests/report/fuzz_regressions/table_csv/, which the ordinary
// tests replay.
#include <cstdio>
#include <cstdlib>

#include "fuzz/expr_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = rptfuzz::TableCsv(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
