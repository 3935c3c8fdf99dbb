// SI cores of the properties beyond v, h and s: cp, cv and the speed of
// sound from each formulation's second derivatives, the equilibrium
// quality, the transport properties on each formulation's density, and the
// surface tension.
#include <cmath>

#include "../engines/transport/transport.hpp"
#include "cores.hpp"
#include "engine_ops.hpp"

namespace vapordex {

namespace {

double orError(double x) { return std::isfinite(x) ? x : kErrorValue; }

// The single-phase state at (T, P) as the engine chooses it (the phase
// HofTP answers), with its second-derivative properties; false where the
// engine has none or gives no state.
bool derivedState(const EngineOps& e, double T, double P, Derived* d) {
  if (isPressureBased(e)) {
    if (e.derivedFromTP == nullptr) return false;
    *d = e.derivedFromTP(T, P);
  } else {
    if (e.derivedFromTD == nullptr) return false;
    const double rho = e.densityFromTP(T, P, Phase::kSinglePhase);
    if (!(rho > 0.0)) return false;
    *d = e.derivedFromTD(T, rho);
  }
  return std::isfinite(d->rho);
}

enum class Second { kCp, kCv, kW };

// On the saturation line itself (P = Psat(T) exactly, below the critical
// temperature) the state may be either phase, whose cp, cv and w differ: no
// answer.
double secondDerivativeProperty(double T, double P, std::int32_t code, Second which) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kErrorValue;
  if (T < e->criticalTemperature && P == e->saturationPressure(T)) return kErrorValue;
  Derived d{};
  if (!derivedState(*e, T, P, &d)) return kErrorValue;
  if (which == Second::kCp) return orError(d.cp);
  if (which == Second::kCv) return orError(d.cv);
  return orError(d.w);
}

// Density in g/cm3 of the single-phase state (T, P) as the engine chooses
// it; NaN for none.
double singlePhaseDensity(const EngineOps& e, double T, double P) {
  if (isPressureBased(e)) return 1.0 / e.specificVolume(T, P, Phase::kSinglePhase);
  return e.densityFromTP(T, P, Phase::kSinglePhase);
}

// (h - hf) / (hg - hf) with hf, hg (or sf, sg) at the engine's saturation
// temperature of P; only between the triple-point and the critical
// pressure, where P has a saturation temperature.
double quality(double P, double x, std::int32_t code, double (*fCore)(double, std::int32_t),
               double (*gCore)(double, std::int32_t)) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kErrorValue;
  if (!(P < e->criticalPressure) || !(P >= e->saturationPressure(e->triplePointTemperature))) {
    return kErrorValue;
  }
  const double Ts = e->saturationTemperature(P);
  const double f = fCore(Ts, code);
  const double g = gCore(Ts, code);
  if (!(g > f)) return kErrorValue;
  return orError((x - f) / (g - f));
}

}  // namespace

double CpofTPCore(double T, double P, std::int32_t code) {
  return secondDerivativeProperty(T, P, code, Second::kCp);
}
double CvofTPCore(double T, double P, std::int32_t code) {
  return secondDerivativeProperty(T, P, code, Second::kCv);
}
double WofTPCore(double T, double P, std::int32_t code) {
  return secondDerivativeProperty(T, P, code, Second::kW);
}

double XofPHCore(double P, double h, std::int32_t code) {
  return quality(P, h, code, HfCore, HgCore);
}
double XofPSCore(double P, double s, std::int32_t code) {
  return quality(P, s, code, SfCore, SgCore);
}

double MuofTPCore(double T, double P, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kErrorValue;
  const double rho = singlePhaseDensity(*e, T, P);
  if (!(rho > 0.0)) return kErrorValue;
  return orError(transport::viscosity(T, rho * 1000.0));
}

// The critical enhancement takes (d rho/d P)_T at the release's reference
// temperature and the same density, and the viscosity. The density-based
// engines (the scientific formulations) give that slope from their own
// pressure, and the viscosity carries its own critical enhancement, as in
// the release's check values. The pressure-based ones (the industrial
// formulations, which do not reach that temperature at liquid densities)
// take the slope from the release's polynomial for industrial use, and the
// viscosity without its enhancement, as MuofTP gives it.
double KofTPCore(double T, double P, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  if (e == nullptr) return kErrorValue;
  Derived d{};
  if (!derivedState(*e, T, P, &d) || !(d.cp > 0.0) || !(d.cv > 0.0) || !(d.drhodP > 0.0)) {
    return kErrorValue;
  }
  const double rho = d.rho * 1000.0;        // kg/m3
  const double drhodP = d.drhodP * 1000.0;  // kg/m3 per MPa
  double reference = 0.0;
  double mu = transport::viscosity(T, rho);
  if (isPressureBased(*e)) {
    reference = transport::industrialReferenceSlope(rho);
  } else {
    reference =
        1000.0 / e->pressureSlopeFromTD(transport::kEnhancementReferenceTemperature, d.rho).slope;
    mu *= transport::viscosityEnhancement(
        transport::correlationLength(transport::criticalExcess(T, rho, drhodP, reference)));
  }
  const transport::EnhancementInputs in{d.cp, d.cv, drhodP, reference, mu};
  return orError(transport::thermalConductivity(T, rho, in));
}

double SigmaofTCore(double T, std::int32_t code) {
  if (selectEngine(code) == nullptr) return kErrorValue;
  return orError(transport::surfaceTension(T));
}

}  // namespace vapordex
