#include "inverse.hpp"

#include <cmath>

#include "../engines/common/regula_falsi.hpp"
#include "cores.hpp"
#include "engine_ops.hpp"

namespace vapordex {

namespace {

// z at quality x = (y - yf) / (yg - yf) between the saturated values.
double interpolateQuality(double y, double yf, double yg, double zf, double zg) {
  const double x = (y - yf) / (yg - yf);
  return zf + x * (zg - zf);
}

// Entropy and enthalpy at (T, v) for the bisection of HofTSByVolume: the
// engine's (T, rho) operations, or the unavailable marker when there are none.
double entropyAtVolume(double T, double v, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr || e->entropyFromTD == nullptr) return kUnavailable;
  return e->entropyFromTD(T, 1.0 / v);
}

double enthalpyAtVolume(double T, double v, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr || e->enthalpyFromTD == nullptr) return kUnavailable;
  return e->enthalpyFromTD(T, 1.0 / v);
}

// The temperature in [low, high] at which property(T, P) equals y, for a
// property that rises with T on that single-phase interval: regula falsi with
// the Illinois modification, kept bracketed, to the resolution of doubles.
// Returns the error value when y lies outside the property's values at the
// two ends (no state of this phase has it).
double bracketedTemperature(double (*property)(double, double, std::int32_t), double P, double y,
                            std::int32_t code, double low, double high, double yLow, double yHigh) {
  double fLow = yLow - y;
  double fHigh = yHigh - y;
  if (!(fLow <= 0.0 && fHigh >= 0.0)) return kErrorValue;
  if (fLow == 0.0) return low;
  if (fHigh == 0.0) return high;
  const double t = regulaFalsi([&](double T) { return property(T, P, code) - y; }, low, high, fLow,
                               fHigh, kBracketedIterations, kBracketedResolution);
  return std::isnan(t) ? kErrorValue : t;  // NaN inside the bracket
}

// The phase interval of a single-phase (P, y) state below the critical
// pressure: compressed liquid lies in [273.15 K, Ts], superheated vapour in
// [Ts, 1500 K]. yF and yG are the saturated values at Ts.
struct PhaseBounds {
  double low = kSolverTemperatureLow;
  double high = kSolverTemperatureHigh;
  double ts = 0.0;
  bool subcritical = false;
  bool liquid = false;
};

// Whether an estimate of the specified iteration is a sound answer: its
// residual within the iteration's tolerance and on its phase's side of the
// saturation temperature.
bool sound(double t, double residual, double tolerance, const PhaseBounds& b) {
  if (!(std::fabs(residual) < tolerance)) return false;
  if (!b.subcritical) return true;
  return b.liquid ? t <= b.ts : t >= b.ts;
}

// The answer when the specified iteration's estimate is not sound: the
// bracketed solve on the phase's own interval, whose saturated end takes the
// saturated value rather than an evaluation exactly on the line.
double phaseSolve(double (*property)(double, double, std::int32_t), double P, double y,
                  std::int32_t code, const PhaseBounds& b, double ySaturated) {
  const double yLow = b.subcritical && !b.liquid ? ySaturated : property(b.low, P, code);
  const double yHigh = b.subcritical && b.liquid ? ySaturated : property(b.high, P, code);
  return bracketedTemperature(property, P, y, code, b.low, b.high, yLow, yHigh);
}

// The engine's critical pressure and temperature (what its saturation
// pressure at 999 K and saturation temperature at 9999 MPa answer), or the
// error value for a code that selects no engine.
double criticalPressure(std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  return e == nullptr ? kErrorValue : e->criticalPressure;
}
double criticalTemperature(std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  return e == nullptr ? kErrorValue : e->criticalTemperature;
}

// Whether a bisection ended against an end of its fixed search range (an end
// given as 0 is a saturation end, which is a state of its own): one of its
// ends never moved.
bool pinned(double low, double high, double rangeLow, double rangeHigh) {
  return low == rangeLow || high == rangeHigh;
}

// The saturation temperature at P and a property's saturated liquid and
// vapour values there, below the engine's critical pressure (subcritical
// false above it): what an inverse function and its caller both need first.
struct SaturatedEnds {
  bool subcritical = false;
  double ts = 0.0;
  double f = 0.0;  // the saturated liquid's value
  double g = 0.0;  // the saturated vapour's
};

SaturatedEnds saturatedEnds(double P, std::int32_t code, double (*liquid)(double, std::int32_t),
                            double (*vapour)(double, std::int32_t)) {
  SaturatedEnds ends;
  if (criticalPressure(code) > P) {
    ends.subcritical = true;
    ends.ts = TsatCore(P, code);
    ends.f = liquid(ends.ts, code);
    ends.g = vapour(ends.ts, code);
  }
  return ends;
}

