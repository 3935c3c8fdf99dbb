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

// guardedPow(x, e) for several exponents of one base, each the same double,
// the base's logarithm taken once.
class GuardedPowers {
 public:
  explicit GuardedPowers(double x) : x_(x), viaLogarithm_(x >= kFloatMin && x < kFloatMax) {
    if (viaLogarithm_) logarithm_ = vmath::logarithmOf(x);
  }
  double operator()(double e) const {
    const bool ordinary = std::fabs(e) >= kFloatMin && std::fabs(e) <= kFloatMax;
    if (!viaLogarithm_ || !ordinary) return guardedPow(x_, e);
    return vmath::powerFrom(logarithm_, e);
  }

 private:
  double x_;
  bool viaLogarithm_;
  vmath::Logarithm logarithm_{};
};

// exp(x), with the arguments whose exponential rounds to 0 (below about
// -745.13) settled by one comparison: the terms that vanish far from the
// critical point come here.
inline double expOrZero(double x) { return x < -746.0 ? 0.0 : vmath::exp(x); }

}  // namespace vapordex
