// Axis arithmetic: value-pixel mapping, margins, steps, label walks, minor ticks and spacing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/axis_scale.h"
#include "chart/procs.h"
#include "platform/text_format.h"

using namespace chart;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ScaleSpec {
  bool horizontal = true, inverted = false, logarithmic = false, depth = false;
  int start = 0, end = 0;
  double min = 0, max = 0;
};

TAxisScale MakeScale(const ScaleSpec& s) {
  TAxisScale scale;
  scale.horizontal = s.horizontal;
  scale.inverted = s.inverted;
  scale.logarithmic = s.logarithmic;
  scale.depth = s.depth;
  scale.startPixel = s.start;
  scale.endPixel = s.end;
  scale.SetEnds(s.min, s.max);
  return scale;
}

std::string AxisText(double v) { return platform::FormatFloatMask("#,##0.###", v).value_or(""); }

}  // namespace

TEST(AxisScale, ValueToPixelCases) {
  struct Case {
    const char* what;
    ScaleSpec scale;
    double value;
    int pixel;
  } cases[] = {
      {"horizontal", {true, false, false, false, 100, 500, 0, 10}, 2.5, 200},
      {"horizontal inverted", {true, true, false, false, 100, 500, 0, 10}, 2.5, 400},
      {"vertical", {false, false, false, false, 50, 250, 0, 100}, 25, 200},
      {"vertical inverted", {false, true, false, false, 50, 250, 0, 100}, 25, 100},
      {"zero range gives the centre", {true, false, false, false, 100, 501, 5, 5}, 123, 300},
      {"halves round to even", {true, false, false, false, 0, 100, 0, 200}, 5, 2},
      {"halves round to even (odd)", {true, false, false, false, 0, 100, 0, 200}, 7, 4},
      {"beyond the maximum", {true, false, false, false, 100, 500, 0, 10}, 20, 900},
      {"logarithmic", {true, false, true, false, 0, 300, 1, 1000}, 10, 100},
      {"logarithmic zero value at the start", {true, false, true, false, 0, 300, 1, 1000}, 0, 0},
      {"logarithmic inverted", {true, true, true, false, 0, 300, 1, 1000}, 10, 200},
      {"logarithmic inverted zero value at the end", {true, true, true, false, 0, 300, 1, 1000}, -5, 300},
      {"logarithmic vertical", {false, false, true, false, 0, 300, 1, 1000}, 10, 200},
      {"logarithmic vertical zero value at the end", {false, false, true, false, 0, 300, 1, 1000}, 0, 300},
      {"logarithmic vertical inverted", {false, true, true, false, 0, 300, 1, 1000}, 10, 100},
      {"logarithmic zero log range", {true, false, true, false, 0, 300, 5, 5}, 7, 150},
      {"depth", {false, false, false, true, 0, 100, 0, 10}, 2.5, 25},
      {"depth inverted", {false, true, false, true, 0, 100, 0, 10}, 2.5, 75},
      {"depth zero range", {false, false, false, true, 0, 100, 3, 3}, 9, 50},
      {"not a number lands on the start", {true, false, false, false, 100, 500, 0, 10}, kNaN, 100},
  };
  for (const Case& c : cases) {
    const TAxisScale scale = MakeScale(c.scale);
    EXPECT_EQ(scale.ValueToPixel(c.value), c.pixel) << c.what;
    EXPECT_EQ(scale.ValueToPixelExact(c.value), c.pixel) << c.what;
  }
}

TEST(AxisScale, ClippedMappingStopsAtThePixelLimitAndTheExactOneSaturates) {
  TAxisScale scale = MakeScale({true, false, false, false, 0, 100, 0, 1e-300});
  EXPECT_EQ(scale.ValueToPixelClipped(1), 67108863);
  EXPECT_EQ(scale.ValueToPixelClipped(-1), -67108863);
  EXPECT_EQ(scale.ValueToPixelExact(1), std::numeric_limits<int>::max());
  EXPECT_EQ(scale.ValueToPixelExact(-1), std::numeric_limits<int>::min());
  EXPECT_EQ(scale.ValueToPixel(kInf), 67108863);
  scale.fastCalc = true;
  EXPECT_EQ(scale.ValueToPixel(1), std::numeric_limits<int>::max());
  // A vertical axis maps downwards from its end: the clip applies to the offset.
  const TAxisScale vertical = MakeScale({false, false, false, false, 0, 300, 0, 1e-300});
  EXPECT_EQ(vertical.ValueToPixelClipped(1), 300 - 67108863);
}

