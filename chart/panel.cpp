// The chart panel: the plain panel widget, the chart panel's layout, border, bevels,
// background, back image, zoom rectangle, listeners and mouse handling.
#include "chart/panel.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"
#include "platform/ui.h"

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

bool PanelEraseBackground = false;
bool ClipWhenPrinting = true;
bool ClipWhenMetafiling = true;
bool BevelsWhenPrinting = false;

// ---- Errors -------------------------------------------------------------------------------

namespace {
TChartErrorHook gErrorHook = nullptr;
}  // namespace

TChartErrorHook SetChartErrorHook(TChartErrorHook hook) {
  TChartErrorHook previous = gErrorHook;
  gErrorHook = hook;
  return previous;
}

void ReportChartError(const std::string& message) {
  if (gErrorHook) {
    gErrorHook(message);
    return;
  }
  std::fprintf(stderr, "chart: %s\n", message.c_str());
}

// ---- The plain panel ----------------------------------------------------------------------

struct TCustomPanelNoCaption::OffPaintSurface {
  QImage image{1, 1, QImage::Format_RGB32};
  platform::QtDc dc{image};
  platform::Canvas canvas{dc};
};

TCustomPanelNoCaption::TCustomPanelNoCaption(QWidget* parent)
    : InputWidget(parent), color_(platform::SystemColor(platform::COLOR_BTNFACE)) {
  // Every pixel is painted by the panel (the erase switch aside).
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TCustomPanelNoCaption::~TCustomPanelNoCaption() = default;

void TCustomPanelNoCaption::SetColor(TColor color) {
  if (!ChangeValue(color_, color)) return;
  // A panel without colour lets its parent show through.
  setAttribute(Qt::WA_OpaquePaintEvent, color != clNone);
  Invalidate();
}

void TCustomPanelNoCaption::SetBevelInner(TBevelCut v) {
  if (ChangeValue(bevelInner_, v)) Invalidate();
}
void TCustomPanelNoCaption::SetBevelOuter(TBevelCut v) {
  if (ChangeValue(bevelOuter_, v)) Invalidate();
}
void TCustomPanelNoCaption::SetBevelWidth(int v) {
  if (ChangeValue(bevelWidth_, std::max(1, v))) Invalidate();
}
void TCustomPanelNoCaption::SetBorderWidth(int v) {
  if (ChangeValue(borderWidth_, std::max(0, v))) Invalidate();
}

void TCustomPanelNoCaption::Invalidate() { update(); }

platform::Canvas& TCustomPanelNoCaption::ControlCanvas() { return paintCanvas_ ? *paintCanvas_ : OffPaintCanvas(); }

platform::Canvas& TCustomPanelNoCaption::OffPaintCanvas() {
  if (!offPaint_) offPaint_ = std::make_unique<OffPaintSurface>();
  return offPaint_->canvas;
}

void TCustomPanelNoCaption::Loaded() { loading_ = false; }

void TCustomPanelNoCaption::ReportPaintError(const std::string& message) {
  if (message == lastPaintError_) return;
  lastPaintError_ = message;
  // After the paint: a message box must not open inside a paint event.
  QTimer::singleShot(0, this, [message] { ReportChartError(message); });
}

void TCustomPanelNoCaption::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  platform::QtDc dc(painter, platform::DeviceCaps::Screen(width(), height()), true);
  platform::Canvas canvas(dc);
  if (PanelEraseBackground && color_ != clNone) {
    dc.FillRect(platform::Rect{0, 0, width(), height()}, platform::LogBrush{platform::BS_SOLID, ColorToRGB(color_), 0, {}});
  }
  paintCanvas_ = &canvas;
  std::string error;
  try {
    Paint();
  } catch (const TSilentAbort&) {
  } catch (const std::exception& e) {
    error = e.what();
    if (error.empty()) error = "Error while drawing";
  } catch (...) {
    error = "Error while drawing";
  }
  paintCanvas_ = nullptr;
  if (!error.empty()) PaintFailed();
  PaintFinished();
  if (error.empty()) {
    lastPaintError_.clear();
  } else {
    ReportPaintError(error);
  }
}

void TCustomPanelNoCaption::Resized() {
  if (size() == lastSize_) return;
  lastSize_ = size();
  Resize();
}

