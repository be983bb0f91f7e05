#include "tools/wxbuild/wx_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
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

const char kMonthlyHeader[] =
    "year,month,days,tavg_mean_c,n_tavg,tmax_mean_c,tmax_abs_c,n_tmax,tmin_mean_c,tmin_abs_c,n_tmin,prcp_sum_mm,"
    "prcp_max_day_mm,prcp_days_ge1mm,n_prcp,prcp_max_1h_mm,n_prcp_1h,prcp_max_10min_mm,n_prcp_10min,sun_sum_h,n_sun,"
    "wind_mean_m_s,n_wind,wind_max_m_s,wind_max_dir,n_wind_max,gust_max_m_s,gust_max_dir,n_gust,wind_dir_mode,"
    "n_wind_dir,rh_mean_pct,n_rh,rh_min_mean_pct,rh_min_abs_pct,n_rh_min,pres_mean_hpa,n_pres,slp_mean_hpa,n_slp,"
    "snowfall_sum_cm,snowfall_max_day_cm,n_snowfall,snowdepth_max_cm,n_snowdepth";

using MonthCells = std::map<std::string, std::string>;

// A complete monthly file of made-up values: every year-month gets `cells(year, month)` over
// a row of empty cells (counts 0). The usual values come from MadeUpMonth.
std::string MonthlyCsv(const std::function<MonthCells(int, int)>& cells) {
  std::vector<std::string> header;
  std::stringstream names(kMonthlyHeader);
  for (std::string n; std::getline(names, n, ',');) header.push_back(n);
  std::string out = std::string(kMonthlyHeader) + "\n";
  for (int y = 1981; y <= 1995; ++y)
    for (int m = 1; m <= 12; ++m) {
      MonthCells c = cells(y, m);
      c.emplace("year", std::to_string(y));
      c.emplace("month", std::to_string(m));
      c.emplace("days", std::to_string(MonthLength(y, m)));
      for (size_t i = 0; i < header.size(); ++i) {
        auto found = c.find(header[i]);
        out += (i ? "," : "") + (found != c.end() ? found->second : header[i].rfind("n_", 0) == 0 ? "0" : "");
      }
      out += "\n";
    }
  return out;
}

// Temperatures, precipitation, sunshine and wind of a year-month; no humidity.
MonthCells MadeUpMonth(int y, int m) {
  const int t = 20 * m + 3 * ((7 * y + 3 * m) % 11);  // tenths
  const int p = 50 + 10 * ((5 * y + m) % 9);
  return {{"tavg_mean_c", Tenths(t)},       {"tmax_mean_c", Tenths(t + 50)}, {"tmax_abs_c", Tenths(t + 100 + y % 3)},
          {"tmin_mean_c", Tenths(t - 50)},  {"tmin_abs_c", Tenths(t - 100 - y % 4)},
          {"prcp_sum_mm", std::to_string(p) + ".0"}, {"prcp_max_day_mm", Tenths(25 * p / 10)},
          {"prcp_days_ge1mm", std::to_string(5 + m % 3)}, {"sun_sum_h", Tenths(1500 + 50 * m)},
          {"n_sun", std::to_string(MonthLength(y, m) - 2)}, {"wind_mean_m_s", "3.0"}};
}

// The made-up monthly file with one cell of one year-month replaced.
std::string MadeUpMonthlyCsv(int year, int month, const std::string& column, const std::string& value) {
  return MonthlyCsv([&](int y, int m) {
    MonthCells c = MadeUpMonth(y, m);
    if (y == year && m == month) c[column] = value;
    return c;
  });
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
                  "0002,11151,沓形ﾐﾅﾐ岬,クツガタ,KUTSUGATA,北海道,01,宗谷,四,45.1783,141.1383,14,0,2,2,x\n");
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
    // HAMAMATSU: in January 1983 and 1990 are equally typical (both at the mean temperature and
    // nearest to the mean precipitation); the extremes of the whole period lie in other months.
    WriteFile(weather + "monthly/47654.csv", MonthlyCsv([](int y, int m) {
                MonthCells c = MadeUpMonth(y, m);
                if (m == 1) {
                  static const std::map<int, std::pair<const char*, const char*>> kJanuary = {
                      {1981, {"1.0", "10.0"}}, {1982, {"9.0", "90.0"}}, {1983, {"5.0", "50.0"}},
                      {1984, {"2.0", "20.0"}}, {1985, {"8.0", "80.0"}}, {1986, {"3.0", "30.0"}},
                      {1987, {"7.0", "70.0"}}, {1988, {"4.0", "95.0"}}, {1989, {"6.0", "5.0"}},
                      {1990, {"5.0", "50.0"}}, {1991, {"0.0", "0.0"}},  {1992, {"10.0", "100.0"}},
                      {1993, {"4.5", "40.0"}}, {1994, {"5.5", "60.0"}}, {1995, {"5.0", "55.0"}}};
                  c["tavg_mean_c"] = kJanuary.at(y).first;
                  c["prcp_sum_mm"] = kJanuary.at(y).second;
                }
                if (y == 1987 && m == 8) c["tmax_abs_c"] = "39.9";
                if (y == 1984 && m == 2) c["tmin_abs_c"] = "-25.5";
                return c;
              }));
    // KUTSUGATA: no precipitation and no sunshine, but humidity.
    WriteFile(weather + "monthly/0002.csv", MonthlyCsv([](int y, int m) {
                MonthCells c = MadeUpMonth(y, m);
                for (const char* lacking : {"prcp_sum_mm", "prcp_max_day_mm", "prcp_days_ge1mm", "sun_sum_h", "n_sun"})
                  c.erase(lacking);
                c["rh_mean_pct"] = "70.0";
                return c;
              }));
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
      {"monthly/0002.csv", "", "cannot read"},
      {"monthly/0002.csv", std::string(kMonthlyHeader) + "\n1981,1,31" + std::string(42, ',') + "\n",
       "0002.csv: 1 months, expected 180"},
      {"monthly/0002.csv", MadeUpMonthlyCsv(1981, 3, "tavg_mean_c", "abc"), "0002.csv:4: bad tavg_mean_c \"abc\""},
      {"monthly/0002.csv", MadeUpMonthlyCsv(1981, 2, "month", "3"), "0002.csv:3: expected the month 1981-02"},
      {"monthly/0002.csv", MadeUpMonthlyCsv(1984, 2, "days", "28"), "0002.csv:39: bad number of days"},
      {"monthly/47654.csv", MadeUpMonthlyCsv(1995, 12, "n_sun", "0"), "47654.csv:181: sun_sum_h without valid days"},
      {"monthly/47654.csv", MadeUpMonthlyCsv(1990, 6, "rh_mean_pct", "nan"), "bad rh_mean_pct"},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.text.empty())
      std::filesystem::remove(weather + c.file);
    else
      WriteFile(weather + c.file, c.text);
    std::string log, error;
    EXPECT_FALSE(Build(log, error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(root)) << "written despite " << c.message;
  }
}

