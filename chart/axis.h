// The axes of a chart as the series see them: orientation, side, the current ends of the
// scale and its pixel span, and the value-pixel mapping the series call (linear, exact:
// start + round((value - minimum) x pixels per unit) along a horizontal axis, from the end
// pixel upwards along a vertical one, the other way round when inverted; a zero range maps
// every value to the centre pixel).
//
// Custom axes (`TChartCustomAxes`) are numbered in the chart's collection; a series stores the
// number of the custom axis it uses. Destroying an axis sends the series that use it back to
// the standard axes.
#pragma once

#include <cstddef>
#include <vector>

namespace chart {

class TCustomAxisPanel;

class TChartAxis {
 public:
  TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide = false, bool depth = false);
  virtual ~TChartAxis();
  TChartAxis(const TChartAxis&) = delete;
  TChartAxis& operator=(const TChartAxis&) = delete;

  TCustomAxisPanel* ParentChart() const { return chart_; }
  bool Horizontal() const { return horizontal_; }
  bool OtherSide() const { return otherSide_; }
  bool IsDepthAxis() const { return depth_; }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value) { inverted_ = value; }

  // The current ends of the scale and the pixels it spans.
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  void SetScale(double minimum, double maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  int IStartPos() const { return startPos_; }
  int IEndPos() const { return endPos_; }
  void SetPixelSpan(int start, int end) {
    startPos_ = start;
    endPos_ = end;
  }

  // Value to pixel along the axis (ValueToX for horizontal axes, ValueToY for vertical ones).
  int ValueToPixel(double value) const;
  int ValueToX(double value) const;
  int ValueToY(double value) const;
  double PixelToValue(int pixel) const;

 private:
  double PixelsPerUnit() const;

  TCustomAxisPanel* chart_;
  bool horizontal_;
  bool otherSide_;
  bool depth_;
  bool inverted_ = false;
  double minimum_ = 0;
  double maximum_ = 0;
  int startPos_ = 0;
  int endPos_ = 0;
};

// The custom axes of a chart, in collection order; it owns them.
class TChartCustomAxes {
 public:
  TChartCustomAxes() = default;
  ~TChartCustomAxes();
  TChartCustomAxes(const TChartCustomAxes&) = delete;
  TChartCustomAxes& operator=(const TChartCustomAxes&) = delete;

  int Count() const { return static_cast<int>(axes_.size()); }
  TChartAxis* Axis(int index) const {
    return index >= 0 && index < Count() ? axes_[static_cast<size_t>(index)] : nullptr;
  }
  int IndexOf(const TChartAxis* axis) const;
  // Adopts an axis of the chart.
  void Add(TChartAxis* axis) { axes_.push_back(axis); }
  // Frees the axis at `index`.
  void Delete(int index);
  void Clear();

 private:
  std::vector<TChartAxis*> axes_;
};

}  // namespace chart
