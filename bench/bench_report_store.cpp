// The report page store: the page compressor both ways on recorded pages and on random bytes
// (MB/s of page bytes; "ratio" is coded size / page size), adding and reading 100 pages plain
// and compressed, in memory and spilled to a temporary file, saving and loading a 100-page
// file, and reading a stored report description of 2,000 and of 20,000 labels side by side on
// one band (the time grows in proportion). Pages are A4 metafiles (794 x 1123 reference pixels) with a frame, a title,
// a ruled table of 40 text rows and a few filled boxes, about the size of a report page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/stream.h"
#include "report/page_compress.h"
#include "report/page_store.h"
#include "report/report_text.h"
#include "qt_bench_main.h"

namespace {

constexpr int kPages = 100;

std::string RecordPage(int n) {
  platform::EmfRecorder r(794, 1123);
  r.Rectangle(40, 40, 754, 1083);
  r.TextOut(60, 60, u"Monthly balance " + std::u16string(1, static_cast<char16_t>(u'0' + n % 10)));
  for (int row = 0; row < 40; ++row) {
    r.MoveTo(60, 120 + row * 22);
    r.LineTo(734, 120 + row * 22);
    std::u16string cells;
    for (int col = 0; col < 8; ++col) cells += u"  " + std::u16string(1, static_cast<char16_t>(u'0' + (row * col + n) % 10)) + u"12.3";
    r.TextOut(64, 124 + row * 22, cells);
  }
  for (int k = 0; k < 12; ++k) {
    platform::LogBrush b;
    b.color = platform::RgbColor(20 * k, 100, 240 - 20 * k);
    r.SelectBrush(b);
    r.Rectangle(100 + 50 * k, 1070 - (k * 37 + n) % 120, 140 + 50 * k, 1070);
  }
  return r.Finish();
}

const std::vector<std::string>& Pages() {
  static const std::vector<std::string> pages = [] {
    std::vector<std::string> p;
    for (int n = 1; n <= kPages; ++n) p.push_back(RecordPage(n));
    return p;
  }();
  return pages;
}

const std::string& RecordedBytes() {
  static const std::string bytes = [] {
    std::string all;
    for (int n = 0; n < 10; ++n) all += Pages()[n];
    return all;
  }();
  return bytes;
}

const std::string& RandomBytes() {
  static const std::string bytes = [] {
    std::mt19937 rng(3);
    std::string s(1 << 20, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
  }();
  return bytes;
}

const std::string& Input(int which) { return which == 0 ? RecordedBytes() : RandomBytes(); }

std::string Compress(const std::string& in) {
  platform::MemoryStream out;
  rpt::TRptCompress c(out, true);
  c.Compress(in.data(), in.size());
  c.Finish();
  return out.Take();
}

void BM_Compress(benchmark::State& state) {
  const std::string& in = Input(static_cast<int>(state.range(0)));
  size_t coded = 0;
  for (auto _ : state) {
    coded = Compress(in).size();
    benchmark::DoNotOptimize(coded);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
  state.counters["ratio"] = static_cast<double>(coded) / static_cast<double>(in.size());
  state.SetLabel(state.range(0) == 0 ? "recorded pages" : "random bytes");
}

void BM_Expand(benchmark::State& state) {
  const std::string& in = Input(static_cast<int>(state.range(0)));
  const std::string coded = Compress(in);
  std::string out(in.size(), '\0');
  for (auto _ : state) {
    platform::MemoryStream s(coded);
    rpt::TRptCompress e(s, false);
    benchmark::DoNotOptimize(e.Expand(out.data(), out.size()));
  }
  if (out != in) state.SkipWithError("round trip changed the bytes");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
  state.counters["ratio"] = static_cast<double>(coded.size()) / static_cast<double>(in.size());
  state.SetLabel(state.range(0) == 0 ? "recorded pages" : "random bytes");
}

// range(0): compressed; range(1): spilled (a memory limit of 100 KB) or in memory.
std::unique_ptr<rpt::TRptPageList> NewList(const benchmark::State& state) {
  auto list = std::make_unique<rpt::TRptPageList>();
  list->SetStream(std::make_shared<rpt::TRptStream>(state.range(1) ? 100000 : (int64_t{1} << 30)));
  list->SetCompression(state.range(0) != 0);
  return list;
}

void Label(benchmark::State& state, int64_t streamBytes) {
  state.SetLabel(std::string(state.range(0) ? "compressed" : "plain") + (state.range(1) ? ", spilled" : ", memory"));
  state.counters["stream_MB"] = static_cast<double>(streamBytes) / 1e6;
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(state.iterations() * kPages),
                                                 benchmark::Counter::kIsRate);
}

void BM_AddPages(benchmark::State& state) {
  int64_t size = 0;
  for (auto _ : state) {
    auto list = NewList(state);
    for (const auto& p : Pages()) list->AddPage(p);
    list->WriteHeader();
    size = list->Stream()->Size();
  }
  Label(state, size);
}

void BM_GetPages(benchmark::State& state) {
  auto list = NewList(state);
  for (const auto& p : Pages()) list->AddPage(p);
  for (auto _ : state)
    for (int n = 1; n <= kPages; ++n) benchmark::DoNotOptimize(list->GetPage(n));
  Label(state, list->Stream()->Size());
}

std::string FilePath(bool compressed) {
  return platform::TempFolder() + (compressed ? "bench_report_store_c.RPT" : "bench_report_store_p.RPT");
}

void BM_SaveFile(benchmark::State& state) {
  auto list = NewList(state);
  for (const auto& p : Pages()) list->AddPage(p);
  list->WriteHeader();
  for (auto _ : state) list->WriteFile(FilePath(state.range(0) != 0));
  Label(state, list->Stream()->Size());
}

void BM_LoadFile(benchmark::State& state) {
  auto list = NewList(state);
  for (const auto& p : Pages()) list->AddPage(p);
  list->WriteHeader();
  const std::string path = FilePath(state.range(0) != 0);
  list->WriteFile(path);
  for (auto _ : state) {
    rpt::TRptPageList loaded;
    loaded.LoadFromFile(path);
    benchmark::DoNotOptimize(loaded.PageCount());
  }
  Label(state, list->Stream()->Size());
  platform::RemoveFile(path);
}

// A report whose one band holds `labels` labels, as stored.
std::string SiblingLabels(int labels) {
  std::string text = "TBandReport R {\r\n  TRptBand B {\r\n    BandType = rbDetail\r\n";
  for (int k = 0; k < labels; ++k) {
    const std::string n = std::to_string(k);
    text += "    TRptLabel L" + n + " {\r\n      Caption = 'Label " + n + "'\r\n      Size.Values = (40.0 " +
            std::to_string(k % 1800) + ".0 " + std::to_string(k % 25 * 40) + ".0 200.0)\r\n    }\r\n";
  }
  return text + "  }\r\n}\r\n";
}

void BM_ReadDescription(benchmark::State& state) {
  const std::string text = SiblingLabels(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto form = std::make_unique<QWidget>();
    rpt::ReportTextError error;
    if (!rpt::ReadReport(text, "labels", form.get(), error)) state.SkipWithError(error.Text().c_str());
    // Not timed: what the event loop does after reading, and closing the form.
    state.PauseTiming();
    QCoreApplication::sendPostedEvents();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["labels"] = static_cast<double>(state.range(0));
}

}  // namespace

BENCHMARK(BM_ReadDescription)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Expand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddPages)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetPages)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFile)->Args({0, 0})->Args({1, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile)->Args({0, 0})->Args({1, 0})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunQtBenchmarks<QApplication>(argc, argv); }
