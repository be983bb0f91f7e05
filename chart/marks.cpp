// Mark positions of a series.
#include "chart/marks.h"

#include <algorithm>

#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/procs.h"
#include "chart/series.h"

namespace chart {

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TSeriesMarksPositions::SetPosition(int index, const TSeriesMarkPosition& position) {
  if (index < 0) return;
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  auto& slot = items_[static_cast<size_t>(index)];
  slot = std::make_unique<TSeriesMarkPosition>(position);
  slot->custom = true;
}

void TSeriesMarksPositions::Add(const TSeriesMarkPosition& position) {
  items_.push_back(std::make_unique<TSeriesMarkPosition>(position));
}

void TSeriesMarksPositions::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

void TSeriesMarksPositions::DeleteRange(int start, int number) { EraseRun(items_, start, number); }

bool TSeriesMarksPositions::ExistCustom() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& p) { return p && p->custom; });
}


// ---- Marks --------------------------------------------------------------------------------

namespace {
constexpr int kColorInfoBackground = 24;  // the system's tooltip background
}

TSeriesMarks::TSeriesMarks(TChartSeries* series) : TPlotCustomShape(nullptr), series_(series) {
  SetColor(platform::SystemColor(kColorInfoBackground));
  SetVisible(false);
}

TCustomAxisPanel* TSeriesMarks::ParentChart() const { return static_cast<TCustomAxisPanel*>(Parent()); }

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
  if (ChangeValue(style_, value)) InvalidateParent();
}

void TSeriesMarks::SetDrawEvery(int value) {
  if (ChangeValue(drawEvery_, std::max(1, value))) InvalidateParent();
}

void TSeriesMarks::SetMultiLine(bool value) {
  if (ChangeValue(multiLine_, value)) InvalidateParent();
}

void TSeriesMarks::SetClip(bool value) {
  if (ChangeValue(clip_, value)) InvalidateParent();
}

void TSeriesMarks::CopyFrom(const TSeriesMarks& source) {
  style_ = source.style_;
  drawEvery_ = source.drawEvery_;
  multiLine_ = source.multiLine_;
  clip_ = source.clip_;
  TPlotCustomShape::CopyFrom(source);
}

void TSeriesMarks::PaintMark(int index, TColor color, TSeriesMarkPosition& position, const std::string& text) {
  (void)color;
  // A position the user placed keeps its box; the arrow start follows the point unless its
  // end is fixed.
  TSeriesMarkPosition* stored = positions_.Position(index);
  if (!stored) {
    positions_.SetPosition(index, position);
    stored = positions_.Position(index);
    if (stored) stored->custom = false;
  } else if (!stored->custom) {
    *stored = position;
  } else {
    const TPoint from = position.arrowFrom;
    position = *stored;
    if (stored->arrowFix) position.arrowFrom = from;
  }
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  TCanvas3D& c = chart->Canvas();
  TPlotCustomShape& shape = ShapeOf(index);
  const int z = series_ ? series_->MiddleZ() : 0;
  const TRect box{position.leftTop.x, position.leftTop.y, position.leftTop.x + position.width,
                  position.leftTop.y + position.height};
  if (!shape.Transparent()) shape.DrawFramedBox(box, 0, z + 1);
  c.SelectFont(shape.Font());
  c.SetBackMode(cbmTransparent);
  c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
  const int lineHeight = c.TextHeight("W") + (shape.Pen().Visible() ? shape.Pen().Width() : 0);
  int y = box.top + 1;
  for (const std::string& line : SplitTextLines(text)) {
    c.DrawText3D(box.left + 2, y, z, line);
    y += lineHeight;
  }
}

}  // namespace chart
