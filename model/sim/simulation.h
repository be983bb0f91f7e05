// The fifteen-year run of the daily water balance (1981 to 1995, eight tank sizes at once):
// the parameters from the condition store, the station's weather records, the pause between
// the years, the result files, the messages and the registration. The balance itself is in
// water_balance.h, the text of the result files in result_text.h.
//
// The run belongs to screen 2, which keeps one Simulation: LoadConditions on each activation,
// RunSimulation from its Execute command after the case was saved.
//
// All or nothing: every weather record the run needs (both files, fifteen years) is read and
// checked, and the whole balance is computed and formatted, before any result file is
// touched. The result files (ResultPrefix + "(yyyy).DAY", "(FULL).DAT", "(1981-1995).MON",
// "(1981-1995).YER") are then written under temporary names and renamed into place only when
// all eighteen were written; a run that fails leaves the result files of the folder as they
// were. The result files are written without a disk flush (the program can write them again
// at any time).
//
// Failure handling: a missing weather file, a station number outside the weather files
// (1 .. file size / (738 x 15), both files), a weather record of another year, a case whose
// values make the balance leave the range of numbers (not finite), a result folder that
// cannot be created, and any read or write error end the run with a message naming the file;
// the run then closes its files, restores the cursor, clears Calculating and reports failure
// (no completion status, fw::ResultLines untouched, nothing registered).
#pragma once

#include <string>
#include <vector>

#include "model/sim/result_text.h"
#include "model/sim/water_balance.h"
#include "model/sim/weather_record.h"
#include "platform/files.h"

namespace app {

class Simulation {
 public:
  // Filled by LoadConditions.
  BalanceParameters Parameters;
  // The sums of the last run.
  RunTotals Totals;

  // The pause of 0.1 s per year (the window stays responsive and the run can be watched).
  // Runners and benchmarks switch it off.
  bool PauseEachYear = true;

  // Takes the parameters from the condition store (fw::CalcData).
  void LoadConditions();

  // Runs the fifteen years for the station of block 1100 and writes all result files to
  // ResultPrefix, then registers the calculation in the result folder. True on success.
  bool RunSimulation();

  // DayFileHeader of result_text.h with the case's title (block 1000 of the condition store).
  void DayFileHeader(int kind, const std::string& name, std::string& out) const;

  // The part of a run without files: the balance of the fifteen years from the station's
  // records (kYearCount of each, 1981 first) and the text of every result file, with the pause
  // between the years. A balance that is not finite is reported and ends the run (false).
  bool ComputeResults(const TDailyWeatherRecord* temperature, const TDailyWeatherRecord* precipitation);
  // The texts ComputeResults made: the daily file of year index 1..15, then index 16 the
  // monthly and 17 the yearly file; and the lines of "(FULL).DAT".
  const std::string& ResultText(int index) const { return texts_[static_cast<size_t>(index - 1)]; }
  const std::vector<std::string>& FullTankLines() const { return fullLines_; }

 private:
  // Ends a run that failed: closes the weather files, restores the cursor, clears
  // Calculating; returns false.
  bool Fail();
  // Reads the station's two records of every year; a read error or a record of another year
  // is reported and ends the run (false).
  bool ReadRecords(int station);
  // Writes the result files through a file set and renames them into place.
  bool WriteResultFiles();
  bool ReportReadError(const std::string& path);
  bool ReportWriteError(const std::string& path);

  std::string temperaturePath_;
  std::string precipitationPath_;
  platform::RandomAccessFile temperatureFile_;
  platform::RandomAccessFile precipitationFile_;
  bool waitCursor_ = false;

  // Buffers reused by every run: the station's records, a year of days, the result texts
  // (the fifteen daily files, then the monthly and the yearly file) and the full-tank lines.
  std::string recordBytes_;
  TDailyWeatherRecord temperature_[kYearCount];
  TDailyWeatherRecord precipitation_[kYearCount];
  YearDays days_;
  DayLineFormatter dayLines_;
  std::vector<std::string> texts_;
  std::vector<std::string> fullLines_;
};

}  // namespace app
