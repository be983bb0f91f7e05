// The series base of the chart library.
//
// `TCustomChartElement` carries what every chart element shares: the active flag, a pen, a
// brush, the parent chart and the setters that store a changed value and repaint the chart.
// `TCustomChartSeries` adds the title, the legend flag and the stored identifier and style
// bits. `TChartSeries` owns the points of one data set: its value lists (X and Y, and the
// extra lists of kinds with more values per point), a colour and a label per point and the
// per-point mark positions; it adds and deletes points, resolves the axes it is drawn
// against and maps values to pixels through them, keeps the series it feeds up to date, takes
// its points from data sources or a function, and stores its points in forms as the binary
// property "Data".
//
// Points: `AddPoint` inserts the X value by the X list's order (ascending by default, so
// points stay sorted by X) and the Y value and extra values at the same index. A point whose
// colour is clNone is a null point: it keeps its index and is not drawn. Colours are kept only
// once a point has a colour of its own, labels only once a label is not empty.
//
// Linked series: a series whose data source is this one is told of every added, deleted or
// modified point and of clearing (`NotifyLinkedSeries`, kinds of `TValueEvent`), as its
// recalculation options allow; inside BeginUpdate/EndUpdate nothing is told until the end,
// which refills them. A series can never feed itself, directly or through its sources.
//
// The stored "Data" block, little-endian: flags (1 byte: 1 X values, 2 colours, 4 labels,
// 8 mark positions), point count (Int32), then per point: the X value (Double, flag 1; for
// horizontal kinds the Y value), the main value (Double), the colour (Int32, flag 2), the
// label (a length byte and that many CP932 bytes, flag 4), a Double per extra value list, and
// with flag 8 the mark position (arrow start x, y Int32; arrow-end-fixed byte; arrow end x, y
// Int32; custom byte; height, left, top, width Int32). Every point is looked at when the flags
// are decided, so later points never lose their X values, colours or labels; a label longer
// than 255 bytes is cut to 255 on a whole character. Reading checks every count and length
// against the block and raises ChartException "Wrong *.drx file format" on a damaged one,
// leaving the series empty.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas.h"
#include "chart/marks.h"
#include "chart/series_lists.h"
#include "chart/types.h"
#include "chart/value_list.h"

namespace platform {
class Stream;
}

namespace chart {

class TChartAxis;
class TCustomAxisPanel;
class TPlotFunction;

// What a series tells the series it feeds: all points cleared, a point added, a point (or a
// run, index -1) deleted, refill everything, points modified.
enum TValueEvent { veClear = 0, veAdd = 1, veDelete = 2, veRefresh = 3, veModify = 4 };

// Which changes of a series reach the series it feeds (a set of these bits).
enum TSeriesRecalcOption { rOnDelete = 1, rOnModify = 2, rOnInsert = 4, rOnClear = 8 };
constexpr int kAllRecalcOptions = rOnDelete | rOnModify | rOnInsert | rOnClear;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };

// What a legend item of a series says: the label, with the value, the percent or the X value
// before or after it.
enum TLegendTextStyle {
  ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue, ltsValue, ltsPercent,
  ltsXAndValue, ltsXAndPercent
};
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// ---- Chart element ------------------------------------------------------------------------

class TCustomChartElement : public QObject {
 public:
  explicit TCustomChartElement(QObject* owner = nullptr);
  ~TCustomChartElement() override;

  bool Active() const { return active_; }
  TChartPen& Pen() { return *pen_; }
  TChartBrush& Brush() { return *brush_; }
  const TChartPen& Pen() const { return *pen_; }
  const TChartBrush& Brush() const { return *brush_; }
  virtual void SetPen(const TChartPen& pen) { pen_->Assign(pen); }
  void SetBrush(const TChartBrush& brush) { brush_->Assign(brush); }
  TCustomAxisPanel* ParentChart() const { return parentChart_; }
  virtual void SetParentChart(TCustomAxisPanel* chart) { parentChart_ = chart; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  bool ShowInEditor() const { return showInEditor_; }
  void SetShowInEditor(bool value) { showInEditor_ = value; }

  // The component name (ASCII) and class name used by messages and stored descriptions.
  std::string Name() const;
  void SetName(const std::string& name);
  virtual std::string ClassName() const = 0;

  // Invalidates the parent chart.
  virtual void Repaint();
  virtual std::string EditorClassName() const { return {}; }

  // Store a changed value and repaint; nothing when the value is the same.
  void SetBooleanProperty(bool& field, bool value);
  void SetColorProperty(TColor& field, TColor value);
  void SetDoubleProperty(double& field, double value);
  void SetIntegerProperty(int& field, int value);
  void SetStringProperty(std::string& field, const std::string& value);

  // Form loading and design state of the component.
  bool IsLoading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }
  bool IsDesigning() const { return designing_; }
  void SetDesigning(bool value) { designing_ = value; }
  bool IsDestroying() const { return destroying_; }
  // Called once the form holding the element has been read.
  virtual void Loaded() { loading_ = false; }

