// The bar series: one bar per point from an origin to the point's value. The bar series of
// one chart share their arrangement (MultiBar: side by side, stacked, stacked to 100 %, side
// by side over all points, or each series stacked on itself) and their side margins; before
// each draw every bar series counts the slots of a category and its own place among them.
// A bar takes one of thirteen shapes, in 2D and 3D.
//
// Geometry of point i (TBarSeries: x is the category, y the value): the bar's left edge is the
// category's pixel shifted to the series' slot, its right edge BarWidthPixels + 1 further
// (full-width bars reach the next bar), its value end the pixel of the value (or of the stacked
// sum) and its origin end the pixel of YOrigin (or of the sum below it). Without a visible pen
// the rectangle drawn grows by one pixel at its right and bottom, so that a bar fills the same
// pixels with and without its frame.
//
// Decision: a bar stacked to 100 % whose stack totals 0 is not drawn (its value end would lie
// at the top edge of the panel and draw a bar up to it).
//
// Decision: self-stacked series (each one column of its points stacked on each other, at the
// series' place in the chart's series list) divide the category axis into one slot per
// self-stacked series (plus one with side margins), as the points of one series would. One
// slot for the whole axis would make every column 70 % of the axis wide, so that the columns
// would cover each other and run off the plot.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/effects.h"
#include "chart/series.h"
#include "chart/stream.h"

namespace chart {

enum TBarStyle {
  bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient, bsCone, bsInvArrow,
  bsInvCone, bsBevel, bsSlantCube, bsDiamond
};
enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };

// The fill of bsRectGradient bars: from StartColor to the bar's colour.
class TBarSeriesGradient : public TCustomPlotGradient {
 public:
  explicit TBarSeriesGradient(TNotify onChange = {});
  // Stored in forms only when it differs from this.
  bool Relative() const { return relative_; }
  void SetRelative(bool value);
  void Assign(const TCustomPlotGradient& source) override;

 private:
  bool relative_ = false;
};

// The pixels of one bar: left and right edges (right one past the bar), the value end and the
// origin end.
struct TBarGeometry {
  int left = 0, right = 0;
  int valueY = 0, originY = 0;
  bool drawn = true;  // false: nothing to draw at this point
};

class TCustomBarSeries : public TChartSeries {
 public:
  using GetBarStyleEvent = std::function<void(TCustomBarSeries*, int index, TBarStyle& style)>;

  explicit TCustomBarSeries(QObject* owner = nullptr);
  ~TCustomBarSeries() override;
  std::string EditorClassName() const override { return "TBarSeriesEditor"; }

