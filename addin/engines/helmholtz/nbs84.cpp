#include "nbs84.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "../common/density_solver.hpp"
#include "../common/fast_path_check.hpp"
#include "../common/float_limits.hpp"
#include "../common/iapws_saturation.hpp"
#include "../common/int_power.hpp"
#include "../common/last_exponential.hpp"
#include "../common/same_double.hpp"
#include "../common/saturation.hpp"
#include "engines/common/vmath.hpp"
#include "nbs84_coefficients.hpp"
#include "nbs84_kept.hpp"

namespace vapordex::nbs84 {

namespace {

// The kept part against one computed afresh (the fast-path check).
[[maybe_unused]] void checkTemperaturePart(const TemperaturePart& kept) {
  TemperaturePart fresh{};
  fresh.compute(kept.T);
  const double base[4] = {kept.c.b, kept.c.dbdT, kept.c.B, kept.c.dBdT};
  const double freshBase[4] = {fresh.c.b, fresh.c.dbdT, fresh.c.B, fresh.c.dBdT};
  checkFastPath("NBS/NRC 1984 kept b and B", base, freshBase, 4);
  checkFastPath("NBS/NRC 1984 kept tau^l", kept.tauPower, fresh.tauPower, 7);
  checkFastPath("NBS/NRC 1984 kept g tau^l", kept.residualGt, fresh.residualGt, 36);
  checkFastPath("NBS/NRC 1984 kept beta t^2", kept.criticalBt2, fresh.criticalBt2, 4);
  if (kept.haveIdeal) {
    fresh.computeIdeal();
    checkFastPath("NBS/NRC 1984 kept (g/k) tau^l", kept.residualGkt, fresh.residualGkt, 36);
    checkFastPath("NBS/NRC 1984 kept ideal part", kept.idealA, fresh.idealA);
    checkFastPath("NBS/NRC 1984 kept ideal slope", kept.idealdT, fresh.idealdT);
  }
}

const TemperaturePart& temperaturePart(double T, bool ideal) {
  TemperaturePart& cached = kept<TemperaturePart>();
  const bool found = sameDouble(cached.T, T);
  if (!found) cached.compute(T);
  if (ideal && !cached.haveIdeal) cached.computeIdeal();
  if constexpr (kCheckFastPaths) {
    if (found) checkTemperaturePart(cached);
  }
  return cached;
}

// Where beta_i t^2 alone takes the exponent of term 37 + i below exp's
// least subnormal (as it does for three of them more than about 120 K from
// their T_i), the term is 0 and adds exactly nothing.
constexpr double kVanishingExponent = 746.0;

// Term 37 + i's power base, exponential and derivative in rho.
struct CriticalTerm {
  double d;  // rho / rho_i - 1
  double x;  // exp(-alpha d^k - beta t^2)
  double slope;
};
inline CriticalTerm criticalTerm(const TemperaturePart& tp, int i, double rho) {
  const double d = rho / kCriticalRho[i] - 1.0;
  const int k = kCriticalK[i];
  const int l = kCriticalL[i];
  const double x = expOrZero(-kCriticalAlpha[i] * intPower(d, k) - tp.criticalBt2[i]);
  // d/drho of d^l exp(-alpha d^k) = (l d^(l-1) - alpha k d^(k+l-1)) exp(..) / rho_i
  const double dlMinus1 = l == 0 ? 0.0 : l * intPower(d, l - 1);
  return {d, x,
          kCriticalG[i] * (dlMinus1 - kCriticalAlpha[i] * k * intPower(d, k + l - 1)) * x /
              kCriticalRho[i]};
}

using ExpMinusRho = LastExponential<kMinusOne>;

// Two doubles that the compiler operates on together (SSE2).
using Pair = double __attribute__((vector_size(16)));

// What an evaluation computes: dA/drho alone (a pressure), dA/dT alone (an
// entropy), or everything.
enum class Want { kPressure, kEntropy, kAll };

// Whether term 37 + i is too small to change any sum it is added to (those
// an evaluation of W computes, f as they stand before it): a bound on each
// of its parts, twice over for their rounding, below an eighth of the
// sum's last place, so that each sum plus its part is the sum itself. The
// bound takes exp(..) as 2^n with n above its exponent in base 2, without
// computing it. Far from the critical density the terms are many orders of
// magnitude below that.
template <Want W>
bool criticalTermNegligible(const TemperaturePart& tp, int i, double rho, const FreeEnergy& f) {
  const double d = rho / kCriticalRho[i] - 1.0;
  const int k = kCriticalK[i];
  const int l = kCriticalL[i];
  const double exponent = -kCriticalAlpha[i] * intPower(d, k) - tp.criticalBt2[i];
  if (!(exponent < -40.0)) return false;
  constexpr double kLog2E = 1.4426950408889634;
  // Far below -1000 the bound is 2^-1000 all the same; the clamp keeps the
  // conversion to int defined for any exponent.
  const int n = std::max(static_cast<int>(std::fmax(exponent * kLog2E, -1100.0)) + 1, -1000);
  const double expBound = std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
  const double a = std::fabs(d);
  const double g = std::fabs(kCriticalG[i]) * expBound;
  const auto negligible = [](double bound, double sum) {
    return 2.0 * bound < 0x1p-56 * std::fabs(sum);
  };
  if constexpr (W != Want::kEntropy) {
    const double slope =
        (l == 0 ? 0.0 : l * intPower(a, l - 1)) + kCriticalAlpha[i] * k * intPower(a, k + l - 1);
    if (!negligible(g * slope / kCriticalRho[i], f.dAdRho)) return false;
  }
  if constexpr (W != Want::kPressure) {
    const double term = g * intPower(a, l);
    if (W == Want::kAll && !negligible(term, f.a)) return false;
    const double dTerm = 2.0 * kCriticalBeta[i] * std::fabs(tp.criticalT[i]) / kCriticalT[i] * term;
    if (!negligible(dTerm, f.dAdT)) return false;
  }
  return true;
}

// The free energy and its derivatives: with W, only those an evaluation
// asks for, by the same operations as the full evaluation. Unless
// everyTerm, the critical terms that cannot change the sums are left out.
template <Want W>
FreeEnergy evaluate(double T, double rho, bool everyTerm = false) {
  constexpr bool Full = W != Want::kPressure;      // dA/dT
  constexpr bool WithA = W == Want::kAll;          // A itself
  constexpr bool WithSlope = W != Want::kEntropy;  // dA/drho
  FreeEnergy f{0.0, 0.0, 0.0, 0.0};
  const TemperaturePart& tp = temperaturePart(T, Full);
  const double rt = tp.rt;

  // Base part: R T F(y, T), y = b rho / 4.
  const Base& c = tp.c;
  const double y = c.b * rho / 4.0;
  const double oneMinusY = 1.0 - y;
  const double ratio = c.B / c.b - 3.5;
  const double dFdy = 1.0 / oneMinusY - kBase1 / (oneMinusY * oneMinusY) +
                      2.0 * kBase2 / (oneMinusY * oneMinusY * oneMinusY) + 4.0 * ratio;
  if constexpr (Full) {
    const double dydT = rho / 4.0 * c.dbdT;
    const double F = -vmath::log(oneMinusY) - kBase1 / oneMinusY +
                     kBase2 / (oneMinusY * oneMinusY) + 4.0 * y * ratio + kBase3 +
                     vmath::log(rho * rt / kReferencePressure);
    const double dRatiodT = c.dBdT / c.b - c.B * c.dbdT / (c.b * c.b);
    const double dFdT = dFdy * dydT + 4.0 * y * dRatiodT + 1.0 / T;
    if constexpr (WithA) f.a += rt * F;
    f.dAdT += kR * F + rt * dFdT;
  }
  // dF/drho = dF/dy y / rho + 1 / rho.
  if constexpr (WithSlope) f.dAdRho += rt * (dFdy * y + 1.0) / rho;

  // Terms 1 to 36.
  const double e = Full ? ExpMinusRho::recall(rho) : ExpMinusRho::remember(rho);
  const double oneMinusE = 1.0 - e;
  // Unrolled, each term's exponents are constants and its powers products.
  // Two terms at a time: their products (and the temperature derivatives'
  // divisions l term / T) are taken together, the same doubles as one at a
  // time, and added to the sums one after the other as before.
#pragma GCC unroll 18
  for (int i = 0; i < 36; i += 2) {
    const Pair ek = {intPower(oneMinusE, kResidualK[i] - 1),
                     intPower(oneMinusE, kResidualK[i + 1] - 1)};
    if constexpr (Full) {
      const Pair term = Pair{tp.residualGkt[i], tp.residualGkt[i + 1]} * ek * oneMinusE;
      const Pair shed =
          Pair{static_cast<double>(kResidualL[i]), static_cast<double>(kResidualL[i + 1])} * term /
          T;
      if constexpr (WithA) f.a += term[0];
      f.dAdT -= shed[0];
      if constexpr (WithA) f.a += term[1];
      f.dAdT -= shed[1];
    }
    if constexpr (WithSlope) {
      const Pair slope = Pair{tp.residualGt[i], tp.residualGt[i + 1]} * ek * e;
      f.dAdRho += slope[0];
      f.dAdRho += slope[1];
    }
  }

  // Terms 37 to 40, which shape the critical region.
#pragma GCC unroll 4
  for (int i = 0; i < 4; ++i) {
    if (tp.criticalBt2[i] > kVanishingExponent) continue;
    if (!everyTerm && criticalTermNegligible<W>(tp, i, rho, f)) continue;
    const CriticalTerm t = criticalTerm(tp, i, rho);
    if constexpr (WithSlope) f.dAdRho += t.slope;
    if constexpr (Full) {
      const double critical = kCriticalG[i] * intPower(t.d, kCriticalL[i]) * t.x;
      if constexpr (WithA) f.a += critical;
      const double dTerm = -2.0 * kCriticalBeta[i] * tp.criticalT[i] / kCriticalT[i] * critical;
      f.dAdT += dTerm;
      f.sCritical -= dTerm;
    }
  }

  if constexpr (Full) {
    if constexpr (WithA) f.a -= tp.idealA;
    f.dAdT -= tp.idealdT;
    // Reference state: zero energy and entropy at the triple-point liquid.
    if constexpr (WithA) f.a += kR * (kReferenceSlope * T + kReferenceOffset);
    f.dAdT += kR * kReferenceSlope;
  }
  if constexpr (kCheckFastPaths) {
    if (!everyTerm) {
      const FreeEnergy full = evaluate<W>(T, rho, true);
      checkFastPath("NBS/NRC 1984 skipped critical terms, A", f.a, full.a);
      checkFastPath("NBS/NRC 1984 skipped critical terms, dA/drho", f.dAdRho, full.dAdRho);
      checkFastPath("NBS/NRC 1984 skipped critical terms, dA/dT", f.dAdT, full.dAdT);
    }
  }
  return f;
}

}  // namespace

FreeEnergy freeEnergy(double T, double rho) { return evaluate<Want::kAll>(T, rho, true); }

double pressureFromTD(double T, double rho) {
  return rho * rho * evaluate<Want::kPressure>(T, rho).dAdRho;
}

namespace {

// d2A/drho2 at constant T, term by term as A is built: the base part
// R T (F_yy y^2 - 1) / rho^2, terms 1 to 36 g tau^l (1 - e)^(k-2) e
// [(k - 1) e - (1 - e)] with e = exp(-rho), and the critical terms.
double secondDensityDerivative(double T, double rho) {
  const TemperaturePart& tp = temperaturePart(T, false);
  const double y = tp.c.b * rho / 4.0;
  const double oneMinusY = 1.0 - y;
  const double o2 = oneMinusY * oneMinusY;
  const double Fyy = 1.0 / o2 - 2.0 * kBase1 / (o2 * oneMinusY) + 6.0 * kBase2 / (o2 * o2);
  double sum = tp.rt * (Fyy * y * y - 1.0) / (rho * rho);
  const double e = vmath::exp(-rho);
  const double oneMinusE = 1.0 - e;
  for (int i = 0; i < 36; ++i) {
    const int k = kResidualK[i];
    const double bracket = (k - 1) * e - oneMinusE;
    const double power = k >= 2 ? intPower(oneMinusE, k - 2) : 1.0 / oneMinusE;
    sum += tp.residualGt[i] * power * e * bracket;
  }
  for (int i = 0; i < 4; ++i) {
    if (tp.criticalBt2[i] > kVanishingExponent) continue;
    const CriticalTerm t = criticalTerm(tp, i, rho);
    const double d = t.d;
    const int k = kCriticalK[i];
    const int l = kCriticalL[i];
    const double alpha = kCriticalAlpha[i];
    // d2/dd2 of d^l exp(-alpha d^k), over rho_i^2.
    const double first =
        (l == 0 ? 0.0 : l * intPower(d, l - 1)) - alpha * k * intPower(d, k + l - 1);
    const double second = (l >= 2 ? l * (l - 1) * intPower(d, l - 2) : 0.0) -
                          alpha * k * (k + l - 1) * intPower(d, k + l - 2) -
                          alpha * k * intPower(d, k - 1) * first;
    sum += kCriticalG[i] * second * t.x / (kCriticalRho[i] * kCriticalRho[i]);
  }
  return sum;
}

}  // namespace

// P = rho^2 dA/drho, so dP/drho = 2 rho dA/drho + rho^2 d2A/drho2.
density::PressureSlope pressureSlopeFromTD(double T, double rho) {
  const double dAdRho = evaluate<Want::kPressure>(T, rho).dAdRho;
  return {rho * rho * dAdRho, 2.0 * rho * dAdRho + rho * rho * secondDensityDerivative(T, rho)};
}

double entropyFromTD(double T, double rho) { return -evaluate<Want::kEntropy>(T, rho).dAdT; }

double enthalpyFromTD(double T, double rho) {
  const FreeEnergy f = evaluate<Want::kAll>(T, rho);
  return f.a - T * f.dAdT + rho * f.dAdRho;
}

namespace {

// The auxiliary vapour-pressure equation: ln (psat / Pc), with its own
// 647.25 K.
double saturationExponent(double T) {
  const double v = T / 647.25;
  const double w = std::fabs(1.0 - v);
  const double q = std::sqrt(w);
  double s = 0.0;
  for (int i = 7; i >= 0; --i) s = s * q + kVapourA[i];
  return s * w / v;
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
constexpr density::SchemeConstants kScheme{kCriticalTemperature, kCriticalPressure,
                                           kCriticalDensity, kR};
using Scheme =
    density::Iapws95Scheme<pressureFromTD, pressureSlopeFromTD, saturationPressure, kScheme>;
}  // namespace

double saturatedLiquidDensity(double T) { return Scheme::liquidDensity(T); }
double saturatedVapourDensity(double T) { return Scheme::vapourDensity(T); }
double densityFromTP(double T, double P, Phase phase) {
  return density::densityFromTP(Scheme::kSolver, T, P, phase);
}

namespace {

// d2A/dT2 at constant rho and d2A/drho dT, term by term as A is built.
struct TemperatureSlopes {
  double aTT;
  double aRhoT;
};

TemperatureSlopes temperatureSlopes(double T, double rho) {
  TemperatureSlopes r{0.0, 0.0};
  TemperaturePart tp{};
  tp.compute(T);
  // Base part R T F(y, T) with y = b rho / 4 and b, B of T.
  const Base& c = tp.c;
  const double tau = tp.tau;
  const double t3 = tau * tau * tau;
  const double t5 = t3 * tau * tau;
  const double* b = kBaseSmallB;
  const double* B = kBaseBigB;
  const double bTT = (b[1] + 12.0 * b[2] * t3 - 30.0 * b[3] * t5) / (T * T);
  const double bigBTT =
      (-2.0 * B[1] * tau - 6.0 * B[2] * tau * tau + 20.0 * B[3] * t3 * tau) / (T * T);
  const double y = c.b * rho / 4.0;
  const double yT = rho * c.dbdT / 4.0;
  const double yTT = rho * bTT / 4.0;
  const double o = 1.0 - y;
  const double o2 = o * o;
  const double ratio = c.B / c.b - 3.5;
  const double ratioT = c.dBdT / c.b - c.B * c.dbdT / (c.b * c.b);
  const double ratioTT = bigBTT / c.b - 2.0 * c.dBdT * c.dbdT / (c.b * c.b) -
                         c.B * bTT / (c.b * c.b) + 2.0 * c.B * c.dbdT * c.dbdT / (c.b * c.b * c.b);
  const double Fy = 1.0 / o - kBase1 / o2 + 2.0 * kBase2 / (o2 * o) + 4.0 * ratio;
  const double Fyy = 1.0 / o2 - 2.0 * kBase1 / (o2 * o) + 6.0 * kBase2 / (o2 * o2);
  const double FT = Fy * yT + 4.0 * y * ratioT + 1.0 / T;
  const double FTT =
      Fyy * yT * yT + 8.0 * yT * ratioT + Fy * yTT + 4.0 * y * ratioTT - 1.0 / (T * T);
  r.aTT = 2.0 * kR * FT + kR * T * FTT;
  // dA/drho = R T (F_y y + 1) / rho.
  r.aRhoT = kR * (Fy * y + 1.0) / rho + kR * T / rho * ((Fyy * yT + 4.0 * ratioT) * y + Fy * yT);

  // Terms 1 to 36: (g / k) tau^l (1 - e)^k with e = exp(-rho).
  const double e = vmath::exp(-rho);
  const double oneMinusE = 1.0 - e;
  for (int i = 0; i < 36; ++i) {
    const int k = kResidualK[i];
    const int l = kResidualL[i];
    const double gt = tp.residualGt[i];  // g tau^l
    const double term = gt / k * intPower(oneMinusE, k);
    r.aTT += l * (l + 1) * term / (T * T);
    r.aRhoT -= l * gt * intPower(oneMinusE, k - 1) * e / T;
  }

  // Terms 37 to 40.
  for (int i = 0; i < 4; ++i) {
    if (tp.criticalBt2[i] > kVanishingExponent) continue;
    const CriticalTerm t = criticalTerm(tp, i, rho);
    const double critical = kCriticalG[i] * intPower(t.d, kCriticalL[i]) * t.x;
    const double slope = -2.0 * kCriticalBeta[i] * tp.criticalT[i] / kCriticalT[i];
    r.aTT += critical * (slope * slope - 2.0 * kCriticalBeta[i] / (kCriticalT[i] * kCriticalT[i]));
    r.aRhoT += slope * t.slope;
  }

  // Ideal-gas part -R T g(T_R) with T_R = T / 100; the reference state is
  // linear in T.
  const double x = T / 100.0;
  const double lnX = vmath::log(x);
  double gX = -kIdealC[0] * lnX / (x * x) + (kIdealC[0] / x + kIdealC[1]) / x;
  double gXX = kIdealC[0] * (2.0 * lnX - 3.0) / (x * x * x) - kIdealC[1] / (x * x);
  for (int i = 3; i <= 18; ++i) {
    gX += (i - 6) * kIdealC[i - 1] * intPower(x, i - 7);
    gXX += (i - 6) * (i - 7) * kIdealC[i - 1] * intPower(x, i - 8);
  }
  r.aTT -= kR * (2.0 * gX + x * gXX) / 100.0;
  return r;
}

}  // namespace

// cv = -T d2A/dT2, dP/dT = rho^2 d2A/drho dT.
Derived derivedFromTD(double T, double rho) {
  const TemperatureSlopes t = temperatureSlopes(T, rho);
  const double pRho = pressureSlopeFromTD(T, rho).slope;
  return fromHelmholtz(T, rho, pRho, rho * rho * t.aRhoT, -T * t.aTT);
}

}  // namespace vapordex::nbs84
