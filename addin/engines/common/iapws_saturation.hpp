// The IAPWS saturation line of IAPWS-IF97 (its region-4 saturation-pressure
// equation and that equation's algebraic inverse), which IAPWS-95 takes as
// its saturation pressure too. IF97 and IAPWS-95 evaluate it; every other
// engine starts the search for its own saturation temperature from the
// inverse, which lies within a few tenths of a kelvin of each line.
#pragma once

#include <cmath>

#include "water.hpp"

namespace vapordex::iapws_saturation {

// n1 to n10 of the saturation-pressure equation.
inline constexpr double kN[] = {
    0.11670521452767e4,  -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
    -0.32325550322333e7, 0.14915108613530e2,  -0.48232657361591e4, 0.40511340542057e6,
    -0.23855557567849,   0.65017534844798e3,
};

// P in MPa at T in K; the triple-point pressure at and below the triple
// point, the critical pressure at and above the critical temperature.
inline double pressure(double T) {
  if (T <= water::kTriplePointTemperature) return water::kTriplePointPressure;
  if (T >= water::kCriticalTemperature) return water::kCriticalPressure;
  const double* n = kN;
  const double theta = T + n[8] / (T - n[9]);
  const double a = theta * theta + n[0] * theta + n[1];
  const double b = n[2] * theta * theta + n[3] * theta + n[4];
  const double c = n[5] * theta * theta + n[6] * theta + n[7];
  const double x = 2.0 * c / (-b + std::sqrt(b * b - 4.0 * a * c));
  const double x2 = x * x;
  return x2 * x2;
}

// The equation's inverse, T in K at P in MPa (the saturation-temperature
// equation), without clamps: where a saturation-temperature search starts.
inline double temperatureEstimate(double P) {
  const double* n = kN;
  const double beta = std::sqrt(std::sqrt(P));
  const double e = beta * beta + n[2] * beta + n[5];
  const double f = n[0] * beta * beta + n[3] * beta + n[6];
  const double g = n[1] * beta * beta + n[4] * beta + n[7];
  const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
  const double s = n[9] + d;
  return 0.5 * (s - std::sqrt(s * s - 4.0 * (n[8] + n[9] * d)));
}

}  // namespace vapordex::iapws_saturation
