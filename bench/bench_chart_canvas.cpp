// The chart canvas's costly operations over a 700 x 300 area (the size of the weather
// window's charts): each gradient direction and radial painting, a 50 % blend, and 1,000
// rotated texts, drawn on a QImage and recorded into an enhanced metafile.
// Counters: "bytes" is the metafile's size where one is recorded.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>

#include "chart/canvas3d.h"
#include "chart/effects.h"
#include "chart/unit.h"
#include "platform/emf_recorder.h"
#include "platform/qt/dc_qt.h"
#include "chart_bench_main.h"

namespace {

using namespace chart;

constexpr int kW = 700, kH = 300;
const TRect kArea{0, 0, kW, kH};

// A canvas bound to a QImage or to a metafile recorder.
struct Surface {
  explicit Surface(bool metafile) {
    if (metafile) {
      dc = std::make_unique<platform::EmfRecorder>(kW, kH);
    } else {
      image = QImage(kW, kH, QImage::Format_RGB32);
      image.fill(Qt::white);
      dc = std::make_unique<platform::QtDc>(image);
    }
    platformCanvas = std::make_unique<platform::Canvas>(*dc);
    canvas.SetBufferedDisplay(false);
    canvas.SetMetafiling(metafile);
    canvas.BeginFrame(platformCanvas.get(), nullptr, clWhite, false, kArea);
    canvas.ResetDrawingState();
  }
  size_t Finish() {
    auto* rec = dynamic_cast<platform::EmfRecorder*>(dc.get());
    return rec ? rec->Finish().size() : 0;
  }
  QImage image;
  std::unique_ptr<platform::DeviceContext> dc;
  std::unique_ptr<platform::Canvas> platformCanvas;
  TPlotCanvas3D canvas;
};

const char* const kDirectionNames[] = {"TopBottom",      "BottomTop",      "LeftRight", "RightLeft",
                                       "FromCenter",     "FromTopLeft",    "FromBottomLeft", "Radial",
                                       "DiagonalUp",     "DiagonalDown"};

void BM_Gradient(benchmark::State& state) {
  const auto direction = static_cast<TGradientDirection>(state.range(0));
  const bool metafile = state.range(1) != 0;
  state.SetLabel(std::string(kDirectionNames[direction]) + (metafile ? " metafile" : " image"));
  size_t bytes = 0;
  for (auto _ : state) {
    Surface s(metafile);
    s.canvas.GradientFill(kArea, platform::RgbColor(255, 0, 0), 50, direction, platform::RgbColor(0, 0, 255));
    bytes = s.Finish();
  }
  if (metafile) state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Gradient)->ArgsProduct({benchmark::CreateDenseRange(0, 9, 1), {0, 1}})->Unit(benchmark::kMillisecond);

void BM_Blend50(benchmark::State& state) {
  // Only a surface that can be read blends; a metafile is drawn without the blend.
  Surface s(false);
  for (auto _ : state) {
    s.canvas.Brush().SetColor(clYellow);
    s.canvas.FillRect(kArea);
    auto blend = s.canvas.BeginBlend(kArea, 50);
    s.canvas.Brush().SetColor(clBlue);
    s.canvas.FillRect(kArea);
    s.canvas.EndBlend(std::move(blend));
  }
}
BENCHMARK(BM_Blend50)->Unit(benchmark::kMillisecond);

void BM_RotatedTexts(benchmark::State& state) {
  const bool metafile = state.range(0) != 0;
  state.SetLabel(metafile ? "metafile" : "image");
  size_t bytes = 0;
  for (auto _ : state) {
    Surface s(metafile);
    TPlotFont font;
    font.SetSize(9);
    s.canvas.SelectFont(font);
    for (int k = 0; k < 1000; ++k) {
      s.canvas.DrawRotatedText(20 + (k * 37) % (kW - 40), 20 + (k * 53) % (kH - 40), "1995/03", (k * 7) % 360);
    }
    bytes = s.Finish();
  }
  if (metafile) state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RotatedTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunChartBenchmarks<QGuiApplication>(argc, argv); }