double TofPHFrom(double P, double h, std::int32_t code, const SaturatedEnds& ends);
double TofPSFrom(double P, double s, std::int32_t code, const SaturatedEnds& ends);

}  // namespace

double TofPHCore(double P, double h, std::int32_t code) {
  return TofPHFrom(P, h, code, saturatedEnds(P, code, HfCore, HgCore));
}

double TofPSCore(double P, double s, std::int32_t code) {
  return TofPSFrom(P, s, code, saturatedEnds(P, code, SfCore, SgCore));
}

namespace {

// Secant iteration on HofTPCore between 273.15 K and 1500 K that always
// replaces the end with the larger residual. That iteration can oscillate
// across the jump of h(T) at the saturation temperature; an estimate that
// does not reproduce h or lies on the wrong phase is replaced by the
// bracketed solve on the phase's own interval.
double TofPHFrom(double P, double h, std::int32_t code, const SaturatedEnds& ends) {
  PhaseBounds bounds;
  double hSaturated = 0.0;
  if (ends.subcritical) {
    const double ts = ends.ts;
    const double hf = ends.f;
    const double hg = ends.g;
    if (hf <= h && h <= hg) return ts;
    bounds.subcritical = true;
    bounds.ts = ts;
    bounds.liquid = h < hf;
    (bounds.liquid ? bounds.high : bounds.low) = ts;
    hSaturated = bounds.liquid ? hf : hg;
  }
  double t1 = kSolverTemperatureLow;
  double t2 = kSolverTemperatureHigh;
  double h1 = HofTPCore(t1, P, code);
  double h2 = HofTPCore(t2, P, code);
  // No secant step at all (both ends alike, as for an unrecognised code)
  // leaves no estimate: report the error value.
  double tn = kErrorValue;
  double residual = std::nan("");
  for (int k = 0; k < kSolverIterations; ++k) {
    if (std::fabs(h2 - h1) < kEnthalpyCollapse) break;
    tn = (t1 * (h2 - h) - t2 * (h1 - h)) / (h2 - h1);
    const double hn = HofTPCore(tn, P, code);
    residual = hn - h;
    if (std::fabs(hn - h) < kEnthalpyTolerance) break;
    if (std::fabs(h2 - h) > std::fabs(h1 - h)) {
      t2 = tn;
      h2 = hn;
    } else {
      t1 = tn;
      h1 = hn;
    }
  }
  if (tn == kErrorValue || sound(tn, residual, kEnthalpyTolerance, bounds)) return tn;
  return phaseSolve(HofTPCore, P, h, code, bounds, hSaturated);
}

// Secant step damped by halving toward fixed bounds: below sf the bounds are
// [273.15 K, Tsat], above sg [Tsat, 1500 K], otherwise [273.15 K, 1500 K].
// An estimate that does not reproduce s (one pinned to a bound that no state
// of the interval reaches, say) is replaced by the bracketed solve on the
// same interval, which reports a state outside it as the error value.
double TofPSFrom(double P, double s, std::int32_t code, const SaturatedEnds& ends) {
  double lower = kSolverTemperatureLow;
  double upper = kSolverTemperatureHigh;
  PhaseBounds bounds;
  double sSaturated = 0.0;
  if (ends.subcritical) {
    const double ts = ends.ts;
    const double sf = ends.f;
    const double sg = ends.g;
    if (sf > s) {
      upper = ts;
      sSaturated = sf;
    } else if (s > sg) {
      lower = ts;
      sSaturated = sg;
    } else {
      return ts;
    }
    bounds = {lower, upper, ts, true, sf > s};
  }
  double t = (upper + lower) * 0.5;
  double t1 = lower;
  double t2 = upper;
  double s1 = SofTPCore(t1, P, code);
  double s2 = SofTPCore(t2, P, code);
  double residual = std::nan("");
  for (int k = 0; k < kSolverIterations; ++k) {
    if (std::fabs(s2 - s1) < kEntropyCollapse) break;
    const double secant = (t1 * (s2 - s) - t2 * (s1 - s)) / (s2 - s1);
    t = std::fmax(std::fmin(secant, (t + upper) * 0.5), (t + lower) * 0.5);
    const double sn = SofTPCore(t, P, code);
    residual = sn - s;
    if (std::fabs(sn - s) < kEntropyTolerance) break;
    if (std::fabs(s2 - s) > std::fabs(s1 - s)) {
      t2 = t;
      s2 = sn;
    } else {
      t1 = t;
      s1 = sn;
    }
  }
  if (std::isnan(residual)) residual = SofTPCore(t, P, code) - s;
  if (sound(t, residual, kEntropyTolerance, bounds)) return t;
  return phaseSolve(SofTPCore, P, s, code, bounds, sSaturated);
}

}  // namespace

