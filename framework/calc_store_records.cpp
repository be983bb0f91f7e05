// The condition store's records: lookups, the readers of every kind, the nine writers and the
// list operations. Files (new, load, save) are in calc_store_file.cpp, the kind layouts in
// calc_store_kinds.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

#include "framework/calc_store.h"
#include "framework/calc_store_kinds.h"
#include "framework/convert.h"
#include "framework/messages.h"
#include "platform/cp932.h"

namespace fw {

using calc_store_detail::FieldRun;
using calc_store_detail::FieldType;
using calc_store_detail::KindLayout;
using calc_store_detail::LayoutOf;

#define HARVSIM_KIND_BUFFER_DEF(k, r) TRecordKindBuffer Rec##k;
HARVSIM_RECORD_KINDS(HARVSIM_KIND_BUFFER_DEF)
#undef HARVSIM_KIND_BUFFER_DEF
#define HARVSIM_MULTI_BUFFER_DEF(k, r) TMultiRecordBuffer Rec##k;
HARVSIM_MULTI_RECORD_KINDS(HARVSIM_MULTI_BUFFER_DEF)
#undef HARVSIM_MULTI_BUFFER_DEF

std::string RecLabelText;
std::string RecKindTag;
int RecLabelNo = 0;
std::string RecLine;
std::string RecAttrText;
std::string RecValueText;
bool LineFound = false;
std::array<int, 17> RecDecimals{};

namespace {

constexpr size_t kKeyColumns = 12;  // label and kind tag

const std::string& NumberSign() {
  static const std::string sign = platform::J("№");
  return sign;
}

// "№" + four digits for 1000..9999, else the number zero-padded to six digits.
std::string LabelTextOf(int label) {
  if (label >= 1000 && label <= 9999) return NumberSign() + std::to_string(label);
  char buf[24];
  std::snprintf(buf, sizeof buf, "%.6d", label);
  return buf;
}

// Whether `key` occurs in the label and tag columns (1-12) of `line`. An empty key is always
// contained, as in a plain text search.
bool KeyInLabelColumns(const std::string& line, const std::string& key) {
  if (key.empty()) return true;
  std::string_view head(line.data(), std::min(line.size(), kKeyColumns));
  return head.find(key) != std::string_view::npos;
}

int FindKey(const StringList& list, const std::string& key) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (KeyInLabelColumns(list[i], key)) {
      LineFound = true;
      return static_cast<int>(i);
    }
  }
  LineFound = false;
  return 0;
}

// `width` bytes of `line` from 1-based column `col`; the line is at least 88 bytes long.
std::string Cell(const std::string& line, int col, int width) {
  return line.substr(static_cast<size_t>(col - 1), static_cast<size_t>(width));
}

// A text fitted to its cell: control characters (which would break the file's lines) become
// blanks, then the text is padded and cut to `width` bytes without splitting a double-byte
// character.
std::string FitText(const std::string& text, int width) {
  std::string clean = text;
  for (char& c : clean) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return LeftStrJ(clean + std::string(static_cast<size_t>(width), ' '), width);
}

std::string RightAlign(const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width) return text;
  return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
}

bool KindHasDecimals(const KindLayout& layout) {
  return std::any_of(layout.runs.begin(), layout.runs.end(), [](const FieldRun& r) {
    return r.type == FieldType::Real || r.type == FieldType::TextDec || r.type == FieldType::IntDec;
  });
}

std::string TagText(const KindLayout& layout, int number) {
  if (layout.entries == 1) return layout.tagBase + ">";
  return layout.tagBase + std::to_string(number) + ">";
}

void ClearValues(TRecordKindBuffer& b) {
  for (auto& s : b.S) s.clear();
  b.N.fill(0);
  b.V.fill(0.0f);
}

// Hexadecimal cells: the digits may stand anywhere in the cell (right-aligned as written).
int64_t HexCellValue(const std::string& cell, bool byteCell) {
  const std::string digits = TrimBoth(cell);
  return byteCell ? HexTextToInt(digits) : RadixTextToInt(digits, 16);
}

