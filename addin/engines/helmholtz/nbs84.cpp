#include "nbs84.hpp"

#include <cmath>

#include "../common/density_solver.hpp"
#include "../common/int_power.hpp"
#include "../common/saturation.hpp"
#include "nbs84_coefficients.hpp"

namespace vapordex::nbs84 {

namespace {

struct Base {
  double b, dbdT, B, dBdT;
};

// b(T) and B(T) in cm3/g, with their temperature derivatives.
Base baseCoefficients(double T) {
  const double tau = kBaseTemperature / T;
  const double t3 = tau * tau * tau;
  const double t5 = t3 * tau * tau;
  Base c{};
  const double* b = kBaseSmallB;
  const double* B = kBaseBigB;
  c.b = b[0] - b[1] * std::log(T / kBaseTemperature) + b[2] * t3 - b[3] * t5;
  // d tau / dT = -tau / T.
  c.dbdT = (-b[1] - 3.0 * b[2] * t3 + 5.0 * b[3] * t5) / T;
  c.B = B[0] - B[1] * tau - B[2] * tau * tau + B[3] * t3 * tau;
  c.dBdT = -(-B[1] * tau - 2.0 * B[2] * tau * tau + 4.0 * B[3] * t3 * tau) / T;
  return c;
}

}  // namespace

FreeEnergy freeEnergy(double T, double rho) {
  FreeEnergy f{0.0, 0.0, 0.0, 0.0};
  const double rt = kR * T;

  // Base part: R T F(y, T), y = b rho / 4.
  const Base c = baseCoefficients(T);
  const double y = c.b * rho / 4.0;
  const double dydT = rho / 4.0 * c.dbdT;
  const double oneMinusY = 1.0 - y;
  const double ratio = c.B / c.b - 3.5;
  const double F = -std::log(oneMinusY) - kBase1 / oneMinusY + kBase2 / (oneMinusY * oneMinusY) +
                   4.0 * y * ratio + kBase3 + std::log(rho * rt / kReferencePressure);
  const double dFdy = 1.0 / oneMinusY - kBase1 / (oneMinusY * oneMinusY) +
                      2.0 * kBase2 / (oneMinusY * oneMinusY * oneMinusY) + 4.0 * ratio;
  const double dRatiodT = c.dBdT / c.b - c.B * c.dbdT / (c.b * c.b);
  const double dFdT = dFdy * dydT + 4.0 * y * dRatiodT + 1.0 / T;
  f.a += rt * F;
  // dF/drho = dF/dy y / rho + 1 / rho.
  f.dAdRho += rt * (dFdy * y + 1.0) / rho;
  f.dAdT += kR * F + rt * dFdT;

  // Terms 1 to 36.
  const double tau = kBaseTemperature / T;
  const double e = std::exp(-rho);
  const double oneMinusE = 1.0 - e;
  for (int i = 0; i < 36; ++i) {
    const int k = kResidualK[i];
    const int l = kResidualL[i];
    const double tl = intPower(tau, l);
    const double ek = intPower(oneMinusE, k - 1);
    const double term = kResidualG[i] / k * tl * ek * oneMinusE;
    f.a += term;
    f.dAdRho += kResidualG[i] * tl * ek * e;
    f.dAdT -= l * term / T;
  }

  // Terms 37 to 40, which shape the critical region.
  for (int i = 0; i < 4; ++i) {
    const double d = rho / kCriticalRho[i] - 1.0;
    const double t = T / kCriticalT[i] - 1.0;
    const int k = kCriticalK[i];
    const int l = kCriticalL[i];
    const double x = std::exp(-kCriticalAlpha[i] * intPower(d, k) - kCriticalBeta[i] * t * t);
    const double dl = intPower(d, l);
    const double term = kCriticalG[i] * dl * x;
    f.a += term;
    // d/drho of d^l exp(-alpha d^k) = (l d^(l-1) - alpha k d^(k+l-1)) exp(..) / rho_i
    const double dlMinus1 = l == 0 ? 0.0 : l * intPower(d, l - 1);
    f.dAdRho += kCriticalG[i] * (dlMinus1 - kCriticalAlpha[i] * k * intPower(d, k + l - 1)) * x /
                kCriticalRho[i];
    const double dTerm = -2.0 * kCriticalBeta[i] * t / kCriticalT[i] * term;
    f.dAdT += dTerm;
    f.sCritical -= dTerm;
  }

  // Ideal-gas part: -R T [1 + (C1/T_R + C2) ln T_R + sum C_i T_R^(i-6)].
  const double tr = T / 100.0;
  const double lnTr = std::log(tr);
  double sum = 0.0;
  double dsum = 0.0;  // sum (i - 6) C_i T_R^(i - 6)
  for (int i = 3; i <= 18; ++i) {
    const double p = intPower(tr, i - 6);
    sum += kIdealC[i - 1] * p;
    dsum += (i - 6) * kIdealC[i - 1] * p;
  }
  const double g = 1.0 + (kIdealC[0] / tr + kIdealC[1]) * lnTr + sum;
  f.a -= rt * g;
  // d/dT [T g] = g + T_R dg/dT_R.
  f.dAdT -= kR * (g + (-kIdealC[0] * lnTr / tr + kIdealC[0] / tr + kIdealC[1]) + dsum);

  // Reference state: zero energy and entropy at the triple-point liquid.
  f.a += kR * (kReferenceSlope * T + kReferenceOffset);
  f.dAdT += kR * kReferenceSlope;
  return f;
}

double pressureFromTD(double T, double rho) { return rho * rho * freeEnergy(T, rho).dAdRho; }

double entropyFromTD(double T, double rho) { return -freeEnergy(T, rho).dAdT; }

double enthalpyFromTD(double T, double rho) {
  const FreeEnergy f = freeEnergy(T, rho);
  return f.a - T * f.dAdT + rho * f.dAdRho;
}

// Auxiliary vapour-pressure equation with its own 647.25 K.
double saturationPressure(double T) {
  if (T <= kTriplePointTemperature) return kTriplePointPressure;
  if (T >= kCriticalTemperature) return kCriticalPressure;
  const double v = T / 647.25;
  const double w = std::fabs(1.0 - v);
  const double q = std::sqrt(w);
  double s = 0.0;
  for (int i = 7; i >= 0; --i) s = s * q + kVapourA[i];
  return kCriticalPressure * std::exp(s * w / v);
}

double saturationTemperature(double P) {
  return bisectSaturationTemperature(P, saturationPressure, kTriplePointPressure,
                                     kCriticalTemperature, kCriticalPressure);
}

namespace {
constexpr density::SchemeConstants kScheme{kCriticalTemperature, kCriticalPressure,
                                           kCriticalDensity, kR};
using Scheme = density::Iapws95Scheme<pressureFromTD, saturationPressure, kScheme>;
}  // namespace

double saturatedLiquidDensity(double T) { return Scheme::liquidDensity(T); }
double saturatedVapourDensity(double T) { return Scheme::vapourDensity(T); }
double densityFromTP(double T, double P, Phase phase) {
  return density::densityFromTP(Scheme::kSolver, T, P, phase);
}

}  // namespace vapordex::nbs84
