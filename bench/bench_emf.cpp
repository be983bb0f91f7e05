// Enhanced metafiles: recording the result chart of a year (700 x 210: 365 days of
// precipitation bars, the eight tank lines, axes, labels and legend, drawn with the colour-
// number primitives) and replaying the file onto a 700 x 210 picture.
// Counters: "bytes" is the metafile's size, "records" its record count.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdio>

#include "framework/convert.h"
#include "framework/drawing.h"
#include "platform/cp932.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/qt/dc_qt.h"
#include "qt_bench_main.h"

namespace {

constexpr int kW = 700, kH = 210;

// Made-up data: a seasonal rain pattern and tank levels.
struct Year {
  float rain[365];
  float tank[8][365];
};

const Year& Data() {
  static Year y = [] {
    Year d{};
    uint32_t seed = 7;
    auto rnd = [&seed] {
      seed = seed * 1103515245u + 12345u;
      return static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
    };
    for (int day = 0; day < 365; ++day) {
      float r = rnd();
      d.rain[day] = r > 0.6f ? (r - 0.6f) * 250.0f * (1.2f + std::sin(day / 58.0f)) : 0.0f;
    }
    for (int t = 0; t < 8; ++t) {
      const float volume = 1000.0f * (t + 1);
      float level = volume / 2;
      for (int day = 0; day < 365; ++day) {
        level = std::min(volume, std::max(0.0f, level + d.rain[day] * 20.0f - 180.0f));
        d.tank[t][day] = level;
      }
    }
    return d;
  }();
  return y;
}

void DrawResultChart(platform::Canvas& c) {
  using namespace fw;
  const Year& d = Data();
  const int left = 40, top = 30, w = kW - 80, h = kH - 60;
  FillBox(c, 0, 0, 0x00F0F0F0, 0, kW, kH);
  c.Pen().SetColor(0);
  DrawBox(c, left, top, 0x100, left + w, top + h);
  static const char* const kMonths[] = {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"};
  static const int kStarts[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  for (int m = 0; m < 12; ++m) {
    int x = left + kStarts[m] * w / 365;
    DrawColorLine(c, x, top, 0x808080, x, top + h);
    TextOutClear(c, x + 2, top + h + 2, platform::J(kMonths[m]), 8, 0x100);
  }
  for (int k = 0; k <= 5; ++k) {
    int y = top + h - k * h / 5;
    TextOutClear(c, 2, y - 6, FloatToTextDigits(k * 8000.0 / 5, 5, 0), 8, 0x100);
    TextOutClear(c, left + w + 4, y - 6, FloatToTextDigits(k * 20.0, 6, 0), 8, 0x100);
  }
  TextOutClear(c, left, 4, platform::J("貯水残量 （ﾘｯﾄﾙ）"), 9, 0x100);
  TextOutClear(c, left + w - 120, 4, platform::J("降水量 （mm/日）"), 9, 0x100);
  for (int day = 0; day < 365; ++day) {
    if (d.rain[day] <= 0) continue;
    int x = left + day * w / 365;
    int bar = static_cast<int>(std::min(100.0f, d.rain[day]) * h / 100);
    FillBox(c, x, top + h - bar, 0x00C08040, 0, x + 1, top + h);
    if (d.rain[day] >= 100) TextOutClear(c, x, top + 2, FloatToTextDigits(d.rain[day], 4, 0) + "mm", 8, 0x100);
  }
  static const uint32_t kLine[8] = {0x0000FF, 0x0080FF, 0x00C000, 0x008080, 0xFF0000, 0x800080, 0x404040, 0x00FFFF};
  for (int t = 0; t < 8; ++t) {
    c.Pen().SetColor(kLine[t]);
    c.Pen().SetWidth(t == 2 ? 2 : 1);
    std::vector<platform::Point> pts;
    pts.reserve(365);
    for (int day = 0; day < 365; ++day) {
      pts.push_back(platform::Point{left + day * w / 365,
                                    top + h - static_cast<int>(d.tank[t][day] * h / 8000.0f)});
    }
    c.Polyline(pts);
    char caption[32];
    std::snprintf(caption, sizeof caption, "%.0f", 1000.0 * (t + 1));
    TextOutClear(c, left + 10 + t * 78, top + h + 16, caption + platform::J("ﾘｯﾄﾙ"), 8, static_cast<int>(kLine[t]) | 0x1000000);
  }
  c.Pen().SetWidth(1);
}

std::string RecordChart() {
  platform::EmfRecorder rec(kW, kH);
  {
    platform::Canvas canvas(rec);
    fw::FixMetafileFontWidth(canvas);
    DrawResultChart(canvas);
  }
  std::string bytes = rec.Finish();
  fw::RescaleMetafile(bytes, 0, 0);
  return bytes;
}

void BM_RecordResultChart(benchmark::State& state) {
  std::string bytes;
  for (auto _ : state) {
    bytes = RecordChart();
    benchmark::DoNotOptimize(bytes.data());
  }
  auto h = platform::emf::ReadHeader(bytes);
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["records"] = h ? h->records : 0;
}
BENCHMARK(BM_RecordResultChart)->Unit(benchmark::kMillisecond);

void BM_ReplayResultChart(benchmark::State& state) {
  const std::string bytes = RecordChart();
  QImage image(kW, kH, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    platform::QtDc dc(image);
    platform::EmfPlayResult r = platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, kW, kH});
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
  image.save("/tmp/harvsim-bench-chart.png");
}
BENCHMARK(BM_ReplayResultChart)->Unit(benchmark::kMillisecond);

void BM_DrawResultChartDirectly(benchmark::State& state) {
  QImage image(kW, kH, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    DrawResultChart(canvas);
  }
}
BENCHMARK(BM_DrawResultChartDirectly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks<QGuiApplication>(argc, argv); }
