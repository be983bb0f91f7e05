// The bar series.
#include "chart/bar.h"

#include <algorithm>
#include <cmath>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series_tables.h"
#include "chart/stored_tables.h"

namespace chart {

// ---- Gradient -----------------------------------------------------------------------------

TBarSeriesGradient::TBarSeriesGradient(TNotify onChange) : TCustomPlotGradient(std::move(onChange)) {
  SetStartColor(clWhite);
  SetVisible(true);
}

void TBarSeriesGradient::SetRelative(bool value) {
  if (relative_ == value) return;
  relative_ = value;
  Changed();
}

void TBarSeriesGradient::Assign(const TCustomPlotGradient& source) {
  TCustomPlotGradient::Assign(source);
  if (const auto* g = dynamic_cast<const TBarSeriesGradient*>(&source)) relative_ = g->relative_;
}

// ---- Series -------------------------------------------------------------------------------

TCustomBarSeries::TCustomBarSeries(QObject* owner)
    : TChartSeries(owner),
      gradient_(std::make_unique<TBarSeriesGradient>([this] { Repaint(); })),
      tickLines_(std::make_unique<TChartHiddenPen>([this] { Repaint(); })) {
  YValues().SetName(MsgValuesBar.empty() ? "Bar" : MsgValuesBar);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarStyle(TBarStyle value) {
  if (ChangeValue(barStyle_, value)) Repaint();
}

bool TCustomBarSeries::SameClass(const TChartSeries* other) const {
  const auto* bar = dynamic_cast<const TCustomBarSeries*>(other);
  return bar && (IsOfClassOf(bar) || bar->IsOfClassOf(this));
}

std::vector<TCustomBarSeries*> TCustomBarSeries::SameKindSeries() const {
  std::vector<TCustomBarSeries*> out;
  if (!ParentChart()) {
    if (Active()) out.push_back(const_cast<TCustomBarSeries*>(this));
    return out;
  }
  for (TChartSeries* s : ParentChart()->SeriesList()) {
    if (s->Active() && SameClass(s)) out.push_back(static_cast<TCustomBarSeries*>(s));
  }
  return out;
}

void TCustomBarSeries::ShareSettings() {
  if (!ParentChart() || sharing_) return;
  sharing_ = true;
  for (TChartSeries* s : ParentChart()->SeriesList()) {
    if (s == this || !SameClass(s)) continue;
    auto* bar = static_cast<TCustomBarSeries*>(s);
    bar->sharing_ = true;
    bar->multiBar_ = multiBar_;
    bar->sideMargins_ = sideMargins_;
    bar->sharing_ = false;
  }
  sharing_ = false;
}

void TCustomBarSeries::SetMultiBar(TMultiBar value) {
  if (multiBar_ == value) return;
  multiBar_ = value;
  ShareSettings();
  Repaint();
}

void TCustomBarSeries::SetSideMargins(bool value) {
  if (sideMargins_ == value) return;
  sideMargins_ = value;
  ShareSettings();
  Repaint();
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* chart) {
  TChartSeries::SetParentChart(chart);
  if (!chart) return;
  // A series joining a chart takes the shared settings of the first same-kind series there.
  for (TChartSeries* s : chart->SeriesList()) {
    if (s == this || !SameClass(s)) continue;
    const auto* bar = static_cast<const TCustomBarSeries*>(s);
    multiBar_ = bar->multiBar_;
    sideMargins_ = bar->sideMargins_;
    break;
  }
}

void TCustomBarSeries::CopyFrom(const TChartSeries& source) {
  if (const auto* s = dynamic_cast<const TCustomBarSeries*>(&source)) {
    autoBarSize_ = s->autoBarSize_;
    autoMarkPosition_ = s->autoMarkPosition_;
    barStyle_ = s->barStyle_;
    barWidthPercent_ = s->barWidthPercent_;
    bevelSize_ = s->bevelSize_;
    dark3D_ = s->dark3D_;
    depthPercent_ = s->depthPercent_;
    gradient_->Assign(*s->gradient_);
    multiBar_ = s->multiBar_;
    offsetPercent_ = s->offsetPercent_;
    sideMargins_ = s->sideMargins_;
    stackGroup_ = s->stackGroup_;
    tickLines_->Assign(*s->tickLines_);
    transparency_ = s->transparency_;
    useYOrigin_ = s->useYOrigin_;
    yOrigin_ = s->yOrigin_;
    customBarWidth_ = s->customBarWidth_;
  }
  TChartSeries::CopyFrom(source);
}

// ---- Before drawing -----------------------------------------------------------------------

void TCustomBarSeries::PrepareForDraw() {
  barSlotIndex_ = 1;
  precedingPointCount_ = 0;
  barSlotCount_ = 0;
  maxBarPointCount_ = -1;
  std::vector<int> groups;
  bool preceding = true;
  for (TCustomBarSeries* s : SameKindSeries()) {
    if (s == this) preceding = false;
    const int n = s->PointCount();
    maxBarPointCount_ = std::max(maxBarPointCount_, sideMargins_ && n > 0 ? n + 1 : n);
    switch (multiBar_) {
      case mbNone:
      case mbSelfStack:
        barSlotCount_ = 1;
        break;
      case mbStacked:
      case mbStacked100:
        if (std::find(groups.begin(), groups.end(), s->stackGroup_) == groups.end()) {
          groups.push_back(s->stackGroup_);
          ++barSlotCount_;
          if (preceding) ++barSlotIndex_;
        }
        break;
      case mbSide:
      case mbSideAll:
        ++barSlotCount_;
        if (preceding) ++barSlotIndex_;
        break;
    }
    if (preceding) precedingPointCount_ += n;
  }
  if (multiBar_ == mbStacked || multiBar_ == mbStacked100) {
    const auto at = std::find(groups.begin(), groups.end(), stackGroup_);
    if (at != groups.end()) barSlotIndex_ = 1 + static_cast<int>(at - groups.begin());
  }
  const int perPage = ParentChart() ? ParentChart()->MaxPointsPerPage() : 0;
  if (multiBar_ == mbSelfStack) {
    // Each self-stacked series is one column at its own place on the category axis: the
    // columns divide the axis as the points of one series would (count + 1 with side margins).
    const int columns = static_cast<int>(SameKindSeries().size());
    maxBarPointCount_ = perPage > 0 ? perPage : sideMargins_ && columns > 0 ? columns + 1 : columns;
  } else if (perPage > 0) {
    maxBarPointCount_ = perPage;
  }
  barSlotCount_ = std::max(barSlotCount_, 1);
}

void TCustomBarSeries::CalcBarWidth() {
  const TChartAxis* axis = CategoryAxis();
  if (customBarWidth_ > 0) {
    barWidthPixels_ = customBarWidth_;
    return;
  }
  if (maxBarPointCount_ <= 0 || !axis) {
    barWidthPixels_ = 0;
    return;
  }
  int slot;
  if (autoBarSize_) {
    const double span = axis->IMaximum() + 2 - axis->IMinimum();
    slot = span > 0 ? Round(axis->IAxisSize() / span) : 0;
  } else {
    slot = axis->IAxisSize() / maxBarPointCount_;
  }
  int width = Round(barWidthPercent_ * 0.01 * slot) / barSlotCount_;
  if (width % 2 != 0) ++width;
  barWidthPixels_ = width;
}

void TCustomBarSeries::FireBeforeDrawValues() {
  CalcBarWidth();
  TChartSeries::FireBeforeDrawValues();
}

void TCustomBarSeries::FindVisibleRange() {
  if (multiBar_ == mbSelfStack) {
    firstVisible_ = PointCount() > 0 ? 0 : -1;
    lastVisible_ = PointCount() - 1;
    return;
  }
  if (ParentChart() && ParentChart()->MaxPointsPerPage() == 1) {
    const int index = ParentChart()->Page() - 1;
    firstVisible_ = lastVisible_ = index < PointCount() ? index : -1;
    return;
  }
  TChartSeries::FindVisibleRange();
}

// ---- Values -------------------------------------------------------------------------------

double TCustomBarSeries::PointOrigin(int index, bool all) const {
  if (multiBar_ == mbStacked || multiBar_ == mbStacked100) {
    const double own = YMandatory() ? YValue(index) : XValue(index);
    double sum = 0;
    for (TCustomBarSeries* s : SameKindSeries()) {
      if (!all && s == this) break;
      if (s->stackGroup_ != stackGroup_ || s->PointCount() <= index) continue;
      const double v = s->YMandatory() ? s->YValue(index) : s->XValue(index);
      if ((own < 0) == (v < 0)) sum += v;
    }
    return sum;
  }
  if (multiBar_ == mbSelfStack) {
    double sum = 0;
    for (int i = 0; i < index; ++i) sum += YMandatory() ? YValue(i) : XValue(i);
    return sum;
  }
  return yOrigin_;
}

int TCustomBarSeries::AxisOriginPixel() const {
  const TChartAxis* axis = ValueAxis();
  return axis ? axis->IEndPos() : 0;
}

double TCustomBarSeries::HighestY() {
  TChartValueList& list = MandatoryValueList();
  double result;
  if (multiBar_ == mbStacked100) {
    result = 100;
  } else if (multiBar_ == mbSelfStack) {
    result = list.Sum();
  } else if (multiBar_ == mbStacked) {
    result = PointCount() > 0 ? -std::numeric_limits<double>::infinity() : 0;
    for (int i = 0; i < PointCount(); ++i) result = std::max(result, PointOrigin(i, false) + list.ValueAt(i));
  } else {
    result = TChartSeries::HighestY();
  }
  return useYOrigin_ ? std::max(result, yOrigin_) : result;
}

double TCustomBarSeries::LowestY() {
  TChartValueList& list = MandatoryValueList();
  double result;
  if (multiBar_ == mbStacked100) {
    result = 0;
  } else if (multiBar_ == mbStacked || multiBar_ == mbSelfStack) {
    result = PointCount() > 0 ? std::numeric_limits<double>::infinity() : 0;
    for (int i = 0; i < PointCount(); ++i) result = std::min(result, PointOrigin(i, false) + list.ValueAt(i));
  } else {
    result = TChartSeries::LowestY();
  }
  return useYOrigin_ ? std::min(result, yOrigin_) : result;
}

double TCustomBarSeries::HighestX() {
  if (multiBar_ == mbSideAll) return PointCount() + precedingPointCount_ - 1;
  if (multiBar_ == mbSelfStack && ParentChart()) return ParentChart()->SeriesList().IndexOf(this);
  return TChartSeries::HighestX();
}

double TCustomBarSeries::LowestX() {
  if (multiBar_ == mbSelfStack && ParentChart()) return ParentChart()->SeriesList().IndexOf(this);
  return TChartSeries::LowestX();
}

// ---- Margins ------------------------------------------------------------------------------

void TCustomBarSeries::HorizontalMargins(int& left, int& right) {
  left = right = 0;
  if (!YMandatory()) return;
  CalcBarWidth();
  int group = multiBar_ == mbSideAll ? barWidthPixels_ : barWidthPixels_ * barSlotCount_;
  if (!sideMargins_) group /= 2;
  left = right = group;
}

void TCustomBarSeries::VerticalMargins(int& top, int& bottom) {
  top = bottom = 0;
  if (!Marks().Visible() || !ParentChart()) return;
  TCanvas3D& c = ParentChart()->Canvas();
  c.SelectFont(Marks().Font());
  const int pen = Marks().Pen().Visible() ? Marks().Pen().Width() : 0;
  const int room = c.TextHeight("W") + Marks().ArrowLength() + 2 * pen + 1;
  TChartValueList& list = MandatoryValueList();
  if (PointCount() > 0 && list.Maximum() > yOrigin_) top = room;
  if (PointCount() > 0 && list.Minimum() < yOrigin_) bottom = room;
}

// ---- Drawing ------------------------------------------------------------------------------

TRect TCustomBarSeries::DrawnRect(const TBarGeometry& g) const {
  TRect r{std::min(g.left, g.right), std::min(g.valueY, g.originY), std::max(g.left, g.right),
          std::max(g.valueY, g.originY)};
  if (!BarPen().Visible()) {
    ++r.right;
    ++r.bottom;
  }
  return r;
}

void TCustomBarSeries::BarRectangle(TColor color, const TRect& r) {
  TCanvas3D& c = ParentChart()->Canvas();
  if (Brush().Style() == platform::BrushStyle::Solid) {
    if (r.right == r.left || r.top == r.bottom) {
      // Nothing to fill: a line in the bar's colour.
      c.SelectPenColor(BarPen(), color);
      c.Pen().SetStyle(platform::PenStyle::Solid);
      c.DrawLine(r.left, r.top, r.right, r.bottom);
      return;
    }
    if (BarPen().Visible() && r.right - r.left < BarPen().Width()) {
      // Thinner than the pen: the pen in the bar's colour draws it.
      c.SelectPenColor(BarPen(), color);
      c.Brush().SetStyle(platform::BrushStyle::Clear);
      c.DrawRectangleR(r);
      return;
    }
  }
  c.DrawRectangleR(r);
}

void TCustomBarSeries::PaintPoint(int index) {
  if (!ParentChart() || index < 0 || index >= PointCount()) return;
  const TColor color = ColorOfPoint(index);
  if (color == clNone) return;
  const TBarGeometry g = BarGeometry(index);
  if (!g.drawn) return;
  TCanvas3D& c = ParentChart()->Canvas();
  const TRect rect = DrawnRect(g);
  barBounds_ = rect;
  normalBarColor_ = color;
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) {
    TRect area = rect;
    if (ParentChart()->View3D()) {
      // The whole projected bar: its front, and the top and side faces that reach back to
      // the end depth.
      const TRect front = c.ProjectedRectBounds(rect, StartZ()), back = c.ProjectedRectBounds(rect, EndZ());
      area = TRect{std::min(front.left, back.left), std::min(front.top, back.top), std::max(front.right, back.right),
                   std::max(front.bottom, back.bottom)};
    }
    blend = c.BeginBlend(area, transparency_);
  }
  c.SelectPen(BarPen());
  c.SelectBrush(Brush(), color);
  TBarStyle style = barStyle_;
  if (OnGetBarStyle) OnGetBarStyle(this, index, style);
  DrawBarShape(style, rect, g, color, index);
  if (blend) c.EndBlend(std::move(blend));
}

void TCustomBarSeries::DrawBarShape(TBarStyle style, const TRect& r, const TBarGeometry& g, TColor color, int index) {
  if (static_cast<int>(style) < 0 || static_cast<int>(style) > bsDiamond) return;
  TCanvas3D& c = ParentChart()->Canvas();
  const bool is3D = ParentChart()->View3D();
  int z0 = StartZ(), z1 = EndZ();
  if (depthPercent_ != 100) {
    const int cut = Round((z1 - z0) * (100 - depthPercent_) / 200.0);
    z0 += cut;
    z1 -= cut;
  }
  const int zm = (z0 + z1) / 2;
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  // The value end and the origin end in the drawn rectangle.
  const bool up = g.valueY <= g.originY;
  const int valueEnd = up ? r.top : r.bottom, originEnd = up ? r.bottom : r.top;
  switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
    case bsCilinder:
    case bsSlantCube:
      if (!is3D) {
        BarRectangle(color, r);
        if (style == bsSlantCube) c.DrawVertLine(cx, r.top, r.bottom);
      } else if (style == bsCilinder) {
        c.DrawCylinder(true, r.left, r.top, r.right, r.bottom, z0, z1, dark3D_);
      } else {
        c.DrawBox3D(r.left, r.right, r.top, r.bottom, z0, z1, dark3D_);
      }
      break;
    case bsPyramid:
    case bsInvPyramid:
    case bsCone:
    case bsInvCone: {
      const bool apexAtValue = style == bsPyramid || style == bsCone;
      const int apex = apexAtValue ? valueEnd : originEnd, base = apexAtValue ? originEnd : valueEnd;
      if (!is3D) {
        const TPoint tri[3] = {{r.left, base}, {cx, apex}, {r.right, base}};
        c.DrawPolygon(tri);
      } else if (style == bsPyramid || style == bsInvPyramid) {
        c.DrawPyramid(true, r.left, apex, r.right, base, z0, z1, dark3D_);
      } else {
        c.DrawCone(true, r.left, apex, r.right, base, z0, z1, dark3D_, 0);
      }
      break;
    }
    case bsEllipse:
      if (is3D) {
        c.DrawEllipse3D(r.left, r.top, r.right, r.bottom, zm);
      } else {
        c.DrawEllipseR(r);
      }
      break;
    case bsArrow:
    case bsInvArrow: {
      const TPoint from{cx, style == bsArrow ? originEnd : valueEnd};
      const TPoint to{cx, style == bsArrow ? valueEnd : originEnd};
      const int width = r.right - r.left;
      c.DrawArrow(true, from, 50, is3D ? zm : 0, std::min(width, std::abs(to.y - from.y)), width, to);
      break;
    }
    case bsDiamond: {
      const TPoint diamond[4] = {{cx, valueEnd}, {r.right, cy}, {cx, originEnd}, {r.left, cy}};
      if (is3D) {
        c.DrawPolygonAtZ(diamond, zm);
      } else {
        c.DrawPolygon(diamond);
      }
      break;
    }
  }
  // Fill and bevel over the shape.
  const bool flat = !is3D || c.IsOrthogonal();
  if (style == bsRectGradient && gradient_->Visible()) {
    TPlotGradient fill;
    fill.Assign(*gradient_);
    TColor end = color;
    if (gradient_->Relative()) {
      // A colour between the start colour and the bar's, by the value's share of the range.
      TChartValueList& list = MandatoryValueList();
      const double origin = useYOrigin_ ? yOrigin_ : list.Minimum();
      const double span = list.Maximum() - origin;
      const double share = span != 0 ? (list.ValueAt(index) - origin) / span : 0;
      end = InterpolateColor(gradient_->StartColor(), color, Round(std::clamp(share, 0.0, 1.0) * 255), 256, 50);
    }
    fill.SetEndColor(end);
    // Inside the pen (without a pen, inside the grown rectangle).
    const int inset = BarPen().Visible() ? BarPen().Width() : 0;
    const TRect inner{r.left + inset, r.top + inset, r.right - (inset > 0 ? inset : 1),
                      r.bottom - (inset > 0 ? inset : 1)};
    if (inner.right > inner.left && inner.bottom > inner.top) {
      if (is3D) {
        fill.PaintProjected(c,
                            {TPoint{inner.left, inner.top}, TPoint{inner.right, inner.top},
                             TPoint{inner.right, inner.bottom}, TPoint{inner.left, inner.bottom}},
                            z0);
      } else {
        fill.PaintRect(c, inner);
      }
    }
  } else if (style == bsBevel && flat && bevelSize_ > 0) {
    const TRect inner{r.left, r.top, r.right - (BarPen().Visible() ? 0 : 1), r.bottom - (BarPen().Visible() ? 0 : 1)};
    const TPoint a = is3D ? c.ProjectPoint(inner.left, inner.top, z0) : TPoint{inner.left, inner.top};
    const TPoint b = is3D ? c.ProjectPoint(inner.right, inner.bottom, z0) : TPoint{inner.right, inner.bottom};
    c.DrawBevelFrame(TRect{a.x, a.y, b.x, b.y}, TPlotCanvas::Brighten(color, 64), bevelSize_,
                     TPlotCanvas::Darken(color, 64));
  }
  if (tickLines_->Visible()) DrawTickLines(style, r);
}

