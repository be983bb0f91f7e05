// Weather stations and weather-data files: the current selection of country, area, station
// and year (StationSel), the station tables under "WCD\" of the program folder, the paths of a
// station's data files, the weather-selection file "QZWD情報.DAT" shared with sibling programs,
// the monthly statistics record of a station and the texts that show a station's key figures.
//
// Tables (paths relative to the program root BaseDrive + BaseFolder):
//   DatDir "国名.DAT"          1 country name, 2 country folder, 3 country code (table file)
//   "WCD\" + code + "_STAT.DAT" area table: 1 name, 2 code, 3 first city, 4 number of cities,
//                               5 first station, 6 number of stations, 7 area group (table file;
//                               read by column or as "K" records, line n + 2)
//   "WCD\" + code + "_WPNT.DAT" station table: 1 name, 2 area code, 5..9 five reals, 10 station
//                               code, 11 note (table file; or "P" records, line n + 2)
//   "WCD\" + code + "_CITY.DAT" city table: "C" records, line n counted from 1, no header
//   DatDir "観測年度.DAT"       1 year name, 2 year number, 3 year code
//   DatDir "気象項目.DAT"       1 weather item name, 2 unit
//   monthly statistics file     1947-byte records, record n - 1 for station n
//
// Behaviour kept safe on purpose:
// - A missing or unreadable weather-selection file gives a warning and the built-in default
//   station; the program goes on.
// - A station number read from a file (the weather-selection file, a city record) is used only
//   when it lies within the station table; the weather-selection file's station must also carry
//   the area and station names written beside its number. Otherwise a warning, and the built-in
//   default station (weather-selection file) or no station (city record) is used.
// - A monthly statistics file too short to hold the station's record is reported by an error
//   note; nothing is read past its end and the previous record stays.
// - A city number beyond the cities of its area gives no station (it would name a city of
//   another area).
// - A missing value of a monthly record (NaN) is shown as an empty grid cell and as "－" in a
//   label, never as a number.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace fw {

// ---- The current selection

struct WCD_DataType {
  std::string CountryName;    // column 1 of the country table
  std::string CountryFolder;  // column 2
  std::string CountryCode;    // column 3, up to 8
  std::string AreaName;       // column 1 of the area table, up to 20
  std::string AreaCode;       // column 2, up to 8
  int AreaNo = 0;             // row of the area table
  std::string AreaGroup;      // column 7
  std::string StationName;    // column 1 of the station table, up to 20
  int StationNo = 0;          // row of the station table
  std::string StationCode = "00000";  // column 10; "00000" when no station is chosen
  std::string StationNote;            // column 11
  std::array<std::string, 3> DisplayTexts;  // [0] = area group + " " + station note
  std::string YearName;       // column 1 of the year table, up to 8
  std::string YearCode;       // column 3, up to 2
  bool LeapYear = false;
  int YearHours = 0;          // days of the year x 24
  std::array<double, 5> Values{};  // columns 5 to 9 of the station table
};

extern WCD_DataType StationSel;

extern std::string WcdDir;          // root + "WCD\"
extern std::string CountryDataDir;  // WcdDir + country folder + "\"
extern int StationCount;            // rows of the station table
extern int AreaCount;               // rows of the area table
extern std::string StationDataPath; // the station's yearly data file in the country folder
extern std::string DailyDataPath;   // the station's daily file
extern std::string UyDir, QzDir, UfDir;  // root + "WCD_UY\", "WCD_QZ\", "WCD_UF\"
extern std::string HavPath;         // UY folder HAV path
extern std::string QzHavPath;       // QZ folder HAV path
extern std::string Uf1Path;         // UF1 path
extern std::string MonthlyFile;     // the last monthly file name asked for
extern bool StandardLayout;         // set by WCD_Data_Init
extern std::array<std::string, 10> WeatherInfoRows;  // rows of the weather-selection file

// The station the program starts with, noted by SelectDefaultStation when still 0.
extern int DefaultStationNo;
// The station the monthly weather window shows (set by that window).
extern int RememberedStationNo;
// First station number of the list FillStationCombo filled last (0 when none).
extern int FirstStationNo;

// The weather-selection file's name in DataDir: "QZWD情報.DAT" (CP932).
std::string WeatherInfoFileName();

// ---- Selection

// Selects the country's tables (row CountryNo of the country table) and clears the selection.
void WCD_Data_Init();
// Chooses the station to start with: the built-in station of the country, or the one named by
// the weather-selection file.
void SelectDefaultStation(bool useBuiltIn);
// Makes a station current for a year name (empty = "標準年"): by number, or, when the number
// is 0, by name and area code. Returns whether a station of the table was selected.
bool SelectStation(int stationNo, const std::string& stationName = std::string(),
                   const std::string& areaCode = std::string(), const std::string& yearName = std::string());
// SelectStation for the remembered default station, then writes the weather-selection file and
// sets the data paths.
void InitWeatherSelection();

