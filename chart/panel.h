// The chart panel: the windowed control every chart is built on.
//
// `TCustomPanelNoCaption` is a widget with the properties of a plain panel (colour, bevels,
// border width) that never paints a caption. Its paintEvent puts a Qt device context on a
// QPainter of the widget and runs `Paint`; outside a paint the control's canvas is a surface
// the subclass chooses (the chart panel: its chart canvas's own surface, the buffer while
// there is one). Qt mouse, leave and resize events reach the virtual handlers in the Windows
// form (platform/qt/input_widget.h); an exception from a handler goes to the error handler (a
// silent abort ends it quietly).
//
// `TCustomPlotPanel` owns the chart canvas (`TPlotCanvas3D`), the 3D view settings, margins,
// border, panel shadow, print settings and listeners, and drives one paint: begin the canvas
// frame, work out `ChartRect`, let the descendant draw (`InternalDraw`), end the frame. The
// chart canvas keeps the one off-screen buffer: a paint that finds it current only copies it.
// Outside a paint the chart canvas draws into that buffer (the zoom rectangle during a drag);
// update() then shows the buffer as it is, Invalidate() has the chart drawn again.
// `TCustomPlotPanelExtended` adds the back image, the back gradient, the zoom settings and the
// panning mode. The axis panel and the chart derive from it.
//
// Storage rules: setters store a value and repaint only when it changed (the Change* routines);
// owned pens, brushes, shadows and gradients notify the panel (`ChildChanged`); objects given
// to setters are copied, never adopted; optional objects (back image, back gradient, zoom pen
// and brush) are created on first access and freed by passing nullptr.
//
// Errors while drawing: an exception raised by a paint never leaves paintEvent. The frame is
// ended, the buffer is marked stale and the message kept (LastPaintError); after the paint it
// goes once to the error handler the library's user set (SetChartErrorHook), or to the
// standard error stream when none is set: the library itself shows no message. The same
// message raised again by later paints is not repeated until a paint succeeds.
//
// Exports (`MakeMetafile`, `MakeBitmap`, the Write* files, `AssignTo`) draw the panel once,
// unbuffered, onto another surface and leave the screen buffer as it was. Files are written
// to a temporary file in the same folder and renamed over the target, so a failed write keeps
// the previous file.
//
// Decisions of this platform:
// - Metafiles are always enhanced metafiles (the platform records nothing else), whatever the
//   enhanced flag or the file's extension says.
// - Bitmaps are 32-bit in memory; bitmap files are written as 24-bit BMP files. The pixel
//   format argument is kept for callers and changes nothing.
// - The palette of a back image (`GetPalette`) does not exist: bitmaps here have none.
#pragma once

#include <QCursor>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas3d.h"
#include "chart/effects.h"
#include "platform/input.h"
#include "platform/picture.h"
#include "platform/qt/input_widget.h"

namespace platform {
class Canvas;
}

namespace chart {

using platform::TMouseButton;
using platform::TShiftState;

// ---- Program-wide switches ----------------------------------------------------------------

// Panels erase their background before painting (off: every pixel is painted by the chart).
extern bool PanelEraseBackground;
// Drawing for a printer or into a metafile may clip (back images).
extern bool ClipWhenPrinting;
extern bool ClipWhenMetafiling;
// Bevels and the panel colour are painted when printing too.
extern bool BevelsWhenPrinting;

// ---- Errors -------------------------------------------------------------------------------

// Receives the message of an error that cannot be raised to a caller (CP932): an exception
// raised while a panel painted or handled the mouse or keys, an obsolete stored value read on.
using TChartErrorHook = void (*)(const std::string& message);
// Sets the handler of the library's user (nullptr: none, as at start); returns the previous one.
TChartErrorHook SetChartErrorHook(TChartErrorHook hook);
// Passes `message` to the handler; without one it is written to the standard error stream.
void ReportChartError(const std::string& message);

// Raised by DblClick when a listener stopped the mouse: the click ends without a message.
class TSilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// ---- Enumerations -------------------------------------------------------------------------

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// The colours of a bevel's two sides: the button shadow on the lowered (top-left) or raised
// (bottom-right) side, the button highlight elsewhere. False for bvNone.
bool BevelColors(TBevelCut bevel, TColor& topLeft, TColor& bottomRight);
enum TPlotUnits { muPercent, muPixels };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TPlotZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
enum TPlotBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };
enum TPixelFormat { pfDevice, pf24bit };

