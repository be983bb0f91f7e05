// Framed chart shapes.
#include "chart/shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

// ---- Pen, brush and visibility ------------------------------------------------------------

TPlotCustomShapeBrushPen::TPlotCustomShapeBrushPen(TCustomPlotPanel* parent)
    : TPlotCustomShapeBrushPen(parent, std::make_unique<TChartBrush>()) {}

TPlotCustomShapeBrushPen::TPlotCustomShapeBrushPen(TCustomPlotPanel* parent, std::unique_ptr<TChartBrush> brush)
    : brush_(std::move(brush)), parent_(parent), pen_(std::make_unique<TChartPen>()) {
  brush_->OnChange = OwnerNotify([this] { InvalidateParent(); });
  pen_->OnChange = OwnerNotify([this] { InvalidateParent(); });
}

TPlotCustomShapeBrushPen::~TPlotCustomShapeBrushPen() = default;

void TPlotCustomShapeBrushPen::SetVisible(bool v) {
  if (parent_) {
    parent_->ChangeBoolean(visible_, v);
  } else {
    visible_ = v;
  }
}

void TPlotCustomShapeBrushPen::InvalidateParent() {
  if (parent_) parent_->Invalidate();
}

void TPlotCustomShapeBrushPen::CopyBrushPen(const TPlotCustomShapeBrushPen& s) {
  pen_->Assign(*s.pen_);
  brush_->Assign(*s.brush_);
  SetVisible(s.visible_);
}

// ---- The shape ----------------------------------------------------------------------------

TPlotCustomShape::TPlotCustomShape(TCustomPlotPanel* parent)
    : TPlotCustomShapeBrushPen(parent), font_(std::make_unique<TPlotFont>([this] { InvalidateParent(); })) {
  Shadow();
}

TPlotCustomShape::~TPlotCustomShape() = default;

void TPlotCustomShape::InitShadow(TPlotShadow& shadow) {
  shadow.SetColor(clBlack);
  shadow.SetSize(3);
  shadow.SetStoredDefaults(clBlack, 3);
}

TPlotShadow& TPlotCustomShape::Shadow() {
  if (!shadow_) {
    shadow_ = std::make_unique<TPlotShadow>();
    InitShadow(*shadow_);
    shadow_->SetOnChange([this] { InvalidateParent(); });
  }
  return *shadow_;
}

void TPlotCustomShape::SetShadow(const TPlotShadow* shadow) {
  if (!shadow) {
    if (!shadow_) return;
    shadow_.reset();
    InvalidateParent();
    return;
  }
  Shadow().Assign(*shadow);
}

TPlotGradient& TPlotCustomShape::Gradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotGradient>([this] { InvalidateParent(); });
  return *gradient_;
}

void TPlotCustomShape::SetGradient(const TCustomPlotGradient* gradient) {
  if (!gradient) {
    if (!gradient_) return;
    gradient_.reset();
    InvalidateParent();
    return;
  }
  Gradient().Assign(*gradient);
}

void TPlotCustomShape::SetBevel(TBevelCut v) {
  if (ChangeValue(bevel_, v)) InvalidateParent();
}
void TPlotCustomShape::SetBevelWidth(int v) {
  if (ChangeValue(bevelWidth_, v)) InvalidateParent();
}
void TPlotCustomShape::SetShapeStyle(TChartObjectShapeStyle v) {
  if (ChangeValue(shapeStyle_, v)) InvalidateParent();
}
void TPlotCustomShape::SetTextFormat(TTextFormat v) {
  if (ChangeValue(textFormat_, v)) InvalidateParent();
}
void TPlotCustomShape::SetTransparency(int percent) {
  if (ChangeValue(transparency_, std::clamp(percent, 0, 100))) InvalidateParent();
}

void TPlotCustomShape::SetColor(TColor v) {
  if (Parent()) {
    Parent()->ChangeColor(color_, v);
  } else {
    color_ = v;
  }
}

void TPlotCustomShape::SetTransparent(bool v) {
  if (Parent()) {
    Parent()->ChangeBoolean(transparent_, v);
  } else {
    transparent_ = v;
  }
}

void TPlotCustomShape::CopyFrom(const TPlotCustomShape& s) {
  if (&s == this) return;
  SetBevel(s.bevel_);
  SetBevelWidth(s.bevelWidth_);
  SetColor(s.color_);
  font_->Assign(*s.font_);
  SetGradient(s.gradient_.get());
  SetShapeStyle(s.shapeStyle_);
  SetShadow(s.shadow_.get());
  SetTextFormat(s.textFormat_);
  SetTransparent(s.transparent_);
  SetTransparency(s.transparency_);
  CopyBrushPen(s);
}

