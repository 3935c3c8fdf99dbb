// The saturation temperature every engine uses: exactly 32 halvings of
// [273.16 K, the engine's critical temperature] on its own saturation
// pressure, returning the last midpoint, with the triple- and critical-point
// clamps.
//
// The halvings are replayed rather than each evaluated: a few steps of
// regula falsi in (1/T, ln P) first locate the root to far better than the
// last halving's width (from a narrow bracket around the engine's estimate,
// where it has one), and a midpoint clearly below or above that root is
// decided without evaluating the saturation pressure there. Only midpoints
// within kReplayMargin of the root are evaluated, exactly as the plain
// bisection evaluates them, so the result is the plain bisection's, bit for
// bit, for any saturation pressure that rises with temperature.
#pragma once

#include <cmath>

#include "engines/common/vmath.hpp"
#include "fast_path_check.hpp"
#include "kept.hpp"
#include "regula_falsi.hpp"
#include "same_double.hpp"
#include "water.hpp"

namespace vapordex {

namespace saturation_detail {

// Midpoints closer than this to the located root (K) are evaluated. The
// root is located to about 1e-11 K; the saturation pressure's own rounding
// corresponds to about 1e-13 K.
inline constexpr double kReplayMargin = 1e-7;
inline constexpr int kRootSteps = 60;

}  // namespace saturation_detail

// An engine's saturation line as its saturation temperature needs it.
struct SaturationLine {
  double (*pressure)(double T);
  double triplePressure;
  double criticalTemperature;
  double criticalPressure;
  // ln psat, where the engine has it more cheaply than the logarithm of
  // psat (an exponential's exponent); for locating the root only.
  double (*logPressure)(double T) = nullptr;
  // An estimate of the saturation temperature (a backward equation, or
  // another formulation's), from which the root is located in a few steps,
  // and how far from the root it may lie (K); optional.
  double (*temperatureEstimate)(double P) = nullptr;
  double estimateReach = 0.0;
  // The estimate is the line's own algebraic inverse, within rounding (a
  // few 1e-11 K) of the root: it is the located root, no logarithm taken.
  bool estimateIsRoot = false;

