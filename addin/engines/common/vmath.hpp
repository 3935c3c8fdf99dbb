// The elementary functions of the engines: exp, log, pow and cbrt in plain
// IEEE double arithmetic (SSE2 on every x86 target, no fused multiply-add
// where it would round differently), so that the Linux build and both
// Windows add-ins compute the same bits. On processors that have it, log
// and pow take their exact steps by fused multiply-adds: the same doubles.
// The C libraries differ: glibc rounds its own way, mingw-w64 computes on
// the x87 unit (slowly, and at whatever precision the host left it).
//
// Each function carries its intermediate results as unevaluated pairs of
// doubles where a single rounding would cost accuracy, and rounds once at
// the end: the error is a little over half an ulp (the maximum measured by
// tests/vmath_test.cpp against 64-bit-mantissa references is in
// docs/fast-paths.md). Special arguments (zeros, infinities, NaNs, negative
// bases) give what the C standard prescribes; floating-point exception
// flags are not part of the contract.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engines/common/vmath_tables.hpp"

namespace vapordex::vmath {

namespace detail {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// a = hi + lo exactly, hi holding the upper 26 bits (Veltkamp).
inline void split(double a, double* hi, double* lo) {
  const double t = 134217729.0 * a;  // 2^27 + 1
  *hi = t - (t - a);
  *lo = a - *hi;
}

// The rounding error of p = a * b, exactly (Dekker), with b given split.
inline double productError(double a, double p, double bHi, double bLo) {
  double aHi = 0.0;
  double aLo = 0.0;
  split(a, &aHi, &aLo);
  return ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo;
}

// a b + c rounded once. Used only where the result is exact (the rounding
// error of a product, which is a double), so that it is the same double as
// the Dekker chains compute without the instruction; instantiated only in
// functions built for processors that have it.
inline double fusedMultiplyAdd(double a, double b, double c) { return __builtin_fma(a, b, c); }

// s = a + b rounded, and its rounding error (Knuth's two-sum).
inline double twoSum(double a, double b, double* error) {
  const double s = a + b;
  const double bb = s - a;
  *error = (a - (s - bb)) + (b - bb);
  return s;
}

// exp(xHi + xLo), |xLo| at most a few ulp of xHi. x = k ln2/128 + r with
// |r| <= ln2/256; exp(x) = 2^(k/128) (1 + expm1(r)), 2^(j/128) from the
// table as a pair, expm1(r) by its Taylor series to r^6 (the next term is
// below 2^-72).
template <bool kWithLow>
inline double expPair(double xHi, double xLo) {
  using namespace tables;
  if (!(xHi < 709.8)) return xHi != xHi ? xHi + xHi : kInfinity;  // NaN, overflow
  if (xHi < -745.2) return 0.0;                                   // underflow
  constexpr double kShift = 0x1.8p52;                             // adding it rounds to an integer
  const double kd = (xHi * k128ByLn2 + kShift) - kShift;
  double r = (xHi - kd * kLn2By128Hi) - kd * kLn2By128Lo;
  if constexpr (kWithLow) r += xLo;
  const int k = static_cast<int>(kd);
  const int j = k & 127;
  const int m = (k - j) / 128;
  // r^2 (1/2 + r/6 + ... + r^4/720), the sum in Estrin's order for speed.
  const double r2 = r * r;
  const double series =
      r2 * (0.5 + (1.0 / 6) * r) + (r2 * r2) * ((1.0 / 24 + (1.0 / 120) * r) + r2 * (1.0 / 720));
  const Pair& t = kExp2[j];
  const double v = t.hi + ((t.lo + t.hi * r) + t.hi * series);  // in [0.997, 2.006)
  if (m >= -1021 && m <= 1023) {
    return v * std::bit_cast<double>(static_cast<std::uint64_t>(1023 + m) << 52);
  }
  if (m > 1023) return v * std::bit_cast<double>(static_cast<std::uint64_t>(m) << 52) * 0x1p1023;
  // Subnormal results: scaled twice, the second product rounding into the
  // subnormal range.
  return v * std::bit_cast<double>(static_cast<std::uint64_t>(1023 + 54 + m) << 52) * 0x1p-54;
}

// log(x) = hi + lo to about 2^-100 relative, for finite x > 0. x = 2^e z
// with z in [0.70703125, 1.4140625); log z = -log c + log1p(z c - 1) with c
// from the table (9 significant bits; 1 beside z = 1) and |z c - 1| <
// 2^-8. r = z c - 1 is formed exactly: z cut to 44 bits times c is exact,
// and so is the rest of z times c; both are multiples of 2^-61 (z's last
// place times c's), and so is their sum r, which below 2^-8 has at most 53
// significant bits. log1p by its Taylor series: for a power to r^10 (the
// rest is below 2^-72 relative) with its leading square exact, for the
// logarithm alone to r^8 (below 2^-64).
template <bool kForPow, bool kFused = false>
inline void logPair(double x, double* hi, double* lo) {
  using namespace tables;
  std::uint64_t ix = std::bit_cast<std::uint64_t>(x);
  int e = 0;
  if (ix < (std::uint64_t{1} << 52)) {  // subnormal
    ix = std::bit_cast<std::uint64_t>(x * 0x1p54);
    e = -54;
  }
  const std::uint64_t offset = ix - kLogOffsetBits;
  e += static_cast<int>(static_cast<std::int64_t>(offset) >> 52);
  const LogEntry& t = kLog[(offset >> 44) & 255];
  const std::uint64_t iz = ix - (offset & (std::uint64_t{0xfff} << 52));
  const double z = std::bit_cast<double>(iz);
  double r = 0.0;
  if constexpr (kFused) {
    r = fusedMultiplyAdd(z, t.c, -1.0);  // exact, so the same double
  } else {
    const double zHead = std::bit_cast<double>(iz & ~std::uint64_t{0x1ff});
    const double d = zHead * t.c - 1.0;  // both steps exact
    const double zTail = (z - zHead) * t.c;
    r = d + zTail;  // exact
  }
  const double square = r * r;
  const double square4 = square * square;
  double squareError = 0.0;
  double tail = 0.0;
  if constexpr (kForPow) {
    // r^3 (1/3 - r/4 + ... - r^7/10) in Estrin's order, for speed, and the
    // rounding error of r^2: the power needs log x to about 2^-68.
    if constexpr (kFused) {
      squareError = fusedMultiplyAdd(r, r, -square);
    } else {
      double rh = 0.0;
      double rl = 0.0;
      split(r, &rh, &rl);
      squareError = ((rh * rh - square) + 2.0 * rh * rl) + rl * rl;
    }
    tail = (r * square) * (((1.0 / 3 - 0.25 * r) + square * (0.2 - (1.0 / 6) * r)) +
                           square4 * ((1.0 / 7 - 0.125 * r) + square * (1.0 / 9 - 0.1 * r)));
  } else {
    // To r^8 (the rest is below 2^-64 relative) for the logarithm alone.
    tail = (r * square) * (((1.0 / 3 - 0.25 * r) + square * (0.2 - (1.0 / 6) * r)) +
                           square4 * (1.0 / 7 - 0.125 * r));
  }
  const double ed = e;
  // e kLn2Hi and minusLogCHi are multiples of 2^-43 below 2^10: their sum is
  // exact. It is 0 or larger than |r| (which is larger than r^2/2), so the
  // next two sums are fast two-sums.
  const double s0 = ed * kLn2Hi + t.minusLogCHi;
  const double s1 = s0 + r;
  const double e1 = r - (s1 - s0);
  const double half = -0.5 * square;
  const double s2 = s1 + half;
  const double e2 = half - (s2 - s1);
  const double rest = (((ed * kLn2Lo + t.minusLogCLo) - 0.5 * squareError) + (e1 + e2)) + tail;
  *hi = s2 + rest;
  *lo = rest - (*hi - s2);
}

// Whether a finite y is an integer, and whether an odd one.
inline bool isInteger(double y) { return std::floor(y) == y; }
inline bool isOddInteger(double y) {
  return std::fabs(y) < 0x1p53 && isInteger(y) && std::floor(y * 0.5) != y * 0.5;
}

}  // namespace detail

inline double exp(double x) { return detail::expPair<false>(x, 0.0); }

namespace detail {

#if defined(__x86_64__) || defined(__i386__)
#define VDX_VMATH_FUSED 1
// Whether the processor has fused multiply-add and AVX2, asked once when the
// program starts. log and pow then take their exact quantities by fused
// multiply-adds, in copies built for such processors (whose three-operand
// encoding also needs fewer moves) and called out of line: the engines
// themselves are built for every x86 processor. Both ways give the same
// doubles, so a call before the start-up test (false) loses nothing.
inline const bool kProcessorHasFma = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("fma") != 0 && __builtin_cpu_supports("avx2") != 0;
}();
#endif

// log x for finite x > 0; with kFused, r = z c - 1 (exact) by one fused
// multiply-add, the same double.
template <bool kFused>
inline double positiveLogarithm(double x) {
  double hi = 0.0;
  double lo = 0.0;
  logPair<false, kFused>(x, &hi, &lo);
  return hi;
}

#ifdef VDX_VMATH_FUSED
__attribute__((target("avx2,fma"), flatten, noinline)) inline double fusedPositiveLogarithm(
    double x) {
  return positiveLogarithm<true>(x);
}
#endif

}  // namespace detail

