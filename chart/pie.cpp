// Pie and donut series.
#include "chart/pie.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/chart.h"
#include "chart/legend.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series_tables.h"
#include "chart/stored_tables.h"

namespace chart {

namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

// ---- Slice values -------------------------------------------------------------------------

int TSliceValueList::Value(int index) const {
  return index >= 0 && index < Count() ? values_[static_cast<size_t>(index)] : 0;
}

void TSliceValueList::SetValue(int index, int value) {
  if (index < 0) return;
  if (index >= Count()) values_.resize(static_cast<size_t>(index) + 1, 0);
  values_[static_cast<size_t>(index)] = value;
}

int TSliceValueList::Maximum() const { return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end()); }

// ---- Circled series -----------------------------------------------------------------------

TCircledSeries::TCircledSeries(QObject* owner) : TChartSeries(owner) {
  XValues().SetName(MsgValuesAngle.empty() ? "Angle" : MsgValuesAngle);
  // Slices keep the order the points were added in.
  XValues().SetOrder(loNone);
  SetCalcVisiblePoints(false);
}

TCircledSeries::~TCircledSeries() {
  // The chart's own 3D options come back before the base leaves the chart.
  if (ParentChart() && !ParentChart()->Destroying()) RestoreView();
}

std::vector<TCircledSeries*> TCircledSeries::SameClassSeries() const {
  std::vector<TCircledSeries*> out;
  if (!ParentChart()) return out;
  for (TChartSeries* s : ParentChart()->SeriesList()) {
    auto* c = dynamic_cast<TCircledSeries*>(s);
    if (c && c->ClassName() == ClassName()) out.push_back(c);
  }
  return out;
}

template <class V>
void TCircledSeries::Share(V TCircledSeries::*field, V value) {
  this->*field = value;
  for (TCircledSeries* s : SameClassSeries()) s->*field = value;
  Repaint();
}

void TCircledSeries::SetCircled(bool value) { Share(&TCircledSeries::circled_, value); }
void TCircledSeries::SetCustomXRadius(int value) { Share(&TCircledSeries::customXRadius_, value); }
void TCircledSeries::SetCustomYRadius(int value) { Share(&TCircledSeries::customYRadius_, value); }

void TCircledSeries::SetRotationAngle(int degrees) {
  const int kept = ((degrees % 360) + 360) % 360;
  rotationRadians_ = kept * kPi / 180;
  SetIntegerProperty(rotationAngle_, kept);
}

TColor TCircledSeries::CircleBackground() const {
  if (circleBackColor_ != clDefault) return circleBackColor_;
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return clWhite;
  if (chart->Monochrome()) return clWhite;
  if (auto* full = dynamic_cast<TCustomChart*>(chart)) {
    if (!full->BackWall().Transparent()) return full->BackWall().Color();
  }
  return chart->Color();
}

void TCircledSeries::SetCircleRect(const TRect& rect) {
  TRect r = rect;
  int w = std::max(4, r.Width());
  int h = std::max(4, r.Height());
  if (w % 2 != 0) --w;
  if (h % 2 != 0) --h;
  w = std::max(4, w);
  h = std::max(4, h);
  r.right = r.left + w;
  r.bottom = r.top + h;
  if (circled_) {
    // Screen pixels are square here: the smaller side, centred.
    const int side = std::min(w, h);
    r.left += (w - side) / 2;
    r.top += (h - side) / 2;
    r.right = r.left + side;
    r.bottom = r.top + side;
  }
  circleRect_ = r;
  xCenter_ = (r.left + r.right) / 2;
  yCenter_ = (r.top + r.bottom) / 2;
  xRadius_ = customXRadius_ > 0 ? customXRadius_ : r.Width() / 2;
  yRadius_ = customYRadius_ > 0 ? customYRadius_ : r.Height() / 2;
  if (customXRadius_ > 0 || customYRadius_ > 0) {
    circleRect_ = TRect{xCenter_ - xRadius_, yCenter_ - yRadius_, xCenter_ + xRadius_, yCenter_ + yRadius_};
  }
}

void TCircledSeries::CalcCircle(const TRect& rect) { SetCircleRect(rect); }

TPoint TCircledSeries::AngleToPoint(double angle) const {
  const double a = angle + rotationRadians_;
  return TPoint{xCenter_ + Round(std::cos(a) * xRadius_), yCenter_ - Round(std::sin(a) * yRadius_)};
}

