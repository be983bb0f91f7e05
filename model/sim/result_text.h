// The text of the four kinds of result file, line by line, from what the daily balance
// (water_balance.h) gives. Nothing here touches a file.
//
// Files (all CP932 text with CR LF line ends):
//   "(yyyy).DAY"        one per year: four header lines, then 365 lines of 19 + 21 x 7 bytes
//                       (29 February is left out of every calculation);
//   "(FULL).DAT"        the full-tank day counts: 15 year lines and the 15-year average;
//   "(1981-1995).MON"   four header lines, then 180 month lines of 19 + 23 x 7 bytes;
//   "(1981-1995).YER"   four header lines, then 15 year lines of 19 + 32 x 7 bytes.
// A value field is FloatToTextDigits(value, 7, decimals): right-aligned in 7 bytes, an exact
// zero written "0". A value that needs more than 7 bytes widens its field rather than losing
// digits: it is written whole with one blank in front, so neighbouring values stay apart. A
// rate without a defined value (a year without precipitation, a zero roof or catchment area,
// the monthly runoff ratio of a zero catchment area) is written as zero. Printed fields are
// computed in double from the float state.
#pragma once

#include <string>

#include "model/sim/water_balance.h"

namespace app {

// Appends the four header lines of a daily (kind 1), monthly (kind 2) or yearly (kind 3)
// result file; `name` is "日次データ", "月次データ" or "年次データ" and `title` the case's
// title (CP932).
void DayFileHeader(int kind, const std::string& name, const std::string& title, std::string& out);

// The daily lines. Consecutive days repeat most values (a full or empty tank, no runoff, the
// month's use) and formatting is the costly part of the text, so a field is formatted only
// when its value changed since the line before (each field keeps its own decimals).
class DayLineFormatter {
 public:
  void AppendDay(const DayState& day, std::string& out);
  void AppendYear(const YearDays& year, std::string& out);

 private:
  static constexpr int kDayFields = 21;
  void AppendField(std::string& out, int field, double value, int decimals);
  double value_[kDayFields] = {};
  std::string text_[kDayFields];
  bool valid_[kDayFields] = {};
};

// One line of the monthly file (year index 1..15, month 1..12) and of the yearly file.
void AppendMonthLine(const RunTotals& totals, int yearIndex, int month, std::string& out);
void AppendYearLine(const RunTotals& totals, const BalanceParameters& p, int yearIndex, std::string& out);
// One line of "(FULL).DAT" (without its line end): a year (index 1..15), or the 15-year
// average for index 0.
std::string FullTankLine(const RunTotals& totals, int yearIndex);

}  // namespace app
