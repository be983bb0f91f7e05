#include "framework/table_file.h"

#include <algorithm>
#include <charconv>

#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/mbcs.h"

namespace fw {

TTableBuffer TableBuffer;

namespace {

using platform::J;

// I/O results kept in ErrorNo (the numbering of the classic runtime errors).
constexpr int kReadError = 100;     // the file could not be read
constexpr int kWriteError = 101;    // the file could not be written
constexpr int kBadNumber = 106;     // line 1 does not hold two integers
constexpr int kCountField = 6;      // counts and widths are written right-aligned in 6 characters
constexpr int kWidthLimit = 999999; // the largest width a 6-character field holds

// The file name without its folder; the last '\' that is not the trail byte of a double-byte
// character ends the folder.
std::string NameWithoutFolder(const std::string& path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (platform::IsCp932LeadByte(static_cast<unsigned char>(path[i])))
      ++i;
    else if (path[i] == '\\')
      start = i + 1;
  }
  return path.substr(std::min(start, path.size()));
}

// Line 1: two integers separated by blanks (tabs count as blanks); anything after them is
// ignored. False when either is missing or not a whole number.
bool ReadCounts(const std::string& line, int& rows, int& cols) {
  const char* p = line.data();
  const char* end = p + line.size();
  for (int* target : {&rows, &cols}) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p < end && *p == '+') ++p;
    auto [next, ec] = std::from_chars(p, end, *target);
    if (ec != std::errc() || (next < end && *next != ' ' && *next != '\t')) return false;
    p = next;
  }
  return true;
}

// The field of `line` at byte offset `start`, `width` bytes, trimmed on both sides; a line
// shorter than the field gives a shorter or empty field.
std::string FieldAt(const std::string& line, int start, int width) {
  if (start < 0 || static_cast<size_t>(start) >= line.size() || width <= 0) return {};
  return TrimBoth(line.substr(start, width));
}

void ClearLoad(TTableBuffer& t) {
  t.TableRows = 0;
  t.TableCols = 0;
  t.FileNamesCount = 0;
  t.TableLoaded = false;
}

void CannotWrite(const std::string& path) {
  ShowErrorStatus(J("あれっ？〔") + NameWithoutFolder(path) + J("〕ファイルに書き込めないぞ。(DataSave)"));
}

}  // namespace

bool DataLoad(const std::string& path) {
  TTableBuffer& t = TableBuffer;
  if (!FileCheck(path, 1)) {
    ClearLoad(t);
    if (ContainsStr(J("利用環境.WIN"), path))
      MsgDialog(J("ファイル名 ： ") + path + "\r\r" + J("〔利用環境.WIN〕ファイルが見つからないので実行できません。"), 3, 1);
    return false;
  }

  std::vector<std::string> lines;
  int rows = 0;
  int cols = 0;
  if (!platform::ReadTextLines(path, lines))
    ErrorNo = kReadError;
  else if (lines.empty() || !ReadCounts(lines[0], rows, cols))
    ErrorNo = kBadNumber;
  else
    ErrorNo = 0;

  std::array<int, 21> widths{};
  bool readable = ErrorNo == 0 && rows > 0 && cols > 0 && cols <= kTableMaxCols;
  if (readable) {
    const std::string widthLine = lines.size() > 1 ? lines[1] : std::string();
    for (int j = 1; j <= cols; ++j) {
      const size_t at = static_cast<size_t>(kCountField * (j - 1));
      widths[j] = at < widthLine.size() ? static_cast<int>(TextToInt(widthLine.substr(at, kCountField))) : 0;
      if (widths[j] < 0) readable = false;
    }
  }
  if (!readable) {
    ShowErrorStatus(J("あれっ？〔") + NameWithoutFolder(path) + J("〕ファイルが読めないぞ。(DataLoad)"));
    ClearLoad(t);
    return false;
  }

  if (rows > kTableMaxRows) {
    ShowErrorNo(521);
    ShowErrorNo(522);
    rows = kTableMaxRows;
  }
  t.TableStarts[1] = 0;
  int total = 0;
  for (int j = 1; j <= cols; ++j) {
    t.TableWidths[j] = widths[j];
    t.TableStarts[j + 1] = t.TableStarts[j] + widths[j];
    total += widths[j];
    t.TableCells[0][j].clear();
  }
  t.TableKeys[0].clear();

  static const std::string kMissingLine;
  t.FileNamesLongest = 0;
  for (int i = 1; i <= rows; ++i) {
    const size_t lineIndex = static_cast<size_t>(i) + 1;
    const std::string& line = lineIndex < lines.size() ? lines[lineIndex] : kMissingLine;
    const std::string key = FieldAt(line, 0, widths[1]);
    t.TableKeys[i] = key;
    t.TableCells[i][1] = key;
    t.FileNames[i] = key;
    t.FileNamesLongest = std::max(t.FileNamesLongest, static_cast<int>(key.size()));
    for (int j = 2; j <= cols; ++j) t.TableCells[i][j] = FieldAt(line, t.TableStarts[j], widths[j]);
    t.TableOrder[i] = i;
  }

  t.TableRows = rows;
  t.TableCols = cols;
  t.TableStarts[21] = total;
  t.TableStarts[22] = rows;
  t.FileNamesCount = rows;
  t.TableLoaded = true;
  return true;
}

