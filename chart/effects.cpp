// Shadows, gradients (with the canvas's gradient fill) and blends.
#include "chart/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

// ---- Colour steps -------------------------------------------------------------------------

TColor InterpolateColor(TColor a, TColor b, int index, int count, int balance) {
  const platform::ColorRef ca = ColorToRGB(a), cb = ColorToRGB(b);
  const int from[3] = {platform::RedOf(ca), platform::GreenOf(ca), platform::BlueOf(ca)};
  const int to[3] = {platform::RedOf(cb), platform::GreenOf(cb), platform::BlueOf(cb)};
  int channel[3];
  if (count <= 0) count = 1;
  if (balance == 50) {
    for (int k = 0; k < 3; ++k) channel[k] = from[k] + (to[k] - from[k]) * index / count;
  } else {
    const double f = std::pow((index + 1.0) / (count + 1.0), 0.5 + 0.015 * balance);
    for (int k = 0; k < 3; ++k) channel[k] = from[k] + Round((to[k] - from[k]) * f);
  }
  for (int& c : channel) c = std::clamp(c, 0, 255);
  return platform::RgbColor(channel[0], channel[1], channel[2]);
}

namespace {

// Fills rectangles in changing colours with a solid brush of the device context, selecting a
// new brush only when the colour changes; the brush the context had comes back at the end.
class BandPainter {
 public:
  explicit BandPainter(platform::DeviceContext& dc) : dc_(dc), saved_(dc.State().brush) {}
  ~BandPainter() { dc_.SelectBrush(saved_); }
  void Fill(const TRect& r, TColor color) {
    if (r.IsEmpty()) return;
    const platform::ColorRef rgb = ColorToRGB(color);
    if (!selected_ || rgb != current_) {
      dc_.SelectBrush(platform::LogBrush{platform::BS_SOLID, rgb, 0, nullptr});
      current_ = rgb;
      selected_ = true;
    }
    dc_.PatBlt(r, platform::PATCOPY);
  }

 private:
  platform::DeviceContext& dc_;
  platform::LogBrush saved_;
  platform::ColorRef current_ = 0;
  bool selected_ = false;
};

TColor Gray(TColor c) {
  const platform::ColorRef rgb = ColorToRGB(c);
  const int g = (platform::RedOf(rgb) + platform::GreenOf(rgb) + platform::BlueOf(rgb)) / 3;
  return platform::RgbColor(g, g, g);
}

}  // namespace

// ---- The canvas's gradient fill -----------------------------------------------------------

