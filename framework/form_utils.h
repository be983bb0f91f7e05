// Form utilities that need no widget: filling string lists from the shared tables, replacing
// text in every line of a list, and reading the day tables (the result text files: four
// header lines, then one row per line: 19 bytes of date and time, then value cells 7 bytes
// wide, the first at byte 20). The widget side is framework/ui/form_utils.h.
//
// Decisions kept on purpose:
// - Day-table cells are read 7 bytes whole ("2000.00", "15000.0"), and the record keeps the
//   values as real numbers (a temperature keeps its decimal).
// - ColumnStats starts its minimum and maximum from the first value and gives zeros for an
//   empty range.
// - Table indexes outside the table are skipped, never read.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fw {

// A numbered list item "%3d:%s".
std::string NumberedItem(int number, const std::string& text);

// Each clears the list first. `numbered` prefixes every item with its index ("%3d:%s").
// Entries first..last of a table whose entry i is table[i] (1-based use of index 0..).
void FillStringsFromTable(std::vector<std::string>& list, std::span<const std::string> table, int first, int last,
                          bool numbered);
// The first column of a table file (DataLoad), rows 1 to its row count.
void FillStringsFromFile(std::vector<std::string>& list, const std::string& path, bool numbered);
// The shared file-name table (TableBuffer.FileNames), entries 1 to its count.
void FillStringsFromFileList(std::vector<std::string>& list, bool numbered);
// Column `column` (0..16) of the shared table buffer, rows first..last (or all rows).
void FillStringsFromColumn(std::vector<std::string>& list, int first, int last, bool numbered, int column);
void FillStringsFromColumnAll(std::vector<std::string>& list, int column, bool numbered);

// Replaces every occurrence of oldText in every line (ReplaceAll).
void ReplaceInAllLines(std::vector<std::string>& lines, const std::string& oldText, const std::string& newText);

// ---- Day tables

constexpr int kDayHeaderLines = 4;
constexpr int kDayCellStart = 19;  // 0-based offset of the first value cell
constexpr int kDayCellWidth = 7;
constexpr int kDayMaxValues = 99;

// One row of a day table.
struct TDayRecord {
  int Row = 0;
  std::string DateKey = "000000000000";  // "yymmddhhmmss": the date and time cells reduced to digits
  int64_t DateValue = 0;                 // seconds since 1970/01/01 of the key
  int Year = 0;                          // the row's date: four-digit year, month, day
  int16_t Month = 0;
  int16_t Day = 0;
  std::array<double, kDayMaxValues + 1> Values{};  // values 1..99 (index 0 unused)
};

void InitDayRecord(TDayRecord& record);
// Row n (from 1) is line n + 3. Row 1 clears `count` and the record first. True when the row
// exists and its line is a data line (at least 27 bytes, a blank at byte 11): `count` becomes
// the number of value cells (at most 99) and the record is filled.
bool ReadDayRow(const std::vector<std::string>& lines, int n, int& count, TDayRecord& record);
// The 7-byte cell of column c (from 1) of row r as a number; 0 when empty or absent.
double ReadTableCell(const std::vector<std::string>& lines, int col, int row);
// Sum, mean, maximum and minimum of column `col` over rows first..last (all zero when last <
// first).
void ColumnStats(const std::vector<std::string>& lines, int col, int first, int last, double& sum, double& mean,
                 double& maximum, double& minimum);

}  // namespace fw
