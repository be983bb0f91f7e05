#include <gtest/gtest.h>

#include "expr_test_util.h"

using exprtest::ExprTest;
using exprtest::Show;
using platform::J;

namespace {

struct Case {
  std::string expression;
  std::string expected;  // kind ":" value
};

// Expression text -> kind and value, or the error message. The table's first row is current:
// NAME "Ann", QTY 1, PRICE 2.5, PAID True, DAY 2024/03/05.
const Case kCases[] = {
    // Precedence, grouping, the swap rule and its mend.
    {"1+2*3", "INTEGER:7"},
    {"10-4-3", "INTEGER:3"},
    {"10-4+3", "INTEGER:9"},
    {"10 - 2 - 3", "INTEGER:5"},
    {"5--3", "INTEGER:8"},
    {"5-+3", "INTEGER:2"},
    {"5 - -3", "INTEGER:8"},
    {"1 = -3", "BOOLEAN:False"},
    {"DIV(7, -2)", "INTEGER:-3"},
    {"2*3-4*5", "INTEGER:-14"},
    {"2*(3+4)", "INTEGER:14"},
    {"(1)", "INTEGER:1"},
    {"-3+4", "INTEGER:1"},
    {"-(1+2)", "INTEGER:-3"},
    {"7/2", "FLOAT:3.5"},
    {"8/4/2", "FLOAT:1"},
    {"8/4*2", "FLOAT:4"},
    {"'a-b' + 'c' - 'd'", "ERROR:Cannot subtract string expressions"},
    {"10-[QTY]+3", "INTEGER:12"},
    // Numbers.
    {"2147483647", "INTEGER:2147483647"},
    {"99999999999", "FLOAT:99999999999"},
    {"1.5e3", "FLOAT:1500"},
    {"12ab", "ERROR:Illegal character in numeric contant \"12ab\""},
    {"1.2.3", "ERROR:Illegal character in numeric contant \"1.2.3\""},
    {"2*-3", "ERROR:Illegal character in numeric contant \"2*\""},
    // Mixed kinds.
    {"'a' + 1", "STRING:a1"},
    {"1 + 2.5", "FLOAT:3.5"},
    {"TRUE + 1", "STRING:True1"},
    {"'x' + 1.5", "STRING:x1.5"},
    // Comparisons, which do not chain.
    {"1 < 2", "BOOLEAN:True"},
    {"2.5 >= 2", "BOOLEAN:True"},
    {"1 <> 1", "BOOLEAN:False"},
    {"3 <= 2", "BOOLEAN:False"},
    {"'a' < 'b'", "BOOLEAN:True"},
    {"'ab' < 'a'", "BOOLEAN:False"},
    {"'ab' = 'ab'", "BOOLEAN:True"},
    {"TRUE = FALSE", "BOOLEAN:False"},
    {"1 = 1 = 1", "ERROR:Illegal character in numeric contant \"1 = 1\""},
    {"TRUE < FALSE", "ERROR:Operator < is not compatible with boolean expressions"},
    {"TRUE >= FALSE", "ERROR:Operator >= is not compatible with boolean expressions"},
    // or, and, not.
    {"TRUE or FALSE", "BOOLEAN:True"},
    {"TRUE AND FALSE", "BOOLEAN:False"},
    {"5 or 2", "INTEGER:7"},
    {"6 and 3", "INTEGER:2"},
    {"1.5 or 1", "ERROR:Operator OR is not compatible with numeric expressions"},
    {"1.5 and 1", "ERROR:Operator AND is not compatible with numeric expressions"},
    {"'a' or 'b'", "ERROR:Operator OR is not compatible with string expressions"},
    {"'a' and 'b'", "ERROR:Operator AND is not compatible with string expressions"},
    {"not TRUE", "BOOLEAN:False"},
    {"NOT (1 = 2)", "BOOLEAN:True"},
    {"not 1", "ERROR:Invalid use of NOT"},
    // The operator table's errors.
    {"TRUE + FALSE", "ERROR:Cannot add boolean expressions"},
    {"TRUE - TRUE", "ERROR:Cannot subtract boolean expressions"},
    {"TRUE * TRUE", "ERROR:Cannot multiply boolean expressions"},
    {"TRUE / TRUE", "ERROR:Cannot divide boolean expressions"},
    {"'a' - 'b'", "ERROR:Cannot subtract string expressions"},
    {"'a' * 'b'", "ERROR:Cannot multiply string expressions"},
    {"'a' / 'b'", "ERROR:Cannot divide string expressions"},
    {"1/0", "ERROR:Cannot divide by 0"},
    {"1.5/0", "ERROR:Cannot divide by 0"},
    {"(1/0) + 'x'", "ERROR:Cannot divide by 0"},
    // Parse errors.
    {"", "STRING: "},
    {"'it''s'", "STRING:it''s"},
    {"'abc", "ERROR:Missing '"},
    {"(1+2", "ERROR:Missing )"},
    {"[NAME", "ERROR:Missing ]"},
    {"#", "ERROR:Error in expression : #"},
    {"FOO(1)", "ERROR:Unknown function : FOO"},
    {"foo", "ERROR:Unknown function : FOO"},
    {"[foo]", "ERROR:Unknown function : foo"},
    // IF, STR, case functions.
    {"IF(1 < 2, 'yes', 'no')", "STRING:yes"},
    {"IF(FALSE, 1, 2)", "INTEGER:2"},
    {"IF(FALSE, 1/0, 2)", "INTEGER:2"},
    {"IF(1, 2, 3)", "ERROR:Wrong arguments for IF"},
    {"IF(TRUE, 1)", "ERROR:Wrong arguments for IF"},
    {"STR(12)", "STRING:12"},
    {"STR(1.5)", "STRING:1.5"},
    {"STR(TRUE)", "STRING:True"},
    {"STR('a')", "ERROR:Conversion error"},
    {"STR(1, 2)", "ERROR:Conversion error"},
    {"UPPER('abc')", "STRING:ABC"},
    {"LOWER('AbC')", "STRING:abc"},
    {"PRETTY('hELLO wORLD')", "STRING:Hello world"},
    {"UPPER(1)", "ERROR:Wrong arguments for UPPER"},
    {"LOWER(TRUE)", "ERROR:Wrong arguments for LOWER"},
    {"PRETTY(1.5)", "ERROR:Wrong arguments for PRETTY"},
    {"UPPER()", "ERROR:Missing argument for UPPER"},
    {"LOWER('a', 'b')", "ERROR:Missing argument for LOWER"},
    {"UPPER(1/0)", "ERROR:Cannot divide by 0"},
    // COPY.
    {"COPY('abcdef', 0, 3)", "STRING:abc"},
    {"COPY('abcdef', 2, 3)", "STRING:bcd"},
    {"COPY('abc', 2, 10)", "STRING:bc"},
    {"COPY('abc', 5, 2)", "STRING:"},
    {"COPY('abc', 1, 0-1)", "STRING:"},
    {"COPY('abc', 1.5, 2)", "ERROR:Wrong arguments for COPY"},
    {"COPY('abc', 1)", "ERROR:Wrong arguments for COPY"},
    // TRUE, FALSE, INT, FRAC, SQRT, DIV, TYPEOF, FORMATNUMERIC.
    {"TRUE", "BOOLEAN:True"},
    {"false", "BOOLEAN:False"},
    {"TRUE(1)", "ERROR:Too many arguments"},
    {"INT(7.9)", "INTEGER:7"},
    {"INT(-7.9)", "INTEGER:-7"},
    {"INT(5)", "INTEGER:5"},
    {"INT('a')", "ERROR:Wrong arguments for INT"},
    {"INT(1e10)", "ERROR:Wrong arguments for INT"},
    {"FRAC(2.75)", "FLOAT:0.75"},
    {"FRAC(3)", "FLOAT:0"},
    {"FRAC('a')", "ERROR:Wrong arguments for FRAC"},
    {"SQRT(16)", "FLOAT:4"},
    {"SQRT(2.25)", "FLOAT:1.5"},
    {"SQRT(-1)", "ERROR:Invalid argument to SQRT function"},
    {"SQRT('a')", "ERROR:Invalid argument to SQRT function"},
    {"SQRT()", "ERROR:Invalid argument to SQRT function"},
    {"DIV(7,2)", "INTEGER:3"},
    {"DIV(-7,2)", "INTEGER:-3"},
    {"DIV(2.5, 1)", "INTEGER:2"},
    {"DIV(3.5, 1)", "INTEGER:4"},
    {"DIV(-2.5, 1)", "INTEGER:-2"},
    {"DIV(7, 0)", "ERROR:Division by Zero"},
    {"DIV(7, 0.4)", "ERROR:Division by Zero"},
    {"DIV('a', 1)", "ERROR:Wrong arguments for DIV"},
    {"DIV(7)", "ERROR:Wrong arguments for DIV"},
    {"DIV(1e10, 1)", "ERROR:Wrong arguments for DIV"},
    {"DIV(-2147483648.0, -1)", "ERROR:Wrong arguments for DIV"},
    {"TYPEOF(1)", "STRING:INTEGER"},
    {"TYPEOF(1.5)", "STRING:FLOAT"},
    {"TYPEOF('a')", "STRING:STRING"},
    {"TYPEOF(TRUE)", "STRING:BOOLEAN"},
    {"TYPEOF(1/0)", "STRING:ERROR"},
    {"TYPEOF()", "ERROR:Wrong arguments for TypeOf"},
    {"FORMATNUMERIC('#,##0.00', 1234.5)", "STRING:1,234.50"},
    {"FORMATNUMERIC('0.0E+00', 12)", "STRING:1.2E+01"},
    {"FORMATNUMERIC('0', 1e308 * 10)", "ERROR:Invalid format or value specified"},
    {"FORMATNUMERIC(1, 1)", "ERROR:Wrong arguments for FORMATNUMERIC"},
    {"FORMATNUMERIC('0', 'a')", "ERROR:Wrong arguments for FORMATNUMERIC"},
    {"TIME(1)", "ERROR:Too many arguments"},
    {"DATE(1)", "ERROR:Too many arguments"},
    {"COUNT(1)", "ERROR:COUNT - Too many arguments"},
    {"SUM(1, 2)", "ERROR:Wrong arguments for SUM"},
    {"MAX()", "ERROR:Wrong arguments for MAX"},
    // Aggregates before any pass.
    {"SUM(1)", "INTEGER:0"},
    {"AVERAGE(1)", "FLOAT:0"},
    {"COUNT", "INTEGER:0"},
    // Fields as [NAME], NAME and [SET.FIELD]; names found in any case.
    {"[NAME]", "STRING:Ann"},
    {"name", "STRING:Ann"},
    {"[CUST.QTY]", "INTEGER:1"},
    {"[cust.qty] + 1", "INTEGER:2"},
    {"CUST.PRICE * 2", "FLOAT:5"},
    {"[PAID]", "BOOLEAN:True"},
    {"[DAY]", "STRING:2024/03/05"},
    {"[AT]", "ERROR:Field AT is of unknown type"},
    {"[BIG]", "ERROR:Field BIG is of unknown type"},
    {"[OTHER.QTY]", "ERROR:Unknown function : OTHER.QTY"},
    {"IF([PAID], [NAME] + '!', '-')", "STRING:Ann!"},
    // Global names.
    {"AppName", "STRING:TestApp"},
    {"[appname] + '?'", "STRING:TestApp?"},
};

}  // namespace

