// The standard preview window on the demo report (run into the page store, with a Japanese
// heading added): commands and closing while the report runs, keys, go to page, thumbnails,
// search, printer setup, save and load, printing a loaded file; and on pages recorded here:
// creation without a report, progress, hyperlinks and the outline, the preview interface.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/printer_qt.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "report/ui/search_dialog.h"
#include "report/ui/standard_preview.h"
#include "demo_report.h"
#include "pdf_pages.h"
#include "report_fixtures.h"
#include "run_fixtures.h"
#include "support/test_support.h"

using namespace rpt;
using platform::J;
using rpttest::DrawPage;
using rpttest::RunDocument;

namespace {

void Deliver() { QCoreApplication::sendPostedEvents(); }

// Runs the deferred deletions of closed windows.
void Flush() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Key(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
  QCoreApplication::sendEvent(target, &press);
}

// Answers the next modal dialog with `answer` once it is up.
template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    answer(d);
  });
}

class StandardPreviewTest : public ::testing::Test {
 protected:
  // A window on a printer of `pages` finished pages (no report), 900 x 700.
  TRptStandardPreview* Open(int pages) {
    RunDocument(printer, pages);
    Deliver();
    form = new TRptStandardPreview(&printer);
    form->setWindowState(Qt::WindowNoState);
    form->resize(900, 700);
    form->show();
    form->setWindowState(Qt::WindowNoState);
    form->resize(900, 700);
    QCoreApplication::processEvents();
    return form;
  }
  void TearDown() override {
    delete form.data();
    Flush();
  }

  // The demo over 200 rows run into the page store, with the heading "雨量の記録" on its title.
  void RunDemo(const std::function<void(int page)>& onStartPage = {}) {
    table = rpttest::MakeDemoTable(200);
    report = rpttest::BuildDemoReport(*table);
    report->ShowProgress = false;
    for (TRptCustomBand* band : report->AllBands()) {
      if (band->BandType() != TRptBandType::rbTitle) continue;
      auto* heading = new TRptLabel(band);
      heading->SetCaption(J("雨量の記録"));
      heading->Size().SetNative(TRptPrintableSize::kLeft, 1200);
      heading->Size().SetNative(TRptPrintableSize::kTop, 350);
    }
    if (onStartPage) report->OnStartPage = [&, onStartPage](TCustomBandReport* r) { onStartPage(r->PageCount()); };
    ASSERT_TRUE(report->PreparePrinter());
    report->RunReport(false);
    Deliver();
    ASSERT_EQ(report->Printer()->GetStatus(), TRptPrinter::kFinished);
  }
  // A window of 900 x 700 on the demo's pages.
  TRptStandardPreview* OpenDemo() {
    RunDemo();
    form = new TRptStandardPreview(report->Printer());
    form->show();
    form->resize(900, 700);
    QCoreApplication::processEvents();
    return form;
  }
  int Pages() const { return report->Printer()->PageCount(); }

  rpttest::LocaleScope locale{false, false};
  testsupport::FakeUi ui;
  testsupport::TempFolder tmp;
  TRptPrinter printer{nullptr};
  std::unique_ptr<TTable> table;
  std::unique_ptr<TBandReport> report;
  QPointer<TRptStandardPreview> form;
};

}  // namespace

