#include "bridging_cubic.hpp"

#include <cmath>

#include "cubic_parameters.hpp"
#include "engines/common/vmath.hpp"

namespace vapordex::fit2020 {

namespace {

enum Coefficient { kA, kB, kC };

constexpr Spline buildCoefficientSpline(Coefficient which) {
  double x[kCubicNodes] = {};
  double q[kCubicNodes] = {};
  for (int i = 0; i < kCubicNodes; ++i) {
    const CubicNode& node = kCubicParameters[i];
    x[i] = node.T / kCriticalTemperature;
    q[i] = which == kA ? node.A : which == kB ? node.B : node.C;
  }
  return buildSpline(x, q, kCubicNodes);
}

constexpr Spline kSplineA = buildCoefficientSpline(kA);
constexpr Spline kSplineB = buildCoefficientSpline(kB);
constexpr Spline kSplineC = buildCoefficientSpline(kC);
static_assert(kSplineA.n == kCubicNodes && kSplineB.n == kCubicNodes && kSplineC.n == kCubicNodes);

struct Coefficients {
  double a, b, c, da, db, dc;
};

Coefficients coefficients(double x) {
  return {splineEvaluate(kSplineA, x),    splineEvaluate(kSplineB, x),
          splineEvaluate(kSplineC, x),    splineEvaluate(kSplineA, x, 1),
          splineEvaluate(kSplineB, x, 1), splineEvaluate(kSplineC, x, 1)};
}

}  // namespace

const Spline& splineA() { return kSplineA; }
const Spline& splineB() { return kSplineB; }
const Spline& splineC() { return kSplineC; }

double reducedPressure(double x, double w) {
  const Coefficients k = coefficients(x);
  return (x / (w - kCoVolume) - k.a / (w * w + k.b * w - k.c * k.c)) / kZc;
}

double helmholtzFunction(double x, double w) {
  const Coefficients k = coefficients(x);
  const double l = std::sqrt(k.b * k.b + 4.0 * k.c * k.c);
  const double m = (2.0 * w + k.b) / l;
  if (w <= kCoVolume || m <= 1.0) return kDomainSentinel;
  return -x * vmath::log(w - kCoVolume) - (k.a / l) * vmath::log((m + 1.0) / (m - 1.0));
}

// S = -dF/dx.
double entropyFunction(double x, double w) {
  const Coefficients k = coefficients(x);
  const double l = std::sqrt(k.b * k.b + 4.0 * k.c * k.c);
  const double m = (2.0 * w + k.b) / l;
  if (w <= kCoVolume || m <= 1.0) return kDomainSentinel;
  const double dl = (4.0 * k.c * k.dc + k.b * k.db) / l;
  return ((k.da * l - dl * k.a) / (l * l)) * vmath::log((m + 1.0) / (m - 1.0)) +
         vmath::log(w - kCoVolume) -
         ((k.db - dl * m) / l) * (2.0 * k.a / l) / (m + 1.0) / (m - 1.0);
}

double enthalpyFunction(double x, double w) {
  return entropyFunction(x, w) * x + helmholtzFunction(x, w) + reducedPressure(x, w) * w * kZc;
}

double hCubic(double T, double rho) {
  return enthalpyFunction(T / kCriticalTemperature, kCriticalDensity / rho) * kR *
         kCriticalTemperature;
}

double sCubic(double T, double rho) {
  return entropyFunction(T / kCriticalTemperature, kCriticalDensity / rho) * kR;
}

}  // namespace vapordex::fit2020
