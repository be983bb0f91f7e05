// The chart canvas: the one drawing surface every part of the chart library draws through.
//
// `TPlotCanvas` is abstract: virtual slots 0 to 47 hold the 2D operations (colours and
// modes, pens, brushes and fonts, shapes, texts, clips, gradients and blends); the 3D half is
// `TCanvas3D` (canvas3d.h), and `TPlotCanvas3D` implements both on a platform canvas over a
// device context. Nothing here calls a painter directly: every pixel goes through the device
// context, so a metafile records exactly what the screen shows.
//
// Units: logical units are device units. Points are integers, rectangles (left, top, right,
// bottom) with the right and bottom edges exclusive, as on the device context. Texts are
// CP932 (UTF-16 for the wide measures).
//
// The chart's pens, brushes and fonts (`TChartPen`, `TChartBrush`, `TPlotFont`) derive from
// the platform canvas objects and add what the chart needs; each notifies its owner through
// a change callback when a setter changes a value.
//
// Clips: every clip saves the clip it narrows on a stack of the canvas and `Unclip` brings
// back the last one saved, so nested clips unwind in order and a clip the device context had
// before the first one comes back at the end. `Unclip` on an empty stack does nothing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "chart/types.h"
#include "platform/dc_canvas.h"
#include "platform/picture.h"

namespace chart {

class TPlotShadow;
class TPlotFontGradient;
class TPlotBlend;

using TNotify = std::function<void()>;

// ---- Pens ---------------------------------------------------------------------------------

enum TPenEndStyle { esRound, esSquare, esFlat };

// Chart pens, brushes and fonts notify through the platform object's OnChange; the
// constructors take the owner's notification in the chart's form.
std::function<void(platform::CanvasObject&)> OwnerNotify(TNotify onChange);

class TChartPen : public platform::CanvasPen {
 public:
  explicit TChartPen(TNotify onChange = {});
  TChartPen(const TChartPen&) = delete;
  TChartPen& operator=(const TChartPen&) = delete;

  bool Visible() const { return visible_; }
  bool SmallDots() const { return smallDots_; }
  int SmallSpace() const { return smallSpace_; }
  TPenEndStyle EndStyle() const { return endStyle_; }
  void SetVisible(bool v);
  void SetSmallDots(bool v);
  void SetSmallSpace(int v);
  void SetEndStyle(TPenEndStyle v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // Visible, SmallDots, SmallSpace and EndStyle, then the platform pen's properties.
  void Assign(const TChartPen& source);
  using CanvasPen::Assign;

  // Stored in a form only when they differ from the creation defaults.
  bool IsVisibleStored() const { return visible_ != defaultVisible_; }
  bool IsEndStyleStored() const { return endStyle_ != defaultEndStyle_; }
  bool DefaultVisible() const { return defaultVisible_; }
  TPenEndStyle DefaultEndStyle() const { return defaultEndStyle_; }
  // An owner whose pen starts with another end style makes it the stored default too.
  void SetDefaultEndStyle(TPenEndStyle style) { defaultEndStyle_ = style; }

 protected:
  bool defaultVisible_ = true;
  TPenEndStyle defaultEndStyle_ = esRound;

 private:
  bool visible_ = true;
  bool smallDots_ = false;
  int smallSpace_ = 0;
  TPenEndStyle endStyle_ = esRound;
};

// Hidden at creation (and by default in forms).
class TChartHiddenPen : public TChartPen {
 public:
  explicit TChartHiddenPen(TNotify onChange = {});
};
// Grey dots.
class TDottedGrayPen : public TChartPen {
 public:
  explicit TDottedGrayPen(TNotify onChange = {});
};
class TDarkGrayPen : public TChartPen {
 public:
  explicit TDarkGrayPen(TNotify onChange = {});
};
class TWhitePen : public TChartPen {
 public:
  explicit TWhitePen(TNotify onChange = {});
};

// ---- Brushes ------------------------------------------------------------------------------

class TChartBrush : public platform::CanvasBrush {
 public:
  explicit TChartBrush(TNotify onChange = {});
  TChartBrush(const TChartBrush&) = delete;
  TChartBrush& operator=(const TChartBrush&) = delete;

