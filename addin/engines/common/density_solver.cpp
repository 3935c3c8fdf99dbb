#include "density_solver.hpp"

#include <cmath>
#include <limits>

#include "density_start_coefficients.hpp"
#include "engines/common/vmath.hpp"
#include "fast_path_check.hpp"
#include "float_limits.hpp"
#include "regula_falsi.hpp"

namespace vapordex::density {

double secantDensity(PressureFunction pressure, double T, double target, double rho1, double rho2,
                     const SecantOptions& options) {
  return secantSolve(pressure, T, target, rho1, rho2, options).rho;
}

SecantResult secantSolve(PressureFunction pressure, double T, double target, double rho1,
                         double rho2, const SecantOptions& options) {
  double p1 = pressure(T, rho1);
  double p2 = pressure(T, rho2);
  double result = options.startRule == StartRule::kGeometricMean ? std::sqrt(rho1 * rho2) : rho1;
  // The pressure at the result, where it is known.
  double resultPressure = options.startRule == StartRule::kGeometricMean ? std::nan("") : p1;
  double previous = (rho1 + rho2) * 0.5;
  for (int step = 1; step <= options.stepLimit; ++step) {
    // Tested before the division, so the step never divides by zero for a
    // positive target.
    if (std::fabs(p2 - p1) < target * kFloatEpsilon) break;
    double rhoN = ((p2 - target) * rho1 - (p1 - target) * rho2) / (p2 - p1);
    if (options.dampingStart > 0 && step >= options.dampingStart) rhoN = (rhoN + previous) * 0.5;
    if (rhoN < options.lowerBound) rhoN = options.lowerBound;
    if (rhoN > options.upperBound) rhoN = options.upperBound;
    if (options.floor && rhoN < (rho1 + rho2) * 0.25) rhoN = (rho1 + rho2) * 0.25;
    result = rhoN;
    previous = rhoN;
    const double pN = pressure(T, rhoN);
    resultPressure = pN;
    if (std::fabs(pN / target - 1.0) < kSqrtFloatEpsilon) break;
    if (std::fabs(p2 - target) > std::fabs(p1 - target)) {
      rho2 = rhoN;
      p2 = pN;
    } else {
      rho1 = rhoN;
      p1 = pN;
    }
  }
  return {result, resultPressure};
}

namespace {

constexpr int kBracketSteps = 200;
constexpr double kBracketResolution = 1e-15;
// Densities beyond any state of the formulations (g/cm3); the bracket
// search for dense liquid stops there.
constexpr double kDensityCeiling = 5.0;
// The relative step of the saturated-density scan.
constexpr double kScanStep = 0.004;
// How far past the critical density the scan goes (a factor of it).
constexpr double kScanReach = 0.7;
// Below the critical temperature by more than this (K), a saturated density
// that reproduces the saturation pressure on its side of the critical
// density is stable: checked by a scan of every engine at 0.01 K steps.
constexpr double kUnstableBand = 10.0;
// A density whose pressure misses the target by less than this fraction of
// the density times the local slope dp/drho counts as converged.
constexpr double kDensityTolerance = 1e-8;

// Whether rho has the target pressure within the secant's tolerance; p is
// the pressure at rho when known (NaN otherwise).
bool reproduces(PressureFunction pressure, double T, double target, double rho, double p) {
  if (!(rho > 0.0) || !std::isfinite(rho)) return false;
  if (std::isnan(p)) p = pressure(T, rho);
  return std::fabs(p / target - 1.0) < kSqrtFloatEpsilon;
}

// The density where p(rho) = target in [lo, hi], p(lo) < target < p(hi).
double bracketedDensity(PressureFunction pressure, double T, double target, double lo, double hi,
                        double fLo, double fHi) {
  return regulaFalsi([&](double rho) { return pressure(T, rho) - target; }, lo, hi, fLo, fHi,
                     kBracketSteps, kBracketResolution);
}

// Newton steps on the density (polishDensity). Quadratic convergence takes
// the secant's 3.5e-4 to rounding in two or three steps; the limit only
// bounds a pathological isotherm.
constexpr int kPolishSteps = 8;
// A step below this many units of 2^-52 of the density ends the steps: the
// estimate after it is converged to the pressure's rounding.
constexpr double kPolishUlps = 4.0;

// polishDensity, starting only where the residual at rho is within
// maxResidual of the target (relative).
double newtonDensity(PressureSlopeFunction pressureSlope, double T, double target, double rho,
                     double lower, double upper, double maxResidual) {
  if (!(rho > 0.0) || !std::isfinite(rho) || !(target > 0.0) || !std::isfinite(target)) {
    return rho;
  }
  PressureSlope at = pressureSlope(T, rho);
  double residual = at.p - target;
  if (!(std::fabs(residual) <= maxResidual * target)) return rho;
  constexpr double kConverged = kPolishUlps * std::numeric_limits<double>::epsilon();
  double previousStep = 0.0;  // relative
  for (int step = 0; step < kPolishSteps; ++step) {
    if (residual == 0.0) return rho;
    if (!(at.slope > 0.0) || !std::isfinite(at.slope)) return rho;
    double next = rho - residual / at.slope;
    if (next < lower) next = lower;
    if (next > upper) next = upper;
    if (!(next > 0.0)) next = 0.5 * rho;
    if (!std::isfinite(next)) return rho;
    const double relativeStep = std::fabs(next - rho) / rho;
    if (relativeStep <= kConverged) return next;
    // Newton's steps shrink quadratically: step k + 1 is about
    // (step k / step k - 1^2) step k^2. Where that is below the tolerance and
    // the steps already shrink (a small step after a larger one), the
    // estimate after this step is converged without evaluating it.
    if (previousStep > 0.0 && relativeStep < 1e-6 && relativeStep < previousStep) {
      const double contraction = relativeStep / (previousStep * previousStep);
      if (contraction * relativeStep * relativeStep <= kConverged) return next;
    }
    previousStep = relativeStep;
    const PressureSlope nextAt = pressureSlope(T, next);
    const double nextResidual = nextAt.p - target;
    if (!(std::fabs(nextResidual) < std::fabs(residual))) return rho;
    rho = next;
    at = nextAt;
    residual = nextResidual;
  }
  return rho;
}

}  // namespace

double polishDensity(PressureSlopeFunction pressureSlope, double T, double target, double rho,
                     double lower, double upper) {
  return newtonDensity(pressureSlope, T, target, rho, lower, upper,
                       std::numeric_limits<double>::infinity());
}

double polishSaturatedDensity(PressureSlopeFunction pressureSlope, double T,
                              double saturationPressure, double rho, bool liquid,
                              double criticalDensity) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  return newtonDensity(pressureSlope, T, saturationPressure, rho, liquid ? criticalDensity : 0.0,
                       liquid ? kInfinity : criticalDensity, kSqrtFloatEpsilon);
}

