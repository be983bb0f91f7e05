// Number and date texts shared by the libraries and the program: fixed-point digits, the general
// float-to-text conversion, the float-format mask, and date and time texts.
//
// Texts are CP932 byte strings. Nothing depends on the C locale: the conventions are those of a
// Japanese Windows installation, fixed here once:
//   decimal point "."            thousands separator ","
//   date separator "/"           time separator ":"
//   short date  "yyyy/mm/dd"     long date  "yyyy'年'm'月'd'日'"
//   short time  "h:nn"           long time  "h:nn:ss"
//   morning / afternoon marks "午前" / "午後"
//   month names "1月" ... "12月" (short and long alike)
//   day names "日" "月" "火" "水" "木" "金" "土", long "日曜日" ... "土曜日"
//
// Rounding to a number of decimals or of significant digits is judged on the exact binary value
// of the double; a value exactly halfway between two outputs goes away from zero (2.5 with no
// decimals is "3", 0.125 with two is "0.13").
//
// Date-time values are day counts as doubles: the whole part counts days from 1899-12-30, the
// fraction is the time of day (0.5 is noon). Years 1 to 9999 can be written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// ---------------------------------------------------------------------------------------------
// Numbers

// Fixed notation with `decimals` decimals (negative counts as 0, more than 40 as 40), never
// "-0": a value that rounds to zero is written without sign. Not-a-number gives "NAN",
// infinities "INF" / "-INF".
std::string FormatFixed(double x, int decimals);

// "," between each group of three integer digits of a plain number text ("-1234.5" ->
// "-1,234.5").
std::string GroupThousands(std::string_view number);

// The general conversion: at most 15 significant digits, as few as the value needs (no trailing
// zeros, no trailing point). Plain notation when the value has at most 15 integer digits and is
// at least 0.00001 in size; otherwise a mantissa and "E" with the decimal exponent, signed only
// when negative ("1E20", "-2.5E-7"). Zero is "0"; NAN and INF as FormatFixed.
std::string FloatToText(double x);

// The float-format mask. Up to three sections separated by ";": positive; negative; zero.
// A value uses the negative section when it is below zero and that section is present and not
// empty (the value is then written without its sign: the section supplies any), else the first
// section with a leading "-". Zero, or a value that rounds to zero under its section, is
// written as zero: by the zero section when it is present and not empty, else by the first.
// Within a section:
//   0   a digit placeholder that always shows a digit (leading or trailing zeros);
//   #   a digit placeholder that shows a digit only when the value has one there;
//   .   the first one places the decimal point (shown only when decimals follow); later ones
//       are ignored;
//   ,   anywhere: "," between groups of three integer digits (the comma itself is not shown);
//   E+ E- e+ e-  scientific form: as many integer digits as there are integer placeholders;
//       the "0"s that follow give the least number of exponent digits (at most 4); "+" always
//       shows the exponent's sign, "-" only a minus;
//   'xx' "xx"   quoted literal texts, shown as they stand;
//   any other character (a double-byte character whole) is shown as it stands.
// Integer digits beyond the placeholders are all shown at the first placeholder. A section
// without digit placeholders shows its literal text only. An empty mask gives FloatToText.
// Returns nothing for a value that is not finite (NAN, INF).
std::optional<std::string> FormatFloatMask(std::string_view mask, double x);

// ---------------------------------------------------------------------------------------------
// Dates and times

struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 7;  // 1 Sunday ... 7 Saturday
};

// Day counts of a calendar date and of a time of day; nothing for an invalid date or time
// (month 1..12, day within the month, year 1..9999; hour 0..23, minutes and seconds 0..59,
// milliseconds 0..999).
std::optional<double> EncodeDate(int year, int month, int day);
std::optional<double> EncodeTime(int hour, int minute, int second, int millisecond = 0);
// The parts of a date-time (the time from the fraction's size, so negative values keep their
// time of day); nothing when the value is not finite or lies outside the years 1 to 9999.
std::optional<DateTimeParts> DecodeDateTime(double dateTime);

// The local date and time now.
double NowDateTime();

// Date-time text by a format of specifiers (letters in either case):
//   c        short date, then a blank and the long time unless the time is midnight
//   d dd     day of month without / with a leading zero; ddd dddd short / long day name;
//            ddddd short date; dddddd long date
//   m mm     month without / with a leading zero (minutes right after an hour specifier);
//            mmm mmmm short / long month name
//   yy yyyy  two-digit / four-digit year (y as yy, yyy as yyyy)
//   h hh     hour (0..23, or 1..12 when the format holds am/pm, a/p or ampm)
//   n nn     minute; s ss second; z zzz millisecond
//   t tt     short / long time
//   am/pm a/p ampm   morning or afternoon mark ("am"/"pm" and "a"/"p" in the case written)
//   / :      the date and time separators
//   'xx' "xx"  literal texts; every other character is shown as it stands.
// A value that cannot be decoded gives an empty text.
std::string FormatDateTime(std::string_view format, double dateTime);
std::string DateToText(double dateTime);      // short date
std::string TimeToText(double dateTime);      // long time
std::string DateTimeToText(double dateTime);  // format "c"

// Readers of the short date ("yyyy/m/d", a two-digit year taken as 1950..2049), the time
// ("h:n" or "h:n:s") and a date-time (a date, a time, or a date, blanks and a time).
// Surrounding blanks are allowed; anything else gives nothing.
std::optional<double> TextToDate(std::string_view text);
std::optional<double> TextToTime(std::string_view text);
std::optional<double> TextToDateTime(std::string_view text);

}  // namespace platform
