// The axis panel: series list, axes, paging, palette and data-source checks.
#include "chart/axis_panel.h"

#include <algorithm>
#include <cmath>

#include "chart/canvas3d.h"

#include "chart/errors.h"
#include "chart/functions.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"

namespace chart {

bool TCustomAxisPanel::RandomPointsAllowed = false;

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomPlotPanelExtended(parent) {
  axes_[0] = new TChartAxis(this, true);         // bottom
  axes_[1] = new TChartAxis(this, true, true);   // top
  axes_[2] = new TChartAxis(this, false);        // left
  axes_[3] = new TChartAxis(this, false, true);  // right
  axes_[4] = new TChartDepthAxis(this, true);    // depth
  axes_[5] = new TChartDepthAxis(this, false);   // depth, top
  axes_[2]->Title().SetDefaultAngle(90);
  axes_[3]->Title().SetDefaultAngle(270);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  SetDestroying();
  // The series belong to their owner: they only leave the chart.
  while (SeriesCount() > 0) SeriesAt(SeriesCount() - 1)->SetParentChart(nullptr);
  customAxes_.Clear();
  for (TChartAxis*& axis : axes_) {
    delete axis;
    axis = nullptr;
  }
}

// ---- Series -------------------------------------------------------------------------------

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (!series || series_.Contains(series)) return;
  if (series->ParentChart() != this) {
    series->SetParentChart(this);  // comes back here with the parent set
    return;
  }
  SeriesAdded(series);
  series_.Add(series);
  BroadcastSeriesEvent(series, seAdd);
  Invalidate();
}

void TCustomAxisPanel::SeriesAdded(TChartSeries* series) {
  if (series->ColorValue() == clDefault) series->SetInternalColor(FreeSeriesColor(true, series));
  series->RecalcGetAxis();
  series->CheckDataSource();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  if (!series || !series_.Contains(series)) return;
  BroadcastSeriesEvent(series, seRemove);
  series_.Remove(series);
  series_.Groups().RemoveSeries(series);
  mouseOver_.erase(std::remove(mouseOver_.begin(), mouseOver_.end(), series), mouseOver_.end());
  if (series->ParentChart() == this) series->SetParentChart(nullptr);
  Invalidate();
}

void TCustomAxisPanel::BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEvent event) {
  if (Destroying()) return;
  TPlotSeriesEvent e;
  e.Sender = this;
  e.Event = event;
  e.Series = series;
  NotifyListeners(e);
}

// ---- Palette ------------------------------------------------------------------------------

TColor TCustomAxisPanel::PaletteColor(int index) const {
  if (palette_.empty()) return DefaultPaletteColor(index);
  const int n = static_cast<int>(palette_.size());
  return palette_[static_cast<size_t>(((index % n) + n) % n)];
}

void TCustomAxisPanel::SetCustomPalette(std::vector<TColor> colors) {
  palette_ = std::move(colors);
  Invalidate();
}

bool TCustomAxisPanel::ColorIsFree(TColor color, bool checkBackground, const TChartSeries* series) {
  if (checkBackground && color == GetBackColor()) return false;
  for (const TChartSeries* s : series_)
    if (s != series && s->SeriesColor() == color) return false;
  return true;
}

TColor TCustomAxisPanel::FreeSeriesColor(bool checkBackground, const TChartSeries* series) {
  const int count = palette_.empty() ? static_cast<int>(DefaultPaletteColors().size()) : static_cast<int>(palette_.size());
  TColor color = PaletteColor(0);
  for (int i = 0; i < count; ++i) {
    color = PaletteColor(i);
    if (ColorIsFree(color, checkBackground, series)) break;
  }
  return color;
}

// ---- Paging -------------------------------------------------------------------------------

int TCustomAxisPanel::NumPages() const {
  if (maxPointsPerPage_ <= 0 || SeriesCount() == 0) return 1;
  const bool vertical = SeriesAt(0)->YMandatory();
  const TChartAxis* along[2] = {vertical ? BottomAxis() : LeftAxis(), vertical ? TopAxis() : RightAxis()};
  int pages = 1;
  for (const TChartAxis* axis : along) {
    int most = 0;
    for (const TChartSeries* s : series_)
      if (s->Active() && s->AssociatedToAxis(axis)) most = std::max(most, s->PointCount());
    if (most > 0) pages = std::max(pages, (most - 1) / maxPointsPerPage_ + 1);
  }
  return pages;
}

