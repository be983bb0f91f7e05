// Loading the conditions and whole runs on small synthetic weather files: the result files,
// the station's records, registration and every way a run can fail.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/sim/run_state.h"
#include "model/sim/simulation.h"
#include "app/sim_test_support.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/fake_status_bar.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

using testsupport::S;
using testsupport::U;

TEST(LoadConditions, TakesEveryParameterFromTheStore) {
  simtest::CaseSetup setup;
  setup.roofArea = 150;
  setup.catchArea = 120;
  setup.runoffCoef = 0.85f;
  setup.basicTank = 2000;
  setup.snowTemp = 2.5f;
  setup.ineffectivePrecip = 1.0f;
  setup.dailyUse = 180;
  for (int m = 1; m <= 12; ++m) setup.sprinkling[m] = m >= 6 && m <= 8 ? 100 : 0;
  simtest::MakeCase(setup);
  // The second further use, in two months.
  fw::ResetRecordKind("HH12");
  fw::RecHH12.N[1] = 30;
  fw::RecHH12.N[7] = 5;
  fw::WriteRecHH12(fw::CalcData, 9103);

  app::Simulation sim;
  sim.LoadConditions();
  EXPECT_FLOAT_EQ(sim.Parameters.RoofArea, 150);
  EXPECT_FLOAT_EQ(sim.Parameters.CatchArea, 120);
  EXPECT_FLOAT_EQ(sim.Parameters.RunoffCoef, 0.85f);
  const float tanks[9] = {0, 500, 1000, 2000, 3000, 4000, 6000, 8000, 10000};
  for (int i = 1; i <= 8; ++i) EXPECT_FLOAT_EQ(sim.Parameters.TankCapacity[i], tanks[i]) << i;
  EXPECT_FLOAT_EQ(sim.Parameters.SnowTemp, 2.5f);
  EXPECT_FLOAT_EQ(sim.Parameters.IneffectivePrecip, 1.0f);
  EXPECT_FLOAT_EQ(sim.Parameters.BaseUse, 180);
  const float use[13] = {0, 210, 180, 180, 180, 180, 280, 285, 280, 180, 180, 180, 180};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_FLOAT_EQ(sim.Parameters.MonthlyUse[m], use[m]) << m;
    EXPECT_FLOAT_EQ(sim.Parameters.MonthCoef[m], 0.85f) << m;
  }

  // A facility with toilet detail rows uses block 4200's large and small daily totals.
  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[4] = 420;
  fw::RecVV8.V[8] = 130;
  fw::WriteRecVV8(fw::CalcData, 4200, "--------");
  sim.LoadConditions();
  EXPECT_FLOAT_EQ(sim.Parameters.BaseUse, 550);
  EXPECT_FLOAT_EQ(sim.Parameters.MonthlyUse[1], 580);
}

// Temperature of station s, year y: s x 10 °C + the year index x 0.1 °C on every day, so each
// record tells where it was read from; precipitation of station 1 is always 0 and of station
// 2 12 mm on every third day.
int Temperature(int s, int y, int) { return s * 1000 + (y - 1980) * 10; }
int Precipitation(int s, int, int slot) { return s == 2 && slot % 3 == 0 ? 120 : 0; }

class RunSimulationTest : public ::testing::Test {
 public:
  void SetUp() override { Prepare(); }
  // A fresh case (station 2) and two-station weather files; no result folder yet.
  void Prepare() {
    calDir_ = tf_.Path("CAL/");
    fw::CalDir = calDir_;
    app::CalcFilePath = tf_.Path("CAL/HVS/CASE.HVS");
    fw::ResultDir = tf_.Path("CAL/HVS/") + fw::ResultFolderName();
    app::ResultPrefix = fw::ResultDir + "HarvSim";
    app::Calculating = false;
    fw::ResultLines.clear();
    simtest::CaseSetup setup;
    setup.station = 2;
    simtest::MakeCase(setup);
    platform::MakeFolders(tf_.Path("CAL/HVS/"));
    platform::WriteTextLinesAtomic(app::CalcFilePath, fw::CalcData);
    simtest::WriteWeatherFiles(calDir_, 2, Temperature, Precipitation);
  }
  void TearDown() override {
    fw::CalDir.clear();
    fw::ResultDir.clear();
    app::ResultPrefix.clear();
    app::CalcFilePath.clear();
  }

