// The axes of a chart. A `TChartAxis` turns values into pixels and back along one edge (or the
// depth) of the plot rectangle, chooses the step between its labels, draws labels, ticks, grid
// and its line, and tells the chart how much room it needs. Every chart has six axes (bottom,
// top, left, right, depth and depth-top) and any number of custom ones (`TChartCustomAxes`);
// all of them, in that order, form the chart's axis list (`TChartAxes`). The arithmetic is
// chart/axis_scale.h's.
//
// Ends: `Minimum` and `Maximum` are the fixed ends; an automatic end is taken from the series
// before each draw and kept in `Minimum`/`Maximum` too (never stored in forms while automatic),
// so that scrolling and code reading the ends start from what is shown. The scale the mapping
// uses starts from those ends and is then widened by the pixel margins the series ask for and
// by the offsets.
//
// The order checks of `SetMinimum` and `SetMaximum` compare with the other end as it stands:
// code that moves both ends uses `SetMinMax`. Setters store a changed value and repaint the
// chart; errors raise `AxisException` with the library's texts and keep the old value.
//
// Labels: value labels walk from the maximum down by the step (date-time axes by the calendar),
// text and mark labels take the point labels (or mark texts) of the series drawn against the
// axis and skip those that would overlap the last one drawn, custom items (`Items`) replace
// both. `LabelsMultiLine` turns blanks into line breaks. With `Labels` off the places are still
// walked: ticks and grid stay where the labels would be. With `LabelsExponent` the exponent
// stands right of its mantissa whichever way the label is aligned.
//
// Room: an axis takes from the plot rectangle the room of its ticks (and the chart's wall
// beside it), its labels and its title; the labels line lies beyond the ticks, the title line
// beyond the labels.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/axis_scale.h"
#include "chart/canvas.h"
#include "chart/panel.h"
#include "chart/shapes.h"
#include "chart/types.h"

namespace chart {

class TCustomAxisPanel;
class TChartSeries;
class TChartAxis;
class TCanvas3D;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum TAxisLabelAlign { alDefault, alOpposite };
enum TAxisLineMode { lmLine, lmCylinder, lmRectangle };

// ---- Pens ---------------------------------------------------------------------------------

// The axis line: width 2; a line mode other than lmLine draws a filled bar (or a cylinder in
// 3D) in the pen colour.
class TChartAxisPen : public TChartPen {
 public:
  explicit TChartAxisPen(TNotify onChange = {});
  TAxisLineMode LineMode() const { return lineMode_; }
  void SetLineMode(TAxisLineMode value);
  void Assign(const TChartAxisPen& source);
  using TChartPen::Assign;

 private:
  TAxisLineMode lineMode_ = lmLine;
};

// Grid lines: grey dots with the depth (percent of the chart depth) the side lines run to
// in 3D, and whether they lie halfway between labels.
class TAxisGridPen : public TDottedGrayPen {
 public:
  explicit TAxisGridPen(TNotify onChange = {});
  double ZPosition() const { return zPosition_; }
  void SetZPosition(double value);
  bool IsZPositionStored() const { return zPosition_ != defaultZPosition_; }
  void SetDefaultZPosition(double value) { defaultZPosition_ = zPosition_ = value; }
  bool Centered() const { return centered_; }
  void SetCentered(bool value);
  void Assign(const TAxisGridPen& source);
  using TChartPen::Assign;

 private:
  double zPosition_ = 0;
  double defaultZPosition_ = 0;
  bool centered_ = false;
};

// ---- Custom label items -------------------------------------------------------------------

class TAxisItems;

// One custom label: a transparent framed shape with a text at a value.
class TAxisItem : public TPlotCustomShape {
 public:
  explicit TAxisItem(TAxisItems* owner);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  double Value() const { return value_; }
  void SetValue(double value);
  void CopyFrom(const TAxisItem& source);

 private:
  TAxisItems* owner_;
  std::string text_;
  double value_ = 0;
};

// An axis' custom labels and the shared format (visibility and font) of all its labels.
class TAxisItems {
 public:
  explicit TAxisItems(TChartAxis* axis);
  ~TAxisItems();
  TAxisItems(const TAxisItems&) = delete;
  TAxisItems& operator=(const TAxisItems&) = delete;

