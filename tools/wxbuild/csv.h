// Comma-separated observation files as the weather-data builder reads them: a header line
// naming the columns, then one row per line, every row with as many fields as the header.
// There are no quoted fields. Lines end in LF or CR LF; empty lines are skipped; a UTF-8
// byte-order mark before the header is ignored.
#pragma once

#include <string>
#include <vector>

namespace wxbuild {

struct Csv {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::vector<int> lineNos;  // line number (from 1) of each row
  int Column(const std::string& name) const;
};

// Parses `bytes` (`name` only for messages); `columns` gets the index of each required column.
// On failure `error` names the file and, for a bad row, the line.
bool ParseCsv(const std::string& bytes, const std::string& name, const std::vector<std::string>& required, Csv& csv,
              std::vector<int>& columns, std::string& error);
// The same for a file given by its native path.
bool ReadCsv(const std::string& nativePath, const std::vector<std::string>& required, Csv& csv,
             std::vector<int>& columns, std::string& error);
// The bytes of a file given by its native path; false with `error` naming it.
bool ReadNativeFile(const std::string& nativePath, std::string& bytes, std::string& error);

// A whole field as a number; false when empty or when anything else follows the number.
bool ParseDouble(const std::string& text, double& value);
bool ParseInt(const std::string& text, int& value);

}  // namespace wxbuild
