// Series functions: the period walk (points, ranges, alignment), the whole source, several
// sources, periods that would never move on, and recomputation when the source changes.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "chart/errors.h"
#include "chart/functions.h"
#include "chart/series.h"
#include "chart/unit.h"

using namespace chart;

namespace {

// The mean of the main values of a run, or across sources at one index.
class MeanFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  double Calculate(TChartSeries* s, int first, int last) override {
    if (first < 0) {
      first = 0;
      last = s->PointCount() - 1;
    }
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += s->MandatoryValueList().ValueAt(i);
    return sum / (last - first + 1);
  }
  double CalculateMany(const std::vector<TChartSeries*>& sources, int index) override {
    double sum = 0;
    int n = 0;
    for (TChartSeries* s : sources) {
      if (index < s->PointCount()) {
        sum += s->YValue(index);
        ++n;
      }
    }
    return n ? sum / n : 0;
  }
};

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TChartSeries& s) {
  Points p;
  for (int i = 0; i < s.PointCount(); ++i) p.emplace_back(s.XValue(i), s.YValue(i));
  return p;
}

class FunctionTest : public ::testing::Test {
 protected:
  // The source holds (x, y) pairs; the result series computes the mean with `setup`.
  Points Run(const Points& source, double period, TFunctionPeriodStyle style = psNumPoints,
             TFunctionPeriodAlign align = paCenter, bool singlePoint = true) {
    TChartSeries src, result;
    for (const auto& [x, y] : source) src.AddPoint(x, y);
    auto* f = new MeanFunction(&result);
    f->SetPeriod(period);
    f->SetPeriodStyle(style);
    f->SetPeriodAlign(align);
    result.SetSinglePointFunction(singlePoint);
    result.SetFunction(f);
    result.SetDataSource(&src);
    return PointsOf(result);
  }

  ChartLibraryScope scope_;
};

}  // namespace

TEST_F(FunctionTest, PeriodsOfPointsAndRanges) {
  const Points seven = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}};
  const Points tens = {{10, 1}, {20, 2}, {30, 6}};
  const struct {
    const char* name;
    Points source;
    double period;
    TFunctionPeriodStyle style;
    TFunctionPeriodAlign align;
    bool singlePoint;
    Points expected;
  } kCases[] = {
      // Index 6 alone is an incomplete group: nothing.
      {"3 of 7", seven, 3, psNumPoints, paCenter, true, {{1, 2}, {4, 5}}},
      {"centre", tens, 3, psNumPoints, paCenter, true, {{20, 3}}},
      {"first", tens, 3, psNumPoints, paFirst, true, {{10, 3}}},
      {"last", tens, 3, psNumPoints, paLast, true, {{30, 3}}},
      {"whole source", tens, 0, psNumPoints, paCenter, true, {{20, 3}}},
      {"whole source, two points", tens, 0, psNumPoints, paCenter, false, {{10, 3}, {30, 3}}},
      // Ranges 10-20, 20-30 (empty: value 0) ... ; each at its middle, its end a thousandth short.
      {"ranges", {{10, 2}, {12, 4}, {31, 9}}, 10, psRange, paFirst, true, {{10, 3}, {20, 0}, {30, 9}}},
      {"range centre", {{0, 2}, {4, 4}}, 5, psRange, paCenter, true, {{(0 + 4.995) / 2, 3}}},
      // A period below half a point: groups of one point, every point.
      {"period 0.3", tens, 0.3, psNumPoints, paCenter, true, {{10, 1}, {20, 2}, {30, 6}}},
      // A range too small to move the boundary past 1e20: the walk ends.
      {"range that cannot move", {{1e20, 1}, {1e20, 2}}, 1, psRange, paCenter, true, {}},
      {"no points", {}, 3, psNumPoints, paCenter, true, {}},
      // A gap of a thousand billion periods: the first range, then the empty ones up to the limit.
      {"range walk over a huge gap", {{0, 4}, {1e12, 5}}, 1, psRange, paFirst, true, [] {
         Points p = {{0, 4}};
         for (int i = 1; i <= kMaxEmptyRanges; ++i) p.emplace_back(i, 0);
         return p;
       }()},
      {"no points, whole", {}, 0, psNumPoints, paCenter, true, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.source, c.period, c.style, c.align, c.singlePoint), c.expected);
  }
}

TEST_F(FunctionTest, NegativePeriodRaisesAndKeepsThePeriod) {
  MeanFunction f;
  f.SetPeriod(2);
  try {
    f.SetPeriod(-1);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Function Period should be >= 0");
  }
  EXPECT_EQ(f.Period(), 2);
  EXPECT_EQ(f.EditorClassName(), "TPlotFunctionEditor");
}

TEST_F(FunctionTest, MeanOverTwoSourcesFollowsTheLongerOne) {
  TChartSeries a, b, mean;
  a.AddY(2, "jan");
  a.AddY(4, "feb");
  b.AddY(6, "x");
  b.AddY(8, "y");
  b.AddY(10, "z");
  mean.SetFunction(new MeanFunction(&mean));
  mean.AddDataSource(&a);
  mean.AddDataSource(&b);
  EXPECT_EQ(PointsOf(mean), (Points{{0, 4}, {1, 6}, {2, 10}}));
  EXPECT_EQ(mean.XLabel(2), "z");
  EXPECT_EQ(mean.DataSourceNames().size(), 2u);
  EXPECT_TRUE(mean.IsDataSourcesStored());
  EXPECT_FALSE(mean.ManualData());
}

TEST_F(FunctionTest, TheResultFollowsItsSource) {
  TChartSeries src, result;
  src.AddY(1);
  src.AddY(3);
  auto* f = new MeanFunction(&result);
  result.SetFunction(f);
  result.SetDataSource(&src);
  EXPECT_EQ(PointsOf(result), (Points{{0.5, 2}}));
  src.AddY(5);
  EXPECT_EQ(PointsOf(result), (Points{{1, 3}}));
  src.SetYValue(0, 4);
  EXPECT_EQ(PointsOf(result), (Points{{1, 4}}));
  src.Delete(2);
  EXPECT_EQ(PointsOf(result), (Points{{0.5, 3.5}}));
  f->SetPeriod(1);
  EXPECT_EQ(PointsOf(result), (Points{{0, 4}, {1, 3}}));
  src.RemoveAllPoints();
  EXPECT_EQ(result.PointCount(), 0);

  // A series given a function drops the points it held: they are computed from now on.
  TChartSeries held;
  held.AddY(1);
  held.SetFunction(new MeanFunction(&held));
  EXPECT_EQ(held.PointCount(), 0);
  EXPECT_FALSE(held.IsDataStored());

  // Moving the function to another series, or freeing it, detaches it.
  TChartSeries other;
  f->SetParentSeries(&other);
  EXPECT_EQ(result.FunctionType(), nullptr);
  EXPECT_EQ(other.FunctionType(), f);
  delete f;
  EXPECT_EQ(other.FunctionType(), nullptr);
}
