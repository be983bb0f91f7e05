// Axes of a 728 x 300 chart (the size of the weather window's charts) with four labelled
// axes: the layout of the axes around the plot rectangle alone, and a whole frame drawn on a
// QImage (background, axes with labels, ticks, grid and titles); and a million value-to-pixel
// and pixel-to-value conversions of one axis.
// Counters: "labels" is the number of labels one frame draws.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>

#include "chart/axis_panel.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/cp932.h"
#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"

namespace {

using namespace chart;

const char* const kMonths[] = {"１月", "２月", "３月", "４月", "５月", "６月",
                               "７月", "８月", "９月", "１０月", "１１月", "１２月"};

// A chart with twelve labelled months along the bottom, years along the top, temperatures on
// the left (-20..40 by 10) and precipitation on the right (-2000..4000 by 1000).
struct Chart {
  Chart() {
    panel.resize(728, 300);
    panel.SetView3D(false);
    monthly.SetParentChart(&panel);
    yearly.SetParentChart(&panel);
    yearly.SetHorizAxis(aTopAxis);
    yearly.SetVertAxis(aRightAxis);
    for (int m = 0; m < 12; ++m) monthly.AddY(5 + 20 * std::sin(m / 2.0), platform::J(kMonths[m]));
    for (int y = 1981; y <= 1995; ++y) yearly.AddPoint(y, 1000 + 50 * (y % 7));
    panel.LeftAxis()->SetMinMax(-20, 40);
    panel.LeftAxis()->SetIncrement(10);
    panel.RightAxis()->SetMinMax(-2000, 4000);
    panel.RightAxis()->SetIncrement(1000);
    panel.LeftAxis()->Title().SetCaption(platform::J("気温（℃）"));
    panel.RightAxis()->Title().SetCaption(platform::J("降水量（mm）"));
    for (TChartAxis* axis : panel.Axes()) {
      axis->OnDrawLabel = [this](TChartAxis*, int&, int&, int&, std::string&, bool&) { ++labels; };
    }
  }
  ~Chart() {
    monthly.SetParentChart(nullptr);
    yearly.SetParentChart(nullptr);
  }
  TCustomAxisPanel panel;
  TChartSeries monthly, yearly;
  int labels = 0;
};

// The chart's axes laid out around a plot rectangle of the usual size.
void LayOut(Chart& chart) {
  chart.panel.SetChartRect(TRect{22, 12, 706, 288});
  chart.panel.CalcAxesLayout();
}

void BM_AxesLayout(benchmark::State& state) {
  Chart chart;
  QImage image(728, 300, QImage::Format_RGB32);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  chart.panel.DrawToCanvas(canvas, chart.panel.GetPanelRect());  // binds the canvas and sizes
  for (auto _ : state) {
    LayOut(chart);
    benchmark::DoNotOptimize(chart.panel.ChartRect());
  }
}
BENCHMARK(BM_AxesLayout)->Unit(benchmark::kMicrosecond);

void BM_DrawFourAxes(benchmark::State& state) {
  Chart chart;
  QImage image(728, 300, QImage::Format_RGB32);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  int labels = 0;
  for (auto _ : state) {
    chart.labels = 0;
    chart.panel.DrawToCanvas(canvas, chart.panel.GetPanelRect());
    labels = chart.labels;
  }
  state.counters["labels"] = labels;
}
BENCHMARK(BM_DrawFourAxes)->Unit(benchmark::kMillisecond);

void BM_ValueToPixel(benchmark::State& state) {
  Chart chart;
  LayOut(chart);
  const TChartAxis& axis = *chart.panel.LeftAxis();
  for (auto _ : state) {
    int64_t sum = 0;
    for (int i = 0; i < 1000000; ++i) sum += axis.ValueToPixel(-20 + i * 6e-5);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ValueToPixel)->Unit(benchmark::kMillisecond);

void BM_PixelToValue(benchmark::State& state) {
  Chart chart;
  LayOut(chart);
  const TChartAxis& axis = *chart.panel.LeftAxis();
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i < 1000000; ++i) sum += axis.PixelToValue(i % 300);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PixelToValue)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  ChartLibraryScope scope;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
