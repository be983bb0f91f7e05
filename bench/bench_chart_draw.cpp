// Series drawing on an 800 x 400 chart: a fast line of 100,000 points with DrawAllPoints on
// and off, the same with the bottom axis zoomed to 1 % of its X range, and twelve bar series
// of twelve points side by side (the monthly weather window's bars). Each iteration draws one
// whole frame on a QImage. The baseline BM_QPainterPolyline draws the fast line's 100,000
// pixel points (as the chart places them) with one QPainter polyline of a one-pixel pen on
// the same image, and nothing else.
// Counters: "emf_bytes" is the size of the metafile of one frame of the 100,000-point line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <memory>
#include <vector>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/bar.h"
#include "chart/fast_line.h"
#include "chart/unit.h"
#include "platform/dc_canvas.h"
#include "platform/picture.h"
#include "platform/qt/dc_qt.h"
#include "chart_bench_main.h"

namespace {

using namespace chart;

constexpr int kW = 800, kH = 400;

struct Chart {
  Chart() {
    panel.resize(kW, kH);
    panel.SetView3D(false);
  }
  void DrawFrame() {
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    panel.DrawToCanvas(canvas, panel.GetPanelRect());
  }
  TCustomAxisPanel panel;
  QImage image{kW, kH, QImage::Format_RGB32};
};

// A fast line of 100,000 points: a slow wave with noise, X 0..99,999.
struct LineChart : Chart {
  LineChart() {
    line.BeginUpdate();
    for (int i = 0; i < 100000; ++i) line.AddY(50 + 40 * std::sin(i / 5000.0) + (i * 7919 % 13) - 6);
    line.EndUpdate();
    line.SetParentChart(&panel);
  }
  ~LineChart() { line.SetParentChart(nullptr); }
  TFastLineSeries line;
};

void BM_FastLine(benchmark::State& state) {
  LineChart chart;
  chart.line.SetDrawAllPoints(state.range(0) != 0);
  if (state.range(1) != 0) chart.panel.BottomAxis()->SetMinMax(50000, 51000);
  for (auto _ : state) chart.DrawFrame();
  if (state.range(0) != 0 && state.range(1) == 0) {
    const auto metafile = chart.panel.MakeMetafile(true, chart.panel.GetPanelRect());
    state.counters["emf_bytes"] = metafile ? static_cast<double>(metafile->Bytes().size()) : 0;
  }
}
BENCHMARK(BM_FastLine)
    ->ArgNames({"all_points", "zoomed"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

void BM_QPainterPolyline(benchmark::State& state) {
  LineChart chart;
  chart.DrawFrame();  // the axes place the points
  QPolygon points;
  points.reserve(chart.line.Count());
  for (int i = 0; i < chart.line.Count(); ++i) {
    const TPoint p = chart.line.PointPixel(i);
    points << QPoint(p.x, p.y);
  }
  QPen pen(Qt::red, 0);
  pen.setCosmetic(true);
  for (auto _ : state) {
    QPainter painter(&chart.image);
    painter.setPen(pen);
    painter.drawPolyline(points);
  }
}
BENCHMARK(BM_QPainterPolyline)->Unit(benchmark::kMillisecond);

void BM_TwelveBarSeries(benchmark::State& state) {
  Chart chart;
  std::vector<std::unique_ptr<TBarSeries>> bars;
  for (int k = 0; k < 12; ++k) {
    auto s = std::make_unique<TBarSeries>();
    s->BarPen().SetVisible(false);
    s->Marks().SetVisible(false);
    for (int m = 0; m < 12; ++m) s->AddY(10 + (m * 7 + k * 3) % 40);
    s->SetParentChart(&chart.panel);
    bars.push_back(std::move(s));
  }
  for (auto _ : state) chart.DrawFrame();
  for (auto& s : bars) s->SetParentChart(nullptr);
}
BENCHMARK(BM_TwelveBarSeries)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunChartBenchmarks<QApplication>(argc, argv); }