class TCustomPlotPanel;

// ---- The plain panel ----------------------------------------------------------------------

class TCustomPanelNoCaption : public platform::InputWidget {
 public:
  explicit TCustomPanelNoCaption(QWidget* parent = nullptr);
  ~TCustomPanelNoCaption() override;

  // The panel colour (a system colour reference or RGB; clNone: transparent).
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBevelCut BevelInner() const { return bevelInner_; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  int BevelWidth() const { return bevelWidth_; }
  int BorderWidth() const { return borderWidth_; }
  void SetBevelInner(TBevelCut v);
  void SetBevelOuter(TBevelCut v);
  void SetBevelWidth(int v);  // at least 1
  void SetBorderWidth(int v);  // at least 0

  int Left() const { return x(); }
  int Top() const { return y(); }
  int Width() const { return width(); }
  int Height() const { return height(); }
  void SetLeft(int v) { move(v, y()); }
  void SetTop(int v) { move(x(), v); }
  void SetWidth(int v) { resize(std::max(0, v), height()); }
  void SetHeight(int v) { resize(width(), std::max(0, v)); }
  void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, std::max(0, width), std::max(0, height)); }

  // Marks the control for repainting (the whole client area).
  virtual void Invalidate();
  // The canvas the control draws on: the widget's painter while a paint runs, otherwise the
  // surface OffPaintCanvas gives.
  platform::Canvas& ControlCanvas();
  bool Painting() const { return paintCanvas_ != nullptr; }
  // The error of the last paint (CP932); empty after a paint that succeeded.
  const std::string& LastPaintError() const { return lastPaintError_; }

  // Loading from a stored description: the reader sets Loading before the properties and
  // calls Loaded after the whole tree.
  bool Loading() const { return loading_; }
  void SetLoading(bool on) { loading_ = on; }
  virtual void Loaded();
  bool Destroying() const { return destroying_; }

  // A new size (Qt repeats the event for a hidden widget it renders: those are no resizes).
  virtual void Resize() { InputWidget::Resized(); }
  virtual void SystemColorsChanged() { Invalidate(); }

 protected:
  // Draws the control on ControlCanvas().
  virtual void Paint() {}
  // The control's canvas outside a paint (measuring, drawing that is shown by the next
  // paint). The default is a canvas of its own over a one-pixel surface.
  virtual platform::Canvas& OffPaintCanvas();
  // Runs after every paint, when the painter's canvas is gone.
  virtual void PaintFinished() {}
  // A paint raised an exception: the subclass cleans up (the error handler hears of it after
  // the paint).
  virtual void PaintFailed() {}
  void SetDestroying() { destroying_ = true; }

  void Resized() override;
  void HandleInput(const std::function<void()>& handlers) override;
  void paintEvent(QPaintEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void ReportPaintError(const std::string& message);
  struct OffPaintSurface;

  TColor color_;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  bool loading_ = false;
  bool destroying_ = false;
  platform::Canvas* paintCanvas_ = nullptr;
  std::unique_ptr<OffPaintSurface> offPaint_;
  std::string lastPaintError_;
  QSize lastSize_;
};

// ---- Events and listeners -----------------------------------------------------------------

class TPlotEvent {
 public:
  virtual ~TPlotEvent() = default;
  TCustomPlotPanel* Sender = nullptr;
};

class TPlotMouseEvent : public TPlotEvent {
 public:
  int Kind = 0;  // 0 down, 1 up, 2 move
  TMouseButton Button = TMouseButton::mbLeft;
  TShiftState Shift = 0;
  int X = 0, Y = 0;
};