void TCustomAxisPanel::SetPage(int value) {
  // While a form is read the series are not there yet: the page is taken as it stands (a page
  // past the last one shows the last one).
  value = Loading() ? std::max(value, 1) : std::clamp(value, 1, NumPages());
  if (page_ == value) return;
  page_ = value;
  Invalidate();
  TPlotPageEvent event;
  NotifyListeners(event);
  if (OnPageChange) OnPageChange(*this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int value) {
  if (value < 0) throw ChartException(MsgMaxPointsPerPage);
  if (maxPointsPerPage_ == value) return;
  maxPointsPerPage_ = value;
  if (!Loading()) page_ = std::min(page_, NumPages());
  Invalidate();
}

void TCustomAxisPanel::Loaded() {
  TCustomPlotPanelExtended::Loaded();
  for (TChartAxis* axis : axisList_) axis->SettleAutomaticEnds();
  series_.Groups().Resolve(this);
}

// ---- Data sources -------------------------------------------------------------------------

bool TCustomAxisPanel::IsValidDataSource(TChartSeries* series, QObject* source) const {
  return series && series->IsValidSourceOf(source);
}

void TCustomAxisPanel::CheckDatasource(TChartSeries* series) {
  if (!series || series->IsLoading()) return;
  if (series->FillFromDataSources()) return;
  if (!series->ManualData() && (RandomPointsAllowed || series->IsDesigning()))
    series->FillSampleValues(series->DefaultSampleCount());
}

void TCustomAxisPanel::CheckCircularSource(const TChartSeries* destination, const QObject* source) {
  // Walks the sources of `source` (and theirs): meeting the destination closes a circle.
  std::vector<const TChartSeries*> pending, seen;
  if (auto* s = dynamic_cast<const TChartSeries*>(source)) pending.push_back(s);
  while (!pending.empty()) {
    const TChartSeries* s = pending.back();
    pending.pop_back();
    if (std::find(seen.begin(), seen.end(), s) != seen.end()) continue;
    seen.push_back(s);
    for (QObject* o : s->DataSources()) {
      if (o == destination) throw ChartException(MsgCircularSeries);
      if (auto* next = dynamic_cast<const TChartSeries*>(o)) pending.push_back(next);
    }
  }
}


// ---- Tools --------------------------------------------------------------------------------

void TChartTools::Add(TChartTool* tool) {
  if (tool && std::find(tools_.begin(), tools_.end(), tool) == tools_.end()) tools_.push_back(tool);
}

void TChartTools::Remove(TChartTool* tool) { tools_.erase(std::remove(tools_.begin(), tools_.end(), tool), tools_.end()); }

void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent stage) {
  for (int i = 0; i < tools_.Count(); ++i) {
    if (TChartTool* tool = tools_.At(i); tool->Active()) tool->ChartEvent(*this, stage);
  }
}

// ---- 3D -----------------------------------------------------------------------------------

void TCustomAxisPanel::SetChart3DPercent(int value) {
  if (value < 1 || value > 100) throw ChartException(FormatChartText(Msg3DPercent, {"1", "100"}));
  ChangeInteger(chart3DPercent_, value);
}

void TCustomAxisPanel::Recalc3DSizes() {
  if (!View3D()) {
    seriesWidth3D_ = seriesHeight3D_ = height3D_ = 0;
    TotalDepth = 0;
    return;
  }
  const bool orthogonal = View3DOptions().Orthogonal();
  int depth = Round(PlotWidth() * chart3DPercent_ / 1000.0 * (orthogonal ? 1 : 2));
  const double factor = View3DOptions().OrthoTangent();
  if (factor > 1) depth = Round(depth / factor);
  seriesWidth3D_ = depth;
  seriesHeight3D_ = Round(depth * factor);
  const int depthSlots = SeriesOwnDepth() ? std::max(1, maxZOrder_ + 1) : 1;
  TotalDepth = seriesWidth3D_ * depthSlots;
  height3D_ = seriesHeight3D_ * depthSlots;
}

// ---- Axes ---------------------------------------------------------------------------------