  // The picture that fills instead of colour and style while it holds a graphic; created on
  // first access, sharing the brush's notification. SetImage copies the given picture
  // (nullptr frees it); every assignment notifies.
  platform::TPicture& Image();
  bool HasImage() const { return image_ != nullptr; }
  void SetImage(const platform::TPicture* picture);
  // The image's graphic as a pattern bitmap; nullptr without a graphic.
  std::shared_ptr<const platform::Dib> ImageBitmap() const;
  // The image, then the platform brush's properties.
  void Assign(const TChartBrush& source);
  using CanvasBrush::Assign;

 private:
  std::unique_ptr<platform::TPicture> image_;
  mutable std::shared_ptr<const platform::Dib> imageBitmap_;
};

// A graphic as a bitmap of its own size (a metafile drawn on white).
platform::Dib GraphicBitmap(const platform::TGraphic& graphic);

// ---- Fonts --------------------------------------------------------------------------------

// The chart's default font, set by the canvas unit's start-up: the platform canvas's default
// face and size ("ＭＳ Ｐゴシック", 9 points), which replace the English default "Arial", 8 on a
// Japanese system as this platform is.
const std::string& DefaultChartFontName();
int DefaultChartFontSize();

class TPlotFont : public platform::CanvasFont {
 public:
  explicit TPlotFont(TNotify onChange = {});
  ~TPlotFont() override;
  TPlotFont(const TPlotFont&) = delete;
  TPlotFont& operator=(const TPlotFont&) = delete;

  // Extra pixels between characters.
  int InterCharSize() const { return interCharSize_; }
  void SetInterCharSize(int v);

  // Sub-objects created on first access, sharing the font's change notification; the
  // setters copy the given object (nullptr frees it).
  TChartHiddenPen& OutLine();
  TPlotShadow& Shadow();
  TPlotFontGradient& Gradient();
  const TChartHiddenPen* OutLineIfAny() const { return outLine_.get(); }
  const TPlotShadow* ShadowIfAny() const { return shadow_.get(); }
  const TPlotFontGradient* GradientIfAny() const { return gradient_.get(); }
  void SetOutLine(const TChartPen* pen);
  void SetShadow(const TPlotShadow* shadow);
  void SetGradient(const TPlotFontGradient* gradient);

  // The platform font's properties, the character spacing and the sub-objects.
  void Assign(const TPlotFont& source);
  using CanvasFont::Assign;

  // Written to a form only when they differ from the defaults.
  bool IsNameStored() const;
  bool IsHeightStored() const;
  bool IsStyleStored() const { return Style() != 0; }
  bool IsColorStored() const { return Color() != clBlack; }

 private:
  int interCharSize_ = 0;
  std::unique_ptr<TChartHiddenPen> outLine_;
  std::unique_ptr<TPlotShadow> shadow_;
  std::unique_ptr<TPlotFontGradient> gradient_;
};

// ---- The canvas ---------------------------------------------------------------------------

// Background modes of slot 9.
constexpr int cbmTransparent = platform::TRANSPARENT, cbmOpaque = platform::OPAQUE;

// The gradient directions (effects.h paints them; the canvas fills them in slot 41).
enum TGradientDirection {
  gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft,
  gdRadial, gdDiagonalUp, gdDiagonalDown
};

class TPlotCanvas {
 public:
  TPlotCanvas();
  virtual ~TPlotCanvas();
  TPlotCanvas(const TPlotCanvas&) = delete;
  TPlotCanvas& operator=(const TPlotCanvas&) = delete;

