#include "model/results/screen3_data.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/form_utils.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace app {

using platform::J;

namespace {

// Bytes first..last (1-based, inclusive) of a line; shorter lines give what they have.
std::string Columns(const std::string& line, int first, int last) {
  if (first < 1 || static_cast<int>(line.size()) < first) return std::string();
  return line.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

// The 7-byte cell of result column c (from 1) of a day-table line.
std::string ResultCell(const std::string& line, int c) {
  const int first = fw::kDayCellStart + 1 + fw::kDayCellWidth * (c - 1);
  return Columns(line, first, first + fw::kDayCellWidth - 1);
}

const std::string& Line(const std::vector<std::string>& lines, int number) {  // number from 1
  static const std::string empty;
  return number >= 1 && number <= static_cast<int>(lines.size()) ? lines[static_cast<size_t>(number - 1)] : empty;
}

}  // namespace

bool LongerThanAResultTable(size_t lineCount) {
  return lineCount > static_cast<size_t>(fw::kDayHeaderLines + kMaxResultRows);
}

bool ReadResultTable(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  lines.clear();
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) return false;
  // Lines end at line feeds (as SplitTextLines splits them); counted before any is kept.
  const size_t breaks = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  const size_t count = breaks + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
  if (LongerThanAResultTable(count)) {
    if (error) *error = J("結果ファイル<") + path + J(">の行数が結果表の最大行数を超えています。");
    return false;
  }
  platform::SplitTextLines(bytes, lines);
  return true;
}

int TankColorNumber(int size) { return size == 3 ? 4 : 240 - 2 * size; }

int YearRowColorNumber(int row) { return 222 + row; }

// ---- CellTable

void CellTable::Resize(int cols, int rows) {
  cols_ = std::max(cols, 0);
  rows_ = std::max(rows, 0);
  cells_.assign(static_cast<size_t>(cols_) * static_cast<size_t>(rows_), std::string());
}

void CellTable::Clear() {
  for (auto& cell : cells_) cell.clear();
}

const std::string& CellTable::Cell(int col, int row) const {
  static const std::string empty;
  if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return empty;
  return cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)];
}

void CellTable::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
  cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)] = text;
}

double CellTable::Value(int col, int row) const { return fw::TextToFloat(Cell(col, row)); }

// ---- Year list

YearList BuildYearList(const std::vector<std::string>& yearLines) {
  YearList list;
  const bool complete = static_cast<int>(yearLines.size()) >= fw::kDayHeaderLines + kYearCount;
  for (int k = 1; k <= kYearCount; ++k)
    list.precipitation[static_cast<size_t>(k)] =
        static_cast<float>(fw::TextToFloat(Columns(Line(yearLines, fw::kDayHeaderLines + k), 29, 33)));
  if (complete) {
    fw::ArrayStats stats;
    fw::FloatArrayStats(kYearCount, std::span<const float>(list.precipitation.data() + 1, kYearCount), stats);
    list.representative = {0, stats.minIndex, stats.maxIndex, stats.nearestIndex};
    list.mean = stats.mean;
  }
  for (int k = 1; k <= kYearCount; ++k) {
    const std::string& line = Line(yearLines, fw::kDayHeaderLines + k);
    std::string year = Columns(line, 1, 4);
    if (year.empty()) year = std::to_string(kFirstYear + k - 1);
    std::string precip = Columns(line, 29, 33);
    precip.resize(5, ' ');
    list.items.push_back(year + J("年 ") + precip + "mm " + RepresentativeMark(list.representative, k));
  }
  return list;
}

std::string RepresentativeMark(const std::array<int, 4>& representative, int yearNumber) {
  if (yearNumber <= 0) return std::string();
  if (representative[1] == yearNumber) return J("最低");
  if (representative[2] == yearNumber) return J("最高");
  if (representative[3] == yearNumber) return J("平均");
  return std::string();
}

std::string AnnualMeanText(double mean) { return J("年平均降水量 ") + fw::FormatFixed(mean, 0) + " mm"; }

// ---- Analysis page

int AnalysisGroupStart(int graph) {
  switch (graph) {
    case 1:
    case 2:
      return 6;
    case 3:
      return 15;
    case 4:
      return 24;
    default:
      return 0;
  }
}

