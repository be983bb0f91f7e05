// Pie and donut series: series drawn in a circle inside the chart rectangle, without axes.
//
// `TCircledSeries` keeps the circle: its rectangle inside the chart rectangle (less the room
// of the marks), its centre and radii, the rotation and whether it is kept round on screen.
// While a circled series is active on a chart the chart shows the pie view (orthogonal off,
// rotation 360, elevation 315, no perspective or tilt); the 3D options it had before come
// back when the series is deactivated or leaves the chart.
//
// `TPieSeries` draws one slice per point, its angle in proportion to the point's absolute
// value. Before each drawing the X values are renumbered 0, 1, 2 ... and, with an other-slice
// style, the points below the threshold are grouped: their X value becomes -1 and one extra
// point (X value 2147483647) carries their sum with the other-slice text and colour. Grouped
// points are never drawn, marked, hit or listed in the chart's legend; the other slice's own
// legend lists them. Several active pies of a chart share the chart rectangle as a grid of
// round(sqrt n) columns and round(sqrt n + 0.5) rows.
//
// In 3D a slice draws a radial face only where it faces the viewer (the face's own turn on the
// screen decides, not which side of the chart's centre its end lies on) and where nothing lies
// against it: at the open ends of a pie short of a full circle (pie or donut alike) and beside
// a neighbour exploded by another offset. A face shared with a neighbour in place lies inside
// the pie; drawn, it would paint over the neighbour drawn before.
//
// `TDonutSeries` is a pie with a hole of `DonutPercent` of the diameter.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/effects.h"
#include "chart/series.h"
#include "chart/stream.h"

namespace chart {

class TChartLegend;
class TCustomChart;
class TView3DOptions;

// The X value of the other slice's point.
constexpr double kOtherSliceX = 2147483647.0;
// The X value of a point grouped into the other slice.
constexpr double kGroupedX = -1.0;

// Integers per slice; reading past the end gives 0, writing past the end grows the list with
// zeros.
class TSliceValueList {
 public:
  int Count() const { return static_cast<int>(values_.size()); }
  int Value(int index) const;
  int operator[](int index) const { return Value(index); }
  void SetValue(int index, int value);
  void Clear() { values_.clear(); }
  // The largest value, 0 when empty.
  int Maximum() const;

 private:
  std::vector<int> values_;
};

class TCircledSeries : public TChartSeries {
 public:
  explicit TCircledSeries(QObject* owner = nullptr);
  ~TCircledSeries() override;

  // Shared with every series of the same class on the chart.
  bool Circled() const { return circled_; }
  void SetCircled(bool value);
  int CustomXRadius() const { return customXRadius_; }
  void SetCustomXRadius(int value);
  int CustomYRadius() const { return customYRadius_; }
  void SetCustomYRadius(int value);
  // Degrees, kept modulo 360.
  int RotationAngle() const { return rotationAngle_; }
  void SetRotationAngle(int degrees);
  double RotationRadians() const { return rotationRadians_; }
  // clDefault: automatic (see CircleBackground).
  TColor CircleBackColor() const { return circleBackColor_; }
  void SetCircleBackColor(TColor color) { SetColorProperty(circleBackColor_, color); }
  // The background under the slices: the set colour, else white for a chart drawn without
  // colour, the back wall colour when the back wall is not transparent, the chart colour.
  TColor CircleBackground() const;

  bool UsesAxes() const override { return false; }

  // The circle of the current drawing.
  const TRect& CircleRect() const { return circleRect_; }
  int CircleXCenter() const { return xCenter_; }
  int CircleYCenter() const { return yCenter_; }
  int XRadius() const { return xRadius_; }
  int YRadius() const { return yRadius_; }
  // The circle from `rect`: even sizes of at least 4, the centre and radii (custom radii
  // replace the computed ones), made round on screen with Circled.
  void SetCircleRect(const TRect& rect);
  // The point on the ellipse at `angle` (radians, rotation added).
  TPoint AngleToPoint(double angle) const;

  void SetActive(bool value) override;
  void SetParentChart(TCustomAxisPanel* chart) override;
  // The pie view while active, and the saved 3D options back when the series leaves.
  bool HoldsSavedView() const { return savedView_ != nullptr; }

