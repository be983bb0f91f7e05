#include "tools/wxbuild/monthly_stats.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "framework/convert.h"
#include "platform/cp932.h"
#include "tools/wxbuild/climate_models.h"
#include "tools/wxbuild/csv.h"

namespace wxbuild {
namespace {

// Item numbers of the record (1-based rows of the weather-item table).
enum Item {
  kItemTavg = 1, kItemPrcp, kItemPrcpDays, kItemPrcpMaxDay, kItemWind,
  kItemGlobalHourly, kItemBeamHourly, kItemDiffuseHourly,
  kItemTmax, kItemTmin, kItemTmaxAbs, kItemTminAbs,
  kItemGlobal, kItemRoofEast, kItemWallEast = kItemRoofEast + 4,
  kItemSunshine = kItemWallEast + 4, kItemHumidity, kItemSoil,
  kItemHeating, kItemCooling = kItemHeating + 6,
};

// Monthly file columns in the order of ObservationColumn.
const char* const kColumnNames[kObservationColumns] = {
    "tavg_mean_c", "tmax_mean_c", "tmax_abs_c", "tmin_mean_c", "tmin_abs_c", "prcp_sum_mm",
    "prcp_max_day_mm", "prcp_days_ge1mm", "sun_sum_h", "n_sun", "wind_mean_m_s", "rh_mean_pct"};

// Item numbers taken from the typical year-month as published, with their columns.
constexpr std::pair<int, ObservationColumn> kPublishedItems[] = {
    {kItemTavg, kTavgMean}, {kItemPrcp, kPrcpSum},     {kItemPrcpDays, kPrcpDays}, {kItemPrcpMaxDay, kPrcpMaxDay},
    {kItemWind, kWindMean}, {kItemTmax, kTmaxMean},    {kItemTmin, kTminMean},     {kItemTmaxAbs, kTmaxAbs},
    {kItemTminAbs, kTminAbs}, {kItemSunshine, kSunSum}, {kItemHumidity, kRhMean}};

constexpr int kHeatingBases[6] = {10, 12, 14, 16, 18, 20};
constexpr int kCoolingBases[6] = {18, 20, 22, 24, 26, 28};

constexpr double kSoilDepth = 1.0;         // m
constexpr double kSoilDiffusivity = 0.05;  // m²/day
constexpr double kGroundReflectance = 0.2;
constexpr double kRoofSlopeRise = 0.4;  // 4 in 10

bool Missing(double v) { return std::isnan(v); }

// Range of a column's values (wide enough for any real month, narrow enough that no later sum
// overflows); counts must also be whole numbers.
bool Plausible(ObservationColumn c, double v, int days) {
  switch (c) {
    case kPrcpDays:
    case kSunDays:
      return v >= 0 && v <= days && v == std::floor(v);
    case kPrcpSum:
    case kPrcpMaxDay:
      return v >= 0 && v < 100000;
    case kSunSum:
      return v >= 0 && v <= 24.0 * days;
    case kWindMean:
      return v >= 0 && v < 200;
    case kRhMean:
      return v >= 0 && v <= 100;
    default:
      return v > -100 && v < 100;  // temperatures
  }
}

void PutFloat(std::string& out, size_t at, double value) {
  const uint32_t bits = std::bit_cast<uint32_t>(static_cast<float>(value));
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

// A length byte and up to 8 characters at `at`; false when the text is longer.
bool PutShortText(std::string& out, size_t at, const std::string& text) {
  if (text.size() > 8) return false;
  out[at] = static_cast<char>(text.size());
  out.replace(at + 1, text.size(), text);
  return true;
}

// Year value of an item from its 12 months (missing when any month is).
double YearValue(int item, const std::array<double, 13>& row) {
  for (int m = 0; m < 12; ++m)
    if (Missing(row[m])) return kMissing;
  const auto months = row.begin() + 12;
  if (item == kItemPrcp || item == kItemPrcpDays || item == kItemSunshine || item >= kItemHeating) {
    double sum = 0;
    for (auto it = row.begin(); it != months; ++it) sum += *it;
    return sum;
  }
  if (item == kItemPrcpMaxDay || item == kItemTmaxAbs) return *std::max_element(row.begin(), months);
  if (item == kItemTminAbs) return *std::min_element(row.begin(), months);
  double sum = 0;
  for (auto it = row.begin(); it != months; ++it) sum += *it;
  return sum / 12.0;
}

// Items 6-8 and 13-21 of a month from its mean daily sunshine.
void SetRadiation(MonthlyStatistics& s, int month, int year, double latitude, double sunshine) {
  using namespace climate;
  const int days = MonthLength(year, month);
  double ra = 0, daylight = 0;
  for (int d = 1; d <= days; ++d) {
    const int j = DayOfYear(year, month, d);
    ra += ExtraterrestrialRadiation(j, latitude) / days;
    daylight += DaylightHours(j, latitude) / days;
  }
  const double global = AngstromRadiation(sunshine, daylight, ra);
  const double declination = SolarDeclination(MeanDayOfMonth(month));
  const double diffuse =
      global * MonthlyDiffuseFraction(ra > 0 ? global / ra : 0, SunsetHourAngle(latitude, declination));
  const int m = month - 1;
  s.items[kItemGlobal - 1][m] = global * kKcalPerMJ;
  s.items[kItemGlobalHourly - 1][m] = global * kKcalPerMJ / 24;
  s.items[kItemBeamHourly - 1][m] = (global - diffuse) * kKcalPerMJ / 24;
  s.items[kItemDiffuseHourly - 1][m] = diffuse * kKcalPerMJ / 24;
  const double slopes[2] = {std::atan(kRoofSlopeRise), Radians(90)};
  const double azimuths[4] = {Radians(-90), Radians(90), 0.0, Radians(180)};  // east, west, south, north
  for (int k = 0; k < 2; ++k)
    for (int a = 0; a < 4; ++a) {
      const double rb = BeamRatio(latitude, declination, slopes[k], azimuths[a]);
      s.items[kItemRoofEast - 1 + 4 * k + a][m] =
          TiltedRadiation(global, diffuse, rb, slopes[k], kGroundReflectance) * kKcalPerMJ;
    }
}

// Items 25-36 of a month from the daily temperatures (0.01 °C) of its typical year.
void SetDegreeDays(MonthlyStatistics& s, int month, int year, const std::vector<int32_t>& temperature) {
  int64_t heating[6] = {}, cooling[6] = {};
  for (int d = 1; d <= MonthLength(year, month); ++d) {
    const int index = SeriesIndex(year, month, d);
    if (index < 0 || index >= static_cast<int>(temperature.size())) return;  // no daily values: left missing
    const int64_t t = temperature[index];
    for (int k = 0; k < 6; ++k) {
      heating[k] += std::max<int64_t>(0, kHeatingBases[k] * 100 - t);
      cooling[k] += std::max<int64_t>(0, t - kCoolingBases[k] * 100);
    }
  }
  for (int k = 0; k < 6; ++k) {
    s.items[kItemHeating - 1 + k][month - 1] = heating[k] / 100.0;
    s.items[kItemCooling - 1 + k][month - 1] = cooling[k] / 100.0;
  }
}

}  // namespace

bool ParseMonthlyCsv(const std::string& bytes, const std::string& name, MonthlyObservations& obs, std::string& error) {
  std::vector<std::string> required = {"year", "month", "days"};
  required.insert(required.end(), std::begin(kColumnNames), std::end(kColumnNames));
  Csv csv;
  std::vector<int> c;
  if (!ParseCsv(bytes, name, required, csv, c, error)) return false;
  if (csv.rows.size() != static_cast<size_t>(kMonths)) {
    error = name + ": " + std::to_string(csv.rows.size()) + " months, expected " + std::to_string(kMonths) +
            " (1981-01 .. 1995-12)";
    return false;
  }
  for (int i = 0; i < kMonths; ++i) {
    const std::vector<std::string>& r = csv.rows[i];
    const std::string where = name + ":" + std::to_string(csv.lineNos[i]) + ": ";
    const int year = kFirstYear + i / 12, month = i % 12 + 1;
    int y = 0, m = 0, days = 0;
    if (!ParseInt(r[c[0]], y) || !ParseInt(r[c[1]], m) || y != year || m != month) {
      error = where + "expected the month " + std::to_string(year) + "-" + (month < 10 ? "0" : "") +
              std::to_string(month);
      return false;
    }
    if (!ParseInt(r[c[2]], days) || days != MonthLength(year, month)) {
      error = where + "bad number of days \"" + r[c[2]] + "\"";
      return false;
    }
    for (int k = 0; k < kObservationColumns; ++k) {
      const std::string& text = r[c[3 + k]];
      double v = kMissing;
      if (!text.empty() &&
          (!ParseDouble(text, v) || !std::isfinite(v) || !Plausible(static_cast<ObservationColumn>(k), v, days))) {
        error = where + "bad " + kColumnNames[k] + " \"" + text + "\"";
        return false;
      }
      obs.values[i][k] = v;
    }
    const double sunDays = obs.values[i][kSunDays];
    if (!Missing(obs.values[i][kSunSum]) && (Missing(sunDays) || sunDays < 1)) {
      error = where + "sun_sum_h without valid days in n_sun";
      return false;
    }
  }
  return true;
}

bool ReadMonthlyCsv(const std::string& nativePath, MonthlyObservations& obs, std::string& error) {
  std::string bytes;
  return ReadNativeFile(nativePath, bytes, error) && ParseMonthlyCsv(bytes, nativePath, obs, error);
}

std::array<int, 12> TypicalYears(const MonthlyObservations& obs) {
  std::array<int, 12> typical{};
  for (int month = 1; month <= 12; ++month) {
    bool precipitation = false;
    for (int y = kFirstYear; y < kFirstYear + kYears; ++y) precipitation |= !Missing(obs.At(y, month, kPrcpSum));
    // Candidates with their values in tenths (every value of the files has one decimal), so
    // that equal distances from the mean give exactly equal scores.
    std::vector<int> years;
    std::vector<std::array<int64_t, 2>> x;
    for (int y = kFirstYear; y < kFirstYear + kYears; ++y) {
      const double t = obs.At(y, month, kTavgMean), p = obs.At(y, month, kPrcpSum);
      if (Missing(t) || (precipitation && Missing(p))) continue;
      years.push_back(y);
      x.push_back({std::llround(t * 10), precipitation ? std::llround(p * 10) : 0});
    }
    if (years.empty()) continue;
    // |x - mean| / sd = |n x - S| / sqrt(n Q - S²) with S and Q the sums of x and x².
    const int64_t n = static_cast<int64_t>(years.size());
    std::vector<double> score(years.size(), 0.0);
    for (int k = 0; k < (precipitation ? 2 : 1); ++k) {
      int64_t sum = 0, squares = 0;
      for (const auto& v : x) {
        sum += v[k];
        squares += v[k] * v[k];
      }
      const int64_t spread = n * squares - sum * sum;
      if (spread <= 0) continue;  // sd 0: the item is left out
      const double sd = std::sqrt(static_cast<double>(spread));
      for (size_t j = 0; j < x.size(); ++j) score[j] += static_cast<double>(std::llabs(n * x[j][k] - sum)) / sd;
    }
    size_t best = 0;
    for (size_t j = 1; j < score.size(); ++j)
      if (score[j] < score[best]) best = j;
    typical[month - 1] = years[best];
  }
  return typical;
}

MonthlyStatistics ComputeMonthlyStatistics(double latitude, const MonthlyObservations& obs,
                                           const std::vector<int32_t>& dailyTemperature) {
  MonthlyStatistics s;
  for (auto& row : s.items) row.fill(kMissing);
  for (const auto& month : obs.values) {
    if (!Missing(month[kTmaxAbs]) && (Missing(s.highest) || month[kTmaxAbs] > s.highest)) s.highest = month[kTmaxAbs];
    if (!Missing(month[kTminAbs]) && (Missing(s.lowest) || month[kTminAbs] < s.lowest)) s.lowest = month[kTminAbs];
  }
  s.sourceYears = TypicalYears(obs);
  const double phi = climate::Radians(latitude);
  for (int month = 1; month <= 12; ++month) {
    const int year = s.sourceYears[month - 1];
    if (year == 0) continue;
    for (const auto& [item, column] : kPublishedItems) s.items[item - 1][month - 1] = obs.At(year, month, column);
    const double sun = obs.At(year, month, kSunSum);
    if (!Missing(sun)) SetRadiation(s, month, year, phi, sun / obs.At(year, month, kSunDays));
    SetDegreeDays(s, month, year, dailyTemperature);
  }
  std::array<double, 12> air{};
  std::copy_n(s.items[kItemTavg - 1].begin(), 12, air.begin());
  if (std::none_of(air.begin(), air.end(), Missing)) {
    const std::array<double, 12> soil = climate::SoilTemperature(air, kSoilDepth, kSoilDiffusivity);
    std::copy(soil.begin(), soil.end(), s.items[kItemSoil - 1].begin());
  }
  for (int item = 1; item <= fw::kMonthlyItems; ++item) s.items[item - 1][12] = YearValue(item, s.items[item - 1]);
  return s;
}

double DegreesMinutes(double degrees) {
  const double a = std::fabs(degrees);
  double whole = std::floor(a);
  double minutes = std::round((a - whole) * 60.0);
  if (minutes >= 60) {
    whole += 1;
    minutes = 0;
  }
  const double value = whole + minutes / 100.0;
  return degrees < 0 ? -value : value;
}

bool EncodeMonthlyRecord(const Station& station, const MonthlyStatistics& stats, std::string& record,
                         std::string& error) {
  record.assign(fw::kMonthlyRecordBytes, '\0');
  const std::optional<std::string> name = platform::Utf8ToCp932(station.nameJa);
  if (!name) {
    error = "station " + station.blockNo + ": \"" + station.nameJa + "\" has no CP932 form";
    return false;
  }
  std::string shortName, rest;
  fw::SplitAtBytes(*name, 8, shortName, rest);
  if (!PutShortText(record, 0, station.stationNo) || !PutShortText(record, 9, station.blockNo) ||
      !PutShortText(record, 18, shortName)) {
    error = "station " + station.blockNo + ": station number \"" + station.stationNo +
            "\" or block number longer than 8 characters";
    return false;
  }
  PutFloat(record, 27, DegreesMinutes(station.lat));
  PutFloat(record, 31, DegreesMinutes(station.lon));
  PutFloat(record, 35, station.elev);
  PutFloat(record, 39, kMissing);  // observation height: not in the source
  PutFloat(record, 43, stats.highest);
  PutFloat(record, 47, stats.lowest);
  for (int m = 0; m < 12; ++m) {
    const auto year = static_cast<uint16_t>(stats.sourceYears[m]);
    record[51 + 2 * m] = static_cast<char>(year & 0xFF);
    record[52 + 2 * m] = static_cast<char>(year >> 8);
  }
  for (int k = 0; k < fw::kMonthlyItems; ++k)
    for (int m = 0; m < 13; ++m) PutFloat(record, 75 + 52 * k + 4 * m, stats.items[k][m]);
  return true;
}

}  // namespace wxbuild
