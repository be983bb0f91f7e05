// Benchmarks of the fifteen-year simulation, side by side in one program run:
//   BM_WholeRun             one whole RunSimulation (no pause between the years): reading the
//                           30 weather records, the daily balance, formatting and writing the
//                           18 result files, registration;
//   BM_WriteResultFiles     writing the 18 result files of that run alone (their bytes as the
//                           run wrote them, through the same atomic file set, unsynced as
//                           the run writes them);
//   BM_BalanceAndFormat     the run's own balance and formatting of every result text in
//                           memory (Simulation::ComputeResults), without any file access;
//   BM_Balance              the daily balance of the fifteen years alone.
//
// Data: the sample case with the installed weather files beside the executable when they were
// built (the station of the sample); otherwise the sample case on the synthetic two-station
// fixture of the tests (station 2). Results go to a folder in the temporary folder (TMPDIR,
// else /tmp) that is removed at the end. Every result file is written through a temporary file
// renamed over the old one, without a disk flush; with TMPDIR on a memory file system
// (/dev/shm) the same run shows its computing time without the disk file system's share.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/sim/run_state.h"
#include "model/sim/simulation.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"

namespace {

std::string InsideOf(const std::filesystem::path& native) {
  return platform::ToInsidePath(native.lexically_normal().string()).value_or("");
}

struct BenchData {
  bool ready = false;
  std::string label;
  std::string outDir;  // inside, with trailing '\'
};

BenchData& Data() {
  static BenchData data = [] {
    BenchData d;
    const std::string exe = platform::ExecutableFolder();
    const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path();
    std::string casePath = exe + "CAL\\HVS\\TEST_HVS.HVS";
    if (!platform::FileExists(casePath)) casePath = InsideOf(source / "data/tree/CAL/HVS/TEST_HVS.HVS");
    if (!fw::LoadInputData(casePath, fw::CalcData)) return d;

    const std::string installed = exe + "CAL\\";
    if (platform::FileExists(installed + app::TemperatureFileName()) &&
        platform::FileExists(installed + app::PrecipitationFileName())) {
      fw::CalDir = installed;
      d.label = "installed weather, sample station";
    } else {
      fw::CalDir = InsideOf(source / "tests/app/fixtures/weather") + "\\";
      fw::ReadRecNN8(fw::CalcData, 1100);
      fw::RecNN8.N[3] = 2;
      fw::WriteRecNN8(fw::CalcData, 1100);
      d.label = "synthetic fixture, station 2";
    }
    d.outDir = platform::TempFolder() + "harvsim-bench-simulation\\";
    app::CalcFilePath = d.outDir + "TEST_HVS.HVS";
    fw::ResultDir = d.outDir;
    app::ResultPrefix = fw::ResultDir + app::ResultFilePrefixName();
    d.ready = true;
    return d;
  }();
  return data;
}

std::unique_ptr<app::Simulation> NewSimulation() {
  auto sim = std::make_unique<app::Simulation>();
  sim->PauseEachYear = false;
  sim->LoadConditions();
  return sim;
}

std::vector<std::string> ResultPaths() {
  std::vector<std::string> paths;
  for (int y = app::kFirstYear; y <= app::kLastYear; ++y) paths.push_back(app::ResultPrefix + "(" + std::to_string(y) + ").DAY");
  for (const char* suffix : {"(FULL).DAT", "(1981-1995).MON", "(1981-1995).YER"}) paths.push_back(app::ResultPrefix + suffix);
  return paths;
}

void BM_WholeRun(benchmark::State& state) {
  BenchData& d = Data();
  if (!d.ready) return state.SkipWithError("sample case not found");
  auto sim = NewSimulation();
  for (auto _ : state) {
    if (!sim->RunSimulation()) return state.SkipWithError("run failed");
  }
  state.SetLabel(d.label);
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteResultFiles(benchmark::State& state) {
  BenchData& d = Data();
  if (!d.ready) return state.SkipWithError("sample case not found");
  auto sim = NewSimulation();
  if (!sim->RunSimulation()) return state.SkipWithError("run failed");
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& path : ResultPaths()) {
    std::string bytes;
    platform::ReadFileBytes(path, bytes);
    files.emplace_back(path, std::move(bytes));
  }
  for (auto _ : state) {
    platform::AtomicFileSet set;
    for (const auto& [path, bytes] : files)
      if (!set.Write(path, bytes, nullptr, platform::Durability::Unsynced)) return state.SkipWithError("write failed");
    if (!set.Commit()) return state.SkipWithError("rename failed");
  }
  state.SetLabel(d.label + ", 18 files");
}
BENCHMARK(BM_WriteResultFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The station's 30 records, read once.
struct StationRecords {
  std::vector<app::TDailyWeatherRecord> temperature, precipitation;
  bool Read() {
    fw::ReadRecNN8(fw::CalcData, 1100);
    const int station = static_cast<int>(fw::RecNN8.N[3]);
    temperature.assign(app::kYearCount, {});
    precipitation.assign(app::kYearCount, {});
    platform::RandomAccessFile t, p;
    if (!t.Open(fw::CalDir + app::TemperatureFileName()) || !p.Open(fw::CalDir + app::PrecipitationFileName()))
      return false;
    unsigned char bytes[app::kWeatherRecordSize];
    for (int k = 0; k < app::kYearCount; ++k) {
      const int64_t offset = app::WeatherRecordOffset(station, app::kFirstYear + k);
      if (!t.ReadAt(offset, bytes, sizeof bytes)) return false;
      app::DecodeWeatherRecord(bytes, temperature[k]);
      if (!p.ReadAt(offset, bytes, sizeof bytes)) return false;
      app::DecodeWeatherRecord(bytes, precipitation[k]);
    }
    return true;
  }
};

void BM_BalanceAndFormat(benchmark::State& state) {
  BenchData& d = Data();
  if (!d.ready) return state.SkipWithError("sample case not found");
  auto sim = NewSimulation();
  StationRecords records;
  if (!records.Read()) return state.SkipWithError("weather records missing");
  size_t written = 0;
  for (auto _ : state) {
    if (!sim->ComputeResults(records.temperature.data(), records.precipitation.data()))
      return state.SkipWithError("balance failed");
    for (int index = 1; index <= app::kYearCount + 2; ++index) written += sim->ResultText(index).size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(written));
  state.SetLabel(d.label);
}
BENCHMARK(BM_BalanceAndFormat)->Unit(benchmark::kMillisecond);

void BM_Balance(benchmark::State& state) {
  BenchData& d = Data();
  if (!d.ready) return state.SkipWithError("sample case not found");
  auto sim = NewSimulation();
  StationRecords records;
  if (!records.Read()) return state.SkipWithError("weather records missing");
  auto totals = std::make_unique<app::RunTotals>();
  auto days = std::make_unique<app::YearDays>();
  for (auto _ : state) {
    totals->Clear();
    for (int k = 1; k <= app::kYearCount; ++k) {
      app::DailyBalance(sim->Parameters, k, records.temperature[k - 1], records.precipitation[k - 1], *totals, *days);
      totals->CloseYear(k);
      benchmark::DoNotOptimize(days->days);
    }
  }
  state.SetLabel(d.label);
}
BENCHMARK(BM_Balance)->Unit(benchmark::kMillisecond);

void RemoveOutput() {
  const std::string dir = Data().outDir;
  if (dir.empty()) return;
  std::vector<platform::FolderEntry> entries;
  platform::ListFolder(dir, entries);
  for (const auto& e : entries) platform::RemoveFile(dir + e.name);
  platform::RemoveFolder(dir);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  RemoveOutput();
  return 0;
}