inline double log(double x) {
  if (!(x > 0.0) || x == detail::kInfinity) {
    if (x == 0.0) return -detail::kInfinity;
    return x < 0.0 ? std::numeric_limits<double>::quiet_NaN() : x + x;  // NaN, +inf
  }
#ifdef VDX_VMATH_FUSED
  if (detail::kProcessorHasFma) return detail::fusedPositiveLogarithm(x);
#endif
  return detail::positiveLogarithm<false>(x);
}

// log(x) computed in the caller's own code, never the fused copy: the same
// double as log. For callers that hold many values across the logarithm,
// which a call would spill and reload at more cost than the copy saves.
inline double logInline(double x) {
  if (!(x > 0.0) || x == detail::kInfinity) return log(x);
  return detail::positiveLogarithm<false>(x);
}

// log x as a pair (hi + lo to about 2^-100 relative, hi split for exact
// products), for powers of x: powerFrom(logarithmOf(x), y) is pow(x, y) bit
// for bit for finite x > 0 and finite y, so that several powers of one base
// take its logarithm once.
struct Logarithm {
  double hi;
  double lo;
  double hiHead;
  double hiTail;
};

inline Logarithm logarithmOf(double x) {
  Logarithm l{};
  detail::logPair<true>(x, &l.hi, &l.lo);
  detail::split(l.hi, &l.hiHead, &l.hiTail);
  return l;
}