// Cuts the value fields of one record from `line` into `b`.
void ReadFields(const KindLayout& layout, const std::string& line, TRecordKindBuffer& b) {
  ClearValues(b);
  size_t si = 1, ni = 1, vi = 1;
  for (const FieldRun& run : layout.runs) {
    for (int i = 0; i < run.count; ++i) {
      const std::string cell = Cell(line, run.col + run.stride * i, run.width);
      switch (run.type) {
        case FieldType::Text:
          b.S[si++] = TrimRight(cell);
          break;
        case FieldType::Kept:
          b.S[si++] = cell;
          break;
        case FieldType::TextDec:
          RecDecimals[si] = DecimalPlaces(cell);
          b.S[si++] = TrimRight(cell);
          break;
        case FieldType::Int:
          b.N[ni++] = TextToInt(cell);
          break;
        case FieldType::IntDec:
          RecDecimals[ni] = DecimalPlaces(cell);
          b.N[ni++] = TextToInt(cell);
          break;
        case FieldType::Byte:
          b.N[ni++] = std::clamp<int64_t>(TextToInt(cell), 0, 255);
          break;
        case FieldType::Real:
          RecDecimals[vi] = DecimalPlaces(cell);
          b.V[vi++] = static_cast<float>(TextToFloat(cell));
          break;
        case FieldType::IntReal:
          b.V[vi++] = static_cast<float>(TextToInt(cell));
          break;
        case FieldType::Hex:
        case FieldType::HexByte:
          b.S[si++] = cell;
          b.N[ni++] = HexCellValue(cell, run.type == FieldType::HexByte);
          break;
      }
    }
  }
}

// Digits after the point for the real number `index` (0-based) of a mask.
int MaskDigits(const std::string& mask, size_t index) {
  if (index >= mask.size()) return 0;
  const char c = mask[index];
  return (c >= '0' && c <= '9') ? c - '0' : 0;
}

void RefuseValue(const std::string& tag, const std::string& value, int width) {
  ShowErrorStatus(RecLabelText + tag + platform::J("の値<") + value + platform::J(">は") + std::to_string(width) +
                  platform::J("桁の欄に収まらないので保存できません。(Write_SLDT)"));
  LineFound = false;
}

// Writes the buffer of a writable kind as the record of `label`. Everything is built and
// checked before the list is touched, so a refused record leaves the store unchanged.
bool WriteRecord(StringList& list, int label, RecordKind kind, const std::string& mask) {
  if (label <= 999) {
    ShowErrorStatus(platform::J("ラベル番号が1000未満は保存できません。(Write_SLDT)"));
    LineFound = false;
    return false;
  }
  const KindLayout& layout = LayoutOf(kind);
  TRecordKindBuffer& b = KindBuffer(kind);
  const std::string tag = TagText(layout, 1);
  RecKindTag = tag;
  RecLabelNo = label;
  const int index = FindLabelLine(list, label);
  const bool found = LineFound;
  if (RecLabelText.size() > 6) {
    RefuseValue(tag, RecLabelText, 6);
    return false;
  }

  std::string line = FitText(RecLabelText, 6) + FitText(tag, 6);
  for (size_t a = 1; a <= 3; ++a) line += FitText(b.Attr[a], 4);
  line.resize(kRecordWidth, ' ');

  std::array<int, 17> decimals{};
  size_t si = 1, ni = 1, vi = 1;
  for (const FieldRun& run : layout.runs) {
    for (int i = 0; i < run.count; ++i) {
      std::string cell;
      switch (run.type) {
        case FieldType::Text:
          cell = FitText(b.S[si++], run.width);
          break;
        case FieldType::Int:
          cell = RightAlign(std::to_string(b.N[ni++]), run.width);
          break;
        case FieldType::Hex: {
          const int64_t v = b.N[ni++];
          if (v < 0) {
            RefuseValue(tag, std::to_string(v), run.width);
            return false;
          }
          char buf[32];
          std::snprintf(buf, sizeof buf, "%*llX", run.width, static_cast<unsigned long long>(v));
          cell = buf;
          break;
        }
        case FieldType::Real: {
          const float v = b.V[vi];
          const int d = MaskDigits(mask, vi - 1);
          decimals[vi++] = d;
          if (!std::isfinite(v)) {
            RefuseValue(tag, FormatFixed(v, d), run.width);
            return false;
          }
          cell = RightAlign(FormatFixed(v, d), run.width);
          break;
        }
        default:  // the kinds with other fields have no writer
          cell = std::string(static_cast<size_t>(run.width), ' ');
          break;
      }
      if (static_cast<int>(cell.size()) > run.width) {
        RefuseValue(tag, TrimBoth(cell), run.width);
        return false;
      }
      line.replace(static_cast<size_t>(run.col + run.stride * i - 1), cell.size(), cell);
    }
  }

  RecLine = line;
  if (found) {
    list[static_cast<size_t>(index)] = line;
  } else {
    list.push_back(line);
  }
  b.Label = RecLabelText;
  b.Tag = tag;
  if (KindHasDecimals(layout)) RecDecimals = decimals;
  LineFound = found;
  return true;
}

