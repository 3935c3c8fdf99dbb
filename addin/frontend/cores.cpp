#include "cores.hpp"

#include <cmath>
#include <limits>

#include "../engines/common/fast_path_check.hpp"
#include "../engines/common/regula_falsi.hpp"
#include "engine_ops.hpp"
#include "engines/common/vmath.hpp"

namespace vapordex {

namespace {

enum class Quantity { kVolume, kPressure, kEnthalpy, kEntropy };

constexpr Phase kLiquid = Phase::kSaturatedLiquid;
constexpr Phase kVapour = Phase::kSaturatedVapour;
constexpr Phase kSinglePhase = Phase::kSinglePhase;

// v, h or s of a pressure-based engine at (T, P, phase).
double atPressure(const EngineOps& e, Quantity q, double T, double P, Phase phase) {
  if (q == Quantity::kVolume) return e.specificVolume(T, P, phase);
  if (q == Quantity::kEnthalpy) return e.specificEnthalpy(T, P, phase);
  return e.specificEntropy(T, P, phase);
}

// v, P, h or s of a density-based engine at (T, rho).
double atDensity(const EngineOps& e, Quantity q, double T, double rho) {
  if (q == Quantity::kVolume) return 1.0 / rho;
  if (q == Quantity::kPressure) return e.pressureFromTD(T, rho);
  if (q == Quantity::kEnthalpy) return e.enthalpyFromTD(T, rho);
  return e.entropyFromTD(T, rho);
}

// Saturated liquid or vapour at T, with T clamped to the engine's saturation
// range [triple point, critical point].
double saturated(double T, std::int32_t code, Phase phase, Quantity q) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kErrorValue;
  const double low = e->triplePointTemperature;
  const double high = e->criticalTemperature;
  if (low > T) T = low;
  if (T > high) T = high;
  if (isPressureBased(*e)) return atPressure(*e, q, T, 0.0, phase);
  return atDensity(*e, q, T, e->densityFromTP(T, 0.0, phase));
}

double singlePhase(double T, double P, std::int32_t code, Quantity q) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return q == Quantity::kVolume ? kUnavailable : kErrorValue;
  if (isPressureBased(*e)) return atPressure(*e, q, T, P, kSinglePhase);
  const double rho = e->densityFromTP(T, P, kSinglePhase);
  // No density of the state's branch has the pressure: no state.
  if (std::isnan(rho) && !std::isnan(T) && !std::isnan(P)) {
    return q == Quantity::kVolume ? kUnavailable : kErrorValue;
  }
  return atDensity(*e, q, T, rho);
}

// A (T, v) state of a pressure-based engine: either two-phase with quality x
// at the saturation pressure, or single-phase at pressure P.
struct TvState {
  bool found;
  bool twoPhase;
  double P;
  double x;
};

// The comparisons of the (T, v) search's halvings: whether the single-phase
// volume at P = exp(x) exceeds v. Most are plain from where the answer lies,
// and are decided without evaluating the volume; only those near it are
// evaluated, exactly as the plain search evaluates them, so the search's
// result is the plain search's, bit for bit.
//
// The search's range of ln P splits into at most two zones: below the
// engine's solvedVolumeFrom(T) one closed-form equation, from there up an
// iterative volume search. Each zone is looked at when a midpoint first
// falls in it. Where the volume falls with pressure (up to its rounding, or
// the search's resolution) the ln P at which it crosses v is located: by
// regula falsi on ln(volume / v) in the closed-form zone, directly from the
// equation's pressure at v in the other. A midpoint clearly below that has
// the larger volume, one clearly above it the smaller. Below the critical
// temperature the iterative zone is left to evaluation up to the engine's
// solvedVolumeSingleRootAbove: there an isotherm's loop offers the volume
// search more than one root, and which it settles on need not follow the
// pressure monotonically.
class VolumeComparisons {
 public:
  VolumeComparisons(const EngineOps& e, double T, double v) : e_(e), T_(T), v_(v) {}

