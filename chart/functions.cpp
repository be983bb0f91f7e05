// Series functions: the period walk and the whole-source and many-source calculations.
#include "chart/functions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/axis_panel.h"
#include "chart/errors.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"

namespace chart {

TPlotFunction::TPlotFunction(QObject* owner) : QObject(owner) {}

TPlotFunction::~TPlotFunction() {
  if (parent_) {
    TChartSeries* series = parent_;
    parent_ = nullptr;
    series->DetachFunction(this);
  }
}

void TPlotFunction::SetPeriod(double value) {
  if (value < 0) throw ChartException(MsgFunctionPeriod);
  if (period_ == value) return;
  period_ = value;
  ReCalculate();
}

void TPlotFunction::SetPeriodAlign(TFunctionPeriodAlign value) {
  if (periodAlign_ == value) return;
  periodAlign_ = value;
  ReCalculate();
}

void TPlotFunction::SetPeriodStyle(TFunctionPeriodStyle value) {
  if (periodStyle_ == value) return;
  periodStyle_ = value;
  ReCalculate();
}

void TPlotFunction::SetParentSeries(TChartSeries* series) {
  if (parent_ == series) return;
  if (parent_) {
    TChartSeries* old = parent_;
    parent_ = nullptr;
    old->DetachFunction(this);
  }
  if (series) series->SetFunction(this);
}

void TPlotFunction::ReCalculate() {
  if (!noSourceRequired_ && parent_) parent_->CheckDataSource();
}

void TPlotFunction::AddFunctionXY(bool sourceIsVertical, double x, double y) {
  if (!parent_) return;
  if (sourceIsVertical) {
    parent_->AddPoint(x, y, {}, clDefault);
  } else {
    parent_->AddPoint(y, x, {}, clDefault);
  }
}

double TPlotFunction::Calculate(TChartSeries*, int, int) { return 0; }

double TPlotFunction::CalculateMany(const std::vector<TChartSeries*>&, int) { return 0; }

void TPlotFunction::CalculatePeriod(TChartSeries* source, int first, int last, double x) {
  AddFunctionXY(source->YMandatory(), x, Calculate(source, first, last));
}

void TPlotFunction::CalculateAll(TChartSeries* source, TChartValueList& xList) {
  const double v = Calculate(source, -1, -1);
  const bool vertical = !parent_ || parent_->YMandatory();
  if (parent_ && !parent_->SinglePointFunction()) {
    AddFunctionXY(vertical, xList.Minimum(), v);
    AddFunctionXY(vertical, xList.Maximum(), v);
  } else {
    AddFunctionXY(vertical, xList.Minimum() + xList.Range() / 2, v);
  }
}

void TPlotFunction::CalculateByPeriod(TChartSeries* source, TChartValueList& xList) {
  const int n = xList.Count();
  if (n == 0) return;
  // A period below one point would never move on: groups hold at least one point.
  const int groupSize = std::max(1, Round(period_));
  const TDateTimeStep step = FindDateTimeStep(period_);
  const bool calendar = xList.DateTime() && step >= dtOneMonth && step != dtNone;
  double boundary = xList.ValueAt(0);
  int e = 0;
  int emptyRanges = 0;
  while (e <= n - 1) {
    int last;
    double g, f;
    bool holdsPoints = true;
    double next = 0;
    if (periodStyle_ == psNumPoints) {
      // (An incomplete group ends at n, which adds nothing and ends the walk.)
      last = static_cast<int>(std::min<int64_t>(int64_t{e} + groupSize - 1, n));
      g = xList.ValueAt(e);
      f = last < n ? xList.ValueAt(last) : 0;
    } else {
      next = calendar ? AdvanceDateTime(true, true, boundary, step, period_) : boundary + period_;
      // A boundary that does not move (a period too small for the X values), or an X value
      // that no range can hold, ends the walk.
      if (!(next > boundary) || std::isnan(xList.ValueAt(e))) break;
      g = boundary;
      f = next - period_ * 0.001;
      int i = e;
      while (i < n && xList.ValueAt(i) < next) ++i;
      last = i - 1;
      holdsPoints = xList.ValueAt(e) < next;
    }
    if (last < n) {
      const double x = periodAlign_ == paFirst ? g : periodAlign_ == paLast ? f : (g + f) / 2;
      if (holdsPoints) {
        CalculatePeriod(source, e, last, x);
      } else {
        // A period far too small for the gaps between the X values would add empty ranges
        // without end: the walk stops after kMaxEmptyRanges of them.
        if (++emptyRanges > kMaxEmptyRanges) break;
        AddFunctionXY(source->YMandatory(), x, 0);
      }
    }
    if (holdsPoints) e = last + 1;
    if (periodStyle_ == psRange) boundary = next;
  }
}

void TPlotFunction::AddPoints(TChartSeries* source, TChartValueList& xList) {
  if (period_ != 0) {
    CalculateByPeriod(source, xList);
  } else {
    CalculateAll(source, xList);
  }
}

void TPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources) {
  TChartSeries* widest = nullptr;
  for (TChartSeries* s : sources)
    if (!widest || s->PointCount() > widest->PointCount()) widest = s;
  if (!widest || !parent_) return;
  const bool vertical = widest->YMandatory();
  for (int i = 0; i < widest->PointCount(); ++i) {
    const double x = widest->NotMandatoryValueList().ValueAt(i);
    const double y = CalculateMany(sources, i);
    if (vertical) {
      parent_->AddPoint(x, y, widest->XLabel(i), clDefault);
    } else {
      parent_->AddPoint(y, x, widest->XLabel(i), clDefault);
    }
  }
}

void TPlotFunction::AddPointsFromSource(TChartSeries* source) {
  if (noSourceRequired_ || !parent_) return;
  std::vector<TChartSeries*> sources;
  for (QObject* o : parent_->DataSources())
    if (auto* s = dynamic_cast<TChartSeries*>(o)) sources.push_back(s);
  if (sources.size() > 1) {
    CalculateMany(sources);
  } else if (source && source->PointCount() > 0) {
    AddPoints(source, source->NotMandatoryValueList());
  }
}

void TPlotFunction::SetupGalleryPreview(TCustomAxisPanel* chart) {
  if (!chart) return;
  for (int i = 0; i < chart->SeriesCount(); ++i) chart->SeriesAt(i)->FillSampleValues(0);
}

void TPlotFunction::CopyFrom(const TPlotFunction& source) {
  period_ = source.period_;
  periodStyle_ = source.periodStyle_;
  periodAlign_ = source.periodAlign_;
}

TPlotFunction* TPlotFunction::Clone(QObject* owner) const {
  auto* f = new TPlotFunction(owner);
  f->CopyFrom(*this);
  return f;
}

}  // namespace chart
