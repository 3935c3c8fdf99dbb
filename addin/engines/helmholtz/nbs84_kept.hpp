// What the NBS/NRC 1984 engine keeps between calls, its part of the
// per-thread kept values (../common/kept.hpp).
#pragma once

#include <cmath>

#include "../common/density_solver.hpp"
#include "../common/int_power.hpp"
#include "../common/kept.hpp"
#include "../common/last_exponential.hpp"
#include "../common/same_double.hpp"
#include "engines/common/vmath.hpp"
#include "nbs84.hpp"
#include "nbs84_coefficients.hpp"

namespace vapordex::nbs84 {

struct Base {
  double b, dbdT, B, dBdT;
};

// b(T) and B(T) in cm3/g, with their temperature derivatives.
inline Base baseCoefficients(double T) {
  const double tau = kBaseTemperature / T;
  const double t3 = tau * tau * tau;
  const double t5 = t3 * tau * tau;
  Base c{};
  const double* b = kBaseSmallB;
  const double* B = kBaseBigB;
  c.b = b[0] - b[1] * vmath::log(T / kBaseTemperature) + b[2] * t3 - b[3] * t5;
  // d tau / dT = -tau / T.
  c.dbdT = (-b[1] - 3.0 * b[2] * t3 + 5.0 * b[3] * t5) / T;
  c.B = B[0] - B[1] * tau - B[2] * tau * tau + B[3] * t3 * tau;
  c.dBdT = -(-B[1] * tau - 2.0 * B[2] * tau * tau + 4.0 * B[3] * t3 * tau) / T;
  return c;
}

// What depends on T alone. The density solvers evaluate many densities on
// one isotherm, so the last temperature's values are kept (one set per
// thread) and reused: the same doubles as computed afresh.
struct TemperaturePart {
  double T = kEmptyKey;
  double rt;
  Base c;
  double tau;
  double tauPower[7];     // tau^l, l = 0 .. 6
  double criticalT[4];    // T / T_i - 1
  double criticalBt2[4];  // beta_i t^2, as the exponent takes it
  double residualGt[36];  // g tau^l of terms 1 to 36, as their products begin
  // What the free energy and dA/dT need besides (computed on their first
  // call at this temperature): (g / k) tau^l, as their products begin, and
  // the ideal-gas part.
  bool haveIdeal = false;
  double residualGkt[36];
  double idealA;   // R T g
  double idealdT;  // R (g + T_R dg/dT_R)

  void compute(double x) {
    T = x;
    haveIdeal = false;
    rt = kR * x;
    c = baseCoefficients(x);
    tau = kBaseTemperature / x;
#pragma GCC unroll 7
    for (int l = 0; l < 7; ++l) tauPower[l] = intPower(tau, l);
#pragma GCC unroll 36
    for (int i = 0; i < 36; ++i) residualGt[i] = kResidualG[i] * tauPower[kResidualL[i]];
    for (int i = 0; i < 4; ++i) {
      const double t = x / kCriticalT[i] - 1.0;
      criticalT[i] = t;
      criticalBt2[i] = kCriticalBeta[i] * t * t;
    }
  }
  // Ideal-gas part: -R T [1 + (C1/T_R + C2) ln T_R + sum C_i T_R^(i-6)].
  void computeIdeal() {
    haveIdeal = true;
#pragma GCC unroll 36
    for (int i = 0; i < 36; ++i) {
      residualGkt[i] = kResidualG[i] / kResidualK[i] * tauPower[kResidualL[i]];
    }
    const double tr = T / 100.0;
    const double lnTr = vmath::log(tr);
    double sum = 0.0;
    double dsum = 0.0;  // sum (i - 6) C_i T_R^(i - 6)
#pragma GCC unroll 16
    for (int i = 3; i <= 18; ++i) {
      const double p = intPower(tr, i - 6);
      sum += kIdealC[i - 1] * p;
      dsum += (i - 6) * kIdealC[i - 1] * p;
    }
    const double g = 1.0 + (kIdealC[0] / tr + kIdealC[1]) * lnTr + sum;
    idealA = rt * g;
    // d/dT [T g] = g + T_R dg/dT_R.
    idealdT = kR * (g + (-kIdealC[0] * lnTr / tr + kIdealC[0] / tr + kIdealC[1]) + dsum);
  }
};

// The factor of the exponential exp(-rho) a pressure keeps for the
// enthalpy or entropy at the same density.
inline constexpr double kMinusOne = -1.0;

}  // namespace vapordex::nbs84

namespace vapordex {
template <>
nbs84::TemperaturePart& kept<nbs84::TemperaturePart>();
template <>
ExponentialSlot<nbs84::kMinusOne>& kept<ExponentialSlot<nbs84::kMinusOne>>();
template <>
density::SchemeDensities<nbs84::pressureFromTD>&
kept<density::SchemeDensities<nbs84::pressureFromTD>>();
}  // namespace vapordex
