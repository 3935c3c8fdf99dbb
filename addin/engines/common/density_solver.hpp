// The density solver shared by the density-based engines (69, 84, 95 and
// 20): the secant scheme, its start values, and the sound-answer checks with
// their bracketed fallbacks. The secant finds the
// density on an isotherm at which the engine's pressure equals a target,
// from two start densities, replacing the point with the larger residual.
#pragma once

#include <limits>

#include "kept.hpp"
#include "phase.hpp"
#include "recent_answers.hpp"
#include "same_double.hpp"

namespace vapordex::density {

using PressureFunction = double (*)(double T, double rho);

// The pressure and its analytic derivative dP/drho at constant T, from one
// evaluation of an engine's free energy.
struct PressureSlope {
  double p;
  double slope;
};
using PressureSlopeFunction = PressureSlope (*)(double T, double rho);

// Newton steps on p(T, rho) = target from rho with the analytic slope,
// every estimate kept within [lower, upper] (the state's branch), until a
// step falls below a few units in the last place of rho. The secant stops
// when the pressure is within 3.5e-4 of the target, and every property
// computed from the density would carry that error; these steps converge it
// to the equation of state's rounding. A density where the slope is not
// positive (no root nearby on a rising isotherm), or a step that does not
// reduce the residual, ends the steps with the best estimate so far. A
// non-finite or non-positive rho is returned as it is.
double polishDensity(PressureSlopeFunction pressureSlope, double T, double target, double rho,
                     double lower, double upper);

// polishDensity for a saturated density: only a density that reproduces the
// saturation pressure within the secant's tolerance is a crossing to
// converge (near the critical point the answer may be the branch's extremum
// of pressure, or the critical density, which stay as they are); liquid
// estimates are kept at or above the critical density, vapour ones at or
// below it.
double polishSaturatedDensity(PressureSlopeFunction pressureSlope, double T,
                              double saturationPressure, double rho, bool liquid,
                              double criticalDensity);

// The result of the secant before its first step.
enum class StartRule {
  kGeometricMean,  // the geometric mean of the two starts
  kFirstStart,     // the first start
};

struct SecantOptions {
  int stepLimit = 32;
  // Steps from this one on (1-based) average the new estimate with the
  // previous one; 0 disables the damping.
  int dampingStart = 0;
  // Phase bound applied to every new estimate: raised to lowerBound,
  // lowered to upperBound.
  double lowerBound = -std::numeric_limits<double>::infinity();
  double upperBound = std::numeric_limits<double>::infinity();
  // Raise every new estimate to at least a quarter of the sum of the two
  // current points.
  bool floor = false;
  StartRule startRule = StartRule::kGeometricMean;
};

double secantDensity(PressureFunction pressure, double T, double target, double rho1, double rho2,
                     const SecantOptions& options);

// The same iteration, with the pressure at its result where the iteration
// evaluated it (NaN when it stopped before its first step on a start that
// it never evaluated).
struct SecantResult {
  double rho;
  double pressure;
};
SecantResult secantSolve(PressureFunction pressure, double T, double target, double rho1,
                         double rho2, const SecantOptions& options);

// Which part of an isotherm a density must lie on.
enum class Branch {
  kLiquid,         // at or above the saturated-liquid density (below Tc)
  kVapour,         // at or below the saturated-vapour density (below Tc)
  kSupercritical,  // anywhere (at or above Tc)
};

// The secant's density when it is sound: finite, positive, on its branch
// (bounded by rhoSaturated) and reproducing the target pressure within the
// secant's own tolerance. Otherwise a bracketed solve on the branch, where the
// pressure rises with density, converged to the resolution of doubles; NaN
// when no density of the branch has that pressure.
double soundDensity(PressureFunction pressure, double T, double target, SecantResult secant,
                    Branch branch, double rhoSaturated);

// The saturated density of one phase when the secant's (rho) is not sound:
// it must reproduce the saturation pressure, lie on its side of the critical
// density and on a part of the isotherm where the pressure rises with
// density. Otherwise the outermost crossing of the saturation pressure is
// found by a scan from the phase's side (from dense liquid downwards, from
// dilute vapour upwards) and bisection, converged tightly.
double soundSaturatedDensity(PressureFunction pressure, double T, double saturationPressure,
                             SecantResult secant, bool liquid, double criticalTemperature,
                             double criticalDensity);

}  // namespace vapordex::density