double soundDensity(PressureFunction pressure, double T, double target, SecantResult secant,
                    Branch branch, double rhoSaturated) {
  const double rho = secant.rho;
  const bool onBranch = branch == Branch::kLiquid   ? rho >= rhoSaturated
                        : branch == Branch::kVapour ? rho <= rhoSaturated
                                                    : true;
  if (onBranch && reproduces(pressure, T, target, rho, secant.pressure)) return rho;
  if (!(target > 0.0) || !std::isfinite(target) || !(T > 0.0) || !std::isfinite(T)) {
    return std::nan("");
  }
  if (onBranch && rho > 0.0 && std::isfinite(rho)) {
    // A stiff liquid meets the pressure test only at higher pressures; its
    // density may still be converged: accept what lies within kDensityTolerance of
    // the root by the local slope.
    const double h = rho * 1e-7;
    const double slope = (pressure(T, rho + h) - pressure(T, rho - h)) / (2.0 * h);
    const double p = std::isnan(secant.pressure) ? pressure(T, rho) : secant.pressure;
    if (slope > 0.0 && std::fabs(p - target) < kDensityTolerance * rho * slope) {
      return rho;
    }
  }
  double lo = 0.0;
  double hi = 0.0;
  double fLo = 0.0;
  double fHi = 0.0;
  if (branch == Branch::kLiquid) {
    // From the saturated liquid up; a target the branch's first state already
    // exceeds is that state.
    lo = rhoSaturated;
    fLo = pressure(T, lo) - target;
    if (!(fLo < 0.0)) return std::isfinite(fLo) ? lo : std::nan("");
    hi = lo;
    fHi = fLo;
    while (!(fHi > 0.0) && hi < kDensityCeiling) {
      lo = hi;
      fLo = fHi;
      hi *= 1.05;
      fHi = pressure(T, hi) - target;
    }
  } else if (branch == Branch::kVapour) {
    hi = rhoSaturated;
    fHi = pressure(T, hi) - target;
    if (!(fHi > 0.0)) return std::isfinite(fHi) ? hi : std::nan("");
    lo = hi;
    fLo = fHi;
    for (int k = 0; k < kBracketSteps && !(fLo < 0.0); ++k) {
      hi = lo;
      fHi = fLo;
      lo *= 0.5;
      fLo = pressure(T, lo) - target;
    }
  } else {
    const double start =
        rho > 0.0 && std::isfinite(rho) && rho < kDensityCeiling ? rho : rhoSaturated;
    lo = start;
    fLo = pressure(T, lo) - target;
    for (int k = 0; k < kBracketSteps && !(fLo < 0.0); ++k) {
      lo *= 0.5;
      fLo = pressure(T, lo) - target;
    }
    hi = start;
    fHi = pressure(T, hi) - target;
    while (!(fHi > 0.0) && hi < kDensityCeiling) {
      hi *= 1.05;
      fHi = pressure(T, hi) - target;
    }
  }
  if (!(fLo < 0.0 && fHi > 0.0)) return std::nan("");
  return bracketedDensity(pressure, T, target, lo, hi, fLo, fHi);
}

