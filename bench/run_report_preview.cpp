// Shows the standard report preview window, for looking at the preview by hand:
//
//   run_report_preview [ROWS]        the report library's demo report over ROWS rows (1 to
//                                    100000, default 200), run into the page store
//   run_report_preview FILE.RPT      a saved page file
//
// The window works as in a program: zoom, navigation, thumbnails, search, printer setup,
// printing (the demo is printed anew by its report; a file's stored pages are printed), saving
// and loading page files, with the system's printers or the built-in PDF printer. The program
// ends when the window closes. Exit status 1: the file cannot be loaded (the reason on the
// standard error); 2: usage.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "demo_report.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/printer_qt.h"
#include "platform/qt/qt_ui.h"
#include "report/rpt_error.h"
#include "report/rpt_printer.h"
#include "report/ui/standard_preview.h"

namespace {

bool IsRowCount(const char* text, int& rows) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end || v < 1 || v > 100000) return false;
  rows = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: %s [ROWS | FILE.RPT]\n", argv[0]);
    return 2;
  }
  QApplication application(argc, argv);
  platform::EnsureQtFontEngine();
  platform::QtUi ui;
  platform::InstallUi(&ui);
  platform::InstallQtPrinting();

  int rows = 200;
  std::unique_ptr<rpt::TTable> table;
  std::unique_ptr<rpt::TBandReport> report;
  std::unique_ptr<rpt::TRptPrinter> loaded;
  rpt::TRptPrinter* printer = nullptr;
  if (argc == 1 || IsRowCount(argv[1], rows)) {
    table = rpttest::MakeDemoTable(rows);
    report = rpttest::BuildDemoReport(*table);
    report->PreparePrinter();
    report->RunReport(false);
    printer = report->Printer();
  } else {
    std::optional<std::string> file = platform::ToInsidePath(argv[1]);
    if (!file) {
      std::fprintf(stderr, "%s: the file name cannot be used\n", argv[1]);
      return 1;
    }
    loaded = std::make_unique<rpt::TRptPrinter>(nullptr);
    try {
      loaded->Load(*file);
    } catch (const rpt::ERptError& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
    printer = loaded.get();
  }
  auto* form = new rpt::TRptStandardPreview(printer);
  form->show();
  QObject::connect(form, &QObject::destroyed, &application, &QApplication::quit);
  const int rc = application.exec();
  platform::InstallUi(nullptr);
  return rc;
}
