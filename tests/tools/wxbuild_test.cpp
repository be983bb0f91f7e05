#include "tools/wxbuild/wx_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "framework/table_file.h"
#include "framework/weather_stations.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"

using namespace wxbuild;
using testsupport::S;
using testsupport::U;

namespace {

const char kStationsHeader[] =
    "block_no,station_no,name_ja,name_kana,name_romaji,prefecture_ja,pref_code,area_ja,station_type,lat,lon,elev_m,"
    "prefectural_capital,missing_tavg_days,missing_prcp_days,source_file\n";
const char kCitiesHeader[] =
    "pref_code,prefecture_ja,city_code,city_ja,city_kana,lat,lon,nearest_block_no,nearest_station_ja,distance_km\n";

void WriteFile(const std::string& native, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(native).parent_path());
  std::ofstream(native, std::ios::binary) << text;
}

std::string ReadFile(const std::string& native) {
  std::ifstream in(native, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// "-1.6" from -16 tenths.
std::string Tenths(int v) {
  std::string sign = v < 0 ? "-" : "";
  v = std::abs(v);
  return sign + std::to_string(v / 10) + "." + std::to_string(v % 10);
}

// A complete daily file of made-up values, with some days replaced.
std::string DailyCsv(int seed, const std::map<std::string, std::pair<std::string, std::string>>& overrides) {
  std::string out = "date,tavg_c,prcp_mm\n";
  int index = 0;
  for (int y = 1981; y <= 1995; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= 31; ++d) {
        if (SeriesIndex(y, m, d) < 0) continue;
        char date[11];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
        std::string t = Tenths((index * 7 + seed) % 400 - 100);
        std::string p = index % 13 == 0 ? Tenths(index % 100) : "0.0";
        auto o = overrides.find(date);
        if (o != overrides.end()) std::tie(t, p) = o->second;
        out += std::string(date) + "," + t + "," + p + "\n";
        ++index;
      }
  return out;
}

int16_t Int16At(const std::string& bytes, size_t offset) {
  return static_cast<int16_t>(static_cast<uint8_t>(bytes[offset]) | (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}
// Value of day-of-year `day` in record `record`.
int16_t DayValue(const std::string& file, int record, int day) {
  return Int16At(file, static_cast<size_t>(record) * kRecordBytes + 6 + 2 * (day - 1));
}

// Two stations in two prefectures (the second prefecture first in the file) and three cities.
class WxBuildFixture : public ::testing::Test {
 protected:
  testsupport::TempFolder tmp;
  testsupport::FakeUi ui;
  std::string weather, root;

  void SetUp() override {
    weather = tmp.native() + "weather/";
    root = tmp.native() + "root/";
    WriteFile(weather + "stations.csv",
              std::string(kStationsHeader) +
                  "47654,50456,浜松,ハママツ,HAMAMATSU,静岡県,22,静岡,官,34.7533,137.7117,46,0,0,0,x\n"
                  "0002,11151,沓形,クツガタ,KUTSUGATA,北海道,01,宗谷,四,45.1783,141.1383,14,0,2,2,x\n");
    WriteFile(weather + "cities.csv", std::string(kCitiesHeader) +
                                          "01,北海道,01517,利尻富士町,りしりふじちょう,45.2465,141.2167,0002,沓形,10.52\n"
                                          "22,静岡県,22130,浜松市,はままつし,34.7108,137.7261,47654,浜松,3.2\n"
                                          "22,静岡県,22131,浜松市中区,はままつしなかく,34.7,137.73,47654,浜松,1.15\n");
    WriteFile(weather + "daily/47654.csv", DailyCsv(3, {}));
    WriteFile(weather + "daily/0002.csv",
              DailyCsv(0, {{"1984-02-28", {"-3.5", "12.5"}},
                           {"1984-02-29", {"1.0", "0.0"}},
                           {"1984-03-01", {"", ""}},  // both missing
                           {"1984-03-02", {"", "3.0"}},
                           {"1984-03-03", {"2.5", ""}},
                           {"1984-12-31", {"7.7", "0.0"}},
                           {"1985-02-28", {"4.2", "0.0"}},
                           {"1985-03-01", {"5.3", "1.5"}},
                           {"1985-12-31", {"-0.1", "0.0"}}}));
  }

  bool Build(std::string& log, std::string& error) {
    std::ostringstream out;
    BuildSummary summary;
    bool ok = BuildWeatherData(weather, root, out, summary, error);
    log = out.str();
    return ok;
  }
};

TEST_F(WxBuildFixture, DailyRecordsExactBytes) {
  std::string log, error;
  ASSERT_TRUE(Build(log, error)) << error;
  const std::string t = ReadFile(root + "CAL/気温(日次).DAT");
  const std::string p = ReadFile(root + "CAL/降水量(日次).DAT");
  ASSERT_EQ(t.size(), 2u * 15 * 738);
  ASSERT_EQ(p.size(), t.size());

  // Station 1 is KUTSUGATA (prefecture 1 comes first); its 1984 record is record 3.
  const size_t r1984 = 3 * 738;
  EXPECT_EQ(t.substr(r1984, 6), std::string("\x01\x00\x02\x00\xC0\x07", 6));  // station 1, 2 filled, 1984
  EXPECT_EQ(p.substr(r1984, 6), std::string("\x01\x00\x02\x00\xC0\x07", 6));
  // 28 Feb (day 59) -3.5 °C, 29 Feb (day 60) 1.0, then 1 and 2 March filled between 1.0 and 2.5.
  EXPECT_EQ(t.substr(r1984 + 6 + 2 * 58, 10), std::string("\xA2\xFE\x64\x00\x96\x00\xC8\x00\xFA\x00", 10));
  // Precipitation of the same days: 12.5, 0, missing -> 0, 3.0, missing -> 0.
  EXPECT_EQ(p.substr(r1984 + 6 + 2 * 58, 10), std::string("\x7D\x00\x00\x00\x00\x00\x1E\x00\x00\x00", 10));
  EXPECT_EQ(DayValue(t, 3, 366), 770);  // 31 December of a leap year

  // 1985 (common): 28 Feb is day 59, 1 March day 60, slot 366 written as 0.
  EXPECT_EQ(Int16At(t, 4 * 738 + 4), 1985);
  EXPECT_EQ(Int16At(t, 4 * 738 + 2), 0);
  EXPECT_EQ(DayValue(t, 4, 59), 420);
  EXPECT_EQ(DayValue(t, 4, 60), 530);
  EXPECT_EQ(DayValue(p, 4, 60), 15);
  EXPECT_EQ(DayValue(t, 4, 365), -10);
  EXPECT_EQ(t.substr(4 * 738 + 736, 2), std::string("\x00\x00", 2));

  // Station 2 (HAMAMATSU): records 15..29, the first for 1981 and the last for 1995.
  EXPECT_EQ(Int16At(t, 15 * 738), 2);
  EXPECT_EQ(Int16At(t, 15 * 738 + 4), 1981);
  EXPECT_EQ(Int16At(t, 29 * 738 + 4), 1995);
  EXPECT_EQ(DayValue(t, 15, 1), -970);  // the file's first day, -9.7 °C

  EXPECT_NE(log.find("station 1 0002 KUTSUGATA: filled 2 temperature and 2 precipitation values"), std::string::npos)
      << log;
  EXPECT_NE(log.find("station 2 47654 HAMAMATSU: filled 0 temperature and 0 precipitation values"), std::string::npos);
}

TEST_F(WxBuildFixture, TablesMatchTheStationReaders) {
  std::string log, error;
  ASSERT_TRUE(Build(log, error)) << error;
  const std::string wcd = platform::ToInsidePath(root).value() + "WCD\\";

  ASSERT_TRUE(fw::DataLoad(wcd + "JPN_STAT.DAT"));
  ASSERT_EQ(fw::TableBuffer.TableRows, 2);
  const std::vector<std::vector<std::string>> areas = {{"北海道", "HK", "1", "1", "1", "1", "北海道"},
                                                       {"静岡県", "SZ", "2", "2", "2", "1", "静岡県"}};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 7; ++j) EXPECT_EQ(U(fw::TableBuffer.TableCells[i + 1][j + 1]), areas[i][j]) << i << "," << j;

  std::vector<std::string> stationLines, cityLines;
  ASSERT_TRUE(platform::ReadTextLines(wcd + "JPN_WPNT.DAT", stationLines));
  ASSERT_TRUE(platform::ReadTextLines(wcd + "JPN_CITY.DAT", cityLines));
  ASSERT_EQ(stationLines.size(), 4u);
  fw::StationRecord st;
  ASSERT_TRUE(fw::ReadStationRecord(stationLines, 2, st));
  EXPECT_EQ(st.Name, "HAMAMATSU");
  EXPECT_EQ(st.Code, "SZ");
  EXPECT_EQ(st.Code2, "47654");
  EXPECT_EQ(st.Number, 22);
  EXPECT_DOUBLE_EQ(st.Values[0], 34.7533);
  EXPECT_DOUBLE_EQ(st.Values[1], 137.7117);
  EXPECT_DOUBLE_EQ(st.Values[2], 46.0);
  EXPECT_GT(st.Values[3], -10.0);  // mean temperature of the made-up values
  EXPECT_LT(st.Values[3], 30.0);
  EXPECT_GT(st.Values[4], 0.0);
  EXPECT_EQ(st.StationCode, "50456");
  EXPECT_EQ(U(st.Text), "浜松");

  // City lines: exact columns, and each one leads to its station.
  ASSERT_EQ(cityLines.size(), 3u);
  EXPECT_EQ(cityLines[1], std::string(14, ' ') + S("浜松市") + "      SZ   22130   47654 34.7108137.7261    3.20" +
                              "       0       2   50456" + std::string(26, ' ') + S("浜松"));
  fw::CityRecord city;
  ASSERT_TRUE(fw::ReadCityRecord(cityLines, 1, city));
  EXPECT_EQ(U(city.Name), "利尻富士町");
  EXPECT_EQ(city.StationNo, 1);
  EXPECT_EQ(city.StationCode, "11151");
}

TEST_F(WxBuildFixture, BadInputIsReportedWithItsPlace) {
  struct Case {
    const char* file;
    std::string text;
    const char* message;
  } cases[] = {
      {"cities.csv", std::string(kCitiesHeader) + "01,北海道,01100,札幌市,さっぽろし,43.0,141.3,47654,浜松,2.0\n",
       "nearest station 47654 lies in another prefecture"},
      {"cities.csv", std::string(kCitiesHeader) + "22,静岡県,22130,浜松市,はままつし,34.7,137.7,99999,x,3.2\n",
       "is not in the station list"},
      {"daily/0002.csv", "date,tavg_c,prcp_mm\n1981-01-01,1.0,0.0\n1981-01-02,abc,0.0\n", "0002.csv:3: bad temperature"},
      {"daily/0002.csv", "date,tavg_c,prcp_mm\n1981-01-01,1.0,0.0\n1981-01-01,1.0,0.0\n", "twice"},
      {"daily/0002.csv", "date,tavg_c,prcp_mm\n1980-12-31,1.0,0.0\n", "outside"},
      {"daily/0002.csv", "date,tavg_c,prcp_mm\n1981-01-01,1.0,-2.0\n", "bad precipitation"},
      {"daily/0002.csv", "day,t,p\n", "header"},
      {"stations.csv", "block_no,name_ja\n0002,x\n", "no column"},
  };
  for (const Case& c : cases) {
    SetUp();
    WriteFile(weather + c.file, c.text);
    std::string log, error;
    EXPECT_FALSE(Build(log, error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(WxBuild, GapFilling) {
  struct Case {
    std::vector<int> values;  // -9999 = missing
    std::vector<int> filled;
  } cases[] = {
      {{-9999, -9999, 100, -9999, 200, -9999}, {100, 100, 100, 150, 200, 200}},  // ends take the nearest value
      {{-5, -9999, 0}, {-5, -3, 0}},                                            // -2.5 rounds away from zero
      {{10, -9999, -9999, -9999, 11}, {10, 10, 11, 11, 11}},                    // 10.25, 10.5, 10.75
      {{-9999, -9999}, {0, 0}},                                                 // nothing observed
  };
  for (const Case& c : cases) {
    DailySeries s;
    for (int v : c.values) {
      s.temp.push_back(v == -9999 ? 0 : v);
      s.tempObserved.push_back(v != -9999);
      s.prcp.push_back(v == -9999 ? 77 : 1);
      s.prcpObserved.push_back(v != -9999);
    }
    FillCounts n = FillGaps(s);
    std::vector<int> got(s.temp.begin(), s.temp.end());
    EXPECT_EQ(got, c.filled);
    int missing = static_cast<int>(std::count(c.values.begin(), c.values.end(), -9999));
    EXPECT_EQ(n.temperature, missing);
    EXPECT_EQ(n.precipitation, missing);
    for (size_t i = 0; i < s.prcp.size(); ++i) EXPECT_EQ(s.prcp[i], c.values[i] == -9999 ? 0 : 1);
  }
}

TEST(WxBuild, DailyValuesAreReadExactly) {
  DailySeries s;
  std::string error;
  ASSERT_TRUE(ParseDailyCsv("date,tavg_c,prcp_mm\r\n1981-01-01,-1.6,0.5\r\n1984-02-29,0.05,601.0\r\n1995-12-31,35.5,\r\n",
                            "x.csv", s, error))
      << error;
  const int leapDay = SeriesIndex(1984, 2, 29);
  EXPECT_EQ(s.temp[0], -160);
  EXPECT_EQ(s.prcp[0], 5);
  EXPECT_EQ(s.temp[leapDay], 5);
  EXPECT_EQ(s.prcp[leapDay], 6010);
  EXPECT_EQ(s.temp[SeriesDays() - 1], 3550);
  EXPECT_FALSE(s.prcpObserved[SeriesDays() - 1]);
  EXPECT_FALSE(s.tempObserved[1]);  // a day without a row is missing
  EXPECT_EQ(SeriesDays(), 5478);
  EXPECT_EQ(SeriesIndex(1985, 2, 29), -1);
  EXPECT_EQ(AreaCodeOfPrefecture(22), "SZ");
  EXPECT_EQ(AreaCodeOfPrefecture(48), "");
}

}  // namespace
