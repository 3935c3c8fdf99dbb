#include "cores.hpp"

#include <cmath>

#include "engine_ops.hpp"

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
    const double vg = e.specificVolume(T, 0.0, kVapour);
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
  // saturation end is covered by the test above.
  const double vAtHigh = e.specificVolume(T, pHigh, kSinglePhase);
  const double vAtLow = e.specificVolume(T, pLow, kSinglePhase);
  const bool lowIsSaturation = pLow != kTvPressureMin;
  const bool highIsSaturation = pHigh != kTvPressureMax;
  if (!(highIsSaturation || v >= vAtHigh)) return st;
  if (!(lowIsSaturation || v <= vAtLow)) return st;
  if (!(v > 0.0)) return st;
  double lnLow = std::log(pLow);
  double lnHigh = std::log(pHigh);
  double mid = lnLow;
  for (int k = 0; k < kTvHalvings; ++k) {
    mid = (lnLow + lnHigh) * 0.5;
    if (e.specificVolume(T, std::exp(mid), kSinglePhase) > v) {
      lnLow = mid;
    } else {
      lnHigh = mid;
    }
  }
  st.found = true;
  st.P = std::exp(mid);
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

double temperatureVolume(double T, double v, std::int32_t code, Quantity q) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kUnavailable;
  if (isPressureBased(*e)) return pressureBasedTv(*e, T, v, q);
  return atDensity(*e, q, T, 1.0 / v);
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

double PofTVCore(double T, double v, std::int32_t code) {
  return temperatureVolume(T, v, code, Quantity::kPressure);
}
double HofTVCore(double T, double v, std::int32_t code) {
  return temperatureVolume(T, v, code, Quantity::kEnthalpy);
}
double SofTVCore(double T, double v, std::int32_t code) {
  return temperatureVolume(T, v, code, Quantity::kEntropy);
}

}  // namespace vapordex