  // ---- Slots 0 to 47 ----
  virtual platform::ColorRef GetBackColor() = 0;                              // 0
  virtual int GetBackMode() = 0;                                              // 1
  virtual platform::DeviceContext& GetHandle() = 0;                           // 2
  virtual bool GetMonochrome() = 0;                                           // 3
  virtual platform::ColorRef GetPixel(int x, int y) = 0;                      // 4
  virtual bool IsFull3D() = 0;                                                // 5
  virtual uint32_t GetTextAlign() = 0;                                        // 6
  virtual bool GetBufferedDisplay() = 0;                                      // 7
  virtual void SetBackColor(TColor color) = 0;                                // 8
  virtual void SetBackMode(int mode) = 0;                                     // 9
  virtual void SetMonochrome(bool on) = 0;                                    // 10
  virtual void SetPixel(int x, int y, TColor color) = 0;                      // 11
  virtual void SetTextAlign(uint32_t flags) = 0;                              // 12
  virtual void SetBufferedDisplay(bool on) = 0;                               // 13
  virtual void SelectPenColor(const TChartPen& pen, TColor color);            // 14
  virtual std::unique_ptr<TPlotBlend> BeginBlend(const TRect& rect, int transparency);  // 15
  virtual void EndBlend(std::unique_ptr<TPlotBlend> blend);                   // 16
  virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;  // 17
  virtual void DrawRingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle,
                              int holePercent) = 0;                          // 18
  virtual void DrawGraphic(int x, int y, const platform::TGraphic* graphic) = 0;  // 19
  virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;              // 20
  virtual void FillRect(const TRect& rect) = 0;                              // 21
  virtual void DrawBevelFrame(TRect rect, TColor topLeft, int width, TColor bottomRight);  // 22
  virtual void LineTo(int x, int y) = 0;                                     // 23
  virtual void MoveTo(int x, int y) = 0;                                     // 24
  virtual void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;  // 25
  virtual void DrawRectangle(int x0, int y0, int x1, int y1) = 0;            // 26
  virtual void DrawRoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) = 0;  // 27
  virtual void StretchGraphic(const TRect& rect, const platform::TGraphic* graphic) = 0;    // 28
  virtual void DrawText2D(int x, int y, const std::string& text) = 0;        // 29
  virtual int TextWidth(const std::string& text);                            // 30
  virtual int TextHeight(const std::string& text);                           // 31
  virtual int WideTextWidth(const std::u16string& text);                     // 32
  virtual int WideTextHeight(const std::u16string& text);                    // 33
  virtual void ClipRectangle(const TRect& rect) = 0;                         // 34
  virtual void ClipRoundRect(const TRect& rect, int corner);                 // 35
  virtual void ClipEllipse(const TRect& rect, bool exclude);                 // 36
  virtual void ClipPolygon(std::span<const TPoint> points);                  // 37
  virtual void DrawHorizLine(int x0, int x1, int y) = 0;                     // 38
  virtual void DrawVertLine(int x, int y0, int y1) = 0;                      // 39
  virtual void EraseRect(const TRect& rect) = 0;                             // 40
  virtual void GradientFill(const TRect& rect, TColor colorA, int balance, TGradientDirection direction,
                            TColor colorB) = 0;                              // 41
  virtual void Invalidate() = 0;                                             // 42
  virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;                 // 43
  virtual void DrawPolyline(std::span<const TPoint> points) = 0;             // 44
  virtual void DrawPolygon(std::span<const TPoint> points) = 0;              // 45
  virtual void DrawRotatedText(int x, int y, const std::string& text, double angle) = 0;  // 46
  virtual void Unclip();                                                     // 47

  // ---- Binding and state ----
  // Binds to `canvas` (not owned); its pen, brush and font become the ones drawn with, and
  // their owner notification is cleared. Binding another canvas forgets the saved clips,
  // which belong to the device context they were taken from.
  void SetCanvas(platform::Canvas* canvas);
  platform::Canvas* ReferenceCanvas() const { return canvas_; }
  platform::CanvasPen& Pen() { return canvas_->Pen(); }
  platform::CanvasBrush& Brush() { return canvas_->Brush(); }
  platform::CanvasFont& Font() { return canvas_->Font(); }

  // Pen black, width 1, solid; brush white, solid; font black, plain, default character set,
  // default name and size; no blend, no selected chart font; background white and
  // transparent; text aligned left-top.
  void ResetDrawingState();

  // A platform pen (not a chart pen) with a colour: the pen's properties, the colour and the
  // thin-dash rule.
  void SelectPenColor(const platform::CanvasPen& pen, TColor color);
  void SelectPen(const TChartPen& pen) { SelectPenColor(pen, pen.Color()); }
  void SelectPen(const platform::CanvasPen& pen) { SelectPenColor(pen, pen.Color()); }
  void SelectBrush(const TChartBrush& brush, TColor color);
  void SelectBrushColor(const TChartBrush& brush, TColor color, TColor backColor);
  void SelectFont(TPlotFont& font);
  TPlotFont* SelectedFont() const { return selectedFont_; }

  int TextHeightW() { return TextHeight("W"); }

