// The daily water balance of a roof-fed storage tank, for eight tank sizes at once: the
// parameters and one year's weather records go in, the state of every day and the running
// sums come out. Nothing here touches a file, shows a message or waits; the run
// (simulation.h) does that, and the result text (result_text.h) formats what comes out.
//
// Arithmetic: the state is single precision, as the stored results have always been. Every
// right-hand side is evaluated in double and rounded to float once when it is assigned or
// accumulated.
//
// Kinds of day (T the day's temperature, P its precipitation):
//   collection day    T > SnowTemp and P > IneffectivePrecip (and P > 0): the catchment
//                     collects (P - IneffectivePrecip) x CatchArea, the tanks take that less
//                     the day's use times the month's coefficient, overflow runs off;
//   light day         T > SnowTemp and 0 < P <= IneffectivePrecip: nothing is collected and
//                     nothing drawn; the rain that fell on the catchment, CatchArea x P, runs
//                     off (never more than fell);
//   snow or dry day   otherwise: the day's use is drawn from every tank.
// 29 February is left out of every calculation; slot 366 of a common year is not a day.
#pragma once

#include <cstdint>

#include "model/sim/weather_record.h"

namespace app {

constexpr int kTankCount = 8;
constexpr int kSumColumns = 23;
constexpr int kDaysPerYear = 365;

// Columns of MonthSums.
enum MonthSumColumn {
  kSumTemperature = 0,    // °C
  kSumPrecipitation = 1,  // mm
  kSumCollected = 2,      // litres
  kSumReceived = 3,
  kSumUse = 4,
  kSumWaterDays = 5,      // 5..12: days on which tank 1..8 held water at the end of the day
  kSumCollectionDays = 13,
  kSumRunoff = 14,        // 14..21: runoff of tank 1..8 (litres)
  kSumRunoffRatio = 22,   // runoff ratio of tank 3 (the basic tank)
};

// Days of each month of a common year (index 1..12).
extern const int kCommonMonthDays[13];

// The parameters of one case (arrays indexed from 1).
struct BalanceParameters {
  float RoofArea = 0;           // m²
  float CatchArea = 0;          // m²
  float RunoffCoef = 0;
  float TankCapacity[kTankCount + 1] = {};  // litres; 1/4, 1/2, 1, 1.5, 2, 3, 4, 5 x the basic volume
  float SnowTemp = 0;           // °C; at or below it precipitation is snow and not collected
  float IneffectivePrecip = 0;  // mm
  float MonthCoef[13] = {};
  float BaseUse = 0;            // litres per day
  float MonthlyUse[13] = {};    // litres per day
};

// The state at the end of one day.
struct DayState {
  int year = 0, month = 0, day = 0;
  float T = 0;  // °C
  float P = 0;  // mm
  float Collected = 0, Received = 0, Use = 0;  // litres
  float TankLevel[kTankCount + 1] = {};
  float Runoff[kTankCount + 1] = {};  // litres leaving each tank that day
  int CollectionDay = 0;              // 1 on a collection day
};

// The 365 days of one year.
struct YearDays {
  DayState days[kDaysPerYear];
};

// What a run accumulates over its fifteen years.
struct RunTotals {
  int FullDays[kYearCount + 1][kTankCount + 1] = {};      // [year index 1..15, 0 = total][tank]
  float MonthSums[kYearCount + 1][13][kSumColumns] = {};  // [year index][month, 0 = year][column]

  void Clear();
  // After the year's balance: its twelve months into month 0, its full-tank days into the
  // fifteen-year totals (row 0). False when a sum of the year is not a finite number.
  bool CloseYear(int yearIndex);
};

// One year: `yearIndex` 1..15, the temperature and precipitation records of that year. The
// tanks start empty. Fills the 365 days and adds into the year's rows of `totals`. False when
// a value of the balance is not a finite number (parameters far outside any real case); the
// days and sums are then not usable.
bool DailyBalance(const BalanceParameters& p, int yearIndex, const TDailyWeatherRecord& temperature,
                  const TDailyWeatherRecord& precipitation, RunTotals& totals, YearDays& out);

}  // namespace app
