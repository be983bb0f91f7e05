#include "framework/weather_stations.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace fw {

WCD_DataType StationSel;
std::string WcdDir;
std::string CountryDataDir;
int StationCount = 0;
int AreaCount = 0;
std::string StationDataPath;
std::string DailyDataPath;
std::string UyDir, QzDir, UfDir;
std::string HavPath;
std::string QzHavPath;
std::string Uf1Path;
std::string MonthlyFile;
bool StandardLayout = true;
std::array<std::string, 10> WeatherInfoRows;
int DefaultStationNo = 0;
int RememberedStationNo = 0;
int FirstStationNo = 0;
MonthlyStationRecord MonthlyRecord;

namespace {

using Row = std::array<std::string, kTableMaxCols + 1>;  // [1..16]

std::string Root() {
  std::string root = BaseDrive + BaseFolder;
  if (root.empty() || root.back() != '\\') root += '\\';
  return root;
}

std::string WcdFolder() { return WcdDir.empty() ? Root() + "WCD\\" : WcdDir; }
std::string AreaTablePath() { return WcdFolder() + StationSel.CountryCode + "_STAT.DAT"; }
std::string StationTablePath() { return WcdFolder() + StationSel.CountryCode + "_WPNT.DAT"; }
std::string CityTablePath() { return WcdFolder() + StationSel.CountryCode + "_CITY.DAT"; }
std::string CountryTablePath() { return DatDir + platform::J("国名.DAT"); }
std::string YearTablePath() { return DatDir + platform::J("観測年度.DAT"); }
std::string ItemTablePath() { return DatDir + platform::J("気象項目.DAT"); }

// Loads a table file and copies its rows out of the shared buffer (rows[0] is row 1).
std::vector<Row> LoadRows(const std::string& path) {
  std::vector<Row> rows;
  if (!DataLoad(path)) return rows;
  rows.resize(TableBuffer.TableRows);
  for (int i = 1; i <= TableBuffer.TableRows; ++i) rows[i - 1] = TableBuffer.TableCells[i];
  return rows;
}

// Country fields of row CountryNo of the country table; false when the row is missing.
bool LoadCountryFields() {
  std::vector<Row> rows = LoadRows(CountryTablePath());
  if (CountryNo < 1 || CountryNo > static_cast<int>(rows.size())) return false;
  const Row& r = rows[CountryNo - 1];
  StationSel.CountryName = r[1];
  StationSel.CountryFolder = r[2];
  StationSel.CountryCode = r[3];
  return true;
}

void ClearStationFields() {
  WCD_DataType& s = StationSel;
  s.AreaName.clear();
  s.AreaCode.clear();
  s.AreaNo = 0;
  s.AreaGroup.clear();
  s.StationName.clear();
  s.StationNo = 0;
  s.StationCode = "00000";
  s.StationNote.clear();
  s.DisplayTexts = {};
  s.YearName.clear();
  s.YearCode.clear();
  s.LeapYear = false;
  s.YearHours = 0;
  s.Values = {};
  StationDataPath = CountryDataDir + platform::J("なし");
  DailyDataPath = WcdFolder() + platform::J("なし");
}

// "%.<width>d": at least `width` digits with leading zeros.
std::string ZeroPadded(int n, size_t width) {
  std::string t = std::to_string(n);
  return t.size() < width ? std::string(width - t.size(), '0') + t : t;
}

// Characters from..to (1-based, inclusive) of a line, trimmed.
std::string Field(const std::string& line, size_t from, size_t to) {
  if (line.size() < from) return std::string();
  return TrimBoth(line.substr(from - 1, to - from + 1));
}

std::string NumberedItem(int n, const std::string& text) { return IntToStrWidth(3, n) + ":" + text; }

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  return platform::ReadTextLines(path, lines);
}

float FloatAt(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return std::bit_cast<float>(v);
}

void SelectBuiltInStation() {
  struct BuiltIn {
    const char* name;
    const char* area;
  };
  static const BuiltIn kStations[] = {{"HAMAMATSU", "SZ"}, {"SAN FRANCISCO", "CA"}, {"BEIJING", "BJ"}, {"SANTIAGO", "ST"}};
  if (CountryNo < 1 || CountryNo > 4) return;
  SelectStation(0, kStations[CountryNo - 1].name, kStations[CountryNo - 1].area, platform::J("標準年"));
}

}  // namespace

