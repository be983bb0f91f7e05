// Charts of very many items, as a hostile description or data file can make them, on an
// 800 x 400 chart: a bar series of 30,000 points with marks shown (every mark is moved off the
// marks before it), a pie of 10,000 slices with marks, and 100,000 series of one point each
// added, drawn in 3D with a depth row per series, and removed. Each iteration builds the chart,
// draws one frame on a QImage and empties it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <memory>
#include <vector>

#include "chart/axis_panel.h"
#include "chart/bar.h"
#include "chart/pie.h"
#include "chart/unit.h"
#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"
#include "chart_bench_main.h"

namespace {

using namespace chart;

constexpr int kW = 800, kH = 400;

void DrawFrame(TCustomAxisPanel& panel) {
  QImage image(kW, kH, QImage::Format_RGB32);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  panel.DrawToCanvas(canvas, panel.GetPanelRect());
}

template <class Kind>
void BM_SeriesWithMarks(benchmark::State& state) {
  for (auto _ : state) {
    TCustomAxisPanel panel;
    panel.resize(kW, kH);
    panel.SetView3D(false);
    Kind series;
    for (int i = 0; i < state.range(0); ++i) series.AddY(1 + (i * 37) % 100);
    series.Marks().SetVisible(true);
    series.SetParentChart(&panel);
    DrawFrame(panel);
    series.SetParentChart(nullptr);
  }
}
BENCHMARK_TEMPLATE(BM_SeriesWithMarks, TBarSeries)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(BM_SeriesWithMarks, TPieSeries)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ManySeries(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TCustomAxisPanel panel;
    panel.resize(kW, kH);
    std::vector<std::unique_ptr<TChartSeries>> all;
    all.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      auto s = std::make_unique<TChartSeries>();
      s->SetSeriesColor(clRed);
      s->AddY(i % 10);
      all.push_back(std::move(s));
    }
    for (auto& s : all) s->SetParentChart(&panel);
    panel.SetView3D(true);
    DrawFrame(panel);
    for (int i = n - 1; i >= 0; --i) all[static_cast<size_t>(i)]->SetParentChart(nullptr);
  }
}
BENCHMARK(BM_ManySeries)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return RunChartBenchmarks<QApplication>(argc, argv); }
