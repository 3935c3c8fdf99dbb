// exp(Factor x) kept for the last x (one per thread). A density-based
// engine's solver evaluates the pressure last at the density whose enthalpy
// or entropy is asked for next; the pressure's exponential is kept and the
// enthalpy or entropy reuses it: the same double as computed afresh.
#pragma once

#include <cmath>

#include "engines/common/vmath.hpp"
#include "fast_path_check.hpp"
#include "kept.hpp"
#include "same_double.hpp"

namespace vapordex {

// The kept value of one factor: a part of the kept values of the engine
// whose constant Factor is.
template <const double& Factor>
struct ExponentialSlot {
  double x = kEmptyKey;
  double value = 0.0;
};

// Factor is a constant of the engine's (each constant its own kept value).
template <const double& Factor>
class LastExponential {
 public:
  // Computes and keeps the value without looking first: a pressure seldom
  // meets its last density again.
  static double remember(double x) {
    ExponentialSlot<Factor>& s = kept<ExponentialSlot<Factor>>();
    s.x = x;
    s.value = vmath::exp(Factor * x);
    return s.value;
  }
  // The kept value when x is the last x, otherwise computed and kept.
  static double recall(double x) {
    const ExponentialSlot<Factor>& s = kept<ExponentialSlot<Factor>>();
    if (!sameDouble(s.x, x)) return remember(x);
    if constexpr (kCheckFastPaths) {
      checkFastPath("kept exponential", s.value, vmath::exp(Factor * x));
    }
    return s.value;
  }
};

}  // namespace vapordex