 protected:
  bool active_ = true;
  TCustomAxisPanel* parentChart_ = nullptr;
  bool destroying_ = false;

 private:
  std::unique_ptr<TChartBrush> brush_;
  std::unique_ptr<TChartPen> pen_;
  int tag_ = 0;
  bool showInEditor_ = true;
  bool loading_ = false;
  bool designing_ = false;
};

class TCustomChartSeries : public TCustomChartElement {
 public:
  explicit TCustomChartSeries(QObject* owner = nullptr);

  // Shows or hides the series; the chart hears of it (legend and axes follow).
  virtual void SetActive(bool value);
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool value) { SetBooleanProperty(showInLegend_, value); }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  // Six style bits, stored as "Style" only when not 0.
  int Style() const { return style_; }
  void SetStyle(int bits) { style_ = bits & 0x3F; }
  bool StyleBit(int bit) const { return bit >= 0 && bit < 6 && (style_ >> bit) & 1; }
  void SetStyleBit(int bit, bool on);
  // Stored as "Identifier" only when not empty.
  const std::string& Identifier() const { return identifier_; }
  void SetIdentifier(const std::string& value) { identifier_ = value; }

  virtual void HorizontalMargins(int& left, int& right) { left = right = 0; }
  virtual void VerticalMargins(int& top, int& bottom) { top = bottom = 0; }
  virtual void PrepareForDraw() {}

 protected:
  // The chart event of a changed series: title (2), colour (3), active (5), data (6).
  void TellChart(int kind);

 private:
  bool showInLegend_ = true;
  std::string title_;
  int style_ = 0;
  std::string identifier_;
};

// ---- Series -------------------------------------------------------------------------------

class TChartSeries : public TCustomChartSeries {
 public:
  using NotifyEvent = std::function<void(TChartSeries*)>;
  using AddEvent = std::function<void(TChartSeries*, int index)>;
  using BeforeAddEvent = std::function<bool(TChartSeries*)>;
  using ClickEvent = std::function<void(TChartSeries*, int index, int button, int shift, int x, int y)>;
  using MarkTextEvent = std::function<void(TChartSeries*, int index, std::string& text)>;

  explicit TChartSeries(QObject* owner = nullptr);
  ~TChartSeries() override;
  std::string ClassName() const override { return "TChartSeries"; }

  // ---- Points ----
  int PointCount() const { return xValues_->Count(); }
  int Count() const { return PointCount(); }
  TChartValueList& XValues() { return *xValues_; }
  TChartValueList& YValues() { return *yValues_; }
  const TChartValueList& XValues() const { return *xValues_; }
  const TChartValueList& YValues() const { return *yValues_; }
  // The list that carries the main value (Y, or X for horizontal kinds) and the other one.
  TChartValueList& MandatoryValueList() { return *mandatory_; }
  TChartValueList& NotMandatoryValueList() { return *notMandatory_; }
  bool YMandatory() const { return yMandatory_; }
  TChartValueLists& ValueLists() { return valueLists_; }
  const TChartValueLists& ValueLists() const { return valueLists_; }
  // The list of that name (case-insensitive), or nullptr.
  TChartValueList* ValueListByName(const std::string& name) const;
  TLabelsList& Labels() { return labels_; }
  const TLabelsList& Labels() const { return labels_; }
  // The points' own colours (empty when no point has one).
  const std::vector<TColor>& PointColors() const { return colors_; }
  bool HasPointColors() const { return hasColors_; }
  TSeriesMarks& Marks() { return *marks_; }
  const TSeriesMarks& Marks() const { return *marks_; }

