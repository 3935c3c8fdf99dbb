#include "iapws95.hpp"

#include <cmath>
#include <initializer_list>

#include "../common/density_solver.hpp"
#include "../common/exact_power.hpp"
#include "../common/fast_path_check.hpp"
#include "../common/float_limits.hpp"
#include "../common/iapws_saturation.hpp"
#include "../common/int_power.hpp"
#include "../common/same_double.hpp"
#include "../common/saturation.hpp"
#include "engines/common/vmath.hpp"
#include "iapws95_coefficients.hpp"
#include "iapws95_kept.hpp"

namespace vapordex::iapws95 {

namespace {

// Delta^e in the non-analytic terms. Delta falls below the smallest normal
// float only within a few 1e-6 of the critical density at the critical
// temperature itself, where the guarded power's clamp to the largest float
// would blow the derivatives up; there the double power is exact enough, and
// at Delta = 0 every product Delta^(b - 1) enters (with theta or with
// dDelta/ddelta) tends to 0.
double nonAnalyticPower(double bigDelta, double e) {
  if (bigDelta >= kFloatMin) return guardedPow(bigDelta, e);
  if (bigDelta > 0.0) return vmath::pow(bigDelta, e);
  return 0.0;
}

struct Residual {
  double phi;
  double phiDelta;
  double phiTau;
  double phiDeltaDelta;
};

enum class TauNeeds { kPressure, kDerivative, kIdealTau, kIdeal };

// The kept part against one computed afresh (the fast-path check).
[[maybe_unused]] void checkTauPart(const TauPart& kept) {
  TauPart fresh{};
  fresh.compute(kept.tau);
  checkFastPath("IAPWS-95 kept tau^k", kept.t, fresh.t, 51);
  checkFastPath("IAPWS-95 kept tau^t", kept.polyT, fresh.polyT, kPolynomialCount);
  if (kept.haveDerivative) {
    fresh.computeDerivative();
    checkFastPath("IAPWS-95 kept tau^(t-1)", kept.polyTLess1, fresh.polyTLess1, kPolynomialCount);
  }
  if (kept.haveIdealLog) {
    fresh.computeIdealLog();
    checkFastPath("IAPWS-95 kept ln tau", kept.logTau, fresh.logTau);
    checkFastPath("IAPWS-95 kept ideal logarithms", kept.idealLog, fresh.idealLog, 5);
  }
  if (kept.haveIdealTau) {
    if (!fresh.haveIdealTau) fresh.computeIdealTau();
    checkFastPath("IAPWS-95 kept ideal exponentials", kept.idealE, fresh.idealE, 5);
    checkFastPath("IAPWS-95 kept ideal tau terms", kept.idealTau, fresh.idealTau, 5);
  }
}

TauPart& tauPart(double tau, TauNeeds needs) {
  TauPart& cached = kept<TauPart>();
  if (!sameDouble(cached.tau, tau)) {
    cached.compute(tau);
  } else if constexpr (kCheckFastPaths) {
    checkTauPart(cached);
  }
  if (needs == TauNeeds::kDerivative && !cached.haveDerivative) cached.computeDerivative();
  if (needs == TauNeeds::kIdealTau && !cached.haveIdealTau) cached.computeIdealTau();
  if (needs == TauNeeds::kIdeal && !cached.haveIdealLog) cached.computeIdealLog();
  return cached;
}

// Integer powers of delta, each built once per evaluation and rounded as
// std::pow rounds them (so every term is the same double as with one
// std::pow per factor): delta^k for k up to 15; and exp(-delta^c) for the
// exponents c of the exponential terms.
struct DeltaPowers {
  double d[16];
  double expMinusDc[7];  // exp(-delta^c), c = 1, 2, 3, 4, 6