// exp(y log x), y log x formed as a pair.
inline double powerFrom(const Logarithm& l, double y) {
  const double ph = y * l.hi;
  const double pl =
      std::fabs(ph) < 1000.0 ? detail::productError(y, ph, l.hiHead, l.hiTail) + y * l.lo : 0.0;
  return detail::expPair<true>(ph, pl);
}

namespace detail {

// powerFrom(logarithmOf(x), y) with the exact quantities (the reduced
// argument r = z c - 1 and the rounding errors of r^2 and of y log x) each
// one fused multiply-add instead of a chain of splits and products: the
// same doubles, since all three are exact and no other operation changes.
// |y log x| < 1000 keeps the product's error far from underflow except
// where exp rounds to 1 whatever it is.
template <bool kFused>
inline double positivePower(double x, double y) {
  if constexpr (kFused) {
    double hi = 0.0;
    double lo = 0.0;
    logPair<true, true>(x, &hi, &lo);
    const double ph = y * hi;
    const double pl = std::fabs(ph) < 1000.0 ? fusedMultiplyAdd(y, hi, -ph) + y * lo : 0.0;
    return expPair<true>(ph, pl);
  } else {
    return powerFrom(logarithmOf(x), y);
  }
}

#ifdef VDX_VMATH_FUSED
// The same on processors with fused multiply-add, every step inlined.
__attribute__((target("avx2,fma"), flatten, noinline)) inline double fusedPositivePower(double x,
                                                                                        double y) {
  return positivePower<true>(x, y);
}
#endif

}  // namespace detail

