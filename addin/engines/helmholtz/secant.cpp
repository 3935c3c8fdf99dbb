#include "secant.hpp"

#include <cmath>

#include "guarded_power.hpp"

namespace vapordex::helmholtz {

double secantDensity(PressureFunction pressure, double T, double target, double rho1, double rho2,
                     const SecantOptions& options) {
  double p1 = pressure(T, rho1);
  double p2 = pressure(T, rho2);
  double result = options.startAtGeometricMean ? std::sqrt(rho1 * rho2) : rho1;
  double previous = (rho1 + rho2) * 0.5;
  for (int step = 1; step <= options.maxSteps; ++step) {
    // Tested before the division, so the step never divides by zero for a
    // positive target.
    if (std::fabs(p2 - p1) < target * kFloatEpsilon) break;
    double rhoN = ((p2 - target) * rho1 - (p1 - target) * rho2) / (p2 - p1);
    if (options.dampFromStep > 0 && step >= options.dampFromStep) rhoN = (rhoN + previous) * 0.5;
    if (rhoN < options.lowerBound) rhoN = options.lowerBound;
    if (rhoN > options.upperBound) rhoN = options.upperBound;
    if (options.floor && rhoN < (rho1 + rho2) * 0.25) rhoN = (rho1 + rho2) * 0.25;
    result = rhoN;
    previous = rhoN;
    const double pN = pressure(T, rhoN);
    if (std::fabs(pN / target - 1.0) < kSqrtFloatEpsilon) break;
    if (std::fabs(p2 - target) > std::fabs(p1 - target)) {
      rho2 = rhoN;
      p2 = pN;
    } else {
      rho1 = rhoN;
      p1 = pN;
    }
  }
  return result;
}

}  // namespace vapordex::helmholtz

namespace vapordex::helmholtz {

double liquidStart(double T, double criticalTemperature) {
  const double x = std::cbrt(1.0 - T / criticalTemperature);
  return 0.322 + x * (1.81999672256 +
                      x * (-11.4769902281 +
                           x * (46.2620966218 +
                                x * (-88.382040957 + x * (82.6149432834 + x * -30.510632553)))));
}

double vapourStart(double T, double saturationPressure, double criticalTemperature, double R) {
  const double tr = T / criticalTemperature;
  const double x = std::cbrt(1.0 - tr);
  const double z = 0.66743 - 1.4087 * tr + 3.5799 * tr * tr - 2.6054 * tr * tr * tr + 0.58211 * x;
  return saturationPressure / (z * R * T);
}

void supercriticalStart(double T, double P, double criticalTemperature, double criticalPressure,
                        double R, double* rho1, double* rho2) {
  const double l = (T / criticalTemperature - 1.0) * 0.767 / 1.5 + 0.233;
  const double pr = P / criticalPressure;
  double z = (1.0 - l) + 2.0 * l * pr / (1.0 + pr * pr);
  z = std::fmin(std::fmax(z, 0.01), 15.0);
  *rho1 = std::fmin(std::fmax(P / (z * R * T), 2.220446049250313e-16), 3.0);
  *rho2 = 1.1 * *rho1;
}

double saturatedLiquidDensity(PressureFunction pressure, double (*saturationPressure)(double),
                              double T, double criticalTemperature, double criticalDensity) {
  if (T >= criticalTemperature) return criticalDensity;
  const double rho1 = liquidStart(T, criticalTemperature);
  return secantDensity(pressure, T, saturationPressure(T), rho1, 1.01 * rho1, SecantOptions{});
}

double saturatedVapourDensity(PressureFunction pressure, double (*saturationPressure)(double),
                              double T, double criticalTemperature, double criticalDensity,
                              double R) {
  if (T >= criticalTemperature) return criticalDensity;
  const double ps = saturationPressure(T);
  const double rho1 = vapourStart(T, ps, criticalTemperature, R);
  return secantDensity(pressure, T, ps, rho1, rho1 / 1.1, SecantOptions{});
}

double densityFromTP(const DensitySolver& solver, double T, double P, int phase) {
  if (phase == 0) return solver.liquidDensity(T);
  if (phase == 1) return solver.vapourDensity(T);
  SecantOptions options;
  options.maxSteps = solver.maxSteps;
  options.dampFromStep = solver.dampFromStep;
  options.startAtGeometricMean = solver.startAtGeometricMean;
  options.floor = true;
  double rho1 = 0.0;
  double rho2 = 0.0;
  if (T < solver.criticalTemperature) {
    if (P > solver.saturationPressure(T)) {
      rho1 = solver.liquidDensity(T);
      rho2 = 1.01 * rho1;
      options.lowerBound = rho1;
    } else {
      rho1 = solver.vapourDensity(T);
      rho2 = rho1 / 1.1;
      options.upperBound = rho1;
    }
  } else {
    solver.supercriticalStart(T, P, &rho1, &rho2);
  }
  return secantDensity(solver.pressure, T, P, rho1, rho2, options);
}

}  // namespace vapordex::helmholtz
