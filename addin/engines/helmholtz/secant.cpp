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
