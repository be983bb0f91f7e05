// The kind table of the condition store: the value-part layout of every record kind as runs of
// field descriptors. Used by the store's readers and writers only.
#pragma once

#include <string>
#include <vector>

#include "framework/calc_store.h"

namespace fw::calc_store_detail {

enum class FieldType {
  Text,     // text, trailing blanks stripped -> S
  Kept,     // text kept as it stands (SS64, CHDB single characters) -> S
  Int,      // integer (TextToInt) -> N
  Byte,     // integer held to 0..255 -> N
  Real,     // real (TextToFloat), its decimals into RecDecimals -> V
  IntReal,  // integer held as a real (ZAI3) -> V
  Hex,      // hexadecimal cell of HH12: text kept -> S, value (up to 8 digits) -> N
  HexByte,  // hexadecimal cell of HH24/HH32: text kept -> S, value 0..255 -> N
  TextDec,  // text with its decimals into RecDecimals (YMD9) -> S
  IntDec,   // 64-bit integer with its decimals into RecDecimals (MONY) -> N
};

// `count` cells of `width` bytes; cell i (from 1) starts at column col + stride * (i - 1).
struct FieldRun {
  FieldType type;
  int col;
  int width;
  int count = 1;
  int stride = 0;
};

struct KindLayout {
  RecordKind kind;
  std::string name;     // "VV8"; multi-record kinds "ADNM"
  std::string tagBase;  // tag without number and ">": "<VV8" ; multi-record: "<ADN"
  int entries;          // 1, or the number of records of a multi-record kind
  std::vector<FieldRun> runs;
};

const KindLayout& LayoutOf(RecordKind kind);
const std::vector<KindLayout>& AllLayouts();

// The first real cell of the records of `list` (line 0, the header, is not a record) whose
// value lies beyond the range of a single-precision float, as a reader would turn it into an
// infinity: its line index and its text. False when every real cell reads as a finite value.
bool FindRealOutOfRange(const StringList& list, size_t& line, std::string& cell);
// What the header line the program writes holds between its program name and its date.
inline const std::string kDataHeaderMark = " Input Data >>>---";
// The layout of a kind tag as it stands in a record ("<VV8>", "<ADN1>"); null for no kind.
const KindLayout* LayoutOfTag(const std::string& tag);
// A record line as the program writes it: the label ("№" + four digits, or six digits) and the
// tag of a kind of the table, left-aligned in its six columns.
bool IsRecordLine(const std::string& line);
// The first line of `list` (line 0 is the header) that is not a record of a calculation file,
// blank lines aside; a list without records whose header is not the program's header line
// counts its header (line 0). False when the list is a calculation file's.
bool FindForeignLine(const StringList& list, size_t& line);

}  // namespace fw::calc_store_detail