class TPlotView3DEvent : public TPlotEvent {};

class IPanelListener {
 public:
  virtual void HandlePanelEvent(TPlotEvent& event) = 0;

 protected:
  ~IPanelListener() = default;
};

// The listeners of a panel, in the order they were added (not owned: a listener removes
// itself before it goes).
class TPlotEventListeners {
 public:
  void Add(IPanelListener* listener);
  void Remove(IPanelListener* listener);
  int Count() const { return static_cast<int>(items_.size()); }
  IPanelListener* At(int index) const { return items_[static_cast<size_t>(index)]; }
  void Clear() { items_.clear(); }

 private:
  std::vector<IPanelListener*> items_;
};

using TPanelNotify = std::function<void(TCustomPlotPanel& sender)>;
using TPlotPrintEvent = std::function<void(TCustomPlotPanel& sender)>;

// ---- Zoom and panning ---------------------------------------------------------------------

// The rectangle of a mouse drag.
class TZoomPanning {
 public:
  virtual ~TZoomPanning() = default;
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  // Both corners at the point, active.
  void Activate(int x, int y);
  // Corners swapped so that X0 <= X1 and Y0 <= Y1.
  void Check();
};

class TPlotZoomPen : public TChartPen {
 public:
  explicit TPlotZoomPen(TNotify onChange = {});
};

class TPlotZoomBrush : public TChartBrush {
 public:
  explicit TPlotZoomBrush(TNotify onChange = {});
};

class TPlotZoom : public TZoomPanning {
 public:
  TPlotZoom();
  ~TPlotZoom() override;
  TPlotZoom(const TPlotZoom&) = delete;
  TPlotZoom& operator=(const TPlotZoom&) = delete;

  bool Allow() const { return allow_; }
  bool Animated() const { return animated_; }
  int AnimatedSteps() const { return animatedSteps_; }
  TPlotZoomDirection Direction() const { return direction_; }
  TShiftState KeyShift() const { return keyShift_; }
  int MinimumPixels() const { return minimumPixels_; }
  TMouseButton MouseButton() const { return mouseButton_; }
  bool UpLeftZooms() const { return upLeftZooms_; }
  void SetAllow(bool v) { allow_ = v; }
  void SetAnimated(bool v) { animated_ = v; }
  void SetAnimatedSteps(int v) { animatedSteps_ = v; }
  void SetDirection(TPlotZoomDirection v) { direction_ = v; }
  void SetKeyShift(TShiftState v) { keyShift_ = v; }
  void SetMinimumPixels(int v) { minimumPixels_ = v; }
  void SetMouseButton(TMouseButton v) { mouseButton_ = v; }
  void SetUpLeftZooms(bool v) { upLeftZooms_ = v; }

  // Created on first access (white, clear brush; white pen).
  TPlotZoomBrush& Brush();
  TPlotZoomPen& Pen();
  const TPlotZoomBrush* BrushIfAny() const { return brush_.get(); }
  const TPlotZoomPen* PenIfAny() const { return pen_.get(); }
  // Copies the given object; nullptr frees the owned one.
  void SetBrush(const TChartBrush* brush);
  void SetPen(const TChartPen* pen);

  // Every published value, the pen and the brush.
  void Assign(const TPlotZoom& source);

 private:
  bool allow_ = true;
  bool animated_ = false;
  int animatedSteps_ = 8;
  TPlotZoomDirection direction_ = tzdBoth;
  TShiftState keyShift_ = 0;
  int minimumPixels_ = 16;
  TMouseButton mouseButton_ = TMouseButton::mbLeft;
  bool upLeftZooms_ = false;
  std::unique_ptr<TPlotZoomBrush> brush_;
  std::unique_ptr<TPlotZoomPen> pen_;
};

// ---- Back image ---------------------------------------------------------------------------