  double logOf(double T) const {
    return logPressure != nullptr ? logPressure(T) : vmath::log(pressure(T));
  }
};

namespace saturation_detail {

// The temperature at which ln psat(T) = ln P, between lo and hi, by regula
// falsi (Illinois) in 1/T, from a narrow bracket around the line's estimate
// where that holds the root; NaN when it cannot be located.
inline double locateRoot(double lnP, double P, const SaturationLine& line, double lo, double hi) {
  double xLo = 1.0 / lo;  // 1/T falls as T rises
  double xHi = 1.0 / hi;
  double fLo = std::nan("");
  double fHi = std::nan("");
  if (line.temperatureEstimate != nullptr) {
    const double t = line.temperatureEstimate(P);
    if (line.estimateIsRoot && t > lo && t < hi) return t;
    const double a = t - line.estimateReach;
    const double b = t + line.estimateReach;
    if (a > lo && b < hi) {
      const double fa = line.logOf(a) - lnP;
      const double fb = line.logOf(b) - lnP;
      if (fa < 0.0 && fb > 0.0) {
        xLo = 1.0 / a;
        xHi = 1.0 / b;
        fLo = fa;
        fHi = fb;
      }
    }
  }
  if (std::isnan(fLo)) {
    fLo = line.logOf(lo) - lnP;
    fHi = line.logOf(hi) - lnP;
  }
  if (!(fLo < 0.0 && fHi > 0.0)) return std::nan("");
  // In 1/T; the end a point replaces moves by less than 1e-11 K once the
  // root is located.
  IllinoisBracket b{xLo, xHi, fLo, fHi};
  for (int k = 0; k < kRootSteps; ++k) {
    const double x = b.secant();
    const double T = 1.0 / x;
    if (!(T > lo - 1.0 && T < hi + 1.0)) return std::nan("");
    const double f = line.logOf(T) - lnP;
    if (!(f < 0.0) && !(f > 0.0)) return T;
    if (std::fabs(1.0 / (f < 0.0 ? b.lo : b.hi) - T) < 1e-11) return T;
    b.replace(f < 0.0, x, f);
  }
  return std::nan("");
}

}  // namespace saturation_detail

// The last saturation temperature, kept for the next call (one per
// thread): keyed by the engine's saturation pressure and P's bits.
struct LastSaturationTemperature {
  double (*engine)(double) = nullptr;
  double P = 0.0;
  double T = 0.0;
};
template <>
LastSaturationTemperature& kept<LastSaturationTemperature>();

namespace saturation_detail {

// The plain 32 halvings, every midpoint evaluated: what the replay must
// give (the fast-path check).
inline double plainBisection(double P, const SaturationLine& line) {
  double lo = water::kTriplePointTemperature;
  double hi = line.criticalTemperature;
  double mid = 0.0;
  for (int k = 0; k < 32; ++k) {
    mid = (hi + lo) * 0.5;
    (P > line.pressure(mid) ? lo : hi) = mid;
  }
  return mid;
}

}  // namespace saturation_detail

inline double bisectSaturationTemperature(double P, const SaturationLine& line) {
  double (*const saturationPressure)(double) = line.pressure;
  const double triplePressure = line.triplePressure;
  const double criticalTemperature = line.criticalTemperature;
  const double criticalPressure = line.criticalPressure;
  constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
  if (P <= triplePressure) return kTriplePointTemperature;
  if (P >= criticalPressure) return criticalTemperature;
  // The inverse functions ask for one pressure's saturation temperature more
  // than once; the last answer is kept (one per thread).
  LastSaturationTemperature& last = kept<LastSaturationTemperature>();
  if (last.engine == saturationPressure && sameDouble(last.P, P)) {
    if constexpr (kCheckFastPaths) {
      checkFastPath("kept saturation temperature", last.T,
                    saturation_detail::plainBisection(P, line));
    }
    return last.T;
  }
  double lo = kTriplePointTemperature;
  double hi = criticalTemperature;
  // NaN (P itself NaN, or no root found) sends every midpoint to evaluation.
  const double root = saturation_detail::locateRoot(vmath::log(P), P, line, lo, hi);
  const double below = root - saturation_detail::kReplayMargin;
  const double above = root + saturation_detail::kReplayMargin;
  double mid = 0.0;
  for (int k = 0; k < 32; ++k) {
    mid = (hi + lo) * 0.5;
    // Clearly below the root P > psat(mid); clearly above it not; in
    // between (or without a root) as the plain bisection decides.
    const bool rootAbove = mid < below || (!(mid > above) && P > saturationPressure(mid));
    (rootAbove ? lo : hi) = mid;
  }
  if constexpr (kCheckFastPaths) {
    checkFastPath("replayed saturation-temperature bisection", mid,
                  saturation_detail::plainBisection(P, line));
  }
  last.engine = saturationPressure;
  last.P = P;
  last.T = mid;
  return mid;
}

// The constants of a saturation line psat = Pc exp(exponent(T)), and an
// estimate of its saturation temperature with how far off it may be (K).
struct ExponentialLine {
  double triplePointTemperature;
  double triplePointPressure;
  double criticalTemperature;
  double criticalPressure;
  double (*temperatureEstimate)(double P);
  double estimateReach;
};

// Such a line between the triple point and the critical temperature,
// clamped outside: its pressure, its logarithm (the exponent itself, for
// locating the root) and the saturation temperature.
template <const ExponentialLine& C, double (*Exponent)(double)>
struct ExponentialSaturation {
  static double pressure(double T) {
    if (T <= C.triplePointTemperature) return C.triplePointPressure;
    if (T >= C.criticalTemperature) return C.criticalPressure;
    return C.criticalPressure * vmath::exp(Exponent(T));
  }
  static double logPressure(double T) {
    if (T <= C.triplePointTemperature) return kLogTriple;
    if (T >= C.criticalTemperature) return kLogCritical;
    return kLogCritical + Exponent(T);
  }
  // The logarithms of the fixed pressures, taken once when the program
  // starts (not behind a guard tested at every call).
  static inline const double kLogTriple = vmath::log(C.triplePointPressure);
  static inline const double kLogCritical = vmath::log(C.criticalPressure);
  static double temperature(double P) {
    static constexpr SaturationLine kLine{
        .pressure = pressure,
        .triplePressure = C.triplePointPressure,
        .criticalTemperature = C.criticalTemperature,
        .criticalPressure = C.criticalPressure,
        .logPressure = logPressure,
        .temperatureEstimate = C.temperatureEstimate,
        .estimateReach = C.estimateReach,
    };
    return bisectSaturationTemperature(P, kLine);
  }
};

}  // namespace vapordex