namespace {

// The other property at the temperature t found for a single-phase (P, y)
// state. Tsat(P) is a bisection's last midpoint, so t may lie within its
// resolution (1e-7 K) of the line on the side where the engine's own phase
// test at (t, P), P above Psat(t) for liquid, picks the other phase; the
// state there is the saturated one of its own phase.
double otherProperty(double (*property)(double, double, std::int32_t),
                     double (*liquid)(double, std::int32_t), double (*vapour)(double, std::int32_t),
                     double t, double P, double y, std::int32_t code, const SaturatedEnds& ends) {
  if (t == kErrorValue) return kErrorValue;
  if (ends.subcritical && (y < ends.f || y > ends.g)) {
    const bool liquidSide = y < ends.f;
    const bool liquidAnswer = P > PsatCore(t, code);
    if (liquidSide != liquidAnswer)
      return liquidSide ? liquid(ends.ts, code) : vapour(ends.ts, code);
  }
  return property(t, P, code);
}

}  // namespace

double SofPHCore(double P, double h, std::int32_t code) {
  const SaturatedEnds ends = saturatedEnds(P, code, HfCore, HgCore);
  if (ends.subcritical && ends.f <= h && h <= ends.g) {
    return interpolateQuality(h, ends.f, ends.g, SfCore(ends.ts, code), SgCore(ends.ts, code));
  }
  return otherProperty(SofTPCore, SfCore, SgCore, TofPHFrom(P, h, code, ends), P, h, code, ends);
}

double HofPSCore(double P, double s, std::int32_t code) {
  const SaturatedEnds ends = saturatedEnds(P, code, SfCore, SgCore);
  if (ends.subcritical && ends.f <= s && s <= ends.g) {
    return interpolateQuality(s, ends.f, ends.g, HfCore(ends.ts, code), HgCore(ends.ts, code));
  }
  return otherProperty(HofTPCore, HfCore, HgCore, TofPSFrom(P, s, code, ends), P, s, code, ends);
}

// Fixed 32-step bisection in ln P on SofTPCore.
double HofTSByPressure(double T, double s, std::int32_t code) {
  double low = kSolverPressureLow;
  double high = kSolverPressureHigh;
  const double tc = criticalTemperature(code);
  if (tc > T) {
    const double sf = SfCore(T, code);
    const double sg = SgCore(T, code);
    if (sf > s) {
      low = PsatCore(T, code);
    } else if (s > sg) {
      high = PsatCore(T, code);
    } else {
      return interpolateQuality(s, sf, sg, HfCore(T, code), HgCore(T, code));
    }
  }
  const double rangeLow = low == kSolverPressureLow ? low : 0.0;
  const double rangeHigh = high == kSolverPressureHigh ? high : 0.0;
  double pm = 0.0;
  for (int k = 0; k < kSolverIterations; ++k) {
    pm = std::sqrt(high * low);
    if (SofTPCore(T, pm, code) > s) {
      low = pm;
    } else {
      high = pm;
    }
  }
  if (pinned(low, high, rangeLow, rangeHigh) &&
      !(std::fabs(SofTPCore(T, pm, code) - s) < kEntropyTolerance)) {
    return kErrorValue;
  }
  return HofTPCore(T, pm, code);
}

// Fixed 32-step bisection in ln v on the engine's (T, rho) entropy.
double HofTSByVolume(double T, double s, std::int32_t code) {
  double low = kSolverVolumeLow;
  double high = kSolverVolumeHigh;
  const double tc = criticalTemperature(code);
  if (tc > T) {
    const double sf = SfCore(T, code);
    const double sg = SgCore(T, code);
    if (sf > s) {
      high = VfCore(T, code);
    } else if (s > sg) {
      low = VgCore(T, code);
    } else {
      return interpolateQuality(s, sf, sg, HfCore(T, code), HgCore(T, code));
    }
  }
  const double rangeLow = low == kSolverVolumeLow ? low : 0.0;
  const double rangeHigh = high == kSolverVolumeHigh ? high : 0.0;
  double vm = 0.0;
  for (int k = 0; k < kSolverIterations; ++k) {
    vm = std::sqrt(high * low);
    if (s > entropyAtVolume(T, vm, code)) {
      low = vm;
    } else {
      high = vm;
    }
  }
  if (pinned(low, high, rangeLow, rangeHigh) &&
      !(std::fabs(entropyAtVolume(T, vm, code) - s) < kEntropyTolerance)) {
    return kErrorValue;
  }
  return enthalpyAtVolume(T, vm, code);
}

}  // namespace vapordex
