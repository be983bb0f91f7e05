// The canvas: pen, brush and font objects with properties over a device context, as the
// program's drawing code works with them (the device context underneath does the drawing).
// Colours are program colour values (COLORREF or system colour, dc.h). Changing a property
// marks the object for re-selection before the next operation that needs it; the brush also
// sets the background: a solid brush makes text and dashed lines opaque in its colour, any
// other style makes them transparent. Setting a font property rebuilds the font from its
// properties (name, height, style, character set, pitch, orientation) with a natural width;
// SetLogFont selects a complete logical font, kept until the next property change.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dc.h"

namespace platform {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame, UserStyle, Alternate };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
enum class FontPitch { Default, Variable, Fixed };
constexpr int fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

class Canvas;

class CanvasPen {
 public:
  uint32_t Color() const { return color_; }
  int Width() const { return width_; }
  PenStyle Style() const { return style_; }
  int Mode() const { return mode_; }  // R2_* code
  void SetColor(uint32_t c);
  void SetWidth(int w);
  void SetStyle(PenStyle s);
  void SetMode(int rop2);
  LogPen ToLogPen() const;

 private:
  friend class Canvas;
  uint32_t color_ = 0;
  int width_ = 1;
  PenStyle style_ = PenStyle::Solid;
  int mode_ = R2_COPYPEN;
  bool* dirty_ = nullptr;
};

class CanvasBrush {
 public:
  uint32_t Color() const { return color_; }
  BrushStyle Style() const { return style_; }
  const std::shared_ptr<const Dib>& Bitmap() const { return bitmap_; }
  void SetColor(uint32_t c);
  void SetStyle(BrushStyle s);
  // A pattern bitmap replaces colour and style while it is set.
  void SetBitmap(std::shared_ptr<const Dib> bitmap);
  LogBrush ToLogBrush() const;

 private:
  friend class Canvas;
  uint32_t color_ = 0xFFFFFF;
  BrushStyle style_ = BrushStyle::Solid;
  std::shared_ptr<const Dib> bitmap_;
  bool* dirty_ = nullptr;
};

class CanvasFont {
 public:
  CanvasFont();
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
  void SetColor(uint32_t c) { color_ = c; }
  void SetCharset(int cs);
  void SetOrientation(int tenths);
  void SetPitch(FontPitch p);
  void SetPixelsPerInch(int ppi) { ppi_ = ppi > 0 ? ppi : kReferenceDpi; }
  const LogFont& GetLogFont() const { return lf_; }
  void SetLogFont(const LogFont& lf);

 private:
  friend class Canvas;
  void Rebuild();
  LogFont lf_;
  uint32_t color_ = SystemColor(COLOR_WINDOWTEXT);
  int orientation_ = 0;
  int ppi_ = kReferenceDpi;
  FontPitch pitch_ = FontPitch::Default;
  bool* dirty_ = nullptr;
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

  // Selects pen, brush and font into the context where they changed (the drawing operations
  // above do this themselves; code that draws on Dc() directly calls it first).
  void RealizePen();
  void RealizeBrush();
  void RealizeFont();

 private:
  DeviceContext& dc_;
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
  bool penDirty_ = true, brushDirty_ = true, fontDirty_ = true;
};

}  // namespace platform
