// Series support lists: the point labels of a series (`TLabelsList`), the data sources that
// feed it (`TDataSourcesList`), plain lists of series (`TCustomSeriesList`), series groups
// (`TSeriesGroup`), the base of components that fill a series from outside
// (`TPlotSeriesSource`) and the title a series shows (`SeriesTitleOrDefault`).
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace chart {

class TChartSeries;
class TCustomAxisPanel;

// One optional text per point index. Entries past the end read as empty text. The list stays
// empty until the first non-empty label arrives: an empty text is inserted only into a list
// that already holds entries.
class TLabelsList {
 public:
  int Count() const { return static_cast<int>(labels_.size()); }
  bool Empty() const { return labels_.empty(); }
  // The text of `index`; empty past the end or for a negative index.
  const std::string& Label(int index) const;
  const std::string& operator[](int index) const { return Label(index); }
  // Sets the text of an existing index, or inserts it as InsertLabel does past the end.
  void SetLabel(int index, const std::string& text);
  // Inserts `text` at `index`, padding with empty entries up to it.
  void InsertLabel(int index, const std::string& text);
  void Delete(int index);
  // Removes `number` entries from `start` on, as far as the list reaches.
  void DeleteRange(int start, int number);
  void Exchange(int i, int j);
  void Assign(const TLabelsList& source) { labels_ = source.labels_; }
  void Clear() { labels_.clear(); }
  const std::vector<std::string>& Texts() const { return labels_; }

 private:
  std::vector<std::string> labels_;
};

// The data sources of one series: other series or series-source components; the first is the
// series' `DataSource`. Removing an entry unlinks it from the series; clearing unlinks every
// source and empties the series unless it holds points of its own.
class TDataSourcesList {
 public:
  explicit TDataSourcesList(TChartSeries* series) : series_(series) {}
  TDataSourcesList(const TDataSourcesList&) = delete;
  TDataSourcesList& operator=(const TDataSourcesList&) = delete;

  TChartSeries* Series() const { return series_; }
  int Count() const { return static_cast<int>(sources_.size()); }
  bool Empty() const { return sources_.empty(); }
  QObject* Source(int index) const { return sources_[static_cast<size_t>(index)]; }
  QObject* operator[](int index) const { return Source(index); }
  int IndexOf(const QObject* source) const;
  auto begin() const { return sources_.begin(); }
  auto end() const { return sources_.end(); }

  // Appends a source that the series has checked; a series source links the series to it.
  void Add(QObject* source);
  // Removes one source and unlinks it; false when it was not in the list.
  bool Remove(QObject* source);
  void Clear();

 private:
  TChartSeries* series_;
  std::vector<QObject*> sources_;
};

// A list of series that does not own them (a chart's series, a series' linked series, the
// members of a group).
class TCustomSeriesList {
 public:
  TCustomSeriesList() = default;
  virtual ~TCustomSeriesList() = default;
  TCustomSeriesList(const TCustomSeriesList&) = delete;
  TCustomSeriesList& operator=(const TCustomSeriesList&) = delete;

  int Count() const { return static_cast<int>(series_.size()); }
  bool Empty() const { return series_.empty(); }
  TChartSeries* SeriesAt(int index) const { return series_[static_cast<size_t>(index)]; }
  TChartSeries* operator[](int index) const { return SeriesAt(index); }
  // The position of a series, or -1; looked up in a table kept beside the list, so that a
  // chart of many series adds and finds each in constant time.
  int IndexOf(const TChartSeries* series) const;
  bool Contains(const TChartSeries* series) const { return IndexOf(series) >= 0; }
  // Appends a series not yet in the list; false when it was there.
  bool Add(TChartSeries* series);
  bool Remove(TChartSeries* series);
  void Clear() {
    series_.clear();
    positions_.clear();
  }
  void Exchange(int i, int j);
  auto begin() const { return series_.begin(); }
  auto end() const { return series_.end(); }
  // The entries looked at by IndexOf and Contains so far (their work, for tests and benches).
  long long EntriesLookedAt() const { return entriesLookedAt_; }

 private:
  std::vector<TChartSeries*> series_;
  std::unordered_map<const TChartSeries*, int> positions_;
  mutable long long entriesLookedAt_ = 0;
};

// ---- Series groups ------------------------------------------------------------------------

enum TSeriesGroupActive { gaYes, gaNo, gaSome };

// A named group of series of a chart. `Active` reads gaYes when every member is active (also
// when the group is empty), gaNo when none is, gaSome otherwise; setting gaYes or gaNo
// activates or deactivates every member, gaSome changes nothing.
class TSeriesGroup {
 public:
  TSeriesGroupActive Active() const;
  void SetActive(TSeriesGroupActive value);
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TCustomSeriesList& Series() { return series_; }
  const TCustomSeriesList& Series() const { return series_; }
  // The members are stored with the group only when there are any.
  bool IsSeriesStored() const { return !series_.Empty(); }
  // Read from a form before the series exist: the members' names and the active state,
  // applied by Resolve.
  void SetPendingMembers(std::vector<std::string> names) { pendingMembers_ = std::move(names); }
  void SetPendingActive(TSeriesGroupActive value) { pendingActive_ = value; }
  // Finds the members named in the form among the series of `chart`.
  void Resolve(const TCustomAxisPanel* chart);

 private:
  std::string name_;
  TCustomSeriesList series_;
  std::vector<std::string> pendingMembers_;
  TSeriesGroupActive pendingActive_ = gaYes;
};

// The groups of a chart's series list, in order; it owns them.
class TSeriesGroups {
 public:
  int Count() const { return static_cast<int>(groups_.size()); }
  TSeriesGroup& Group(int index) const { return *groups_[static_cast<size_t>(index)]; }
  TSeriesGroup& Add();
  void Delete(int index);
  void Clear() { groups_.clear(); }
  void Resolve(const TCustomAxisPanel* chart) {
    for (auto& g : groups_) g->Resolve(chart);
  }
  // Takes the series out of every group (a series leaving its chart).
  void RemoveSeries(TChartSeries* series);

 private:
  std::vector<std::unique_ptr<TSeriesGroup>> groups_;
};

// ---- Series-source components -------------------------------------------------------------

// A component that fills a series from an outside source; descendants load the points.
// Making it active loads (unless the form is still loading); making it inactive empties the
// series unless the source or the series is being destroyed or `NoClear` is set. Setting the
// series closes the source and makes it the series' data source (taking it from the old one).
class TPlotSeriesSource : public QObject {
 public:
  explicit TPlotSeriesSource(QObject* owner = nullptr);
  ~TPlotSeriesSource() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  TChartSeries* Series() const { return series_; }
  void SetSeries(TChartSeries* series);
  bool NoClear() const { return noClear_; }
  void SetNoClear(bool value) { noClear_ = value; }

  void Open() { SetActive(true); }
  void Close();
  // Loads again when active and not loading.
  void Refresh();
  // Fills the series; nothing in the base.
  virtual void Load() {}
  virtual bool Available(QObject* /*chart*/) const { return true; }
  virtual std::string Description() const { return {}; }
  virtual std::string EditorClassName() const { return {}; }
  virtual bool HasNew() const { return false; }
  // True for a series whose data source is of this source's class.
  virtual bool HasSeries(const TChartSeries* series) const;

  // Form loading: while set, activation does not load; Loaded takes the series named in the
  // form and refreshes.
  bool IsLoading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }
  virtual void Loaded();
  void SetPendingSeriesName(std::string name) { pendingSeries_ = std::move(name); }

  // The series no longer takes its points from this source (it changed its data source or
  // is being destroyed): forget it.
  void DetachSeries(TChartSeries* series);

 private:
  bool active_ = false;
  bool noClear_ = false;
  bool loading_ = false;
  bool destroying_ = false;
  TChartSeries* series_ = nullptr;
  std::string pendingSeries_;
};

// ---- Titles -------------------------------------------------------------------------------

// The title a series shows: its `Title` with every character 6 made a blank; the component
// name when that is empty; "Series" and the 1-based position in its chart when both are.
std::string SeriesTitleOrDefault(const TChartSeries& series);

}  // namespace chart
