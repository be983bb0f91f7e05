#include "report/ui/standard_preview.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/keys_qt.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "report/export_filter.h"
#include "report/metafile_search.h"
#include "report/rpt_error.h"
#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "report/ui/search_dialog.h"

namespace rpt {

using platform::QLatin1;

namespace {

const char* const kCaption = "Report Preview : ";
constexpr int kTabsWidth = 193;
// Margins of a thumbnail in its cell: above and below, and on each side.
constexpr int kThumbTop = 10, kThumbSide = 20;

// The file-type list of a save dialog ("text|pattern|text|pattern") in Qt's form
// ("text;;text"): the patterns are named inside the texts.
QString QtFilterOf(const std::string& filter, QStringList* texts = nullptr) {
  QStringList parts = platform::ToQString(filter).split('|');
  QStringList names;
  for (int i = 0; i + 1 < parts.size(); i += 2) names << parts[i];
  if (texts) *texts = names;
  return names.join(";;");
}

}  // namespace

// Draws the thumbnails of the grid's rows.
class ThumbDelegate final : public QStyledItemDelegate {
 public:
  ThumbDelegate(TRptStandardPreview* form) : QStyledItemDelegate(form), form_(form) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    form_->DrawThumbCell(painter, option.rect, index.row(), option.state & QStyle::State_Selected);
  }

 private:
  TRptStandardPreview* form_;
};

TRptStandardPreview::TRptStandardPreview(TRptPrinter* printer, QWidget* parent)
    : QWidget(parent, Qt::Window), printer_(printer) {
  setObjectName("RptStandardPreview");
  setAttribute(Qt::WA_DeleteOnClose);
  BuildForm();
  TakeReportSettings();

  RptPreview->SetPrinter(printer_);
  if (printer_ && !printer_->Title.empty()) setWindowTitle(QLatin1(kCaption) + platform::ToQString(printer_->Title));

  progressBar_ = new QProgressBar(StatusBar);
  progressBar_->setObjectName("ProgressBar");
  progressBar_->setGeometry(2, 2, 100, 10);
  progressBar_->hide();  // the first panel shows the percentage

  SetThumbRows(1);
  const bool tabs = showThumbs_ || showSearch_;
  Tabs->setVisible(tabs);
  if (tabs && PageCount() > 0) SetThumbRows(PageCount());
  Tabs->setTabVisible(Tabs->indexOf(TabThumbs), showThumbs_);
  FindButton->setVisible(showSearch_);
  Tabs->setTabVisible(Tabs->indexOf(TabSearchResult), showSearch_);

  switch (initialZoom_) {
    case TRptZoomState::rpZoomToFit:
      ZoomFit->setChecked(true);
      RptPreview->ZoomToFit();
      break;
    case TRptZoomState::rpZoomToWidth:
      ZoomToWidth->setChecked(true);
      RptPreview->ZoomToWidth();
      break;
    case TRptZoomState::rpZoomOther:
      Zoom100->setChecked(true);
      RptPreview->SetZoom(initialZoomValue_);
      break;
  }
  EnableCommands(printer_ && printer_->GetStatus() == TRptPrinter::kFinished);
  UpdateStatus();
  qApp->installEventFilter(this);
}

TRptStandardPreview::~TRptStandardPreview() {
  qApp->removeEventFilter(this);
  // The preview control lets go of the printer before the window goes.
  RptPreview->SetOutline(nullptr);
}

