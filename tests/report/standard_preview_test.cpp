// The standard preview window on pages recorded here: creation, commands by printer status,
// keys, go to page, thumbnails, search, save and load, progress and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
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
#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "report/ui/standard_preview.h"
#include "report_fixtures.h"
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

  rpttest::LocaleScope locale{false, false};
  testsupport::FakeUi ui;
  testsupport::TempFolder tmp;
  TRptPrinter printer{nullptr};
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

TEST_F(StandardPreviewTest, CommandsFollowThePrinterStatus) {
  printer.BeginDoc();
  printer.NewPage();
  DrawPage(printer, 1);
  printer.NewPage();
  DrawPage(printer, 2);
  Deliver();
  form = new TRptStandardPreview(&printer);
  for (QToolButton* b : {form->PrintSetup, form->Print, form->SaveReport, form->LoadReport})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_EQ(form->Panel(1)->text(), "Page 1 of 1");  // page 2 is being drawn
  form->GoLast();
  EXPECT_EQ(form->RptPreview->PageNumber(), 1);

  // Closing is refused while the report runs.
  form->close();
  Flush();
  ASSERT_TRUE(form);
  EXPECT_TRUE(printer.ShowingPreview());

  printer.EndDoc();
  Deliver();
  for (QToolButton* b : {form->PrintSetup, form->Print, form->SaveReport, form->LoadReport})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_EQ(form->ThumbGrid->rowCount(), 2);
  form->GoLast();
  EXPECT_EQ(form->Panel(1)->text(), "Page 2 of 2");
  form->close();
  Flush();
  EXPECT_FALSE(form);
  EXPECT_FALSE(printer.ShowingPreview());
  EXPECT_EQ(printer.NotifiedWindow(), nullptr);
}

