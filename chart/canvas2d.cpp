// The 2D operations of the canvas on a platform canvas and its device context.
#include <algorithm>
#include <cmath>

#include "chart/canvas3d.h"
#include "chart/effects.h"

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

namespace {

std::vector<TPoint> ToVector(std::span<const TPoint> points) { return std::vector<TPoint>(points.begin(), points.end()); }

}  // namespace

platform::ColorRef TPlotCanvas3D::GetBackColor() { return Dc().State().bkColor; }
int TPlotCanvas3D::GetBackMode() { return Dc().State().bkMode; }
uint32_t TPlotCanvas3D::GetTextAlign() { return Dc().State().textAlign; }
platform::ColorRef TPlotCanvas3D::GetPixel(int x, int y) { return Dc().GetPixel(x, y); }

void TPlotCanvas3D::SetBackColor(TColor color) { Dc().SetBkColor(ColorToRGB(color)); }
void TPlotCanvas3D::SetBackMode(int mode) { Dc().SetBkMode(mode); }
void TPlotCanvas3D::SetTextAlign(uint32_t flags) { Dc().SetTextAlign(flags); }
void TPlotCanvas3D::SetPixel(int x, int y, TColor color) { Dc().SetPixel(x, y, ColorToRGB(color)); }

void TPlotCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  canvas_->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  canvas_->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2) { canvas_->Ellipse(x1, y1, x2, y2); }
void TPlotCanvas3D::FillRect(const TRect& rect) { canvas_->FillRect(rect); }
void TPlotCanvas3D::LineTo(int x, int y) { canvas_->LineTo(x, y); }
void TPlotCanvas3D::MoveTo(int x, int y) { canvas_->MoveTo(x, y); }
void TPlotCanvas3D::DrawRectangle(int x0, int y0, int x1, int y1) { canvas_->Rectangle(x0, y0, x1, y1); }
void TPlotCanvas3D::DrawRoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) {
  canvas_->RoundRect(x1, y1, x2, y2, cornerW, cornerH);
}

void TPlotCanvas3D::DrawHorizLine(int x0, int x1, int y) {
  MoveTo(x0, y);
  LineTo(x1, y);
}

void TPlotCanvas3D::DrawVertLine(int x, int y0, int y1) {
  MoveTo(x, y0);
  LineTo(x, y1);
}

void TPlotCanvas3D::DrawLine(int x0, int y0, int x1, int y1) {
  MoveTo(x0, y0);
  LineTo(x1, y1);
}

void TPlotCanvas3D::DrawPolyline(std::span<const TPoint> points) { canvas_->Polyline(ToVector(points)); }
void TPlotCanvas3D::DrawPolygon(std::span<const TPoint> points) { canvas_->Polygon(ToVector(points)); }

void TPlotCanvas3D::DrawGraphic(int x, int y, const platform::TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(*canvas_, TRect{x, y, x + graphic->Width(), y + graphic->Height()});
}

void TPlotCanvas3D::StretchGraphic(const TRect& rect, const platform::TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(*canvas_, rect);
}

void TPlotCanvas3D::ClipRectangle(const TRect& rect) { PushClip(platform::Region(rect)); }

// ---- Ring sector --------------------------------------------------------------------------

void TPlotCanvas3D::DrawRingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle,
                                   int holePercent) {
  const double ix = xRadius * holePercent / 100.0, iy = yRadius * holePercent / 100.0;
  auto at = [&](double a, double b, double t) { return TPoint{xc + Round(a * std::cos(t)), yc - Round(b * std::sin(t))}; };
  const TPoint outerStart = at(xRadius, yRadius, startAngle), outerEnd = at(xRadius, yRadius, endAngle);
  const TPoint innerStart = at(ix, iy, startAngle), innerEnd = at(ix, iy, endAngle);
  canvas_->RealizePen();
  canvas_->RealizeBrush();
  platform::DeviceContext& dc = Dc();
  dc.BeginPath();
  dc.MoveTo(outerStart.x, outerStart.y);
  dc.ArcTo(xc - xRadius, yc - yRadius, xc + xRadius, yc + yRadius, outerStart.x, outerStart.y, outerEnd.x, outerEnd.y);
  dc.LineTo(innerEnd.x, innerEnd.y);
  if (innerStart.x != innerEnd.x || innerStart.y != innerEnd.y) {
    const int rx = Round(ix), ry = Round(iy);
    // Back along the inner ellipse, clockwise.
    const int direction = dc.State().arcDirection;
    dc.SetArcDirection(platform::AD_CLOCKWISE);
    dc.ArcTo(xc - rx, yc - ry, xc + rx, yc + ry, innerEnd.x, innerEnd.y, innerStart.x, innerStart.y);
    dc.SetArcDirection(direction);
  }
  dc.LineTo(outerStart.x, outerStart.y);
  dc.EndPath();
  dc.StrokeAndFillPath();
}

