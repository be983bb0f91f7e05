// The report run: pages, columns, headers and footers, forced breaks, the evaluator constants,
// cancelling and failing, controllers with groups and sub-details, export filters, composite
// printing and expression labels, on the fake 600-dpi printer's traces.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <stdexcept>

#include "platform/emf.h"
#include "platform/files.h"
#include "report/controller.h"
#include "report/report_text.h"
#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "run_fixtures.h"
#include "support/test_support.h"

using namespace rpt;
using rpttest::RunTest;
using rpttest::Words;
using Pages = std::vector<std::vector<std::string>>;

namespace {

// The texts of every page, one string per page joined by "|".
std::vector<std::string> Joined(const Pages& pages) {
  std::vector<std::string> out;
  for (const auto& page : pages) {
    std::string s;
    for (const std::string& w : Words(page)) s += (s.empty() ? "" : "|") + w;
    out.push_back(s);
  }
  return out;
}

// A table "T" with an Integer field N (1..rows) and a String field G.
std::unique_ptr<TTable> Table(int rows, const std::vector<std::string>& groups = {}) {
  auto table = std::make_unique<TTable>("T");
  table->AddFieldDef("N", TRptFieldType::ftInteger);
  table->AddFieldDef("G", TRptFieldType::ftString);
  for (int i = 1; i <= rows; ++i) {
    table->AppendRow({static_cast<int64_t>(i), groups.empty() ? std::string() : groups[static_cast<size_t>(i - 1)]});
  }
  table->Open();
  return table;
}

TEST_F(RunTest, EmptyReportPrintsOnePageWithFooterPrintablesAndFrame) {
  Band(TRptBandType::rbTitle, 0);
  TRptBand* footer = Band(TRptBandType::rbPageFooter, 50);
  Text(footer, "footer");
  Text(&report, "on the report", 1000, 1000);
  report.Frame().SetDrawLeft(true);
  Pages pages = Print();
  EXPECT_EQ(Joined(pages), (std::vector<std::string>{"footer|on the report"}));
  // The frame's left line at the left margin, 8 pixels wide.
  const std::string frame = "PatBlt " + std::to_string(Px(100)) + "," + std::to_string(Px(100)) + "," +
                            std::to_string(Px(100) + 8) + "," + std::to_string(Px(2970 - 100));
  EXPECT_NE(std::find(pages[0].begin(), pages[0].end(), frame + " rop=00F00021"), pages[0].end());
  // Without LastPageFooter the only page is the last: no footer.
  report.Options.Set(TBandReportOption::LastPageFooter, false);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"on the report"}));
  // Without PrintIfEmpty nothing at all.
  report.SetPrintIfEmpty(false);
  EXPECT_TRUE(Print(TRptPrintOutcome::NothingPrinted).empty());
}

TEST_F(RunTest, PageHeaderOnTheFirstPageOnlyWithTheOption) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);  // 17 mm: the header and three details
  auto table = Table(5);
  report.SetDataSet(table.get());
  Text(Band(TRptBandType::rbPageHeader, 50), "H");
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"H|1|2|3", "H|4|5"}));
  report.Options.Set(TBandReportOption::FirstPageHeader, false);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"1|2|3|4", "H|5"}));
}

TEST_F(RunTest, TwoColumnsFlowIntoTheSecondAndThenANewPageWithColumnHeaders) {
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 100);
  report.Page().SetNative(TRptPage::kBottomMargin, 2660);  // 21 mm: three details a column on page 1
  auto table = Table(9);
  report.SetDataSet(table.get());
  TRptBand* title = Band(TRptBandType::rbTitle, 30);
  Text(title, "T");
  title->SetHasChild(true);  // further columns start below the title's child too
  title->ChildBand()->Size().SetNative(TRptBandSize::kHeight, 20);
  Text(Band(TRptBandType::rbColumnHeader, 30), "C");
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  Expr(detail, "N");
  Expr(detail, "COLUMNNUMBER", "", 300);
  const Pages pages = Print();
  EXPECT_EQ(Joined(pages), (std::vector<std::string>{"T|C|1|1|2|1|3|1|C|4|2|5|2|6|2", "C|7|1|8|1|9|1"}));
  // Column 2 starts at the column top (below the title) at the column's left.
  const auto texts = rpttest::TextsOf(pages[0]);
  const int columnWidth = Round(detail->Size().Native(TRptBandSize::kWidth));
  EXPECT_EQ(texts[8].text, "C");
  EXPECT_EQ(texts[8].x, Px(100 + columnWidth + 100));
  EXPECT_EQ(texts[8].y, Px(100 + 50));
}

TEST_F(RunTest, AlignToBottomMovesABandDownToTheFooter) {
  Band(TRptBandType::rbTitle, 50);
  TRptBand* footer = Band(TRptBandType::rbPageFooter, 100);
  Text(footer, "F");
  TRptBand* summary = Band(TRptBandType::rbSummary, 80);
  summary->SetAlignToBottom(true);
  Text(summary, "S");
  const auto texts = rpttest::TextsOf(Print()[0]);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "S");
  EXPECT_EQ(texts[0].y, Px(2970 - 100 - 100 - 80));
  EXPECT_EQ(texts[1].y, Px(2970 - 100 - 100));
}