TEST_F(ExprTest, ExpressionTable) {
  for (const Case& c : kCases) EXPECT_EQ(Show(Eval(c.expression)), c.expected) << c.expression;
}

TEST_F(ExprTest, DoubleByteText) {
  const std::string dakuon = J("ヂ");  // trail byte 'a'
  EXPECT_EQ(Show(Eval("UPPER('" + dakuon + "a')")), "STRING:" + dakuon + "A");
  EXPECT_EQ(Show(Eval("PRETTY('" + dakuon + "AB')")), "STRING:" + dakuon + "ab");
  EXPECT_EQ(Show(Eval("LOWER('" + J("ウ") + "X')")), "STRING:" + J("ウ") + "x");  // ウ ends in 'E'
  // COPY never starts on a trail byte nor ends on a lead byte: 表 and 示 take two bytes each.
  const std::string text = "'" + J("表示A") + "'";
  EXPECT_EQ(Show(Eval("COPY(" + text + ", 1, 3)")), "STRING:" + J("表"));
  EXPECT_EQ(Show(Eval("COPY(" + text + ", 2, 3)")), "STRING:" + J("示"));
  EXPECT_EQ(Show(Eval("COPY(" + text + ", 2, 2)")), "STRING:");
  EXPECT_EQ(Show(Eval("COPY(" + text + ", 3, 3)")), "STRING:" + J("示A"));
  // A trail byte that reads as "]" does not close a field name: ソ is 0x83 0x5C, ゾ 0x83 0x5D.
  EXPECT_EQ(Show(Eval("[" + J("ゾ") + "]")), "ERROR:Unknown function : " + J("ゾ"));
  EXPECT_EQ(Show(Eval("[" + J("ゾ"))), "ERROR:Missing ]");
}

