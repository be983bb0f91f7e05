// The axis panel: series list, axes, paging, palette and data-source checks.
#include "chart/axis_panel.h"

#include <algorithm>

#include "chart/errors.h"
#include "chart/functions.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"

namespace chart {

bool TCustomAxisPanel::RandomPointsAllowed = false;

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomPlotPanelExtended(parent) {
  axes_[0] = new TChartAxis(this, true);                // bottom
  axes_[1] = new TChartAxis(this, true, true);          // top
  axes_[2] = new TChartAxis(this, false);               // left
  axes_[3] = new TChartAxis(this, false, true);         // right
  axes_[4] = new TChartAxis(this, false, true, true);   // depth
  axes_[5] = new TChartAxis(this, false, false, true);  // depth, top
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

}  // namespace chart