void TCustomBarSeries::DrawTickLines(TBarStyle style, const TRect& r) {
  const TChartAxis* axis = ValueAxis();
  if (!axis) return;
  TCanvas3D& c = ParentChart()->Canvas();
  c.SelectPen(*tickLines_);
  int x0 = r.left, x1 = r.right;
  if (style == bsArrow || style == bsInvArrow) {
    const int quarter = (r.right - r.left) / 4;
    x0 += quarter;
    x1 -= quarter;
  }
  const bool is3D = ParentChart()->View3D();
  for (int y : axis->TickPositions()) {
    if (y <= r.top || y >= r.bottom) continue;
    if (is3D) {
      c.DrawHorizLine3D(x0, x1, y, StartZ());
      c.MoveTo3D(x1, y, StartZ());
      c.LineTo3D(x1, y, EndZ());
    } else {
      c.DrawHorizLine(x0, x1, y);
    }
  }
}

// ---- Marks and hit test -------------------------------------------------------------------

void TCustomBarSeries::PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  const TBarGeometry g = BarGeometry(index);
  const int cx = (g.left + g.right) / 2;
  const bool down = g.valueY > g.originY;
  const int lift = Marks().ArrowLength() + Marks().CalloutDistance();
  position.arrowFrom = TPoint{cx, g.valueY};
  position.arrowTo = TPoint{cx, down ? g.valueY + lift : g.valueY - lift};
  position.leftTop.x = cx - position.width / 2;
  position.leftTop.y = down ? position.arrowTo.y + 1 : position.arrowTo.y - position.height - 1;
  if (autoMarkPosition_) Marks().AntiOverlap(firstVisible_, index - 1, position);
  Marks().PaintMark(index, ColorOfPoint(index), position, text, false);
}

