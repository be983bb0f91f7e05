// Fuzz target: CSV texts read by the report's in-memory tables and queries, every record and
// field read back, and the query filtered by a value of its first record (expr_fuzz.h). Build
// and run from the repository with clang 14:
//
//   mkdir -p build-fuzz/table_csv
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I. \
//     fuzz/fuzz_table_csv.cpp report/dataset.cpp report/expr_eval.cpp report/expr_env.cpp \
//     report/expr_functions.cpp report/expr_format.cpp platform/text_format.cpp platform/mbcs.cpp \
//     platform/cp932.cpp platform/files.cpp platform/stream.cpp platform/path.cpp -o build-fuzz/fuzz_table_csv
//   build-fuzz/fuzz_table_csv -max_total_time=600 -max_len=4096 build-fuzz/table_csv fuzz/seeds/table_csv
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