void TRptStandardPreview::BuildForm() {
  setWindowTitle(QLatin1(kCaption));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ToolBar1 = new QWidget(this);
  ToolBar1->setObjectName("ToolBar1");
  auto* bar = new QHBoxLayout(ToolBar1);
  bar->setContentsMargins(2, 2, 2, 2);
  bar->setSpacing(1);
  auto button = [this, bar](const char* name, const char* text, const char* hint) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(name);
    b->setText(QLatin1(text));
    b->setToolTip(QLatin1(hint));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
    return b;
  };
  ZoomFit = button("ZoomFit", "Fit", "Zoom to fit");
  ZoomToWidth = button("ZoomToWidth", "Width", "Zoom to width");
  Zoom100 = button("Zoom100", "100%", "100% Size");
  auto* zoomGroup = new QButtonGroup(this);
  for (QToolButton* b : {ZoomFit, ZoomToWidth, Zoom100}) {
    b->setCheckable(true);
    zoomGroup->addButton(b);
  }
  bar->addSpacing(8);
  FirstPage = button("FirstPage", "|<", "First page");
  PreviousPage = button("PreviousPage", "<", "Previous page");
  nextPage = button("nextPage", ">", "Next page");
  LastPage = button("LastPage", ">|", "Last page");
  bar->addSpacing(8);
  GotoPageButton = button("GotoPageButton", "Go to", "Select a Page");
  FindButton = button("FindButton", "Find", "Search for Text");
  bar->addSpacing(8);
  PrintSetup = button("PrintSetup", "Setup", "Printer setup");
  Print = button("Print", "Print", "Print");
  bar->addSpacing(8);
  SaveReport = button("SaveReport", "Save", "Save report");
  LoadReport = button("LoadReport", "Load", "Load report");
  bar->addStretch(1);
  ExitButton = button("ExitButton", "&Close", "Close Preview");
  layout->addWidget(ToolBar1);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setChildrenCollapsible(false);
  Tabs = new QTabWidget(Splitter1);
  Tabs->setObjectName("Tabs");
  TabThumbs = new QWidget;
  TabThumbs->setObjectName("TabThumbs");
  ThumbGrid = new QTableWidget(TabThumbs);
  ThumbGrid->setObjectName("ThumbGrid");
  ThumbGrid->setColumnCount(1);
  ThumbGrid->horizontalHeader()->hide();
  ThumbGrid->verticalHeader()->hide();
  ThumbGrid->setShowGrid(false);
  ThumbGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ThumbGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  ThumbGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  ThumbGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ThumbGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ThumbGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  ThumbGrid->setItemDelegate(new ThumbDelegate(this));
  ThumbGrid->installEventFilter(this);
  (new QVBoxLayout(TabThumbs))->addWidget(ThumbGrid);
  TabThumbs->layout()->setContentsMargins(0, 0, 0, 0);
  Tabs->addTab(TabThumbs, QLatin1("ThumbNails"));

  TabSearchResult = new QWidget;
  TabSearchResult->setObjectName("TabSearchResult");
  GroupBox1 = new QGroupBox(QLatin1("Search Text"), TabSearchResult);
  GroupBox1->setObjectName("GroupBox1");
  SearchTextLabel = new QLabel(GroupBox1);
  SearchTextLabel->setObjectName("SearchTextLabel");
  (new QVBoxLayout(GroupBox1))->addWidget(SearchTextLabel);
  SearchResultBox = new QListWidget(TabSearchResult);
  SearchResultBox->setObjectName("SearchResultBox");
  auto* searchLayout = new QVBoxLayout(TabSearchResult);
  searchLayout->setContentsMargins(2, 2, 2, 2);
  searchLayout->addWidget(GroupBox1);
  searchLayout->addWidget(SearchResultBox, 1);
  Tabs->addTab(TabSearchResult, QLatin1("Search Results"));

  RptPreview = new TRptPreview(Splitter1);
  Splitter1->addWidget(Tabs);
  Splitter1->addWidget(RptPreview);
  Splitter1->setStretchFactor(1, 1);
  // 193 pixels, or what the tab captions need in the font in use.
  Splitter1->setSizes({std::max(kTabsWidth, Tabs->tabBar()->sizeHint().width() + 4), 800});
  layout->addWidget(Splitter1, 1);

  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(false);
  const int widths[3] = {40, 120, 50};
  const char* names[3] = {"ProgressPanel", "PagePanel", "TextPanel"};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(StatusBar);
    panels_[i]->setObjectName(names[i]);
    panels_[i]->setMinimumWidth(widths[i]);
    if (i < 2) panels_[i]->setFixedWidth(widths[i]);
    StatusBar->addWidget(panels_[i], i == 2 ? 1 : 0);
  }
  panels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  layout->addWidget(StatusBar);

  RptPreview->viewport()->installEventFilter(this);
  RptPreview->Image()->installEventFilter(this);

  // The zoom buttons let pending messages run first.
  const std::pair<QToolButton*, std::function<void()>> zooms[] = {
      {ZoomFit, [this] { RptPreview->ZoomToFit(); }},
      {ZoomToWidth, [this] { RptPreview->ZoomToWidth(); }},
      {Zoom100, [this] { RptPreview->SetZoom(100); }}};
  for (const auto& entry : zooms) {
    connect(entry.first, &QToolButton::clicked, this, [zoom = entry.second] {
      platform::CurrentUi().ProcessEvents(platform::PumpScope::ExceptUserInput);
      zoom();
    });
  }
  connect(FirstPage, &QToolButton::clicked, this, &TRptStandardPreview::GoFirst);
  connect(PreviousPage, &QToolButton::clicked, this, &TRptStandardPreview::GoPrevious);
  connect(nextPage, &QToolButton::clicked, this, &TRptStandardPreview::GoNext);
  connect(LastPage, &QToolButton::clicked, this, &TRptStandardPreview::GoLast);
  connect(GotoPageButton, &QToolButton::clicked, this, &TRptStandardPreview::GotoPageDialog);
  connect(FindButton, &QToolButton::clicked, this, &TRptStandardPreview::Find);
  connect(PrintSetup, &QToolButton::clicked, this, &TRptStandardPreview::PrinterSetupDialog);
  connect(Print, &QToolButton::clicked, this, &TRptStandardPreview::PrintReport);
  connect(SaveReport, &QToolButton::clicked, this, &TRptStandardPreview::SaveDialog);
  connect(LoadReport, &QToolButton::clicked, this, &TRptStandardPreview::LoadDialog);
  connect(ExitButton, &QToolButton::clicked, this, &QWidget::close);
  connect(ThumbGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (!selectingRow_ && current.isValid()) {
              selectingPage_ = true;
              GoToPage(current.row() + 1);
              selectingPage_ = false;
            }
          });
  connect(SearchResultBox, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { SearchResultChosen(SearchResultBox->row(item)); });

  RptPreview->OnPageAvailable = [this](TRptPreview*, int count) { PageAvailable(count); };
  RptPreview->OnProgressUpdate = [this](TRptPreview*, int percent) { ProgressUpdate(percent); };
  RptPreview->Image()->OnHyperlink = [this](TRptPrinter*, TRptHyperlinkEventType, bool&, const std::string& link) {
    panels_[2]->setText(platform::ToQString(link));
  };
  RptPreview->OnOutlineChange = [this](TRptPreview*, const TRptOutlineEntry& entry) { GoToPage(entry.page); };
}

