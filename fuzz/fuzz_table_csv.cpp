// libFuzzer target: the CSV reader of the report's in-memory tables and queries, then every
// record and field read back, and a query re-filtered by a parameter taken from the input.
//
// Built by hand with clang until the project's fuzzing build takes it up:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. fuzz/fuzz_table_csv.cpp \
//     report/dataset.cpp platform/text_format.cpp platform/mbcs.cpp platform/cp932.cpp \
//     platform/files.cpp platform/path.cpp -o build-fuzz/fuzz_table_csv
//   build-fuzz/fuzz_table_csv -max_total_time=600 -max_len=4096 build-fuzz/corpus_table_csv
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/dataset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  rpt::TQuery query("Q");
  std::string error;
  if (!query.LoadFromCsvText(text, &error)) return 0;
  query.Open();
  std::string first;
  for (query.First(); !query.Eof(); query.Next()) {
    for (int k = 0; k < query.FieldCount(); ++k) {
      const rpt::TRptField* f = query.Field(k);
      const std::string s = f->AsString();
      if (first.empty()) first = s;
      (void)f->AsInteger();
      (void)f->AsFloat();
      (void)f->AsBoolean();
    }
  }
  // Filter by the first field with the first text seen, as a controller would.
  if (query.FieldCount() > 0) {
    query.AddParam(query.Field(0)->FieldName(), query.Field(0)->DataType()).value = first;
    query.Close();
    query.Open();
    for (query.First(); !query.Eof(); query.Next()) (void)query.Field(0)->AsString();
  }
  return 0;
}
