// Number, text and date conversions used by every module.
//
// All texts are CP932 byte strings; lengths and positions count bytes and are 1-based where a
// routine takes a position. Nothing here depends on the C locale: the decimal point is always
// "." and the thousands separator always ",".
//
// Fixed-point formatting rule (every "%.Nf"-like output of the program goes through
// FormatFixed): a value exactly halfway between two outputs is rounded away from zero, judged
// on the exact binary value of the double (2.5 -> "3", 0.25 -> "0.3", -2.5 -> "-3"; 0.15f, which
// is slightly above 0.15, -> "0.2"; 0.15 as a double, slightly below, -> "0.1").
//
// Width rule: where a number does not fit the width asked for, no digit and no sign is dropped;
// the text comes back wider than asked and the caller decides what to do with it.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/input_state.h"

namespace fw {

// ---------------------------------------------------------------------------------------------
// Program-wide state

// Leap-year state set by SetLeapYearFlag (and IsDateText): LeapIndex selects the row of
// CumulativeDays.
extern bool LeapFlag;
extern int LeapIndex;  // 0 or 1
// Days before each month (index 0..11) and the year length (index 12); row 0 common, row 1 leap.
extern const int CumulativeDays[2][13];

// Unit system. UnitFactor uses the indices 1..6 (index 0 is unused and stays 1.0).
extern std::string UnitSystemName;
extern bool UnitSI;
extern std::array<float, 7> UnitFactor;
// Name pairs of the unit table (column 1 -> column 2), in table order; filled at start-up.
extern std::vector<std::pair<std::string, std::string>> UnitNames;

// Set by searches and by FloatArrayStats: whether something was found.
extern bool FoundFlag;
// The last result of SymbolCode.
extern int SymbolCodeValue;

// ---------------------------------------------------------------------------------------------
// Numbers from text. Readers never fail: a text without a valid leading number gives 0.

// Trailing blanks removed, every "," deleted, then the longest valid leading integer (leading
// blanks, a sign and a "$" hexadecimal prefix accepted). Values beyond the 64-bit range are
// held at the nearest limit.
int64_t TextToInt(const std::string& text);
// The same for a decimal number (sign, digits, ".", digits, optional exponent).
double TextToFloat(const std::string& text);
// After trimming, the number of characters after the last "."; 0 when there is none.
int DecimalPlaces(const std::string& text);
// One or two hexadecimal digits (an optional leading "$") as 0..255; anything else gives 0.
int64_t HexTextToInt(const std::string& text);
// Up to 8 digits of the given radix (16 by default: "0"-"9", "A"-"F", either case; an optional
// leading "$" when the radix is 16; 8 for octal). Blank, empty or any other character gives 0.
int64_t RadixTextToInt(const std::string& text, int radix = 16);

// ---------------------------------------------------------------------------------------------
// Numbers to text

// Fixed notation with `decimals` decimals (negative counts as 0, more than 40 as 40), ties
// away from zero on the exact value (see the file comment), never "-0": a value that rounds to
// zero is written without sign. Not-a-number gives "NAN", infinities "INF" / "-INF".
// The platform's FormatFixed (platform/text_format.h), shared with the libraries.
std::string FormatFixed(double x, int decimals);

// Fixed-width number text. width 0 means 10 (and leading blanks are removed from the result);
// when width is below decimals, decimals becomes width - 3 (not below 0). Zero gives "0" (right-
// aligned in the width). Other values are written in fixed notation and right-aligned in
// `width` bytes. Width rule: a text that does not fit is returned whole (wider than `width`),
// never cut on the left, so sign and leading digits are never lost.
std::string FloatToTextDigits(double x, int width, int decimals);
// "%*.*n": thousands separators "," and decimal point ".", right-aligned in `width` (wider when
// the number needs more).
std::string FormatFloatN(int width, int decimals, double x);
// An integer with thousands separators and no decimals ("%<width>.0n"); width 0: no padding.
std::string FormatNumberN(int width, double value);
// "%<width>d".
std::string IntToStrWidth(int width, int64_t value);
// "%<width>s": the text right-aligned in `width` bytes (unchanged when at least that long).
std::string PadLeft(const std::string& text, int width);
// "%-<width>s": the text followed by blanks up to `width` bytes (unchanged when at least that long).
std::string PadRight(const std::string& text, int width);
// "%<width>.<decimals>f": FormatFixed right-aligned in `width` bytes.
std::string FormatFixedWidth(int width, int decimals, double x);
// Half a unit of the last of `decimals` decimals (0.5 for 0, 0.05 for 1, 0.005 for 2, ...).
// A value whose magnitude in single precision is below it counts as zero. Non-zero values give
// FloatToTextDigits(x, width, decimals). Zero gives, by zeroMark: 0 -> "", '-' ->
// (width - decimals - 1) blanks + "-", '0' -> (width - 1) blanks + "0".
std::string RoundByMode(double x, int width, int decimals, char zeroMark);
// Degrees and minutes: the integer part right-aligned in 3, "ﾟ", the fraction x 100 rounded as
// two digits with leading zero, "'".
std::string DegMinText(double x);
// "   CH" + two-digit number for each number from `from` to `to`, joined.
std::string ChannelHeaderText(int from, int to);

// Integer rounding of the program: nearest integer, halves to the even neighbour. Values
// beyond the 64-bit range are held at the nearest limit; not-a-number gives 0.
int64_t Round(double x);

// ---------------------------------------------------------------------------------------------
// Field formatting by edit type (the commit of an input control)

// The properties of the committing control that the formatting needs.
struct FieldFormat {
  TEditType editType = TEditType::etString;
  int maxLength = 0;
  int decimals = 0;
  bool calculable = false;   // the text is an expression (ExpressionToVariant)
  bool underInput = false;   // negative values allowed
  bool zeroDisplay = false;  // a value of 0 is shown (else an empty text)
  std::string entryText;     // the field text held at entry (Input.InputOrgText)
};

// The text the control shows after commit. Numbers that do not fit the field: integer types
// are returned whole (wider than maxLength, see the width rule); etFloat shows entryText.
std::string FieldValueToText(const FieldFormat& format, const std::string& text);
// A numeric value as field text: width = maxLength, or 8 when 0 (see FieldValueToText).
std::string VariantToFieldText(const FieldFormat& format, double value);
// True when |value| < 10^digits (zero always fits). Digits count the integer part only; the
// minus sign of a negative value takes one of them.
bool FitsDigits(double value, int digits);

// ---------------------------------------------------------------------------------------------
// Double-byte-safe text (never splits a CP932 character)

// The first n bytes; when byte n is a lead byte, the first n - 1 bytes and one blank.
std::string LeftStrJ(const std::string& text, int n);
// The last n bytes; when the first of them is a trail byte, the n bytes from one byte earlier;
// when the piece then ends in a lead byte, that byte becomes a blank.
std::string RightStrJ(const std::string& text, int n);
// Byte roles at 1-based position n (n is held to 1..length; an empty text gives false).
bool IsLeadByteAt(const std::string& text, int n);
bool IsTrailByteAt(const std::string& text, int n);
bool HasDoubleByte(const std::string& text);
// ASCII a-z to upper case; double-byte characters (lead byte and trail) are left as they are.
std::string UpperCaseJ(const std::string& text);
// `first` = the text when it is at most n bytes (rest empty), else its first n bytes (n - 1
// when byte n is a lead byte) and `rest` the remainder.
void SplitAtBytes(const std::string& text, int n, std::string& first, std::string& rest);

// Plain byte-string search and edit routines.
bool ContainsStr(const std::string& sub, const std::string& text);
std::string ReplaceFirst(const std::string& oldText, const std::string& newText, const std::string& text);
// Every occurrence, scanning left to right past each replacement, so it terminates when the
// new text contains the old one; an empty old text changes nothing. A new text shorter than the
// old one is applied again until no occurrence is left ("  " -> " " collapses any run of blanks).
std::string ReplaceAll(const std::string& oldText, const std::string& newText, const std::string& text);
std::string DeleteSubstring(const std::string& sub, const std::string& text);
// The part before the first separator (the whole text when there is none).
std::string TextBefore(const std::string& text, const std::string& separator);
// `piece` over the text at 1-based `position` (the text grows when the piece runs past its end;
// a position below 1 counts as 1, one beyond the end appends).
std::string OverwriteAt(const std::string& text, int position, const std::string& piece);
// Every byte oldCh becomes newCh; newCh == 0 deletes them.
std::string ReplaceChar(const std::string& text, char oldCh, char newCh);
// Deletes every ",".
std::string StripChar(const std::string& text);
std::string TrimRight(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimBoth(const std::string& text);
// Drops everything up to a ":" that stands after position 2 (a "label:" prefix).
std::string StripLabelPrefix(const std::string& text);
int CountChars(const std::string& text, const std::string& set);
bool HasOnlyChars(const std::string& text, const std::string& set);
// True when any byte of the text is in the set; "a..b" stands for every byte from a to b.
bool HasCharsOf(const std::string& text, const std::string& set);
// The integer before ":"; 0 unless the text has at least 4 bytes and ":" at position 3, 4 or 5.
int HourOfTimeText(const std::string& text);
// Key code of a symbol character ("!" 245, '"' 246, "%" 243, "&" 241, "'" 244, "(" 242,
// "-" 247, "." 248, any other character itself); also kept in SymbolCodeValue.
int SymbolCode(char ch);
// ExpandRangeText, then the integers between the commas in order (at most 999; 0-based in
// `numbers`, count = numbers.size(); empty items are skipped). DialogYes tells whether any was
// found.
void ParseNumberList(const std::string& text, int& count, std::vector<int64_t>& numbers);
// True when `text` is not empty and at most 40 bytes, the combo's current text does not contain
// `exclude` (an empty `exclude` excludes nothing), and the text is not yet among the combo's
// items (FindInStrings).
bool IsNewComboText(const std::string& comboText, const std::vector<std::string>& comboItems,
                    const std::string& text, const std::string& exclude);
// Every blank becomes "0".
std::string BlankToZero(const std::string& text);
// Integer value of the digits at the end / at the start of a text (0 when there are none).
int64_t TrailingNumber(const std::string& text);
int64_t LeadingNumber(const std::string& text);
// "a..b" becomes "a,a+1,...,b" (only "1234567890.," allowed, no double-byte characters, no
// "..."). A range whose end is below its start stops the expansion. The expansion is capped:
// at most 999 numbers in all are written out (the limit of ParseNumberList).
std::string ExpandRangeText(const std::string& text);

// ---------------------------------------------------------------------------------------------
// Expressions (calculable fields): strictly left to right, no precedence.

struct ExpressionParts {
  // Entry k (1-based in the description) is at index k - 1.
  std::array<int16_t, 13> position{};  // 1-based byte position of operator k
  std::array<char, 12> op{};           // operator k: one of "+-*/="
  std::array<float, 13> operand{};     // operand k: the text before operator k
};

// Appends "=" unless the text ends in it; count = number of "+-*/=" characters. Double-byte
// characters, brackets or more than 12 operators give a warning dialog and count 0.
void ParseExpression(const std::string& text, int& count, ExpressionParts& parts);
// Value of an expression text (0 when it cannot be evaluated); "/" by zero is skipped.
double ExpressionToVariant(const std::string& text);
inline void ExpressionToVariant(const std::string& text, double& value) { value = ExpressionToVariant(text); }

// ---------------------------------------------------------------------------------------------
// Unit system

void SetUnitSystem(const std::string& name);
std::string UnitSymbolText(const std::string& text);

// ---------------------------------------------------------------------------------------------
// Dates

struct DateTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// Local time of seconds since 1970-01-01 00:00:00 UTC (file times), and now.
DateTime LocalDateTime(int64_t secondsSince1970);
DateTime DateTimeFromTm(const std::tm& tm);
DateTime NowDateTime();

// "yymmddhhmmss" as "yyyy/mm/dd hh:mm:ss" (century 20 for years below 50, else 19). A text that
// is not 12 digits gives "".
std::string StampToDateTimeText(const std::string& stamp);
std::string DateStampText(const DateTime& t);   // "yyyy/mm/dd hh:mm:ss"
std::string DateStampShort(const DateTime& t);  // "yymmddhhmmss"
std::string FileStampText();                    // now as "20yy/mm/dd hh:mm:ss"
// "yy/mm/dd" or "yyyy/mm/dd"; sets the leap-year state for the year.
bool IsDateText(const std::string& text);
// Date (8 or 10) + one blank or other separator + "hh:mm:ss".
bool IsDateTimeText(const std::string& text);
// "hh:mm:ss": only "1234567890:", hour 0..24, minute and second 0..60.
bool IsTimeText(const std::string& text);
// "yymmddhhmmss" to seconds since 1970/01/01 00:00:00 (0 for malformed stamps).
int64_t StampToSeconds(const std::string& stamp);
// Two-digit years: below 50 -> 2000 + y, 50..99 -> 1900 + y, 100 and more unchanged.
int ExpandTwoDigitYear(int year);
// Back to a byte: 0 -> 1 (2001), from 2000 minus 2000, earlier minus 1900; held to 0..255.
int ToTwoDigitYear(int year);
// Gregorian leap rule; sets LeapFlag and LeapIndex.
void SetLeapYearFlag(int year);
// Day number in the year: 0 when month or day is 0 (or month beyond 13); month 1 gives the day,
// months 2..13 the day plus the days before that month. Uses the year's own leap state,
// whatever was set before, and leaves LeapFlag/LeapIndex set for that year.
int DayOfYear(int month, int day, int year);
// Month and day of a day number (below 1 counts as 1; at or beyond the year length: 12/31);
// year2 is the two-digit year. Leaves LeapFlag/LeapIndex set for that year.
void DayNumberToMonthDay(int year, int dayNumber, int& year2, int& month, int& day);

// ---------------------------------------------------------------------------------------------
// Ranges and statistics

// True when value lies between the smaller and the larger of a and b, inclusive; else
// Input.RangeErrorCode is set to 1. The real one compares in single precision.
bool InRangeInt(int64_t value, int64_t a, int64_t b);
bool InRangeFloat(double value, double a, double b);
int64_t MaxInt(int64_t a, int64_t b);
int64_t MinInt(int64_t a, int64_t b);
double MaxFloat(double a, double b);
double MinFloat(double a, double b);
// b - a + 1, not below 0.
int64_t RangeCount(int64_t a, int64_t b);
// Inverts the flag and returns its new value.
bool ToggleFlag(bool& flag);

struct ArrayStats {
  int minIndex = 0;      // 1-based index of the first minimum
  int maxIndex = 0;      // 1-based index of the first maximum
  int nearestIndex = 0;  // 1-based index of the value nearest the rounded mean
  float minimum = 1e10f;
  float maximum = -1e10f;
  float mean = 0;       // sum / count rounded to an integer (halves to even)
};
// Over the first `count` values (values[0] is value 1). Sets FoundFlag.
void FloatArrayStats(int count, std::span<const float> values, ArrayStats& stats);

// Sorts texts[0..count-1] ascending (or descending for order 'D'), stable, comparing CP932
// bytes with ASCII letters case-folded; index[j] = the 1-based input position of the j-th
// text. Only counts below 1000 are sorted; false (nothing changed) otherwise.
bool SortStringsKeepIndex(char order, int count, std::vector<std::string>& texts, std::vector<int>& index);

// ---------------------------------------------------------------------------------------------
// Day-table lines

// The shared cell buffer filled by ParseDayTableLine. Entry i (1-based) is at index i - 1.
struct DayTableCells {
  static constexpr int kEntries = 100;
  std::array<std::string, kEntries> text;
  std::array<double, kEntries> number{};
  int count = 0;  // entry count of the last accepted line (at most kEntries)
  int row = 0;    // row number (mode 1)
};
extern DayTableCells DayCells;

// Parses one day-table line by mode (0..4); returns whether it was accepted. Entries beyond
// the buffer are not stored (count is capped at DayTableCells::kEntries).
bool ParseDayTableLine(const std::string& line, int mode);
// The same routine under the name the day-table readers use.
inline bool CheckValueText(const std::string& line, int mode) { return ParseDayTableLine(line, mode); }

}  // namespace fw