TEST(AxisScale, PixelToValueInvertsTheMappingWithinHalfAPixel) {
  const ScaleSpec specs[] = {
      {true, false, false, false, 100, 500, 0, 10},    {true, true, false, false, 100, 500, -3, 7},
      {false, false, false, false, 50, 250, 0, 100},   {false, true, false, false, 50, 250, -2000, 4000},
      {true, false, true, false, 0, 300, 1, 1000},     {true, true, true, false, 10, 310, 0.5, 5000},
      {false, false, true, false, 0, 300, 1, 1000},    {false, true, true, false, 20, 240, 2, 2e6},
      {false, false, false, true, 0, 90, 0, 12},       {false, true, false, true, 0, 90, -0.5, 2.5},
  };
  for (const ScaleSpec& spec : specs) {
    const TAxisScale scale = MakeScale(spec);
    for (int p = spec.start; p <= spec.end; ++p) {
      ASSERT_EQ(scale.ValueToPixel(scale.PixelToValue(p)), p) << spec.start << " " << spec.min;
    }
    for (int k = 0; k <= 50; ++k) {
      const double v = spec.logarithmic ? spec.min * std::pow(spec.max / spec.min, k / 50.0)
                                        : spec.min + (spec.max - spec.min) * k / 50.0;
      const int p = scale.ValueToPixel(v);
      // Half a pixel's worth of value either side (relative on logarithmic axes).
      if (spec.logarithmic) {
        EXPECT_NEAR(std::log(scale.PixelToValue(p)), std::log(v), 0.5 / scale.pixelsPerLogUnit + 1e-12);
      } else {
        EXPECT_NEAR(scale.PixelToValue(p), v, 0.5 / std::fabs(scale.pixelsPerUnit) + 1e-12);
      }
    }
  }
  // The exact ends of a logarithmic axis, and axes without pixels.
  const TAxisScale log = MakeScale({false, false, true, false, 0, 300, 1, 1000});
  EXPECT_EQ(log.PixelToValue(0), 1000);
  EXPECT_EQ(log.PixelToValue(300), 1);
  EXPECT_EQ(MakeScale({true, false, false, false, 100, 100, 0, 10}).PixelToValue(100), 0);
  EXPECT_EQ(MakeScale({true, false, true, false, 100, 100, 1, 10}).PixelToValue(100), 1);
}

TEST(AxisScale, MarginsWidenTheEndsOnTheirOwnSides) {
  struct Case {
    const char* what;
    ScaleSpec scale;
    int atMin, atMax;
    double min, max;
  } cases[] = {
      // Span 0..100 of 0..10 shrunk to 10..80: pixel 0 reads -10/7, pixel 100 reads 90/7.
      {"horizontal", {true, false, false, false, 0, 100, 0, 10}, 10, 20, -10.0 / 7, 90.0 / 7},
      {"horizontal inverted", {true, true, false, false, 0, 100, 0, 10}, 10, 20, -10.0 / 7, 90.0 / 7},
      {"vertical", {false, false, false, false, 0, 100, 0, 10}, 10, 20, -10.0 / 7, 90.0 / 7},
      {"vertical inverted", {false, true, false, false, 0, 100, 0, 10}, 10, 20, -10.0 / 7, 90.0 / 7},
      {"no margins", {true, false, false, false, 0, 100, 0, 10}, 0, 0, 0, 10},
      {"margins swallowing the span keep the ends", {true, false, false, false, 0, 100, 0, 10}, 60, 60, 0, 10},
  };
  for (const Case& c : cases) {
    TAxisScale scale = MakeScale(c.scale);
    scale.WidenByMargins(c.atMin, c.atMax);
    EXPECT_NEAR(scale.minimum, c.min, 1e-12) << c.what;
    EXPECT_NEAR(scale.maximum, c.max, 1e-12) << c.what;
    EXPECT_EQ(scale.startPixel, c.scale.start) << c.what;
    EXPECT_EQ(scale.endPixel, c.scale.end) << c.what;
    // The old ends now lie the margins inside the span.
    if (c.atMin + c.atMax < 100 && c.atMin + c.atMax > 0) {
      const bool minAtStart = c.scale.horizontal != c.scale.inverted;
      EXPECT_EQ(scale.ValueToPixel(0), minAtStart ? c.atMin : 100 - c.atMin) << c.what;
      EXPECT_EQ(scale.ValueToPixel(10), minAtStart ? 100 - c.atMax : c.atMax) << c.what;
    }
  }
}

