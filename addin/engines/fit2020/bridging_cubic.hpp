// The bridging cubic: a cubic equation of state used inside the two-phase
// dome, whose coefficients A, B, C follow the temperature through splines
// of the parameter table. Reduced variables x = T/Tc and w = rhoc/rho.
#pragma once

#include "../common/water.hpp"
#include "spline.hpp"

namespace vapordex::fit2020 {

inline constexpr double kCriticalTemperature = water::kCriticalTemperature;
inline constexpr double kCriticalPressure = water::kCriticalPressure;
inline constexpr double kCriticalDensity = water::kCriticalDensity;
inline constexpr double kR = 0.4615221395147458;
inline constexpr double kZc = 0.22943893739327012;
inline constexpr double kCoVolume = 0.321;
inline constexpr double kDomainSentinel = -3.4028234663852886e38;

// The splines A(x), B(x), C(x), built at compile time from the table.
const Spline& splineA();
const Spline& splineB();
const Spline& splineC();

double reducedPressure(double x, double w);  // P = Pi Pc
double helmholtzFunction(double x, double w);
double entropyFunction(double x, double w);
double enthalpyFunction(double x, double w);
double hCubic(double T, double rho);  // kJ/kg
double sCubic(double T, double rho);  // kJ/(kg K)

}  // namespace vapordex::fit2020
