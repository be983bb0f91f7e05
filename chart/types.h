// Basic types of the chart library: colours, points and rectangles, and the library's
// rounding. Colours are stored as the program stores them (0x00BBGGRR, or a system colour
// reference, platform/dc.h) with two special values: clDefault (take the owner's or the
// series' colour) and clNone (paint nothing; as a back colour: transparent).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/dc.h"
#include "platform/round.h"

namespace chart {

using TColor = uint32_t;
using TPoint = platform::Point;
using TRect = platform::Rect;

constexpr TColor clDefault = 0x20000000;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;

// The RGB value of a colour (system colours resolved); clDefault and clNone have none and
// give their low bytes, as the drawing interface does.
inline platform::ColorRef ColorToRGB(TColor color) { return platform::ColorToRgb(color); }

// Rounding of the library: to the nearest integer, halves to the even neighbour. Values
// beyond the integer range saturate and NaN gives 0, so no conversion is undefined.
inline int Round(double value) { return platform::RoundHalfEven(value); }

// The setters' rule: store `value` when it differs; true when the field changed (the setter
// then notifies or repaints).
template <class T, class V>
bool ChangeValue(T& field, const V& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// Defines Class::Set<Name>(Type) that stores a changed value in `member` and calls the class's
// Changed().
#define CHART_SETTER(Class, Name, member, Type) \
  void Class::Set##Name(Type v) {               \
    if (ChangeValue(member, v)) Changed();      \
  }

// Removes `number` elements from `start` on, as far as `v` reaches; nothing for a negative
// start or number.
template <class V>
void EraseRun(V& v, int start, int number) {
  const int size = static_cast<int>(v.size());
  if (start < 0 || number <= 0 || start >= size) return;
  v.erase(v.begin() + start, v.begin() + start + std::min(number, size - start));
}

// Truncation towards zero with the same saturation.
inline int Trunc(double value) { return Round(std::trunc(value)); }

}  // namespace chart
