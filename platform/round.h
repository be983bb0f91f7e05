// Rounding to the nearest integer with halves to the even neighbour, as the chart and report
// libraries round. Values beyond the int range saturate and NaN gives 0, so no conversion is
// undefined.
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

}  // namespace platform
