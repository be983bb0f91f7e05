// The monthly weather window's three charts (25 series of 12 points in all, chart 1 ten series,
// chart 2 six, chart 3 nine) at their window size, made from their stored descriptions. Each
// benchmark takes the chart number (1 to 3) and times one operation as the window does it,
// through the widget's paint (QWidget::render), ms per operation:
//   Redraw      - the whole chart drawn again (buffer stale);
//   Repaint     - a paint that finds the buffer current and copies it;
//   Zoom130     - ZoomByPercent(130) and the redraw (the zoom is undone outside the timing);
//   ShiftRange  - the bottom axis scrolled by one month and the redraw;
//   WheelNotch  - one wheel notch (a Qt wheel event of 120) and the redraw;
//   ExportEmf / ExportBmp - the chart written as an enhanced metafile / a BMP file.
// Counters of the exports: "bytes", the size of the file written.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QWheelEvent>
#include <memory>
#include <string>

#include "chart/axis.h"
#include "chart_bench_main.h"
#include "chart_monthly_demo.h"
#include "platform/files.h"
#include "platform/path.h"

namespace {

using namespace chart;

struct MonthlyChart {
  explicit MonthlyChart(int number) : chart(monthlydemo::MakeChart(number)) {
    monthlydemo::FillMonthlyValues(*chart, number);
    Paint();
  }
  void Paint() { chart->render(&image); }
  std::unique_ptr<TChart> chart;
  QImage image{monthlydemo::kWidth, monthlydemo::kHeight, QImage::Format_RGB32};
};

void BM_Redraw(benchmark::State& state) {
  MonthlyChart m(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    m.chart->Invalidate();
    m.Paint();
  }
}

void BM_Repaint(benchmark::State& state) {
  MonthlyChart m(static_cast<int>(state.range(0)));
  for (auto _ : state) m.Paint();
}

void BM_Zoom130(benchmark::State& state) {
  MonthlyChart m(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    m.chart->ZoomByPercent(130);
    m.Paint();
    state.PauseTiming();
    m.chart->UndoZoom();
    m.Paint();
    state.ResumeTiming();
  }
}

void BM_ShiftRange(benchmark::State& state) {
  MonthlyChart m(static_cast<int>(state.range(0)));
  double step = 1;
  for (auto _ : state) {
    m.chart->BottomAxis()->ShiftRange(step, false);
    step = -step;
    m.Paint();
  }
}

void BM_WheelNotch(benchmark::State& state) {
  MonthlyChart m(static_cast<int>(state.range(0)));
  int delta = -120;
  for (auto _ : state) {
    QWheelEvent e(QPointF(300, 150), QPointF(300, 150), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m.chart.get(), &e);
    delta = -delta;
    m.Paint();
  }
}

void Export(benchmark::State& state, bool emf) {
  MonthlyChart m(static_cast<int>(state.range(0)));
  const std::string path = platform::TempFolder() + "bench_chart_monthly" + (emf ? ".emf" : ".bmp");
  for (auto _ : state) {
    const bool ok = emf ? m.chart->WriteMetafileFile(path) : m.chart->WriteBitmapFile(path);
    if (!ok) state.SkipWithError("the file was not written");
  }
  state.counters["bytes"] = static_cast<double>(platform::FileSize(path).value_or(0));
  platform::RemoveFile(path);
}

void BM_ExportEmf(benchmark::State& state) { Export(state, true); }
void BM_ExportBmp(benchmark::State& state) { Export(state, false); }

BENCHMARK(BM_Redraw)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zoom130)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftRange)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelNotch)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportEmf)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBmp)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunChartBenchmarks<QApplication>(argc, argv); }
