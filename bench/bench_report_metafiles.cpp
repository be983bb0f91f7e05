// The ten page metafiles of the printed report (three daily charts, the monthly and yearly
// charts, the four analysis graphs and the weather chart), drawn from the small result fixture
// of the tests (tests/app/fixtures/golden): rendered to metafile bytes, and rendered and saved
// to files (each written through a temporary file and a rename, flushed to the disk).
// Counters: "bytes" is the size of the ten files together.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <unistd.h>

#include "app/ui/screen3_data.h"
#include "app/ui/screen3_graphs.h"
#include "framework/appinit.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "qt_bench_main.h"

namespace {

namespace fs = std::filesystem;

std::string InsideOf(const fs::path& p) { return platform::ToInsidePath(p.string()).value_or(""); }

struct Page {
  int page, yearNumber, graph;
};

struct Fixture {
  std::string prefix;
  std::vector<std::string> yearLines;
  app::Screen3Data data;
  std::vector<Page> pages;
  bool ready = false;

  // The data as the screen holds it while the page's metafile is made.
  app::Screen3Data& On(const Page& p) {
    data.page = p.page;
    data.yearNumber = p.yearNumber;
    data.graph = p.graph;
    data.resultLines.clear();
    if (p.page == 1) {
      platform::ReadTextLines(prefix + "(" + std::to_string(1980 + p.yearNumber) + ").DAY", data.resultLines);
    } else if (p.page == 2) {
      platform::ReadTextLines(prefix + "(1981-1995).MON", data.resultLines);
    } else if (p.page == 3) {
      data.resultLines = yearLines;
    } else if (p.page == 4) {
      app::FillAnalysisTable(yearLines, p.graph, data.analysis);
    }
    data.rowCount = std::max(0, static_cast<int>(data.resultLines.size()) - 4);
    return data;
  }
};

Fixture& Data() {
  static Fixture f = [] {
    Fixture d;
    const fs::path source = fs::path(__FILE__).parent_path().parent_path();
    fw::ColorFileName = InsideOf(source / "data/tree/DATA/COLOR/標準色.COL");
    d.prefix = InsideOf(source / "tests/app/fixtures/golden") + "\\HarvSim";
    std::vector<std::string> full;
    if (!platform::ReadTextLines(d.prefix + "(1981-1995).YER", d.yearLines) ||
        !platform::ReadTextLines(d.prefix + "(FULL).DAT", full)) {
      return d;
    }
    d.data.representative = app::BuildYearList(d.yearLines).representative;
    app::FillFullTankTable(full, d.data.fullTank);
    d.data.basicVolume = 1000;
    const double factors[9] = {0, 0.25, 0.5, 1, 1.5, 2, 3, 4, 5};
    for (int t = 1; t <= 8; ++t) d.data.tankVolume[t] = factors[t] * d.data.basicVolume;
    for (int k = 1; k <= 3; ++k) d.pages.push_back({1, d.data.representative[k], 0});
    d.pages.push_back({2, 0, 0});
    d.pages.push_back({3, 0, 0});
    for (int g = 1; g <= 4; ++g) d.pages.push_back({4, 0, g});
    d.pages.push_back({5, 0, 0});
    d.ready = d.pages.size() == 10 && d.data.representative[1] > 0;
    return d;
  }();
  return f;
}

void BM_RenderReportMetafiles(benchmark::State& state) {
  Fixture& f = Data();
  if (!f.ready) {
    state.SkipWithError("result fixture missing");
    return;
  }
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const Page& p : f.pages) {
      const std::string emf = app::RenderPageMetafile(f.prefix, f.On(p));
      bytes += emf.size();
      benchmark::DoNotOptimize(emf.data());
    }
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderReportMetafiles)->Unit(benchmark::kMillisecond);

void BM_SaveReportMetafiles(benchmark::State& state) {
  Fixture& f = Data();
  if (!f.ready) {
    state.SkipWithError("result fixture missing");
    return;
  }
  const fs::path out = fs::temp_directory_path() / ("harvsim-bench-metafiles-" + std::to_string(::getpid()));
  fs::create_directories(out);
  const std::string outPrefix = InsideOf(out) + "\\HarvSim";
  size_t bytes = 0;
  for (auto _ : state) {
    for (const Page& p : f.pages) {
      app::Screen3Data& data = f.On(p);
      if (!app::SaveGraphMetafile(outPrefix + app::PageMetafileSuffix(p.page, p.yearNumber, p.graph), f.prefix, data)) {
        state.SkipWithError("a metafile could not be written");
        break;
      }
    }
  }
  for (const auto& e : fs::directory_iterator(out)) bytes += fs::file_size(e.path());
  state.counters["bytes"] = static_cast<double>(bytes);
  fs::remove_all(out);
}
BENCHMARK(BM_SaveReportMetafiles)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks<QGuiApplication>(argc, argv); }
