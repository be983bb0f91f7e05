// The weather-data builder: turns the observation folder (stations.csv, cities.csv,
// daily/<block_no>.csv, 1981-01-01 to 1995-12-31, and monthly/<block_no>.csv, 1981-01 to
// 1995-12) into the installed weather files the program reads:
//
//   WCD\JPN_STAT.DAT   area table (table-file layout), one area per prefecture in JIS order.
//                      Columns (widths): 1 prefecture name (20), 2 two-letter area code (8),
//                      3 number of the area's first city in JPN_CITY.DAT (8), 4 number of its
//                      cities (8), 5 number of its first station in JPN_WPNT.DAT (8), 6 number
//                      of its stations (8), 7 area group text = the prefecture name (30).
//   WCD\JPN_WPNT.DAT   station table (table-file layout), stations grouped by area in area
//                      order, within an area in the order of stations.csv. Columns: 1 station
//                      name = upper-case romanised name (20), 2 area code (8), 3 JMA block
//                      number (8), 4 prefecture code 1..47 (8), 5 latitude, 6 longitude (degrees,
//                      4 decimals), 7 elevation (m), 8 mean daily temperature 1981-1995 (°C),
//                      9 mean yearly precipitation 1981-1995 (mm) (8 each; columns 8 and 9 are
//                      taken from the daily files as written, gaps filled), 10 station code =
//                      AMeDAS number (8), 11 station note = Japanese name (30).
//   WCD\JPN_CITY.DAT   city table: no header, one fixed-column line per municipality of
//                      cities.csv, grouped by prefecture in area order: name 1-20, area code
//                      21-28, JIS municipality code 29-36, block number of the nearest station
//                      37-44, latitude 45-52, longitude 53-60, distance to that station in km
//                      61-68, 0 (reserved) 69-76, station number (row of JPN_WPNT.DAT) 77-84,
//                      station code 85-92, Japanese station name 93-122. Every field is
//                      right-aligned in its columns.
//   CAL\気温(日次).DAT, CAL\降水量(日次).DAT
//                      738-byte little-endian records, 15 per station in station-table order
//                      (record (s - 1) x 15 + (year - 1981)): int16 station number s, int16
//                      number of values of this record that were filled in, int16 year, then
//                      366 int16 values for day-of-year 1..366 (0.01 °C and 0.1 mm; day 60 of
//                      a leap year is 29 February; slot 366 of a common year is 0).
//   WCD\JPN_MONT.DAT  monthly statistics: one 1947-byte little-endian record per station in
//                      station-table order (record n - 1 = station n), reals IEEE single
//                      precision, a missing value NaN (never 0):
//                        0-8     AMeDAS number: length byte and up to 8 characters
//                        9-17    block number: length byte and up to 8 characters
//                        18-26   Japanese name (CP932, cut to 8 bytes on a character
//                                boundary): length byte and up to 8 bytes
//                        27-34   latitude, longitude as degrees + minutes / 100 (34°45' = 34.45)
//                        35-38   elevation (m)
//                        39-42   observation height (m): not in the source, always missing
//                        43-46   highest temperature 1981-1995 (the largest tmax_abs_c)
//                        47-50   lowest temperature 1981-1995 (the smallest tmin_abs_c)
//                        51-74   source year of each month of the standard year, int16 (0: none)
//                        75-1946 36 items x 13 reals (January..December, then the year), item k
//                                at 75 + 52 (k - 1), in the order of DATA\DAT\気象項目.DAT
//                      The standard year, the items and their derivation: monthly_stats.h.
//
// Missing observations: a missing daily temperature is interpolated linearly between the
// nearest observed days before and after it (the nearest observed value alone at the start
// or end of the period); a missing precipitation is 0. The builder reports the number of
// filled values of every station.
//
// Every file is built in memory and written through a temporary file and a rename. Paths
// given to the builder are native (UTF-8) paths.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace wxbuild {

constexpr int kFirstYear = 1981;
constexpr int kYears = 15;
constexpr int kDaySlots = 366;
constexpr int kRecordBytes = 6 + 2 * kDaySlots;  // 738
constexpr int kPrefectures = 47;