void TRptStandardPreview::TakeReportSettings() {
  TCustomBandReport* report = printer_ ? printer_->ParentReport() : nullptr;
  if (!report) {
    initialState_ = Qt::WindowMaximized;
    showThumbs_ = showSearch_ = true;
    initialZoom_ = TRptZoomState::rpZoomOther;
    initialZoomValue_ = 100;
    return;
  }
  if (report->PrevFormStyle == 1) setWindowFlag(Qt::WindowStaysOnTopHint);
  resize(report->PreviewWidth(), report->PreviewHeight());
  initialState_ = report->PreviewInitialState == 2   ? Qt::WindowMaximized
                  : report->PreviewInitialState == 1 ? Qt::WindowMinimized
                                                     : Qt::WindowNoState;
  showThumbs_ = report->PrevShowThumbs;
  showSearch_ = report->PrevShowSearch;
  initialZoom_ = report->PrevInitialZoom;
  initialZoomValue_ = report->Zoom();
  printer_->Title = report->ReportTitle;
}

int TRptStandardPreview::PageCount() const { return RptPreview->FinishedPages(); }

void TRptStandardPreview::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (initialState_ != Qt::WindowNoState) {
    setWindowState(initialState_);
    initialState_ = Qt::WindowNoState;
  }
  UpdateStatus();
}

// ---- Navigation --------------------------------------------------------------------------

void TRptStandardPreview::UpdateStatus() {
  panels_[1]->setText(QString("Page %1 of %2").arg(RptPreview->PageNumber()).arg(PageCount()));
}