TEST_F(ExprTest, TextsAreCutAt255BytesOnWholeCharacters) {
  const std::string a300(300, 'a');
  EXPECT_EQ(Eval("'" + a300 + "'").length, 255);
  const rpt::TRptEvResult joined = Eval("'" + std::string(254, 'a') + "' + '" + J("表") + "'");
  EXPECT_EQ(joined.Text(), std::string(254, 'a'));
  EXPECT_EQ(Eval("'" + std::string(253, 'a') + "' + '" + J("表") + "'").Text(), std::string(253, 'a') + J("表"));
}

TEST_F(ExprTest, IntegerOverflowRaises) {
  EXPECT_THROW(Eval("2147483647 + 1"), rpt::EExprOverflow);
  EXPECT_THROW(Eval("0 - 2147483647 - 2"), rpt::EExprOverflow);
  EXPECT_THROW(Eval("65536 * 65536"), rpt::EExprOverflow);
  // IF evaluates both branches: the overflow of the one not taken still raises.
  EXPECT_THROW(Eval("IF(TRUE, 1, 2147483647 + 1)"), rpt::EExprOverflow);
  EXPECT_EQ(Show(Eval("2147483647 + 1.0")), "FLOAT:2147483648");
}

namespace {

// `count` copies of `term` joined by `op`.
std::string Joined(const std::string& term, const std::string& op, int count) {
  std::string text = term;
  for (int k = 1; k < count; ++k) text += op + term;
  return text;
}

// `count` copies of `open`, then `inner`, then `count` copies of `close`.
std::string Nested(const std::string& open, const std::string& inner, const std::string& close, int count) {
  std::string text;
  for (int k = 0; k < count; ++k) text += open;
  text += inner;
  for (int k = 0; k < count; ++k) text += close;
  return text;
}

}  // namespace