TEST_F(StandardPreviewTest, KeysOfTheWindow) {
  Open(5);
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
      {3, 0, Qt::Key_PageDown, Qt::ControlModifier, 5, 0},
      {3, 0, Qt::Key_End, Qt::NoModifier, 5, 0},
      {5, 0, Qt::Key_PageDown, Qt::NoModifier, 5, -2},
      {1, 0, Qt::Key_PageUp, Qt::NoModifier, 1, -2},
      {3, 0, Qt::Key_Up, Qt::NoModifier, 2, -1},  // at the top: the page before, at its bottom
      {3, step * 3, Qt::Key_Up, Qt::NoModifier, 3, step * 2},
      {3, step * 3, Qt::Key_Down, Qt::NoModifier, 3, step * 4},
      {3, -1, Qt::Key_Down, Qt::NoModifier, 4, 0},  // at the bottom: the next page, at its top
      {1, step / 2, Qt::Key_Up, Qt::NoModifier, 1, 0},
      {5, -1, Qt::Key_Down, Qt::NoModifier, 5, -3},  // the last page stays at its bottom
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " from page " << c.startPage);
    form->GoToPage(c.startPage);
    bar->setValue(c.startScroll == -1 ? bar->maximum() : c.startScroll);
    Key(focus, c.key, c.modifiers);
    EXPECT_EQ(form->RptPreview->PageNumber(), c.page);
    EXPECT_EQ(form->Panel(1)->text().toStdString(), "Page " + std::to_string(c.page) + " of 5");
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
  Open(4);
  for (auto [typed, page] : {std::pair{"3", 3}, {"9", 1}, {"0", 1}, {"x", 1}, {" 4 ", 4}}) {
    WhenModal<QInputDialog>([typed = typed](QInputDialog* box) {
      EXPECT_EQ(box->windowTitle(), "Select a page from 1 to 4");
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
  ASSERT_EQ(form->ThumbGrid->rowCount(), 4);
  EXPECT_EQ(form->ThumbGrid->currentRow(), 3);
  form->ThumbGrid->setCurrentCell(1, 0);
  EXPECT_EQ(form->RptPreview->PageNumber(), 2);
  const QSize size = form->ThumbnailSize();
  EXPECT_EQ(size.height(), Round(size.width() * 2970.0L / 2100));
  QImage thumb = form->Thumbnail(1);
  ASSERT_EQ(thumb.size(), size);
  // The page's filled square (50 to 60 mm across, 60 to 70 mm down) shows in its thumbnail.
  EXPECT_EQ(qGray(thumb.pixel(Round(size.width() * 55.0L / 210), Round(size.height() * 65.0L / 297))), 0);
  EXPECT_TRUE(form->Thumbnail(5).isNull());
}

TEST_F(StandardPreviewTest, SearchListsThePagesWithTheText) {
  printer.BeginDoc();
  for (int n = 1; n <= 4; ++n) {
    printer.NewPage();
    DrawPage(printer, n);
    if (n == 3) printer.Canvas()->TextOut(printer.XPos(200), printer.YPos(800), J("雨水利用の計算結果"));
  }
  printer.EndDoc();
  Deliver();
  form = new TRptStandardPreview(&printer);

  form->Search("page", false);
  ASSERT_EQ(form->SearchResultBox->count(), 4);
  EXPECT_EQ(form->SearchResultBox->item(2)->text(), "Page 3");
  EXPECT_EQ(form->Tabs->currentWidget(), form->TabSearchResult);
  form->Search("page", true);
  EXPECT_EQ(form->SearchResultBox->item(0)->text(), "No matching text");

  form->Search(J("計算結果"), false);
  EXPECT_EQ(form->SearchTextLabel->text(), QString::fromUtf8("計算結果"));
  ASSERT_EQ(form->SearchResultBox->count(), 1);
  EXPECT_TRUE(form->SearchResultBox->isEnabled());
  form->SearchResultChosen(0);
  EXPECT_EQ(form->RptPreview->PageNumber(), 3);

  form->Search("Nowhere", false);
  ASSERT_EQ(form->SearchResultBox->count(), 1);
  EXPECT_EQ(form->SearchResultBox->item(0)->text(), "No matching text");
  EXPECT_FALSE(form->SearchResultBox->isEnabled());
  form->SearchResultChosen(0);  // no page attached: page 1
  EXPECT_EQ(form->RptPreview->PageNumber(), 1);
}

TEST_F(StandardPreviewTest, SaveAndLoadPageFiles) {
  Open(3);
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
  EXPECT_EQ(second->Panel(1)->text(), "Page 1 of 3");
  EXPECT_EQ(second->ThumbGrid->rowCount(), 3);
  EXPECT_TRUE(second->Print->isEnabled());
  EXPECT_FALSE(second->SaveReport->isEnabled());
  EXPECT_FALSE(second->SaveReport->isVisibleTo(second));
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(other.GetPage(n), printer.GetPage(n)) << n;

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
  EXPECT_EQ(other.PageCount(), 3);
  EXPECT_TRUE(second->RptPreview->Image()->HasPage());
  delete second.data();
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
  Open(3);
  const std::string file = tmp.Path("three.RPT");
  form->SaveTo(file, 1);
  platform::InstallQtPrinting();
  auto& qt = platform::QtPrinterService::Instance();
  ASSERT_TRUE(qt.SelectPrinter(platform::kPdfPrinterName));
  const std::string pdf = tmp.Path("three.pdf");
  qt.SetPdfOutputFile(pdf);
  TRptPrinter loaded(nullptr);
  QPointer<TRptStandardPreview> window = new TRptStandardPreview(&loaded);
  window->LoadFrom(file);
  ASSERT_TRUE(window->Print->isEnabled());
  window->Print->click();
  EXPECT_TRUE(ui.shown.empty());
  const std::string native = *platform::ToNativePath(pdf);
  EXPECT_NE(testsupport::CommandOutput("pdfinfo '" + native + "'").find("Pages:           3"), std::string::npos);
  const std::string text = testsupport::CommandOutput("pdftotext '" + native + "' -");
  for (const char* page : {"Page 1", "Page 2", "Page 3"}) EXPECT_NE(text.find(page), std::string::npos) << page;
  delete window.data();
  platform::InstallPrinterService(nullptr);
}