TEST_F(StandardPreviewTest, CreationTextsAndDefaultsWithoutAReport) {
  printer.Title = "Monthly rain";
  Open(3);
  EXPECT_EQ(form->windowTitle(), "Report Preview : Monthly rain");
  EXPECT_EQ(form->Tabs->tabText(form->Tabs->indexOf(form->TabThumbs)), "ThumbNails");
  EXPECT_EQ(form->Tabs->tabText(form->Tabs->indexOf(form->TabSearchResult)), "Search Results");
  EXPECT_EQ(form->GroupBox1->title(), "Search Text");
  EXPECT_EQ(form->ExitButton->text(), "&Close");
  const std::pair<QToolButton*, const char*> hints[] = {
      {form->ZoomFit, "Zoom to fit"},        {form->ZoomToWidth, "Zoom to width"}, {form->Zoom100, "100% Size"},
      {form->FirstPage, "First page"},       {form->nextPage, "Next page"},        {form->PreviousPage, "Previous page"},
      {form->LastPage, "Last page"},         {form->GotoPageButton, "Select a Page"},
      {form->FindButton, "Search for Text"}, {form->PrintSetup, "Printer setup"},  {form->Print, "Print"},
      {form->SaveReport, "Save report"},     {form->LoadReport, "Load report"},    {form->ExitButton, "Close Preview"}};
  for (auto [button, hint] : hints) EXPECT_EQ(button->toolTip(), hint) << button->objectName().toStdString();
  // Without a report: thumbnails and search shown, zoom 100.
  EXPECT_TRUE(form->ShowThumbs());
  EXPECT_TRUE(form->ShowSearch());
  EXPECT_TRUE(form->Zoom100->isChecked());
  EXPECT_EQ(form->RptPreview->Zoom(), 100);
  EXPECT_EQ(form->ThumbGrid->rowCount(), 3);
  EXPECT_EQ(form->Panel(1)->text(), "Page 1 of 3");
  EXPECT_TRUE(form->Print->isEnabled());
  EXPECT_TRUE(form->FindButton->isVisibleTo(form));
}

TEST_F(StandardPreviewTest, WhileTheReportRuns) {
  // The window opens as page 1 begins and follows the run.
  RunDemo([this](int page) {
    TRptPrinter* printer = report->Printer();
    if (page == 1) {
      form = new TRptStandardPreview(printer);
      form->show();
      for (QToolButton* b : {form->PrintSetup, form->Print, form->SaveReport, form->LoadReport})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
      return;
    }
    if (page != 3) return;
    Deliver();
    EXPECT_EQ(form->Panel(1)->text(), "Page 1 of 2");  // page 3 is being drawn
    form->GoLast();
    EXPECT_EQ(form->RptPreview->PageNumber(), 2);
    EXPECT_EQ(form->ThumbGrid->rowCount(), 2);
    form->GoToPage(3);
    EXPECT_EQ(form->RptPreview->PageNumber(), 2);
    form->close();  // refused while the report runs
    Flush();
    ASSERT_TRUE(form);
    EXPECT_TRUE(printer->ShowingPreview());
    form->Find();  // nothing to search yet
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  });
  ASSERT_TRUE(form);
  for (QToolButton* b : {form->PrintSetup, form->Print, form->SaveReport, form->LoadReport})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_GE(Pages(), 5);
  EXPECT_EQ(form->ThumbGrid->rowCount(), Pages());
  form->GoLast();
  EXPECT_EQ(form->Panel(1)->text().toStdString(), "Page " + std::to_string(Pages()) + " of " + std::to_string(Pages()));

  // Closed, the report hears of it and lets its printer go.
  form->close();
  Flush();
  EXPECT_FALSE(form);
  EXPECT_EQ(report->Printer(), nullptr);
}