// Chains of 100,000 operators read and run without a call per operator, with the meaning of
// the short ones: the signs after a "-" and the divisors after a "/" as written.
TEST_F(ExprTest, LongOperatorChains) {
  EXPECT_EQ(Show(Eval(Joined("1", "+", 100000))), "INTEGER:100000");
  EXPECT_EQ(Show(Eval("1000000-" + Joined("1", " - ", 100000))), "INTEGER:900000");
  // 1 - 2 + 3 - 4 + ... - 100000
  std::string alternating = "1";
  for (int k = 2; k <= 100000; ++k) alternating += (k % 2 == 0 ? "-" : "+") + std::to_string(k);
  EXPECT_EQ(Show(Eval(alternating)), "INTEGER:-50000");
  EXPECT_EQ(Show(Eval(Joined("[QTY]", "*", 100000))), "INTEGER:1");
  EXPECT_EQ(Show(Eval("1000000/" + Joined("10", "/", 4) + "*" + Joined("1", "*", 100000))), "FLOAT:100");
  EXPECT_EQ(Show(Eval(Joined("TRUE", " or ", 50000) + " and FALSE")), "BOOLEAN:True");
  // Concatenation keeps the first 255 bytes, in order.
  std::string letters, expected;
  for (int k = 0; k < 100000; ++k) letters += std::string(k ? "+" : "") + "'" + static_cast<char>('a' + k % 26) + "'";
  for (int k = 0; k < 255; ++k) expected += static_cast<char>('a' + k % 26);
  EXPECT_EQ(Show(Eval(letters)), "STRING:" + expected);
}