 protected:
  // Called once per drawing with the rectangle the circle may use.
  virtual void CalcCircle(const TRect& rect);
  void SetRadii(int x, int y) {
    xRadius_ = x;
    yRadius_ = y;
  }
  void SetCenter(int x, int y) {
    xCenter_ = x;
    yCenter_ = y;
  }

  // The series of the chart whose class is this one's.
  std::vector<TCircledSeries*> SameClassSeries() const;

 private:
  void SaveViewAndSetPie();
  void RestoreView();
  template <class V>
  void Share(V TCircledSeries::*field, V value);

  bool circled_ = false;
  int customXRadius_ = 0;
  int customYRadius_ = 0;
  int rotationAngle_ = 0;
  double rotationRadians_ = 0;
  TColor circleBackColor_ = clDefault;
  TRect circleRect_{};
  int xCenter_ = 0, yCenter_ = 0, xRadius_ = 0, yRadius_ = 0;
  std::unique_ptr<TView3DOptions> savedView_;
  TCustomAxisPanel* viewChart_ = nullptr;
};

enum TMultiPie { mpAutomatic, mpDisabled };
enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

class TPieSeries;

// The slice that groups the small values.
class TPieOtherSlice {
 public:
  explicit TPieOtherSlice(TPieSeries* owner);
  ~TPieOtherSlice();

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // The legend of the grouped values, created on demand (on the chart the series is on at
  // that moment); nullptr: none.
  TChartLegend* Legend() const { return legend_.get(); }
  TChartLegend& CreateLegend();
  void FreeLegend();
  TPieOtherStyle Style() const { return style_; }
  void SetStyle(TPieOtherStyle style);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  double Value() const { return value_; }
  void SetValue(double value);
  void Assign(const TPieOtherSlice& source);

 private:
  void Changed();
  TPieSeries* owner_;
  TColor color_ = clDefault;
  std::unique_ptr<TChartLegend> legend_;
  TPieOtherStyle style_ = poNone;
  std::string text_;
  double value_ = 0;
};

// The shadow under a pie.
class TPieShadow : public TPlotShadow {
 public:
  explicit TPieShadow(TNotify onChange = {});
};

// Start, middle and end angle of a slice, in radians.
struct TPieAngle {
  double start = 0, middle = 0, end = 0;
};

class TPieSeries : public TCircledSeries {
 public:
  explicit TPieSeries(QObject* owner = nullptr);
  ~TPieSeries() override;
  std::string ClassName() const override { return "TPieSeries"; }
  std::string EditorClassName() const override { return "TPieSeriesEditor"; }

