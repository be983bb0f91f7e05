#include "report/dataset.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <unordered_set>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/text_format.h"

namespace rpt {

namespace {

const TRptValue kNull{};

struct TypeName {
  TRptFieldType type;
  std::string_view name;
};
constexpr TypeName kTypeNames[] = {
    {TRptFieldType::ftUnknown, "Unknown"},   {TRptFieldType::ftString, "String"},
    {TRptFieldType::ftSmallint, "SmallInt"}, {TRptFieldType::ftInteger, "Integer"},
    {TRptFieldType::ftWord, "Word"},         {TRptFieldType::ftBoolean, "Boolean"},
    {TRptFieldType::ftFloat, "Float"},       {TRptFieldType::ftCurrency, "Currency"},
    {TRptFieldType::ftBCD, "BCD"},           {TRptFieldType::ftDate, "Date"},
    {TRptFieldType::ftTime, "Time"},         {TRptFieldType::ftDateTime, "DateTime"},
    {TRptFieldType::ftLargeint, "LargeInt"}, {TRptFieldType::ftMemo, "Memo"},
};

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && platform::UpperAscii(a) == platform::UpperAscii(b);
}

// The integer range of an integer field type.
bool IntegerRange(TRptFieldType type, int64_t& low, int64_t& high) {
  switch (type) {
    case TRptFieldType::ftSmallint:
      low = -32768, high = 32767;
      return true;
    case TRptFieldType::ftWord:
      low = 0, high = 65535;
      return true;
    case TRptFieldType::ftInteger:
      low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
      return true;
    case TRptFieldType::ftLargeint:
      low = std::numeric_limits<int64_t>::min(), high = std::numeric_limits<int64_t>::max();
      return true;
    default:
      return false;
  }
}

bool IsFloatType(TRptFieldType type) {
  switch (type) {
    case TRptFieldType::ftFloat:
    case TRptFieldType::ftCurrency:
    case TRptFieldType::ftBCD:
    case TRptFieldType::ftDate:
    case TRptFieldType::ftTime:
    case TRptFieldType::ftDateTime:
      return true;
    default:
      return false;
  }
}

bool IsTextType(TRptFieldType type) {
  return type == TRptFieldType::ftString || type == TRptFieldType::ftMemo || type == TRptFieldType::ftUnknown;
}

// A value brought to the field type's kind in `out`; false when it cannot be.
bool ConformValue(const TRptValue& value, TRptFieldType type, TRptValue& out) {
  out = value;
  if (std::holds_alternative<std::monostate>(value)) return true;
  int64_t low = 0, high = 0;
  if (IntegerRange(type, low, high)) {
    const int64_t* i = std::get_if<int64_t>(&value);
    return i && *i >= low && *i <= high;
  }
  if (IsFloatType(type)) {
    if (const int64_t* i = std::get_if<int64_t>(&value)) {
      out = static_cast<double>(*i);
      return true;
    }
    const double* f = std::get_if<double>(&value);
    return f && std::isfinite(*f);
  }
  if (type == TRptFieldType::ftBoolean) return std::holds_alternative<bool>(value);
  return std::holds_alternative<std::string>(value);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A cell text as a value of the type in `out`; false when it does not read as one.
bool CellValue(std::string_view cell, bool quoted, TRptFieldType type, TRptValue& out) {
  out = std::monostate{};
  if (IsTextType(type)) {
    if (!cell.empty() || quoted) out = std::string(cell);
    return true;
  }
  const std::string_view t = TrimBlanks(cell);
  if (t.empty()) return true;
  int64_t low = 0, high = 0;
  if (IntegerRange(type, low, high)) {
    std::string_view digits = t;
    if (digits.front() == '+') digits.remove_prefix(1);
    int64_t v = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || v < low || v > high) return false;
    out = v;
    return true;
  }
  std::optional<double> number;
  switch (type) {
    case TRptFieldType::ftBoolean:
      if (!SameName(t, "TRUE") && !SameName(t, "FALSE")) return false;
      out = SameName(t, "TRUE");
      return true;
    case TRptFieldType::ftDate:
      number = platform::TextToDate(t);
      break;
    case TRptFieldType::ftTime:
      number = platform::TextToTime(t);
      break;
    case TRptFieldType::ftDateTime:
      number = platform::TextToDateTime(t);
      break;
    default: {
      std::string_view text = t;
      if (text.front() == '+') text.remove_prefix(1);
      double v = 0;
      const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(v)) number = v;
    }
  }
  if (!number) return false;
  out = *number;
  return true;
}