// Brackets, unary signs, "not" and function calls nest up to kMaxExprNesting levels; one more
// makes the whole expression the nesting error, as does any number beyond.
TEST_F(ExprTest, NestingIsBounded) {
  static_assert(rpt::kMaxExprNesting == 100);
  struct Construct {
    const char* open;
    const char* inner;
    const char* close;
    int levels;         // nesting levels per repetition
    const char* value;  // at the bound
  };
  const Construct kConstructs[] = {
      {"(", "1", ")", 1, "INTEGER:1"},
      {"-(", "1", ")", 2, "INTEGER:1"},
      {"- (", "1", ")", 2, "INTEGER:1"},
      {"+(", "1", ")", 2, "INTEGER:1"},
      {"not ", "TRUE", "", 1, "BOOLEAN:True"},
      {"IF(TRUE, ", "2", ", 0)", 1, "INTEGER:2"},
      {"UPPER(", "'a'", ")", 1, "STRING:A"},
      {"(1+", "1", ")", 1, "INTEGER:101"},
  };
  const std::string tooDeep = "ERROR:Expression nested more than 100 levels deep";
  for (const Construct& c : kConstructs) {
    SCOPED_TRACE(c.open);
    const int bound = rpt::kMaxExprNesting / c.levels;
    EXPECT_EQ(Show(Eval(Nested(c.open, c.inner, c.close, bound))), c.value);
    EXPECT_EQ(Show(Eval(Nested(c.open, c.inner, c.close, bound + 1))), tooDeep);
    EXPECT_EQ(Show(Eval(Nested(c.open, c.inner, c.close, 100000))), tooDeep);
    EXPECT_EQ(Show(Eval("1 + " + Nested(c.open, c.inner, c.close, bound + 1) + " + 1")), tooDeep);
  }
  // Depth counts nesting, not the number of brackets side by side.
  EXPECT_EQ(Show(Eval(Joined("(((1)))", "+", 10000))), "INTEGER:10000");
}

namespace {

// The text with every digit written as "9".
std::string Shape(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= '0' && c <= '9') c = '9';
  return s;
}

}  // namespace

TEST_F(ExprTest, ClockFunctions) {
  const std::vector<std::string> times = {"9:99:99", "99:99:99"};
  for (const char* name : {"TIME", "AppStartTime"}) {
    const std::string shape = Shape(Eval(name).Text());
    EXPECT_TRUE(shape == times[0] || shape == times[1]) << name << " " << shape;
  }
  EXPECT_EQ(Shape(Eval("DATE").Text()), "9999/99/99");
  EXPECT_EQ(Shape(Eval("AppStartDate").Text()), "9999/99/99");
}

TEST_F(ExprTest, RunOnUnpreparedEvaluatorAndErrorTextRaise) {
  rpt::TRptEvaluator ev;
  EXPECT_THROW(ev.Run(), rpt::EExprError);
  try {
    ev.Run();
  } catch (const rpt::EExprError& e) {
    EXPECT_STREQ(e.what(), "Evaluator not prepared");
  }
  try {
    rpt::ResultToText(rpt::TRptEvResult::Error("bad"));
    ADD_FAILURE();
  } catch (const rpt::EExprError& e) {
    EXPECT_STREQ(e.what(), "Error in expression : bad");
  }
}

TEST_F(ExprTest, AggregatesOverPassesAndAfterReset) {
  struct Aggregate {
    const char* expression;
    const char* afterThree;
    const char* afterReset;
  } aggregates[] = {
      {"SUM([QTY])", "INTEGER:6", "INTEGER:0"},
      {"SUM([QTY]) + 0", "INTEGER:6", "INTEGER:0"},
      {"AVERAGE([QTY])", "FLOAT:2", "FLOAT:0"},
      {"COUNT", "INTEGER:3", "INTEGER:0"},
      {"MAX([PRICE])", "FLOAT:4", "INTEGER:0"},
      {"MIN([PRICE])", "FLOAT:1.25", "INTEGER:0"},
      {"MAX([NAME])", "STRING:Cy", "INTEGER:0"},
      {"MIN([PAID])", "BOOLEAN:False", "INTEGER:0"},
      {"SUM([PRICE])", "FLOAT:7.75", "INTEGER:0"},
      {"SUM(IF([PAID], 1, 0.5))", "FLOAT:2.5", "INTEGER:0"},
      {"SUM([NAME])", "ERROR:Cannot add string expressions", "INTEGER:0"},
      {"SUM(1/0)", "ERROR:Cannot divide by 0", "INTEGER:0"},
      {"AVERAGE([PAID])", "ERROR:Cannot add boolean expressions", "FLOAT:0"},
  };
  for (const Aggregate& a : aggregates) {
    rpt::TRptEvaluator ev;
    ev.SetDataSets(&dataSets);
    ev.Compile(a.expression);
    EXPECT_TRUE(ev.HasAggregates()) << a.expression;
    for (table.First(); !table.Eof(); table.Next()) ev.AggregatePass();
    EXPECT_EQ(Show(ev.Run()), a.afterThree) << a.expression;
    EXPECT_EQ(Show(ev.Run()), a.afterThree) << "a plain run accumulates nothing: " << a.expression;
    ev.ResetAggregates();
    EXPECT_EQ(Show(ev.Run()), a.afterReset) << a.expression;
  }
  rpt::TRptEvaluator plain;
  plain.Compile("[QTY] + 1");
  EXPECT_FALSE(plain.HasAggregates());
}