struct Station {
  std::string blockNo;    // JMA block number ("47654"), names the daily file
  std::string stationNo;  // AMeDAS number ("50456")
  std::string nameJa;     // UTF-8
  std::string romaji;     // "HAMAMATSU"
  std::string prefJa;     // UTF-8
  int prefCode = 0;       // 1..47
  double lat = 0, lon = 0, elev = 0;
};

struct City {
  int prefCode = 0;
  std::string prefJa;     // UTF-8
  std::string cityCode;   // JIS X 0402, 5 digits
  std::string cityJa;     // UTF-8
  double lat = 0, lon = 0, distanceKm = 0;
  std::string nearestBlockNo;
};

// Days from 1981-01-01 to 1995-12-31.
int SeriesDays();
// Days of a month 1..12 (0 for another month number); day of the year (1..366) of a date.
int MonthLength(int year, int month);
int DayOfYear(int year, int month, int day);
// Index of a date in the daily series (0 = 1981-01-01); -1 outside the period or invalid.
int SeriesIndex(int year, int month, int day);

// One station's daily values over the whole period: temperature in 0.01 °C, precipitation in
// 0.1 mm, with a flag per value telling whether it was observed.
struct DailySeries {
  std::vector<int32_t> temp, prcp;
  std::vector<uint8_t> tempObserved, prcpObserved;
};

struct FillCounts {
  int temperature = 0;
  int precipitation = 0;
};

// Two-letter area code of a prefecture code 1..47 ("SZ" for 22, Shizuoka); empty otherwise.
std::string AreaCodeOfPrefecture(int prefCode);

// Readers of the observation files. On failure `error` names the file and the line.
bool ReadStationsCsv(const std::string& nativePath, std::vector<Station>& stations, std::string& error);
bool ReadCitiesCsv(const std::string& nativePath, std::vector<City>& cities, std::string& error);
bool ReadDailyCsv(const std::string& nativePath, DailySeries& series, std::string& error);
// The same from the file's bytes (`name` only for messages).
bool ParseDailyCsv(const std::string& bytes, const std::string& name, DailySeries& series, std::string& error);

// Fills the gaps of a series as the file comment says; returns how many values were filled.
FillCounts FillGaps(DailySeries& series);

// One 738-byte record of a year from a filled series (values) and its observed flags.
std::string EncodeRecord(int stationNo, int year, const std::vector<int32_t>& values,
                         const std::vector<uint8_t>& observed);

// The installed tables, as CP932 rows, ready to be written.
struct Tables {
  std::vector<std::array<std::string, 7>> areas;      // JPN_STAT.DAT columns 1..7
  std::vector<std::array<std::string, 11>> stations;  // JPN_WPNT.DAT columns 1..11
  std::vector<std::string> cityLines;                 // JPN_CITY.DAT lines
};

// Orders the stations by prefecture (stable) and builds the three tables. `means` gives, per
// ordered station, the mean daily temperature (°C) and the mean yearly precipitation (mm).
bool BuildTables(const std::vector<Station>& orderedStations, const std::vector<City>& cities,
                 const std::vector<std::array<double, 2>>& means, Tables& tables, std::string& error);
// Stations in table order: by prefecture code, keeping the file order within a prefecture.
std::vector<Station> OrderStations(const std::vector<Station>& stations);

struct BuildSummary {
  int stations = 0;
  int cities = 0;
  int64_t filledTemperature = 0;
  int64_t filledPrecipitation = 0;
  int64_t monthsWithoutStandardYear = 0;  // calendar months of the monthly file without a typical year
};

// The whole build: reads `weatherDir`, writes the six files under `rootDir` (the program's
// base folder: rootDir/WCD and rootDir/CAL are created when missing). Per-station fill counts
// and a summary go to `log`.
bool BuildWeatherData(const std::string& weatherDir, const std::string& rootDir, std::ostream& log,
                      BuildSummary& summary, std::string& error);

}  // namespace wxbuild
