// What the IAPWS-95 engine keeps between calls, its part of the per-thread
// kept values (../common/kept.hpp).
#pragma once

#include <cmath>

#include "../common/density_solver.hpp"
#include "../common/exact_power.hpp"
#include "../common/float_limits.hpp"
#include "../common/kept.hpp"
#include "../common/same_double.hpp"
#include "engines/common/vmath.hpp"
#include "iapws95.hpp"
#include "iapws95_coefficients.hpp"

namespace vapordex::iapws95 {

inline constexpr int kPolynomialCount = sizeof(kPolynomialTerms) / sizeof(kPolynomialTerms[0]);

// What depends on tau alone: tau^k for k up to 50 (rounded as std::pow
// rounds them), the polynomial terms' fractional powers tau^t and tau^(t-1)
// (std::pow's), and the ideal-gas part's logarithms and exponentials. The
// density solvers evaluate many densities on one isotherm, so the last
// temperature's values are kept (one set per thread) and reused: the same
// doubles as computed afresh.
struct TauPart {
  double tau = kEmptyKey;
  double t[51];
  double polyT[kPolynomialCount];
  // Each of the following is filled on first use at this tau (a pressure
  // needs none of them).
  bool haveDerivative = false;
  double polyTLess1[kPolynomialCount];
  bool haveIdealTau = false;
  double idealE[5];    // exp(-gamma_i tau)
  double idealTau[5];  // n_i gamma_i (1 / (1 - exp(-gamma_i tau)) - 1)
  bool haveIdealLog = false;
  double logTau;
  double idealLog[5];  // ln(1 - exp(-gamma_i tau))

  void compute(double x) {
    tau = x;
    haveDerivative = false;
    haveIdealTau = false;
    haveIdealLog = false;
    exactPowers(x, t);
    // tau^1 and tau^0 are exact; a power would return the same.
    const GuardedPowers power(x);
    for (int i = 0; i < kPolynomialCount; ++i) {
      const double e = kPolynomialTerms[i].t;
      polyT[i] = e == 1.0 ? x : power(e);
    }
  }
  void computeDerivative() {
    haveDerivative = true;
    const GuardedPowers power(tau);
    for (int i = 0; i < kPolynomialCount; ++i) {
      const double e = kPolynomialTerms[i].t;
      // A power that is another term's tau^t (tau^-0.5) is that double.
      int same = -1;
      for (int j = 0; j < kPolynomialCount; ++j) {
        if (kPolynomialTerms[j].t == e - 1.0) same = j;
      }
      if (e == 1.0) {
        polyTLess1[i] = 1.0;
      } else if (same >= 0) {
        polyTLess1[i] = polyT[same];
      } else {
        polyTLess1[i] = power(e - 1.0);
      }
    }
  }
  // The ideal-gas part's tau derivative (an enthalpy needs no logarithms).
  void computeIdealTau() {
    haveIdealTau = true;
    for (int i = 0; i < 5; ++i) {
      const double e = vmath::exp(-kIdealGamma[i] * tau);
      idealE[i] = e;
      // (1 - e)^-1 as a division: correctly rounded, and cheaper than a power.
      idealTau[i] = kIdealN[i + 3] * kIdealGamma[i] * (1.0 / (1.0 - e) - 1.0);
    }
  }
  void computeIdealLog() {
    if (!haveIdealTau) computeIdealTau();
    haveIdealLog = true;
    logTau = vmath::log(tau);
    for (int i = 0; i < 5; ++i) idealLog[i] = vmath::log(1.0 - idealE[i]);
  }
};

}  // namespace vapordex::iapws95

namespace vapordex {
template <>
iapws95::TauPart& kept<iapws95::TauPart>();
template <>
density::SchemeDensities<iapws95::pressureFromTD>&
kept<density::SchemeDensities<iapws95::pressureFromTD>>();
}  // namespace vapordex
