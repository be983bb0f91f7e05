// The calculation-condition store: one case (one ".HVS" calculation file) held as a list of
// text lines (CalcData, calc_state.h). Line 0 is the header line; every further line is one
// record of 88 byte columns:
//
//   columns  1- 6  label     "№" + four digits for 1000..9999 ("№" is 0x87 0x82), else six
//                            zero-padded digits ("010000")
//   columns  7-12  kind tag  "<VV8>" left-aligned in 6
//   columns 13-24  three attributes of 4 bytes (short texts, also read as integers)
//   columns 25-88  the value part, laid out by the kind (table in calc_store_kinds.cpp)
//
// A record is addressed by label and kind together; one label may hold several kinds (block
// 4100 holds "<NS4>", "<SS4>", "<VV8>" and "<WW8>").
//
// How callers use it:
//   ReadRecVV8(CalcData, 2100);          // fills RecVV8; absent record: blanks and zeros
//   float roof = RecVV8.V[1];            // values count from 1, as the blocks do
//   RecVV8.V[1] = 150;
//   WriteRecVV8(CalcData, 2100, "002-----");  // replaces or appends the record
//
// Buffers: every kind has one buffer (RecVV8, RecNS4, ...) of type TRecordKindBuffer. A kind's
// fields go into three 1-based arrays in the order of the kind's layout: texts into S, integers
// into N, reals into V (index 0 is never used). Examples: NS4 = N[1..4] and S[1..4] (item i is
// N[i] with S[i]); NSV4 = N[1], S[1], V[1..4]; HH12 = the twelve cell texts (kept as they stand)
// in S[1..12] and their values in N[1..12]; SS4 = S[1..4]; NN8 = N[1..8]. The four
// multi-record kinds (ADNM, ADRS, MONO, KSAN) have one buffer entry per number
// (RecADNM.Entry[n]).
//
// Current-record state: every read and write overwrites the buffer of its kind and the Rec*
// variables below; copy what you need before the next call.
//
// Behaviour that differs from a plain byte-search store, on purpose:
// - Labels and tags are matched in columns 1-12 only (FindLabelLine, FindLabelTagLine,
//   LabelExists, FilterLines, RenumberLabel), so a title that holds "№42" is never taken for a
//   record of block 42xx.
// - Writers never shift a record: a text wider than its cell is cut (LeftStrJ, never through a
//   double-byte character); a number wider than its cell (or not finite) is refused with an
//   error status naming label, kind and value, and the store is left unchanged.
// - HH12/HH24/HH32 cells skip blanks around the digits before reading, so a right-aligned
//   "   64" reads as 100.
// - Loading a missing file leaves the store as it was (after its warning). A loaded file whose
//   first line is a record, or an empty file, gets a header line in front, so no record is ever
//   taken for the header.
// - Saving pads the lines to 88 columns, keeps the header line first and sorts the records
//   ascending by bytes (label, then kind), and writes through a temporary file and a rename.
//   The folder is created (after asking) only when it is missing.
// - FilterLines, like RenumberLabel, leaves line 0 (the header) alone.
// - GetVV8Value/GetWW8Value with an index outside 1..8 give 0 and an error status.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/calc_state.h"
#include "framework/convert.h"

