#include "framework/weather_stations.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <map>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"
#include "framework/fake_status_bar.h"

using namespace fw;
using testsupport::S;
using testsupport::U;

namespace {

std::string RightAligned(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// A line of fixed-width fields, each right-aligned (UTF-8 texts, written as CP932).
std::string FixedLine(const std::vector<int>& widths, const std::vector<std::string>& fieldsUtf8) {
  std::string line;
  for (size_t j = 0; j < widths.size(); ++j) line += RightAligned(S(j < fieldsUtf8.size() ? fieldsUtf8[j] : ""), widths[j]);
  return line;
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string folder = path.substr(0, path.rfind('\\') + 1);
  ASSERT_TRUE(platform::MakeFolders(folder));
  ASSERT_TRUE(platform::WriteTextLinesAtomic(path, lines));
}

// A table file in the fixed-width layout.
void WriteTable(const std::string& path, const std::vector<int>& widths,
                const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::string> lines;
  lines.push_back(RightAligned(std::to_string(rows.size()), 6) + RightAligned(std::to_string(widths.size()), 6));
  std::string w;
  for (int width : widths) w += RightAligned(std::to_string(width), 6);
  lines.push_back(w);
  for (const auto& r : rows) lines.push_back(FixedLine(widths, r));
  WriteLines(path, lines);
}

const std::vector<int> kAreaWidths = {20, 8, 8, 8, 8, 8, 30};
const std::vector<int> kStationWidths = {20, 8, 8, 8, 8, 8, 8, 8, 8, 8, 30};
const std::vector<int> kCityWidths = {20, 8, 8, 8, 8, 8, 8, 8, 8, 8, 30};

class RecordingView : public StationInfoView {
 public:
  StationInfoTexts texts;
  std::map<std::pair<int, int>, std::string> cells;
  void ShowTexts(const StationInfoTexts& t) override { texts = t; }
  void SetCell(int col, int row, const std::string& text) override { cells[{col, row}] = text; }
  std::string Cell(int col, int row) { return cells[{col, row}]; }
};

// A small installed tree: three countries sharing the Japanese tables, two areas, four
// stations (one name in both areas), four cities.
class WeatherStationsTest : public ::testing::Test {
 protected:
  testsupport::TempFolder tmp;
  testsupport::FakeUi ui;
  testsupport::StatusBarScope statusBar;  // error notes need a status bar

  void SetUp() override {
    BaseDrive = tmp.inside().substr(0, 2);
    BaseFolder = tmp.inside().substr(2);
    SetFolderTable(tmp.inside());
    CountryNo = 1;
    ProgramNameVersion = "HarvSim Ver.2.00";
    StationSel = WCD_DataType();
    MonthlyFile.clear();
    WcdDir.clear();
    DefaultStationNo = RememberedStationNo = FirstStationNo = 0;
    MonthlyRecord = MonthlyStationRecord();
    SetUnitSystem(S("工学単位"));

    WriteTable(DatDir + S("国名.DAT"), {20, 20, 8},
               {{"日本", "JAPAN", "JPN"}, {"米国", "USA", "JPN"}, {"中国", "CHINA", "JPN"}});
    WriteTable(DatDir + S("観測年度.DAT"), {8, 8, 8},
               {{"標準年", "1985", "AV"}, {"1984年", "1984", "84"}, {"2000年", "2000", "00"}, {"1985年", "1985", "85"}});
    WriteTable(Wcd("JPN_STAT.DAT"), kAreaWidths,
               {{"北海道", "HK", "1", "1", "1", "2", "北海道"}, {"静岡県", "SZ", "2", "3", "3", "2", "静岡県"}});
    WriteTable(Wcd("JPN_WPNT.DAT"), kStationWidths,
               {{"HAMAMATSU", "HK", "0001", "1", "43.0", "141.0", "10.0", "8.0", "1100.0", "11111", "偽浜松"},
                {"SAPPORO", "HK", "47412", "1", "43.06", "141.3283", "17.0", "8.9", "1130.0", "14163", "札幌"},
                {"SHIZUOKA", "SZ", "47656", "22", "34.9756", "138.4033", "14.0", "16.5", "2300.0", "50331", "静岡"},
                {"HAMAMATSU", "SZ", "47654", "22", "34.7533", "137.7117", "46.0", "16.3", "1800.0", "50456", "浜松(静岡)"}});
    WriteLines(Wcd("JPN_CITY.DAT"),
               {FixedLine(kCityWidths, {"札幌市", "HK", "01100", "47412", "43.06", "141.35", "2.13", "0", "2", "14163", "札幌"}),
                FixedLine(kCityWidths, {"静岡市", "SZ", "22100", "47656", "34.97", "138.38", "1.5", "0", "3", "50331", "静岡"}),
                FixedLine(kCityWidths, {"浜松市", "SZ", "22130", "47654", "34.71", "137.73", "3.2", "0", "4", "50456", "浜松"}),
                FixedLine(kCityWidths, {"幻町", "SZ", "22999", "99999", "35.0", "138.0", "9.9", "0", "99", "99999", "幻"})});
  }

  std::string Wcd(const std::string& nameUtf8) { return tmp.Path("WCD/" + nameUtf8); }
  std::string LastShown() { return ui.shown.empty() ? std::string() : U(ui.shown.back().text); }
};

TEST_F(WeatherStationsTest, InitClearsTheSelectionAndWarnsWithoutAreaTable) {
  WCD_Data_Init();
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(WcdDir, tmp.inside() + "WCD\\");
  EXPECT_EQ(CountryDataDir, WcdDir + "JAPAN\\");
  EXPECT_EQ(StationSel.CountryCode, "JPN");
  EXPECT_EQ(StationSel.StationCode, "00000");
  EXPECT_EQ(DailyDataPath, WcdDir + S("なし"));
  EXPECT_EQ(StationDataPath, CountryDataDir + S("なし"));

  ASSERT_TRUE(platform::RemoveFile(Wcd("JPN_STAT.DAT")));
  WCD_Data_Init();
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(LastShown(), "気象データファイルのあるのディレクトリ<" + U(tmp.inside()) + "WCD\\>が見つかりません。(WCD_Data_Init)");
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Warning);
}

TEST_F(WeatherStationsTest, SelectsByNameAndAreaWhateverThePosition) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(0, "HAMAMATSU", "SZ"));
  const WCD_DataType& s = StationSel;
  EXPECT_EQ(s.StationNo, 4);
  EXPECT_EQ(StationCount, 4);
  EXPECT_EQ(AreaCount, 2);
  EXPECT_EQ(s.StationCode, "50456");
  EXPECT_EQ(U(s.StationNote), "浜松(静岡)");
  EXPECT_EQ(s.AreaNo, 2);
  EXPECT_EQ(U(s.AreaName), "静岡県");
  EXPECT_EQ(s.AreaCode, "SZ");
  EXPECT_EQ(U(s.DisplayTexts[0]), "静岡県 浜松(静岡)");
  EXPECT_DOUBLE_EQ(s.Values[0], 34.7533);
  EXPECT_DOUBLE_EQ(s.Values[4], 1800.0);
  EXPECT_EQ(U(s.YearName), "標準年");
  EXPECT_EQ(s.YearCode, "AV");
  EXPECT_FALSE(s.LeapYear);
  EXPECT_EQ(s.YearHours, 8760);
  EXPECT_EQ(DailyDataPath, WcdDir + "JPN_SZ\\50456\\50456.HAV");
  EXPECT_EQ(StationDataPath, WcdDir + "JAPAN\\50456\\50456_AV");

  // The same name in the other area.
  ASSERT_TRUE(SelectStation(0, "HAMAMATSU", "HK"));
  EXPECT_EQ(StationSel.StationNo, 1);
  EXPECT_EQ(StationSel.AreaNo, 1);

  // By number, for a leap year.
  ASSERT_TRUE(SelectStation(3, "", "", S("1984年")));
  EXPECT_EQ(StationSel.StationName, "SHIZUOKA");
  EXPECT_EQ(StationSel.YearCode, "84");
  EXPECT_TRUE(StationSel.LeapYear);
  EXPECT_EQ(StationSel.YearHours, 8784);
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(WeatherStationsTest, UnknownStationsChangeNothing) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(2));
  EXPECT_FALSE(SelectStation(0, "NOWHERE", "SZ"));
  EXPECT_FALSE(SelectStation(5));
  EXPECT_FALSE(SelectStation(-1));
  EXPECT_EQ(StationSel.StationName, "SAPPORO");
  EXPECT_EQ(StationSel.AreaNo, 1);
  EXPECT_TRUE(ui.shown.empty());

  EXPECT_FALSE(SelectStation(0, ""));
  EXPECT_EQ(LastShown(), "＜地点№＞または＜地点名＞が指定されていません。");
  EXPECT_EQ(StationSel.StationName, "SAPPORO");
}

