// Integer powers by repeated squaring: exact exponents of the coefficient
// tables without the cost of std::pow.
#pragma once

namespace vapordex {

constexpr double intPower(double x, int n) {
  const bool invert = n < 0;
  unsigned e = invert ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
  double result = 1.0;
  double base = x;
  while (e != 0u) {
    if ((e & 1u) != 0u) result *= base;
    base *= base;
    e >>= 1u;
  }
  return invert ? 1.0 / result : result;
}

}  // namespace vapordex
