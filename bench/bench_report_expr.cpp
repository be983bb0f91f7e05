// Expression evaluation speed: each expression is compiled once and then run 10^6 times.
// Reports runs per second (items_per_second).
//   constant      "42"
//   arithmetic    "[PRICE] * [QTY] + 1.5 - [QTY] / 2" over the current record of a table
//   aggregate     one aggregate pass of "SUM([PRICE] * [QTY])" per run
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK(BM_Constant)->Iterations(kRuns);
BENCHMARK(BM_ArithmeticOverFields)->Iterations(kRuns);
BENCHMARK(BM_AggregatePass)->Iterations(kRuns);
BENCHMARK_MAIN();
