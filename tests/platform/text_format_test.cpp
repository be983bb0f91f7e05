#include "platform/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/cp932.h"
#include "platform/mbcs.h"

using namespace platform;

TEST(Mbcs, CaseChangesLeaveTrailBytesAlone) {
  const std::string dakuon = J("ヂ");  // 0x83 0x61: the trail byte reads as 'a'
  ASSERT_EQ(dakuon[1], 'a');
  EXPECT_EQ(UpperAscii("ab" + dakuon + "c"), "AB" + dakuon + "C");
  EXPECT_EQ(LowerAscii("AB" + J("ウ") + "C"), "ab" + J("ウ") + "c");  // ウ ends in 'E'
  EXPECT_EQ(UpperAscii(J("ｱ") + "z"), J("ｱ") + "Z");                // half-width kana is one byte
}

TEST(Mbcs, WholeCharPrefixNeverSplitsACharacter) {
  const std::string s = "ab" + J("表示");  // a b 表(2) 示(2)
  EXPECT_EQ(WholeCharPrefix(s, 10), 6u);
  EXPECT_EQ(WholeCharPrefix(s, 6), 6u);
  EXPECT_EQ(WholeCharPrefix(s, 5), 4u);
  EXPECT_EQ(WholeCharPrefix(s, 3), 2u);
  EXPECT_EQ(WholeCharPrefix(s, 0), 0u);
}

TEST(TextFormat, GeneralFloatText) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1234.5, "1234.5"},
      {100, "100"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1000000000000005.0, "1.00000000000001E15"},  // an exact tie at the 15th digit goes up
      {0.00001, "0.00001"},
      {1.5e-7, "1.5E-7"},
      {-2.5e-300, "-2.5E-300"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToText(c.value), c.text) << c.value;
}

TEST(TextFormat, FixedDigitsAndGroups) {
  EXPECT_EQ(FormatFixed(2.5, 0), "3");
  EXPECT_EQ(FormatFixed(-0.004, 2), "0.00");
  EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
  EXPECT_EQ(GroupThousands("-1234567.891"), "-1,234,567.891");
  EXPECT_EQ(GroupThousands("999"), "999");
}

TEST(TextFormat, FloatMask) {
  struct Case {
    std::string mask;
    double value;
    std::string text;
  } cases[] = {
      {"#,##0.###", 1234567.891, "1,234,567.891"},
      {"#,##0.###", 0.5, "0.5"},
      {"#,##0.00", 5, "5.00"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0", 1000, "1,000"},
      {"#,##0", 999, "999"},
      {"000", 5, "005"},
      {"#", 0, ""},
      {"#.##", 5, "5"},
      {".00", 0.5, ".50"},
      {".00", 12.5, "12.50"},
      {"0.##", 0.125, "0.13"},
      {"0", 2.5, "3"},
      {"0", -2.5, "-3"},
      {"0-00", 123, "1-23"},
      {"0-00", 12345, "123-45"},
      {"##0.## %", 12.3456, "12.35 %"},
      // Exponents: integer placeholders set the integer digits; "+" always signs.
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E+00", 0.000123, "1.23E-04"},
      {"0.00E+00", 9.999, "1.00E+01"},
      {"0.00E+00", 0, "0.00E+00"},
      {"0.0E-0", 1234, "1.2E3"},
      {"0.0E-0", 0.01, "1.0E-2"},
      {"00.0E+0", 1234, "12.3E+2"},
      {"0.###e+0", 15, "1.5e+1"},
      // The chart's exponent labels: a literal between the mantissa and the exponent.
      {"#.0 \"x10\" E+0", 12345, "1.2 x10 E+4"},
      {"#.0 \"x10\" E+0", 0.00012, "1.2 x10 E-4"},
      {"#.0 \"x10\" E+0", -5e-7, "-5.0 x10 E-7"},
      // Literals, quoted and plain; a double-byte character whose trail byte is 'E' stays a
      // literal and starts no exponent.
      {"'Total: '#,##0 'yen'", 1234, "Total: 1,234 yen"},
      {"\"No.\"000", 7, "No.007"},
      {J("#,##0円"), 1500, J("1,500円")},
      {J("0ウ+0"), 5, J("0ウ+5")},
      {"'#0.0;x'0", 3, "#0.0;x3"},
      // Sections: positive; negative; zero.
      {"0.00;(0.00);'zero'", 5, "5.00"},
      {"0.00;(0.00);'zero'", -5, "(5.00)"},
      {"0.00;(0.00);'zero'", 0, "zero"},
      {"0.00;(0.00);'zero'", -0.001, "zero"},
      {"0.00;;'zero'", -5, "-5.00"},
      {"0.00;(0.00)", 0, "0.00"},
      {"0;-0", -0.4, "0"},
      {"0;(0);'-';ignored", 0, "-"},
      {"", 1.5, "1.5"},
      {"'only text'", 42, "only text"},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> text = FormatFloatMask(c.mask, c.value);
    ASSERT_TRUE(text.has_value()) << c.mask;
    EXPECT_EQ(*text, c.text) << c.mask << " " << c.value;
  }
  // Masks longer than any double's digits.
  EXPECT_EQ(FormatFloatMask(std::string(500, '0') + ".0E+0", 1.5)->substr(0, 3), "150");
  EXPECT_EQ(FormatFloatMask("0." + std::string(60, '0'), 0.5)->size(), 42u);
  EXPECT_FALSE(FormatFloatMask("0", std::numeric_limits<double>::quiet_NaN()).has_value());
  EXPECT_FALSE(FormatFloatMask("0", std::numeric_limits<double>::infinity()).has_value());
}

TEST(TextFormat, DateCountsAndParts) {
  EXPECT_EQ(EncodeDate(1899, 12, 30).value(), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1).value(), 2);
  EXPECT_EQ(EncodeDate(2000, 1, 1).value(), 36526);
  EXPECT_TRUE(EncodeDate(2024, 2, 29).has_value());
  EXPECT_FALSE(EncodeDate(2023, 2, 29).has_value());
  EXPECT_FALSE(EncodeDate(2024, 13, 1).has_value());
  EXPECT_FALSE(EncodeTime(24, 0, 0).has_value());

  const DateTimeParts p = DecodeDateTime(36526.75).value();
  EXPECT_EQ(p.year, 2000);
  EXPECT_EQ(p.month, 1);
  EXPECT_EQ(p.day, 1);
  EXPECT_EQ(p.hour, 18);
  EXPECT_EQ(p.dayOfWeek, 7);  // Saturday
  const DateTimeParts first = DecodeDateTime(EncodeDate(1, 1, 1).value()).value();
  EXPECT_EQ(first.year, 1);
  EXPECT_EQ(first.dayOfWeek, 2);  // Monday
  EXPECT_FALSE(DecodeDateTime(std::nan("")).has_value());
  EXPECT_FALSE(DecodeDateTime(1e9).has_value());
  // A negative count keeps its time of day: -1.25 is 1899-12-29 06:00.
  const DateTimeParts before = DecodeDateTime(-1.25).value();
  EXPECT_EQ(before.day, 29);
  EXPECT_EQ(before.hour, 6);
}