float GetRealValue(const StringList& list, int label, int n, RecordKind kind, const char* routine) {
  if (n < 1 || n > 8) {
    ShowErrorStatus(std::string(routine) + platform::J("：値の番号") + std::to_string(n) +
                    platform::J("は1～8の範囲外です。"));
    return 0.0f;
  }
  ReadRecord(list, label, kind);
  return KindBuffer(kind).V[static_cast<size_t>(n)];
}

}  // namespace

// ---- Kinds

std::string KindName(RecordKind kind) { return LayoutOf(kind).name; }

std::string TagOf(RecordKind kind, int number) { return TagText(LayoutOf(kind), number); }

int KindEntries(RecordKind kind) { return LayoutOf(kind).entries; }

TRecordKindBuffer& KindBuffer(RecordKind kind, int entry) {
  switch (kind) {
#define HARVSIM_KIND_CASE(k, r) \
  case RecordKind::k:           \
    return Rec##k;
    HARVSIM_RECORD_KINDS(HARVSIM_KIND_CASE)
#undef HARVSIM_KIND_CASE
#define HARVSIM_MULTI_CASE(k, r) \
  case RecordKind::k:            \
    return Rec##k.Entry[static_cast<size_t>(std::clamp(entry, 1, 9))];
    HARVSIM_MULTI_RECORD_KINDS(HARVSIM_MULTI_CASE)
#undef HARVSIM_MULTI_CASE
    case RecordKind::Count:
      break;
  }
  return RecAA0;  // not reached for a valid kind
}

// ---- Lookups

int FindLabelLine(const StringList& list, int label) {
  if (label >= 1 && label <= 999) {
    LineFound = static_cast<size_t>(label) < list.size();
    return LineFound ? label : 0;
  }
  if (label != 0) RecLabelText = LabelTextOf(label);
  return FindKey(list, RecLabelText + RecKindTag);
}

int FindLabelTagLine(const StringList& list, const std::string& key) {
  return FindKey(list, key.empty() ? RecLabelText + RecKindTag : key);
}

bool LabelExists(const StringList& list, const std::string& key) {
  return std::any_of(list.begin(), list.end(), [&](const std::string& line) { return KeyInLabelColumns(line, key); });
}

// ---- Readers

