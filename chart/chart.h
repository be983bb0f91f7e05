// The chart component: the axis panel with four titles, four walls, the legend and the mouse.
//
// Mouse: a press goes to what lies under the pointer (legend, series, axis, title or the plot
// background, each with its click event); where nothing takes it, a press of the zoom button
// starts the rubber band and a press of `ScrollMouseButton` starts panning. A drag to the right
// (or down, for vertical zooms) longer than the zoom's `MinimumPixels` zooms to the band; a
// drag to the left or up undoes the zoom. Each notch of the wheel (120 units of a wheel event)
// scrolls every vertical axis by 3 % of its range.
//
// The scales before the first zoom, pan or wheel step are kept as a restore point; `UndoZoom`
// restores them (flags first, then both ends together, so a restore after a far scroll never
// trips the order checks of the axis ends) and frees the restore point. Charts whose series do
// not use axes (pies only) neither zoom nor pan and draw no walls.
//
// The rubber band, like every drawing outside a paint, goes into the chart's buffer with the
// inverting pen and is shown by update().
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/axis_panel.h"
#include "chart/legend.h"
#include "chart/stream.h"
#include "chart/walls_titles.h"

namespace chart {

// What a point of the chart hits.
enum TChartClickedPartStyle {
  cpNone = 0, cpLegend = 1, cpAxis = 2, cpSeries = 3, cpTitle = 4, cpFoot = 5, cpChartRect = 6, cpSeriesMarks = 7,
  cpSubTitle = 8, cpSubFoot = 9
};

struct TChartClickedPart {
  TChartClickedPartStyle part = cpNone;
  int index = -1;
  TChartSeries* series = nullptr;
  TChartAxis* axis = nullptr;
};

class TCustomChart : public TCustomAxisPanel {
 public:
  using TAllowScrollEvent = std::function<void(TChartAxis* axis, double& minimum, double& maximum, bool& allow)>;
  using TClickAxisEvent = std::function<void(TCustomChart&, TChartAxis*, TMouseButton, TShiftState, int x, int y)>;
  using TClickEvent = std::function<void(TCustomChart&, TMouseButton, TShiftState, int x, int y)>;
  using TClickSeriesEvent =
      std::function<void(TCustomChart&, TChartSeries*, int valueIndex, TMouseButton, TShiftState, int x, int y)>;
  using TClickTitleEvent = std::function<void(TCustomChart&, TChartTitle*, TMouseButton, TShiftState, int x, int y)>;
  using TLegendPosEvent = std::function<void(TCustomChart&, int index, int& x, int& y, int& symbolX)>;
  using TLegendRectEvent = std::function<void(TCustomChart&, TRect& rect)>;
  using TLegendTextEvent = std::function<void(TCustomChart&, TLegendStyle, int index, std::string& text)>;

  explicit TCustomChart(QWidget* parent = nullptr);
  ~TCustomChart() override;

  // ---- Parts ----
  TChartTitle& Title() { return *title_; }
  TChartTitle& SubTitle() { return *subTitle_; }
  TChartFootTitle& Foot() { return *foot_; }
  TChartFootTitle& SubFoot() { return *subFoot_; }
  TChartWalls& Walls() { return *walls_; }
  TChartBackWall& BackWall() { return walls_->Back(); }
  TChartWall& BottomWall() { return walls_->Bottom(); }
  TChartWall& LeftWall() { return walls_->Left(); }
  TChartRightWall& RightWall() { return walls_->Right(); }
  // The back wall's pen.
  TChartPen* Frame() { return &walls_->Back().Pen(); }
  void SetFrame(const TChartPen& pen) { walls_->Back().Pen().Assign(pen); }
  TChartLegend& Legend() { return *legend_; }
  const TChartLegend& Legend() const { return *legend_; }

  TMouseButton ScrollMouseButton() const { return scrollMouseButton_; }
  void SetScrollMouseButton(TMouseButton v) { scrollMouseButton_ = v; }
  int ColorPaletteIndex() const { return colorPaletteIndex_; }
  void SetColorPaletteIndex(int v) { colorPaletteIndex_ = v; }
  // True while no scales are kept for UndoZoom.
  bool ScalesRestorePointFree() const { return restorePointFree_; }