TEST_F(WeatherStationsTest, StationDataPathPatterns) {
  struct Case {
    int country;
    const char* year;
    const char* suffix;
  } cases[] = {
      {1, "標準年", "JAPAN\\50456\\50456_AV"},       {1, "1985年", "JAPAN\\50456\\50456_85"},
      {2, "標準年", "USA\\50456\\50456_90"},         {2, "1985年", "USA\\50456\\50456_85"},
      {3, "標準年", "CHINA\\50456\\50456_STD.WCD"},  {3, "2000年", "CHINA\\50456\\50456_2000YH.WCD"},
      {3, "1985年", "CHINA\\50456\\50456_1985YH.WCD"},
  };
  for (const Case& c : cases) {
    CountryNo = c.country;
    WCD_Data_Init();
    ASSERT_TRUE(SelectStation(4, "", "", S(c.year)));
    EXPECT_EQ(StationDataPath, WcdDir + c.suffix) << c.country << " " << c.year;
  }
  // Without the standard layout the station number stands for the code.
  CountryNo = 3;
  WCD_Data_Init();
  StandardLayout = false;
  ASSERT_TRUE(SelectStation(4, "", "", S("2000年")));
  EXPECT_EQ(StationDataPath, WcdDir + "CHINA\\00004\\00004_00");
  EXPECT_EQ(DailyDataPath, WcdDir + "JPN_SZ\\00004\\00004.H00");
}