namespace fw {

using StringList = std::vector<std::string>;

constexpr int kRecordWidth = 88;

// Every kind of the vocabulary: X(kind, reader suffix). The reader of a kind is ReadRec +
// suffix (ReadRecVV8; the three CH kinds are read by ReadRecCH_1, ReadRecCH_2, ReadRecCH_3).
#define HARVSIM_RECORD_KINDS(X)                                                                       \
  X(AA0, AA0) X(SS0, SS0) X(AA1, AA1) X(SS1, SS1) X(AA2, AA2) X(SS2, SS2) X(AA3, AA3) X(SS3, SS3)    \
  X(AA4, AA4) X(SS4, SS4) X(SS8, SS8) X(SS16, SS16) X(SS20, SS20) X(SS24, SS24) X(SS64, SS64)         \
  X(NN8, NN8) X(MM8, MM8) X(NN10, NN10) X(MM10, MM10) X(NN12, NN12) X(MM12, MM12) X(PX12, PX12)       \
  X(PY12, PY12) X(NN13, NN13) X(NN16, NN16) X(MM16, MM16) X(NN20, NN20) X(MM20, MM20) X(NN24, NN24)  \
  X(NN32, NN32) X(HH12, HH12) X(HH24, HH24) X(HH32, HH32) X(VV6, VV6) X(VV8, VV8) X(WW8, WW8)          \
  X(VV9, VV9) X(VV10, VV10) X(WW10, WW10) X(VV12, VV12) X(NV4, NV4) X(NV8, NV8) X(NS8, NS8)           \
  X(NS6, NS6) X(NS4, NS4) X(NS3, NS3) X(NS2, NS2) X(NS1, NS1) X(NSS1, NSS1) X(NSN4, NSN4)             \
  X(NSN8, NSN8) X(NSV3, NSV3) X(NSV4, NSV4) X(NSV5, NSV5) X(NSV6, NSV6) X(N8S4, N8S4) X(N4S2, N4S2)   \
  X(N4S4, N4S4) X(V4S2, V4S2) X(V4S4, V4S4) X(XYV4, XYV4) X(CADA, CADA) X(CADB, CADB)                 \
  X(CHDA, CH_1) X(CHDB, CH_2) X(CHDC, CH_3) X(DT8, DT8) X(ZAI3, ZAI3) X(YMD9, YMD9) X(MONY, MONY)
// The kinds stored as several records under one label, tags "<ADN1>".."<ADN4>", "<ADR1>"..,
// "<MON1>".., "<KSA1>".."<KSA9>".
#define HARVSIM_MULTI_RECORD_KINDS(X) X(ADNM, ADNM) X(ADRS, ADRS) X(MONO, MONO) X(KSAN, KSAN)

enum class RecordKind {
#define HARVSIM_KIND_ENUM(k, r) k,
  HARVSIM_RECORD_KINDS(HARVSIM_KIND_ENUM) HARVSIM_MULTI_RECORD_KINDS(HARVSIM_KIND_ENUM)
#undef HARVSIM_KIND_ENUM
  Count
};

// The fields of one record. Arrays are 1-based (index 0 unused).
struct TRecordKindBuffer {
  std::string Label;                // columns 1-6, trailing blanks stripped
  std::string Tag;                  // columns 7-12, trailing blanks stripped
  std::array<std::string, 4> Attr;  // attribute texts 1..3 (columns 13-16, 17-20, 21-24)
  std::array<int, 4> AttrNo{};      // the attribute texts read as integers (blank: 0)
  std::array<std::string, 65> S;    // texts (trailing blanks stripped unless a kind keeps them)
  std::array<int64_t, 33> N{};      // integers
  std::array<float, 13> V{};        // reals (32-bit, as stored)
};

// A kind stored as one record per number: Entry[n] is the record with tag "<XXX" + n + ">".
struct TMultiRecordBuffer {
  std::array<TRecordKindBuffer, 10> Entry;
};

#define HARVSIM_KIND_BUFFER(k, r) extern TRecordKindBuffer Rec##k;
HARVSIM_RECORD_KINDS(HARVSIM_KIND_BUFFER)
#undef HARVSIM_KIND_BUFFER
#define HARVSIM_MULTI_BUFFER(k, r) extern TMultiRecordBuffer Rec##k;
HARVSIM_MULTI_RECORD_KINDS(HARVSIM_MULTI_BUFFER)
#undef HARVSIM_MULTI_BUFFER

// ---- Current-record state (overwritten by every read and write)
extern std::string RecLabelText;  // label text of the last lookup by number ("№1000" or six digits)
extern std::string RecKindTag;    // kind tag of the last read or write ("<VV8>")
extern int RecLabelNo;            // label number of the last read or write
extern std::string RecLine;       // the line last read (88 blanks when absent) or last built by a writer
extern std::string RecAttrText;   // columns 13-24 of the line last read (12 bytes)
extern std::string RecValueText;  // columns 25-88 of the line last read (64 bytes)
extern bool LineFound;            // the last lookup found its line
// Digits after the decimal point of each real (and YMD9/MONY field) of the last real-valued kind
// read or written, 1-based at the field's index.
extern std::array<int, 17> RecDecimals;

// ---- Kinds
// The kind's name ("VV8", "ADNM") and its tag ("<VV8>"; for multi-record kinds the tag of number n
// is TagOf(kind, n)).
std::string KindName(RecordKind kind);
std::string TagOf(RecordKind kind, int number = 0);
// Number of records of a multi-record kind (4 or 9); 1 for every other kind.
int KindEntries(RecordKind kind);
// The buffer a kind reads into (for a multi-record kind, entry 1..n).
TRecordKindBuffer& KindBuffer(RecordKind kind, int entry = 1);

// ---- Readers: fill the kind's buffer from the record of `label` (absent: blanks and zeros).
void ReadRecord(const StringList& list, int label, RecordKind kind);
#define HARVSIM_KIND_READER(k, r) \
  inline void ReadRec##r(const StringList& list, int label) { ReadRecord(list, label, RecordKind::k); }
HARVSIM_RECORD_KINDS(HARVSIM_KIND_READER)
HARVSIM_MULTI_RECORD_KINDS(HARVSIM_KIND_READER)
#undef HARVSIM_KIND_READER

// The reading step common to every reader: sets the current kind tag (`tag`) and label number,
// looks the line up, sets RecLine, RecAttrText, RecValueText and the buffer's label, tag and
// attributes. Returns the line (padded to 88 columns) to cut the value fields from.
std::string ParseRecordLine(const StringList& list, int label, const std::string& tag, TRecordKindBuffer& buffer);

// ---- Writers: write the kind's buffer as it stands as the record of `label`, replacing the line
// of that label and kind or appending a new line. Return false (store unchanged) for a label
// below 1000 (error status "ラベル番号が1000未満は保存できません。(Write_SLDT)") or a number that
// does not fit its cell. A digit mask gives one character per real: a digit d writes the value
// with d decimals, "-" or a missing character with none.
bool WriteRecSS1(StringList& list, int label);   // S[1]: text of 60
bool WriteRecSS4(StringList& list, int label);   // S[1..4]: texts of 16
bool WriteRecNN8(StringList& list, int label);   // N[1..8]: "%8d"
bool WriteRecHH12(StringList& list, int label);  // N[1..12]: "%5X" (0 .. 0xFFFFF)
bool WriteRecNS4(StringList& list, int label);   // 4 x (N[i] "%3d", S[i] text of 12)
bool WriteRecVV8(StringList& list, int label, const std::string& mask);   // V[1..8] "%8.df"
bool WriteRecWW8(StringList& list, int label, const std::string& mask);   // V[1..8] "%8.df"
bool WriteRecNSV4(StringList& list, int label, const std::string& mask);  // N[1] "%3d", S[1] 29, V[1..4]
bool WriteRecNSV6(StringList& list, int label, const std::string& mask);  // N[1] "%3d", S[1] 12, V[1..6]

// The n-th real (1..8) of the VV8 / WW8 record of `label` (reads the record into its buffer).
float GetVV8Value(const StringList& list, int label, int n);
float GetWW8Value(const StringList& list, int label, int n);

// Clears the buffer of one kind by name ("VV8"; "HR24" clears HH24; any name beginning "CH"
// clears CHDA, CHDB and CHDC). An unknown name does nothing.
void ResetRecordKind(const std::string& name);

// ---- Lookups
// Label 0: the current label text + current kind tag; 1..999: the label is a line index (found
// when below the line count); 1000..9999: "№" + four digits; any other: six zero-padded digits.
// Returns the line index, 0 when not found; sets LineFound (and RecLabelText for labels >= 1000).
int FindLabelLine(const StringList& list, int label);
// Index of the first line whose columns 1-12 contain `key` (empty key: the current label text +
// current kind tag); 0 when none. Sets LineFound.
int FindLabelTagLine(const StringList& list, const std::string& key);
// True when some line's columns 1-12 contain `key` ("№1000": any kind of label 1000;
// "№4100<NS4>": one record).
bool LabelExists(const StringList& list, const std::string& key);

// ---- List operations
// Deletes the record of `label` with the current kind tag (the kind of the last read or write).
// Returns whether a line was deleted; the header line is never deleted.
bool DeleteLabelLine(StringList& list, int label);
// Removes every record line whose columns 1-12 contain `text` (trimmed; empty changes nothing).
// Returns the number of lines removed.
int FilterLines(StringList& list, const std::string& text);
// In every line but line 0, replaces "№" + a (four digits) in columns 1-12 by "№" + b. Both must
// be 1000..9999 (anything else would change the width of the label); returns the number of lines
// changed.
int RenumberLabel(StringList& list, int a, int b);
// Pads every line with blanks to 88 columns (longer lines are kept as they are).
void PadLinesTo88(StringList& list);
// Three 4-byte attribute texts from one text: padded and cut to 12 bytes (LeftStrJ); a
// double-byte character starting at byte 4, 8 or 12 is overwritten by "??". Empty text: three
// empty attributes.
void SplitKey12(const std::string& text, std::string& attr1, std::string& attr2, std::string& attr3);

// ---- Files
// The header line text "---<<< " + ProgramNameVersion + " Input Data >>>--- yyyy/mm/dd hh:mm:ss"
// when the path contains ":\", otherwise the path itself. The second form takes the time.
std::string MakeDataHeader(const std::string& path);
std::string MakeDataHeader(const std::string& path, const DateTime& when);

// A new empty case: the list holds only the header line (cut to 88 bytes); CalcDataSaved is a
// copy, Modified 0, CurrentFileName the path's base name.
void NewInputData(const std::string& path, StringList& list);
// Loads the file line by line as it stands. A missing or unreadable file gives a warning and
// leaves the list as it was (false).
bool LoadInputData(const std::string& path, StringList& list);
// Pads, sorts (header first) and writes the list. False, with a warning, for a path without a
// drive letter, a folder that could not be created or a failed write.
bool SaveInputData(const std::string& path, StringList& list);

}  // namespace fw