TEST(AxisScale, LabelCountFromLabelSize) {
  struct Case {
    int axisSize, labelSize, separation, count;
  } cases[] = {
      {300, 0, 10, 1}, {300, -5, 10, 1}, {300, 30, 10, 9},  // 300 / 33
      {300, 30, 0, 10}, {300, 30, -10, 10}, {600, 25, 10, 22},  // 600 / (25 + round(2.5) = 2)
      {300, 1000, 10, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IncrementForLabelSize(c.axisSize, c.labelSize, c.separation), c.count)
        << c.axisSize << " " << c.labelSize << " " << c.separation;
  }
}

TEST(AxisScale, NumericSteps) {
  struct Case {
    const char* what;
    TNumericStep in;
    double step;
  } cases[] = {
      {"fixed increment that fits", {100, 600, 7}, 100},
      {"fixed increment that collides grows", {100, 600, 4}, 200},
      {"fixed 10 over -20..40", {10, 60, 9}, 10},
      {"fixed 1000 over -2000..4000", {1000, 6000, 8}, 1000},
      {"automatic", {0, 600, 5}, 200},
      {"automatic small range", {0, 1, 10}, 0.1},
      {"few points keep whole steps", {0, 5, 20, false, 10, 10, 12}, 1},
      {"many points allow fractions", {0, 5, 20, false, 10, 10, 30}, 0.5},
      {"zero range", {0, 0, 5}, 1},
      {"logarithmic", {0, 999, 3, true, 10}, 1000},
      {"logarithmic fitting", {0, 999, 12, true, 10}, 100},
      {"separation 0 keeps the increment", {1, 1e9, 10, false, 10, 0}, 1},
      {"default separation grows to fit", {1, 1e9, 10}, 1e8},
      {"no labels fit", {0, 600, 0}, 1000},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NumericStepFor(c.in), c.step) << c.what;
  EXPECT_DOUBLE_EQ(LogStepFor(249.75, 10), 100);
  EXPECT_DOUBLE_EQ(LogStepFor(700, 10), 1000);
  EXPECT_DOUBLE_EQ(LogStepFor(5, 2), 4);
  EXPECT_EQ(LogStepFor(0, 10), 0);  // no power of the base: the value itself
  EXPECT_EQ(LogStepFor(5, 1), 5);
}

TEST(AxisScale, StepSearchesEndForEveryInput) {
  const double ranges[] = {0, 1e-300, 1e300, -1e300, kNaN, kInf, -kInf, 5e-324, 7.7436579164577367e-310, 1.7e308};
  const double bases[] = {10, 2, 0.5, 1 + 1e-15, kNaN};
  for (double range : ranges) {
    for (double base : bases) {
      for (int count : {1, 7, 10, 100000}) {
        for (int separation : {0, 10}) {
          for (bool log : {false, true}) {
            const double s = NumericStepFor({0, range, count, log, base, separation});
            if (std::isfinite(range)) {
              EXPECT_TRUE(s >= 1e-12 || range == s) << range << " " << base;
            }
          }
        }
      }
      EXPECT_GE(DateTimeStepFor(0, range, 10), DateTimeStep[dtOneMicroSecond]);
    }
  }
}

