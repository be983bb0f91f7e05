// Palette, date-time steps, axis steps, the callback sort, hit tests and stored-data flags.
#include <gtest/gtest.h>

#include <QObject>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "chart/procs.h"
#include "chart/unit.h"

using namespace chart;

namespace {

class ProcsPalette : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

double Date(int y, int m, int d, double hours = 0) { return EncodeDate(y, m, d) + hours / 24.0; }

}  // namespace

TEST_F(ProcsPalette, PaletteWrapsAndCanBeReplacedAndRestored) {
  EXPECT_EQ(DefaultPaletteColor(0), clRed);
  EXPECT_EQ(DefaultPaletteColor(21), clGreen);
  EXPECT_EQ(DefaultPaletteColor(19), 0xA4A0A0u);
  EXPECT_EQ(DefaultPaletteColor(-1), 0xA4A0A0u);  // never outside the table
  SetDefaultPalette({clBlue, clWhite, clBlack}, 1);
  EXPECT_EQ(DefaultPaletteColor(0), clBlue);
  EXPECT_EQ(DefaultPaletteColor(3), clWhite);
  SetDefaultPalette({clBlue}, 0);
  EXPECT_EQ(DefaultPaletteColor(1), clGreen);
  EXPECT_EQ(ScreenCursor(crChartHand), Qt::PointingHandCursor);
}

TEST(ProcsUnit, ShutdownClearsThePaletteAndTheCursor) {
  PlotProcsStartup();
  PlotProcsShutdown();
  EXPECT_EQ(DefaultPaletteColor(3), clBlack);
  EXPECT_FALSE(ScreenCursor(crChartHand).has_value());
}

TEST(Procs, NextAxisStepTable) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double x, step;
  } kCases[] = {
      {1, 2},     {1.5, 2},   {2, 5},     {3, 5},      {5, 10},    {7, 10},  {9.99, 10}, {10, 20},
      {20, 50},   {250, 500}, {0.3, 0.5}, {0.07, 0.1}, {0.02, 0.05}, {1e6, 2e6}, {inf, 1},
      // No step exists below these: 1 as for an infinite value, never an endless search.
      {0, 1}, {-3, 1}, {std::nan(""), 1}, {-inf, 1},
  };
  for (const auto& c : kCases) EXPECT_NEAR(NextAxisStep(c.x), c.step, c.step * 1e-12) << c.x;
  EXPECT_GT(NextAxisStep(1e-300), 1e-300);
  EXPECT_GT(NextAxisStep(1e300), 1e300);
}

TEST(Procs, DateTimeStepsFindLargerAndTruncate) {
  EXPECT_EQ(FindDateTimeStep(1.0), dtOneDay);
  EXPECT_EQ(FindDateTimeStep(0.7), dtNone);
  EXPECT_EQ(FindDateTimeStep(365), dtOneYear);
  EXPECT_EQ(FindDateTimeStep(1.0 / 86400), dtOneSecond);
  EXPECT_EQ(FindDateTimeStep(1.0 / 86400 + 0.5e-6 / 86400), dtOneSecond);
  EXPECT_DOUBLE_EQ(LargerDateTimeStep(1.0), 2.0);
  EXPECT_DOUBLE_EQ(LargerDateTimeStep(1.5), 2.0);
  EXPECT_DOUBLE_EQ(LargerDateTimeStep(182), 365.0);
  EXPECT_DOUBLE_EQ(LargerDateTimeStep(1000), 365.0);  // past the table
  EXPECT_DOUBLE_EQ(LargerDateTimeStep(0), 365.0);     // below every step
  EXPECT_DOUBLE_EQ(LargerDateTimeStep(1.0 / 86400), 5.0 / 86400);

  const struct {
    TDateTimeStep step;
    double date, truncated;
  } kTrunc[] = {
      {dtOneMonth, Date(1995, 3, 17, 12), Date(1995, 3, 1)},
      {dtSixMonths, Date(1995, 3, 17, 12), Date(1995, 3, 1)},
      {dtHalfMonth, Date(1995, 3, 14, 6), Date(1995, 3, 1)},
      {dtHalfMonth, Date(1995, 3, 15, 6), Date(1995, 3, 15)},
      {dtHalfMonth, Date(1995, 3, 31), Date(1995, 3, 15)},
      {dtOneYear, Date(1995, 7, 4, 3), Date(1995, 1, 1)},
      {dtOneDay, Date(1995, 7, 4, 3), Date(1995, 7, 4)},
      {dtOneMonth, Date(1900, 1, 1), Date(1900, 1, 1)},  // 1900-01-01 and before stay
      {dtOneMonth, Date(1899, 12, 31, 12), Date(1899, 12, 31, 12)},
      {dtOneMonth, Date(1900, 1, 1, 12), Date(1900, 1, 1)},
  };
  for (const auto& c : kTrunc) EXPECT_DOUBLE_EQ(TruncToDateTimeStep(c.step, c.date), c.truncated) << c.date;
}

