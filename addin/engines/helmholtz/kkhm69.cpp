#include "kkhm69.hpp"

#include <cmath>

#include "../common/density_solver.hpp"
#include "../common/fast_path_check.hpp"
#include "../common/iapws_saturation.hpp"
#include "../common/int_power.hpp"
#include "../common/last_exponential.hpp"
#include "../common/saturation.hpp"
#include "engines/common/vmath.hpp"
#include "kkhm69_coefficients.hpp"
#include "kkhm69_kept.hpp"

namespace vapordex::kkhm69 {

namespace {

using ExpOfRho = LastExponential<kMinusE>;
constexpr double kTauA = 2.5;  // tau_aj for j = 2 ... 7

double inverseTemperature(double T) { return 1000.0 / T; }

}  // namespace

// Q with the common factor (tau - tau_c) folded into G_j, and its analytic
// derivatives in rho and tau.
namespace {

// Two doubles that the compiler operates on together (SSE2).
using Pair = double __attribute__((vector_size(16)));

// The brackets of columns j and j + 1 (each with rows rows, about densities
// rhoA0 and rhoA1): sum A_ij d^(i-1) + e (A_9j + A_10j rho) and its
// derivative in rho, each lane by the same operations as one column alone.
struct BracketPair {
  Pair bracket;
  Pair bracketRho;
};

template <int J, int Rows>
BracketPair bracketPair(double rho, double e, double rhoA0, double rhoA1) {
  const Pair d = {rho - rhoA0, rho - rhoA1};
  Pair bracket = {0.0, 0.0};
  Pair bracketRho = {0.0, 0.0};
  Pair dPower = {1.0, 1.0};  // d^(i - 1)
#pragma GCC unroll 8
  for (int i = 0; i < Rows; ++i) {
    bracket += Pair{kA[i][J], kA[i][J + 1]} * dPower;
    if (i + 1 < Rows) {
      bracketRho += Pair{(i + 1) * kA[i + 1][J], (i + 1) * kA[i + 1][J + 1]} * dPower;
    }
    dPower *= d;
  }
  bracket += e * (Pair{kA[8][J], kA[8][J + 1]} + Pair{kA[9][J], kA[9][J + 1]} * rho);
  bracketRho += e * (Pair{kA[9][J] - kE * kA[8][J], kA[9][J + 1] - kE * kA[8][J + 1]} -
                     Pair{kE * kA[9][J], kE * kA[9][J + 1]} * rho);
  return {bracket, bracketRho};
}

// With WithTau false, qTau is left 0 (a pressure needs only q and qRho);
// q and qRho are the same doubles either way. Columns are taken two at a
// time (the last, column 6, paired with column 5 again, whose lane is left
// out) and added to the sums one after the other, as one at a time.
template <bool WithTau>
QFunction qTerms(double rho, double tau) {
  QFunction r{0.0, 0.0, 0.0};
  // A pressure keeps its exponential for the enthalpy or entropy at the
  // density its solver ends on.
  const double e = WithTau ? ExpOfRho::recall(rho) : ExpOfRho::remember(rho);
  const double tc = tau - kTauCritical;
  const double ta = tau - kTauA;
  // Column j (0-based) has G = (tau - tau_c)(tau - 2.5)^(j - 1) for j >= 1,
  // G = 1 for j = 0.
  double g[7];
  double gTau[7];
  double taPower = 1.0;     // (tau - 2.5)^(j - 1)
  double taPrevious = 0.0;  // (tau - 2.5)^(j - 2)
  g[0] = 1.0;
  gTau[0] = 0.0;
#pragma GCC unroll 6
  for (int j = 1; j < 7; ++j) {
    g[j] = tc * taPower;
    // d/dtau of (tau - tc)(tau - 2.5)^(j - 1)
    gTau[j] = 0.0;
    if constexpr (WithTau) gTau[j] = j == 1 ? 1.0 : taPrevious * (ta + (j - 1) * tc);
    taPrevious = taPower;
    taPower *= ta;
  }
  const BracketPair pairs[4] = {
      bracketPair<0, 8>(rho, e, 0.634, 1.0), bracketPair<2, 4>(rho, e, 1.0, 1.0),
      bracketPair<4, 4>(rho, e, 1.0, 1.0), bracketPair<5, 4>(rho, e, 1.0, 1.0)};
#pragma GCC unroll 4
  for (int p = 0; p < 4; ++p) {
    // The last pair is columns 5 and 6; its first lane was taken with the
    // pair before.
    const int j = p < 3 ? 2 * p : 5;
    const Pair q = Pair{g[j], g[j + 1]} * pairs[p].bracket;
    const Pair qRho = Pair{g[j], g[j + 1]} * pairs[p].bracketRho;
    const Pair qTau = Pair{gTau[j], gTau[j + 1]} * pairs[p].bracket;
    for (int lane = p < 3 ? 0 : 1; lane < 2; ++lane) {
      r.q += q[lane];
      r.qRho += qRho[lane];
      if constexpr (WithTau) r.qTau += qTau[lane];
    }
  }
  return r;
}

}  // namespace

QFunction qFunction(double rho, double tau) { return qTerms<true>(rho, tau); }

namespace {

// psi0 and its tau derivative with ln T given, so that an enthalpy takes
// the logarithm once.
double psi0(double T, double lnT) {
  const double tau = inverseTemperature(T);
  double p = 0.0;
  for (int k = 5; k >= 1; --k) p = p / tau + kC[k];
  return kC[0] + p / tau + (kC[6] + kC[7] / tau) * lnT;
}

double psi0Tau(double T, double lnT) {
  const double tau = inverseTemperature(T);
  double sum = 0.0;
  double tp = tau * tau;  // tau^(k + 1)
  for (int k = 1; k <= 5; ++k) {
    sum -= k * kC[k] / tp;
    tp *= tau;
  }
  return sum - (kC[6] + kC[7] * (1.0 + lnT) / tau) / tau;
}

}  // namespace

double psi0(double T) { return psi0(T, vmath::log(T)); }
double psi0Tau(double T) { return psi0Tau(T, vmath::log(T)); }

double pressureFromTD(double T, double rho) {
  const QFunction q = qTerms<false>(rho, inverseTemperature(T));
  return rho * kR * T * (1.0 + rho * q.q + rho * rho * q.qRho);
}

namespace {

// d2Q/drho2: each column's bracket sum A_ij d^(i-1) + e (A_9j + A_10j rho)
// differentiated twice (d = rho - rho_aj, e = exp(-E rho)), times G_j.
double qRhoRho(double rho, double tau) {
  const double e = vmath::exp(-kE * rho);
  const double tc = tau - kTauCritical;
  const double ta = tau - kTauA;
  double sum = 0.0;
  double taPower = 1.0;  // (tau - 2.5)^(j - 1)
  for (int j = 0; j < 7; ++j) {
    const double g = j == 0 ? 1.0 : tc * taPower;
    if (j > 0) taPower *= ta;
    const double d = rho - (j == 0 ? 0.634 : 1.0);
    double bracket = 0.0;
    double dPower = 1.0;  // d^(i - 2)
    for (int i = 2; i < 8; ++i) {
      bracket += i * (i - 1) * kA[i][j] * dPower;
      dPower *= d;
    }
    bracket += e * kE * (kE * (kA[8][j] + kA[9][j] * rho) - 2.0 * kA[9][j]);
    sum += g * bracket;
  }
  return sum;
}

}  // namespace

// P = R T (rho + rho^2 Q + rho^3 Q_rho), so
// dP/drho = R T (1 + 2 rho Q + 4 rho^2 Q_rho + rho^3 Q_rho_rho).
density::PressureSlope pressureSlopeFromTD(double T, double rho) {
  const double tau = inverseTemperature(T);
  const QFunction q = qTerms<false>(rho, tau);
  const double rt = kR * T;
  return {rho * kR * T * (1.0 + rho * q.q + rho * rho * q.qRho),
          rt * (1.0 + 2.0 * rho * q.q + 4.0 * rho * rho * q.qRho +
                rho * rho * rho * qRhoRho(rho, tau))};
}

namespace {

double entropyIdealPart(double T, double lnT) {
  return inverseTemperature(T) / T * psi0Tau(T, lnT);
}

double enthalpyIdealPart(double T, double lnT) {
  return psi0(T, lnT) + inverseTemperature(T) * psi0Tau(T, lnT);
}

// The kept isotherm's part (Part is entropyIdealPart or enthalpyIdealPart),
// computed when T or the part is new.
template <double (*Part)(double, double), bool IdealPart::*kHave, double IdealPart::*kValue>
double idealPart(double T) {
  IdealPart& k = kept<IdealPart>();
  if (!sameDouble(k.T, T)) {
    k.T = T;
    k.lnT = vmath::log(T);
    k.haveEntropy = false;
    k.haveEnthalpy = false;
  } else if (k.*kHave) {
    if constexpr (kCheckFastPaths) {
      checkFastPath("KKHM 1969 kept ideal-gas part", k.*kValue, Part(T, vmath::log(T)));
    }
    return k.*kValue;
  }
  k.*kValue = Part(T, k.lnT);
  k.*kHave = true;
  return k.*kValue;
}

}  // namespace

double enthalpyFromTD(double T, double rho) {
  const double tau = inverseTemperature(T);
  const QFunction q = qFunction(rho, tau);
  return idealPart<enthalpyIdealPart, &IdealPart::haveEnthalpy, &IdealPart::enthalpy>(T) +
         kR * T * (1.0 + rho * q.q + rho * rho * q.qRho + rho * tau * q.qTau);
}

double entropyFromTD(double T, double rho) {
  const double tau = inverseTemperature(T);
  const QFunction q = qFunction(rho, tau);
  return idealPart<entropyIdealPart, &IdealPart::haveEntropy, &IdealPart::entropy>(T) -
         kR * (vmath::log(rho) + rho * q.q - rho * tau * q.qTau);
}

namespace {

// The vapour-pressure equation's exponent, ln (psat / Pc).
double saturationExponent(double T) {
  const double u = 3.3815 - 0.01 * T;
  double s = 0.0;
  for (int k = 7; k >= 0; --k) s = s * u + kF[k];
  return s * (kCriticalTemperature - T) * (1000.0 / T) * 1e-5;
}

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

double solveLiquidDensity(double T) {
  if (T >= kCriticalTemperature) return kCriticalDensity;
  const double y = vmath::pow(kLiquidStartTemperature - T, kLiquidStartExponent);
  const double* c = kLiquidStart;
  const double rho1 = kCriticalDensity + y * (c[0] + y * (c[1] + y * c[2]));
  const double ps = saturationPressure(T);
  const density::SecantResult r =
      density::secantSolve(pressureFromTD, T, ps, rho1, 1.01 * rho1, density::SecantOptions{});
  return density::polishSaturatedDensity(
      pressureSlopeFromTD, T, ps,
      density::soundSaturatedDensity(pressureFromTD, T, ps, r, true, kCriticalTemperature,
                                     kCriticalDensity),
      true, kCriticalDensity);
}

double solveVapourDensity(double T) {
  if (T >= kCriticalTemperature) return kCriticalDensity;
  const double ps = saturationPressure(T);
  const double w = vmath::pow(kCriticalTemperature - T, kVapourStartExponent);
  const double* c = kVapourStartZ;
  const double z = c[0] + w * (c[1] + w * (c[2] + w * c[3]));
  const double rho1 = ps / (z * kR * T);
  const density::SecantResult r =
      density::secantSolve(pressureFromTD, T, ps, rho1, rho1 / 1.1, density::SecantOptions{});
  return density::polishSaturatedDensity(
      pressureSlopeFromTD, T, ps,
      density::soundSaturatedDensity(pressureFromTD, T, ps, r, false, kCriticalTemperature,
                                     kCriticalDensity),
      false, kCriticalDensity);
}

}  // namespace

// The saturated densities keep their recent answers (one table per thread):
// the same doubles as solved afresh.
double saturatedLiquidDensity(double T) {
  return kept<SaturatedDensities>().liquid.get(T, solveLiquidDensity);
}

double saturatedVapourDensity(double T) {
  return kept<SaturatedDensities>().vapour.get(T, solveVapourDensity);
}

namespace {
// Three times the critical density and a compressibility of 2.5.
void supercriticalStart(double T, double P, double* rho1, double* rho2) {
  *rho1 = 3.0 * kCriticalDensity;
  *rho2 = P / (2.5 * kR * T);
}
}  // namespace

// Up to 64 secant steps, steps 33 to 64 averaged with the previous estimate;
// the result before the first step is the first start.
double densityFromTP(double T, double P, Phase phase) {
  static constexpr density::DensitySolver kSolver{
      .pressure = pressureFromTD,
      .pressureSlope = pressureSlopeFromTD,
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

namespace {

// Q's second derivatives in tau and in rho and tau, column by column:
// Q = sum G_j(tau) bracket_j(rho) with G_0 = 1 and
// G_j = (tau - tau_c)(tau - 2.5)^(j - 1).
struct QSecond {
  double qTau;
  double qTauTau;
  double qRhoTau;
};

QSecond qSecond(double rho, double tau) {
  const double e = vmath::exp(-kE * rho);
  const double tc = tau - kTauCritical;
  const double ta = tau - kTauA;
  QSecond r{0.0, 0.0, 0.0};
  for (int j = 1; j < 7; ++j) {
    // Each power's factor (j - 1) or (j - 2) is 0 where its exponent is
    // negative: those terms are left out, so that tau = 2.5 (T = 400 K)
    // does not turn 0 * inf into NaN.
    const double gTau = intPower(ta, j - 1) + (j >= 2 ? (j - 1) * tc * intPower(ta, j - 2) : 0.0);
    const double gTauTau = (j >= 2 ? 2.0 * (j - 1) * intPower(ta, j - 2) : 0.0) +
                           (j >= 3 ? (j - 1) * (j - 2) * tc * intPower(ta, j - 3) : 0.0);
    const double d = rho - 1.0;
    double bracket = e * (kA[8][j] + kA[9][j] * rho);
    double bracketRho = e * (kA[9][j] - kE * (kA[8][j] + kA[9][j] * rho));
    for (int i = 0; i < 8; ++i) {
      bracket += kA[i][j] * intPower(d, i);
      if (i > 0) bracketRho += i * kA[i][j] * intPower(d, i - 1);
    }
    r.qTau += gTau * bracket;
    r.qTauTau += gTauTau * bracket;
    r.qRhoTau += gTau * bracketRho;
  }
  return r;
}

}  // namespace

// psi = psi0(T) + R T (ln rho + rho Q): cv = -T d2psi0/dT2 - R rho tau^2 Q_tautau
// and dP/dT = rho R (1 + rho Q + rho^2 Q_rho - tau (rho Q_tau + rho^2 Q_rho_tau)).
Derived derivedFromTD(double T, double rho) {
  const double tau = inverseTemperature(T);
  const QFunction q = qFunction(rho, tau);
  const QSecond q2 = qSecond(rho, tau);
  // psi0 = C1 + sum C_k u^k + (C7 + C8 u) ln T with u = T / 1000.
  const double u = T / 1000.0;
  double psi0TT = 2.0 * kC[7] / (1000.0 * T) - (kC[6] + kC[7] * u) / (T * T);
  for (int k = 2; k <= 5; ++k) psi0TT += k * (k - 1) * kC[k] * intPower(u, k - 2) / 1e6;
  const double cv = -T * psi0TT - kR * rho * tau * tau * q2.qTauTau;
  const double pT =
      rho * kR *
      (1.0 + rho * q.q + rho * rho * q.qRho - tau * (rho * q2.qTau + rho * rho * q2.qRhoTau));
  return fromHelmholtz(T, rho, pressureSlopeFromTD(T, rho).slope, pT, cv);
}

}  // namespace vapordex::kkhm69
