#include "tools/wxbuild/wx_builder.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <ostream>

#include "framework/convert.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "tools/wxbuild/csv.h"
#include "tools/wxbuild/monthly_stats.h"

namespace wxbuild {
namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
int YearLength(int year) { return IsLeap(year) ? 366 : 365; }

// Index of 1 January of `year` in the series.
int YearStart(int year) {
  int index = 0;
  for (int y = kFirstYear; y < year; ++y) index += YearLength(y);
  return index;
}

std::string Inside(const std::string& native) { return platform::ToInsidePath(native).value_or(std::string()); }

// A decimal text ("-1.6", "12", "0.05") as an integer in units of 10^-decimals, exactly;
// further digits round half away from zero.
bool ParseScaled(const char* p, const char* end, int decimals, int32_t& value) {
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  int64_t v = 0;
  int digits = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    v = v * 10 + (*p++ - '0');
    if (++digits > 9) return false;
  }
  int fraction = 0;
  bool roundUp = false;
  if (p < end && *p == '.') {
    ++p;
    int seen = 0;
    while (p < end && *p >= '0' && *p <= '9') {
      if (seen < decimals) {
        v = v * 10 + (*p - '0');
        ++fraction;
      } else if (seen == decimals) {
        roundUp = *p >= '5';
      }
      ++seen;
      ++digits;
      ++p;
    }
  }
  if (p != end || digits == 0) return false;
  for (; fraction < decimals; ++fraction) v *= 10;
  if (roundUp) ++v;
  value = static_cast<int32_t>(negative ? -v : v);
  return true;
}

std::string Cp932(const std::string& utf8, const std::string& what, std::string& error) {
  std::optional<std::string> s = platform::Utf8ToCp932(utf8);
  if (!s) error = what + ": \"" + utf8 + "\" has no CP932 form";
  return s.value_or(std::string());
}

std::string Fixed(double x, int decimals) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
  std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("0");
  if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);  // no "-0.0"
  return text;
}

// A field right-aligned in `width` bytes; false when it does not fit.
bool PutField(std::string& line, const std::string& text, size_t width) {
  if (text.size() > width) return false;
  line.append(width - text.size(), ' ');
  line += text;
  return true;
}

void PutInt16(std::string& out, int value) {
  auto v = static_cast<uint16_t>(static_cast<int16_t>(value));
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

}  // namespace

int SeriesDays() { return YearStart(kFirstYear + kYears); }

int MonthLength(int year, int month) {
  if (month < 1 || month > 12) return 0;
  const int leap = IsLeap(year) ? 1 : 0;
  return fw::CumulativeDays[leap][month] - fw::CumulativeDays[leap][month - 1];
}

int DayOfYear(int year, int month, int day) {
  return fw::CumulativeDays[IsLeap(year) ? 1 : 0][std::clamp(month, 1, 12) - 1] + day;
}

int SeriesIndex(int year, int month, int day) {
  if (year < kFirstYear || year >= kFirstYear + kYears || day < 1 || day > MonthLength(year, month)) return -1;
  return YearStart(year) + DayOfYear(year, month, day) - 1;
}

std::string AreaCodeOfPrefecture(int prefCode) {
  static const char* const kCodes[kPrefectures] = {
      "HK", "AO", "IW", "MG", "AK", "YT", "FS", "IB", "TG", "GM", "ST", "CB", "TK", "KN", "NI", "TY",
      "IS", "FI", "YN", "NN", "GF", "SZ", "AI", "ME", "SI", "KY", "OS", "HG", "NR", "WK", "TT", "SM",
      "OK", "HS", "YG", "TS", "KA", "EH", "KC", "FO", "SG", "NS", "KM", "OT", "MZ", "KG", "ON"};
  if (prefCode < 1 || prefCode > kPrefectures) return std::string();
  return kCodes[prefCode - 1];
}

