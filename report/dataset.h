// Data sets as the report sees them: a named, openable list of records with typed fields and,
// for queries, named parameters. The evaluator reads fields of the current record; the
// controllers walk the records and set query parameters.
//
// Two in-memory data sets are provided. `TTable` holds rows given in code or read from a CP932
// CSV text or file. `TQuery` is a table whose parameters filter its rows: each parameter that is
// not null and names a field keeps only the rows whose field equals the parameter's value; the
// filter is applied whenever the query opens, so closing and reopening it after changing a
// parameter re-filters.
//
// Fields are the data set's default fields: created from the field definitions when the data
// set opens and freed when it closes, so a field object is valid only while the data set stays
// open (the evaluator fetches a default field again by its index).
//
// CSV form read by `TTable::LoadFromCsvText` / `LoadFromCsvFile`:
//   - the first record names the fields: "NAME" or "NAME:TYPE", TYPE one of String, SmallInt,
//     Integer, Word, Boolean, Float, Currency, BCD, Date, Time, DateTime, LargeInt, Memo (either
//     case; String when left out); names are unique regardless of the case of ASCII letters;
//   - every further record holds one cell per field, separated by ","; a cell in double quotes
//     may hold "," and line breaks, and "" stands for one quote; lines end in CR LF or LF; empty
//     lines are skipped;
//   - an empty cell is null; other cells must read as their field's type: integers in the
//     type's range (SmallInt -32768..32767, Word 0..65535, Integer 32 bits, LargeInt 64 bits),
//     floats as decimal numbers (finite), booleans as "True" or "False" (either case), dates as
//     "yyyy/mm/dd", times as "h:nn[:ss]", date-times as a date, a blank and a time; blanks around
//     such cells are ignored; text cells are kept as they stand.
// A text that breaks these rules is refused as a whole with a message naming the line (and the
// file); the table keeps what it held before.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rpt {

enum class TRptFieldType : uint8_t {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftLargeint,
  ftMemo
};

// A cell or parameter value: null, or an integer, a float (also dates and times as day counts),
// a boolean or a text.
using TRptValue = std::variant<std::monostate, int64_t, double, bool, std::string>;

// The type's name as the CSV header writes it ("Integer", "DateTime", ...).
std::string_view FieldTypeName(TRptFieldType type);

// A value of a given type in the forms the report reads. Null reads as "", 0 and false.
std::string ValueAsString(const TRptValue& value, TRptFieldType type);
int32_t ValueAsInteger(const TRptValue& value);  // held to the 32-bit range; floats truncated
double ValueAsFloat(const TRptValue& value);
bool ValueAsBoolean(const TRptValue& value);

class TRptDataSet;

struct TRptFieldDef {
  std::string name;
  TRptFieldType type = TRptFieldType::ftString;
};

class TRptField {
 public:
  TRptField(const TRptDataSet& owner, int index, TRptFieldDef def);

  const std::string& FieldName() const { return def_.name; }
  TRptFieldType DataType() const { return def_.type; }
  int Index() const { return index_; }
  const TRptValue& Value() const;  // of the current record; null past the end
  bool IsNull() const;
  std::string AsString() const;
  int32_t AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;

 private:
  const TRptDataSet& owner_;
  int index_;
  TRptFieldDef def_;
};

struct TRptParam {
  std::string name;
  TRptFieldType dataType = TRptFieldType::ftUnknown;
  TRptValue value;

  bool IsNull() const { return std::holds_alternative<std::monostate>(value); }
  void Clear() { value = std::monostate{}; }
};