// Whether position i ends a cell: the end of the text, ",", LF, or CR before LF or at the end.
bool AtCellEnd(std::string_view text, size_t i) {
  if (i >= text.size() || text[i] == ',' || text[i] == '\n') return true;
  return text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n');
}

// One CSV record: its cells, whether each was quoted, and the line it started on.
struct CsvRecord {
  std::vector<std::string> cells;
  std::vector<bool> quoted;
  int line = 0;
};

// Splits a CSV text into records. False with `error` for an unterminated quote or a closing
// quote followed by anything but "," or a line end.
bool SplitCsv(std::string_view text, std::vector<CsvRecord>& records, std::string& error) {
  size_t i = 0;
  int line = 1;
  while (i < text.size()) {
    // An empty line (or the end of the text) holds no record.
    if (text[i] == '\n' || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      i += text[i] == '\r' ? 2 : 1;
      ++line;
      continue;
    }
    CsvRecord record;
    record.line = line;
    for (;;) {
      std::string cell;
      bool quoted = false;
      if (i < text.size() && text[i] == '"') {
        quoted = true;
        ++i;
        for (;;) {
          if (i >= text.size()) {
            error = "line " + std::to_string(record.line) + ": a quoted cell is not closed";
            return false;
          }
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              cell += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++line;
          cell += text[i++];
        }
        if (!AtCellEnd(text, i)) {
          error = "line " + std::to_string(line) + ": text after a closing quote";
          return false;
        }
      } else {
        const size_t start = i;
        while (i < text.size() && text[i] != ',' && text[i] != '\n') ++i;
        size_t end = i;
        if (end > start && text[end - 1] == '\r' && (end == text.size() || text[end] == '\n')) --end;
        cell.assign(text.substr(start, end - start));
      }
      record.cells.push_back(std::move(cell));
      record.quoted.push_back(quoted);
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      // The end of the record: a line end (CR LF or LF) or the end of the text.
      if (i < text.size() && text[i] == '\r') ++i;
      if (i < text.size() && text[i] == '\n') {
        ++i;
        ++line;
      }
      break;
    }
    records.push_back(std::move(record));
  }
  return true;
}

bool ParseHeader(const CsvRecord& header, std::vector<TRptFieldDef>& defs, std::string& error) {
  std::unordered_set<std::string> seen;  // the names so far in upper case: one look-up per name
  seen.reserve(header.cells.size());
  for (const std::string& cell : header.cells) {
    TRptFieldDef def;
    std::string_view text = cell;
    const size_t colon = text.rfind(':');
    std::string_view name = text;
    if (colon != std::string_view::npos) {
      name = text.substr(0, colon);
      const std::string_view typeName = TrimBlanks(text.substr(colon + 1));
      bool found = false;
      for (const TypeName& t : kTypeNames)
        if (t.type != TRptFieldType::ftUnknown && SameName(t.name, typeName)) {
          def.type = t.type;
          found = true;
        }
      if (!found) {
        error = "line 1: unknown field type \"" + std::string(typeName) + "\"";
        return false;
      }
    }
    name = TrimBlanks(name);
    if (name.empty()) {
      error = "line 1: a field has no name";
      return false;
    }
    if (!seen.insert(platform::UpperAscii(name)).second) {
      error = "line 1: the field name \"" + std::string(name) + "\" is used twice";
      return false;
    }
    def.name = std::string(name);
    defs.push_back(std::move(def));
  }
  return true;
}

}  // namespace

std::string_view FieldTypeName(TRptFieldType type) {
  for (const TypeName& t : kTypeNames)
    if (t.type == type) return t.name;
  return "Unknown";
}