// A picture with its placement; every change fires the picture's OnChange.
class TBackImage : public platform::TPicture {
 public:
  bool Inside() const { return inside_; }
  int Left() const { return left_; }
  TPlotBackImageMode Mode() const { return mode_; }
  int Top() const { return top_; }
  void SetInside(bool v);
  void SetLeft(int v);
  void SetMode(TPlotBackImageMode v);
  void SetTop(int v);
  // The four values, then the picture.
  void Assign(const TBackImage& source);
  using TPicture::Assign;

 private:
  void Notify();
  bool inside_ = false;
  int left_ = 0;
  TPlotBackImageMode mode_ = pbmStretch;
  int top_ = 0;
};

// ---- The chart panel ----------------------------------------------------------------------

class TCustomPlotPanel : public TCustomPanelNoCaption, public TView3DParent {
 public:
  explicit TCustomPlotPanel(QWidget* parent = nullptr);
  ~TCustomPlotPanel() override;

  // ---- Virtual operations in slot order ----
  // The panel colour.
  virtual TColor GetBackColor();
  // Draws the chart inside the panel bounds (nothing here).
  virtual void InternalDraw(const TRect& rect);
  // An owned pen, brush, shadow or gradient changed: repaint.
  virtual void ChildChanged();
  // Draws one frame onto `canvas` in `rect`.
  virtual void Draw(platform::Canvas& canvas, const TRect& rect);
  // The client rectangle (0, 0, Width, Height).
  virtual TRect GetPanelRect();
  // Border and bevels inside `rect`, on the front plane.
  virtual void PaintBorder(TRect rect);
  // ChartRect from the panel bounds, border, bevels and margins (unless ChartRectFixed).
  virtual void CalcChartRect();

  // ---- The change routines: store and Invalidate only when the value differs ----
  void ChangeString(std::string& field, const std::string& value);
  void ChangeDouble(double& field, double value);
  void ChangeColor(TColor& field, TColor value);
  void ChangeBoolean(bool& field, bool value);
  void ChangeInteger(int& field, int value);

  // Marks the buffer stale and the window for repainting (only while RepaintEnabled).
  void Invalidate() override;

  // ---- Properties ----
  bool RepaintEnabled() const { return repaintEnabled_; }
  void SetRepaintEnabled(bool v) { repaintEnabled_ = v; }
  // Read by the axis panel when it sizes the depth axis: each series in its own depth slot.
  bool SeriesOwnDepth() const { return seriesOwnDepth_; }
  void SetSeriesOwnDepth(bool v) { ChangeBoolean(seriesOwnDepth_, v); }
  TChartHiddenPen& Border() { return *border_; }
  const TChartHiddenPen& Border() const { return *border_; }
  void SetBorder(const TChartPen& pen) { border_->Assign(pen); }
  int BorderRound() const { return borderRound_; }
  void SetBorderRound(int v);
  bool StopMouse = false;
  const TRect& PanelBounds() const { return panelBounds_; }
  int PlotWidth() const { return plotWidth_; }
  int PlotHeight() const { return plotHeight_; }
  int PlotCenterX() const { return plotCenterX_; }
  int PlotCenterY() const { return plotCenterY_; }
  int MarginLeft() const { return margins_[0]; }
  int MarginTop() const { return margins_[1]; }
  int MarginRight() const { return margins_[2]; }
  int MarginBottom() const { return margins_[3]; }
  int Margin(int index) const { return margins_[static_cast<size_t>(index)]; }
  void SetMarginLeft(int v) { ChangeInteger(margins_[0], v); }
  void SetMarginTop(int v) { ChangeInteger(margins_[1], v); }
  void SetMarginRight(int v) { ChangeInteger(margins_[2], v); }
  void SetMarginBottom(int v) { ChangeInteger(margins_[3], v); }
  void SetMargin(int index, int v) { ChangeInteger(margins_[static_cast<size_t>(index)], v); }
  TPlotUnits MarginUnits() const { return marginUnits_; }
  void SetMarginUnits(TPlotUnits v);
  TPlotPrintEvent OnBeforePrint;
  TZoomPanning& Panning() { return *panning_; }
  bool IsPrinting = false;
  // Left, top, right, bottom.
  const std::array<int, 4>& PrintMargins() const { return printMargins_; }
  void SetPrintMargins(const std::array<int, 4>& margins) { printMargins_ = margins; }
  bool PrintProportional() const { return printProportional_; }
  void SetPrintProportional(bool v) { ChangeBoolean(printProportional_, v); }
  int PrintSetting() const { return printSetting_; }
  void SetPrintSetting(int v) { printSetting_ = v; }
  TPlotShadow& Shadow() { return *shadow_; }
  const TPlotShadow& Shadow() const { return *shadow_; }
  void SetShadow(const TPlotShadow& shadow) { shadow_->Assign(shadow); }
  bool View3D() const { return view3D_; }
  void SetView3D(bool v);
  TView3DOptions& View3DOptions() { return *view3DOptions_; }
  const TView3DOptions& View3DOptions() const { return *view3DOptions_; }
  void SetView3DOptions(const TView3DOptions& options);
  int TotalDepth = 0;
  TPlotEventListeners& Listeners() { return listeners_; }
  // The chart canvas (owned).
  TCanvas3D& Canvas() { return *canvas_; }
  bool ChartRectFixed() const { return chartRectFixed_; }
  void SetChartRectFixed(bool v) { chartRectFixed_ = v; }
  const TRect& ChartRect() const { return chartRect_; }
  void SetChartRect(const TRect& r) { chartRect_ = r; }
  bool Buffered() const { return canvas_->GetBufferedDisplay(); }
  // Switching buffering off frees the buffer; the chart canvas then draws on the control's
  // canvas (the painter during a paint, the canvas's own surface otherwise).
  void SetBuffered(bool v);
  bool Monochrome() const { return canvas_->GetMonochrome(); }
  void SetMonochrome(bool v) { canvas_->SetMonochrome(v); }

