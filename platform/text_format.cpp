// Number and date texts. Locale-independent: std::to_chars / std::from_chars only.
#include "platform/text_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

#include "platform/cp932.h"
#include "platform/mbcs.h"

namespace platform {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLead(std::string_view text, size_t i) {
  return i + 1 < text.size() && IsCp932LeadByte(static_cast<unsigned char>(text[i]));
}

// Adds one unit to the last digit of a digit string; true when it carried out of the first
// digit (the string then reads "000..." and a "1" belongs in front).
bool IncrementDigits(std::string& digits) {
  size_t k = digits.size();
  while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
  if (k == 0) return true;
  ++digits[k - 1];
  return false;
}

// The first `count` significant digits of a > 0 (finite), rounded half away from zero on the
// exact value, with the decimal exponent: a = 0.d1d2...dn x 10^exponent.
void SignificantDigits(double a, int count, std::string& digits, int& exponent) {
  count = std::clamp(count, 1, 400);
  // Four digits more than asked, correctly rounded: the tail tells the direction unless it
  // reads exactly "5000", which may be a true tie or a rounded neighbour of one.
  char buffer[900];
  auto r = std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::scientific, count + 3);
  std::string text(buffer, r.ptr);
  auto split = [&](const std::string& s, std::string& mantissa, int& exp10) {
    const size_t e = s.find('e');
    mantissa.clear();
    for (size_t i = 0; i < e; ++i)
      if (s[i] != '.') mantissa += s[i];
    int x = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), x);
    exp10 = x + 1;
  };
  std::string mantissa;
  split(text, mantissa, exponent);
  std::string tail = mantissa.substr(static_cast<size_t>(count));
  if (tail == "5000") {
    // The exact expansion: a double has at most 767 significant decimal digits.
    r = std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::scientific, 780);
    split(std::string(buffer, r.ptr), mantissa, exponent);
    tail = mantissa.substr(static_cast<size_t>(count));
  }
  digits = mantissa.substr(0, static_cast<size_t>(count));
  if (tail[0] >= '5' && IncrementDigits(digits)) {
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    ++exponent;
  }
}

std::string NonFiniteText(double x) {
  if (std::isnan(x)) return "NAN";
  return x < 0 ? "-INF" : "INF";
}

// ---------------------------------------------------------------------------------------------
// Float-format mask

enum class TokenKind { Literal, IntDigit, Point, FracDigit, Exponent };

struct Token {
  TokenKind kind;
  std::string text;  // literal text; for Exponent the letter as written
  bool zero = false;         // "0" placeholder (else "#")
  bool alwaysSign = false;   // Exponent: "+" form
  int exponentDigits = 0;    // Exponent: least digits
};

struct Section {
  std::vector<Token> tokens;
  int intPlaces = 0, fracPlaces = 0;
  int minInt = 0, minFrac = 0;
  bool thousands = false;
  bool scientific = false;
  bool empty = true;
};

// The sections of a mask, split at ";" outside quotes (at most three).
std::vector<std::string_view> SplitSections(std::string_view mask) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    if (IsLead(mask, i)) {
      ++i;
      continue;
    }
    const char c = mask[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(mask.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 2) break;
    }
  }
  if (sections.size() < 3) sections.push_back(mask.substr(start));
  if (sections.size() == 3) {
    // A third section ends at a further ";".
    std::string_view& last = sections.back();
    char q = 0;
    for (size_t i = 0; i < last.size(); ++i) {
      if (IsLead(last, i)) {
        ++i;
        continue;
      }
      if (q) {
        if (last[i] == q) q = 0;
      } else if (last[i] == '\'' || last[i] == '"') {
        q = last[i];
      } else if (last[i] == ';') {
        last = last.substr(0, i);
        break;
      }
    }
  }
  return sections;
}