// Forced new pages: the one right after a printed title is skipped, so the title never stands
// alone (a group header between them keeps the skip); once another page has begun the skip is
// gone, so a summary or group footer after several detail pages starts a page of its own.
TEST_F(RunTest, ForcedNewPagesBySequenceOfBands) {
  enum Forced { kDetail, kSummary, kGroupFooter };
  struct Case {
    const char* name;
    bool title, groupHeader;
    Forced forced;
    std::vector<std::string> groups;  // one per record
    std::vector<std::string> pages;
  } cases[] = {
      {"detail without a title", false, false, kDetail, {"a", "a", "a"}, {"1", "2", "3"}},
      {"detail after the title", true, false, kDetail, {"a", "a", "a"}, {"T|1", "2", "3"}},
      {"detail after the title and a group header", true, true, kDetail, {"a", "a", "b"}, {"T|a|1", "2|b", "3"}},
      {"summary after two pages", true, false, kSummary, {"a", "a", "a", "a", "a", "a"}, {"T|1|2|3", "4|5|6", "S"}},
      {"group footer after two pages", true, false, kGroupFooter, {"a", "a", "a", "a", "a", "a"},
       {"T|1|2|3", "4|5|6", "F"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBandReport r;
    r.ShowProgress = false;
    r.Page().SetNative(TRptPage::kBottomMargin, 2700);  // 17 mm: the title and three details
    auto table = Table(static_cast<int>(c.groups.size()), c.groups);
    r.SetDataSet(table.get());
    auto band = [&](TRptBandType type) {
      TRptBand* b = r.CreateBand(type);
      b->Size().SetNative(TRptBandSize::kHeight, 40);
      return b;
    };
    if (c.title) Text(band(TRptBandType::rbTitle), "T");
    TRptBand* detail = band(TRptBandType::rbDetail);
    Expr(detail, "N");
    detail->SetForceNewPage(c.forced == kDetail);
    if (c.forced == kSummary) {
      TRptBand* summary = band(TRptBandType::rbSummary);
      summary->SetForceNewPage(true);
      Text(summary, "S");
    }
    if (c.groupHeader || c.forced == kGroupFooter) {
      auto* group = new TRptGroup(&r);
      group->Size().SetNative(TRptBandSize::kHeight, c.groupHeader ? 40 : 0);
      group->SetExpression("G");
      if (c.groupHeader) Expr(group, "G");
      if (c.forced == kGroupFooter) {
        TRptBand* footer = band(TRptBandType::rbGroupFooter);
        footer->SetForceNewPage(true);
        Text(footer, "F");
        group->SetFooterBand(footer);
      }
    }
    const size_t jobs = fake.jobs.size();
    outcome = r.Print();
    EXPECT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
    ASSERT_EQ(fake.jobs.size(), jobs + 1);
    EXPECT_EQ(Joined(fake.jobs.back().pages), c.pages);
  }
}

TEST_F(RunTest, BandsPrintedWhileAPageStartsForceNoFurtherBreak) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);
  auto table = Table(10);
  report.SetDataSet(table.get());
  TRptBand* columns = Band(TRptBandType::rbColumnHeader, 30);
  columns->SetForceNewPage(true);  // would start pages for ever while a page starts
  columns->SetForceNewColumn(true);
  Text(columns, "C");
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"C|1|2|3", "C|4|5|6", "C|7|8|9", "C|10"}));
}

TEST_F(RunTest, PageAndColumnNumbersCountThroughTheRun) {
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);
  auto table = Table(10);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  Expr(detail, "PAGENUMBER", "'P'0");
  Expr(detail, "COLUMNNUMBER", "'C'0", 300);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"P1|C1|P1|C1|P1|C1|P1|C1|P1|C2|P1|C2|P1|C2|P1|C2",
                                                       "P2|C1|P2|C1"}));
}

TEST_F(RunTest, CancelInTheDetailLoopAbortsTheJob) {
  auto table = Table(20);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 400);
  Expr(detail, "N");
  detail->AfterPrint = [&](TRptCustomBand*, bool) {
    if (table->FindField("N")->AsInteger() == 8) report.Printer()->Cancel();  // as the progress form does
  };
  Print(TRptPrintOutcome::Cancelled);
  ASSERT_EQ(fake.jobs.size(), 1u);
  EXPECT_TRUE(fake.jobs[0].aborted);
  EXPECT_FALSE(fake.jobs[0].ended);
  EXPECT_TRUE(report.Available());
}

TEST_F(RunTest, AnErrorInARunAbortsTheJobAndComesBackAsTheOutcome) {
  auto table = Table(5);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  detail->BeforePrint = [&](TRptCustomBand*, bool&) {
    if (table->FindField("N")->AsInteger() == 3) throw ERptError("broken record");
  };
  Print(TRptPrintOutcome::Failed);
  EXPECT_EQ(outcome.message, "broken record");
  EXPECT_TRUE(fake.jobs[0].aborted);
  EXPECT_FALSE(fake.jobs[0].ended);
  // The report is usable again: units back, available.
  EXPECT_TRUE(report.Available());
  EXPECT_EQ(report.Units(), TRptUnit::MM);
  detail->BeforePrint = nullptr;
  EXPECT_EQ(Print().size(), 1u);
}

