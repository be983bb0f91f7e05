// The canvas: pen, brush and font objects with properties over a device context, as the
// program's drawing code works with them (the device context underneath does the drawing).
// Colours are program colour values (COLORREF or system colour, dc.h).
//
// Change notification: a pen, brush or font calls its owner's OnChange after each change of a
// property; a setter given the value the property already has changes nothing and calls nothing.
// Classes that add properties (the chart's pens, brushes and fonts) notify through Changed().
// Every change also advances the object's change count.
//
// Realisation: before an operation that needs them the canvas selects its pen, brush and font
// into the device context when the object changed since the canvas last selected it (its change
// count) or when the context holds another one (someone drew on Dc() directly, or restored a
// saved state). So drawing directly on the device context between canvas calls never leaves a
// stale object selected, and the canvas needs no notification of its own objects: an owner may
// take OnChange over. Selecting the brush also sets the background: a solid brush makes text and
// dashed lines opaque in its colour, any other style makes them transparent. Setting a font
// property rebuilds the font from its properties (name, height, style, character set, pitch,
// orientation) with a natural width; SetLogFont selects a complete logical font, kept until the
// next property change. SetLogPen likewise selects a complete logical pen (geometric pens with
// end cap, join and user style), kept until the next property change of the pen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc.h"

namespace platform {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame, UserStyle, Alternate };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
enum class FontPitch { Default, Variable, Fixed };
constexpr int fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

class Canvas;

// What pens, brushes and fonts share: the owner's change notification and the change count.
class CanvasObject {
 public:
  CanvasObject() = default;
  // A copy has the same properties but no owner and a change count of its own.
  CanvasObject(const CanvasObject&) {}
  CanvasObject& operator=(const CanvasObject&) = delete;
  virtual ~CanvasObject() = default;

  std::function<void(CanvasObject& sender)> OnChange;
  uint64_t ChangeCount() const { return changes_; }

 protected:
  // Advances the change count and notifies the owner.
  void Changed();

 private:
  uint64_t changes_ = 0;
};

class CanvasPen : public CanvasObject {
 public:
  uint32_t Color() const { return color_; }
  int Width() const { return width_; }
  PenStyle Style() const { return style_; }
  int Mode() const { return mode_; }  // R2_* code
  void SetColor(uint32_t c);
  void SetWidth(int w);  // a negative width is 1
  void SetStyle(PenStyle s);
  void SetMode(int rop2);
  // Takes the other pen's properties (one notification when any differs).
  void Assign(const CanvasPen& other);
  // A complete logical pen: colour, width and style follow it (the mode stays).
  void SetLogPen(const LogPen& pen);
  LogPen ToLogPen() const;

 private:
  // Runs `change` on the properties and notifies when the pen differs afterwards.
  template <class F>
  void Update(F change);
  std::optional<LogPen> logPen_;
  uint32_t color_ = 0;
  int width_ = 1;
  PenStyle style_ = PenStyle::Solid;
  int mode_ = R2_COPYPEN;
};

class CanvasBrush : public CanvasObject {
 public:
  uint32_t Color() const { return color_; }
  BrushStyle Style() const { return style_; }
  const std::shared_ptr<const Dib>& Bitmap() const { return bitmap_; }
  void SetColor(uint32_t c);
  void SetStyle(BrushStyle s);
  // A pattern bitmap replaces colour and style while it is set; any new bitmap object counts
  // as a change.
  void SetBitmap(std::shared_ptr<const Dib> bitmap);
  void Assign(const CanvasBrush& other);
  LogBrush ToLogBrush() const;

 private:
  uint32_t color_ = 0xFFFFFF;
  BrushStyle style_ = BrushStyle::Solid;
  std::shared_ptr<const Dib> bitmap_;
};

class CanvasFont : public CanvasObject {
 public:
  CanvasFont();
  CanvasFont(const CanvasFont&) = default;
  const std::string& Name() const { return lf_.faceName; }
  int Height() const { return lf_.height; }
  int Size() const;  // points
  int Style() const;  // fs* flags
  uint32_t Color() const { return color_; }
  int Charset() const { return lf_.charSet; }
  int Orientation() const { return orientation_; }
  int PixelsPerInch() const { return ppi_; }
  FontPitch Pitch() const { return pitch_; }
  void SetName(const std::string& cp932);
  void SetHeight(int h);
  void SetSize(int points);
  void SetStyle(int flags);
  void SetColor(uint32_t c);
  void SetCharset(int cs);
  void SetOrientation(int tenths);
  void SetPitch(FontPitch p);
  // The scale between Size and Height; changes neither, so it is no change of the font.
  void SetPixelsPerInch(int ppi) { ppi_ = ppi > 0 ? ppi : kReferenceDpi; }
  const LogFont& GetLogFont() const { return lf_; }
  void SetLogFont(const LogFont& lf);
  // Takes the other font's properties, its pixels per inch included.
  void Assign(const CanvasFont& other);

 private:
  // Runs `change` on the properties and notifies when they differ afterwards.
  template <class F>
  void Update(F change);
  void Rebuild();
  LogFont lf_;
  uint32_t color_ = SystemColor(COLOR_WINDOWTEXT);
  int orientation_ = 0;
  int ppi_ = kReferenceDpi;
  FontPitch pitch_ = FontPitch::Default;
};

class Canvas {
 public:
  explicit Canvas(DeviceContext& dc);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  DeviceContext& Dc() { return dc_; }
  CanvasPen& Pen() { return pen_; }
  CanvasBrush& Brush() { return brush_; }
  CanvasFont& Font() { return font_; }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  Point PenPos() const { return dc_.State().pos; }
  void Polyline(const std::vector<Point>& points);
  void Polygon(const std::vector<Point>& points);
  void Rectangle(int x1, int y1, int x2, int y2);
  void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void FillRect(const Rect& r);   // with the brush, no outline
  void FrameRect(const Rect& r);  // a one-pixel frame in the brush colour
  // Text (CP932) at (x, y) with the font; afterwards the pen position is at its end.
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const Rect& r, int x, int y, const std::string& text);  // clipped to r
  Size TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void StretchDraw(const Rect& r, const Dib& picture);
  void Draw(int x, int y, const Dib& picture);
  ColorRef Pixel(int x, int y) const { return dc_.GetPixel(x, y); }
  void SetPixel(int x, int y, uint32_t color) { dc_.SetPixel(x, y, ColorToRgb(color)); }
  // The clip region's bounds, or the whole surface.
  Rect ClipRect() const;

  // Selects pen, brush and font into the context where they changed or the context holds
  // others (the drawing operations above do this themselves; code that draws on Dc() with the
  // canvas's objects calls it first). RealizeFont also sets the text colour.
  void RealizePen();
  void RealizeBrush();
  void RealizeFont();

 private:
  static constexpr uint64_t kNeverSelected = ~uint64_t{0};
  DeviceContext& dc_;
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
  // The change counts of the objects when the canvas last selected them.
  uint64_t penSelected_ = kNeverSelected, brushSelected_ = kNeverSelected, fontSelected_ = kNeverSelected;
};

}  // namespace platform
