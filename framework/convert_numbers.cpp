// Number readers and writers, integer rounding and the commit-time field formatting.
// Locale-independent throughout: std::from_chars / std::to_chars, never printf or strtod.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "framework/convert.h"
#include "platform/cp932.h"
#include "platform/text_format.h"

namespace fw {

namespace {

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Trailing blanks removed and every "," deleted: the common preparation of the readers.
std::string PrepareNumberText(const std::string& text) { return StripChar(TrimRight(text)); }

// Index after the leading blanks and an optional sign.
size_t SkipBlanksAndSign(const std::string& s, bool& negative) {
  size_t i = 0;
  while (i < s.size() && IsBlankByte(s[i])) ++i;
  negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    negative = s[i] == '-';
    ++i;
  }
  return i;
}

// Accumulates a digit into a magnitude held at `limit`.
void AddDigit(uint64_t& magnitude, int digit, int radix, uint64_t limit) {
  if (magnitude > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(radix)) {
    magnitude = limit;
  } else {
    magnitude = magnitude * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
  }
}

int64_t SignedFromMagnitude(uint64_t magnitude, bool negative) {
  constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (negative) {
    if (magnitude > kMaxPositive) return std::numeric_limits<int64_t>::min();
    return -static_cast<int64_t>(magnitude);
  }
  return static_cast<int64_t>(std::min(magnitude, kMaxPositive));
}

}  // namespace

std::string PadLeft(const std::string& s, int width) {
  if (width <= 0 || static_cast<int>(s.size()) >= width) return s;
  return std::string(static_cast<size_t>(width) - s.size(), ' ') + s;
}

std::string PadRight(const std::string& s, int width) {
  if (width <= 0 || static_cast<int>(s.size()) >= width) return s;
  return s + std::string(static_cast<size_t>(width) - s.size(), ' ');
}

std::string FormatFixedWidth(int width, int decimals, double x) { return PadLeft(FormatFixed(x, decimals), width); }

// ---------------------------------------------------------------------------------------------
// Readers

int64_t TextToInt(const std::string& text) {
  const std::string s = PrepareNumberText(text);
  bool negative = false;
  size_t i = SkipBlanksAndSign(s, negative);
  constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1;
  uint64_t magnitude = 0;
  if (i < s.size() && s[i] == '$') {
    for (++i; i < s.size() && HexDigitValue(s[i]) >= 0; ++i) AddDigit(magnitude, HexDigitValue(s[i]), 16, kLimit);
  } else {
    for (; i < s.size() && IsDigit(s[i]); ++i) AddDigit(magnitude, s[i] - '0', 10, kLimit);
  }
  return SignedFromMagnitude(magnitude, negative);
}

double TextToFloat(const std::string& text) {
  const std::string s = PrepareNumberText(text);
  bool negative = false;
  size_t i = SkipBlanksAndSign(s, negative);
  const size_t begin = i;
  size_t intDigits = 0, fracDigits = 0, leadingZeros = 0;
  bool seenNonZero = false;
  for (; i < s.size() && IsDigit(s[i]); ++i, ++intDigits) {
    if (s[i] != '0') seenNonZero = true;
    if (!seenNonZero) ++leadingZeros;
  }
  size_t fracZeros = 0;
  if (i < s.size() && s[i] == '.') {
    size_t j = i + 1;
    for (; j < s.size() && IsDigit(s[j]); ++j, ++fracDigits) {
      if (s[j] != '0') seenNonZero = true;
      if (!seenNonZero) ++fracZeros;
    }
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0.0;
  // Optional exponent, taken only when digits follow it.
  int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < s.size() && (s[j] == '-' || s[j] == '+')) {
      expNegative = s[j] == '-';
      ++j;
    }
    if (j < s.size() && IsDigit(s[j])) {
      uint64_t e = 0;
      for (; j < s.size() && IsDigit(s[j]); ++j) AddDigit(e, s[j] - '0', 10, 100000);
      exponent = expNegative ? -static_cast<int64_t>(e) : static_cast<int64_t>(e);
      i = j;
    }
  }
  double value = 0;
  const auto result = std::from_chars(s.data() + begin, s.data() + i, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Decimal exponent of the first significant digit decides between overflow and underflow.
    const int64_t magnitude = intDigits > leadingZeros ? static_cast<int64_t>(intDigits - leadingZeros)
                                                       : -static_cast<int64_t>(fracZeros);
    value = (magnitude + exponent > 0) ? std::numeric_limits<double>::max() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

int DecimalPlaces(const std::string& text) {
  const std::string s = TrimBoth(text);
  const size_t dot = s.rfind('.');
  return dot == std::string::npos ? 0 : static_cast<int>(s.size() - dot - 1);
}

int64_t HexTextToInt(const std::string& text) {
  std::string s = TrimBoth(text);
  if (!s.empty() && s[0] == '$') s.erase(0, 1);
  if (s.empty() || s.size() > 2) return 0;
  int64_t value = 0;
  for (char c : s) {
    const int d = HexDigitValue(c);
    if (d < 0) return 0;
    value = value * 16 + d;
  }
  return value;
}

int64_t RadixTextToInt(const std::string& text, int radix) {
  std::string s = TrimBoth(text);
  if (radix == 16 && !s.empty() && s[0] == '$') s.erase(0, 1);
  if (s.empty() || s.size() > 8 || radix < 2 || radix > 16) return 0;
  int64_t value = 0;
  for (char c : s) {
    const int d = HexDigitValue(c);
    if (d < 0 || d >= radix) return 0;
    value = value * radix + d;
  }
  return value;
}

// ---------------------------------------------------------------------------------------------
// Writers

std::string FormatFixed(double x, int decimals) { return platform::FormatFixed(x, decimals); }

std::string FloatToTextDigits(double x, int width, int decimals) {
  const bool trimmed = width == 0;
  if (trimmed) width = 10;
  if (width < decimals) decimals = std::max(0, width - 3);
  const std::string s = (x == 0) ? std::string("0") : FormatFixed(x, decimals);
  return trimmed ? s : PadLeft(s, width);
}

std::string FormatFloatN(int width, int decimals, double x) {
  return PadLeft(platform::GroupThousands(FormatFixed(x, std::max(0, decimals))), width);
}

std::string FormatNumberN(int width, double value) { return FormatFloatN(width, 0, value); }

std::string IntToStrWidth(int width, int64_t value) { return PadLeft(std::to_string(value), width); }

std::string RoundByMode(double x, int width, int decimals, char zeroMark) {
  const double half = 0.5 * std::pow(10.0, -std::max(0, decimals));
  if (std::fabs(static_cast<float>(x)) >= half) return FloatToTextDigits(x, width, decimals);
  switch (zeroMark) {
    case '-':
      return std::string(static_cast<size_t>(std::max(0, width - decimals - 1)), ' ') + "-";
    case '0':
      return std::string(static_cast<size_t>(std::max(0, width - 1)), ' ') + "0";
    default:
      return "";
  }
}

std::string DegMinText(double x) {
  static const std::string kDegreeMark = platform::J("ﾟ");
  // Degrees and the two-digit fraction rounded together, so x.995 carries into the degrees.
  const std::string fixed = FormatFixed(std::fabs(x), 2);
  const size_t dot = fixed.find('.');
  std::string degrees = fixed.substr(0, dot);
  if (x < 0 && fixed.find_first_not_of("0.") != std::string::npos) degrees = "-" + degrees;
  return PadLeft(degrees, 3) + kDegreeMark + fixed.substr(dot + 1) + "'";
}

std::string ChannelHeaderText(int from, int to) {
  std::string out;
  for (int n = from; n <= to; ++n) {
    const std::string number = std::to_string(n);
    out += "   CH" + (number.size() < 2 ? "0" + number : number);
  }
  return out;
}

int64_t Round(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (x <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  const double lower = std::floor(x);
  const double fraction = x - lower;  // exact for every double in range
  double r = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0)) r = lower + 1;
  return static_cast<int64_t>(r);
}

