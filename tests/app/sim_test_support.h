// Fixtures of the simulation tests: synthetic daily weather files written from a formula, and
// a small case in the condition store written through the store's own writers.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace simtest {

// The value of day slot 1..366 of a station (from 1) and year (0.01 °C or 0.1 mm).
using DayValue = std::function<int(int station, int year, int slot)>;
// The year field written into a record (default: the record's own year).
using YearField = std::function<int(int station, int year)>;

// Writes "気温(日次).DAT" and "降水量(日次).DAT" into `folder` (inside path ending in '\'):
// `stations` stations of 15 little-endian 738-byte records each, 1981 first.
void WriteWeatherFiles(const std::string& folder, int stations, const DayValue& temperature,
                       const DayValue& precipitation, const YearField& yearField = nullptr);

struct CaseSetup {
  std::string title = "シミュレーション試験";  // UTF-8
  int station = 1;
  float roofArea = 120;
  float catchArea = 100;
  float runoffCoef = 0.9f;
  float basicTank = 1000;
  float snowTemp = 3.0f;
  float ineffectivePrecip = 0.5f;
  float dailyUse = 200;              // block 4100 value 8
  std::array<int, 13> sprinkling{};  // block 9101, months 1..12 (all zero: no block)
};

// Replaces fw::CalcData with a case holding the blocks the simulation reads.
void MakeCase(const CaseSetup& setup);

// The lines of a CP932 text file (CR LF removed) and its bytes; empty when missing.
std::vector<std::string> ReadLines(const std::string& insidePath);
std::string ReadBytes(const std::string& insidePath);

// Splits text at CR LF (as the result files end their lines).
std::vector<std::string> SplitCrLf(const std::string& text);

}  // namespace simtest