  TChartAxis* Axis() const { return axis_; }
  TPlotShape& Format() { return *format_; }
  const TPlotShape& Format() const { return *format_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TAxisItem* Item(int index) const;
  TAxisItem* operator[](int index) const { return Item(index); }
  // A new item at `value` with `text`.
  TAxisItem* Add(double value, const std::string& text = {});
  // Frees every item and repaints the chart.
  void Clear();
  // The format and copies of every item of `source`.
  void CopyFrom(const TAxisItems& source);
  void Repaint();

 private:
  TChartAxis* axis_;
  std::unique_ptr<TPlotShape> format_;
  std::vector<std::unique_ptr<TAxisItem>> items_;
};

// ---- Title --------------------------------------------------------------------------------

class TChartAxisTitle : public TPlotCustomShape {
 public:
  TChartAxisTitle(TChartAxis* axis, int defaultAngle);
  int Angle() const { return angle_; }
  void SetAngle(int value);
  bool IsAngleStored() const { return angle_ != defaultAngle_; }
  int DefaultAngle() const { return defaultAngle_; }
  // The angle the axis' side gives its title (left axes 90, right axes 270).
  void SetDefaultAngle(int value);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  void CopyFrom(const TChartAxisTitle& source);

 private:
  TChartAxis* axis_;
  int angle_;
  int defaultAngle_;
  std::string caption_;
};

// May move or change a label, or suppress it (draw = false).
using TAxisDrawLabelEvent = std::function<void(TChartAxis* sender, int& x, int& y, int& z, std::string& text,
                                               bool& draw)>;

// ---- The axis -----------------------------------------------------------------------------

class TChartAxis {
 public:
  // A standard axis of `chart` (appended to its axis list).
  TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide = false, bool depth = false);
  virtual ~TChartAxis();
  TChartAxis(const TChartAxis&) = delete;
  TChartAxis& operator=(const TChartAxis&) = delete;

  TCustomAxisPanel* ParentChart() const { return chart_; }
  bool IsDepthAxis() const { return depth_; }
  // Custom axes are items of the chart's CustomAxes.
  bool IsCustom() const { return custom_; }

