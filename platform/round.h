// Rounding to the nearest integer with halves to the even neighbour, as the chart and report
// libraries round (values beyond the int range saturate and NaN gives 0, so no conversion is
// undefined), and the scaling of an integer by a ratio of two as the graphics interface does it.
#pragma once

#include <cmath>
#include <limits>

namespace platform {

inline int RoundHalfEven(long double value) {
  if (std::isnan(value)) return 0;
  long double r = std::nearbyintl(value);  // the default rounding mode rounds halves to even
  if (r >= static_cast<long double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<long double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

// a x b / c rounded to the nearest integer, halves away from zero; -1 when c is 0 or the
// result lies outside the int range.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const double v = static_cast<double>(a) * b / c;
  const double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
  if (r < static_cast<double>(std::numeric_limits<int>::min()) || r > static_cast<double>(std::numeric_limits<int>::max())) {
    return -1;
  }
  return static_cast<int>(r);
}

}  // namespace platform
