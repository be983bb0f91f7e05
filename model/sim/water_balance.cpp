#include "model/sim/water_balance.h"

#include <cmath>
#include <cstring>

#include "framework/convert.h"

namespace app {

const int kCommonMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

namespace {

// Accumulation into the single-precision state: the sum is formed in double and rounded once.
inline void Accumulate(float& sum, double value) { sum = static_cast<float>(static_cast<double>(sum) + value); }

}  // namespace

void RunTotals::Clear() {
  std::memset(FullDays, 0, sizeof FullDays);
  std::memset(MonthSums, 0, sizeof MonthSums);
}

bool RunTotals::CloseYear(int yearIndex) {
  float(&year)[kSumColumns] = MonthSums[yearIndex][0];
  for (int m = 1; m <= 12; ++m)
    for (int c = 0; c < kSumColumns; ++c) Accumulate(year[c], MonthSums[yearIndex][m][c]);
  for (int i = 1; i <= kTankCount; ++i) FullDays[0][i] += FullDays[yearIndex][i];
  // Finite days can still add up beyond the range of a float.
  for (int c = 0; c < kSumColumns; ++c)
    if (!std::isfinite(year[c])) return false;
  return true;
}

bool DailyBalance(const BalanceParameters& p, int yearIndex, const TDailyWeatherRecord& temperature,
                  const TDailyWeatherRecord& precipitation, RunTotals& totals, YearDays& out) {
  float level[kTankCount + 1] = {};  // the tanks are empty on 1 January
  const int year = temperature.Year;
  fw::SetLeapYearFlag(year);
  const bool leap = fw::LeapFlag;
  // Every value of every day goes into one double sum; a value that is not finite leaves it
  // not finite (finite floats cannot overflow it).
  double check = 0;

  int n = 0;
  for (int d = 1; d <= kDaySlots; ++d) {
    if (leap ? d == 60 : d == 366) continue;
    DayState& s = out.days[n++];
    int year2 = 0;
    fw::DayNumberToMonthDay(year, d, year2, s.month, s.day);
    s.year = year;
    const int month = s.month;
    s.T = static_cast<float>(temperature.Values[d - 1] * 0.01);
    s.P = static_cast<float>(precipitation.Values[d - 1] * 0.1);
    s.Use = p.MonthlyUse[month];
    for (int i = 1; i <= kTankCount; ++i) s.Runoff[i] = 0;
    s.CollectionDay = 0;
    s.Collected = 0;
    s.Received = 0;

    if (s.T > p.SnowTemp && s.P > 0 && s.P > p.IneffectivePrecip) {
      // Collection day: the tanks take the collected water less the day's use (which may be
      // negative); only the recorded Received is floored afterwards.
      s.CollectionDay = 1;
      s.Collected = static_cast<float>((static_cast<double>(s.P) - p.IneffectivePrecip) * p.CatchArea);
      s.Received = static_cast<float>((static_cast<double>(s.Collected) - s.Use) * p.MonthCoef[month]);
      for (int i = 1; i <= kTankCount; ++i) {
        float& l = level[i];
        l = static_cast<float>(static_cast<double>(l) + s.Received);
        if (l < 0) l = 0;
        if (l > p.TankCapacity[i]) {
          s.Runoff[i] = static_cast<float>(static_cast<double>(l) - p.TankCapacity[i]);
          l = p.TankCapacity[i];
          ++totals.FullDays[yearIndex][i];
        }
      }
      if (s.Received < 0) s.Received = 0;
    } else if (s.T > p.SnowTemp && s.P > 0) {
      // Light precipitation (not above the ineffective amount): the rain that fell on the
      // catchment runs off; nothing is collected and nothing is drawn from the tanks.
      const float lightRunoff = static_cast<float>(static_cast<double>(p.CatchArea) * s.P);
      for (int i = 1; i <= kTankCount; ++i) s.Runoff[i] = lightRunoff;
    } else {
      // Snow (T at or below SnowTemp) or a dry day: the day's use is drawn from every tank.
      for (int i = 1; i <= kTankCount; ++i) {
        const double left = static_cast<double>(level[i]) - s.Use;
        level[i] = left > 0 ? static_cast<float>(left) : 0.0f;
      }
    }
    for (int i = 1; i <= kTankCount; ++i) s.TankLevel[i] = level[i];

    check += static_cast<double>(s.Collected) + s.Received + s.Use;
    float* sums = totals.MonthSums[yearIndex][month];
    Accumulate(sums[kSumTemperature], s.T);
    Accumulate(sums[kSumPrecipitation], s.P);
    Accumulate(sums[kSumCollected], s.Collected);
    Accumulate(sums[kSumReceived], s.Received);
    Accumulate(sums[kSumUse], s.Use);
    for (int i = 1; i <= kTankCount; ++i) {
      check += static_cast<double>(s.TankLevel[i]) + s.Runoff[i];
      if (s.TankLevel[i] > 0) Accumulate(sums[kSumWaterDays + i - 1], 1.0);
    }
    Accumulate(sums[kSumCollectionDays], s.CollectionDay);
    for (int i = 1; i <= kTankCount; ++i)
      if (s.Runoff[i] > 0) Accumulate(sums[kSumRunoff + i - 1], s.Runoff[i]);
    if (sums[kSumPrecipitation] != 0) {
      const double rain = static_cast<double>(sums[kSumPrecipitation]) * p.CatchArea;  // litres on the catchment
      sums[kSumRunoffRatio] = rain != 0 ? static_cast<float>(static_cast<double>(sums[kSumRunoff + 2]) / rain) : 0.0f;
    }
  }
  return std::isfinite(check);
}

}  // namespace app