// ---------------------------------------------------------------------------------------------
// Field formatting

bool FitsDigits(double value, int digits) {
  if (value == 0) return true;
  if (std::isnan(value)) return false;
  if (value < 0) --digits;  // the minus sign takes one of the places
  return std::fabs(value) < std::pow(10.0, digits);
}

std::string VariantToFieldText(const FieldFormat& format, double value) {
  const int width = format.maxLength != 0 ? format.maxLength : 8;
  if (!format.underInput && value < 0) value = 0;
  std::string s;
  if (IsIntegerEditType(format.editType)) {
    value = static_cast<double>(Round(value));
    s = IntToStrWidth(width, static_cast<int64_t>(value));
  } else {
    s = FloatToTextDigits(value, width, format.decimals);
    // A value whose integer part does not fit keeps the text the field had at entry. The
    // length test also catches values that only overflow once rounded (99.96 -> "100.0").
    if (!FitsDigits(value, width - format.decimals - 1) || static_cast<int>(s.size()) > width)
      s = format.entryText;
  }
  if (!format.zeroDisplay && value == 0) return "";
  return s;
}

std::string FieldValueToText(const FieldFormat& format, const std::string& text) {
  const TEditType type = format.editType;
  if (IsTextEditType(type)) {
    std::string s = text;
    if (format.maxLength > 0) {
      if (static_cast<int>(s.size()) < format.maxLength) s.append(static_cast<size_t>(format.maxLength) - s.size(), ' ');
      s = LeftStrJ(s, format.maxLength);
    }
    s = TrimRight(s);
    if (type == TEditType::etDate || type == TEditType::etDateTime || type == TEditType::etTime) {
      s = TrimLeft(s);
      const bool valid = type == TEditType::etDate       ? IsDateText(s)
                         : type == TEditType::etDateTime ? IsDateTimeText(s)
                                                         : IsTimeText(s);
      if (!valid) s.clear();
    }
    return s;
  }
  // Numeric types. The typed text is not cut to the field width before reading: cutting would
  // silently drop leading digits or the sign (see the width rule in convert.h).
  double value = 0;
  if (format.calculable)
    value = ExpressionToVariant(text);
  else if (type == TEditType::etFloat)
    value = TextToFloat(text);
  else
    value = static_cast<double>(TextToInt(text));
  if (IsIntegerEditType(type)) value = static_cast<double>(Round(value));
  switch (type) {
    case TEditType::etByte:
      value = std::clamp(value, 0.0, 255.0);
      break;
    case TEditType::etWord:
      value = std::clamp(value, 0.0, 65535.0);
      break;
    case TEditType::etSmallInt:
      value = std::clamp(value, -32768.0, 32767.0);
      break;
    case TEditType::etInteger:
      value = std::clamp(value, -2147483648.0, 2147483647.0);
      break;
    default:
      break;
  }
  if ((type == TEditType::etSmallInt || type == TEditType::etInteger || type == TEditType::etFloat) &&
      value < 0 && !format.underInput)
    value = 0;
  return VariantToFieldText(format, value);
}

}  // namespace fw
