// The worksheet wrapper shared by all the worksheet functions. Under the
// floating-point guard it rejects codes that select no formulation and
// arguments that no state has, converts English arguments to SI when the code
// is positive, calls the SI core, guards its result, converts the result back
// and stores it in the result record.
#pragma once

#include <cmath>
#include <cstdint>

#include "cores.hpp"
#include "engine_ops.hpp"
#include "floating_point_guard.hpp"
#include "result_record.hpp"

namespace vapordex {

using Convert = double (*)(double);

// What the wrapper replaces by the error value in a core's result (so that it
// reaches the cell unconverted, in both unit systems).
enum class Guard {
  kNone,
  kNonPositive,               // a result <= 0 (a volume, pressure or temperature)
  kUnavailableMarker,         // the unavailable marker
  kUnavailableOrNonPositive,  // either
  kFailedSolve,               // the error value itself (an inverse solve that failed)
  kUnavailableOrFailedSolve,  // either
};

// Whether a worksheet argument must be greater than 0 in SI units: absolute
// temperatures, pressures and specific volumes; enthalpies and entropies may
// take any sign.
enum class Sign { kAny, kPositive };

// Applies the guard, then converts to English units unless the guard
// replaced the result, and stores it.
inline LPXLOPER finish(double r, Guard guard, bool english, Convert out) {
  const bool nonPositive =
      guard == Guard::kNonPositive || guard == Guard::kUnavailableOrNonPositive;
  const bool marker = guard == Guard::kUnavailableMarker ||
                      guard == Guard::kUnavailableOrNonPositive ||
                      guard == Guard::kUnavailableOrFailedSolve;
  const bool error = guard == Guard::kFailedSolve || guard == Guard::kUnavailableOrFailedSolve;
  if ((nonPositive && r <= 0.0) || (marker && r < kUnavailableBelow) ||
      (error && r == kErrorValue)) {
    return storeResult(kErrorValue);
  }
  return storeResult(english ? out(r) : r);
}

// A code that selects no formulation, or an argument that must be positive
// and is not. A NaN argument (which only a program, never a cell, can pass)
// is no state in any formulation: #NUM!, rather than what a clamp or a
// search of the core would make of it.
inline bool rejected(std::int32_t code) { return selectEngine(code) == nullptr; }
inline bool rejected(double x, Sign sign) { return sign == Sign::kPositive && x <= 0.0; }

inline LPXLOPER oneArgument(double a, std::int32_t code, Convert in,
                            double (*core)(double, std::int32_t), Guard guard, Convert out) {
  const FloatingPointGuard fp;
  if (rejected(code)) return storeResult(kErrorValue);
  const bool english = code > 0;
  if (english) a = in(a);
  if (std::isnan(a)) return storeResult(a);
  // Every one-argument function takes an absolute temperature or a pressure.
  if (rejected(a, Sign::kPositive)) return storeResult(kErrorValue);
  return finish(core(a, code), guard, english, out);
}

inline LPXLOPER twoArguments(double a, double b, std::int32_t code, Convert inA, Convert inB,
                             Sign signB, double (*core)(double, double, std::int32_t), Guard guard,
                             Convert out) {
  const FloatingPointGuard fp;
  if (rejected(code)) return storeResult(kErrorValue);
  const bool english = code > 0;
  if (english) {
    a = inA(a);
    b = inB(b);
  }
  if (std::isnan(a) || std::isnan(b)) return storeResult(std::nan(""));
  // The first argument is always an absolute temperature or a pressure.
  if (rejected(a, Sign::kPositive) || rejected(b, signB)) return storeResult(kErrorValue);
  return finish(core(a, b, code), guard, english, out);
}

}  // namespace vapordex
