// Screen 3's data: what the result pages show and the graphs draw, read from the result files
// of the last calculation (the daily "(yyyy).DAY", monthly "(1981-1995).MON" and yearly
// "(1981-1995).YER" tables and the full-tank counts "(FULL).DAT", see model/sim/simulation.h),
// and the weather lines of page 5 ("(HARV).DAT"). No widgets: the form (screen3.h) keeps one
// Screen3Data, fills it from the files and hands it to the drawing routines
// (screen3_graphs.h), which only read it.
//
// Tables are held as text cells addressed (column, row) exactly as the grids of the analysis
// page show them, so the grids and the graphs read the same numbers.
//
// Decisions kept on purpose:
// - A yearly table with fewer than the fifteen year lines gives no representative years (all
//   0): no year is marked "最低", "最高" or "平均" from numbers that are not there.
// - The precipitation-frequency count skips weather lines whose precipitation is below 0 or
//   whose year lies outside 1981 to 1995 (such a line cannot come from a result file; counting
//   it would write outside the table).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "model/sim/weather_record.h"  // kFirstYear, kLastYear, kYearCount

namespace app {

// ---- Colour numbers (framework/drawing.h ColorOf)
constexpr int kHiddenTankColor = 254;    // shown colour of a hidden tank: not drawn
constexpr int kChartBackColor = 15;      // chart background
constexpr int kButtonFaceColorNumber = -16;
// Colour number of tank size 1..8: 240 - 2 x size; the basic size 3 has 4.
int TankColorNumber(int size);
// Colour number of a year row of the analysis grid (rows 2..16 = 1981..1995): 222 + row.
int YearRowColorNumber(int row);

// ---- Result tables (pages 1 to 3)

// The most rows a result table has: a daily table of 15 years of 366 days.
constexpr int kMaxResultRows = kYearCount * 366;
// Whether `lineCount` lines are more than a result table holds (its header lines and
// kMaxResultRows rows).
bool LongerThanAResultTable(size_t lineCount);
// The lines of the result table `path` (four header lines, then one row per line), as
// ReadTextLines gives them. False, with `lines` empty, when the file cannot be read, or when it
// has more than kMaxResultRows rows: such a file is no table of this program, and each row
// would cost a day record; then `error` (when given) names the file and no line is kept.
bool ReadResultTable(const std::string& path, std::vector<std::string>& lines, std::string* error = nullptr);

// ---- Text cells

// A table of text cells, column by column like a string grid: Cell(col, row); cells outside the
// table read empty and are never written.
class CellTable {
 public:
  CellTable() = default;
  CellTable(int cols, int rows) { Resize(cols, rows); }
  void Resize(int cols, int rows);
  void Clear();  // every cell emptied, size kept
  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);
  // The cell as a number (TextToFloat); 0 for an empty cell or one outside the table.
  double Value(int col, int row) const;

 private:
  int cols_ = 0, rows_ = 0;
  std::vector<std::string> cells_;  // row-major
};

// ---- Year list (page 1's year panel, page 4's year check list)

struct YearList {
  // One item per year 1..15: the year (first 4 bytes of its line) + "年 " + the 5-byte
  // precipitation + "mm " + "最低", "最高" or "平均" for the representative years.
  std::vector<std::string> items;
  // [1] lowest, [2] highest, [3] average precipitation year number (1..15); 0 when unknown.
  std::array<int, 4> representative{};
  // The yearly precipitations [1..15] (mm) and their mean (rounded to an integer).
  std::array<float, kYearCount + 1> precipitation{};
  double mean = 0;
};
// From the yearly table's lines (year k on line 4 + k, counted from 1; precipitation in bytes
// 29 to 33).
YearList BuildYearList(const std::vector<std::string>& yearLines);
// "年平均降水量 %.0f mm" (CP932).
std::string AnnualMeanText(double mean);
// The mark of a representative year number: "最低", "最高", "平均", or empty.
std::string RepresentativeMark(const std::array<int, 4>& representative, int yearNumber);

// ---- Analysis page

constexpr int kAnalysisCols = 15;  // column 0 the year, 1..5 the common columns, 6..14 the group
constexpr int kAnalysisRows = 18;  // 0, 1 titles; 2..16 the years 1981..1995; 17 the mean
constexpr int kAnalysisMeanRow = 17;
constexpr int kFullTankCols = 9;   // column 0 the year, 1..8 the tank sizes
constexpr int kFullTankRows = 18;  // 0 titles, 1 " 満水日", 2..16 the years, 17 the 15-year average

