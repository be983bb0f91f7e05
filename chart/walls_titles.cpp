// The chart's walls and titles.
#include "chart/walls_titles.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/html.h"

namespace chart {

int ChartTitleMargin = 5;

bool ReadableHtml(TPlotCanvas& canvas, const std::string& text) {
  try {
    MeasureHtmlText(canvas, text);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

// ---- Positioned shape ---------------------------------------------------------------------

void TPlotCustomShapePosition::SetCustomPosition(bool value) {
  if (customPosition_ == value) return;
  customPosition_ = value;
  InvalidateParent();
}

void TPlotCustomShapePosition::SetLeft(int value) {
  TRect r = ShapeBounds();
  const int width = r.right - r.left;
  r.left = value;
  r.right = value + width;
  SetShapeBounds(r);
  customPosition_ = false;
  SetCustomPosition(true);
}

void TPlotCustomShapePosition::SetTop(int value) {
  TRect r = ShapeBounds();
  const int height = r.bottom - r.top;
  r.top = value;
  r.bottom = value + height;
  SetShapeBounds(r);
  customPosition_ = false;
  SetCustomPosition(true);
}

void TPlotCustomShapePosition::CopyFrom(const TPlotCustomShape& source) {
  TPlotCustomShape::CopyFrom(source);
  if (const auto* s = dynamic_cast<const TPlotCustomShapePosition*>(&source)) {
    customPosition_ = s->customPosition_;
    SetShapeBounds(s->ShapeBounds());
  }
}

// ---- Walls --------------------------------------------------------------------------------

TCustomChartWall::TCustomChartWall(TCustomPlotPanel* chart, TColor defaultColor)
    : TPlotCustomShape(chart), defaultColor_(defaultColor) {
  SetColor(defaultColor);
}

void TCustomChartWall::SetAutoHide(bool value) {
  if (autoHide_ == value) return;
  autoHide_ = value;
  InvalidateParent();
}

void TCustomChartWall::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  InvalidateParent();
}

void TCustomChartWall::SetSize(int value) {
  // Sizes beyond 100,000 pixels either way are taken as that, so sums with positions stay in range.
  value = std::clamp(value, -100000, 100000);
  if (size_ == value) return;
  size_ = value;
  InvalidateParent();
}

bool TCustomChartWall::Shown(const TCustomAxisPanel& chart) const {
  return chart.View3DWalls() && Visible() && !autoHide_;
}

bool TCustomChartWall::DrawsDark() const {
  return dark3D_ && Brush().Style() != platform::BrushStyle::Clear && !Brush().HasImage();
}

void TCustomChartWall::CopyFrom(const TPlotCustomShape& source) {
  TPlotCustomShape::CopyFrom(source);
  if (const auto* s = dynamic_cast<const TCustomChartWall*>(&source)) {
    autoHide_ = s->autoHide_;
    dark3D_ = s->dark3D_;
    size_ = s->size_;
  }
}

TChartBackWall::TChartBackWall(TCustomPlotPanel* chart) : TChartWall(chart, clSilver) {
  SetDefaultTransparent(true);
}

TChartRightWall::TChartRightWall(TCustomPlotPanel* chart) : TChartWall(chart, clSilver) { SetVisible(false); }

TChartWalls::TChartWalls(TCustomAxisPanel* chart)
    : chart_(chart), back_(chart), bottom_(chart, clWhite), left_(chart, static_cast<TColor>(0x80FFFF)), right_(chart) {}

void TChartWalls::Assign(const TChartWalls& source) {
  back_.CopyFrom(source.back_);
  bottom_.CopyFrom(source.bottom_);
  left_.CopyFrom(source.left_);
  right_.CopyFrom(source.right_);
}

int TChartWalls::SizeBeside(const TChartAxis* axis) const {
  if (!chart_->View3D() || !chart_->View3DWalls()) return 0;
  const TCustomChartWall* wall = &back_;
  if (axis == chart_->LeftAxis()) {
    wall = &left_;
  } else if (axis == chart_->BottomAxis()) {
    wall = &bottom_;
  } else if (axis == chart_->RightAxis()) {
    wall = &right_;
  }
  return wall->Visible() ? wall->Size() : 0;
}

void TChartWalls::AdjustChartRect3D(bool usesAxes) {
  if (chart_->ChartRectFixed() || !chart_->View3D() || !chart_->View3DOptions().Orthogonal()) return;
  TRect r = chart_->ChartRect();
  const int depth = std::abs(chart_->TotalDepth) + (usesAxes ? back_.Size() : 0);
  if (chart_->View3DOptions().OrthoAngle() <= 90) {
    r.right -= depth;
    if (right_.Visible()) r.right -= right_.Size() + 1;
  } else {
    r.left += depth;
    if (left_.Visible()) r.left += left_.Size() + 1;
  }
  r.top += back_.Size() + std::abs(chart_->Height3D());
  chart_->SetChartRect(r);
  chart_->NormalizeChartRect();
}

void TChartWalls::DrawBack2D() {
  TCanvas3D& c = chart_->Canvas();
  const TRect& cr = chart_->ChartRect();
  const TRect r{cr.left, cr.top, cr.right + 1, cr.bottom + 1};
  std::unique_ptr<TPlotBlend> blend;
  if (!back_.Transparent()) {
    if (back_.Transparency() > 0) blend = c.BeginBlend(r, back_.Transparency());
    if (back_.GradientIfAny() && back_.GradientIfAny()->Visible()) {
      back_.Gradient().PaintRect(c, r);
      c.Brush().SetStyle(platform::BrushStyle::Clear);
    } else {
      c.SelectBrush(back_.Brush(), back_.Color());
    }
  } else {
    c.Brush().SetStyle(platform::BrushStyle::Clear);
  }
  c.SelectPen(back_.Pen());
  c.DrawRectangleR(r);
  if (blend) c.EndBlend(std::move(blend));
}

namespace {

// The corners of a wall's face towards the plot (the whole wall when it is flat) around the
// plot rectangle `cr` of depth `depth`; `which`: 0 back, 1 left, 2 bottom, 3 right.
std::array<TPoint3D, 4> WallFace(const TRect& cr, int depth, int which) {
  const int l = cr.left, t = cr.top, r = cr.right, b = cr.bottom;
  const std::array<TPoint3D, 4> faces[4] = {{{{l, t, depth}, {r, t, depth}, {r, b, depth}, {l, b, depth}}},
                                            {{{l, t, 0}, {l, t, depth}, {l, b, depth}, {l, b, 0}}},
                                            {{{l, b, 0}, {r, b, 0}, {r, b, depth}, {l, b, depth}}},
                                            {{{r, t, 0}, {r, t, depth}, {r, b, depth}, {r, b, 0}}}};
  return faces[which];
}

}  // namespace

// `which`: 0 back, 1 left, 2 bottom, 3 right.
void TChartWalls::DrawWall3D(TCustomChartWall& wall, int which) {
  TCanvas3D& c = chart_->Canvas();
  const TRect& cr = chart_->ChartRect();
  const int depth = chart_->TotalDepth;
  const int size = wall.Size();
  const std::array<TPoint3D, 4> corners3D = WallFace(cr, depth, which);
  std::array<TPoint, 4> face;
  for (size_t k = 0; k < 4; ++k) {
    const TPoint3D& p = corners3D[k];
    face[k] = c.ProjectPoint(p.x, p.y, p.z);
  }
  std::unique_ptr<TPlotBlend> blend;
  if (wall.Transparency() > 0) {
    // Over the projected wall: its face, and the far side of a thick wall.
    std::vector<TPoint> corners(face.begin(), face.end());
    if (size >= 1) {
      const int dx = which == 1 ? -size : which == 3 ? size : 0, dy = which == 2 ? size : 0;
      const int dz = which == 0 ? (depth >= 0 ? size : -size) : 0;
      for (const TPoint3D& p : corners3D) corners.push_back(c.ProjectPoint(p.x + dx, p.y + dy, p.z + dz));
    }
    blend = c.BeginBlend(PolygonBounds(corners), wall.Transparency());
  }
  const TCustomPlotGradient* gradient = wall.GradientIfAny();
  const bool gradientFill = !wall.Transparent() && gradient && gradient->Visible();
  if (wall.Transparent()) {
    c.Brush().SetStyle(platform::BrushStyle::Clear);
  } else {
    c.SelectBrush(wall.Brush(), wall.Color());
  }
  c.SelectPen(wall.Pen());
  const bool dark = wall.DrawsDark();
  if (size < 1) {
    // A flat wall with a gradient is only its face, drawn below.
    if (!gradientFill) {
      switch (which) {
        case 0: c.DrawRectAtZ(cr, depth); break;
        case 1: c.DrawSidePlaneRect(cr.left, cr.top, 0, cr.bottom, depth); break;
        case 2: c.DrawHorizPlaneRect(cr.left, cr.bottom, 0, cr.right, depth); break;
        default: c.DrawSidePlaneRect(cr.right, cr.top, 0, cr.bottom, depth); break;
      }
    }
  } else {
    switch (which) {
      case 0:
        if (depth >= 0) {
          c.DrawBox3D(cr.left, cr.right, cr.top, cr.bottom, depth, depth + size, dark);
        } else {
          c.DrawBox3D(cr.left, cr.right, cr.top, cr.bottom, depth - size, depth, dark);
        }
        break;
      case 1: c.DrawBox3D(cr.left - size, cr.left, cr.top, cr.bottom, 0, depth, dark); break;
      case 2: c.DrawBox3D(cr.left, cr.right, cr.bottom, cr.bottom + size, 0, depth, dark); break;
      default: c.DrawBox3D(cr.right, cr.right + size, cr.top, cr.bottom, 0, depth, dark); break;
    }
  }
  if (gradientFill) {
    // The gradient fills the projected face, which the pen frames.
    wall.Gradient().PaintPolygon(c, face);
    c.Brush().SetStyle(platform::BrushStyle::Clear);
    c.SelectPen(wall.Pen());
    c.DrawPolygon(face);
  }
  if (blend) c.EndBlend(std::move(blend));
}

void TChartWalls::DrawInsideImage() {
  const TBackImage* image = chart_->BackImageIfAny();
  if (!image || !image->Graphic() || !image->Inside()) return;
  TCanvas3D& c = chart_->Canvas();
  const TRect& cr = chart_->ChartRect();
  const bool view3D = chart_->View3D();
  const TRect r = view3D ? cr : TRect{cr.left, cr.top, cr.right + 1, cr.bottom + 1};
  chart_->PaintBackImage(r, view3D ? chart_->TotalDepth : 0);
  // The back wall's frame over the picture, as over its fill.
  if (view3D ? !back_.Shown(*chart_) : !back_.Visible()) return;
  c.Brush().SetStyle(platform::BrushStyle::Clear);
  c.SelectPen(back_.Pen());
  if (view3D) {
    c.DrawRectAtZ(cr, chart_->TotalDepth);
  } else {
    c.DrawRectangleR(r);
  }
}

void TChartWalls::Draw() {
  if (!chart_->View3D()) {
    if (back_.Visible()) DrawBack2D();
    DrawInsideImage();
    return;
  }
  // The right wall stands behind the series when the viewer sees it from inside.
  if (right_.Shown(*chart_) && !SeenFromOutside(3)) DrawWall3D(right_, 3);
  if (back_.Shown(*chart_)) DrawWall3D(back_, 0);
  DrawInsideImage();
  if (left_.Shown(*chart_)) DrawWall3D(left_, 1);
  if (bottom_.Shown(*chart_)) DrawWall3D(bottom_, 2);
  for (TChartAxis* axis : {chart_->DepthAxis(), chart_->DepthTopAxis()}) {
    if (chart_->DrawsAxis(axis)) axis->DrawDepthGrids();
  }
}

bool TChartWalls::SeenFromOutside(int which) {
  TCanvas3D& c = chart_->Canvas();
  const std::array<TPoint3D, 4> f = WallFace(chart_->ChartRect(), chart_->TotalDepth, which);
  const auto at = [&](size_t k) { return c.ProjectPoint(f[k].x, f[k].y, f[k].z); };
  // Three corners of the plane, turning anticlockwise on the screen when seen from outside
  // the plot area (as the faces of a box are tested): the right wall's face runs the other way.
  return which == 3 ? !IsBackFacing(at(1), at(0), at(3)) : !IsBackFacing(at(0), at(1), at(2));
}

void TChartWalls::DrawAfterSeries() {
  if (!chart_->View3D()) return;
  const auto sideGrids = [&](std::initializer_list<TChartAxis*> axes) {
    for (TChartAxis* axis : axes) {
      if (chart_->DrawsAxis(axis)) axis->DrawSideGrids();
    }
  };
  if (right_.Shown(*chart_) && SeenFromOutside(3)) {
    DrawWall3D(right_, 3);
    sideGrids({chart_->RightAxis()});
  }
  if (left_.Shown(*chart_) && SeenFromOutside(1)) {
    DrawWall3D(left_, 1);
    sideGrids({chart_->LeftAxis()});
  }
  // Seen from behind, the back wall stands in front of the top and bottom planes: their grids
  // first, the wall over them.
  if (back_.Shown(*chart_) && SeenFromOutside(0)) {
    sideGrids({chart_->TopAxis(), chart_->BottomAxis()});
    DrawWall3D(back_, 0);
  }
}

// ---- Titles -------------------------------------------------------------------------------

TChartTitle::TChartTitle(TCustomPlotPanel* chart) : TPlotCustomShapePosition(chart) {
  SetDefaultTransparent(true);
  Font().SetColor(clBlue);
}

TChartFootTitle::TChartFootTitle(TCustomPlotPanel* chart) : TChartTitle(chart) {
  onBottom_ = true;
  Font().SetColor(clRed);
  Font().SetStyle(platform::fsItalic);
}

void TChartTitle::SetAdjustFrame(bool value) {
  if (adjustFrame_ == value) return;
  adjustFrame_ = value;
  InvalidateParent();
}

void TChartTitle::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  InvalidateParent();
}

void TChartTitle::SetText(const std::vector<std::string>& lines) {
  if (text_ == lines) return;
  text_ = lines;
  InvalidateParent();
}

void TChartTitle::CopyFrom(const TPlotCustomShape& source) {
  TPlotCustomShapePosition::CopyFrom(source);
  if (const auto* s = dynamic_cast<const TChartTitle*>(&source)) {
    adjustFrame_ = s->adjustFrame_;
    alignment_ = s->alignment_;
    text_ = s->text_;
  }
}

bool TChartTitle::Clicked(int x, int y) const {
  const TRect& r = ShapeBounds();
  return Visible() && x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

void TChartTitle::DrawTitle() {
  TCustomPlotPanel* chart = Parent();
  if (!chart || !Visible() || text_.empty()) return;
  TCanvas3D& c = chart->Canvas();
  int f = (Pen().Visible() && Pen().Color() != clDefault) ? Pen().Width() : 0;
  if (Bevel() != bvNone) f = BevelWidth();
  const int lines = static_cast<int>(text_.size());
  const bool custom = CustomPosition();
  TRect box = custom ? ShapeBounds() : chart->ChartRect();
  if (!custom && !onBottom_) box.top += f;
  c.SelectFont(Font());
  const int lineHeight = c.TextHeight("W");
  if (custom || !onBottom_) {
    box.bottom = box.top + lines * lineHeight;
  } else {
    box.top = box.bottom - lines * lineHeight;
  }
  if (!custom) box = TRect{box.left - f, box.top - f, box.right + f, box.bottom + f};
  bool html = TextFormat() == ttfHtml;
  std::string all;
  for (int i = 0; i < lines; ++i) all += (i ? "\r\n" : "") + text_[static_cast<size_t>(i)];
  if (html && !ReadableHtml(c, all)) html = false;
  // An HTML text is drawn whole, so it is measured whole.
  auto widthOf = [&](const std::string& line) { return c.TextWidth(line); };
  const int halfW = c.TextWidth("W") / 2;
  if (adjustFrame_) {
    int widest = html ? MeasureHtmlText(c, all).width : 0;
    if (!html) {
      for (const std::string& line : text_) widest = std::max(widest, widthOf(line));
    }
    const int width = widest + c.TextWidth("W") + f;
    switch (alignment_) {
      case taLeftJustify: box.right = box.left + width; break;
      case taRightJustify: box.left = box.right - width; break;
      case taCenter: {
        if (custom) box.right = box.left + width;
        const int middle = (box.left + box.right) / 2;
        box.left = middle - width / 2;
        box.right = box.left + width;
        break;
      }
    }
  }
  SetShapeBounds(box);
  DrawFramedBox(box, 0, 0);
  c.SelectFont(Font());
  c.SetBackMode(cbmTransparent);
  c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
  if (html) {
    const int y = onBottom_ && !custom ? box.bottom - lines * lineHeight - f : box.top + f;
    c.DrawTextMaybeHtml(box.left + halfW, y, true, all);
  } else {
    for (int i = 0; i < lines; ++i) {
      const std::string& line = text_[static_cast<size_t>(i)];
      const int y = (onBottom_ && !custom) ? box.bottom - lineHeight - f - i * lineHeight
                                           : box.top + f + i * lineHeight;
      int x = box.left + halfW;
      if (alignment_ == taRightJustify) {
        x = box.right - widthOf(line) - halfW;
      } else if (alignment_ == taCenter) {
        x = (box.left + box.right) / 2 - widthOf(line) / 2;
      }
      c.DrawText2D(x, y, line);
    }
  }
  if (custom || chart->ChartRectFixed()) return;
  int room = ChartTitleMargin + f;
  if (!Transparent()) room += ShadowVertSize();
  TRect r = chart->ChartRect();
  if (onBottom_) {
    r.bottom = box.bottom - room - lines * lineHeight;
  } else {
    r.top = box.bottom + room;
  }
  chart->SetChartRect(r);
  chart->NormalizeChartRect();
}

}  // namespace chart
