// Whether two doubles are the same bits: the key test of the engines' kept
// last results. Unlike ==, it tells 0 from -0 (whose quotients differ) and
// finds a NaN equal to itself (whose results are NaN either way).
#pragma once

#include <bit>
#include <cstdint>

namespace vapordex {

inline bool sameDouble(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace vapordex