int TCustomBarSeries::PointAt(int x, int y) {
  if (!ParentChart() || firstVisible_ < 0) return -1;
  const bool is3D = ParentChart()->View3D();
  TCanvas3D& c = ParentChart()->Canvas();
  for (int i = firstVisible_; i <= lastVisible_ && i < PointCount(); ++i) {
    const TBarGeometry g = BarGeometry(i);
    if (!g.drawn) continue;
    const TRect r = DrawnRect(g);
    TBarStyle style = barStyle_;
    if (OnGetBarStyle) OnGetBarStyle(this, i, style);
    int px = x, py = y;
    if (is3D) c.UnprojectPoint(px, py, StartZ());
    if (px < r.left || px > r.right) continue;
    const bool up = g.valueY <= g.originY;
    switch (style) {
      case bsPyramid:
      case bsCone:
      case bsInvPyramid:
      case bsInvCone: {
        const bool apexAtValue = style == bsPyramid || style == bsCone;
        const bool apexTop = apexAtValue == up;
        const int apex = apexTop ? r.top : r.bottom, base = apexTop ? r.bottom : r.top;
        const TPoint tri[3] = {{r.left, base}, {(r.left + r.right) / 2, apex}, {r.right, base}};
        if (IsPointInPolygon(TPoint{px, py}, tri)) return i;
        break;
      }
      case bsEllipse:
        if (IsPointInEllipse(TPoint{px, py}, r)) return i;
        break;
      default:
        if (py >= r.top && py <= r.bottom) return i;
        break;
    }
  }
  return -1;
}

