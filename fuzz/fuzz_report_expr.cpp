// Fuzz target: expression texts as stored report descriptions bring them, compiled and
// evaluated plainly and in aggregate passes, and the same texts as float-format masks, money
// formats and date-time formats (expr_fuzz.h). Built and run with the
// others by scripts/fuzz.sh ("scripts/fuzz.sh 600 report_expr").
// fuzz-options: -max_len=32768
//
// An input that fails goes to tests/report/fuzz_regressions/report_expr/, which the ordinary
// tests replay.
#include <cstdio>
#include <cstdlib>

#include "fuzz/expr_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = rptfuzz::ReportExpression(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