// The abort after an error fails as well when the page store can take no page (no temporary
// folder, a tiny memory limit): the run's own error is still the one reported, the report is
// available again and the next run prints, on the printer and into the page store alike.
TEST_F(RunTest, AnAbortThatFailsLeavesTheRunsErrorAndTheReportAvailable) {
  auto table = Table(5);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  Expr(detail, "N");
  detail->BeforePrint = [&](TRptCustomBand*, bool&) {
    if (table->FindField("N")->AsInteger() == 3) throw ERptError("broken record");
  };
  report.PrinterSettings().MemoryLimit = 16;
  {
    rpttest::EnvGuard tmp("TMPDIR", "/nonexistent-harvsim-folder");
    Print(TRptPrintOutcome::Failed);
    EXPECT_EQ(outcome.message, "broken record");
    EXPECT_TRUE(report.Available());
    ASSERT_TRUE(report.PreparePrinter());  // as the preview runs a report
    try {
      report.RunReport(false);
      ADD_FAILURE() << "the run's error is raised";
    } catch (const ERptError& e) {
      EXPECT_STREQ(e.what(), "broken record");
    }
    EXPECT_TRUE(report.Available());
    EXPECT_EQ(report.Units(), TRptUnit::MM);
  }
  detail->BeforePrint = nullptr;
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"1|2|3|4|5"}));
  ASSERT_TRUE(report.PreparePrinter());
  report.RunReport(false);
  EXPECT_EQ(report.Printer()->GetStatus(), TRptPrinter::kFinished);
  EXPECT_EQ(report.Printer()->PageCount(), 1);
  report.FreePrinter();
}

// The report's entries F0 -> F1 -> ... -> F3000 (a stored description that once exhausted the
// stack) print the nesting error where F0 is shown.
TEST_F(RunTest, AChainOfThreeThousandEntriesPrintsTheNestingError) {
  std::string text;
  ASSERT_TRUE(platform::ReadFileBytes(testsupport::SourceDir() +
                                          "/tests/report/fuzz_regressions/report_text/chain_of_3001_function_entries.txt",
                                      text));
  QWidget form;
  ReportTextError error;
  auto* chained = qobject_cast<TBandReport*>(ReadReport(text, "chain", &form, error));
  ASSERT_NE(chained, nullptr) << error.Text();
  EXPECT_EQ(chained->Functions().Count(), 3 + 3001);
  chained->ShowProgress = false;
  outcome = chained->Print();
  ASSERT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
  EXPECT_EQ(Joined(fake.jobs.back().pages), (std::vector<std::string>{"Expression nested more than 100 levels deep"}));
}

TEST_F(RunTest, AJobTheUserDeclinesIsCancelledAndOneThePrinterRefusesFails) {
  Text(Band(TRptBandType::rbTitle, 40), "T");
  fake.declineJobs = true;  // the file dialog of a printer that writes files closed
  Print(TRptPrintOutcome::Cancelled);
  EXPECT_EQ(outcome.message, "");
  EXPECT_TRUE(fake.jobs.empty());
  EXPECT_TRUE(report.Available());
  fake.declineJobs = false;
  fake.refuseJobs = true;
  Print(TRptPrintOutcome::Failed);
  EXPECT_NE(outcome.message.find("cannot be printed"), std::string::npos);
  fake.refuseJobs = false;
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"T"}));
}

TEST_F(RunTest, NothingPrintedWithoutPrintersOrWhenBeforePrintSaysNoOrDuringARun) {
  TRptBand* title = Band(TRptBandType::rbTitle, 40);
  TRptPrintOutcome inner;
  title->BeforePrint = [&](TRptCustomBand*, bool&) { inner = report.Print(); };
  Print();
  EXPECT_EQ(inner.kind, TRptPrintOutcome::NothingPrinted);
  EXPECT_EQ(fake.jobs.size(), 1u);
  title->BeforePrint = nullptr;
  report.BeforePrint = [](TCustomBandReport*, bool& print) { print = false; };
  EXPECT_TRUE(Print(TRptPrintOutcome::NothingPrinted).empty());
  report.BeforePrint = nullptr;
  fake.printers.clear();
  EXPECT_TRUE(Print(TRptPrintOutcome::NothingPrinted).empty());
}

TEST_F(RunTest, GroupHeadersAndFootersFollowTheirExpression) {
  auto table = Table(3, {"a", "a", "b"});
  report.SetDataSet(table.get());
  auto* group = new TRptGroup(&report);
  group->Size().SetNative(TRptBandSize::kHeight, 40);
  group->SetExpression("G");
  Expr(group, "'head '+G");
  TRptBand* footer = Band(TRptBandType::rbGroupFooter, 40);
  group->SetFooterBand(footer);
  Expr(footer, "'foot '+G");
  TRptExpr* sum = Expr(footer, "SUM(N)", "", 400);
  sum->ResetAfterPrint = true;
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"head a|1|2|foot a|3|head b|3|foot b|3"}));
}

TEST_F(RunTest, SubDetailsPrintTheirLevelBeforeOrAfterTheMasterRecord) {
  auto master = Table(2);
  report.SetDataSet(master.get());
  Expr(Band(TRptBandType::rbDetail, 40), "'M'+T.N");
  TQuery lines("L");
  lines.AddFieldDef("N", TRptFieldType::ftInteger);
  lines.AddFieldDef("X", TRptFieldType::ftString);
  lines.AppendRow({int64_t{1}, std::string("x1")});
  lines.AppendRow({int64_t{1}, std::string("y1")});
  lines.AppendRow({int64_t{2}, std::string("x2")});
  lines.AddParam("N", TRptFieldType::ftInteger);
  lines.Open();
  report.Functions().AddEntry("N", "T.N");
  auto* sub = new TRptSubDetail(&report);
  sub->Size().SetNative(TRptBandSize::kHeight, 40);
  sub->SetDataSet(&lines);
  Expr(sub, "L.X");
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"M1|x1|y1|M2|x2"}));
  sub->SetPrintBefore(true);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"x1|y1|M1|x2|M2"}));
}

