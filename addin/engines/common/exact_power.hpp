// Integer powers rounded as std::pow rounds them, at the cost of a few
// products: each power is carried as an unevaluated sum of two doubles
// (Dekker's exact product) and rounded once at the end. A table of x^0 to
// x^n built this way holds the same doubles as std::pow(x, k) (which glibc
// and mingw round correctly but in vanishingly rare cases) for far less.
#pragma once

namespace vapordex {

namespace exact_power_detail {

// a = hi + lo exactly, with hi holding the upper 26 bits (Veltkamp).
inline void split(double a, double* hi, double* lo) {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const double t = kSplitter * a;
  *hi = t - (t - a);
  *lo = a - *hi;
}

// (hi, lo) *= x, in double-double arithmetic.
inline void multiply(double* hi, double* lo, double x, double xHi, double xLo) {
  const double p = *hi * x;
  double aHi = 0.0;
  double aLo = 0.0;
  split(*hi, &aHi, &aLo);
  // The rounding error of hi * x, exactly (Dekker's two-product).
  const double e = ((aHi * xHi - p) + aHi * xLo + aLo * xHi) + aLo * xLo;
  const double tail = e + *lo * x;
  const double s = p + tail;
  *lo = tail - (s - p);
  *hi = s;
}

#if defined(__x86_64__) || defined(__i386__)
#define VDX_EXACT_POWER_FMA 1

// With a fused multiply-add the rounding error of h x is one instruction,
// fma(h, x, -h x), and the chain needs no splitting: the leading parts are
// the plain products h x (one product's latency per power) and the trailing
// parts gather each product's error. The pair's sum is x^k to about k 2^-106
// relative, so its rounding is the same double as the Dekker chain's but in
// the same vanishingly rare cases. (The multiplications and fmas are written
// out, so no contraction of the compiler's can change them.)
__attribute__((target("fma"))) inline void exactPowersFma(double x, double* table, int n) {
  double hi = x;
  double lo = 0.0;
  table[0] = 1.0;
  if (n > 1) table[1] = x;
  for (int k = 2; k < n; ++k) {
    const double p = hi * x;
    const double e = __builtin_fma(hi, x, -p);
    lo = __builtin_fma(lo, x, e);
    hi = p;
    table[k] = hi + lo;
  }
}

// Whether the processor has fused multiply-add, asked once.
inline bool processorHasFma() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("fma") != 0;
  }();
  return has;
}
#endif

}  // namespace exact_power_detail

// table[k] = x^k rounded to nearest, for k = 0 .. n.
template <int N>
void exactPowers(double x, double (&table)[N]) {
#ifdef VDX_EXACT_POWER_FMA
  if (exact_power_detail::processorHasFma()) {
    exact_power_detail::exactPowersFma(x, table, N);
    return;
  }
#endif
  double xHi = 0.0;
  double xLo = 0.0;
  exact_power_detail::split(x, &xHi, &xLo);
  double hi = 1.0;
  double lo = 0.0;
  table[0] = 1.0;
  for (int k = 1; k < N; ++k) {
    exact_power_detail::multiply(&hi, &lo, x, xHi, xLo);
    table[k] = hi + lo;
  }
}

}  // namespace vapordex