  // ---- Operations ----
  void NotifyListeners(TPlotEvent& event);
  void NotifyMouseListeners(int kind, TMouseButton button, TShiftState shift, int x, int y);
  // The brush with `color`, made visible against `backColor` when the style is not solid.
  void SetBrushCanvas(TColor color, TChartBrush& brush, TColor backColor);
  bool ClippingAllowed();
  // Adjusts ChartRect to a usable rectangle and derives PlotWidth ... PlotCenterY.
  void NormalizeChartRect();
  // Width / height in millimetres of the chart canvas's device; 0 without a height.
  double DeviceAspectRatio();
  // Copies border, border round, buffered display, print settings, margins, margin units,
  // monochrome, shadow, View3D (no event), view options and colour.
  virtual void CopyFrom(const TCustomPlotPanel& source);
  // Applies BorderRound as the widget's mask (none when BorderRound <= 0).
  void ApplyRoundBorder();
  // The cursor the control had when it was loaded (the pointer over nothing in particular).
  const QCursor& SavedCursor() const { return savedCursor_; }

  // ---- Export ----
  std::unique_ptr<platform::TMetafile> MakeMetafile(bool enhanced, const TRect& rect);
  void DrawToMetafile(platform::Canvas& metafileCanvas, const TRect& rect);
  bool WriteMetafileFile(const std::string& path, std::string* error = nullptr);
  bool WriteMetafileFileRect(bool enhanced, const std::string& path, const TRect& rect,
                             std::string* error = nullptr);
  std::unique_ptr<platform::TBitmapGraphic> MakeBitmap(TColor backColor, const TRect& rect, TPixelFormat format);
  std::unique_ptr<platform::TBitmapGraphic> MakePanelBitmap();
  bool WriteBitmapFile(const std::string& path, std::string* error = nullptr);
  bool WriteBitmapFileRect(const std::string& path, const TRect& rect, std::string* error = nullptr);
  // Draws the chart once, unbuffered, onto `canvas`; the screen buffer is kept.
  void DrawToCanvas(platform::Canvas& canvas, const TRect& rect);
  // A bitmap of the panel into the picture or graphic (false for a graphic that is no bitmap).
  bool AssignTo(platform::TPicture& picture);
  bool AssignTo(platform::TGraphic& graphic);

