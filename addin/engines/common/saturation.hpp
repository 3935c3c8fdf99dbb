// The saturation temperature every engine uses: exactly 32 halvings of
// [273.16 K, the engine's critical temperature] on its own saturation
// pressure, returning the last midpoint, with the triple- and critical-point
// clamps.
#pragma once

namespace vapordex {

inline double bisectSaturationTemperature(double P, double (*saturationPressure)(double),
                                          double triplePressure, double criticalTemperature,
                                          double criticalPressure) {
  constexpr double kTriplePointTemperature = 273.16;
  if (P <= triplePressure) return kTriplePointTemperature;
  if (P >= criticalPressure) return criticalTemperature;
  double lo = kTriplePointTemperature;
  double hi = criticalTemperature;
  double mid = 0.0;
  for (int k = 0; k < 32; ++k) {
    mid = (hi + lo) * 0.5;
    if (P > saturationPressure(mid)) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return mid;
}

}  // namespace vapordex