void TRptStandardPreview::GoToPage(int n) {
  RptPreview->SetPageNumber(n);
  UpdateStatus();
  const int shown = RptPreview->PageNumber();
  if (shown >= 1 && shown <= PageCount() && shown <= ThumbGrid->rowCount() && !selectingPage_) {
    selectingRow_ = true;
    ThumbGrid->setCurrentCell(shown - 1, 0);
    selectingRow_ = false;
  }
}

void TRptStandardPreview::GoFirst() { GoToPage(1); }
void TRptStandardPreview::GoPrevious() { GoToPage(RptPreview->PageNumber() - 1); }
void TRptStandardPreview::GoNext() { GoToPage(RptPreview->PageNumber() + 1); }
void TRptStandardPreview::GoLast() { GoToPage(PageCount()); }

void TRptStandardPreview::GotoPageDialog() {
  QInputDialog box(this);
  box.setObjectName("GotoPageBox");
  box.setWindowTitle(QString("Select a page from 1 to %1").arg(PageCount()));
  box.setLabelText(QLatin1("Enter page number"));
  box.setTextValue(QString::number(RptPreview->PageNumber()));
  if (box.exec() != QDialog::Accepted) return;
  bool ok = false;
  int n = box.textValue().trimmed().toInt(&ok);
  if (!ok || n < 1 || n > PageCount()) n = 1;
  GoToPage(n);
}

void TRptStandardPreview::ScrollUp() {
  QScrollBar* bar = RptPreview->verticalScrollBar();
  const int step = bar->singleStep();
  if (bar->value() - step >= bar->minimum()) {
    bar->setValue(bar->value() - step);
    return;
  }
  const int page = RptPreview->PageNumber();
  GoToPage(page - 1);
  if (RptPreview->PageNumber() != page) {
    bar->setValue(bar->maximum() - step);  // the page before, near its bottom
  } else {
    bar->setValue(bar->minimum());
  }
}

void TRptStandardPreview::ScrollDown() {
  QScrollBar* bar = RptPreview->verticalScrollBar();
  const int step = bar->singleStep();
  if (bar->value() + step < bar->maximum()) {
    bar->setValue(bar->value() + step);
    return;
  }
  const int page = RptPreview->PageNumber();
  GoToPage(page + 1);
  if (RptPreview->PageNumber() == page) bar->setValue(bar->maximum());
}

bool TRptStandardPreview::HandleKey(int key, platform::TShiftState shift) {
  const bool ctrl = shift & platform::ssCtrl;
  switch (key) {
    case platform::VK_ESCAPE: close(); return true;
    case platform::VK_PRIOR: ctrl ? GoFirst() : GoPrevious(); return true;
    case platform::VK_HOME: GoFirst(); return true;
    case platform::VK_NEXT: ctrl ? GoLast() : GoNext(); return true;
    case platform::VK_END: GoLast(); return true;
    case platform::VK_UP: ScrollUp(); return true;
    case platform::VK_DOWN: ScrollDown(); return true;
    default: return false;
  }
}

bool TRptStandardPreview::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this) {
      auto* k = static_cast<QKeyEvent*>(e);
      return HandleKey(platform::VirtualKeyOf(k), platform::ShiftStateOf(k->modifiers(), Qt::NoButton));
    }
    return false;
  }
  if (e->type() == QEvent::Wheel && (watched == RptPreview->viewport() || watched == RptPreview->Image())) {
    const int delta = static_cast<QWheelEvent*>(e)->angleDelta().y();
    const int turns = std::max(1, std::abs(delta) / platform::WHEEL_DELTA);
    for (int i = 0; i < turns && delta != 0; ++i) delta > 0 ? ScrollUp() : ScrollDown();
    return true;
  }
  if (watched == ThumbGrid && e->type() == QEvent::Resize) LayoutThumbs();
  return QWidget::eventFilter(watched, e);
}

// ---- Thumbnails --------------------------------------------------------------------------

void TRptStandardPreview::SetThumbRows(int rows) {
  ThumbGrid->setRowCount(std::max(1, rows));
  LayoutThumbs();
}