TEST(AxisScale, DateTimeSteps) {
  EXPECT_DOUBLE_EQ(DateTimeStepFor(0, 365, 12), 30);     // months over a year
  EXPECT_DOUBLE_EQ(DateTimeStepFor(0, 5478, 10), 730);   // years over fifteen: doubled beyond one
  EXPECT_DOUBLE_EQ(DateTimeStepFor(0, 1, 4), 6.0 / 24);  // hours over a day
  EXPECT_DOUBLE_EQ(DateTimeStepFor(7, 365, 100), 7);     // an increment that fits stays
  EXPECT_DOUBLE_EQ(DateTimeStepFor(0, 1e-12, 5), DateTimeStep[dtOneMicroSecond]);
}

TEST(AxisScale, IncrementFromMeasuredLabels) {
  const auto width30 = [](double) { return 30; };
  // Labels 30 px wide with 10 % kept free: 9 fit on 300 px.
  TIncrementInput in;
  in.minimum = -20;
  in.maximum = 40;
  in.axisSize = 300;
  in.increment = 10;
  EXPECT_DOUBLE_EQ(IncrementFromLabelSizes(in, width30).step, 10);
  in.labelsAlternate = true;
  EXPECT_DOUBLE_EQ(IncrementFromLabelSizes(in, width30).step, 5);
  // Only 4 fit on 150 px: 0..600 by 100 goes to 200.
  TIncrementInput six;
  six.maximum = 600;
  six.axisSize = 150;
  six.increment = 100;
  EXPECT_DOUBLE_EQ(IncrementFromLabelSizes(six, width30).step, 200);
  // The measured values: the ends and a step in from each end.
  std::vector<double> measured;
  IncrementFromLabelSizes(six, [&](double v) {
    measured.push_back(v);
    return 30;
  });
  EXPECT_EQ(measured, (std::vector<double>{600, 0, 500, 100}));
  measured.clear();
  six.increment = 0;
  IncrementFromLabelSizes(six, [&](double v) {
    measured.push_back(v);
    return 30;
  });
  EXPECT_EQ(measured, (std::vector<double>{600, 0, 300}));
  // Labels too wide for any room: the smallest step.
  EXPECT_DOUBLE_EQ(IncrementFromLabelSizes(six, [](double) { return 10000; }).step, 1e-12);
  // Date-time: a one-month increment that must grow to two months moves its step index along.
  TIncrementInput months;
  months.dateTime = true;
  months.minimum = EncodeDate(1995, 1, 1);
  months.maximum = EncodeDate(1995, 12, 31);
  months.axisSize = 200;
  months.increment = 30;
  const TIncrement two = IncrementFromLabelSizes(months, [](double) { return 25; });  // 7 fit
  EXPECT_DOUBLE_EQ(two.step, 60);
  EXPECT_EQ(two.stepIndex, dtTwoMonths);
  months.exactDateTime = false;
  EXPECT_EQ(IncrementFromLabelSizes(months, [](double) { return 25; }).stepIndex, kNoDateTimeStep);
  months.exactDateTime = true;
  months.increment = 0;
  EXPECT_EQ(IncrementFromLabelSizes(months, [](double) { return 25; }).stepIndex, kNoDateTimeStep);
}

