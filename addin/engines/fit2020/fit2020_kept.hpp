// What the 2020 engine keeps between calls, its part of the per-thread kept
// values (../common/kept.hpp).
#pragma once

#include "../common/density_solver.hpp"
#include "../common/kept.hpp"
#include "../common/recent_answers.hpp"

namespace vapordex::fit2020 {

// Recent saturated densities, per phase: every (T, rho) evaluation below the
// critical temperature asks for both at its T to tell whether it lies inside
// the dome, and a search at fixed T (HofTS, the saturated states) asks
// again and again at the same T.
struct SaturatedDensities {
  RecentAnswers<density::kRecentSaturatedDensities> liquid;
  RecentAnswers<density::kRecentSaturatedDensities> vapour;
};

}  // namespace vapordex::fit2020

namespace vapordex {
template <>
fit2020::SaturatedDensities& kept<fit2020::SaturatedDensities>();
}  // namespace vapordex