void TCircledSeries::SaveViewAndSetPie() {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || savedView_) return;
  savedView_ = std::make_unique<TView3DOptions>();
  savedView_->Assign(chart->View3DOptions());
  viewChart_ = chart;
  TView3DOptions& view = chart->View3DOptions();
  view.SetOrthogonal(false);
  view.SetRotation(360);
  view.SetElevation(315);
  view.SetPerspective(0);
  view.SetTilt(0);
}

void TCircledSeries::RestoreView() {
  if (!savedView_) return;
  if (viewChart_ && viewChart_ == ParentChart()) {
    viewChart_->View3DOptions().Assign(*savedView_);
    viewChart_->Invalidate();
  }
  savedView_.reset();
  viewChart_ = nullptr;
}

void TCircledSeries::SetActive(bool value) {
  const bool was = Active();
  TChartSeries::SetActive(value);
  if (was == value) return;
  if (value) {
    SaveViewAndSetPie();
  } else {
    RestoreView();
  }
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == ParentChart()) {
    TChartSeries::SetParentChart(chart);
    return;
  }
  if (ParentChart() && !ParentChart()->Destroying()) RestoreView();
  savedView_.reset();
  viewChart_ = nullptr;
  TChartSeries::SetParentChart(chart);
  if (!chart) return;
  // Joining a chart takes the shared circle settings of a same-class series there.
  for (TCircledSeries* s : SameClassSeries()) {
    if (s == this) continue;
    circled_ = s->circled_;
    customXRadius_ = s->customXRadius_;
    customYRadius_ = s->customYRadius_;
    break;
  }
  if (Active() && !IsLoading()) SaveViewAndSetPie();
}

// ---- Other slice --------------------------------------------------------------------------

TPieOtherSlice::TPieOtherSlice(TPieSeries* owner) : owner_(owner), text_(MsgPieOther.empty() ? "Other" : MsgPieOther) {}
TPieOtherSlice::~TPieOtherSlice() = default;

void TPieOtherSlice::Changed() {
  if (owner_) owner_->Repaint();
}
void TPieOtherSlice::SetColor(TColor color) {
  if (ChangeValue(color_, color)) Changed();
}
void TPieOtherSlice::SetStyle(TPieOtherStyle style) {
  if (ChangeValue(style_, style)) Changed();
}
void TPieOtherSlice::SetText(const std::string& text) {
  if (ChangeValue(text_, text)) Changed();
}
void TPieOtherSlice::SetValue(double value) {
  if (ChangeValue(value_, value)) Changed();
}

TChartLegend& TPieOtherSlice::CreateLegend() {
  if (!legend_) {
    auto* chart = owner_ ? dynamic_cast<TCustomChart*>(owner_->ParentChart()) : nullptr;
    legend_ = std::make_unique<TChartLegend>(chart);
    legend_->SetLegendStyle(lsValues);
    legend_->AssignSeries(owner_);
    Changed();
  }
  return *legend_;
}

void TPieOtherSlice::FreeLegend() {
  legend_.reset();
  Changed();
}

void TPieOtherSlice::Assign(const TPieOtherSlice& source) {
  color_ = source.color_;
  style_ = source.style_;
  text_ = source.text_;
  value_ = source.value_;
}

TPieShadow::TPieShadow(TNotify onChange) : TPlotShadow(std::move(onChange), 0) {
  SetStoredDefaults(TColor(0xA0A0A0), 0);
  SetColor(TColor(0xA0A0A0));
}

// ---- Pie series ---------------------------------------------------------------------------

