// Benchmark of the whole weather-data build (wxbuild) from the real observations: reading
// stations.csv, cities.csv and the daily and monthly files of every station, gap filling, the
// standard year and the derived items of the monthly statistics, and writing the six installed
// files (station tables, WCD\JPN_MONT.DAT and the two daily files) into a folder in the
// temporary folder (TMPDIR, else /tmp) that is removed at the end. Counters: the stations and
// the size of the monthly statistics file in bytes.
//
// Observations: HARVSIM_WEATHER_DIR, else ../shared/weather beside the repository; without them
// the benchmark reports an error and measures nothing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "tools/wxbuild/wx_builder.h"

namespace {

namespace fs = std::filesystem;

std::string WeatherDir() {
  if (const char* env = std::getenv("HARVSIM_WEATHER_DIR")) return env;
  return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "shared" / "weather").string();
}

void BM_WholeWeatherBuild(benchmark::State& state) {
  const std::string weather = WeatherDir();
  if (!fs::exists(fs::path(weather) / "stations.csv")) {
    state.SkipWithError(("no weather observations in " + weather).c_str());
    return;
  }
  const fs::path out = fs::temp_directory_path() / "harvsim-bench-wxbuild";
  wxbuild::BuildSummary summary;
  for (auto _ : state) {
    std::ostringstream log;
    std::string error;
    if (!wxbuild::BuildWeatherData(weather, out.string() + "/", log, summary, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  state.counters["stations"] = summary.stations;
  std::error_code ec;
  state.counters["monthly_file_bytes"] = static_cast<double>(fs::file_size(out / "WCD" / "JPN_MONT.DAT", ec));
  fs::remove_all(out, ec);
}
BENCHMARK(BM_WholeWeatherBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