  void DrawRectangleR(const TRect& r) { DrawRectangle(r.left, r.top, r.right, r.bottom); }
  void DrawEllipseR(const TRect& r) { DrawEllipse(r.left, r.top, r.right, r.bottom); }
  void DrawRoundRectR(const TRect& r, int cornerX, int cornerY) {
    DrawRoundRect(r.left, r.top, r.right, r.bottom, cornerX, cornerY);
  }
  void DrawLineBetween(TPoint a, TPoint b) { DrawLine(a.x, a.y, b.x, b.y); }
  // With `html` the text is drawn by the HTML text renderer (when one is installed), else by
  // DrawText2D.
  void DrawTextMaybeHtml(int x, int y, bool html, const std::string& text);

  // The colour with R, G and B lowered by `amount` (not below 0) becomes the background colour
  // when the brush is not solid, else the brush colour.
  void ApplyDark(TColor color, int amount);
  // The colour with R, G and B lowered by `amount` (not below 0).
  static TColor Darken(TColor color, int amount);
  // The colour with R, G and B raised by `amount` (at most 255).
  static TColor Brighten(TColor color, int amount);

  // Drawing into a metafile (blends are skipped).
  bool Metafiling() const { return metafiling_; }
  void SetMetafiling(bool on) { metafiling_ = on; }
  // The transparency of the blend in progress.
  int BlendTransparency() const { return blendTransparency_; }
  // The frame's drawing area.
  const TRect& Bounds() const { return bounds_; }
  void SetBounds(const TRect& r) { bounds_ = r; }
  // Percent applied to font sizes by SelectFont.
  double FontZoom() const { return fontZoom_; }
  void SetFontZoom(double percent) { fontZoom_ = percent; }

  // The number of clips that Unclip can still undo.
  size_t ClipDepth() const { return savedClips_.size(); }

 protected:
  platform::DeviceContext& Dc() { return canvas_->Dc(); }
  // Saves the current clip and intersects it with `region` (device units).
  void PushClip(const platform::Region& region);
  // Saves the current clip (for a clip the caller selects itself).
  void SaveClip();
  // The text rectangle of `text` at (x, y) by the device context's alignment.
  TRect TextRectangle(int x, int y, const std::u16string& text);

  platform::Canvas* canvas_ = nullptr;
  bool metafiling_ = false;
  int blendTransparency_ = 0;
  TRect bounds_;
  TPlotFont* selectedFont_ = nullptr;
  double fontZoom_ = 100;

 private:
  std::vector<std::optional<platform::Region>> savedClips_;
};

// The HTML text renderer installs its drawing here (nullptr removes it).
using THtmlTextDrawer = void (*)(TPlotCanvas& canvas, int x, int y, const std::string& text);
void SetHtmlTextDrawer(THtmlTextDrawer drawer);

// ---- Geometry helpers ---------------------------------------------------------------------

// True when the turn p0 -> p1 -> p2 shows the back of a face.
bool IsBackFacing(TPoint p0, TPoint p1, TPoint p2);
bool IsBackFacingPoints(std::span<const TPoint> points);
inline TPoint MakePoint(int x, int y) { return TPoint{x, y}; }
inline TRect MakeRect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
// Inclusive on all four edges.
bool PointInRect(const TRect& rect, int x, int y);
TRect NormalizeRect(TRect rect);
void RectSize(const TRect& rect, int& width, int& height);
TPoint CenterOfRect(const TRect& rect);
// The bounds of the points, right and bottom one past the largest coordinates.
TRect PolygonBounds(std::span<const TPoint> points);
void ExchangeDoubles(double& a, double& b);
void ExchangeIntegers(int& a, int& b);
double Hypotenuse(double a, double b);
void RGBBytes(TColor color, uint8_t& r, uint8_t& g, uint8_t& b);
// The convex hull of the points, in place: false (and nothing changed) for fewer than three
// points; three points stay as they are.
bool ConvexHull(std::vector<TPoint>& points);

// ---- Unit ---------------------------------------------------------------------------------

// Program-wide switches read by the canvas: thin dashed pens drawn with width 0, and the
// quality of rotated fonts (4, antialiased).
extern bool ThinDashPens;
extern int RotatedTextQuality;

// Counted start-up (the default font) and shut-down.
void PlotCanvasStartup();
void PlotCanvasShutdown();

}  // namespace chart
