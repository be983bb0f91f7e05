// Value lists: ordered insertion, growth by a fixed step, statistics refreshed on reading.
#include "chart/value_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "chart/procs.h"
#include "chart/series.h"

namespace chart {

int TChartValueList::CapacityStep = 1000;

TChartValueList::TChartValueList(TChartSeries* owner, std::string name) : name_(std::move(name)), owner_(owner) {
  if (owner_) owner_->ValueLists().Add(this);
  ClearValues();
}

TChartValueList::~TChartValueList() { ClearValues(); }

void TChartValueList::SetValue(int index, double value) {
  if (index < 0 || index >= count_) return;
  vals()[index] = value;
  modified_ = true;
}

void TChartValueList::FreeValues::operator()(double* p) const { std::free(p); }

void TChartValueList::Grow() {
  const int step = std::max(1, CapacityStep);
  const size_t places = static_cast<size_t>(capacity_) + static_cast<size_t>(step);
  void* bigger = std::realloc(values_.get(), sizeof(double) * places);
  if (!bigger) throw std::bad_alloc();
  values_.release();
  values_.reset(static_cast<double*>(bigger));
  capacity_ += step;
}

int TChartValueList::InsertPending() {
  const double v = pending_;
  const int n = count_;
  int at = n;
  if (n > 0) {
    if (order_ == loAscending && v < vals()[n - 1]) {
      int i = n - 1;
      while (i >= 0 && vals()[i] > v) --i;
      at = i + 1;
    } else if (order_ == loDescending && v > vals()[n - 1]) {
      int i = n - 1;
      while (i >= 0 && v > vals()[i]) --i;
      at = i + 1;
    }
  }
  if (at == n) {
    if (count_ == capacity_) Grow();
    vals()[count_++] = v;
    modified_ = true;
    return at;
  }
  InsertValue(at, v);
  return at;
}

int TChartValueList::AddValue(double value) {
  pending_ = value;
  return InsertPending();
}

void TChartValueList::ClearValues() {
  values_.reset();
  capacity_ = 0;
  count_ = 0;
  modified_ = true;
}

void TChartValueList::InsertValue(int index, double value) {
  if (index < 0 || index > count_) return;
  if (count_ == capacity_) Grow();
  std::memmove(&vals()[index + 1], &vals()[index], sizeof(double) * static_cast<size_t>(count_ - index));
  vals()[index] = value;
  ++count_;
  modified_ = true;
}

void TChartValueList::Delete(int index) {
  if (index < 0 || index >= count_) return;
  std::memmove(&vals()[index], &vals()[index + 1], sizeof(double) * static_cast<size_t>(count_ - index - 1));
  --count_;
  modified_ = true;
}

void TChartValueList::DeleteRange(int start, int number) {
  if (start < 0 || number <= 0 || start >= count_) return;
  number = std::min(number, count_ - start);
  std::memmove(&vals()[start], &vals()[start + number],
               sizeof(double) * static_cast<size_t>(count_ - start - number));
  count_ -= number;
  modified_ = true;
}

int TChartValueList::IndexOfValue(double value) const { return IndexOfValueBetween(0, count_ - 1, value); }

int TChartValueList::IndexOfValueBetween(int first, int last, double value) const {
  first = std::max(first, 0);
  last = std::min(last, count_ - 1);
  for (int i = first; i <= last; ++i)
    if (vals()[i] == value) return i;
  return -1;
}

void TChartValueList::RefreshStatistics() {
  count_ = std::min(count_, capacity_);
  if (count_ <= 0) {
    minimum_ = maximum_ = total_ = totalAbs_ = 0;
  } else {
    minimum_ = maximum_ = total_ = vals()[0];
    totalAbs_ = std::fabs(vals()[0]);
    for (int i = 1; i < count_; ++i) {
      const double x = vals()[i];
      if (x < minimum_) {
        minimum_ = x;
      } else if (x > maximum_) {
        maximum_ = x;
      }
      total_ += x;
      totalAbs_ += std::fabs(x);
    }
  }
  modified_ = false;
}

double TChartValueList::Maximum() {
  if (modified_) RefreshStatistics();
  return maximum_;
}

double TChartValueList::Minimum() {
  if (modified_) RefreshStatistics();
  return minimum_;
}

double TChartValueList::Sum() {
  if (modified_) RefreshStatistics();
  return total_;
}

double TChartValueList::TotalAbsolute() {
  if (modified_) RefreshStatistics();
  return totalAbs_;
}

double TChartValueList::Range() {
  if (modified_) RefreshStatistics();
  return maximum_ - minimum_;
}

void TChartValueList::RotateLeft() {
  if (count_ < 2) return;
  std::rotate(values_.get(), values_.get() + 1, values_.get() + count_);
}

void TChartValueList::SwapValues(int i, int j) {
  if (i < 0 || j < 0 || i >= count_ || j >= count_) return;
  std::swap(vals()[i], vals()[j]);
  modified_ = true;
}

void TChartValueList::Exchange(int i, int j) {
  if (i < 0 || j < 0 || i >= count_ || j >= count_) return;
  SwapValues(i, j);
  if (owner_) owner_->NotifyLinkedSeries(veModify, i);
}

void TChartValueList::NumberSequentially() {
  for (int i = 0; i < count_; ++i) vals()[i] = i;
  modified_ = true;
  if (owner_) owner_->NotifyLinkedSeries(veModify, 0);
}

int TChartValueList::CompareValues(int i, int j) const {
  const double a = vals()[i], b = vals()[j];
  const int r = a < b ? -1 : a > b ? 1 : 0;
  return order_ == loDescending ? -r : r;
}

void TChartValueList::SortPoints() {
  if (order_ == loNone || count_ < 2) return;
  auto compare = [this](int i, int j) { return CompareValues(i, j); };
  if (owner_) {
    // The series moves every list, colour and label of a point together. Linked series hear
    // of the new order once, after the sort, rather than once per exchange.
    SortWithCallbacks(0, count_ - 1, compare, [this](int i, int j) { owner_->SwapPoints(i, j); });
    owner_->NotifyLinkedSeries(veModify, 0);
  } else {
    SortWithCallbacks(0, count_ - 1, compare, [this](int i, int j) { SwapValues(i, j); });
  }
}

void TChartValueList::SetDateTime(bool value) {
  if (owner_) {
    owner_->SetBooleanProperty(dateTime_, value);
  } else {
    dateTime_ = value;
  }
}

void TChartValueList::SetValueSource(const std::string& source) {
  if (valueSource_ == source) return;
  valueSource_ = source;
  if (owner_) owner_->CheckDataSource();
}

void TChartValueList::CopyFrom(const TChartValueList& source) {
  order_ = source.order_;
  dateTime_ = source.dateTime_;
  valueSource_ = source.valueSource_;
}

std::string TChartValueList::ObsoleteMultiplierMessage(double value) {
  if (value == 1) return {};
  return "Error: Multiplier property is obsolete.\rModify PlotDefs.inc (enable Multiplier) and recompile.";
}

}  // namespace chart