void TPlotCanvas3D::GradientFill(const TRect& rect, TColor a, int balance, TGradientDirection direction, TColor b) {
  const TRect r = rect.Normalized();
  if (direction == gdRadial) {
    TCustomPlotGradient radial;
    radial.SetDirection(gdRadial);
    radial.SetStartColor(a);
    radial.SetEndColor(b);
    radial.PaintRect(*this, r);
    return;
  }
  if (direction == gdBottomTop || direction == gdRightLeft || direction == gdFromCenter ||
      direction == gdFromTopLeft || direction == gdFromBottomLeft) {
    std::swap(a, b);
  }
  const int width = r.Width(), height = r.Height();
  platform::DeviceContext& dc = Dc();
  switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
      const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
      const int size = vertical ? height : width;
      const int n = std::min(size, 256), count = n - 1;
      if (count <= 0) return;
      BandPainter bands(dc);
      for (int i = 0; i < n; ++i) {
        // Band i, measured from the bottom (or right) edge (a band of a huge rectangle is
        // reckoned in 64 bits).
        const int near = static_cast<int>(int64_t{size} * i / n), far = static_cast<int>(int64_t{size} * (i + 1) / n);
        const TColor color = InterpolateColor(a, b, i, count, balance);
        if (vertical) {
          bands.Fill(TRect{r.left, r.bottom - far, r.right, r.bottom - near}, color);
        } else {
          bands.Fill(TRect{r.right - far, r.top, r.right - near, r.bottom}, color);
        }
      }
      return;
    }
    case gdFromCenter: {
      const int count = std::max(1, width / 2 + height / 2);
      BandPainter bands(dc);
      int e = 0, c = 0;
      // Frames of one pixel from the outside in.
      while (e < width / 2 || c < height / 2) {
        const TRect f{r.left + e, r.top + c, r.right - e, r.bottom - c};
        if (f.IsEmpty()) break;
        const TColor color = InterpolateColor(a, b, c + e, count, balance);
        bands.Fill(TRect{f.left, f.top, f.left + 1, f.bottom}, color);
        bands.Fill(TRect{f.right - 1, f.top, f.right, f.bottom}, color);
        bands.Fill(TRect{f.left, f.top, f.right, f.top + 1}, color);
        bands.Fill(TRect{f.left, f.bottom - 1, f.right, f.bottom}, color);
        if (e < width / 2) ++e;
        if (c < height / 2) ++c;
      }
      return;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
      if (width <= 0 || height <= 0) return;
      const int count = std::max(1, width + height);
      const bool fromTop = direction == gdFromTopLeft;
      BandPainter bands(dc);
      // Step i paints an L whose corner lies i pixels from the start corner: the column at
      // left + i from the corner row to the sweep row, and the sweep row from the left edge
      // to that column. The sweep stops at the far edges.
      for (int i = 0; i < std::max(width, height); ++i) {
        const int col = std::min(i, width - 1), row = std::min(i, height - 1);
        const TColor color = InterpolateColor(a, b, col + row, count, balance);
        const int sweepY = fromTop ? r.top + row : r.bottom - 1 - row;
        if (i < width) {
          bands.Fill(fromTop ? TRect{r.left + col, r.top, r.left + col + 1, sweepY + 1}
                             : TRect{r.left + col, sweepY, r.left + col + 1, r.bottom},
                     color);
        }
        if (i < height) bands.Fill(TRect{r.left, sweepY, r.left + col + 1, sweepY + 1}, color);
      }
      return;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: {
      if (width <= 0 || height <= 0) return;
      const int lines = width + height;
      const int count = std::max(1, std::min(255, lines - 1));
      const platform::LogPen savedPen = dc.State().pen;
      const int savedRop = dc.State().rop2;
      dc.SetROP2(platform::R2_COPYPEN);
      // Lines at 45 degrees from P on the left (then top or bottom) edge to Q on the bottom
      // (or top) edge, then the right one; the end pixel of each line is left out, so the
      // lines cover every pixel once. Up starts at the bottom-left corner, down one pixel
      // above the top-left corner.
      const bool up = direction == gdDiagonalUp;
      TPoint p = up ? TPoint{r.left, r.bottom} : TPoint{r.left, r.top - 1};
      TPoint q = p;
      const int pEnd = up ? r.top : r.bottom - 1;
      platform::ColorRef current = 0;
      bool selected = false;
      for (int k = 0; k < lines; ++k) {
        const platform::ColorRef rgb = ColorToRGB(InterpolateColor(a, b, static_cast<int>(int64_t{k} * count / lines), count, balance));
        if (!selected || rgb != current) {
          dc.SelectPen(platform::LogPen{platform::PS_SOLID, 1, rgb, {}});
          current = rgb;
          selected = true;
        }
        if (up) {
          dc.MoveTo(p.x, p.y);
          dc.LineTo(q.x, q.y);
        } else {
          // The same pixels drawn downwards from the last one towards P.
          dc.MoveTo(q.x - 1, q.y + 1);
          dc.LineTo(p.x - 1, p.y + 1);
        }
        if (q.x < r.right) {
          ++q.x;
        } else {
          q.y += up ? -1 : 1;
        }
        if (p.y != pEnd) {
          p.y += up ? -1 : 1;
        } else {
          ++p.x;
        }
      }
      dc.SelectPen(savedPen);
      dc.SetROP2(savedRop);
      return;
    }
    case gdRadial: return;
  }
}

// ---- Gradients ----------------------------------------------------------------------------

TCustomPlotGradient::TCustomPlotGradient(TNotify onChange) : onChange_(std::move(onChange)) {}

void TCustomPlotGradient::Changed() {
  if (onChange_) onChange_();
}

CHART_SETTER(TCustomPlotGradient, Balance, balance_, int)
CHART_SETTER(TCustomPlotGradient, Direction, direction_, TGradientDirection)
CHART_SETTER(TCustomPlotGradient, EndColor, endColor_, TColor)
CHART_SETTER(TCustomPlotGradient, RadialX, radialX_, int)
CHART_SETTER(TCustomPlotGradient, RadialY, radialY_, int)
CHART_SETTER(TCustomPlotGradient, StartColor, startColor_, TColor)
CHART_SETTER(TCustomPlotGradient, Visible, visible_, bool)

void TCustomPlotGradient::SetMidColor(TColor v) {
  if (v == clNone) {
    if (!hasMiddle_) return;
    hasMiddle_ = false;
  } else {
    if (hasMiddle_ && midColor_ == v) return;
    hasMiddle_ = true;
    midColor_ = v;
  }
  Changed();
}

