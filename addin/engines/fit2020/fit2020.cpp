#include "fit2020.hpp"

#include <cmath>

#include "../common/density_solver.hpp"
#include "../common/fast_path_check.hpp"
#include "../common/iapws_saturation.hpp"
#include "../common/saturation.hpp"
#include "bridging_cubic.hpp"
#include "engines/common/vmath.hpp"
#include "fit2020_kept.hpp"
#include "property_table.hpp"

namespace vapordex::fit2020 {

namespace {

// ln(Ps/Pc) = sum a_k x^k.
constexpr double kPressure[8] = {-102.617510677838, 621.419091397525,  -1898.9618215187,
                                 3551.34856816639,  -4214.36921783656, 3110.63426426716,
                                 -1306.64098164442, 239.18760784645};
// rho_f / rhoc = sum f_k y^k.
constexpr double kLiquid[9] = {1.0,
                               4.8098546645,
                               -53.3826489184,
                               413.9922642233,
                               -1630.1526599965,
                               3639.2472045873,
                               -4655.0491512132,
                               3183.1514433163,
                               -903.7734404994};
// Z_g = Zc + sum g_k y^k, k from 1.
constexpr double kVapour[9] = {0.0,
                               0.718762309253947,
                               -2.39909200421739,
                               18.0023577512073,
                               -43.5823711394048,
                               46.8787202398259,
                               -3.51435006707522,
                               -36.621373552364,
                               21.4754262091413};

template <int N>
double horner(const double (&c)[N], double x) {
  double sum = c[N - 1];
  for (int k = N - 2; k >= 0; --k) sum = sum * x + c[k];
  return sum;
}

// u = 1 - min(T, Tc)/Tc with T raised to 273.16 first.
double reducedDistance(double T) {
  if (T < kTriplePointTemperature) T = kTriplePointTemperature;
  return 1.0 - std::fmin(T, kCriticalTemperature) / kCriticalTemperature;
}

double tablePressure(double T, double rho) { return lookup(T, rho).P; }

}  // namespace

namespace {

double saturationExponent(double T) { return horner(kPressure, T / kCriticalTemperature); }

constexpr ExponentialLine kSaturationLine{kTriplePointTemperature, kTriplePointPressure,
                                          kCriticalTemperature, kCriticalPressure,
                                          // IF97's saturation line lies within 0.2 K of this one
                                          // below the critical points.
                                          iapws_saturation::temperatureEstimate, 0.2};
using VapourPressure = ExponentialSaturation<kSaturationLine, saturationExponent>;

}  // namespace

double saturationPressure(double T) { return VapourPressure::pressure(T); }

double saturationTemperature(double P) { return VapourPressure::temperature(P); }

namespace {

double liquidDensityCorrelation(double T) {
  const double u = reducedDistance(T);
  if (u <= 0.0) return kCriticalDensity;
  return kCriticalDensity * horner(kLiquid, vmath::pow(u, 0.3333333333333333));
}

double vapourDensityCorrelation(double T) {
  if (T < kTriplePointTemperature) T = kTriplePointTemperature;
  if (T >= kCriticalTemperature) return kCriticalDensity;
  return saturationPressure(T) / saturatedVapourCompressibility(T) / kR / T;
}

}  // namespace

double saturatedVapourCompressibility(double T) {
  const double u = reducedDistance(T);
  if (u <= 0.0) return kZc;
  return kZc + horner(kVapour, vmath::pow(u, 0.3333333333333333));
}

namespace {

// The correlation's answer at T, the kept one when T is the last T asked
// (one entry per phase and thread): the same double as computed afresh.
double keptCorrelation(LastSaturatedDensity& last, double T, double (*correlation)(double)) {
  if (sameDouble(last.T, T)) {
    if constexpr (kCheckFastPaths) {
      checkFastPath("2020 kept saturated density", last.rho, correlation(T));
    }
    return last.rho;
  }
  last.rho = correlation(T);
  last.T = T;
  return last.rho;
}

}  // namespace

double saturatedLiquidDensity(double T) {
  return keptCorrelation(kept<SaturatedDensities>().liquid, T, liquidDensityCorrelation);
}

double saturatedVapourDensity(double T) {
  return keptCorrelation(kept<SaturatedDensities>().vapour, T, vapourDensityCorrelation);
}

// Strictly between the correlations' saturated densities, below Tc.
bool insideDome(double T, double rho) {
  return T < kCriticalTemperature && saturatedVapourDensity(T) < rho &&
         rho < saturatedLiquidDensity(T);
}

double pressureFromTD(double T, double rho) {
  if (insideDome(T, rho)) {
    return reducedPressure(T / kCriticalTemperature, kCriticalDensity / rho) * kCriticalPressure;
  }
  return lookup(T, rho).P;
}

// Inside the dome: the cubic's change along the isotherm from the saturated
// liquid, added to the table value there, so the two join at rho_f.
double enthalpyFromTD(double T, double rho) {
  if (insideDome(T, rho)) {
    const double rhoF = saturatedLiquidDensity(T);
    return hCubic(T, rho) + lookupEnergies(T, rhoF).h - hCubic(T, rhoF);
  }
  return lookupEnergies(T, rho).h;
}

double entropyFromTD(double T, double rho) {
  if (insideDome(T, rho)) {
    const double rhoF = saturatedLiquidDensity(T);
    return sCubic(T, rho) + lookupEnergies(T, rhoF).s - sCubic(T, rhoF);
  }
  return lookupEnergies(T, rho).s;
}

namespace {
// Three times the critical density and a compressibility of 2.5.
void supercriticalStart(double T, double P, double* rho1, double* rho2) {
  *rho1 = 3.0 * kCriticalDensity;
  *rho2 = P / 2.5 / kR / T;
}
}  // namespace

// The shared density solver on the table pressure (never the cubic): 64
// estimates, damped from the 33rd, then Newton steps on the interpolated
// pressure. When the start pressures already agree
// the result is the first start.
double densityFromTP(double T, double P, Phase phase) {
  static constexpr density::DensitySolver kSolver{
      .pressure = tablePressure,
      .pressureSlope = lookupPressure,
      .saturationPressure = saturationPressure,
      .liquidDensity = saturatedLiquidDensity,
      .vapourDensity = saturatedVapourDensity,
      .supercriticalStart = supercriticalStart,
      .criticalTemperature = kCriticalTemperature,
      .stepLimit = 64,
      .dampingStart = 33,
      .startRule = density::StartRule::kFirstStart,
  };
  return density::densityFromTP(kSolver, T, P, phase);
}

}  // namespace vapordex::fit2020