TEST_F(StandardPreviewTest, KeysOfTheWindow) {
  OpenDemo();
  form->Zoom100->click();
  const int last = Pages();
  QScrollBar* bar = form->RptPreview->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);  // page 1 at zoom 100 is higher than the window
  QWidget* focus = form->SearchResultBox;  // keys reach the window whichever control has them
  struct Case {
    int startPage;
    int startScroll;  // -1: the bottom
    int key;
    Qt::KeyboardModifiers modifiers;
    int page;
    int scroll;  // -1: the bottom less one step; -2: don't care
  };
  const int step = bar->singleStep();
  const Case cases[] = {
      {3, 0, Qt::Key_PageUp, Qt::NoModifier, 2, 0},
      {3, 0, Qt::Key_PageUp, Qt::ControlModifier, 1, 0},
      {3, 0, Qt::Key_Home, Qt::NoModifier, 1, 0},
      {3, 0, Qt::Key_PageDown, Qt::NoModifier, 4, 0},
      {3, 0, Qt::Key_PageDown, Qt::ControlModifier, last, 0},
      {3, 0, Qt::Key_End, Qt::NoModifier, last, 0},
      {last, 0, Qt::Key_PageDown, Qt::NoModifier, last, -2},
      {1, 0, Qt::Key_PageUp, Qt::NoModifier, 1, -2},
      {3, 0, Qt::Key_Up, Qt::NoModifier, 2, -1},  // at the top: the page before, at its bottom
      {3, step * 3, Qt::Key_Up, Qt::NoModifier, 3, step * 2},
      {3, step * 3, Qt::Key_Down, Qt::NoModifier, 3, step * 4},
      {3, -1, Qt::Key_Down, Qt::NoModifier, 4, 0},  // at the bottom: the next page, at its top
      {1, step / 2, Qt::Key_Up, Qt::NoModifier, 1, 0},
      {last, -1, Qt::Key_Down, Qt::NoModifier, last, -3},  // the last page stays at its bottom
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " from page " << c.startPage);
    form->GoToPage(c.startPage);
    bar->setValue(c.startScroll == -1 ? bar->maximum() : c.startScroll);
    Key(focus, c.key, c.modifiers);
    EXPECT_EQ(form->RptPreview->PageNumber(), c.page);
    EXPECT_EQ(form->Panel(1)->text().toStdString(), "Page " + std::to_string(c.page) + " of " + std::to_string(last));
    if (c.scroll >= 0) {
      EXPECT_EQ(bar->value(), c.scroll);
    } else if (c.scroll == -1) {
      EXPECT_EQ(bar->value(), bar->maximum() - step);
    } else if (c.scroll == -3) {
      EXPECT_EQ(bar->value(), bar->maximum());
    }
  }
  // The wheel turned towards the user scrolls down, away from the user up.
  form->GoToPage(2);
  QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(form->RptPreview->viewport(), &down);
  EXPECT_EQ(bar->value(), 2 * step);

  Key(focus, Qt::Key_Escape);
  Flush();
  EXPECT_FALSE(form);
}

TEST_F(StandardPreviewTest, GoToPageAndThumbnails) {
  OpenDemo();
  const int last = Pages();
  const std::string title = "Select a page from 1 to " + std::to_string(last);
  for (auto [typed, page] : {std::pair{"3", 3}, {"99", 1}, {"0", 1}, {"x", 1}, {" 4 ", 4}}) {
    WhenModal<QInputDialog>([typed = typed, title](QInputDialog* box) {
      EXPECT_EQ(box->windowTitle().toStdString(), title);
      EXPECT_EQ(box->labelText(), "Enter page number");
      box->setTextValue(typed);
      box->accept();
    });
    form->GotoPageDialog();
    EXPECT_EQ(form->RptPreview->PageNumber(), page) << typed;
  }
  WhenModal<QInputDialog>([](QInputDialog* box) {
    EXPECT_EQ(box->textValue(), "4");  // the page shown
    box->reject();
  });
  form->GotoPageDialog();
  EXPECT_EQ(form->RptPreview->PageNumber(), 4);

  // One row per page; a page change selects its row, choosing a row shows its page.
  ASSERT_EQ(form->ThumbGrid->rowCount(), last);
  EXPECT_EQ(form->ThumbGrid->currentRow(), 3);
  form->ThumbGrid->setCurrentCell(1, 0);
  EXPECT_EQ(form->RptPreview->PageNumber(), 2);
  EXPECT_EQ(form->Panel(1)->text().toStdString(), "Page 2 of " + std::to_string(last));
  const QSize size = form->ThumbnailSize();
  EXPECT_EQ(size.height(), Round(size.width() * 2970.0L / 2100));
  QImage thumb = form->Thumbnail(1);
  ASSERT_EQ(thumb.size(), size);
  // The page is drawn into it: the title's heading darkens its top left (above 25 mm, left of
  // half the width), the margin below the footer stays white.
  int heading = 0, margin = 0;
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const bool dark = qGray(thumb.pixel(x, y)) < 128;
      if (dark && y < size.height() * 25 / 297 && x < size.width() / 2) ++heading;
      if (dark && y > size.height() * 292 / 297) ++margin;
    }
  }
  EXPECT_GT(heading, 20);
  EXPECT_EQ(margin, 0);
  EXPECT_TRUE(form->Thumbnail(last + 1).isNull());
}