double soundSaturatedDensity(PressureFunction pressure, double T, double saturationPressure,
                             SecantResult secant, bool liquid, double criticalTemperature,
                             double criticalDensity) {
  const double rho = secant.rho;
  const bool side = liquid ? rho >= criticalDensity : rho <= criticalDensity;
  if (side && reproduces(pressure, T, saturationPressure, rho, secant.pressure)) {
    // Rising pressure with density: a stable state, not the unstable crossing
    // between the two phases, which the start values reach only close to the
    // critical point.
    if (T < criticalTemperature - kUnstableBand) return rho;
    const double h = rho * 1e-6;
    if (pressure(T, rho + h) > pressure(T, rho - h)) return rho;
  }
  // Scan from the phase's side towards the critical density for the first
  // crossing of the saturation pressure: dense liquid lies above it, dilute
  // vapour below. Near the critical point an equation of state may not reach
  // its auxiliary saturation pressure on a branch at all; the branch then
  // ends at its extremum of pressure (the spinodal), the phase's state
  // closest to saturation, which is the answer.
  const double sign = liquid ? 1.0 : -1.0;  // sign * (p - Psat) > 0 on the outer side
  auto excess = [&](double r) { return sign * (pressure(T, r) - saturationPressure); };
  double outer = liquid ? 3.0 * criticalDensity : criticalDensity * 1e-9;
  double fOuter = excess(outer);
  if (!(fOuter > 0.0)) return criticalDensity;
  double beyond = outer;  // the point before outer, for the extremum's bracket
  // The scan may pass the critical density: close to the critical point a
  // branch's extremum can lie a little beyond it.
  const double end = liquid ? kScanReach * criticalDensity : criticalDensity / kScanReach;
  while (liquid ? outer > end : outer < end) {
    double step = fOuter > 0.1 * saturationPressure ? 8.0 * kScanStep : kScanStep;
    if (!liquid && outer < criticalDensity * 1e-3) step = 1.0;  // dilute gas: doubling
    double inner = liquid ? outer * (1.0 - step) : outer * (1.0 + step);
    if (liquid ? inner < end : inner > end) inner = end;
    const double fInner = excess(inner);
    if (fInner == 0.0) return inner;
    if (fInner < 0.0) {
      return liquid
                 ? bracketedDensity(pressure, T, saturationPressure, inner, outer, fInner, fOuter)
                 : bracketedDensity(pressure, T, saturationPressure, outer, inner, -fOuter,
                                    -fInner);
    }
    if (fInner > fOuter && beyond != outer) {
      // Past the branch's extremum without a crossing: golden-section search
      // for it between inner and beyond.
      return goldenSectionMinimum(excess, inner, beyond, kBracketSteps, kBracketResolution);
    }
    beyond = outer;
    outer = inner;
    fOuter = fInner;
  }
  return criticalDensity;
}

}  // namespace vapordex::density

