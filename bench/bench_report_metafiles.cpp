// The ten page metafiles of the printed report (three daily charts, the monthly and yearly
// charts, the four analysis graphs and the weather chart), drawn from the small result fixture
// of the tests (tests/app/fixtures/golden): rendered to metafile bytes, and rendered and saved
// to files (each written through a temporary file and a rename, flushed to the disk).
// Counters: "bytes" is the size of the ten files together.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <unistd.h>

#include "app/ui/screen3_graphs.h"
#include "bench/report_set.h"
#include "platform/qt/dc_qt.h"
#include "qt_bench_main.h"

namespace {

namespace fs = std::filesystem;
using benchreport::InsideOf;
using benchreport::Page;

benchreport::ReportSet& Data() {
  static benchreport::ReportSet f = benchreport::LoadReportSet();
  return f;
}

void BM_RenderReportMetafiles(benchmark::State& state) {
  benchreport::ReportSet& f = Data();
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
  benchreport::ReportSet& f = Data();
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