bool ReadStationsCsv(const std::string& nativePath, std::vector<Station>& stations, std::string& error) {
  Csv csv;
  std::vector<int> c;
  if (!ReadCsv(nativePath,
               {"block_no", "station_no", "name_ja", "name_romaji", "prefecture_ja", "pref_code", "lat", "lon",
                "elev_m"},
               csv, c, error))
    return false;
  stations.clear();
  for (size_t i = 0; i < csv.rows.size(); ++i) {
    const auto& r = csv.rows[i];
    Station s;
    s.blockNo = r[c[0]];
    s.stationNo = r[c[1]];
    s.nameJa = r[c[2]];
    s.romaji = r[c[3]];
    s.prefJa = r[c[4]];
    std::string where = nativePath + ":" + std::to_string(csv.lineNos[i]);
    if (!ParseInt(r[c[5]], s.prefCode) || s.prefCode < 1 || s.prefCode > kPrefectures || !ParseDouble(r[c[6]], s.lat) ||
        !ParseDouble(r[c[7]], s.lon) || !ParseDouble(r[c[8]], s.elev)) {
      error = where + ": bad prefecture code or position";
      return false;
    }
    if (s.blockNo.empty() || s.blockNo.find_first_not_of("0123456789") != std::string::npos) {
      error = where + ": bad block number \"" + s.blockNo + "\"";
      return false;
    }
    stations.push_back(std::move(s));
  }
  if (stations.empty()) {
    error = nativePath + ": no stations";
    return false;
  }
  std::map<std::string, int> seen;
  for (const Station& s : stations)
    if (++seen[s.blockNo] > 1) {
      error = nativePath + ": block number " + s.blockNo + " twice";
      return false;
    }
  return true;
}

bool ReadCitiesCsv(const std::string& nativePath, std::vector<City>& cities, std::string& error) {
  Csv csv;
  std::vector<int> c;
  if (!ReadCsv(nativePath,
               {"pref_code", "prefecture_ja", "city_code", "city_ja", "lat", "lon", "nearest_block_no", "distance_km"},
               csv, c, error))
    return false;
  cities.clear();
  for (size_t i = 0; i < csv.rows.size(); ++i) {
    const auto& r = csv.rows[i];
    City city;
    city.prefJa = r[c[1]];
    city.cityCode = r[c[2]];
    city.cityJa = r[c[3]];
    city.nearestBlockNo = r[c[6]];
    if (!ParseInt(r[c[0]], city.prefCode) || city.prefCode < 1 || city.prefCode > kPrefectures ||
        !ParseDouble(r[c[4]], city.lat) || !ParseDouble(r[c[5]], city.lon) || !ParseDouble(r[c[7]], city.distanceKm)) {
      error = nativePath + ":" + std::to_string(csv.lineNos[i]) + ": bad prefecture code, position or distance";
      return false;
    }
    cities.push_back(std::move(city));
  }
  return true;
}

bool ParseDailyCsv(const std::string& bytes, const std::string& name, DailySeries& series, std::string& error) {
  const int days = SeriesDays();
  series.temp.assign(days, 0);
  series.prcp.assign(days, 0);
  series.tempObserved.assign(days, 0);
  series.prcpObserved.assign(days, 0);
  std::vector<uint8_t> dated(days, 0);
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  int lineNo = 0;
  while (p < end) {
    const char* eol = std::find(p, end, '\n');
    const char* lineEnd = eol;
    if (lineEnd > p && lineEnd[-1] == '\r') --lineEnd;
    ++lineNo;
    std::string_view line(p, static_cast<size_t>(lineEnd - p));
    p = eol < end ? eol + 1 : end;
    if (lineNo == 1) {
      if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a UTF-8 byte-order mark
      if (line != "date,tavg_c,prcp_mm") {
        error = name + ": the first line is not the header \"date,tavg_c,prcp_mm\"";
        return false;
      }
      continue;
    }
    if (line.empty()) continue;
    std::string where = name + ":" + std::to_string(lineNo);
    size_t c1 = line.find(',');
    size_t c2 = c1 == std::string_view::npos ? c1 : line.find(',', c1 + 1);
    if (c2 == std::string_view::npos || line.find(',', c2 + 1) != std::string_view::npos || c1 != 10 ||
        line[4] != '-' || line[7] != '-') {
      error = where + ": expected \"yyyy-mm-dd,tavg,prcp\"";
      return false;
    }
    int year = 0, month = 0, day = 0;
    std::string date(line.substr(0, 10));
    if (!ParseInt(date.substr(0, 4), year) || !ParseInt(date.substr(5, 2), month) || !ParseInt(date.substr(8, 2), day)) {
      error = where + ": bad date";
      return false;
    }
    int index = SeriesIndex(year, month, day);
    if (index < 0) {
      error = where + ": date " + date + " outside 1981-01-01 .. 1995-12-31";
      return false;
    }
    if (dated[index]) {
      error = where + ": date " + date + " twice";
      return false;
    }
    dated[index] = 1;
    const char* t0 = line.data() + c1 + 1;
    const char* t1 = line.data() + c2;
    const char* q1 = line.data() + line.size();
    if (t1 > t0) {
      int32_t v = 0;
      if (!ParseScaled(t0, t1, 2, v) || v < -32768 || v > 32767) {
        error = where + ": bad temperature";
        return false;
      }
      series.temp[index] = v;
      series.tempObserved[index] = 1;
    }
    if (q1 > t1 + 1) {
      int32_t v = 0;
      if (!ParseScaled(t1 + 1, q1, 1, v) || v < 0 || v > 32767) {
        error = where + ": bad precipitation";
        return false;
      }
      series.prcp[index] = v;
      series.prcpObserved[index] = 1;
    }
  }
  return true;
}