TEST_F(WeatherStationsTest, DailyFileSizeMustBeAMultipleOf75) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  const std::string path = DailyDataPath;
  ASSERT_TRUE(platform::MakeFolders(path.substr(0, path.rfind('\\') + 1)));
  ASSERT_TRUE(platform::WriteFileBytesAtomic(path, std::string(150, 'x')));
  SelectStation(4);
  EXPECT_TRUE(ui.shown.empty());
  ASSERT_TRUE(platform::WriteFileBytesAtomic(path, std::string(151, 'x')));
  SelectStation(4);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(LastShown(), "このファイルは気象データの書式が正しくありません。");
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Information);
  EXPECT_EQ(DailyDataPath, path);
}

TEST_F(WeatherStationsTest, WeatherSelectionFileRoundTrip) {
  WCD_Data_Init();
  SelectDefaultStation(true);
  EXPECT_EQ(StationSel.StationNo, 4);
  EXPECT_EQ(DefaultStationNo, 4);
  RememberedStationNo = 3;
  InitWeatherSelection();
  EXPECT_EQ(StationSel.StationNo, 3);

  ASSERT_TRUE(LoadInfoFile(WeatherInfoFileName()));
  EXPECT_EQ(WeatherInfoRows[0], "C:");
  EXPECT_EQ(U(WeatherInfoRows[1]), "C:...WCD\\JPN_SZ\\･･･\\");
  EXPECT_EQ(WeatherInfoRows[2], "50331.HAV");
  EXPECT_EQ(WeatherInfoRows[3], "50331");
  EXPECT_EQ(WeatherInfoRows[4], ".HAV");
  EXPECT_EQ(WeatherInfoRows[5], "");
  EXPECT_EQ(U(WeatherInfoRows[6]), "静岡県 SHIZUOKA");
  EXPECT_EQ(WeatherInfoRows[7], "[   1][   2][   3]");
  EXPECT_EQ(U(WeatherInfoRows[8]), "標準年");
  EXPECT_TRUE(IsDateTimeText(WeatherInfoRows[9])) << WeatherInfoRows[9];
  EXPECT_EQ(FilePath, tmp.inside() + "WCD\\JPN_SZ\\50331\\50331.HAV");  // rows 1 and 2 expanded

  // The next start reads the file back to the same station.
  WCD_Data_Init();
  SelectDefaultStation(false);
  EXPECT_EQ(StationSel.StationNo, 3);
  EXPECT_EQ(StationSel.AreaNo, 2);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(DefaultStationNo, 4);  // noted once, at the first choice
}