  virtual double XValue(int index) const { return xValues_->ValueAt(index); }
  virtual double YValue(int index) const { return yValues_->ValueAt(index); }
  void SetXValue(int index, double value);
  void SetYValue(int index, double value);
  const std::string& XLabel(int index) const { return labels_.Label(index); }
  void SetXLabel(int index, const std::string& text);

  // Adds a point; the index it landed at, or -1 when OnBeforeAdd refused it.
  virtual int AddPoint(double x, double y, const std::string& label = {}, TColor color = clDefault);
  // A point at the next X (the point count): what the program calls for each month.
  int AddY(double y, const std::string& label = {}, TColor color = clDefault);
  // X = count for vertical kinds (Y = value), Y = count for horizontal ones (X = value).
  virtual int AddValue(double value, const std::string& label = {}, TColor color = clDefault);
  virtual int AddNull(const std::string& label = {});
  virtual int AddNullXY(double x, double y, const std::string& label = {});
  // Raises ChartException for an index outside 0..count-1.
  virtual void Delete(int index);
  // Deletes `number` points from `start` on, up to the last point; nothing for a negative
  // start or number. With `renumber` the X values become 0..n-1.
  virtual void DeleteRange(int start, int number, bool renumber = false);
  virtual void RemoveAllPoints();
  void Clear() { RemoveAllPoints(); }
  // Exchanges two points in every value list, the colours and the labels.
  void SwapPoints(int i, int j);
  // Sorts by the main list's order and, unless the other list takes its values from a
  // source, numbers the other list 0..n-1.
  void CheckOrder();
  bool IsNull(int index) const { return ColorOfPoint(index) == clNone; }

  // ---- Colours ----
  virtual TColor ColorOfPoint(int index) const;
  void SetPointColor(int index, TColor color);
  // The colour as set, clDefault when the series takes the chart's.
  TColor ColorValue() const { return color_; }
  // The colour the series shows: its own, else the one the chart gave it.
  TColor SeriesColor() const { return color_ == clDefault ? internalColor_ : color_; }
  // Setting the colour the series shows already, while it has none of its own, changes nothing;
  // but while a description is read the colour named becomes the series' own in any case, so
  // that what was written reads back and writes the same.
  virtual void SetSeriesColor(TColor color);
  TColor InternalColor() const { return internalColor_; }
  void SetInternalColor(TColor color) { internalColor_ = color; }
  bool IsSeriesColorStored() const { return color_ != clDefault; }
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void SetColorEachPoint(bool value) { SetBooleanProperty(colorEachPoint_, value); }
  const std::string& ColorSource() const { return colorSource_; }
  void SetColorSource(const std::string& value);
  const std::string& XLabelsSource() const { return labelsSource_; }
  void SetXLabelsSource(const std::string& value);