void TCustomPlotGradient::Assign(const TCustomPlotGradient& s) {
  balance_ = s.balance_;
  direction_ = s.direction_;
  endColor_ = s.endColor_;
  midColor_ = s.midColor_;
  radialX_ = s.radialX_;
  radialY_ = s.radialY_;
  startColor_ = s.startColor_;
  visible_ = s.visible_;
  hasMiddle_ = s.hasMiddle_;
  Changed();
}

CHART_SETTER(TPlotFontGradient, Outline, outline_, bool)

void TPlotFontGradient::Assign(const TCustomPlotGradient& source) {
  if (const auto* font = dynamic_cast<const TPlotFontGradient*>(&source)) outline_ = font->outline_;
  TPlotGradient::Assign(source);
}

void TCustomPlotGradient::PaintRect(TPlotCanvas& canvas, TRect rect, int corner) {
  TColor start = startColor_, mid = midColor_, end = endColor_;
  if (canvas.GetMonochrome()) {
    start = Gray(start);
    mid = Gray(mid);
    end = Gray(end);
  }
  if (corner > 0) canvas.ClipRoundRect(rect, corner);
  if (direction_ == gdRadial) {
    PaintRadial(canvas, rect, start, end);
  } else if (hasMiddle_ && direction_ != gdDiagonalUp && direction_ != gdDiagonalDown) {
    const TRect r = rect.Normalized();
    const int midY = (r.top + r.bottom) / 2, midX = (r.left + r.right) / 2;
    const TRect upper{r.left, r.top, r.right, midY}, lower{r.left, midY, r.right, r.bottom};
    const TRect left{r.left, r.top, midX, r.bottom}, right{midX, r.top, r.right, r.bottom};
    switch (direction_) {
      case gdTopBottom:
        canvas.GradientFill(upper, mid, 50, gdTopBottom, end);
        canvas.GradientFill(lower, start, 50, gdTopBottom, mid);
        break;
      case gdBottomTop:
        canvas.GradientFill(upper, start, 50, gdBottomTop, mid);
        canvas.GradientFill(lower, mid, 50, gdBottomTop, end);
        break;
      case gdLeftRight:
        canvas.GradientFill(left, mid, 50, gdLeftRight, end);
        canvas.GradientFill(right, start, 50, gdLeftRight, mid);
        break;
      case gdRightLeft:
        canvas.GradientFill(left, start, 50, gdRightLeft, mid);
        canvas.GradientFill(right, mid, 50, gdRightLeft, end);
        break;
      default: canvas.GradientFill(r, start, 50, direction_, end); break;
    }
  } else {
    canvas.GradientFill(rect, start, balance_, direction_, end);
  }
  if (corner > 0) canvas.Unclip();
}

void TCustomPlotGradient::PaintRadial(TPlotCanvas& canvas, TRect rect, TColor start, TColor end) {
  const TRect r = rect.Normalized();
  const int width = r.Width(), height = r.Height();
  canvas.ClipRectangle(r);
  platform::CanvasPen& pen = canvas.Pen();
  platform::CanvasBrush& brush = canvas.Brush();
  const PenStyle savedStyle = pen.Style();
  const uint32_t savedColor = brush.Color();
  const BrushStyle savedBrushStyle = brush.Style();
  brush.SetStyle(BrushStyle::Solid);
  brush.SetColor(end);
  canvas.FillRect(r);
  int a = std::min(255, std::max(width, height));
  if (width % 2 != 0 || height % 2 != 0) --a;
  // A rectangle of one pixel or none has no rings: the end colour alone fills it.
  if (a > 0) {
    pen.SetStyle(PenStyle::Clear);
    const double cx = (r.left + r.right) / 2.0 + radialX_ + 1, cy = (r.top + r.bottom) / 2.0 + radialY_ + 1;
    const platform::ColorRef s = ColorToRGB(start), e = ColorToRGB(end);
    const int from[3] = {platform::RedOf(s), platform::GreenOf(s), platform::BlueOf(s)};
    const int delta[3] = {platform::RedOf(e) - from[0], platform::GreenOf(e) - from[1], platform::BlueOf(e) - from[2]};
    for (int n = a; n >= 0; --n) {
      int c[3];
      for (int k = 0; k < 3; ++k) c[k] = std::clamp(from[k] + Round(static_cast<double>(delta[k]) / a * n), 0, 255);
      brush.SetColor(platform::RgbColor(c[0], c[1], c[2]));
      const double rx = width / 2.0 * n / a, ry = height / 2.0 * n / a;
      canvas.DrawEllipse(Round(cx - rx), Round(cy - ry), Round(cx + rx), Round(cy + ry));
    }
  }
  pen.SetStyle(savedStyle);
  brush.SetColor(savedColor);
  brush.SetStyle(savedBrushStyle);
  canvas.Unclip();
}

