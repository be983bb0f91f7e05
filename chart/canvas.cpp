// The chart's pens, brushes and fonts, the base operations of the canvas, the geometry
// helpers and the canvas unit's start-up.
#include "chart/canvas.h"

#include <algorithm>
#include <cmath>

#include "chart/effects.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/unit.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/picture_qt.h"

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

// ---- Pens ---------------------------------------------------------------------------------

std::function<void(platform::CanvasObject&)> OwnerNotify(TNotify onChange) {
  if (!onChange) return {};
  return [onChange = std::move(onChange)](platform::CanvasObject&) { onChange(); };
}

TChartPen::TChartPen(TNotify onChange) { OnChange = OwnerNotify(std::move(onChange)); }

CHART_SETTER(TChartPen, Visible, visible_, bool)
CHART_SETTER(TChartPen, SmallDots, smallDots_, bool)
CHART_SETTER(TChartPen, SmallSpace, smallSpace_, int)
CHART_SETTER(TChartPen, EndStyle, endStyle_, TPenEndStyle)

void TChartPen::Assign(const TChartPen& source) {
  SetVisible(source.Visible());
  SetSmallDots(source.SmallDots());
  SetSmallSpace(source.SmallSpace());
  SetEndStyle(source.EndStyle());
  CanvasPen::Assign(source);
}

// The creation defaults are set before the owner's notification is connected.
TChartHiddenPen::TChartHiddenPen(TNotify onChange) {
  defaultVisible_ = false;
  Hide();
  OnChange = OwnerNotify(std::move(onChange));
}

TDottedGrayPen::TDottedGrayPen(TNotify onChange) {
  SetColor(clGray);
  SetStyle(PenStyle::Dot);
  OnChange = OwnerNotify(std::move(onChange));
}

TDarkGrayPen::TDarkGrayPen(TNotify onChange) {
  SetColor(clGray);
  OnChange = OwnerNotify(std::move(onChange));
}

TWhitePen::TWhitePen(TNotify onChange) {
  SetColor(clWhite);
  OnChange = OwnerNotify(std::move(onChange));
}

// ---- Brushes ------------------------------------------------------------------------------

TChartBrush::TChartBrush(TNotify onChange) {
  SetColor(clDefault);
  OnChange = OwnerNotify(std::move(onChange));
}

platform::TPicture& TChartBrush::Image() {
  if (!image_) {
    image_ = std::make_unique<platform::TPicture>();
    image_->OnChange = [this](platform::TPicture&) {
      imageBitmap_.reset();
      Changed();
    };
  }
  return *image_;
}

void TChartBrush::SetImage(const platform::TPicture* picture) {
  imageBitmap_.reset();
  if (!picture) {
    image_.reset();
    Changed();
    return;
  }
  Image().Assign(*picture);
}

std::shared_ptr<const platform::Dib> TChartBrush::ImageBitmap() const {
  const platform::TGraphic* graphic = image_ ? image_->Graphic() : nullptr;
  if (!graphic || graphic->Empty()) return nullptr;
  if (!imageBitmap_) imageBitmap_ = std::make_shared<const platform::Dib>(GraphicBitmap(*graphic));
  return imageBitmap_;
}

platform::Dib GraphicBitmap(const platform::TGraphic& graphic) {
  if (const auto* bitmap = dynamic_cast<const platform::TBitmapGraphic*>(&graphic)) return bitmap->Bitmap();
  return platform::DibFromImage(platform::GraphicToImage(graphic));
}

void TChartBrush::Assign(const TChartBrush& source) {
  SetImage(source.image_.get());
  CanvasBrush::Assign(source);
}

// ---- Fonts --------------------------------------------------------------------------------

namespace {
std::string gDefaultFontName;
int gDefaultFontSize = 0;
}  // namespace

const std::string& DefaultChartFontName() { return gDefaultFontName; }
int DefaultChartFontSize() { return gDefaultFontSize; }

TPlotFont::TPlotFont(TNotify onChange) {
  SetColor(clBlack);
  SetCharset(platform::DEFAULT_CHARSET);
  if (!gDefaultFontName.empty()) SetName(gDefaultFontName);
  if (gDefaultFontSize > 0) SetSize(gDefaultFontSize);
  OnChange = OwnerNotify(std::move(onChange));
}

TPlotFont::~TPlotFont() = default;

CHART_SETTER(TPlotFont, InterCharSize, interCharSize_, int)