class TRptDataSet {
 public:
  explicit TRptDataSet(std::string name = {});
  virtual ~TRptDataSet();
  TRptDataSet(const TRptDataSet&) = delete;
  TRptDataSet& operator=(const TRptDataSet&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  bool Active() const { return active_; }
  // Opening creates the default fields and goes to the first record; closing frees them.
  void Open();
  void Close();
  void SetActive(bool active) { active ? Open() : Close(); }

  // Record navigation (no effect while closed, where Eof is true).
  virtual void First() = 0;
  virtual void Next() = 0;
  // Back one record (none before the first).
  virtual void Prior() = 0;
  virtual bool Eof() const = 0;
  // The number of records, or nothing when it cannot be had.
  virtual std::optional<int> RecordCount() const = 0;

  // Fields of the open data set by index (nullptr outside 0..count-1) and by name (ASCII
  // letters compared in either case; nullptr when there is none).
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TRptField* Field(int index) const;
  TRptField* FindField(std::string_view name) const;
  // Whether the fields are default fields, created anew at every opening.
  virtual bool DefaultFields() const { return true; }

  // The value of field `index` in the current record (null when there is none).
  virtual const TRptValue& CurrentValue(int index) const = 0;

  // Query parameters (none unless the data set has them).
  virtual int ParamCount() const { return 0; }
  virtual TRptParam* Param(int /*index*/) { return nullptr; }
  TRptParam* FindParam(std::string_view name);

 protected:
  // The field definitions of the data set about to open (and its records made ready).
  virtual std::vector<TRptFieldDef> DoOpen() = 0;
  virtual void DoClose() {}

 private:
  std::string name_;
  bool active_ = false;
  std::vector<std::unique_ptr<TRptField>> fields_;
};

// The data-set list of an evaluator or environment: data sets not owned by the list.
using TRptDataSetList = std::vector<TRptDataSet*>;

// Where an evaluator or environment keeps its data-set list: one set from outside (not owned),
// or else an empty one created and owned on the first request.
class TRptDataSetListSlot {
 public:
  TRptDataSetList* Get() {
    if (!list_) {
      owned_ = std::make_unique<TRptDataSetList>();
      list_ = owned_.get();
    }
    return list_;
  }
  // A different list frees the owned one.
  void Set(TRptDataSetList* list) {
    if (list == list_) return;
    owned_.reset();
    list_ = list;
  }
  // The list without creating one (nullptr when there is none).
  TRptDataSetList* Current() const { return list_; }

 private:
  TRptDataSetList* list_ = nullptr;
  std::unique_ptr<TRptDataSetList> owned_;
};

class TTable : public TRptDataSet {
 public:
  using TRptDataSet::TRptDataSet;
  ~TTable() override;

  // Definitions and rows may be changed only while the table is closed (std::logic_error).
  void AddFieldDef(std::string name, TRptFieldType type);
  const std::vector<TRptFieldDef>& FieldDefs() const { return defs_; }
  // One value per field definition, each null or of the field's kind (integers for the integer
  // types, in their range; floats, or integers, for float, currency, BCD, date and time types;
  // booleans; texts for string and memo); anything else throws std::invalid_argument.
  void AppendRow(std::vector<TRptValue> values);
  void ClearRows();
  int RowCount() const { return static_cast<int>(rows_.size()); }

  // Replaces definitions and rows by those of a CSV text (see the file comment), closing the
  // table first. False, with `error` set and the table unchanged, when the text is refused.
  bool LoadFromCsvText(std::string_view csv, std::string* error = nullptr);
  // The same for a file (inside path); the message names the file.
  bool LoadFromCsvFile(const std::string& path, std::string* error = nullptr);

  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() const override;
  std::optional<int> RecordCount() const override;
  const TRptValue& CurrentValue(int index) const override;

 protected:
  std::vector<TRptFieldDef> DoOpen() override;
  void DoClose() override;
  // Whether a row belongs to the open data set (all rows of a table).
  virtual bool RowVisible(const std::vector<TRptValue>& /*row*/) const { return true; }
  void RequireClosed(const char* what) const;

 private:
  std::vector<TRptFieldDef> defs_;
  std::vector<std::vector<TRptValue>> rows_;
  std::vector<size_t> view_;  // rows of the open data set
  size_t cursor_ = 0;         // index into view_
};

class TQuery : public TTable {
 public:
  using TTable::TTable;

  // Adds a parameter (null) unless one of that name exists; returns it.
  TRptParam& AddParam(std::string name, TRptFieldType type);
  int ParamCount() const override { return static_cast<int>(params_.size()); }
  TRptParam* Param(int index) override;

 protected:
  bool RowVisible(const std::vector<TRptValue>& row) const override;

 private:
  std::deque<TRptParam> params_;  // stable addresses as parameters are added
};

}  // namespace rpt