TEST_F(RunTest, GroupHeaderRepeatsUnderTheColumnHeaderOfANewPage) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2660);
  auto table = Table(6, {"a", "a", "a", "a", "a", "b"});
  report.SetDataSet(table.get());
  Text(Band(TRptBandType::rbColumnHeader, 30), "C");
  auto* group = new TRptGroup(&report);
  group->Size().SetNative(TRptBandSize::kHeight, 30);
  group->SetExpression("G");
  group->SetReprintOnNewPage(true);
  Expr(group, "G");
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"C|a|1|2|3", "C|a|4|5|b|6"}));
}

TEST_F(RunTest, ExportFilterHearsTheRunInOrderAndAContinuousOneGetsOnePage) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);
  auto table = Table(6);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  detail->setObjectName("Detail");
  detail->SetTransparentBand(true);
  Expr(detail, "N");
  rpttest::RecordingFilter filter;
  report.SetExportFilter(&filter);
  const Pages pages = Print();
  EXPECT_EQ(pages.size(), 2u);
  const std::vector<std::string> expected{"Start 2100x2970", "NewPage", "Text 1", "BandEnd Detail", "Text 2",
                                          "BandEnd Detail", "Text 3", "BandEnd Detail", "Text 4", "BandEnd Detail",
                                          "EndPage", "NewPage", "Text 5", "BandEnd Detail", "Text 6",
                                          "BandEnd Detail", "EndPage", "Finish"};
  EXPECT_EQ(filter.calls, expected);
  // A full-height line goes to the filter where its band printed it.
  auto* line = new TRptShape(detail);
  line->SetShape(TRptShapeType::rpsVertLine);
  line->Tag = 1000;
  line->Size().SetNative(TRptPrintableSize::kTop, 10);
  filter.calls.clear();
  Print();
  const auto lines = filter.Of("Graphic shape2");
  ASSERT_EQ(lines.size(), 12u);  // the shape itself and its full-height line, per record
  EXPECT_EQ(lines[1], "Graphic shape2 " + std::to_string(Px(100)) + "," + std::to_string(Px(100 + 10)));
  EXPECT_EQ(lines[3], "Graphic shape2 " + std::to_string(Px(100)) + "," + std::to_string(Px(140 + 10)));
  rpttest::RecordingFilter continuous;
  continuous.continuous = true;
  report.SetExportFilter(&continuous);
  EXPECT_EQ(Print().size(), 1u);
  EXPECT_EQ(continuous.Of("NewPage").size(), 1u);
  EXPECT_EQ(continuous.Of("Text").size(), 6u);
}

TEST_F(RunTest, OverlayPrintsAtEveryPageEndAtTheTopMargin) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);
  auto table = Table(6);
  report.SetDataSet(table.get());
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  Text(Band(TRptBandType::rbOverlay, 40), "O", 500);
  const Pages pages = Print();
  ASSERT_EQ(pages.size(), 2u);
  for (const auto& page : pages) {
    const auto texts = rpttest::TextsOf(page);
    EXPECT_EQ(texts.back().text, "O");
    EXPECT_EQ(texts.back().y, Px(100));
    EXPECT_EQ(texts.back().x, Px(600));
  }
}

TEST_F(RunTest, LinkedBandsCountTheirHeightOnceInTheRoomCheck) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);  // 17 mm: the title and one 9 mm detail
  Band(TRptBandType::rbTitle, 70);
  auto table = Table(1);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  Expr(detail, "N");
  TRptBand* linked = Band(TRptBandType::rbSummary, 50);
  ASSERT_TRUE(detail->SetLinkBand(linked));
  EXPECT_EQ(detail->HeightWithLinks(), 90);
  EXPECT_EQ(Print().size(), 1u);  // 7 + 4 + 5 mm fit in 17 mm
}

TEST_F(RunTest, KeepOnOnePageMovesABandWhoseContentWouldNotFit) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);
  Text(Band(TRptBandType::rbTitle, 100), "T");
  TRptBand* summary = Band(TRptBandType::rbSummary, 40);
  summary->SetKeepOnOnePage(true);
  TRptLabel* label = Text(summary, "1\r2\r3\r4");
  label->SetAutoStretch(true);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"T", "1|2|3|4"}));
}