// An exception must not pass through Qt's event handling: a silent abort ends the handlers
// quietly, any other error goes to the error handler.
void TCustomPanelNoCaption::HandleInput(const std::function<void()>& handlers) {
  try {
    handlers();
  } catch (const TSilentAbort&) {
  } catch (const std::exception& e) {
    ReportChartError(e.what());
  }
}

void TCustomPanelNoCaption::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) SystemColorsChanged();
}

// ---- Listeners ----------------------------------------------------------------------------

void TPlotEventListeners::Add(IPanelListener* listener) {
  if (listener && std::find(items_.begin(), items_.end(), listener) == items_.end()) items_.push_back(listener);
}

void TPlotEventListeners::Remove(IPanelListener* listener) {
  items_.erase(std::remove(items_.begin(), items_.end(), listener), items_.end());
}

// ---- Zoom and panning ---------------------------------------------------------------------

void TZoomPanning::Activate(int x, int y) {
  X0 = X1 = x;
  Y0 = Y1 = y;
  Active = true;
}

void TZoomPanning::Check() {
  if (X0 > X1) std::swap(X0, X1);
  if (Y0 > Y1) std::swap(Y0, Y1);
}

TPlotZoomPen::TPlotZoomPen(TNotify onChange) {
  SetColor(clWhite);
  OnChange = OwnerNotify(std::move(onChange));
}

TPlotZoomBrush::TPlotZoomBrush(TNotify onChange) {
  SetColor(clWhite);
  SetStyle(BrushStyle::Clear);
  OnChange = OwnerNotify(std::move(onChange));
}

TPlotZoom::TPlotZoom() = default;
TPlotZoom::~TPlotZoom() = default;

TPlotZoomBrush& TPlotZoom::Brush() {
  if (!brush_) brush_ = std::make_unique<TPlotZoomBrush>();
  return *brush_;
}

TPlotZoomPen& TPlotZoom::Pen() {
  if (!pen_) pen_ = std::make_unique<TPlotZoomPen>();
  return *pen_;
}

void TPlotZoom::SetBrush(const TChartBrush* brush) {
  if (!brush) {
    brush_.reset();
  } else {
    Brush().Assign(*brush);
  }
}

void TPlotZoom::SetPen(const TChartPen* pen) {
  if (!pen) {
    pen_.reset();
  } else {
    Pen().Assign(*pen);
  }
}

void TPlotZoom::Assign(const TPlotZoom& s) {
  if (&s == this) return;
  allow_ = s.allow_;
  animated_ = s.animated_;
  animatedSteps_ = s.animatedSteps_;
  direction_ = s.direction_;
  keyShift_ = s.keyShift_;
  minimumPixels_ = s.minimumPixels_;
  mouseButton_ = s.mouseButton_;
  upLeftZooms_ = s.upLeftZooms_;
  SetBrush(s.brush_.get());
  SetPen(s.pen_.get());
}

// ---- Back image ---------------------------------------------------------------------------

void TBackImage::Notify() {
  if (OnChange) OnChange(*this);
}

void TBackImage::SetInside(bool v) {
  if (ChangeValue(inside_, v)) Notify();
}
void TBackImage::SetLeft(int v) {
  if (ChangeValue(left_, v)) Notify();
}
void TBackImage::SetMode(TPlotBackImageMode v) {
  if (ChangeValue(mode_, v)) Notify();
}
void TBackImage::SetTop(int v) {
  if (ChangeValue(top_, v)) Notify();
}

void TBackImage::Assign(const TBackImage& s) {
  if (&s == this) return;
  SetInside(s.inside_);
  SetLeft(s.left_);
  SetMode(s.mode_);
  SetTop(s.top_);
  TPicture::Assign(s);
}

// ---- The chart panel ----------------------------------------------------------------------

TCustomPlotPanel::TCustomPlotPanel(QWidget* parent) : TCustomPanelNoCaption(parent) {
  resize(400, 250);
  border_ = std::make_unique<TChartHiddenPen>();
  border_->SetEndStyle(esFlat);
  border_->SetDefaultEndStyle(esFlat);
  border_->OnChange = OwnerNotify([this] { ChildChanged(); });
  shadow_ = std::make_unique<TPlotShadow>([this] { ChildChanged(); });
  view3DOptions_ = std::make_unique<TView3DOptions>(this);
  panning_ = std::make_unique<TZoomPanning>();
  savedCursor_ = cursor();
  canvas_ = std::make_unique<TPlotCanvas3D>();
  canvas_->SetCanvas(&ControlCanvas());
}

