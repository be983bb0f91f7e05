// Prints the report library's demo report (every band kind and printable over a rainfall table in
// two columns) for looking at it by hand:
//
//   run_report_demo OUT-FOLDER [ROWS]
//
// writes OUT-FOLDER/demo.pdf (through the built-in PDF printer) and OUT-FOLDER/demo.rpt (the
// run into the page store, saved as a page file). ROWS: the table's rows (1 to 100000, default
// 60). Exit status 1 when a file could not be written, 2 for wrong arguments. Runs headless (the
// offscreen Qt platform unless QT_QPA_PLATFORM says otherwise).
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_report.h"
#include "platform/path.h"
#include "platform/qt/printer_qt.h"
#include "report/rpt_printer.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: run_report_demo OUT-FOLDER [ROWS]\n");
    return 2;
  }
  int rows = 60;
  if (argc == 3) {
    char* end = nullptr;
    const long v = std::strtol(argv[2], &end, 10);
    if (end == argv[2] || *end || v < 1 || v > 100000) {
      std::fprintf(stderr, "run_report_demo: ROWS must be 1 to 100000\n");
      return 2;
    }
    rows = static_cast<int>(v);
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::InstallQtPrinting();
  const std::string folder = std::string(argv[1]) + "/";
  const std::optional<std::string> pdf = platform::ToInsidePath(folder + "demo.pdf");
  const std::optional<std::string> rpt = platform::ToInsidePath(folder + "demo.rpt");
  if (!pdf || !rpt) {
    std::fprintf(stderr, "run_report_demo: %s: not a usable folder name\n", argv[1]);
    return 2;
  }
  auto table = rpttest::MakeDemoTable(rows);
  auto report = rpttest::BuildDemoReport(*table);
  report->ShowProgress = false;

  auto& printers = platform::QtPrinterService::Instance();
  printers.SelectPrinter(platform::kPdfPrinterName);
  printers.SetPdfOutputFile(*pdf);
  const rpt::TRptPrintOutcome outcome = report->Print();
  if (outcome.kind != rpt::TRptPrintOutcome::Printed) {
    std::fprintf(stderr, "run_report_demo: %s: not printed %s\n", pdf->c_str(), outcome.message.c_str());
    return 1;
  }
  try {
    report->PreparePrinter();
    report->RunReport(false);
    report->Printer()->Save(*rpt);
    std::printf("%d pages: %s%s, %s\n", report->Printer()->PageCount(), folder.c_str(), "demo.pdf", "demo.rpt");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "run_report_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
