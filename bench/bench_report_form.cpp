// The printed report of the sample case on the small result fixture of the tests: the report
// form's three pages built from the result files and page metafiles (conditions, tables,
// findings, weather lines and the six pictures), and the three pages printed one by one to the
// built-in PDF printer.
// Counters: "pdf_bytes" the three PDF files together, "page1_bytes" ... "page3_bytes" each.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <unistd.h>

#include "model/sim/run_state.h"
#include "bench/report_set.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/ui/metafile_picture.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/printer_qt.h"
#include "report/band_report.h"
#include "views/report_form.h"
#include "views/report_pages.h"

namespace {

namespace fs = std::filesystem;
using benchreport::InsideOf;

// A result folder with the fixture's result files and the ten page metafiles, and the sample
// case in the condition store.
struct Results {
  fs::path folder;
  bool ready = false;
  Results() {
    benchreport::ReportSet set = benchreport::LoadReportSet();
    folder = fs::temp_directory_path() / ("harvsim-bench-report-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(benchreport::SourceDir() / "tests/app/fixtures/golden"))
      fs::copy_file(e.path(), folder / e.path().filename());
    app::ResultPrefix = InsideOf(folder) + "\\HarvSim";
    app::CalcFilePath = InsideOf(folder) + "\\TEST_HVS.HVS";
    ready = set.ready && fw::LoadInputData(InsideOf(benchreport::SourceDir() / "data/tree/CAL/HVS/TEST_HVS.HVS"),
                                           fw::CalcData);
    for (const benchreport::Page& p : set.pages) {
      const std::string name = app::ResultPrefix + app::PageMetafileSuffix(p.page, p.yearNumber, p.graph);
      ready = ready && app::SaveGraphMetafile(name, set.prefix, set.On(p));
    }
  }
  ~Results() { fs::remove_all(folder); }
};

Results& Data() {
  static Results r;
  return r;
}

void BM_BuildReportPages(benchmark::State& state) {
  if (!Data().ready) {
    state.SkipWithError("result fixture missing");
    return;
  }
  views::THARVRPTForm form;
  form.show();
  for (auto _ : state) {
    views::PageBuilt.fill(false);
    for (int page = 1; page <= 3; ++page) form.BuildPage(page);
  }
}
BENCHMARK(BM_BuildReportPages)->Unit(benchmark::kMillisecond);

void BM_PrintReportPagesToPdf(benchmark::State& state) {
  if (!Data().ready) {
    state.SkipWithError("result fixture missing");
    return;
  }
  platform::InstallQtPrinting();
  auto& printers = platform::QtPrinterService::Instance();
  printers.SelectPrinter(platform::kPdfPrinterName);
  views::THARVRPTForm form;
  form.show();
  for (int page = 1; page <= 3; ++page) form.BuildPage(page);
  double sizes[4] = {};
  for (auto _ : state) {
    for (int page = 1; page <= 3; ++page) {
      const fs::path pdf = Data().folder / ("page" + std::to_string(page) + ".pdf");
      printers.SetPdfOutputFile(InsideOf(pdf));
      if (form.Report(page)->Print().kind != rpt::TRptPrintOutcome::Printed) {
        state.SkipWithError("a page was not printed");
        return;
      }
      sizes[page] = static_cast<double>(fs::file_size(pdf));
    }
  }
  printers.SetPdfOutputFile("");
  for (int page = 1; page <= 3; ++page) state.counters["page" + std::to_string(page) + "_bytes"] = sizes[page];
  state.counters["pdf_bytes"] = sizes[1] + sizes[2] + sizes[3];
}
BENCHMARK(BM_PrintReportPagesToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  fw::RegisterMetafileEx();  // the pages' pictures are metafiles
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
