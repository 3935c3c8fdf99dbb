// Single-precision limits that the Helmholtz engines and the density solver
// use as guards and tolerances, and the guarded power.
//
// x^e with single-precision guards: an exponent below the smallest normal
// float gives 1; a base below it gives 0 for a positive exponent and plus or
// minus the largest float otherwise. This keeps the Helmholtz derivatives
// finite where (delta - 1)^2 or Delta vanish under a negative exponent.
#pragma once

#include <cmath>

#include "engines/common/vmath.hpp"

namespace vapordex {

inline constexpr double kFloatMin = 1.1754943508222875e-38;
inline constexpr double kFloatMax = 3.4028234663852886e38;
inline constexpr double kFloatEpsilon = 1.1920928955078125e-7;
inline constexpr double kSqrtFloatEpsilon = 0.00034526698300124393;

inline double guardedPow(double x, double e) {
  if (std::fabs(e) < kFloatMin) return 1.0;
  if (std::fabs(x) < kFloatMin) {
    if (e > 0.0) return 0.0;
    return x < 0.0 ? -kFloatMax : kFloatMax;
  }
  return vmath::pow(x, e);
}

// exp(x), with the arguments whose exponential rounds to 0 (below about
// -745.13) settled by one comparison: the terms that vanish far from the
// critical point come here.
inline double expOrZero(double x) { return x < -746.0 ? 0.0 : vmath::exp(x); }

}  // namespace vapordex