bool ReadDailyCsv(const std::string& nativePath, DailySeries& series, std::string& error) {
  std::string bytes;
  if (!ReadNativeFile(nativePath, bytes, error)) return false;
  return ParseDailyCsv(bytes, nativePath, series, error);
}

FillCounts FillGaps(DailySeries& series) {
  FillCounts counts;
  const int n = static_cast<int>(series.temp.size());
  int previous = -1;  // last observed index
  for (int i = 0; i <= n; ++i) {
    if (i < n && !series.tempObserved[i]) continue;
    // Fill the gap between `previous` and `i` (either may be missing at the ends).
    for (int k = previous + 1; k < i; ++k) {
      int32_t v = 0;
      if (previous >= 0 && i < n) {
        int64_t a = series.temp[previous], b = series.temp[i];
        int64_t span = i - previous, num = a * span + (b - a) * (k - previous);
        // Rounded to the nearest unit, halves away from zero.
        int64_t q = (2 * std::abs(num) + span) / (2 * span);
        v = static_cast<int32_t>(num < 0 ? -q : q);
      } else if (previous >= 0) {
        v = series.temp[previous];
      } else if (i < n) {
        v = series.temp[i];
      }
      series.temp[k] = v;
      ++counts.temperature;
    }
    previous = i;
  }
  for (int i = 0; i < n; ++i)
    if (!series.prcpObserved[i]) {
      series.prcp[i] = 0;
      ++counts.precipitation;
    }
  return counts;
}

std::string EncodeRecord(int stationNo, int year, const std::vector<int32_t>& values,
                         const std::vector<uint8_t>& observed) {
  const int start = YearStart(year);
  const int length = YearLength(year);
  int filled = 0;
  for (int d = 0; d < length; ++d)
    if (!observed[start + d]) ++filled;
  std::string out;
  out.reserve(kRecordBytes);
  PutInt16(out, stationNo);
  PutInt16(out, filled);
  PutInt16(out, year);
  for (int d = 0; d < kDaySlots; ++d) PutInt16(out, d < length ? values[start + d] : 0);
  return out;
}

std::vector<Station> OrderStations(const std::vector<Station>& stations) {
  std::vector<Station> ordered = stations;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Station& a, const Station& b) { return a.prefCode < b.prefCode; });
  return ordered;
}