TEST_F(WeatherStationsTest, MissingOrStaleSelectionFileFallsBackToTheBuiltInStation) {
  const std::string info = DataDir + WeatherInfoFileName();
  // Missing file: a warning, then the built-in station (the program goes on).
  WCD_Data_Init();
  SelectDefaultStation(false);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_NE(LastShown().find("QZWD情報.DAT>が見つかりません。"), std::string::npos) << LastShown();
  EXPECT_EQ(StationSel.StationNo, 4);
  EXPECT_EQ(StationSel.StationName, "HAMAMATSU");
  EXPECT_EQ(StationSel.AreaCode, "SZ");

  struct Case {
    const char* row6;
    const char* row7;
  } stale[] = {
      {"静岡県 HAMAMATSU", "[   1][   2][ 900]"},  // beyond the station table
      {"静岡県 HAMAMATSU", "[   1][   2][   3]"},  // another station at that number now
      {"", "[   1][   2][   0]"},                  // no number
      {"", "[   7][   2][   3]"},                  // no such country
  };
  for (const Case& c : stale) {
    std::vector<std::vector<std::string>> rows = {{"C:"}, {"C:...WCD\\JPN_SZ\\･･･\\"}, {"50456.HAV"}, {"50456"}, {".HAV"},
                                                  {""},   {c.row6},                       {c.row7},     {"標準年"}, {"2024/01/01 00:00:00"}};
    WriteTable(info, {40}, rows);
    ui.shown.clear();
    CountryNo = 1;
    WCD_Data_Init();
    SelectDefaultStation(false);
    ASSERT_EQ(ui.shown.size(), 1u) << c.row7;
    EXPECT_NE(LastShown().find("が地点表にありません。標準の観測地点を選びます。"), std::string::npos) << LastShown();
    EXPECT_EQ(StationSel.StationNo, 4) << c.row7;
    EXPECT_EQ(CountryNo, 1);
  }
  // A matching file selects its station without a word.
  WriteTable(info, {40}, {{"C:"}, {"x"}, {"y"}, {"z"}, {"w"}, {""}, {"北海道 SAPPORO"}, {"[   1][   1][   2]"}, {"標準年"}, {""}});
  ui.shown.clear();
  SelectDefaultStation(false);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(StationSel.StationName, "SAPPORO");
}

