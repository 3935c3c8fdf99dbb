// The worksheet wrapper shared by all nineteen functions: convert English
// arguments to SI when the code is positive, call the SI core, apply the
// guard, convert the result back and store it in the result record, all
// under the floating-point guard.
#pragma once

#include <cstdint>

#include "cores.hpp"
#include "result_record.hpp"

namespace vapordex {

using Convert = double (*)(double);

enum class Guard {
  kNone,
  kNonPositive,        // a result <= 0 becomes the error value
  kUnavailableMarker,  // the unavailable marker becomes the error value
};

// Steps 3 to 5 of every wrapper: guard, convert to English units unless the
// guard replaced the result, store.
inline LPXLOPER finish(double r, Guard guard, bool english, Convert out) {
  bool replaced = false;
  if ((guard == Guard::kNonPositive && r <= 0.0) ||
      (guard == Guard::kUnavailableMarker && r < kUnavailableBelow)) {
    r = kErrorValue;
    replaced = true;
  }
  if (english && !replaced) r = out(r);
  return storeResult(r);
}

inline LPXLOPER oneArgument(double a, std::int32_t code, Convert in,
                            double (*core)(double, std::int32_t), Guard guard, Convert out) {
  const FloatingPointGuard fp;
  const bool english = code > 0;
  return finish(core(english ? in(a) : a, code), guard, english, out);
}

inline LPXLOPER twoArguments(double a, double b, std::int32_t code, Convert inA, Convert inB,
                             double (*core)(double, double, std::int32_t), Guard guard,
                             Convert out) {
  const FloatingPointGuard fp;
  const bool english = code > 0;
  if (english) {
    a = inA(a);
    b = inB(b);
  }
  return finish(core(a, b, code), guard, english, out);
}

}  // namespace vapordex