TChartSeries* TCustomAxisPanel::FirstActiveSeries() const {
  for (TChartSeries* s : series_) {
    if (s->Active()) return s;
  }
  return nullptr;
}

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis* axis) const {
  if (!axisVisible_ || !axis || !axis->Visible()) return false;
  if (axis->IsDepthAxis()) return View3D();
  const TChartSeries* first = FirstActiveSeries();
  if (!first) return true;
  if (!first->UsesAxes()) return false;
  for (const TChartSeries* s : series_) {
    if (s->Active() && s->AssociatedToAxis(axis)) return true;
  }
  return false;
}

double TCustomAxisPanel::AxisMinMax(const TChartAxis* axis, bool minimum) const {
  if (axis->IsDepthAxis()) {
    auto* depthAxis = const_cast<TChartAxis*>(axis);
    if (depthAxis->EffectiveLabelStyle() == talValue) {
      bool any = false;
      double result = 0;
      for (TChartSeries* s : series_) {
        if (!s->Active()) continue;
        const double v = minimum ? s->LowestZ() : s->HighestZ();
        result = !any ? v : (minimum ? std::min(result, v) : std::max(result, v));
        any = true;
      }
      return result;
    }
    return minimum ? -0.5 : maxZOrder_ + 0.5;
  }
  const bool horizontal = axis->Horizontal();
  // Paging runs along the X direction of the first series drawn against the axis.
  TChartSeries* firstAssociated = nullptr;
  for (TChartSeries* s : series_) {
    if (s->AssociatedToAxis(axis)) {
      firstAssociated = s;
      break;
    }
  }
  if (maxPointsPerPage_ > 0 && firstAssociated && firstAssociated->YMandatory() == horizontal) {
    TChartSeries* most = nullptr;
    for (TChartSeries* s : series_) {
      if (s->AssociatedToAxis(axis) && s->PointCount() > 0 && (!most || s->PointCount() > most->PointCount())) most = s;
    }
    if (!most) return 0;
    int first = -1, last = -1;
    most->PageRange(first, last);
    if (first < 0) return 0;
    auto valueAt = [&](int index) { return horizontal ? most->XValue(index) : most->YValue(index); };
    const double low = valueAt(first);
    if (minimum) return low;
    double high = valueAt(last);
    const int onPage = last - first + 1;
    if (!scaleLastPage_ && onPage < maxPointsPerPage_) {
      // The last page keeps the scale of a full one.
      high = last == first ? low + static_cast<double>(maxPointsPerPage_) / onPage
                           : low + maxPointsPerPage_ * (high - low) / onPage;
    }
    return high;
  }
  bool anyActive = false;
  for (const TChartSeries* s : series_) {
    if (s->Active() && s->AssociatedToAxis(axis)) anyActive = true;
  }
  bool any = false;
  double result = 0;
  for (TChartSeries* s : series_) {
    if ((anyActive && !s->Active()) || s->PointCount() == 0 || !s->AssociatedToAxis(axis)) continue;
    const double v = horizontal ? (minimum ? s->LowestX() : s->HighestX()) : (minimum ? s->LowestY() : s->HighestY());
    result = !any ? v : (minimum ? std::min(result, v) : std::max(result, v));
    any = true;
  }
  return result;
}

// ---- Drawing ------------------------------------------------------------------------------

void TCustomAxisPanel::FireAfterDraw() {
  if (OnAfterDraw) OnAfterDraw(*this);
}
void TCustomAxisPanel::FireBeforeDrawAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(*this);
}
void TCustomAxisPanel::FireBeforeDrawChart() {
  if (OnBeforeDrawChart) OnBeforeDrawChart(*this);
}
void TCustomAxisPanel::FireBeforeDrawSeries() {
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(*this);
}

std::string TCustomAxisPanel::SeriesLegendText(TChartSeries* series, int index) {
  return series->LegendItemText(index, ltsPlain);
}

