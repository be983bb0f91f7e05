// Every picture of the chart gallery drawn as one whole frame, on a QImage ("png") and into an
// enhanced metafile ("emf"). The chart is made once per benchmark; each iteration draws it.
// Counters: "emf_bytes" is the size of the picture's metafile.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <memory>

#include "chart/unit.h"
#include "chart_gallery.h"
#include "platform/dc_canvas.h"
#include "platform/picture.h"
#include "platform/qt/dc_qt.h"

namespace {

void DrawToImage(benchmark::State& state, const gallery::Picture* picture) {
  auto c = picture->make();
  QImage image(c->Width(), c->Height(), QImage::Format_RGB32);
  for (auto _ : state) {
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    c->DrawToCanvas(canvas, c->GetPanelRect());
  }
}

void DrawToMetafile(benchmark::State& state, const gallery::Picture* picture) {
  auto c = picture->make();
  size_t bytes = 0;
  for (auto _ : state) {
    const auto metafile = c->MakeMetafile(true, c->GetPanelRect());
    bytes = metafile ? metafile->Bytes().size() : 0;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["emf_bytes"] = static_cast<double>(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  chart::ChartLibraryScope scope;
  static const std::vector<gallery::Picture> pictures = gallery::Pictures();
  for (const gallery::Picture& p : pictures) {
    benchmark::RegisterBenchmark(("png/" + p.name).c_str(), DrawToImage, &p)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("emf/" + p.name).c_str(), DrawToMetafile, &p)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