  explicit DeltaPowers(double delta) {
    exactPowers(delta, d);
    for (int c : {1, 2, 3, 4, 6}) expMinusDc[c] = expOrZero(-d[c]);
  }
};

// Which sums an evaluation needs: a pressure phir_delta, an enthalpy
// phir_delta and phir_tau, an entropy phir and phir_tau, the pressure's
// slope in density phir_delta and phir_delta_delta. Each sum is the same
// double whichever others are computed with it.
enum Sums : unsigned { kPhi = 1u, kDelta = 2u, kTau = 4u, kAllSums = 7u, kDeltaDelta = 8u };

// Whether the two non-analytic terms, added last, would leave every sum as
// it is: each is bounded, from bounds on its powers that need no std::pow,
// well below an eighth of a unit in the last place of the sum it joins, so
// that the sum rounds back to itself. (For 0 < x: x^(5/3) and x^3.5 lie
// between x and x^2 and between x^3 and x^4; x^(2/3) and x^2.5 are at most
// max(1, x) and max(x^2, x^3); Delta^b is at most max(1, Delta) and
// Delta^(b-1) at most max(1, 1/Delta).) Far from the critical point, where
// psi is tiny but not 0, this spares the terms' eight powers.
bool nonAnalyticNegligible(double delta, double tau, const double (&psis)[2], const Residual& r,
                           unsigned sums) {
  const double dm = std::fabs(delta - 1.0);
  const double x = dm * dm;
  const double x2 = x * x;
  const double x3 = x2 * x;
  const double x4 = x2 * x2;
  constexpr double kA = kNonAnalyticBigA;
  constexpr double kB = kNonAnalyticBigB;
  const double beta = kNonAnalyticTerms[0].beta;
  const double thetaLow = (1.0 - tau) + kA * std::fmin(x, x2);
  const double thetaHigh = (1.0 - tau) + kA * std::fmax(x, x2);
  const double thetaAbs = std::fmax(std::fabs(thetaLow), std::fabs(thetaHigh));
  const double thetaSquaredLow =
      thetaLow > 0.0 ? thetaLow * thetaLow : (thetaHigh < 0.0 ? thetaHigh * thetaHigh : 0.0);
  const double bigDeltaLow = thetaSquaredLow + kB * std::fmin(x3, x4);
  const double bigDeltaHigh = thetaAbs * thetaAbs + kB * std::fmax(x3, x4);
  if (!(bigDeltaLow > 0.0) || !std::isfinite(bigDeltaHigh)) return false;
  const double powHigh = std::fmax(1.0, bigDeltaHigh);                       // Delta^b
  const double powLess1High = bigDeltaLow >= 1.0 ? 1.0 : 1.0 / bigDeltaLow;  // Delta^(b-1)
  const double dBigDeltaHigh = dm * (kA * thetaAbs * (2.0 / beta) * std::fmax(1.0, x) +
                                     2.0 * kB * kNonAnalyticA * std::fmax(x2, x3));
  double deltaSum = 0.0;
  double phiSum = 0.0;
  double tauSum = 0.0;
  for (int i = 0; i < 2; ++i) {
    const NonAnalyticTerm& k = kNonAnalyticTerms[i];
    const double scale = std::fabs(k.n) * psis[i];
    deltaSum += scale * (powHigh * (1.0 + 2.0 * k.C * delta * dm) +
                         k.b * powLess1High * dBigDeltaHigh * delta);
    phiSum += scale * powHigh * delta;
    tauSum += scale * delta *
              (2.0 * thetaAbs * k.b * powLess1High + powHigh * 2.0 * k.D * std::fabs(tau - 1.0));
  }
  // Twice the bounds, for the rounding of the terms as computed; 2^-56 |S|
  // is below an eighth of the last place of S.
  constexpr double kEighthUlp = 0x1.0p-56;
  const auto kept = [&](unsigned sum, double bound, double value) {
    return (sums & sum) == 0u || 2.0 * bound < kEighthUlp * std::fabs(value);
  };
  return kept(kDelta, deltaSum, r.phiDelta) && kept(kPhi, phiSum, r.phi) &&
         kept(kTau, tauSum, r.phiTau);
}

// The residual part and its first derivatives in one pass over the terms
// (IAPWS-95 equation 6 and Table 5).
template <unsigned S>
Residual residual(double delta, double tau, bool everyTerm = false) {
  constexpr bool withPhi = (S & kPhi) != 0u;
  constexpr bool withDelta = (S & kDelta) != 0u;
  constexpr bool withTau = (S & kTau) != 0u;
  constexpr bool withDeltaDelta = (S & kDeltaDelta) != 0u;
  Residual r{0.0, 0.0, 0.0, 0.0};
  const double inverseDelta2 = withDeltaDelta ? 1.0 / (delta * delta) : 0.0;
  const TauPart& tp = tauPart(tau, withTau ? TauNeeds::kDerivative : TauNeeds::kPressure);
  const DeltaPowers pw(delta);
  // The polynomial terms are the largest; their fractional powers of tau
  // are std::pow's.
  // The loops are unrolled: each term's exponents become constants.
#pragma GCC unroll 8
  for (int i = 0; i < kPolynomialCount; ++i) {
    const PolynomialTerm& k = kPolynomialTerms[i];
    const double tt = tp.polyT[i];
    if constexpr (withDelta) r.phiDelta += k.n * k.d * pw.d[k.d - 1] * tt;
    if constexpr (withPhi) r.phi += k.n * pw.d[k.d] * tt;
    if constexpr (withTau) r.phiTau += k.n * k.t * pw.d[k.d] * tp.polyTLess1[i];
    if constexpr (withDeltaDelta) {
      if (k.d >= 2) r.phiDeltaDelta += k.n * k.d * (k.d - 1) * pw.d[k.d - 2] * tt;
    }
  }
#pragma GCC unroll 64
  for (const ExponentialTerm& k : kExponentialTerms) {
    const double dc = pw.d[k.c];
    const double e = pw.expMinusDc[k.c];
    const double tt = tp.t[k.t];
    const double dd = pw.d[k.d];
    if constexpr (withDelta) r.phiDelta += k.n * e * pw.d[k.d - 1] * tt * (k.d - k.c * dc);
    if constexpr (withPhi) r.phi += k.n * dd * tt * e;
    if constexpr (withTau) r.phiTau += k.n * k.t * dd * (k.t == 0 ? 1.0 : tp.t[k.t - 1]) * e;
    // d2/ddelta2 of delta^d exp(-delta^c) = delta^(d-2) exp(-delta^c)
    //   [(d - c delta^c)(d - 1 - c delta^c) - c^2 delta^c]
    if constexpr (withDeltaDelta) {
      const double cdc = k.c * dc;
      r.phiDeltaDelta +=
          k.n * e * tt * (dd * inverseDelta2) * ((k.d - cdc) * (k.d - 1 - cdc) - k.c * cdc);
    }
  }
#pragma GCC unroll 4
  for (const GaussianTerm& k : kGaussianTerms) {
    const double dm = delta - kGaussEpsilon;
    const double tm = tau - k.gamma;
    const double g = expOrZero(-kGaussAlpha * dm * dm - k.beta * tm * tm);
    const double term = k.n * pw.d[k.d] * tp.t[k.t] * g;
    if constexpr (withDelta) r.phiDelta += term * (k.d / delta - 2.0 * kGaussAlpha * dm);
    if constexpr (withPhi) r.phi += term;
    if constexpr (withTau) r.phiTau += term * (k.t / tau - 2.0 * k.beta * tm);
    if constexpr (withDeltaDelta) {
      const double first = k.d / delta - 2.0 * kGaussAlpha * dm;
      r.phiDeltaDelta += term * (first * first - k.d * inverseDelta2 - 2.0 * kGaussAlpha);
    }
  }
  // The non-analytic terms share the powers of (delta - 1)^2 (their beta
  // and a are the same).
  static_assert(kNonAnalyticTerms[0].beta == kNonAnalyticTerms[1].beta);
  // Away from the critical point their exponential psi is 0 in doubles
  // (exp(-28 (delta - 1)^2 - 700 (tau - 1)^2)); every other factor is
  // finite, so such a term adds exactly 0 and its powers are not computed.
  const double dm = delta - 1.0;
  const double dm2 = dm * dm;
  double psis[2];
  for (int i = 0; i < 2; ++i) {
    const NonAnalyticTerm& k = kNonAnalyticTerms[i];
    psis[i] = expOrZero(-k.C * dm2 - k.D * (tau - 1.0) * (tau - 1.0));
  }
  if (psis[0] == 0.0 && psis[1] == 0.0) return r;
  // The bound covers the first derivatives. Where they leave phir_delta as
  // it is, the terms' share of phir_delta_delta is as small against the
  // slope, which serves only as Newton's derivative: they are left out of
  // both.
  if (!everyTerm && nonAnalyticNegligible(delta, tau, psis, r, S & kAllSums)) {
    if constexpr (kCheckFastPaths) {
      const Residual full = residual<S & kAllSums>(delta, tau, true);
      if constexpr (withPhi) checkFastPath("IAPWS-95 skipped terms, phir", r.phi, full.phi);
      if constexpr (withDelta) {
        checkFastPath("IAPWS-95 skipped terms, phir_delta", r.phiDelta, full.phiDelta);
      }
      if constexpr (withTau)
        checkFastPath("IAPWS-95 skipped terms, phir_tau", r.phiTau, full.phiTau);
    }
    return r;
  }
  const double beta = kNonAnalyticTerms[0].beta;
  const GuardedPowers dm2Pow(dm2);
  const double dm2PowTheta = dm2Pow(1.0 / (2.0 * beta));
  const double dm2PowThetaLess1 = dm2Pow(1.0 / (2.0 * beta) - 1.0);
  const double dm2PowA = dm2Pow(kNonAnalyticA);
  const double dm2PowALess1 = dm2Pow(kNonAnalyticA - 1.0);
  // theta and Delta are the same for both terms (one beta, A and B); the
  // powers of Delta take its logarithm once where it is an ordinary number
  // (the same doubles as the powers themselves).
  const double theta = (1.0 - tau) + kNonAnalyticBigA * dm2PowTheta;
  const double bigDelta = theta * theta + kNonAnalyticBigB * dm2PowA;
  const bool ordinaryDelta = bigDelta > 0.0 && bigDelta < kFloatMax;
  const vmath::Logarithm logBigDelta =
      ordinaryDelta ? vmath::logarithmOf(bigDelta) : vmath::Logarithm{};
  const auto bigDeltaPow = [&](double e) {
    return ordinaryDelta ? vmath::powerFrom(logBigDelta, e) : nonAnalyticPower(bigDelta, e);
  };
  for (int i = 0; i < 2; ++i) {
    const NonAnalyticTerm& k = kNonAnalyticTerms[i];
    const double psi = psis[i];
    if (psi == 0.0) continue;
    const double b = k.b;
    const double dPow = bigDeltaPow(b);
    const double dPowB1 = bigDeltaPow(b - 1.0);
    // dDelta/ddelta = (delta - 1) [A theta (2 / beta) ((delta-1)^2)^(1/(2 beta) - 1)
    //                               + 2 B a ((delta-1)^2)^(a - 1)]
    const double dBigDeltaDdelta =
        dm * (kNonAnalyticBigA * theta * (2.0 / beta) * dm2PowThetaLess1 +
              2.0 * kNonAnalyticBigB * kNonAnalyticA * dm2PowALess1);
    const double dPowDdelta = b * dPowB1 * dBigDeltaDdelta;
    const double psiDelta = -2.0 * k.C * dm * psi;
    if constexpr (withDelta) {
      r.phiDelta += k.n * (dPow * (psi + delta * psiDelta) + dPowDdelta * delta * psi);
    }
    if constexpr (withPhi) r.phi += k.n * dPow * delta * psi;
    if constexpr (withDeltaDelta) {
      // (delta - 1)^2 = 0 leaves d2Delta/ddelta2 without a finite value; the
      // slope there keeps the terms' other parts.
      const double psiDeltaDelta = (2.0 * k.C * dm2 - 1.0) * 2.0 * k.C * psi;
      double dPowDdeltaDelta = 0.0;
      if (dm != 0.0) {
        const double dm2PowALess2 = dm2Pow(kNonAnalyticA - 2.0);
        const double dm2PowThetaLess2 = dm2Pow(1.0 / (2.0 * beta) - 2.0);
        const double aTerm = kNonAnalyticBigA * (1.0 / beta);
        const double d2BigDelta =
            dBigDeltaDdelta / dm +
            dm2 * (4.0 * kNonAnalyticBigB * kNonAnalyticA * (kNonAnalyticA - 1.0) * dm2PowALess2 +
                   2.0 * aTerm * aTerm * dm2PowThetaLess1 * dm2PowThetaLess1 +
                   kNonAnalyticBigA * theta * (4.0 / beta) * (1.0 / (2.0 * beta) - 1.0) *
                       dm2PowThetaLess2);
        const double dPowB2 = nonAnalyticPower(bigDelta, b - 2.0);
        dPowDdeltaDelta =
            b * (dPowB1 * d2BigDelta + (b - 1.0) * dPowB2 * dBigDeltaDdelta * dBigDeltaDdelta);
      }
      r.phiDeltaDelta +=
          k.n * (dPow * (2.0 * psiDelta + delta * psiDeltaDelta) +
                 2.0 * dPowDdelta * (psi + delta * psiDelta) + dPowDdeltaDelta * delta * psi);
    }
    if constexpr (withTau) {
      const double dPowDtau = -2.0 * theta * b * dPowB1;
      const double psiTau = -2.0 * k.D * (tau - 1.0) * psi;
      r.phiTau += k.n * delta * (dPowDtau * psi + dPow * psiTau);
    }
  }
  return r;
}

double reducedDensity(double rho) { return rho / kCriticalDensity; }
double inverseReducedTemperature(double T) { return kCriticalTemperature / T; }

// The ideal-gas part and the residual sums S.
template <unsigned S>
Helmholtz helmholtzSums(double delta, double tau) {
  const Residual r = residual<S>(delta, tau);
  const TauPart& tp = tauPart(tau, (S & kPhi) != 0u ? TauNeeds::kIdeal : TauNeeds::kIdealTau);
  Helmholtz h{};
  if constexpr ((S & kPhi) != 0u) {
    h.phi0 = vmath::log(delta) + kIdealN[0] + kIdealN[1] * tau + kIdealN[2] * tp.logTau;
    for (int i = 0; i < 5; ++i) h.phi0 += kIdealN[i + 3] * tp.idealLog[i];
  }
  h.phi0Tau = kIdealN[1] + kIdealN[2] / tau;
  for (const double term : tp.idealTau) h.phi0Tau += term;
  h.phir = r.phi;
  h.phirDelta = r.phiDelta;
  h.phirTau = r.phiTau;
  return h;
}

}  // namespace

Helmholtz helmholtz(double delta, double tau) { return helmholtzSums<kAllSums>(delta, tau); }

double residualDelta(double delta, double tau) { return residual<kDelta>(delta, tau).phiDelta; }

ResidualSums residualSums(double delta, double tau, bool withPhiAndTau, bool everyTerm) {
  const Residual r = withPhiAndTau ? residual<kAllSums>(delta, tau, everyTerm)
                                   : residual<kDelta>(delta, tau, everyTerm);
  return {r.phi, r.phiDelta, r.phiTau};
}

double pressureFromTD(double T, double rho) {
  const double delta = reducedDensity(rho);
  return rho * kR * T * (1.0 + delta * residualDelta(delta, inverseReducedTemperature(T)));
}

// The pressure as pressureFromTD computes it, and
// dP/drho = R T (1 + 2 delta phir_delta + delta^2 phir_delta_delta).
density::PressureSlope pressureSlopeFromTD(double T, double rho) {
  const double delta = reducedDensity(rho);
  const Residual r = residual<kDelta | kDeltaDelta>(delta, inverseReducedTemperature(T));
  const double rt = kR * T;
  return {rho * kR * T * (1.0 + delta * r.phiDelta),
          rt * (1.0 + 2.0 * delta * r.phiDelta + delta * delta * r.phiDeltaDelta)};
}

double enthalpyFromTD(double T, double rho) {
  const double delta = reducedDensity(rho);
  const double tau = inverseReducedTemperature(T);
  const Helmholtz h = helmholtzSums<kDelta | kTau>(delta, tau);
  return kR * T * (1.0 + tau * (h.phi0Tau + h.phirTau) + delta * h.phirDelta);
}

double entropyFromTD(double T, double rho) {
  const double tau = inverseReducedTemperature(T);
  const Helmholtz h = helmholtzSums<kPhi | kTau>(reducedDensity(rho), tau);
  return kR * (tau * (h.phi0Tau + h.phirTau) - h.phi0 - h.phir);
}

// The IAPWS-IF97 saturation-pressure equation.
double saturationPressure(double T) { return iapws_saturation::pressure(T); }

double saturationTemperature(double P) {
  static constexpr SaturationLine kLine{
      .pressure = saturationPressure,
      .triplePressure = kTriplePointPressure,
      .criticalTemperature = kCriticalTemperature,
      .criticalPressure = kCriticalPressure,
      .temperatureEstimate = iapws_saturation::temperatureEstimate,
      .estimateReach = 1e-6,  // its algebraic inverse, to rounding
      .estimateIsRoot = true,
  };
  return bisectSaturationTemperature(P, kLine);
}

namespace {
constexpr density::SchemeConstants kScheme{kCriticalTemperature, kCriticalPressure,
                                           kCriticalDensity, kR};
using Scheme =
    density::Iapws95Scheme<pressureFromTD, pressureSlopeFromTD, saturationPressure, kScheme>;
}  // namespace

double saturatedLiquidDensity(double T) { return Scheme::liquidDensity(T); }
double saturatedVapourDensity(double T) { return Scheme::vapourDensity(T); }
void supercriticalStart(double T, double P, double* rho1, double* rho2) {
  Scheme::start(T, P, rho1, rho2);
}
double densityFromTP(double T, double P, Phase phase) {
  return density::densityFromTP(Scheme::kSolver, T, P, phase);
}

double referenceDensity(double T, double P) {
  double lo = 1e-9;
  double hi = 1.5;
  if (T < kCriticalTemperature) {
    if (P > saturationPressure(T)) {
      lo = saturatedLiquidDensity(T);
    } else {
      hi = saturatedVapourDensity(T);
    }
  }
  for (int k = 0; k < 200; ++k) {
    const double mid = 0.5 * (lo + hi);
    (pressureFromTD(T, mid) > P ? hi : lo) = mid;
  }
  return 0.5 * (lo + hi);
}

// The second derivatives, by the release's formulas term by term (without
// the evaluation's kept values and skipped terms: they serve cp, cv and w,
// not the density solvers).
SecondDerivatives secondDerivatives(double delta, double tau) {
  SecondDerivatives r{0.0, 0.0, 0.0, 0.0, 0.0};
  // Ideal-gas part: only phi0_tautau depends on tau twice.
  r.phi0TauTau = -kIdealN[2] / (tau * tau);
  for (int i = 0; i < 5; ++i) {
    const double g = kIdealGamma[i];
    const double e = vmath::exp(-g * tau);
    r.phi0TauTau -= kIdealN[3 + i] * g * g * e / ((1.0 - e) * (1.0 - e));
  }
  for (const PolynomialTerm& k : kPolynomialTerms) {
    const double dd = intPower(delta, k.d);
    const double tt = vmath::pow(tau, k.t);
    r.phiDelta += k.n * k.d * dd / delta * tt;
    r.phiDeltaDelta += k.n * k.d * (k.d - 1) * dd / (delta * delta) * tt;
    r.phiDeltaTau += k.n * k.d * k.t * dd / delta * tt / tau;
    r.phiTauTau += k.n * k.t * (k.t - 1.0) * dd * tt / (tau * tau);
  }
  for (const ExponentialTerm& k : kExponentialTerms) {
    const double dc = intPower(delta, k.c);
    const double e = vmath::exp(-dc);
    const double dd = intPower(delta, k.d);
    const double tt = intPower(tau, k.t);
    const double cdc = k.c * dc;
    r.phiDelta += k.n * e * dd / delta * tt * (k.d - cdc);
    r.phiDeltaDelta +=
        k.n * e * tt * dd / (delta * delta) * ((k.d - cdc) * (k.d - 1 - cdc) - k.c * cdc);
    r.phiDeltaTau += k.n * k.t * e * dd / delta * tt / tau * (k.d - cdc);
    r.phiTauTau += k.n * k.t * (k.t - 1) * dd * tt / (tau * tau) * e;
  }
  for (const GaussianTerm& k : kGaussianTerms) {
    const double dm = delta - kGaussEpsilon;
    const double tm = tau - k.gamma;
    const double term = k.n * intPower(delta, k.d) * intPower(tau, k.t) *
                        vmath::exp(-kGaussAlpha * dm * dm - k.beta * tm * tm);
    const double inDelta = k.d / delta - 2.0 * kGaussAlpha * dm;
    const double inTau = k.t / tau - 2.0 * k.beta * tm;
    r.phiDelta += term * inDelta;
    r.phiDeltaDelta += term * (inDelta * inDelta - k.d / (delta * delta) - 2.0 * kGaussAlpha);
    r.phiDeltaTau += term * inDelta * inTau;
    r.phiTauTau += term * (inTau * inTau - k.t / (tau * tau) - 2.0 * k.beta);
  }
  // Terms 55 and 56: n Delta^b delta psi. At delta = 1 the powers of
  // (delta - 1)^2 with negative exponents are infinite while every product
  // they enter tends to 0.
  const double dm = delta - 1.0;
  const double dm2 = dm * dm;
  const double tm = tau - 1.0;
  const double a = kNonAnalyticA;
  const double bigA = kNonAnalyticBigA;
  const double bigB = kNonAnalyticBigB;
  for (const NonAnalyticTerm& k : kNonAnalyticTerms) {
    const double beta = k.beta;
    const double b = k.b;
    const double psi = vmath::exp(-k.C * dm2 - k.D * tm * tm);
    if (psi == 0.0) continue;
    const double theta = -tm + bigA * vmath::pow(dm2, 1.0 / (2.0 * beta));
    const double bigDelta = theta * theta + bigB * vmath::pow(dm2, a);
    double dDelta = 0.0;   // dDelta/ddelta
    double ddDelta = 0.0;  // d2Delta/ddelta2
    if (dm != 0.0) {
      const double pTheta1 = vmath::pow(dm2, 1.0 / (2.0 * beta) - 1.0);
      dDelta =
          dm * (bigA * theta * (2.0 / beta) * pTheta1 + 2.0 * bigB * a * vmath::pow(dm2, a - 1.0));
      ddDelta = dDelta / dm + dm2 * (4.0 * bigB * a * (a - 1.0) * vmath::pow(dm2, a - 2.0) +
                                     2.0 * (bigA / beta) * (bigA / beta) * pTheta1 * pTheta1 +
                                     bigA * theta * (4.0 / beta) * (1.0 / (2.0 * beta) - 1.0) *
                                         vmath::pow(dm2, 1.0 / (2.0 * beta) - 2.0));
    }
    const double pb = vmath::pow(bigDelta, b);
    const double pb1 = vmath::pow(bigDelta, b - 1.0);
    const double pb2 = vmath::pow(bigDelta, b - 2.0);
    // Delta^b's derivatives.
    const double bD = b * pb1 * dDelta;
    const double bDD = b * (pb1 * ddDelta + (b - 1.0) * pb2 * dDelta * dDelta);
    const double bT = -2.0 * theta * b * pb1;
    const double bTT = 2.0 * b * pb1 + 4.0 * theta * theta * b * (b - 1.0) * pb2;
    const double dThetaDdelta =
        dm != 0.0 ? bigA * (1.0 / beta) * dm * vmath::pow(dm2, 1.0 / (2.0 * beta) - 1.0) : 0.0;
    const double bDT = -2.0 * b * (dThetaDdelta * pb1 + theta * (b - 1.0) * pb2 * dDelta);
    // psi's derivatives.
    const double psiD = -2.0 * k.C * dm * psi;
    const double psiDD = (2.0 * k.C * dm2 - 1.0) * 2.0 * k.C * psi;
    const double psiT = -2.0 * k.D * tm * psi;
    const double psiTT = (2.0 * k.D * tm * tm - 1.0) * 2.0 * k.D * psi;
    const double psiDT = 4.0 * k.C * k.D * dm * tm * psi;
    r.phiDelta += k.n * (pb * (psi + delta * psiD) + bD * delta * psi);
    r.phiDeltaDelta += k.n * (pb * (2.0 * psiD + delta * psiDD) + 2.0 * bD * (psi + delta * psiD) +
                              bDD * delta * psi);
    r.phiTauTau += k.n * delta * (bTT * psi + 2.0 * bT * psiT + pb * psiTT);
    r.phiDeltaTau += k.n * (pb * (psiT + delta * psiDT) + delta * bD * psiT +
                            bT * (psi + delta * psiD) + bDT * delta * psi);
  }
  return r;
}

Derived derivedFromTD(double T, double rho) {
  const double delta = reducedDensity(rho);
  const double tau = inverseReducedTemperature(T);
  const SecondDerivatives d = secondDerivatives(delta, tau);
  const double pRho = kR * T * (1.0 + 2.0 * delta * d.phiDelta + delta * delta * d.phiDeltaDelta);
  const double pT = rho * kR * (1.0 + delta * d.phiDelta - delta * tau * d.phiDeltaTau);
  return fromHelmholtz(T, rho, pRho, pT, -kR * tau * tau * (d.phi0TauTau + d.phiTauTau));
}

}  // namespace vapordex::iapws95