TEST_F(RunTest, ExpressionLabelsFormatByKindAndMask) {
  TRptBand* title = Band(TRptBandType::rbTitle, 40);
  TRptExpr* label = Expr(title, "");
  EXPECT_EQ(label->Caption(), "(none)");
  struct Case {
    std::string mask;
    TRptEvResult value;
    std::string text;
  };
  const Case cases[] = {
      {"#,##0.00", TRptEvResult::Integer(1234), "1,234.00"},
      {"#,##0.00", TRptEvResult::Float(1234.5), "1,234.50"},
      {"%m", TRptEvResult::Float(1234.5), "\x81\x8F" "1,235"},
      {"%m", TRptEvResult::Integer(7), "%m"},  // integers by the float-format mask
      {"", TRptEvResult::Float(2.5), "2.5"},
      {"", TRptEvResult::String("text"), "text"},
      {"", TRptEvResult::Boolean(true), "True"},
      {"", TRptEvResult::Error("bad"), "bad"},
      {"%m%m", TRptEvResult::Float(1), "Invalid format or value specified"},
  };
  for (const Case& c : cases) {
    label->SetMask(c.mask);
    EXPECT_EQ(label->ValueText(c.value), c.text) << c.mask;
  }
  // An empty expression prints one blank; names of the report's environment in any case;
  // an entry that refers to itself gives its error as the text.
  label->SetMask("");
  report.Functions().AddEntry("Selfish", "SELFISH + 1");
  Expr(title, "reporttitle", "", 300);
  Expr(title, "Selfish", "", 900);
  report.ReportTitle = "Title";
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{" |Title|Recursive calls not allowed"}));
}

TEST_F(RunTest, CompositePrintsReportsIntoOneDocumentGoingOnWhereTheLastEnded) {
  Text(Band(TRptBandType::rbTitle, 40), "first");
  TBandReport second;
  second.ShowProgress = false;
  TRptBand* summary = second.CreateBand(TRptBandType::rbSummary);
  summary->Size().SetNative(TRptBandSize::kHeight, 40);
  summary->SetForceNewPage(true);
  Text(summary, "second");
  TRptBand* footer = second.CreateBand(TRptBandType::rbPageFooter);
  footer->Size().SetNative(TRptBandSize::kHeight, 40);
  Expr(footer, "PAGENUMBER");
  TRptCompositeReport composite;
  composite.Reports = {&report, &second};
  report.Composite = &composite;
  outcome = report.Print();  // a report of a composite prints the composite
  EXPECT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
  ASSERT_EQ(fake.jobs.size(), 1u);
  EXPECT_TRUE(fake.jobs[0].ended);
  // The page ends of the document are the second report's: its footer on both pages.
  EXPECT_EQ(Joined(fake.jobs[0].pages), (std::vector<std::string>{"first|1", "second|2"}));
  report.Composite = nullptr;
}

// Every composite run starts a new document: printed twice it gives the same pages, and a
// report printed alone before numbers its first page in the composite 1 again.
TEST_F(RunTest, EveryCompositeRunStartsFromPageOne) {
  Expr(Band(TRptBandType::rbTitle, 40), "PAGENUMBER", "'first '0");
  TBandReport second;
  second.ShowProgress = false;
  TRptBand* title = second.CreateBand(TRptBandType::rbTitle);
  title->Size().SetNative(TRptBandSize::kHeight, 40);
  Expr(title, "PAGENUMBER", "'second '0");
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"first 1"}));
  TRptCompositeReport composite;
  composite.Reports = {&report, &second};
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    const size_t jobs = fake.jobs.size();
    outcome = composite.Print();
    EXPECT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
    ASSERT_EQ(fake.jobs.size(), jobs + 1);
    EXPECT_EQ(Joined(fake.jobs.back().pages), (std::vector<std::string>{"first 1|second 1"}));
  }
}

// A Legal report on a printer that offers A4 only is laid out on the A4 sheet the job prints
// on: the room check and the page end alike, so the page footer and the frame stand at the foot
// of the sheet and nothing is drawn below it; the preview's pages are A4 sheets too.
TEST_F(RunTest, AReportOnAPaperThePrinterLacksIsLaidOutOnTheSheetItPrintsOn) {
  fake.printers[0].papers = {platform::DMPAPER_A4};
  report.Page().SetPaperSize(TRptPaperSize::Legal);
  report.Frame().SetDrawBottom(true);
  auto table = Table(100);
  report.SetDataSet(table.get());
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  Text(Band(TRptBandType::rbPageFooter, 50), "F");
  const Pages pages = Print();
  EXPECT_EQ(fake.jobs.back().mode.paperSize, platform::DMPAPER_A4);
  ASSERT_EQ(pages.size(), 2u);
  const int sheet = Px(2970);  // the foot of the A4 sheet on the device
  for (const auto& page : pages) {
    const auto texts = rpttest::TextsOf(page);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().text, "F");
    EXPECT_EQ(texts.back().y, Px(2970 - 100 - 50));
    for (const rpttest::PrintedText& t : texts) EXPECT_LT(t.y, sheet) << t.text;
    for (const std::string& line : page) {
      int left = 0, top = 0, right = 0, bottom = 0;
      if (std::sscanf(line.c_str(), "PatBlt %d,%d,%d,%d", &left, &top, &right, &bottom) == 4) {
        EXPECT_LE(bottom, sheet) << line;
      }
    }
  }
  // 68 details fit above the footer of an A4 page with 10 mm margins.
  EXPECT_EQ(rpttest::TextsOf(pages[0]).at(67).text, "68");
  EXPECT_EQ(rpttest::TextsOf(pages[1]).at(0).text, "69");
  // Into the page store (as for the preview): pages of the A4 sheet.
  ASSERT_TRUE(report.PreparePrinter());
  report.RunReport(false);
  TRptPrinter& printer = *report.Printer();
  EXPECT_EQ(printer.PaperWidth(), 2100);
  EXPECT_EQ(printer.PaperLength(), 2970);
  const std::optional<std::string> first = printer.GetPage(1);
  ASSERT_TRUE(first.has_value());
  const std::optional<platform::emf::Header> header = platform::emf::ReadHeader(*first);
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(platform::emf::FrameSizePixels(*header).cy, printer.YSize(2970));
  // The stored pages printed as they are go onto the A4 sheet, not stretched to Legal.
  printer.Settings().PrintMetaFile = true;
  printer.PrintStoredPages();
  const auto stored = rpttest::TextsOf(fake.jobs.back().pages.at(0));
  ASSERT_FALSE(stored.empty());
  EXPECT_EQ(stored.back().text, "F");
  EXPECT_NEAR(stored.back().y, Px(2970 - 100 - 50), 8);
  report.FreePrinter();
}

