// The chart panel of the weather window's size (728 x 300) with a back gradient, a border and a
// shadow: a whole paint (the frame drawn into the buffer and shown), a paint that only shows
// the buffer again, and the exports into a new bitmap and a new enhanced metafile.
// The paints are timed inside the panel's paint handler (QWidget::render delivers the paint
// event; its own work is not counted): "Time" is the handler's wall time per paint.
// Counters: "bytes" is the metafile's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <chrono>
#include <utility>

#include "chart/panel.h"
#include "chart/unit.h"
#include "platform/qt/dc_qt.h"
#include "qt_bench_main.h"

namespace {

using namespace chart;

constexpr int kW = 728, kH = 300;

// A panel that draws its background, as the axis panel does before the chart.
class BenchPanel : public TCustomPlotPanelExtended {
 public:
  BenchPanel() {
    resize(kW, kH);
    Gradient().SetVisible(true);
    Gradient().SetStartColor(clWhite);
    Gradient().SetEndColor(platform::RgbColor(120, 160, 255));
    Border().SetVisible(true);
    Border().SetWidth(2);
    Shadow().SetSize(4);
  }
  void InternalDraw(const TRect& rect) override { DrawPanel(rect); }
  // Seconds spent in the paint handler since the last call.
  double TakePaintSeconds() { return std::exchange(paintSeconds_, 0.0); }

 protected:
  void paintEvent(QPaintEvent* e) override {
    const auto start = std::chrono::steady_clock::now();
    TCustomPlotPanelExtended::paintEvent(e);
    paintSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

 private:
  double paintSeconds_ = 0;
};

struct Fixture {
  ChartLibraryScope scope;
  BenchPanel panel;
  QImage target{kW, kH, QImage::Format_RGB32};
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_PaintWhole(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    f.panel.Invalidate();
    f.panel.render(&f.target);
    state.SetIterationTime(f.panel.TakePaintSeconds());
  }
}
BENCHMARK(BM_PaintWhole)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PaintFromBuffer(benchmark::State& state) {
  Fixture& f = TheFixture();
  f.panel.render(&f.target);
  f.panel.TakePaintSeconds();
  for (auto _ : state) {
    f.panel.render(&f.target);
    state.SetIterationTime(f.panel.TakePaintSeconds());
  }
}
BENCHMARK(BM_PaintFromBuffer)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MakeBitmap(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) benchmark::DoNotOptimize(f.panel.MakeBitmap(clWhite, f.panel.GetPanelRect(), pfDevice));
}
BENCHMARK(BM_MakeBitmap)->Unit(benchmark::kMillisecond);

void BM_MakeMetafile(benchmark::State& state) {
  Fixture& f = TheFixture();
  size_t bytes = 0;
  for (auto _ : state) bytes = f.panel.MakeMetafile(true, f.panel.GetPanelRect())->Bytes().size();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MakeMetafile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks<QApplication>(argc, argv); }