Section ParseSection(std::string_view text) {
  Section s;
  s.empty = text.empty();
  bool afterPoint = false;
  auto literal = [&](std::string_view piece) {
    if (!s.tokens.empty() && s.tokens.back().kind == TokenKind::Literal)
      s.tokens.back().text += piece;
    else
      s.tokens.push_back({TokenKind::Literal, std::string(piece)});
  };
  int firstIntZero = -1, lastFracZero = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLead(text, i)) {
      literal(text.substr(i, 2));
      ++i;
      continue;
    }
    const char c = text[i];
    if (c == '\'' || c == '"') {
      const size_t end = text.find(c, i + 1);
      const size_t stop = end == std::string_view::npos ? text.size() : end;
      literal(text.substr(i + 1, stop - i - 1));
      i = stop;
    } else if ((c == '0' || c == '#') && !s.scientific) {
      if (afterPoint) {
        if (c == '0') lastFracZero = s.fracPlaces;
        ++s.fracPlaces;
        s.tokens.push_back({TokenKind::FracDigit, "", c == '0'});
      } else {
        if (c == '0' && firstIntZero < 0) firstIntZero = s.intPlaces;
        ++s.intPlaces;
        s.tokens.push_back({TokenKind::IntDigit, "", c == '0'});
      }
    } else if (c == '.' && !s.scientific) {
      if (!afterPoint) {
        afterPoint = true;
        s.tokens.push_back({TokenKind::Point, ""});
      }
    } else if (c == ',' && !s.scientific) {
      s.thousands = true;
    } else if ((c == 'E' || c == 'e') && !s.scientific && i + 1 < text.size() &&
               (text[i + 1] == '+' || text[i + 1] == '-')) {
      Token t{TokenKind::Exponent, std::string(1, c)};
      t.alwaysSign = text[i + 1] == '+';
      i += 2;
      while (i < text.size() && text[i] == '0' && t.exponentDigits < 4) {
        ++t.exponentDigits;
        ++i;
      }
      --i;
      s.scientific = true;
      s.tokens.push_back(t);
    } else {
      literal(text.substr(i, 1));
    }
  }
  s.minInt = firstIntZero < 0 ? 0 : s.intPlaces - firstIntZero;
  s.minFrac = lastFracZero + 1;
  return s;
}

bool AllZero(std::string_view digits) { return digits.find_first_not_of('0') == std::string_view::npos; }

// The integer and fraction digits a section shows for a >= 0, and the exponent in scientific
// form. `rounded` reports whether every digit is zero.
struct SectionDigits {
  std::string intDigits, fracDigits;
  int exponent = 0;
  bool zero = true;
};

SectionDigits DigitsFor(const Section& s, double a) {
  SectionDigits d;
  if (s.scientific) {
    const int count = std::max(1, s.intPlaces + s.fracPlaces);
    std::string digits(static_cast<size_t>(count), '0');
    int exponent = s.intPlaces;
    if (a != 0) {
      SignificantDigits(a, count, digits, exponent);
      digits.resize(static_cast<size_t>(count), '0');  // past the digits a double can have
    }
    d.zero = AllZero(digits);
    d.exponent = d.zero ? 0 : exponent - s.intPlaces;
    d.intDigits = digits.substr(0, static_cast<size_t>(s.intPlaces));
    d.fracDigits = digits.substr(static_cast<size_t>(s.intPlaces));
  } else {
    const std::string fixed = FormatFixed(a, s.fracPlaces);
    const size_t point = fixed.find('.');
    d.intDigits = fixed.substr(0, point);
    if (point != std::string::npos) d.fracDigits = fixed.substr(point + 1);
    d.zero = AllZero(d.intDigits) && AllZero(d.fracDigits);
  }
  // Leading integer zeros only as far as "0" placeholders ask; trailing fraction zeros likewise.
  const size_t firstNonZero = d.intDigits.find_first_not_of('0');
  d.intDigits.erase(0, firstNonZero == std::string::npos ? d.intDigits.size() : firstNonZero);
  if (static_cast<int>(d.intDigits.size()) < s.minInt)
    d.intDigits.insert(0, static_cast<size_t>(s.minInt) - d.intDigits.size(), '0');
  while (static_cast<int>(d.fracDigits.size()) > s.minFrac && d.fracDigits.back() == '0') d.fracDigits.pop_back();
  return d;
}