int AnalysisResultColumn(int graph, int col) {
  const int start = AnalysisGroupStart(graph);
  if (start == 0 || col < 1 || col > 14) return 0;
  return col <= 5 ? col : start + col - 6;
}

bool FillAnalysisTable(const std::vector<std::string>& yearLines, int graph, CellTable& table) {
  table.Resize(kAnalysisCols, kAnalysisRows);
  if (AnalysisGroupStart(graph) == 0) return false;
  // Rows 0..16 from lines 3..19.
  for (int row = 0; row <= kAnalysisMeanRow - 1; ++row) {
    const std::string& line = Line(yearLines, row + 3);
    if (row >= 2 && !line.empty()) table.SetCell(0, row, Columns(line, 1, 4));
    for (int col = 1; col <= 14; ++col) table.SetCell(col, row, ResultCell(line, AnalysisResultColumn(graph, col)));
  }
  // The mean row: result rows 1..15 are the lines 5..19.
  table.SetCell(0, kAnalysisMeanRow, J("平均"));
  for (int col = 1; col <= 14; ++col) {
    double sum = 0, mean = 0, maximum = 0, minimum = 0;
    fw::ColumnStats(yearLines, AnalysisResultColumn(graph, col), 1, kYearCount, sum, mean, maximum, minimum);
    const bool whole = col == 2 || (graph <= 2 && col >= 6);
    table.SetCell(col, kAnalysisMeanRow, fw::FloatToTextDigits(mean, 7, whole ? 0 : 1));
  }
  return true;
}

void FillFullTankTable(const std::vector<std::string>& fullLines, CellTable& table) {
  table.Resize(kFullTankCols, kFullTankRows);
  for (int col = 1; col <= 8; ++col) table.SetCell(col, 1, J(" 満水日"));
  for (int n = 1; n <= kYearCount + 1; ++n) {
    const std::string line = fw::ReplaceAll(" 0", " -", Line(fullLines, n));
    if (line.empty()) continue;
    const int row = n + 1;
    table.SetCell(0, row, n <= kYearCount ? Columns(line, 1, 4) : fw::TrimRight(Columns(line, 1, 9)));
    for (int col = 1; col <= 8; ++col) {
      const int first = 10 + 5 * (col - 1);
      table.SetCell(col, row, Columns(line, first, first + 4));
    }
  }
}

std::string BasicVolumeNote(double basicVolume) {
  return J("※貯水槽容量 1/4・1/2・1・1.5・2・3・4・5 倍を計算 ") + J("（基準容量=") + fw::FormatNumberN(0, basicVolume) +
         J(" ㍑）");
}

int AnalysisCellColorNumber(int graph, int col, int row, const std::string& text) {
  if (text == "    -") return kButtonFaceColorNumber;
  const bool yearRow = row >= 2 && row <= kYearCount + 1;
  if (graph == 2) return yearRow && col >= 6 && col <= 13 ? 250 - 2 * col : kButtonFaceColorNumber;
  return yearRow ? YearRowColorNumber(row) : kButtonFaceColorNumber;
}

// ---- Explanation

ConditionFigures ReadConditionFigures() {
  ConditionFigures f;
  f.roofArea = fw::GetVV8Value(fw::CalcData, 2100, 1);
  f.catchArea = fw::GetVV8Value(fw::CalcData, 2100, 2);
  f.basicVolume = fw::GetVV8Value(fw::CalcData, 3100, 3);
  f.dailyUse = static_cast<double>(fw::GetVV8Value(fw::CalcData, 4100, 8)) + fw::GetWW8Value(fw::CalcData, 4100, 8);
  return f;
}

std::string GraphCaption(int graph) {
  static const char* const kCaptions[] = {"【グラフ１】", "【グラフ２】", "【グラフ３】", "【グラフ４】"};
  return graph >= 1 && graph <= 4 ? J(kCaptions[graph - 1]) : std::string();
}

