// The fifteen-year daily water balance of a roof-fed storage tank (1981 to 1995, eight tank
// sizes at once) and its four kinds of result text file.
//
// Arithmetic: the state is single precision, as the stored results have always been. Every
// right-hand side is evaluated in double and rounded to float once when it is assigned or
// accumulated; printed fields are computed in double from the float state.
//
// Result files (all CP932 text with CR LF line ends, in the result folder, named
// ResultPrefix + suffix):
//   "(yyyy).DAY"        one per year: four header lines, then 365 lines of 19 + 21 x 7 bytes
//                       (29 February is left out of every calculation);
//   "(FULL).DAT"        the full-tank day counts: 15 year lines and the 15-year average;
//   "(1981-1995).MON"   four header lines, then 180 month lines of 19 + 23 x 7 bytes;
//   "(1981-1995).YER"   four header lines, then 15 year lines of 19 + 32 x 7 bytes.
// A value field is FloatToTextDigits(value, 7, decimals): right-aligned in 7 bytes, an exact
// zero written "0". A value that needs more than 7 bytes widens its field rather than losing
// digits: it is written whole with one blank in front, so neighbouring values stay apart. A
// rate without a defined value (a year without precipitation, a zero roof or catchment area,
// the monthly runoff ratio of a zero catchment area) is written as zero.
//
// The run belongs to screen 2, which keeps one Simulation: LoadConditions on each activation,
// RunSimulation from its Execute command after the case was saved.
//
// Failure handling: a missing weather file, a station number outside the weather files
// (1 .. file size / (738 x 15), both files), a weather record of another year, a result
// folder that cannot be created, and any read or write error end the run with a message
// naming the file; the run then closes its files, restores the cursor, clears Calculating
// and reports failure (no completion status). Station and file checks happen before any
// result file is written. Every result file is written whole through a temporary file.
#pragma once

#include <cstdint>
#include <string>

#include "app/sim/weather_record.h"
#include "platform/files.h"

namespace app {

constexpr int kTankCount = 8;
constexpr int kSumColumns = 23;

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

class Simulation {
 public:
  // ---- Parameters, filled by LoadConditions (arrays indexed from 1)
  float RoofArea = 0;           // m²
  float CatchArea = 0;          // m²
  float RunoffCoef = 0;
  float TankCapacity[kTankCount + 1] = {};  // litres; 1/4, 1/2, 1, 1.5, 2, 3, 4, 5 x the basic volume
  float SnowTemp = 0;           // °C; at or below it precipitation is snow and not collected
  float IneffectivePrecip = 0;  // mm
  float MonthCoef[13] = {};
  float BaseUse = 0;            // litres per day
  float MonthlyUse[13] = {};    // litres per day

  // ---- Working state of a run
  float TankLevel[kTankCount + 1] = {};
  float Collected = 0;
  float Received = 0;
  float Use = 0;
  float Runoff[kTankCount + 1] = {};
  int CollectionDay = 0;  // 1 on a collection day
  int FullDays[kYearCount + 1][kTankCount + 1] = {};                 // [year index 1..15, 0 = total][tank]
  float MonthSums[kYearCount + 1][13][kSumColumns] = {};             // [year index][month, 0 = year][column]

  // The pause of 0.1 s per year (the window stays responsive and the run can be watched).
  // Runners and benchmarks switch it off.
  bool PauseEachYear = true;

  Simulation();

  // Takes the parameters from the condition store (fw::CalcData).
  void LoadConditions();

  // Runs the fifteen years for the station of block 1100 and writes all result files to
  // ResultPrefix, then registers the calculation in the result folder. True on success.
  bool RunSimulation();

  // One year: `yearIndex` 1..15, the temperature and precipitation records of that year.
  // Appends the year's 365 daily lines to `out`.
  void DailyBalance(int yearIndex, const TDailyWeatherRecord& temperature, const TDailyWeatherRecord& precipitation,
                    std::string& out);

  // Appends the four header lines of a daily (kind 1), monthly (kind 2) or yearly (kind 3)
  // result file; `name` is "日次データ", "月次データ" or "年次データ" (CP932). The title is
  // block 1000 of the condition store.
  void DayFileHeader(int kind, const std::string& name, std::string& out) const;

  // One line of the monthly file (year index 1..15, month 1..12) and of the yearly file.
  void AppendMonthLine(int yearIndex, int month, std::string& out) const;
  void AppendYearLine(int yearIndex, std::string& out) const;
  // One line of "(FULL).DAT": a year (index 1..15), or the 15-year average for index 0.
  std::string FullTankLine(int yearIndex) const;

 private:
  // Ends a run that failed: closes the weather files, restores the cursor, clears
  // Calculating; returns false.
  bool Fail();
  // Reads the station's two records of `year`; a read error or a record of another year is
  // reported and ends the run (false).
  bool ReadYear(int station, int year);
  // Writes a whole result file; on failure reports it and ends the run (false).
  bool WriteResultFile(const std::string& path, const std::string& text);
  bool ReportReadError(const std::string& path);
  bool ReportWriteError(const std::string& path);

  std::string temperaturePath_;
  std::string precipitationPath_;
  platform::RandomAccessFile temperatureFile_;
  platform::RandomAccessFile precipitationFile_;
  bool waitCursor_ = false;

  // The field texts of the last daily line. Consecutive days repeat most values (a full or
  // empty tank, no runoff, the month's use) and formatting is the costly part of a run, so a
  // field is formatted only when its value changed (each field keeps its own decimals).
  static constexpr int kDayFields = 21;
  struct DayFieldCache {
    double value[kDayFields] = {};
    std::string text[kDayFields];
    bool valid[kDayFields] = {};
  };
  void AppendDayField(std::string& out, int field, double value, int decimals);

  // Buffers reused by every run (no allocation per day).
  DayFieldCache dayFields_;
  std::string text_;
  unsigned char recordBytes_[kWeatherRecordSize] = {};
  TDailyWeatherRecord temperature_;
  TDailyWeatherRecord precipitation_;
};

}  // namespace app
