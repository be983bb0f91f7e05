// The demo report printed on the PDF printer: every band kind and printable over 60 rows in two
// columns, rendered to PNG (kept to be looked at in the folder HARVSIM_KEEP_PICTURES names);
// cancelling it midway leaves the PDF printed before untouched.
#include <gtest/gtest.h>

#include <filesystem>

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

TEST_F(DemoReport, PrintsOnThePdfPrinterAndACancelKeepsTheOlderFile) {
  const std::string pdf = tmp.Path("demo.pdf");
  rpttest::PdfPrinterScope printer(pdf);
  report->ShowProgress = true;
  const TRptPrintOutcome outcome = report->Print();
  ASSERT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
  const int pages = rpttest::PdfPages(pdf);
  EXPECT_EQ(pages, 2);
  for (int p = 1; p <= pages; ++p) {
    EXPECT_FALSE(rpttest::RenderPdfPage(pdf, p, 100, "demo-page" + std::to_string(p)).isNull());
  }
  const std::string text = rpttest::PdfText(pdf);
  for (const char* piece : {"Rainfall records", "Page 1", "Page 2", "Hokkaido", "Kyushu", "10 rows",
                            "12,538.8", "Record 42 carries", "column or page.", "July", "76,732.5 mm", "1278.88",
                            "Daily rainfall", "DEMO"}) {
    EXPECT_NE(text.find(piece), std::string::npos) << piece;
  }

  std::string before;
  ASSERT_TRUE(platform::ReadFileBytes(pdf, before));
  for (TRptCustomBand* band : report->AllBands()) {
    if (band->BandType() != TRptBandType::rbDetail) continue;
    band->AfterPrint = [&](TRptCustomBand*, bool) {
      if (table->FindField("No")->AsInteger() == 30) report->Printer()->Cancel();  // the progress form's Cancel
    };
  }
  EXPECT_EQ(report->Print().kind, TRptPrintOutcome::Cancelled);
  std::string after;
  ASSERT_TRUE(platform::ReadFileBytes(pdf, after));
  EXPECT_EQ(after, before);
  EXPECT_FALSE(std::filesystem::exists(rpttest::Native(pdf) + ".part"));
}

}  // namespace
