#include "report/printable.h"

#include <QEvent>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/round.h"
#include "report/band_report.h"
#include "report/controller.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_printer.h"

namespace rpt {

namespace {

// The thickness in pixels of a frame of `points` at `factor` pixels per 0.1 mm.
int FrameThickness(Real factor, int points) {
  if (points == -1) return 1;
  int t = Round(factor / 72 * 254 * points);
  if (t <= 0 && points > 0) t = 1;
  return std::max(0, t);
}

platform::LogBrush SolidBrush(uint32_t color) {
  return platform::LogBrush{platform::BS_SOLID, platform::ColorToRgb(color), 0, nullptr};
}

// Hands a temporary shape standing for part of a drawing to `filter` at the device rectangle
// `r` (its size kept in 0.1 mm at the printer's factors).
void ExportShape(TRptExportFilter& filter, TRptPrinter* printer, const platform::Rect& r, TRptShapeType type,
                 uint32_t brushColor, bool brush, uint32_t penColor, int penWidth) {
  TRptShape shape(nullptr);
  shape.SetShape(type);
  shape.Brush().SetColor(brushColor);
  shape.Brush().SetStyle(brush ? platform::BrushStyle::Solid : platform::BrushStyle::Clear);
  shape.Pen().SetColor(penColor);
  shape.Pen().SetWidth(penWidth);
  shape.Pen().SetStyle(penWidth > 0 ? platform::PenStyle::Solid : platform::PenStyle::Clear);
  const Real fx = printer ? printer->XFactor() : kScreenPerTenth, fy = printer ? printer->YFactor() : kScreenPerTenth;
  shape.Size().SetNative(TRptPrintableSize::kWidth, r.Width() / fx);
  shape.Size().SetNative(TRptPrintableSize::kHeight, r.Height() / fy);
  filter.Graphic(&shape, r.top, r.left);
}

std::vector<std::pair<const QMetaObject*, TRptPrintableEditorClass>>& EditorRegistry() {
  static std::vector<std::pair<const QMetaObject*, TRptPrintableEditorClass>> registry;
  return registry;
}

}  // namespace

// ---- TRptFrame ---------------------------------------------------------------------------

void TRptFrame::Changed() { owner_.update(); }

void TRptFrame::SetColor(uint32_t c) {
  color_ = c;
  Changed();
}
void TRptFrame::SetDrawTop(bool v) {
  top_ = v;
  Changed();
}
void TRptFrame::SetDrawBottom(bool v) {
  bottom_ = v;
  Changed();
}
void TRptFrame::SetDrawLeft(bool v) {
  left_ = v;
  Changed();
}
void TRptFrame::SetDrawRight(bool v) {
  right_ = v;
  Changed();
}
void TRptFrame::SetStyle(platform::PenStyle s) {
  style_ = s;
  Changed();
}
void TRptFrame::SetWidth(int points) {
  width_ = points;
  Changed();
}

int TRptFrame::NativeWidth() const { return Round(static_cast<Real>(width_) / 72 * 254); }

void TRptFrame::PaintFrame(platform::Canvas& canvas, const platform::Rect& r, Real vFactor, Real hFactor) {
  const int th = FrameThickness(vFactor, width_), tw = FrameThickness(hFactor, width_);
  platform::DeviceContext& dc = canvas.Dc();
  const platform::LogBrush brush = SolidBrush(color_);
  if (top_) dc.FillRect(platform::Rect{r.left, r.top, r.right, r.top + th}, brush);
  if (bottom_) dc.FillRect(platform::Rect{r.left, r.bottom - th, r.right, r.bottom}, brush);
  if (left_) dc.FillRect(platform::Rect{r.left, r.top, r.left + tw, r.bottom}, brush);
  if (right_) dc.FillRect(platform::Rect{r.right - tw, r.top, r.right, r.bottom}, brush);

  TCustomBandReport* report = nullptr;
  if (auto* p = qobject_cast<TRptPrintable*>(&owner_)) report = p->ParentReport();
  if (auto* b = qobject_cast<TRptCustomBand*>(&owner_)) report = b->ParentReport();
  if (auto* rep = qobject_cast<TCustomBandReport*>(&owner_)) report = rep;
  TRptExportFilter* filter = report ? report->ExportFilter() : nullptr;
  if (!filter) return;
  TRptPrinter* printer = report->Printer();
  try {
    if (auto* label = qobject_cast<TRptCustomLabel*>(&owner_); label && !label->Transparent()) {
      ExportShape(*filter, printer, r, TRptShapeType::rpsRectangle, label->Color(), true, 0, 0);
    }
    if (top_ && bottom_ && left_ && right_) {
      ExportShape(*filter, printer, r, TRptShapeType::rpsRectangle, 0, false, color_, tw);
      return;
    }
    if (top_) {
      ExportShape(*filter, printer, platform::Rect{r.left, r.top, r.right, r.top + th}, TRptShapeType::rpsHorLine,
                  0, false, color_, th);
    }
    if (bottom_) {
      ExportShape(*filter, printer, platform::Rect{r.left, r.bottom - th, r.right, r.bottom},
                  TRptShapeType::rpsHorLine, 0, false, color_, th);
    }
    if (left_) {
      ExportShape(*filter, printer, platform::Rect{r.left, r.top, r.left + tw, r.bottom}, TRptShapeType::rpsVertLine,
                  0, false, color_, tw);
    }
    if (right_) {
      ExportShape(*filter, printer, platform::Rect{r.right - tw, r.top, r.right, r.bottom},
                  TRptShapeType::rpsVertLine, 0, false, color_, tw);
    }
  } catch (const std::exception&) {
    // The frame is on the page; an export filter that cannot take it loses only the lines.
  }
}

// ---- Editors -----------------------------------------------------------------------------

const QMetaObject& TRptPrintableEditor::PrintableClass() const { return TRptPrintable::staticMetaObject; }

void RegisterPrintableEditor(const QMetaObject& printableClass, TRptPrintableEditorClass editorClass) {
  auto& registry = EditorRegistry();
  auto it = std::find_if(registry.begin(), registry.end(), [&](const auto& e) { return e.first == &printableClass; });
  if (it != registry.end()) registry.erase(it);
  if (editorClass) registry.emplace_back(&printableClass, std::move(editorClass));
}

// ---- TRptPrintable -----------------------------------------------------------------------

TRptPrintable::TRptPrintable(QWidget* parent) : platform::CanvasWidget(parent), frame_(*this), size_(*this) {
  // What a control leaves unpainted shows the paper.
  QPalette paper = palette();
  paper.setColor(backgroundRole(), Qt::white);
  setPalette(paper);
  if (auto* panel = qobject_cast<TRptBasePanel*>(parent)) SetParentReport(panel->Report());
  SetBounds(0, 0, 10, 10);
}

TRptPrintable::~TRptPrintable() = default;

void TRptPrintable::SetParentReport(TCustomBandReport* report) {
  report_ = report;
  size_.SetParentReport(report);
  if (report) size_.SetUnits(report->Units());
  size_.Apply();
}

TRptCustomBand* TRptPrintable::ParentBand() const { return qobject_cast<TRptCustomBand*>(parentWidget()); }

bool TRptPrintable::event(QEvent* e) {
  if (e->type() == QEvent::ParentChange) {
    auto* panel = qobject_cast<TRptBasePanel*>(parentWidget());
    SetParentReport(panel ? panel->Report() : nullptr);
  }
  return platform::CanvasWidget::event(e);
}

void TRptPrintable::SetAlignment(TRptAlignment alignment) {
  alignment_ = alignment;
  AlignIt();
  update();
}

void TRptPrintable::SetAlignToBand(bool v) {
  alignToBand_ = v;
  AlignIt();
}

int TRptPrintable::Zoom() const {
  auto* panel = qobject_cast<TRptBasePanel*>(parentWidget());
  return panel ? panel->Zoom() : size_.Zoom();
}

void TRptPrintable::SetColor(uint32_t c) {
  color_ = c;
  update();
}

void TRptPrintable::SetTransparent(bool v) {
  opaque_ = !v;
  update();
}

void TRptPrintable::SetEnabled(bool v) {
  enabled_ = v;
  update();
}

void TRptPrintable::SetVisible(bool v) {
  visible_ = v;
  update();
}

void TRptPrintable::SetBounds(int left, int top, int width, int height) {
  size_.SetPixelBounds(left, top, width, height);
  setGeometry(left, top, std::max(0, width), std::max(0, height));
  if (report_) report_->ClearPreviewPage();
  if (!aligning_) AlignIt();
}

int TRptPrintable::PixelWidth() const {
  return Round(size_.Native(TRptPrintableSize::kWidth) * kScreenPerTenth * Zoom() / 100);
}

int TRptPrintable::PixelHeight() const {
  return Round(size_.Native(TRptPrintableSize::kHeight) * kScreenPerTenth * Zoom() / 100);
}

bool TRptPrintable::IsShown() const { return enabled_ || !visible_; }

TRptPrintableEditorClass TRptPrintable::GetEditorClass() const {
  // The editor registered for the nearest class.
  for (const QMetaObject* cls = metaObject(); cls; cls = cls->superClass()) {
    for (auto& [registered, make] : EditorRegistry()) {
      if (registered == cls) return make;
    }
  }
  return [](TRptPrintable& control) { return std::make_unique<TRptPrintableEditor>(control); };
}

void TRptPrintable::AlignIt() {
  TRptCustomBand* band = ParentBand();
  if (!alignToBand_ || !band || aligning_) return;
  aligning_ = true;
  const Real bandWidth = band->Size().Native(TRptBandSize::kWidth);
  const Real width = size_.Native(TRptPrintableSize::kWidth);
  Real left = 0;
  if (alignment_ == TRptAlignment::Right) left = bandWidth - width;
  if (alignment_ == TRptAlignment::Center) left = std::trunc((bandWidth - width) / 2);
  size_.SetNative(TRptPrintableSize::kLeft, left);
  aligning_ = false;
}

void TRptPrintable::Resized() {
  platform::CanvasWidget::Resized();
  if (!aligning_) AlignIt();
}

void TRptPrintable::Prepare() {
  printing_ = true;
  printer_ = report_ ? report_->Printer() : nullptr;
  printFinished_ = true;
}

void TRptPrintable::Unprepare() {
  printing_ = false;
  printer_ = nullptr;
}

void TRptPrintable::RptNotification(QObject* /*sender*/, int operation) {
  if (operation == kNotifyBandResized) AlignIt();
}

platform::Rect TRptPrintable::DeviceRect(Real offsetX, Real offsetY) const {
  const Real left = size_.Native(TRptPrintableSize::kLeft) + offsetX;
  const Real top = size_.Native(TRptPrintableSize::kTop) + offsetY;
  const Real width = size_.Native(TRptPrintableSize::kWidth), height = size_.Native(TRptPrintableSize::kHeight);
  return platform::Rect{printer_->XPos(left), printer_->YPos(top), printer_->XPos(left + width),
                        printer_->YPos(top + height)};
}

platform::Canvas& TRptPrintable::PageCanvas() const { return *printer_->Canvas(); }

TRptExportFilter* TRptPrintable::Filter() const { return report_ ? report_->ExportFilter() : nullptr; }

void TRptPrintable::PrintControl(Real offsetX, Real offsetY) {
  if (!printer_ || !printer_->Canvas() || !frame_.AnyFrame()) return;
  frame_.PaintFrame(PageCanvas(), DeviceRect(offsetX, offsetY), printer_->YFactor(), printer_->XFactor());
}

void TRptPrintable::paintEvent(QPaintEvent* e) {
  if (!printing_) platform::CanvasWidget::paintEvent(e);
}

void TRptPrintable::Paint(platform::Canvas& canvas) {
  if (!frame_.AnyFrame()) return;
  const Real factor = kScreenPerTenth * Zoom() / 100;
  frame_.PaintFrame(canvas, platform::Rect{0, 0, width(), height()}, factor, factor);
}

void TakeFont(platform::Canvas& canvas, const platform::CanvasFont& font) {
  platform::CanvasFont& target = canvas.Font();
  const int ppi = canvas.Dc().GetDeviceCaps(platform::LOGPIXELSY);
  target.Assign(font);
  if (ppi != font.PixelsPerInch()) {
    target.SetPixelsPerInch(ppi);
    target.SetSize(font.Size());
  }
}

// ---- Band printing -----------------------------------------------------------------------

std::vector<TRptPrintable*> TRptCustomBand::Printables() const {
  const QList<TRptPrintable*> children = findChildren<TRptPrintable*>(Qt::FindDirectChildrenOnly);
  return std::vector<TRptPrintable*>(children.begin(), children.end());
}

void TRptCustomBand::Resized() {
  TRptBasePanel::Resized();
  for (TRptPrintable* p : Printables()) p->RptNotification(this, kNotifyBandResized);
}

Real TRptCustomBand::HeightWithLinks() const {
  Real h = size_.Native(TRptBandSize::kHeight);
  int n = 0;
  for (TRptCustomBand* link = LinkBand(); link && n < 1000; link = link->LinkBand(), ++n) {
    h += link->Size().Native(TRptBandSize::kHeight);
  }
  return h;
}

Real TRptCustomBand::HeightWithChildren() const {
  Real h = size_.Native(TRptBandSize::kHeight);
  int n = 0;
  for (TRptCustomBand* child = ChildBand(); child && n < 1000; child = child->ChildBand(), ++n) {
    h += child->Size().Native(TRptBandSize::kHeight);
  }
  return h;
}

bool TRptCustomBand::CanExpand(Real h) const {
  return report_ && Round(h + size_.Native(TRptBandSize::kHeight) + expanded_) <= report_->AvailableSpace();
}

bool TRptCustomBand::ExpandBand(Real h, Real& bottom, bool& first) {
  if (!CanExpand(h)) return false;
  bool result = false;
  if (!first || h >= expanded_) {
    expanded_ += h;
  } else {
    result = true;
  }
  bottom = expanded_;
  first = true;
  return result;
}

Real TRptCustomBand::PreCalculatedHeight() {
  const Real bandHeight = size_.Native(TRptBandSize::kHeight);
  Real value = bandHeight, distance = 0;
  // Measured as the labels lay out, at zoom 100: the zoom the report is shown at changes nothing.
  const Real perPixel = 1 / kScreenPerTenth;
  for (TRptPrintable* p : Printables()) {
    auto* label = qobject_cast<TRptCustomLabel*>(p);
    if (!label || !label->Enabled()) continue;
    const Real top = p->Size().Native(TRptPrintableSize::kTop);
    const Real needed = top + label->LayoutHeight() * perPixel;
    if (needed > value) {
      value = needed;
      distance = bandHeight - top - p->Size().Native(TRptPrintableSize::kHeight) + perPixel;
    }
  }
  return value + std::max<Real>(0, distance);
}

void TRptCustomBand::PrintBand(bool makeRoom) {
  TCustomBandReport* r = report_;
  if (!r) return;
  const int rememberedX = r->CurrentX(), rememberedY = r->CurrentY();
  bool print = Enabled();
  if (print && BeforePrint && !r->Designing()) BeforePrint(this, print);
  if (type_ == TRptBandType::rbSummary) r->SetCurrentX(Round(r->Page().Native(TRptPage::kLeftMargin)));
  if (print) {
    const bool fixedKind = type_ == TRptBandType::rbTitle || type_ == TRptBandType::rbPageHeader ||
                           type_ == TRptBandType::rbPageFooter || type_ == TRptBandType::rbOverlay;
    const bool pageStarted = r->PageCount() > 0;
    if (makeRoom) {
      // Bands printed while a column or page is being started never force another break.
      if (forceNewPage_ && !r->InBreak() && !fixedKind && pageStarted) {
        r->ForceNewPage();
      } else if (forceNewColumn_ && !r->InBreak() && !fixedKind && pageStarted) {
        r->ForceNewColumn();
      } else {
        r->MakeRoom(*this);
      }
    }
    if (controller_) controller_->NotifyExpressions(kNotifyBandPrint);
    if (keepOnOnePage_ && PreCalculatedHeight() > r->AvailableSpace()) r->NewColumn();
    TRptPrinter* printer = r->Printer();
    const int x = r->CurrentX(), y = r->CurrentY();
    if (!transparent_ && printer) {
      const Real height = preCalculate_ ? PreCalculatedHeight() : size_.Native(TRptBandSize::kHeight);
      lastPrinted_ = platform::Rect{printer->XPos(x), printer->YPos(y),
                                    printer->XPos(x + size_.Native(TRptBandSize::kWidth)), printer->YPos(y + height)};
      if (TRptExportFilter* filter = r->ExportFilter()) {
        ExportShape(*filter, printer, lastPrinted_, TRptShapeType::rpsRectangle, color_, true, 0, 0);
      }
    }
    if (LayoutPixels(size_.Native(TRptBandSize::kHeight)) != 0 && printer && printer->Canvas()) {
      if (!transparent_) printer->Canvas()->Dc().FillRect(lastPrinted_, SolidBrush(color_));
      PrintPasses();
    }
    if (TRptExportFilter* filter = r->ExportFilter()) filter->BandEnd(this, expanded_, rememberedY, rememberedX);
  } else if (!enabled_ && controller_) {
    controller_->NotifyExpressions(kNotifyBandPrint);
  }
  if (AfterPrint && !r->Designing()) AfterPrint(this, print);
  if (TRptChildBand* child = ChildBand()) {
    const bool footer = type_ == TRptBandType::rbPageFooter;
    if (footer) static_cast<TRptCustomBand*>(child)->type_ = TRptBandType::rbPageFooter;
    r->PrintBand(child);
    if (footer) static_cast<TRptCustomBand*>(child)->type_ = TRptBandType::rbChild;
  }
}

void TRptCustomBand::PrintPasses() {
  TCustomBandReport& r = *report_;
  expanded_ = 0;
  stretchPass_ = false;
  // Shapes with Tag 1000 drawn as vertical lines over the whole printed height.
  auto fullHeightLines = [&](int x, int y) {
    TRptPrinter& printer = *r.Printer();
    const platform::Rect band{printer.XPos(x), printer.YPos(y), printer.XPos(x + size_.Native(TRptBandSize::kWidth)),
                              printer.YPos(y + size_.Native(TRptBandSize::kHeight) + expanded_)};
    const int bandPixels = std::max(1, LayoutPixels(size_.Native(TRptBandSize::kWidth)));
    for (TRptPrintable* p : Printables()) {
      auto* shape = qobject_cast<TRptShape*>(p);
      if (!shape || shape->Tag != 1000 || shape->Shape() != TRptShapeType::rpsVertLine) continue;
      const int shapeLeft = LayoutPixels(shape->Size().Native(TRptPrintableSize::kLeft));
      const int shapeWidth = LayoutPixels(shape->Size().Native(TRptPrintableSize::kWidth));
      const int lineX = band.left + Round(static_cast<Real>(band.Width()) * (shapeLeft + shapeWidth / 2) / bandPixels);
      platform::DeviceContext& dc = printer.Canvas()->Dc();
      const int penWidth = shape->Pen().Width();
      dc.SelectPen(platform::LogPen{platform::PS_SOLID, penWidth, platform::ColorToRgb(shape->Pen().Color()), {}});
      dc.MoveTo(lineX, band.top);
      dc.LineTo(lineX, band.bottom);
      if (TRptExportFilter* filter = r.ExportFilter()) {
        const Real left = x + shape->Size().Native(TRptPrintableSize::kLeft);
        const Real top = y + shape->Size().Native(TRptPrintableSize::kTop);
        ExportShape(*filter, &printer,
                    platform::Rect{printer.XPos(left), printer.YPos(top), printer.XPos(left) + std::max(1, penWidth),
                                   band.bottom},
                    TRptShapeType::rpsVertLine, 0, false, shape->Pen().Color(), penWidth);
      }
    }
  };
  for (bool first = true;; first = false) {
    const int x = r.CurrentX(), y = r.CurrentY();
    bool allFinished = true;
    for (TRptPrintable* p : Printables()) {
      if (!p->Enabled()) continue;
      if (first || !p->PrintFinished()) p->PrintControl(x, y);
      if (!p->PrintFinished()) allFinished = false;
    }
    TRptPrinter& printer = *r.Printer();
    if (frame_.AnyFrame()) {
      frame_.PaintFrame(*printer.Canvas(),
                        platform::Rect{printer.XPos(x), printer.YPos(y),
                                       printer.XPos(x + size_.Native(TRptBandSize::kWidth)),
                                       printer.YPos(y + size_.Native(TRptBandSize::kHeight) + expanded_ + 1)},
                        printer.YFactor(), printer.XFactor());
    }
    fullHeightLines(x, y);
    if (allFinished || r.Cancelled()) break;
    r.NewColumn();
    expanded_ = 0;
    stretchPass_ = true;
    if (!r.Printer() || !r.Printer()->Canvas()) break;
  }
  stretchPass_ = false;
  r.SetCurrentY(r.CurrentY() + Round(size_.Native(TRptBandSize::kHeight) + expanded_));
}

}  // namespace rpt