std::string ValueAsString(const TRptValue& value, TRptFieldType type) {
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  if (const int64_t* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
  if (const bool* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
  if (const double* f = std::get_if<double>(&value)) {
    switch (type) {
      case TRptFieldType::ftDate:
        return platform::DateToText(*f);
      case TRptFieldType::ftTime:
        return platform::TimeToText(*f);
      case TRptFieldType::ftDateTime:
        return platform::DateTimeToText(*f);
      default:
        return platform::FloatToText(*f);
    }
  }
  return "";
}

int32_t ValueAsInteger(const TRptValue& value) {
  constexpr int64_t kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();
  if (const int64_t* i = std::get_if<int64_t>(&value)) return static_cast<int32_t>(std::clamp(*i, kLow, kHigh));
  if (const double* f = std::get_if<double>(&value)) {
    if (std::isnan(*f)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(*f), static_cast<double>(kLow), static_cast<double>(kHigh)));
  }
  if (const bool* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  return 0;
}

double ValueAsFloat(const TRptValue& value) {
  if (const double* f = std::get_if<double>(&value)) return *f;
  if (const int64_t* i = std::get_if<int64_t>(&value)) return static_cast<double>(*i);
  if (const bool* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  return 0;
}

bool ValueAsBoolean(const TRptValue& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b;
  if (const int64_t* i = std::get_if<int64_t>(&value)) return *i != 0;
  if (const double* f = std::get_if<double>(&value)) return *f != 0;
  return false;
}

// ---------------------------------------------------------------------------------------------
// Fields

TRptField::TRptField(const TRptDataSet& owner, int index, TRptFieldDef def)
    : owner_(owner), index_(index), def_(std::move(def)) {}

const TRptValue& TRptField::Value() const { return owner_.CurrentValue(index_); }
bool TRptField::IsNull() const { return std::holds_alternative<std::monostate>(Value()); }
std::string TRptField::AsString() const { return ValueAsString(Value(), def_.type); }
int32_t TRptField::AsInteger() const { return ValueAsInteger(Value()); }
double TRptField::AsFloat() const { return ValueAsFloat(Value()); }
bool TRptField::AsBoolean() const { return ValueAsBoolean(Value()); }

// ---------------------------------------------------------------------------------------------
// Data sets

TRptDataSet::TRptDataSet(std::string name) : name_(std::move(name)) {}
TRptDataSet::~TRptDataSet() = default;

void TRptDataSet::Open() {
  if (active_) return;
  std::vector<TRptFieldDef> defs = DoOpen();
  fields_.clear();
  for (size_t k = 0; k < defs.size(); ++k)
    fields_.push_back(std::make_unique<TRptField>(*this, static_cast<int>(k), std::move(defs[k])));
  active_ = true;
  First();
}

void TRptDataSet::Close() {
  if (!active_) return;
  active_ = false;
  fields_.clear();
  DoClose();
}

TRptField* TRptDataSet::Field(int index) const {
  if (index < 0 || index >= FieldCount()) return nullptr;
  return fields_[static_cast<size_t>(index)].get();
}

TRptField* TRptDataSet::FindField(std::string_view name) const {
  for (const auto& f : fields_)
    if (SameName(f->FieldName(), name)) return f.get();
  return nullptr;
}

TRptParam* TRptDataSet::FindParam(std::string_view name) {
  for (int k = 0; k < ParamCount(); ++k) {
    TRptParam* p = Param(k);
    if (p && SameName(p->name, name)) return p;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Table

TTable::~TTable() = default;

void TTable::RequireClosed(const char* what) const {
  if (Active()) throw std::logic_error(std::string(what) + ": the table " + Name() + " is open");
}

void TTable::AddFieldDef(std::string name, TRptFieldType type) {
  RequireClosed("AddFieldDef");
  if (!rows_.empty()) throw std::logic_error("AddFieldDef: the table " + Name() + " has rows");
  defs_.push_back({std::move(name), type});
}

void TTable::AppendRow(std::vector<TRptValue> values) {
  RequireClosed("AppendRow");
  if (values.size() != defs_.size()) throw std::invalid_argument("AppendRow: one value per field expected");
  for (size_t k = 0; k < values.size(); ++k) {
    TRptValue v;
    if (!ConformValue(values[k], defs_[k].type, v))
      throw std::invalid_argument("AppendRow: a value does not suit the field " + defs_[k].name);
    values[k] = std::move(v);
  }
  rows_.push_back(std::move(values));
}

void TTable::ClearRows() {
  RequireClosed("ClearRows");
  rows_.clear();
}

bool TTable::LoadFromCsvText(std::string_view csv, std::string* error) {
  std::string message;
  std::vector<CsvRecord> records;
  std::vector<TRptFieldDef> defs;
  std::vector<std::vector<TRptValue>> rows;
  bool ok = SplitCsv(csv, records, message);
  if (ok && records.empty()) {
    message = "the text holds no field names";
    ok = false;
  }
  if (ok) ok = ParseHeader(records[0], defs, message);
  for (size_t r = 1; ok && r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    if (record.cells.size() != defs.size()) {
      message = "line " + std::to_string(record.line) + ": " + std::to_string(record.cells.size()) +
                " cells for " + std::to_string(defs.size()) + " fields";
      ok = false;
      break;
    }
    std::vector<TRptValue> row;
    row.reserve(defs.size());
    for (size_t k = 0; k < defs.size(); ++k) {
      TRptValue v;
      if (!CellValue(record.cells[k], record.quoted[k], defs[k].type, v)) {
        message = "line " + std::to_string(record.line) + ", field " + defs[k].name + ": \"" +
                  record.cells[k].substr(0, platform::WholeCharPrefix(record.cells[k], 40)) + "\" is not a " +
                  std::string(FieldTypeName(defs[k].type)) + " value";
        ok = false;
        break;
      }
      row.push_back(std::move(v));
    }
    rows.push_back(std::move(row));
  }
  if (!ok) {
    if (error) *error = message;
    return false;
  }
  Close();
  defs_ = std::move(defs);
  rows_ = std::move(rows);
  return true;
}

bool TTable::LoadFromCsvFile(const std::string& path, std::string* error) {
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    if (error) *error = path + ": the file cannot be read";
    return false;
  }
  std::string message;
  if (!LoadFromCsvText(bytes, &message)) {
    if (error) *error = path + ": " + message;
    return false;
  }
  return true;
}

std::vector<TRptFieldDef> TTable::DoOpen() {
  view_.clear();
  for (size_t r = 0; r < rows_.size(); ++r)
    if (RowVisible(rows_[r])) view_.push_back(r);
  cursor_ = 0;
  return defs_;
}

void TTable::DoClose() {
  view_.clear();
  cursor_ = 0;
}

void TTable::First() { cursor_ = 0; }

void TTable::Next() {
  if (cursor_ < view_.size()) ++cursor_;
}

void TTable::Prior() {
  if (cursor_ > 0) --cursor_;
}

bool TTable::Eof() const { return !Active() || cursor_ >= view_.size(); }

std::optional<int> TTable::RecordCount() const { return static_cast<int>(view_.size()); }

const TRptValue& TTable::CurrentValue(int index) const {
  if (Eof() || index < 0 || index >= static_cast<int>(defs_.size())) return kNull;
  return rows_[view_[cursor_]][static_cast<size_t>(index)];
}

// ---------------------------------------------------------------------------------------------
// Query

TRptParam& TQuery::AddParam(std::string name, TRptFieldType type) {
  if (TRptParam* p = FindParam(name)) return *p;
  params_.push_back(TRptParam{std::move(name), type, {}});
  return params_.back();
}

TRptParam* TQuery::Param(int index) {
  if (index < 0 || index >= ParamCount()) return nullptr;
  return &params_[static_cast<size_t>(index)];
}

bool TQuery::RowVisible(const std::vector<TRptValue>& row) const {
  const std::vector<TRptFieldDef>& defs = FieldDefs();
  for (const TRptParam& p : params_) {
    if (p.IsNull()) continue;
    for (size_t k = 0; k < defs.size(); ++k) {
      if (!SameName(defs[k].name, p.name)) continue;
      const TRptValue& cell = row[k];
      if (std::holds_alternative<std::monostate>(cell)) return false;
      const TRptFieldType type = defs[k].type;
      bool equal = false;
      if (type == TRptFieldType::ftBoolean) {
        equal = ValueAsBoolean(cell) == ValueAsBoolean(p.value);
      } else if (IsTextType(type)) {
        equal = ValueAsString(cell, type) == ValueAsString(p.value, p.dataType);
      } else if (const std::string* s = std::get_if<std::string>(&p.value)) {
        TRptValue v;
        equal = CellValue(*s, false, type, v) && !std::holds_alternative<std::monostate>(v) &&
                ValueAsFloat(v) == ValueAsFloat(cell);
      } else {
        equal = ValueAsFloat(cell) == ValueAsFloat(p.value);
      }
      if (!equal) return false;
    }
  }
  return true;
}

}  // namespace rpt