TChartHiddenPen& TPlotFont::OutLine() {
  if (!outLine_) outLine_ = std::make_unique<TChartHiddenPen>([this] { Changed(); });
  return *outLine_;
}

TPlotShadow& TPlotFont::Shadow() {
  if (!shadow_) shadow_ = std::make_unique<TPlotShadow>([this] { Changed(); });
  return *shadow_;
}

TPlotFontGradient& TPlotFont::Gradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotFontGradient>([this] { Changed(); });
  return *gradient_;
}

void TPlotFont::SetOutLine(const TChartPen* pen) {
  if (!pen) {
    if (!outLine_) return;
    outLine_.reset();
    Changed();
    return;
  }
  OutLine().Assign(*pen);
}

void TPlotFont::SetShadow(const TPlotShadow* shadow) {
  if (!shadow) {
    if (!shadow_) return;
    shadow_.reset();
    Changed();
    return;
  }
  Shadow().Assign(*shadow);
}

void TPlotFont::SetGradient(const TPlotFontGradient* gradient) {
  if (!gradient) {
    if (!gradient_) return;
    gradient_.reset();
    Changed();
    return;
  }
  Gradient().Assign(*gradient);
}

void TPlotFont::Assign(const TPlotFont& source) {
  CanvasFont::Assign(source);
  SetInterCharSize(source.interCharSize_);
  SetOutLine(source.outLine_.get());
  SetShadow(source.shadow_.get());
  SetGradient(source.gradient_.get());
}

bool TPlotFont::IsNameStored() const { return Name() != gDefaultFontName; }
bool TPlotFont::IsHeightStored() const { return Size() != gDefaultFontSize; }

// ---- The canvas: binding and state --------------------------------------------------------

bool ThinDashPens = false;
int RotatedTextQuality = 4;

TPlotCanvas::TPlotCanvas() = default;
TPlotCanvas::~TPlotCanvas() = default;

void TPlotCanvas::SetCanvas(platform::Canvas* canvas) {
  if (canvas != canvas_) savedClips_.clear();
  canvas_ = canvas;
  if (!canvas) return;
  // The chart draws with these objects and selects them itself: no owner hears of their changes.
  canvas->Pen().OnChange = nullptr;
  canvas->Brush().OnChange = nullptr;
  canvas->Font().OnChange = nullptr;
}

namespace {
THtmlTextDrawer gHtmlTextDrawer = nullptr;
}  // namespace

void SetHtmlTextDrawer(THtmlTextDrawer drawer) { gHtmlTextDrawer = drawer; }

void TPlotCanvas::DrawTextMaybeHtml(int x, int y, bool html, const std::string& text) {
  if (html && gHtmlTextDrawer) {
    gHtmlTextDrawer(*this, x, y, text);
  } else {
    DrawText2D(x, y, text);
  }
}

void TPlotCanvas::ResetDrawingState() {
  platform::CanvasPen& pen = Pen();
  pen.SetColor(clBlack);
  pen.SetWidth(1);
  pen.SetStyle(PenStyle::Solid);
  platform::CanvasBrush& brush = Brush();
  brush.SetBitmap(nullptr);
  brush.SetColor(clWhite);
  brush.SetStyle(BrushStyle::Solid);
  platform::CanvasFont& font = Font();
  font.SetColor(clBlack);
  font.SetStyle(0);
  font.SetCharset(platform::DEFAULT_CHARSET);
  if (!gDefaultFontName.empty()) font.SetName(gDefaultFontName);
  if (gDefaultFontSize > 0) font.SetSize(gDefaultFontSize);
  blendTransparency_ = 0;
  selectedFont_ = nullptr;
  SetBackColor(clWhite);
  SetBackMode(cbmTransparent);
  SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
}

// ---- Pens, brushes and fonts --------------------------------------------------------------

namespace {

// The canvas pen takes the properties of `pen` and `color`; a dashed one-pixel pen gets the
// width 0 while the thin-dash switch is on.
void TakePen(platform::CanvasPen& target, const platform::CanvasPen& pen, TColor color) {
  target.Assign(pen);
  target.SetColor(color);
  if (ThinDashPens && pen.Style() != PenStyle::Solid && pen.Width() == 1) target.SetWidth(0);
}

// End cap and join of a geometric pen by the chart pen's end style.
uint32_t EndStyleBits(TPenEndStyle style) {
  switch (style) {
    case esSquare: return platform::PS_ENDCAP_SQUARE | platform::PS_JOIN_BEVEL;
    case esFlat: return platform::PS_ENDCAP_FLAT | platform::PS_JOIN_MITER;
    default: return platform::PS_ENDCAP_ROUND | platform::PS_JOIN_ROUND;
  }
}

}  // namespace