  // Sets out the zones of the search over [lnLow, lnHigh]; liquidSide: the
  // range starts at the saturation pressure (compressed liquid).
  void prepare(double lnLow, double lnHigh, bool liquidSide) {
    liquidSide_ = liquidSide;
    if (e_.solvedVolumeFrom == nullptr) return;
    // The formulations' temperature range, where their volumes are physical.
    if (!(T_ >= 273.15 && T_ <= 1073.15)) return;
    const double boundary = vmath::log(e_.solvedVolumeFrom(T_));
    if (std::isnan(boundary)) return;
    if (lnLow < boundary) addZone(lnLow, std::fmin(lnHigh, boundary), Kind::kClosedForm);
    // Below the critical temperature only where the isotherm has one root.
    const double solvedFrom = T_ >= e_.criticalTemperature
                                  ? boundary
                                  : std::fmax(boundary, vmath::log(e_.solvedVolumeSingleRootAbove));
    if (solvedFrom < lnHigh) addZone(std::fmax(lnLow, solvedFrom), lnHigh, Kind::kSolved);
  }

  bool exceeds(double x) {
    for (int i = 0; i < count_; ++i) {
      Zone& z = zones_[i];
      if (x > z.lo && x < z.hi) {
        if (!z.analysed) analyse(&z);
        if (x < z.below) return decided(x, true);
        if (x > z.above) return decided(x, false);
        break;
      }
    }
    return volumeAt(x) > v_;
  }

 private:
  enum class Kind { kClosedForm, kSolved };
  struct Zone {
    double lo, hi;  // the zone's interior, a hair inside its ends
    Kind kind;
    bool analysed;
    double below, above;  // decided: x < below exceeds; x > above does not
  };

  double volumeAt(double x) const { return e_.specificVolume(T_, vmath::exp(x), kSinglePhase); }

  // A comparison decided without evaluating (checked against the
  // evaluation where fast paths are checked).
  bool decided(double x, bool exceeds) const {
    if constexpr (kCheckFastPaths) {
      checkFastPath("(T, v) halving decided by the located root", exceeds, volumeAt(x) > v_);
    }
    return exceeds;
  }
  double g(double x) const { return vmath::log(volumeAt(x) / v_); }

  void addZone(double a, double b, Kind kind) {
    // Keep a hair inside the ends, where exp() might round across them.
    const double edge = 1e-11 * (1.0 + std::fmax(std::fabs(a), std::fabs(b)));
    const double nan = std::nan("");
    if (a + edge < b - edge) zones_[count_++] = Zone{a + edge, b - edge, kind, false, nan, nan};
  }

  // Sets below and above (left NaN, nothing is decided).
  void analyse(Zone* z) const {
    z->analysed = true;
    if (z->kind == Kind::kSolved) {
      analyseSolved(z);
    } else {
      analyseClosedForm(z);
    }
  }

  // The closed-form volume's rounding, relative.
  static constexpr double kClosedFormNoise = 2e-15;
  static constexpr int kRootSteps = 100;

  void analyseClosedForm(Zone* z) const {
    const bool liquid = liquidSide_;
    double l = z->lo;
    double r = z->hi;
    double fl = g(l);
    double fr = g(r);
    if (!std::isfinite(fl) || !std::isfinite(fr) || fl < fr) return;
    const double tolerance = 4.0 * kClosedFormNoise;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (fr > tolerance) {  // the whole zone exceeds v
      z->below = z->above = kInfinity;
      return;
    }
    if (fl < -tolerance) {  // nowhere in the zone
      z->below = z->above = -kInfinity;
      return;
    }
    if (!(fl > 0.0 && fr < 0.0)) return;  // too near an end to say
    // Illinois regula falsi until the volume matches v to within its
    // rounding (or the bracket closes).
    double x = 0.5 * (l + r);
    double fx = 0.0;
    bool located = false;
    // In ln P; ln(volume / v) falls with P, so a point above v replaces l.
    IllinoisBracket b{l, r, fl, fr};
    for (int k = 0; k < kRootSteps && !located; ++k) {
      // A liquid's volume is nearly linear in P, a gas's in ln P.
      x = liquid ? vmath::log(b.secant(vmath::exp(b.lo), vmath::exp(b.hi))) : b.secant();
      if (!(x > b.lo && x < b.hi)) x = 0.5 * (b.lo + b.hi);
      fx = g(x);
      if (!std::isfinite(fx)) return;
      located = std::fabs(fx) <= tolerance || b.hi - b.lo <= 1e-15 * (1.0 + std::fabs(x));
      b.replace(fx > 0.0, x, fx);
    }
    if (!located) return;
    l = b.lo;
    r = b.hi;
    fl = b.fLo;
    fr = b.fHi;
    // The local slope, over a step across which the volume changes by
    // about 1e-8, far above its rounding (the bracket's mean slope is a
    // first guess).
    const double guess = (fl - fr) / (r - l);
    if (!(guess > 0.0)) return;
    double h = 1e-8 / guess;
    if (x + h >= z->hi) h = -h;
    if (!(x + h > z->lo && x + h < z->hi)) return;
    const double fh = g(x + h);
    const double slope = (fx - fh) / h;
    if (!(slope > 0.0) || !std::isfinite(slope)) return;
    // The volume's noise-free crossing of v lies within 2 tolerance / slope
    // of x (or within the closed bracket), and beyond twice that no rounding
    // reverses a comparison; half as much again for the slope's own
    // uncertainty.
    const double spread = std::fabs(fx) <= tolerance ? 0.0 : r - l;
    const double margin = 6.0 * tolerance / slope + spread;
    z->below = x - margin;
    z->above = x + margin;
  }