void TCustomPlotGradient::PaintPolygon(TPlotCanvas& canvas, const std::array<TPoint, 4>& points) {
  canvas.ClipPolygon(points);
  PaintRect(canvas, PolygonBounds(points));
  canvas.Unclip();
}

void TPlotGradient::PaintProjected(TCanvas3D& canvas, const std::array<TPoint, 4>& points, int depth) {
  std::array<TPoint, 4> projected;
  for (size_t k = 0; k < 4; ++k) projected[k] = canvas.ProjectPoint(points[k].x, points[k].y, depth);
  PaintPolygon(canvas, projected);
}

// ---- Shadow -------------------------------------------------------------------------------

TPlotShadow::TPlotShadow(TNotify onChange, int defaultSize)
    : horizSize_(defaultSize), vertSize_(defaultSize), defaultSize_(defaultSize), onChange_(std::move(onChange)) {}

void TPlotShadow::Changed() {
  if (onChange_) onChange_();
}

CHART_SETTER(TPlotShadow, Color, color_, TColor)
CHART_SETTER(TPlotShadow, HorizSize, horizSize_, int)
CHART_SETTER(TPlotShadow, VertSize, vertSize_, int)
void TPlotShadow::SetSize(int v) {
  if (horizSize_ == v && vertSize_ == v) return;
  horizSize_ = vertSize_ = v;
  Changed();
}
CHART_SETTER(TPlotShadow, Smooth, smooth_, bool)
void TPlotShadow::SetTransparency(int percent) {
  if (ChangeValue(transparency_, std::clamp(percent, 0, 100))) Changed();
}

void TPlotShadow::Assign(const TPlotShadow& s) {
  color_ = s.color_;
  horizSize_ = s.horizSize_;
  vertSize_ = s.vertSize_;
  smooth_ = s.smooth_;
  transparency_ = s.transparency_;
  Changed();
}

void TPlotShadow::PaintRectShadow(TCanvas3D& canvas, const TRect& rect, int depth) {
  if (PaintsNothing()) return;
  const int h = horizSize_, v = vertSize_;
  canvas.Brush().SetStyle(BrushStyle::Solid);
  canvas.Brush().SetColor(color_);
  canvas.Pen().SetStyle(PenStyle::Clear);
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) {
    const TRect moved{rect.left + h, rect.top + v, rect.right + h, rect.bottom + v};
    blend = canvas.BeginBlend(canvas.ProjectRect(moved, depth), transparency_);
  }
  const bool flat = canvas.InFlatDrawing();
  if (smooth_ && Size() > 1) {
    const platform::ColorRef base = ColorToRGB(color_);
    const int step = Round((255 - (platform::RedOf(base) + platform::GreenOf(base) + platform::BlueOf(base)) / 3.0) / Size());
    platform::CanvasPen& pen = canvas.Pen();
    pen.SetStyle(PenStyle::Solid);
    pen.SetWidth(1);
    auto line = [&](int x0, int y0, int x1, int y1) {
      if (flat) {
        canvas.DrawLine(x0, y0, x1, y1);
      } else {
        canvas.DrawLineAtZ(x0, y0, x1, y1, depth);
      }
    };
    TColor shade = base;
    for (int i = 1; i <= v; ++i) {
      pen.SetColor(shade);
      const int y = rect.bottom + i - 1;
      line(rect.left + h, y, rect.right + h + i - v - 1, y);
      shade = TPlotCanvas::Brighten(shade, step);
    }
    shade = base;
    for (int i = 0; i < h; ++i) {
      pen.SetColor(shade);
      const int x = rect.right + i;
      line(x, rect.top + v, x, rect.bottom + i + v - h);
      const int px = rect.right + i - 1, py = rect.bottom + i + v - h - 1;
      if (flat) {
        canvas.SetPixel(px, py, shade);
      } else {
        canvas.SetPixel3D(px, py, depth, shade);
      }
      shade = TPlotCanvas::Brighten(shade, step);
    }
    pen.SetStyle(PenStyle::Clear);
  } else if (flat) {
    if (v != 0) {
      if (v > 0) {
        canvas.DrawRectangle(rect.left + h, rect.bottom, rect.right + h, rect.bottom + 1 + v);
      } else {
        canvas.DrawRectangle(rect.left + h, rect.top + 1, rect.right + h, rect.top + v);
      }
    }
    if (h != 0) {
      if (h > 0) {
        canvas.DrawRectangle(rect.right, rect.top + v, rect.right + 1 + h, rect.bottom + v + 1);
      } else {
        canvas.DrawRectangle(rect.left + 1, rect.top + v, rect.left + h, rect.bottom + v + 1);
      }
    }
  } else {
    canvas.DrawRectAtZ(TRect{rect.left + h, rect.bottom, rect.right + h, rect.bottom + v}, depth);
    canvas.DrawRectAtZ(TRect{rect.right, rect.top + v, rect.right + h, rect.bottom + v}, depth);
  }
  if (blend) canvas.EndBlend(std::move(blend));
}