TEST_F(StandardPreviewTest, SearchListsThePagesWithTheText) {
  OpenDemo();
  const int last = Pages();
  // Every page carries the page header's "Page n"; only some the region "Kyushu".
  WhenModal<TSearchDlg>([](TSearchDlg* dialog) {
    dialog->Edit1->setText("page");
    dialog->SpeedButton2->click();  // Search
  });
  form->Find();
  ASSERT_EQ(form->SearchResultBox->count(), last);
  EXPECT_EQ(form->SearchResultBox->item(2)->text(), "Page 3");
  EXPECT_EQ(form->Tabs->currentWidget(), form->TabSearchResult);
  EXPECT_EQ(form->SearchTextLabel->text(), "page");

  form->Search("kyushu", false);
  const int kyushu = form->SearchResultBox->count();
  EXPECT_GE(kyushu, 1);
  EXPECT_LT(kyushu, last);
  form->Search("kyushu", true);
  EXPECT_EQ(form->SearchResultBox->item(0)->text(), "No matching text");

  form->Search(J("雨量の記録"), true);
  EXPECT_EQ(form->SearchTextLabel->text(), QString::fromUtf8("雨量の記録"));
  ASSERT_EQ(form->SearchResultBox->count(), 1);  // the title, on page 1
  EXPECT_EQ(form->SearchResultBox->item(0)->text(), "Page 1");
  EXPECT_TRUE(form->SearchResultBox->isEnabled());
  form->GoToPage(3);
  form->SearchResultChosen(0);
  EXPECT_EQ(form->RptPreview->PageNumber(), 1);

  WhenModal<TSearchDlg>([](TSearchDlg* dialog) {
    dialog->Edit1->setText("Nowhere at all");
    dialog->CheckBox1->setChecked(true);
    dialog->SpeedButton2->click();
  });
  form->Find();
  ASSERT_EQ(form->SearchResultBox->count(), 1);
  EXPECT_EQ(form->SearchResultBox->item(0)->text(), "No matching text");
  EXPECT_FALSE(form->SearchResultBox->isEnabled());
  form->GoToPage(3);
  form->SearchResultChosen(0);  // no page attached: page 1
  EXPECT_EQ(form->RptPreview->PageNumber(), 1);

  WhenModal<TSearchDlg>([](TSearchDlg* dialog) {
    dialog->Edit1->setText("page");
    dialog->SpeedButton1->click();  // Cancel
  });
  form->Find();
  EXPECT_EQ(form->SearchTextLabel->text(), "Nowhere at all");
}

TEST_F(StandardPreviewTest, SaveAndLoadPageFiles) {
  OpenDemo();
  const int last = Pages();
  const std::string file = tmp.Path("pages.RPT");
  form->SaveTo(file, 1);
  ASSERT_TRUE(platform::FileExists(file));

  TRptPrinter other(nullptr);
  RunDocument(other, 1);
  QPointer<TRptStandardPreview> second = new TRptStandardPreview(&other);
  second->LoadFrom(file);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(second->LoadedFile(), file);
  EXPECT_EQ(second->Panel(2)->text().toStdString(), platform::Cp932ToUtf8(file));
  EXPECT_EQ(second->Panel(1)->text().toStdString(), "Page 1 of " + std::to_string(last));
  EXPECT_EQ(second->ThumbGrid->rowCount(), last);
  EXPECT_TRUE(second->Print->isEnabled());
  EXPECT_FALSE(second->SaveReport->isEnabled());
  EXPECT_FALSE(second->SaveReport->isVisibleTo(second));
  ASSERT_EQ(other.PageCount(), last);
  for (int n = 1; n <= last; ++n) EXPECT_EQ(other.GetPage(n), report->Printer()->GetPage(n)) << n;
  EXPECT_EQ(other.GuessedPaper(), TRptPaperSize::A4);

  // A missing file and a damaged one are reported; the pages shown stay.
  second->LoadFrom(tmp.Path("missing.RPT"));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "File does not exist");
  const std::string damaged = tmp.Path("damaged.RPT");
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(file, bytes));
  bytes.resize(bytes.size() - 10);
  ASSERT_TRUE(platform::WriteFileBytesAtomic(damaged, bytes));
  second->LoadFrom(damaged);
  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_NE(ui.shown[1].text.find("damaged.RPT"), std::string::npos) << ui.shown[1].text;
  EXPECT_EQ(second->LoadedFile(), file);
  EXPECT_EQ(other.PageCount(), last);
  EXPECT_TRUE(second->RptPreview->Image()->HasPage());
  delete second.data();
}

