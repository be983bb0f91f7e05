// The report preview on a loaded 100-page file of the demo report (tests/report/demo_report.h,
// 5000 rows): one page drawn at zoom 100 and 200 (the metafile played onto the image's picture
// with its outline and shadow), the thumbnails of all 100 pages drawn afresh, and a text search
// over the 100 pages (a region's name without match case, found on some pages; a text found on
// none, so every text record of every page is read).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <memory>

#include "demo_report.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "report/ui/standard_preview.h"
#include "qt_bench_main.h"

namespace {

constexpr int kRows = 5000;  // 100 pages

// A printer holding the demo's pages, loaded from a page file.
rpt::TRptPrinter& LoadedPrinter() {
  static std::unique_ptr<rpt::TRptPrinter> printer = [] {
    const std::string path = platform::TempFolder() + "bench_report_preview.RPT";
    {
      std::unique_ptr<rpt::TTable> table = rpttest::MakeDemoTable(kRows);
      std::unique_ptr<rpt::TBandReport> report = rpttest::BuildDemoReport(*table);
      report->ShowProgress = false;
      report->PreparePrinter();
      report->RunReport(false);
      report->Printer()->Save(path);
    }
    auto p = std::make_unique<rpt::TRptPrinter>(nullptr);
    p->Load(path);
    platform::RemoveFile(path);
    return p;
  }();
  return *printer;
}

rpt::TRptStandardPreview& Window() {
  static rpt::TRptStandardPreview* form = [] {
    auto* f = new rpt::TRptStandardPreview(&LoadedPrinter());
    f->show();  // lays the thumbnail column out at its width
    f->setWindowState(Qt::WindowNoState);
    f->resize(1000, 800);
    QApplication::processEvents();
    return f;
  }();
  return *form;
}

void BM_DrawPage(benchmark::State& state) {
  rpt::TRptPreview preview;
  preview.SetPrinter(&LoadedPrinter());
  preview.SetZoom(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    preview.Image()->SetZoom(static_cast<int>(state.range(0)));  // the picture is drawn anew
    benchmark::DoNotOptimize(preview.Image()->Picture().constBits());
  }
  const QSize size = preview.Image()->size();
  state.SetLabel("zoom " + std::to_string(state.range(0)) + ", " + std::to_string(size.width()) + " x " +
                 std::to_string(size.height()) + " pixels");
  preview.SetPrinter(nullptr);
}

void BM_Thumbnails(benchmark::State& state) {
  rpt::TRptStandardPreview& form = Window();
  const int pages = LoadedPrinter().PageCount();
  for (auto _ : state) {
    form.ClearThumbnails();
    for (int p = 1; p <= pages; ++p) benchmark::DoNotOptimize(form.Thumbnail(p).constBits());
  }
  const QSize size = form.ThumbnailSize();
  state.SetLabel(std::to_string(pages) + " pages, " + std::to_string(size.width()) + " x " +
                 std::to_string(size.height()) + " pixels each");
}

void BM_Search(benchmark::State& state) {
  rpt::TRptStandardPreview& form = Window();
  const int pages = LoadedPrinter().PageCount();
  const std::string text = state.range(0) == 0 ? "kyushu" : "Nowhere at all";
  for (auto _ : state) form.Search(text, false);
  const int hits = form.SearchResultBox->isEnabled() ? form.SearchResultBox->count() : 0;
  state.SetLabel(std::to_string(pages) + " pages, " + std::to_string(hits) + " hits");
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * pages), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_DrawPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnails)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunQtBenchmarks<QApplication>(argc, argv); }
