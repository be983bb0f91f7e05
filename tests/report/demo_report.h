// The demo report: every band kind and every printable of the report library over a table of
// rainfall records, printed in two columns. Used by the report tests, the preview's tests and
// the report benchmarks (bench/run_report_demo writes it as demo.pdf and demo.rpt).
//
// The table "Rain" has the fields No (Integer), Region (String, 6 regions in runs of 10 rows),
// Name (String), Rain (Float, mm), Days (Integer) and Note (String: a long text on every 14th
// row, which stretches its detail band across a column or page break; it is written "[Note]" in
// expressions, where a name beginning "not" would read as the operator).
//
// Layout of the report (A4 portrait, 10 mm margins, 2 columns 5 mm apart, frame around the
// margins):
//   title        report title, the seven shapes, a bitmap image (Center), an EMF image
//                (Stretch), a memo; child band with a rule
//   page header  "Page n" (PAGENUMBER with a mask) and the report title, on every page
//   column head  column titles
//   group        Region header / footer with COUNT and SUM (reset after each print)
//   detail       No, Name, Rain (mask 0.0), Days, the stretching note, a Tag 1000 line
//   sub-detail   the months of the rows that have them (a query by the row's No)
//   summary      SUM, COUNT, AVERAGE, MIN and MAX over all rows, a word-wrapped memo
//   page footer  "- n -" and the title; child band with a rule
//   overlay      "DEMO" at the top of every page
#pragma once

#include <memory>

#include "report/band_report.h"
#include "report/dataset.h"

namespace rpttest {

// The rainfall table with `rows` rows, open.
std::unique_ptr<rpt::TTable> MakeDemoTable(int rows = 60);

// The demo report over `table` (kept alive and open by the caller while the report runs). The
// report owns the sub-detail's query.
std::unique_ptr<rpt::TBandReport> BuildDemoReport(rpt::TTable& table);

}  // namespace rpttest
