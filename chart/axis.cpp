// Axis value-pixel mapping and the custom-axis collection.
#include "chart/axis.h"

#include <algorithm>

#include "chart/axis_panel.h"
#include "chart/series.h"
#include "chart/types.h"

namespace chart {

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide, bool depth)
    : chart_(chart), horizontal_(horizontal), otherSide_(otherSide), depth_(depth) {}

TChartAxis::~TChartAxis() {
  if (!chart_) return;
  for (int i = 0; i < chart_->SeriesCount(); ++i) chart_->SeriesAt(i)->AxisDestroyed(this);
}

double TChartAxis::PixelsPerUnit() const {
  const double range = maximum_ - minimum_;
  return range == 0 ? 0 : (endPos_ - startPos_) / range;
}

int TChartAxis::ValueToX(double value) const {
  if (maximum_ == minimum_) return (startPos_ + endPos_) / 2;
  const int v = Round((value - minimum_) * PixelsPerUnit());
  return inverted_ ? endPos_ - v : startPos_ + v;
}

int TChartAxis::ValueToY(double value) const {
  if (maximum_ == minimum_) return (startPos_ + endPos_) / 2;
  const int v = Round((value - minimum_) * PixelsPerUnit());
  return inverted_ ? startPos_ + v : endPos_ - v;
}

int TChartAxis::ValueToPixel(double value) const { return horizontal_ ? ValueToX(value) : ValueToY(value); }

double TChartAxis::PixelToValue(int pixel) const {
  const int size = endPos_ - startPos_;
  if (size < 1) return 0;
  const double d = inverted_ ? endPos_ - pixel : pixel - startPos_;
  const double r = d * (maximum_ - minimum_) / size;
  return horizontal_ ? minimum_ + r : maximum_ - r;
}

TChartCustomAxes::~TChartCustomAxes() { Clear(); }

int TChartCustomAxes::IndexOf(const TChartAxis* axis) const {
  auto it = std::find(axes_.begin(), axes_.end(), axis);
  return it == axes_.end() ? -1 : static_cast<int>(it - axes_.begin());
}

void TChartCustomAxes::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  TChartAxis* axis = axes_[static_cast<size_t>(index)];
  axes_.erase(axes_.begin() + index);
  delete axis;
}

void TChartCustomAxes::Clear() {
  while (!axes_.empty()) Delete(Count() - 1);
}

}  // namespace chart