// A composite prints on its own paper and orientation, and each report gets its own page back.
TEST_F(RunTest, ACompositePrintsOnItsOwnPaperAndGivesTheReportsTheirPagesBack) {
  Text(Band(TRptBandType::rbTitle, 40), "first");
  TBandReport second;
  second.ShowProgress = false;
  second.Page().SetPaperSize(TRptPaperSize::A5);
  TRptBand* footer = second.CreateBand(TRptBandType::rbPageFooter);
  footer->Size().SetNative(TRptBandSize::kHeight, 40);
  Text(footer, "footer");
  const std::vector<Real> firstPage = report.Page().Values(), secondPage = second.Page().Values();
  TRptCompositeReport composite;
  composite.Reports = {&report, &second};
  composite.PrinterSettings.SetPaperSize(TRptPaperSize::Letter);
  composite.PrinterSettings.SetOrientation(TRptOrientation::Landscape);
  outcome = composite.Print();
  ASSERT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
  const rpttest::FakePrinters::Job& job = fake.jobs.back();
  EXPECT_EQ(job.mode.paperSize, 1);  // Letter
  EXPECT_EQ(job.mode.orientation, platform::DMORIENT_LANDSCAPE);
  // The page ends at the foot of the landscape Letter sheet (215.9 mm down).
  const auto texts = rpttest::TextsOf(job.pages.at(0));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "footer");
  EXPECT_EQ(texts[1].y, Px(2159 - 100 - 40));
  EXPECT_EQ(report.Page().PaperSize(), TRptPaperSize::A4);
  EXPECT_EQ(report.Page().Orientation(), TRptOrientation::Portrait);
  EXPECT_EQ(report.Page().Values(), firstPage);
  EXPECT_EQ(second.Page().PaperSize(), TRptPaperSize::A5);
  EXPECT_EQ(second.Page().Values(), secondPage);
}

// Cancelling while a report of a composite runs aborts the document: the reports after it do
// not run, every report is available again, and the next composite run prints them all.
TEST_F(RunTest, CancellingInsideACompositeRunAbortsTheDocument) {
  auto table = Table(5);
  report.SetDataSet(table.get());
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  Expr(detail, "N");
  bool cancel = true;
  detail->AfterPrint = [&](TRptCustomBand*, bool) {
    if (cancel && table->FindField("N")->AsInteger() == 2) report.Printer()->Cancel();
  };
  TBandReport second;
  second.ShowProgress = false;
  int secondRuns = 0;
  second.BeforePrint = [&](TCustomBandReport*, bool&) { ++secondRuns; };
  TRptBand* title = second.CreateBand(TRptBandType::rbTitle);
  title->Size().SetNative(TRptBandSize::kHeight, 40);
  Text(title, "second");
  TRptCompositeReport composite;
  composite.Reports = {&report, &second};
  EXPECT_EQ(composite.Print().kind, TRptPrintOutcome::Cancelled);
  ASSERT_EQ(fake.jobs.size(), 1u);
  EXPECT_TRUE(fake.jobs[0].aborted);
  EXPECT_FALSE(fake.jobs[0].ended);
  EXPECT_EQ(secondRuns, 0);
  EXPECT_TRUE(report.Available());
  EXPECT_TRUE(second.Available());
  EXPECT_EQ(report.Printer(), nullptr);
  cancel = false;
  EXPECT_EQ(composite.Print().kind, TRptPrintOutcome::Printed);
  EXPECT_EQ(Joined(fake.jobs.back().pages), (std::vector<std::string>{"1|2|3|4|5|second"}));
}

// A band with PreCaluculateBandHeight is filled as high as its labels need, not its own height.
TEST_F(RunTest, APreCalculatedBandIsFilledAsHighAsItsLabelsNeed) {
  TRptBand* title = Band(TRptBandType::rbTitle, 40);
  title->SetColor(0x00FF00);
  auto* memo = new TRptMemo(title);
  memo->SetAutoSize(false);
  memo->SetAutoStretch(true);
  memo->Size().SetNative(TRptPrintableSize::kWidth, 800);
  memo->Size().SetNative(TRptPrintableSize::kHeight, 40);
  memo->SetLines({"1", "2", "3", "4", "5", "6"});
  // The bottom of the band's green fill on the printed page.
  auto fillBottom = [&] {
    const std::vector<std::string> page = Print().at(0);
    for (size_t i = 0; i + 1 < page.size(); ++i) {
      if (page[i].rfind("SelectBrush style=0 color=00FF00", 0) != 0 || page[i + 1].rfind("PatBlt ", 0) != 0) continue;
      int left = 0, top = 0, right = 0, bottom = 0;
      std::sscanf(page[i + 1].c_str(), "PatBlt %d,%d,%d,%d", &left, &top, &right, &bottom);
      return bottom;
    }
    return -1;
  };
  EXPECT_EQ(fillBottom(), Px(100 + 40));
  title->SetPreCaluculateBandHeight(true);
  const Real needed = title->PreCalculatedHeight();
  EXPECT_GT(needed, 40 + 5 * 30);  // six lines of a 10-point font
  EXPECT_EQ(fillBottom(), Px(100 + needed));
}

