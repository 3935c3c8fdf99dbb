// NBS/NRC 1984 engine (formulation 84): the Helmholtz free energy of Haar,
// Gallagher and Kell (base function, 40 residual terms, ideal gas and the
// reference state), its auxiliary vapour-pressure equation and the shared
// secant density solver.
//
// Units: T in K, rho in g/cm3, P in MPa, A and h in kJ/kg, s in kJ/(kg K).
#pragma once

#include "../common/density_solver.hpp"
#include "../common/derived.hpp"
#include "../common/phase.hpp"
#include "../common/water.hpp"

namespace vapordex::nbs84 {

inline constexpr double kR = 0.46152;
inline constexpr double kCriticalTemperature = 647.126;
inline constexpr double kCriticalPressure = 22.055;
inline constexpr double kCriticalDensity = 0.322;
inline constexpr double kBaseTemperature = 647.073;  // tau = T0 / T
inline constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
inline constexpr double kTriplePointPressure = 0.000610716;

// The Helmholtz free energy and its analytic derivatives.
struct FreeEnergy {
  double a;          // A, kJ/kg
  double dAdRho;     // at constant T
  double dAdT;       // at constant rho
  double sCritical;  // entropy of terms 37 to 40 alone
};
FreeEnergy freeEnergy(double T, double rho);

// Engine operations.
double saturationPressure(double T);
double saturationTemperature(double P);
double saturatedLiquidDensity(double T);
double saturatedVapourDensity(double T);
double densityFromTP(double T, double P, Phase phase);
double pressureFromTD(double T, double rho);
// The pressure and its analytic derivative in density, for the solvers.
density::PressureSlope pressureSlopeFromTD(double T, double rho);
double enthalpyFromTD(double T, double rho);
double entropyFromTD(double T, double rho);

// cp, cv, w and (d rho/d P)_T at (T, rho), rho in g/cm3, from the free
// energy's analytic second derivatives.
Derived derivedFromTD(double T, double rho);

}  // namespace vapordex::nbs84
