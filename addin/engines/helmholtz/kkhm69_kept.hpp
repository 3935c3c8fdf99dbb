// What the KKHM 1969 engine keeps between calls, its part of the
// per-thread kept values (../common/kept.hpp).
#pragma once

#include "../common/density_solver.hpp"
#include "../common/kept.hpp"
#include "../common/last_exponential.hpp"
#include "../common/recent_answers.hpp"
#include "../common/same_double.hpp"

namespace vapordex::kkhm69 {

// E of the Q function's exponential exp(-E rho), which a pressure keeps for
// the enthalpy or entropy at the same density.
inline constexpr double kE = 4.8;
inline constexpr double kMinusE = -kE;

// Recent saturated densities, per phase.
struct SaturatedDensities {
  RecentAnswers<density::kRecentSaturatedDensities> liquid;
  RecentAnswers<density::kRecentSaturatedDensities> vapour;
};

// The last isotherm's parts of psi0 (its logarithm of T and five
// divisions), which a search at fixed T (HofTS, the (T, v) functions' dome
// test) asks for at every step: the entropy's tau/T psi0_tau and the
// enthalpy's psi0 + tau psi0_tau, each computed when first asked for.
struct IdealPart {
  double T = kEmptyKey;
  double lnT = 0.0;
  bool haveEntropy = false;
  bool haveEnthalpy = false;
  double entropy = 0.0;
  double enthalpy = 0.0;
};

}  // namespace vapordex::kkhm69

namespace vapordex {
template <>
kkhm69::SaturatedDensities& kept<kkhm69::SaturatedDensities>();
template <>
ExponentialSlot<kkhm69::kMinusE>& kept<ExponentialSlot<kkhm69::kMinusE>>();
template <>
kkhm69::IdealPart& kept<kkhm69::IdealPart>();
}  // namespace vapordex
