// One column of numbers of a series (`TChartValueList`): the X list, the Y list, or an extra
// list a series kind adds (a third value for bubbles or candles). The values live in one
// growable array of doubles; the list keeps them in ascending or descending order when asked
// and answers minimum, maximum, sum and sum of absolute values from statistics refreshed on
// the first read after a change, never on insertion.
//
// Growth: when an insertion finds the array full it is lengthened by `CapacityStep` places
// (1000 unless changed), never doubled; `Capacity` tells the array's length. Appending in
// order costs one comparison with the last value.
//
// Indexes are 0-based. The reading operations (`ValueAt`, `First`, `Last`) test no index: the
// series that call them stay within 0..Count-1. The changing operations refuse an index
// outside the list instead of writing past the array, and `DeleteRange` stops at the last
// value (a run longer than the list would otherwise leave a negative count).
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace chart {

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList {
 public:
  // The program-wide growth step of the value arrays.
  static int CapacityStep;

  // Appends the list to the owner's value lists (which then free it); `owner` may be nullptr
  // for a list of its own.
  TChartValueList(TChartSeries* owner, std::string name);
  virtual ~TChartValueList();
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  TChartSeries* Owner() const { return owner_; }
  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  double ValueAt(int index) const { return values_.get()[index]; }
  double operator[](int index) const { return values_.get()[index]; }
  double First() const { return values_.get()[0]; }
  double Last() const { return values_.get()[count_ - 1]; }
  std::span<const double> Values() const { return {values_.get(), static_cast<size_t>(count_)}; }
  // Overwrites one value (sets the statistics stale); nothing outside 0..Count-1.
  void SetValue(int index, double value);

  // The value the next ordered insertion stores: the series sets it before it inserts a point.
  double PendingValue() const { return pending_; }
  void SetPendingValue(double value) { pending_ = value; }

  // Stores `value` as the pending value and inserts it by the order; the index it landed at.
  virtual int AddValue(double value);
  // Empties the list and releases the array (capacity 0).
  virtual void ClearValues();
  // Inserts `value` at `index` (0..Count), moving later values up.
  virtual void InsertValue(int index, double value);
  // Removes the value at `index`, moving later values down.
  virtual void Delete(int index);
  // Removes `number` values from `start` on, stopping at the last value; a negative start or
  // number, or a start past the end, removes nothing.
  void DeleteRange(int start, int number);

  // The first index within 0..Count-1 (first..last) whose value equals `value`, or -1.
  int IndexOfValue(double value) const;
  int IndexOfValueBetween(int first, int last, double value) const;

  double Maximum();
  double Minimum();
  double Sum();
  double TotalAbsolute();
  double Range();  // Maximum - Minimum

  // The first value moves to the end, every other one place towards the start.
  void RotateLeft();
  // Swaps two values and tells the owner's linked series that the points changed.
  void Exchange(int i, int j);
  // Value i becomes i for every index; the owner's linked series are told.
  void NumberSequentially();
  // Sorts all the owner's points (every list, colour and label together) by this list's
  // values when the list has an order; a list without owner sorts only itself.
  void SortPoints();
  // -1, 0 or 1 as value i is below, equal to or above value j; reversed for loDescending.
  int CompareValues(int i, int j) const;

  bool DateTime() const { return dateTime_; }
  void SetDateTime(bool value);
  bool DefaultDateTime() const { return defaultDateTime_; }
  void SetDefaultDateTime(bool value) { defaultDateTime_ = value; }
  bool IsDateTimeStored() const { return dateTime_ != defaultDateTime_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder order) { order_ = order; }
  const std::string& ValueSource() const { return valueSource_; }
  void SetValueSource(const std::string& source);

  // Copies order, date-time flag and value source of `source`; the values stay.
  virtual void CopyFrom(const TChartValueList& source);

  // The obsolete stored property "Multiplier": the message to show for a stored value other
  // than 1, empty for 1. The value itself is never used and never written.
  static std::string ObsoleteMultiplierMessage(double value);

 private:
  int InsertPending();
  void Grow();
  double* vals() const { return values_.get(); }
  void RefreshStatistics();
  void SwapValues(int i, int j);

  bool dateTime_ = false;
  double maximum_ = 0;
  double minimum_ = 0;
  std::string name_;
  TChartListOrder order_ = loNone;
  TChartSeries* owner_;
  double pending_ = 0;
  double total_ = 0;
  double totalAbs_ = 0;
  std::string valueSource_;
  bool defaultDateTime_ = false;
  struct FreeValues {
    void operator()(double* p) const;
  };
  // Held by malloc so that growing can extend the block in place (large blocks are remapped,
  // not copied).
  std::unique_ptr<double, FreeValues> values_;
  int capacity_ = 0;
  int count_ = 0;
  bool modified_ = true;

  friend class TChartSeries;
};

// The value lists of one series, in creation order (0 the X list, 1 the Y list, then the
// extra lists); it owns them.
class TChartValueLists {
 public:
  TChartValueLists() = default;
  TChartValueLists(const TChartValueLists&) = delete;
  TChartValueLists& operator=(const TChartValueLists&) = delete;

  int Count() const { return static_cast<int>(lists_.size()); }
  TChartValueList* ValueList(int index) const { return lists_[static_cast<size_t>(index)].get(); }
  TChartValueList* operator[](int index) const { return ValueList(index); }
  void Add(TChartValueList* list) { lists_.emplace_back(list); }
  void Clear() { lists_.clear(); }
  auto begin() const { return lists_.begin(); }
  auto end() const { return lists_.end(); }

 private:
  std::vector<std::unique_ptr<TChartValueList>> lists_;
};

}  // namespace chart