std::string WeatherInfoFileName() { return platform::J("QZWD情報.DAT"); }

// ---------------------------------------------------------------------------------------------
// Selection

void WCD_Data_Init() {
  StandardLayout = true;
  LoadCountryFields();
  const std::string wcd = Root() + "WCD\\";
  const std::string areaTable = wcd + StationSel.CountryCode + "_STAT.DAT";
  if (!platform::FileExists(areaTable)) {
    MsgDialog(platform::J("気象データファイルのあるのディレクトリ<") + wcd + platform::J(">が見つかりません。(WCD_Data_Init)"), 3,
              1);
  }
  WcdDir = wcd;
  CountryDataDir = WcdDir + StationSel.CountryFolder + "\\";
  ClearStationFields();
}

void SelectDefaultStation(bool useBuiltIn) {
  bool selected = false;
  if (!useBuiltIn && LoadInfoFile(WeatherInfoFileName())) {
    const std::string& row7 = WeatherInfoRows[7];
    auto part = [&](size_t from) { return row7.size() >= from ? row7.substr(from - 1, 4) : std::string(); };
    const int country = static_cast<int>(TextToInt(part(2)));
    const int station = static_cast<int>(TextToInt(part(14)));
    const int oldCountry = CountryNo;
    // The country and the station must exist, and the station must carry the names written
    // beside its number (a table rebuilt in another order would otherwise give another station).
    CountryNo = country;
    bool valid = LoadCountryFields() && station >= 1 && SelectStation(station) &&
                 (WeatherInfoRows[6].empty() ||
                  WeatherInfoRows[6] == StationSel.AreaName + " " + StationSel.StationName);
    if (valid) {
      selected = true;
    } else {
      CountryNo = oldCountry;
      LoadCountryFields();
      ClearStationFields();
      MsgDialog(platform::J("気象データ選択ファイル<") + AbbreviatePath(DataDir + WeatherInfoFileName()) +
                    platform::J(">の観測地点") + row7 + " " + WeatherInfoRows[6] +
                    platform::J("が地点表にありません。標準の観測地点を選びます。"),
                3, 1);
    }
  }
  if (!selected) SelectBuiltInStation();
  if (DefaultStationNo == 0) DefaultStationNo = StationSel.StationNo;
}

bool SelectStation(int stationNo, const std::string& stationName, const std::string& areaCode,
                   const std::string& yearNameIn) {
  if (stationNo == 0 && stationName.empty()) {
    MsgDialog(platform::J("＜地点№＞または＜地点名＞が指定されていません。"), 3, 1);
    return false;
  }
  WCD_DataType& s = StationSel;
  LoadCountryFields();
  const std::vector<Row> stations = LoadRows(StationTablePath());
  StationCount = static_cast<int>(stations.size());

  int number = stationNo;
  if (number == 0) {
    const std::string wanted = stationName + " (" + areaCode + ")";
    for (int i = 0; i < StationCount && number == 0; ++i)
      if (stations[i][1] + " (" + stations[i][2] + ")" == wanted) number = i + 1;
  }
  const bool found = number >= 1 && number <= StationCount;
  std::string stationArea = s.AreaCode;
  if (found) {
    const Row& r = stations[number - 1];
    s.StationName = r[1];
    s.StationNo = number;
    s.StationCode = r[10];
    for (int k = 0; k < 5; ++k) s.Values[k] = TextToFloat(r[5 + k]);
    s.StationNote = r[11];
    stationArea = r[2];
  }

  const std::vector<Row> areas = LoadRows(AreaTablePath());
  AreaCount = static_cast<int>(areas.size());
  if (found) {
    s.AreaNo = 0;
    for (int i = 0; i < AreaCount && s.AreaNo == 0; ++i)
      if (areas[i][2] == stationArea) s.AreaNo = i + 1;
    if (s.AreaNo == 0) {  // the station's area is not in the area table
      s.AreaName.clear();
      s.AreaCode = stationArea;
      s.AreaGroup.clear();
    }
  }
  if (s.AreaNo >= 1 && s.AreaNo <= AreaCount) {
    const Row& a = areas[s.AreaNo - 1];
    s.AreaName = a[1];
    s.AreaCode = a[2];
    s.AreaGroup = a[7];
  }
  s.DisplayTexts[0] = s.AreaGroup + " " + s.StationNote;

  const std::string yearName = yearNameIn.empty() ? platform::J("標準年") : yearNameIn;
  const std::vector<Row> years = LoadRows(YearTablePath());
  s.YearName = yearName;
  s.YearCode.clear();
  int yearNumber = 0;
  for (const Row& y : years)
    if (y[1] == yearName) {
      s.YearCode = y[3];
      yearNumber = static_cast<int>(TextToInt(y[2]));
      break;
    }
  SetLeapYearFlag(yearNumber);
  s.LeapYear = LeapFlag;
  s.YearHours = (LeapFlag ? 366 : 365) * 24;

  const std::string code = StandardLayout ? s.StationCode : ZeroPadded(s.StationNo, 5);
  const std::string stationDir = CountryDataDir + code + "\\" + code;
  if (StandardLayout && CountryNo == 2 && s.YearCode == "AV") {
    StationDataPath = stationDir + "_90";
  } else if (StandardLayout && CountryNo == 3) {
    if (s.YearCode == "AV")
      StationDataPath = stationDir + "_STD.WCD";
    else if (s.YearCode == "00")
      StationDataPath = stationDir + "_20" + s.YearCode + "YH.WCD";
    else
      StationDataPath = stationDir + "_19" + s.YearCode + "YH.WCD";
  } else {
    StationDataPath = stationDir + "_" + s.YearCode;
  }
  DailyDataPath = WcdFolder() + s.CountryCode + "_" + s.AreaCode + "\\" + code + "\\" + code + ".H" + s.YearCode;

  std::optional<int64_t> size = platform::FileSize(DailyDataPath);
  if (size && *size % 75 != 0) MsgDialog(platform::J("このファイルは気象データの書式が正しくありません。"), 1, 1);
  return found;
}