  // The search's volume is within its resolution of the equation's: it
  // exceeds v below the pressure of v + resolution and not above that of
  // v - resolution.
  void analyseSolved(Zone* z) const {
    if (e_.solvedVolumePressure == nullptr) return;
    const double q = 4.0 * e_.solvedVolumeResolution;
    if (!(v_ > 2.0 * q)) return;
    const double pAbove = e_.solvedVolumePressure(T_, v_ + q);
    const double pBelow = e_.solvedVolumePressure(T_, v_ - q);
    const double p = e_.solvedVolumePressure(T_, v_);
    // The equation's pressure must fall with volume here.
    if (!(pAbove > 0.0 && pAbove < p && p < pBelow)) return;
    const double width = vmath::log(pBelow) - vmath::log(pAbove);
    z->below = vmath::log(pAbove) - 2.0 * width;
    z->above = vmath::log(pBelow) + 2.0 * width;
  }

  const EngineOps& e_;
  double T_;
  double v_;
  Zone zones_[2];
  int count_ = 0;
  bool liquidSide_ = false;
};

// Below the critical temperature a volume between vf(T) and vg(T) (both
// inclusive) is two-phase. Otherwise P is found by a fixed-count bisection in
// ln P on the engine's single-phase volume, which falls as P rises: above the
// saturation pressure for compressed liquid, below it for vapour, over the
// whole search range at and above the critical temperature. A volume that no
// pressure of the range reaches is reported as not found.
TvState solveTv(const EngineOps& e, double T, double v) {
  TvState st{false, false, 0.0, 0.0};
  double pLow = kTvPressureMin;
  double pHigh = kTvPressureMax;
  const double tc = e.criticalTemperature;
  if (T < tc) {
    const double ps = e.saturationPressure(T);
    const double vf = e.specificVolume(T, 0.0, kLiquid);
    // vg matters only from vf up.
    const double vg = v >= vf ? e.specificVolume(T, 0.0, kVapour) : vf;
    if (v >= vf && v <= vg) {
      st.found = true;
      st.twoPhase = true;
      st.P = ps;
      st.x = vg > vf ? (v - vf) / (vg - vf) : 0.0;
      return st;
    }
    if (v < vf) {
      pLow = ps;
    } else {
      pHigh = ps;
    }
  }
  // Reachable only between the volumes at the two ends of the range; the
  // saturation end is covered by the test above, and its volume is not
  // needed. Nor is the top's, for a volume above any that an engine's
  // volume search gives where that search serves the top of the range.
  const bool lowIsSaturation = pLow != kTvPressureMin;
  const bool highIsSaturation = pHigh != kTvPressureMax;
  const bool aboveSolvedTop = !highIsSaturation && e.solvedVolumeFrom != nullptr &&
                              v > e.solvedVolumeMax &&
                              pHigh > e.solvedVolumeFrom(T) * (1.0 + 1e-12);
  if (!highIsSaturation && !aboveSolvedTop && !(v >= e.specificVolume(T, pHigh, kSinglePhase))) {
    return st;
  }
  if (!lowIsSaturation && !(v <= e.specificVolume(T, pLow, kSinglePhase))) return st;
  if (!(v > 0.0)) return st;
  double lnLow = vmath::log(pLow);
  double lnHigh = vmath::log(pHigh);
  VolumeComparisons comparisons(e, T, v);
  comparisons.prepare(lnLow, lnHigh, lowIsSaturation);
  double mid = lnLow;
  for (int k = 0; k < kTvHalvings; ++k) {
    mid = (lnLow + lnHigh) * 0.5;
    if (comparisons.exceeds(mid)) {
      lnLow = mid;
    } else {
      lnHigh = mid;
    }
  }
  st.found = true;
  st.P = vmath::exp(mid);
  return st;
}