  void SetStation(int station) {
    fw::ReadRecNN8(fw::CalcData, 1100);
    fw::RecNN8.N[3] = station;
    fw::WriteRecNN8(fw::CalcData, 1100);
  }

  static bool Run() {
    app::Simulation sim;
    sim.LoadConditions();
    return sim.RunSimulation();
  }

  std::vector<std::string> ResultFiles() const {
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(fw::ResultDir, entries);
    std::vector<std::string> names;
    for (const auto& e : entries)
      if (e.name.rfind("HarvSim", 0) == 0) names.push_back(e.name);
    return names;
  }

  // A result table: four header lines (the first naming the table), then `rows` lines of
  // `width` bytes.
  std::vector<std::string> ReadTable(const std::string& suffix, const char* name, size_t rows, size_t width) {
    const auto lines = simtest::ReadLines(app::ResultPrefix + suffix);
    EXPECT_EQ(lines.size(), 4 + rows) << suffix;
    if (!lines.empty()) {
      EXPECT_EQ(U(lines[0]), std::string("シミュレーション試験 （") + name + "）") << suffix;
    }
    for (size_t n = 1; n < lines.size(); ++n) EXPECT_EQ(lines[n].size(), width) << suffix << " line " << n + 1;
    return lines;
  }

  // After a failed run: one message holding `fragment`, nothing registered, no completion
  // status, the flag cleared and the cursor restored.
  void ExpectFailure(const std::string& fragment) {
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_NE(ui_.shown[0].text.find(fragment), std::string::npos) << U(ui_.shown[0].text);
    EXPECT_FALSE(app::Calculating);
    EXPECT_EQ(ui_.cursorShape, platform::CursorShape::Default);
    EXPECT_FALSE(status_.bar.Showed(S("〔計算完了〕")));
    EXPECT_FALSE(fw::LookupResultName(app::CalcFilePath));
  }

  testsupport::TempFolder tf_;
  testsupport::FakeUi ui_;
  testsupport::StatusBarScope status_;
  std::string calDir_;
};

