// Shows the standard report preview window on a page file, for looking at the preview by hand:
//
//   run_report_preview [FILE.RPT]
//
// Without a file the window shows twelve recorded sample pages (report_pages.h). The window
// works as in a program: zoom, navigation, thumbnails, search, saving and loading page files,
// printing with the system's printers or the built-in PDF printer. Exit status 1: the file
// cannot be loaded (the reason on the standard error); 2: usage.
#include <QApplication>
#include <cstdio>
#include <memory>

#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/printer_qt.h"
#include "platform/qt/qt_ui.h"
#include "report/page_store.h"
#include "report/rpt_error.h"
#include "report/rpt_printer.h"
#include "report/ui/standard_preview.h"
#include "report_pages.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: %s [FILE.RPT]\n", argv[0]);
    return 2;
  }
  QApplication application(argc, argv);
  platform::EnsureQtFontEngine();
  platform::QtUi ui;
  platform::InstallUi(&ui);
  platform::InstallQtPrinting();

  std::string file;
  if (argc == 2) {
    std::optional<std::string> inside = platform::ToInsidePath(argv[1]);
    if (!inside) {
      std::fprintf(stderr, "%s: the file name cannot be used\n", argv[1]);
      return 1;
    }
    file = *inside;
  } else {
    file = platform::TempFolder() + "run_report_preview_sample.RPT";
    rpt::TRptPageList list;
    list.SetStream(std::make_shared<rpt::TRptStream>());
    for (const std::string& page : benchpages::RecordPages(12, true)) list.AddPage(page);
    list.WriteHeader();
    list.WriteFile(file);
  }
  rpt::TRptPrinter printer(nullptr);
  try {
    printer.Load(file);
  } catch (const rpt::ERptError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (argc != 2) platform::RemoveFile(file);
  if (argc != 2) printer.Title = "Sample pages";
  auto* form = new rpt::TRptStandardPreview(&printer);
  form->show();
  QObject::connect(form, &QObject::destroyed, &application, &QApplication::quit);
  const int rc = application.exec();
  platform::InstallUi(nullptr);
  return rc;
}