// ---- Text ---------------------------------------------------------------------------------

void TPlotCanvas3D::DrawText2D(int x, int y, const std::string& text) {
  const std::u16string wide = platform::Cp932ToUtf16(text);
  platform::DeviceContext& dc = Dc();
  canvas_->RealizeFont();
  TPlotFont* font = selectedFont_;
  const TPlotShadow* shadow = font ? font->ShadowIfAny() : nullptr;
  if (shadow && (shadow->HorizSize() != 0 || shadow->VertSize() != 0)) {
    // A negative size moves the text away from the shadow, a positive one the shadow away
    // from the text.
    int sx = x, sy = y;
    if (shadow->HorizSize() < 0) {
      x -= shadow->HorizSize();
    } else {
      sx = x + shadow->HorizSize();
    }
    if (shadow->VertSize() < 0) {
      y -= shadow->VertSize();
    } else {
      sy = y + shadow->VertSize();
    }
    std::unique_ptr<TPlotBlend> blend;
    if (shadow->Transparency() > 0) blend = BeginBlend(TextRectangle(sx, sy, wide), shadow->Transparency());
    dc.SetTextColor(ColorToRGB(shadow->Color()));
    dc.ExtTextOut(sx, sy, 0, nullptr, wide);
    if (blend) EndBlend(std::move(blend));
  }
  const TColor fontColor = Font().Color();
  dc.SetTextColor(ColorToRGB(fontColor));
  const TChartHiddenPen* outline = font ? font->OutLineIfAny() : nullptr;
  const TPlotFontGradient* gradient = font ? font->GradientIfAny() : nullptr;
  const bool hasOutline = outline && outline->Visible();
  const bool hasGradient = gradient && gradient->Visible();
  if (!hasOutline && !hasGradient) {
    dc.ExtTextOut(x, y, 0, nullptr, wide);
    return;
  }
  // The text as a path: stroked with the outline pen, filled with the font colour or a
  // gradient through the path as a clip.
  if (hasOutline) {
    SelectPen(*outline);
  } else {
    Pen().SetStyle(PenStyle::Clear);
  }
  Brush().SetBitmap(nullptr);
  Brush().SetColor(fontColor);
  Brush().SetStyle(BrushStyle::Solid);
  canvas_->RealizePen();
  canvas_->RealizeBrush();
  SetBackMode(cbmTransparent);
  auto layPath = [&] {
    dc.BeginPath();
    dc.ExtTextOut(x, y, 0, nullptr, wide);
    dc.EndPath();
  };
  layPath();
  if (hasGradient) {
    if (gradient->Outline()) dc.WidenPath();
    SaveClip();
    dc.SelectClipPath(platform::RGN_AND);
    const_cast<TPlotFontGradient*>(gradient)->PaintRect(*this, TextRectangle(x, y, wide));
    Unclip();
    if (gradient->Outline() || !hasOutline) return;
    layPath();
    Brush().SetStyle(BrushStyle::Clear);
    canvas_->RealizeBrush();
    SetBackMode(cbmTransparent);
  }
  if (fontColor == clNone) {
    dc.StrokePath();
  } else {
    dc.StrokeAndFillPath();
  }
}

bool TPlotCanvas3D::ZoomedFont(platform::LogFont& font) {
  if (!textZoom_ || zoomFactor_ == 1) return false;
  const int size = std::max(1, Round(Font().Size() * zoomFactor_));
  font.height = -Round(static_cast<double>(size) * Font().PixelsPerInch() / 72.0);
  return true;
}

void TPlotCanvas3D::DrawRotatedText(int x, int y, const std::string& text, double angle) {
  while (angle > 360) angle -= 360;
  Brush().SetStyle(BrushStyle::Clear);
  const platform::LogFont saved = Font().GetLogFont();
  platform::LogFont rotated = saved;
  rotated.escapement = rotated.orientation = Round(angle * 10);
  rotated.outPrecision = 7;  // TrueType only
  rotated.quality = static_cast<uint8_t>(RotatedTextQuality);
  ZoomedFont(rotated);
  Font().SetLogFont(rotated);
  DrawText2D(x, y, text);
  Font().SetLogFont(saved);
}

}  // namespace chart