TEST_F(WeatherStationsTest, RecordReaders) {
  std::vector<std::string> areaLines, cityLines, stationLines;
  ASSERT_TRUE(platform::ReadTextLines(Wcd("JPN_STAT.DAT"), areaLines));
  ASSERT_TRUE(platform::ReadTextLines(Wcd("JPN_CITY.DAT"), cityLines));
  ASSERT_TRUE(platform::ReadTextLines(Wcd("JPN_WPNT.DAT"), stationLines));

  AreaRecord k;
  ASSERT_TRUE(ReadAreaRecord(areaLines, 2, k));
  EXPECT_EQ(k.No, 2);
  EXPECT_EQ(U(k.Name), "静岡県");
  EXPECT_EQ(k.Code, "SZ");
  EXPECT_EQ(k.Numbers, (std::array<long long, 4>{2, 3, 3, 2}));
  EXPECT_EQ(U(k.Text), "静岡県");
  for (int n : {0, 3, -1}) {
    EXPECT_FALSE(ReadAreaRecord(areaLines, n, k));
    EXPECT_EQ(k.No, 0);
    EXPECT_TRUE(k.Name.empty());  // cleared
  }

  CityRecord c;
  ASSERT_TRUE(ReadCityRecord(cityLines, 3, c));
  EXPECT_EQ(U(c.Name), "浜松市");
  EXPECT_EQ(c.Code, "SZ");
  EXPECT_EQ(c.Codes, (std::array<std::string, 2>{"22130", "47654"}));
  EXPECT_DOUBLE_EQ(c.Values[0], 34.71);
  EXPECT_DOUBLE_EQ(c.Values[2], 3.2);
  EXPECT_EQ(c.StationNo, 4);
  EXPECT_EQ(c.StationCode, "50456");
  EXPECT_EQ(U(c.Text), "浜松");
  EXPECT_FALSE(ReadCityRecord(cityLines, 5, c));
  EXPECT_EQ(U(c.Name), "浜松市");  // unchanged

  StationRecord p;
  ASSERT_TRUE(ReadStationRecord(stationLines, 2, p));
  EXPECT_EQ(p.Name, "SAPPORO");
  EXPECT_EQ(p.Code, "HK");
  EXPECT_EQ(p.Code2, "47412");
  EXPECT_EQ(p.Number, 1);
  EXPECT_DOUBLE_EQ(p.Values[1], 141.3283);
  EXPECT_DOUBLE_EQ(p.Values[4], 1130.0);
  EXPECT_EQ(p.StationCode, "14163");
  EXPECT_EQ(U(p.Text), "札幌");
  EXPECT_FALSE(ReadStationRecord(stationLines, 5, p));
  EXPECT_EQ(p.Name, "SAPPORO");
}

TEST_F(WeatherStationsTest, LoadStationRecordsChecksCityAndStationNumbers) {
  WCD_Data_Init();
  struct Case {
    int area, city, station;
    const char* note;
    const char* errorPart;  // error note, or "" for none
  } cases[] = {
      {1, 1, 2, "札幌", ""},
      {2, 2, 4, "浜松(静岡)", ""},
      {2, 4, 0, "", "に市町村№4はありません。"},             // beyond the area's cities
      {2, 3, 0, "", "の観測地点№99が地点表にありません。"},  // station number beyond the table
      {1, 2, 0, "", "に市町村№2はありません。"},             // would be a city of the next area
      {3, 1, 0, "", ""},                                      // no such area
  };
  for (const Case& c : cases) {
    ErrorText.clear();
    int station = -1;
    std::string note = "old";
    EXPECT_EQ(LoadStationRecords(c.area, c.city, station, note), c.station != 0) << c.area << "/" << c.city;
    EXPECT_EQ(station, c.station) << c.area << "/" << c.city;
    EXPECT_EQ(U(note), c.note);
    if (*c.errorPart) {
      EXPECT_NE(U(ErrorText).find(c.errorPart), std::string::npos) << U(ErrorText);
    }
  }
}

TEST_F(WeatherStationsTest, ListsOfAreasAndStations) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  std::vector<std::string> items;
  std::string text;
  FillStationCombo(items, text, 11);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(U(items[0]), "  3:静岡");
  EXPECT_EQ(U(items[1]), "  4:浜松(静岡)");
  EXPECT_EQ(text, "HAMAMATSU");
  EXPECT_EQ(FirstStationNo, 3);
  FillStationCombo(items, text, 1);
  EXPECT_EQ(items[1], "  4:HAMAMATSU");

  StationSel.AreaName = S("沖縄県");
  FillStationCombo(items, text, 11);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(FirstStationNo, 0);

  FillPrefectureLists(items);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(U(items[1]), "  2:静岡県");
}

