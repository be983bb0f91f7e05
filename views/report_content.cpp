#include "views/report_content.h"

#include "model/results/conditions.h"
#include "model/results/page_metafiles.h"
#include "model/results/screen3_data.h"
#include "model/sim/weather_record.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/form_utils.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/text_format.h"

namespace views {

using platform::J;

namespace {

std::string Fixed(int width, int decimals, double x) { return fw::FormatFixedWidth(width, decimals, x); }

// The cells of a table row, columns 1 to 14, each 7 bytes.
std::string RowCells(const app::CellTable& table, int row) {
  std::string line;
  for (int col = 1; col <= 14; ++col) line += fw::PadRight(table.Cell(col, row), fw::kDayCellWidth);
  return line;
}

double ColumnMean(const std::vector<std::string>& yearLines, int col) {
  double sum = 0, mean = 0, maximum = 0, minimum = 0;
  fw::ColumnStats(yearLines, col, 1, app::kYearCount, sum, mean, maximum, minimum);
  return mean;
}

}  // namespace

// ---- Conditions

std::array<std::string, kConditionLines + 1> ConditionLines() {
  std::array<std::string, kConditionLines + 1> line;
  const fw::StringList& store = fw::CalcData;

  fw::ReadRecSS1(store, 1000);
  const std::string title = fw::RecSS1.S[1];
  fw::ReadRecNS4(store, 4100);
  const bool facility = fw::RecNS4.N[1] == 3;
  std::string building = fw::RecNS4.S[1];
  if (facility && fw::LabelExists(store, J("№4200"))) {
    fw::ReadRecNSV6(store, 4200);
    building += "(" + fw::RecNSV6.S[1] + ")";
  }
  line[1] = J("計算名　　 ： ") + fw::PadRight(title, 56) + J(" 建物種別 ： ") + building;

  fw::ReadRecSS4(store, 1100);
  const fw::TRecordKindBuffer site = fw::RecSS4;
  fw::ReadRecNN8(store, 1100);
  const int64_t station = fw::RecNN8.N[3];
  line[2] = J("所在データ ： 設置場所  ") + fw::PadRight(site.S[1] + site.S[2], 19) + J("   気象観測地点 ") +
            fw::PadRight(site.S[3], 10) + J(" （地点№") + fw::IntToStrWidth(3, station) + J("）");

  fw::ReadRecVV8(store, 2100);
  const std::array<float, 13> c = fw::RecVV8.V;
  line[3] = J("集水データ ： 全屋根面積 ") + Fixed(5, 0, c[1]) + J(" ㎡  集水面積 ") + Fixed(5, 0, c[2]) +
            J(" ㎡（水平投影面積） 流出係数 ") + Fixed(4, 2, c[3]) + J(" (0.85～0.95)");

  fw::ReadRecVV8(store, 5100);
  const std::array<float, 13> p = fw::RecVV8.V;
  line[4] = J("降水データ ： 降雪判定") + Fixed(5, 1, p[1]) + J(" ℃以下 (気温2～3℃で雪)    無効降水量") + Fixed(4, 1, p[2]) +
            J(" mm以下 （初期降水カット）");

  fw::ReadRecVV8(store, 4100);
  const std::array<float, 13> u = fw::RecVV8.V;
  const double persons = static_cast<double>(u[1]) * u[2];
  line[5] = J("貯水データ ： 貯水槽容量 ") + fw::FormatFloatN(7, 0, fw::GetVV8Value(store, 3100, 3)) +
            J(" リットル/基本単位　   防災上の最低必要量(住宅) ") + fw::FormatFloatN(7, 0, persons * 150) + J(" リットル");
  line[6] = J("利用データ ： 利用者") + Fixed(6, 1, persons) + J(" 人  トイレ大 ") + Fixed(4, 1, u[3]) + J(" 回/日･人 ") +
            Fixed(4, 1, u[4]) + J(" ㍑/回  トイレ小 ") + Fixed(4, 1, u[5]) + J(" 回/日･人 ") + Fixed(4, 1, u[6]) +
            J(" ㍑/回");

  fw::ReadRecWW8(store, 4100);
  const std::array<float, 13> w = fw::RecWW8.V;
  const double total = app::ToiletDailyUse() + static_cast<double>(w[1]) + w[2] + w[3];
  line[7] = std::string(14, ' ') + J("散水") + Fixed(5, 0, w[1]) + J(" ㍑/日 ") + fw::PadRight(app::FurtherUseName(2), 10) +
            Fixed(5, 0, w[2]) + J(" ㍑/日 ") + fw::PadRight(app::FurtherUseName(3), 10) + Fixed(5, 0, w[3]) +
            J(" ㍑/日  全利用量") + Fixed(6, 0, total) + J(" ﾘｯﾄﾙ/日");

  static const char* const kMonthNames[13] = {"",     "１月", "２月", "３月", "４月", "５月", "６月",
                                              "７月", "８月", "９月", "10月", "11月", "12月"};
  const std::array<int64_t, 13> months = app::MonthlyFurtherUse();
  for (int half = 0; half < 2; ++half) {
    std::string text;
    for (int m = 1 + 6 * half; m <= 6 + 6 * half; ++m)
      text += J(kMonthNames[m]) + ":" + fw::IntToStrWidth(6, months[static_cast<size_t>(m)]) + " ";
    line[static_cast<size_t>(8 + half)] = text + J("ﾘｯﾄﾙ/日");
  }
  return line;
}

// ---- Yearly table

bool YearlyTableComplete(const std::vector<std::string>& yearLines) {
  return static_cast<int>(yearLines.size()) >= fw::kDayHeaderLines + app::kYearCount;
}

int ReportTableGraph(int mode) { return mode >= 1 && mode <= 3 ? mode + 1 : 2; }

std::string ReportAverages(const std::vector<std::string>& yearLines, int mode, ReportAverageFigures* figures) {
  if (figures) *figures = ReportAverageFigures{};
  if (!YearlyTableComplete(yearLines)) return std::string();
  app::CellTable table;
  app::FillAnalysisTable(yearLines, ReportTableGraph(mode), table);
  if (figures) {
    figures->yearlyUse = ColumnMean(yearLines, 5);
    figures->basicTankDays = ColumnMean(yearLines, 8);
    figures->runoffRate = ColumnMean(yearLines, 23);
    figures->suppressionRate = ColumnMean(yearLines, 32);
  }
  return J("平均値 ") + RowCells(table, app::kAnalysisMeanRow);
}

std::vector<std::string> YearlyTableLines(const std::vector<std::string>& yearLines, int mode) {
  std::vector<std::string> lines;
  if (!YearlyTableComplete(yearLines)) return lines;
  app::CellTable table;
  app::FillAnalysisTable(yearLines, ReportTableGraph(mode), table);
  for (int row = 0; row <= 1; ++row) lines.push_back(std::string(7, ' ') + RowCells(table, row));
  for (int row = 2; row < app::kAnalysisMeanRow; ++row)
    lines.push_back(fw::PadRight(table.Cell(0, row), 4) + J("年 ") + RowCells(table, row));
  lines.push_back(ReportAverages(yearLines, mode));
  return lines;
}

// ---- Representative years

std::array<int, 4> PickRepresentativeYears(const std::vector<std::string>& yearLines) {
  app::RepresentativeYears = app::BuildYearList(yearLines).representative;
  return app::RepresentativeYears;
}

std::string YearCaption(const std::string& caption, int yearNumber) {
  if (yearNumber < 1 || yearNumber > app::kYearCount) return caption;
  const std::string year = std::to_string(app::kFirstYear - 1 + yearNumber);
  return caption.size() > 4 ? year + caption.substr(4) : year;
}

// ---- Pictures

std::string ReportImageFile(const std::string& resultPrefix, int page, int mode, int image,
                            const std::array<int, 4>& representative) {
  std::string suffix;
  if (page == 1 && mode == 1 && image >= 1 && image <= 3)
    suffix = app::PageMetafileSuffix(1, representative[static_cast<size_t>(image)], 0);
  else if (page == 1 && mode == 2 && (image == 2 || image == 3))
    suffix = app::PageMetafileSuffix(image, 0, 0);
  else if (page == 2 && image == 1)
    suffix = app::PageMetafileSuffix(4, 0, 1);
  else if (page == 2 && image == 2)
    suffix = app::PageMetafileSuffix(4, 0, ReportTableGraph(mode));
  else if (page == 3 && image == 1)
    suffix = app::PageMetafileSuffix(5, 0, 0);
  return suffix.empty() ? std::string() : resultPrefix + suffix;
}

// ---- Findings

std::array<std::string, 2> Findings(const std::vector<std::string>& yearLines, int mode) {
  std::array<std::string, 2> findings;
  ReportAverageFigures a;
  if (ReportAverages(yearLines, mode, &a).empty()) return findings;
  const double u = a.yearlyUse, d = a.basicTankDays;
  findings[0] = J("所見１：年間") + fw::FormatFixed(u, 1) + J("m3の水使用量に対し、雨水利用で") +
                fw::FormatFixed(u * d / 365, 1) + "m3(" + fw::FormatFixed(d / 365 * 100, 1) + J("％、") +
                fw::FormatFixed(d, 0) + J("日分)の水を削減できます。");
  const app::ConditionFigures c = app::ReadConditionFigures();
  if (mode == 2)
    findings[1] = J("所見２：集水屋根面積") + fw::FormatFixed(c.catchArea, 0) + J("㎡に対する") +
                  fw::FormatFixed(c.basicVolume, 0) + J("ﾘｯﾄﾙ貯水槽の流出抑制効果は") +
                  fw::FormatFixed(100 - a.runoffRate, 1) + J("％です。");
  else if (mode == 3)
    findings[1] = J("所見２：全体屋根面積") + fw::FormatFixed(c.roofArea, 0) + J("㎡に対する") +
                  fw::FormatFixed(c.basicVolume, 0) + J("ﾘｯﾄﾙ貯水槽の流出抑制効果は") +
                  fw::FormatFixed(a.suppressionRate, 1) + J("％です。");
  return findings;
}

// ---- Weather page

std::string StationLine() {
  fw::ReadRecSS4(fw::CalcData, 1100);
  return J("気象観測地点 ： ") + fw::RecSS4.S[3];
}

std::array<std::string, 2> WeatherFileLines() {
  return {J("ファイル名　 ： ") + fw::AbbreviatePath(fw::CalDir + app::TemperatureFileName()),
          J("　　　　　　 ： ") + fw::AbbreviatePath(fw::CalDir + app::PrecipitationFileName())};
}

std::array<WeatherYearFigures, 17> WeatherYears(const std::vector<std::string>& yearLines,
                                                const std::string& resultPrefix) {
  std::array<WeatherYearFigures, 17> years;
  if (!YearlyTableComplete(yearLines)) return years;
  WeatherYearFigures& average = years[16];
  average.known = true;
  int daysKnown = 0;
  double daysSum = 0;
  for (int k = 1; k <= app::kYearCount; ++k) {
    WeatherYearFigures& y = years[static_cast<size_t>(k)];
    y.known = true;
    y.temperature = fw::ReadTableCell(yearLines, 1, k);
    y.precipitation = fw::ReadTableCell(yearLines, 2, k);
    y.collectionDays = fw::ReadTableCell(yearLines, 14, k);
    std::vector<std::string> dayLines;
    if (platform::ReadTextLines(resultPrefix + "(" + std::to_string(app::kFirstYear - 1 + k) + ").DAY", dayLines)) {
      int days = 0;
      for (size_t n = fw::kDayHeaderLines; n < dayLines.size(); ++n)
        if (!app::WeatherLine(dayLines[n]).empty()) ++days;
      y.precipDays = days;
      daysSum += days;
      ++daysKnown;
    }
  }
  average.temperature = ColumnMean(yearLines, 1);
  average.precipitation = ColumnMean(yearLines, 2);
  average.collectionDays = ColumnMean(yearLines, 14);
  average.precipDays = daysKnown > 0 ? daysSum / daysKnown : -1;
  return years;
}

std::string WeatherYearLine(const std::string& kept, const WeatherYearFigures& figures) {
  if (!figures.known) return kept;
  const std::array<std::string, 4> fields{
      Fixed(kWeatherFields[0].width, 1, figures.temperature), fw::FormatFloatN(kWeatherFields[1].width, 0, figures.precipitation),
      Fixed(kWeatherFields[2].width, 0, figures.collectionDays),
      figures.precipDays < 0 ? std::string() : Fixed(kWeatherFields[3].width, 0, figures.precipDays)};
  std::string line = kept;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].empty()) continue;
    line = fw::OverwriteAt(fw::PadRight(line, kWeatherFields[i].position - 1), kWeatherFields[i].position, fields[i]);
  }
  return line;
}

bool WeatherLineTemplateValid(const std::string& kept) {
  for (const WeatherField& f : kWeatherFields) {
    for (int n = f.position; n <= f.position + f.width && n <= static_cast<int>(kept.size()); ++n) {
      if (kept[static_cast<size_t>(n - 1)] != ' ') return false;  // a blank is never half of a character
    }
  }
  return true;
}

// ---- Page header

std::string ReportDateText(const std::string& date, int page, int pageCount) {
  std::string text = fw::ProgramNameVersion + " " + date;
  if (pageCount > 1) text += " " + std::to_string(page) + "/" + std::to_string(pageCount);
  return text;
}

std::string TodayText() { return platform::FormatDateTime("yyyy/mm/dd", platform::NowDateTime()); }

}  // namespace views