  // ---- Zoom ----
  // Zooms the four standard axes around their centres: 130 keeps the middle 40 %, 70 widens
  // to 160 %, 100 keeps the ranges (and still counts as a zoom).
  void ZoomByPercent(double percent);
  // New ends of the left, right, top and bottom axes (custom axes stay).
  void ZoomToValues(double leftMin, double leftMax, double rightMin, double rightMax, double topMin, double topMax,
                    double bottomMin, double bottomMax);
  // Zooms to the dragged rubber band.
  virtual void ApplyZoomRectangle();
  // Restores the scales kept before the first zoom or pan, then the panel's undo.
  void UndoZoom() override;

  // ---- Mouse ----
  TChartClickedPart CalcClickedPart(int x, int y, bool onlyWithHandlers);
  void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void HandleMouseMove(TShiftState shift, int x, int y);
  void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // One wheel notch (down: towards the user), as the wheel handler does it.
  void WheelNotch(bool down);

  // ---- Chart services ----
  // No active series, or some active series draws against axes.
  bool UsesAxes() const;
  TColor GetBackColor() override;
  // The back wall colour; the back wall's brush becomes solid (once the chart is placed).
  void SetBackColor(TColor color);
  bool ColorIsFree(TColor color, bool checkBackground, const TChartSeries* series) override;
  std::string SeriesLegendText(TChartSeries* series, int index) override;
  // For a series fed by another series: the names of that series' value lists (else none).
  static std::vector<std::string> ValueSourceItems(const TChartSeries& series);
  // Titles, legend, mouse button, palette index and walls, then the axis panel's settings.
  void Assign(const TCustomChart& source);

  // ---- Settings of every chart ----
  static bool WheelScrollEnabled;
  static TShiftState PanningKeyShift;

  // ---- Events ----
  TAllowScrollEvent OnAllowScroll;
  TClickAxisEvent OnClickAxis;
  TClickEvent OnClickBackground, OnClickLegend;
  TClickSeriesEvent OnClickSeries;
  TClickTitleEvent OnClickTitle;
  TLegendPosEvent OnGetLegendPos;
  TLegendRectEvent OnGetLegendRect;
  TLegendTextEvent OnGetLegendText;

  // ---- Axis panel hooks ----
  void CalcChartRect3D() override;
  int AxisExtraRoom(TChartAxis* axis) override;
  void DrawTitlesAndLegend(bool beforeSeries) override;
  void DrawWalls() override;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y) override;

 private:
  struct SavedScale {
    bool automatic = true, automaticMinimum = true, automaticMaximum = true;
    double minimum = 0, maximum = 0;
  };
  void SaveScales();
  void RestoreScales();
  // Starts the rubber band or panning for a press nothing else took; true when one started.
  bool StartZoomOrPanning(TMouseButton button, TShiftState shift, int x, int y);
  // Runs a click handler with the cancel-mouse convention: handled unless it clears StopMouse.
  bool CallHandler(const std::function<void()>& handler);
  void DrawCustomTitles();

  std::unique_ptr<TChartTitle> title_, subTitle_;
  std::unique_ptr<TChartFootTitle> foot_, subFoot_;
  std::unique_ptr<TChartWalls> walls_;
  std::unique_ptr<TChartLegend> legend_;
  TMouseButton scrollMouseButton_ = TMouseButton::mbRight;
  std::vector<SavedScale> savedScales_;
  bool restorePointFree_ = true;
  int colorPaletteIndex_ = 0;
  int wheelRest_ = 0;
};

// The chart placed on forms.
class TChart : public TCustomChart {
 public:
  using TCustomChart::TCustomChart;
};

// The stored description of the chart component.
const TStoredClass& StoredChart();
// Registers the chart component for stored descriptions (counted start-up).
void PlotChartStartup();
void PlotChartShutdown();

}  // namespace chart