TPieSeries::TPieSeries(QObject* owner)
    : TCircledSeries(owner),
      gradient_(std::make_unique<TPlotGradient>([this] { Repaint(); })),
      otherSlice_(std::make_unique<TPieOtherSlice>(this)),
      shadow_(std::make_unique<TPieShadow>([this] { Repaint(); })) {
  YValues().SetName(MsgValuesPie.empty() ? "Pie" : MsgValuesPie);
  SetColorEachPoint(true);
  gradient_->SetDirection(gdRadial);
  gradient_->SetStartColor(clWhite);
  gradient_->SetVisible(false);
  Marks().SetVisible(true);
  Marks().SetArrowLength(8);
  Marks().SetDefaultArrowLength(8);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetExplodeBiggest(int percent) { SetIntegerProperty(explodeBiggest_, std::max(0, percent)); }

void TPieSeries::SetMultiPie(TMultiPie value) {
  if (ChangeValue(multiPie_, value)) Repaint();
}

int TPieSeries::OtherSliceIndex() const {
  for (int i = PointCount() - 1; i >= 0; --i)
    if (XValue(i) == kOtherSliceX) return i;
  return -1;
}

void TPieSeries::GroupValues() {
  // The other point of the previous drawing goes; its custom mark position stays for the next.
  std::unique_ptr<TSeriesMarkPosition> kept;
  const int old = OtherSliceIndex();
  if (old >= 0) {
    if (const TSeriesMarkPosition* p = Marks().Positions().Position(old); p && p->custom)
      kept = std::make_unique<TSeriesMarkPosition>(*p);
    BeginUpdate();
    Delete(old);
    // Inside an update the linked series hear of nothing until it ends.
    EndUpdate();
  }
  if (YValues().Order() != loNone) YValues().SortPoints();
  TChartValueList& x = XValues();
  for (int i = 0; i < PointCount(); ++i) x.SetValue(i, i);
  if (otherSlice_->Style() == poNone) return;
  double total = 0;
  for (int i = 0; i < PointCount(); ++i) total += std::fabs(YValue(i));
  if (total <= 0) return;
  double sum = 0;
  bool any = false;
  for (int i = 0; i < PointCount(); ++i) {
    const double v = std::fabs(YValue(i));
    const double measure = otherSlice_->Style() == poBelowPercent ? v * 100 / total : v;
    if (measure < otherSlice_->Value()) {
      x.SetValue(i, kGroupedX);
      sum += v;
      any = true;
    }
  }
  if (!any) return;
  // Appended in place: the X list keeps the order points are added in.
  const bool saved = ManualData();
  const int index = AddPoint(kOtherSliceX, sum, otherSlice_->Text(), otherSlice_->Color());
  SetManualData(saved);
  if (kept && index >= 0) Marks().Positions().SetPosition(index, *kept);
}

void TPieSeries::CalcAngles() {
  const int n = PointCount();
  angles_.assign(static_cast<size_t>(std::max(n, 0)), TPieAngle{});
  if (firstVisible_ < 0) return;
  const double full = angleSize_ * kPi / 180;
  double total = 0;
  if (otherSlice_->Style() != poNone) {
    for (int i = 0; i < n; ++i)
      if (!IsGrouped(i)) total += std::fabs(YValue(i));
  } else {
    for (int i = firstVisible_; i <= lastVisible_; ++i) total += std::fabs(YValue(i));
  }
  if (total == 0) {
    for (int i = firstVisible_; i <= lastVisible_; ++i) angles_[static_cast<size_t>(i)] = {0, full / 2, full};
    return;
  }
  const double factor = full / total;
  double sum = 0, previous = 0;
  for (int i = firstVisible_; i <= lastVisible_; ++i) {
    TPieAngle& a = angles_[static_cast<size_t>(i)];
    a.start = previous;
    if (!IsGrouped(i)) sum += std::fabs(YValue(i));
    a.end = sum >= total ? full : sum * factor;
    if (a.end - a.start > full) a.end = a.start + full;
    a.middle = (a.start + a.end) / 2;
    previous = a.end;
  }
}

TRect TPieSeries::MultiPieCell(const TRect& rect, int n, int k) {
  if (n < 2) return rect;
  const int columns = std::max(1, Round(std::sqrt(static_cast<double>(n))));
  const int rows = std::max(1, Round(std::sqrt(static_cast<double>(n)) + 0.5));
  const int column = k % columns, row = k / columns;
  const int w = rect.Width() / columns, h = rect.Height() / rows;
  return TRect{rect.left + column * w, rect.top + row * h, rect.left + (column + 1) * w, rect.top + (row + 1) * h};
}

void TPieSeries::PrepareForDraw() {
  TCircledSeries::PrepareForDraw();
  // Points change while the chart draws: no repaint may be asked for.
  TCustomAxisPanel* chart = ParentChart();
  const bool repaint = chart && chart->RepaintEnabled();
  if (chart) chart->SetRepaintEnabled(false);
  GroupValues();
  if (chart) chart->SetRepaintEnabled(repaint);
}

void TPieSeries::FireBeforeDrawValues() {
  TCustomAxisPanel* chart = ParentChart();
  if (chart) {
    savedChartRect_ = chart->ChartRect();
    chartRectSaved_ = true;
    TRect rect = savedChartRect_;
    if (multiPie_ == mpAutomatic) {
      int n = 0, k = 0;
      for (TChartSeries* s : chart->SeriesList()) {
        auto* pie = dynamic_cast<TPieSeries*>(s);
        if (!pie || !pie->Active() || pie->multiPie_ != mpAutomatic) continue;
        if (pie == this) k = n;
        ++n;
      }
      rect = MultiPieCell(rect, n, k);
      chart->SetChartRect(rect);
    }
    CalcCircle(rect);
  }
  CalcAngles();
  TChartSeries::FireBeforeDrawValues();
}

void TPieSeries::FireAfterDrawValues() {
  TChartSeries::FireAfterDrawValues();
  if (chartRectSaved_ && ParentChart()) ParentChart()->SetChartRect(savedChartRect_);
  chartRectSaved_ = false;
}

void TPieSeries::CalcCircle(const TRect& rect) {
  TRect r = rect;
  if (Marks().Visible() && ParentChart()) {
    TCanvas3D& c = ParentChart()->Canvas();
    c.SelectFont(Marks().Font());
    const int pen = Marks().Pen().Visible() ? Marks().Pen().Width() : 0;
    const int vertical = Marks().ArrowLength() + 2 * pen + c.TextHeight("W");
    // The label room: the widest mark of the visible points.
    int labels = 0;
    for (int i = std::max(firstVisible_, 0); i <= lastVisible_ && i < PointCount(); ++i)
      if (!IsGrouped(i)) labels = std::max(labels, Marks().TextWidth(i));
    c.SelectFont(Marks().Font());
    const int horizontal = c.TextWidth("W") + labels + Marks().ArrowLength();
    r = TRect{r.left + horizontal, r.top + vertical, r.right - horizontal, r.bottom - vertical};
  }
  SetCircleRect(r);
  if (autoExploded_ >= 0) exploded_.SetValue(autoExploded_, 0);
  autoExploded_ = -1;
  // Exploded slices stay inside: the circle shrinks by half the biggest offset.
  int biggest = exploded_.Maximum();
  if (explodeBiggest_ > 0) biggest = std::max(biggest, explodeBiggest_);
  if (biggest > 0) {
    const int dx = Round(XRadius() * biggest / 100.0) / 2, dy = Round(YRadius() * biggest / 100.0) / 2;
    SetRadii(std::max(1, XRadius() - dx), std::max(1, YRadius() - dy));
  }
  // The largest slice is exploded by ExplodeBiggest (the one of the previous drawing is not).
  if (explodeBiggest_ > 0 && firstVisible_ >= 0) {
    int best = -1;
    for (int i = firstVisible_; i <= lastVisible_ && i < PointCount(); ++i) {
      if (IsGrouped(i)) continue;
      if (best < 0 || std::fabs(YValue(i)) > std::fabs(YValue(best))) best = i;
    }
    if (best >= 0 && exploded_.Value(best) == 0) {
      exploded_.SetValue(best, explodeBiggest_);
      autoExploded_ = best;
    }
  }
}

TPoint TPieSeries::ExplodeOffset(int index) const {
  const int percent = exploded_.Value(index);
  if (percent <= 0 || index < 0 || index >= AngleCount()) return TPoint{0, 0};
  const double a = Angle(index).middle + RotationRadians();
  return TPoint{Round(std::cos(a) * XRadius() * percent / 100.0), -Round(std::sin(a) * YRadius() * percent / 100.0)};
}

std::vector<int> TPieSeries::DrawOrder() const {
  std::vector<int> order;
  if (firstVisible_ < 0) return order;
  for (int i = firstVisible_; i <= lastVisible_ && i < PointCount(); ++i) order.push_back(i);
  const bool is3D = ParentChart() && ParentChart()->View3D();
  const bool exploded = exploded_.Maximum() > 0 || explodeBiggest_ > 0;
  if (!is3D || (!exploded && HolePercent() <= 0)) return order;
  const double full = angleSize_ * kPi / 180;
  const double back = full / 4;
  auto distance = [&](int i) {
    double m = std::fmod(Angle(i).middle + RotationRadians(), full > 0 ? full : 2 * kPi);
    if (m < 0) m += full;
    return std::fabs(m - back);
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return distance(a) < distance(b); });
  return order;
}