TEST_F(ExprTest, SumOverflowRaises) {
  rpt::TRptEvaluator ev;
  ev.Compile("SUM(2147483647)");
  ev.AggregatePass();
  EXPECT_THROW(ev.AggregatePass(), rpt::EExprOverflow);
  // The pass flag does not stay set after the raise.
  EXPECT_NO_THROW(ev.Run());
}

TEST_F(ExprTest, FieldsAreFetchedAgainAfterTheDataSetReopens) {
  rpt::TRptEvaluator ev;
  ev.SetDataSets(&dataSets);
  ev.Compile("[QTY] * 10");
  table.Close();
  EXPECT_EQ(Show(ev.Run()), "ERROR:Field QTY is not available");
  table.Open();
  table.Next();
  EXPECT_EQ(Show(ev.Run()), "INTEGER:20");
  table.Next();
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(Show(ev.Run()), "INTEGER:0");  // past the last record the field reads as null
}

TEST_F(ExprTest, FunctionLibrary) {
  rpt::TRptFunctionLibrary* library = rpt::ExprFunctionLibrary();
  ASSERT_NE(library, nullptr);
  ASSERT_EQ(library->Count(), 21);
  std::string names, statistical;
  for (int k = 0; k < library->Count(); ++k) {
    const rpt::TRptLibraryEntry* e = library->EntryAt(k);
    names += e->name + " ";
    if (e->argumentCode[0] == '3') statistical += e->name + " ";
    EXPECT_EQ(e->vendor, rpt::kBuiltInVendor);
  }
  EXPECT_EQ(names,
            "IF STR UPPER LOWER PRETTY TIME DATE COPY SUM COUNT MAX MIN AVERAGE TRUE FALSE INT FRAC SQRT DIV "
            "TYPEOF FORMATNUMERIC ");
  EXPECT_EQ(statistical, "SUM COUNT MAX MIN AVERAGE ");
  EXPECT_EQ(library->EntryAt(21), nullptr);
  EXPECT_EQ(library->Find("IF")->argumentCode, "5BVV");
  EXPECT_EQ(library->Find("IF")->description,
            "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>");
  EXPECT_EQ(library->Find("DIV")->description, "DIV(<X>, <Y>) | Integer division of <X> by <Y>");
  EXPECT_EQ(library->Find("FORMATNUMERIC")->argumentCode, "7SN");
  EXPECT_EQ(library->CreateElement("NOPE")->Kind(), rpt::TRptEvElementKind::Error);

  // A registered function is called by name like the built-in ones.
  struct Answer : rpt::TRptEvElementFunction {
    void Compute(rpt::TRptEvResult& r) override { r = rpt::TRptEvResult::Integer(42); }
  };
  rpt::RegisterExprFunction([]() -> std::unique_ptr<rpt::TRptEvElementFunction> { return std::make_unique<Answer>(); },
                            "ANSWER", "ANSWER|The answer", "7", "Test");
  EXPECT_EQ(Show(Eval("answer + 1")), "INTEGER:43");
}

TEST(ExprModule, CountedStartUpAndShutDown) {
  EXPECT_EQ(rpt::ExprFunctionLibrary(), nullptr);
  EXPECT_THROW(rpt::RegisterExprFunction(nullptr, "X", "", "7", ""), std::logic_error);
  {
    rpt::ExprModuleScope outer("Outer");
    {
      rpt::ExprModuleScope inner("Inner");
      EXPECT_EQ(rpt::GlobalEnvironment()->Names(), (std::vector<std::string>{"APPSTARTTIME", "APPSTARTDATE", "APPNAME"}));
    }
    ASSERT_NE(rpt::GlobalEnvironment(), nullptr);
    rpt::TRptEvaluator ev;
    EXPECT_EQ(ev.EvaluateOnce("AppName").Text(), "Outer");  // only the first start-up acts
  }
  EXPECT_EQ(rpt::GlobalEnvironment(), nullptr);
  // Without the module no name resolves, but nothing breaks.
  rpt::TRptEvaluator ev;
  EXPECT_EQ(Show(ev.EvaluateOnce("IF(TRUE, 1, 2)")), "ERROR:Unknown function : IF");
  EXPECT_EQ(Show(ev.EvaluateOnce("1 + 1")), "INTEGER:2");
}