TEST(TextFormat, DateTimeFormats) {
  const double t = EncodeDate(2024, 3, 5).value() + EncodeTime(14, 7, 9, 45).value();
  const double midnight = EncodeDate(2024, 3, 5).value();
  struct Case {
    std::string format;
    double value;
    std::string text;
  } cases[] = {
      {"yyyy/mm/dd", t, "2024/03/05"},
      {"yy/m/d", t, "24/3/5"},
      {J("M'月'"), t, J("3月")},
      {"mmm", t, J("3月")},
      {"h:nn", t, "14:07"},
      {"hh:mm:ss", t, "14:07:09"},  // m after an hour is the minute
      {J("h時m分"), t, J("14時7分")},
      {"ddd dddd", t, J("火 火曜日")},
      {"h:nn am/pm", t, "2:07 pm"},
      {"h:nn A/P", t, "2:07 P"},
      {J("ampm h時"), t, J("午後 2時")},
      {"zzz", t, "045"},
      {"t|tt", t, "14:07|14:07:09"},
      {"ddddd", t, "2024/03/05"},
      {"dddddd", t, J("2024年3月5日")},
      {"c", t, "2024/03/05 14:07:09"},
      {"c", midnight, "2024/03/05"},
      {"\"y\"yyyy", t, "y2024"},
      {J("ヂyy"), t, J("ヂ24")},  // the trail byte 'a' is no specifier
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value), c.text) << c.format;
  EXPECT_EQ(DateToText(t), "2024/03/05");
  EXPECT_EQ(TimeToText(t), "14:07:09");
  EXPECT_EQ(DateTimeToText(t), "2024/03/05 14:07:09");
  EXPECT_EQ(FormatDateTime("yyyy", std::nan("")), "");
}

// Runs longer than any specifier are read in pieces of the longest a specifier takes; a
// format of 100,000 repeated characters is read in one pass.
TEST(TextFormat, DateTimeFormatsOfLongRuns) {
  const double t = EncodeDate(2024, 3, 5).value() + EncodeTime(14, 7, 9, 45).value();
  EXPECT_EQ(FormatDateTime("ddddddd", t), J("2024年3月5日") + "5");
  EXPECT_EQ(FormatDateTime("mmmmmm", t), J("3月") + "03");
  EXPECT_EQ(FormatDateTime("yyyyyyy", t), "20242024");
  EXPECT_EQ(FormatDateTime("hhhnnnsss", t), "1414077099");
  const std::string plain(100000, 'x');
  EXPECT_EQ(FormatDateTime(plain, t), plain);
  std::string days;
  for (int k = 0; k < 100000 / 6; ++k) days += J("2024年3月5日");
  days += J("火曜日");  // the last four
  EXPECT_EQ(FormatDateTime(std::string(100000, 'd'), t), days);
}

TEST(TextFormat, DateAndTimeReaders) {
  const double day = EncodeDate(2024, 3, 5).value();
  EXPECT_EQ(TextToDate("2024/3/5"), day);
  EXPECT_EQ(TextToDate(" 24/03/05 "), day);
  EXPECT_EQ(TextToDate("99/1/1"), EncodeDate(1999, 1, 1).value());
  EXPECT_EQ(TextToTime("7:05"), EncodeTime(7, 5, 0).value());
  EXPECT_EQ(TextToTime("7:05:09"), EncodeTime(7, 5, 9).value());
  EXPECT_EQ(TextToDateTime("2024/03/05 14:07:09"), day + EncodeTime(14, 7, 9).value());
  EXPECT_EQ(TextToDateTime("2024/03/05"), day);
  for (const char* bad : {"", "2024/13/01", "2024/02/30", "2024-03-05", "2024/03/05x", "25:00", "7:60", "12345/1/1"}) {
    EXPECT_FALSE(TextToDate(bad).has_value()) << bad;
    EXPECT_FALSE(TextToTime(bad).has_value()) << bad;
  }
  EXPECT_FALSE(TextToDateTime("2024/03/05 25:00").has_value());
  EXPECT_FALSE(TextToDateTime("2024/03/05 x").has_value());
}
