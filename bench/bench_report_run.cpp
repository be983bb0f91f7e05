// The report run over the demo report (every band kind and printable, two columns) with enough
// rows for about 100 pages: into the page store plain and compressed, and onto the PDF printer.
// Counters: pages, the time per page ("page_time", seconds), the page store's bytes per page
// and the PDF's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>

#include "demo_report.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/printer_qt.h"
#include "report/rpt_printer.h"

namespace {

constexpr int kRows = 5000;  // 100 pages in the page store, 99 on the PDF printer

struct Demo {
  std::unique_ptr<rpt::TTable> table = rpttest::MakeDemoTable(kRows);
  std::unique_ptr<rpt::TBandReport> report = rpttest::BuildDemoReport(*table);
  Demo() { report->ShowProgress = false; }
};

void BM_DemoToPageStore(benchmark::State& state) {
  Demo demo;
  demo.report->Options.Set(rpt::TBandReportOption::Compression, state.range(0) != 0);
  int pages = 0;
  int64_t bytes = 0;
  for (auto _ : state) {
    demo.report->PreparePrinter();
    demo.report->RunReport(false);
    rpt::TRptPrinter& printer = *demo.report->Printer();
    pages = printer.PageCount();
    bytes = static_cast<int64_t>(printer.PageList().Stream()->Size());
    demo.report->FreePrinter();
  }
  state.counters["pages"] = pages;
  state.counters["page_time"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
  state.counters["bytes_per_page"] = pages ? static_cast<double>(bytes) / pages : 0;
}
BENCHMARK(BM_DemoToPageStore)->Arg(0)->Arg(1)->ArgNames({"compressed"})->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DemoToPdf(benchmark::State& state) {
  Demo demo;
  const std::string native = (std::filesystem::temp_directory_path() / "harvsim-bench-demo.pdf").string();
  const std::string inside = *platform::ToInsidePath(native);
  auto& printers = platform::QtPrinterService::Instance();
  printers.SelectPrinter(platform::kPdfPrinterName);
  printers.SetPdfOutputFile(inside);
  int pages = 0;
  demo.report->AfterPrint = [&](rpt::TCustomBandReport* r) { pages = r->Printer()->PageCount(); };
  for (auto _ : state) {
    const rpt::TRptPrintOutcome outcome = demo.report->Print();
    if (outcome.kind != rpt::TRptPrintOutcome::Printed) state.SkipWithError(outcome.message.c_str());
  }
  state.counters["pages"] = pages;
  state.counters["page_time"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
  state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(native));
  std::filesystem::remove(native);
}
BENCHMARK(BM_DemoToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::InstallQtPrinting();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