TEST_F(RunSimulationTest, WritesEveryResultFileFromTheStationsRecords) {
  ASSERT_FALSE(platform::FolderExists(fw::ResultDir));  // created by the run
  ASSERT_TRUE(Run());
  EXPECT_TRUE(ui_.shown.empty());
  EXPECT_FALSE(app::Calculating);
  EXPECT_EQ(ui_.cursorShape, platform::CursorShape::Default);
  EXPECT_TRUE(status_.bar.Showed(S("〔計算完了〕")));
  EXPECT_TRUE(fw::LookupResultName(app::CalcFilePath));
  EXPECT_GE(ui_.processEventsCalls, 15);  // the pause of every year went through WaitSeconds

  for (int year = 1981; year <= 1995; ++year) {
    const auto lines = ReadTable("(" + std::to_string(year) + ").DAY", "日次データ", 365, 166);
    ASSERT_EQ(lines.size(), 4u + 365);
    // Station 2's record of this year: 20 °C + the year index x 0.1 °C, 12 mm on 3 January.
    char expected[40];
    std::snprintf(expected, sizeof expected, "%d/01/03 24:00:00%7.1f     12", year, 20 + (year - 1980) * 0.1);
    EXPECT_EQ(lines[6].substr(0, 33), expected);
  }
  const std::string bytes = simtest::ReadBytes(app::ResultPrefix + "(1995).DAY");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

  const auto full = simtest::ReadLines(app::ResultPrefix + "(FULL).DAT");
  ASSERT_EQ(full.size(), 16u);
  EXPECT_EQ(U(full[0]).substr(0, 10), "1981年 : ");
  EXPECT_EQ(U(full[14]).substr(0, 10), "1995年 : ");
  EXPECT_EQ(U(full[15]).substr(0, 12), "15年平均 ");
  EXPECT_EQ(fw::ResultLines, full);
  EXPECT_EQ(simtest::ReadBytes(app::ResultPrefix + "(FULL).DAT").substr(9 + 40, 2), "\r\n");

  const auto month = ReadTable("(1981-1995).MON", "月次データ", 180, 180);
  ASSERT_EQ(month.size(), 4u + 180);
  EXPECT_EQ(month[4].substr(0, 19), "1981/01/31 00:00:00");
  EXPECT_EQ(month[5].substr(0, 19), "1981/02/28 00:00:00");
  EXPECT_EQ(month[183].substr(0, 19), "1995/12/31 00:00:00");

  const auto yearly = ReadTable("(1981-1995).YER", "年次データ", 15, 243);
  ASSERT_EQ(yearly.size(), 4u + 15);
  EXPECT_EQ(yearly[4].substr(0, 26), "1981/12/31 00:00:00   20.1");
  EXPECT_EQ(yearly[18].substr(0, 26), "1995/12/31 00:00:00   21.5");

  EXPECT_EQ(ResultFiles().size(), 18u);
}

TEST_F(RunSimulationTest, StationOneReadsTheFirstRecords) {
  SetStation(1);
  ASSERT_TRUE(Run());
  const auto lines = simtest::ReadLines(app::ResultPrefix + "(1983).DAY");
  EXPECT_EQ(lines[6].substr(0, 33), "1983/01/03 24:00:00   10.3      0");
}