void TPlotCanvas::SelectPenColor(const platform::CanvasPen& pen, TColor color) {
  TakePen(Pen(), pen, GetMonochrome() ? clBlack : color);
}

void TPlotCanvas::SelectPenColor(const TChartPen& pen, TColor color) {
  if (GetMonochrome()) color = clBlack;
  platform::CanvasPen& target = Pen();
  if (!pen.Visible()) {
    target.SetStyle(PenStyle::Clear);
    return;
  }
  if (IsFull3D()) {
    TakePen(target, pen, color);
    return;
  }
  platform::LogPen lp;
  lp.color = ColorToRGB(color);
  if (pen.SmallDots()) {
    // One-pixel dots: every other pixel, or dots SmallSpace + 1 pixels apart.
    lp.width = 1;
    if (pen.SmallSpace() <= 0) {
      lp.style = platform::PS_COSMETIC | platform::PS_ALTERNATE;
    } else {
      lp.style = platform::PS_COSMETIC | platform::PS_USERSTYLE;
      lp.userStyle = {0, static_cast<uint32_t>(pen.SmallSpace() + 1)};
    }
    target.SetLogPen(lp);
    return;
  }
  if (pen.Width() < 2) {
    TakePen(target, pen, color);
    return;
  }
  const uint32_t kind = static_cast<uint32_t>(pen.Style());
  lp.style = platform::PS_GEOMETRIC | (kind <= platform::PS_INSIDEFRAME ? kind : platform::PS_SOLID) |
             EndStyleBits(pen.EndStyle());
  lp.width = pen.Width();
  target.SetLogPen(lp);
  target.SetMode(pen.Mode());
}

void TPlotCanvas::SelectBrush(const TChartBrush& brush, TColor color) {
  SelectBrushColor(brush, color, brush.Color());
}

void TPlotCanvas::SelectBrushColor(const TChartBrush& brush, TColor color, TColor backColor) {
  if (GetMonochrome()) color = clWhite;
  platform::CanvasBrush& target = Brush();
  std::shared_ptr<const platform::Dib> pattern = brush.ImageBitmap();
  if (!pattern) pattern = brush.Bitmap();
  if (pattern) {
    target.SetStyle(BrushStyle::Clear);
    target.SetBitmap(pattern);
    Dc().SetTextColor(ColorToRGB(color));
    SetBackMode(cbmOpaque);
    SetBackColor(backColor);
    return;
  }
  if (target.Bitmap()) target.SetBitmap(nullptr);
  if (target.Color() != color) target.SetColor(color);
  if (target.Style() != brush.Style()) target.SetStyle(brush.Style());
  if (backColor == clNone) {
    SetBackMode(cbmTransparent);
  } else {
    SetBackMode(cbmOpaque);
    SetBackColor(backColor);
  }
}

void TPlotCanvas::SelectFont(TPlotFont& font) {
  platform::CanvasFont& target = Font();
  font.SetPixelsPerInch(target.PixelsPerInch());
  target.Assign(font);
  if (fontZoom_ != 100) target.SetSize(Round(font.Size() * fontZoom_ * 0.01));
  if (GetMonochrome()) target.SetColor(clBlack);
  if (Dc().State().charExtra != font.InterCharSize()) Dc().SetTextCharacterExtra(font.InterCharSize());
  selectedFont_ = &font;
}

// ---- Measuring ----------------------------------------------------------------------------

namespace {

void ShadowExtent(const TPlotFont* font, int& dx, int& dy) {
  dx = dy = 0;
  if (!font || !font->ShadowIfAny()) return;
  dx = std::abs(font->ShadowIfAny()->HorizSize());
  dy = std::abs(font->ShadowIfAny()->VertSize());
}

}  // namespace

int TPlotCanvas::WideTextWidth(const std::u16string& text) {
  canvas_->RealizeFont();
  int dx, dy;
  ShadowExtent(selectedFont_, dx, dy);
  return Dc().GetTextExtent(text).cx + dx;
}

int TPlotCanvas::WideTextHeight(const std::u16string& text) {
  canvas_->RealizeFont();
  int dx, dy;
  ShadowExtent(selectedFont_, dx, dy);
  return Dc().GetTextExtent(text).cy + dy;
}