void TPieSeries::DrawVisibleValues() {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || firstVisible_ < 0) return;
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  shadow_->PaintEllipseShadow(c, CircleRect(), is3D ? EndZ() : 0);
  previousEnd_ = AngleToPoint(0);
  const std::vector<int> order = DrawOrder();
  for (const int i : order) DrawSlice(i, is3D ? ExposedSides(i) : psNoSides);
  DrawOtherLegend();
}

TPieSides TPieSeries::ExposedSides(int index) const {
  const int last = std::min(lastVisible_, PointCount() - 1);
  // The slice drawn next to this one on the side of `step` (+1 its end, -1 its start): the
  // next ungrouped one, round the circle when the pie is a full one; -1 at an open end.
  auto neighbour = [&](int step) {
    for (int i = index + step; i >= firstVisible_ && i <= last; i += step)
      if (!IsGrouped(i)) return i;
    if (angleSize_ < 360) return -1;
    for (int i = step > 0 ? firstVisible_ : last; i >= firstVisible_ && i <= last; i += step)
      if (!IsGrouped(i)) return i;
    return -1;
  };
  auto exposed = [&](int step) {
    const int n = neighbour(step);
    if (n == index) return false;
    if (n < 0) return true;
    const TPoint mine = ExplodeOffset(index), theirs = ExplodeOffset(n);
    return mine.x != theirs.x || mine.y != theirs.y;
  };
  return static_cast<TPieSides>((exposed(-1) ? psStartSide : psNoSides) | (exposed(1) ? psEndSide : psNoSides));
}

