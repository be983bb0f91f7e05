// The chart base between the panel and the chart component (`TCustomAxisPanel`): it holds the
// series list with its groups, the six standard axes and the custom axes, the chart tools,
// paging, the series palette, and the data-source checks of its series. A series joins the
// list by setting its parent chart; the chart then gives it a free palette colour (when it has
// none of its own), resolves its axes and checks its data source, and tells the panel's
// listeners of every series event (added, removed, title, colour, active state, data).
//
// Drawing (`InternalDraw`) runs in a fixed order: background, titles and legend (first pass),
// Z indexes, the axes' ends and room around the plot rectangle, the series' margins, walls,
// axes (behind the series by default), series, axes in front when asked, titles and legend
// (second pass), the zoom rectangle. Titles, legend, walls and the 3D adjustment of the plot
// rectangle are hooks the chart component fills (empty here). Chart tools hear of every stage:
// 0 after drawing, 1 before the series, 2 before the chart, 3 before the axes, 4 after the
// series, 5 when the mouse leaves the chart.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "chart/axis.h"
#include "chart/panel.h"
#include "chart/series_lists.h"
#include "chart/types.h"

namespace chart {

class TChartSeries;
class TCustomChartSeries;
class TCustomAxisPanel;

// The series events the panel's listeners receive.
enum TChartSeriesEvent {
  seAdd = 0, seRemove = 1, seChangeTitle = 2, seChangeColor = 3, seSwap = 4, seChangeActive = 5,
  seDataChanged = 6
};

// The event object of a series event.
class TPlotSeriesEvent : public TPlotEvent {
 public:
  TChartSeriesEvent Event = seAdd;
  TCustomChartSeries* Series = nullptr;
};

// The series of a chart in drawing and legend order, with their groups.
class TChartSeriesList : public TCustomSeriesList {
 public:
  TSeriesGroups& Groups() { return groups_; }
  const TSeriesGroups& Groups() const { return groups_; }

 private:
  TSeriesGroups groups_;
};

// The stages at which the chart calls its tools.
enum TChartToolEvent {
  cteAfterDraw = 0, cteBeforeDrawSeries = 1, cteBeforeDraw = 2, cteBeforeDrawAxes = 3, cteAfterDrawSeries = 4,
  cteMouseLeave = 5
};

// A chart tool: the chart calls each active tool at every drawing stage. What a tool does is
// up to its kind.
class TChartTool {
 public:
  virtual ~TChartTool() = default;
  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  virtual void ChartEvent(TCustomAxisPanel& chart, TChartToolEvent stage) {
    (void)chart;
    (void)stage;
  }

 private:
  bool active_ = true;
};

// The chart's tools in calling order (not owned).
class TChartTools {
 public:
  int Count() const { return static_cast<int>(tools_.size()); }
  TChartTool* At(int index) const { return tools_[static_cast<size_t>(index)]; }
  void Add(TChartTool* tool);
  void Remove(TChartTool* tool);

 private:
  std::vector<TChartTool*> tools_;
};

// The page-change event object.
class TPlotPageEvent : public TPlotEvent {};

class TCustomAxisPanel : public TCustomPlotPanelExtended {
 public:
  using TAxisLabelEvent = std::function<void(TChartAxis* axis, TChartSeries* series, int index, std::string& text)>;
  using TAxisNextLabelEvent = std::function<void(TChartAxis* axis, int labelIndex, double& labelValue, bool& stop)>;

  explicit TCustomAxisPanel(QWidget* parent = nullptr);
  ~TCustomAxisPanel() override;

  // ---- Series ----
  int SeriesCount() const { return series_.Count(); }
  TChartSeries* SeriesAt(int index) const { return series_.SeriesAt(index); }
  TChartSeriesList& SeriesList() { return series_; }
  const TChartSeriesList& SeriesList() const { return series_; }
  // Appends a series (ignored when present); the series' parent chart becomes this one.
  void AddSeries(TChartSeries* series);
  // Takes a series out of the list; its points stay.
  void RemoveSeries(TChartSeries* series);
  // Detaches and frees every series of `Kind` (all series for the base class).
  template <class Kind = TChartSeries>
  void FreeAllSeries();
  // Sends a series event to the panel's listeners (not while they are held back).
  void BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEvent event);

