// IAPWS-95 engine (formulation 95): the Helmholtz free energy of temperature
// and density. Its saturation pressure is the IAPWS-IF97 saturation-pressure
// equation; densities for a temperature and pressure come from the shared
// secant solver on the IAPWS-95 pressure.
//
// Units: T in K, rho in g/cm3, P in MPa, h in kJ/kg, s in kJ/(kg K).
#pragma once

#include "../common/density_solver.hpp"
#include "../common/derived.hpp"
#include "../common/phase.hpp"
#include "../common/water.hpp"

namespace vapordex::iapws95 {

inline constexpr double kR = 0.46151805;
inline constexpr double kCriticalTemperature = water::kCriticalTemperature;
inline constexpr double kCriticalDensity = water::kCriticalDensity;
inline constexpr double kCriticalPressure = water::kCriticalPressure;
inline constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
inline constexpr double kTriplePointPressure = water::kTriplePointPressure;

// The parts of the dimensionless Helmholtz function at (delta, tau).
struct Helmholtz {
  double phi0;
  double phi0Tau;
  double phir;
  double phirDelta;
  double phirTau;
};

Helmholtz helmholtz(double delta, double tau);
double residualDelta(double delta, double tau);  // phir_delta alone, for the solvers

// The residual sums phir, phir_delta and phir_tau (the first and last only
// with withPhiAndTau); everyTerm computes the non-analytic terms even where
// they are known to leave the sums as they are (for the test of that).
struct ResidualSums {
  double phi;
  double phiDelta;
  double phiTau;
};
ResidualSums residualSums(double delta, double tau, bool withPhiAndTau, bool everyTerm);

// The two start densities of the supercritical density solver, clamped.
void supercriticalStart(double T, double P, double* rho1, double* rho2);

// Engine operations.
double saturationPressure(double T);
double saturationTemperature(double P);
double saturatedLiquidDensity(double T);
double saturatedVapourDensity(double T);
double densityFromTP(double T, double P, Phase phase);

// The density at (T, P) on the state's branch (liquid above the saturation
// pressure, vapour below, one branch above the critical temperature) by
// bisection to the resolution of doubles: a reference for checks, far
// slower than densityFromTP and independent of its secant.
double referenceDensity(double T, double P);
double pressureFromTD(double T, double rho);
// The pressure and its analytic derivative in density, for the solvers.
density::PressureSlope pressureSlopeFromTD(double T, double rho);
double enthalpyFromTD(double T, double rho);
double entropyFromTD(double T, double rho);

// The residual part's derivatives phir_delta, phir_deltadelta,
// phir_deltatau and phir_tautau, and the ideal-gas part's phi0_tautau.
struct SecondDerivatives {
  double phiDelta;
  double phiDeltaDelta;
  double phiDeltaTau;
  double phiTauTau;
  double phi0TauTau;
};
SecondDerivatives secondDerivatives(double delta, double tau);
// cp, cv, w and (d rho/d P)_T at (T, rho), rho in g/cm3.
Derived derivedFromTD(double T, double rho);

}  // namespace vapordex::iapws95