void TPieSeries::PaintPoint(int index) { DrawSlice(index, psNoSides); }

void TPieSeries::DrawSlice(int index, TPieSides sides) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || index < 0 || index >= AngleCount() || index >= PointCount()) return;
  if (XRadius() * 2 < 5 || YRadius() * 2 < 5 || IsGrouped(index)) return;
  TCanvas3D& c = chart->Canvas();
  const bool mono = chart->Monochrome();
  TColor color = ColorOfPoint(index);
  // The brush: a hatch by the index with patterns or without colour, else solid.
  static constexpr platform::BrushStyle kPatterns[6] = {
      platform::BrushStyle::Horizontal, platform::BrushStyle::Vertical, platform::BrushStyle::FDiagonal,
      platform::BrushStyle::BDiagonal,  platform::BrushStyle::Cross,    platform::BrushStyle::DiagCross};
  const bool patterned = usePatterns_ || mono;
  platform::BrushStyle style = patterned ? kPatterns[index % 6] : platform::BrushStyle::Solid;
  if (color == clNone) style = platform::BrushStyle::Clear;
  if (mono) color = clBlack;
  platform::CanvasBrush& brush = c.Brush();
  if (brush.Bitmap()) brush.SetBitmap(nullptr);
  if (color != clNone) brush.SetColor(color);
  brush.SetStyle(style);
  c.SetBackMode(cbmOpaque);
  c.SetBackColor(CircleBackground());
  if (darkPen_ > 0 && color != clNone) {
    c.SelectPenColor(PiePen(), TPlotCanvas::Darken(color, darkPen_));
  } else {
    c.SelectPen(PiePen());
  }
  if (!PiePen().Visible()) c.Pen().SetStyle(platform::PenStyle::Clear);
  const bool useGradient = gradient_->Visible() && !patterned && color != clNone;
  TPlotGradient fill;
  if (useGradient) {
    fill.Assign(*gradient_);
    fill.SetEndColor(color);
  }
  const TPieAngle& a = Angle(index);
  const TPoint offset = ExplodeOffset(index);
  const int xc = CircleXCenter() + offset.x, yc = CircleYCenter() + offset.y;
  const double rot = RotationRadians();
  if (chart->View3D()) {
    c.DrawPieSlice3D(xc, yc, HolePercent(), sides, dark3D_, a.end + rot, a.start + rot, StartZ(), EndZ(), YRadius(),
                     XRadius(), useGradient ? &fill : nullptr);
    return;
  }
  if (HolePercent() > 0) {
    c.DrawRingSector(xc, yc, XRadius(), YRadius(), a.start + rot, a.end + rot, HolePercent());
  } else {
    const TPoint endPoint = AngleToPoint(a.end);
    const bool differ = endPoint.x != previousEnd_.x || endPoint.y != previousEnd_.y;
    if (!(differ || PointCount() == 1 || a.end - a.start > 1)) return;
    const TPoint from{previousEnd_.x + offset.x, previousEnd_.y + offset.y};
    const TPoint to{endPoint.x + offset.x, endPoint.y + offset.y};
    c.DrawPie(xc - XRadius(), yc - YRadius(), xc + XRadius(), yc + YRadius(), from.x, from.y, to.x, to.y);
    previousEnd_ = endPoint;
  }
  if (useGradient) {
    const std::vector<TPoint> polygon = SlicePolygon(index);
    c.ClipPolygon(polygon);
    fill.PaintRect(c, TRect{xc - XRadius(), yc - YRadius(), xc + XRadius(), yc + YRadius()});
    c.Unclip();
    // The outline again over the fill.
    c.Brush().SetStyle(platform::BrushStyle::Clear);
    if (HolePercent() > 0) {
      c.DrawRingSector(xc, yc, XRadius(), YRadius(), a.start + rot, a.end + rot, HolePercent());
    } else {
      c.DrawPolygon(polygon);
    }
  }
}