TEST(Procs, AdvanceDateTimeByTheCalendar) {
  const struct {
    TDateTimeStep step;
    bool forward;
    double from, to;
  } kCases[] = {
      {dtOneMonth, true, Date(1995, 1, 31), Date(1995, 2, 1)},
      {dtOneMonth, true, Date(1995, 12, 10), Date(1996, 1, 1)},
      {dtThreeMonths, true, Date(1995, 11, 1), Date(1996, 2, 1)},
      {dtSixMonths, false, Date(1995, 3, 1), Date(1994, 9, 1)},
      {dtTwoMonths, false, Date(1995, 2, 20), Date(1994, 12, 1)},
      {dtFourMonths, false, Date(1995, 5, 1), Date(1995, 1, 1)},
      {dtOneYear, true, Date(1995, 3, 17), Date(1996, 3, 17)},
      {dtOneYear, false, Date(1995, 3, 17), Date(1994, 3, 17)},
      {dtOneYear, true, Date(1996, 2, 29), Date(1997, 2, 28)},  // no 29 February in 1997
      // Half months forward: days 1-14 to the 15th, the 15th on to the 1st of the next month.
      {dtHalfMonth, true, Date(1995, 3, 1), Date(1995, 3, 15)},
      {dtHalfMonth, true, Date(1995, 3, 14), Date(1995, 3, 15)},
      {dtHalfMonth, true, Date(1995, 3, 15), Date(1995, 4, 1)},
      {dtHalfMonth, true, Date(1995, 12, 20), Date(1996, 1, 1)},
      // Backward: days 2-15 to the 1st, the 16th on to the 15th, the 1st to the 15th before.
      {dtHalfMonth, false, Date(1995, 3, 15), Date(1995, 3, 1)},
      {dtHalfMonth, false, Date(1995, 3, 2), Date(1995, 3, 1)},
      {dtHalfMonth, false, Date(1995, 3, 16), Date(1995, 3, 15)},
      {dtHalfMonth, false, Date(1995, 1, 1), Date(1994, 12, 15)},
      {dtOneDay, true, Date(1995, 3, 1, 6), Date(1995, 3, 2, 6)},
  };
  for (const auto& c : kCases) {
    EXPECT_DOUBLE_EQ(AdvanceDateTime(true, c.forward, c.from, c.step, DateTimeStep[c.step]), c.to)
        << c.step << (c.forward ? " forward from " : " back from ") << c.from;
  }
  EXPECT_DOUBLE_EQ(AdvanceDateTime(false, true, 100, dtOneMonth, 2.5), 102.5);
  EXPECT_DOUBLE_EQ(AdvanceDateTime(false, false, 100, dtOneMonth, 2.5), 97.5);
  EXPECT_EQ(&DateTimeFormatFor(1.5), &ShortDateFormat);
  EXPECT_EQ(&DateTimeFormatFor(1.0), &ShortTimeFormat);
}

