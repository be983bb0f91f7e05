// The chart base between the panel and the chart component (`TCustomAxisPanel`): it holds the
// series list with its groups, the six standard axes and the custom axes, paging, the series
// palette, and the data-source checks of its series. A series joins the list by setting its
// parent chart; the chart then gives it a free palette colour (when it has none of its own),
// resolves its axes and checks its data source, and tells the panel's listeners of every
// series event (added, removed, title, colour, active state, data).
#pragma once

#include <functional>
#include <vector>

#include "chart/axis.h"
#include "chart/panel.h"
#include "chart/series_lists.h"
#include "chart/types.h"

namespace chart {

class TChartSeries;
class TCustomChartSeries;

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

class TCustomAxisPanel : public TCustomPlotPanelExtended {
 public:
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

  // ---- Paging ----
  int Page() const { return page_; }
  // Clamped to 1..NumPages (while a form is read: at least 1).
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
  TChartSeriesList series_;
  TChartAxis* axes_[6];
  TChartCustomAxes customAxes_;
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