// A monthly statistics file of `records` records; station k has name "ST<k>", latitude k + 0.5
// and item r, month m = r x 100 + m.
void PutFloat(std::string& bytes, size_t at, float v) {
  uint32_t u = std::bit_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::string MonthlyFileBytes(int records) {
  std::string bytes;
  for (int k = 1; k <= records; ++k) {
    std::string rec(kMonthlyRecordBytes, '\0');
    auto put = [&](size_t at, float v) { PutFloat(rec, at, v); };
    std::string name = "ST" + std::to_string(k);
    rec[18] = static_cast<char>(name.size());
    std::memcpy(&rec[19], name.data(), name.size());
    put(27, k + 0.5f);
    put(31, 137.42f);
    put(35, 46.0f);
    put(39, 10.5f);
    put(43, 38.2f);
    put(47, -6.4f);
    for (int r = 1; r <= kMonthlyItems; ++r)
      for (int m = 0; m < 13; ++m) put(75 + 52 * (r - 1) + 4 * m, static_cast<float>(r * 100 + m));
    bytes += rec;
  }
  return bytes;
}

TEST_F(WeatherStationsTest, MonthlyFileNames) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  const std::string root = tmp.inside();
  struct Case {
    std::string kind, path;
  } cases[] = {
      {"", DatDir + S("月次気象.4")},
      {"QZ", DatDir + S("月次気象.DAT")},
      {"JPN", root + "WCD\\JPN_MONT.DAT"},
      {"WCD", root + "WCD\\JPN_MONT.DAT"},
      {"WCD_QZ", root + "WCD_QZ\\" + S("月次気象.DAT")},
      {"WCD_UY", root + "WCD_UY\\JPN_MONT(UY).DAT"},
      {"C:\\x\\MY.DAT", "C:\\x\\MY.DAT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MonthlyDataFileName(c.kind), c.path) << c.kind;
    EXPECT_EQ(MonthlyFile, c.path);
    EXPECT_EQ(MonthlyDataFileName(MonthlyFile), c.path);  // asked again by its own name
  }
  MonthlyDataFileName("WCD");
  EXPECT_EQ(FileNameExt, "JPN_MONT.DAT");  // split into the current-file parts
  StandardLayout = false;
  EXPECT_EQ(MonthlyDataFileName("JPN"), root + "WCD\\JPN_MONT(UY).DAT");
}

TEST_F(WeatherStationsTest, MonthlyRecordReader) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  const std::string file = MonthlyDataFileName("JPN");
  EXPECT_FALSE(ReadMonthlyRecord("JPN", 1));  // no file yet
  EXPECT_EQ(U(MonthlyFileLabelText()), "※ファイルなし");

  ASSERT_TRUE(platform::WriteFileBytesAtomic(file, MonthlyFileBytes(3)));
  EXPECT_EQ(MonthlyFileLabelText(), "C:...WCD\\JPN_MONT.DAT");
  ASSERT_TRUE(ReadMonthlyRecord("JPN", 2));
  EXPECT_EQ(MonthlyRecord.StationName, "ST2");
  EXPECT_FLOAT_EQ(MonthlyRecord.Latitude, 2.5f);
  EXPECT_FLOAT_EQ(MonthlyRecord.LowestTemp, -6.4f);
  EXPECT_FLOAT_EQ(MonthlyRecord.Items[0][0], 100.0f);
  EXPECT_FLOAT_EQ(MonthlyRecord.Items[35][12], 3612.0f);

  // Outside 1..StationCount nothing is read; the previous record stays.
  EXPECT_FALSE(ReadMonthlyRecord("JPN", 0));
  EXPECT_FALSE(ReadMonthlyRecord("JPN", 5));
  EXPECT_EQ(MonthlyRecord.StationName, "ST2");
  EXPECT_TRUE(ui.shown.empty());

  // Station 4 lies within the station table but beyond the end of a 3-record file.
  ErrorText.clear();
  EXPECT_FALSE(ReadMonthlyRecord("JPN", 4));
  EXPECT_EQ(U(ErrorText), "<C:...WCD\\JPN_MONT.DAT>に地点№4の月次データがありません。(ReadMonthlyRecord)");
  EXPECT_EQ(MonthlyRecord.StationName, "ST2");
  // A file ending inside the record is not read either.
  ASSERT_TRUE(platform::WriteFileBytesAtomic(file, MonthlyFileBytes(4).substr(0, 4 * kMonthlyRecordBytes - 1)));
  EXPECT_FALSE(ReadMonthlyRecord("JPN", 4));
  EXPECT_TRUE(ReadMonthlyRecord("JPN", 3));
  EXPECT_EQ(MonthlyRecord.StationName, "ST3");
}