TCustomPlotPanel::~TCustomPlotPanel() {
  SetDestroying();
  listeners_.Clear();
}

TColor TCustomPlotPanel::GetBackColor() { return Color(); }
void TCustomPlotPanel::InternalDraw(const TRect&) {}
void TCustomPlotPanel::ChildChanged() { Invalidate(); }

TRect TCustomPlotPanel::GetPanelRect() { return TRect{0, 0, Width(), Height()}; }

void TCustomPlotPanel::ChangeString(std::string& field, const std::string& value) {
  if (ChangeValue(field, value)) Invalidate();
}
void TCustomPlotPanel::ChangeDouble(double& field, double value) {
  if (ChangeValue(field, value)) Invalidate();
}
void TCustomPlotPanel::ChangeColor(TColor& field, TColor value) {
  if (ChangeValue(field, value)) Invalidate();
}
void TCustomPlotPanel::ChangeBoolean(bool& field, bool value) {
  if (ChangeValue(field, value)) Invalidate();
}
void TCustomPlotPanel::ChangeInteger(int& field, int value) {
  if (ChangeValue(field, value)) Invalidate();
}

void TCustomPlotPanel::Invalidate() {
  if (!repaintEnabled_) return;
  if (canvas_) canvas_->Invalidate();
  TCustomPanelNoCaption::Invalidate();
}

void TCustomPlotPanel::SetBorderRound(int v) {
  if (!ChangeValue(borderRound_, v)) return;
  if (!Loading()) ApplyRoundBorder();
}

void TCustomPlotPanel::SetMarginUnits(TPlotUnits v) {
  if (ChangeValue(marginUnits_, v)) Invalidate();
}

void TCustomPlotPanel::SetView3D(bool v) {
  if (!ChangeValue(view3D_, v)) return;
  Invalidate();
  TPlotView3DEvent event;
  NotifyListeners(event);
}

void TCustomPlotPanel::SetView3DOptions(const TView3DOptions& options) {
  view3DOptions_->Assign(options);
  Invalidate();
}

// ---- Painting -----------------------------------------------------------------------------

// Outside paints the chart canvas stands on its own surface: the buffer, or a surface of one
// pixel while there is none.
platform::Canvas& TCustomPlotPanel::OffPaintCanvas() {
  if (canvas_) return canvas_->OwnCanvas();
  return TCustomPanelNoCaption::OffPaintCanvas();
}

void TCustomPlotPanel::SetBuffered(bool v) { canvas_->SetBufferedDisplay(v); }

void TCustomPlotPanel::Paint() {
  if (IsPrinting) return;
  // The buffer is shown through the painter of this paint.
  canvas_->SetCanvas(&ControlCanvas());
  if (!canvas_->RepaintFromBuffer()) DrawClient();
}

void TCustomPlotPanel::PaintFinished() {
  // The painter's canvas is gone: the chart canvas goes back to the surface outside paints.
  canvas_->SetCanvas(&OffPaintCanvas());
}

void TCustomPlotPanel::PaintFailed() { canvas_->Invalidate(); }

void TCustomPlotPanel::DrawClient() {
  platform::Canvas& target = ControlCanvas();
  // A blend mixes what it drew with the pixels it read before; the widget's painter gives
  // none back. An unbuffered frame is therefore drawn through a buffer of this paint alone,
  // freed after it, so that it shows the buffered frame's picture, transparencies mixed
  // alike. A panel without colour is drawn on the painter itself, so that its parent still
  // shows through.
  if (canvas_->GetBufferedDisplay() || Color() == clNone || target.Dc().Native(platform::DcFeature::ReadPixels)) {
    Draw(target, GetPanelRect());
    return;
  }
  struct Unbuffer {
    TPlotCanvas3D& canvas;
    ~Unbuffer() { canvas.SetBufferedDisplay(false); }
  } unbuffer{*canvas_};
  canvas_->SetBufferedDisplay(true);
  Draw(target, GetPanelRect());
}