namespace vapordex::density {

double liquidStart(double T, double criticalTemperature) {
  const double x = vmath::cbrt(1.0 - T / criticalTemperature);
  const double* a = kLiquidStart;
  return kLiquidStartBase +
         x * (a[0] + x * (a[1] + x * (a[2] + x * (a[3] + x * (a[4] + x * a[5])))));
}

double vapourStart(double T, double saturationPressure, double criticalTemperature, double R) {
  const double tr = T / criticalTemperature;
  const double x = vmath::cbrt(1.0 - tr);
  const double* c = kVapourStartZ;
  const double z = c[0] - c[1] * tr + c[2] * tr * tr - c[3] * tr * tr * tr + c[4] * x;
  return saturationPressure / (z * R * T);
}

void supercriticalStart(double T, double P, double criticalTemperature, double criticalPressure,
                        double R, double* rho1, double* rho2) {
  const double l = (T / criticalTemperature - 1.0) * kSupercriticalSlope / kSupercriticalSpan +
                   kSupercriticalBase;
  const double pr = P / criticalPressure;
  double z = (1.0 - l) + 2.0 * l * pr / (1.0 + pr * pr);
  z = std::fmin(std::fmax(z, kSupercriticalZMin), kSupercriticalZMax);
  *rho1 = std::fmin(std::fmax(P / (z * R * T), kSupercriticalDensityMin), kSupercriticalDensityMax);
  *rho2 = kSupercriticalSecondStart * *rho1;
}

double saturatedLiquidDensity(PressureFunction pressure, PressureSlopeFunction pressureSlope,
                              double (*saturationPressure)(double), double T,
                              double criticalTemperature, double criticalDensity) {
  if (T >= criticalTemperature) return criticalDensity;
  const double rho1 = liquidStart(T, criticalTemperature);
  const double ps = saturationPressure(T);
  const double rho = soundSaturatedDensity(
      pressure, T, ps, secantSolve(pressure, T, ps, rho1, 1.01 * rho1, SecantOptions{}), true,
      criticalTemperature, criticalDensity);
  return polishSaturatedDensity(pressureSlope, T, ps, rho, true, criticalDensity);
}

double saturatedVapourDensity(PressureFunction pressure, PressureSlopeFunction pressureSlope,
                              double (*saturationPressure)(double), double T,
                              double criticalTemperature, double criticalDensity, double R) {
  if (T >= criticalTemperature) return criticalDensity;
  const double ps = saturationPressure(T);
  const double rho1 = vapourStart(T, ps, criticalTemperature, R);
  const double rho = soundSaturatedDensity(
      pressure, T, ps, secantSolve(pressure, T, ps, rho1, rho1 / 1.1, SecantOptions{}), false,
      criticalTemperature, criticalDensity);
  return polishSaturatedDensity(pressureSlope, T, ps, rho, false, criticalDensity);
}

namespace {

double solveDensity(const DensitySolver& solver, double T, double P);

}  // namespace

// One state's density is often asked for twice in a row (an enthalpy and an
// entropy at the same T and P, an inverse function's last estimate and its
// answer), so the last single-phase answer is kept (one per thread), keyed
// on the engine's solver: the same double as solved afresh.
double densityFromTP(const DensitySolver& solver, double T, double P, Phase phase) {
  if (phase == Phase::kSaturatedLiquid) return solver.liquidDensity(T);
  if (phase == Phase::kSaturatedVapour) return solver.vapourDensity(T);
  LastDensity& last = kept<LastDensity>();
  if (last.solver == &solver && sameDouble(last.T, T) && sameDouble(last.P, P)) {
    if constexpr (kCheckFastPaths) {
      checkFastPath("kept single-phase density", last.rho, solveDensity(solver, T, P));
    }
    return last.rho;
  }
  last.rho = solveDensity(solver, T, P);
  last.solver = &solver;
  last.T = T;
  last.P = P;
  return last.rho;
}

namespace {

double solveDensity(const DensitySolver& solver, double T, double P) {
  SecantOptions options;
  options.stepLimit = solver.stepLimit;
  options.dampingStart = solver.dampingStart;
  options.startRule = solver.startRule;
  options.floor = true;
  double rho1 = 0.0;
  double rho2 = 0.0;
  double lower = 0.0;
  double upper = std::numeric_limits<double>::infinity();
  Branch branch = Branch::kSupercritical;
  if (T < solver.criticalTemperature) {
    if (P > solver.saturationPressure(T)) {
      rho1 = solver.liquidDensity(T);
      rho2 = 1.01 * rho1;
      options.lowerBound = rho1;
      lower = rho1;
      branch = Branch::kLiquid;
    } else {
      rho1 = solver.vapourDensity(T);
      rho2 = rho1 / 1.1;
      options.upperBound = rho1;
      upper = rho1;
      branch = Branch::kVapour;
    }
  } else {
    solver.supercriticalStart(T, P, &rho1, &rho2);
  }
  const double rho = soundDensity(
      solver.pressure, T, P, secantSolve(solver.pressure, T, P, rho1, rho2, options), branch, rho1);
  return polishDensity(solver.pressureSlope, T, P, rho, lower, upper);
}

}  // namespace

}  // namespace vapordex::density
