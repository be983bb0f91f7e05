// Point markers, callouts and the marks' symbol.
#include "chart/pointer.h"

#include <algorithm>

#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/errors.h"
#include "chart/messages.h"
#include "chart/series.h"

namespace chart {

bool ContrastingCalloutArrows = false;

// ---- Pointer ------------------------------------------------------------------------------

TSeriesPointer::TSeriesPointer(TCustomPlotPanel* parent, TChartSeries* series)
    : TPlotCustomShapeBrushPen(parent), series_(series) {}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetDefaults(bool draw3D, bool visible) {
  draw3D_ = draw3D;
  SetVisible(visible);
}

TPlotGradient& TSeriesPointer::Gradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotGradient>([this] { Changed(); });
  return *gradient_;
}

void TSeriesPointer::SetDark3D(bool value) {
  if (ChangeValue(dark3D_, value)) Changed();
}

void TSeriesPointer::SetDraw3D(bool value) {
  if (ChangeValue(draw3D_, value)) Changed();
}

void TSeriesPointer::SetHorizSize(int value) {
  if (value <= 0) throw ChartException(MsgCheckPointerSize);
  if (ChangeValue(horizSize_, value)) Changed();
}

void TSeriesPointer::SetVertSize(int value) {
  if (value <= 0) throw ChartException(MsgCheckPointerSize);
  if (ChangeValue(vertSize_, value)) Changed();
}

void TSeriesPointer::SetInflateMargins(bool value) {
  if (ChangeValue(inflateMargins_, value)) Changed();
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
  if (ChangeValue(style_, value)) Changed();
}

void TSeriesPointer::SetTransparency(int percent) {
  if (ChangeValue(transparency_, std::clamp(percent, 0, 100))) Changed();
}

int TSeriesPointer::StartZ() const { return series_ ? series_->StartZ() : 0; }
int TSeriesPointer::MiddleZ() const { return series_ ? series_->MiddleZ() : 0; }
int TSeriesPointer::EndZ() const { return series_ ? series_->EndZ() : 0; }

void TSeriesPointer::CopyFrom(const TSeriesPointer& source) {
  CopyBrushPen(source);
  dark3D_ = source.dark3D_;
  draw3D_ = source.draw3D_;
  if (source.gradient_) {
    Gradient().Assign(*source.gradient_);
  } else {
    gradient_.reset();
  }
  horizSize_ = source.horizSize_;
  vertSize_ = source.vertSize_;
  inflateMargins_ = source.inflateMargins_;
  style_ = source.style_;
  transparency_ = source.transparency_;
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, TColor color) {
  if (!Pen().Visible()) {
    canvas.Pen().SetStyle(platform::PenStyle::Clear);
  } else if (Pen().Color() == clDefault) {
    canvas.SelectPenColor(Pen(), color);
  } else {
    canvas.SelectPen(Pen());
  }
  TColor brush = Brush().Color();
  if (brush == clDefault) brush = Brush().Style() == platform::BrushStyle::Solid ? color : clBlack;
  canvas.SelectBrush(Brush(), brush);
}

void TSeriesPointer::Draw(TCanvas3D& canvas, bool is3D, int x, int y, TColor color) {
  PrepareCanvas(canvas, color);
  PaintShape(canvas, is3D, style_, color, horizSize_, vertSize_, x, y);
}