void TCustomPlotPanel::Draw(platform::Canvas& canvas, const TRect& rect) {
  panelBounds_ = canvas_->BeginFrame(&canvas, view3DOptions_.get(), Color(), view3D_, rect);
  try {
    CalcChartRect();
    NormalizeChartRect();
    InternalDraw(panelBounds_);
  } catch (...) {
    // The frame ends and the buffer holds no finished picture.
    canvas_->EndFrame(&canvas, &ControlCanvas(), rect);
    canvas_->Invalidate();
    throw;
  }
  canvas_->EndFrame(&canvas, &ControlCanvas(), rect);
}

void TCustomPlotPanel::CalcChartRect() {
  const int width = panelBounds_.Width(), height = panelBounds_.Height();
  int border = BorderWidth();
  if (BevelInner() != bvNone) border += BevelWidth();
  if (BevelOuter() != bvNone) border += BevelWidth();
  if (border_->Visible()) border += border_->Width();
  if (chartRectFixed_) return;
  auto margin = [this](int value, int size) { return marginUnits_ == muPixels ? value : value * size / 100; };
  chartRect_ = TRect{panelBounds_.left + border + margin(MarginLeft(), width),
                     panelBounds_.top + border + margin(MarginTop(), height),
                     panelBounds_.right - border - margin(MarginRight(), width),
                     panelBounds_.bottom - border - margin(MarginBottom(), height)};
}

void TCustomPlotPanel::NormalizeChartRect() {
  if (!chartRectFixed_) {
    TRect& r = chartRect_;
    r.left = std::max(r.left, panelBounds_.left);
    r.top = std::max(r.top, panelBounds_.top);
    if (r.right < r.left) {
      r.right = r.left + 1;
    } else if (r.right == r.left) {
      r.right = r.left + Width();
    }
    if (r.bottom < r.top) {
      r.bottom = r.top + 1;
    } else if (r.bottom == r.top) {
      r.bottom = r.top + Height();
    }
  }
  plotWidth_ = chartRect_.right - chartRect_.left;
  plotHeight_ = chartRect_.bottom - chartRect_.top;
  plotCenterX_ = (chartRect_.left + chartRect_.right) / 2;
  plotCenterY_ = (chartRect_.top + chartRect_.bottom) / 2;
}

bool BevelColors(TBevelCut bevel, TColor& topLeft, TColor& bottomRight) {
  if (bevel == bvNone) return false;
  const TColor highlight = platform::SystemColor(platform::COLOR_BTNHIGHLIGHT);
  const TColor shadow = platform::SystemColor(platform::COLOR_BTNSHADOW);
  topLeft = bevel == bvLowered ? shadow : highlight;
  bottomRight = bevel == bvRaised ? shadow : highlight;
  return true;
}

void TCustomPlotPanel::PaintBevel(TRect& rect, TBevelCut bevel, int width) {
  TColor topLeft, bottomRight;
  if (!BevelColors(bevel, topLeft, bottomRight)) return;
  if (borderRound_ < 1) {
    canvas_->DrawBevelFrame(rect, topLeft, width, bottomRight);
  } else {
    canvas_->Pen().SetColor(topLeft);
    canvas_->DrawRoundRectR(rect, borderRound_, borderRound_);
  }
  rect = TRect{rect.left + width, rect.top + width, rect.right - width, rect.bottom - width};
}

void TCustomPlotPanel::PaintBorder(TRect rect) {
  TCanvas3D& c = *canvas_;
  c.BeginFlatDrawing();
  c.Brush().SetStyle(BrushStyle::Clear);
  if (border_->Visible()) {
    c.SelectPen(*border_);
    int a;
    if (border_->SmallDots()) {
      a = 1;
    } else {
      const int w = border_->Width();
      a = w - 1;
      if (w != 1 && a >= 0) {
        const int leftTop = a / 2 + a % 2, rightBottom = a / 2 - (a / 2) % 2;
        rect = TRect{rect.left + leftTop, rect.top + leftTop, rect.right - rightBottom, rect.bottom - rightBottom};
      }
    }
    if (borderRound_ < 1) {
      c.DrawRectangleR(rect);
      if (!border_->SmallDots()) ++a;
    } else {
      --rect.right;
      --rect.bottom;
      c.DrawRoundRectR(rect, borderRound_, borderRound_);
    }
    rect = TRect{rect.left + a, rect.top + a, rect.right - a, rect.bottom - a};
  }
  if (!IsPrinting || BevelsWhenPrinting) {
    platform::CanvasPen& pen = c.Pen();
    pen.SetStyle(PenStyle::Solid);
    pen.SetWidth(1);
    pen.SetMode(platform::R2_COPYPEN);
    PaintBevel(rect, BevelOuter(), BevelWidth());
    if (BorderWidth() > 0) {
      c.DrawBevelFrame(rect, Color(), BorderWidth(), Color());
      const int b = BorderWidth();
      rect = TRect{rect.left + b, rect.top + b, rect.right - b, rect.bottom - b};
    }
    PaintBevel(rect, BevelInner(), BevelWidth());
  }
  c.EndFlatDrawing();
}