  // ---- Ends ----
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool value);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool value);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool value);
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  // Raise AxisException when the new end passes the other one (not while the chart loads).
  void SetMinimum(double value);
  void SetMaximum(double value);
  // Both ends fixed at once, in either order; ends closer than 1e-10 are moved 1e-10 apart.
  void SetMinMax(double a, double b);
  // When loading ends: an axis read as Automatic takes both ends automatically, as it is drawn.
  // (Automatic set while loading leaves the two end flags as they were read, so a description
  // that turns an end off before turning Automatic on would otherwise write an axis that reads
  // back with Automatic off.)
  void SettleAutomaticEnds() {
    if (automatic_) automaticMinimum_ = automaticMaximum_ = true;
  }
  bool IsMinimumStored() const { return !automaticMinimum_; }
  bool IsMaximumStored() const { return !automaticMaximum_; }
  int MinimumOffset() const { return minimumOffset_; }
  void SetMinimumOffset(int value);
  int MaximumOffset() const { return maximumOffset_; }
  void SetMaximumOffset(int value);
  // Scrolls both ends by `delta`; with `checkLimits` only while series values lie beyond the
  // end it moves towards.
  void ShiftRange(double delta, bool checkLimits);

  // ---- Scale ----
  double Increment() const { return increment_; }
  void SetIncrement(double value);
  bool Inverted() const { return inverted_; }
  virtual void SetInverted(bool value);
  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool value);
  double LogarithmicBase() const { return logarithmicBase_; }
  void SetLogarithmicBase(double value);
  bool IsLogarithmicBaseStored() const { return logarithmicBase_ != 10; }
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool value);
  bool RoundFirstLabel() const { return roundFirstLabel_; }
  void SetRoundFirstLabel(bool value);

  // ---- Placement ----
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool value);
  bool OtherSide() const { return otherSide_; }
  void SetOtherSide(bool value);
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double value);
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double value);
  double PositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double value);
  TPlotUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TPlotUnits value);
  double ZPosition() const { return zPosition_; }
  // 0 is kept as 0.01.
  void SetZPosition(double value);
  bool IsZPositionStored() const;
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  // ---- Labels ----
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle value);
  bool Labels() const;
  void SetLabels(bool value);
  TPlotFont& LabelsFont();
  void SetLabelsFont(const TPlotFont& font);
  TAxisLabelAlign LabelsAlign() const { return labelsAlign_; }
  void SetLabelsAlign(TAxisLabelAlign value);
  bool LabelsAlternate() const { return labelsAlternate_; }
  void SetLabelsAlternate(bool value);
  int LabelsAngle() const { return labelsAngle_; }
  // Kept within 0..359 (450 gives 90, -90 gives 270).
  void SetLabelsAngle(int value);
  bool LabelsExponent() const { return labelsExponent_; }
  void SetLabelsExponent(bool value);
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool value);
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool value);
  int LabelsSeparation() const { return labelsSeparation_; }
  // Raises AxisException for a negative value.
  void SetLabelsSeparation(int value);
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int value);
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int value);
  const std::string& AxisValuesFormat() const { return axisValuesFormat_; }
  void SetAxisValuesFormat(const std::string& value);
  bool IsAxisValuesFormatStored() const;
  const std::string& DateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const std::string& value);
  TAxisItems& Items() { return *items_; }
  const TAxisItems& Items() const { return *items_; }
  TChartAxisTitle& Title() { return *title_; }
  const TChartAxisTitle& Title() const { return *title_; }

  // ---- Pens and ticks ----
  TChartAxisPen& Axis() { return *axisPen_; }
  TAxisGridPen& Grid() { return *grid_; }
  bool GridCentered() const { return grid_->Centered(); }
  void SetGridCentered(bool value) { grid_->SetCentered(value); }
  TChartHiddenPen& MinorGrid() { return *minorGrid_; }
  TDarkGrayPen& MinorTicks() { return *minorTicks_; }
  TDarkGrayPen& Ticks() { return *ticks_; }
  TDarkGrayPen& TicksInner() { return *ticksInner_; }
  int MinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int value);
  int MinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int value);
  int TickLength() const { return tickLength_; }
  void SetTickLength(int value);
  int TickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int value);
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool value);

  TAxisDrawLabelEvent OnDrawLabel;

  // Every published setting (not ZPosition, not OnDrawLabel) and the depth flag.
  void CopyFrom(const TChartAxis& source);

  // ---- Scale state of the current draw ----
  const TAxisScale& Scale() const { return scale_; }
  double IMinimum() const { return scale_.minimum; }
  double IMaximum() const { return scale_.maximum; }
  double IRange() const { return scale_.range; }
  int IStartPos() const { return scale_.startPixel; }
  int IEndPos() const { return scale_.endPixel; }
  int IAxisSize() const { return scale_.axisSize; }
  int ICenterPos() const { return scale_.centerPixel; }
  bool IsDateTime() const { return isDateTime_; }
  int PosAxis() const { return posAxis_; }
  int PosLabels() const { return posLabels_; }
  int PosTitle() const { return posTitle_; }
  // The depth pixel the axis lies at.
  int IZPos() const { return zPixel_; }
  // Sets the scale's ends and pixel span by hand (code that places an axis itself).
  void SetScale(double minimum, double maximum);
  void SetPixelSpan(int start, int end);

  // ---- Mapping ----
  int ValueToPixel(double value) const { return scale_.ValueToPixel(value); }
  // As a horizontal or a vertical axis would map the value.
  int ValueToX(double value) const { return scale_.ValueToPixelAs(value, true); }
  int ValueToY(double value) const { return scale_.ValueToPixelAs(value, false); }
  double PixelToValue(int pixel) const { return scale_.PixelToValue(pixel); }

  // ---- Labels and texts ----
  // The label text of a value: number format, or date-time format (empty for a negative
  // date), then the chart's label event; blanks become line breaks with LabelsMultiLine.
  virtual std::string TextOfValue(double value);
  // None without an active series on the axis; text as soon as one whose values run across
  // the axis holds a label; else values. No series setting takes a series out of this test:
  // every active series on the axis counts.
  virtual TAxisLabelStyle AutomaticLabelStyle();
  // LabelStyle, or the automatic style for talAuto.
  TAxisLabelStyle EffectiveLabelStyle();
  // The size of a value's label along the axis (pixels) in the label font.
  int LabelSizeOfValue(double value);
  // The step between labels for the current scale, and the date-time step of the labels.
  TIncrement IncrementFromLabelSizes();
  // How many labels of `size` pixels fit along the axis (with LabelsSeparation kept free).
  int IncrementForLabelSize(int size) const;
  // The step for `labelCount` labels over the current scale.
  double StepForLabelCount(int labelCount);
  // The power of LogarithmicBase nearest `step`.
  double LogStepFor(double step) const;
  // The step between labels and the date-time step index of the last draw.
  double LabelStep() const { return labelStep_; }
  int LabelStepIndex() const { return stepIndex_; }

  // ---- Chart layout and drawing ----
  // The automatic ends from the chart's series, before the span is known.
  void AdjustMaxMin();
  // The pixel span from the plot rectangle (or the chart depth for depth axes).
  void CalcPositions(const TRect& plot);
  // Widens the scale by the series' margins and the offsets.
  void AdjustMaxMinRect();
  // The room the axis needs beside `rect`: with `shrink` the rectangle loses it (only while it
  // stays non-empty). Places the axis, label and title lines.
  void CalcRect(TRect& rect, bool shrink);
  // Takes `room` pixels from the axis' side of `rect`, unless that leaves it empty.
  void ShrinkBy(TRect& rect, int room) const;
  // Draws labels (or custom items), line, ticks, grid and title. With `calcPosAxis` the line
  // is placed again from the chart's plot rectangle first. A depth axis leaves its grids to
  // DrawDepthGrids: they lie on the walls, below the series.
  void PaintAxis(bool calcPosAxis = true);
  // A depth axis' grid and minor grid on the left and bottom planes, drawn with the walls before
  // the series. The label places are walked as PaintAxis walks them, without drawing a label.
  void DrawDepthGrids();
  // The part of the grids that runs across the depth beside the axis (3D, axes behind the
  // series), from the tick places of the last draw: drawn again over a wall that is drawn
  // again after the series.
  void DrawSideGrids();
  // Whether (x, y) lies on the band of the axis line and its labels.
  bool Clicked(int x, int y);

  // The major tick pixels of the last draw.
  const std::vector<int>& TickPositions() const { return tickPositions_; }

  // The chart is told to repaint.
  void Changed();

 protected:
  void SetCustom(bool custom) { custom_ = custom; }
  friend class TChartCustomAxes;

 private:
  bool ChartLoading() const;
  TCanvas3D& Canvas() const;
  void SyncScaleSettings();
  // The settings and scale the step choice starts from.
  TIncrementInput IncrementInput();
  bool ComputeIsDateTime() const;
  int TickRoom() const;
  int LabelRoom();
  int TitleRoom();
  int TextExtentAlong(const std::string& text);
  void PlaceLines(const TRect& plot);
  void DrawValueLabels();
  void DrawTextLabels(bool marks);
  void DrawDepthTextLabels();
  // The titles a depth axis with text labels writes: for each whole depth row within its range,
  // the row and the title of the active series shown in the legend there, after the chart's
  // label event.
  struct TDepthLabel {
    int row;
    std::string text;
  };
  std::vector<TDepthLabel> DepthTextLabels();
  void DrawCustomItems();
  // One label at `pos` along the axis; false when suppressed by the chart's label event.
  bool PaintLabel(int pos, std::string text, TPlotCustomShape* frame = nullptr);
  void AddTick(int pos) { tickPositions_.push_back(pos); }
  void DrawAxisLine();
  void DrawTicks(const std::vector<int>& ticks, int length, bool inner, TChartPen& pen);
  // Which part of a grid line to draw: all of it, or only the part across the depth.
  enum class GridPart { Whole, Side };
  void DrawGrid(const std::vector<int>& ticks, bool centered, TChartPen& pen, GridPart part = GridPart::Whole);
  // Starts a draw: scale settings (with `calcPosAxis` the lines placed again), label style and
  // step; clears the tick places.
  void BeginPaint(bool calcPosAxis);
  // The labels (or custom items) at their places, adding the ticks.
  void WalkLabels();
  void DrawTitle();
  std::vector<int> MinorTickPositions();

  TCustomAxisPanel* chart_;
  bool horizontal_;
  bool otherSide_;
  bool depth_;
  bool custom_ = false;

  bool automatic_ = true, automaticMaximum_ = true, automaticMinimum_ = true;
  double minimum_ = 0, maximum_ = 0;
  int minimumOffset_ = 0, maximumOffset_ = 0;
  double increment_ = 0;
  bool inverted_ = false;
  bool logarithmic_ = false;
  double logarithmicBase_ = 10;
  bool exactDateTime_ = true;
  bool roundFirstLabel_ = true;
  double startPosition_ = 0, endPosition_ = 100;
  double positionPercent_ = 0;
  TPlotUnits positionUnits_ = muPercent;
  double zPosition_ = 0.01;
  bool visible_ = true;

  TAxisLabelStyle labelStyle_ = talAuto;
  TAxisLabelAlign labelsAlign_ = alDefault;
  bool labelsAlternate_ = false;
  int labelsAngle_ = 0;
  bool labelsExponent_ = false;
  bool labelsMultiLine_ = false;
  bool labelsOnAxis_ = true;
  int labelsSeparation_ = 10;
  int labelsSize_ = 0, titleSize_ = 0;
  std::string axisValuesFormat_;
  std::string dateTimeFormat_;

  int minorTickCount_ = 3, minorTickLength_ = 2;
  int tickLength_ = 4, tickInnerLength_ = 0;
  bool tickOnLabelsOnly_ = true;

  std::unique_ptr<TChartAxisPen> axisPen_;
  std::unique_ptr<TAxisGridPen> grid_;
  std::unique_ptr<TChartHiddenPen> minorGrid_;
  std::unique_ptr<TDarkGrayPen> minorTicks_, ticks_, ticksInner_;
  std::unique_ptr<TAxisItems> items_;
  std::unique_ptr<TChartAxisTitle> title_;

  // State of the current draw.
  TAxisScale scale_;
  bool isDateTime_ = false;
  int zPixel_ = 0;
  int posAxis_ = 0, posLabels_ = 0, posTitle_ = 0;
  int labelRoom_ = 0, titleRoom_ = 0;
  double labelStep_ = 0;
  int stepIndex_ = kNoDateTimeStep;
  TAxisLabelStyle drawStyle_ = talValue;
  std::vector<int> tickPositions_;
  std::vector<double> labelValues_;
  int alternateRow_ = 0;
  // While set, labels are walked for their places only: nothing is drawn and the label
  // drawing event is not asked.
  bool placesOnly_ = false;
};

