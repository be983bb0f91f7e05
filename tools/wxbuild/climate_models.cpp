#include "tools/wxbuild/climate_models.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wxbuild::climate {
namespace {

constexpr double kSolarConstant = 0.0820;  // MJ/m² min

double YearAngle(int dayOfYear) { return 2.0 * kPi * dayOfYear / 365.0; }

}  // namespace

double SolarDeclination(int dayOfYear) { return 0.409 * std::sin(YearAngle(dayOfYear) - 1.39); }

double SunsetHourAngle(double latitude, double declination) {
  // Held to 0..π: polar night and midnight sun.
  return std::acos(std::clamp(-std::tan(latitude) * std::tan(declination), -1.0, 1.0));
}

double ExtraterrestrialRadiation(int dayOfYear, double latitude) {
  const double dr = 1.0 + 0.033 * std::cos(YearAngle(dayOfYear));
  const double delta = SolarDeclination(dayOfYear);
  const double ws = SunsetHourAngle(latitude, delta);
  return 24.0 * 60.0 / kPi * kSolarConstant * dr *
         (ws * std::sin(latitude) * std::sin(delta) + std::cos(latitude) * std::cos(delta) * std::sin(ws));
}

double DaylightHours(int dayOfYear, double latitude) {
  return 24.0 / kPi * SunsetHourAngle(latitude, SolarDeclination(dayOfYear));
}

double AngstromRadiation(double sunshineHours, double daylightHours, double extraterrestrial) {
  const double relative = daylightHours > 0 ? std::clamp(sunshineHours / daylightHours, 0.0, 1.0) : 0.0;
  return (0.25 + 0.50 * relative) * extraterrestrial;
}

int MeanDayOfMonth(int month) {
  static const int kDays[12] = {17, 47, 75, 105, 135, 162, 198, 228, 258, 288, 318, 344};
  return kDays[std::clamp(month, 1, 12) - 1];
}

double MonthlyDiffuseFraction(double clearness, double sunsetHourAngle) {
  const double k = std::clamp(clearness, 0.3, 0.8);
  if (sunsetHourAngle <= Radians(81.4)) return 1.391 - 3.560 * k + 4.189 * k * k - 2.137 * k * k * k;
  return 1.311 - 3.022 * k + 3.427 * k * k - 1.821 * k * k * k;
}

double BeamRatio(double latitude, double declination, double slope, double azimuth) {
  const double ws = SunsetHourAngle(latitude, declination);
  const double sd = std::sin(declination), cd = std::cos(declination);
  const double sp = std::sin(latitude), cp = std::cos(latitude);
  const double sb = std::sin(slope), cb = std::cos(slope);
  const double sg = std::sin(azimuth), cg = std::cos(azimuth);
  // Incidence cosine on the surface: a + b cos ω + c sin ω; on the horizontal: az + bz cos ω,
  // which is positive between sunrise -ωs and sunset ωs.
  const double a = sd * sp * cb - sd * cp * sb * cg;
  const double b = cd * cp * cb + cd * sp * sb * cg;
  const double c = cd * sb * sg;
  const double horizontal = 2.0 * (sp * sd * ws + cp * cd * std::sin(ws));
  if (horizontal <= 0) return 0;
  // The surface term changes sign where R cos(ω - ψ) = -a (R = hypot(b, c), ψ = atan2(c, b)).
  std::vector<double> cuts = {-ws, ws};
  const double r = std::hypot(b, c);
  if (r > std::fabs(a)) {
    const double psi = std::atan2(c, b), alpha = std::acos(-a / r);
    for (double root : {psi - alpha, psi + alpha}) {
      root = std::remainder(root, 2.0 * kPi);  // into [-π, π]
      if (root > -ws && root < ws) cuts.push_back(root);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  const auto integral = [&](double w) { return a * w + b * std::sin(w) - c * std::cos(w); };
  double surface = 0;
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double mid = (cuts[i] + cuts[i + 1]) / 2;
    if (a + b * std::cos(mid) + c * std::sin(mid) > 0) surface += integral(cuts[i + 1]) - integral(cuts[i]);
  }
  return surface / horizontal;
}

double TiltedRadiation(double global, double diffuse, double beamRatio, double slope, double groundReflectance) {
  const double beam = global - diffuse;
  return beam * beamRatio + diffuse * (1.0 + std::cos(slope)) / 2.0 +
         global * groundReflectance * (1.0 - std::cos(slope)) / 2.0;
}

std::array<double, 12> SoilTemperature(const std::array<double, 12>& air, double depth, double diffusivity) {
  double mean = 0, cosine = 0, sine = 0;
  for (int m = 0; m < 12; ++m) {
    const double phase = 2.0 * kPi * (m + 0.5) / 12.0;
    mean += air[m] / 12.0;
    cosine += air[m] * std::cos(phase) / 6.0;
    sine += air[m] * std::sin(phase) / 6.0;
  }
  const double dampingDepth = std::sqrt(2.0 * diffusivity / (2.0 * kPi / 365.0));
  const double damping = std::exp(-depth / dampingDepth);
  const double lag = depth / dampingDepth;
  std::array<double, 12> soil{};
  for (int m = 0; m < 12; ++m) {
    const double phase = 2.0 * kPi * (m + 0.5) / 12.0 - lag;
    soil[m] = mean + damping * (cosine * std::cos(phase) + sine * std::sin(phase));
  }
  return soil;
}

}  // namespace wxbuild::climate
