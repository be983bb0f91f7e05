// The arithmetic of one axis apart from drawing: the scale (ends, pixel span, inversion,
// logarithm) with the value-pixel mapping both ways, the widening of the ends by pixel margins,
// the choice of the step between labels, the label values an axis walks, minor tick places and
// the overlap rule of text labels. Nothing here measures or draws: label sizes and texts come
// from functions the caller passes.
//
// Rounding is the library's (chart/types.h): to the nearest integer with halves to the even
// neighbour; "div" is integer division truncating towards zero.
//
// Every loop here ends for every input, finite or not: ends of NaN or infinity, a zero range,
// ranges of 1e-300 or 1e300. A walk that cannot give sensible values gives none.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace chart {

// The largest pixel coordinate the clipped mapping gives (either sign).
constexpr double kAxisPixelLimit = 67108863;

// The scale of one axis. Settings and ends are plain fields; `Recompute` derives the state the
// mapping uses and must follow any change of them (SetEnds and SetSpan call it).
class TAxisScale {
 public:
  // ---- Settings ----
  bool horizontal = true;    // runs left to right (else top to bottom)
  bool depth = false;        // a depth axis: pixels count from 0 along the chart depth
  bool inverted = false;
  bool logarithmic = false;
  bool dateTime = false;     // values are day numbers (only steps and labels care)
  bool fastCalc = false;     // the exact mapping instead of the clipped one

  // ---- Ends and span ----
  double minimum = 0, maximum = 0;
  int startPixel = 0, endPixel = 0;

  void SetEnds(double min, double max) {
    minimum = min;
    maximum = max;
    Recompute();
  }
  void SetSpan(int start, int end) {
    startPixel = start;
    endPixel = end;
    Recompute();
  }
  void Recompute();

  // ---- Derived state ----
  double range = 0;           // maximum - minimum
  bool rangeIsZero = true;
  int axisSize = 0;           // end - start
  int centerPixel = 0;        // (start + end) div 2
  double pixelsPerUnit = 0;   // axis size / range (0 for a zero range)
  double logMinimum = 0, logMaximum = 0;  // natural logarithms, 0 for ends that are not positive
  double logRange = 0;
  double pixelsPerLogUnit = 0;

  // ---- Mapping ----
  // The pixel of a value: the clipped form (the unrounded position limited to
  // +-kAxisPixelLimit before rounding) unless fastCalc asks for the exact one.
  int ValueToPixel(double value) const { return Map(value, !fastCalc, horizontal); }
  int ValueToPixelExact(double value) const { return Map(value, false, horizontal); }
  int ValueToPixelClipped(double value) const { return Map(value, true, horizontal); }
  // The pixel as a horizontal (or a vertical) axis of the same ends and span would give it.
  int ValueToPixelAs(double value, bool asHorizontal) const { return Map(value, !fastCalc, asHorizontal); }
  // The value of a pixel. Depth axes map back as horizontal ones do (from the minimum at
  // pixel 0).
  double PixelToValue(int pixel) const;

  // Widens the ends so that the data keeps `atMinimum` pixels clear of the minimum's end and
  // `atMaximum` of the maximum's (the sides follow orientation and inversion): the values
  // at the end pixels of the span shrunk by the margins become the new ends.
  void WidenByMargins(int atMinimum, int atMaximum);

 private:
  int Map(double value, bool clipped, bool asHorizontal) const;
};

// ---- Steps --------------------------------------------------------------------------------

// The step index of no date-time step.
constexpr int kNoDateTimeStep = 27;

// How many labels of `labelSize` pixels fit into `axisSize` pixels with `separation` percent of
// a label kept free between labels: 1 for a size of 0 or less.
int IncrementForLabelSize(int axisSize, int labelSize, int separation);

// base ^ round(log_base value): the power of the base nearest a step.
double LogStepFor(double value, double base);

// The date-time step for `labelCount` labels over `range` days: from the increment (at least a
// microsecond) up through the date-time steps, doubling beyond a year, until the labels fit.
double DateTimeStepFor(double increment, double range, int labelCount);

struct TNumericStep {
  double increment = 0;      // the axis' Increment (0: automatic)
  double range = 0;
  int labelCount = 0;
  bool logarithmic = false;
  double logBase = 10;
  int labelsSeparation = 10;
  // The fewest points among the active series drawn along this axis' X direction (-1: none);
  // when some such series has no more points than labels, steps below 1 are not used.
  int fewestPoints = -1;
};
// The numeric step for `labelCount` labels: the increment or range / (count + 1), grown by
// round steps (or by the logarithm's base) until the labels fit.
double NumericStepFor(const TNumericStep& in);

