// The fixed-width table file and the one program-wide table buffer.
//
// Most of the program's tables are CP932 text files in one layout:
//   line 1       row count N and column count M, free-form integers separated by blanks
//                (the writer right-aligns each in 6 characters);
//   line 2       M column widths, each right-aligned in a 6-character field;
//   lines 3..N+2 one row per line, column j in the next TableWidths[j] bytes; a field is its
//                byte span with blanks trimmed on both sides.
// Limits: 1 <= N <= 999 (a declared N of 1000 or more is cut to 999 after error notes 521 and
// 522), 1 <= M <= 16. Lines are written with CR LF; LF and a last line without a line end are
// read as well. A file with fewer row lines than declared gives empty rows for the rest.
//
// DataLoad overwrites the buffer; readers copy what they need out of it at once. Folder
// listings (ListFiles) also land in the buffer's FileNames.
//
// DataSave writes through a temporary file and a rename, so a failed save leaves the old file
// as it was. It refuses a buffer it could not read back: no rows, more than 999 rows, 0 or more
// than 16 columns, a negative width, and a field that does not fit its column (wider than the
// width, or holding a line break); the refusal is an error note naming file, row and column.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

namespace fw {

constexpr int kTableMaxRows = 999;
constexpr int kTableMaxCols = 16;

// Indexes are 1-based throughout: row i of the file is TableKeys[i] and TableCells[i][...].
struct TTableBuffer {
  int TableRows = 0;                       // N of the last load, 0 after a failure
  int TableCols = 0;                       // M of the last load
  std::array<int, 21> TableWidths{};       // [1..20] column widths
  std::array<int, 23> TableStarts{};       // [1..22] start offsets; [21] total width, [22] row count
  std::array<std::string, 1000> TableKeys;                 // [0..999] first column (0 cleared on load)
  std::array<std::array<std::string, 17>, 1000> TableCells;  // [0..999][1..16]; [i][1] == TableKeys[i]
  std::array<std::string, 1000> FileNames;  // [0..999] first column, or the names of a folder listing
  int FileNamesCount = 0;
  int FileNamesLongest = 0;                 // byte length of the longest FileNames entry
  std::array<int, 1000> TableOrder{};       // [1..999] row order, 1..N after a load
  bool TableLoaded = false;
};

extern TTableBuffer TableBuffer;

// Reads the table file at `path` into TableBuffer; returns TableLoaded. A missing file gives
// the file-check note (and, for the settings file "利用環境.WIN", a warning dialog); an
// unreadable header the "読めないぞ" note. Either way the buffer is left empty
// (TableRows, TableCols, FileNamesCount 0, TableLoaded false). ErrorNo = the I/O result:
// 0, 100 when the file cannot be read, 106 when line 1 does not hold two integers (and 522
// after a table cut to 999 rows).
bool DataLoad(const std::string& path);
// Writes TableRows rows of TableCols columns (TableWidths, TableKeys, TableCells[i][2..]) to
// `path`; returns whether the file was written. A protected (hidden or read-only) target gives
// error 511; a write that fails sets ErrorNo to 101.
bool DataSave(const std::string& path);
// When the file exists: loads it and shows the first-column texts joined by CR in an
// information dialog.
void LoadTableAsText(const std::string& path);

// 1-based index of the first of texts[1..count] equal to `text` (exact comparison); 0 when
// none or when `text` is empty. Entries beyond the span are not searched. Sets FoundFlag.
int FindInTable(int count, std::span<const std::string> texts, const std::string& text);
// 1-based index of the first item equal to `text` after both lose a "label:" prefix and are
// upper-cased (StripLabelPrefix, UpperCaseJ); 0 when none, when the list is empty or when
// `text` is empty. Sets FoundFlag.
int FindInStrings(std::span<const std::string> items, const std::string& text);

}  // namespace fw
