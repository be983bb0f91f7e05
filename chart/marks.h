// The marks of a series: the per-point positions that the user may have moved
// (`TSeriesMarkPosition` in `TSeriesMarksPositions`), which the series stores with its point
// data, and the marks object a series owns (`TSeriesMarks`). Drawing of marks, their look and
// their custom items build on this.
#pragma once

#include <memory>
#include <vector>

#include "chart/types.h"

namespace chart {

class TChartSeries;
class TCustomAxisPanel;

// Where one point's mark lies. Custom: the user placed it, and it keeps its place.
struct TSeriesMarkPosition {
  TPoint arrowFrom{};
  bool arrowFix = false;
  TPoint arrowTo{};
  bool custom = false;
  int height = 0;
  TPoint leftTop{};
  int width = 0;
};

// Positions indexed by point index, with empty gaps.
class TSeriesMarksPositions {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // The position of `index`; nullptr for a gap, a negative index or one past the end.
  TSeriesMarkPosition* Position(int index) const;
  // Stores a copy at `index` (growing the list with gaps) and marks it custom.
  void SetPosition(int index, const TSeriesMarkPosition& position);
  // Appends a copy as it stands.
  void Add(const TSeriesMarkPosition& position);
  void Delete(int index);
  // Removes `number` entries from `start` on, as far as the list reaches.
  void DeleteRange(int start, int number);
  void Clear() { items_.clear(); }
  // Whether any position was placed by the user.
  bool ExistCustom() const;

 private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

class TSeriesMarks {
 public:
  explicit TSeriesMarks(TChartSeries* series) : series_(series) {}
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;
  virtual ~TSeriesMarks() = default;

  TChartSeries* Series() const { return series_; }
  TSeriesMarksPositions& Positions() { return positions_; }
  const TSeriesMarksPositions& Positions() const { return positions_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  TCustomAxisPanel* ParentChart() const { return chart_; }
  virtual void SetParent(TCustomAxisPanel* chart) { chart_ = chart; }
  // Forgets every position.
  virtual void Clear() { positions_.Clear(); }
  // Removes what belongs to one point (its position).
  virtual void DeletePoint(int index) { positions_.Delete(index); }
  virtual void CopyFrom(const TSeriesMarks& source) { visible_ = source.visible_; }

 private:
  TChartSeries* series_;
  TCustomAxisPanel* chart_ = nullptr;
  TSeriesMarksPositions positions_;
  bool visible_ = false;
};

}  // namespace chart