std::vector<TPoint> TPieSeries::SlicePolygon(int index) {
  std::vector<TPoint> points;
  if (index < 0 || index >= AngleCount()) return points;
  TCustomAxisPanel* chart = ParentChart();
  const bool is3D = chart && chart->View3D();
  const TPieAngle& a = Angle(index);
  const TPoint offset = ExplodeOffset(index);
  const int xc = CircleXCenter() + offset.x, yc = CircleYCenter() + offset.y;
  auto place = [&](int x, int y) { return is3D ? chart->Canvas().ProjectPoint(x, y, EndZ()) : TPoint{x, y}; };
  points.reserve(32);
  points.push_back(place(xc, yc));
  const double rot = RotationRadians();
  for (int k = 0; k <= 30; ++k) {
    const double t = a.start + (a.end - a.start) * k / 30.0 + rot;
    points.push_back(place(xc + Round(std::cos(t) * XRadius()), yc - Round(std::sin(t) * YRadius())));
  }
  return points;
}

int TPieSeries::PointAt(int x, int y) {
  if (firstVisible_ < 0) return -1;
  for (int i = firstVisible_; i <= lastVisible_ && i < AngleCount(); ++i) {
    if (IsGrouped(i)) continue;
    if (IsPointInPolygon(TPoint{x, y}, SlicePolygon(i))) return i;
  }
  return -1;
}

// ---- Marks and legend ---------------------------------------------------------------------

std::string TPieSeries::MarkTextOf(int index) {
  if (IsGrouped(index)) return {};
  return TChartSeries::MarkTextOf(index);
}

void TPieSeries::PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  if (index < 0 || index >= AngleCount() || !ParentChart()) return;
  const TPieAngle& a = Angle(index);
  const double angle = a.middle + RotationRadians();
  const TPoint offset = ExplodeOffset(index);
  const int distance = Marks().CalloutDistance();
  const int length = Marks().ArrowLength();
  // The marks project their positions at the marks' depth. In 3D a point of the slice's top
  // face (at the start depth) is kept as the point at the marks' depth that projects onto it,
  // so the arrow starts at the top face's rim and the box stays outside the slice.
  auto place = [&](TPoint p) {
    if (ParentChart()->View3D()) {
      TCanvas3D& c = ParentChart()->Canvas();
      p = c.ProjectPoint(p.x, p.y, StartZ());
      c.UnprojectPoint(p.x, p.y, MiddleZ());
    }
    return p;
  };
  auto at = [&](int extra) {
    return place(TPoint{CircleXCenter() + offset.x + Round(std::cos(angle) * (XRadius() + extra)),
                        CircleYCenter() + offset.y - Round(std::sin(angle) * (YRadius() + extra))});
  };
  position.arrowFrom = at(distance);
  position.arrowTo = at(distance + length);
  const TPoint centre = place(TPoint{CircleXCenter(), CircleYCenter()});
  position.leftTop.x = position.arrowTo.x >= centre.x ? position.arrowTo.x : position.arrowTo.x - position.width;
  position.leftTop.y = position.arrowTo.y >= centre.y ? position.arrowTo.y : position.arrowTo.y - position.height;
  if (autoMarkPosition_) Marks().AntiOverlap(firstVisible_, index - 1, position);
  Marks().PaintMark(index, ColorOfPoint(index), position, text, false);
}

void TPieSeries::PaintLegendSymbol(int item, const TRect& rect) {
  if (!ParentChart() || !gradient_->Visible() || item < 0) {
    TChartSeries::PaintLegendSymbol(item, rect);
    return;
  }
  const TColor color = LegendItemColor(item);
  if (color == clNone) return;
  TCanvas3D& c = ParentChart()->Canvas();
  TPlotGradient fill;
  fill.Assign(*gradient_);
  fill.SetEndColor(color);
  fill.PaintRect(c, rect);
  c.SelectPen(PiePen());
  c.Brush().SetStyle(platform::BrushStyle::Clear);
  c.DrawRectangleR(rect);
}

int TPieSeries::CountLegendItems() const {
  int n = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (IsGrouped(i) == listGrouped_) ++n;
  return n;
}

int TPieSeries::LegendToValueIndex(int item) const {
  int n = 0;
  for (int i = 0; i < PointCount(); ++i) {
    if (IsGrouped(i) != listGrouped_) continue;
    if (n++ == item) return i;
  }
  return item;
}