  // ---- Formats and settings ----
  const std::string& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& value) { SetStringProperty(valueFormat_, value); }
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& value) { SetStringProperty(percentFormat_, value); }
  bool IsValueFormatStored() const;
  bool IsPercentFormatStored() const;
  int Cursor() const { return cursor_; }
  void SetCursor(int value) { cursor_ = static_cast<int16_t>(value); }
  int Depth() const { return depth_; }
  void SetDepth(int value) { SetIntegerProperty(depth_, value); }
  int ZOrder() const { return zOrder_; }
  void SetZOrder(int value) { SetIntegerProperty(zOrder_, value); }
  int RecalcOptions() const { return recalcOptions_; }
  void SetRecalcOptions(int options) { recalcOptions_ = options & kAllRecalcOptions; }
  int SampleCount() const { return sampleCount_; }
  void SetSampleCount(int n) { sampleCount_ = n; }

  // Whether the points are stored in forms: force-save, or points of its own and not
  // don't-save.
  bool IsDataStored() const { return forceSaveData_ || (manualData_ && !dontSaveData_); }
  bool ManualData() const { return manualData_; }
  void SetManualData(bool value) { manualData_ = value; }
  bool DontSaveData() const { return dontSaveData_; }
  void SetDontSaveData(bool value) { dontSaveData_ = value; }
  bool ForceSaveData() const { return forceSaveData_; }
  void SetForceSaveData(bool value) { forceSaveData_ = value; }
  bool XStored() const { return xStored_; }
  void SetXStored(bool value) { xStored_ = value; }

  // ---- Axes ----
  THorizAxis HorizAxis() const { return horizAxis_; }
  TVertAxis VertAxis() const { return vertAxis_; }
  void SetHorizAxis(THorizAxis value);
  void SetVertAxis(TVertAxis value);
  TChartAxis* CustomHorizAxis() const { return customHorizAxis_; }
  TChartAxis* CustomVertAxis() const { return customVertAxis_; }
  void SetCustomHorizAxis(TChartAxis* axis);
  void SetCustomVertAxis(TChartAxis* axis);
  // The axes the series is drawn against (none without a chart).
  TChartAxis* GetHorizAxis() const { return hAxis_; }
  TChartAxis* GetVertAxis() const { return vAxis_; }
  // Resolves the axes again from the choices and the chart.
  void RecalcGetAxis();
  // An axis of the chart is going away: a custom choice of it falls back to the standard one.
  void AxisDestroyed(TChartAxis* axis);
  // The custom axes by their number in the chart's collection (-1: none), as stored in forms.
  int CustomHorizAxisIndex() const;
  int CustomVertAxisIndex() const;
  void SetCustomHorizAxisIndex(int index);
  void SetCustomVertAxisIndex(int index);

  virtual bool UsesAxes() const { return true; }
  virtual bool AssociatedToAxis(const TChartAxis* axis) const;
  // The X list for a horizontal axis, the Y list for a vertical one, nullptr when the series
  // is not associated with the axis.
  virtual TChartValueList* ValueListOfAxis(const TChartAxis* axis);
  int XValueToPixel(double value) const;
  int YValueToPixel(double value) const;
  int ValueToPixel(double value) const;
  TChartAxis* ValueAxis() const { return yMandatory_ ? vAxis_ : hAxis_; }
  int PointXPixel(int index) const { return XValueToPixel(XValue(index)); }
  int PointYPixel(int index) const { return YValueToPixel(YValue(index)); }
  double PixelToXValue(int pixel) const;
  double PixelToYValue(int pixel) const;

  // ---- Extremes and legend ----
  double MaxXValue() { return xValues_->Maximum(); }
  double MinXValue() { return xValues_->Minimum(); }
  double MaxYValue() { return yValues_->Maximum(); }
  double MinYValue() { return yValues_->Minimum(); }
  virtual double HighestX() { return xValues_->Maximum(); }
  virtual double LowestX() { return xValues_->Minimum(); }
  virtual double HighestY() { return yValues_->Maximum(); }
  virtual double LowestY() { return yValues_->Minimum(); }
  virtual double HighestZ() const { return zIndex_; }
  virtual double LowestZ() const { return zIndex_; }
  virtual int CountLegendItems() const { return PointCount(); }
  virtual int LegendToValueIndex(int item) const { return item; }
  virtual TColor LegendItemColor(int item) const { return ColorOfPoint(item); }
  virtual double MarkValue(int index) const { return mandatory_->ValueAt(index); }
  virtual double OriginValue(int index) const { return MarkValue(index); }
  virtual int PointAt(int /*x*/, int /*y*/) { return -1; }
  virtual bool DrawValuesForward() const;
  virtual std::string SubStyleName(int index) const;
  // Applies the gallery sub-style `index` (0: the series as it is).
  virtual void ApplySubStyle(int index) { (void)index; }
  // The settings of a series drawn as a gallery picture.
  virtual void SetupPreview() {}

  // ---- Updates and linked series ----
  void BeginUpdate() { ++updateDepth_; }
  void EndUpdate();
  bool Updating() const { return updateDepth_ > 0; }
  TCustomSeriesList& LinkedSeries() { return linkedSeries_; }
  // Tells the series fed by this one of a change (skipped while an update is open).
  virtual void NotifyLinkedSeries(TValueEvent kind, int index);
  virtual void NotifyValueAdded(int index);
  // Copies all values of one point of `source` (no colour, label or notification).
  virtual int CopyPointFrom(TChartSeries* source, int index);
  // CopyPointFrom with the point's colour and label, then the add notification.
  virtual int AddPointFrom(TChartSeries* source, int index);
  // Clears and recomputes (function) or copies every point of `source`.
  virtual void RefillFromSource(TChartSeries* source);
  virtual void SourcePointDeleted(TChartSeries* source, int index);
  // Refills from the data source: copies a source series, refreshes a series-source
  // component, or recomputes a function that needs no source; false when there is none.
  bool FillFromDataSources();

  // ---- Data sources and function ----
  QObject* DataSource() const { return dataSources_.Empty() ? nullptr : dataSources_[0]; }
  // Replaces the data sources by `source` (nullptr: none). Raises ChartException for a
  // source the chart (or, without a chart, the series) does not accept, or a circular one;
  // nothing changes then.
  void SetDataSource(QObject* source);
  // Adds one more data source after the same checks.
  void AddDataSource(QObject* source);
  TDataSourcesList& DataSources() { return dataSources_; }
  const TDataSourcesList& DataSources() const { return dataSources_; }
  // Whether `source` may feed this series: another series accepted by the function, or a
  // series-source component.
  virtual bool IsValidSourceOf(QObject* source) const;
  // Asks the chart (or, without one, the series itself) to refill from the sources.
  void CheckDataSource();
  // Called when a source is removed or destroyed: the sources are cleared and checked again.
  void RemoveDataSource(QObject* source);
  // Called by a source series going away.
  void SourceDestroyed(QObject* source);
  TPlotFunction* FunctionType() const { return function_; }
  // Attaches a function (freeing the old one); the series then holds no data of its own: its
  // points are cleared and computed from its sources.
  void SetFunction(TPlotFunction* function);
  // The function leaves the series without being freed (the function is being destroyed).
  void DetachFunction(TPlotFunction* function);
  bool SinglePointFunction() const { return singlePoint_; }
  void SetSinglePointFunction(bool value) { singlePoint_ = value; }

  // ---- Copying, paging, sample values ----
  // Copies the settings of `source` and, when it holds points of its own, its points;
  // otherwise takes over its data sources.
  virtual void CopyFrom(const TChartSeries& source);
  // Copies the points, colours and labels of `source`.
  void AssignValues(const TChartSeries& source);
  // The first and last index on the chart's current page (-1, -1 without points).
  void PageRange(int& first, int& last) const;
  // Fills with `count` random points (0: the sample count or the kind's default); raises
  // ChartException for a negative count.
  void FillSampleValues(int count = 0);
  virtual int DefaultSampleCount() const { return 25; }
  // Called by FillSampleValues once the sample points are in (a kind may adjust them).
  virtual void SampleValuesAdded() {}

  // ---- Chart ----
  void SetParentChart(TCustomAxisPanel* chart) override;
  void Loaded() override;
  // Data source names read from a form, resolved by name in Loaded.
  void SetPendingDataSourceNames(std::vector<std::string> names) { pendingSourceNames_ = std::move(names); }
  std::vector<std::string> DataSourceNames() const;
  // "DataSources" is stored only when there is more than one source.
  bool IsDataSourcesStored() const { return dataSources_.Count() > 1; }

  // ---- Stored point data ----
  uint8_t DataStreamFlags() const;
  void WriteData(platform::Stream& out) const;
  virtual std::string DataBytes() const;
  // Reads a block written by WriteData (the block is the whole stream from its position).
  void ReadData(platform::Stream& in);
  void ReadDataBytes(const std::string& bytes);

  // ---- Drawing state ----
  int FirstValueIndex() const { return firstVisible_; }
  int LastValueIndex() const { return lastVisible_; }
  int ZIndex() const { return zIndex_; }
  void SetZIndex(int value) { zIndex_ = value; }
  bool CalcVisiblePoints() const { return orderedVisible_; }
  // Another active series of the chart lies at the same Z index (only while the chart gives
  // each series its own depth slot).
  bool SharesZPosition() const;
  bool KeepOneBeyond() const { return keepOneBeyond_; }
  void SetKeepOneBeyond(bool value) { keepOneBeyond_ = value; }
  void SetCalcVisiblePoints(bool value) { orderedVisible_ = value; }
  // The depth band of the series in 3D (the marks lie at the middle).
  int StartZ() const { return startZ_; }
  int MiddleZ() const { return middleZ_; }
  int EndZ() const { return endZ_; }

  // ---- Drawing (series_draw.cpp) ----
  // The first and last point index shown by the axes (both -1 without points): searched in
  // the ordered X list between the values at the plot rectangle's near and far edges, else
  // every point.
  virtual void FindVisibleRange();
  // PaintPoint for each visible index, in the order DrawValuesAscending gives.
  virtual void DrawVisibleValues();
  virtual bool DrawValuesAscending() const;
  // Draws one point (kinds draw; nothing here).
  virtual void PaintPoint(int index) { (void)index; }
  // The marks of the visible points: every DrawEvery-th index that is no null point and has a
  // text, measured and placed above its point, then drawn by PaintPointMark.
  void DrawMarks();
  // Draws one mark in the point's colour.
  virtual void PaintPointMark(int index, const std::string& text, TSeriesMarkPosition& position);
  // The text of a point's mark: a custom item's own text, else by the marks' style; then the
  // OnGetMarkText handler.
  virtual std::string MarkTextOf(int index);
  // The legend's text of an item in the legend's text style; values and labels are joined by
  // the column separator (kColumnSeparator).
  virtual std::string LegendItemText(int item, TLegendTextStyle style);
  // Fills the legend symbol of an item (-1: the series) in its colour.
  virtual void PaintLegendSymbol(int item, const TRect& rect);
  // The Z index: the next free one of the chart with automatic Z order (3D), else ZOrder.
  virtual void ComputeZOrder();
  // The depth band from the Z index and the series depth.
  virtual void ComputeZRange();
  // Texts of a value in the series' formats, and the X text the horizontal axis would show.
  std::string ValueText(double value) const;
  std::string PercentText(double percent) const;
  std::string XValueText(int index);

  // ---- Events ----
  virtual void FireAfterDrawValues() {
    if (AfterDrawValues) AfterDrawValues(this);
  }
  virtual void FireBeforeDrawValues() {
    if (BeforeDrawValues) BeforeDrawValues(this);
  }
  NotifyEvent AfterDrawValues, BeforeDrawValues;
  AddEvent OnAfterAdd;
  BeforeAddEvent OnBeforeAdd;
  NotifyEvent OnClearValues;
  ClickEvent OnClick, OnDblClick;
  MarkTextEvent OnGetMarkText;
  NotifyEvent OnMouseEnter, OnMouseLeave;

 protected:
  // Horizontal kinds: X becomes the main list (no order) and Y the other one (ascending).
  void SetHorizontal();
  // Empties every value list, the colours, labels and mark positions.
  virtual void ClearAllLists();
  void InsertColor(int index, TColor color);
  void InsertLabel(int index, const std::string& label);
  void NotifyDataChanged();

  int firstVisible_ = -1;
  int lastVisible_ = -1;
  int zIndex_ = 0;
  int startZ_ = 0, middleZ_ = 0, endZ_ = 0;
  bool orderedVisible_ = true;
  bool keepOneBeyond_ = false;

 private:
  void ValidateDataSource(QObject* source) const;

  TColor color_ = clDefault;
  bool colorEachPoint_ = false;
  std::vector<TColor> colors_;
  bool hasColors_ = false;
  std::string colorSource_;
  int16_t cursor_ = 0;
  TDataSourcesList dataSources_;
  int depth_ = -1;
  TChartAxis* hAxis_ = nullptr;
  TChartAxis* vAxis_ = nullptr;
  std::string labelsSource_;
  TCustomSeriesList linkedSeries_;
  std::unique_ptr<TSeriesMarks> marks_;
  std::string percentFormat_;
  std::vector<std::string> pendingSourceNames_;
  std::string valueFormat_;
  TChartValueLists valueLists_;
  TChartValueList* xValues_;
  TLabelsList labels_;
  TChartValueList* yValues_;
  THorizAxis horizAxis_ = aBottomAxis;
  TChartAxis* customHorizAxis_ = nullptr;
  TChartAxis* customVertAxis_ = nullptr;
  int pendingCustomHorizAxis_ = -1;
  int pendingCustomVertAxis_ = -1;
  int zOrder_ = -1;
  TVertAxis vertAxis_ = aLeftAxis;
  int recalcOptions_ = kAllRecalcOptions;
  TPlotFunction* function_ = nullptr;
  TColor internalColor_ = clDefault;
  bool dontSaveData_ = false;
  bool forceSaveData_ = false;
  bool manualData_ = false;
  int sampleCount_ = 0;
  int updateDepth_ = 0;
  bool xStored_ = true;
  bool singlePoint_ = true;
  TChartValueList* mandatory_;
  TChartValueList* notMandatory_;
  bool yMandatory_ = true;
};

}  // namespace chart
