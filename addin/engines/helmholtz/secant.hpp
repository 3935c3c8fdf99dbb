// The secant density solver shared by the density-based engines: finds the
// density on an isotherm at which the engine's pressure equals a target,
// from two start densities, replacing the point with the larger residual.
#pragma once

#include <limits>

namespace vapordex::helmholtz {

using PressureFunction = double (*)(double T, double rho);

struct SecantOptions {
  int maxSteps = 32;
  // Steps from this one on (1-based) average the new estimate with the
  // previous one; 0 disables the damping.
  int dampFromStep = 0;
  // Phase bound applied to every new estimate: raised to lowerBound,
  // lowered to upperBound.
  double lowerBound = -std::numeric_limits<double>::infinity();
  double upperBound = std::numeric_limits<double>::infinity();
  // Raise every new estimate to at least a quarter of the sum of the two
  // current points.
  bool floor = false;
  // The result before the first step: the geometric mean of the starts, or
  // the first start.
  bool startAtGeometricMean = true;
};

double secantDensity(PressureFunction pressure, double T, double target, double rho1, double rho2,
                     const SecantOptions& options);

}  // namespace vapordex::helmholtz