void TCustomAxisPanel::CalcAxesLayout() {
  for (TChartAxis* axis : axisList_) {
    axis->AdjustMaxMin();
    axis->CalcPositions(ChartRect());
  }
  TRect work = ChartRect();
  for (int i = 0; i < axisList_.Count(); ++i) {
    TChartAxis* axis = axisList_[i];
    const bool shrink = i < 5;
    if (IsAxisVisible(axis)) {
      axis->CalcRect(work, shrink);
    } else if (axisList_.OnCalcRoom && shrink) {
      int room = 0;
      axisList_.OnCalcRoom(axis, room);
      axis->ShrinkBy(work, room);
    }
  }
  if (!ChartRectFixed()) {
    SetChartRect(work);
    NormalizeChartRect();
  }
  Recalc3DSizes();
  for (TChartAxis* axis : axisList_) axis->CalcPositions(ChartRect());
  for (TChartSeries* s : series_) {
    if (s->Active()) s->ComputeZRange();
  }
  for (TChartAxis* axis : axisList_) axis->AdjustMaxMinRect();
}

bool TCustomAxisPanel::DrawsAxis(const TChartAxis* axis) {
  return IsAxisVisible(axis) && !(axis == DepthTopAxis() && IsDepthCulled(TotalDepth));
}

void TCustomAxisPanel::DrawAxes() {
  for (int i = 0; i < axisList_.Count(); ++i) {
    TChartAxis* axis = axisList_[i];
    if (DrawsAxis(axis)) axis->PaintAxis();
  }
}

void TCustomAxisPanel::InternalDraw(const TRect& rect) {
  TCanvas3D& canvas = Canvas();
  // 1. Backwards drawing of rotated 3D views.
  const TView3DOptions& view = View3DOptions();
  drawBackwards_ = View3D() && (view.Orthogonal() ? view.OrthoAngle() > 90 : view.Rotation() < 180);
  // 2-3.
  if (!canvas.IsFull3D()) DrawPanel(rect);
  BroadcastToolEvent(cteBeforeDraw);
  FireBeforeDrawChart();
  // 4-5. Marks found by a click are those of this frame.
  for (TChartSeries* s : series_) {
    s->Marks().BeginFrame();
    if (s->Active()) s->PrepareForDraw();
  }
  if (!canvas.IsFull3D()) DrawTitlesAndLegend(true);
  // 6. Z indexes.
  maxZOrder_ = 0;
  if (View3D() && SeriesOwnDepth()) {
    maxZOrder_ = -1;
    for (TChartSeries* s : series_) {
      if (s->Active()) s->ComputeZOrder();
    }
    maxZOrder_ = std::max(maxZOrder_, 0);
  }
  for (TChartSeries* s : series_) {
    if (!s->Active()) continue;
    if (!View3D()) {
      s->SetZIndex(0);
    } else if (!DepthAxis()->Inverted()) {
      s->SetZIndex(SeriesOwnDepth() ? maxZOrder_ - s->ZIndex() : 0);
    }
  }
  // 7-10. Plot rectangle, axes and margins.
  Recalc3DSizes();
  CalcChartRect3D();
  CalcAxesLayout();
  // 11-13.
  canvas.SetProjectionCenter(TotalDepth, ChartRect());
  if (canvas.IsFull3D()) {
    DrawPanel(rect);
    DrawTitlesAndLegend(true);
  }
  DrawWalls();
  // 14. Axes behind the series.
  if (axisBehind_) {
    BroadcastToolEvent(cteBeforeDrawAxes);
    FireBeforeDrawAxes();
    DrawAxes();
  }
  // 15-16. Series.
  BroadcastToolEvent(cteBeforeDrawSeries);
  FireBeforeDrawSeries();
  depthRows_.clear();
  for (TChartSeries* s : series_) {
    ++depthRowVisits_;
    if (s->Active()) depthRows_[s->ZIndex()].push_back(s);
  }
  const bool reverse = DepthAxis()->Inverted() != IsDepthCulled(TotalDepth);
  std::vector<TChartSeries*> order(series_.begin(), series_.end());
  if (reverse) std::reverse(order.begin(), order.end());
  for (TChartSeries* s : order) {
    if (s->Active()) DrawSeries(s);
  }
  // 17-19.
  BroadcastToolEvent(cteAfterDrawSeries);
  if (!axisBehind_) {
    BroadcastToolEvent(cteBeforeDrawAxes);
    FireBeforeDrawAxes();
    DrawAxes();
  }
  DrawTitlesAndLegend(false);
  // 20-21.
  if (Zoom().Active) PaintZoomRectangle();
  BroadcastToolEvent(cteAfterDraw);
  FireAfterDraw();
}