void InitWeatherSelection() {
  const bool sibling = ContainsStr("Meteorin", ProgramNameVersion) || ContainsStr("Meteoria", ProgramNameVersion);
  int station = sibling ? DefaultStationNo : RememberedStationNo;
  if (station == 0) station = StationSel.StationNo;
  SelectStation(station);
  BuildWeatherInfoRows();
  SaveWeatherInfo(WeatherInfoFileName(), DailyDataPath);
  SetWeatherDataPaths();
}

// ---------------------------------------------------------------------------------------------
// Weather-selection file

void BuildWeatherInfoRows() {
  WeatherInfoRows[5].clear();
  WeatherInfoRows[6] = StationSel.AreaName + " " + StationSel.StationName;
  WeatherInfoRows[7] = "[" + IntToStrWidth(4, CountryNo) + "][" + IntToStrWidth(4, StationSel.AreaNo) + "][" +
                       IntToStrWidth(4, StationSel.StationNo) + "]";
  WeatherInfoRows[8] = StationSel.YearName;
}

bool SaveWeatherInfo(const std::string& fileName, const std::string& dataPath) {
  const std::string stored = AbbreviatePath(dataPath);
  SplitFileName(dataPath);
  WeatherInfoRows[0] = FileDrive;
  const bool endsWithName = stored.size() >= FileNameExt.size() &&
                            stored.compare(stored.size() - FileNameExt.size(), FileNameExt.size(), FileNameExt) == 0;
  WeatherInfoRows[1] = endsWithName ? stored.substr(0, stored.size() - FileNameExt.size()) : FileDir;
  WeatherInfoRows[2] = FileNameExt;
  WeatherInfoRows[3] = FileBaseName;
  WeatherInfoRows[4] = FileExt;
  WeatherInfoRows[9] = DateStampText(NowDateTime());
  int width = 40;  // a longer row widens the column rather than being refused
  for (const std::string& row : WeatherInfoRows) width = std::max(width, static_cast<int>(row.size()));
  TableBuffer.TableRows = static_cast<int>(WeatherInfoRows.size());
  TableBuffer.TableCols = 1;
  TableBuffer.TableWidths[1] = width;
  for (size_t i = 0; i < WeatherInfoRows.size(); ++i) {
    TableBuffer.TableKeys[i + 1] = WeatherInfoRows[i];
    TableBuffer.TableCells[i + 1][1] = WeatherInfoRows[i];
  }
  return DataSave(DataDir + fileName);
}

