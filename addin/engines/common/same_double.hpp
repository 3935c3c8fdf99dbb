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

// The key of a kept value not yet computed: a quiet NaN whose payload no
// computation here makes (std::nan(""), quiet_NaN() and the NaNs of invalid
// operations all differ from it), so that a NaN argument is computed too
// rather than meeting the empty entry.
inline constexpr double kEmptyKey = std::bit_cast<double>(std::uint64_t{0x7FFDEADBEEF0BAD1});

}  // namespace vapordex
