// Fuzz target: expression texts as stored report descriptions bring them, compiled and
// evaluated plainly and in aggregate passes, and the same texts as float-format masks, money
// formats and date-time formats (expr_fuzz.h). Build and run from the repository with clang 14:
//
//   mkdir -p build-fuzz/report_expr
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I. \
//     fuzz/fuzz_report_expr.cpp report/dataset.cpp report/expr_eval.cpp report/expr_env.cpp \
//     report/expr_functions.cpp report/expr_format.cpp platform/text_format.cpp platform/mbcs.cpp \
//     platform/cp932.cpp platform/files.cpp platform/stream.cpp platform/path.cpp -o build-fuzz/fuzz_report_expr
//   build-fuzz/fuzz_report_expr -max_total_time=600 -max_len=512 build-fuzz/report_expr fuzz/seeds/report_expr
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
