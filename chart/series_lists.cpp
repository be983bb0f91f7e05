// Labels, data sources, series lists and groups, series-source components and default titles.
#include "chart/series_lists.h"

#include <algorithm>
#include <typeinfo>

#include "chart/axis_panel.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/types.h"

namespace chart {

// ---- Labels -------------------------------------------------------------------------------

const std::string& TLabelsList::Label(int index) const {
  static const std::string kEmpty;
  if (index < 0 || index >= Count()) return kEmpty;
  return labels_[static_cast<size_t>(index)];
}

void TLabelsList::SetLabel(int index, const std::string& text) {
  if (index < 0) return;
  if (index < Count()) {
    labels_[static_cast<size_t>(index)] = text;
  } else if (!text.empty()) {
    labels_.resize(static_cast<size_t>(index));
    labels_.push_back(text);
  }
}

void TLabelsList::InsertLabel(int index, const std::string& text) {
  if (index < 0) return;
  if (text.empty() && labels_.empty()) return;
  if (index > Count()) labels_.resize(static_cast<size_t>(index));
  labels_.insert(labels_.begin() + index, text);
}

void TLabelsList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  labels_.erase(labels_.begin() + index);
}

void TLabelsList::DeleteRange(int start, int number) { EraseRun(labels_, start, number); }

void TLabelsList::Exchange(int i, int j) {
  if (i < 0 || j < 0) return;
  const size_t need = static_cast<size_t>(std::max(i, j)) + 1;
  if (labels_.size() < need) labels_.resize(need);
  std::swap(labels_[static_cast<size_t>(i)], labels_[static_cast<size_t>(j)]);
}

// ---- Data sources -------------------------------------------------------------------------

int TDataSourcesList::IndexOf(const QObject* source) const {
  auto it = std::find(sources_.begin(), sources_.end(), source);
  return it == sources_.end() ? -1 : static_cast<int>(it - sources_.begin());
}

void TDataSourcesList::Add(QObject* source) {
  if (!source || IndexOf(source) >= 0) return;
  sources_.push_back(source);
  if (auto* s = dynamic_cast<TChartSeries*>(source)) s->LinkedSeries().Add(series_);
}

bool TDataSourcesList::Remove(QObject* source) {
  const int i = IndexOf(source);
  if (i < 0) return false;
  sources_.erase(sources_.begin() + i);
  if (auto* s = dynamic_cast<TChartSeries*>(source)) {
    s->LinkedSeries().Remove(series_);
  } else if (auto* c = dynamic_cast<TPlotSeriesSource*>(source)) {
    c->DetachSeries(series_);
  }
  return true;
}

void TDataSourcesList::Clear() {
  while (!sources_.empty()) Remove(sources_.back());
  if (!series_->ManualData()) series_->RemoveAllPoints();
}

// ---- Series lists -------------------------------------------------------------------------

int TCustomSeriesList::IndexOf(const TChartSeries* series) const {
  ++entriesLookedAt_;
  const auto it = positions_.find(series);
  return it == positions_.end() ? -1 : it->second;
}

bool TCustomSeriesList::Add(TChartSeries* series) {
  if (!series || Contains(series)) return false;
  positions_.emplace(series, Count());
  series_.push_back(series);
  return true;
}

bool TCustomSeriesList::Remove(TChartSeries* series) {
  const int i = IndexOf(series);
  if (i < 0) return false;
  positions_.erase(series);
  series_.erase(series_.begin() + i);
  for (int k = i; k < Count(); ++k) positions_[series_[static_cast<size_t>(k)]] = k;
  return true;
}

void TCustomSeriesList::Exchange(int i, int j) {
  if (i < 0 || j < 0 || i >= Count() || j >= Count()) return;
  std::swap(series_[static_cast<size_t>(i)], series_[static_cast<size_t>(j)]);
  positions_[series_[static_cast<size_t>(i)]] = i;
  positions_[series_[static_cast<size_t>(j)]] = j;
}

// ---- Groups -------------------------------------------------------------------------------

TSeriesGroupActive TSeriesGroup::Active() const {
  int active = 0;
  for (const TChartSeries* s : series_)
    if (s->Active()) ++active;
  if (active == series_.Count()) return gaYes;
  return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive value) {
  if (value == gaSome) return;
  for (TChartSeries* s : series_) s->SetActive(value == gaYes);
}

void TSeriesGroup::Resolve(const TCustomAxisPanel* chart) {
  if (pendingMembers_.empty()) return;
  for (const std::string& name : pendingMembers_) {
    for (TChartSeries* s : chart->SeriesList()) {
      if (QString::fromStdString(s->Name()).compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0) {
        series_.Add(s);
        break;
      }
    }
  }
  pendingMembers_.clear();
  SetActive(pendingActive_);
  pendingActive_ = gaYes;
}

TSeriesGroup& TSeriesGroups::Add() {
  groups_.push_back(std::make_unique<TSeriesGroup>());
  return *groups_.back();
}

void TSeriesGroups::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  groups_.erase(groups_.begin() + index);
}

void TSeriesGroups::RemoveSeries(TChartSeries* series) {
  for (auto& g : groups_) g->Series().Remove(series);
}

// ---- Series-source components -------------------------------------------------------------

TPlotSeriesSource::TPlotSeriesSource(QObject* owner) : QObject(owner) {}

TPlotSeriesSource::~TPlotSeriesSource() {
  destroying_ = true;
  if (series_) {
    TChartSeries* s = series_;
    series_ = nullptr;
    s->SourceDestroyed(this);
  }
}

void TPlotSeriesSource::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  if (value) {
    if (!loading_) Load();
  } else if (series_ && !destroying_ && !series_->IsDestroying() && !noClear_) {
    series_->RemoveAllPoints();
  }
}

void TPlotSeriesSource::Close() {
  if (!loading_ && !destroying_) SetActive(false);
}

void TPlotSeriesSource::Refresh() {
  if (active_ && !loading_) {
    Load();
    // What a source loaded is not the series' own data.
    if (series_) series_->SetManualData(false);
  }
}

bool TPlotSeriesSource::HasSeries(const TChartSeries* series) const {
  const QObject* source = series ? series->DataSource() : nullptr;
  return source && typeid(*source) == typeid(*this);
}

void TPlotSeriesSource::SetSeries(TChartSeries* series) {
  if (series_ == series) return;
  Close();
  TChartSeries* old = series_;
  series_ = nullptr;
  if (old) old->RemoveDataSource(this);
  if (!series) return;
  series_ = series;
  try {
    series->SetDataSource(this);
  } catch (...) {
    series_ = nullptr;
    throw;
  }
}

void TPlotSeriesSource::Loaded() {
  loading_ = false;
  if (!pendingSeries_.empty()) {
    auto* series = dynamic_cast<TChartSeries*>(FindComponent(this, pendingSeries_));
    pendingSeries_.clear();
    if (series) SetSeries(series);
  }
  Refresh();
}

void TPlotSeriesSource::DetachSeries(TChartSeries* series) {
  if (series_ == series) series_ = nullptr;
}

// ---- Titles -------------------------------------------------------------------------------

std::string SeriesTitleOrDefault(const TChartSeries& series) {
  std::string title = series.Title();
  std::replace(title.begin(), title.end(), '\x06', ' ');
  if (!title.empty()) return title;
  title = series.Name();
  if (!title.empty()) return title;
  if (TCustomAxisPanel* chart = series.ParentChart()) {
    const int position = chart->SeriesList().IndexOf(&series);
    return (MsgSeries.empty() ? std::string("Series") : MsgSeries) + std::to_string(position + 1);
  }
  return title;
}

}  // namespace chart