std::string ExplanationText(int graph, const ConditionFigures& f) {
  static const char* const kLeads[] = {
      "貯水槽容量の違いによって、どう利用日数が変化する", "降水によって集められた雨水を、どの程度の日数使用できる",
      "貯水槽に蓄える以外に、どの程度残りが下水道に流れ込む", "貯水槽に蓄えるこで、どの程度下水道に流れ込む量を抑制できる"};
  if (graph < 1 || graph > 4) return std::string();
  const std::string cr = "\r";
  std::string text = J(kLeads[graph - 1]) + J("のかを表します。") + cr;
  const auto n = [](double v) { return fw::FormatNumberN(0, v); };
  switch (graph) {
    case 1:
      text += J("また、満水日数は過度に大きい貯水槽の場合には０になります。") + cr + cr +
              J("※降水量の多い年が必ずしも利用日数が多い訳ではありません。") + cr +
              J("　タイミングよく雨が降ってくれると最高ですが、自然が相手ですからね。") + cr;
      break;
    case 2:
      text += J("斜めの線は倍率です。（１以下は次の場合が考えられます）") + cr + J("その１ ： 集水面積（") +
              n(f.catchArea) + J("㎡）の割りに貯水槽が小さい場合（") + n(f.basicVolume) + J("ﾘｯﾄﾙ）。") + cr +
              J("その２ ： 集水面積（") + n(f.catchArea) + J("㎡）の割りに雨水利用量が多い場合（") + n(f.dailyUse) +
              J("ﾘｯﾄﾙ/日）。") + cr;
      break;
    case 3:
      text += J("集水面積 ") + fw::FormatFixed(f.catchArea, 0) + J(" ㎡ が対象です。") + cr;
      break;
    default:
      text += J("全屋根面積 ") + fw::FormatFixed(f.roofArea, 0) + J(" ㎡ が対象です。") + cr;
      break;
  }
  return text + cr + J("※黒い太線は１５年間の平均値です。");
}

// ---- Weather lines

namespace {

// Bytes [from, from + count) of a line (1-based from), blank-padded when the line is short.
std::string Bytes(const std::string& line, size_t from, size_t count) {
  std::string s = line.size() >= from ? line.substr(from - 1, count) : std::string();
  s.resize(count, ' ');
  return s;
}

}  // namespace

std::string WeatherLineFileName(const std::string& resultPrefix) { return resultPrefix + "(HARV).DAT"; }

std::string WeatherLine(const std::string& dayLine) {
  const double p = fw::TextToFloat(Bytes(dayLine, 27, 7));
  if (!(p > 0)) return std::string();
  std::string line = Bytes(dayLine, 1, 10) + " " + Bytes(dayLine, 22, 5) + J("℃") + " " + Bytes(dayLine, 29, 5) + "mm";
  if (p >= 100) line += J(" ※");
  return line;
}

int WeatherLineYear(const std::string& line) { return static_cast<int>(fw::TextToInt(Columns(line, 1, 4))); }

int WeatherLinePrecip(const std::string& line) { return static_cast<int>(fw::TextToInt(Columns(line, 19, 24))); }

std::vector<std::string> FilterPrecipDays(const std::vector<std::string>& weatherLines, int threshold) {
  std::vector<std::string> kept;
  for (const auto& line : weatherLines)
    if (WeatherLinePrecip(line) >= threshold) kept.push_back(line);
  return kept;
}

int PrecipClass(int p) {
  if (p < 0) return -1;
  if (p >= 119) return kFrequencyClasses - 1;
  return (p + 1) / 2;
}

void CountPrecipFrequency(const std::vector<std::string>& weatherLines, FrequencyTable& table) {
  for (auto& year : table) year.fill(0);
  for (const auto& line : weatherLines) {
    const int year = WeatherLineYear(line);
    const int cls = PrecipClass(WeatherLinePrecip(line));
    if (year < kFirstYear || year > kLastYear || cls < 0) continue;
    ++table[static_cast<size_t>(year - kFirstYear + 1)][static_cast<size_t>(cls)];
  }
}

int PrecipDayCount(const FrequencyTable& table, int yearNumber) {
  if (yearNumber < 1 || yearNumber > kYearCount) return 0;
  int days = 0;
  for (int count : table[static_cast<size_t>(yearNumber)]) days += count;
  return days;
}

// ---- Screen state

Screen3Data::Screen3Data() { ResetTanksAndYears(); }

void Screen3Data::ResetTanksAndYears() {
  for (int size = 1; size <= 8; ++size) {
    tankColor[static_cast<size_t>(size)] = TankColorNumber(size);
    tankShownColor[static_cast<size_t>(size)] = TankColorNumber(size);
  }
  yearChecked.fill(true);
  yearChecked[0] = false;
}

}  // namespace app
