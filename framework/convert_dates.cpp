// Date and time texts, stamps, two-digit years, leap years and day numbers; range checks.
#include <algorithm>
#include <cmath>
#include <ctime>

#include "framework/convert.h"

namespace fw {

bool LeapFlag = false;
int LeapIndex = 0;
const int CumulativeDays[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

namespace {

bool AllDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int TwoDigits(const std::string& s, size_t at) { return (s[at] - '0') * 10 + (s[at + 1] - '0'); }

std::string Pad2(int v) {
  const std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

std::string Pad4(int v) {
  std::string s = std::to_string(v);
  while (s.size() < 4) s = "0" + s;
  return s;
}

bool IsLeapYear(int year) {
  year = ExpandTwoDigitYear(year);
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days from 1970-01-01 to the first of the given month (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, int m) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The yymmdd + hhmmss parts of a 12-digit stamp; false unless it is 12 digits.
bool SplitStamp(const std::string& stamp, int& yy, int& mo, int& dd, int& hh, int& mi, int& ss) {
  if (stamp.size() != 12 || !AllDigits(stamp)) return false;
  yy = TwoDigits(stamp, 0);
  mo = TwoDigits(stamp, 2);
  dd = TwoDigits(stamp, 4);
  hh = TwoDigits(stamp, 6);
  mi = TwoDigits(stamp, 8);
  ss = TwoDigits(stamp, 10);
  return true;
}

}  // namespace

DateTime DateTimeFromTm(const std::tm& tm) {
  DateTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  return t;
}

DateTime LocalDateTime(int64_t secondsSince1970) {
  const std::time_t t = static_cast<std::time_t>(secondsSince1970);
  std::tm tm{};
  localtime_r(&t, &tm);
  return DateTimeFromTm(tm);
}

DateTime NowDateTime() { return LocalDateTime(static_cast<int64_t>(std::time(nullptr))); }

std::string StampToDateTimeText(const std::string& stamp) {
  int yy, mo, dd, hh, mi, ss;
  if (!SplitStamp(TrimBoth(stamp), yy, mo, dd, hh, mi, ss)) return "";
  return (yy < 50 ? "20" : "19") + Pad2(yy) + "/" + Pad2(mo) + "/" + Pad2(dd) + " " + Pad2(hh) + ":" + Pad2(mi) +
         ":" + Pad2(ss);
}

std::string DateStampText(const DateTime& t) {
  return Pad4(t.year) + "/" + Pad2(t.month) + "/" + Pad2(t.day) + " " + Pad2(t.hour) + ":" + Pad2(t.minute) + ":" +
         Pad2(t.second);
}

std::string DateStampShort(const DateTime& t) {
  return Pad2(t.year % 100) + Pad2(t.month) + Pad2(t.day) + Pad2(t.hour) + Pad2(t.minute) + Pad2(t.second);
}

std::string FileStampText() {
  const DateTime t = NowDateTime();
  return "20" + Pad2(t.year % 100) + DateStampText(t).substr(4);
}

bool IsDateText(const std::string& text) {
  const bool shortForm = text.size() == 8 && text[2] == '/' && text[5] == '/';
  const bool longForm = text.size() == 10 && text[4] == '/' && text[7] == '/';
  if (!(shortForm || longForm) || !HasOnlyChars(text, "1234567890/")) return false;
  const std::string tail = text.substr(text.size() - 8);
  if (!AllDigits(tail.substr(0, 2)) || !AllDigits(tail.substr(3, 2)) || !AllDigits(tail.substr(6, 2))) return false;
  // A four-digit year sets the leap state of that very year (1900 is not a leap year).
  SetLeapYearFlag(longForm ? static_cast<int>(TextToInt(text.substr(0, 4))) : TwoDigits(tail, 0));
  const bool monthOk = InRangeInt(TwoDigits(tail, 3), 1, 12);
  const bool dayOk = InRangeInt(TwoDigits(tail, 6), 1, 31);
  return monthOk && dayOk;
}

bool IsTimeText(const std::string& text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !HasOnlyChars(text, "1234567890:")) return false;
  if (text.find(':', 6) != std::string::npos || text.substr(0, 2).find(':') != std::string::npos ||
      text.substr(3, 2).find(':') != std::string::npos)
    return false;
  const bool hourOk = InRangeInt(TwoDigits(text, 0), 0, 24);
  const bool minuteOk = InRangeInt(TwoDigits(text, 3), 0, 60);
  const bool secondOk = InRangeInt(TwoDigits(text, 6), 0, 60);
  return hourOk && minuteOk && secondOk;
}

bool IsDateTimeText(const std::string& text) {
  size_t dateLength = 0;
  if (text.size() == 17)
    dateLength = 8;
  else if (text.size() == 19)
    dateLength = 10;
  else
    return false;
  return IsDateText(text.substr(0, dateLength)) && IsTimeText(text.substr(text.size() - 8));
}

int64_t StampToSeconds(const std::string& stamp) {
  int yy, mo, dd, hh, mi, ss;
  if (!SplitStamp(TrimLeft(stamp), yy, mo, dd, hh, mi, ss)) return 0;
  int64_t days = 0;
  if (yy != 0 || mo != 0 || dd != 0) {
    if (mo < 1 || mo > 12 || dd < 1 || dd > 31) return 0;
    days = DaysFromCivil(ExpandTwoDigitYear(yy), mo) + (dd - 1);
  }
  if ((hh != 0 || mi != 0 || ss != 0) && (hh > 24 || mi > 60 || ss > 60)) return 0;
  // Hour 24, minute 60 and second 60 count as one second past 23:59:59, :59:59 and :59, which
  // is what plain arithmetic gives.
  return days * 86400 + hh * 3600 + mi * 60 + ss;
}

int ExpandTwoDigitYear(int year) {
  if (year < 0 || year >= 100) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

int ToTwoDigitYear(int year) {
  int y = year;
  if (y == 0)
    y = 1;
  else if (y >= 2000)
    y -= 2000;
  else
    y -= 1900;
  return std::clamp(y, 0, 255);
}

void SetLeapYearFlag(int year) {
  LeapFlag = IsLeapYear(year);
  LeapIndex = LeapFlag ? 1 : 0;
}

int DayOfYear(int month, int day, int year) {
  SetLeapYearFlag(year);
  if (month <= 0 || day <= 0 || month > 13) return 0;
  return day + CumulativeDays[LeapIndex][month - 1];
}

void DayNumberToMonthDay(int year, int dayNumber, int& year2, int& month, int& day) {
  SetLeapYearFlag(year);
  year2 = ToTwoDigitYear(ExpandTwoDigitYear(year));
  const int* row = CumulativeDays[LeapIndex];
  const int n = std::max(dayNumber, 1);
  if (n >= row[12]) {
    month = 12;
    day = 31;
    return;
  }
  month = 1;
  while (row[month] < n) ++month;
  day = n - row[month - 1];
}

// ---------------------------------------------------------------------------------------------
// Ranges

bool InRangeInt(int64_t value, int64_t a, int64_t b) {
  const bool in = value >= std::min(a, b) && value <= std::max(a, b);
  if (!in) Input.RangeErrorCode = 1;
  return in;
}

bool InRangeFloat(double value, double a, double b) {
  const float v = static_cast<float>(value);
  const float fa = static_cast<float>(a);
  const float fb = static_cast<float>(b);
  const bool in = v >= std::min(fa, fb) && v <= std::max(fa, fb);
  if (!in) Input.RangeErrorCode = 1;
  return in;
}

int64_t MaxInt(int64_t a, int64_t b) { return std::max(a, b); }
int64_t MinInt(int64_t a, int64_t b) { return std::min(a, b); }
double MaxFloat(double a, double b) { return std::max(a, b); }
double MinFloat(double a, double b) { return std::min(a, b); }

int64_t RangeCount(int64_t a, int64_t b) {
  if (b < a) return 0;
  const uint64_t span = static_cast<uint64_t>(b) - static_cast<uint64_t>(a);
  return span >= static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(span + 1);
}

bool ToggleFlag(bool& flag) {
  flag = !flag;
  return flag;
}

}  // namespace fw
