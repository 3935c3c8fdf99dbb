// IAPWS-IF97 engine (formulation 97): regions 1, 2 and 3, the region 2/3
// boundary and the saturation-pressure equation of region 4. Region 5 is not
// part of the engine; states above 1073.15 K use the region 2 or 3 equations.
//
// Units: T in K, P in MPa, h in kJ/kg, s in kJ/(kg K). Inside the engine v is
// in m3/kg; the volume operation returns cm3/g (v * 1000).
#pragma once

#include "../common/derived.hpp"
#include "../common/phase.hpp"
#include "../common/water.hpp"

namespace vapordex::if97 {

inline constexpr double kR = 0.461526;  // kJ/(kg K)
inline constexpr double kCriticalTemperature = water::kCriticalTemperature;
inline constexpr double kCriticalPressure = water::kCriticalPressure;
inline constexpr double kCriticalDensity = water::kCriticalDensityKgPerM3;  // kg/m3
inline constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
inline constexpr double kTriplePointPressure = water::kTriplePointPressure;
inline constexpr double kRegion3Temperature = 623.15;

// Region-3 specific volume bracket in m3/kg. It encloses every region-3 state
// of the standard's range (623.15 K to the B23 temperature, up to 100 MPa):
// the densest is about 1/0.00150 at 623.15 K and 100 MPa, the lightest the
// saturated vapour at 623.15 K, 0.00881 m3/kg. After 32 halvings of this
// width the resolution is 2.1e-12 m3/kg, below 1.5e-9 of any region-3 volume.
inline constexpr double kRegion3VolumeLow = 0.0010;
inline constexpr double kRegion3VolumeHigh = 0.0100;

// Result of one region evaluation.
struct Properties {
  double v;  // m3/kg
  double h;  // kJ/kg
  double s;  // kJ/(kg K)
  double u;  // kJ/kg
};

Properties region1(double T, double P);
Properties region2(double T, double P);
// Region 3 in its natural variables (T, rho in kg/m3); p receives the pressure.
Properties region3(double T, double rho, double* p);
double region3Pressure(double T, double v);
double region3Volume(double T, double P);
// The region-3 volume at (T, P) on the liquid or the vapour branch of the
// isotherm (below the critical temperature; above it the one branch), by
// bisection within the branch to the resolution of doubles.
double region3VolumeOnBranch(double T, double P, bool liquid);
inline constexpr int kRegion3BranchSteps = 80;
inline constexpr int kRegion3NewtonSteps = 30;
inline constexpr int kRegion3RootSteps = 100;
double b23Pressure(double T);

// Below the critical temperature, region 3's isotherm has a single root
// (on its liquid branch) above this pressure: the top of its loop lies below
// the critical pressure at every temperature (within 3e-8 MPa of it just
// below the critical temperature); the margin keeps rounding clear of it.
inline constexpr double kRegion3SingleRootAbove = kCriticalPressure * (1.0 + 1e-6);

// Where the single-phase volume at T stops being one closed-form equation
// (region 1 or 2) and becomes region 3's volume search: the B23 pressure from
// 623.15 K up, in MPa; infinity below. The search's last halving leaves the
// volume within kSolvedVolumeResolution (cm3/g).
double solvedVolumeFrom(double T);
inline constexpr double kSolvedVolumeResolution =
    (kRegion3VolumeHigh - kRegion3VolumeLow) * 1000.0 / 4294967296.0;
// Region 3's pressure at (T, v), v in cm3/g, in MPa; NaN near the ends of
// the volume search's range.
double solvedVolumePressure(double T, double v);

// Engine operations.
double saturationPressure(double T);
double saturationTemperature(double P);
// The saturation-temperature equation, the saturation-pressure equation's
// algebraic inverse: where the bisection of saturationTemperature starts
// looking (IAPWS-95's auxiliary vapour-pressure equation is the same one).
double saturationTemperatureEstimate(double P);
void evaluateState(double T, double P, Phase phase, double* v, double* h, double* s);
double specificVolume(double T, double P, Phase phase);  // cm3/g
double specificEnthalpy(double T, double P, Phase phase);
double specificEntropy(double T, double P, Phase phase);

// cp, cv, w and (d rho/d P)_T of the single-phase state at (T, P), from the
// region's analytic second derivatives; region 3's also at (T, rho), rho in
// g/cm3.
Derived derivedFromTP(double T, double P);
Derived region3Derived(double T, double rho);

}  // namespace vapordex::if97
