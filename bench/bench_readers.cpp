// Readers of long inputs, each at full size and at a tenth of it: time that grows tenfold with
// the input is linear, a hundredfold quadratic. Reports milliseconds per read.
//   CsvHeader/N         a report table's CSV text whose header names N fields (and one record)
//   HtmlEntities/N      an HTML chart text of N entities in one run, measured
//   DataFallingX/N      a series' stored point data of N points in falling X order
//   DateFormatRun/N     a date format of N repeated characters that are no specifier
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "chart/canvas3d.h"
#include "chart/html.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/dc_canvas.h"
#include "platform/dc_trace.h"
#include "platform/text_format.h"
#include "report/dataset.h"

namespace {

void BM_CsvHeader(benchmark::State& state) {
  const int fields = static_cast<int>(state.range(0));
  std::string header, row;
  for (int k = 0; k < fields; ++k) {
    header += (k ? ",F" : "F") + std::to_string(k);
    row += k ? ",1" : "1";
  }
  const std::string csv = header + "\r\n" + row + "\r\n";
  for (auto _ : state) {
    rpt::TTable table("T");
    if (!table.LoadFromCsvText(csv)) state.SkipWithError("refused");
  }
}

void BM_HtmlEntities(benchmark::State& state) {
  std::string text;
  for (int64_t k = 0; k < state.range(0) / 4; ++k) text += "&lt;&amp;&quot;&gt;";
  chart::ChartLibraryScope scope;
  platform::TraceDc dc;
  platform::Canvas canvas(dc);
  chart::TPlotCanvas3D c;
  c.SetBufferedDisplay(false);
  c.BeginFrame(&canvas, nullptr, chart::clWhite, false, chart::TRect{0, 0, 400, 300});
  c.ResetDrawingState();
  for (auto _ : state) benchmark::DoNotOptimize(chart::MeasureHtmlText(c, text));
}

void BM_DataFallingX(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  std::string block;
  const auto put = [&block](auto value) {
    char bytes[sizeof(value)];
    std::memcpy(bytes, &value, sizeof(value));
    block.append(bytes, sizeof(value));
  };
  put(uint8_t{chart::kDataHasX});
  put(int32_t{points});
  for (int i = 0; i < points; ++i) {
    put(static_cast<double>(points - i));
    put(static_cast<double>(i));
  }
  chart::ChartLibraryScope scope;
  chart::TChartSeries series;
  for (auto _ : state) series.ReadDataBytes(block);
}

void BM_DateFormatRun(benchmark::State& state) {
  const std::string format(static_cast<size_t>(state.range(0)), 'x');
  const double date = platform::EncodeDate(2024, 3, 5).value();
  for (auto _ : state) benchmark::DoNotOptimize(platform::FormatDateTime(format, date));
}

}  // namespace

BENCHMARK(BM_CsvHeader)->Arg(15000)->Arg(150000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HtmlEntities)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DataFallingX)->Arg(26000)->Arg(260000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DateFormatRun)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