void TPieSeries::DrawOtherLegend() {
  TChartLegend* legend = otherSlice_->Legend();
  if (!legend || !legend->Visible() || !legend->Chart()) return;
  // The legend takes its room from the chart rectangle: the rectangle is kept.
  TCustomAxisPanel* chart = ParentChart();
  const TRect rect = chart->ChartRect();
  listGrouped_ = true;
  legend->PaintLegend();
  listGrouped_ = false;
  chart->SetChartRect(rect);
}

// ---- Gallery ------------------------------------------------------------------------------

namespace {
enum PieSubStyle { kPatterns = 1, kExploded, kShadow, kMarks, kSemiPie, kNoBorder, kDarkBorder };
std::string Or(const std::string& text, const char* fallback) { return text.empty() ? fallback : text; }
}  // namespace

std::string TPieSeries::SubStyleName(int index) const {
  switch (index) {
    case kPatterns: return Or(MsgPatterns, "Patterns");
    case kExploded: return Or(MsgExploded, "Exploded");
    case kShadow: return Or(MsgShadow, "Shadow");
    case kMarks: return Or(MsgMarks, "Marks");
    case kSemiPie: return Or(MsgSemiPie, "Semi Pie");
    case kNoBorder: return Or(MsgNoBorder, "No Border");
    case kDarkBorder: return Or(MsgDarkPen, "Dark Border");
    default: return TChartSeries::SubStyleName(index);
  }
}

void TPieSeries::ApplySubStyle(int index) {
  switch (index) {
    case kPatterns: SetUsePatterns(true); break;
    case kExploded: SetExplodeBiggest(30); break;
    case kShadow:
      shadow_->SetHorizSize(10);
      shadow_->SetVertSize(10);
      break;
    case kMarks:
      Marks().SetVisible(true);
      Clear();
      AddY(30, "A");
      AddY(72, "B");
      break;
    case kSemiPie: SetAngleSize(180); break;
    case kNoBorder: PiePen().SetVisible(false); break;
    case kDarkBorder: SetDarkPen(32); break;
    default: TChartSeries::ApplySubStyle(index); break;
  }
}

void TPieSeries::SetupPreview() {
  TChartSeries::SetupPreview();
  FillSampleValues(8);
  if (TCustomAxisPanel* chart = ParentChart()) {
    chart->SetChart3DPercent(75);
    chart->View3DOptions().SetRotation(0);
    chart->View3DOptions().SetElevation(305);
  }
  Marks().SetArrowLength(0);
  Marks().SetDrawEvery(1);
  gradient_->SetVisible(true);
}

void TPieSeries::SampleValuesAdded() {
  static const std::string* const kLabels[8] = {&MsgPieSampleCars,     &MsgPieSamplePhones, &MsgPieSampleTables,
                                                &MsgPieSampleMonitors, &MsgPieSampleLamps,  &MsgPieSampleKeyboards,
                                                &MsgPieSampleBikes,    &MsgPieSampleChairs};
  std::mt19937 random(static_cast<unsigned>(PointCount() * 7919 + 17));
  std::uniform_int_distribution<int> value(1, 1000);
  for (int i = 0; i < PointCount(); ++i) {
    XValues().SetValue(i, i);
    YValues().SetValue(i, value(random));
    SetXLabel(i, *kLabels[i % 8]);
  }
}

void TPieSeries::CopyFrom(const TChartSeries& source) {
  if (const auto* s = dynamic_cast<const TPieSeries*>(&source)) {
    angleSize_ = s->angleSize_;
    autoMarkPosition_ = s->autoMarkPosition_;
    dark3D_ = s->dark3D_;
    darkPen_ = s->darkPen_;
    explodeBiggest_ = s->explodeBiggest_;
    gradient_->Assign(*s->gradient_);
    multiPie_ = s->multiPie_;
    otherSlice_->Assign(*s->otherSlice_);
    shadow_->Assign(*s->shadow_);
    usePatterns_ = s->usePatterns_;
    exploded_ = s->exploded_;
    heights_ = s->heights_;
    SetRotationAngle(s->RotationAngle());
    SetCircleBackColor(s->CircleBackColor());
    // The circle's own settings go through their setters, which share them with the chart's
    // other series of this class.
    SetCircled(s->Circled());
    SetCustomXRadius(s->CustomXRadius());
    SetCustomYRadius(s->CustomYRadius());
  }
  TChartSeries::CopyFrom(source);
}

std::string TPieSeries::DataBytes() const {
  // The other point is made again at every drawing and is never stored.
  const int other = OtherSliceIndex();
  if (other >= 0) {
    auto* self = const_cast<TPieSeries*>(this);
    self->BeginUpdate();
    self->Delete(other);
    self->EndUpdate();
  }
  return TChartSeries::DataBytes();
}