void TRptStandardPreview::LayoutThumbs() {
  textHeight_ = QFontMetrics(ThumbGrid->font()).boundingRect(QChar('P')).height();
  const int column = std::max(1, ThumbGrid->viewport()->width() - 4);
  ThumbGrid->setColumnWidth(0, column);
  Real width = 2100, length = 2970;
  if (printer_ && printer_->PaperWidth() > 0 && printer_->PaperLength() > 0) {
    width = printer_->PaperWidth();
    length = printer_->PaperLength();
  }
  const int w = std::max(8, column - 2 * kThumbSide);
  const int h = std::max(8, Round(w * length / width));
  if (w != thumbWidth_ || h != thumbHeight_) thumbs_.clear();
  thumbWidth_ = w;
  thumbHeight_ = h;
  thumbLeft_ = (column - w) / 2;
  ThumbGrid->verticalHeader()->setDefaultSectionSize(h + 2 * kThumbTop);
  ThumbGrid->viewport()->update();
}

void TRptStandardPreview::ClearThumbnails() {
  thumbs_.clear();
  ThumbGrid->viewport()->update();
}

QImage TRptStandardPreview::Thumbnail(int page) {
  auto found = thumbs_.find(page);
  if (found != thumbs_.end()) return found->second;
  QImage image;
  std::optional<std::string> bytes;
  try {
    if (printer_) bytes = printer_->GetPage(page);
  } catch (const ERptError&) {
  }
  if (!bytes || thumbWidth_ <= 0) return image;
  image = QImage(thumbWidth_, thumbHeight_, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    platform::QtDc dc(image);
    platform::PlayEnhMetafile(dc, *bytes, platform::Rect{0, 0, thumbWidth_, thumbHeight_});
  }
  thumbs_[page] = image;
  return image;
}

void TRptStandardPreview::DrawThumbCell(QPainter* painter, const QRect& cell, int row, bool selected) {
  painter->fillRect(cell, selected ? palette().highlight() : palette().base());
  if (row < PageCount()) {
    QImage thumb = Thumbnail(row + 1);
    if (!thumb.isNull()) {
      const QRect target(cell.left() + thumbLeft_, cell.top() + kThumbTop, thumbWidth_, thumbHeight_);
      painter->drawImage(target, thumb);
      painter->setPen(Qt::gray);
      painter->drawRect(target.adjusted(0, 0, -1, -1));
    }
  }
  painter->setPen(selected ? palette().highlightedText().color() : palette().text().color());
  painter->drawText(QPoint(cell.left() + 2, cell.top() + textHeight_ + 1), QString::number(row + 1));
}

// ---- Run messages ------------------------------------------------------------------------

void TRptStandardPreview::PageAvailable(int) {
  UpdateStatus();
  if (showThumbs_ || showSearch_) SetThumbRows(PageCount());
  if (printer_ && printer_->GetStatus() == TRptPrinter::kFinished) {
    EnableCommands(true);
    // A short pause lets the last page's repaint through before the user acts on the window.
    platform::Ui& ui = platform::CurrentUi();
    const uint64_t until = ui.TickCountMs() + 100;
    while (ui.TickCountMs() < until) ui.ProcessEvents(platform::PumpScope::ExceptUserInput);
  }
}

void TRptStandardPreview::ProgressUpdate(int percent) {
  if (percent == 0 || percent == 100) {
    panels_[0]->clear();
    lastProgress_ = 0;
  } else if (percent >= lastProgress_ + 5) {
    panels_[0]->setText(QString("%1%").arg(percent));
    lastProgress_ = percent;
  }
}

void TRptStandardPreview::EnableCommands(bool finished) {
  for (QToolButton* b : {PrintSetup, Print, SaveReport, LoadReport}) b->setEnabled(finished);
  if (loaded_) SaveReport->setEnabled(false);
}

// ---- Find --------------------------------------------------------------------------------