TEST(AxisScale, LinearLabelWalks) {
  struct Case {
    const char* what;
    double min, max, step;
    std::vector<double> values;
  } cases[] = {
      {"0..600 by 100", 0, 600, 100, {600, 500, 400, 300, 200, 100, 0}},
      {"0..600 by 200", 0, 600, 200, {600, 400, 200, 0}},
      {"-20..40 by 10", -20, 40, 10, {40, 30, 20, 10, 0, -10, -20}},
      {"-2000..4000 by 1000", -2000, 4000, 1000, {4000, 3000, 2000, 1000, 0, -1000, -2000}},
      {"first label rounded to the step", 0.5, 10.5, 2, {10, 8, 6, 4, 2}},
      {"negative maximum steps below it", -5.5, -0.5, 1, {-1, -2, -3, -4, -5}},
      {"zero range gives one label", 7, 7, 1, {7}},
      {"step below the texts' precision gives one label", 0, 1.0 / 1024, 1.0 / 8192, {1.0 / 1024}},
      {"0..1e9 by 1 gives none", 0, 1e9, 1, {}},
      {"minimum above maximum gives none", 5, 1, 1, {}},
  };
  for (const Case& c : cases) {
    TLabelWalk w;
    w.minimum = c.min;
    w.maximum = c.max;
    w.step = c.step;
    EXPECT_EQ(LabelValues(w, AxisText), c.values) << c.what;
  }
  // A decimal step whose quotient misses a whole number only by rounding keeps the top label.
  const struct {
    double min, max, step;
    std::vector<std::string> texts;
  } decimals[] = {
      {0, 0.3, 0.1, {"0.3", "0.2", "0.1", "0"}},
      {0, 0.7, 0.1, {"0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0"}},
      {-0.5, 0.5, 0.25, {"0.5", "0.25", "0", "-0.25", "-0.5"}},
      {0, 1e-3, 1e-4, {"0.001", "0.0009", "0.0008", "0.0007", "0.0006", "0.0005", "0.0004", "0.0003", "0.0002", "0.0001", "0"}},
  };
  for (const auto& d : decimals) {
    TLabelWalk w;
    w.minimum = d.min;
    w.maximum = d.max;
    w.step = d.step;
    auto text = [](double v) { return platform::FormatFloatMask("0.####", v).value_or(""); };
    std::vector<std::string> texts;
    for (double v : LabelValues(w, text)) texts.push_back(text(v));
    EXPECT_EQ(texts, d.texts) << d.max << " by " << d.step;
  }
  // Without rounding the first label is the maximum.
  TLabelWalk w;
  w.minimum = 0.5;
  w.maximum = 10.5;
  w.step = 2;
  w.roundFirstLabel = false;
  EXPECT_EQ(LabelValues(w, AxisText), (std::vector<double>{10.5, 8.5, 6.5, 4.5, 2.5, 0.5}));
}

TEST(AxisScale, DateTimeLabelWalks) {
  TLabelWalk months;
  months.dateTime = true;
  months.minimum = EncodeDate(1995, 1, 1);
  months.maximum = EncodeDate(1995, 12, 31);
  months.step = 30;
  months.stepIndex = dtOneMonth;
  const std::vector<double> m = LabelValues(months, AxisText);
  ASSERT_EQ(m.size(), 12u);
  for (int k = 0; k < 12; ++k) EXPECT_EQ(m[k], EncodeDate(1995, 12 - k, 1)) << k;

  TLabelWalk years = months;
  years.minimum = EncodeDate(1981, 1, 1);
  years.step = 365;
  years.stepIndex = dtOneYear;
  const std::vector<double> y = LabelValues(years, AxisText);
  ASSERT_EQ(y.size(), 15u);
  for (int k = 0; k < 15; ++k) EXPECT_EQ(y[k], EncodeDate(1995 - k, 1, 1)) << k;

  // Without exact date-times the labels step by the length from a rounded maximum.
  years.exactDateTime = false;
  const std::vector<double> plain = LabelValues(years, AxisText);
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(plain[0], std::trunc(years.maximum / 365) * 365);
  EXPECT_EQ(plain[1], plain[0] - 365);
}

TEST(AxisScale, LogarithmicLabelWalks) {
  TLabelWalk w;
  w.logarithmic = true;
  w.minimum = 1;
  w.maximum = 1000;
  w.step = 1;
  EXPECT_EQ(LabelValues(w, AxisText), (std::vector<double>{1, 10, 100, 1000}));
  w.minimum = 0;
  w.maximum = 50;
  EXPECT_EQ(LabelValues(w, AxisText), (std::vector<double>{0.1, 1, 10}));
  // No power of ten within 2..9.9: tenths of the power below, from 2 up.
  w.minimum = 2;
  w.maximum = 9.9;
  const std::vector<double> tenths = LabelValues(w, AxisText);
  ASSERT_GE(tenths.size(), 78u);
  EXPECT_NEAR(tenths.front(), 2, 0.11);
  EXPECT_LE(tenths.back(), 9.9);
  w.minimum = w.maximum = 10;
  EXPECT_TRUE(LabelValues(w, AxisText).empty());
  w.minimum = 1;
  w.maximum = 100;
  w.logBase = 1;
  EXPECT_TRUE(LabelValues(w, AxisText).empty());
  // A fixed increment walks linearly.
  w.logBase = 10;
  w.increment = 25;
  w.step = 25;
  EXPECT_EQ(LabelValues(w, AxisText), (std::vector<double>{100, 75, 50, 25}));
}