// Saving through an export filter hands the filter to the printer's export callback; without
// a callback nothing would be written, and the window says so.
TEST_F(StandardPreviewTest, ExportWithoutAnExportHandlerIsReported) {
  Open(2);
  TRptExportFilterLibrary& library = TRptExportFilterLibrary::Instance();
  struct Restore {
    TRptExportFilterLibrary& library;
    std::vector<TRptExportFilterLibrary::Entry> kept;
    ~Restore() {
      library.Clear();
      for (const auto& e : kept) library.Add(e);
    }
  } restore{library, library.Entries()};
  library.Clear();
  std::vector<std::string> made;
  library.Add({"Text", "TXT", [&](const std::string& name) {
                 made.push_back(name);
                 return std::make_unique<rpttest::RecordingFilter>();
               }});
  const std::string file = tmp.Path("pages.TXT");
  form->SaveTo(file, 2);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_NE(ui.shown[0].text.find("pages.TXT"), std::string::npos) << ui.shown[0].text;
  std::vector<TRptExportFilter*> exported;
  printer.OnExport = [&](TRptExportFilter* filter) { exported.push_back(filter); };
  form->SaveTo(file, 2);
  EXPECT_EQ(made, (std::vector<std::string>{file, file}));
  EXPECT_EQ(exported.size(), 1u);
  EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(StandardPreviewTest, ProgressHyperlinksAndOutline) {
  Open(2);
  QLabel* progress = form->Panel(0);
  for (auto [percent, shown] : {std::pair{3, ""}, {5, "5%"}, {7, "5%"}, {10, "10%"}, {100, ""}, {4, ""}, {50, "50%"}}) {
    PostRptMessage(form->RptPreview, CM_RPTPROGRESSUPDATE, percent);
    Deliver();
    EXPECT_EQ(progress->text(), shown) << percent;
  }
  form->RptPreview->Image()->Hyperlinks = {{platform::Rect{0, 0, 50, 50}, "EXT:http://example.org"}};
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(form->RptPreview->Image(), &move);
  EXPECT_EQ(form->Panel(2)->text(), "EXT:http://example.org");

  QTreeWidget tree;
  form->RptPreview->SetOutline(&tree);
  printer.PageList().Outline().Add({"Second", 0, {}, 2, 1});
  tree.setCurrentItem(tree.topLevelItem(0));
  EXPECT_EQ(form->RptPreview->PageNumber(), 2);
  EXPECT_EQ(form->Panel(1)->text(), "Page 2 of 2");
  form->RptPreview->SetOutline(nullptr);
}

TEST_F(StandardPreviewTest, ReportSettingsAndThePreviewInterface) {
  TBandReport report;
  report.ReportTitle = "Rain";
  report.PrevInitialZoom = TRptZoomState::rpZoomToWidth;
  report.PrevShowSearch = false;
  report.SetPreviewWidth(640);
  report.SetPreviewHeight(480);
  report.PreviewInitialState = 0;
  TRptPrinter run(&report);
  RunDocument(run, 2);
  Deliver();
  report.SetPrinter(&run);

  std::unique_ptr<TRptPreviewInterface> maker = PreviewInterfaceClass();
  QPointer<QWidget> shown = maker->Show(&report);
  auto* window = qobject_cast<TRptStandardPreview*>(shown.data());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Report Preview : Rain");
  EXPECT_EQ(run.Title, "Rain");
  EXPECT_EQ(window->size(), QSize(640, 480));
  EXPECT_TRUE(window->ZoomToWidth->isChecked());
  EXPECT_EQ(window->RptPreview->ZoomState(), TRptZoomState::rpZoomToWidth);
  EXPECT_FALSE(window->FindButton->isVisibleTo(window));
  EXPECT_FALSE(window->Tabs->isTabVisible(window->Tabs->indexOf(window->TabSearchResult)));
  EXPECT_TRUE(window->Tabs->isTabVisible(window->Tabs->indexOf(window->TabThumbs)));

  // The report hears of the closing with its printer.
  struct Listener : QObject {
    intptr_t printer = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == RptMessageEvent::EventType() && static_cast<RptMessageEvent*>(e)->message == CM_RPTPREVIEWCLOSE)
        printer = static_cast<RptMessageEvent*>(e)->lParam;
      return false;
    }
  } listener;
  report.installEventFilter(&listener);
  window->close();
  Flush();
  EXPECT_FALSE(shown);
  EXPECT_EQ(listener.printer, reinterpret_cast<intptr_t>(&run));
  EXPECT_EQ(report.Printer(), nullptr);  // the report has let its printer go

  report.SetPrinter(&run);

  // Shown modally, it returns once closed.
  QTimer::singleShot(0, [] {
    auto* w = qobject_cast<TRptStandardPreview*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    w->close();
  });
  EXPECT_FALSE(maker->ShowModal(&report));
  EXPECT_EQ(TRptPreviewInterface().Show(&report), nullptr);
  report.SetPrinter(nullptr);
}

