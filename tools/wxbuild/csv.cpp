#include "tools/wxbuild/csv.h"

#include <charconv>

#include "platform/files.h"
#include "platform/path.h"

namespace wxbuild {
namespace {

// Splits a line at commas.
void SplitCsv(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  size_t start = 0;
  while (true) {
    size_t comma = line.find(',', start);
    if (comma == std::string::npos) {
      fields.push_back(line.substr(start));
      return;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

}  // namespace

int Csv::Column(const std::string& name) const {
  for (size_t i = 0; i < header.size(); ++i)
    if (header[i] == name) return static_cast<int>(i);
  return -1;
}

bool ReadNativeFile(const std::string& nativePath, std::string& bytes, std::string& error) {
  std::string inside = platform::ToInsidePath(nativePath).value_or(std::string());
  if (inside.empty() || !platform::ReadFileBytes(inside, bytes)) {
    error = "cannot read " + nativePath;
    return false;
  }
  return true;
}

bool ParseCsv(const std::string& bytes, const std::string& name, const std::vector<std::string>& required, Csv& csv,
              std::vector<int>& columns, std::string& error) {
  csv = Csv();
  std::vector<std::string> lines;
  platform::SplitTextLines(bytes, lines);
  if (lines.empty()) {
    error = name + ": empty file";
    return false;
  }
  std::string first = lines[0];
  if (first.rfind("\xEF\xBB\xBF", 0) == 0) first.erase(0, 3);  // a UTF-8 byte-order mark
  SplitCsv(first, csv.header);
  columns.clear();
  for (const std::string& column : required) {
    int c = csv.Column(column);
    if (c < 0) {
      error = name + ": no column \"" + column + "\"";
      return false;
    }
    columns.push_back(c);
  }
  std::vector<std::string> fields;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    SplitCsv(lines[i], fields);
    if (fields.size() != csv.header.size()) {
      error = name + ":" + std::to_string(i + 1) + ": " + std::to_string(fields.size()) + " fields, expected " +
              std::to_string(csv.header.size());
      return false;
    }
    csv.rows.push_back(fields);
    csv.lineNos.push_back(static_cast<int>(i + 1));
  }
  return true;
}

bool ReadCsv(const std::string& nativePath, const std::vector<std::string>& required, Csv& csv,
             std::vector<int>& columns, std::string& error) {
  std::string bytes;
  return ReadNativeFile(nativePath, bytes, error) && ParseCsv(bytes, nativePath, required, csv, columns, error);
}

bool ParseDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace wxbuild