std::string ApplySection(const Section& s, const SectionDigits& d, bool minus) {
  std::string out = minus ? "-" : "";
  if (s.intPlaces == 0 && s.fracPlaces == 0 && !s.scientific) {
    for (const Token& t : s.tokens)
      if (t.kind == TokenKind::Literal) out += t.text;
    return out;
  }
  const int length = static_cast<int>(d.intDigits.size());
  auto putInt = [&](int p) {
    out += d.intDigits[static_cast<size_t>(p)];
    const int after = length - 1 - p;
    if (s.thousands && after > 0 && after % 3 == 0) out += ',';
  };
  auto putLeadingDigits = [&](int count) {
    for (int p = 0; p < count; ++p) putInt(p);
  };
  int intIndex = 0, fracIndex = 0;
  bool intDone = s.intPlaces > 0;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case TokenKind::Literal:
        out += t.text;
        break;
      case TokenKind::IntDigit: {
        if (intIndex == 0 && length > s.intPlaces) putLeadingDigits(length - s.intPlaces);
        const int p = intIndex - (s.intPlaces - length);
        if (p >= 0) putInt(p);
        ++intIndex;
        break;
      }
      case TokenKind::Point:
        if (!intDone) {
          putLeadingDigits(length);
          intDone = true;
        }
        if (!d.fracDigits.empty()) out += '.';
        break;
      case TokenKind::FracDigit:
        if (fracIndex < static_cast<int>(d.fracDigits.size())) out += d.fracDigits[static_cast<size_t>(fracIndex)];
        ++fracIndex;
        break;
      case TokenKind::Exponent: {
        if (!intDone) {
          putLeadingDigits(length);
          intDone = true;
        }
        out += t.text;
        if (d.exponent < 0)
          out += '-';
        else if (t.alwaysSign)
          out += '+';
        std::string e = std::to_string(std::abs(d.exponent));
        if (static_cast<int>(e.size()) < t.exponentDigits)
          e.insert(0, static_cast<size_t>(t.exponentDigits) - e.size(), '0');
        out += e;
        break;
      }
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Dates

constexpr int64_t kDays1899To1970 = 25569;  // 1899-12-30 to 1970-01-01

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

const std::array<std::string, 12>& MonthNames() {
  static const std::array<std::string, 12> names = {J("1月"),  J("2月"),  J("3月"), J("4月"),
                                                    J("5月"),  J("6月"),  J("7月"), J("8月"),
                                                    J("9月"),  J("10月"), J("11月"), J("12月")};
  return names;
}
const std::array<std::string, 7>& ShortDayNames() {
  static const std::array<std::string, 7> names = {J("日"), J("月"), J("火"), J("水"), J("木"), J("金"), J("土")};
  return names;
}
const std::array<std::string, 7>& LongDayNames() {
  static const std::array<std::string, 7> names = {J("日曜日"), J("月曜日"), J("火曜日"), J("水曜日"),
                                                   J("木曜日"), J("金曜日"), J("土曜日")};
  return names;
}
const std::string& LongDateFormat() {
  static const std::string f = J("yyyy'年'm'月'd'日'");
  return f;
}
constexpr std::string_view kShortDateFormat = "yyyy/mm/dd";
constexpr std::string_view kShortTimeFormat = "h:nn";
constexpr std::string_view kLongTimeFormat = "h:nn:ss";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Pad(int value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

void AppendDateTime(std::string& out, std::string_view format, const DateTimeParts& p, int depth);

// Whether the format holds a morning/afternoon specifier (hours then count 1..12).
bool HasHalfDayMark(std::string_view format) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (IsLead(format, i)) {
      ++i;
      continue;
    }
    const char c = format[i];
    if (c == '\'' || c == '"') {
      const size_t end = format.find(c, i + 1);
      if (end == std::string_view::npos) return false;
      i = end;
    } else if (AsciiWordAt(format, i, "am/pm") || AsciiWordAt(format, i, "a/p") ||
               AsciiWordAt(format, i, "ampm")) {
      return true;
    }
  }
  return false;
}

