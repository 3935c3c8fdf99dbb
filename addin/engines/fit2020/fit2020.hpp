// The compact 2020 engine (formulation 20): saturation correlations, the
// IAPWS-95 property table outside the two-phase dome, the bridging cubic
// inside it, and a secant density solver on the table pressure.
//
// Units: T in K, P in MPa, rho in g/cm3, h in kJ/kg, s in kJ/(kg K).
#pragma once

#include "../common/phase.hpp"
#include "../common/water.hpp"

namespace vapordex::fit2020 {

inline constexpr double kTriplePointTemperature = water::kTriplePointTemperature;
inline constexpr double kTriplePointPressure = water::kTriplePointPressure;

double saturatedVapourCompressibility(double T);
bool insideDome(double T, double rho);

// Engine operations.
double saturationPressure(double T);
double saturationTemperature(double P);
double saturatedLiquidDensity(double T);
double saturatedVapourDensity(double T);
double densityFromTP(double T, double P, Phase phase);
double pressureFromTD(double T, double rho);
double enthalpyFromTD(double T, double rho);
double entropyFromTD(double T, double rho);

}  // namespace vapordex::fit2020