bool LoadInfoFile(const std::string& fileName) {
  const std::string path = DataDir + fileName;
  const std::string what = platform::J("気象データ選択ファイル<") + AbbreviatePath(path);
  if (!platform::FileExists(path)) {
    MsgDialog(what + platform::J(">が見つかりません。標準の観測地点を選びます。"), 3, 1);
    return false;
  }
  if (!DataLoad(path)) {
    MsgDialog(what + platform::J(">が読めません。標準の観測地点を選びます。"), 3, 1);
    return false;
  }
  for (int i = 0; i < static_cast<int>(WeatherInfoRows.size()); ++i)
    WeatherInfoRows[i] = i < TableBuffer.TableRows ? TableBuffer.TableKeys[i + 1] : std::string();
  NormalizePath(WeatherInfoRows[1] + WeatherInfoRows[2]);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Lists

void FillStationCombo(std::vector<std::string>& items, std::string& text, int mode) {
  items.clear();
  int first = 0;
  const std::vector<Row> areas = LoadRows(AreaTablePath());
  int area = 0;
  for (int i = 0; i < static_cast<int>(areas.size()) && area == 0; ++i)
    if (!StationSel.AreaName.empty() && areas[i][1] == StationSel.AreaName) area = i + 1;
  if (area > 0) {
    first = static_cast<int>(TextToInt(areas[area - 1][5]));
    const int count = static_cast<int>(TextToInt(areas[area - 1][6]));
    const std::vector<Row> stations = LoadRows(StationTablePath());
    const int column = std::clamp(mode, 1, kTableMaxCols);
    for (int n = std::max(first, 1); n < first + count && n <= static_cast<int>(stations.size()); ++n)
      items.push_back(NumberedItem(n, stations[n - 1][column]));
    text = StationSel.StationName;
  }
  FirstStationNo = first;
}

void FillPrefectureLists(std::vector<std::string>& prefectures) {
  prefectures.clear();
  const std::vector<Row> areas = LoadRows(AreaTablePath());
  for (size_t i = 0; i < areas.size(); ++i) prefectures.push_back(NumberedItem(static_cast<int>(i + 1), areas[i][1]));
}

// ---------------------------------------------------------------------------------------------
// Fixed-column records

bool ReadAreaRecord(const std::vector<std::string>& lines, int n, AreaRecord& record) {
  record = AreaRecord();
  if (n < 1 || n > static_cast<int>(lines.size()) - 2) return false;
  const std::string& line = lines[n + 1];
  record.No = n;
  record.Name = Field(line, 1, 20);
  record.Code = Field(line, 21, 28);
  for (size_t k = 0; k < 4; ++k) record.Numbers[k] = TextToInt(Field(line, 29 + 8 * k, 36 + 8 * k));
  record.Text = Field(line, 61, 90);
  return true;
}

bool ReadCityRecord(const std::vector<std::string>& lines, int n, CityRecord& record) {
  if (n < 1 || n > static_cast<int>(lines.size())) return false;
  const std::string& line = lines[n - 1];
  record.Name = Field(line, 1, 20);
  record.Code = Field(line, 21, 28);
  record.Codes = {Field(line, 29, 36), Field(line, 37, 44)};
  for (size_t k = 0; k < 4; ++k) record.Values[k] = TextToFloat(Field(line, 45 + 8 * k, 52 + 8 * k));
  record.StationNo = static_cast<int>(TextToInt(Field(line, 77, 84)));
  record.StationCode = Field(line, 85, 92);
  record.Text = Field(line, 93, 122);
  return true;
}

bool ReadStationRecord(const std::vector<std::string>& lines, int n, StationRecord& record) {
  if (n < 1 || n > static_cast<int>(lines.size()) - 2) return false;
  const std::string& line = lines[n + 1];
  record.Name = Field(line, 1, 20);
  record.Code = Field(line, 21, 28);
  record.Code2 = Field(line, 29, 36);
  record.Number = TextToInt(Field(line, 37, 44));
  for (size_t k = 0; k < 5; ++k) record.Values[k] = TextToFloat(Field(line, 45 + 8 * k, 52 + 8 * k));
  record.StationCode = Field(line, 85, 92);
  record.Text = Field(line, 93, 122);
  return true;
}

bool LoadStationRecords(int areaNo, int cityNo, int& stationNo, std::string& note) {
  stationNo = 0;
  note.clear();
  std::vector<std::string> areaLines, cityLines, stationLines;
  ReadLines(AreaTablePath(), areaLines);
  ReadLines(CityTablePath(), cityLines);
  ReadLines(StationTablePath(), stationLines);
  AreaRecord area;
  if (!ReadAreaRecord(areaLines, areaNo, area)) return false;
  // The city must be one of the area's cities (numbers 1..count within the area).
  if (cityNo < 1 || cityNo > area.Numbers[1]) {
    ShowErrorStatus(platform::J("＜") + area.Name + platform::J("＞に市町村№") + std::to_string(cityNo) +
                    platform::J("はありません。(LoadStationRecords)"));
    return false;
  }
  CityRecord city;
  if (!ReadCityRecord(cityLines, cityNo + static_cast<int>(area.Numbers[0]) - 1, city)) return false;
  StationRecord station;
  if (!ReadStationRecord(stationLines, city.StationNo, station)) {
    ShowErrorStatus(platform::J("＜") + city.Name + platform::J("＞の観測地点№") + std::to_string(city.StationNo) +
                    platform::J("が地点表にありません。(LoadStationRecords)"));
    return false;
  }
  stationNo = city.StationNo;
  note = station.Text;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Monthly statistics

void DecodeMonthlyRecord(const std::string& bytes, MonthlyStationRecord& record) {
  if (bytes.size() < static_cast<size_t>(kMonthlyRecordBytes)) return;
  size_t length = std::min<size_t>(static_cast<unsigned char>(bytes[18]), 8);
  record.StationName = bytes.substr(19, length);
  record.Latitude = FloatAt(bytes, 27);
  record.Longitude = FloatAt(bytes, 31);
  record.Elevation = FloatAt(bytes, 35);
  record.Height = FloatAt(bytes, 39);
  record.HighestTemp = FloatAt(bytes, 43);
  record.LowestTemp = FloatAt(bytes, 47);
  for (size_t k = 0; k < kMonthlyItems; ++k)
    for (size_t m = 0; m < 13; ++m) record.Items[k][m] = FloatAt(bytes, 75 + 52 * k + 4 * m);
}

std::string MonthlyDataFileName(const std::string& kind) {
  if (!MonthlyFile.empty() && kind == MonthlyFile) return MonthlyFile;
  std::string path;
  if (kind.size() >= 2 && kind[1] == ':') {
    path = kind;
  } else if (kind.empty()) {
    path = DatDir + platform::J("月次気象.") + std::to_string(StationCount);
  } else if (kind.size() == 2) {
    path = DatDir + platform::J("月次気象.DAT");
  } else if (kind.size() == 3) {
    path = WcdFolder() + StationSel.CountryCode + (StandardLayout ? "_MONT.DAT" : "_MONT(UY).DAT");
  } else if (kind == "WCD_QZ") {
    path = Root() + "WCD_QZ\\" + platform::J("月次気象.DAT");
  } else if (kind == "WCD_UY") {
    path = Root() + "WCD_UY\\" + "JPN_MONT(UY).DAT";
  }
  SplitFileName(path);
  MonthlyFile = path;
  return path;
}

bool ReadMonthlyRecord(const std::string& kind, int stationNo) {
  const std::string file = MonthlyDataFileName(kind);
  if (stationNo < 1 || stationNo > StationCount || !platform::FileExists(file)) return false;
  platform::RandomAccessFile in;
  if (!in.Open(file)) return false;
  const int64_t offset = static_cast<int64_t>(stationNo - 1) * kMonthlyRecordBytes;
  std::string bytes(kMonthlyRecordBytes, '\0');
  if (in.Size() < offset + kMonthlyRecordBytes || !in.ReadAt(offset, bytes.data(), bytes.size())) {
    ShowErrorStatus("<" + AbbreviatePath(file) + platform::J(">に地点№") + std::to_string(stationNo) +
                    platform::J("の月次データがありません。(ReadMonthlyRecord)"));
    return false;
  }
  DecodeMonthlyRecord(bytes, MonthlyRecord);
  return true;
}

std::string MonthlyFileLabelText() {
  if (!platform::FileExists(MonthlyFile)) return platform::J("※ファイルなし");
  return AbbreviatePath(MonthlyFile);
}

void ShowStationInfo(StationInfoView& view, int stationNo) {
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Wait);
  if (!ReadMonthlyRecord(MonthlyFile, stationNo)) {
    // No record for the station: nothing of the record read before may show under its name.
    MonthlyRecord = MonthlyStationRecord();
    const float none = std::numeric_limits<float>::quiet_NaN();
    for (float* v : {&MonthlyRecord.Latitude, &MonthlyRecord.Longitude, &MonthlyRecord.Elevation,
                     &MonthlyRecord.Height, &MonthlyRecord.HighestTemp, &MonthlyRecord.LowestTemp})
      *v = none;
    for (auto& item : MonthlyRecord.Items) item.fill(none);
  }
  const MonthlyStationRecord& r = MonthlyRecord;
  // A missing value (NaN in the record) is "－" in a label, right-aligned in the same width.
  const auto number = [](float value, int width, int decimals) {
    return std::isnan(value) ? PadLeft(platform::J("－"), width) : FloatToTextDigits(value, width, decimals);
  };
  const auto degrees = [](float value) { return std::isnan(value) ? platform::J("－") : DegMinText(value); };
  StationInfoTexts t;
  t.Title = platform::J("〔 ") + StationSel.DisplayTexts[0] + platform::J(" 〕");
  t.Position = platform::J("(北)緯度  ") + degrees(r.Latitude) +
               platform::J(CountryNo == 2 ? "  (西)経度  " : "  (東)経度  ") + degrees(r.Longitude);
  t.Heights = platform::J("標高 ") + number(r.Elevation, 4, 0) + platform::J("m   観測高さ ") + number(r.Height, 5, 1) + "m";
  t.AreaStation = StationSel.AreaName + " " + StationSel.StationName;
  t.RecordName = r.StationName;
  t.Temperatures = platform::J("最高気温 ") + number(r.HighestTemp, 5, 1) + platform::J(" ℃   最低気温 ") +
                   number(r.LowestTemp, 5, 1) + platform::J(" ℃");
  t.FileName = platform::J("ファイル：") + MonthlyFile;
  view.ShowTexts(t);

  const std::vector<Row> items = LoadRows(ItemTablePath());
  const int rows = std::min(static_cast<int>(items.size()), kMonthlyItems);
  for (int row = 1; row <= rows; ++row) {
    const bool oneDecimal = row == 1 || row == 4 || row == 5 || (row >= 9 && row <= 12) || row == 23 || row == 24;
    const bool converted = UnitSI && ((row >= 6 && row <= 8) || (row >= 13 && row <= 21));
    const std::string& unit = items[row - 1][2];
    view.SetCell(0, row, " " + items[row - 1][1]);
    view.SetCell(1, row, converted ? UnitSymbolText(unit) : unit);
    for (int m = 0; m < 13; ++m) {
      float value = r.Items[row - 1][m];
      if (converted) value *= UnitFactor[6];
      // A missing value leaves its cell empty.
      view.SetCell(2 + m, row, std::isnan(value) ? std::string() : FloatToTextDigits(value, 6, oneDecimal ? 1 : 0));
    }
  }
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
}

// ---------------------------------------------------------------------------------------------
// Paths

void SetWeatherDataPaths() {
  const std::string root = Root();
  const WCD_DataType& s = StationSel;
  const std::string n = TextBefore(s.StationNote, "(");
  UyDir = root + "WCD_UY\\";
  HavPath = UyDir + s.CountryCode + "_" + s.AreaCode + "\\" + ZeroPadded(s.StationNo, 5) + "\\" + ZeroPadded(s.StationNo, 5) + ".HAV";
  QzDir = root + "WCD_QZ\\";
  QzHavPath = QzDir + s.AreaGroup + "\\" + n + "\\" + n + ".HAV";
  UfDir = root + "WCD_UF\\";
  Uf1Path = UfDir + "Tmp\\" + ZeroPadded(s.StationNo, 3) + "9999.UF1";
  MonthlyDataFileName(ContainsStr("Meteoria", ProgramNameVersion) ? "WCD_QZ" : "WCD");
}

}  // namespace fw
