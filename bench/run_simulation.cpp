// Runs the fifteen-year simulation of one calculation file from the command line:
//
//   run_simulation CASE.HVS CALDIR OUTDIR
//
// CASE.HVS is the calculation file, CALDIR the folder holding "気温(日次).DAT" and
// "降水量(日次).DAT", OUTDIR the folder that receives the result files "HarvSim(1981).DAY" ...
// "HarvSim(1981-1995).YER" and the registry "FILE_NEM.DAT" (created when missing). Paths are
// native. The run has no pause between the years; messages go to the standard error. Prints
// the elapsed time of the run; the exit status is 0 on success.
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "model/sim/run_state.h"
#include "model/sim/simulation.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "platform/path.h"

namespace {

std::optional<std::string> InsideFolder(const char* native) {
  auto inside = platform::ToInsidePath(native);
  if (!inside || inside->empty()) return std::nullopt;
  if (inside->back() != '\\') *inside += '\\';
  return inside;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s CASE.HVS CALDIR OUTDIR\n", argv[0]);
    return 2;
  }
  const auto casePath = platform::ToInsidePath(argv[1]);
  const auto calDir = InsideFolder(argv[2]);
  const auto outDir = InsideFolder(argv[3]);
  if (!casePath || casePath->empty() || !calDir || !outDir) {
    std::fprintf(stderr, "run_simulation: a path cannot be written in CP932\n");
    return 2;
  }

  fw::CalDir = *calDir;
  if (!fw::LoadInputData(*casePath, fw::CalcData)) return 1;
  app::CalcFilePath = *casePath;
  fw::ResultDir = *outDir;
  app::ResultPrefix = fw::ResultDir + app::ResultFilePrefixName();

  auto sim = std::make_unique<app::Simulation>();
  sim->PauseEachYear = false;
  sim->LoadConditions();
  const auto start = std::chrono::steady_clock::now();
  const bool ok = sim->RunSimulation();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%s: %.2f ms\n", ok ? "run finished" : "run failed", elapsed.count());
  return ok ? 0 : 1;
}