namespace calc_store_detail {

const KindLayout* LayoutOfTag(const std::string& tag) {
  for (const KindLayout& layout : AllLayouts()) {
    // The tag of the kind, or of one record of a multi-record kind ("<ADN1>").
    if (tag.compare(0, layout.tagBase.size(), layout.tagBase) != 0) continue;
    const std::string rest = tag.substr(layout.tagBase.size());
    const bool match = layout.entries == 1 ? rest == ">"
                                           : rest.size() >= 2 && rest.back() == '>' &&
                                                 rest.find_first_not_of("0123456789") == rest.size() - 1;
    if (match) return &layout;
  }
  return nullptr;
}

bool FindRealOutOfRange(const StringList& list, size_t& line, std::string& cell) {
  for (size_t i = 1; i < list.size(); ++i) {
    std::string text = list[i];
    if (text.size() < static_cast<size_t>(kRecordWidth)) text.resize(kRecordWidth, ' ');
    const KindLayout* layout = LayoutOfTag(TrimRight(text.substr(6, 6)));
    if (!layout) continue;
    for (const FieldRun& run : layout->runs) {
      if (run.type != FieldType::Real) continue;
      for (int k = 0; k < run.count; ++k) {
        const std::string c = Cell(text, run.col + run.stride * k, run.width);
        if (std::fabs(TextToFloat(c)) > std::numeric_limits<float>::max()) {
          line = i;
          cell = c;
          return true;
        }
      }
    }
  }
  return false;
}

bool IsRecordLine(const std::string& lineIn) {
  // A line may stop early: its missing columns are blanks.
  std::string line = lineIn.substr(0, 12);
  line.resize(12, ' ');
  static const std::string sign = platform::J("№");
  const bool numberSign = line.compare(0, 2, sign) == 0;
  for (size_t i = numberSign ? 2 : 0; i < 6; ++i) {
    if (line[i] < '0' || line[i] > '9') return false;
  }
  const std::string tagColumns = line.substr(6, 6);
  const std::string tag = TrimRight(tagColumns);
  // The tag is left-aligned in its six columns: only blanks follow it.
  if (tag.empty() || tag.find(' ') != std::string::npos) return false;
  return LayoutOfTag(tag) != nullptr;
}

bool FindForeignLine(const StringList& list, size_t& line) {
  bool anyRecord = false;
  for (size_t i = 1; i < list.size(); ++i) {
    if (TrimRight(list[i]).empty()) continue;  // a blank line holds nothing
    if (!IsRecordLine(list[i])) {
      line = i;
      return true;
    }
    anyRecord = true;
  }
  // A file without records is a case only when its first line is the header the program writes.
  if (!anyRecord && !list.empty() && list[0].find(kDataHeaderMark) == std::string::npos) {
    line = 0;
    return true;
  }
  return false;
}

}  // namespace calc_store_detail

std::string ParseRecordLine(const StringList& list, int label, const std::string& tag, TRecordKindBuffer& buffer) {
  RecKindTag = tag.substr(0, 6);
  RecLabelNo = label;
  const int index = FindLabelLine(list, label);
  RecLine = LineFound ? list[static_cast<size_t>(index)] : std::string(kRecordWidth, ' ');
  std::string line = RecLine;
  if (line.size() < static_cast<size_t>(kRecordWidth)) line.resize(kRecordWidth, ' ');
  RecAttrText = line.substr(12, 12);
  RecValueText = line.substr(24, 64);
  buffer.Label = TrimRight(line.substr(0, 6));
  buffer.Tag = TrimRight(line.substr(6, 6));
  for (size_t a = 1; a <= 3; ++a) {
    buffer.Attr[a] = TrimRight(line.substr(12 + 4 * (a - 1), 4));
    buffer.AttrNo[a] = static_cast<int>(std::clamp<int64_t>(TextToInt(buffer.Attr[a]), -99999, 99999));
  }
  return line;
}

void ReadRecord(const StringList& list, int label, RecordKind kind) {
  const KindLayout& layout = LayoutOf(kind);
  if (KindHasDecimals(layout)) RecDecimals.fill(0);
  for (int n = 1; n <= layout.entries; ++n) {
    TRecordKindBuffer& b = KindBuffer(kind, n);
    const std::string line = ParseRecordLine(list, label, TagText(layout, n), b);
    ReadFields(layout, line, b);
  }
}

// ---- Writers