// x^y as exp(y log x) with the C standard's special cases.
inline double pow(double x, double y) {
  using detail::kInfinity;
  // The engines' case first: a positive finite base other than 1 (whose
  // zero logarithm would meet a huge y's overflowing split) and a finite
  // exponent. y = 0 gives exactly 1 this way too.
  if (x > 0.0 && x < kInfinity && x != 1.0 && std::fabs(y) < kInfinity) {
#ifdef VDX_VMATH_FUSED
    if (detail::kProcessorHasFma) return detail::fusedPositivePower(x, y);
#endif
    return detail::positivePower<false>(x, y);
  }
  if (y == 0.0 || x == 1.0) return 1.0;
  if (x != x || y != y) return x + y;
  const double ax = std::fabs(x);
  if (std::fabs(y) == kInfinity) {
    if (ax == 1.0) return 1.0;
    return (ax < 1.0) == (y > 0.0) ? 0.0 : kInfinity;
  }
  // A negative base: an odd integer exponent keeps the sign, any other
  // integer drops it, and a fractional one has no real answer (but -0 and
  // -infinity give +0 and +infinity as the C standard has them).
  bool negate = false;
  if (std::signbit(x)) {
    const bool finite = ax != 0.0 && ax != kInfinity;
    if (finite && !detail::isInteger(y)) return std::numeric_limits<double>::quiet_NaN();
    negate = detail::isOddInteger(y);
  }
  double result = 0.0;
  if (ax == 0.0) {
    result = y < 0.0 ? kInfinity : 0.0;
  } else if (ax == kInfinity) {
    result = y < 0.0 ? 0.0 : kInfinity;
  } else if (ax == 1.0) {
    result = 1.0;  // -1 to an integer power (a huge y would overflow its split)
  } else {
    result = powerFrom(logarithmOf(ax), y);
  }
  return negate ? -result : result;
}

// The real cube root: Halley's iteration twice from a quadratic start, then
// one Newton correction with the residual y^3 - x formed exactly.
inline double cbrt(double x) {
  if (x == 0.0 || !(std::fabs(x) < detail::kInfinity)) return x + x;  // zeros, infinities, NaN
  std::uint64_t ia = std::bit_cast<std::uint64_t>(std::fabs(x));
  int bias = 0;
  if (ia < (std::uint64_t{1} << 52)) {  // subnormal
    ia = std::bit_cast<std::uint64_t>(std::fabs(x) * 0x1p54);
    bias = -18;
  }
  const int e = static_cast<int>(ia >> 52) - 1023;
  const int q = (e >= 0 ? e : e - 2) / 3;  // floor(e / 3)
  const int s = e - 3 * q;                 // 0, 1 or 2
  // a = |x| / 2^(3q) in [1, 8)
  const double a = std::bit_cast<double>((ia & ((std::uint64_t{1} << 52) - 1)) |
                                         (static_cast<std::uint64_t>(1023 + s) << 52));
  double y = 0.8015231 + a * (0.2478561 - a * 0.0127323);  // cbrt on [1, 8) to 3.7 %
  for (int k = 0; k < 2; ++k) {
    const double y3 = y * y * y;
    y = y * (y3 + 2.0 * a) / (2.0 * y3 + a);
  }
  double yh = 0.0;
  double yl = 0.0;
  detail::split(y, &yh, &yl);
  const double square = y * y;
  const double squareError = detail::productError(y, square, yh, yl);
  const double cube = y * square;
  const double cubeError = detail::productError(square, cube, yh, yl) + y * squareError;
  y -= ((cube - a) + cubeError) / (3.0 * square);
  const double scaled =
      y * std::bit_cast<double>(static_cast<std::uint64_t>(1023 + q + bias) << 52);
  return std::signbit(x) ? -scaled : scaled;
}

}  // namespace vapordex::vmath