namespace vapordex::density {

// Start values of the IAPWS-95 scheme, which the NBS/NRC 1984 engine shares
// with its own critical constants and gas constant.
// Saturated liquid: a polynomial in x = (1 - T/Tc)^(1/3) from 0.322.
double liquidStart(double T, double criticalTemperature);
// Saturated vapour: Psat / (Z R T) with a fitted compressibility Z.
double vapourStart(double T, double saturationPressure, double criticalTemperature, double R);
// Supercritical: P / (Z R T) with Z between the ideal gas and the critical
// region, clamped, and 1.1 times that.
void supercriticalStart(double T, double P, double criticalTemperature, double criticalPressure,
                        double R, double* rho1, double* rho2);

// Saturated densities by the secant scheme from those start values, with
// the engine's pressure and saturation pressure; the critical density at and
// above the critical temperature.
// Each converged by polishSaturatedDensity.
double saturatedLiquidDensity(PressureFunction pressure, PressureSlopeFunction pressureSlope,
                              double (*saturationPressure)(double), double T,
                              double criticalTemperature, double criticalDensity);
double saturatedVapourDensity(PressureFunction pressure, PressureSlopeFunction pressureSlope,
                              double (*saturationPressure)(double), double T,
                              double criticalTemperature, double criticalDensity, double R);

// The density from temperature and pressure of a density-based engine.
// What a density-based engine gives the solver: its pressure, saturation
// pressure and saturated densities, its supercritical start values, its
// critical temperature, and the secant's options.
struct DensitySolver {
  PressureFunction pressure = nullptr;
  PressureSlopeFunction pressureSlope = nullptr;
  double (*saturationPressure)(double T) = nullptr;
  double (*liquidDensity)(double T) = nullptr;
  double (*vapourDensity)(double T) = nullptr;
  void (*supercriticalStart)(double T, double P, double* rho1, double* rho2) = nullptr;
  double criticalTemperature = 0.0;
  int stepLimit = 32;
  int dampingStart = 0;
  StartRule startRule = StartRule::kGeometricMean;
};

// Phase selector 0 or 1: the saturated density. Otherwise below the
// critical temperature the liquid branch (P above Psat, estimates kept at or
// above rho') or the vapour branch (estimates kept at or below rho''), above
// it the supercritical start; every estimate floored at a quarter of the sum
// of the current pair. The sound result is then converged by polishDensity
// on its branch.
double densityFromTP(const DensitySolver& solver, double T, double P, Phase phase);

// The IAPWS-95 scheme as a whole for an engine given by its pressure, its
// saturation pressure and its constants: the saturated densities from the
// scheme's start values, its supercritical start, and the density solver
// built from them (32 steps, no damping, the geometric mean of the starts).
// IAPWS-95 and NBS/NRC 1984 use it.
// How many recent saturated densities an engine keeps, per phase and thread.
inline constexpr int kRecentSaturatedDensities = 16;

// The last single-phase density, kept for the next call (one per thread):
// keyed by the engine's solver and the bits of T and P.
struct LastDensity {
  const DensitySolver* solver = nullptr;
  double T = 0.0;
  double P = 0.0;
  double rho = 0.0;
};

// The recent saturated densities of an engine of the IAPWS-95 scheme (its
// pressure is the key): one part of the kept values per engine.
template <PressureFunction Pressure>
struct SchemeDensities {
  RecentAnswers<kRecentSaturatedDensities> liquid;
  RecentAnswers<kRecentSaturatedDensities> vapour;
};

struct SchemeConstants {
  double criticalTemperature;
  double criticalPressure;
  double criticalDensity;
  double R;
};

template <PressureFunction Pressure, PressureSlopeFunction Slope,
          double (*SaturationPressure)(double), const SchemeConstants& C>
struct Iapws95Scheme {
  // The saturated densities are asked for repeatedly at a few temperatures,
  // so each keeps its recent answers (one table per thread): the same
  // doubles as solved afresh.
  static double liquidDensity(double T) {
    return kept<SchemeDensities<Pressure>>().liquid.get(T, [](double t) {
      return saturatedLiquidDensity(Pressure, Slope, SaturationPressure, t, C.criticalTemperature,
                                    C.criticalDensity);
    });
  }
  static double vapourDensity(double T) {
    return kept<SchemeDensities<Pressure>>().vapour.get(T, [](double t) {
      return saturatedVapourDensity(Pressure, Slope, SaturationPressure, t, C.criticalTemperature,
                                    C.criticalDensity, C.R);
    });
  }
  static void start(double T, double P, double* rho1, double* rho2) {
    supercriticalStart(T, P, C.criticalTemperature, C.criticalPressure, C.R, rho1, rho2);
  }
  static constexpr DensitySolver kSolver{
      .pressure = Pressure,
      .pressureSlope = Slope,
      .saturationPressure = SaturationPressure,
      .liquidDensity = liquidDensity,
      .vapourDensity = vapourDensity,
      .supercriticalStart = start,
      .criticalTemperature = C.criticalTemperature,
  };
};

}  // namespace vapordex::density

namespace vapordex {
template <>
density::LastDensity& kept<density::LastDensity>();
}  // namespace vapordex
