// The weather files built from the real observations (skipped when they are not there).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "framework/appinit.h"
#include "framework/folders.h"
#include "framework/weather_stations.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"
#include "tools/wxbuild/wx_builder.h"

using testsupport::S;
using testsupport::U;

namespace {

int16_t Int16At(const std::string& bytes, size_t offset) {
  return static_cast<int16_t>(static_cast<uint8_t>(bytes[offset]) | (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

namespace fs = std::filesystem;

// The program's root in the build's bin folder with the weather files built from the real
// observations; empty (and a reason) when they are not there.
std::string RealDataRoot(std::string& reason) {
  const std::string bin = testsupport::BinDir() + "/";
  const std::string weather = testsupport::WeatherDir();
  if (weather.empty() || !fs::exists(weather + "/stations.csv")) reason = "no weather observations";
  else if (!fs::exists(bin + "WCD/JPN_WPNT.DAT") || !fs::exists(bin + "WCD/JPN_MONT.DAT") ||
           !fs::exists(bin + "CAL/降水量(日次).DAT"))
    reason = "weather files not built in " + bin;
  else if (!fs::exists(bin + "DATA/DAT/国名.DAT")) reason = "no country table in " + bin;
  return reason.empty() ? platform::ToInsidePath(fs::canonical(bin).string() + "/").value() : std::string();
}

// The framework started on that root with Japan's tables (skipped without the files).
class WxBuildRealData : public ::testing::Test {
 protected:
  testsupport::FakeUi ui;
  std::string root;

  void SetUp() override {
    std::string reason;
    root = RealDataRoot(reason);
    if (root.empty()) GTEST_SKIP() << reason;
    fw::BaseDrive = root.substr(0, 2);
    fw::BaseFolder = root.substr(2);
    fw::SetFolderTable(root);
    fw::CountryNo = 1;
    fw::WCD_Data_Init();
  }
};

TEST_F(WxBuildRealData, HamamatsuByNameAndNumber) {
  ASSERT_TRUE(ui.shown.empty()) << U(ui.shown[0].text);
  EXPECT_EQ(fw::StationSel.CountryCode, "JPN");

  ASSERT_TRUE(fw::SelectStation(0, "HAMAMATSU", "SZ"));
  const int n = fw::StationSel.StationNo;
  EXPECT_EQ(fw::StationCount, 815);
  EXPECT_EQ(U(fw::StationSel.StationNote), "浜松");
  EXPECT_EQ(U(fw::StationSel.AreaName), "静岡県");
  EXPECT_EQ(fw::StationSel.StationCode, "50456");
  fw::StationSel = fw::WCD_DataType();
  ASSERT_TRUE(fw::SelectStation(n));
  EXPECT_EQ(fw::StationSel.StationName, "HAMAMATSU");
  EXPECT_EQ(fw::StationSel.AreaCode, "SZ");

  // A city of Hamamatsu leads to the same station.
  int station = 0;
  std::string note;
  std::vector<std::string> cityLines;
  ASSERT_TRUE(platform::ReadTextLines(fw::WcdDir + "JPN_CITY.DAT", cityLines));
  int area = fw::StationSel.AreaNo, cityNo = 0;
  fw::AreaRecord k;
  std::vector<std::string> areaLines;
  ASSERT_TRUE(platform::ReadTextLines(fw::WcdDir + "JPN_STAT.DAT", areaLines));
  ASSERT_TRUE(fw::ReadAreaRecord(areaLines, area, k));
  for (int c = 1; c <= k.Numbers[1] && cityNo == 0; ++c)
    if (cityLines[c + k.Numbers[0] - 2].find(S("浜松市")) != std::string::npos) cityNo = c;
  ASSERT_GT(cityNo, 0);
  ASSERT_TRUE(fw::LoadStationRecords(area, cityNo, station, note));
  EXPECT_EQ(station, n);
  EXPECT_EQ(U(note), "浜松");

  // The weather-selection file shipped in the data tree names this station.
  fw::DataDir = platform::ToInsidePath(testsupport::SourceDir() + "/data/tree/DATA/").value();
  fw::StationSel = fw::WCD_DataType();
  fw::SelectDefaultStation(false);
  EXPECT_TRUE(ui.shown.empty()) << U(ui.shown[0].text);
  EXPECT_EQ(fw::StationSel.StationNo, n);
  fw::SetFolderTable(root);

  platform::RandomAccessFile temperature, precipitation;
  ASSERT_TRUE(temperature.Open(fw::CalDir + S("気温(日次).DAT")));
  ASSERT_TRUE(precipitation.Open(fw::CalDir + S("降水量(日次).DAT")));
  EXPECT_EQ(precipitation.Size(), 815 * 15 * 738);
  for (int year : {1981, 1995}) {
    const int64_t offset = (static_cast<int64_t>(n - 1) * 15 + (year - 1981)) * 738;
    std::string t(738, '\0'), p(738, '\0');
    ASSERT_TRUE(temperature.ReadAt(offset, t.data(), t.size()));
    ASSERT_TRUE(precipitation.ReadAt(offset, p.data(), p.size()));
    EXPECT_EQ(Int16At(t, 4), year);
    EXPECT_EQ(Int16At(p, 4), year);
    EXPECT_EQ(Int16At(p, 0), n);
    double rain = 0, heat = 0;
    for (int d = 0; d < 365; ++d) {
      rain += Int16At(p, 6 + 2 * d) * 0.1;
      heat += Int16At(t, 6 + 2 * d) * 0.01;
    }
    EXPECT_GT(rain, 1000.0) << year;
    EXPECT_LT(rain, 3500.0) << year;
    EXPECT_GT(heat / 365, 13.0) << year;
    EXPECT_LT(heat / 365, 19.0) << year;
  }
}

class RecordingView : public fw::StationInfoView {
 public:
  fw::StationInfoTexts texts;
  std::map<std::pair<int, int>, std::string> cells;
  void ShowTexts(const fw::StationInfoTexts& t) override { texts = t; }
  void SetCell(int col, int row, const std::string& text) override { cells[{col, row}] = text; }
};

// Degrees and minutes of a stations.csv position as the position label writes them.
std::string DegreesMinutesLabel(const std::string& decimal) {
  const double x = std::stod(decimal);
  int degrees = static_cast<int>(x), minutes = static_cast<int>(std::lround((x - degrees) * 60));
  if (minutes == 60) ++degrees, minutes = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%3d", degrees);
  return std::string(text) + "ﾟ" + (minutes < 10 ? "0" : "") + std::to_string(minutes) + "'";
}

TEST_F(WxBuildRealData, HamamatsuMonthlyStatistics) {
  ASSERT_TRUE(fw::SelectStation(0, "HAMAMATSU", "SZ"));
  const int n = fw::StationSel.StationNo;
  fw::MonthlyDataFileName("WCD");
  EXPECT_EQ(platform::FileSize(fw::MonthlyFile).value_or(0), int64_t{fw::StationCount} * fw::kMonthlyRecordBytes);

  RecordingView view;
  fw::ShowStationInfo(view, n);
  EXPECT_EQ(U(fw::MonthlyRecord.StationName), "浜松");
  std::ifstream stations(testsupport::WeatherDir() + "/stations.csv");
  std::string line, lat, lon;
  while (std::getline(stations, line))
    if (line.rfind("47654,", 0) == 0) {
      std::vector<std::string> f;
      std::stringstream fields(line);
      for (std::string cell; std::getline(fields, cell, ',');) f.push_back(cell);
      lat = f.at(9);
      lon = f.at(10);
    }
  ASSERT_FALSE(lat.empty());
  EXPECT_EQ(U(view.texts.Position), "(北)緯度  " + DegreesMinutesLabel(lat) + "  (東)経度  " + DegreesMinutesLabel(lon));

  // The standard year's annual mean temperature lies near the mean of all 15 years (the station
  // table's column 8, from the daily files); its global radiation is plausible for Japan.
  const auto& items = fw::MonthlyRecord.Items;
  EXPECT_NEAR(items[0][12], fw::StationSel.Values[3], 0.5);
  EXPECT_GT(items[12][12], 2000.0f);
  EXPECT_LT(items[12][12], 5500.0f);
  EXPECT_TRUE(std::isnan(fw::MonthlyRecord.Height));
  EXPECT_GT(fw::MonthlyRecord.HighestTemp, 35.0f);
  EXPECT_LT(fw::MonthlyRecord.LowestTemp, 0.0f);
}

}  // namespace
