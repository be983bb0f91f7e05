// The Qt back end of the device context: QPainter on a QImage (screen buffers, bitmaps) or
// on any paint device given with its painter (printer pages), and the Qt font engine.
//
// Geometry is drawn without antialiasing, with the Windows pixel rules on raster targets:
// one-pixel lines are rasterised here (Bresenham, dash styles continued along polylines,
// the end point left out) and drawn as pixels, so raster operations such as the inverting
// pen touch each pixel once; rectangles leave their right and bottom edge unpainted; hatch
// brushes are 8 x 8 patterns aligned to the device origin. On vector targets (PDF, printers)
// one-pixel lines are drawn as hairlines, lines and shapes with a mix mode other than copy are
// drawn as copies, raster operations that combine with the page are not carried out (PatBlt and
// StretchDIBits answer false), and AlphaBlend draws with the painter's opacity.
#pragma once

#include <memory>
#include <unordered_map>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "platform/dc.h"

namespace platform {

// Fonts from logical fonts: the face through SubstituteFace, a negative height as the em
// size in pixels, a positive one as the cell height, a width as a horizontal stretch of the
// natural average character width, no hinting (the same advances on every device).
class QtFontEngine final : public FontEngine {
 public:
  TextMetrics Metrics(const LogFont& font) override;
  std::vector<int> Advances(const LogFont& font, std::u16string_view text) override;
  QFont MakeFont(const LogFont& font);

  // The engine shared by the program (needs a QGuiApplication).
  static QtFontEngine& Instance();

 private:
  struct Entry {
    QFont font;
    TextMetrics metrics;
    std::unordered_map<char16_t, int> advances;
  };
  Entry& Lookup(const LogFont& font);
  std::vector<std::pair<LogFont, std::unique_ptr<Entry>>> cache_;
};

// Installs the Qt font engine as the current one when the built-in estimate is installed.
void EnsureQtFontEngine();

// Qt keeps an image of every glyph it draws from a font of up to 64 pixels, at the glyph's
// stretched width, for as long as the font lives. Text in such a font stretched beyond 128
// pixels a character is drawn as glyph outlines instead, so that a widened font costs no
// memory per character drawn (larger fonts Qt draws as outlines itself).
bool GlyphsDrawnAsOutlines(const QFont& font);
// A character no font has is drawn by Qt as a box from an engine whose images it keeps at any
// size, so one such character in a font of thousands of pixels would cost an image that large,
// and each further one more. In a font larger than the 64 pixels Qt keeps images for, such a
// character is drawn as its outline too.
bool MissingGlyphOfALargeFont(const QFont& font, const QFontMetricsF& metrics, char16_t c);
// Qt dashes a curve by first cutting the whole of it into line segments, whatever part of it
// shows: a dashed ellipse or arc millions of pixels across costs seconds and hundreds of
// megabytes. A curve (or path) wider or higher than 65,536 pixels, more than any device this
// draws on has, is stroked with its pen made solid.
bool DashesKeptOnCurve(const QRectF& extent);

class QtDc final : public DeviceContext {
 public:
  // Draws on `image` (kept in RGB32 form) with its own painter; 96 dpi.
  explicit QtDc(QImage& image);
  // Draws with `painter` (already active on its device); `raster` selects the pixel rules.
  QtDc(QPainter& painter, const DeviceCaps& caps, bool raster);
  ~QtDc() override;

  QPainter& Painter() { return *p_; }

  void SelectClipRegion(const Region* region, int mode = RGN_COPY) override;
  void IntersectClipRect(const Rect& r) override;
  void ExcludeClipRect(const Rect& r) override;
  bool RestoreDC(int level) override;

