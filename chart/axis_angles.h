// Angles of axis labels and titles, shared by the axis's layout and its drawing: degrees to
// radians, an angle brought into 0..359, and the room a turned text block takes across an axis.
#pragma once

#include <cmath>

#include "chart/types.h"

namespace chart {

inline constexpr double kAxisPi = 3.14159265358979323846;

inline int NormalizedAngle(int angle) {
  angle %= 360;
  return angle < 0 ? angle + 360 : angle;
}

// The extent across an axis of a text block w x h turned by `angle` degrees.
inline int ExtentAcross(bool horizontal, int w, int h, int angle) {
  const double a = angle * kAxisPi / 180;
  const double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
  return horizontal ? Round(h * c + w * s) : Round(w * c + h * s);
}

}  // namespace chart