void TRptStandardPreview::Search(const std::string& text, bool matchCase) {
  SearchResultBox->setEnabled(true);
  SearchTextLabel->setText(platform::ToQString(text));
  SearchResultBox->clear();
  const int count = printer_ ? printer_->PageCount() : 0;
  for (int p = 1; p <= count; ++p) {
    std::optional<std::string> page;
    try {
      page = printer_->GetPage(p);
    } catch (const ERptError&) {
      continue;  // a damaged page holds no text
    }
    if (page && MetafileContainsText(text, *page, matchCase)) {
      auto* item = new QListWidgetItem(QString("Page %1").arg(p), SearchResultBox);
      item->setData(Qt::UserRole, p);
    }
  }
  if (SearchResultBox->count() == 0) {
    SearchResultBox->addItem(QLatin1("No matching text"));
    SearchResultBox->setEnabled(false);
  }
  Tabs->setCurrentWidget(TabSearchResult);
}

void TRptStandardPreview::Find() {
  if (!printer_ || printer_->GetStatus() == TRptPrinter::kBusy) return;
  TSearchDlg dialog(this);
  dialog.exec();
  if (!dialog.Cancelled()) Search(dialog.SearchText(), dialog.MatchCase());
}

void TRptStandardPreview::SearchResultChosen(int row) {
  QListWidgetItem* item = SearchResultBox->item(row);
  if (!item) return;
  bool ok = false;
  int page = item->data(Qt::UserRole).toInt(&ok);
  if (!ok || page < 1 || page > PageCount()) page = 1;
  GoToPage(page);
}

// ---- Print, save, load -------------------------------------------------------------------

void TRptStandardPreview::ShowError(const std::string& text) {
  platform::CurrentUi().ShowMessageBox(text, platform::FromQString(windowTitle()).value_or(kCaption),
                                       platform::DialogKind::Error, platform::DialogButtons::Ok);
}

void TRptStandardPreview::PrintReport() {
  if (!printer_) return;
  auto* report = qobject_cast<TBandReport*>(printer_->ParentReport());
  if (!loaded_ && report) {
    const TRptPrintOutcome outcome = report->Print();
    if (outcome.kind == TRptPrintOutcome::Failed) ShowError(outcome.message);
    return;
  }
  try {
    printer_->PrintStoredPages();
  } catch (const ERptError& e) {
    ShowError(e.what());
  }
}

void TRptStandardPreview::PrinterSetupDialog() {
  if (!printer_) return;
  TCustomBandReport* report = printer_->ParentReport();
  // A loaded file without a report asks through a report of its own that borrows the printer
  // (for the page range of the dialog).
  std::unique_ptr<TBandReport> standIn;
  if (!report) {
    standIn = std::make_unique<TBandReport>();
    standIn->SetPrinter(printer_);
    report = standIn.get();
  }
  // A loaded file's choice does not stay with the report.
  TRptPrinterSettings kept = report->PrinterSettings();
  const TRptPaperSize keptPaper = report->Page().PaperSize();
  const TRptOrientation keptOrientation = report->Page().Orientation();
  const bool chosen = report->PrinterSetup();
  if (chosen) {
    const TPrinterSettings& d = report->DeviceSettings();
    const TBandReportPrinterSettings& r = report->PrinterSettings();
    TPrinterSettings& mine = printer_->Settings();
    mine.SetPaperSize(d.PaperSize());
    mine.SetOutputBin(d.OutputBin());
    mine.CustomBinCode = r.CustomBinCode;
    mine.UseCustomBinCode = r.UseCustomBinCode;
    mine.SetCopies(d.Copies());
    mine.SetDuplex(d.Duplex());
    mine.SetExtendedDuplex(r.ExtendedDuplex);
    mine.Collate = r.Collate;
    mine.ColorOption = r.ColorOption;
    mine.PrintQuality = r.PrintQuality;
    mine.SetOrientation(d.Orientation());
    printer_->FirstPage = r.FirstPage;
    printer_->LastPage = r.LastPage;
  }
  if (loaded_ && !standIn) {
    static_cast<TRptPrinterSettings&>(report->PrinterSettings()) = kept;
    report->Page().SetPaperSize(keptPaper);
    report->Page().SetOrientation(keptOrientation);
  }
  if (standIn) standIn->SetPrinter(nullptr);
}