  // The platform's handling (events) followed by the listeners.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void DblClick() override;
  void MouseLeave() override;
  void Resize() override;
  void Loaded() override;

 protected:
  void Paint() override;
  platform::Canvas& OffPaintCanvas() override;
  void PaintFinished() override;
  void PaintFailed() override;
  // Draw(own canvas, client rectangle). An unbuffered chart (with a colour) painted on the
  // widget goes through a buffer of that paint alone: the painter cannot be read back, and
  // blends need the pixels under them.
  void DrawClient();
  // A border of `width` of the bevel kind inside `rect` (shrunk by it).
  void PaintBevel(TRect& rect, TBevelCut bevel, int width);

  TRect panelBounds_;
  TRect chartRect_;

 private:
  bool seriesOwnDepth_ = true;
  bool repaintEnabled_ = true;
  std::unique_ptr<TChartHiddenPen> border_;
  int borderRound_ = 0;
  int plotWidth_ = 0, plotHeight_ = 0, plotCenterX_ = 0, plotCenterY_ = 0;
  std::array<int, 4> margins_{3, 4, 3, 4};
  TPlotUnits marginUnits_ = muPercent;
  QCursor savedCursor_;
  std::unique_ptr<TZoomPanning> panning_;
  std::array<int, 4> printMargins_{15, 15, 15, 15};
  bool printProportional_ = true;
  int printSetting_ = 0;
  std::unique_ptr<TPlotShadow> shadow_;
  bool view3D_ = true;
  std::unique_ptr<TView3DOptions> view3DOptions_;
  TPlotEventListeners listeners_;
  bool applyingRoundBorder_ = false;
  std::unique_ptr<TPlotCanvas3D> canvas_;
  bool chartRectFixed_ = false;
};

class TCustomPlotPanelExtended : public TCustomPlotPanel {
 public:
  explicit TCustomPlotPanelExtended(QWidget* parent = nullptr);
  ~TCustomPlotPanelExtended() override;

  // The back gradient fill, or the panel colour.
  virtual void PaintBackground(const TRect& rect);
  // Shadow, background, back image (unless inside) and border.
  virtual void DrawPanel(TRect rect);
  // Fires OnUndoZoom, repaints, IsZoomed false.
  virtual void UndoZoom();

  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode v);
  // Created on first access.
  TPlotGradient& Gradient();
  const TPlotGradient* GradientIfAny() const { return gradient_.get(); }
  void SetGradient(const TCustomPlotGradient* gradient);
  TPlotZoom& Zoom() { return *zoom_; }
  const TPlotZoom& Zoom() const { return *zoom_; }
  void SetZoom(const TPlotZoom& zoom) { zoom_->Assign(zoom); }
  bool IsZoomed = false;
  TBackImage& BackImage();
  const TBackImage* BackImageIfAny() const { return backImage_.get(); }
  void SetBackImage(const TBackImage* image);
  // False without a graphic.
  bool BackImageInside();
  void SetBackImageInside(bool v) { BackImage().SetInside(v); }
  TPlotBackImageMode BackImageMode() { return BackImage().Mode(); }
  void SetBackImageMode(TPlotBackImageMode v) { BackImage().SetMode(v); }
  // The graphic's transparency; false without a graphic.
  bool BackImageTransp();
  void SetBackImageTransp(bool v);
  TPanelNotify OnAfterDraw, OnScroll, OnUndoZoom, OnZoom;

  // The back image into `rect` at `depth` (0: the panel's plane).
  void PaintBackImage(const TRect& rect, int depth);
  // The zoom rectangle of the drag state, inverted over what is drawn.
  void PaintZoomRectangle();

  void CopyFrom(const TCustomPlotPanel& source) override;

 private:
  TPanningMode allowPanning_ = pmBoth;
  std::unique_ptr<TPlotGradient> gradient_;
  std::unique_ptr<TPlotZoom> zoom_;
  std::unique_ptr<TBackImage> backImage_;
};

}  // namespace chart