// The depth axes: hidden at creation; labels by series titles unless some series spans
// several depths; inverting one inverts the other.
class TChartDepthAxis : public TChartAxis {
 public:
  TChartDepthAxis(TCustomAxisPanel* chart, bool otherSide);
  // Values as soon as an active series spans more than one depth, else the series titles. As
  // on the other axes, no series setting keeps a series out of the rows the titles name, so
  // every active series takes part in the test.
  TAxisLabelStyle AutomaticLabelStyle() override;
  void SetInverted(bool value) override;
};

// The custom axes of a chart, in collection order; it owns them.
class TChartCustomAxes {
 public:
  explicit TChartCustomAxes(TCustomAxisPanel* chart = nullptr) : chart_(chart) {}
  ~TChartCustomAxes();
  TChartCustomAxes(const TChartCustomAxes&) = delete;
  TChartCustomAxes& operator=(const TChartCustomAxes&) = delete;

  TCustomAxisPanel* Chart() const { return chart_; }
  int Count() const { return static_cast<int>(axes_.size()); }
  TChartAxis* Axis(int index) const {
    return index >= 0 && index < Count() ? axes_[static_cast<size_t>(index)] : nullptr;
  }
  int IndexOf(const TChartAxis* axis) const;
  // A new custom axis of the chart (vertical, on the near side).
  TChartAxis* Add();
  // Adopts an axis of the chart.
  void Add(TChartAxis* axis);
  // Frees the axis at `index`.
  void Delete(int index);
  void Clear();

 private:
  TCustomAxisPanel* chart_;
  std::vector<TChartAxis*> axes_;
};

// Every axis of a chart in order: bottom, top, left, right, depth, depth-top, then the custom
// ones. Not owning.
class TChartAxes {
 public:
  int Count() const { return static_cast<int>(axes_.size()); }
  TChartAxis* operator[](int index) const { return axes_[static_cast<size_t>(index)]; }
  auto begin() const { return axes_.begin(); }
  auto end() const { return axes_.end(); }
  void Add(TChartAxis* axis) { axes_.push_back(axis); }
  void Remove(TChartAxis* axis);
  // The exact mapping in place of the clipped one (faster, for charts that never map far
  // outside their axes).
  bool FastCalc() const { return fastCalc_; }
  void SetFastCalc(bool value) { fastCalc_ = value; }
  // Room an axis asks for even while hidden (the chart's label-room event): the axis, and the
  // room to change.
  std::function<void(TChartAxis* axis, int& room)> OnCalcRoom;

 private:
  std::vector<TChartAxis*> axes_;
  bool fastCalc_ = false;
};

}  // namespace chart
