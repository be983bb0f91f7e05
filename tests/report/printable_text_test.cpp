// The printables in stored report descriptions: the demo report (every printable, frames on the
// report and its bands) described, read back and described again unchanged.
#include <gtest/gtest.h>

#include <QWidget>

#include "report/report_text.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"
#include "demo_report.h"
#include "report_fixtures.h"

using namespace rpt;

namespace {

template <class T>
std::vector<T*> Of(QObject* root) {
  const QList<T*> list = root->findChildren<T*>();
  return std::vector<T*>(list.begin(), list.end());
}

TEST(PrintableText, DemoReportReadsBackUnchanged) {
  rpttest::LocaleScope locale(false, false);
  auto table = rpttest::MakeDemoTable(5);
  auto report = rpttest::BuildDemoReport(*table);
  const std::string text = WriteReport(*report);
  for (const char* piece : {"TRptLabel", "TRptMemo", "TRptExpr", "TRptImage", "TRptShape", "Frame.DrawTop = True",
                            "Shape = rpsRoundRect", "RoundFactor = 0.3", "Lines.Strings", "Mask = '#,##0.0'",
                            "ResetAfterPrint = True", "FontSize = 16", "Alignment = taRightJustify", "Tag = 1000",
                            "AutoStretch = True", "Stretch = True", "Center = True"}) {
    EXPECT_NE(text.find(piece), std::string::npos) << piece;
  }
  QWidget form;
  ReportTextError error;
  QObject* read = ReadReport(text, "demo", &form, error);
  ASSERT_NE(read, nullptr) << error.Text();
  EXPECT_EQ(WriteReport(*read), text);
  const auto shapes = Of<TRptShape>(read);
  ASSERT_EQ(shapes.size(), 10u);  // seven in the title, two rules, the column line
  const auto exprs = Of<TRptExpr>(read);
  const auto sum = std::find_if(exprs.begin(), exprs.end(), [](TRptExpr* e) { return e->Expression() == "SUM(Rain)"; });
  ASSERT_NE(sum, exprs.end());
  EXPECT_EQ((*sum)->Caption(), "SUM(Rain)");
  EXPECT_TRUE((*sum)->ResetAfterPrint);
  EXPECT_EQ(qobject_cast<TRptCustomBand*>((*sum)->parentWidget())->BandType(), TRptBandType::rbGroupFooter);
  // A wrong value names its property.
  const std::string bad = "TBandReport R {\r\n  TRptShape S {\r\n    Shape = rpsStar\r\n  }\r\n}\r\n";
  EXPECT_EQ(ReadReport(bad, "bad", &form, error), nullptr);
  EXPECT_EQ(error.property, "Shape");
  EXPECT_EQ(error.line, 3);
}

}  // namespace