// ---- Gallery ------------------------------------------------------------------------------

namespace {
// The sub-styles after the series base's "Normal".
enum BarSubStyle { kColors = 1, kPyramid, kEllipse, kInvPyramid, kGradient, kStack, kStack100, kSelfStack, kSides, kSideAll };
}  // namespace

std::string TCustomBarSeries::SubStyleName(int index) const {
  switch (index) {
    case kColors: return MsgColors;
    case kPyramid: return MsgPyramid;
    case kEllipse: return MsgEllipse;
    case kInvPyramid: return MsgInvPyramid;
    case kGradient: return MsgGradient;
    case kStack: return MsgStack;
    case kStack100: return MsgStack100;
    case kSelfStack: return MsgSelfStack;
    case kSides: return MsgSides;
    case kSideAll: return MsgSideAll;
    default: return TChartSeries::SubStyleName(index);
  }
}

void TCustomBarSeries::ApplySubStyle(int index) {
  // A single series shown stacked gets a second one like itself.
  const bool stacking = index == kStack || index == kStack100 || index == kSelfStack;
  if (stacking && ParentChart() && SameKindSeries().size() == 1) {
    TCustomBarSeries* twin = NewOfSameKind(parent() ? parent() : ParentChart());
    twin->SetBarWidthPercent(barWidthPercent_);
    twin->Marks().SetVisible(false);
    twin->SetParentChart(ParentChart());
    twin->FillSampleValues(PointCount());
  }
  switch (index) {
    case kColors: SetColorEachPoint(true); break;
    case kPyramid: SetBarStyle(bsPyramid); break;
    case kEllipse: SetBarStyle(bsEllipse); break;
    case kInvPyramid: SetBarStyle(bsInvPyramid); break;
    case kGradient:
      SetBarStyle(bsRectGradient);
      gradient_->SetVisible(true);
      break;
    case kStack: SetMultiBar(mbStacked); break;
    case kStack100: SetMultiBar(mbStacked100); break;
    case kSelfStack: SetMultiBar(mbSelfStack); break;
    case kSides: SetMultiBar(mbSide); break;
    case kSideAll: SetMultiBar(mbSideAll); break;
    default: TChartSeries::ApplySubStyle(index); break;
  }
}

