// The marks of a series: the per-point positions that the user may have moved
// (`TSeriesMarkPosition` in `TSeriesMarksPositions`), which the series stores with its point
// data, and the marks object a series owns (`TSeriesMarks`). Drawing of marks, their look and
// their custom items build on this.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/shapes.h"
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

// What a mark says.
enum TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY
};

// The marks of a series: framed boxes with a text beside the points, hidden at creation. The
// shape's pen frames the boxes, its font writes the texts. Per-point positions (which the
// user may have moved) are kept and stored with the points.
class TSeriesMarks : public TPlotCustomShape {
 public:
  explicit TSeriesMarks(TChartSeries* series);
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;

  TChartSeries* Series() const { return series_; }
  TSeriesMarksPositions& Positions() { return positions_; }
  const TSeriesMarksPositions& Positions() const { return positions_; }
  TCustomAxisPanel* ParentChart() const;

  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle value);
  // Only every n-th point index carries a mark (at least 1).
  int DrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  // Marks clipped to the plot rectangle.
  bool Clip() const { return clip_; }
  void SetClip(bool value);

  // The own text of a point's custom item, when it has one (none here).
  virtual const std::string* ItemText(int index) const {
    (void)index;
    return nullptr;
  }
  // Whether a point's mark is shown (its custom item may hide it).
  virtual bool ItemVisible(int index) const {
    (void)index;
    return true;
  }
  // The shape a point's mark is drawn with: its custom item, else the marks.
  virtual TPlotCustomShape& ShapeOf(int index) {
    (void)index;
    return *this;
  }
  // The colour symbol beside the text: whether shown, and its size.
  virtual bool SymbolShown() const { return false; }
  virtual int SymbolSize() const { return 0; }

  // Draws one mark: the stored position is merged (a position the user placed wins), then the
  // box and the text.
  virtual void PaintMark(int index, TColor color, TSeriesMarkPosition& position, const std::string& text);

  // Forgets every position.
  virtual void Clear() { positions_.Clear(); }
  // Removes what belongs to one point (its position).
  virtual void DeletePoint(int index) { positions_.Delete(index); }
  virtual void CopyFrom(const TSeriesMarks& source);
  using TPlotCustomShape::CopyFrom;

 private:
  TChartSeries* series_;
  TSeriesMarksPositions positions_;
  TSeriesMarksStyle style_ = smsLabel;
  int drawEvery_ = 1;
  bool multiLine_ = false;
  bool clip_ = false;
};

}  // namespace chart