int TPlotCanvas::TextWidth(const std::string& text) { return WideTextWidth(platform::Cp932ToUtf16(text)); }
int TPlotCanvas::TextHeight(const std::string& text) { return WideTextHeight(platform::Cp932ToUtf16(text)); }

TRect TPlotCanvas::TextRectangle(int x, int y, const std::u16string& text) {
  const platform::Size extent = Dc().GetTextExtent(text);
  const uint32_t align = GetTextAlign();
  if ((align & platform::TA_CENTER) == platform::TA_CENTER) {
    return TRect{x - extent.cx / 2, y, x + extent.cx / 2, y + extent.cy};
  }
  if (align & platform::TA_RIGHT) return TRect{x - extent.cx, y, x, y + extent.cy};
  return TRect{x, y, x + extent.cx, y + extent.cy};
}

// ---- Colours ------------------------------------------------------------------------------

TColor TPlotCanvas::Darken(TColor color, int amount) {
  const platform::ColorRef c = ColorToRGB(color);
  return platform::RgbColor(std::max(0, platform::RedOf(c) - amount), std::max(0, platform::GreenOf(c) - amount),
                            std::max(0, platform::BlueOf(c) - amount));
}

TColor TPlotCanvas::Brighten(TColor color, int amount) {
  const platform::ColorRef c = ColorToRGB(color);
  return platform::RgbColor(std::min(255, platform::RedOf(c) + amount), std::min(255, platform::GreenOf(c) + amount),
                            std::min(255, platform::BlueOf(c) + amount));
}

void TPlotCanvas::ApplyDark(TColor color, int amount) {
  const TColor dark = Darken(color, amount);
  if (Brush().Style() != BrushStyle::Solid) {
    SetBackColor(dark);
  } else {
    Brush().SetColor(dark);
  }
}

// ---- Bevel frame --------------------------------------------------------------------------

