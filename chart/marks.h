// The marks of a series: the framed text boxes drawn beside its points. `TSeriesMarks` holds
// their look (a framed shape), the callout from a mark to its point, the colour symbol, the
// per-point positions that the user may have moved (`TSeriesMarkPosition` in
// `TSeriesMarksPositions`, stored with the series' point data) and per-point custom items
// (`TMarksItem`) that override one mark's look and text. It draws one mark, moves a mark off
// the marks it would cover, finds the mark under a pixel, and stores its custom items in forms
// as the binary property "Items": an Int32 count n, then n entries, each an Int32 byte length
// and that many bytes of description text (length 0 and no text for an index without an item
// or with an item as it was created).
#pragma once

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "chart/pointer.h"
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
  void Clear() {
    items_.clear();
    NoteChanged(0);
  }
  // Whether any position was placed by the user.
  bool ExistCustom() const;
  // The lowest index whose position changed since the last `ForgetChanges` (INT_MAX for none):
  // what the marks' overlap index must read again.
  int ChangedFrom() const { return changedFrom_; }
  void NoteChanged(int index) { changedFrom_ = std::min(changedFrom_, std::max(0, index)); }
  void ForgetChanges() { changedFrom_ = std::numeric_limits<int>::max(); }

 private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
  int changedFrom_ = 0;
};

// What a mark says.
enum TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY
};

class TMarksItems;

// The look and text of one point's mark, overriding the marks'.
class TMarksItem : public TPlotShape {
 public:
  explicit TMarksItem(TMarksItems* owner);
  // The item's own lines; an item without lines takes the style's text.
  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines);
  // The lines each ending in a line break, as one text; nullptr without lines.
  const std::string* Text() const { return lines_.empty() ? nullptr : &text_; }
  void CopyFrom(const TPlotCustomShape& source) override;

 private:
  TMarksItems* owner_;
  std::vector<std::string> lines_;
  std::string text_;
};

// Custom items by point index; an item is created on first access.
class TMarksItems {
 public:
  explicit TMarksItems(class TSeriesMarks* marks) : marks_(marks) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // The item of `index`, created (like the marks' own look) when there is none.
  TMarksItem& Item(int index);
  // The item of `index` when one exists.
  TMarksItem* Find(int index) const;
  bool Empty() const;
  void Clear() { items_.clear(); }
  void Delete(int index);
  // Entries 0..n-1, empty.
  void Resize(int n) { items_.resize(static_cast<size_t>(std::max(0, n))); }
  TSeriesMarks* Marks() const { return marks_; }

 private:
  TSeriesMarks* marks_;
  std::vector<std::unique_ptr<TMarksItem>> items_;
};

// The marks' gradient: right to left, from silver to white.
class TSeriesMarksGradient : public TPlotGradient {
 public:
  explicit TSeriesMarksGradient(TNotify onChange = {});
};

// The marks of a series: framed boxes with a text beside the points, hidden at creation. The
// shape's pen frames the boxes, its font writes the texts.
class TSeriesMarks : public TPlotCustomShape {
 public:
  explicit TSeriesMarks(TChartSeries* series);
  ~TSeriesMarks() override;
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;

  TChartSeries* Series() const { return series_; }
  TSeriesMarksPositions& Positions() { return positions_; }
  const TSeriesMarksPositions& Positions() const { return positions_; }
  TCustomAxisPanel* ParentChart() const;
  // The chart goes on to the callout, the symbol and the items.
  void SetParent(TCustomPlotPanel* chart) override;

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
  // Degrees the boxes and texts are turned by.
  int Angle() const { return angle_; }
  void SetAngle(int value);
  // The box colour (the shape's colour).
  TColor BackColor() const { return Color(); }
  void SetBackColor(TColor value) { SetColor(value); }

  // Created on first access.
  TMarksCallout& Callout();
  const TMarksCallout* CalloutIfAny() const { return callout_.get(); }
  TSeriesMarksSymbol& Symbol();
  const TSeriesMarksSymbol* SymbolIfAny() const { return symbol_.get(); }
  // The callout's arrow pen and length.
  TChartPen& Arrow() { return Callout().Arrow(); }
  int ArrowLength() const { return callout_ ? callout_->Length() : defaultArrowLength_; }
  void SetArrowLength(int value) { Callout().SetLength(value); }
  // The length a kind gives its marks (and below which nothing is stored).
  void SetDefaultArrowLength(int value);
  int CalloutDistance() const { return callout_ ? callout_->Distance() : 0; }