// Everything that decides an axis' step once per draw.
struct TIncrementInput {
  double minimum = 0, maximum = 0;
  int axisSize = 0;
  double increment = 0;
  bool dateTime = false;
  bool exactDateTime = true;
  bool logarithmic = false;
  double logBase = 10;
  int labelsSeparation = 10;
  bool labelsAlternate = false;
  int fewestPoints = -1;
};
// The step for `labelCount` labels: the smallest step (a microsecond on date-time axes,
// 1e-12 otherwise) when not even one fits, else the date-time or the numeric step.
double StepForLabelCount(const TIncrementInput& in, int labelCount);

struct TIncrement {
  double step = 0;
  int stepIndex = kNoDateTimeStep;  // the date-time step of the labels, or kNoDateTimeStep
};
// The step between labels, from the sizes of the widest labels that may appear (`labelSize`
// measures the label of a value in pixels along the axis).
TIncrement IncrementFromLabelSizes(const TIncrementInput& in, const std::function<int(double)>& labelSize);

// ---- Label values -------------------------------------------------------------------------

// Beyond this many labels an axis draws none; so many values also end any walk.
constexpr int kMaxAxisLabels = 10000;
// The highest label number the chart's next-label event is asked for.
constexpr int kMaxEventLabels = 2000;

struct TLabelWalk {
  double minimum = 0, maximum = 0;
  double step = 0;
  int stepIndex = kNoDateTimeStep;
  bool dateTime = false;
  bool exactDateTime = true;
  bool roundFirstLabel = true;
  bool logarithmic = false;
  double logBase = 10;
  double increment = 0;
};

// True when an axis with this step and date-time index draws labels at all.
bool StepDrawsLabels(double step, int stepIndex);

// A value rounded to the step for a first label: trunc(value / step) x step, except that a
// quotient within 1e-9 (relative) of a whole number counts as that whole number, the result
// kept at most `value`. So 0..0.3 by 0.1 starts at 0.3, although 0.3 / 0.1 is
// 2.9999999999999996 in floating point and its trunc would drop the top label; every whole
// quotient gives what trunc gives. Not finite when the quotient is not.
double RoundedToStep(double value, double step);

// The values of value labels in drawing order: the logarithmic walk (logarithmic axes with an
// automatic increment: powers of the base upwards) or the linear one (from the top down). `textOf` gives a value's label
// text (the linear walk draws one label when the step is below the texts' precision).
std::vector<double> LabelValues(const TLabelWalk& walk, const std::function<std::string(double)>& textOf);

// The chart's next-label event: label number n (from 0) gets the previous value (the minimum
// for 0) and may change it or answer true to stop.
using TNextLabelFunc = std::function<bool(int number, double& value)>;
// Values from the event, or nothing when it stops at label 0 (the standard walk then runs).
std::optional<std::vector<double>> EventLabelValues(double minimum, double maximum, const TNextLabelFunc& next);

// ---- Ticks and text labels ----------------------------------------------------------------

// Minor tick pixels of a linear axis: `count` between each pair of neighbouring major ticks
// (`majors` in any order), and as many steps of the first interval's spacing before the first
// and after the last as stay strictly between `start` and `end`.
std::vector<int> MinorTickPixels(const std::vector<int>& majors, int count, int start, int end);
// Minor tick values of a logarithmic axis: `count` (at most 1,000) between each label value v
// and v * base, kept within minimum..maximum.
std::vector<double> LogMinorTickValues(const std::vector<double>& labelValues, int count, double base,
                                       double minimum, double maximum);

// The overlap rule of text and mark labels, fed in drawing order: a label is drawn only when
// its centre keeps clear of the last drawn label by both half extents (each extent grown by
// 2 % per separation percent); with a separation of 0 every label is drawn.
class TLabelSpacing {
 public:
  explicit TLabelSpacing(int separation) : separation_(separation) {}
  // True when the label with this centre and extent (pixels along the axis) is drawn.
  bool Accept(int center, int extent);

 private:
  int separation_;
  bool any_ = false;
  int lastCenter_ = 0, lastHalf_ = 0;
};

}  // namespace chart
