// The standard year, the derived items of the monthly statistics and the physical models
// behind them, the latter checked against published worked examples.
#include "tools/wxbuild/monthly_stats.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/wxbuild/climate_models.h"

using namespace wxbuild;
using namespace wxbuild::climate;

namespace {

MonthlyObservations Empty() {
  MonthlyObservations obs;
  for (auto& month : obs.values) month.fill(kMissing);
  return obs;
}

void Set(MonthlyObservations& obs, int year, int month, ObservationColumn c, double v) {
  obs.values[(year - kFirstYear) * 12 + month - 1][c] = v;
}

TEST(MonthlyStats, TypicalYearOfAMonth) {
  constexpr double M = kMissing;
  struct Case {
    const char* what;
    std::array<double, 15> tavg, prcp;  // 1981..1995
    int expected;
  } cases[] = {
      {"two years at the same values tie: the earlier wins",
       {1, 9, 5, 2, 8, 3, 7, 4, 6, 5, 0, 10, 4.5, 5.5, 5},
       {10, 90, 50, 20, 80, 30, 70, 95, 5, 50, 0, 100, 40, 60, 55}, 1983},
      {"a year at the mean wins outright",
       {4, 6, 0, 10, 1, 9, 2, 8, 3, 7, 0.5, 9.5, 1.5, 8.5, 5},
       {M, M, M, M, M, M, M, M, M, M, M, M, M, M, M}, 1995},
      {"without it, 4.0 and 6.0 lie equally far from the mean 5.0: the earlier wins",
       {4, 6, 0, 10, 1, 9, 2, 8, 3, 7, 0.5, 9.5, 1.5, 8.5, M},
       {M, M, M, M, M, M, M, M, M, M, M, M, M, M, M}, 1981},
      {"a year lacking precipitation is no candidate when other years have it",
       {5, 1, 9, 2, 8, 3, 7, 4, 6, 4, 6, 3, 7, 2, 8},
       {M, 10, 90, 20, 80, 30, 70, 40, 60, 40, 60, 30, 70, 20, 80}, 1988},
      {"both items count: the temperature alone would choose 1981",
       {5, 5.1, 1, 9, 2, 8, 3, 7, 4, 6, 4, 6, 3, 7, 4.9},
       {100, 50, 10, 90, 20, 80, 30, 70, 40, 60, 40, 60, 30, 70, 0}, 1982},
      {"an item with sd 0 is left out: the precipitation decides",
       {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5},
       {10, 90, 20, 80, 30, 70, 40, 60, 45, 100, 0, 95, 5, 50, 55}, 1994},
      {"no temperature in any year: no typical year",
       {M, M, M, M, M, M, M, M, M, M, M, M, M, M, M},
       {10, 90, 20, 80, 30, 70, 40, 60, 45, 100, 0, 95, 5, 50, 55}, 0},
  };
  for (const Case& c : cases) {
    MonthlyObservations obs = Empty();
    for (int y = 0; y < 15; ++y) {
      Set(obs, 1981 + y, 7, kTavgMean, c.tavg[y]);
      Set(obs, 1981 + y, 7, kPrcpSum, c.prcp[y]);
    }
    EXPECT_EQ(TypicalYears(obs)[6], c.expected) << c.what;
    EXPECT_EQ(TypicalYears(obs)[5], 0) << c.what;  // June has nothing at all
  }
}

// A year of made-up months at latitude 35°: every month typical in 1990, one of them (May)
// without sunshine and humidity only in some months.
TEST(MonthlyStats, ItemsFromTheTypicalMonth) {
  MonthlyObservations obs = Empty();
  std::vector<int32_t> daily(SeriesDays(), 1500);  // 15.00 °C every day
  for (int y = 1981; y <= 1995; ++y)
    for (int m = 1; m <= 12; ++m) {
      const bool typical = y == 1990;
      Set(obs, y, m, kTavgMean, typical ? 15.0 : 15.0 + (y < 1990 ? -1 : 1) * (1 + m % 3));
      Set(obs, y, m, kPrcpSum, typical ? 100.0 : 100.0 + (y < 1990 ? -20 : 20));
      Set(obs, y, m, kPrcpMaxDay, 10.0 * m);
      Set(obs, y, m, kPrcpDays, m);
      Set(obs, y, m, kTmaxAbs, 20.0 + m);
      Set(obs, y, m, kTminAbs, -m);
      Set(obs, y, m, kSunSum, m == 5 ? kMissing : 150.0);
      Set(obs, y, m, kSunDays, m == 5 ? 0 : 30);
      if (m <= 6) Set(obs, y, m, kRhMean, 60.0);
    }
  Set(obs, 1985, 8, kTmaxAbs, 38.5);  // extremes of the whole period, in other years
  Set(obs, 1984, 2, kTminAbs, -12.5);
  // The typical August has one hot day: 30.00 °C on 1990-08-10.
  daily[SeriesIndex(1990, 8, 10)] = 3000;

  const MonthlyStatistics s = ComputeMonthlyStatistics(35.0, obs, daily);
  for (int y : s.sourceYears) EXPECT_EQ(y, 1990);
  EXPECT_EQ(s.highest, 38.5);
  EXPECT_EQ(s.lowest, -12.5);
  const auto item = [&](int k, int month) { return s.items[k - 1][month - 1]; };  // month 13: the year

  EXPECT_EQ(item(1, 3), 15.0);
  EXPECT_EQ(item(2, 13), 1200.0);   // sum
  EXPECT_EQ(item(3, 13), 78.0);     // sum
  EXPECT_EQ(item(4, 13), 120.0);    // largest
  EXPECT_EQ(item(11, 13), 32.0);    // largest
  EXPECT_EQ(item(12, 13), -12.0);   // smallest
  EXPECT_TRUE(std::isnan(item(5, 1)));   // wind: not given, missing rather than 0
  EXPECT_TRUE(std::isnan(item(23, 13)));  // humidity of half the year only: no year value
  EXPECT_EQ(item(23, 6), 60.0);
  // May has no sunshine: its radiation is missing, and so is the year value.
  for (int k : {6, 7, 8, 13, 14, 17, 18, 21, 22}) {
    EXPECT_TRUE(std::isnan(item(k, 5))) << k;
    EXPECT_TRUE(std::isnan(item(k, 13))) << k;
    EXPECT_FALSE(std::isnan(item(k, 6))) << k;
  }
  // Items 6-8 are the daily totals of 13 and its parts, divided by 24.
  EXPECT_NEAR(item(6, 6), item(13, 6) / 24, 1e-9);
  EXPECT_NEAR(item(7, 6) + item(8, 6), item(6, 6), 1e-9);
  EXPECT_NEAR(item(14, 1), item(15, 1), 1e-9 * item(14, 1));  // east and west alike
  EXPECT_GT(item(20, 1), item(13, 1));  // a south wall gets more than the ground in winter
  // Soil: a constant air temperature gives the same soil temperature.
  for (int m = 1; m <= 13; ++m) EXPECT_NEAR(item(24, m), 15.0, 1e-9) << m;
  // Degree-days of 31 days at 15 °C (one at 30 °C in August).
  EXPECT_EQ(item(25, 1), 0.0);           // base 10
  EXPECT_EQ(item(30, 1), 5.0 * 31);      // base 20
  EXPECT_EQ(item(29, 2), 3.0 * 28);      // base 18, February 1990
  EXPECT_EQ(item(30, 8), 5.0 * 30);      // the hot day adds nothing to heating
  EXPECT_EQ(item(31, 8), 12.0);          // cooling base 18: 30 - 18
  EXPECT_EQ(item(36, 8), 2.0);           // base 28
  EXPECT_EQ(item(36, 13), 2.0);
  EXPECT_EQ(item(30, 13), 5.0 * 365 - 5.0);
}

TEST(MonthlyStats, DegreesAndMinutes) {
  struct Case {
    double degrees, expected;
  } cases[] = {{34.7533, 34.45}, {137.7117, 137.43}, {35.9999, 36.0}, {43.0, 43.0}, {-33.5, -33.30}};
  for (const Case& c : cases) EXPECT_NEAR(DegreesMinutes(c.degrees), c.expected, 1e-12) << c.degrees;
}

// FAO Irrigation and Drainage Paper 56, chapter 3, examples 8, 9 and 10 (stated to 0.1).
TEST(ClimateModels, FaoExamples) {
  // 20°S on 3 September: Ra = 32.2 MJ/m² day, N = 11.7 h.
  EXPECT_NEAR(ExtraterrestrialRadiation(246, Radians(-20)), 32.2, 0.05);
  EXPECT_NEAR(DaylightHours(246, Radians(-20)), 11.7, 0.05);
  // Rio de Janeiro (22°54'S), May, 220 hours of sunshine: Ra = 25.1, N = 10.9, Rs = 14.5.
  const double latitude = Radians(-(22 + 54.0 / 60));
  const double ra = ExtraterrestrialRadiation(135, latitude), n = DaylightHours(135, latitude);
  EXPECT_NEAR(ra, 25.1, 0.05);
  EXPECT_NEAR(n, 10.9, 0.05);
  EXPECT_NEAR(AngstromRadiation(220.0 / 31, n, ra), 14.5, 0.05);
  EXPECT_DOUBLE_EQ(AngstromRadiation(13, 12, 30), 0.75 * 30);  // n/N held to 1
}

// Duffie and Beckman, Solar Engineering of Thermal Processes (4th ed. 2013), example 2.19.1:
// Madison (43°N), surface facing south at slope 60°, the measured monthly H and the month's
// ground reflectance; H_T is given to 0.1 MJ/m².
TEST(ClimateModels, TiltedSurfaceExample) {
  const double h[12] = {6.44, 9.89, 12.86, 16.05, 21.36, 23.04, 22.58, 20.33, 14.59, 10.48, 6.37, 5.74};
  const double h0[12] = {13.37, 18.81, 26.03, 33.78, 39.42, 41.78, 40.56, 35.92, 28.80, 20.90, 14.62, 11.91};
  const double reflectance[12] = {0.7, 0.7, 0.4, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.4};
  const double expected[12] = {13.7, 17.2, 15.8, 14.7, 16.6, 16.5, 16.8, 17.5, 15.6, 15.2, 11.4, 12.7};
  const double latitude = Radians(43), slope = Radians(60);
  for (int m = 1; m <= 12; ++m) {
    const int day = MeanDayOfMonth(m);
    const double ra = ExtraterrestrialRadiation(day, latitude);
    EXPECT_NEAR(ra, h0[m - 1], 0.1) << m;
    const double delta = SolarDeclination(day);
    const double diffuse = h[m - 1] * MonthlyDiffuseFraction(h[m - 1] / ra, SunsetHourAngle(latitude, delta));
    const double tilted =
        TiltedRadiation(h[m - 1], diffuse, BeamRatio(latitude, delta, slope, 0.0), slope, reflectance[m - 1]);
    EXPECT_NEAR(tilted, expected[m - 1], 0.1) << m;
  }
}

TEST(ClimateModels, BeamRatioOfSurfaces) {
  const double latitude = Radians(35);
  for (int m : {1, 6}) {
    const double delta = SolarDeclination(MeanDayOfMonth(m));
    EXPECT_NEAR(BeamRatio(latitude, delta, 0.0, 0.0), 1.0, 1e-12);  // the horizontal itself
    for (double slope : {std::atan(0.4), Radians(90)})
      EXPECT_NEAR(BeamRatio(latitude, delta, slope, Radians(-90)), BeamRatio(latitude, delta, slope, Radians(90)), 1e-12);
  }
  // A north wall sees the sun only early and late on summer days, never in winter.
  EXPECT_EQ(BeamRatio(latitude, SolarDeclination(MeanDayOfMonth(12)), Radians(90), Radians(180)), 0.0);
  const double june = BeamRatio(latitude, SolarDeclination(MeanDayOfMonth(6)), Radians(90), Radians(180));
  EXPECT_GT(june, 0.0);
  EXPECT_LT(june, 0.2);
}

TEST(ClimateModels, SoilTemperatureIsDampedAndDelayed) {
  // Air: 15 + 10 cos(phase of the month's middle). At 1 m with diffusivity 0.05 m²/day the
  // damping depth is sqrt(0.1 x 365 / 2π) = 2.410 m: amplitude x exp(-1/2.410), lag 1/2.410 rad.
  std::array<double, 12> air{};
  for (int m = 0; m < 12; ++m) air[m] = 15 + 10 * std::cos(2 * kPi * (m + 0.5) / 12);
  const std::array<double, 12> soil = SoilTemperature(air, 1.0, 0.05);
  const double d = std::sqrt(0.1 * 365 / (2 * kPi));
  for (int m = 0; m < 12; ++m)
    EXPECT_NEAR(soil[m], 15 + 10 * std::exp(-1 / d) * std::cos(2 * kPi * (m + 0.5) / 12 - 1 / d), 1e-9) << m;
}

}  // namespace
