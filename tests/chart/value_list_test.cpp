// Value lists: ordered insertion, lazily refreshed statistics, growth by the step, and the
// changing operations' limits.
#include <gtest/gtest.h>

#include <vector>

#include "chart/value_list.h"

using namespace chart;

namespace {

std::vector<double> ValuesOf(const TChartValueList& list) {
  return {list.Values().begin(), list.Values().end()};
}

}  // namespace

TEST(ValueList, OrderedInsertionKeepsEqualValuesInArrivalOrder) {
  const struct {
    TChartListOrder order;
    std::vector<double> start, add;
    std::vector<int> indexes;
    std::vector<double> values;
  } kCases[] = {
      {loAscending, {}, {5, 3, 3, 9}, {0, 0, 1, 3}, {3, 3, 5, 9}},
      {loNone, {}, {5, 3, 3, 9}, {0, 1, 2, 3}, {5, 3, 3, 9}},
      {loDescending, {9, 5, 2}, {2}, {3}, {9, 5, 2, 2}},
      {loDescending, {}, {5, 9, 5, 7}, {0, 0, 2, 1}, {9, 7, 5, 5}},
      {loAscending, {1, 2, 2, 4}, {2, 0, 5}, {3, 0, 6}, {0, 1, 2, 2, 2, 4, 5}},
  };
  for (const auto& c : kCases) {
    TChartValueList list(nullptr, "X");
    for (double v : c.start) list.AddValue(v);
    list.SetOrder(c.order);
    std::vector<int> got;
    for (double v : c.add) got.push_back(list.AddValue(v));
    EXPECT_EQ(got, c.indexes);
    EXPECT_EQ(ValuesOf(list), c.values);
  }
}

TEST(ValueList, StatisticsFollowEveryChangeOnTheNextRead) {
  TChartValueList list(nullptr, "Y");
  EXPECT_EQ(list.Minimum(), 0);
  EXPECT_EQ(list.Maximum(), 0);
  EXPECT_EQ(list.Sum(), 0);
  EXPECT_EQ(list.TotalAbsolute(), 0);
  EXPECT_EQ(list.Range(), 0);

  list.AddValue(-2);
  list.AddValue(3);
  EXPECT_EQ(list.Sum(), 1);
  EXPECT_EQ(list.TotalAbsolute(), 5);
  EXPECT_EQ(list.Range(), 5);

  list.AddValue(10);
  EXPECT_EQ(list.Maximum(), 10);
  list.Delete(2);
  EXPECT_EQ(list.Maximum(), 3);
  list.SetValue(0, -7);
  EXPECT_EQ(list.Minimum(), -7);
  EXPECT_EQ(list.Sum(), -4);
  list.ClearValues();
  EXPECT_EQ(list.Maximum(), 0);
  EXPECT_EQ(list.TotalAbsolute(), 0);
}

TEST(ValueList, GrowsByTheStepAndReleasesOnClear) {
  TChartValueList list(nullptr, "X");
  EXPECT_EQ(list.Capacity(), 0);
  list.AddValue(0);
  EXPECT_EQ(list.Capacity(), 1000);
  for (int i = 1; i < 1000; ++i) list.AddValue(i);
  EXPECT_EQ(list.Capacity(), 1000);
  list.AddValue(1000);  // the 1001st value
  EXPECT_EQ(list.Capacity(), 2000);
  EXPECT_EQ(list.Count(), 1001);
  // An insertion at the front of a full array grows it too.
  for (int i = list.Count(); i < 2000; ++i) list.AddValue(i);
  list.InsertValue(0, -1);
  EXPECT_EQ(list.Capacity(), 3000);
  EXPECT_EQ(list.First(), -1);
  EXPECT_EQ(list.Last(), 1999);
  list.ClearValues();
  EXPECT_EQ(list.Capacity(), 0);
  list.AddValue(1);
  EXPECT_EQ(list.Capacity(), 1000);
}

TEST(ValueList, DeleteRangeStopsAtTheLastValue) {
  const struct {
    int start, number;
    std::vector<double> left;
  } kCases[] = {
      {1, 2, {0, 3, 4}},
      {3, 10, {0, 1, 2}},
      {0, 5, {}},
      {5, 1, {0, 1, 2, 3, 4}},
      {-1, 2, {0, 1, 2, 3, 4}},
      {1, -2, {0, 1, 2, 3, 4}},
      {2, 0x7FFFFFFF, {0, 1}},
  };
  for (const auto& c : kCases) {
    TChartValueList list(nullptr, "Y");
    for (int i = 0; i < 5; ++i) list.AddValue(i);
    list.DeleteRange(c.start, c.number);
    EXPECT_EQ(ValuesOf(list), c.left) << c.start << " " << c.number;
    EXPECT_EQ(list.Sum(), [&] {
      double s = 0;
      for (double v : c.left) s += v;
      return s;
    }());
  }
}

TEST(ValueList, SearchRotateExchangeNumberAndSort) {
  TChartValueList list(nullptr, "Y");
  for (double v : {4.0, 7.0, 4.0, 1.0}) list.AddValue(v);
  EXPECT_EQ(list.IndexOfValue(4), 0);
  EXPECT_EQ(list.IndexOfValueBetween(1, 3, 4), 2);
  EXPECT_EQ(list.IndexOfValueBetween(1, 1, 4), -1);
  EXPECT_EQ(list.IndexOfValue(9), -1);

  list.RotateLeft();
  EXPECT_EQ(ValuesOf(list), (std::vector<double>{7, 4, 1, 4}));
  list.Exchange(0, 2);
  EXPECT_EQ(ValuesOf(list), (std::vector<double>{1, 4, 7, 4}));
  EXPECT_EQ(list.Maximum(), 7);

  list.SetOrder(loDescending);
  EXPECT_EQ(list.CompareValues(0, 1), 1);
  list.SortPoints();
  EXPECT_EQ(ValuesOf(list), (std::vector<double>{7, 4, 4, 1}));
  list.SetOrder(loAscending);
  EXPECT_EQ(list.CompareValues(0, 1), 1);
  EXPECT_EQ(list.CompareValues(1, 2), 0);
  list.SortPoints();
  EXPECT_EQ(ValuesOf(list), (std::vector<double>{1, 4, 4, 7}));

  list.NumberSequentially();
  EXPECT_EQ(ValuesOf(list), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(list.Sum(), 6);
}

TEST(ValueList, CopyFromTakesTheSettingsNotTheValues) {
  TChartValueList source(nullptr, "X"), target(nullptr, "Y");
  source.SetOrder(loDescending);
  source.SetDateTime(true);
  source.SetValueSource("Field1");
  source.AddValue(5);
  target.AddValue(1);
  target.AddValue(2);
  target.CopyFrom(source);
  EXPECT_EQ(target.Order(), loDescending);
  EXPECT_TRUE(target.DateTime());
  EXPECT_EQ(target.ValueSource(), "Field1");
  EXPECT_EQ(target.Name(), "Y");
  EXPECT_EQ(ValuesOf(target), (std::vector<double>{1, 2}));
}

TEST(ValueList, ObsoleteMultiplierIsIgnoredWithAMessageUnlessOne) {
  EXPECT_EQ(TChartValueList::ObsoleteMultiplierMessage(1), "");
  EXPECT_EQ(TChartValueList::ObsoleteMultiplierMessage(2.5),
            "Error: Multiplier property is obsolete.\rModify PlotDefs.inc (enable Multiplier) and recompile.");
}
