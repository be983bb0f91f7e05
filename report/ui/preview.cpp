#include "report/ui/preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include "platform/emf_player.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/keys_qt.h"
#include "report/page_store.h"
#include "report/rpt_error.h"
#include "report/rpt_printer.h"

namespace rpt {

namespace {

constexpr int kMinZoom = 2, kMaxZoom = 2000;

// The paper in pixels that stands in when no printer is attached: the Letter size in mm.
QSize StandInPaper(int zoom) {
  const PaperDimensions& letter = PaperOf(TRptPaperSize::Letter);
  return QSize(Round(letter.width * zoom / 100), Round(letter.length * zoom / 100));
}

}  // namespace

// ---- TRptPreviewImage --------------------------------------------------------------------

TRptPreviewImage::TRptPreviewImage(QWidget* parent) : QWidget(parent) {
  setObjectName("PreviewImage");
  resize(100, 50);
  setMouseTracking(true);
}

TRptPreviewImage::~TRptPreviewImage() = default;

QSize TRptPreviewImage::PageSize() const {
  if (!printer_) return StandInPaper(zoom_) + QSize(4, 4);
  return QSize(printer_->XSize(printer_->PaperWidth() * zoom_ / 100) + 4,
               printer_->YSize(printer_->PaperLength() * zoom_ / 100) + 4);
}

void TRptPreviewImage::SetZoom(int zoom) {
  zoom_ = zoom;
  resize(PageSize());
  stale_ = true;
  update();
}

void TRptPreviewImage::SetPrinter(TRptPrinter* printer) {
  printer_ = printer;
  SetZoom(zoom_);
}

void TRptPreviewImage::LoadPage(int n) {
  pageNumber_ = n;
  page_.clear();
  if (printer_) {
    try {
      if (std::optional<std::string> bytes = printer_->GetPage(n)) page_ = std::move(*bytes);
    } catch (const ERptError&) {
      // A damaged page shows as an empty sheet.
    }
  }
  stale_ = true;
  update();
}

void TRptPreviewImage::ClearPage() {
  page_.clear();
  stale_ = true;
  update();
}

void TRptPreviewImage::Render() {
  const int w = width(), h = height();
  picture_ = QImage(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
  picture_.fill(palette().color(QPalette::Window));
  platform::QtDc dc(picture_);
  if (HasPage()) {
    dc.FillRect(platform::Rect{0, 0, w, h}, platform::LogBrush{});
    platform::PlayEnhMetafile(dc, page_, platform::Rect{0, 0, w, h});
  }
  dc.SelectPen(platform::LogPen{});
  dc.Polyline({{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {0, 0}});
  platform::LogBrush black;
  black.color = 0;
  dc.FillRect(platform::Rect{w - 2, 2, w, h}, black);
  dc.FillRect(platform::Rect{2, h - 2, w, h}, black);
  stale_ = false;
}

const QImage& TRptPreviewImage::Picture() {
  if (stale_ || picture_.size() != size()) Render();
  return picture_;
}

void TRptPreviewImage::paintEvent(QPaintEvent* e) {
  const QImage& picture = Picture();
  QPainter painter(this);
  painter.drawImage(e->rect(), picture, e->rect());
}

const TRptHyperlinkArea* TRptPreviewImage::LinkAt(int x, int y) const {
  if (zoom_ <= 0) return nullptr;
  const int px = Round(static_cast<Real>(x) / zoom_ * 100), py = Round(static_cast<Real>(y) / zoom_ * 100);
  for (const TRptHyperlinkArea& a : Hyperlinks) {
    if (px >= a.area.left && px <= a.area.right && py >= a.area.top && py <= a.area.bottom) return &a;
  }
  return nullptr;
}

void TRptPreviewImage::Hover(int x, int y) {
  const TRptHyperlinkArea* link = LinkAt(x, y);
  if (link) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
  if ((link != nullptr) == overLink_) return;
  overLink_ = link != nullptr;
  bool handled = false;
  if (overLink_) {
    lastLink_ = link->link;
    if (OnHyperlink) OnHyperlink(printer_, TRptHyperlinkEventType::heCursorMoveOver, handled, lastLink_);
  } else if (OnHyperlink) {
    OnHyperlink(printer_, TRptHyperlinkEventType::heCursorMoveAway, handled, std::string());
  }
}

void TRptPreviewImage::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  Hover(p.x(), p.y());
  if (OnMouseMove) OnMouseMove(platform::ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TRptPreviewImage::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  pressed_ = true;
  platform::TMouseButton button;
  const bool known = platform::MouseButtonOf(e->button(), button);
  if (known && OnMouseDown) OnMouseDown(button, platform::ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
  if (const TRptHyperlinkArea* link = LinkAt(p.x(), p.y())) {
    const std::string target = link->link;  // the handler may change the list
    bool handled = false;
    if (OnHyperlink) OnHyperlink(printer_, TRptHyperlinkEventType::heGoto, handled, target);
    if (!handled && printer_) printer_->FollowHyperlink(target);
  }
}

void TRptPreviewImage::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  platform::TMouseButton button;
  if (platform::MouseButtonOf(e->button(), button) && OnMouseUp) {
    OnMouseUp(button, platform::ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
  }
  const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(p);
  pressed_ = false;
  if (click && OnClick) OnClick();
}

void TRptPreviewImage::mouseDoubleClickEvent(QMouseEvent* e) {
  mousePressEvent(e);
  if (OnDblClick) OnDblClick();
}

// ---- TRptPreview -------------------------------------------------------------------------

TRptPreview::TRptPreview(QWidget* parent) : QScrollArea(parent), image_(new TRptPreviewImage) {
  setObjectName("RptPreview");
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  setAlignment(Qt::AlignCenter);
  setWidget(image_);
  resize(250, 250);
  image_->SetZoom(100);
  image_->OnClick = [this] {
    if (OnClick) OnClick();
  };
  image_->OnDblClick = [this] {
    if (OnDblClick) OnDblClick();
  };
  image_->OnMouseDown = [this](platform::TMouseButton b, platform::TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(b, s, x, y);
  };
  image_->OnMouseUp = [this](platform::TMouseButton b, platform::TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(b, s, x, y);
  };
  image_->OnMouseMove = [this](platform::TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(s, x, y);
  };
}

TRptPreview::~TRptPreview() {
  if (printer_) {
    if (printer_->NotifiedWindow() == this) printer_->SetNotifiedWindow(nullptr);
    if (outline_) printer_->PageList().Outline().SetTree(nullptr);
  }
}

void TRptPreview::SetPrinter(TRptPrinter* printer) {
  if (printer_) {
    if (printer_->NotifiedWindow() == this) {
      printer_->SetShowingPreview(false);
      printer_->SetNotifiedWindow(nullptr);
    }
    if (outline_) printer_->PageList().Outline().SetTree(nullptr);
  }
  printer_ = printer;
  image_->ClearPage();
  image_->SetPrinter(printer);
  if (printer_) {
    printer_->SetNotifiedWindow(this);
    printer_->SetShowingPreview(true);
  }
  SetPageNumber(1);
  if (printer_ && outline_) printer_->PageList().Outline().SetTree(outline_);
}

void TRptPreview::PagesReplaced() {
  image_->ClearPage();
  image_->SetZoom(image_->Zoom());
  SetPageNumber(1);
}

void TRptPreview::PrinterFreed(TRptPrinter* printer) {
  if (printer != printer_) return;
  printer_ = nullptr;
  image_->ClearPage();
  image_->SetPrinter(nullptr);
}

int TRptPreview::FinishedPages() const { return printer_ ? printer_->AvailablePages() : 0; }

int TRptPreview::PageNumber() const { return image_->PageNumber(); }

void TRptPreview::SetPageNumber(int n) {
  if (n == image_->PageNumber() && image_->HasPage()) return;
  if (n < 1 || !printer_ || n > FinishedPages()) return;
  image_->LoadPage(n);
  ResetScroll();
}

void TRptPreview::ResetScroll() {
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

QSize TRptPreview::PaperPixels() const {
  if (!printer_) return StandInPaper(100);
  return QSize(printer_->XSize(printer_->PaperWidth()), printer_->YSize(printer_->PaperLength()));
}

void TRptPreview::SetZoom(int zoom) {
  if (zoom < kMinZoom || zoom > kMaxZoom) return;
  zoomState_ = TRptZoomState::rpZoomOther;
  image_->SetZoom(zoom);
  ResetScroll();
}

void TRptPreview::ZoomToFit() {
  const QSize paper = PaperPixels();
  if (paper.width() <= 0 || paper.height() <= 0) return;
  const int z = std::min(Round(static_cast<Real>(height()) / paper.height() * 95),
                         Round(static_cast<Real>(width()) / paper.width() * 95));
  SetZoom(z);
  zoomState_ = TRptZoomState::rpZoomToFit;
}

void TRptPreview::ZoomToWidth() {
  const QSize paper = PaperPixels();
  if (paper.width() <= 0) return;
  SetZoom(Round(static_cast<Real>(width()) / paper.width() * 90));
  zoomState_ = TRptZoomState::rpZoomToWidth;
}

void TRptPreview::ApplyZoomState() {
  if (zoomState_ == TRptZoomState::rpZoomToFit) {
    ZoomToFit();
  } else if (zoomState_ == TRptZoomState::rpZoomToWidth) {
    ZoomToWidth();
  }
}

void TRptPreview::resizeEvent(QResizeEvent* e) {
  QScrollArea::resizeEvent(e);
  ApplyZoomState();
}

bool TRptPreview::event(QEvent* e) {
  if (e->type() != RptMessageEvent::EventType()) return QScrollArea::event(e);
  const auto* m = static_cast<RptMessageEvent*>(e);
  const int value = static_cast<int>(m->wParam);
  if (m->message == CM_RPTPAGEAVAILABLE) {
    if (value == image_->PageNumber() && !image_->HasPage()) {
      TCustomBandReport* report = printer_ ? printer_->ParentReport() : nullptr;
      if (report && report->PrevInitialZoom == TRptZoomState::rpZoomToWidth) ZoomToWidth();
      SetPageNumber(value);
    }
    if (OnPageAvailable) OnPageAvailable(this, value);
  } else if (m->message == CM_RPTPROGRESSUPDATE) {
    if (OnProgressUpdate) OnProgressUpdate(this, value);
  }
  return true;
}

void TRptPreview::SetOutline(QTreeWidget* tree) {
  if (outline_) {
    disconnect(outlineConnection_);
    if (printer_) printer_->PageList().Outline().SetTree(nullptr);
  }
  outline_ = tree;
  if (!tree) return;
  outlineConnection_ = connect(tree, &QTreeWidget::currentItemChanged, this,
                               [this](QTreeWidgetItem* item, QTreeWidgetItem*) { OutlineItemChosen(item); });
  // The printer's outline must not keep a tree that is gone.
  connect(tree, &QObject::destroyed, this, [this] {
    if (printer_) printer_->PageList().Outline().SetTree(nullptr);
  });
  if (printer_) printer_->PageList().Outline().SetTree(tree);
}

void TRptPreview::OutlineItemChosen(QTreeWidgetItem* item) {
  if (!item || !outline_ || !printer_) return;
  // The tree holds the entries in their order, depth first.
  size_t index = 0;
  for (QTreeWidgetItemIterator it(outline_); *it; ++it, ++index) {
    if (*it == item) break;
  }
  const std::vector<TRptOutlineEntry>& entries = printer_->PageList().Outline().Entries();
  if (index < entries.size() && OnOutlineChange) OnOutlineChange(this, entries[index]);
}

// ---- Preview interfaces ------------------------------------------------------------------

QPointer<QWidget> TRptPreviewInterface::Show(TCustomBandReport*) { return nullptr; }
QPointer<QWidget> TRptPreviewInterface::ShowModal(TCustomBandReport*) { return nullptr; }

}  // namespace rpt
