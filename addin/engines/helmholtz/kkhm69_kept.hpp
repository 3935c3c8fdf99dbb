// What the KKHM 1969 engine keeps between calls, its part of the
// per-thread kept values (../common/kept.hpp).
#pragma once

#include "../common/density_solver.hpp"
#include "../common/kept.hpp"
#include "../common/last_exponential.hpp"
#include "../common/recent_answers.hpp"

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

}  // namespace vapordex::kkhm69

namespace vapordex {
template <>
kkhm69::SaturatedDensities& kept<kkhm69::SaturatedDensities>();
template <>
ExponentialSlot<kkhm69::kMinusE>& kept<ExponentialSlot<kkhm69::kMinusE>>();
}  // namespace vapordex