// A report keeps its own printer (a preview's) through a composite run and prints with it after.
TEST_F(RunTest, AReportKeepsItsOwnPrinterThroughACompositeRun) {
  Text(Band(TRptBandType::rbTitle, 40), "T");
  ASSERT_TRUE(report.PreparePrinter());
  TRptPrinter* own = report.Printer();
  TRptPreview preview;  // told when the printer is freed
  preview.SetPrinter(own);
  TRptCompositeReport composite;
  composite.Reports = {&report};
  EXPECT_EQ(composite.Print().kind, TRptPrintOutcome::Printed);
  EXPECT_EQ(preview.Printer(), own);
  EXPECT_EQ(report.Printer(), own);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"T"}));
  EXPECT_EQ(report.Printer(), own);
  report.FreePrinter();
  EXPECT_EQ(preview.Printer(), nullptr);
}

// A two-column report at zoom 50 or 150 prints exactly as at zoom 100: band widths, the column
// step, fills, frames and controls aligned to their band.
TEST_F(RunTest, AZoomedReportPrintsAsAtZoom100) {
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 100);
  report.Page().SetNative(TRptPage::kBottomMargin, 2660);  // four details a column
  auto table = Table(9);
  report.SetDataSet(table.get());
  Text(Band(TRptBandType::rbTitle, 30), "T");
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  detail->SetColor(platform::RgbColor(255, 255, 0));
  detail->Frame().SetDrawRight(true);
  Expr(detail, "N");
  TRptLabel* right = Text(detail, "R", 0, 0, 100);
  right->SetAlignToBand(true);
  right->SetAlignment(TRptAlignment::Right);
  const Pages atFull = Print();
  ASSERT_EQ(Joined(atFull), (std::vector<std::string>{"T|1|R|2|R|3|R|4|R|5|R|6|R|7|R|8|R", "9|R"}));
  for (int zoom : {50, 150}) {
    report.SetZoom(zoom);
    EXPECT_EQ(Print(), atFull) << zoom;
  }
  // At 76 the laid-out widths are those of zoom 100 to a screen pixel at that zoom (3.5 tenths
  // of a mm, 8 device pixels): so are the columns' texts.
  report.SetZoom(76);
  const Pages at76 = Print();
  ASSERT_EQ(at76.size(), atFull.size());
  for (size_t p = 0; p < at76.size(); ++p) {
    const auto texts = rpttest::TextsOf(at76[p]), full = rpttest::TextsOf(atFull[p]);
    ASSERT_EQ(texts.size(), full.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i].text, full[i].text);
      EXPECT_NEAR(texts[i].x, full[i].x, 8) << texts[i].text;
      EXPECT_EQ(texts[i].y, full[i].y) << texts[i].text;
    }
  }
}

// A back image is drawn once on every page, first, at its place; it is not printed again with
// the report's own printables.
TEST_F(RunTest, BackImageIsDrawnOnceOnEveryPageAtItsPlace) {
  report.Page().SetNative(TRptPage::kBottomMargin, 2700);
  auto table = Table(6);
  report.SetDataSet(table.get());
  Expr(Band(TRptBandType::rbDetail, 40), "N");
  auto* image = new TRptImage(&report);
  image->setObjectName("Paper");
  image->SetStretch(true);
  image->Size().SetNative(TRptPrintableSize::kLeft, 300);
  image->Size().SetNative(TRptPrintableSize::kTop, 400);
  image->Size().SetNative(TRptPrintableSize::kWidth, 500);
  image->Size().SetNative(TRptPrintableSize::kHeight, 250);
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::Dib::Filled(8, 4, 0x80));
  image->Picture().SetGraphic(std::move(bitmap));
  report.BackImageControl = "PAPER";  // found in any case
  const Pages pages = Print();
  ASSERT_EQ(pages.size(), 2u);
  const std::string at = "StretchDIBits " + std::to_string(Px(300)) + "," + std::to_string(Px(400)) + "," +
                         std::to_string(Px(300) + Round(500 * 600 / 254.0L)) + "," +
                         std::to_string(Px(400) + Round(250 * 600 / 254.0L)) + " from 0,0,8,4";
  for (const auto& page : pages) {
    std::vector<size_t> drawn;
    size_t firstText = page.size();
    for (size_t i = 0; i < page.size(); ++i) {
      if (page[i].rfind("StretchDIBits", 0) == 0) drawn.push_back(i);
      if (page[i].rfind("ExtTextOut", 0) == 0) firstText = std::min(firstText, i);
    }
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(page[drawn[0]].rfind(at, 0), 0u) << page[drawn[0]];
    EXPECT_LT(drawn[0], firstText);
  }
}

