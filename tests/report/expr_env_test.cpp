#include <gtest/gtest.h>

#include "expr_test_util.h"

using exprtest::ExprTest;
using exprtest::Show;
using rpt::TRptEvEnvironment;

namespace {

// The environment a report starts with.
void AddReportConstants(TRptEvEnvironment& env) {
  env.AddEntry("PAGENUMBER", "0");
  env.AddEntry("COLUMNNUMBER", "0");
  env.AddEntry("REPORTTITLE", "''");
}

}  // namespace

TEST_F(ExprTest, EntryNamesInAnyCaseAndTheGlobalFallBack) {
  TRptEvEnvironment env;
  env.SetDataSets(&dataSets);
  env.AddEntry("Total", "[QTY] * 2");
  env.AddEntry("TOTAL", "99");  // the name exists: ignored
  env.AddEntry("Twice", "total + total");
  env.BeginUse();
  EXPECT_EQ(env.Names(), (std::vector<std::string>{"TOTAL", "TWICE"}));
  EXPECT_EQ(Show(Eval("total * 2", &env)), "INTEGER:4");
  EXPECT_EQ(Show(Eval("[Total]", &env)), "INTEGER:2");
  EXPECT_EQ(Show(Eval("twice", &env)), "INTEGER:4");
  EXPECT_EQ(Show(env.EvaluateEntry("twice")), "INTEGER:4");
  EXPECT_EQ(Show(env.EvaluateEntry("none")), "ERROR:Unknown function : none");
  // Not in the report's environment: the global one; in neither: unknown.
  EXPECT_EQ(Show(Eval("AppName", &env)), "STRING:TestApp");
  EXPECT_EQ(Show(Eval("Nowhere", &env)), "ERROR:Unknown function : NOWHERE");
  EXPECT_EQ(Show(Eval("[nowhere]", &env)), "ERROR:Unknown function : nowhere");
  // A field of the data sets comes before an entry of the same name.
  env.AddEntry("QTY", "1000");
  EXPECT_EQ(Show(Eval("QTY", &env)), "INTEGER:1");
  env.EndUse();
}

TEST_F(ExprTest, RecursionThroughEntriesIsAnErrorValue) {
  TRptEvEnvironment env;
  env.AddEntry("SELF", "SELF + 1");
  env.AddEntry("PING", "PONG");
  env.AddEntry("PONG", "'x' + PING");
  env.BeginUse();
  EXPECT_EQ(Show(Eval("SELF", &env)), "ERROR:Recursive calls not allowed");
  EXPECT_EQ(Show(Eval("PING", &env)), "ERROR:Recursive calls not allowed");
  // The flag is cleared afterwards: an entry used twice in one expression is no recursion.
  env.AddEntry("ONE", "1");
  EXPECT_EQ(Show(Eval("ONE + ONE", &env)), "INTEGER:2");
  env.EndUse();
}

// Entries that refer to each other nest like brackets: a chain of 100 entries still has its
// value, a longer one (the 3001 entries F0 -> F1 -> ... -> F3000 once exhausted the stack) an
// error value, and the bound is counted back down afterwards.
TEST_F(ExprTest, ChainsOfEntriesAreBoundedLikeNestedExpressions) {
  auto chain = [](TRptEvEnvironment& env, int length) {
    for (int i = 0; i + 1 < length; ++i) env.AddEntry("F" + std::to_string(i), "F" + std::to_string(i + 1));
    env.AddEntry("F" + std::to_string(length - 1), "7");
  };
  for (int length : {100, 101, 3001}) {
    SCOPED_TRACE(length);
    TRptEvEnvironment env;
    chain(env, length);
    env.BeginUse();
    const std::string expected = length <= 100 ? "INTEGER:7" : "ERROR:Expression nested more than 100 levels deep";
    EXPECT_EQ(Show(Eval("F0", &env)), expected);
    EXPECT_EQ(Show(env.EvaluateEntry("F" + std::to_string(length - 100))), "INTEGER:7");
    env.EndUse();
  }
}

