// The monthly weather window stepping through every station with the overview chart shown, as
// a user holding the up-down arrow does: each step selects the station, reads its monthly
// record, fills the grid and the header, and refills and redraws CHAT1.
//
// Data: the installed tree beside the executable (station tables and the monthly statistics
// file built from the real observations). Without it the benchmark reports an error.
#include <QApplication>
#include <QPixmap>
#include <memory>

#include "app/startup/program_startup.h"
#include "chart/chart.h"
#include "monthly_installed.h"
#include "qt_bench_main.h"
#include "views/monthly_window.h"
#include "views/station_choosers.h"

namespace {

views::TMWDDispFrame* Frame() {
  static views::TMWDDispFrame* frame = [] {
    if (!monthlyinstalled::UseInstalledData()) return static_cast<views::TMWDDispFrame*>(nullptr);
    auto* f = new views::TMWDDispFrame();
    f->resize(760, 390);
    f->show();
    f->Setup();
    f->SBTN1Click();
    return f;
  }();
  return frame;
}

// One up-down step per iteration, wrapping round after the last station; the chart is drawn
// each step (as the screen would show it).
void BM_StepStationsWithOverviewChart(benchmark::State& state) {
  views::TMWDDispFrame* f = Frame();
  if (!f) {
    state.SkipWithError("no installed station tables or monthly file beside the executable");
    return;
  }
  int station = 0;
  for (auto _ : state) {
    station = station % fw::StationCount + 1;
    f->PNOINPFM->CommitValue(station);
    f->CommitInput(9100);
    benchmark::DoNotOptimize(f->CHAT1->grab());
  }
  state.counters["stations"] = fw::StationCount;
  state.SetItemsProcessed(state.iterations());
}
// 815 steps: once through the installed station table.
BENCHMARK(BM_StepStationsWithOverviewChart)->Iterations(815)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Started as the program starts (the chart library with the rest), for the whole run.
  std::unique_ptr<app::ProgramStartup> startup;
  return RunQtBenchmarks<QApplication>(argc, argv, [&] { startup = std::make_unique<app::ProgramStartup>(); });
}