  // ---- Settings ----
  bool AutoBarSize() const { return autoBarSize_; }
  void SetAutoBarSize(bool value) { SetBooleanProperty(autoBarSize_, value); }
  bool AutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool value) { SetBooleanProperty(autoMarkPosition_, value); }
  TChartBrush& BarBrush() { return Brush(); }
  TChartPen& BarPen() { return Pen(); }
  const TChartPen& BarPen() const { return Pen(); }
  TBarStyle BarStyle() const { return barStyle_; }
  void SetBarStyle(TBarStyle value);
  int BarWidthPercent() const { return barWidthPercent_; }
  void SetBarWidthPercent(int value) { SetIntegerProperty(barWidthPercent_, value); }
  int BevelSize() const { return bevelSize_; }
  void SetBevelSize(int value) { SetIntegerProperty(bevelSize_, value); }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value) { SetBooleanProperty(dark3D_, value); }
  int DepthPercent() const { return depthPercent_; }
  void SetDepthPercent(int value) { SetIntegerProperty(depthPercent_, value); }
  TBarSeriesGradient& Gradient() { return *gradient_; }
  void SetGradient(const TCustomPlotGradient& value) { gradient_->Assign(value); }
  // Shared: setting it sets every same-kind series of the chart.
  TMultiBar MultiBar() const { return multiBar_; }
  void SetMultiBar(TMultiBar value);
  int OffsetPercent() const { return offsetPercent_; }
  void SetOffsetPercent(int value) { SetIntegerProperty(offsetPercent_, value); }
  // Shared like MultiBar.
  bool SideMargins() const { return sideMargins_; }
  void SetSideMargins(bool value);
  int StackGroup() const { return stackGroup_; }
  void SetStackGroup(int value) { SetIntegerProperty(stackGroup_, value); }
  TChartHiddenPen& TickLines() { return *tickLines_; }
  // Percent, 0..100.
  int Transparency() const { return transparency_; }
  void SetTransparency(int value) { SetIntegerProperty(transparency_, std::clamp(value, 0, 100)); }
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool value) { SetBooleanProperty(useYOrigin_, value); }
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double value) { SetDoubleProperty(yOrigin_, value); }
  int CustomBarWidth() const { return customBarWidth_; }
  void SetCustomBarWidth(int value) { SetIntegerProperty(customBarWidth_, std::max(0, value)); }
  GetBarStyleEvent OnGetBarStyle;

  // ---- State of the current draw ----
  int BarSlotCount() const { return barSlotCount_; }
  int BarSlotIndex() const { return barSlotIndex_; }
  int PrecedingPointCount() const { return precedingPointCount_; }
  int MaxBarPointCount() const { return maxBarPointCount_; }
  int BarWidthPixels() const { return barWidthPixels_; }
  const TRect& BarBounds() const { return barBounds_; }
  TColor NormalBarColor() const { return normalBarColor_; }

  // Whether `other` is a bar series of the same kind: its class is this one's, or one derives
  // from the other.
  bool SameClass(const TChartSeries* other) const;
  // Every active same-kind series of the chart in list order (this one alone without a chart).
  std::vector<TCustomBarSeries*> SameKindSeries() const;

  // Counts slots, this series' slot, the points of preceding series and the largest count.
  void PrepareForDraw() override;
  // The bar width of the current axes (BarWidthPixels).
  void CalcBarWidth();
  // The sum below point i: of the same-sign values of earlier series of the stack group (with
  // `all`: of every series), of this series' earlier values (self stack), else YOrigin.
  double PointOrigin(int index, bool all) const;
  // The pixels of point i's bar on the current axes.
  virtual TBarGeometry BarGeometry(int index) const = 0;

  void PaintPoint(int index) override;
  void FireBeforeDrawValues() override;
  void FindVisibleRange() override;
  void PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  int PointAt(int x, int y) override;

  void HorizontalMargins(int& left, int& right) override;
  void VerticalMargins(int& top, int& bottom) override;
  double HighestY() override;
  double LowestY() override;
  double HighestX() override;
  double LowestX() override;

  void CopyFrom(const TChartSeries& source) override;
  void SetParentChart(TCustomAxisPanel* chart) override;
  std::string SubStyleName(int index) const override;
  void ApplySubStyle(int index) override;
  void SetupPreview() override;
  // Sample points take the X values of another same-kind series of the chart.
  void SampleValuesAdded() override;

 protected:
  // Whether `other`'s class is this series' class or derives from it.
  virtual bool IsOfClassOf(const TCustomBarSeries* other) const = 0;
  // A new series of this one's class, owned by `owner`.
  virtual TCustomBarSeries* NewOfSameKind(QObject* owner) const = 0;
  // The category axis (X for vertical bars) and the value axis.
  TChartAxis* CategoryAxis() const { return YMandatory() ? GetHorizAxis() : GetVertAxis(); }
  // The value's pixel on the value axis.
  int ValuePixel(double value) const { return ValueToPixel(value); }
  // The pixel where bars start without UseYOrigin: the value axis' end.
  int AxisOriginPixel() const;
  // The drawn rectangle of a bar from its geometry (normalised, grown without a visible pen).
  TRect DrawnRect(const TBarGeometry& g) const;
  // Draws the shape of style `style` into `rect` (value end at valueY).
  void DrawBarShape(TBarStyle style, const TRect& rect, const TBarGeometry& g, TColor color, int index);
  void BarRectangle(TColor color, const TRect& rect);
  void DrawTickLines(TBarStyle style, const TRect& rect);
  // Copies MultiBar and SideMargins to every same-kind series.
  void ShareSettings();

 private:
  bool autoBarSize_ = false;
  bool autoMarkPosition_ = true;
  TBarStyle barStyle_ = bsRectangle;
  int barWidthPercent_ = 70;
  int bevelSize_ = 1;
  bool dark3D_ = true;
  int depthPercent_ = 100;
  std::unique_ptr<TBarSeriesGradient> gradient_;
  TMultiBar multiBar_ = mbSide;
  int offsetPercent_ = 0;
  bool sideMargins_ = true;
  int stackGroup_ = 0;
  std::unique_ptr<TChartHiddenPen> tickLines_;
  int transparency_ = 0;
  bool useYOrigin_ = true;
  double yOrigin_ = 0;
  int customBarWidth_ = 0;

  int barSlotCount_ = 1;
  int barSlotIndex_ = 1;
  int precedingPointCount_ = 0;
  int maxBarPointCount_ = -1;
  int barWidthPixels_ = 0;
  TRect barBounds_{};
  TColor normalBarColor_ = clDefault;
  bool sharing_ = false;
};

// The vertical bar: x is the category, y the value.
class TBarSeries : public TCustomBarSeries {
 public:
  explicit TBarSeries(QObject* owner = nullptr);
  std::string ClassName() const override { return "TBarSeries"; }
  TBarGeometry BarGeometry(int index) const override;

 protected:
  bool IsOfClassOf(const TCustomBarSeries* other) const override { return dynamic_cast<const TBarSeries*>(other); }
  TCustomBarSeries* NewOfSameKind(QObject* owner) const override { return new TBarSeries(owner); }
};

// The stored-description table of the vertical bar series.
const TStoredClass& StoredBarSeries();

}  // namespace chart
