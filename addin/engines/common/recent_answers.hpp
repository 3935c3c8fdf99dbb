// A function's recent answers, kept in a small table indexed by the
// argument's bits (one table per thread and use). The saturated densities
// are asked for at a few temperatures over and over (a saturated state's
// properties, a single-phase density's start, the inverse functions' fixed
// 273.15 K end and saturated ends), among others that come once. An answer
// is found only under the very same argument, so it is the same double as
// computed afresh.
#pragma once

#include <bit>
#include <cstdint>

#include "fast_path_check.hpp"
#include "same_double.hpp"

namespace vapordex {

template <int Slots>
class RecentAnswers {
 public:
  // The kept answer for x, or compute(x), kept.
  template <class F>
  double get(double x, F compute) {
    Entry& e = entries_[slot(x)];
    if (!sameDouble(e.x, x)) {
      e.value = compute(x);
      e.x = x;
    } else if constexpr (kCheckFastPaths) {
      checkFastPath("kept recent answer", e.value, compute(x));
    }
    return e.value;
  }

 private:
  struct Entry {
    double x = kEmptyKey;
    double value = 0.0;
  };
  static unsigned slot(double x) {
    std::uint64_t b = std::bit_cast<std::uint64_t>(x);
    b ^= b >> 29;
    b *= 0x9E3779B97F4A7C15ULL;
    return static_cast<unsigned>(b >> 40) % Slots;
  }
  Entry entries_[Slots];
};

}  // namespace vapordex