bool BuildTables(const std::vector<Station>& stations, const std::vector<City>& citiesIn,
                 const std::vector<std::array<double, 2>>& means, Tables& tables, std::string& error) {
  tables = Tables();
  error.clear();
  std::vector<City> cities = citiesIn;
  std::stable_sort(cities.begin(), cities.end(), [](const City& a, const City& b) { return a.prefCode < b.prefCode; });

  std::map<std::string, int> stationNoOfBlock;  // station number (row, from 1) by block number
  for (size_t i = 0; i < stations.size(); ++i) stationNoOfBlock[stations[i].blockNo] = static_cast<int>(i + 1);

  // Areas: every prefecture that has a station or a city, in JIS order.
  struct AreaRange {
    std::string nameJa;
    int firstStation = 0, stationCount = 0, firstCity = 0, cityCount = 0;
  };
  std::map<int, AreaRange> areas;
  for (size_t i = 0; i < stations.size(); ++i) {
    AreaRange& a = areas[stations[i].prefCode];
    if (a.stationCount++ == 0) a.firstStation = static_cast<int>(i + 1);
    if (a.nameJa.empty()) a.nameJa = stations[i].prefJa;
  }
  for (size_t i = 0; i < cities.size(); ++i) {
    AreaRange& a = areas[cities[i].prefCode];
    if (a.cityCount++ == 0) a.firstCity = static_cast<int>(i + 1);
    if (a.nameJa.empty()) a.nameJa = cities[i].prefJa;
  }
  for (const auto& [code, a] : areas) {
    std::string name = Cp932(a.nameJa, "prefecture name", error);
    if (!error.empty()) return false;
    if (name.size() > 20) {
      error = "prefecture name \"" + a.nameJa + "\" longer than 20 bytes";
      return false;
    }
    tables.areas.push_back({name, AreaCodeOfPrefecture(code), std::to_string(a.firstCity), std::to_string(a.cityCount),
                            std::to_string(a.firstStation), std::to_string(a.stationCount), name});
  }

  for (size_t i = 0; i < stations.size(); ++i) {
    const Station& s = stations[i];
    std::string note = Cp932(s.nameJa, "station name", error);
    if (!error.empty()) return false;
    std::array<std::string, 11> row = {s.romaji,
                                       AreaCodeOfPrefecture(s.prefCode),
                                       s.blockNo,
                                       std::to_string(s.prefCode),
                                       Fixed(s.lat, 4),
                                       Fixed(s.lon, 4),
                                       Fixed(s.elev, 1),
                                       Fixed(means[i][0], 1),
                                       Fixed(means[i][1], 1),
                                       s.stationNo,
                                       note};
    static const size_t kWidths[11] = {20, 8, 8, 8, 8, 8, 8, 8, 8, 8, 30};
    for (size_t c = 0; c < row.size(); ++c)
      if (row[c].size() > kWidths[c]) {
        error = "station " + s.blockNo + ": column " + std::to_string(c + 1) + " \"" + row[c] + "\" longer than " +
                std::to_string(kWidths[c]) + " bytes";
        return false;
      }
    tables.stations.push_back(row);
  }

  for (const City& city : cities) {
    auto found = stationNoOfBlock.find(city.nearestBlockNo);
    if (found == stationNoOfBlock.end()) {
      error = "city " + city.cityCode + ": nearest station " + city.nearestBlockNo + " is not in the station list";
      return false;
    }
    const Station& s = stations[found->second - 1];
    if (s.prefCode != city.prefCode) {
      error = "city " + city.cityCode + ": nearest station " + city.nearestBlockNo + " lies in another prefecture";
      return false;
    }
    std::string name = Cp932(city.cityJa, "city name", error);
    std::string stationName = Cp932(s.nameJa, "station name", error);
    if (!error.empty()) return false;
    std::string line;
    bool fits = PutField(line, name, 20) && PutField(line, AreaCodeOfPrefecture(city.prefCode), 8) &&
                PutField(line, city.cityCode, 8) && PutField(line, city.nearestBlockNo, 8) &&
                PutField(line, Fixed(city.lat, 4), 8) && PutField(line, Fixed(city.lon, 4), 8) &&
                PutField(line, Fixed(city.distanceKm, 2), 8) && PutField(line, "0", 8) &&
                PutField(line, std::to_string(found->second), 8) && PutField(line, s.stationNo, 8) &&
                PutField(line, stationName, 30);
    if (!fits) {
      error = "city " + city.cityCode + " \"" + city.cityJa + "\": a field does not fit its columns";
      return false;
    }
    tables.cityLines.push_back(line);
  }
  return true;
}

namespace {

bool SaveTable(const std::string& insidePath, const std::vector<int>& widths,
               const std::vector<std::vector<std::string>>& rows, std::string& error) {
  if (rows.size() > static_cast<size_t>(fw::kTableMaxRows) || rows.empty()) {
    error = "table " + platform::Cp932ToUtf8(insidePath) + ": " + std::to_string(rows.size()) + " rows";
    return false;
  }
  fw::TTableBuffer& b = fw::TableBuffer;
  b.TableRows = static_cast<int>(rows.size());
  b.TableCols = static_cast<int>(widths.size());
  for (size_t j = 0; j < widths.size(); ++j) b.TableWidths[j + 1] = widths[j];
  for (size_t i = 0; i < rows.size(); ++i) {
    b.TableKeys[i + 1] = rows[i][0];
    for (size_t j = 0; j < widths.size(); ++j) b.TableCells[i + 1][j + 1] = rows[i][j];
  }
  if (!fw::DataSave(insidePath)) {
    error = "cannot write " + platform::Cp932ToUtf8(insidePath);
    return false;
  }
  return true;
}

template <size_t N>
std::vector<std::vector<std::string>> Rows(const std::vector<std::array<std::string, N>>& rows) {
  std::vector<std::vector<std::string>> out;
  for (const auto& r : rows) out.emplace_back(r.begin(), r.end());
  return out;
}

}  // namespace