void TPlotShadow::PaintEllipseShadow(TCanvas3D& canvas, const TRect& rect, int depth) {
  if (PaintsNothing()) return;
  const TRect moved{rect.left + horizSize_, rect.top + vertSize_, rect.right + horizSize_, rect.bottom + vertSize_};
  const TRect projected = canvas.ProjectRect(moved, depth);
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) blend = canvas.BeginBlend(projected, transparency_);
  if (smooth_) {
    canvas.ClipEllipse(projected, false);
    TCustomPlotGradient radial;
    radial.SetDirection(gdRadial);
    radial.SetStartColor(TPlotCanvas::Darken(color_, 128));
    radial.SetEndColor(TPlotCanvas::Brighten(color_, 32));
    radial.PaintRect(canvas, projected);
    canvas.Unclip();
  } else {
    canvas.Brush().SetStyle(BrushStyle::Solid);
    canvas.Brush().SetColor(color_);
    canvas.Pen().SetStyle(PenStyle::Clear);
    canvas.DrawEllipse3D(moved.left, moved.top, moved.right, moved.bottom, depth);
  }
  if (blend) canvas.EndBlend(std::move(blend));
}

// ---- Blend --------------------------------------------------------------------------------

void TPlotBlend::SetRectangle(TRect rect) {
  TRect r = rect.Normalized();
  r.left = std::max(0, r.left);
  r.top = std::max(0, r.top);
  r.right = std::max(0, r.right);
  r.bottom = std::max(0, r.bottom);
  if (r.right <= r.left) r.right = r.left + 1;
  if (r.bottom <= r.top) r.bottom = r.top + 1;
  const TRect& bounds = canvas_.Bounds();
  r.right = std::min(r.right, bounds.right);
  r.bottom = std::min(r.bottom, bounds.bottom);
  rect_ = r;
  valid_ = r.Width() > 0 && r.Height() > 0 && canvas_.GetHandle().GetBits(r, background_);
}

void TPlotBlend::DoBlend(int transparency) {
  if (canvas_.Metafiling() || !valid_) return;
  platform::Dib drawn;
  if (!canvas_.GetHandle().GetBits(rect_, drawn) || drawn.width != background_.width ||
      drawn.height != background_.height) {
    return;
  }
  const int t = std::clamp(transparency, 0, 100);
  for (size_t k = 0; k < drawn.pixels.size(); ++k) {
    const uint32_t now = drawn.pixels[k], old = background_.pixels[k];
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int n = static_cast<int>((now >> shift) & 0xFF), o = static_cast<int>((old >> shift) & 0xFF);
      mixed |= static_cast<uint32_t>(n + t * (o - n) / 100) << shift;
    }
    drawn.pixels[k] = mixed;
  }
  canvas_.GetHandle().StretchDIBits(rect_, TRect{0, 0, drawn.width, drawn.height}, drawn);
}

std::unique_ptr<TPlotBlend> TPlotCanvas::BeginBlend(const TRect& rect, int transparency) {
  blendTransparency_ = std::clamp(transparency, 0, 127);
  auto blend = std::make_unique<TPlotBlend>(*this);
  blend->SetRectangle(rect);
  blend->SetTransparency(blendTransparency_, GetTextAlign());
  return blend;
}

void TPlotCanvas::EndBlend(std::unique_ptr<TPlotBlend> blend) {
  if (!blend) return;
  blend->DoBlend(blend->Transparency());
  if (GetTextAlign() != blend->TextAlign()) {
    if (selectedFont_) SelectFont(*selectedFont_);
    SetTextAlign(blend->TextAlign());
  }
}

}  // namespace chart