  // ---- Palette ----
  // The palette entry of `index` (modulo its length), or the default palette's colour.
  TColor PaletteColor(int index) const;
  const std::vector<TColor>& CustomPalette() const { return palette_; }
  void SetCustomPalette(std::vector<TColor> colors);
  // The first palette colour no other series uses (nor the panel's back colour when asked);
  // the last one tried when all are taken.
  TColor FreeSeriesColor(bool checkBackground, const TChartSeries* series = nullptr);
  virtual bool ColorIsFree(TColor color, bool checkBackground, const TChartSeries* series);

  // ---- Axes ----
  TChartAxis* BottomAxis() const { return axes_[0]; }
  TChartAxis* TopAxis() const { return axes_[1]; }
  TChartAxis* LeftAxis() const { return axes_[2]; }
  TChartAxis* RightAxis() const { return axes_[3]; }
  TChartAxis* DepthAxis() const { return axes_[4]; }
  TChartAxis* DepthTopAxis() const { return axes_[5]; }
  TChartCustomAxes& CustomAxes() { return customAxes_; }
  const TChartCustomAxes& CustomAxes() const { return customAxes_; }

  // Every axis: bottom, top, left, right, depth, depth-top, then the custom ones.
  TChartAxes& Axes() { return axisList_; }
  const TChartAxes& Axes() const { return axisList_; }
  bool AxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool value) { ChangeBoolean(axisVisible_, value); }
  // Axes drawn before the series (else over them).
  bool AxisBehind() const { return axisBehind_; }
  void SetAxisBehind(bool value) { ChangeBoolean(axisBehind_, value); }
  // Whether an axis is shown: all axes and the axis switched on, depth axes only in 3D, others
  // when there is no active series or some active series is drawn against it (and the first
  // active series uses axes at all).
  bool IsAxisVisible(const TChartAxis* axis) const;
  // Whether an axis is drawn: shown, and for the depth-top axis its plane not culled.
  bool DrawsAxis(const TChartAxis* axis);
  // The automatic end of an axis: the extremes of its series' values (the page's values with
  // paging; the series' depth slots on depth axes); 0 without series.
  double AxisMinMax(const TChartAxis* axis, bool minimum) const;

  // ---- 3D ----
  int Chart3DPercent() const { return chart3DPercent_; }
  // Raises ChartException for a value outside 1..100.
  void SetChart3DPercent(int value);
  bool View3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool value) { ChangeBoolean(view3DWalls_, value); }
  // The depth of one series and its projected height, and the chart's total height in 3D.
  int SeriesWidth3D() const { return seriesWidth3D_; }
  int SeriesHeight3D() const { return seriesHeight3D_; }
  int Height3D() const { return height3D_; }
  // The highest Z index of the current draw.
  int MaxZOrder() const { return maxZOrder_; }
  void SetMaxZOrder(int value) { maxZOrder_ = value; }
  // Sizes of the 3D view from the plot width and the Z indexes.
  void Recalc3DSizes();

  // ---- Drawing ----
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool value) { ChangeBoolean(clipPoints_, value); }
  TChartTools& Tools() { return tools_; }
  // The first series whose Active is set, or nullptr.
  TChartSeries* FirstActiveSeries() const;
  void InternalDraw(const TRect& rect) override;
  // The axes' ends, room and spans around ChartRect (drawing steps 8 to 10), without drawing.
  void CalcAxesLayout();
  // One series in its drawing order, or the row of series sharing its depth (the rows of the
  // current draw, found once before the series are drawn).
  void DrawSeries(TChartSeries* series);
  // The series looked at so far to find which share a depth row (the draw's work, for tests
  // and benches: once per active series and draw).
  long long DepthRowVisits() const { return depthRowVisits_; }
  // Every visible axis (the depth-top axis only when its side is not culled).
  void DrawAxes();
  // Calls each active tool with `stage`.
  void BroadcastToolEvent(TChartToolEvent stage);

  // ---- Mouse ----
  // Sends OnMouseEnter and OnMouseLeave to series with such handlers or a cursor, from the last
  // series to the first; true when some series lies under (x, y).
  bool CheckMouseOverSeries(int x, int y);
  void MouseLeave() override;

  // ---- Events ----
  TPanelNotify OnBeforeDrawAxes, OnBeforeDrawChart, OnBeforeDrawSeries, OnPageChange;
  // A label's text: for value labels without series and index -1.
  TAxisLabelEvent OnGetAxisLabel;
  // The value of label number labelIndex (the previous value, or the minimum for 0); set stop
  // to end the labels (at 0: the standard labels instead).
  TAxisNextLabelEvent OnGetNextAxisLabel;

  // ---- Hooks the chart component fills (nothing here) ----
  // Adjusts the plot rectangle for 3D walls.
  virtual void CalcChartRect3D() {}
  // The room of the wall beside an axis.
  virtual int AxisExtraRoom(TChartAxis* axis) {
    (void)axis;
    return 0;
  }
  virtual void FireAfterDraw();
  virtual void FireBeforeDrawAxes();
  virtual void FireBeforeDrawChart();
  virtual void FireBeforeDrawSeries();
  // Titles and legend: the first pass before the axes shrinks the plot rectangle, the second
  // draws what lies over the series.
  virtual void DrawTitlesAndLegend(bool beforeSeries) { (void)beforeSeries; }
  // Whether the plane at `depth` faces away from the viewer.
  virtual bool IsDepthCulled(int depth) {
    (void)depth;
    return false;
  }
  virtual void FillLegendRect(const TRect& rect) { (void)rect; }
  virtual void DrawWalls() {}
  // The legend's text of point `index` of a series (its label by default).
  virtual std::string SeriesLegendText(TChartSeries* series, int index);

  // ---- Paging ----
  int Page() const { return page_; }
  // Clamped to 1..NumPages (while a form is read: at least 1); a change tells the
  // listeners (a page event) and OnPageChange.
  void SetPage(int value);
  int MaxPointsPerPage() const { return maxPointsPerPage_; }
  // Raises ChartException "MaxPointsPerPage must be >= 0" for a negative value; pulls the
  // page back to the last one (not while a form is read).
  void SetMaxPointsPerPage(int value);
  bool ScaleLastPage() const { return scaleLastPage_; }
  void SetScaleLastPage(bool value) { ChangeBoolean(scaleLastPage_, value); }
  int NumPages() const;

  // Whether the 3D view makes the series draw their values from last to first.
  bool DrawBackwards() const { return drawBackwards_; }

  // ---- Data sources ----
  // Whether `source` may feed `series`: not the series itself, and another series its
  // function accepts, or a series-source component.
  virtual bool IsValidDataSource(TChartSeries* series, QObject* source) const;
  // Refills a series from its data source (or recomputes a function that needs none, or, with
  // random points allowed, fills sample values into a series without data of its own).
  virtual void CheckDatasource(TChartSeries* series);
  // Raises ChartException "Circular Series dependences are not allowed" when `destination` is
  // among the sources of `source`, directly or through their sources.
  static void CheckCircularSource(const TChartSeries* destination, const QObject* source);
  // Program-wide: series without data get random sample points when checked.
  static bool RandomPointsAllowed;

  // After a form is read: the series groups find their members.
  void Loaded() override;

 protected:
  // A series of the list has just been added (its colour, axes and data source).
  virtual void SeriesAdded(TChartSeries* series);

 private:
  // Paints the values of the series of one depth row point by point.
  void DrawSeriesRow(const std::vector<TChartSeries*>& row);
  void DrawSeriesOf(TChartSeries* series);

  TChartAxes axisList_;
  TChartSeriesList series_;
  TChartAxis* axes_[6];
  TChartCustomAxes customAxes_{this};
  TChartTools tools_;
  int chart3DPercent_ = 15;
  bool axisBehind_ = true;
  bool axisVisible_ = true;
  bool view3DWalls_ = true;
  bool clipPoints_ = true;
  int maxZOrder_ = 0;
  // The active series of each depth row of the current draw, in list order.
  std::unordered_map<int, std::vector<TChartSeries*>> depthRows_;
  long long depthRowVisits_ = 0;
  int seriesWidth3D_ = 0, seriesHeight3D_ = 0, height3D_ = 0;
  std::vector<TChartSeries*> mouseOver_;
  std::vector<TColor> palette_;
  int page_ = 1;
  int maxPointsPerPage_ = 0;
  bool scaleLastPage_ = true;
  bool drawBackwards_ = false;
};

template <class Kind>
void TCustomAxisPanel::FreeAllSeries() {
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    if (Kind* series = dynamic_cast<Kind*>(SeriesAt(i))) delete series;  // leaves the list as it goes
  }
}

}  // namespace chart