void TCustomBarSeries::SetupPreview() {
  TChartSeries::SetupPreview();
  SetBarWidthPercent(85);
  SetBarStyle(bsRectGradient);
  gradient_->SetVisible(true);
  SetMultiBar(mbNone);
}

void TCustomBarSeries::SampleValuesAdded() {
  for (TCustomBarSeries* s : SameKindSeries()) {
    if (s == this || s->PointCount() == 0) continue;
    TChartValueList& own = NotMandatoryValueList();
    TChartValueList& theirs = s->NotMandatoryValueList();
    for (int i = 0; i < std::min(PointCount(), s->PointCount()); ++i) own.SetValue(i, theirs.ValueAt(i));
    return;
  }
}

// ---- Vertical bars ------------------------------------------------------------------------

TBarSeries::TBarSeries(QObject* owner) : TCustomBarSeries(owner) {
  Gradient().SetDirection(gdTopBottom);
  Marks().SetVisible(true);
  Marks().SetArrowLength(20);
  Marks().SetDefaultArrowLength(20);
}

TBarGeometry TBarSeries::BarGeometry(int index) const {
  TBarGeometry g;
  const TChartAxis* hAxis = GetHorizAxis();
  if (!hAxis) return g;
  const int bw = BarWidthPixels();
  // The left edge of point i's bar.
  const auto leftOf = [&](int i) {
    int left;
    switch (MultiBar()) {
      case mbSideAll:
        left = hAxis->ValueToPixel(i + PrecedingPointCount()) - bw / 2;
        break;
      case mbSelfStack:
        left = hAxis->ValueToPixel(const_cast<TBarSeries*>(this)->LowestX()) - bw / 2;
        break;
      case mbNone:
        left = PointXPixel(i) - bw / 2;
        break;
      default:
        left = PointXPixel(i) + Round((BarSlotIndex() - BarSlotCount() * 0.5 - 1) * bw);
        break;
    }
    if (OffsetPercent() != 0) left += Round(OffsetPercent() * bw / 100.0);
    return left;
  };
  g.left = leftOf(index);
  if (BarWidthPercent() != 100 || CustomBarWidth() > 0 || MultiBar() == mbSelfStack) {
    g.right = g.left + bw + 1;
  } else {
    // Full-width bars reach the next bar to their right: the next slot of the category, or
    // the first slot of the next category, so that a bar never reaches over the slots of the
    // other series.
    const int p = BarPen().Visible() ? std::max(1, BarPen().Width()) : 0;
    const bool slotted = MultiBar() != mbNone && MultiBar() != mbSideAll;
    const int slotsBefore = slotted ? BarSlotIndex() - 1 : 0;
    const bool lastSlot = !slotted || BarSlotIndex() >= BarSlotCount();
    const bool inverted = hAxis->Inverted();
    const int next = inverted ? index - 1 : index + 1;
    if (!lastSlot) {
      g.right = g.left + bw + (inverted ? 0 : 1 - p / 2);
    } else if (next >= 0 && next < PointCount()) {
      g.right = leftOf(next) - slotsBefore * bw + (inverted ? 0 : 1 - p / 2);
    } else {
      g.right = g.left + bw + (inverted ? p : 1 - p / 2);
    }
  }
  const double value = YValues().ValueAt(index);
  switch (MultiBar()) {
    case mbStacked:
    case mbSelfStack: {
      const double base = PointOrigin(index, false);
      g.valueY = ValuePixel(base + value);
      g.originY = ValuePixel(base);
      break;
    }
    case mbStacked100: {
      const double total = PointOrigin(index, true);
      if (total == 0) {
        g.drawn = false;
        g.valueY = g.originY = 0;
        break;
      }
      const double base = PointOrigin(index, false);
      g.valueY = ValuePixel((base + value) * 100 / total);
      g.originY = ValuePixel(base * 100 / total);
      break;
    }
    default:
      g.valueY = ValuePixel(value);
      g.originY = UseYOrigin() ? ValuePixel(YOrigin()) : AxisOriginPixel();
      break;
  }
  return g;
}

}  // namespace chart

