// Free routines the axes, series, legend and chart share: the default colour palette, the
// date-time steps of axes with stepping and truncation, the round-number step of numeric
// axes, a quicksort over callbacks, point hit tests, unique component names, the legend's
// check box, and the flags of a series' stored point data.
//
// Dates are day numbers counted from 1899-12-30 with the time of day as the fraction.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <Qt>

#include "chart/types.h"

class QObject;

namespace platform {
class Canvas;
}

namespace chart {

// ---- Palette ------------------------------------------------------------------------------

// The colour of `index` in the default palette (taken modulo its length; black when the
// palette is empty, before the unit starts).
TColor DefaultPaletteColor(int index);
// Replaces the palette by colors[0..highestIndex]; a highest index of 0 restores the twenty
// default colours.
void SetDefaultPalette(const std::vector<TColor>& colors, int highestIndex);
// The twenty default colours.
const std::vector<TColor>& DefaultPaletteColors();

// ---- Texts --------------------------------------------------------------------------------

std::string IntToText(int n);
// Every `oldChar` of `text` replaced by `newChar`; a newChar of '\0' deletes them.
std::string ReplaceCharInString(const std::string& text, char oldChar, char newChar);

// The short date and time formats of the platform (a Japanese system's).
extern const std::string ShortDateFormat;
extern const std::string ShortTimeFormat;
// The short date format for a value above one day, else the short time format.
const std::string& DateTimeFormatFor(double value);

// ---- Date-time steps ----------------------------------------------------------------------

enum TDateTimeStep {
  dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds, dtFifteenSeconds,
  dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes, dtFifteenMinutes, dtThirtyMinutes,
  dtOneHour, dtTwoHours, dtSixHours, dtTwelveHours, dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek,
  dtHalfMonth, dtOneMonth, dtTwoMonths, dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear,
  dtNone
};
constexpr int kDateTimeStepCount = 27;
// The length of each step in days.
extern const double DateTimeStep[kDateTimeStepCount];

// The step whose length is within one microsecond of `value` (searching from the year down),
// dtNone when none is.
TDateTimeStep FindDateTimeStep(double value);
// The length of the step after the largest one not above `value`; one year when `value` is
// below every step.
double LargerDateTimeStep(double value);
// `date` truncated to the unit of `step`: the time of day dropped; half months to the 1st or
// the 15th, months to the 1st, years to the 1st of January. Dates on or before 1900-01-01
// are returned as they are.
double TruncToDateTimeStep(TDateTimeStep step, double date);
// The next (or previous) axis value. Dates step by the calendar for months, half months and
// years (the result is that date at midnight); every other step, and any value that is no
// date, moves by `stepLength`. Half months forward go from days 1-14 to the 15th and from
// the 15th on to the 1st of the next month; backward from days 2-15 to the 1st, from the 16th
// on to the 15th, and from the 1st to the 15th of the month before. A year step from
// 29 February lands on the 28th in a year without it.
double AdvanceDateTime(bool isDateTime, bool forward, double value, TDateTimeStep step, double stepLength);

// Serial day numbers of calendar dates and back.
double EncodeDate(int year, int month, int day);
void DecodeDate(double date, int& year, int& month, int& day);

// ---- Numeric axis steps -------------------------------------------------------------------

// The next of 1, 2 and 5 times a power of ten above x (1 -> 2, 3 -> 5, 7 -> 10, 0.3 -> 0.5).
// An infinite x gives 1; so do zero, negative values and NaN, which have no such step.
double NextAxisStep(double x);

// ---- Sorting ------------------------------------------------------------------------------

// Sorts the items first..last, which only the callbacks know: compare(i, j) answers
// negative, zero or positive, swap(i, j) exchanges two items.
void SortWithCallbacks(int first, int last, const std::function<int(int, int)>& compare,
                       const std::function<void(int, int)>& swap);

// ---- Hit tests ----------------------------------------------------------------------------

double PointToSegmentDistance(TPoint p, TPoint a, TPoint b);
// True when p is an end point or lies within tolerance + 1 pixels of the segment.
bool IsPointNearSegment(TPoint p, TPoint a, TPoint b, int tolerance);
bool IsPointNearSegmentExact(TPoint p, TPoint a, TPoint b);
// Even-odd rule over the closed polygon.
bool IsPointInPolygon(TPoint p, std::span<const TPoint> points);
// The triangle (x0, y1), ((x0 + x1) div 2, y0), (x1, y1).
bool IsPointInTriangle(TPoint p, int x0, int x1, int y0, int y1);
// The ellipse inscribed in the rectangle; never inside a flat one.
bool IsPointInEllipse(TPoint p, const TRect& rect);

// ---- Components ---------------------------------------------------------------------------

// `base` followed by the first number from 1 that no object owned by `owner` (its children,
// compared without regard to case) is named; without an owner base + "1".
std::string UniqueComponentName(const QObject* owner, const std::string& base);
// The component named `name` (compared without regard to case) in the tree that `within`
// belongs to (its top-level owner and everything below), other than `within` itself; nullptr
// when none is.
QObject* FindComponent(const QObject* within, const std::string& name);

// ---- Screen cursors -----------------------------------------------------------------------

// The number of the hand cursor the unit registers while it runs.
constexpr int crChartHand = 2020;
// The shape a screen cursor number shows, when it is registered.
std::optional<Qt::CursorShape> ScreenCursor(int number);

// ---- Check box ----------------------------------------------------------------------------

// A 13 x 13 check box (or radio button) at (x, y), checked or not, drawn by the device
// context's frame-control drawing.
void PaintCheckBox(int x, int y, platform::Canvas& canvas, bool checked, bool checkBox);

// ---- Stored point data --------------------------------------------------------------------

// What decides the flags of a series' stored point data.
struct SeriesDataFacts {
  bool xStored = true;                  // the series may store its X values
  std::span<const double> xValues;      // the X list, one value per point
  std::span<const TColor> colors;       // the points' own colours (may be shorter, or empty)
  TColor seriesColor = clDefault;
  std::span<const std::string> labels;  // the points' labels (may be empty)
  bool customMarkPositions = false;
};
constexpr uint8_t kDataHasX = 1, kDataHasColors = 2, kDataHasLabels = 4, kDataHasMarkPositions = 8;
// The flags byte: X values when they are not the plain sequence 0, 1, 2 ...; colours when a
// point has its own one other than the default and the series colour; labels when one is
// not empty; mark positions when any exists. Every point is looked at, so that a difference
// late in a long series is never lost when the series is stored.
uint8_t SeriesDataStreamFlags(const SeriesDataFacts& series);

// ---- Unit ---------------------------------------------------------------------------------

// Counted start-up (palette, hand cursor) and shut-down.
void PlotProcsStartup();
void PlotProcsShutdown();

}  // namespace chart
