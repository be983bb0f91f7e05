// The demo report printed on the PDF printer: every band kind and printable over 60 rows in two
// columns, rendered to PNG (kept under /tmp/harvsim-report-png/ to be looked at).
#include <gtest/gtest.h>

#include "platform/files.h"
#include "report/rpt_printer.h"
#include "demo_report.h"
#include "pdf_pages.h"
#include "report_fixtures.h"

using namespace rpt;

namespace {

class DemoReport : public ::testing::Test {
 protected:
  rpttest::LocaleScope locale{false, false};
  testsupport::TempFolder tmp;
  std::unique_ptr<TTable> table = rpttest::MakeDemoTable();
  std::unique_ptr<TBandReport> report = rpttest::BuildDemoReport(*table);
};

TEST_F(DemoReport, PrintsOnThePdfPrinter) {
  const std::string pdf = tmp.Path("demo.pdf");
  rpttest::PdfPrinterScope printer(pdf);
  const TRptPrintOutcome outcome = report->Print();
  ASSERT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
  const int pages = rpttest::PdfPages(pdf);
  EXPECT_GE(pages, 2);
  for (int p = 1; p <= pages; ++p) rpttest::RenderPdfPage(pdf, p, 100, "demo-page" + std::to_string(p));
  const std::string text = rpttest::PdfText(pdf);
  std::printf("%s\n", text.c_str());
}

}  // namespace