void TPlotCanvas::DrawBevelFrame(TRect r, TColor topLeft, int width, TColor bottomRight) {
  platform::CanvasPen& pen = Pen();
  pen.SetWidth(1);
  pen.SetStyle(PenStyle::Solid);
  --r.right;
  --r.bottom;
  for (int k = 0; k < width; ++k) {
    pen.SetColor(topLeft);
    const TPoint tl[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    DrawPolyline(tl);
    pen.SetColor(bottomRight);
    const TPoint br[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    DrawPolyline(br);
    ++r.left;
    ++r.top;
    --r.right;
    --r.bottom;
  }
}

// ---- Clipping -----------------------------------------------------------------------------

void TPlotCanvas::SaveClip() {
  platform::Region current;
  if (Dc().GetClipRegion(current)) {
    savedClips_.emplace_back(std::move(current));
  } else {
    savedClips_.emplace_back(std::nullopt);
  }
}

void TPlotCanvas::PushClip(const platform::Region& region) {
  SaveClip();
  Dc().SelectClipRegion(&region, platform::RGN_AND);
}

void TPlotCanvas::Unclip() {
  if (savedClips_.empty()) return;
  std::optional<platform::Region> saved = std::move(savedClips_.back());
  savedClips_.pop_back();
  Dc().SelectClipRegion(saved ? &*saved : nullptr, platform::RGN_COPY);
}

// The clip shapes are made only as far as anything can show: the current clip's bounds on the
// surface. Combined with the clip that loses nothing, and a shape of far-off corners (bars of
// huge values, say) costs no more than the surface.
void TPlotCanvas::ClipRoundRect(const TRect& rect, int corner) {
  const platform::Rect visible = Dc().VisibleBox();
  PushClip(platform::Region::RoundRect(rect, corner, corner, &visible));
}

void TPlotCanvas::ClipEllipse(const TRect& rect, bool exclude) {
  const platform::Rect visible = Dc().VisibleBox();
  const platform::Region ellipse = platform::Region::Ellipse(rect, &visible);
  if (exclude) {
    Dc().SelectClipRegion(&ellipse, platform::RGN_XOR);
  } else {
    PushClip(ellipse);
  }
}

void TPlotCanvas::ClipPolygon(std::span<const TPoint> points) {
  const platform::Rect visible = Dc().VisibleBox();
  PushClip(platform::Region::Polygon(std::vector<TPoint>(points.begin(), points.end()), platform::ALTERNATE, &visible));
}

// ---- Geometry helpers ---------------------------------------------------------------------

bool IsBackFacing(TPoint p0, TPoint p1, TPoint p2) {
  const double turn = static_cast<double>(p0.x - p1.x) * (p2.y - p1.y) - static_cast<double>(p2.x - p1.x) * (p0.y - p1.y);
  return turn < 0;
}

bool IsBackFacingPoints(std::span<const TPoint> points) {
  return points.size() >= 3 && IsBackFacing(points[0], points[1], points[2]);
}

bool PointInRect(const TRect& r, int x, int y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }

TRect NormalizeRect(TRect r) { return r.Normalized(); }

void RectSize(const TRect& r, int& width, int& height) {
  width = r.right - r.left;
  height = r.bottom - r.top;
}

TPoint CenterOfRect(const TRect& r) { return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TRect PolygonBounds(std::span<const TPoint> points) {
  if (points.empty()) return TRect{};
  const TRect b = platform::BoundingBox(points);
  return TRect{b.left, b.top, b.right + 1, b.bottom + 1};
}

void ExchangeDoubles(double& a, double& b) { std::swap(a, b); }
void ExchangeIntegers(int& a, int& b) { std::swap(a, b); }
double Hypotenuse(double a, double b) { return std::sqrt(a * a + b * b); }

void RGBBytes(TColor color, uint8_t& r, uint8_t& g, uint8_t& b) {
  const platform::ColorRef c = ColorToRGB(color);
  r = static_cast<uint8_t>(platform::RedOf(c));
  g = static_cast<uint8_t>(platform::GreenOf(c));
  b = static_cast<uint8_t>(platform::BlueOf(c));
}

bool ConvexHull(std::vector<TPoint>& points) {
  if (points.size() < 3) return false;
  if (points.size() == 3) return true;
  // The pivot: the smallest y, of those the largest x.
  size_t pivotAt = 0;
  for (size_t k = 1; k < points.size(); ++k) {
    const TPoint& p = points[k];
    const TPoint& best = points[pivotAt];
    if (p.y < best.y || (p.y == best.y && p.x > best.x)) pivotAt = k;
  }
  const TPoint pivot = points[pivotAt];
  points[pivotAt] = points.back();
  points.pop_back();
  std::vector<float> keys(points.size());
  for (size_t k = 0; k < points.size(); ++k) {
    const double dx = pivot.x - points[k].x, dy = pivot.y - points[k].y;
    keys[k] = (dx == 0 && dy == 0) ? 0.0f : static_cast<float>(dx / std::sqrt(dx * dx + dy * dy));
  }
  SortWithCallbacks(
      0, static_cast<int>(points.size()) - 1,
      [&](int i, int j) {
        const float a = keys[static_cast<size_t>(i)], b = keys[static_cast<size_t>(j)];
        return a < b ? -1 : a > b ? 1 : 0;
      },
      [&](int i, int j) {
        std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
        std::swap(points[static_cast<size_t>(i)], points[static_cast<size_t>(j)]);
      });
  // Walk the sorted points and drop each one where the outline does not turn the right way.
  size_t i = 1;
  while (i < points.size()) {
    const TPoint& prev = points[i - 1];
    const TPoint& p = points[i];
    const TPoint& next = i + 1 < points.size() ? points[i + 1] : pivot;
    const double turn = static_cast<double>(prev.x - p.x) * (next.y - p.y) - static_cast<double>(next.x - p.x) * (prev.y - p.y);
    if (turn >= 0) {
      points.erase(points.begin() + static_cast<std::ptrdiff_t>(i));
      if (i > 1) --i;
    } else {
      ++i;
    }
  }
  points.push_back(pivot);
  return true;
}

// ---- Unit ---------------------------------------------------------------------------------

namespace {

void Startup() {
  // The English default is "Arial", 8 points (the message texts); on a Japanese system, as
  // this platform is, the platform canvas's default face and size stand in for them.
  const platform::CanvasFont platformDefault;
  const int screenPpi = platform::kReferenceDpi;
  int size = std::atoi(MsgDefaultFontSize.c_str());
  std::string name = MsgDefaultFontName;
  if (size == 8 || size <= 0) size = -platformDefault.Height() * 72 / screenPpi;
  if (name == "Arial" || name.empty()) name = platformDefault.Name();
  gDefaultFontSize = size;
  gDefaultFontName = name;
}

void Shutdown() {
  gDefaultFontName.clear();
  gDefaultFontSize = 0;
}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotCanvasStartup() { gUnit.Start(); }
void PlotCanvasShutdown() { gUnit.Stop(); }

}  // namespace chart
