#include "inverse.hpp"

#include <cmath>

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

}  // namespace

// Secant iteration on HofTPCore between 273.15 K and 1500 K that always
// replaces the end with the larger residual.
double TofPHCore(double P, double h, std::int32_t code) {
  const double pc = PsatCore(kCriticalPressureProbe, code);
  if (pc > P) {
    const double ts = TsatCore(P, code);
    const double hf = HfCore(ts, code);
    const double hg = HgCore(ts, code);
    if (hf <= h && h <= hg) return ts;
  }
  double t1 = kSolverTemperatureLow;
  double t2 = kSolverTemperatureHigh;
  double h1 = HofTPCore(t1, P, code);
  double h2 = HofTPCore(t2, P, code);
  // No secant step at all (both ends alike, as for an unrecognised code)
  // leaves no estimate: report the error value.
  double tn = kErrorValue;
  for (int k = 0; k < kSolverIterations; ++k) {
    if (std::fabs(h2 - h1) < kEnthalpyCollapse) break;
    tn = (t1 * (h2 - h) - t2 * (h1 - h)) / (h2 - h1);
    const double hn = HofTPCore(tn, P, code);
    if (std::fabs(hn - h) < kEnthalpyTolerance) break;
    if (std::fabs(h2 - h) > std::fabs(h1 - h)) {
      t2 = tn;
      h2 = hn;
    } else {
      t1 = tn;
      h1 = hn;
    }
  }
  return tn;
}

// Secant step damped by halving toward fixed bounds: below sf the bounds are
// [273.15 K, Tsat], above sg [Tsat, 1500 K], otherwise [273.15 K, 1500 K].
double TofPSCore(double P, double s, std::int32_t code) {
  double lower = kSolverTemperatureLow;
  double upper = kSolverTemperatureHigh;
  const double pc = PsatCore(kCriticalPressureProbe, code);
  if (pc > P) {
    const double ts = TsatCore(P, code);
    const double sf = SfCore(ts, code);
    const double sg = SgCore(ts, code);
    if (sf > s) {
      upper = ts;
    } else if (s > sg) {
      lower = ts;
    } else {
      return ts;
    }
  }
  double t = (upper + lower) * 0.5;
  double t1 = lower;
  double t2 = upper;
  double s1 = SofTPCore(t1, P, code);
  double s2 = SofTPCore(t2, P, code);
  for (int k = 0; k < kSolverIterations; ++k) {
    if (std::fabs(s2 - s1) < kEntropyCollapse) break;
    const double secant = (t1 * (s2 - s) - t2 * (s1 - s)) / (s2 - s1);
    t = std::fmax(std::fmin(secant, (t + upper) * 0.5), (t + lower) * 0.5);
    const double sn = SofTPCore(t, P, code);
    if (std::fabs(sn - s) < kEntropyTolerance) break;
    if (std::fabs(s2 - s) > std::fabs(s1 - s)) {
      t2 = t;
      s2 = sn;
    } else {
      t1 = t;
      s1 = sn;
    }
  }
  return t;
}

double SofPHCore(double P, double h, std::int32_t code) {
  const double pc = PsatCore(kCriticalPressureProbe, code);
  if (pc > P) {
    const double ts = TsatCore(P, code);
    const double hf = HfCore(ts, code);
    const double hg = HgCore(ts, code);
    if (hf <= h && h <= hg)
      return interpolateQuality(h, hf, hg, SfCore(ts, code), SgCore(ts, code));
  }
  return SofTPCore(TofPHCore(P, h, code), P, code);
}

double HofPSCore(double P, double s, std::int32_t code) {
  const double pc = PsatCore(kCriticalPressureProbe, code);
  if (pc > P) {
    const double ts = TsatCore(P, code);
    const double sf = SfCore(ts, code);
    const double sg = SgCore(ts, code);
    if (sf <= s && s <= sg)
      return interpolateQuality(s, sf, sg, HfCore(ts, code), HgCore(ts, code));
  }
  return HofTPCore(TofPSCore(P, s, code), P, code);
}

// Fixed 32-step bisection in ln P on SofTPCore.
double HofTSByPressure(double T, double s, std::int32_t code) {
  double low = kSolverPressureLow;
  double high = kSolverPressureHigh;
  const double tc = TsatCore(kCriticalTemperatureProbe, code);
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
  double pm = 0.0;
  for (int k = 0; k < kSolverIterations; ++k) {
    pm = std::sqrt(high * low);
    if (SofTPCore(T, pm, code) > s) {
      low = pm;
    } else {
      high = pm;
    }
  }
  return HofTPCore(T, pm, code);
}

// Fixed 32-step bisection in ln v on the engine's (T, rho) entropy.
double HofTSByVolume(double T, double s, std::int32_t code) {
  double low = kSolverVolumeLow;
  double high = kSolverVolumeHigh;
  const double tc = TsatCore(kCriticalTemperatureProbe, code);
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
  double vm = 0.0;
  for (int k = 0; k < kSolverIterations; ++k) {
    vm = std::sqrt(high * low);
    if (s > entropyAtVolume(T, vm, code)) {
      low = vm;
    } else {
      high = vm;
    }
  }
  return enthalpyAtVolume(T, vm, code);
}

}  // namespace vapordex