void AppendDateTime(std::string& out, std::string_view format, const DateTimeParts& p, int depth) {
  const bool halfDay = HasHalfDayMark(format);
  bool lastWasHour = false;
  for (size_t i = 0; i < format.size();) {
    if (IsLead(format, i)) {
      out.append(format.substr(i, 2));
      i += 2;
      continue;
    }
    const char c = format[i];
    const char lc = Lower(c);
    // A run counts up to the longest any specifier takes (six "d"): a longer one is read in
    // pieces, so a long run costs no rescan per piece.
    constexpr size_t kLongestRun = 6;
    size_t run = 1;
    while (run < kLongestRun && i + run < format.size() && Lower(format[i + run]) == lc) ++run;
    bool hour = false;
    switch (lc) {
      case '\'':
      case '"': {
        const size_t end = format.find(c, i + 1);
        const size_t stop = end == std::string_view::npos ? format.size() : end;
        out.append(format.substr(i + 1, stop - i - 1));
        i = stop + 1;
        continue;
      }
      case 'c':
        if (depth < 2) {
          AppendDateTime(out, kShortDateFormat, p, depth + 1);
          if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.millisecond != 0) {
            out += ' ';
            AppendDateTime(out, kLongTimeFormat, p, depth + 1);
          }
        }
        i += 1;
        continue;
      case 'd':
        run = std::min<size_t>(run, 6);
        if (run == 1 || run == 2) out += Pad(p.day, static_cast<int>(run));
        if (run == 3) out += ShortDayNames()[static_cast<size_t>(p.dayOfWeek - 1)];
        if (run == 4) out += LongDayNames()[static_cast<size_t>(p.dayOfWeek - 1)];
        if (run == 5 && depth < 2) AppendDateTime(out, kShortDateFormat, p, depth + 1);
        if (run == 6 && depth < 2) AppendDateTime(out, LongDateFormat(), p, depth + 1);
        break;
      case 'm':
        run = std::min<size_t>(run, 4);
        if (lastWasHour && run <= 2)
          out += Pad(p.minute, static_cast<int>(run));
        else if (run <= 2)
          out += Pad(p.month, static_cast<int>(run));
        else
          out += MonthNames()[static_cast<size_t>(p.month - 1)];
        break;
      case 'y':
        run = std::min<size_t>(run, 4);
        out += run <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
        break;
      case 'h': {
        run = std::min<size_t>(run, 2);
        int h = p.hour;
        if (halfDay) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += Pad(h, static_cast<int>(run));
        hour = true;
        break;
      }
      case 'n':
        run = std::min<size_t>(run, 2);
        out += Pad(p.minute, static_cast<int>(run));
        break;
      case 's':
        run = std::min<size_t>(run, 2);
        out += Pad(p.second, static_cast<int>(run));
        break;
      case 'z':
        run = std::min<size_t>(run, 3);
        out += Pad(p.millisecond, run >= 2 ? 3 : 1);
        break;
      case 't':
        run = std::min<size_t>(run, 2);
        if (depth < 2) AppendDateTime(out, run == 1 ? kShortTimeFormat : kLongTimeFormat, p, depth + 1);
        break;
      case 'a':
        if (AsciiWordAt(format, i, "am/pm")) {
          const std::string_view mark = format.substr(i + (p.hour >= 12 ? 3 : 0), 2);
          out.append(mark);
          i += 5;
          continue;
        }
        if (AsciiWordAt(format, i, "a/p")) {
          out += format[i + (p.hour >= 12 ? 2 : 0)];
          i += 3;
          continue;
        }
        if (AsciiWordAt(format, i, "ampm")) {
          out += J(p.hour >= 12 ? "午後" : "午前");
          i += 4;
          continue;
        }
        out += c;
        i += 1;
        continue;
      default:
        out += c;
        i += 1;
        continue;
    }
    lastWasHour = hour;
    i += run;
  }
}

// Skips blanks; reads an unsigned decimal of 1..4 digits.
bool ReadNumber(std::string_view text, size_t& i, int& value, size_t maxDigits = 4) {
  const size_t start = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i]) && i - start < maxDigits) value = value * 10 + (text[i++] - '0');
  return i > start && (i >= text.size() || !IsDigit(text[i]));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<double> ReadDate(std::string_view text, size_t& i) {
  int y = 0, m = 0, d = 0;
  const size_t start = i;
  if (!ReadNumber(text, i, y)) return std::nullopt;
  const size_t yearDigits = i - start;
  if (i >= text.size() || text[i++] != '/' || !ReadNumber(text, i, m, 2)) return std::nullopt;
  if (i >= text.size() || text[i++] != '/' || !ReadNumber(text, i, d, 2)) return std::nullopt;
  if (yearDigits <= 2) y += y < 50 ? 2000 : 1900;
  return EncodeDate(y, m, d);
}