// ---- Listeners and mouse ------------------------------------------------------------------

void TCustomPlotPanel::NotifyListeners(TPlotEvent& event) {
  if (Destroying()) return;
  event.Sender = this;
  const bool mouse = dynamic_cast<TPlotMouseEvent*>(&event) != nullptr;
  // A copy: a listener may remove itself while it is called.
  const std::vector<IPanelListener*> listeners = [this] {
    std::vector<IPanelListener*> all;
    for (int i = 0; i < listeners_.Count(); ++i) all.push_back(listeners_.At(i));
    return all;
  }();
  for (IPanelListener* listener : listeners) {
    listener->HandlePanelEvent(event);
    if (mouse && StopMouse) break;
  }
}

void TCustomPlotPanel::NotifyMouseListeners(int kind, TMouseButton button, TShiftState shift, int x, int y) {
  if (listeners_.Count() == 0) return;
  TPlotMouseEvent event;
  event.Kind = kind;
  event.Button = button;
  event.Shift = shift;
  event.X = x;
  event.Y = y;
  NotifyListeners(event);
}

void TCustomPlotPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  StopMouse = false;
  TCustomPanelNoCaption::MouseDown(button, shift, x, y);
  NotifyMouseListeners(0, button, shift, x, y);
}

void TCustomPlotPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomPanelNoCaption::MouseUp(button, shift, x, y);
  NotifyMouseListeners(1, button, shift, x, y);
}

void TCustomPlotPanel::MouseMove(TShiftState shift, int x, int y) {
  StopMouse = false;
  TCustomPanelNoCaption::MouseMove(shift, x, y);
  NotifyMouseListeners(2, TMouseButton::mbLeft, shift, x, y);
}

void TCustomPlotPanel::DblClick() {
  StopMouse = false;
  TCustomPanelNoCaption::DblClick();
  if (StopMouse) throw TSilentAbort();
}

void TCustomPlotPanel::MouseLeave() {
  setCursor(savedCursor_);
  panning_->Active = false;
}

void TCustomPlotPanel::Resize() {
  TCustomPanelNoCaption::Resize();
  // The buffer holds the picture of the old size.
  Invalidate();
  if (!Loading()) ApplyRoundBorder();
}

void TCustomPlotPanel::Loaded() {
  TCustomPanelNoCaption::Loaded();
  savedCursor_ = cursor();
  if (borderRound_ > 0) ApplyRoundBorder();
}

void TCustomPlotPanel::ApplyRoundBorder() {
  if (applyingRoundBorder_) return;
  applyingRoundBorder_ = true;
  if (borderRound_ <= 0) {
    clearMask();
  } else {
    const platform::Region region = platform::Region::RoundRect(TRect{0, 0, Width(), Height()}, borderRound_, borderRound_);
    QRegion mask;
    for (const platform::Rect& r : region.Rects()) mask += QRect(r.left, r.top, r.Width(), r.Height());
    setMask(mask);
  }
  // The border is drawn along the new outline.
  Invalidate();
  applyingRoundBorder_ = false;
}

// ---- Helpers ------------------------------------------------------------------------------

void TCustomPlotPanel::SetBrushCanvas(TColor color, TChartBrush& brush, TColor backColor) {
  if (brush.Style() != BrushStyle::Solid && color == backColor) color = backColor != clBlack ? clBlack : clWhite;
  canvas_->SelectBrushColor(brush, color, backColor);
}

bool TCustomPlotPanel::ClippingAllowed() {
  if (canvas_->IsFull3D()) return false;
  const bool metafiling = canvas_->Metafiling();
  return (!IsPrinting && !metafiling) || (IsPrinting && ClipWhenPrinting) || (metafiling && ClipWhenMetafiling);
}