bool DataSave(const std::string& path) {
  const TTableBuffer& t = TableBuffer;
  const std::string kind = FileKindText(path);
  if (kind != "NoFile" && kind != "Archive") {
    ShowErrorNo(511);
    return false;
  }

  // Refuse what could not be read back as it stands in the buffer.
  bool valid = t.TableRows >= 1 && t.TableRows <= kTableMaxRows && t.TableCols >= 1 && t.TableCols <= kTableMaxCols;
  for (int j = 1; valid && j <= t.TableCols; ++j) valid = t.TableWidths[j] >= 0 && t.TableWidths[j] <= kWidthLimit;
  if (!valid) {
    CannotWrite(path);
    return false;
  }

  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(t.TableRows) + 2);
  lines.push_back(IntToStrWidth(kCountField, t.TableRows) + IntToStrWidth(kCountField, t.TableCols));
  std::string widthLine;
  for (int j = 1; j <= t.TableCols; ++j) widthLine += IntToStrWidth(kCountField, t.TableWidths[j]);
  lines.push_back(widthLine);

  for (int i = 1; i <= t.TableRows; ++i) {
    std::string row;
    for (int j = 1; j <= t.TableCols; ++j) {
      const std::string& field = j == 1 ? t.TableKeys[i] : t.TableCells[i][j];
      const int width = t.TableWidths[j];
      if (static_cast<int>(field.size()) > width || field.find_first_of("\r\n") != std::string::npos) {
        // A field that does not fit would shift the rest of its row (or start a new row).
        ShowErrorStatus(J("あれっ？〔") + NameWithoutFolder(path) + J("〕") + std::to_string(i) + J("行") +
                        std::to_string(j) + J("列目が幅") + std::to_string(width) +
                        J("に収まらないので書き込めないぞ。(DataSave)"));
        return false;
      }
      row += PadLeft(field, width);
    }
    lines.push_back(std::move(row));
  }

  if (!platform::WriteTextLinesAtomic(path, lines)) {
    ErrorNo = kWriteError;
    CannotWrite(path);
    return false;
  }
  return true;
}

void LoadTableAsText(const std::string& path) {
  if (!FileCheck(path, 0) || !DataLoad(path)) return;
  std::string text;
  for (int i = 1; i <= TableBuffer.TableRows; ++i) {
    if (i > 1) text += '\r';
    text += TableBuffer.TableKeys[i];
  }
  MsgDialog(text, 1, 1);
}

int FindInTable(int count, std::span<const std::string> texts, const std::string& text) {
  int found = 0;
  if (!text.empty()) {
    const int last = std::min<int>(count, static_cast<int>(texts.size()) - 1);
    for (int i = 1; i <= last; ++i)
      if (texts[i] == text) {
        found = i;
        break;
      }
  }
  FoundFlag = found > 0;
  return found;
}

int FindInStrings(std::span<const std::string> items, const std::string& text) {
  int found = 0;
  if (!text.empty()) {
    const std::string key = UpperCaseJ(StripLabelPrefix(text));
    for (size_t k = 0; k < items.size(); ++k)
      if (UpperCaseJ(StripLabelPrefix(items[k])) == key) {
        found = static_cast<int>(k) + 1;
        break;
      }
  }
  FoundFlag = found > 0;
  return found;
}

}  // namespace fw