float FloatAt(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return std::bit_cast<float>(v);
}

// A length byte and the text, padded with zeros to 9 bytes.
std::string ShortText(const std::string& text) {
  return static_cast<char>(text.size()) + text + std::string(8 - text.size(), '\0');
}

TEST_F(WxBuildFixture, MonthlyRecords) {
  std::string log, error;
  ASSERT_TRUE(Build(log, error)) << error;
  const std::string file = ReadFile(root + "WCD/JPN_MONT.DAT");
  ASSERT_EQ(file.size(), 2u * fw::kMonthlyRecordBytes);

  // Station 2, HAMAMATSU: the fixed part.
  const std::string hama = file.substr(fw::kMonthlyRecordBytes);
  EXPECT_EQ(hama.substr(0, 27), ShortText("50456") + ShortText("47654") + ShortText(S("浜松")));
  EXPECT_EQ(FloatAt(hama, 27), 34.45f);   // 34.7533° = 34°45'
  EXPECT_EQ(FloatAt(hama, 31), 137.43f);  // 137.7117° = 137°43'
  EXPECT_EQ(FloatAt(hama, 35), 46.0f);
  EXPECT_TRUE(std::isnan(FloatAt(hama, 39)));  // observation height: not in the source
  EXPECT_EQ(FloatAt(hama, 43), 39.9f);
  EXPECT_EQ(FloatAt(hama, 47), -25.5f);
  // January: 1983 and 1990 tie, the earlier year wins and its values are taken as published.
  EXPECT_EQ(Int16At(hama, 51), 1983);
  for (int m = 2; m <= 12; ++m) {
    EXPECT_GE(Int16At(hama, 49 + 2 * m), 1981);
    EXPECT_LE(Int16At(hama, 49 + 2 * m), 1995);
  }
  fw::MonthlyStationRecord r;
  fw::DecodeMonthlyRecord(hama, r);
  EXPECT_EQ(U(r.StationName), "浜松");
  EXPECT_EQ(r.Items[0][0], 5.0f);
  EXPECT_EQ(r.Items[1][0], 50.0f);
  // Year column: sums, extremes and means of the 12 months.
  const auto months = [&](int item) { return std::vector<double>(r.Items[item - 1].begin(), r.Items[item - 1].begin() + 12); };
  const auto sum = [&](int item) { double t = 0; for (double v : months(item)) t += v; return t; };
  for (int item : {2, 3, 22, 25, 30, 31, 36})
    EXPECT_NEAR(r.Items[item - 1][12], sum(item), 1e-3 + 1e-6 * sum(item)) << item;
  for (int item : {4, 11}) EXPECT_EQ(r.Items[item - 1][12], std::ranges::max(months(item))) << item;
  EXPECT_EQ(r.Items[11][12], std::ranges::min(months(12)));
  for (int item : {1, 5, 6, 9, 13, 16, 20, 24}) EXPECT_NEAR(r.Items[item - 1][12], sum(item) / 12, 1e-3) << item;
  for (int item = 1; item <= fw::kMonthlyItems; ++item)
    for (int m = 0; m < 13; ++m) EXPECT_EQ(std::isnan(r.Items[item - 1][m]), item == 23) << item << "," << m;

  // Station 1: the name cut at 8 bytes would split 岬, so 7 bytes remain; precipitation and
  // sunshine (and all that is derived from sunshine) are missing, humidity is there.
  const std::string kutsu = file.substr(0, fw::kMonthlyRecordBytes);
  EXPECT_EQ(kutsu.substr(18, 9), ShortText(S("沓形ﾐﾅﾐ")).substr(0, 9));
  fw::DecodeMonthlyRecord(kutsu, r);
  for (int item = 1; item <= fw::kMonthlyItems; ++item) {
    const bool lacking = (item >= 2 && item <= 4) || (item >= 6 && item <= 8) || (item >= 13 && item <= 22);
    for (int m = 0; m < 13; ++m) EXPECT_EQ(std::isnan(r.Items[item - 1][m]), lacking) << item << "," << m;
  }
  EXPECT_EQ(r.Items[22][12], 70.0f);
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
