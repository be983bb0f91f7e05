// The arithmetic of one axis: mapping, steps, label walks, minor ticks and label spacing.
#include "chart/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "chart/procs.h"
#include "chart/types.h"
#include "platform/text_format.h"

namespace chart {

namespace {

// base + offset in 64 bits, saturated to the integer range: huge offsets of the exact mapping
// stay defined.
int AddSaturated(int base, int offset, int sign) {
  const int64_t r = static_cast<int64_t>(base) + sign * static_cast<int64_t>(offset);
  return static_cast<int>(std::clamp<int64_t>(r, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double Clip(double v, bool clipped) { return clipped ? std::clamp(v, -kAxisPixelLimit, kAxisPixelLimit) : v; }

// Calendar stepping needs a date of the years 1 to 9999; other values step by their length.
constexpr double kFirstCalendarDay = -693593;  // 0001-01-01
constexpr double kLastCalendarDay = 2958465;   // 9999-12-31
bool IsCalendarDate(double v) { return v >= kFirstCalendarDay && v <= kLastCalendarDay; }

double AdvanceLabel(bool calendar, double value, int stepIndex, double step) {
  if (calendar && IsCalendarDate(value) && IsCalendarDate(value - 400))
    return AdvanceDateTime(true, false, value, static_cast<TDateTimeStep>(stepIndex), step);
  return value - step;
}

}  // namespace

// ---- Scale --------------------------------------------------------------------------------

void TAxisScale::Recompute() {
  range = maximum - minimum;
  rangeIsZero = range == 0;
  axisSize = endPixel - startPixel;
  centerPixel = static_cast<int>((static_cast<int64_t>(startPixel) + endPixel) / 2);
  pixelsPerUnit = rangeIsZero ? 0 : axisSize / range;
  logMinimum = minimum > 0 ? std::log(minimum) : 0;
  logMaximum = maximum > 0 ? std::log(maximum) : 0;
  logRange = logMaximum - logMinimum;
  pixelsPerLogUnit = logRange == 0 ? 0 : axisSize / logRange;
}

int TAxisScale::Map(double value, bool clipped, bool asHorizontal) const {
  if (depth) {
    if (rangeIsZero) return centerPixel;
    return Round(Clip(pixelsPerUnit * (inverted ? maximum - value : value - minimum), clipped));
  }
  if (logarithmic) {
    if (logRange == 0) return centerPixel;
    if (value <= 0) {
      if (asHorizontal) return inverted ? endPixel : startPixel;
      return inverted ? startPixel : endPixel;
    }
    const double w = std::log(value);
    const double d = Clip(pixelsPerLogUnit * (inverted ? logMaximum - w : w - logMinimum), clipped);
    return asHorizontal ? AddSaturated(startPixel, Round(d), 1) : AddSaturated(endPixel, Round(d), -1);
  }
  if (rangeIsZero) return centerPixel;
  const int v = Round(Clip((value - minimum) * pixelsPerUnit, clipped));
  if (asHorizontal) return inverted ? AddSaturated(endPixel, v, -1) : AddSaturated(startPixel, v, 1);
  return inverted ? AddSaturated(startPixel, v, 1) : AddSaturated(endPixel, v, -1);
}

double TAxisScale::PixelToValue(int pixel) const {
  if (depth) {
    if (axisSize < 1) return 0;
    const double r = pixel * range / axisSize;
    return inverted ? maximum - r : minimum + r;
  }
  const double d = inverted ? static_cast<double>(endPixel) - pixel : static_cast<double>(pixel) - startPixel;
  if (logarithmic) {
    const bool minimumAtStart = horizontal != inverted;
    if (pixel == startPixel) return minimumAtStart ? minimum : maximum;
    if (pixel == endPixel) return minimumAtStart ? maximum : minimum;
    if (logRange == 0 || axisSize == 0) return minimum;
    const double c = d * logRange / axisSize;
    return horizontal ? std::exp(logMinimum + c) : std::exp(logMaximum - c);
  }
  if (axisSize < 1) return 0;
  const double r = d * range / axisSize;
  return horizontal ? minimum + r : maximum - r;
}

void TAxisScale::WidenByMargins(int atMinimum, int atMaximum) {
  const bool minimumAtStart = (horizontal || depth) != inverted;
  const int oldStart = startPixel, oldEnd = endPixel;
  SetSpan(oldStart + (minimumAtStart ? atMinimum : atMaximum), oldEnd - (minimumAtStart ? atMaximum : atMinimum));
  // Margins that swallow the whole span leave the ends as they are: no value can be read
  // back from an axis without pixels.
  const bool readable = axisSize >= 1;
  const double atStart = PixelToValue(oldStart), atEnd = PixelToValue(oldEnd);
  startPixel = oldStart;
  endPixel = oldEnd;
  if (readable) {
    double newMin = minimumAtStart ? atStart : atEnd;
    double newMax = minimumAtStart ? atEnd : atStart;
    if (newMin > newMax) std::swap(newMin, newMax);
    minimum = newMin;
    maximum = newMax;
  }
  Recompute();
}

// ---- Steps --------------------------------------------------------------------------------

namespace {

// The next round step, at least twice the step where the round steps lose their precision
// (among the smallest doubles, where ten times a tenth need not be more than the number).
double GrownStep(double s) {
  const double next = NextAxisStep(s);
  return next > s ? next : s * 2;
}

}  // namespace

int IncrementForLabelSize(int axisSize, int labelSize, int separation) {
  if (labelSize <= 0) return 1;
  const int room = labelSize + (separation > 0 ? Round(separation * static_cast<double>(labelSize) / 100) : 0);
  return Round(static_cast<double>(axisSize) / room);
}

double LogStepFor(double value, double base) {
  if (!(value > 0) || !std::isfinite(value) || !(base > 0) || base == 1 || !std::isfinite(base)) return value;
  return std::pow(base, Round(std::log(value) / std::log(base)));
}

double DateTimeStepFor(double increment, double range, int labelCount) {
  const double micro = DateTimeStep[dtOneMicroSecond];
  double s = increment > micro ? increment : micro;
  if (range / s > 1000000) s = range / 1000000;
  // Each turn grows s at least twofold (the date-time steps and round steps only go up), and
  // a range that is not finite makes the count test false at once.
  while (Round(range / s) > labelCount) {
    if (s >= DateTimeStep[dtOneYear]) s *= 2;
    else if (s >= DateTimeStep[dtOneSecond]) s = LargerDateTimeStep(s);
    else s = GrownStep(s);
  }
  return s >= micro ? s : micro;
}

double NumericStepFor(const TNumericStep& in) {
  const double range = in.range;
  double s;
  if (in.increment > 0) {
    s = in.increment;
  } else if (range != 0) {
    s = std::fabs(range) / (static_cast<double>(in.labelCount) + 1);
    if (in.logarithmic) s = LogStepFor(s, in.logBase);
    if (range >= 1 && in.fewestPoints >= 0 && in.fewestPoints <= in.labelCount) s = std::max(s, 1.0);
  } else {
    s = 1;
  }
  if (in.labelsSeparation >= 1) {
    // A logarithmic axis grows by its base, which must make the step larger: a base below 1
    // (or a base so near 1 that the step creeps) grows by round steps instead.
    const bool byBase = in.logarithmic && in.logBase > 1;
    for (int turn = 0; std::isfinite(s) && s <= range; ++turn) {
      const double count = range / s;
      if (count < 2147483647.0 && Round(count) <= in.labelCount) break;
      s = byBase && turn < kMaxAxisLabels ? s * in.logBase : GrownStep(s);
    }
  }
  if (std::isinf(s)) return range;
  return s >= 1e-12 ? s : 1e-12;
}

double StepForLabelCount(const TIncrementInput& in, int labelCount) {
  if (labelCount < 1) return in.dateTime ? DateTimeStep[dtOneMicroSecond] : 1e-12;
  const double range = in.maximum - in.minimum;
  if (in.dateTime) return DateTimeStepFor(in.increment, range, labelCount);
  return NumericStepFor(
      {in.increment, range, labelCount, in.logarithmic, in.logBase, in.labelsSeparation, in.fewestPoints});
}

TIncrement IncrementFromLabelSizes(const TIncrementInput& in, const std::function<int(double)>& labelSize) {
  // Measured one after the other: the measuring function may be watched.
  int size = labelSize(in.maximum);
  size = std::max(size, labelSize(in.minimum));
  if (in.increment != 0) {
    size = std::max(size, labelSize(in.maximum - in.increment));
    size = std::max(size, labelSize(in.minimum + in.increment));
  } else {
    size = std::max(size, labelSize((in.maximum + in.minimum) / 2));
  }
  TIncrement out;
  out.step = StepForLabelCount(in, IncrementForLabelSize(in.axisSize, size, in.labelsSeparation));
  if (in.labelsAlternate) out.step /= in.logarithmic ? in.logBase : 2;
  if (in.dateTime && in.exactDateTime && in.increment != 0) {
    int index = FindDateTimeStep(in.increment);
    if (index != kNoDateTimeStep) {
      while (index < dtOneYear && out.step > DateTimeStep[index]) ++index;
    }
    out.stepIndex = index;
  }
  return out;
}

// ---- Label values -------------------------------------------------------------------------

bool StepDrawsLabels(double step, int stepIndex) {
  return step > 0 || (stepIndex >= dtHalfMonth && stepIndex <= dtOneYear);
}

double RoundedToStep(double value, double step) {
  const double quotient = value / step;
  const double whole = std::round(quotient);
  if (std::isfinite(quotient) && std::fabs(quotient - whole) <= 1e-9 * std::max(1.0, std::fabs(whole))) {
    return std::min(whole * step, value);
  }
  return std::trunc(quotient) * step;
}

namespace {

std::vector<double> LogarithmicLabels(const TLabelWalk& w) {
  std::vector<double> out;
  if (w.minimum == w.maximum || !(w.logBase > 1) || !std::isfinite(w.logBase)) return out;
  const double first = w.minimum > 0 ? LogStepFor(w.minimum, w.logBase)
                       : w.minimum < 0 ? LogStepFor(1e-10, w.logBase)
                                       : 0.1;
  double v = first;
  for (int turn = 0; turn < kMaxAxisLabels && std::isfinite(v) && v <= w.maximum; ++turn, v *= w.logBase) {
    if (v >= w.minimum) out.push_back(v);
  }
  if (!out.empty()) return out;
  // No power of the base lies within the range: steps of a tenth of the power below instead.
  const double d = std::pow(w.logBase, std::log(first) / std::log(w.logBase) - 1);
  v = first;
  for (int turn = 0; turn < kMaxAxisLabels && v <= w.maximum; ++turn) {
    if (v >= w.minimum) out.push_back(v);
    const double next = v + d;
    if (!(next > v)) break;
    v = next;
  }
  return out;
}

std::vector<double> LinearLabels(const TLabelWalk& w, const std::function<std::string(double)>& textOf) {
  std::vector<double> out;
  const double range = w.maximum - w.minimum;
  if (!(std::fabs(range / w.step) < kMaxAxisLabels)) return out;
  const bool exact = w.dateTime && w.exactDateTime && w.stepIndex != kNoDateTimeStep;
  const bool calendar = exact && w.stepIndex >= dtHalfMonth;
  double v;
  if (exact && w.stepIndex > dtTwelveHours && IsCalendarDate(w.maximum)) {
    v = TruncToDateTimeStep(static_cast<TDateTimeStep>(w.stepIndex), w.maximum);
  } else if (w.roundFirstLabel && platform::FloatToText(w.minimum) != platform::FloatToText(w.maximum)) {
    v = RoundedToStep(w.maximum, w.step);
    // A quotient beyond the double range has no whole multiple: the maximum itself.
    if (!std::isfinite(v)) v = w.maximum;
  } else {
    v = w.maximum;
  }
  for (int turn = 0; turn < kMaxAxisLabels && v > w.maximum; ++turn) {
    const double next = AdvanceLabel(calendar, v, w.stepIndex, w.step);
    if (!(next < v)) break;
    v = next;
  }
  if (!std::isfinite(v)) return out;
  if (range < 1e-10) return {v};  // a zero range among them
  if (textOf(v) == textOf(v - w.step)) return {v};
  const double lower = w.minimum >= 0 ? (w.minimum - 1e-12) / (1 + 1e-12) : w.minimum;
  while (v >= lower && static_cast<int>(out.size()) < kMaxAxisLabels) {
    out.push_back(v);
    const double next = AdvanceLabel(calendar, v, w.stepIndex, w.step);
    if (!(next < v)) break;
    v = next;
  }
  return out;
}

}  // namespace

std::vector<double> LabelValues(const TLabelWalk& walk, const std::function<std::string(double)>& textOf) {
  if (!(walk.maximum >= walk.minimum) || !StepDrawsLabels(walk.step, walk.stepIndex)) return {};
  if (walk.logarithmic && walk.increment == 0) return LogarithmicLabels(walk);
  return LinearLabels(walk, textOf);
}

std::optional<std::vector<double>> EventLabelValues(double minimum, double maximum, const TNextLabelFunc& next) {
  std::vector<double> out;
  double value = minimum;
  for (int number = 0; number <= kMaxEventLabels; ++number) {
    if (next(number, value)) {
      if (number == 0) return std::nullopt;
      break;
    }
    if (!(value >= minimum - 1e-7 && value <= maximum + 1e-7)) break;
    out.push_back(value);
  }
  return out;
}

// ---- Ticks and text labels ----------------------------------------------------------------

std::vector<int> MinorTickPixels(const std::vector<int>& majors, int count, int start, int end) {
  std::vector<int> out;
  if (count <= 0 || majors.size() < 2) return out;
  std::vector<int> sorted = majors;
  std::sort(sorted.begin(), sorted.end());
  const int low = std::min(start, end), high = std::max(start, end);
  auto add = [&](int64_t p) {
    if (p > low && p < high) out.push_back(static_cast<int>(p));
  };
  // Between a and b (b - a = distance, either sign): every pixel once there are more ticks
  // than pixels, which is what the rounded places come to.
  auto interval = [&](int a, int64_t distance) {
    const int64_t size = distance < 0 ? -distance : distance;
    if (count >= size) {
      for (int64_t k = 1; k < size; ++k) add(a + (distance < 0 ? -k : k));
      return;
    }
    for (int k = 1; k <= count; ++k) add(a + Round(k * static_cast<double>(distance) / (count + 1)));
  };
  // Before the first and after the last major tick: the first interval's ticks, continued
  // with its spacing for as long as they stay strictly between start and end.
  auto continued = [&](int a, int64_t distance) {
    const int64_t size = distance < 0 ? -distance : distance;
    if (size == 0) return;
    const bool everyPixel = count >= size;
    const int64_t perInterval = everyPixel ? size - 1 : count;
    for (int64_t k = 1;; ++k) {
      const int64_t p = everyPixel ? a + (distance < 0 ? -k : k) : a + Round(k * static_cast<double>(distance) / (count + 1));
      if (p > low && p < high) {
        out.push_back(static_cast<int>(p));
      } else if (k >= perInterval) {
        break;
      }
    }
  };
  const int64_t first = static_cast<int64_t>(sorted[1]) - sorted[0];
  continued(sorted.front(), -first);
  for (size_t i = 0; i + 1 < sorted.size(); ++i) interval(sorted[i], static_cast<int64_t>(sorted[i + 1]) - sorted[i]);
  continued(sorted.back(), first);
  return out;
}

std::vector<double> LogMinorTickValues(const std::vector<double>& labelValues, int count, double base,
                                       double minimum, double maximum) {
  std::vector<double> out;
  count = std::min(count, 1000);
  for (double v : labelValues) {
    for (int k = 1; k <= count; ++k) {
      const double t = v + k * (v * base - v) / (count + 1);
      if (t >= minimum && t <= maximum) out.push_back(t);
    }
  }
  return out;
}

bool TLabelSpacing::Accept(int center, int extent) {
  if (separation_ == 0) return true;
  const int half = (extent + Trunc(extent * 0.02 * separation_)) / 2;
  if (any_ && std::abs(static_cast<int64_t>(center) - lastCenter_) < static_cast<int64_t>(lastHalf_) + half) return false;
  any_ = true;
  lastCenter_ = center;
  lastHalf_ = half;
  return true;
}

}  // namespace chart
