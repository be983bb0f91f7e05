#include "framework/convert.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>
#include <vector>

#include "framework/input_state.h"
#include "framework/messages.h"
#include "support/test_support.h"

namespace {

using fw::TEditType;
using testsupport::S;
using testsupport::U;

// ---------------------------------------------------------------------------------------------
// Number readers

TEST(ConvertNumbers, TextToIntTakesTheValidLeadingInteger) {
  const struct {
    const char* text;
    int64_t expected;
  } cases[] = {
      {"1,234", 1234},     {" 12ab", 12},    {"$1F", 31},        {"", 0},
      {"abc", 0},          {"-42  ", -42},   {"  -1,000", -1000}, {"12.7", 12},
      {"+7", 7},           {"-$10", -16},    {"$", 0},           {"99999999999999999999", INT64_MAX},
      {"-99999999999999999999", INT64_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::TextToInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ConvertNumbers, TextToFloatTakesTheValidLeadingNumber) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"1,234.5", 1234.5}, {" 12ab", 12}, {"", 0},     {"-0.25x", -0.25}, {".5", 0.5},       {"5.", 5},
      {"-", 0},            {".", 0},      {"1e3", 1000}, {"1e", 1},       {"2.5E-1", 0.25},  {"1e999", DBL_MAX},
      {"1e-999", 0},       {"0.1", 0.1},  {"  -3 ", -3},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::TextToFloat(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ConvertNumbers, HexRadixAndDecimalPlaces) {
  EXPECT_EQ(fw::HexTextToInt("FF"), 255);
  EXPECT_EQ(fw::HexTextToInt("$0a"), 10);
  EXPECT_EQ(fw::HexTextToInt("1FF"), 0);
  EXPECT_EQ(fw::HexTextToInt("G"), 0);
  EXPECT_EQ(fw::HexTextToInt(""), 0);
  EXPECT_EQ(fw::RadixTextToInt("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(fw::RadixTextToInt("1A2B"), 0x1A2B);
  EXPECT_EQ(fw::RadixTextToInt("123456789"), 0);  // more than 8 digits
  EXPECT_EQ(fw::RadixTextToInt("  "), 0);
  EXPECT_EQ(fw::RadixTextToInt("X1"), 0);
  EXPECT_EQ(fw::RadixTextToInt("17", 8), 15);
  EXPECT_EQ(fw::RadixTextToInt("18", 8), 0);
  EXPECT_EQ(fw::DecimalPlaces(" 12.345 "), 3);
  EXPECT_EQ(fw::DecimalPlaces("12"), 0);
  EXPECT_EQ(fw::DecimalPlaces("1.2.34"), 2);
}

// ---------------------------------------------------------------------------------------------
// Number writers

TEST(ConvertNumbers, FloatToTextDigitsRoundsTiesAwayOnTheExactValue) {
  const struct {
    double x;
    int width, decimals;
    const char* expected;
  } cases[] = {
      {2.5, 0, 0, "3"},
      {-2.5, 0, 0, "-3"},
      {0.5, 0, 0, "1"},
      {0.25, 0, 1, "0.3"},
      {0.15f, 0, 1, "0.2"},  // 0.15f is slightly above 0.15
      {0.15, 0, 1, "0.1"},   // the double 0.15 is slightly below
      {1.005, 0, 2, "1.00"},
      {2.675, 0, 2, "2.67"},
      {9.995, 0, 2, "9.99"},
      {0.125, 0, 2, "0.13"},
      {-0.125, 0, 2, "-0.13"},
      {0, 7, 2, "      0"},
      {0, 0, 2, "0"},
      {-0.0, 7, 2, "      0"},
      {-0.04, 7, 1, "    0.0"},  // no "-0.0"
      {-1.5, 7, 1, "   -1.5"},
      {123.456, 7, 1, "  123.5"},
      {9.96, 4, 1, "10.0"},
      {1234.5, 2, 3, "1235"},     // width below decimals: decimals become width - 3, at least 0
      {1.0, 0, 12, "1.0000000"},  // width 0 means 10, so 12 decimals become 7
      {1e-300, 0, 2, "0.00"},
      {1e20, 0, 0, "100000000000000000000"},
      {4.35f, 7, 1, "    4.3"},  // 4.35f is slightly below 4.35
  };
  for (const auto& c : cases)
    EXPECT_EQ(fw::FloatToTextDigits(c.x, c.width, c.decimals), c.expected)
        << c.x << " width " << c.width << " decimals " << c.decimals;
}

TEST(ConvertNumbers, FloatToTextDigitsWidensInsteadOfLosingDigitsOrSign) {
  EXPECT_EQ(fw::FloatToTextDigits(123456.78, 7, 2), "123456.78");
  EXPECT_EQ(fw::FloatToTextDigits(-12345.6, 7, 1), "-12345.6");
  EXPECT_EQ(fw::FloatToTextDigits(-99999.96, 7, 1), "-100000.0");
}

TEST(ConvertNumbers, FormatFixedCarriesAndHandlesSpecialValues) {
  EXPECT_EQ(fw::FormatFixed(999.95, 1), "1000.0");  // 999.95 is stored slightly above
  EXPECT_EQ(fw::FormatFixed(-9.5, 0), "-10");
  EXPECT_EQ(fw::FormatFixed(DBL_MAX, 0).size(), 309u);
  EXPECT_EQ(fw::FormatFixed(DBL_TRUE_MIN, 3), "0.000");
  EXPECT_EQ(fw::FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
  EXPECT_EQ(fw::FormatFixed(-std::numeric_limits<double>::infinity(), 2), "-INF");
}

TEST(ConvertNumbers, ThousandsSeparatorFormats) {
  EXPECT_EQ(fw::FormatFloatN(10, 2, 1234567.891), "1,234,567.89");
  EXPECT_EQ(fw::FormatFloatN(12, 0, -1234.5), "      -1,235");
  EXPECT_EQ(fw::FormatFloatN(0, 1, 999.95), "1,000.0");
  EXPECT_EQ(fw::FormatFloatN(8, 2, 12.5), "   12.50");
  EXPECT_EQ(fw::FormatNumberN(8, 1234), "   1,234");
  EXPECT_EQ(fw::FormatNumberN(0, 100), "100");
  EXPECT_EQ(fw::FormatNumberN(0, -1000000), "-1,000,000");
  EXPECT_EQ(fw::FormatNumberN(0, 0), "0");
  EXPECT_EQ(fw::IntToStrWidth(5, -42), "  -42");
  EXPECT_EQ(fw::IntToStrWidth(2, 12345), "12345");
  EXPECT_EQ(fw::IntToStrWidth(0, 0), "0");
}

TEST(ConvertNumbers, RoundIsHalvesToEven) {
  const struct {
    double x;
    int64_t expected;
  } cases[] = {{2.5, 2},  {3.5, 4},        {-2.5, -2},      {-3.5, -4}, {2.4999999, 2},
               {0.5, 0},  {1.5000001, 2},  {-0.5, 0},       {1e30, INT64_MAX},
               {-1e30, INT64_MIN},         {std::numeric_limits<double>::quiet_NaN(), 0}};
  for (const auto& c : cases) EXPECT_EQ(fw::Round(c.x), c.expected) << c.x;
}

TEST(ConvertNumbers, RoundByModeWritesZeroMarks) {
  const struct {
    double x;
    int width, decimals;
    char mark;
    const char* expected;
  } cases[] = {
      {0.004, 6, 2, '-', "   -"}, {0.004, 6, 2, '0', "     0"}, {0.004, 6, 2, 0, ""},
      {-0.004, 6, 2, '-', "   -"}, {0.006, 6, 2, '-', "  0.01"}, {0.4, 5, 0, '-', "    -"},
      {0.5, 5, 0, '-', "    1"},  {0.05, 6, 1, '-', "   0.1"},  {0.0000004, 8, 6, '0', "       0"},
      {0.001, 1, 2, '-', "-"},    // too narrow for blanks: just the mark
  };
  for (const auto& c : cases)
    EXPECT_EQ(fw::RoundByMode(c.x, c.width, c.decimals, c.mark), c.expected) << c.x << " mark " << int(c.mark);
}

TEST(ConvertNumbers, DegreesAndChannelHeaders) {
  EXPECT_EQ(U(fw::DegMinText(35.41)), " 35ﾟ41'");
  EXPECT_EQ(U(fw::DegMinText(139.995)), "140ﾟ00'");  // the minutes carry into the degrees
  EXPECT_EQ(U(fw::DegMinText(-5.5)), " -5ﾟ50'");
  EXPECT_EQ(U(fw::DegMinText(0)), "  0ﾟ00'");
  EXPECT_EQ(fw::ChannelHeaderText(1, 3), "   CH01   CH02   CH03");
  EXPECT_EQ(fw::ChannelHeaderText(10, 10), "   CH10");
  EXPECT_EQ(fw::ChannelHeaderText(3, 1), "");
}

TEST(ConvertNumbers, FitsDigitsCountsTheMinusSign) {
  EXPECT_TRUE(fw::FitsDigits(99.9, 2));
  EXPECT_FALSE(fw::FitsDigits(100, 2));
  EXPECT_TRUE(fw::FitsDigits(-9.9, 2));
  EXPECT_FALSE(fw::FitsDigits(-10, 2));
  EXPECT_TRUE(fw::FitsDigits(0, 0));
}

// ---------------------------------------------------------------------------------------------
// Field formatting

TEST(ConvertFields, FieldValueToTextByEditType) {
  struct Case {
    TEditType type;
    int maxLength, decimals;
    bool calculable, underInput, zeroDisplay;
    std::string text;
    std::string expected;
  };
  const std::string entry = "  9.99";
  const Case cases[] = {
      {TEditType::etByte, 3, 0, false, false, true, "300", "255"},
      {TEditType::etByte, 3, 0, false, true, true, "-7", "  0"},
      {TEditType::etInteger, 4, 0, false, false, true, "-5", "   0"},
      {TEditType::etInteger, 4, 0, false, true, true, "-5", "  -5"},
      {TEditType::etInteger, 4, 0, false, false, false, "-5", ""},  // zero not displayed
      {TEditType::etInteger, 0, 0, false, false, true, "1,234", "    1234"},  // width 8 by default
      {TEditType::etInteger, 4, 0, false, false, true, "123456", "123456"},   // widened, not "3456"
      {TEditType::etInteger, 4, 0, true, false, true, "10/0+2", "  12"},
      {TEditType::etInteger, 0, 0, false, true, true, "99999999999", "2147483647"},
      {TEditType::etWord, 5, 0, false, false, true, "70000", "65535"},
      {TEditType::etWord, 5, 0, false, true, true, "-1", "    0"},
      {TEditType::etSmallInt, 6, 0, false, true, true, "40000", " 32767"},
      {TEditType::etSmallInt, 6, 0, false, true, true, "-40000", "-32768"},
      {TEditType::etSmallInt, 6, 0, false, false, true, "-40000", "     0"},
      {TEditType::etFloat, 6, 2, false, false, true, "3.14159", "  3.14"},
      {TEditType::etFloat, 6, 2, false, false, true, "12345.6", entry},  // does not fit
      {TEditType::etFloat, 6, 2, false, false, true, "999.996", entry},  // fits only before rounding
      {TEditType::etFloat, 6, 2, false, true, true, "-1.5", " -1.50"},
      {TEditType::etFloat, 6, 2, false, false, true, "-1.5", "     0"},
      {TEditType::etFloat, 5, 1, false, true, true, "-99.5", "-99.5"},
      {TEditType::etFloat, 5, 1, false, true, true, "-999.5", entry},  // the sign needs a place
      {TEditType::etFloat, 6, 1, true, false, true, "1+2*3", "   9.0"},
      {TEditType::etFloat, 6, 1, false, false, false, "0", ""},
      {TEditType::etFloat, 6, 1, false, false, true, "abc", "     0"},
      {TEditType::etString, 5, 0, false, false, false, "ab", "ab"},
      {TEditType::etString, 0, 0, false, false, false, "  abc  ", "  abc"},
      {TEditType::etString, 4, 0, false, false, false, "abcdef", "abcd"},
      {TEditType::etString, 3, 0, false, false, false, S("あいう"), S("あ")},
      {TEditType::etChar, 2, 0, false, false, false, "x", "x"},
      {TEditType::etDate, 0, 0, false, false, false, " 99/12/31 ", "99/12/31"},
      {TEditType::etDate, 0, 0, false, false, false, "99/13/01", ""},
      {TEditType::etTime, 0, 0, false, false, false, "24:00:00", "24:00:00"},
      {TEditType::etTime, 0, 0, false, false, false, "25:00:00", ""},
      {TEditType::etDateTime, 0, 0, false, false, false, "2000/02/29 12:30:00", "2000/02/29 12:30:00"},
      {TEditType::etDateTime, 0, 0, false, false, false, "2000/02/29", ""},
  };
  for (const Case& c : cases) {
    fw::FieldFormat f;
    f.editType = c.type;
    f.maxLength = c.maxLength;
    f.decimals = c.decimals;
    f.calculable = c.calculable;
    f.underInput = c.underInput;
    f.zeroDisplay = c.zeroDisplay;
    f.entryText = entry;
    EXPECT_EQ(fw::FieldValueToText(f, c.text), c.expected)
        << "type " << static_cast<int>(c.type) << " text \"" << U(c.text) << '"';
  }
}

TEST(ConvertFields, VariantToFieldTextJudgesZeroAfterRounding) {
  fw::FieldFormat f;
  f.editType = TEditType::etInteger;
  f.maxLength = 4;
  EXPECT_EQ(fw::VariantToFieldText(f, 0.4), "");
  EXPECT_EQ(fw::VariantToFieldText(f, 2.5), "   2");
  f.zeroDisplay = true;
  EXPECT_EQ(fw::VariantToFieldText(f, 0.4), "   0");
}

// ---------------------------------------------------------------------------------------------
// Double-byte-safe text

// "ab" + "ソ" (83 5C: trail byte '\') + half-width "ｱ" (B1, one byte) + "ア" (83 41: trail 'A') + "c"
const std::string kMixed = std::string("ab\x83\x5C\xB1\x83\x41") + "c";

TEST(ConvertText, MixedTextHasTheExpectedBytes) {
  EXPECT_EQ(kMixed, S("abソｱアc"));
}

TEST(ConvertText, LeftStrJNeverSplitsACharacter) {
  const struct {
    int n;
    const char* expected;  // UTF-8
  } cases[] = {{0, ""},       {-1, ""},         {2, "ab"},         {3, "ab "},        {4, "abソ"},
               {5, "abソｱ"}, {6, "abソｱ "},    {7, "abソｱア"},    {8, "abソｱアc"},   {100, "abソｱアc"}};
  for (const auto& c : cases) EXPECT_EQ(U(fw::LeftStrJ(kMixed, c.n)), c.expected) << "n " << c.n;
  EXPECT_EQ(fw::LeftStrJ("", 3), "");
}

TEST(ConvertText, RightStrJNeverSplitsACharacter) {
  const struct {
    int n;
    const char* expected;  // UTF-8
  } cases[] = {{0, ""},         {1, "c"},           {2, "ア"},  // starts on a trail byte: one earlier
               {3, "アc"},      {4, "ｱアc"},        {5, "ソｱア"}, {6, "ソｱアc"}, {7, "bソｱアc"},
               {20, "abソｱアc"}};
  for (const auto& c : cases) EXPECT_EQ(U(fw::RightStrJ(kMixed, c.n)), c.expected) << "n " << c.n;
  // Shifted one byte to the left, the piece ends in a lead byte, which becomes a blank.
  EXPECT_EQ(U(fw::RightStrJ(S("xアア"), 3)), "ア ");
}

TEST(ConvertText, ByteRolesAndSplitting) {
  EXPECT_FALSE(fw::IsLeadByteAt(kMixed, 2));
  EXPECT_TRUE(fw::IsLeadByteAt(kMixed, 3));
  EXPECT_TRUE(fw::IsTrailByteAt(kMixed, 4));  // 0x5C
  EXPECT_FALSE(fw::IsLeadByteAt(kMixed, 5));  // half-width katakana
  EXPECT_FALSE(fw::IsTrailByteAt(kMixed, 5));
  EXPECT_TRUE(fw::IsTrailByteAt(kMixed, 7));  // 0x41
  EXPECT_FALSE(fw::IsTrailByteAt(kMixed, 100));  // held to the last byte, "c"
  EXPECT_FALSE(fw::IsLeadByteAt("", 1));
  EXPECT_TRUE(fw::HasDoubleByte(kMixed));
  EXPECT_FALSE(fw::HasDoubleByte(S("ｱｲｳ")));

  std::string first, rest;
  fw::SplitAtBytes(kMixed, 3, first, rest);
  EXPECT_EQ(U(first), "ab");
  EXPECT_EQ(U(rest), "ソｱアc");
  fw::SplitAtBytes(kMixed, 4, first, rest);
  EXPECT_EQ(U(first), "abソ");
  EXPECT_EQ(U(rest), "ｱアc");
  fw::SplitAtBytes(kMixed, 8, first, rest);
  EXPECT_EQ(first, kMixed);
  EXPECT_EQ(rest, "");
}

TEST(ConvertText, UpperCaseJUsesTheRealLeadByteRanges) {
  // "ド" is 83 68: its trail byte looks like 'h' and must stay.
  EXPECT_EQ(fw::UpperCaseJ(S("aドzｱb")), S("AドZｱB"));
  // A half-width katakana byte is a single byte: the letter after it is upper-cased.
  EXPECT_EQ(fw::UpperCaseJ("\xB1" "a"), "\xB1" "A");
  // Lead bytes above 0xEA (here 0xF0) still protect their trail byte.
  EXPECT_EQ(fw::UpperCaseJ("\xF0" "ab"), "\xF0" "aB");
}

TEST(ConvertText, ReplaceAllTerminates) {
  const struct {
    const char *oldText, *newText, *text, *expected;
  } cases[] = {
      {"a", "aa", "banana", "baanaanaa"},  // new text contains the old one
      {"", "x", "abc", "abc"},             // empty old text
      {"  ", " ", "a     b", "a b"},        // shorter replacement repeats until none is left
      {"ab", "", "aabb", ""},
      {"ab", "bbaa", "ab", "bbaa"},        // longer replacement: one pass
      {"x", "y", "", ""},
      {"\\", "/", "C:\\a\\b", "C:/a/b"},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::ReplaceAll(c.oldText, c.newText, c.text), c.expected) << c.text;
}

TEST(ConvertText, SearchAndEditRoutines) {
  EXPECT_TRUE(fw::ContainsStr("", ""));
  EXPECT_TRUE(fw::ContainsStr("", "abc"));
  EXPECT_FALSE(fw::ContainsStr("a", ""));
  EXPECT_TRUE(fw::ContainsStr("bc", "abcd"));
  EXPECT_EQ(fw::ReplaceFirst("a", "X", "banana"), "bXnana");
  EXPECT_EQ(fw::DeleteSubstring("an", "banana"), "bana");
  EXPECT_EQ(fw::TextBefore("abc:def:g", ":"), "abc");
  EXPECT_EQ(fw::TextBefore("abc", ":"), "abc");
  EXPECT_EQ(fw::OverwriteAt("abcdef", 3, "XY"), "abXYef");
  EXPECT_EQ(fw::OverwriteAt("abc", 3, "XYZ"), "abXYZ");
  EXPECT_EQ(fw::OverwriteAt("abc", 10, "X"), "abcX");
  EXPECT_EQ(fw::ReplaceChar("a,b,c", ',', 0), "abc");
  EXPECT_EQ(fw::ReplaceChar("abc", 'b', 'X'), "aXc");
  EXPECT_EQ(fw::StripChar("1,234,5"), "12345");
  EXPECT_EQ(fw::TrimBoth(" \t a b \r\n"), "a b");
  EXPECT_EQ(fw::StripLabelPrefix(" 12:name"), "name");
  EXPECT_EQ(fw::StripLabelPrefix("C:\\DATA\\X.DAT"), "C:\\DATA\\X.DAT");
  EXPECT_EQ(fw::StripLabelPrefix("ab:cd"), "cd");
  EXPECT_EQ(fw::CountChars("a,b,,c", ","), 3);
  EXPECT_TRUE(fw::HasOnlyChars("12.5", "0123456789."));
  EXPECT_FALSE(fw::HasOnlyChars("12a", "0123456789."));
  EXPECT_TRUE(fw::HasCharsOf("q1", "0..9"));
  EXPECT_FALSE(fw::HasCharsOf("xyz", "a..c"));
  EXPECT_TRUE(fw::HasCharsOf("xyz", "z"));
  EXPECT_EQ(fw::HourOfTimeText("12:30"), 12);
  EXPECT_EQ(fw::HourOfTimeText("  7:00:00"), 7);
  EXPECT_EQ(fw::HourOfTimeText("1:300"), 0);  // ":" at position 2
  EXPECT_EQ(fw::HourOfTimeText("123"), 0);
  EXPECT_EQ(fw::BlankToZero(" 1 2"), "0102");
  EXPECT_EQ(fw::TrailingNumber("ABC123"), 123);
  EXPECT_EQ(fw::LeadingNumber("45x6"), 45);
  EXPECT_EQ(fw::LeadingNumber("x"), 0);
}

TEST(ConvertText, SymbolCodes) {
  const std::pair<char, int> cases[] = {{'!', 245}, {'"', 246}, {'%', 243}, {'&', 241}, {'\'', 244},
                                        {'(', 242}, {'-', 247}, {'.', 248}, {'A', 'A'}, {'\xB1', 0xB1}};
  for (const auto& [ch, code] : cases) {
    EXPECT_EQ(fw::SymbolCode(ch), code) << ch;
    EXPECT_EQ(fw::SymbolCodeValue, code);
  }
}

TEST(ConvertText, RangeTextsAndNumberLists) {
  EXPECT_EQ(fw::ExpandRangeText("1..5"), "1,2,3,4,5");
  EXPECT_EQ(fw::ExpandRangeText("1,3..5,9"), "1,3,4,5,9");
  EXPECT_EQ(fw::ExpandRangeText("2,5..3,7..8"), "2,5..3,7..8");  // a falling range stops the expansion
  EXPECT_EQ(fw::ExpandRangeText("1...3"), "1...3");
  EXPECT_EQ(fw::ExpandRangeText("1..3a"), "1..3a");
  EXPECT_EQ(fw::ExpandRangeText("9223372036854775807..99999999999999999999"), "9223372036854775807");

  int count = -1;
  std::vector<int64_t> numbers;
  fw::ParseNumberList("1..5000", count, numbers);  // capped, not overflowing
  EXPECT_EQ(count, 999);
  EXPECT_EQ(numbers.back(), 999);
  EXPECT_TRUE(fw::DialogYes);
  EXPECT_EQ(fw::CountChars(fw::ExpandRangeText("1..5000"), ","), 998);

  fw::ParseNumberList("3,1..2,,8", count, numbers);
  EXPECT_EQ(numbers, (std::vector<int64_t>{3, 1, 2, 8}));
  fw::ParseNumberList("2, 4", count, numbers);
  EXPECT_EQ(numbers, (std::vector<int64_t>{2, 4}));
  fw::ParseNumberList("", count, numbers);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(fw::DialogYes);
}

TEST(ConvertText, IsNewComboText) {
  const std::vector<std::string> items = {"a", " 10:b"};
  EXPECT_FALSE(fw::IsNewComboText("", items, "B", ""));  // "10:b" is "b" once the label is dropped
  EXPECT_TRUE(fw::IsNewComboText("", items, "c", ""));
  EXPECT_FALSE(fw::IsNewComboText("new*", items, "c", "*"));
  EXPECT_FALSE(fw::IsNewComboText("", items, "", ""));
  EXPECT_FALSE(fw::IsNewComboText("", items, std::string(41, 'x'), ""));
  EXPECT_TRUE(fw::IsNewComboText("", items, std::string(40, 'x'), ""));
}

// ---------------------------------------------------------------------------------------------
// Expressions

class ConvertExpression : public testing::Test {
 protected:
  testsupport::FakeUi ui;
};

TEST_F(ConvertExpression, EvaluatesStrictlyLeftToRight) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"1+2*3", 9},   {"10/0+2", 12}, {"-5", -5},  {"1,000+1", 1001}, {"2*3=", 6},
      {"", 0},        {"7", 7},       {" 8 / 2 ", 4}, {"1.5*2-1", 2},  {"1+1+1+1+1+1+1+1+1+1+1", 11},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(fw::ExpressionToVariant(c.text), c.expected) << c.text;
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ConvertExpression, ParseRecordsOperatorsPositionsAndOperands) {
  int count = 0;
  fw::ExpressionParts parts;
  fw::ParseExpression("12+3", count, parts);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(parts.op[0], '+');
  EXPECT_EQ(parts.op[1], '=');
  EXPECT_EQ(parts.position[0], 3);
  EXPECT_EQ(parts.position[1], 5);
  EXPECT_FLOAT_EQ(parts.operand[0], 12);
  EXPECT_FLOAT_EQ(parts.operand[1], 3);
}

TEST_F(ConvertExpression, WarnsAndYieldsZero) {
  const struct {
    std::string text;
    const char* warning;
  } cases[] = {
      {S("１+2"), "※文字式に２バイト文字(漢字)が含まれています。"},
      {"(1+2)*3", "※文字式に括弧'(',')'は使えません。（'0123456789+-*/.,'）"},
      {"1+1+1+1+1+1+1+1+1+1+1+1+1", "※演算子は最大12個までです。"},  // 12 "+" and the "="
  };
  for (const auto& c : cases) {
    ui.shown.clear();
    EXPECT_EQ(fw::ExpressionToVariant(c.text), 0) << U(c.text);
    ASSERT_EQ(ui.shown.size(), 1u) << U(c.text);
    EXPECT_EQ(U(ui.shown[0].text), c.warning);
    EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Warning);
    EXPECT_EQ(ui.shown[0].buttons, platform::DialogButtons::Ok);
  }
}

// ---------------------------------------------------------------------------------------------
// Unit system

TEST(ConvertUnits, SetUnitSystemAndSymbols) {
  const auto savedNames = fw::UnitNames;
  fw::SetUnitSystem(S("ＳＩ単位"));
  EXPECT_TRUE(fw::UnitSI);
  EXPECT_EQ(fw::UnitFactor[1], 1.1627899f);
  EXPECT_EQ(fw::UnitFactor[2], 0.86f);
  EXPECT_EQ(fw::UnitFactor[3], 2083.6f);
  EXPECT_EQ(fw::UnitFactor[4], 0.00047994f);
  EXPECT_EQ(fw::UnitFactor[6], 1.1627899f);

  fw::UnitNames = {{"kcal/h", "W"}, {"kcal", "kJ"}};
  EXPECT_EQ(U(fw::UnitSymbolText(S("熱量 kcal/h ℃"))), "熱量 W ℃");  // replaced, symbol restored
  EXPECT_EQ(U(fw::UnitSymbolText(S("温度(℃) ㎡"))), "温度(ﾟC) m2");   // no pair: single-byte symbols
  EXPECT_EQ(U(fw::UnitSymbolText(S("kcal Ｋ"))), "kJ Ｋ");

  fw::SetUnitSystem(S("工学単位"));
  EXPECT_FALSE(fw::UnitSI);
  EXPECT_EQ(U(fw::UnitSystemName), "工学単位");
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(fw::UnitFactor[static_cast<size_t>(i)], 1.0f);
  EXPECT_EQ(U(fw::UnitSymbolText(S("kcal/h ℃"))), "kcal/h ℃");
  fw::UnitNames = savedNames;
}

// ---------------------------------------------------------------------------------------------
// Dates

TEST(ConvertDates, LeapYearsAndDayOfYear) {
  const std::pair<int, bool> leaps[] = {{1900, false}, {2000, true}, {2100, false}, {1996, true},
                                        {1997, false}, {0, true},     {96, true},    {99, false}};
  for (const auto& [year, leap] : leaps) {
    fw::SetLeapYearFlag(year);
    EXPECT_EQ(fw::LeapFlag, leap) << year;
    EXPECT_EQ(fw::LeapIndex, leap ? 1 : 0) << year;
  }
  // Each year uses its own leap state, whatever year was set before.
  fw::SetLeapYearFlag(1999);
  EXPECT_EQ(fw::DayOfYear(3, 1, 2000), 61);
  fw::SetLeapYearFlag(2000);
  EXPECT_EQ(fw::DayOfYear(3, 1, 1999), 60);
  const struct {
    int month, day, year, expected;
  } cases[] = {{1, 15, 1999, 15}, {0, 5, 2000, 0},  {5, 0, 2000, 0},     {13, 1, 1999, 366},
               {3, 1, 1900, 60},  {3, 1, 96, 61},   {12, 31, 2000, 366}, {14, 1, 2000, 0}};
  for (const auto& c : cases) EXPECT_EQ(fw::DayOfYear(c.month, c.day, c.year), c.expected) << c.month << "/" << c.day << "/" << c.year;
}

TEST(ConvertDates, DayNumberToMonthDay) {
  const struct {
    int year, number, year2, month, day;
  } cases[] = {{1996, 366, 96, 12, 31}, {1996, 60, 96, 2, 29}, {1997, 60, 97, 3, 1},  {1997, 0, 97, 1, 1},
               {1997, 365, 97, 12, 31}, {1997, 400, 97, 12, 31}, {2000, 31, 0, 1, 31}, {2004, 32, 4, 2, 1},
               {96, 60, 96, 2, 29}};
  for (const auto& c : cases) {
    int year2 = -1, month = -1, day = -1;
    fw::DayNumberToMonthDay(c.year, c.number, year2, month, day);
    EXPECT_EQ(year2, c.year2) << c.year << " " << c.number;
    EXPECT_EQ(month, c.month) << c.year << " " << c.number;
    EXPECT_EQ(day, c.day) << c.year << " " << c.number;
  }
}

TEST(ConvertDates, TwoDigitYears) {
  EXPECT_EQ(fw::ExpandTwoDigitYear(49), 2049);
  EXPECT_EQ(fw::ExpandTwoDigitYear(50), 1950);
  EXPECT_EQ(fw::ExpandTwoDigitYear(100), 100);
  EXPECT_EQ(fw::ToTwoDigitYear(0), 1);
  EXPECT_EQ(fw::ToTwoDigitYear(2005), 5);
  EXPECT_EQ(fw::ToTwoDigitYear(1999), 99);
  EXPECT_EQ(fw::ToTwoDigitYear(1800), 0);
}

TEST(ConvertDates, DateAndTimeTexts) {
  const std::pair<const char*, bool> dates[] = {
      {"99/12/31", true},  {"1999/12/31", true}, {"99-12-31", false}, {"99/13/01", false},
      {"9/12/31", false},  {"99/00/10", false},  {"99/1a/10", false}, {"", false}};
  for (const auto& [text, ok] : dates) EXPECT_EQ(fw::IsDateText(text), ok) << text;
  fw::IsDateText("1900/02/28");
  EXPECT_FALSE(fw::LeapFlag);  // the four-digit year decides, not its last two digits
  fw::IsDateText("00/02/28");
  EXPECT_TRUE(fw::LeapFlag);

  const std::pair<const char*, bool> times[] = {{"00:00:00", true},  {"24:00:00", true},  {"25:00:00", false},
                                                {"12:60:60", true},  {"12:61:00", false}, {"1:00:000", false},
                                                {"12:3::00", false}, {"12-30-00", false}};
  for (const auto& [text, ok] : times) EXPECT_EQ(fw::IsTimeText(text), ok) << text;

  const std::pair<const char*, bool> dateTimes[] = {{"99/12/31 23:59:59", true},
                                                    {"1999/12/31 23:59:59", true},
                                                    {"99/12/31 24:61:00", false},
                                                    {"99/12/31 23:59", false},
                                                    {"99/13/31 23:59:59", false}};
  for (const auto& [text, ok] : dateTimes) EXPECT_EQ(fw::IsDateTimeText(text), ok) << text;
}

TEST(ConvertDates, RangeCheckSetsTheRangeErrorCode) {
  fw::Input.RangeErrorCode = 0;
  EXPECT_TRUE(fw::InRangeInt(5, 10, 1));
  EXPECT_EQ(fw::Input.RangeErrorCode, 0);
  EXPECT_FALSE(fw::InRangeInt(11, 1, 10));
  EXPECT_NE(fw::Input.RangeErrorCode, 0);
  fw::Input.RangeErrorCode = 0;
  EXPECT_TRUE(fw::InRangeFloat(0.30000001, 0.0, 0.3));  // equal in single precision
  EXPECT_FALSE(fw::InRangeFloat(-0.1, 0.0, 0.3));
  EXPECT_NE(fw::Input.RangeErrorCode, 0);
  fw::Input.RangeErrorCode = 0;
  EXPECT_EQ(fw::RangeCount(3, 1), 0);
  EXPECT_EQ(fw::RangeCount(1, 3), 3);
  EXPECT_EQ(fw::RangeCount(INT64_MIN, INT64_MAX), INT64_MAX);
  bool flag = false;
  EXPECT_TRUE(fw::ToggleFlag(flag));
  EXPECT_TRUE(flag);
}

TEST(ConvertDates, Stamps) {
  const std::pair<const char*, int64_t> seconds[] = {
      {"000000000000", 0},          {"700101000000", 0},           {"000000000001", 1},
      {"700102000000", 86400},      {"000229000000", 951782400},   {"991231240000", 946684800},
      {"991231236060", 946684860},  {"  991231000000", 946598400}, {"991331000000", 0},
      {"991232000000", 0},          {"991231250000", 0},           {"99123100000", 0},
      {"99123100000x", 0},          {"491231000000", 2524521600}};
  for (const auto& [stamp, expected] : seconds) EXPECT_EQ(fw::StampToSeconds(stamp), expected) << stamp;

  EXPECT_EQ(fw::StampToDateTimeText("991231235959"), "1999/12/31 23:59:59");
  EXPECT_EQ(fw::StampToDateTimeText("490101000000"), "2049/01/01 00:00:00");
  EXPECT_EQ(fw::StampToDateTimeText("abc"), "");
  const fw::DateTime t{2001, 2, 3, 4, 5, 6};
  EXPECT_EQ(fw::DateStampText(t), "2001/02/03 04:05:06");
  EXPECT_EQ(fw::DateStampShort(t), "010203040506");
  const std::string now = fw::FileStampText();
  EXPECT_EQ(now.size(), 19u);
  EXPECT_EQ(now.substr(0, 2), "20");
  EXPECT_TRUE(fw::IsDateTimeText(now)) << now;
}

// ---------------------------------------------------------------------------------------------
// Statistics and sorting

TEST(ConvertStats, FloatArrayStats) {
  fw::ArrayStats s;
  const std::vector<float> a = {10, 20, 30};
  fw::FloatArrayStats(3, a, s);
  EXPECT_EQ(s.minIndex, 1);
  EXPECT_EQ(s.maxIndex, 3);
  EXPECT_EQ(s.nearestIndex, 2);
  EXPECT_EQ(s.mean, 20);
  EXPECT_TRUE(fw::FoundFlag);

  const std::vector<float> b = {5, 1, 9, 1, 9, 5};
  fw::FloatArrayStats(6, b, s);  // first occurrences win
  EXPECT_EQ(s.minIndex, 2);
  EXPECT_EQ(s.maxIndex, 3);
  EXPECT_EQ(s.nearestIndex, 1);

  const std::vector<float> c = {1, 2};
  fw::FloatArrayStats(2, c, s);  // mean 1.5 rounds to 2 (halves to even)
  EXPECT_EQ(s.mean, 2);
  EXPECT_EQ(s.nearestIndex, 2);

  const std::vector<float> huge = {1e30f, -1e30f, 3};
  fw::FloatArrayStats(3, huge, s);  // a wide spread is no long search
  EXPECT_EQ(s.nearestIndex, 3);

  fw::FloatArrayStats(0, a, s);
  EXPECT_EQ(s.minimum, 1e10f);
  EXPECT_EQ(s.maximum, -1e10f);
  EXPECT_EQ(s.minIndex, 0);
  EXPECT_EQ(s.nearestIndex, 0);
  EXPECT_FALSE(fw::FoundFlag);
}

TEST(ConvertStats, SortStringsKeepIndex) {
  std::vector<std::string> texts = {"b", "A", "a", "C"};
  std::vector<int> index;
  ASSERT_TRUE(fw::SortStringsKeepIndex('U', 4, texts, index));
  EXPECT_EQ(texts, (std::vector<std::string>{"A", "a", "b", "C"}));  // equal texts keep their order
  EXPECT_EQ(index, (std::vector<int>{2, 3, 1, 4}));

  texts = {"b", "A", "a", "C"};
  ASSERT_TRUE(fw::SortStringsKeepIndex('D', 4, texts, index));
  EXPECT_EQ(texts, (std::vector<std::string>{"C", "b", "a", "A"}));
  EXPECT_EQ(index, (std::vector<int>{4, 1, 3, 2}));

  // Only the first `count` texts take part.
  texts = {S("ド"), "z", "keep"};
  ASSERT_TRUE(fw::SortStringsKeepIndex('U', 2, texts, index));
  EXPECT_EQ(texts[0], "z");
  EXPECT_EQ(texts[1], S("ド"));
  EXPECT_EQ(texts[2], "keep");

  std::vector<std::string> many(1000, "x");
  EXPECT_FALSE(fw::SortStringsKeepIndex('U', 1000, many, index));
}

// ---------------------------------------------------------------------------------------------
// Day-table lines

TEST(ConvertDayTable, ParsesLinesByMode) {
  const std::string line = "1999/01/01 00:00:00    1.5   -2.0  12.25";
  ASSERT_EQ(line.size(), 40u);
  ASSERT_TRUE(fw::ParseDayTableLine(line, 4));
  EXPECT_EQ(fw::DayCells.count, 3);
  EXPECT_EQ(fw::DayCells.text[0], "1999/01/01");
  EXPECT_EQ(fw::DayCells.text[1], "00:00:00");
  EXPECT_EQ(fw::DayCells.number[0], 1.5);
  EXPECT_EQ(fw::DayCells.number[1], -2.0);
  EXPECT_EQ(fw::DayCells.number[2], 12.25);

  ASSERT_TRUE(fw::ParseDayTableLine(line, 2));
  EXPECT_EQ(fw::DayCells.text[0], "   1.5");
  EXPECT_EQ(fw::DayCells.text[2], " 12.25");
  EXPECT_EQ(fw::DayCells.number[0], 0);  // modes 0 to 3 clear the rows first

  ASSERT_TRUE(fw::ParseDayTableLine(line, 1));
  EXPECT_EQ(fw::DayCells.row, 25);
  EXPECT_EQ(fw::DayCells.text[0], " 1.5");

  ASSERT_TRUE(fw::ParseDayTableLine("short", 0));
  EXPECT_EQ(fw::DayCells.text[0], "short");
  EXPECT_EQ(fw::DayCells.count, 0);

  EXPECT_FALSE(fw::ParseDayTableLine("", 0));
  EXPECT_FALSE(fw::ParseDayTableLine(line, 5));
  EXPECT_FALSE(fw::ParseDayTableLine(line.substr(0, 26), 1));
  std::string noBlank = line;
  noBlank[10] = '_';
  EXPECT_FALSE(fw::ParseDayTableLine(noBlank, 4));
  EXPECT_EQ(fw::DayCells.count, 0);
}

TEST(ConvertDayTable, LongLinesAreCappedAtTheBuffer) {
  std::string line = "1999/01/01 00:00:00";
  for (int i = 0; i < 150; ++i) line += "    1.0";
  ASSERT_TRUE(fw::ParseDayTableLine(line, 4));
  EXPECT_EQ(fw::DayCells.count, fw::DayTableCells::kEntries);
  EXPECT_EQ(fw::DayCells.number[fw::DayTableCells::kEntries - 1], 1.0);
}

}  // namespace
