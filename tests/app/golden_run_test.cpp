// The sample case on the synthetic two-station weather fixture (tests/app/fixtures/weather,
// written by make_weather_fixture.py) must write result files equal, byte for byte, to the
// reviewed files in tests/app/fixtures/golden.
//
// After an intended change of the results, rerun this test with HARVSIM_UPDATE_GOLDEN=1 to
// rewrite the golden files, and review the differences before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/sim/run_state.h"
#include "model/sim/simulation.h"
#include "app/sim_test_support.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"

namespace {

std::string Inside(const std::filesystem::path& native) {
  return platform::ToInsidePath(native.lexically_normal().string()).value_or("");
}

// The repository (the fixtures live in its tests/app folder).
const std::filesystem::path kSource = testsupport::SourceDir();

std::vector<std::string> ResultNames() {
  std::vector<std::string> names;
  for (int year = 1981; year <= 1995; ++year) names.push_back("HarvSim(" + std::to_string(year) + ").DAY");
  names.push_back("HarvSim(FULL).DAT");
  names.push_back("HarvSim(1981-1995).MON");
  names.push_back("HarvSim(1981-1995).YER");
  return names;
}

// "line n: expected ... / actual ..." for the first line that differs.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const auto e = simtest::SplitCrLf(expected);
  const auto a = simtest::SplitCrLf(actual);
  for (size_t n = 0; n < std::max(e.size(), a.size()); ++n) {
    const std::string el = n < e.size() ? e[n] : "<none>";
    const std::string al = n < a.size() ? a[n] : "<none>";
    if (el != al)
      return "line " + std::to_string(n + 1) + "\n  expected: " + testsupport::U(el) + "\n  actual:   " +
             testsupport::U(al);
  }
  return "line ends differ";
}

TEST(GoldenRun, SampleCaseOnTheTwoStationFixture) {
  testsupport::FakeUi ui;
  testsupport::TempFolder tf;
  const std::filesystem::path fixtures = kSource / "tests/app/fixtures";

  ASSERT_TRUE(fw::LoadInputData(Inside(kSource / "data/tree/CAL/HVS/TEST_HVS.HVS"), fw::CalcData));
  // The sample's own station lies far beyond the fixture's two stations: take station 2.
  fw::ReadRecNN8(fw::CalcData, 1100);
  fw::RecNN8.N[3] = 2;
  ASSERT_TRUE(fw::WriteRecNN8(fw::CalcData, 1100));

  fw::CalDir = Inside(fixtures / "weather") + "\\";
  app::CalcFilePath = tf.Path("CAL/HVS/TEST_HVS.HVS");
  fw::ResultDir = tf.Path("CAL/HVS/") + fw::ResultFolderName();
  app::ResultPrefix = fw::ResultDir + "HarvSim";

  app::Simulation sim;
  sim.PauseEachYear = false;
  sim.LoadConditions();
  ASSERT_TRUE(sim.RunSimulation());
  ASSERT_TRUE(ui.shown.empty());

  const bool update = std::getenv("HARVSIM_UPDATE_GOLDEN") != nullptr;
  const std::string golden = Inside(fixtures / "golden") + "\\";
  if (update) platform::MakeFolders(golden);
  for (const std::string& name : ResultNames()) {
    const std::string actual = simtest::ReadBytes(fw::ResultDir + name);
    ASSERT_FALSE(actual.empty()) << name;
    if (update) {
      ASSERT_TRUE(platform::WriteFileBytesAtomic(golden + name, actual)) << name;
      continue;
    }
    const std::string expected = simtest::ReadBytes(golden + name);
    ASSERT_FALSE(expected.empty()) << "missing golden file " << name;
    EXPECT_TRUE(actual == expected) << name << ": " << FirstDifference(expected, actual);
  }

  fw::CalDir.clear();
  fw::ResultDir.clear();
  app::ResultPrefix.clear();
  app::CalcFilePath.clear();
}

}  // namespace
