// libFuzzer target: an expression text as a stored report description brings it: compiled and
// evaluated (plainly and in aggregate passes) against a small table and an environment whose
// entries refer to each other; the same text also serves as a float-format mask, a date-time
// format and a money format. Raised EExprError (integer overflow) is an expected outcome.
//
// Built by hand with clang until the project's fuzzing build takes it up:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. fuzz/fuzz_report_expr.cpp \
//     report/dataset.cpp report/expr_eval.cpp report/expr_env.cpp report/expr_functions.cpp \
//     report/expr_format.cpp platform/text_format.cpp platform/mbcs.cpp platform/cp932.cpp \
//     platform/files.cpp platform/path.cpp -o build-fuzz/fuzz_report_expr
//   build-fuzz/fuzz_report_expr -max_total_time=600 -max_len=512 build-fuzz/corpus_report_expr
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_format.h"
#include "report/dataset.h"
#include "report/expr_env.h"
#include "report/expr_eval.h"
#include "report/expr_format.h"

namespace {

struct World {
  rpt::ExprModuleScope module{"Fuzz"};
  rpt::TTable table{"T"};
  rpt::TRptDataSetList dataSets;
  rpt::TRptEvEnvironment env;

  World() {
    table.AddFieldDef("N", rpt::TRptFieldType::ftInteger);
    table.AddFieldDef("S", rpt::TRptFieldType::ftString);
    table.AddFieldDef("F", rpt::TRptFieldType::ftFloat);
    table.AppendRow({int64_t{2147483647}, std::string("abc"), 2.5});
    table.AppendRow({int64_t{-5}, std::string(300, 'x'), -1e300});
    table.Open();
    dataSets.push_back(&table);
    env.SetDataSets(&dataSets);
    env.AddEntry("PAGENUMBER", "0");
    env.AddEntry("A", "B + 1");
    env.AddEntry("B", "IF(PAGENUMBER > 0, A, SUM(N))");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  const std::string text(reinterpret_cast<const char*>(data), size);
  world.env.BeginUse();
  {
    rpt::TRptEvaluator ev;
    ev.SetDataSets(&world.dataSets);
    ev.SetEnvironment(&world.env);
    try {
      ev.Compile(text);
      for (world.table.First(); !world.table.Eof(); world.table.Next()) ev.AggregatePass();
      const rpt::TRptEvResult r = ev.Run();
      if (r.kind != rpt::TRptEvKind::Error) (void)rpt::ResultToText(r);
      rpt::TRptEvEnvironment::StoreInteger(world.env.ConstantElement("PAGENUMBER"), 1);
      (void)ev.Run();
      rpt::TRptEvEnvironment::StoreInteger(world.env.ConstantElement("PAGENUMBER"), 0);
      ev.ResetAggregates();
    } catch (const rpt::EExprError&) {
    }
  }
  world.env.EndUse();
  for (double v : {0.0, -1234.5678, 1e300, 5e-324}) {
    (void)platform::FormatFloatMask(text, v);
    (void)rpt::FormatWithValue(text, v);
  }
  (void)platform::FormatDateTime(text, 45356.5);
  return 0;
}