TEST_F(ExprTest, ConstantsPublishedWithStoreAreSeenByTheNextRun) {
  TRptEvEnvironment env;
  AddReportConstants(env);
  EXPECT_EQ(env.ConstantElement("PAGENUMBER"), nullptr);  // not compiled while not in use
  env.BeginUse();
  rpt::TRptEvaluator ev;
  ev.SetEnvironment(&env);
  ev.Compile("'Page ' + STR(PAGENUMBER) + ' of ' + REPORTTITLE");
  rpt::TRptEvElement* page = env.ConstantElement("pagenumber");
  rpt::TRptEvElement* title = env.ConstantElement("REPORTTITLE");
  ASSERT_NE(page, nullptr);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(Show(ev.Run()), "STRING:Page 0 of ");
  TRptEvEnvironment::StoreInteger(page, 3);
  TRptEvEnvironment::StoreString(title, "Rain");
  EXPECT_EQ(Show(ev.Run()), "STRING:Page 3 of Rain");
  TRptEvEnvironment::StoreResult(page, rpt::TRptEvResult::Float(1.5));
  TRptEvEnvironment::StoreResult(title, rpt::TRptEvResult::String("Snow"));
  EXPECT_EQ(Show(ev.Run()), "STRING:Page 1.5 of Snow");
  // Stores into elements of the wrong kind change nothing.
  TRptEvEnvironment::StoreInteger(title, 7);
  TRptEvEnvironment::StoreString(page, "x");
  TRptEvEnvironment::StoreResult(title, rpt::TRptEvResult::Integer(5));
  TRptEvEnvironment::StoreInteger(nullptr, 1);
  EXPECT_EQ(Show(ev.Run()), "STRING:Page 1.5 of Snow");
  EXPECT_EQ(env.ConstantElement("NONE"), nullptr);
  // A nested use compiles nothing again: the published value stays.
  env.BeginUse();
  EXPECT_EQ(env.ConstantElement("PAGENUMBER"), page);
  env.EndUse();
  EXPECT_EQ(Show(ev.Run()), "STRING:Page 1.5 of Snow");
  ev.Release();
  env.EndUse();
  EXPECT_EQ(env.ConstantElement("PAGENUMBER"), nullptr);
}

TEST_F(ExprTest, DataPropertyWrittenAndReadBack) {
  TRptEvEnvironment env;
  AddReportConstants(env);
  env.AddEntry("Net", "[PRICE] * 0.9");
  const std::vector<std::string> names = env.Names();
  const std::vector<std::string> data = env.WriteData();
  EXPECT_EQ(names, (std::vector<std::string>{"PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE", "NET"}));
  EXPECT_EQ(data, (std::vector<std::string>{"0", "0", "''", "[PRICE] * 0.9"}));

  TRptEvEnvironment loaded;
  loaded.SetNames(names);
  EXPECT_EQ(Show(loaded.EvaluateEntry("NET")), "ERROR:Unknown function : NET");  // no text yet
  loaded.ReadData(data);
  EXPECT_EQ(loaded.Names(), names);
  EXPECT_EQ(loaded.WriteData(), data);
  loaded.SetDataSets(&dataSets);
  loaded.BeginUse();
  EXPECT_EQ(Show(loaded.EvaluateEntry("net")), "FLOAT:2.25");
  // Reading again fills only names that still have no text.
  loaded.ReadData({"1", "2", "3", "4", "5"});
  EXPECT_EQ(loaded.WriteData(), data);
  loaded.EndUse();
}

TEST_F(ExprTest, UseCountsReturnToZero) {
  TRptEvEnvironment* global = rpt::GlobalEnvironment();
  ASSERT_EQ(global->UseCount(), 0);
  {
    rpt::TRptEvaluator a, b;
    a.Compile("AppName");
    EXPECT_EQ(global->UseCount(), 1);  // its own entries are no users of it
    EXPECT_NE(global->ConstantElement("APPNAME"), nullptr);
    a.Compile("AppName + '!'");  // compiling again keeps one use
    EXPECT_EQ(global->UseCount(), 1);
    b.Compile("1");
    EXPECT_EQ(global->UseCount(), 2);
    a.Release();
    a.Release();
    EXPECT_EQ(global->UseCount(), 1);
  }
  EXPECT_EQ(global->UseCount(), 0);
  EXPECT_EQ(global->ConstantElement("APPNAME"), nullptr);  // the entries are released

  // A report environment's compiled entries are users of the global one while compiled.
  TRptEvEnvironment env;
  AddReportConstants(env);
  env.BeginUse();
  EXPECT_EQ(global->UseCount(), 3);
  env.AddEntry("LATE", "AppName");  // added while in use: compiled at once
  EXPECT_EQ(global->UseCount(), 4);
  EXPECT_EQ(Show(env.EvaluateEntry("LATE")), "STRING:TestApp");
  env.EndUse();
  env.EndUse();  // one too many changes nothing
  EXPECT_EQ(env.UseCount(), 0);
  EXPECT_EQ(global->UseCount(), 0);
  // Entries not compiled have no value; evaluation does not raise.
  EXPECT_EQ(Show(env.EvaluateEntry("LATE")), "ERROR:Evaluator not prepared");
}

TEST_F(ExprTest, RemovedEntriesLeaveNoDanglingReferences) {
  TRptEvEnvironment env;
  env.AddEntry("GONE", "5");
  env.AddEntry("KEPT", "GONE + 1");
  env.BeginUse();
  rpt::TRptEvaluator ev;
  ev.SetEnvironment(&env);
  ev.Compile("KEPT * 2");
  EXPECT_EQ(Show(ev.Run()), "INTEGER:12");
  env.RemoveEntry("gone");
  EXPECT_EQ(Show(ev.Run()), "ERROR:Unknown function : GONE");
  env.Clear();
  EXPECT_EQ(Show(ev.Run()), "ERROR:Unknown function : KEPT");
  EXPECT_EQ(env.Count(), 0);
  env.EndUse();
}