double pressureBasedTv(const EngineOps& e, double T, double v, Quantity q) {
  const TvState st = solveTv(e, T, v);
  if (!st.found) return kUnavailable;
  if (q == Quantity::kPressure) return st.P;
  if (!st.twoPhase) return atPressure(e, q, T, st.P, kSinglePhase);
  const double f = atPressure(e, q, T, 0.0, kLiquid);
  const double g = atPressure(e, q, T, 0.0, kVapour);
  return f + st.x * (g - f);
}

// Below the critical temperature a volume between vf(T) and vg(T) (the
// engine's own saturated volumes) is the equilibrium mixture: the saturation
// pressure, and h or s weighted by the quality. The equation of state there
// runs through its loop, whose values (negative pressures, far off
// enthalpies) are no state of water. The ends count as saturated states, as
// for the pressure-based engines: 1/vf and 1/vg need not give back the
// saturated densities' own doubles. Elsewhere the equation of state at
// rho = 1/v. A volume at or above the ideal gas's R T / Psat lies beyond
// vg, and the liquid's saturated density decides alone for a volume below
// vf.
double densityBasedTv(const EngineOps& e, double T, double v, Quantity q) {
  if (T < e.criticalTemperature && !(v >= e.gasConstant * T / e.saturationPressure(T))) {
    const double rhoF = e.densityFromTP(T, 0.0, kLiquid);
    if (v >= 1.0 / rhoF) {
      const double rhoG = e.densityFromTP(T, 0.0, kVapour);
      const double vf = 1.0 / rhoF;
      const double vg = 1.0 / rhoG;
      if (v <= vg) {
        if (q == Quantity::kPressure) return e.saturationPressure(T);
        const double x = vg > vf ? (v - vf) / (vg - vf) : 0.0;
        const double f = atDensity(e, q, T, rhoF);
        const double g = atDensity(e, q, T, rhoG);
        return f + x * (g - f);
      }
    }
  }
  return atDensity(e, q, T, 1.0 / v);
}

double temperatureVolume(double T, double v, std::int32_t code, Quantity q) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kUnavailable;
  if (isPressureBased(*e)) return pressureBasedTv(*e, T, v, q);
  return densityBasedTv(*e, T, v, q);
}

}  // namespace

double PsatCore(double T, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  return e == nullptr ? kErrorValue : e->saturationPressure(T);
}

double TsatCore(double P, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  return e == nullptr ? kErrorValue : e->saturationTemperature(P);
}

double VfCore(double T, std::int32_t code) {
  return saturated(T, code, kLiquid, Quantity::kVolume);
}
double VgCore(double T, std::int32_t code) {
  return saturated(T, code, kVapour, Quantity::kVolume);
}
double HfCore(double T, std::int32_t code) {
  return saturated(T, code, kLiquid, Quantity::kEnthalpy);
}
double HgCore(double T, std::int32_t code) {
  return saturated(T, code, kVapour, Quantity::kEnthalpy);
}
double SfCore(double T, std::int32_t code) {
  return saturated(T, code, kLiquid, Quantity::kEntropy);
}
double SgCore(double T, std::int32_t code) {
  return saturated(T, code, kVapour, Quantity::kEntropy);
}

double VofTPCore(double T, double P, std::int32_t code) {
  return singlePhase(T, P, code, Quantity::kVolume);
}
double HofTPCore(double T, double P, std::int32_t code) {
  return singlePhase(T, P, code, Quantity::kEnthalpy);
}
double SofTPCore(double T, double P, std::int32_t code) {
  return singlePhase(T, P, code, Quantity::kEntropy);
}

// A pressure at or below zero is no state: the unavailable marker, which
// the worksheet function reports as the error value.
double PofTVCore(double T, double v, std::int32_t code) {
  const double P = temperatureVolume(T, v, code, Quantity::kPressure);
  return P <= 0.0 ? kUnavailable : P;
}
double HofTVCore(double T, double v, std::int32_t code) {
  return temperatureVolume(T, v, code, Quantity::kEnthalpy);
}
double SofTVCore(double T, double v, std::int32_t code) {
  return temperatureVolume(T, v, code, Quantity::kEntropy);
}

}  // namespace vapordex