TEST(Procs, SortWithCallbacksSortsAndCallsOnlyInRange) {
  std::mt19937 rng(7);
  for (int n : {0, 1, 2, 3, 10, 257}) {
    for (int round = 0; round < 20; ++round) {
      std::vector<int> v(static_cast<size_t>(n));
      for (int& x : v) x = static_cast<int>(rng() % 9);  // many equal keys
      bool inRange = true;
      auto check = [&](int i) { inRange = inRange && i >= 0 && i < n; };
      SortWithCallbacks(
          0, n - 1,
          [&](int i, int j) {
            check(i);
            check(j);
            return v[static_cast<size_t>(i)] - v[static_cast<size_t>(j)];
          },
          [&](int i, int j) {
            check(i);
            check(j);
            std::swap(v[static_cast<size_t>(i)], v[static_cast<size_t>(j)]);
          });
      EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << n;
      EXPECT_TRUE(inRange);
    }
  }
  // A compare that contradicts itself neither hangs nor leaves the range.
  int calls = 0;
  SortWithCallbacks(0, 9, [&](int i, int j) { ++calls; EXPECT_TRUE(i >= 0 && i <= 9 && j >= 0 && j <= 9); return -1; },
                    [](int, int) {});
  EXPECT_GT(calls, 0);
}

TEST(Procs, HitTests) {
  EXPECT_DOUBLE_EQ(PointToSegmentDistance({3, 4}, {0, 0}, {0, 0}), 5);
  EXPECT_DOUBLE_EQ(PointToSegmentDistance({5, 3}, {0, 0}, {10, 0}), 3);
  EXPECT_DOUBLE_EQ(PointToSegmentDistance({-3, 4}, {0, 0}, {10, 0}), 5);
  EXPECT_DOUBLE_EQ(PointToSegmentDistance({13, 4}, {0, 0}, {10, 0}), 5);
  EXPECT_TRUE(IsPointNearSegment({5, 3}, {0, 0}, {10, 0}, 2));
  EXPECT_FALSE(IsPointNearSegment({5, 4}, {0, 0}, {10, 0}, 2));
  EXPECT_TRUE(IsPointNearSegmentExact({5, 1}, {0, 0}, {10, 0}));
  EXPECT_FALSE(IsPointNearSegmentExact({5, 2}, {0, 0}, {10, 0}));
  EXPECT_TRUE(IsPointNearSegmentExact({7, 7}, {7, 7}, {7, 7}));

  const std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(IsPointInPolygon({5, 5}, square));
  EXPECT_TRUE(IsPointInPolygon({0, 0}, square));    // top-left edge belongs in
  EXPECT_FALSE(IsPointInPolygon({10, 5}, square));  // right edge does not
  EXPECT_FALSE(IsPointInPolygon({5, 10}, square));
  EXPECT_FALSE(IsPointInPolygon({5, 5}, std::vector<TPoint>{}));
  // Even-odd: the inner square of a doubled outline is outside.
  const std::vector<TPoint> star = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
  EXPECT_FALSE(IsPointInPolygon({10, 10}, star));
  EXPECT_TRUE(IsPointInPolygon({2, 10}, star));

  EXPECT_TRUE(IsPointInTriangle({10, 8}, 0, 20, 0, 10));
  EXPECT_FALSE(IsPointInTriangle({2, 2}, 0, 20, 0, 10));

  EXPECT_TRUE(IsPointInEllipse({10, 5}, {0, 0, 20, 10}));
  EXPECT_TRUE(IsPointInEllipse({0, 5}, {0, 0, 20, 10}));
  EXPECT_FALSE(IsPointInEllipse({1, 1}, {0, 0, 20, 10}));
  EXPECT_FALSE(IsPointInEllipse({0, 0}, {0, 0, 1, 10}));  // flat: never inside
}