  TMarksItems& Items() { return items_; }
  const TMarksItems& Items() const { return items_; }

  // The own text of a point's custom item, when it has one.
  const std::string* ItemText(int index) const;
  // Whether a point's mark is shown (its custom item may hide it).
  bool ItemVisible(int index) const;
  // The shape a point's mark is drawn with: its custom item, else the marks.
  TPlotCustomShape& ShapeOf(int index);
  // The colour symbol beside the text: whether shown, and its size (the font's text height).
  bool SymbolShown() const { return symbol_ && symbol_->ShouldDraw(); }
  int SymbolSize();

  // Draws one mark: the callout's length lifts it off its point (unless the kind placed it
  // itself), the stored position is merged (a position the user placed wins), then the
  // callout, the box, the symbol and the text.
  void PaintMark(int index, TColor color, TSeriesMarkPosition& position, const std::string& text,
                 bool placeByCallout = true);
  // Moves `position` vertically off every stored position first..last its box overlaps, by
  // exactly the overlap: up when the other box lies lower, else down. The stored positions are
  // taken in index order, each against the box as moved so far. Their boxes are kept in a grid
  // of cells through a marks pass (the positions first.. of the previous calls), so that a call
  // compares the box only with the boxes in its cells: the result is that of comparing it with
  // every stored box in turn.
  void AntiOverlap(int first, int last, TSeriesMarkPosition& position);
  // The box comparisons AntiOverlap has made so far and the moves it made (its work, counted
  // for tests and benches). Each move is a step of the result; the comparisons stay within a
  // few per move and per stored box.
  long long OverlapTests() const { return overlapTests_; }
  long long OverlapMoves() const { return overlapMoves_; }
  // The highest index (a multiple of DrawEvery) whose box, drawn in the latest frame, contains
  // (x, y); -1. Positions kept from earlier frames (a point zoomed out of view, marks hidden
  // since) are no hit.
  int MarkAt(int x, int y);
  // A frame begins: no mark is drawn yet (the chart calls it for every series it draws), and
  // the boxes of the last frame are no longer those the overlap index holds.
  void BeginFrame();
  // The widest line of a point's mark text in the marks' font.
  int TextWidth(int index);

  // Forgets every position; the custom items too, unless they were just read from a form.
  void Clear();
  // Removes what belongs to one point (its position and custom item).
  void DeletePoint(int index);
  void CopyFrom(const TSeriesMarks& source);
  using TPlotCustomShape::CopyFrom;

  // The stored "Items" block (nothing without a custom item) and its reading, which raises
  // std::runtime_error on a damaged block.
  std::optional<std::string> ItemsBytes() const;
  void ReadItemsBytes(std::string_view bytes);

 protected:
  void InitShadow(TPlotShadow& shadow) override;

 private:
  // The box of a position on the screen (projected at the marks' depth in 3D).
  TRect ScreenBox(const TSeriesMarkPosition& position);
  // The box of a position grown by the frame pen and the shadow's offsets.
  TRect OverlapBox(const TSeriesMarkPosition& position);
  int Z() const;

  TChartSeries* series_;
  TSeriesMarksPositions positions_;
  // The indexes drawn in the latest frame, in drawing order.
  std::vector<int> drawn_;
  // The overlap boxes of the stored positions, by grid cell (see AntiOverlap).
  struct OverlapIndex;
  std::unique_ptr<OverlapIndex> overlapIndex_;
  long long overlapTests_ = 0, overlapMoves_ = 0;
  TMarksItems items_{this};
  std::unique_ptr<TMarksCallout> callout_;
  std::unique_ptr<TSeriesMarksSymbol> symbol_;
  TSeriesMarksStyle style_ = smsLabel;
  int drawEvery_ = 1;
  int angle_ = 0;
  int defaultArrowLength_ = 8;
  bool multiLine_ = false;
  bool clip_ = false;
  bool itemsLoaded_ = false;
};

}  // namespace chart