  // ---- Settings ----
  int AngleSize() const { return angleSize_; }
  void SetAngleSize(int degrees) { SetIntegerProperty(angleSize_, degrees); }
  bool AutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool value) { SetBooleanProperty(autoMarkPosition_, value); }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value) { SetBooleanProperty(dark3D_, value); }
  int DarkPen() const { return darkPen_; }
  void SetDarkPen(int amount) { SetIntegerProperty(darkPen_, amount); }
  int ExplodeBiggest() const { return explodeBiggest_; }
  void SetExplodeBiggest(int percent);
  TPlotGradient& Gradient() { return *gradient_; }
  const TPlotGradient& Gradient() const { return *gradient_; }
  TMultiPie MultiPie() const { return multiPie_; }
  void SetMultiPie(TMultiPie value);
  TPieOtherSlice& OtherSlice() { return *otherSlice_; }
  const TPieOtherSlice& OtherSlice() const { return *otherSlice_; }
  TChartPen& PiePen() { return Pen(); }
  const TChartPen& PiePen() const { return Pen(); }
  TChartValueList& PieValues() { return YValues(); }
  TPieShadow& Shadow() { return *shadow_; }
  bool UsePatterns() const { return usePatterns_; }
  void SetUsePatterns(bool value) { SetBooleanProperty(usePatterns_, value); }
  // Exploded distance per slice, in percent of the radius.
  TSliceValueList& ExplodedSlice() { return exploded_; }
  const TSliceValueList& ExplodedSlice() const { return exploded_; }
  TSliceValueList& SliceHeight() { return heights_; }
  // The hole in percent of the diameter (0 for a pie).
  virtual int HolePercent() const { return 0; }

  // ---- Points ----
  bool IsGrouped(int index) const { return XValue(index) == kGroupedX; }
  // The index of the other slice's point, or -1.
  int OtherSliceIndex() const;
  // Deletes the other point, sorts, renumbers and groups by OtherSlice (the step before
  // every drawing).
  void GroupValues();
  // The slice angles of the visible points (indexed by point).
  void CalcAngles();
  const TPieAngle& Angle(int index) const { return angles_[static_cast<size_t>(index)]; }
  int AngleCount() const { return static_cast<int>(angles_.size()); }
  // The index whose slice polygon holds (x, y), or -1.
  int PointAt(int x, int y) override;
  // The slice polygon of `index`: the centre and 31 points along the arc.
  std::vector<TPoint> SlicePolygon(int index);

  // ---- Drawing ----
  void PrepareForDraw() override;
  void FireBeforeDrawValues() override;
  void FireAfterDrawValues() override;
  void DrawVisibleValues() override;
  void PaintPoint(int index) override;
  std::string MarkTextOf(int index) override;
  void PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  void PaintLegendSymbol(int item, const TRect& rect) override;
  int CountLegendItems() const override;
  int LegendToValueIndex(int item) const override;
  // The grid cell of this pie among `n` active pies, `k` of them before it.
  static TRect MultiPieCell(const TRect& rect, int n, int k);
  // The slices in the order they are drawn.
  std::vector<int> DrawOrder() const;

  // ---- Gallery and copies ----
  std::string SubStyleName(int index) const override;
  void ApplySubStyle(int index) override;
  void SetupPreview() override;
  int DefaultSampleCount() const override { return 8; }
  void SampleValuesAdded() override;
  void CopyFrom(const TChartSeries& source) override;
  std::string DataBytes() const override;

 protected:
  void CalcCircle(const TRect& rect) override;
  // The offset of an exploded slice.
  TPoint ExplodeOffset(int index) const;

 private:
  // `sides`: in 3D the radial faces that may show (each is drawn where it faces the viewer).
  void DrawSlice(int index, TPieSides sides);
  // The radial faces of a slice with nothing beside them: at an open end of a pie short of a
  // full circle, or next to a slice exploded by another offset.
  TPieSides ExposedSides(int index) const;
  void DrawOtherLegend();

  int angleSize_ = 360;
  bool autoMarkPosition_ = true;
  bool dark3D_ = true;
  int darkPen_ = 0;
  int explodeBiggest_ = 0;
  std::unique_ptr<TPlotGradient> gradient_;
  TMultiPie multiPie_ = mpAutomatic;
  std::unique_ptr<TPieOtherSlice> otherSlice_;
  std::unique_ptr<TPieShadow> shadow_;
  bool usePatterns_ = false;
  TSliceValueList exploded_;
  TSliceValueList heights_;

  std::vector<TPieAngle> angles_;
  TRect savedChartRect_{};
  bool chartRectSaved_ = false;
  TPoint previousEnd_{};
  int autoExploded_ = -1;     // the slice ExplodeBiggest exploded at the last drawing
  bool listGrouped_ = false;  // the other slice's legend is listing the grouped points
};

class TDonutSeries : public TPieSeries {
 public:
  explicit TDonutSeries(QObject* owner = nullptr);
  std::string ClassName() const override { return "TDonutSeries"; }
  std::string EditorClassName() const override { return "TDonutSeriesEditor"; }
  int DonutPercent() const { return donutPercent_; }
  void SetDonutPercent(int percent) { SetIntegerProperty(donutPercent_, percent); }
  int HolePercent() const override { return donutPercent_; }
  // A percent of 0 or less taken over becomes 50.
  void CopyFrom(const TChartSeries& source) override;

 private:
  int donutPercent_ = 50;
};

const TStoredClass& StoredPieSeries();
const TStoredClass& StoredDonutSeries();

}  // namespace chart
