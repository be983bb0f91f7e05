// The report preview on a loaded 100-page file: one page drawn at zoom 100 and 200 (the
// metafile played onto the image's picture with its outline and shadow), the thumbnails of
// all 100 pages drawn afresh, and a text search over the 100 pages (ASCII without match case
// with 10 hits, Japanese with 100 hits, and a text found nowhere). Pages as in
// report_pages.h, drawn as a report run draws them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "report/page_store.h"
#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "report/ui/standard_preview.h"
#include "report_pages.h"

namespace {

constexpr int kPages = 100;

// A printer holding the 100 pages, loaded from a page file.
rpt::TRptPrinter& LoadedPrinter() {
  static std::unique_ptr<rpt::TRptPrinter> printer = [] {
    const std::string path = platform::TempFolder() + "bench_report_preview.RPT";
    rpt::TRptPageList list;
    list.SetStream(std::make_shared<rpt::TRptStream>(int64_t{1} << 30));
    for (const std::string& page : benchpages::RecordPages(kPages, true)) list.AddPage(page);
    list.WriteHeader();
    list.WriteFile(path);
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
    f->resize(1000, 800);
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
  for (auto _ : state) {
    form.ClearThumbnails();
    for (int p = 1; p <= kPages; ++p) benchmark::DoNotOptimize(form.Thumbnail(p).constBits());
  }
  const QSize size = form.ThumbnailSize();
  state.SetLabel(std::to_string(kPages) + " pages, " + std::to_string(size.width()) + " x " +
                 std::to_string(size.height()) + " pixels each");
}

void BM_Search(benchmark::State& state) {
  rpt::TRptStandardPreview& form = Window();
  const std::string texts[] = {"monthly BALANCE 7", platform::J("月別集計"), "Nowhere"};
  const std::string& text = texts[state.range(0)];
  for (auto _ : state) form.Search(text, state.range(0) == 1);
  const char* labels[] = {"ASCII, without match case, 10 hits", "Japanese, match case, 100 hits",
                          "no hit"};
  state.SetLabel(labels[state.range(0)]);
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kPages), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_DrawPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnails)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