TEST_F(WeatherStationsTest, ShowStationInfoFillsLabelsAndGrid) {
  WriteTable(DatDir + S("気象項目.DAT"), {20, 12},
             {{"平均気温", "℃"}, {"降水量", "mm"}, {"c", "u"}, {"d", "u"}, {"e", "u"}, {"日射量", "x100kcal/㎡日"}});
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  MonthlyDataFileName("JPN");
  ASSERT_TRUE(platform::WriteFileBytesAtomic(MonthlyFile, MonthlyFileBytes(4)));
  RecordingView view;
  ShowStationInfo(view, 4);
  EXPECT_EQ(U(view.texts.Title), "〔 静岡県 浜松(静岡) 〕");
  EXPECT_EQ(U(view.texts.Position), "(北)緯度  " + U(DegMinText(4.5f)) + "  (東)経度  " + U(DegMinText(137.42f)));
  EXPECT_EQ(U(view.texts.Heights), "標高   46m   観測高さ  10.5m");
  EXPECT_EQ(U(view.texts.AreaStation), "静岡県 HAMAMATSU");
  EXPECT_EQ(view.texts.RecordName, "ST4");
  EXPECT_EQ(U(view.texts.Temperatures), "最高気温  38.2 ℃   最低気温  -6.4 ℃");
  EXPECT_EQ(U(view.texts.FileName), "ファイル：" + U(MonthlyFile));
  EXPECT_EQ(U(view.Cell(0, 1)), " 平均気温");
  EXPECT_EQ(U(view.Cell(1, 1)), "℃");
  EXPECT_EQ(view.Cell(2, 1), " 100.0");  // item 1: one decimal
  EXPECT_EQ(view.Cell(14, 2), "   212");  // item 2, the year: none
  EXPECT_EQ(view.Cell(2, 6), "   600");
  EXPECT_EQ(view.cells.count(std::make_pair(0, 7)), 0u);
  EXPECT_EQ(ui.cursorShape, platform::CursorShape::Default);

  // SI units: item 6 is converted.
  SetUnitSystem(S("ＳＩ単位"));
  ShowStationInfo(view, 4);
  EXPECT_EQ(view.Cell(2, 6), FloatToTextDigits(600.0f * UnitFactor[6], 6, 0));
  EXPECT_EQ(view.Cell(2, 1), " 100.0");
  SetUnitSystem(S("工学単位"));
}

