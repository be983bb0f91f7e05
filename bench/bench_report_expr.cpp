// Expression evaluation speed: each expression is compiled once and then run 10^6 times.
// Reports runs per second (items_per_second).
//   constant      "42"
//   arithmetic    "[PRICE] * [QTY] + 1.5 - [QTY] / 2" over the current record of a table
//   aggregate     one aggregate pass of "SUM([PRICE] * [QTY])" per run
// and hostile texts of 100,000 of one construct, each compiled and run once per iteration
// (milliseconds; chains give their value, nesting beyond 100 levels the nesting error):
//   long/sum "1+1+...", long/minus "1-1-...", long/concat "'a'+'b'+...", long/brackets
//   "((...(1)...))", long/negations "-(-(...))", long/not "not not ...", long/calls
//   "IF(TRUE, IF(TRUE, ...), 0)"
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "report/dataset.h"
#include "report/expr_env.h"
#include "report/expr_eval.h"

namespace {

constexpr int64_t kRuns = 1000000;

struct Fixture {
  rpt::ExprModuleScope module{"bench"};
  rpt::TTable table{"T"};
  rpt::TRptDataSetList dataSets;
  rpt::TRptEvaluator ev;

  explicit Fixture(const char* expression) {
    table.AddFieldDef("QTY", rpt::TRptFieldType::ftInteger);
    table.AddFieldDef("PRICE", rpt::TRptFieldType::ftFloat);
    table.AppendRow({int64_t{3}, 2.5});
    table.Open();
    dataSets.push_back(&table);
    ev.SetDataSets(&dataSets);
    ev.Compile(expression);
  }
};

void BM_Constant(benchmark::State& state) {
  Fixture f("42");
  for (auto _ : state) benchmark::DoNotOptimize(f.ev.Run());
  state.SetItemsProcessed(state.iterations());
}

void BM_ArithmeticOverFields(benchmark::State& state) {
  Fixture f("[PRICE] * [QTY] + 1.5 - [QTY] / 2");
  for (auto _ : state) benchmark::DoNotOptimize(f.ev.Run());
  state.SetItemsProcessed(state.iterations());
}

void BM_AggregatePass(benchmark::State& state) {
  Fixture f("SUM([PRICE] * [QTY])");
  for (auto _ : state) f.ev.AggregatePass();
  benchmark::DoNotOptimize(f.ev.Run());
  state.SetItemsProcessed(state.iterations());
}

constexpr int kConstructs = 100000;

std::string Repeated(std::string_view piece, int count) {
  std::string text;
  text.reserve(piece.size() * static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) text += piece;
  return text;
}

std::string LongText(const std::string& which) {
  const int n = kConstructs;
  if (which == "sum") return Repeated("1+", n - 1) + "1";
  if (which == "minus") return Repeated("1-", n - 1) + "1";
  if (which == "concat") return Repeated("'a'+", n - 1) + "'a'";
  if (which == "brackets") return Repeated("(", n) + "1" + Repeated(")", n);
  if (which == "negations") return Repeated("-(", n) + "1" + Repeated(")", n);
  if (which == "not") return Repeated("not ", n) + "TRUE";
  return Repeated("IF(TRUE, ", n) + "1" + Repeated(", 0)", n);
}

void BM_LongExpression(benchmark::State& state, const char* which) {
  Fixture f("0");
  const std::string text = LongText(which);
  for (auto _ : state) benchmark::DoNotOptimize(f.ev.EvaluateOnce(text));
  state.counters["bytes"] = static_cast<double>(text.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_LongExpression, sum, "sum")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LongExpression, minus, "minus")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LongExpression, concat, "concat")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LongExpression, brackets, "brackets")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LongExpression, negations, "negations")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LongExpression, not, "not")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LongExpression, calls, "calls")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Constant)->Iterations(kRuns);
BENCHMARK(BM_ArithmeticOverFields)->Iterations(kRuns);
BENCHMARK(BM_AggregatePass)->Iterations(kRuns);
BENCHMARK_MAIN();