  void LineTo(int x, int y) override;
  void Polyline(const std::vector<Point>& points) override;
  void Polygon(const std::vector<Point>& points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void Pie(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void Chord(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void ExtTextOut(int x, int y, uint32_t options, const Rect* rect, std::u16string_view text,
                  const std::vector<int>* dx = nullptr) override;
  bool PatBlt(const Rect& r, uint32_t rop) override;
  bool StretchDIBits(const Rect& dest, const Rect& src, const Dib& dib, uint32_t rop = SRCCOPY) override;
  bool Native(DcFeature feature) const override;
  bool AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha) override;
  void SetPixel(int x, int y, ColorRef color) override;
  ColorRef GetPixel(int x, int y) const override;
  bool GetBits(const Rect& r, Dib& out) const override;
  // From another raster image context the source image is drawn straight onto this surface;
  // other sources (and a source rectangle reaching beyond its image) go the bitmap way.
  bool BitBlt(const Rect& dest, const DeviceContext& source, int sx, int sy, uint32_t rop = SRCCOPY) override;
  // Draws with the Windows pixel rules (a raster target).
  bool PixelRules() const { return raster_; }
  void MoveTo(int x, int y) override;
  void ArcTo(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void BeginPath() override;
  void CloseFigure() override;
  void WidenPath() override;
  void StrokePath() override;
  void FillPath() override;
  void StrokeAndFillPath() override;
  void SelectClipPath(int mode) override;

 private:
  void UsePath(bool stroke, bool fill);
  QPen OutlinePen() const;
  // The outline pen for a curve or path of that extent (solid where dashes are not kept).
  QPen CurvePen(const QRectF& extent) const;
  QPainterPath path_;
  enum class ArcKind { Arc, Pie, Chord };
  void Prepare();
  bool SetRop(int rop2);  // false: draw nothing (R2_NOP)
  void SetComposition(QPainter::CompositionMode mode);
  QColor PenColor() const;
  QBrush MakeBrush() const;
  bool HasBrush() const { return state_.brush.style != BS_NULL; }
  bool HasPen() const { return state_.pen.Kind() != PS_NULL; }
  QPen WidePen() const;
  void ThinPolyline(const std::vector<Point>& points, bool closed);
  // The part of the target that drawing can show: the target's area within the bounds of the
  // clip region, widened by `margin` on every side; empty when nothing can show.
  Rect DrawBox(int margin) const;
  // Strokes the lines through `points` (closed: back to the first point; `rect`: the same
  // figure as a rectangle) with `pen`. Lines reaching beyond the box are cut to it first, so
  // the stroker's work follows the target's size, not the coordinates; dashes keep their
  // phase along the lines.
  void StrokeClipped(const std::vector<QPointF>& points, bool closed, const QPen& pen, const QRectF* rect);
  void FillRects(const std::vector<Rect>& rects, const QBrush& brush);
  void ArcShape(ArcKind kind, int l, int t, int r, int b, int xs, int ys, int xe, int ye);

  // Draws `image` into `dest` with the raster operation `rop` (SRCCOPY, SRCAND, SRCPAINT or
  // SRCINVERT; false where the surface cannot combine).
  bool DrawImage(const Rect& dest, const QImage& image, uint32_t rop);

  QImage* image_ = nullptr;
  // The bitmap StretchDIBits draws, kept between calls so that its memory is reused.
  QImage bits_;
  std::unique_ptr<QPainter> own_;
  QPainter* p_ = nullptr;
  bool raster_ = true;
  bool clipDirty_ = true;
};

// The logical font that draws like `font`: its family as the face, its pixel size as the em
// height, its weight, slant and lines.
LogFont LogFontOf(const QFont& font);

// A QImage's pixel as COLORREF, and back.
ColorRef QRgbToColorRef(QRgb rgb);
QColor ColorRefToQColor(ColorRef c);

// A QImage as a Dib and back (RGB32; the Dib's pixel order is that of dc.h). `part` (clipped to
// the bitmap) picks a rectangle of it.
Dib DibFromImage(const QImage& image);
QImage ImageFromDib(const Dib& dib);
QImage ImageFromDib(const Dib& dib, const Rect& part);

}  // namespace platform
