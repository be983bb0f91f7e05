// Series points: appending 100,000 values with AddY, inserting 10,000 points in falling X order
// (each lands at the front of the ordered X list), reading a statistic after one change of a
// 100,000-point list, and writing and reading the stored "Data" block of 100,000 points.
// Counters: "bytes_per_point" is the heap the points take (measured with mallinfo2 around the
// filling), "bytes" the size of the stored block.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <string>

#include "chart/series.h"
#include "chart/unit.h"

namespace {

using namespace chart;

size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_AddY(benchmark::State& state) {
  chart::ChartLibraryScope scope;
  const int n = static_cast<int>(state.range(0));
  double perPoint = 0;
  for (auto _ : state) {
    const size_t before = HeapInUse();
    auto series = std::make_unique<TChartSeries>();
    const size_t empty = HeapInUse();
    for (int i = 0; i < n; ++i) series->AddY(i * 0.5);
    perPoint = static_cast<double>(HeapInUse() - empty) / n;
    benchmark::DoNotOptimize(series->PointCount());
    state.PauseTiming();
    series.reset();
    benchmark::DoNotOptimize(before);
    state.ResumeTiming();
  }
  state.counters["bytes_per_point"] = perPoint;
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddY)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_AddPointFallingX(benchmark::State& state) {
  chart::ChartLibraryScope scope;
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TChartSeries series;
    for (int i = n; i > 0; --i) series.AddPoint(i, i * 2.0);
    benchmark::DoNotOptimize(series.XValue(0));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddPointFallingX)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_StatisticAfterOneChange(benchmark::State& state) {
  chart::ChartLibraryScope scope;
  TChartSeries series;
  for (int i = 0; i < 100000; ++i) series.AddY(i % 977);
  int k = 0;
  for (auto _ : state) {
    series.YValues().SetValue(k % 100000, k);
    ++k;
    benchmark::DoNotOptimize(series.YValues().Maximum());
  }
}
BENCHMARK(BM_StatisticAfterOneChange)->Unit(benchmark::kMicrosecond);

// A series as the program's forms hold them (colours and labels) or with values only.
std::unique_ptr<TChartSeries> Filled(int n, bool labelled) {
  auto series = std::make_unique<TChartSeries>();
  for (int i = 0; i < n; ++i) {
    if (labelled) {
      series->AddY(i * 0.25, "P" + std::to_string(i % 100), 0x00C08000 + static_cast<TColor>(i % 7));
    } else {
      series->AddY(i * 0.25);
    }
  }
  return series;
}

void BM_DataWrite(benchmark::State& state) {
  chart::ChartLibraryScope scope;
  const bool labelled = state.range(0) != 0;
  state.SetLabel(labelled ? "colours and labels" : "values");
  auto series = Filled(100000, labelled);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string block = series->DataBytes();
    bytes = block.size();
    benchmark::DoNotOptimize(block.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DataWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DataRead(benchmark::State& state) {
  chart::ChartLibraryScope scope;
  const bool labelled = state.range(0) != 0;
  state.SetLabel(labelled ? "colours and labels" : "values");
  const std::string block = Filled(100000, labelled)->DataBytes();
  double perPoint = 0;
  for (auto _ : state) {
    TChartSeries series;
    const size_t empty = HeapInUse();
    series.ReadDataBytes(block);
    perPoint = static_cast<double>(HeapInUse() - empty) / series.PointCount();
    benchmark::DoNotOptimize(series.PointCount());
  }
  state.counters["bytes_per_point"] = perPoint;
  state.counters["bytes"] = static_cast<double>(block.size());
}
BENCHMARK(BM_DataRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