void TCustomAxisPanel::DrawSeries(TChartSeries* series) {
  const auto row = depthRows_.find(series->ZIndex());
  if (!View3D() || row == depthRows_.end() || row->second.size() < 2) {
    DrawSeriesOf(series);
    return;
  }
  // Series of one depth row: the first of them in list order draws the whole row.
  if (row->second.front() != series) return;
  DrawSeriesRow(row->second);
}

void TCustomAxisPanel::DrawSeriesOf(TChartSeries* series) {
  series->FindVisibleRange();
  if (series->FirstValueIndex() < 0) return;
  series->FireBeforeDrawValues();
  TCanvas3D& canvas = Canvas();
  const TRect plot = ChartRect();
  const bool clip = series->UsesAxes() && clipPoints_ && ClippingAllowed();
  // One pixel taller: a line along the bottom axis stays visible.
  const TRect clipRect{plot.left, plot.top, plot.right, plot.bottom + 1};
  if (clip) {
    if (View3D()) {
      canvas.ClipCube(clipRect, series->StartZ(), series->EndZ());
    } else {
      canvas.ClipRectangle(clipRect);
    }
  }
  series->DrawVisibleValues();
  if (clip) canvas.Unclip();
  if (series->Marks().Visible() && series->PointCount() > 0) {
    const bool clipMarks = series->Marks().Clip() && ClippingAllowed();
    if (clipMarks) canvas.ClipRectangle(plot);
    series->DrawMarks();
    if (clipMarks) canvas.Unclip();
  }
  series->FireAfterDrawValues();
}

void TCustomAxisPanel::DrawSeriesRow(const std::vector<TChartSeries*>& row) {
  int first = -1, last = -1;
  for (TChartSeries* s : row) {
    s->FindVisibleRange();
    s->FireBeforeDrawValues();
    if (s->FirstValueIndex() < 0) continue;
    first = first < 0 ? s->FirstValueIndex() : std::min(first, s->FirstValueIndex());
    last = std::max(last, s->LastValueIndex());
  }
  TCanvas3D& canvas = Canvas();
  const TRect plot = ChartRect();
  const bool clip = clipPoints_ && ClippingAllowed() && row.front()->UsesAxes();
  if (clip) canvas.ClipCube(TRect{plot.left, plot.top, plot.right, plot.bottom + 1}, 0, TotalDepth);
  if (first >= 0) {
    const bool ascending = row.front()->DrawValuesAscending();
    for (int k = 0; k <= last - first; ++k) {
      const int index = ascending ? first + k : last - k;
      for (TChartSeries* s : row) {
        if (index >= s->FirstValueIndex() && index <= s->LastValueIndex() && index < s->PointCount()) s->PaintPoint(index);
      }
    }
  }
  if (clip) canvas.Unclip();
  for (TChartSeries* s : row) {
    if (s->Marks().Visible() && s->PointCount() > 0) s->DrawMarks();
    s->FireAfterDrawValues();
  }
}

// ---- Mouse --------------------------------------------------------------------------------

bool TCustomAxisPanel::CheckMouseOverSeries(int x, int y) {
  bool any = false;
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = SeriesAt(i);
    if (!s->Active() || (s->Cursor() == 0 && !s->OnMouseEnter && !s->OnMouseLeave)) continue;
    const auto over = std::find(mouseOver_.begin(), mouseOver_.end(), s);
    if (s->PointAt(x, y) < 0) {
      if (over != mouseOver_.end()) {
        mouseOver_.erase(over);
        if (s->OnMouseLeave) s->OnMouseLeave(s);
      }
      continue;
    }
    any = true;
    if (s->Cursor() != 0) {
      if (const std::optional<Qt::CursorShape> shape = ScreenCursor(s->Cursor())) setCursor(*shape);
    }
    if (over == mouseOver_.end()) {
      mouseOver_.push_back(s);
      if (s->OnMouseEnter) s->OnMouseEnter(s);
    }
  }
  return any;
}

void TCustomAxisPanel::MouseLeave() {
  TCustomPlotPanelExtended::MouseLeave();
  BroadcastToolEvent(cteMouseLeave);
}

}  // namespace chart
