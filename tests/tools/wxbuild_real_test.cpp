// The weather files built from the real observations (skipped when they are not there).
#include <gtest/gtest.h>

#include <filesystem>

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

TEST(WxBuildRealData, HamamatsuByNameAndNumber) {
  namespace fs = std::filesystem;
  const std::string bin = testsupport::BinDir() + "/";
  const std::string weather = testsupport::WeatherDir();
  if (weather.empty() || !fs::exists(weather + "/stations.csv")) GTEST_SKIP() << "no weather observations";
  if (!fs::exists(bin + "WCD/JPN_WPNT.DAT") || !fs::exists(bin + "CAL/降水量(日次).DAT"))
    GTEST_SKIP() << "weather files not built in " << bin;
  if (!fs::exists(bin + "DATA/DAT/国名.DAT")) GTEST_SKIP() << "no country table in " << bin;

  testsupport::FakeUi ui;
  const std::string root = platform::ToInsidePath(fs::canonical(bin).string() + "/").value();
  fw::BaseDrive = root.substr(0, 2);
  fw::BaseFolder = root.substr(2);
  fw::SetFolderTable(root);
  fw::CountryNo = 1;
  fw::WCD_Data_Init();
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

}  // namespace