TEST_F(StandardPreviewTest, PrintsALoadedFileOnThePdfPrinter) {
  OpenDemo();
  const int last = Pages();
  const std::string file = tmp.Path("demo.RPT");
  form->SaveTo(file, 1);
  const std::string pdf = tmp.Path("demo.pdf");
  rpttest::PdfPrinterScope pdfPrinter(pdf);
  TRptPrinter loaded(nullptr);
  QPointer<TRptStandardPreview> window = new TRptStandardPreview(&loaded);
  window->LoadFrom(file);
  ASSERT_TRUE(window->Print->isEnabled());
  window->Print->click();
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(rpttest::PdfPages(pdf), last);
  const std::string text = rpttest::PdfText(pdf);
  for (const char* piece : {"Rainfall records", "Page 1", "Kyushu", "DEMO"}) EXPECT_NE(text.find(piece), std::string::npos) << piece;
  EXPECT_NE(text.find("雨量の記録"), std::string::npos);
  delete window.data();
}

TEST_F(StandardPreviewTest, PrinterSetupGoesToThePreviewPrinter) {
  OpenDemo();
  platform::InstallPrintDialogHook([](platform::PrintDialogData& data) {
    EXPECT_EQ(data.minPage, 1);  // the finished run's pages
    data.copies = 3;
    data.range = platform::PrintDialogData::kPageNumbers;
    data.fromPage = 2;
    data.toPage = 3;
    return true;
  });
  form->PrintSetup->click();
  TRptPrinter* printer = report->Printer();
  EXPECT_EQ(printer->FirstPage, 2);
  EXPECT_EQ(printer->LastPage, 3);
  EXPECT_EQ(report->PrinterSettings().FirstPage, 2);
  EXPECT_EQ(report->PrinterSettings().Copies, 3);

  // A loaded file's choice stays out of the report.
  const std::string file = tmp.Path("demo.RPT");
  form->SaveTo(file, 1);
  form->LoadFrom(file);
  platform::InstallPrintDialogHook([](platform::PrintDialogData& data) {
    data.range = platform::PrintDialogData::kPageNumbers;
    data.fromPage = 4;
    data.toPage = 4;
    return true;
  });
  form->PrintSetup->click();
  EXPECT_EQ(printer->FirstPage, 4);
  EXPECT_EQ(report->PrinterSettings().FirstPage, 2);
  platform::InstallPrintDialogHook(nullptr);
}