std::optional<double> ReadTime(std::string_view text, size_t& i) {
  int h = 0, n = 0, s = 0;
  if (!ReadNumber(text, i, h, 2)) return std::nullopt;
  if (i >= text.size() || text[i++] != ':' || !ReadNumber(text, i, n, 2)) return std::nullopt;
  if (i < text.size() && text[i] == ':') {
    ++i;
    if (!ReadNumber(text, i, s, 2)) return std::nullopt;
  }
  return EncodeTime(h, n, s);
}

// A reader applied to the whole text (blanks around it allowed).
std::optional<double> ReadWhole(std::string_view text, std::optional<double> (*read)(std::string_view, size_t&)) {
  text = TrimBlanks(text);
  size_t i = 0;
  const std::optional<double> value = read(text, i);
  if (!value || i != text.size()) return std::nullopt;
  return value;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Numbers

std::string FormatFixed(double x, int decimals) {
  decimals = std::clamp(decimals, 0, 40);
  if (!std::isfinite(x)) return NonFiniteText(x);
  bool negative = std::signbit(x);
  const double a = std::fabs(x);
  // Fast path for the common case: scale by a power of ten (exact for these exponents) and
  // round in double. The product carries a relative error of at most 2^-53, so whenever the
  // fraction lies clearly away from one half, rounding the product gives the same digits as
  // rounding the exact value; near a tie the exact expansion below decides.
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  if (decimals <= 9) {
    const double scaled = a * kPow10[decimals];
    if (scaled < 1e15) {
      double whole = std::floor(scaled);
      const double fraction = scaled - whole;
      const double margin = scaled * 0x1p-50 + 0x1p-60;
      if (std::fabs(fraction - 0.5) > margin) {
        if (fraction > 0.5) whole += 1;
        uint64_t n = static_cast<uint64_t>(whole);
        char digitBuffer[32];
        auto r = std::to_chars(digitBuffer, digitBuffer + sizeof digitBuffer, n);
        std::string digits(digitBuffer, r.ptr);
        if (digits.size() <= static_cast<size_t>(decimals))
          digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
        std::string out = (negative && n != 0) ? "-" : "";
        const size_t intLength = digits.size() - static_cast<size_t>(decimals);
        out.append(digits, 0, intLength);
        if (decimals > 0) {
          out += '.';
          out.append(digits, intLength, std::string::npos);
        }
        return out;
      }
    }
  }
  // Enough fraction digits for the exact decimal expansion of the double (its lowest bit is
  // at most 2^(e-53)), so the digit after the last kept one is exact, never re-rounded.
  int exactDigits = 0;
  if (a != 0) {
    int e = 0;
    std::frexp(a, &e);
    exactDigits = std::max(0, 53 - e);
  }
  const int precision = std::max(exactDigits, decimals + 1);
  char buffer[1700];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::fixed, precision);
  const std::string expansion(buffer, result.ptr);
  const size_t dot = expansion.find('.');
  std::string digits = expansion.substr(0, dot) + expansion.substr(dot + 1, static_cast<size_t>(decimals));
  // Round half away from zero: the exact next digit decides.
  if (expansion[dot + 1 + static_cast<size_t>(decimals)] >= '5' && IncrementDigits(digits))
    digits.insert(digits.begin(), '1');
  if (digits.find_first_not_of('0') == std::string::npos) negative = false;
  std::string out = negative ? "-" : "";
  const size_t intLength = digits.size() - static_cast<size_t>(decimals);
  out += digits.substr(0, intLength);
  if (decimals > 0) out += '.' + digits.substr(intLength);
  return out;
}

std::string GroupThousands(std::string_view number) {
  const size_t start = (!number.empty() && number[0] == '-') ? 1 : 0;
  size_t end = number.find('.');
  if (end == std::string_view::npos) end = number.size();
  std::string out(number.substr(0, start));
  const size_t digits = end - start;
  for (size_t i = 0; i < digits; ++i) {
    if (i > 0 && (digits - i) % 3 == 0) out += ',';
    out += number[start + i];
  }
  out.append(number.substr(end));
  return out;
}