bool WriteRecSS1(StringList& list, int label) { return WriteRecord(list, label, RecordKind::SS1, ""); }
bool WriteRecSS4(StringList& list, int label) { return WriteRecord(list, label, RecordKind::SS4, ""); }
bool WriteRecNN8(StringList& list, int label) { return WriteRecord(list, label, RecordKind::NN8, ""); }
bool WriteRecHH12(StringList& list, int label) { return WriteRecord(list, label, RecordKind::HH12, ""); }
bool WriteRecNS4(StringList& list, int label) { return WriteRecord(list, label, RecordKind::NS4, ""); }
bool WriteRecVV8(StringList& list, int label, const std::string& mask) {
  return WriteRecord(list, label, RecordKind::VV8, mask);
}
bool WriteRecWW8(StringList& list, int label, const std::string& mask) {
  return WriteRecord(list, label, RecordKind::WW8, mask);
}
bool WriteRecNSV4(StringList& list, int label, const std::string& mask) {
  return WriteRecord(list, label, RecordKind::NSV4, mask);
}
bool WriteRecNSV6(StringList& list, int label, const std::string& mask) {
  return WriteRecord(list, label, RecordKind::NSV6, mask);
}

float GetVV8Value(const StringList& list, int label, int n) {
  return GetRealValue(list, label, n, RecordKind::VV8, "GetVV8Value");
}
float GetWW8Value(const StringList& list, int label, int n) {
  return GetRealValue(list, label, n, RecordKind::WW8, "GetWW8Value");
}

void ResetRecordKind(const std::string& name) {
  static const StringList empty;
  if (name == "HR24") {
    ReadRecord(empty, 9999, RecordKind::HH24);
    return;
  }
  if (name.rfind("CH", 0) == 0) {
    for (RecordKind k : {RecordKind::CHDA, RecordKind::CHDB, RecordKind::CHDC}) ReadRecord(empty, 9999, k);
    return;
  }
  for (const KindLayout& layout : calc_store_detail::AllLayouts()) {
    if (layout.name == name) {
      ReadRecord(empty, 9999, layout.kind);
      return;
    }
  }
}

// ---- List operations

bool DeleteLabelLine(StringList& list, int label) {
  const int index = FindLabelLine(list, label);
  if (!LineFound || index <= 0) return false;
  list.erase(list.begin() + index);
  return true;
}

int FilterLines(StringList& list, const std::string& text) {
  const std::string key = TrimBoth(text);
  if (key.empty() || list.size() < 2) return 0;
  const auto first = list.begin() + 1;
  const auto kept = std::remove_if(first, list.end(), [&](const std::string& line) { return KeyInLabelColumns(line, key); });
  const int removed = static_cast<int>(list.end() - kept);
  list.erase(kept, list.end());
  return removed;
}

int RenumberLabel(StringList& list, int a, int b) {
  if (a < 1000 || a > 9999 || b < 1000 || b > 9999) return 0;
  const std::string from = LabelTextOf(a);
  const std::string to = LabelTextOf(b);
  int changed = 0;
  for (size_t i = 1; i < list.size(); ++i) {
    std::string& line = list[i];
    const size_t pos = std::string_view(line.data(), std::min(line.size(), kKeyColumns)).find(from);
    if (pos == std::string_view::npos) continue;
    line.replace(pos, from.size(), to);
    ++changed;
  }
  return changed;
}

void PadLinesTo88(StringList& list) {
  for (std::string& line : list) {
    if (line.size() < static_cast<size_t>(kRecordWidth)) line.resize(kRecordWidth, ' ');
  }
}

void SplitKey12(const std::string& text, std::string& attr1, std::string& attr2, std::string& attr3) {
  if (text.empty()) {
    attr1.clear();
    attr2.clear();
    attr3.clear();
    return;
  }
  std::string key = LeftStrJ(text + std::string(12, ' '), 12);
  for (int at : {4, 8, 12}) {
    if (IsLeadByteAt(key, at)) key = OverwriteAt(key, at, "??");
  }
  key.resize(12, ' ');
  attr1 = key.substr(0, 4);
  attr2 = key.substr(4, 4);
  attr3 = key.substr(8, 4);
}

}  // namespace fw