// ---- Weather-selection file

void BuildWeatherInfoRows();
// Writes the 10 rows to DataDir + fileName; rows 0 to 4 describe `dataPath` in stored form.
bool SaveWeatherInfo(const std::string& fileName, const std::string& dataPath);
// Reads DataDir + fileName into WeatherInfoRows and splits the path of rows 1 and 2. A missing
// or unreadable file gives a warning and false.
bool LoadInfoFile(const std::string& fileName);

// ---- Lists

// The stations of the current area as "%3d:%s" items (station number and the station-table
// column `mode`, 11 = the note); `text` = the current station name. FirstStationNo = the
// area's first station, 0 (and no items) when the current area is not in the area table.
void FillStationCombo(std::vector<std::string>& items, std::string& text, int mode);
// The areas of the area table as "%3d:%s" items (area number and name).
void FillPrefectureLists(std::vector<std::string>& prefectures);

// ---- Fixed-column records of the station tables

struct AreaRecord {           // "K": area table line n + 2
  int No = 0;                 // record number
  std::string Name;           // columns 1-20
  std::string Code;           // 21-28
  std::array<long long, 4> Numbers{};  // 29-36 first city, 37-44 cities, 45-52 first station, 53-60 stations
  std::string Text;           // 61-90
};
struct CityRecord {           // "C": city table line n
  std::string Name;           // 1-20
  std::string Code;           // 21-28 (area code)
  std::array<std::string, 2> Codes;  // 29-36, 37-44
  std::array<double, 4> Values{};    // 45-52, 53-60, 61-68, 69-76
  int StationNo = 0;          // 77-84
  std::string StationCode;    // 85-92
  std::string Text;           // 93-122
};
struct StationRecord {        // "P": station table line n + 2
  std::string Name;           // 1-20
  std::string Code;           // 21-28 (area code)
  std::string Code2;          // 29-36
  long long Number = 0;       // 37-44
  std::array<double, 5> Values{};  // 45-52 .. 77-84
  std::string StationCode;    // 85-92
  std::string Text;           // 93-122
};

// Record n of the lines of a table. Out of range: K is cleared, C and P stay as they were;
// the result tells whether the record was read.
bool ReadAreaRecord(const std::vector<std::string>& lines, int n, AreaRecord& record);
bool ReadCityRecord(const std::vector<std::string>& lines, int n, CityRecord& record);
bool ReadStationRecord(const std::vector<std::string>& lines, int n, StationRecord& record);

// The area, city and station records of a location: area areaNo, city cityNo of that area.
// stationNo = the city's station (0 when none), note = that station's text.
bool LoadStationRecords(int areaNo, int cityNo, int& stationNo, std::string& note);

// ---- Monthly statistics

constexpr int kMonthlyRecordBytes = 1947;
constexpr int kMonthlyItems = 36;

struct MonthlyStationRecord {
  std::string StationName;  // bytes 18-26 (length byte and up to 8 characters)
  float Latitude = 0, Longitude = 0, Elevation = 0, Height = 0;
  float HighestTemp = 0, LowestTemp = 0;
  std::array<std::array<float, 13>, kMonthlyItems> Items{};  // January..December, then the year
};
extern MonthlyStationRecord MonthlyRecord;

// Decodes a 1947-byte record.
void DecodeMonthlyRecord(const std::string& bytes, MonthlyStationRecord& record);

// The monthly statistics file for `kind` (see the algorithm in the source); remembered in
// MonthlyFile and split into the current-file parts.
std::string MonthlyDataFileName(const std::string& kind);
// Reads record stationNo - 1 of the monthly file of `kind` into MonthlyRecord.
bool ReadMonthlyRecord(const std::string& kind, int stationNo);
// "※ファイルなし" when the monthly file does not exist, else its stored form.
std::string MonthlyFileLabelText();

// The labels and the grid that show a station's key figures; the window implements it.
struct StationInfoTexts {
  std::string Title;        // "〔 " + display text 1 + " 〕"
  std::string Position;     // latitude and longitude
  std::string Heights;      // elevation and observation height
  std::string AreaStation;  // area name + " " + station name
  std::string RecordName;   // the record's station name
  std::string Temperatures; // highest and lowest temperature
  std::string FileName;     // "ファイル：" + MonthlyFile
};
class StationInfoView {
 public:
  virtual ~StationInfoView() = default;
  virtual void ShowTexts(const StationInfoTexts& texts) = 0;
  // Grid cell: column 0 item name, 1 unit, 2..14 January..December and the year; rows from 1.
  virtual void SetCell(int col, int row, const std::string& text) = 0;
};
// Shows the record of station stationNo of MonthlyFile; when it cannot be read (no file, a file
// cut short, a number out of range) MonthlyRecord is cleared to "no data" (an empty name, every
// figure missing) and shown so.
void ShowStationInfo(StationInfoView& view, int stationNo);

// ---- Paths

void SetWeatherDataPaths();

}  // namespace fw