// OnNeedData drives the detail loop without a data set; the report's page range keeps exactly
// its pages.
TEST_F(RunTest, OnNeedDataWithoutADataSetAndAPageRange) {
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  detail->SetForceNewPage(true);
  TRptLabel* label = Text(detail, "");
  int record = 0;
  report.OnNeedData = [&](QObject*, bool& more) {
    more = record < 4;
    if (more) label->SetCaption("record " + std::to_string(++record));
  };
  report.PrinterSettings().FirstPage = 2;
  report.PrinterSettings().LastPage = 3;
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"record 2", "record 3"}));
  EXPECT_EQ(record, 4);
}

// ForceNewColumn: the first detail stays below the title in column 1, every later one starts
// the next column.
TEST_F(RunTest, ForceNewColumnStartsTheNextColumn) {
  report.Page().SetColumns(2);
  auto table = Table(4);
  report.SetDataSet(table.get());
  Text(Band(TRptBandType::rbTitle, 40), "T");
  TRptBand* detail = Band(TRptBandType::rbDetail, 40);
  detail->SetForceNewColumn(true);
  Expr(detail, "N");
  Expr(detail, "PAGENUMBER", "'P'0", 300);
  Expr(detail, "COLUMNNUMBER", "'C'0", 500);
  EXPECT_EQ(Joined(Print()), (std::vector<std::string>{"T|1|P1|C1|2|P1|C2", "3|P2|C1|4|P2|C2"}));
}

// The room left on a fresh page follows the sheet as it lies: landscape takes the paper's
// width, a custom paper its own length.
TEST_F(RunTest, AvailableSpaceInLandscapeAndOnACustomPaper) {
  fake.printers[0].papers.push_back(PaperCode(TRptPaperSize::Custom));
  Text(Band(TRptBandType::rbTitle, 40), "T");
  Band(TRptBandType::rbPageFooter, 60);
  int available = -1;
  report.OnStartPage = [&](TCustomBandReport* r) { available = r->AvailableSpace(); };
  struct Case {
    const char* name;
    TRptPaperSize paper;
    TRptOrientation orientation;
    int expected;
  } const cases[] = {
      {"A4 portrait", TRptPaperSize::A4, TRptOrientation::Portrait, 2970 - 100 - 100 - 60},
      {"A4 landscape", TRptPaperSize::A4, TRptOrientation::Landscape, 2100 - 100 - 100 - 60},
      {"custom 150 x 120 mm", TRptPaperSize::Custom, TRptOrientation::Portrait, 1200 - 100 - 100 - 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    report.PrinterSettings().SetPaperSize(c.paper);
    report.PrinterSettings().SetOrientation(c.orientation);
    report.Page().SetWidth(150);  // mm, on a custom paper only
    report.Page().SetLength(120);
    available = -1;
    Print();
    EXPECT_EQ(available, c.expected);
  }
}

// Two stretching labels on one band: the band grows to the longer one (not by both), and a
// line of the shorter that fits in the grown band at the page end stays on that page.
TEST_F(RunTest, TwoStretchingLabelsOnOneBand) {
  TRptBand* title = Band(TRptBandType::rbTitle, 45);
  TRptLabel* longer = Text(title, "a1\ra2\ra3");
  longer->SetAutoStretch(true);
  Text(Band(TRptBandType::rbSummary, 45), "S");
  const auto alone = rpttest::TextsOf(Print()[0]);
  ASSERT_EQ(alone.back().text, "S");
  TRptLabel* shorter = Text(title, "b1\rb2", 1000);
  shorter->SetAutoStretch(true);
  const auto both = rpttest::TextsOf(Print()[0]);
  ASSERT_EQ(both.back().text, "S");
  EXPECT_EQ(both.back().y, alone.back().y);

  report.Page().SetNative(TRptPage::kBottomMargin, 2700);  // 17 mm: four lines
  longer->SetCaption("a1\ra2\ra3\ra4\ra5");
  const Pages pages = Print();
  EXPECT_EQ(Joined(pages), (std::vector<std::string>{"a1|a2|a3|a4|b1|b2", "a5|S"}));
  const auto first = rpttest::TextsOf(pages[0]);
  EXPECT_EQ(first[5].y, first[1].y);  // b2 beside a2
}

}  // namespace

namespace {

// The report as the window of its own run into the page store: page 1 shown over it, and a
// preview that closes frees the printer, or cancels a run under way.
TEST_F(RunTest, MessagesShowPageOneAndClosingThePreviewFreesOrCancels) {
  TRptBand* title = Band(TRptBandType::rbTitle, 40);
  Text(title, "shown");
  ASSERT_TRUE(report.PreparePrinter());
  report.Printer()->SetNotifiedWindow(&report);
  report.RunReport(false);
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(report.PreviewPage().empty());
  SendRptMessage(&report, CM_RPTPREVIEWCLOSE, 0);
  EXPECT_EQ(report.Printer(), nullptr);
  title->BeforePrint = [&](TRptCustomBand*, bool&) { SendRptMessage(&report, CM_RPTPREVIEWCLOSE, 0); };
  ASSERT_TRUE(report.PreparePrinter());
  report.RunReport(false);
  EXPECT_TRUE(report.Cancelled());
  EXPECT_EQ(report.Printer()->GetStatus(), TRptPrinter::kFinished);
  report.FreePrinter();
}

}  // namespace