bool BuildWeatherData(const std::string& weatherDir, const std::string& rootDir, std::ostream& log,
                      BuildSummary& summary, std::string& error) {
  summary = BuildSummary();
  error.clear();
  std::string dir = weatherDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  std::vector<Station> read;
  std::vector<City> cities;
  if (!ReadStationsCsv(dir + "stations.csv", read, error) || !ReadCitiesCsv(dir + "cities.csv", cities, error))
    return false;
  std::vector<Station> stations = OrderStations(read);

  const int days = SeriesDays();
  std::string temperatureFile, precipitationFile;
  temperatureFile.reserve(stations.size() * kYears * kRecordBytes);
  precipitationFile.reserve(stations.size() * kYears * kRecordBytes);
  std::string monthlyFile;
  monthlyFile.reserve(stations.size() * fw::kMonthlyRecordBytes);
  std::vector<std::array<double, 2>> means;
  DailySeries series;
  MonthlyObservations monthly;
  for (size_t i = 0; i < stations.size(); ++i) {
    const Station& s = stations[i];
    if (!ReadDailyCsv(dir + "daily/" + s.blockNo + ".csv", series, error) ||
        !ReadMonthlyCsv(dir + "monthly/" + s.blockNo + ".csv", monthly, error))
      return false;
    FillCounts filled = FillGaps(series);
    int64_t tempSum = 0, prcpSum = 0;
    for (int d = 0; d < days; ++d) {
      tempSum += series.temp[d];
      prcpSum += series.prcp[d];
    }
    means.push_back({tempSum / 100.0 / days, prcpSum / 10.0 / kYears});
    const int stationNo = static_cast<int>(i + 1);
    for (int y = kFirstYear; y < kFirstYear + kYears; ++y) {
      temperatureFile += EncodeRecord(stationNo, y, series.temp, series.tempObserved);
      precipitationFile += EncodeRecord(stationNo, y, series.prcp, series.prcpObserved);
    }
    const MonthlyStatistics stats = ComputeMonthlyStatistics(s.lat, monthly, series.temp);
    std::string record;
    if (!EncodeMonthlyRecord(s, stats, record, error)) return false;
    monthlyFile += record;
    const auto lacking = std::count(stats.sourceYears.begin(), stats.sourceYears.end(), 0);
    log << "station " << stationNo << " " << s.blockNo << " " << s.romaji << ": filled " << filled.temperature
        << " temperature and " << filled.precipitation << " precipitation values";
    if (lacking > 0) log << "; no typical year for " << lacking << " months";
    log << "\n";
    summary.monthsWithoutStandardYear += lacking;
    summary.filledTemperature += filled.temperature;
    summary.filledPrecipitation += filled.precipitation;
  }

  Tables tables;
  if (!BuildTables(stations, cities, means, tables, error)) return false;

  std::string root = Inside(rootDir);
  if (root.empty()) {
    error = "output folder " + rootDir + " has no inside form";
    return false;
  }
  if (root.back() != '\\') root += '\\';
  const std::string wcd = root + "WCD\\";
  const std::string cal = root + "CAL\\";
  if (!platform::MakeFolders(wcd) || !platform::MakeFolders(cal)) {
    error = "cannot create " + rootDir + "/WCD or /CAL";
    return false;
  }
  std::string writeError;
  if (!SaveTable(wcd + "JPN_STAT.DAT", {20, 8, 8, 8, 8, 8, 30}, Rows(tables.areas), error) ||
      !SaveTable(wcd + "JPN_WPNT.DAT", {20, 8, 8, 8, 8, 8, 8, 8, 8, 8, 30}, Rows(tables.stations), error))
    return false;
  if (!platform::WriteTextLinesAtomic(wcd + "JPN_CITY.DAT", tables.cityLines, &writeError) ||
      !platform::WriteFileBytesAtomic(cal + platform::J("気温(日次).DAT"), temperatureFile, &writeError) ||
      !platform::WriteFileBytesAtomic(cal + platform::J("降水量(日次).DAT"), precipitationFile, &writeError) ||
      !platform::WriteFileBytesAtomic(wcd + "JPN_MONT.DAT", monthlyFile, &writeError)) {
    error = "cannot write the weather files under " + rootDir + ": " + writeError;
    return false;
  }
  summary.stations = static_cast<int>(stations.size());
  summary.cities = static_cast<int>(tables.cityLines.size());
  log << summary.stations << " stations, " << summary.cities << " cities; filled " << summary.filledTemperature
      << " temperature and " << summary.filledPrecipitation << " precipitation values in all; "
      << summary.monthsWithoutStandardYear << " station-months without a typical year\n";
  return true;
}

}  // namespace wxbuild
