// IFC-67 engine (formulation 67), the formulation of the 1967 ASME steam
// tables: the K function (saturation line), the L function (boundary of
// sub-regions 2 and 3) and sub-regions 1 to 4, every property an explicit
// derivative of the sub-region's reduced Gibbs or Helmholtz function.
//
// Units: T in K, P in MPa, v in cm3/g, h in kJ/kg, s in kJ/(kg K). Inside,
// the reduced variables theta = T/Tc, beta = P/pc, chi = v/vc,
// eps = h/(pc vc), sigma = s Tc/(pc vc).
#pragma once

#include "../common/derived.hpp"
#include "../common/phase.hpp"
#include "../common/water.hpp"

namespace vapordex::ifc67 {

inline constexpr double kCriticalTemperature = 647.3;
inline constexpr double kCriticalPressure = 22.12;
inline constexpr double kCriticalVolume = 1.0 / 0.315457;  // cm3/g
inline constexpr double kTheta1 = 0.9626911787;            // 623.15 K
inline constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
inline constexpr double kTriplePointPressure = 6.11244e-4;
inline constexpr double kVolumeLow = 0.40765261479504034;  // chi, sub-regions 3 and 4
inline constexpr double kRegion3VolumeHigh = 2.816150913801486;
inline constexpr double kSecondPassTheta = 0.992678;
inline constexpr double kRegion4Acceptance = 1e-5;
inline constexpr double kCriticalEps = 30.0536;
inline constexpr double kCriticalSigma = 41.0133;

// Sub-regions 1 and 2: the reduced Gibbs function zeta(beta, theta) with
// chi = dzeta/dbeta, sigma = -dzeta/dtheta, eps = zeta + theta sigma.
struct GibbsState {
  double zeta, chi, sigma, eps;
};
GibbsState subregion1(double beta, double theta);
GibbsState subregion2(double beta, double theta);

// Sub-regions 3 and 4: the reduced Helmholtz function psi(chi, theta) with
// beta = -dpsi/dchi, sigma = -dpsi/dtheta, eps = psi + theta sigma + chi beta.
struct HelmholtzState {
  double psi, beta, sigma, eps;
};
HelmholtzState subregion3(double chi, double theta);
HelmholtzState subregion4(double chi, double theta);
// Their reduced pressures beta alone (the same doubles as .beta).
double subregion3Beta(double chi, double theta);
double subregion4Beta(double chi, double theta);

double kFunction(double theta);
double lFunction(double theta);
double lFunctionDerivative(double theta);
double subregion3Volume(double theta, double beta);
double subregion4Volume(double theta, double beta);

// Which sub-region the state evaluation chose (0 for the critical constants).
int selectedSubregion(double T, double P, Phase phase);

// Engine operations.
double saturationPressure(double T);
double saturationTemperature(double P);
void evaluateState(double T, double P, Phase phase, double* v, double* h, double* s);
double specificVolume(double T, double P, Phase phase);
double specificEnthalpy(double T, double P, Phase phase);
double specificEntropy(double T, double P, Phase phase);

// Where the single-phase volume at T stops being one closed-form equation
// (sub-region 1 or 2) and becomes the volume search of sub-region 3 or 4:
// the L-function's pressure from theta1 (623.15 K) up, in MPa; infinity
// below. The searches' last halving leaves the volume within
// kSolvedVolumeResolution (cm3/g).
double solvedVolumeFrom(double T);
inline constexpr double kSolvedVolumeResolution =
    (kRegion3VolumeHigh - kVolumeLow) * kCriticalVolume / 4294967296.0;
// The pressure at (T, v), v in cm3/g, in MPa, of the sub-region whose volume
// search serves single-phase states above the L-function: sub-region 3 at and
// above the critical temperature, sub-region 4 (the liquid side) below it;
// NaN near the ends of that sub-region's volume search.
double solvedVolumePressure(double T, double v);

// cp, cv, w and (d rho/d P)_T of the single-phase state at (T, P): fourth-
// order differences, over relative steps of kDifferenceStep, of the
// sub-region's analytic first derivatives.
inline constexpr double kDifferenceStep = 2e-4;
Derived derivedFromTP(double T, double P);

}  // namespace vapordex::ifc67
