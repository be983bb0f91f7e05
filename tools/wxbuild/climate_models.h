// Physical models behind the estimated items of the monthly statistics file: solar radiation
// from sunshine duration, its beam and diffuse parts, radiation on tilted and vertical
// surfaces, and soil temperature from air temperature. Angles are in radians, radiation in
// MJ/m² per day unless a name says otherwise.
//
// - Extraterrestrial radiation Ra, sunset hour angle and daylight hours N follow FAO Irrigation
//   and Drainage Paper 56 (Allen et al. 1998), equations 21 to 25 and 34, with the solar
//   constant 0.0820 MJ/m² min.
// - Global radiation on a horizontal surface by the Angström-Prescott relation of FAO-56
//   (eq. 35): H = (0.25 + 0.50 n/N) Ra; n/N is held to 0..1.
// - Diffuse fraction of the monthly mean by the monthly correlation of Erbs, Klein and Duffie
//   (1982), chosen by the sunset hour angle of the month's mean day (81.4°); the clearness
//   index is held to the correlation's range 0.3..0.8.
// - Radiation on a surface of slope β and azimuth γ (0 south, -90° east, +90° west, 180°
//   north) by the isotropic-sky model of Liu and Jordan: H_T = H_b R_b + H_d (1 + cos β) / 2
//   + H ρ (1 - cos β) / 2. The beam ratio R_b is the integral of the beam's incidence cosine
//   on the surface over the mean day (counted only while the sun is up and in front of the
//   surface) divided by that on the horizontal, integrated in closed form between sunrise,
//   sunset and the times the sun crosses the surface's plane. The mean days are those of
//   Klein (1977), as tabulated by Duffie and Beckman. The model's day is symmetric about solar
//   noon, so east- and west-facing surfaces receive the same amount.
// - Soil temperature at depth z from the first harmonic of the monthly air temperatures,
//   damped by exp(-z/d) and delayed by z/d radians of the year, d = sqrt(2 a / w) with the soil
//   diffusivity a and w = 2π / 365 per day (the periodic solution of heat conduction into a
//   uniform half-space).
#pragma once

#include <array>

namespace wxbuild::climate {

constexpr double kPi = 3.14159265358979323846;
constexpr double kKcalPerMJ = 1.0e6 / 4186.8;  // international-table calorie

constexpr double Radians(double degrees) { return degrees * kPi / 180.0; }

// FAO-56 quantities of a day of the year (1..366) at a latitude.
double SolarDeclination(int dayOfYear);
double SunsetHourAngle(double latitude, double declination);
double ExtraterrestrialRadiation(int dayOfYear, double latitude);
double DaylightHours(int dayOfYear, double latitude);

// Angström-Prescott global radiation from the mean daily sunshine n and daylight hours N.
double AngstromRadiation(double sunshineHours, double daylightHours, double extraterrestrial);

// Day of the year (common year) of the mean day of a month 1..12.
int MeanDayOfMonth(int month);

// Monthly mean diffuse fraction H_d / H for the clearness index H / Ra.
double MonthlyDiffuseFraction(double clearness, double sunsetHourAngle);

// Beam ratio R_b of a surface on a day of the given declination.
double BeamRatio(double latitude, double declination, double slope, double azimuth);

// Daily radiation on the surface from the horizontal global and diffuse radiation.
double TiltedRadiation(double global, double diffuse, double beamRatio, double slope, double groundReflectance);

// Monthly soil temperatures at `depth` (m) under monthly air temperatures (12 months, equal
// spacing assumed), for a soil diffusivity in m²/day.
std::array<double, 12> SoilTemperature(const std::array<double, 12>& air, double depth, double diffusivity);

}  // namespace wxbuild::climate
