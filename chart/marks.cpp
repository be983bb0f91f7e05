// Mark positions of a series.
#include "chart/marks.h"

#include <algorithm>

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

}  // namespace chart