TEST_F(RunSimulationTest, FailuresBeforeAnyResultFileIsWritten) {
  struct Case {
    const char* what;
    std::function<void(RunSimulationTest&)> arrange;
    std::function<std::string(RunSimulationTest&)> fragment;
  };
  const Case cases[] = {
      {"missing temperature file", [](RunSimulationTest& t) { platform::RemoveFile(t.calDir_ + app::TemperatureFileName()); },
       [](RunSimulationTest& t) { return "<" + t.calDir_ + app::TemperatureFileName() + S(">ファイルが見つかりません。"); }},
      {"missing precipitation file",
       [](RunSimulationTest& t) { platform::RemoveFile(t.calDir_ + app::PrecipitationFileName()); },
       [](RunSimulationTest& t) { return "<" + t.calDir_ + app::PrecipitationFileName() + S(">ファイルが見つかりません。"); }},
      {"station 0", [](RunSimulationTest& t) { t.SetStation(0); },
       [](RunSimulationTest&) { return S("観測地点番号0の気象データが<"); }},
      {"station 3 of a two-station file", [](RunSimulationTest& t) { t.SetStation(3); },
       [](RunSimulationTest&) { return S("観測地点番号3の気象データが<"); }},
      {"precipitation file one record short of station 2",
       [](RunSimulationTest& t) {
         const std::string path = t.calDir_ + app::PrecipitationFileName();
         std::string bytes = simtest::ReadBytes(path);
         platform::WriteFileBytesAtomic(path, bytes.substr(0, bytes.size() - app::kWeatherRecordSize));
       },
       [](RunSimulationTest& t) { return "<" + t.calDir_ + app::PrecipitationFileName() + S(">にありません。（地点数：1"); }},
      {"result folder cannot be created",
       [](RunSimulationTest&) {
         platform::WriteFileBytesAtomic(fw::ExcludePathDelimiter(fw::ResultDir), "in the way");
       },
       [](RunSimulationTest&) { return S("結果の保存フォルダー<"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare();
    c.arrange(*this);
    ui_.shown.clear();
    status_.bar.panel0History.clear();
    EXPECT_FALSE(Run());
    ExpectFailure(c.fragment(*this));
    EXPECT_TRUE(ResultFiles().empty());
    platform::RemoveFile(fw::ExcludePathDelimiter(fw::ResultDir));
  }
}

// The bytes of every file of the result folder (temporary files included), by name.
std::map<std::string, std::string> FolderBytes() {
  std::map<std::string, std::string> out;
  std::vector<platform::FolderEntry> entries;
  platform::ListFolder(fw::ResultDir, entries);
  for (const auto& e : entries) out[e.name] = e.info.isDir ? "<folder>" : simtest::ReadBytes(fw::ResultDir + e.name);
  return out;
}

// A run that fails after its checks leaves the earlier results of the folder exactly as they
// were, and no temporary file behind.
TEST_F(RunSimulationTest, FailedRunLeavesTheEarlierResultsUntouched) {
  struct Case {
    const char* what;
    std::function<bool(RunSimulationTest&)> failingRun;
    std::function<std::string(RunSimulationTest&)> fragment;
  };
  const Case cases[] = {
      {"station 2's record of 1990 holds another year",
       [](RunSimulationTest& t) {
         simtest::WriteWeatherFiles(t.calDir_, 2, Temperature, Precipitation,
                                    [](int s, int y) { return s == 2 && y == 1990 ? 1989 : y; });
         return t.Run();
       },
       [](RunSimulationTest&) { return S(">の観測地点番号2・1990年のデータが正しくありません。"); }},
      {"the yearly file is read-only",
       [](RunSimulationTest&) {
         platform::SetReadOnly(app::ResultPrefix + "(1981-1995).YER", true);
         return RunSimulationTest::Run();
       },
       [](RunSimulationTest&) { return "<" + app::ResultPrefix + "(1981-1995).YER" + S(">に書込めませんでした。"); }},
      {"a catchment area that takes the balance beyond the range of numbers",
       [](RunSimulationTest&) {
         app::Simulation sim;
         sim.LoadConditions();
         sim.Parameters.CatchArea = 3e38f;
         return sim.RunSimulation();
       },
       [](RunSimulationTest&) { return "<" + app::CalcFilePath + S(">の計算条件では計算値が数値の範囲を超えます。"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare();
    ASSERT_TRUE(Run());
    const auto before = FolderBytes();
    ASSERT_EQ(before.size(), 19u);  // 18 result files and the registry
    const auto lines = fw::ResultLines;
    // The case changes, so a run that went through would change every file.
    fw::ResetRecordKind("VV8");
    fw::RecVV8.V[8] = 150;
    fw::WriteRecVV8(fw::CalcData, 4100, "-------1");
    ui_.shown.clear();
    status_.bar.panel0History.clear();
    platform::RemoveFile(fw::ResultDir + fw::ResultRegistryName());
    EXPECT_FALSE(c.failingRun(*this));
    ExpectFailure(c.fragment(*this));
    auto after = FolderBytes();
    after[fw::ResultRegistryName()] = before.at(fw::ResultRegistryName());
    EXPECT_TRUE(after == before);
    EXPECT_EQ(fw::ResultLines, lines);
    platform::SetReadOnly(app::ResultPrefix + "(1981-1995).YER", false);
  }
}

TEST_F(RunSimulationTest, FolderInThePlaceOfAResultFileStopsTheRunBeforeAnyFileIsWritten) {
  ASSERT_TRUE(platform::MakeFolders(app::ResultPrefix + "(1985).DAY"));
  EXPECT_FALSE(Run());
  ExpectFailure("<" + app::ResultPrefix + "(1985).DAY" + S(">に書込めませんでした。"));
  EXPECT_EQ(ResultFiles(), std::vector<std::string>{"HarvSim(1985).DAY"});
  EXPECT_EQ(FolderBytes().size(), 1u);  // no temporary file left
}

}  // namespace