// First result column of a graph's group: 6 for graphs 1 and 2 (days with water of the eight
// tanks and the collection days), 15 for graph 3 (runoff rates), 24 for graph 4 (runoff
// suppression rates); 0 for any other graph.
int AnalysisGroupStart(int graph);
// Result column shown in analysis grid column `col` (1..14) for `graph`; 0 when none.
int AnalysisResultColumn(int graph, int col);
// Fills the analysis table (resized to 15 x 18) from the yearly table's lines for `graph`:
// rows 0 and 1 from lines 3 and 4, rows 2..16 from lines 5..19; columns 1..5 the result columns
// 1..5, columns 6..14 the nine columns of the group (each 7 bytes from byte 20 + 7(c-1));
// column 0 the year (and "平均" in the mean row); row 17 the mean of rows 2..16, formatted in 7
// columns with no decimals for column 2 and, for graphs 1 and 2, columns 6..14, one decimal
// otherwise. False (table emptied) for a graph outside 1..4.
bool FillAnalysisTable(const std::vector<std::string>& yearLines, int graph, CellTable& table);
// Fills the full-tank table (resized to 9 x 18) from "(FULL).DAT"'s lines: every " 0" becomes
// " -"; row 1 columns 1..8 " 満水日"; rows 2..17 the lines 1..16, columns 1..8 the 5-byte cells at
// bytes 10, 15, ..., 45; column 0 the first 4 bytes of the line ("1981" ... , "15年平均" for the
// last).
void FillFullTankTable(const std::vector<std::string>& fullLines, CellTable& table);
// "※貯水槽容量 1/4・1/2・1・1.5・2・3・4・5 倍を計算 （基準容量=1,000 ㍑）" (CP932).
std::string BasicVolumeNote(double basicVolume);
// The colour number of a cell of the analysis or full-tank grid (rows >= 2, columns >= 1) for
// the current graph: graph 2 colours rows 2..16, columns 6..13 by tank size (250 - 2 x column);
// the other graphs colour rows 2..16 by year (222 + row); everything else, and every cell whose
// text is "    -", is the button face (kButtonFaceColorNumber).
int AnalysisCellColorNumber(int graph, int col, int row, const std::string& text);

// The explanation dialog of a graph ("<解説>"): its title "【" + caption + "】" and its text.
struct ConditionFigures {
  double roofArea = 0;   // label 2100 VV8 value 1
  double catchArea = 0;  // label 2100 VV8 value 2
  double basicVolume = 0;  // label 3100 VV8 value 3
  double dailyUse = 0;   // label 4100 VV8 value 8 + WW8 value 8
};
// Reads the figures from the calculation store (fw::CalcData).
ConditionFigures ReadConditionFigures();
std::string GraphCaption(int graph);  // "【グラフ１】" ... "【グラフ４】"
std::string ExplanationText(int graph, const ConditionFigures& figures);

// ---- Weather lines (page 5)

// ResultPrefix + "(HARV).DAT".
std::string WeatherLineFileName(const std::string& resultPrefix);
// The weather line of a daily result line, or empty when its precipitation is not above 0:
// bytes 1..10 (the date), bytes 22..26 + "℃", bytes 29..33 + "mm" joined by blanks, with " ※"
// appended at 100 mm or more.
std::string WeatherLine(const std::string& dayLine);

// A weather line: "yyyy/mm/dd" + " " + temperature (5 bytes) + "℃" + " " + precipitation
// (5 bytes) + "mm" [+ " ※"]. Bytes 1..4 hold the year, bytes 19..24 the precipitation.
int WeatherLineYear(const std::string& line);
int WeatherLinePrecip(const std::string& line);
// The lines whose precipitation is at least `threshold` mm, in order.
std::vector<std::string> FilterPrecipDays(const std::vector<std::string>& weatherLines, int threshold);

constexpr int kFrequencyClasses = 61;  // classes of 2 mm; class 60 holds 119 mm and more
// [year number 1..15][class 0..60]; row 0 unused.
using FrequencyTable = std::array<std::array<int, kFrequencyClasses>, kYearCount + 1>;
// The class of a precipitation of p mm: (p + 1) div 2, 60 for 119 mm and more; -1 below 0.
int PrecipClass(int p);
// Zeroes the table and counts every weather line into its year and class.
void CountPrecipFrequency(const std::vector<std::string>& weatherLines, FrequencyTable& table);
// Days with precipitation of a year number (1..15): the sum of its classes.
int PrecipDayCount(const FrequencyTable& table, int yearNumber);

// ---- The screen's state, shared by the pages and the graphs

struct Screen3Data {
  int page = 0;        // 1..5; 0 before the first page change
  int yearNumber = 0;  // 1..15 (the year is 1980 + number); 0 before a year was chosen
  int graph = 0;       // 1..4 on the analysis page; 0 before
  std::string dailyFileName;  // ResultPrefix + "(" + year + ").DAY" of the current year
  // The result table shown last on pages 1 to 3 (four header lines, then one row per line) and
  // its row count (lines - 4; 0 when the file is missing).
  std::vector<std::string> resultLines;
  int rowCount = 0;

  // The eight tanks [1..8]: colour number, shown colour (its colour, or kHiddenTankColor when
  // hidden) and volume in litres (label 3100 VV8 values 1..8).
  std::array<int, 9> tankColor{};
  std::array<int, 9> tankShownColor{};
  std::array<double, 9> tankVolume{};
  double basicVolume = 0;  // label 3100 VV8 value 3

  // [1..15] whether the year is drawn in the analysis graphs; [16] the 15-year average, always.
  std::array<bool, kYearCount + 2> yearChecked{};
  std::array<int, 4> representative{};  // as YearList::representative

  CellTable analysis{kAnalysisCols, kAnalysisRows};  // the analysis grid (STRG4)
  CellTable fullTank{kFullTankCols, kFullTankRows};  // the full-tank grid (STRG4_1)

  int threshold = 1;             // page 5: lines at or above it are listed
  int frequencyYear = kFirstYear;  // page 5: year of the frequency chart
  bool frequencyPanelShown = false;  // page 5: the frequency chart's panel is shown
  std::vector<std::string> weatherLines;  // the weather-line file's lines
  FrequencyTable frequency{};

  Screen3Data();
  // Tank colours as at activation (all shown), every year checked.
  void ResetTanksAndYears();
};

}  // namespace app
