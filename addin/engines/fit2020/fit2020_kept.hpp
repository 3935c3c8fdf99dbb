// What the 2020 engine keeps between calls, its part of the per-thread kept
// values (../common/kept.hpp).
#pragma once

#include "../common/kept.hpp"
#include "../common/same_double.hpp"

namespace vapordex::fit2020 {

// The last saturated density of each phase and its temperature: every
// (T, rho) evaluation below the critical temperature asks for both at its
// T to tell whether it lies inside the dome, and a search at fixed T
// (HofTS, a saturated state's properties) asks again and again at the same
// T. One entry each, a comparison to find it: the correlations themselves
// cost only a power and an exponential, so a larger table would cost more
// than it saves where the temperatures vary.
struct LastSaturatedDensity {
  double T = kEmptyKey;
  double rho = 0.0;
};
struct SaturatedDensities {
  LastSaturatedDensity liquid;
  LastSaturatedDensity vapour;
};

}  // namespace vapordex::fit2020

namespace vapordex {
template <>
fit2020::SaturatedDensities& kept<fit2020::SaturatedDensities>();
}  // namespace vapordex