// ---- Donut --------------------------------------------------------------------------------

TDonutSeries::TDonutSeries(QObject* owner) : TPieSeries(owner) {}

void TDonutSeries::CopyFrom(const TChartSeries& source) {
  TPieSeries::CopyFrom(source);
  if (const auto* s = dynamic_cast<const TDonutSeries*>(&source)) {
    donutPercent_ = s->donutPercent_ > 0 ? s->donutPercent_ : 50;
  }
}

// ---- Stored descriptions ------------------------------------------------------------------

namespace {
const char* const kMultiPieNames[] = {"mpAutomatic", "mpDisabled"};
const char* const kOtherStyleNames[] = {"poNone", "poBelowPercent", "poBelowValue"};

const TStoredClass& StoredPieOtherSlice() {
  static const std::unique_ptr<TStoredClass> cls = [] {
    using O = TPieOtherSlice;
    return TStoredClassTable<O>("TPieOtherSlice")
        .Color("Color", &O::Color, &O::SetColor, clDefault)
        .Enum("Style", &O::Style, &O::SetStyle, poNone, kOtherStyleNames)
        .String("Text", &O::Text, &O::SetText, MsgPieOther.empty() ? "Other" : MsgPieOther)
        .Float("Value", &O::Value, &O::SetValue, 0)
        .Build();
  }();
  return *cls;
}

template <class P>
TStoredClassTable<P>& PieProperties(TStoredClassTable<P>& table) {
  using S = TPieSeries;
  using C = TCircledSeries;
  return table.Integer("AngleSize", &S::AngleSize, &S::SetAngleSize, 360, 0, 360)
      .Boolean("AutoMarkPosition", &S::AutoMarkPosition, &S::SetAutoMarkPosition, true)
      .Color("CircleBackColor", &C::CircleBackColor, &C::SetCircleBackColor, clDefault)
      .Boolean("Circled", &C::Circled, &C::SetCircled, false)
      .Boolean("ColorEachPoint", &S::ColorEachPoint, &S::SetColorEachPoint, true)
      .Integer("CustomXRadius", &C::CustomXRadius, &C::SetCustomXRadius, 0, 0, 100000)
      .Integer("CustomYRadius", &C::CustomYRadius, &C::SetCustomYRadius, 0, 0, 100000)
      .Boolean("Dark3D", &S::Dark3D, &S::SetDark3D, true)
      .Integer("DarkPen", &S::DarkPen, &S::SetDarkPen, 0, 0, 255)
      .Integer("ExplodeBiggest", &S::ExplodeBiggest, &S::SetExplodeBiggest, 0, 0, 1000)
      .template Object<TCustomPlotGradient>("Gradient", StoredPlotGradient(),
                                            [](P& p) -> TCustomPlotGradient& { return p.Gradient(); })
      .Enum("MultiPie", &S::MultiPie, &S::SetMultiPie, mpAutomatic, kMultiPieNames)
      .template Object<TPieOtherSlice>("OtherSlice", StoredPieOtherSlice(),
                                       [](P& p) -> TPieOtherSlice& { return p.OtherSlice(); })
      .template Object<TChartPen>("PiePen", StoredChartPen(), [](P& p) -> TChartPen& { return p.PiePen(); })
      .Integer("RotationAngle", &C::RotationAngle, &C::SetRotationAngle, 0, -100000, 100000)
      .template Object<TPlotShadow>("Shadow", StoredPlotShadow(), [](P& p) -> TPlotShadow& { return p.Shadow(); })
      .Boolean("UsePatterns", &S::UsePatterns, &S::SetUsePatterns, false);
}
}  // namespace

const TStoredClass& StoredPieSeries() {
  static const std::unique_ptr<TStoredClass> cls = [] {
    TStoredClassTable<TPieSeries> table("TPieSeries", StoredChartSeries(), std::type_identity<TChartSeries>());
    return PieProperties(table).Component([](QObject* owner) { return new TPieSeries(owner); }).Build();
  }();
  return *cls;
}

const TStoredClass& StoredDonutSeries() {
  static const std::unique_ptr<TStoredClass> cls = [] {
    TStoredClassTable<TDonutSeries> table("TDonutSeries", StoredChartSeries(), std::type_identity<TChartSeries>());
    return PieProperties(table)
          .Integer("DonutPercent", &TDonutSeries::DonutPercent, &TDonutSeries::SetDonutPercent, 50, -100, 100)
          .Component([](QObject* owner) { return new TDonutSeries(owner); })
          .Build();
  }();
  return *cls;
}

}  // namespace chart