std::string FloatToText(double x) {
  if (!std::isfinite(x)) return NonFiniteText(x);
  if (x == 0) return "0";
  std::string digits;
  int exponent = 0;
  SignificantDigits(std::fabs(x), 15, digits, exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = x < 0 ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent > 15 || exponent < -4) {
    out += digits[0];
    if (count > 1) out += '.' + digits.substr(1);
    out += 'E' + std::to_string(exponent - 1);
  } else if (exponent <= 0) {
    out += "0." + std::string(static_cast<size_t>(-exponent), '0') + digits;
  } else if (count <= exponent) {
    out += digits + std::string(static_cast<size_t>(exponent - count), '0');
  } else {
    out += digits.substr(0, static_cast<size_t>(exponent)) + '.' + digits.substr(static_cast<size_t>(exponent));
  }
  return out;
}

std::optional<std::string> FormatFloatMask(std::string_view mask, double x) {
  if (!std::isfinite(x)) return std::nullopt;
  if (mask.empty()) return FloatToText(x);
  const std::vector<std::string_view> texts = SplitSections(mask);
  std::vector<Section> sections;
  for (std::string_view t : texts) sections.push_back(ParseSection(t));
  const bool hasNegative = sections.size() >= 2 && !sections[1].empty;
  const bool hasZero = sections.size() >= 3 && !sections[2].empty;
  const double a = std::fabs(x);
  if (x == 0 && hasZero) return ApplySection(sections[2], DigitsFor(sections[2], 0), false);
  const Section& chosen = (x < 0 && hasNegative) ? sections[1] : sections[0];
  const SectionDigits digits = DigitsFor(chosen, a);
  if (digits.zero) {
    // A value that rounds to zero is written as zero.
    if (hasZero) return ApplySection(sections[2], DigitsFor(sections[2], 0), false);
    return ApplySection(sections[0], DigitsFor(sections[0], 0), false);
  }
  return ApplySection(chosen, digits, x < 0 && !hasNegative);
}

// ---------------------------------------------------------------------------------------------
// Dates and times

std::optional<double> EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  return static_cast<double>(DaysFromCivil(year, month, day) + kDays1899To1970);
}

std::optional<double> EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return std::nullopt;
  return (((hour * 60 + minute) * 60 + second) * 1000.0 + millisecond) / 86400000.0;
}

std::optional<DateTimeParts> DecodeDateTime(double dateTime) {
  if (!std::isfinite(dateTime)) return std::nullopt;
  const double whole = std::trunc(dateTime);
  // 0001-01-01 and 9999-12-31 as day counts.
  if (whole < -693593.0 || whole > 2958465.0) return std::nullopt;
  DateTimeParts p;
  // Milliseconds of the day, rounded; a fraction that rounds up to a whole day stays in the day.
  int64_t ms = std::llround(std::fabs(dateTime - whole) * 86400000.0);
  ms = std::min<int64_t>(ms, 86399999);
  const int64_t days = static_cast<int64_t>(whole) - kDays1899To1970;
  CivilFromDays(days, p.year, p.month, p.day);
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  // 1970-01-01 was a Thursday (5).
  p.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
  return p;
}

double NowDateTime() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  const std::time_t t = ts.tv_sec;
  localtime_r(&t, &tm);
  const double date = EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday).value_or(0);
  const double time = EncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59),
                                 static_cast<int>(ts.tv_nsec / 1000000))
                          .value_or(0);
  return date + time;
}

std::string FormatDateTime(std::string_view format, double dateTime) {
  const std::optional<DateTimeParts> p = DecodeDateTime(dateTime);
  if (!p) return "";
  std::string out;
  AppendDateTime(out, format, *p, 0);
  return out;
}

std::string DateToText(double dateTime) { return FormatDateTime(kShortDateFormat, dateTime); }
std::string TimeToText(double dateTime) { return FormatDateTime(kLongTimeFormat, dateTime); }
std::string DateTimeToText(double dateTime) { return FormatDateTime("c", dateTime); }

std::optional<double> TextToDate(std::string_view text) { return ReadWhole(text, ReadDate); }
std::optional<double> TextToTime(std::string_view text) { return ReadWhole(text, ReadTime); }

std::optional<double> TextToDateTime(std::string_view text) {
  text = TrimBlanks(text);
  size_t i = 0;
  const std::optional<double> d = ReadDate(text, i);
  if (!d) return TextToTime(text);
  if (i == text.size()) return d;
  if (text[i] != ' ') return std::nullopt;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::optional<double> t = ReadTime(text, i);
  if (!t || i != text.size()) return std::nullopt;
  return *d + *t;
}

}  // namespace platform