// ---- Drawing ------------------------------------------------------------------------------

std::array<TPoint, 4> TPlotCustomShape::RotatedCorners(const TRect& r, double angle) {
  const double a = angle * std::numbers::pi / 180;
  const double s = std::sin(a), c = std::cos(a);
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const TPoint corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
  std::array<TPoint, 4> out;
  for (size_t k = 0; k < 4; ++k) {
    const double dx = corners[k].x - cx, dy = corners[k].y - cy;
    out[k] = TPoint{cx + Round(dx * c + dy * s), cy + Round(-dx * s + dy * c)};
  }
  return out;
}

void TPlotCustomShape::DrawOutline(TCanvas3D& canvas, const TRect& rect, double angle, int z) {
  if (angle > 0) {
    const std::array<TPoint, 4> corners = RotatedCorners(rect, angle);
    if (canvas.IsFull3D()) {
      canvas.DrawPolygonAtZ(corners, z);
    } else {
      canvas.DrawPolygon(corners);
    }
  } else if (canvas.IsFull3D()) {
    canvas.DrawRectAtZ(rect, z);
  } else if (shapeStyle_ == fosRoundRectangle) {
    canvas.DrawRoundRectR(rect, 16, 16);
  } else {
    canvas.DrawRectangleR(rect);
  }
}

void TPlotCustomShape::DrawFramedBox(const TRect& rect, double angle, int z) {
  if (transparent_ || !Parent()) return;
  TCanvas3D& canvas = Parent()->Canvas();
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) {
    blend = canvas.BeginBlend(angle == 0 ? rect : PolygonBounds(RotatedCorners(rect, angle)), transparency_);
  }
  // A shape whose shadow was freed draws none (and drawing does not make a new one).
  if (shadow_ && (shadow_->HorizSize() != 0 || shadow_->VertSize() != 0) && Brush().Style() != BrushStyle::Clear) {
    TPlotShadow& shadow = *shadow_;
    if (angle == 0 && shapeStyle_ == fosRectangle) {
      if (canvas.IsFull3D()) {
        shadow.PaintRectShadow(canvas, rect, z);
      } else {
        canvas.BeginFlatDrawing();
        shadow.PaintRectShadow(canvas, rect, z);
        canvas.EndFlatDrawing();
      }
    } else {
      int h = shadow.HorizSize(), v = shadow.VertSize();
      if ((h > 0 || v > 0) && Pen().Visible()) {
        h += Pen().Width();
        v += Pen().Width();
      }
      canvas.Pen().SetStyle(PenStyle::Clear);
      canvas.Brush().SetBitmap(nullptr);
      canvas.Brush().SetStyle(BrushStyle::Solid);
      canvas.Brush().SetColor(shadow.Color());
      const TRect moved{rect.left + h, rect.top + v, rect.right + h, rect.bottom + v};
      std::unique_ptr<TPlotBlend> shadowBlend;
      if (shadow.Transparency() > 0) {
        shadowBlend = canvas.BeginBlend(angle == 0 ? moved : PolygonBounds(RotatedCorners(moved, angle)),
                                        shadow.Transparency());
      }
      DrawOutline(canvas, moved, angle, z);
      if (shadowBlend) canvas.EndBlend(std::move(shadowBlend));
    }
  }
  if (gradient_ && gradient_->Visible()) {
    if (angle <= 0) {
      gradient_->PaintRect(canvas, rect, shapeStyle_ == fosRoundRectangle ? 16 : 0);
    } else if (canvas.IsFull3D()) {
      gradient_->PaintProjected(canvas, RotatedCorners(rect, angle), z);
    } else {
      gradient_->PaintPolygon(canvas, RotatedCorners(rect, angle));
    }
    canvas.Brush().SetStyle(BrushStyle::Clear);
  } else {
    canvas.SelectBrush(Brush(), color_);
  }
  canvas.SelectPen(Pen());
  DrawOutline(canvas, rect, angle, z);
  if (angle == 0) {
    TColor topLeft, bottomRight;
    if (BevelColors(bevel_, topLeft, bottomRight)) canvas.DrawBevelFrame(rect, topLeft, bevelWidth_, bottomRight);
  }
  if (blend) canvas.EndBlend(std::move(blend));
}

void TPlotCustomShape::Draw() { DrawFramedBox(shapeBounds_, 0, 0); }

}  // namespace chart