void TRptStandardPreview::SaveTo(const std::string& fileName, int filterIndex) {
  if (!printer_) return;
  try {
    if (filterIndex <= 1) {
      printer_->Save(fileName);
      return;
    }
    const auto& entries = TRptExportFilterLibrary::Instance().Entries();
    const size_t k = static_cast<size_t>(filterIndex - 2);
    std::unique_ptr<TRptExportFilter> filter;
    if (k < entries.size() && entries[k].create) filter = entries[k].create(fileName);
    printer_->Export(filter.get(), fileName);
  } catch (const ERptError& e) {
    ShowError(e.what());
  }
}

void TRptStandardPreview::SaveDialog() {
  QStringList texts;
  const QString filter = QtFilterOf(TRptExportFilterLibrary::Instance().SaveDialogFilter(), &texts);
  QFileDialog dialog(this, QLatin1("Save report"));
  dialog.setObjectName("SaveDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(QLatin1(kSavedReportExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  std::optional<std::string> name = platform::ToInsidePath(dialog.selectedFiles().front().toStdString());
  if (!name) {
    ShowError("The file name cannot be used: " + dialog.selectedFiles().front().toStdString());
    return;
  }
  SaveTo(*name, static_cast<int>(texts.indexOf(dialog.selectedNameFilter())) + 1);
}

void TRptStandardPreview::LoadFrom(const std::string& fileName) {
  if (!printer_) return;
  if (!platform::FileExists(fileName)) {
    ShowError("File does not exist");
    return;
  }
  try {
    printer_->Load(fileName);
  } catch (const ERptError& e) {
    ShowError(e.what());
    return;
  }
  loadedFile_ = fileName;
  loaded_ = true;
  panels_[2]->setText(platform::ToQString(fileName));
  ClearThumbnails();
  RptPreview->PagesReplaced();
  if (RptPreview->ZoomState() == TRptZoomState::rpZoomToFit) RptPreview->ZoomToFit();
  if (RptPreview->ZoomState() == TRptZoomState::rpZoomToWidth) RptPreview->ZoomToWidth();
  SetThumbRows(PageCount());
  GoToPage(1);
  Print->setEnabled(true);
  SaveReport->setEnabled(false);
  SaveReport->hide();
}

void TRptStandardPreview::LoadDialog() {
  QFileDialog dialog(this, QLatin1("Load report"));
  dialog.setObjectName("LoadDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QLatin1(kSavedReportsText) + QLatin1("(*.RPT *.rpt)"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  std::optional<std::string> name = platform::ToInsidePath(dialog.selectedFiles().front().toStdString());
  if (!name) {
    ShowError("The file name cannot be used: " + dialog.selectedFiles().front().toStdString());
    return;
  }
  LoadFrom(*name);
}

// ---- Closing -----------------------------------------------------------------------------

void TRptStandardPreview::closeEvent(QCloseEvent* e) {
  if (printer_ && printer_->GetStatus() == TRptPrinter::kBusy) {
    e->ignore();
    return;
  }
  TRptPrinter* printer = printer_;
  if (printer) {
    printer->SetShowingPreview(false);
    RptPreview->SetPrinter(nullptr);
    printer_ = nullptr;
    // The report may free the printer on this message.
    SendRptMessage(printer->ParentReport(), CM_RPTPREVIEWCLOSE, 0, reinterpret_cast<intptr_t>(printer));
  }
  platform::CurrentUi().ProcessEvents(platform::PumpScope::ExceptUserInput);
  e->accept();
}

// ---- The standard preview interface ------------------------------------------------------

QPointer<QWidget> TRptStandardPreviewInterface::Show(TCustomBandReport* report) {
  if (!report || !report->Printer()) return nullptr;
  auto* form = new TRptStandardPreview(report->Printer());
  form->show();
  return form;
}

QPointer<QWidget> TRptStandardPreviewInterface::ShowModal(TCustomBandReport* report) {
  if (!report || !report->Printer()) return nullptr;
  QPointer<QWidget> form = new TRptStandardPreview(report->Printer());
  form->setWindowModality(Qt::ApplicationModal);
  form->show();
  QEventLoop loop;
  QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
  loop.exec();
  return form;
}

TRptPreviewInterfaceClass PreviewInterfaceClass = [] { return std::make_unique<TRptStandardPreviewInterface>(); };

}  // namespace rpt