// ---- Stored descriptions ------------------------------------------------------------------

namespace chart {

namespace {
const char* const kBarStyleNames[] = {"bsRectangle", "bsPyramid",     "bsInvPyramid", "bsCilinder", "bsEllipse",
                                      "bsArrow",     "bsRectGradient", "bsCone",      "bsInvArrow", "bsInvCone",
                                      "bsBevel",     "bsSlantCube",   "bsDiamond"};
const char* const kMultiBarNames[] = {"mbNone", "mbSide", "mbStacked", "mbStacked100", "mbSideAll", "mbSelfStack"};

const TStoredClass& StoredBarSeriesGradient() {
  static const std::unique_ptr<TStoredClass> cls = [] {
    using G = TBarSeriesGradient;
    return TStoredClassTable<G>("TBarSeriesGradient", StoredPlotGradient(), std::type_identity<TCustomPlotGradient>())
        .Boolean("Relative", &G::Relative, &G::SetRelative, false)
        .Boolean("Visible", &G::Visible, &G::SetVisible, true)
        .Build();
  }();
  return *cls;
}
}  // namespace

const TStoredClass& StoredBarSeries() {
  static const std::unique_ptr<TStoredClass> cls = [] {
    using B = TBarSeries;
    using C = TCustomBarSeries;
    return TStoredClassTable<B>("TBarSeries", StoredChartSeries(), std::type_identity<TChartSeries>())
        .Boolean("AutoBarSize", &C::AutoBarSize, &C::SetAutoBarSize, false)
        .Boolean("AutoMarkPosition", &C::AutoMarkPosition, &C::SetAutoMarkPosition, true)
        .Object<TChartBrush>("BarBrush", StoredChartBrush(), [](B& b) -> TChartBrush& { return b.BarBrush(); })
        .Object<TChartPen>("BarPen", StoredChartPen(), [](B& b) -> TChartPen& { return b.BarPen(); })
        .Enum("BarStyle", &C::BarStyle, &C::SetBarStyle, bsRectangle, kBarStyleNames)
        .Integer("BarWidthPercent", &C::BarWidthPercent, &C::SetBarWidthPercent, 70, 0, 100)
        .Integer("BevelSize", &C::BevelSize, &C::SetBevelSize, 1, 0, 1000)
        .Integer("CustomBarWidth", &C::CustomBarWidth, &C::SetCustomBarWidth, 0, 0, 100000)
        .Boolean("Dark3D", &C::Dark3D, &C::SetDark3D, true)
        .Integer("DepthPercent", &C::DepthPercent, &C::SetDepthPercent, 100, 0, 100)
        .Object<TCustomPlotGradient>("Gradient", StoredBarSeriesGradient(),
                                     [](B& b) -> TCustomPlotGradient& { return b.Gradient(); })
        .Enum("MultiBar", &C::MultiBar, &C::SetMultiBar, mbSide, kMultiBarNames)
        .Integer("OffsetPercent", &C::OffsetPercent, &C::SetOffsetPercent, 0, -100000, 100000)
        .Boolean("SideMargins", &C::SideMargins, &C::SetSideMargins, true)
        .Integer("StackGroup", &C::StackGroup, &C::SetStackGroup, 0)
        .Object<TChartPen>("TickLines", StoredChartPen(), [](B& b) -> TChartPen& { return b.TickLines(); })
        .Integer("Transparency", &C::Transparency, &C::SetTransparency, 0, 0, 100)
        .Boolean("UseYOrigin", &C::UseYOrigin, &C::SetUseYOrigin, true)
        .Float("YOrigin", &C::YOrigin, &C::SetYOrigin, 0)
        .Component([](QObject* owner) { return new B(owner); })
        .Build();
  }();
  return *cls;
}

}  // namespace chart
