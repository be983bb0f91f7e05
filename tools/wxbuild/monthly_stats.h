// The monthly statistics of the weather-data builder: a standard year of 36 weather items per
// station, from the monthly observations monthly/<block_no>.csv (1981-01 .. 1995-12) and the
// gap-filled daily temperatures, written as one 1947-byte record per station of
// WCD\JPN_MONT.DAT (layout in wx_builder.h).
//
// Standard year: for each calendar month the most typical of the 15 years. The candidates are
// the years whose month has tavg_mean_c and, when the station has precipitation in that month
// of any year, prcp_sum_mm. A candidate's score is the sum over those two items of
// |x - mean| / sd, mean and population standard deviation taken over the candidates; an item
// whose sd is 0 is left out. The lowest score wins, a tie goes to the earlier year. The month's
// values are then that year-month's values as published. A month without a candidate has no
// source year (0) and every item of it is missing.
//
// Items (row = item number, values January..December then the year):
//    1 mean temperature (°C)            tavg_mean_c
//    2 precipitation (mm)               prcp_sum_mm
//    3 days with >= 1 mm                prcp_days_ge1mm
//    4 largest daily precipitation (mm) prcp_max_day_mm
//    5 mean wind speed (m/s)            wind_mean_m_s
//    6 global, 7 beam, 8 diffuse radiation on the horizontal (kcal/m²h): the daily totals of
//      item 13 and of its beam and diffuse parts, divided by 24
//    9 mean daily maximum, 10 mean daily minimum, 11 highest, 12 lowest temperature (°C)
//      tmax_mean_c, tmin_mean_c, tmax_abs_c, tmin_abs_c
//   13 global radiation on the horizontal (kcal/m² per day): Angström-Prescott from the mean
//      daily sunshine n = sun_sum_h / n_sun, with the daylight hours and extraterrestrial
//      radiation averaged over the days of the month at the station's latitude
//   14-17 roofs of slope 4/10 (atan 0.4) facing east, west, south, north; 18-21 vertical walls
//      facing east, west, south, north (kcal/m² per day): isotropic sky, ground reflectance 0.2,
//      the beam and diffuse split of item 13 by the monthly Erbs correlation
//   22 sunshine (h)                     sun_sum_h, as published (the recorders read high
//                                       before 1987-88)
//   23 relative humidity (%)            rh_mean_pct (observatories only; never estimated)
//   24 soil temperature at 1 m (°C): first harmonic of row 1, soil diffusivity 0.05 m²/day
//   25-30 heating degree-days base 10, 12, 14, 16, 18, 20 °C and 31-36 cooling degree-days
//      base 18, 20, 22, 24, 26, 28 °C (°C day): sums of max(0, base - T) and max(0, T - base)
//      over the days of the typical month in the daily series, gaps filled as in the daily files
// Models and their sources: climate_models.h.
//
// Year column: the sum of the 12 months for items 2, 3, 22 and 25-36, the largest for 4 and
// 11, the smallest for 12, the mean of the 12 months for the others. Missing values are NaN,
// never 0; a year value is missing when any month is.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "framework/weather_stations.h"
#include "tools/wxbuild/wx_builder.h"

namespace wxbuild {

constexpr int kMonths = kYears * 12;  // 180
inline constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// The columns the builder takes from a monthly file.
enum ObservationColumn {
  kTavgMean, kTmaxMean, kTmaxAbs, kTminMean, kTminAbs,
  kPrcpSum, kPrcpMaxDay, kPrcpDays,
  kSunSum, kSunDays, kWindMean, kRhMean,
  kObservationColumns
};

// One station's monthly observations; index (year - 1981) x 12 + month - 1. NaN = empty cell.
struct MonthlyObservations {
  std::array<std::array<double, kObservationColumns>, kMonths> values;
  double At(int year, int month, ObservationColumn c) const { return values[(year - kFirstYear) * 12 + month - 1][c]; }
};

// Reads a monthly file: the header must name year, month, days and the columns used; there must
// be 180 rows, 1981-01 to 1995-12 in order, each with the days of its month. On failure `error`
// names the file and line.
bool ParseMonthlyCsv(const std::string& bytes, const std::string& name, MonthlyObservations& obs, std::string& error);
bool ReadMonthlyCsv(const std::string& nativePath, MonthlyObservations& obs, std::string& error);

// The typical year of each month, 0 where no year is a candidate.
std::array<int, 12> TypicalYears(const MonthlyObservations& obs);

struct MonthlyStatistics {
  std::array<int, 12> sourceYears{};
  double highest = kMissing, lowest = kMissing;  // highest tmax_abs_c and lowest tmin_abs_c of all months
  std::array<std::array<double, 13>, fw::kMonthlyItems> items{};  // [item - 1][month - 1], [12] the year
};

// The statistics of a station at `latitude` (degrees) from its observations and its filled
// daily temperatures (0.01 °C, as DailySeries::temp after FillGaps).
MonthlyStatistics ComputeMonthlyStatistics(double latitude, const MonthlyObservations& obs,
                                           const std::vector<int32_t>& dailyTemperature);

// Decimal degrees as degrees + minutes / 100, minutes rounded (34.7533 -> 34.45).
double DegreesMinutes(double degrees);

// The 1947-byte record of a station; false when a number or the name cannot be stored.
bool EncodeMonthlyRecord(const Station& station, const MonthlyStatistics& stats, std::string& record,
                         std::string& error);

}  // namespace wxbuild
