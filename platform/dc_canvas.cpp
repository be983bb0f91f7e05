// The canvas over a device context.
#include "platform/dc_canvas.h"

#include <cmath>
#include <limits>

#include "platform/cp932.h"
#include "platform/round.h"

namespace platform {

namespace {

// A font's height in points and in pixels have opposite signs; the one int without a negation
// (from a size near the int range in a read file) becomes the largest height instead.
int NegatedHeight(int value) { return value == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -value; }

}  // namespace

void CanvasObject::Changed() {
  ++changes_;
  if (OnChange) OnChange(*this);
}

// ---- Pen --------------------------------------------------------------------------------

template <class F>
void CanvasPen::Update(F change) {
  const LogPen before = ToLogPen();
  const int mode = mode_;
  change();
  if (!(ToLogPen() == before) || mode_ != mode) Changed();
}

void CanvasPen::SetColor(uint32_t c) {
  if (c == color_ && !logPen_) return;
  Update([&] {
    color_ = c;
    logPen_.reset();
  });
}
void CanvasPen::SetWidth(int w) {
  if (w < 0) w = 1;
  if (w == width_ && !logPen_) return;
  Update([&] {
    width_ = w;
    logPen_.reset();
  });
}
void CanvasPen::SetStyle(PenStyle s) {
  if (s == style_ && !logPen_) return;
  Update([&] {
    style_ = s;
    logPen_.reset();
  });
}
void CanvasPen::SetMode(int rop2) {
  if (rop2 == mode_) return;
  mode_ = rop2;
  Changed();
}
void CanvasPen::Assign(const CanvasPen& o) {
  Update([&] {
    color_ = o.color_;
    width_ = o.width_;
    style_ = o.style_;
    mode_ = o.mode_;
    logPen_ = o.logPen_;
  });
}
void CanvasPen::SetLogPen(const LogPen& pen) {
  Update([&] {
    logPen_ = pen;
    color_ = pen.color;
    width_ = pen.width;
    const uint32_t kind = pen.Kind();
    style_ = kind <= PS_ALTERNATE ? static_cast<PenStyle>(kind) : PenStyle::Solid;
  });
}

LogPen CanvasPen::ToLogPen() const {
  if (logPen_) return *logPen_;
  LogPen p;
  p.style = static_cast<uint32_t>(style_);
  if (style_ == PenStyle::UserStyle) p.style = PS_SOLID;
  p.width = width_;
  p.color = ColorToRgb(color_);
  return p;
}

// ---- Brush ------------------------------------------------------------------------------

void CanvasBrush::SetColor(uint32_t c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}
void CanvasBrush::SetStyle(BrushStyle s) {
  if (s == style_) return;
  style_ = s;
  Changed();
}
void CanvasBrush::SetBitmap(std::shared_ptr<const Dib> bitmap) {
  if (bitmap == bitmap_) return;
  bitmap_ = std::move(bitmap);
  Changed();
}
void CanvasBrush::Assign(const CanvasBrush& o) {
  if (o.color_ == color_ && o.style_ == style_ && o.bitmap_ == bitmap_) return;
  color_ = o.color_;
  style_ = o.style_;
  bitmap_ = o.bitmap_;
  Changed();
}

LogBrush CanvasBrush::ToLogBrush() const {
  LogBrush b;
  b.color = ColorToRgb(color_);
  if (bitmap_) {
    b.style = BS_PATTERN;
    b.pattern = bitmap_;
    return b;
  }
  switch (style_) {
    case BrushStyle::Solid: b.style = BS_SOLID; break;
    case BrushStyle::Clear: b.style = BS_NULL; break;
    default:
      b.style = BS_HATCHED;
      b.hatch = static_cast<uint32_t>(style_) - static_cast<uint32_t>(BrushStyle::Horizontal);
      break;
  }
  return b;
}

// ---- Font -------------------------------------------------------------------------------

CanvasFont::CanvasFont() {
  lf_.faceName = J("ＭＳ Ｐゴシック");
  lf_.height = -MulDiv(9, ppi_, 72);
  lf_.charSet = DEFAULT_CHARSET;
}

int CanvasFont::Size() const { return NegatedHeight(MulDiv(lf_.height, 72, ppi_)); }

int CanvasFont::Style() const {
  int s = 0;
  if (lf_.weight >= FW_BOLD) s |= fsBold;
  if (lf_.italic) s |= fsItalic;
  if (lf_.underline) s |= fsUnderline;
  if (lf_.strikeOut) s |= fsStrikeOut;
  return s;
}

template <class F>
void CanvasFont::Update(F change) {
  const LogFont before = lf_;
  const uint32_t color = color_;
  const int orientation = orientation_;
  const FontPitch pitch = pitch_;
  change();
  if (!(lf_ == before) || color_ != color || orientation_ != orientation || pitch_ != pitch) Changed();
}

void CanvasFont::Rebuild() {
  lf_.width = 0;
  lf_.escapement = orientation_;
  lf_.orientation = orientation_;
  lf_.outPrecision = 0;
  lf_.clipPrecision = 0;
  lf_.quality = 0;
  lf_.pitchAndFamily = pitch_ == FontPitch::Fixed ? 1 : pitch_ == FontPitch::Variable ? 2 : 0;
}

void CanvasFont::SetName(const std::string& cp932) {
  Update([&] {
    lf_.faceName = cp932.substr(0, 31);
    Rebuild();
  });
}
void CanvasFont::SetHeight(int h) {
  Update([&] {
    lf_.height = h;
    Rebuild();
  });
}
void CanvasFont::SetSize(int points) {
  Update([&] {
    lf_.height = NegatedHeight(MulDiv(points, ppi_, 72));
    Rebuild();
  });
}
void CanvasFont::SetStyle(int flags) {
  Update([&] {
    lf_.weight = (flags & fsBold) ? FW_BOLD : FW_NORMAL;
    lf_.italic = (flags & fsItalic) ? 1 : 0;
    lf_.underline = (flags & fsUnderline) ? 1 : 0;
    lf_.strikeOut = (flags & fsStrikeOut) ? 1 : 0;
    Rebuild();
  });
}
void CanvasFont::SetColor(uint32_t c) {
  Update([&] { color_ = c; });
}
void CanvasFont::SetCharset(int cs) {
  Update([&] {
    lf_.charSet = static_cast<uint8_t>(cs);
    Rebuild();
  });
}
void CanvasFont::SetOrientation(int tenths) {
  Update([&] {
    orientation_ = tenths;
    Rebuild();
  });
}
void CanvasFont::SetPitch(FontPitch p) {
  Update([&] {
    pitch_ = p;
    Rebuild();
  });
}
void CanvasFont::SetLogFont(const LogFont& lf) {
  Update([&] {
    lf_ = lf;
    orientation_ = lf.escapement;
  });
}
void CanvasFont::Assign(const CanvasFont& o) {
  ppi_ = o.ppi_;
  Update([&] {
    lf_ = o.lf_;
    color_ = o.color_;
    orientation_ = o.orientation_;
    pitch_ = o.pitch_;
  });
}

// ---- Canvas -----------------------------------------------------------------------------

Canvas::Canvas(DeviceContext& dc) : dc_(dc) {
  font_.SetPixelsPerInch(dc.GetDeviceCaps(LOGPIXELSY));
  font_.SetSize(9);
}

void Canvas::RealizePen() {
  const LogPen pen = pen_.ToLogPen();
  const DcState& now = dc_.State();
  if (penSelected_ == pen_.ChangeCount() && now.pen == pen && now.rop2 == pen_.Mode()) return;
  dc_.SelectPen(pen);
  dc_.SetROP2(pen_.Mode());
  penSelected_ = pen_.ChangeCount();
}

void Canvas::RealizeBrush() {
  const LogBrush b = brush_.ToLogBrush();
  if (brushSelected_ == brush_.ChangeCount() && dc_.State().brush == b) return;
  dc_.SelectBrush(b);
  if (b.style == BS_SOLID) {
    dc_.SetBkColor(b.color);
    dc_.SetBkMode(OPAQUE);
  } else {
    dc_.SetBkColor(~b.color & 0xFFFFFF);
    dc_.SetBkMode(TRANSPARENT);
  }
  brushSelected_ = brush_.ChangeCount();
}

void Canvas::RealizeFont() {
  if (fontSelected_ != font_.ChangeCount() || !(dc_.State().font == font_.GetLogFont())) {
    dc_.SelectFont(font_.GetLogFont());
    fontSelected_ = font_.ChangeCount();
  }
  dc_.SetTextColor(ColorToRgb(font_.Color()));
}

void Canvas::MoveTo(int x, int y) { dc_.MoveTo(x, y); }

void Canvas::LineTo(int x, int y) {
  RealizePen();
  RealizeBrush();
  dc_.LineTo(x, y);
}

void Canvas::Polyline(const std::vector<Point>& points) {
  RealizePen();
  RealizeBrush();
  dc_.Polyline(points);
}

void Canvas::Polygon(const std::vector<Point>& points) {
  RealizePen();
  RealizeBrush();
  dc_.Polygon(points);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  RealizePen();
  RealizeBrush();
  dc_.Rectangle(x1, y1, x2, y2);
}

void Canvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
  RealizePen();
  RealizeBrush();
  dc_.RoundRect(x1, y1, x2, y2, w, h);
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
  RealizePen();
  RealizeBrush();
  dc_.Ellipse(x1, y1, x2, y2);
}

void Canvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  RealizePen();
  RealizeBrush();
  dc_.Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  RealizePen();
  RealizeBrush();
  dc_.Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void Canvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  RealizePen();
  RealizeBrush();
  dc_.Chord(x1, y1, x2, y2, x3, y3, x4, y4);
}

void Canvas::FillRect(const Rect& r) {
  RealizeBrush();
  dc_.PatBlt(r, PATCOPY);
}

void Canvas::FrameRect(const Rect& r) {
  LogBrush b;
  b.style = BS_SOLID;
  b.color = ColorToRgb(brush_.Color());
  Rect n = r.Normalized();
  if (n.IsEmpty()) return;
  dc_.FillRect(Rect{n.left, n.top, n.right, n.top + 1}, b);
  dc_.FillRect(Rect{n.left, n.bottom - 1, n.right, n.bottom}, b);
  dc_.FillRect(Rect{n.left, n.top, n.left + 1, n.bottom}, b);
  dc_.FillRect(Rect{n.right - 1, n.top, n.right, n.bottom}, b);
}

void Canvas::TextOut(int x, int y, const std::string& text) {
  RealizeFont();
  RealizeBrush();
  std::u16string w = Cp932ToUtf16(text);
  dc_.ExtTextOut(x, y, 0, nullptr, w, nullptr);
  dc_.MoveTo(x + dc_.GetTextExtent(w).cx, y);
}

void Canvas::TextRect(const Rect& r, int x, int y, const std::string& text) {
  RealizeFont();
  RealizeBrush();
  uint32_t options = ETO_CLIPPED;
  if (brush_.Style() != BrushStyle::Clear) options |= ETO_OPAQUE;
  std::u16string w = Cp932ToUtf16(text);
  dc_.ExtTextOut(x, y, options, &r, w, nullptr);
}

Size Canvas::TextExtent(const std::string& text) {
  RealizeFont();
  return dc_.GetTextExtent(Cp932ToUtf16(text));
}

void Canvas::StretchDraw(const Rect& r, const Dib& picture) {
  dc_.StretchDIBits(r, Rect{0, 0, picture.width, picture.height}, picture, SRCCOPY);
}

void Canvas::Draw(int x, int y, const Dib& picture) {
  StretchDraw(Rect{x, y, x + picture.width, y + picture.height}, picture);
}

Rect Canvas::ClipRect() const {
  Region r;
  if (dc_.GetClipRegion(r)) return r.Bounds();
  const DeviceCaps& c = dc_.Caps();
  return Rect{0, 0, c.horzRes, c.vertRes};
}

}  // namespace platform