void TSeriesPointer::PaintShape(TCanvas3D& canvas, bool is3D, TSeriesPointerStyle style, TColor color, int h,
                                int v, int x, int y) {
  const bool solid = is3D && draw3D_;
  const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) {
    TRect area{x - h, y - v, x + h + 1, y + v + 1};
    if (is3D) area = canvas.ProjectedRectBounds(area, z0);
    blend = canvas.BeginBlend(area, transparency_);
  }
  // A flat polygon, projected at the start depth in 3D.
  const auto polygon = [&](std::span<const TPoint> points) {
    if (is3D) {
      canvas.DrawPolygonAtZ(points, z0);
    } else {
      canvas.DrawPolygon(points);
    }
  };
  const auto line = [&](int xa, int ya, int xb, int yb) {
    if (is3D) {
      canvas.DrawLineAtZ(xa, ya, xb, yb, z0);
    } else {
      canvas.DrawLine(xa, ya, xb, yb);
    }
  };
  const auto cross = [&] {
    line(x, y - v, x, y + v + 1);
    line(x - h, y, x + h + 1, y);
  };
  const auto diagCross = [&] {
    line(x - h, y - v, x + h + 1, y + v + 1);
    line(x + h, y - v, x - h - 1, y + v + 1);
  };
  switch (style) {
    case psRectangle:
      if (solid) {
        canvas.DrawBox3D(x - h, x + h + 1, y - v, y + v + 1, z0, z1, dark3D_);
      } else if (is3D) {
        canvas.DrawRectAtZ(TRect{x - h, y - v, x + h + 1, y + v + 1}, z0);
      } else {
        canvas.DrawRectangle(x - h, y - v, x + h + 1, y + v + 1);
      }
      break;
    case psCircle:
      if (solid && canvas.IsFull3D()) {
        canvas.DrawSphere(x, y, zm, h);
      } else if (is3D) {
        canvas.DrawEllipse3D(x - h, y - v, x + h, y + v, z0);
      } else {
        canvas.DrawEllipse(x - h, y - v, x + h, y + v);
      }
      break;
    case psTriangle:
    case psDownTriangle: {
      const int apex = style == psTriangle ? y - v : y + v, base = style == psTriangle ? y + v : y - v;
      if (solid) {
        canvas.DrawPyramid(true, x - h, apex, x + h, base, z0, z1, dark3D_);
      } else {
        const TPoint tri[3] = {{x - h, base}, {x + h, base}, {x, apex}};
        polygon(tri);
      }
      break;
    }
    case psCross: cross(); break;
    case psDiagCross: diagCross(); break;
    case psStar:
      cross();
      diagCross();
      break;
    case psDiamond: {
      const TPoint diamond[4] = {{x - h, y}, {x, y - v}, {x + h, y}, {x, y + v}};
      polygon(diamond);
      break;
    }
    case psSmallDot: {
      const TColor dot = Brush().Color() == clDefault ? color : Brush().Color();
      if (is3D) {
        canvas.SetPixel3D(x, y, zm, dot);
      } else {
        canvas.SetPixel(x, y, dot);
      }
      break;
    }
    case psNothing: break;
    case psLeftTriangle: {
      const TPoint tri[3] = {{x - h, y}, {x + h, y - v}, {x + h, y + v}};
      polygon(tri);
      break;
    }
    case psRightTriangle: {
      const TPoint tri[3] = {{x + h, y}, {x - h, y - v}, {x - h, y + v}};
      polygon(tri);
      break;
    }
  }
  if (gradient_ && gradient_->Visible() && !solid) FillGradient(canvas, style, h, v, x, y);
  if (blend) canvas.EndBlend(std::move(blend));
}

void TSeriesPointer::FillGradient(TCanvas3D& canvas, TSeriesPointerStyle style, int h, int v, int x, int y) {
  const TRect box{x - h, y - v, x + h + 1, y + v + 1};
  switch (style) {
    case psRectangle:
      gradient_->PaintRect(canvas, TRect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1});
      break;
    case psCircle:
      canvas.ClipEllipse(TRect{x - h, y - v, x + h, y + v}, false);
      gradient_->PaintRect(canvas, box);
      canvas.Unclip();
      break;
    case psTriangle:
    case psDownTriangle:
    case psLeftTriangle:
    case psRightTriangle:
    case psDiamond: {
      std::vector<TPoint> points;
      if (style == psTriangle) points = {{x - h, y + v}, {x + h, y + v}, {x, y - v}};
      if (style == psDownTriangle) points = {{x - h, y - v}, {x + h, y - v}, {x, y + v}};
      if (style == psLeftTriangle) points = {{x - h, y}, {x + h, y - v}, {x + h, y + v}};
      if (style == psRightTriangle) points = {{x + h, y}, {x - h, y - v}, {x - h, y + v}};
      if (style == psDiamond) points = {{x - h, y}, {x, y - v}, {x + h, y}, {x, y + v}};
      canvas.ClipPolygon(points);
      gradient_->PaintRect(canvas, box);
      canvas.Unclip();
      break;
    }
    default: break;
  }
}

