// The engine operation set: every operation the front end may call on an
// engine. Each engine fills one instance; operations it does not offer stay
// null. Pressure-based engines offer the (T, P) operations, density-based
// engines the (T, rho) operations and a density solver.
//
// Units: T in K, P in MPa, v in cm3/g, rho in g/cm3, h in kJ/kg, s in kJ/(kg K).
// The Phase argument selects the saturated liquid or vapour at T (P is then
// ignored) or the single-phase state at (T, P).
#pragma once

#include <cstdint>
#include <span>

#include "../engines/common/density_solver.hpp"
#include "../engines/common/derived.hpp"
#include "../engines/common/phase.hpp"

namespace vapordex {

struct EngineOps {
  int code = 0;  // the formulation code's magnitude: 67, 69, 84, 95, 97 or 20

  // The saturation line's ends: the engine's saturation temperature is
  // triplePointTemperature at and below its triple-point pressure and
  // criticalTemperature at and above criticalPressure, and its saturation
  // pressure clamps likewise (what saturationTemperature(0),
  // saturationTemperature(9999) and saturationPressure(999) answer).
  double triplePointTemperature = 0.0;
  double criticalTemperature = 0.0;
  double criticalPressure = 0.0;

  double (*saturationPressure)(double T) = nullptr;
  double (*saturationTemperature)(double P) = nullptr;

  // Pressure-based engines.
  double (*specificVolume)(double T, double P, Phase phase) = nullptr;
  double (*specificEnthalpy)(double T, double P, Phase phase) = nullptr;
  double (*specificEntropy)(double T, double P, Phase phase) = nullptr;
  // What the (T, v) search knows of a pressure-based engine's single-phase
  // volume on an isotherm: below solvedVolumeFrom(T) (MPa; infinity when
  // nowhere) one closed-form equation gives it; from there up an iterative
  // solve that resolves it to about solvedVolumeResolution (cm3/g), of the
  // equation whose pressure at (T, v) is solvedVolumePressure (MPa), and
  // never beyond solvedVolumeMax (cm3/g).
  double (*solvedVolumeFrom)(double T) = nullptr;
  double solvedVolumeResolution = 0.0;
  double solvedVolumeMax = 0.0;
  // Below the critical temperature the search's volume follows that
  // equation's pressure only above this pressure (MPa), where the isotherm
  // has one root; below it the search may settle on another of its loop's.
  double solvedVolumeSingleRootAbove = 0.0;
  double (*solvedVolumePressure)(double T, double v) = nullptr;

  // cp, cv, w and (d rho/d P)_T of a single-phase state from the engine's
  // second derivatives, at (T, P) for pressure-based engines; null for an
  // engine without sound second derivatives (the 2020 formulation).
  Derived (*derivedFromTP)(double T, double P) = nullptr;

  // Density-based engines.
  double (*densityFromTP)(double T, double P, Phase phase) = nullptr;
  double (*pressureFromTD)(double T, double rho) = nullptr;
  double (*enthalpyFromTD)(double T, double rho) = nullptr;
  double (*entropyFromTD)(double T, double rho) = nullptr;
  // The same at (T, rho), and the pressure with its slope in density.
  Derived (*derivedFromTD)(double T, double rho) = nullptr;
  density::PressureSlope (*pressureSlopeFromTD)(double T, double rho) = nullptr;
  // The gas constant of the equation of state, kJ/(kg K): its saturated
  // vapour's volume lies below the ideal gas's R T / Psat (compressibility
  // below 1) along the whole saturation line, which lets a (T, v) state of
  // larger volume skip the saturated densities.
  double gasConstant = 0.0;
};

inline bool isPressureBased(const EngineOps& e) { return e.specificVolume != nullptr; }

// The engine selected by the magnitude of a formulation code, or null when
// the code selects none (or its engine is not part of this build).
const EngineOps* selectEngine(std::int32_t code);

// The engines of this build, in dispatch order.
std::span<const EngineOps* const> availableEngines();

}  // namespace vapordex
