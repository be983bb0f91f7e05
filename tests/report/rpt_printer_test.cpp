// The report printer: the document cycle into the page store and onto printers, page ranges,
// factors, page files, stored-page printing, messages and hyperlinks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QObject>
#include <cstdio>
#include <filesystem>

#include "platform/dc_trace.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/printer_qt.h"
#include "platform/qt/qt_ui.h"
#include "platform/shell.h"
#include "report/band_report.h"
#include "report/rpt_printer.h"
#include "fake_printers.h"
#include "pdf_pages.h"
#include "report_fixtures.h"
#include "support/test_support.h"

using namespace rpt;
using rpttest::FakePrinters;
using rpttest::LocaleScope;
using rpttest::DrawPage;
using rpttest::RunDocument;

namespace {

// Records the report messages it receives.
class MessageLog : public QObject {
 public:
  std::vector<std::pair<int, intptr_t>> messages;
  bool event(QEvent* e) override {
    if (e->type() != RptMessageEvent::EventType()) return QObject::event(e);
    auto* m = static_cast<RptMessageEvent*>(e);
    messages.emplace_back(m->message, m->wParam);
    return true;
  }
  std::vector<intptr_t> Of(int message) const {
    std::vector<intptr_t> v;
    for (auto& [m, w] : messages) {
      if (m == message) v.push_back(w);
    }
    return v;
  }
};

void Deliver() { QCoreApplication::sendPostedEvents(); }

// The texts of trace lines, in order.
std::vector<std::string> TextsOf(const std::vector<std::string>& trace) {
  std::vector<std::string> texts;
  for (const std::string& l : trace) {
    if (l.rfind("ExtTextOut", 0) == 0) texts.push_back(l.substr(l.find('"') + 1, l.rfind('"') - l.find('"') - 1));
  }
  return texts;
}

// The texts a page's metafile draws.
std::vector<std::string> TextsOf(const std::string& emf) {
  platform::TraceDc dc;
  platform::PlayEnhMetafile(dc, emf, platform::Rect{0, 0, 794, 1123});
  return TextsOf(dc.log);
}

class RptPrinterTest : public ::testing::Test {
 protected:
  LocaleScope locale{false, false};
  testsupport::TempFolder tmp;
};

TEST_F(RptPrinterTest, DocumentIntoThePageStore) {
  TRptPrinter printer(nullptr);
  MessageLog log;
  printer.SetNotifiedWindow(&log);
  EXPECT_EQ(printer.GetStatus(), TRptPrinter::kReady);
  EXPECT_NEAR(static_cast<double>(printer.XFactor()), 96.0 / 254, 1e-12);
  RunDocument(printer, 5);
  EXPECT_EQ(printer.GetStatus(), TRptPrinter::kFinished);
  EXPECT_EQ(printer.PageCount(), 5);
  EXPECT_EQ(printer.PageList().PageCount(), 5);
  for (int n = 1; n <= 5; ++n) {
    std::optional<std::string> page = printer.GetPage(n);
    ASSERT_TRUE(page) << n;
    auto header = platform::emf::ReadHeader(*page);
    ASSERT_TRUE(header);
    EXPECT_EQ(platform::emf::FrameSizePixels(*header), (platform::Size{794, 1123}));
    EXPECT_EQ(TextsOf(*page), std::vector<std::string>{"Page " + std::to_string(n)});
  }
  EXPECT_FALSE(printer.GetPage(0));
  EXPECT_FALSE(printer.GetPage(6));
  Deliver();
  // One message per finished page and one at the end: the last page is counted once.
  EXPECT_EQ(log.Of(CM_RPTPAGEAVAILABLE), (std::vector<intptr_t>{1, 2, 3, 4, 5, 5}));
  EXPECT_EQ(printer.AvailablePages(), 5);
  printer.Cleanup();
  EXPECT_EQ(printer.GetStatus(), TRptPrinter::kReady);
  EXPECT_FALSE(printer.GetPage(1));
}

TEST_F(RptPrinterTest, CycleErrors) {
  TRptPrinter printer(nullptr);
  try {
    printer.NewPage();
    FAIL();
  } catch (const ERptError& e) {
    EXPECT_STREQ(e.what(), "Illegal call to NewPage");
  }
  printer.BeginDoc();
  try {
    printer.BeginDoc();
    FAIL();
  } catch (const ERptError& e) {
    EXPECT_STREQ(e.what(), "RptPrinter not ready");
  }
  printer.EndDoc();
  EXPECT_THROW(printer.NewPage(), ERptError);
  EXPECT_THROW(printer.BeginDoc(), ERptError);
}

// A five-page run onto a printer with the range 2 to 3: only pages 2 and 3 reach the device,
// with no sheet after them.
TEST_F(RptPrinterTest, PrintRangeOnAPrinter) {
  FakePrinters service;
  service.printers.push_back(FakePrinters::FullPrinter("Office"));
  TRptPrinter printer(nullptr);
  printer.SetDestination(TRptPrinter::kPrinter);
  printer.FirstPage = 2;
  printer.LastPage = 3;
  printer.Title = "Range";
  int afterPrint = 0;
  printer.AfterPrint = [&] { ++afterPrint; };
  RunDocument(printer, 5);
  ASSERT_EQ(service.jobs.size(), 1u);
  const FakePrinters::Job& job = service.jobs[0];
  EXPECT_EQ(job.title, "Range");
  EXPECT_TRUE(job.ended);
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(TextsOf(job.pages[0]), std::vector<std::string>{"Page 2"});
  EXPECT_EQ(TextsOf(job.pages[1]), std::vector<std::string>{"Page 3"});
  // 600 dpi and the printer's unprintable margins (100 pixels = 42 in 0.1 mm): the text of
  // 20 mm, 30 mm lies at round(158 x 600 / 254), round(258 x 600 / 254).
  EXPECT_EQ(printer.LeftWaste(), 42);
  EXPECT_EQ(printer.TopWaste(), 42);
  bool found = false;
  for (const std::string& l : job.pages[0]) found = found || l.rfind("ExtTextOut 373,609 ", 0) == 0;
  EXPECT_TRUE(found);
  EXPECT_EQ(afterPrint, 1);
  EXPECT_EQ(printer.PageCount(), 5);
}

TEST_F(RptPrinterTest, ZeroResolutionGivesScreenFactors) {
  FakePrinters service;
  FakePrinters::Printer p = FakePrinters::FullPrinter("Odd");
  p.dpiY = 0;
  service.printers.push_back(p);
  p.name = "Odder";
  p.dpiX = 0;
  p.dpiY = 300;
  service.printers.push_back(p);
  for (int index : {0, 1}) {
    TRptPrinter printer(nullptr);
    printer.SetPrinterIndex(index);
    printer.SetDestination(TRptPrinter::kPrinter);
    printer.BeginDoc();
    Real x = index == 0 ? 600.0L / 254 : 96.0L / 254, y = index == 0 ? 96.0L / 254 : 300.0L / 254;
    EXPECT_NEAR(static_cast<double>(printer.XFactor()), static_cast<double>(x), 1e-12);
    EXPECT_NEAR(static_cast<double>(printer.YFactor()), static_cast<double>(y), 1e-12);
    printer.NewPage();
    EXPECT_NEAR(static_cast<double>(printer.XFactor()), static_cast<double>(x), 1e-12);
    EXPECT_NEAR(static_cast<double>(printer.YFactor()), static_cast<double>(y), 1e-12);
    printer.EndDoc();
  }
}

TEST(PaperGuess, FirstMatchOfTheTable) {
  struct Case {
    int w, h;
    bool found;
    TRptPaperSize size;
    TRptOrientation orientation;
  };
  const Case cases[] = {
      {52, 74, true, TRptPaperSize::A4, TRptOrientation::Portrait},         // not A4Small
      {74, 52, true, TRptPaperSize::A4, TRptOrientation::Landscape},
      {53, 69, true, TRptPaperSize::Letter, TRptOrientation::Portrait},     // not LetterSmall or Note
      {107, 69, true, TRptPaperSize::Tabloid, TRptOrientation::Landscape},  // Ledger is Tabloid turned
      {215, 279, true, TRptPaperSize::ESheet, TRptOrientation::Portrait},
      {27, 37, false, TRptPaperSize::Default, TRptOrientation::Portrait},   // A6: past ESheet
      {0, 0, false, TRptPaperSize::Default, TRptOrientation::Portrait},
  };
  for (const Case& c : cases) {
    TRptPaperSize size = TRptPaperSize::Default;
    TRptOrientation o = TRptOrientation::Portrait;
    EXPECT_EQ(GuessPaper(c.w, c.h, size, o), c.found) << c.w << "x" << c.h;
    if (!c.found) continue;
    EXPECT_EQ(size, c.size) << c.w << "x" << c.h;
    EXPECT_EQ(o, c.orientation) << c.w << "x" << c.h;
  }
}

TEST_F(RptPrinterTest, SaveAndLoadPageFiles) {
  FakePrinters service;
  FakePrinters::Printer p = FakePrinters::FullPrinter("Office");
  p.papers = {9, 8};
  service.printers.push_back(p);
  for (bool landscape : {false, true}) {
    SCOPED_TRACE(landscape);
    TRptPrinter run(nullptr);
    run.Settings().SetPaperSize(TRptPaperSize::A4);
    run.Settings().SetOrientation(landscape ? TRptOrientation::Landscape : TRptOrientation::Portrait);
    RunDocument(run, 3);
    std::string file = tmp.Path(landscape ? "land.rpt" : "port.rpt");
    run.Save(file);
    TRptPrinter viewer(nullptr);
    viewer.Load(file);
    EXPECT_EQ(viewer.GetStatus(), TRptPrinter::kFinished);
    EXPECT_TRUE(viewer.LoadedFromFile());
    EXPECT_EQ(viewer.PageCount(), 3);
    EXPECT_EQ(viewer.GuessedPaper(), TRptPaperSize::A4);
    EXPECT_EQ(viewer.GuessedOrientation(), landscape ? TRptOrientation::Landscape : TRptOrientation::Portrait);
    EXPECT_EQ(viewer.Settings().PaperSize(), TRptPaperSize::A4);
    EXPECT_EQ(viewer.Settings().Orientation(), viewer.GuessedOrientation());
    EXPECT_EQ(TextsOf(*viewer.GetPage(3)), std::vector<std::string>{"Page 3"});
    // A bad file raises and keeps what is shown.
    std::string bad = tmp.Path("bad.rpt");
    ASSERT_TRUE(platform::WriteFileBytesAtomic(bad, "not a page file"));
    EXPECT_THROW(viewer.Load(bad), ERptError);
    EXPECT_EQ(viewer.PageCount(), 3);
    EXPECT_TRUE(viewer.GetPage(2));
  }
  // Saving into a folder that does not exist is reported with the file's name.
  TRptPrinter run(nullptr);
  RunDocument(run, 1);
  std::string missing = tmp.Path("no folder\\x.rpt");
  try {
    run.Save(missing);
    FAIL();
  } catch (const ERptError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
  }
}

TEST_F(RptPrinterTest, SaveAfterCancelKeepsEveryPage) {
  TRptPrinter printer(nullptr);
  printer.BeginDoc();
  for (int n = 1; n <= 4; ++n) {
    printer.NewPage();
    DrawPage(printer, n);
  }
  printer.Cancel();
  printer.AbortDoc();
  EXPECT_EQ(printer.GetStatus(), TRptPrinter::kFinished);
  std::string file = tmp.Path("cancelled.rpt");
  printer.Save(file);
  TRptPrinter viewer(nullptr);
  viewer.Load(file);
  EXPECT_EQ(viewer.PageCount(), 4);
  EXPECT_EQ(TextsOf(*viewer.GetPage(4)), std::vector<std::string>{"Page 4"});
}

TEST_F(RptPrinterTest, PrintStoredPagesRangesProgressAndCancel) {
  FakePrinters service;
  service.printers.push_back(FakePrinters::FullPrinter("Office"));
  TRptPrinter printer(nullptr);
  RunDocument(printer, 5);
  MessageLog log;
  printer.SetNotifiedWindow(&log);
  struct Case {
    int first, last;
    std::vector<std::string> pages;
    std::vector<intptr_t> progress;
  };
  const Case cases[] = {
      {2, 3, {"Page 2", "Page 3"}, {50, 100}},
      {4, 9, {"Page 4", "Page 5"}, {50, 100}},
      {0, 0, {"Page 1", "Page 2", "Page 3", "Page 4", "Page 5"}, {20, 40, 60, 80, 100}},
      {4, 2, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + "-" + std::to_string(c.last));
    service.jobs.clear();
    log.messages.clear();
    printer.FirstPage = c.first;
    printer.LastPage = c.last;
    printer.PrintStoredPages();
    Deliver();
    EXPECT_EQ(log.Of(CM_RPTPROGRESSUPDATE), c.progress);
    if (c.pages.empty()) {
      EXPECT_TRUE(service.jobs.empty());
      continue;
    }
    ASSERT_EQ(service.jobs.size(), 1u);
    EXPECT_TRUE(service.jobs[0].ended);
    std::vector<std::string> texts;
    for (const auto& page : service.jobs[0].pages) {
      for (const std::string& t : TextsOf(page)) texts.push_back(t);
    }
    EXPECT_EQ(texts, c.pages);
  }
  // A cancel during the loop (the progress form's button) aborts the job and ends nothing.
  platform::QtUi qtUi;  // pending messages run through Qt
  platform::Ui* previousUi = platform::InstallUi(&qtUi);
  struct Canceller : public QObject {
    TRptPrinter* printer = nullptr;
    bool event(QEvent* e) override {
      if (e->type() == RptMessageEvent::EventType() && static_cast<RptMessageEvent*>(e)->wParam >= 40) printer->Cancel();
      return true;
    }
  } canceller;
  canceller.printer = &printer;
  printer.SetNotifiedWindow(&canceller);
  service.jobs.clear();
  printer.FirstPage = printer.LastPage = 0;
  printer.PrintStoredPages();
  platform::InstallUi(previousUi);
  ASSERT_EQ(service.jobs.size(), 1u);
  EXPECT_TRUE(service.jobs[0].aborted);
  EXPECT_FALSE(service.jobs[0].ended);
}

TEST_F(RptPrinterTest, PreviewFormReprintsAndShowingPreview) {
  FakePrinters service;
  service.printers.push_back(FakePrinters::FullPrinter("Office"));
  TRptPrinter printer(nullptr);
  MessageLog preview;
  printer.SetPreviewForm(&preview);
  RunDocument(printer, 2);
  printer.PrintStoredPages();
  Deliver();
  EXPECT_EQ(preview.Of(CM_RPTPRINT).size(), 1u);
  EXPECT_TRUE(service.jobs.empty());
  printer.Settings().PrintMetaFile = true;
  printer.PrintStoredPages();
  EXPECT_EQ(service.jobs.size(), 1u);

  TRptPrinter busy(nullptr);
  int afterPreview = 0;
  busy.AfterPreview = [&] { ++afterPreview; };
  busy.SetShowingPreview(true);
  busy.BeginDoc();
  busy.SetShowingPreview(false);
  EXPECT_TRUE(busy.Cancelled());
  EXPECT_EQ(afterPreview, 1);
  busy.SetShowingPreview(false);
  EXPECT_EQ(afterPreview, 1);
}

TEST(RptPrinterLinks, HyperlinksGoToHandlersOrTheShell) {
  std::vector<std::string> opened;
  auto previous = platform::InstallShellOpen([&](const std::string& t) {
    opened.push_back(t);
    return true;
  });
  std::vector<std::string> handled;
  RegisterHyperlinkHandler("page:", [&](TRptPrinter&, const std::string& rest) { handled.push_back("page " + rest); });
  RegisterHyperlinkHandler("pa", [&](TRptPrinter&, const std::string& rest) { handled.push_back("pa " + rest); });
  TRptPrinter printer(nullptr);
  printer.FollowHyperlink("ext:C:\\doc\\a.txt");
  printer.FollowHyperlink("INT:PAGE:7");
  printer.FollowHyperlink("INT:nothing");
  printer.FollowHyperlink("page:3");
  printer.FollowHyperlink("http://example.org");
  EXPECT_EQ(opened, (std::vector<std::string>{"C:\\doc\\a.txt", "http://example.org"}));
  EXPECT_EQ(handled, (std::vector<std::string>{"page 7", "page 3"}));
  ClearHyperlinkHandlers();
  platform::InstallShellOpen(previous);
}

// The program's way: a run straight onto the PDF printer with the range 2 to 3.
TEST_F(RptPrinterTest, PdfPrinterRange) {
  platform::InstallQtPrinting();
  auto& qt = platform::QtPrinterService::Instance();
  ASSERT_TRUE(qt.SelectPrinter(platform::kPdfPrinterName));
  std::string pdf = tmp.Path("range.pdf");
  qt.SetPdfOutputFile(pdf);
  TRptPrinter printer(nullptr);
  printer.Settings().SetPaperSize(TRptPaperSize::A4);
  printer.SetDestination(TRptPrinter::kPrinter);
  printer.FirstPage = 2;
  printer.LastPage = 3;
  RunDocument(printer, 5);
  std::string native = *platform::ToNativePath(pdf);
  EXPECT_NE(testsupport::CommandOutput("pdfinfo '" + native + "'").find("Pages:           2"), std::string::npos);
  std::string text = testsupport::CommandOutput("pdftotext '" + native + "' -");
  EXPECT_EQ(text.find("Page 1"), std::string::npos);
  EXPECT_NE(text.find("Page 2"), std::string::npos);
  EXPECT_NE(text.find("Page 3"), std::string::npos);
  EXPECT_EQ(text.find("Page 4"), std::string::npos);
  // Rendered at 150 dpi, the square of 50 mm, 60 mm to 60 mm, 70 mm lies where the report put it.
  std::string prefix = tmp.native() + "range";
  testsupport::CommandOutput("pdftoppm -r 150 -png -f 1 -l 1 '" + native + "' '" + prefix + "'");
  QImage page(QString::fromStdString(prefix + "-1.png"));
  ASSERT_FALSE(page.isNull());
  rpttest::KeepPicture(page, "report-range-page2");
  int left = page.width(), top = page.height(), right = -1, bottom = -1;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) > 64) continue;
      // The square is the only dark area below 40 mm.
      if (y < 40 * 150 / 25.4) continue;
      left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
    }
  }
  auto px = [](double tenths) { return tenths / 254 * 150; };
  EXPECT_NEAR(left, px(500), 1.0);
  EXPECT_NEAR(top, px(600), 1.0);
  EXPECT_NEAR(right + 1, px(600), 1.0);
  EXPECT_NEAR(bottom + 1, px(700), 1.0);

  // A PDF that cannot be written is reported with its name: the target is a folder.
  std::string folder = tmp.Path("taken");
  ASSERT_TRUE(platform::MakeFolder(folder));
  qt.SetPdfOutputFile(folder);
  TRptPrinter failing(nullptr);
  failing.SetDestination(TRptPrinter::kPrinter);
  try {
    RunDocument(failing, 1);
    FAIL();
  } catch (const ERptError& e) {
    EXPECT_NE(std::string(e.what()).find(folder), std::string::npos) << e.what();
  }
  qt.SetPdfOutputFile("");
  platform::InstallPrinterService(nullptr);
}

}  // namespace