double TCustomPlotPanel::DeviceAspectRatio() {
  platform::Canvas* reference = canvas_->ReferenceCanvas();
  if (!reference) return 0;
  const int vert = reference->Dc().GetDeviceCaps(platform::VERTSIZE);
  if (vert == 0) return 0;
  return static_cast<double>(reference->Dc().GetDeviceCaps(platform::HORZSIZE)) / vert;
}

void TCustomPlotPanel::CopyFrom(const TCustomPlotPanel& s) {
  if (&s == this) return;
  border_->Assign(*s.border_);
  SetBorderRound(s.borderRound_);
  SetBuffered(s.canvas_->GetBufferedDisplay());
  printMargins_ = s.printMargins_;
  printProportional_ = s.printProportional_;
  printSetting_ = s.printSetting_;
  margins_ = s.margins_;
  marginUnits_ = s.marginUnits_;
  canvas_->SetMonochrome(s.canvas_->GetMonochrome());
  shadow_->Assign(*s.shadow_);
  view3D_ = s.view3D_;
  view3DOptions_->Assign(*s.view3DOptions_);
  SetColor(s.Color());
  Invalidate();
}

// ---- The extended panel -------------------------------------------------------------------

TCustomPlotPanelExtended::TCustomPlotPanelExtended(QWidget* parent)
    : TCustomPlotPanel(parent), zoom_(std::make_unique<TPlotZoom>()) {}

TCustomPlotPanelExtended::~TCustomPlotPanelExtended() {
  SetDestroying();
  zoom_.reset();
  gradient_.reset();
  backImage_.reset();
}

void TCustomPlotPanelExtended::SetAllowPanning(TPanningMode v) {
  if (ChangeValue(allowPanning_, v)) Invalidate();
}

TPlotGradient& TCustomPlotPanelExtended::Gradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotGradient>([this] { ChildChanged(); });
  return *gradient_;
}

void TCustomPlotPanelExtended::SetGradient(const TCustomPlotGradient* gradient) {
  if (!gradient) {
    if (!gradient_) return;
    gradient_.reset();
    ChildChanged();
    return;
  }
  Gradient().Assign(*gradient);
}

TBackImage& TCustomPlotPanelExtended::BackImage() {
  if (!backImage_) {
    backImage_ = std::make_unique<TBackImage>();
    backImage_->OnChange = [this](platform::TPicture&) { ChildChanged(); };
  }
  return *backImage_;
}

void TCustomPlotPanelExtended::SetBackImage(const TBackImage* image) {
  if (!image) {
    if (!backImage_) return;
    backImage_.reset();
    ChildChanged();
    return;
  }
  BackImage().Assign(*image);
}

bool TCustomPlotPanelExtended::BackImageInside() {
  TBackImage& image = BackImage();
  return image.Graphic() ? image.Inside() : false;
}

bool TCustomPlotPanelExtended::BackImageTransp() {
  const platform::TGraphic* graphic = BackImage().Graphic();
  return graphic ? graphic->Transparent() : false;
}

void TCustomPlotPanelExtended::SetBackImageTransp(bool v) {
  platform::TGraphic* graphic = BackImage().Graphic();
  if (!graphic || graphic->Transparent() == v) return;
  graphic->SetTransparent(v);
  ChildChanged();
}

void TCustomPlotPanelExtended::UndoZoom() {
  if (OnUndoZoom) OnUndoZoom(*this);
  Invalidate();
  IsZoomed = false;
}

void TCustomPlotPanelExtended::CopyFrom(const TCustomPlotPanel& source) {
  if (&source == this) return;
  if (const auto* s = dynamic_cast<const TCustomPlotPanelExtended*>(&source)) {
    SetBackImage(s->backImage_.get());
    SetGradient(s->gradient_.get());
    SetAllowPanning(s->allowPanning_);
    zoom_->Assign(*s->zoom_);
  }
  TCustomPlotPanel::CopyFrom(source);
}

void TCustomPlotPanelExtended::PaintBackground(const TRect& rect) {
  TCanvas3D& c = Canvas();
  if (gradient_ && gradient_->Visible()) {
    gradient_->PaintRect(c, rect);
    return;
  }
  if (IsPrinting && !BevelsWhenPrinting) return;
  if (Color() == clNone) return;
  c.Brush().SetBitmap(nullptr);
  c.Brush().SetStyle(BrushStyle::Solid);
  c.Brush().SetColor(Color());
  c.FillRect(rect);
}

