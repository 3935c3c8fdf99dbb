#include "if97.hpp"

#include <cmath>
#include <limits>

#include "../common/fast_path_check.hpp"
#include "../common/iapws_saturation.hpp"
#include "../common/int_power.hpp"
#include "../common/regula_falsi.hpp"
#include "../common/same_double.hpp"
#include "../common/saturation.hpp"
#include "engines/common/vmath.hpp"
#include "if97_coefficients.hpp"
#include "if97_kept.hpp"

namespace vapordex::if97 {

namespace {

constexpr double kRegion1ReducingPressure = 16.53;
constexpr double kRegion1ReducingTemperature = 1386.0;
constexpr double kRegion2ReducingTemperature = 540.0;

// Powers x^k for k in [lowest, lowest + count), filled by products: of x
// for the positive ones, of 1/x for the negative ones. For regions 1 and 2
// each side comes from four interleaved chains (x^k = x^(k-4) x^4), so that
// region 2's 59 powers of (tau - 0.5) or region 1's 42 negative powers cost a
// few product latencies rather than one long chain of products or quotients;
// each is within a few units in the last place, as a single chain's would be.
// Region 3's short tables keep the single chains (x^k = x^(k-1) x, and
// quotients for the negative powers): its volume searches compare pressures
// to the last bit.
template <int Lowest, int Count, bool Interleaved = true>
struct PowerTable {
  double value[Count];
  PowerTable(double x) {
    constexpr int zero = -Lowest;
    value[zero] = 1.0;
    if constexpr (Interleaved) {
      fill<Count - 1 - zero, 1>(x);
      if constexpr (zero > 0) fill<zero, -1>(1.0 / x);
    } else {
      for (int k = zero + 1; k < Count; ++k) value[k] = value[k - 1] * x;
      for (int k = zero - 1; k >= 0; --k) value[k] = value[k + 1] / x;
    }
  }
  // value[zero + Step k] = y^k for k = 1 .. n.
  template <int N, int Step>
  void fill(double y) {
    constexpr int zero = -Lowest;
    if constexpr (N >= 1) value[zero + Step] = y;
    if constexpr (N >= 2) value[zero + 2 * Step] = y * y;
    if constexpr (N >= 3) value[zero + 3 * Step] = value[zero + 2 * Step] * y;
    if constexpr (N >= 4) {
      const double y4 = value[zero + 2 * Step] * value[zero + 2 * Step];
      value[zero + 4 * Step] = y4;
#pragma GCC unroll 64
      for (int k = 5; k <= N; ++k) value[zero + k * Step] = value[zero + (k - 4) * Step] * y4;
    }
  }
  double operator[](int exponent) const { return value[exponent - Lowest]; }
};

// Which of the Gibbs function's sums an evaluation needs: the volume needs
// its pi derivative, the enthalpy its tau derivative, the entropy the
// function and its tau derivative; the internal energy both derivatives.
// Each sum is the same whichever others are computed with it.
enum Want : unsigned {
  kWantVolume = 1u,
  kWantEnthalpy = 2u,
  kWantEntropy = 4u,
  kWantAll = 7u,
};

template <unsigned W>
constexpr bool kNeedsG = (W & kWantEntropy) != 0u;
template <unsigned W>
constexpr bool kNeedsPi = (W & kWantVolume) != 0u;
template <unsigned W>
constexpr bool kNeedsTau = (W & (kWantEnthalpy | kWantEntropy)) != 0u;

// Region 1: Gibbs function gamma(pi, tau).
template <unsigned W>
Properties region1Wanted(double T, double P) {
  const double pi = P / kRegion1ReducingPressure;
  const double tau = kRegion1ReducingTemperature / T;
  const PowerTable<-1, 34> a(7.1 - pi);      // (7.1 - pi)^(I - 1), I up to 32
  const PowerTable<-42, 60> b(tau - 1.222);  // (tau - 1.222)^(J - 1), J from -41 to 17
  double g = 0.0;
  double gPi = 0.0;
  double gTau = 0.0;
  // Unrolled, each term's exponents and coefficient products are constants.
#pragma GCC unroll 64
  for (const Term& t : kRegion1) {
    const double ai = a[t.i];
    const double bj = b[t.j];
    if constexpr (kNeedsG<W>) g += t.n * ai * bj;
    // Terms with a zero exponent have no derivative; skipping them also keeps
    // a zero base from turning 0 * inf into NaN.
    if constexpr (kNeedsPi<W>) {
      if (t.i != 0) gPi -= t.n * t.i * a[t.i - 1] * bj;
    }
    if constexpr (kNeedsTau<W>) {
      if (t.j != 0) gTau += t.n * t.j * ai * b[t.j - 1];
    }
  }
  const double rt = kR * T;
  Properties p{};
  p.v = rt / P * pi * gPi / 1000.0;
  p.h = rt * tau * gTau;
  p.u = rt * (tau * gTau - pi * gPi);
  p.s = kR * (tau * gTau - g);
  return p;
}

// Region 2: ideal-gas part plus residual part of the Gibbs function.
template <unsigned W>
Properties region2Wanted(double T, double P) {
  const double pi = P;
  const double tau = kRegion2ReducingTemperature / T;
  double g0 = 0.0;
  double g0Tau = 0.0;
  if constexpr (kNeedsTau<W>) {
    const PowerTable<-6, 10> t0(tau);  // tau^(J0 - 1) and tau^J0, J0 from -5 to 3
    if constexpr (kNeedsG<W>) g0 = vmath::log(pi);
#pragma GCC unroll 16
    for (const IdealTerm& t : kRegion2Ideal) {
      if constexpr (kNeedsG<W>) g0 += t.n * t0[t.j];
      if (t.j != 0) g0Tau += t.n * t.j * t0[t.j - 1];
    }
  }
  const PowerTable<0, 25> a(pi);          // pi^(I - 1), I from 1 to 24
  const PowerTable<-1, 60> b(tau - 0.5);  // (tau - 0.5)^(J - 1), J up to 58
  double gr = 0.0;
  double grPi = 0.0;
  double grTau = 0.0;
#pragma GCC unroll 64
  for (const Term& t : kRegion2Residual) {
    const double ai = a[t.i];
    const double bj = b[t.j];
    if constexpr (kNeedsG<W>) gr += t.n * ai * bj;
    if constexpr (kNeedsPi<W>) grPi += t.n * t.i * a[t.i - 1] * bj;
    if constexpr (kNeedsTau<W>) {
      if (t.j != 0) grTau += t.n * ai * t.j * b[t.j - 1];
    }
  }
  const double rt = kR * T;
  Properties p{};
  p.v = rt / P * (1.0 + pi * grPi) / 1000.0;
  p.h = rt * tau * (g0Tau + grTau);
  p.u = rt * (tau * (g0Tau + grTau) - (1.0 + pi * grPi));
  p.s = kR * (tau * (g0Tau + grTau) - (g0 + gr));
  return p;
}

}  // namespace

Properties region1(double T, double P) { return region1Wanted<kWantAll>(T, P); }
Properties region2(double T, double P) { return region2Wanted<kWantAll>(T, P); }

namespace {

struct Region3Derivatives {
  double phi;
  double phiDelta;
  double phiTau;
};

const Region3TauPowers& region3TauPowers(double T) {
  Region3TauPowers& cached = kept<Region3TauPowers>();
  if (!sameDouble(cached.T, T)) {
    const PowerTable<-1, 28, false> b(kCriticalTemperature / T);
    cached.T = T;
    for (int k = 0; k < 28; ++k) cached.value[k] = b.value[k];
  } else if constexpr (kCheckFastPaths) {
    const PowerTable<-1, 28, false> b(kCriticalTemperature / T);
    checkFastPath("IF97 kept region-3 tau powers", cached.value, b.value, 28);
  }
  return cached;
}

Region3Derivatives region3Phi(double delta, double T) {
  const PowerTable<-1, 13, false> a(delta);         // delta^(I - 1), I up to 11
  const Region3TauPowers& b = region3TauPowers(T);  // tau^(J - 1), J up to 26
  Region3Derivatives d{kRegion3LogCoefficient * vmath::log(delta), kRegion3LogCoefficient / delta,
                       0.0};
  // Unrolled, each term's exponents are constants.
#pragma GCC unroll 40
  for (const Term& t : kRegion3) {
    const double ai = a[t.i];
    const double bj = b[t.j];
    d.phi += t.n * ai * bj;
    if (t.i != 0) d.phiDelta += t.n * t.i * a[t.i - 1] * bj;
    if (t.j != 0) d.phiTau += t.n * ai * t.j * b[t.j - 1];
  }
  return d;
}

}  // namespace

Properties region3(double T, double rho, double* p) {
  const double delta = rho / kCriticalDensity;
  const double tau = kCriticalTemperature / T;
  const Region3Derivatives d = region3Phi(delta, T);
  const double rt = kR * T;
  Properties r;
  r.v = 1.0 / rho;
  r.h = rt * (tau * d.phiTau + delta * d.phiDelta);
  r.u = rt * tau * d.phiTau;
  r.s = kR * (tau * d.phiTau - d.phi);
  *p = rho * rt * delta * d.phiDelta / 1000.0;
  return r;
}

// P3(T, v) = (R T / v) delta phi_delta / 1000, in MPa.
double region3Pressure(double T, double v) {
  const double rho = 1.0 / v;
  const double delta = rho / kCriticalDensity;
  double phiDelta = kRegion3LogCoefficient / delta;
  const PowerTable<-1, 13, false> a(delta);
  const Region3TauPowers& b = region3TauPowers(T);
#pragma GCC unroll 40
  for (const Term& t : kRegion3) {
    if (t.i != 0) phiDelta += t.n * t.i * a[t.i - 1] * b[t.j];
  }
  return kR * T / v * delta * phiDelta / 1000.0;
}

namespace {

// P3(T, v) and dP3/dv, in MPa and MPa kg/m3.
void region3PressureSlope(double T, double v, double* p, double* dpdv) {
  const double rho = 1.0 / v;
  const double delta = rho / kCriticalDensity;
  double phiDelta = kRegion3LogCoefficient / delta;
  double phiDeltaDelta = -kRegion3LogCoefficient / (delta * delta);
  const PowerTable<-2, 13, false> a(delta);
  const Region3TauPowers& b = region3TauPowers(T);
#pragma GCC unroll 40
  for (const Term& t : kRegion3) {
    if (t.i != 0) phiDelta += t.n * t.i * a[t.i - 1] * b[t.j];
    if (t.i > 1) phiDeltaDelta += t.n * t.i * (t.i - 1) * a[t.i - 2] * b[t.j];
  }
  const double rt = kR * T / 1000.0;
  *p = rho * rt * delta * phiDelta;
  // dP/drho = R T (2 delta phi_delta + delta^2 phi_deltadelta); dv = -drho / rho^2.
  *dpdv = -rho * rho * rt * (2.0 * delta * phiDelta + delta * delta * phiDeltaDelta);
}

// Where P3(T, v) = P on the falling part of an isotherm: at or above the
// critical temperature, or below it for a pressure above
// kRegion3SingleRootAbove, above the isotherm's loop, so that the liquid
// branch holds the only root. (Beyond region 3's densest states the equation's pressure turns and
// falls again towards 0.001 m3/kg, so the isotherm falls only from its
// maximum on.) The bracket is found by halving the volume down from
// 0.010 m3/kg until the pressure exceeds P where it still falls with volume;
// regula falsi (Illinois) in ln v then narrows it to 1e-5, and Newton steps
// polish it. *trusted receives the bracket's lower end: above it the pressure
// falls monotonically to below P, and stays below it, so that a comparison
// with P is decided by the side of the root. *margin receives the band
// around the root within which the pressure's rounding could reverse a
// comparison. NaN when no such bracket is found.
double region3Root(double T, double P, double* trusted, double* margin) {
  // Below the critical temperature the halvings cross the loop, where the
  // pressure (below P) may rise with volume; only the bracket's lower end
  // must lie where it falls.
  const bool subcritical = T < kCriticalTemperature;
  if (subcritical && !(P > kRegion3SingleRootAbove)) return std::nan("");
  double hi = kRegion3VolumeHigh;
  double fHi = region3Pressure(T, hi) - P;
  if (!(fHi < 0.0)) return std::nan("");
  double lo = hi;
  double fLo = fHi;
  double p = 0.0;
  double dpdv = 0.0;
  for (int k = 0; k < 8 && !(fLo > 0.0); ++k) {
    hi = lo;
    fHi = fLo;
    lo = 0.5 * (lo + kRegion3VolumeLow);
    region3PressureSlope(T, lo, &p, &dpdv);
    fLo = p - P;
    if (!(dpdv < 0.0) && (!subcritical || fLo > 0.0)) return std::nan("");
  }
  if (!(fLo > 0.0)) return std::nan("");
  *trusted = lo;
  double v = lo;
  // The pressure falls with volume: a point of higher pressure replaces lo.
  IllinoisBracket b{lo, hi, fLo, fHi};
  for (int k = 0; k < kRegion3RootSteps && b.hi - b.lo > 1e-5 * b.lo; ++k) {
    v = vmath::exp(b.secant(vmath::log(b.lo), vmath::log(b.hi)));
    if (!(v > b.lo && v < b.hi)) v = 0.5 * (b.lo + b.hi);
    const double f = region3Pressure(T, v) - P;
    if (!(f > 0.0) && !(f < 0.0)) break;
    b.replace(f > 0.0, v, f);
  }
  lo = b.lo;
  hi = b.hi;
  for (int k = 0; k < 3; ++k) {
    region3PressureSlope(T, v, &p, &dpdv);
    if (!(dpdv < 0.0)) return std::nan("");
    v = std::fmin(std::fmax(v - (p - P) / dpdv, lo), hi);
  }
  region3PressureSlope(T, v, &p, &dpdv);
  if (!(dpdv < 0.0)) return std::nan("");
  // The root's remaining error (the next Newton step, taken four times
  // over) and the pressure's rounding, well below 1e-12 of P.
  *margin = 4.0 * std::fabs((p - P) / dpdv) + 1e-12 * P / -dpdv + 1e-15 * v;
  return v;
}

}  // namespace

// Two passes of 32 halvings: the second keeps the lower end reached by the
// first and starts again from the initial upper end. Where the isotherm's
// pressure crosses P once on a falling branch (at and above the critical
// temperature, or just above the critical pressure below it), the halvings are
// replayed around the located root: a midpoint clearly below it has the
// higher pressure, one clearly above the lower; only midpoints within the
// margin are evaluated, as the plain bisection evaluates them, so the result
// is the plain bisection's.
double region3Volume(double T, double P) {
  // The bisection cannot decide on NaN and would settle on a bracket end.
  if (std::isnan(T) || std::isnan(P)) return std::nan("");
  double margin = 0.0;
  double trusted = kRegion3VolumeHigh;
  const double root = region3Root(T, P, &trusted, &margin);
  const double below = root - margin;
  const double above = root + margin;
  double lo = kRegion3VolumeLow;
  double hi = kRegion3VolumeHigh;
  double mid = 0.0;
  for (int pass = 0; pass < 2; ++pass) {
    hi = kRegion3VolumeHigh;
    for (int k = 0; k < 32; ++k) {
      mid = (hi + lo) * 0.5;
      // Clearly below the root (where the pressure is known to fall) the
      // pressure exceeds P; clearly above it not; in between as the plain
      // bisection decides.
      const bool decided = (mid < below && mid > trusted) || mid > above;
      const bool rootAbove =
          (mid < below && mid > trusted) || (!(mid > above) && region3Pressure(T, mid) > P);
      if constexpr (kCheckFastPaths) {
        if (decided) {
          checkFastPath("IF97 region-3 halving decided by the located root", rootAbove,
                        region3Pressure(T, mid) > P);
        }
      }
      (rootAbove ? lo : hi) = mid;
    }
  }
  return mid;
}

namespace {

// The end of the liquid (or vapour) branch of a region-3 isotherm below the
// critical temperature: the volume of least pressure in [0.001 m3/kg, vc]
// (greatest in [vc, 0.010 m3/kg]), found by golden-section search. Between
// the two the isotherm's pressure rises with volume (states no phase has).
double region3Spinodal(double T, bool liquid) {
  const double vc = 1.0 / kCriticalDensity;
  const double sign = liquid ? 1.0 : -1.0;  // minimise p on the liquid side
  return goldenSectionMinimum([&](double v) { return sign * region3Pressure(T, v); },
                              liquid ? kRegion3VolumeLow : vc, liquid ? vc : kRegion3VolumeHigh,
                              kRegion3BranchSteps, 0.0);
}

}  // namespace

namespace {

// Newton's method on P3(T, v) = P from the region-1 (liquid) or region-2
// (vapour) volume, which lies close to the branch below the critical
// temperature. Returns NaN unless it converges to a state of the branch:
// pressure falling with volume, on the branch's side of the critical volume.
double region3NewtonOnBranch(double T, double P, bool liquid) {
  double v = (liquid ? region1(T, P) : region2(T, P)).v;
  const double vc = 1.0 / kCriticalDensity;
  for (int k = 0; k < kRegion3NewtonSteps; ++k) {
    double p = 0.0;
    double dpdv = 0.0;
    region3PressureSlope(T, v, &p, &dpdv);
    if (!(dpdv < 0.0)) return std::nan("");
    const double step = (p - P) / dpdv;
    v -= step;
    if (!(v > kRegion3VolumeLow && v < kRegion3VolumeHigh) || (liquid ? v >= vc : v <= vc)) {
      return std::nan("");
    }
    // Quadratic convergence: a step this small leaves the next one at the
    // rounding of the pressure; take it and stop.
    if (std::fabs(step) <= 1e-9 * v) {
      region3PressureSlope(T, v, &p, &dpdv);
      v -= (p - P) / dpdv;
      return dpdv < 0.0 && std::fabs(p / P - 1.0) < 1e-8 ? v : std::nan("");
    }
  }
  return std::nan("");
}

}  // namespace

double region3VolumeOnBranch(double T, double P, bool liquid) {
  if (std::isnan(T) || std::isnan(P)) return std::nan("");
  // Below the critical temperature Newton from the neighbouring region's
  // volume finds the branch's root in a few steps; the bracketed search
  // below is the fallback.
  if (T < kCriticalTemperature) {
    const double v = region3NewtonOnBranch(T, P, liquid);
    if (!std::isnan(v)) return v;
  }
  double lo = kRegion3VolumeLow;
  double hi = kRegion3VolumeHigh;
  if (T < kCriticalTemperature) (liquid ? hi : lo) = region3Spinodal(T, liquid);
  // On the branch the pressure falls as the volume grows.
  for (int k = 0; k < kRegion3BranchSteps && hi - lo > 0.0; ++k) {
    const double mid = (hi + lo) * 0.5;
    if (mid == lo || mid == hi) break;
    if (region3Pressure(T, mid) > P) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return (hi + lo) * 0.5;
}

double b23Pressure(double T) { return (kB23[2] * T + kB23[1]) * T + kB23[0]; }

double solvedVolumePressure(double T, double v) {
  // Near the ends of its range the search's volume stays pinned to the end
  // rather than following the equation.
  const double guard = 16.0 * kSolvedVolumeResolution;
  if (!(v > kRegion3VolumeLow * 1000.0 + guard && v < kRegion3VolumeHigh * 1000.0 - guard)) {
    return std::nan("");
  }
  return region3Pressure(T, v / 1000.0);
}

double solvedVolumeFrom(double T) {
  return T < kRegion3Temperature ? std::numeric_limits<double>::infinity() : b23Pressure(T);
}

double saturationPressure(double T) { return iapws_saturation::pressure(T); }

double saturationTemperatureEstimate(double P) { return iapws_saturation::temperatureEstimate(P); }

// Fixed 32-step bisection on the saturation-pressure equation; the result is
// the last midpoint computed.
double saturationTemperature(double P) {
  static constexpr SaturationLine kLine{
      .pressure = saturationPressure,
      .triplePressure = kTriplePointPressure,
      .criticalTemperature = kCriticalTemperature,
      .criticalPressure = kCriticalPressure,
      .temperatureEstimate = saturationTemperatureEstimate,
      .estimateReach = 1e-6,  // its algebraic inverse, to rounding
      .estimateIsRoot = true,
  };
  return bisectSaturationTemperature(P, kLine);
}

namespace {

// The volume of a single-phase region-3 state, m3/kg.
double region3StateVolume(double T, double P) {
  double v3 = region3Volume(T, P);
  // Below the critical temperature and at or above the saturation pressure
  // the state is liquid, which the two-pass bisection may miss by settling
  // on the vapour-side crossing (volume beyond the critical volume).
  if (T < kCriticalTemperature && v3 > 1.0 / kCriticalDensity && P >= saturationPressure(T)) {
    v3 = region3VolumeOnBranch(T, P, true);
  }
  return v3;
}

template <unsigned W>
Properties state(double T, double P, Phase phase) {
  Properties r{};
  if (phase == Phase::kSaturatedLiquid || phase == Phase::kSaturatedVapour) {
    if (T > kCriticalTemperature) T = kCriticalTemperature;
    P = saturationPressure(T);
    if (T > kRegion3Temperature) {
      // Above 623.15 K both saturated phases are region-3 states, on the
      // liquid and the vapour branch of the isotherm at the saturation
      // pressure.
      double p3 = 0.0;
      r = region3(T, 1.0 / region3VolumeOnBranch(T, P, phase == Phase::kSaturatedLiquid), &p3);
    } else {
      r = phase == Phase::kSaturatedLiquid ? region1Wanted<W>(T, P) : region2Wanted<W>(T, P);
    }
  } else if (T < kRegion3Temperature) {
    r = P < saturationPressure(T) ? region2Wanted<W>(T, P) : region1Wanted<W>(T, P);
  } else if (P < b23Pressure(T)) {
    r = region2Wanted<W>(T, P);
  } else {
    double p3 = 0.0;
    r = region3(T, 1.0 / region3StateVolume(T, P), &p3);
  }
  return r;
}

}  // namespace

void evaluateState(double T, double P, Phase phase, double* v, double* h, double* s) {
  const Properties r = state<kWantAll>(T, P, phase);
  *v = r.v;
  *h = r.h;
  *s = r.s;
}

double specificVolume(double T, double P, Phase phase) {
  return state<kWantVolume>(T, P, phase).v * 1000.0;
}

double specificEnthalpy(double T, double P, Phase phase) {
  return state<kWantEnthalpy>(T, P, phase).h;
}

double specificEntropy(double T, double P, Phase phase) {
  return state<kWantEntropy>(T, P, phase).s;
}

namespace {

// A Gibbs function's derivatives gamma_pi, gamma_pipi, gamma_pitau and
// gamma_tautau at (pi, tau), with pi = P / pStar.
struct GibbsSecond {
  double gPi, gPiPi, gPiTau, gTauTau;
};

Derived fromReducedGibbs(double T, double pStar, double tau, const GibbsSecond& g) {
  const double v = kR * T * g.gPi / pStar;  // kJ/kg per MPa is cm3/g
  const double vP = kR * T * g.gPiPi / (pStar * pStar);
  const double vT = kR * (g.gPi - tau * g.gPiTau) / pStar;
  return fromGibbs(T, v, vP, vT, -kR * tau * tau * g.gTauTau);
}

Derived region1Derived(double T, double P) {
  const double pi = P / kRegion1ReducingPressure;
  const double tau = kRegion1ReducingTemperature / T;
  const PowerTable<-2, 35> a(7.1 - pi);      // (7.1 - pi)^(I - 2) to ^I, I up to 32
  const PowerTable<-43, 61> b(tau - 1.222);  // (tau - 1.222)^(J - 2), J from -41 to 17
  GibbsSecond g{0.0, 0.0, 0.0, 0.0};
  // Terms whose factor I, I - 1, J or J - 1 is 0 are skipped, which keeps a
  // zero base from turning 0 * inf into NaN.
  for (const Term& t : kRegion1) {
    // d/dpi of (7.1 - pi)^I is -I (7.1 - pi)^(I - 1).
    if (t.i != 0) g.gPi -= t.n * t.i * a[t.i - 1] * b[t.j];
    if (t.i > 1) g.gPiPi += t.n * t.i * (t.i - 1) * a[t.i - 2] * b[t.j];
    if (t.i != 0 && t.j != 0) g.gPiTau -= t.n * t.i * a[t.i - 1] * t.j * b[t.j - 1];
    if (t.j != 0 && t.j != 1) g.gTauTau += t.n * a[t.i] * t.j * (t.j - 1) * b[t.j - 2];
  }
  return fromReducedGibbs(T, kRegion1ReducingPressure, tau, g);
}

Derived region2Derived(double T, double P) {
  const double pi = P;
  const double tau = kRegion2ReducingTemperature / T;
  const PowerTable<-7, 11> t0(tau);       // tau^(J0 - 2), J0 from -5 to 3
  const PowerTable<-1, 26> a(pi);         // pi^(I - 2) to pi^I, I from 1 to 24
  const PowerTable<-2, 61> b(tau - 0.5);  // (tau - 0.5)^(J - 2), J up to 58
  GibbsSecond g{1.0 / pi, -1.0 / (pi * pi), 0.0, 0.0};
  for (const IdealTerm& t : kRegion2Ideal) g.gTauTau += t.n * t.j * (t.j - 1) * t0[t.j - 2];
  for (const Term& t : kRegion2Residual) {
    g.gPi += t.n * t.i * a[t.i - 1] * b[t.j];
    if (t.i > 1) g.gPiPi += t.n * t.i * (t.i - 1) * a[t.i - 2] * b[t.j];
    if (t.j != 0) g.gPiTau += t.n * t.i * a[t.i - 1] * t.j * b[t.j - 1];
    if (t.j != 0 && t.j != 1) g.gTauTau += t.n * a[t.i] * t.j * (t.j - 1) * b[t.j - 2];
  }
  return fromReducedGibbs(T, 1.0, tau, g);
}

}  // namespace

Derived region3Derived(double T, double rho) {
  const double delta = rho * 1000.0 / kCriticalDensity;  // kCriticalDensity in kg/m3
  const double tau = kCriticalTemperature / T;
  const PowerTable<-2, 14, false> a(delta);  // delta^(I - 2), I up to 11
  const PowerTable<-2, 29, false> b(tau);    // tau^(J - 2), J up to 26
  double phiDelta = kRegion3LogCoefficient / delta;
  double phiDeltaDelta = -kRegion3LogCoefficient / (delta * delta);
  double phiDeltaTau = 0.0;
  double phiTauTau = 0.0;
  for (const Term& t : kRegion3) {
    if (t.i != 0) phiDelta += t.n * t.i * a[t.i - 1] * b[t.j];
    if (t.i > 1) phiDeltaDelta += t.n * t.i * (t.i - 1) * a[t.i - 2] * b[t.j];
    if (t.i != 0 && t.j != 0) phiDeltaTau += t.n * t.i * a[t.i - 1] * t.j * b[t.j - 1];
    if (t.j > 1) phiTauTau += t.n * a[t.i] * t.j * (t.j - 1) * b[t.j - 2];
  }
  // rho in g/cm3: rho R T is in MPa.
  const double rt = kR * T;
  const double pRho = rt * (2.0 * delta * phiDelta + delta * delta * phiDeltaDelta);
  const double pT = rho * kR * (delta * phiDelta - delta * tau * phiDeltaTau);
  return fromHelmholtz(T, rho, pRho, pT, -kR * tau * tau * phiTauTau);
}

Derived derivedFromTP(double T, double P) {
  if (std::isnan(T) || std::isnan(P))
    return Derived{std::nan(""), std::nan(""), std::nan(""), std::nan(""), std::nan("")};
  if (T < kRegion3Temperature) {
    return P < saturationPressure(T) ? region2Derived(T, P) : region1Derived(T, P);
  }
  if (P < b23Pressure(T)) return region2Derived(T, P);
  // region3StateVolume is in m3/kg; 1/(1000 v) is g/cm3.
  return region3Derived(T, 1.0 / (1000.0 * region3StateVolume(T, P)));
}

}  // namespace vapordex::if97