TEST_F(WeatherStationsTest, ShowStationInfoLeavesMissingValuesBlank) {
  WriteTable(DatDir + S("気象項目.DAT"), {20, 12}, {{"平均気温", "℃"}, {"降水量", "mm"}});
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  MonthlyDataFileName("JPN");
  std::string bytes = MonthlyFileBytes(4);
  const size_t record = 3 * kMonthlyRecordBytes;
  const float missing = std::numeric_limits<float>::quiet_NaN();
  for (size_t at : {27, 39, 43}) PutFloat(bytes, record + at, missing);  // latitude, height, highest
  PutFloat(bytes, record + 75 + 52 + 4 * 2, missing);                    // item 2, March
  PutFloat(bytes, record + 75 + 52 + 4 * 12, missing);                   // item 2, the year
  ASSERT_TRUE(platform::WriteFileBytesAtomic(MonthlyFile, bytes));
  RecordingView view;
  ShowStationInfo(view, 4);
  EXPECT_EQ(U(view.texts.Position), "(北)緯度  －  (東)経度  " + U(DegMinText(137.42f)));
  EXPECT_EQ(U(view.texts.Heights), "標高   46m   観測高さ    －m");
  EXPECT_EQ(U(view.texts.Temperatures), "最高気温    － ℃   最低気温  -6.4 ℃");
  for (int col : {4, 14}) {
    ASSERT_EQ(view.cells.count(std::make_pair(col, 2)), 1u) << col;
    EXPECT_EQ(view.Cell(col, 2), "") << col;
  }
  EXPECT_EQ(view.Cell(5, 2), "   203");
}

// The installed tables of the weather items agree with each other and with the monthly file.
TEST_F(WeatherStationsTest, InstalledWeatherItemTables) {
  const std::string dat = platform::ToInsidePath(testsupport::SourceDir() + "/data/tree/DATA/DAT/").value();
  ASSERT_TRUE(DataLoad(dat + S("気象項目.DAT")));
  ASSERT_EQ(TableBuffer.TableRows, kMonthlyItems);
  std::vector<std::string> units;
  for (int r = 1; r <= kMonthlyItems; ++r) units.push_back(TableBuffer.TableCells[r][2]);
  EXPECT_EQ(U(TableBuffer.TableKeys[13]), "全日射量");
  ASSERT_TRUE(DataLoad(dat + S("気象項目.EXP")));
  ASSERT_EQ(TableBuffer.TableRows, kMonthlyItems);
  for (int r = 1; r <= kMonthlyItems; ++r) {
    // The row ends in "（unit，period）" whose period holds the row's only "月".
    const std::string& text = TableBuffer.TableKeys[r];
    const size_t open = text.find(S("（")), month = text.find(S("月"));
    ASSERT_NE(open, std::string::npos) << r;
    EXPECT_EQ(text.substr(open), S("（") + units[r - 1] + S("，") + text.substr(month, text.size() - month - 2) + S("）"))
        << U(text);
    EXPECT_GT(month, open) << U(text);
    EXPECT_EQ(text.find(S("月"), month + 1), std::string::npos) << U(text);
  }
  // The monthly-file list names the file the program reads.
  WCD_Data_Init();
  ASSERT_TRUE(DataLoad(dat + S("月次ﾌｧｲﾙ.DAT")));
  ASSERT_EQ(TableBuffer.TableRows, 1);
  EXPECT_EQ(TableBuffer.TableCells[1][2], "UY");
  const std::string listed = TableBuffer.TableKeys[1];
  EXPECT_EQ(NormalizePath(listed), MonthlyDataFileName("WCD"));
}

TEST_F(WeatherStationsTest, DataPathsOfTheSelection) {
  WCD_Data_Init();
  ASSERT_TRUE(SelectStation(4));
  SetWeatherDataPaths();
  const std::string root = tmp.inside();
  EXPECT_EQ(HavPath, root + "WCD_UY\\JPN_SZ\\00004\\00004.HAV");
  EXPECT_EQ(QzHavPath, root + "WCD_QZ\\" + S("静岡県\\浜松\\浜松.HAV"));  // the note up to "("
  EXPECT_EQ(Uf1Path, root + "WCD_UF\\Tmp\\0049999.UF1");
  EXPECT_EQ(MonthlyFile, root + "WCD\\JPN_MONT.DAT");
  ProgramNameVersion = "Meteoria Ver.1";
  SetWeatherDataPaths();
  EXPECT_EQ(MonthlyFile, root + "WCD_QZ\\" + S("月次気象.DAT"));
}

}  // namespace
