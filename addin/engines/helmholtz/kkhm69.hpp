// Keenan-Keyes-Hill-Moore 1969 engine (formulation 69): the Helmholtz
// function psi = psi0(T) + R T [ln rho + rho Q(rho, tau)] with tau = 1000/T,
// its vapour-pressure equation and the shared secant density solver with a
// longer, damped single-phase iteration.
//
// Units: T in K, rho in g/cm3, P in MPa, h in kJ/kg, s in kJ/(kg K).
#pragma once

#include "../common/density_solver.hpp"
#include "../common/derived.hpp"
#include "../common/phase.hpp"
#include "../common/water.hpp"

namespace vapordex::kkhm69 {

inline constexpr double kR = 0.461504339;
inline constexpr double kCriticalTemperature = 647.245;
inline constexpr double kCriticalPressure = 22.0894;
inline constexpr double kCriticalDensity = 0.316819637748426;  // 1/3.15637
inline constexpr double kTauCritical = 1000.0 / kCriticalTemperature;
inline constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
inline constexpr double kTriplePointPressure = 0.000612049;

struct QFunction {
  double q;
  double qRho;
  double qTau;
};
QFunction qFunction(double rho, double tau);
double psi0(double T);
double psi0Tau(double T);

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

// cp, cv, w and (d rho/d P)_T at (T, rho), rho in g/cm3, from the Helmholtz
// function's analytic second derivatives.
Derived derivedFromTD(double T, double rho);

}  // namespace vapordex::kkhm69
