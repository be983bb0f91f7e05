// The texts and pictures of the three printed report pages, taken from the condition store
// (fw::CalcData) and the result files of the last calculation (model/sim/simulation.h). No
// widgets: the report form (report_form.h) puts the texts into its labels and memos and the
// pictures into its images.
//
// Page 1 "計算結果": the conditions, the yearly table (result columns 1 to 14) with its average
// line and, in mode 1, the daily graphs of the lowest, highest and average precipitation years;
// in mode 2 the monthly and yearly graphs of screen 3.
// Page 2 "分析結果": the conditions, the yearly table with the columns of its mode (1 use days,
// 2 runoff rates, 3 runoff suppression rates), analysis graph 1 beside the mode's graph, and
// the findings.
// Page 3 "気象データ": the station, the two weather files, one line per year with the mean
// temperature, the precipitation, the collection days and the days with precipitation, their
// fifteen-year averages, and the weather chart.
//
// Decisions kept on purpose:
// - The yearly table, its average line and the findings appear only when the yearly file holds
//   all fifteen year lines: a missing or cut file leaves them empty (no average or finding is
//   made from numbers that are not there). The year fields of page 3 stay blank then as well.
// - The daily graph of a representative year is the file screen 3 writes for it,
//   "(1-" + (1980 + year number) + ").EMF"; without a representative year there is no file and
//   the image stays white.
// - Precipitation days are the lines of the year's daily file whose precipitation field is
//   above 0 (the days screen 3 lists as weather lines). A year whose daily file is missing
//   keeps its field blank and is left out of the average.
// - Page-3 fields are written over the half-width blanks of the kept line at CP932 byte
//   positions; a value wider than its field runs on over the blank that follows it.
// - Conditions line 10 is empty; finding 2 is empty in mode 1.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace views {

constexpr int kReportPages = 3;
constexpr int kConditionLines = 10;

// ---- Conditions (pages 1 and 2)

// The conditions lines [1..10] of the current case (index 0 unused; line 10 empty).
std::array<std::string, kConditionLines + 1> ConditionLines();

// ---- Yearly table (pages 1 and 2)

// Whether the yearly file's lines hold the four header lines and all fifteen year lines.
bool YearlyTableComplete(const std::vector<std::string>& yearLines);

// The averages the findings use.
struct ReportAverageFigures {
  double yearlyUse = 0;        // result column 5, m³
  double basicTankDays = 0;    // result column 8: days with water in the basic tank
  double runoffRate = 0;       // result column 23: runoff rate of the basic tank, %
  double suppressionRate = 0;  // result column 32: runoff suppression rate of the basic tank, %
};

// The result columns of a table mode: 1 columns 1 to 14; 2 columns 1 to 5 and 15 to 23; 3 columns
// 1 to 5 and 24 to 32 (the columns of screen 3's analysis graph mode + 1).
int ReportTableGraph(int mode);
// "平均値 " followed by the fifteen-year averages of the mode's columns, each in 7 bytes (no
// decimals for columns 2 and 6 to 14, one decimal otherwise); `figures` receives the averages of
// columns 5, 8, 23 and 32. Empty (and zero figures) for an incomplete yearly file.
std::string ReportAverages(const std::vector<std::string>& yearLines, int mode, ReportAverageFigures* figures = nullptr);
// The memo lines of a table: the column names and units, each behind 7 blanks; one line per
// year, the year followed by "年 " and the mode's cells; the average line. Empty for an
// incomplete yearly file.
std::vector<std::string> YearlyTableLines(const std::vector<std::string>& yearLines, int mode);

// ---- Representative years (page 1, mode 1)

// The year numbers (1..15) of the lowest, highest and average precipitation ([1..3]; all 0 for an
// incomplete yearly file); they become app::RepresentativeYears.
std::array<int, 4> PickRepresentativeYears(const std::vector<std::string>& yearLines);
// A year caption "19??年 (最低降水年)" with the year of `yearNumber` in its first four bytes (the
// caption as it stands for year number 0).
std::string YearCaption(const std::string& caption, int yearNumber);

// ---- Pictures

// The file of image `image` of a page in a mode (ResultPrefix + the page metafile's suffix, see
// model/results/page_metafiles.h); empty when the image shows no file (a hidden image, no year).
// Page 1 mode 1: images 1 to 3 the daily graphs of the representative years; mode 2: images 2
// and 3 the graphs of screen 3's pages 2 and 3. Page 2: image 1 graph 1, image 2 graph mode + 1.
// Page 3: image 1 the weather chart.
std::string ReportImageFile(const std::string& resultPrefix, int page, int mode, int image,
                            const std::array<int, 4>& representative);

// ---- Findings (page 2)

// "所見１：..." and "所見２：..." ([0] and [1]); both empty for an incomplete yearly file.
std::array<std::string, 2> Findings(const std::vector<std::string>& yearLines, int mode);

// ---- Weather page (page 3)

// "気象観測地点 ： " + the station; "ファイル名　 ： " and "　　　　　　 ： " + the weather files.
std::string StationLine();
std::array<std::string, 2> WeatherFileLines();

// The four figures of a year's line, or their fifteen-year averages.
struct WeatherYearFigures {
  bool known = false;           // from a complete yearly file
  double temperature = 0;       // result column 1, °C
  double precipitation = 0;     // result column 2, mm
  double collectionDays = 0;    // result column 14
  double precipDays = -1;       // days with precipitation; below 0 unknown (no daily file)
};
// Field positions (1-based CP932 bytes) and widths of a year line.
struct WeatherField {
  int position;
  int width;
};
inline constexpr std::array<WeatherField, 4> kWeatherFields{{{26, 4}, {50, 5}, {78, 3}, {83, 3}}};
// The figures of the years [1..15] and their averages [16] ([0] unused). Daily files are
// ResultPrefix + "(yyyy).DAY".
std::array<WeatherYearFigures, 17> WeatherYears(const std::vector<std::string>& yearLines,
                                                const std::string& resultPrefix);
// The kept line with the figures written over it: the temperature "%4.1f", the precipitation
// with thousands separators and no decimals in 5, the collection and precipitation days in 3.
// Unknown figures leave their fields as they stand.
std::string WeatherYearLine(const std::string& kept, const WeatherYearFigures& figures);
// Whether every field (and the byte after it) of a kept line lies on half-width blanks that do
// not split a double-byte character.
bool WeatherLineTemplateValid(const std::string& kept);

// ---- Page header

// The date label: ProgramNameVersion + " " + `date` ("yyyy/mm/dd"), followed by " p/count" when
// there is more than one page.
std::string ReportDateText(const std::string& date, int page, int pageCount);
// Today as "yyyy/mm/dd".
std::string TodayText();

}  // namespace views