// ---- Callouts -----------------------------------------------------------------------------

TCallout::TCallout(TCustomPlotPanel* parent, TChartSeries* series)
    : TSeriesPointer(parent, series), arrow_(std::make_unique<TWhitePen>([this] { InvalidateParent(); })) {
  SetDefaults(false, true);
  Brush().SetColor(clBlack);
}

void TCallout::SetArrowHead(TArrowHeadStyle value) {
  if (ChangeValue(arrowHead_, value)) InvalidateParent();
}

void TCallout::SetArrowHeadSize(int value) {
  if (ChangeValue(arrowHeadSize_, value)) InvalidateParent();
}

void TCallout::SetDistance(int value) {
  if (ChangeValue(distance_, value)) InvalidateParent();
}

void TCallout::CopyFrom(const TSeriesPointer& source) {
  TSeriesPointer::CopyFrom(source);
  if (const auto* c = dynamic_cast<const TCallout*>(&source)) {
    arrow_->Assign(*c->arrow_);
    arrowHead_ = c->arrowHead_;
    arrowHeadSize_ = c->arrowHeadSize_;
    distance_ = c->distance_;
  }
}

void TCallout::PaintArrow(TColor markColor, TPoint from, int depth, TPoint to) {
  auto* chart = dynamic_cast<TCustomAxisPanel*>(Parent());
  if (!chart) return;
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  if (arrow_->Visible()) {
    c.Brush().SetStyle(platform::BrushStyle::Clear);
    TColor color = arrow_->Color();
    if (ContrastingCalloutArrows && (color == markColor || color == chart->Color())) {
      color = chart->Color() == clBlack ? clWhite : clBlack;
    }
    c.SelectPenColor(*arrow_, color);
    if (arrowHead_ == ahNone) {
      if (is3D) {
        c.DrawLineAtZ(from.x, from.y, to.x, to.y, depth);
      } else {
        c.DrawLine(from.x, from.y, to.x, to.y);
      }
    } else {
      if (arrowHead_ == ahSolid) c.SelectBrush(Brush(), color);
      c.DrawArrow(arrowHead_ == ahSolid, from, 0, is3D ? depth : 0, arrowHeadSize_, arrowHeadSize_, to);
    }
  }
  if (arrowHead_ == ahNone && Visible()) {
    TPoint at = to;
    if (is3D) at = c.ProjectPoint(to.x, to.y, depth);
    if (is3D) c.SuspendProjection();
    Draw(c, false, at.x, at.y, markColor);
    if (is3D) c.ResumeProjection();
  }
}

TMarksCallout::TMarksCallout(TCustomPlotPanel* parent, TChartSeries* series) : TCallout(parent, series) {
  SetDefaults(false, false);
}

void TMarksCallout::SetLength(int value) {
  // Lengths beyond 100,000 pixels either way are taken as that, so arrow ends stay in range.
  if (ChangeValue(length_, std::clamp(value, -100000, 100000))) InvalidateParent();
}

void TMarksCallout::CopyFrom(const TSeriesPointer& source) {
  TCallout::CopyFrom(source);
  if (const auto* c = dynamic_cast<const TMarksCallout*>(&source)) length_ = c->length_;
}

// ---- Symbol -------------------------------------------------------------------------------

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomPlotPanel* parent) : TPlotCustomShape(parent) {
  SetVisible(false);
  SetDefaultTransparent(false);
  InitShadow(Shadow());
}

void TSeriesMarksSymbol::InitShadow(TPlotShadow& shadow) {
  TPlotCustomShape::InitShadow(shadow);
  shadow.SetSize(1);
  shadow.SetStoredDefaults(shadow.Color(), 1);
}

}  // namespace chart