TEST(AxisScale, LabelWalksEndForEveryInput) {
  const double ends[] = {0, 1, -1, 1e-300, 1e300, -1e300, kNaN, kInf, -kInf, 5e-324, 40000};
  const double steps[] = {1e-12, 1, 1e300, kNaN, kInf, 0};
  for (double min : ends) {
    for (double max : ends) {
      for (double step : steps) {
        for (int variant = 0; variant < 4; ++variant) {
          TLabelWalk w;
          w.minimum = min;
          w.maximum = max;
          w.step = step;
          w.logarithmic = variant == 1;
          w.dateTime = variant >= 2;
          w.stepIndex = variant == 3 ? dtOneMonth : kNoDateTimeStep;
          EXPECT_LE(LabelValues(w, AxisText).size(), static_cast<size_t>(kMaxAxisLabels));
        }
      }
    }
  }
}

TEST(AxisScale, NextLabelEventWalks) {
  // An event that never stops ends after label number 2000.
  int asked = 0;
  auto endless = EventLabelValues(0, 10, [&](int, double&) {
    ++asked;
    return false;
  });
  ASSERT_TRUE(endless.has_value());
  EXPECT_EQ(asked, kMaxEventLabels + 1);
  // Stopping at label 0 hands over to the standard walk.
  EXPECT_FALSE(EventLabelValues(0, 10, [](int, double&) { return true; }).has_value());
  // Steps of 3 from the minimum: 0, 3, 6, 9; 12 lies outside and ends the walk.
  auto threes = EventLabelValues(0, 10, [](int n, double& v) {
    if (n > 0) v += 3;
    return false;
  });
  EXPECT_EQ(*threes, (std::vector<double>{0, 3, 6, 9}));
  auto stop = EventLabelValues(0, 10, [](int n, double& v) {
    v = n;
    return n == 2;
  });
  EXPECT_EQ(*stop, (std::vector<double>{0, 1}));
}

TEST(AxisScale, MinorTicks) {
  EXPECT_EQ(MinorTickPixels({300, 200, 100}, 3, 50, 350),
            (std::vector<int>{75, 125, 150, 175, 225, 250, 275, 325}));
  // Before the first and after the last major tick they go on to the ends of the axis.
  EXPECT_EQ(MinorTickPixels({200, 300}, 1, 0, 500), (std::vector<int>{150, 100, 50, 250, 350, 400, 450}));
  EXPECT_EQ(MinorTickPixels({20, 22}, 5, 17, 25), (std::vector<int>{19, 18, 21, 23, 24}));
  // A tick per pixel at most.
  EXPECT_EQ(MinorTickPixels({10, 14}, 1000, 10, 14), (std::vector<int>{11, 12, 13}));
  EXPECT_TRUE(MinorTickPixels({100}, 3, 0, 300).empty());
  EXPECT_TRUE(MinorTickPixels({100, 200}, 0, 0, 300).empty());
  EXPECT_EQ(LogMinorTickValues({1, 10}, 1, 10, 1, 50), (std::vector<double>{5.5}));
}

TEST(AxisScale, TextLabelsKeepClearOfTheLastDrawnOne) {
  // 40 px labels 30 px apart with 10 % separation: half extents of 24, so every other one.
  TLabelSpacing spacing(10);
  std::vector<int> drawn;
  for (int k = 0; k < 12; ++k) {
    if (spacing.Accept(30 * k, 40)) drawn.push_back(k);
  }
  EXPECT_EQ(drawn, (std::vector<int>{0, 2, 4, 6, 8, 10}));
  TLabelSpacing none(0);
  for (int k = 0; k < 12; ++k) EXPECT_TRUE(none.Accept(30 * k, 40));
  // Measured from the last drawn label, not from the last one looked at.
  TLabelSpacing wide(10);
  EXPECT_TRUE(wide.Accept(0, 100));
  EXPECT_FALSE(wide.Accept(50, 200));
  EXPECT_TRUE(wide.Accept(75, 10));
}
