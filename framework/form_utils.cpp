#include "framework/form_utils.h"

#include <algorithm>
#include <cstdio>

#include "framework/convert.h"
#include "framework/table_file.h"

namespace fw {

std::string NumberedItem(int number, const std::string& text) {
  char head[16];
  std::snprintf(head, sizeof head, "%3d:", number);
  return head + text;
}

namespace {

void AddItem(std::vector<std::string>& list, int index, const std::string& text, bool numbered) {
  list.push_back(numbered ? NumberedItem(index, text) : text);
}

// The value cell starting at a 0-based byte offset of a line; 0 when the line is shorter.
double CellAt(const std::string& line, size_t offset) {
  if (offset >= line.size()) return 0;
  return TextToFloat(line.substr(offset, kDayCellWidth));
}

size_t CellOffset(int col) { return kDayCellStart + static_cast<size_t>(kDayCellWidth) * (col - 1); }

// Line index of day-table row r, or -1 when the list has no such row.
int RowLine(const std::vector<std::string>& lines, int row) {
  const int count = static_cast<int>(lines.size());
  if (count <= kDayHeaderLines - 1 || row < 1 || row > count - kDayHeaderLines) return -1;
  return row + kDayHeaderLines - 1;
}

}  // namespace

void FillStringsFromTable(std::vector<std::string>& list, std::span<const std::string> table, int first, int last,
                          bool numbered) {
  list.clear();
  const int end = std::min(last, static_cast<int>(table.size()) - 1);
  for (int i = std::max(first, 0); i <= end; ++i) AddItem(list, i, table[i], numbered);
}

void FillStringsFromFile(std::vector<std::string>& list, const std::string& path, bool numbered) {
  list.clear();
  DataLoad(path);
  FillStringsFromTable(list, TableBuffer.TableKeys, 1, TableBuffer.TableRows, numbered);
}

void FillStringsFromFileList(std::vector<std::string>& list, bool numbered) {
  FillStringsFromTable(list, TableBuffer.FileNames, 1, TableBuffer.FileNamesCount, numbered);
}

void FillStringsFromColumn(std::vector<std::string>& list, int first, int last, bool numbered, int column) {
  list.clear();
  if (column < 0 || column > kTableMaxCols) return;
  const int end = std::min(last, kTableMaxRows);
  for (int i = std::max(first, 0); i <= end; ++i) AddItem(list, i, TableBuffer.TableCells[i][column], numbered);
}

void FillStringsFromColumnAll(std::vector<std::string>& list, int column, bool numbered) {
  FillStringsFromColumn(list, 1, TableBuffer.TableRows, numbered, column);
}

void ReplaceInAllLines(std::vector<std::string>& lines, const std::string& oldText, const std::string& newText) {
  for (std::string& line : lines) line = ReplaceAll(oldText, newText, line);
}

// ---- Day tables ---------------------------------------------------------------------------------

void InitDayRecord(TDayRecord& record) { record = TDayRecord{}; }

bool ReadDayRow(const std::vector<std::string>& lines, int n, int& count, TDayRecord& record) {
  if (n == 1) {
    count = 0;
    InitDayRecord(record);
  }
  const int index = RowLine(lines, n);
  if (index < 0) return false;
  const std::string& line = lines[index];
  if (line.size() < 27 || line[10] != ' ') return false;

  count = std::min(static_cast<int>((line.size() - kDayCellStart) / kDayCellWidth), kDayMaxValues);
  InitDayRecord(record);
  record.Row = n;
  std::string digits;
  for (char c : line.substr(0, kDayCellStart))
    if (c >= '0' && c <= '9') digits += c;
  if (digits.size() > 12) digits.erase(0, digits.size() - 12);
  record.DateKey = std::string(12 - digits.size(), '0') + digits;
  record.DateValue = StampToSeconds(record.DateKey);
  record.Year = ExpandTwoDigitYear(static_cast<int>(TextToInt(record.DateKey.substr(0, 2))));
  record.Month = static_cast<int16_t>(TextToInt(record.DateKey.substr(2, 2)));
  record.Day = static_cast<int16_t>(TextToInt(record.DateKey.substr(4, 2)));
  for (int c = 1; c <= count; ++c) record.Values[c] = CellAt(line, CellOffset(c));
  return true;
}

double ReadTableCell(const std::vector<std::string>& lines, int col, int row) {
  const int index = RowLine(lines, row);
  if (index < 0 || col < 1) return 0;
  return CellAt(lines[index], CellOffset(col));
}

void ColumnStats(const std::vector<std::string>& lines, int col, int first, int last, double& sum, double& mean,
                 double& maximum, double& minimum) {
  sum = mean = maximum = minimum = 0;
  if (last < first) return;
  for (int r = first; r <= last; ++r) {
    const double v = ReadTableCell(lines, col, r);
    if (r == first) {
      maximum = minimum = v;
    } else {
      maximum = std::max(maximum, v);
      minimum = std::min(minimum, v);
    }
    sum += v;
  }
  mean = sum / (last - first + 1);
}

}  // namespace fw