void TCustomPlotPanelExtended::DrawPanel(TRect rect) {
  TCanvas3D& c = Canvas();
  c.BeginFlatDrawing();
  if (Shadow().Size() > 0) {
    TColor under = Color();
    if (const QWidget* parent = parentWidget()) {
      const QColor q = parent->palette().color(parent->backgroundRole());
      under = platform::RgbColor(q.red(), q.green(), q.blue());
    }
    c.Brush().SetBitmap(nullptr);
    c.Brush().SetStyle(BrushStyle::Solid);
    c.Brush().SetColor(under);
    c.FillRect(rect);
    rect.right -= Shadow().HorizSize();
    rect.bottom -= Shadow().VertSize();
    Shadow().PaintRectShadow(c, rect, 0);
  }
  PaintBackground(rect);
  if (backImage_ && backImage_->Graphic() && !backImage_->Inside()) PaintBackImage(rect, 0);
  PaintBorder(rect);
  c.EndFlatDrawing();
}

void TCustomPlotPanelExtended::PaintBackImage(const TRect& rect, int depth) {
  const platform::TGraphic* graphic = backImage_ ? backImage_->Graphic() : nullptr;
  if (!graphic) return;
  TCanvas3D& c = Canvas();
  const bool projected = depth > 0 && !c.IsOrthogonal();
  if (backImage_->Mode() == pbmStretch) {
    if (depth == 0) {
      c.StretchGraphic(rect, graphic);
    } else if (c.IsOrthogonal()) {
      c.StretchGraphic(c.ProjectRect(rect, depth), graphic);
    } else {
      c.DrawPicture3D(rect, *graphic, depth);
    }
    return;
  }
  const bool clip = ClippingAllowed();
  if (clip) {
    if (depth > 0) {
      c.ClipCube(rect, 0, TotalDepth);
    } else {
      c.ClipRectangle(rect);
    }
  }
  TRect r = rect;
  if (depth > 0 && c.IsOrthogonal()) {
    r = c.ProjectRect(r, depth);
    if (!View3D()) ++r.top;
  }
  const int w = graphic->Width(), h = graphic->Height();
  auto drawAt = [&](int x, int y) {
    if (projected) {
      c.DrawPicture3D(TRect{x, y, x + w, y + h}, *graphic, depth);
    } else {
      c.DrawGraphic(x, y, graphic);
    }
  };
  if (backImage_->Mode() == pbmTile) {
    if (w > 0 && h > 0) {
      for (int row = 0; row < r.Height(); row += h) {
        for (int column = 0; column < r.Width(); column += w) drawAt(r.left + column, r.top + row);
      }
    }
  } else {
    PaintBackground(r);
    if (backImage_->Mode() == pbmCustom) {
      r = TRect{r.left + backImage_->Left(), r.top + backImage_->Top(), r.left + backImage_->Left() + w,
                r.top + backImage_->Top() + h};
    } else {
      const int dx = (w - r.Width()) / 2, dy = (h - r.Height()) / 2;
      r = TRect{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
    }
    drawAt(r.left, r.top);
  }
  if (clip) c.Unclip();
}

void TCustomPlotPanelExtended::PaintZoomRectangle() {
  TCanvas3D& c = Canvas();
  const platform::ColorRef b = ColorToRGB(Color());
  const TPlotZoomBrush* brush = zoom_->BrushIfAny();
  if (brush) {
    c.SelectBrushColor(*brush, ColorToRGB(brush->Color()) ^ (0xFFFFFF - b), b);
  } else {
    c.Brush().SetStyle(BrushStyle::Clear);
  }
  TPlotZoomPen& pen = zoom_->Pen();
  pen.SetMode(platform::R2_NOTXORPEN);
  c.SelectPenColor(pen, ColorToRGB(pen.Color()) ^ (0xFFFFFF - b));
  if (!brush || brush->Style() == BrushStyle::Clear) c.SetBackMode(cbmTransparent);
  c.DrawRectangle(zoom_->X0, zoom_->Y0, zoom_->X1, zoom_->Y1);
}

}  // namespace chart
