// Series functions (`TPlotFunction`): a function turns the points of one or more source series
// into the points of its parent series. The base holds the period settings and walks the
// source in periods; kinds (averages, sums, moving statistics ...) supply `Calculate` over a
// run of one source and `CalculateMany` across several sources at one index.
//
// Periods: `Period` 0 computes one value over the whole source. With `psNumPoints` the source
// is taken in groups of round(Period) points (at least 1; an incomplete last group adds
// nothing); with `psRange` in X ranges `Period` wide, calendar months and years when the X
// values are dates and the period is a month or more (a range without points adds the value
// 0; a period too small to move the boundary ends the walk). Each result lies at the first,
// middle or last X of its group (`PeriodAlign`). A walk that has added kMaxEmptyRanges ranges
// without points (gaps between X values that hold astronomically many periods) ends there.
#pragma once

#include <QObject>
#include <string>
#include <vector>

namespace chart {

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;

enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

constexpr int kMaxEmptyRanges = 100000;
enum TFunctionPeriodStyle { psNumPoints, psRange };

class TPlotFunction : public QObject {
 public:
  explicit TPlotFunction(QObject* owner = nullptr);
  ~TPlotFunction() override;
  virtual std::string ClassName() const { return "TPlotFunction"; }

  double Period() const { return period_; }
  // Raises ChartException "Function Period should be >= 0" for a negative period.
  void SetPeriod(double value);
  TFunctionPeriodAlign PeriodAlign() const { return periodAlign_; }
  void SetPeriodAlign(TFunctionPeriodAlign value);
  TFunctionPeriodStyle PeriodStyle() const { return periodStyle_; }
  void SetPeriodStyle(TFunctionPeriodStyle value);
  bool CanUsePeriod() const { return canUsePeriod_; }
  // A kind that makes points from nothing: recomputed even without a data source.
  bool NoSourceRequired() const { return noSourceRequired_; }

  TChartSeries* ParentSeries() const { return parent_; }
  // Moves the function to `series` (nullptr: detaches it).
  void SetParentSeries(TChartSeries* series);
  // The field alone, set by the series that attaches or frees the function.
  void SetParentSeriesField(TChartSeries* series) { parent_ = series; }

  // value = Calculate(source, first, last); adds (x, value).
  virtual void CalculatePeriod(TChartSeries* source, int first, int last, double x);
  virtual void CalculateAll(TChartSeries* source, TChartValueList& xList);
  virtual void CalculateByPeriod(TChartSeries* source, TChartValueList& xList);
  // CalculateByPeriod when Period is not 0, else CalculateAll.
  virtual void AddPoints(TChartSeries* source, TChartValueList& xList);
  virtual std::string EditorClassName() const { return "TPlotFunctionEditor"; }
  // Fills every series of the chart with preview sample values.
  virtual void SetupGalleryPreview(TCustomAxisPanel* chart);
  // The value over source points first..last (-1, -1: the whole source); 0 in the base.
  virtual double Calculate(TChartSeries* source, int first, int last);
  // The value across `sources` at `index`; 0 in the base.
  virtual double CalculateMany(const std::vector<TChartSeries*>& sources, int index);
  virtual void Clear() {}
  virtual bool IsValidSource(TChartSeries* /*source*/) const { return true; }

  // Computes the parent's points from `source` (or, with several data sources, from all);
  // kinds that need no source compute here from nothing.
  virtual void AddPointsFromSource(TChartSeries* source);
  // Asks the parent to refill from its sources (unless the function needs none).
  void ReCalculate();
  // Adds (x, y) to the parent when the source is vertical, (y, x) otherwise.
  void AddFunctionXY(bool sourceIsVertical, double x, double y);

  // Period, PeriodStyle and PeriodAlign.
  virtual void CopyFrom(const TPlotFunction& source);
  // A function of the same kind with the same settings.
  virtual TPlotFunction* Clone(QObject* owner) const;

 protected:
  bool canUsePeriod_ = true;
  bool noSourceRequired_ = false;

 private:
  void CalculateMany(const std::vector<TChartSeries*>& sources);

  double period_ = 0;
  TFunctionPeriodAlign periodAlign_ = paCenter;
  TFunctionPeriodStyle periodStyle_ = psNumPoints;
  TChartSeries* parent_ = nullptr;
};

}  // namespace chart