TEST(Procs, ComponentNamesAndCharacterReplacement) {
  QObject owner;
  auto* a = new QObject(&owner);
  a->setObjectName("Series1");
  auto* b = new QObject(&owner);
  b->setObjectName("SERIES2");
  EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series3");
  EXPECT_EQ(UniqueComponentName(&owner, "Chart"), "Chart1");
  EXPECT_EQ(UniqueComponentName(nullptr, "Series"), "Series1");
  EXPECT_EQ(ReplaceCharInString("a,b,,c", ',', ';'), "a;b;;c");
  EXPECT_EQ(ReplaceCharInString("a,b,,c", ',', '\0'), "abc");
}

TEST(Procs, SeriesDataStreamFlags) {
  const std::vector<double> plain = {0, 1, 2, 3}, moved = {1, 2, 3, 4}, gap = {0, 1, 5, 3};
  const std::vector<TColor> defaults = {clDefault, clDefault, clDefault, clDefault};
  const std::vector<TColor> own = {clDefault, clRed, clDefault, clDefault};
  const std::vector<TColor> seriesColored = {clBlue, clBlue, clDefault, clDefault};
  const std::vector<std::string> noLabels = {"", "", "", ""}, labels = {"", "", "", "Apr"};
  const struct {
    const std::vector<double>* x;
    bool xStored;
    const std::vector<TColor>* colors;
    const std::vector<std::string>* labels;
    bool marks;
    uint8_t flags;
  } kCases[] = {
      {&plain, true, &defaults, &noLabels, false, 0},
      {&moved, true, &defaults, &noLabels, false, kDataHasX},
      {&gap, true, &defaults, &noLabels, false, kDataHasX},
      {&gap, false, &defaults, &noLabels, false, 0},
      {&plain, true, &own, &noLabels, false, kDataHasColors},
      {&plain, true, &seriesColored, &noLabels, false, 0},  // the series' own colour is not stored
      {&plain, true, &own, &labels, false, kDataHasColors | kDataHasLabels},
      {&plain, true, &defaults, &noLabels, true, kDataHasMarkPositions},
  };
  for (const auto& c : kCases) {
    SeriesDataFacts f;
    f.xStored = c.xStored;
    f.xValues = *c.x;
    f.colors = *c.colors;
    f.seriesColor = clBlue;
    f.labels = *c.labels;
    f.customMarkPositions = c.marks;
    EXPECT_EQ(SeriesDataStreamFlags(f), c.flags);
  }
  // The program's bar series: 12 points with colours and labels, X the plain sequence.
  std::vector<double> x(12);
  std::vector<TColor> colors(12, clAqua);
  std::vector<std::string> months(12, "month");
  for (int i = 0; i < 12; ++i) x[static_cast<size_t>(i)] = i;
  SeriesDataFacts bars;
  bars.xValues = x;
  bars.colors = colors;
  bars.labels = months;
  EXPECT_EQ(SeriesDataStreamFlags(bars), 6);
  EXPECT_EQ(SeriesDataStreamFlags(SeriesDataFacts{}), 0);
  // Late differences count as much as early ones: a label at 150, an X value or a colour at
  // 15,000.
  std::vector<double> many(20000);
  for (int i = 0; i < 20000; ++i) many[static_cast<size_t>(i)] = i;
  std::vector<std::string> late(200);
  late[150] = "late";
  SeriesDataFacts lateLabels;
  lateLabels.xValues = many;
  lateLabels.labels = late;
  EXPECT_EQ(SeriesDataStreamFlags(lateLabels), kDataHasLabels);
  std::vector<TColor> lateColor(20000, clDefault);
  lateColor[15000] = clRed;
  SeriesDataFacts lateColors;
  lateColors.xValues = many;
  lateColors.colors = lateColor;
  EXPECT_EQ(SeriesDataStreamFlags(lateColors), kDataHasColors);
  many[15000] = 15000.5;
  SeriesDataFacts lateX;
  lateX.xValues = many;
  EXPECT_EQ(SeriesDataStreamFlags(lateX), kDataHasX);
}
