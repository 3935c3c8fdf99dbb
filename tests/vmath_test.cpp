// The engines' exp, log, pow and cbrt: their error in ulps over random
// arguments against the 64-bit-mantissa long double functions (about 2^-11
// ulp of a double from the exact value), and the special arguments of the C
// standard. VDX_VMATH_SCAN sets the number of arguments per range (default
// one million; the figures in docs/fast-paths.md come from 100 million).
#include "engines/common/vmath.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>

namespace {

namespace vm = vapordex::vmath;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Random {
  std::uint64_t state;
  std::uint64_t next() {  // splitmix64
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double uniform(double a, double b) {
    return a + (b - a) * static_cast<double>(next() >> 11) * 0x1p-53;
  }
  double bits() { return std::bit_cast<double>(next()); }
};

long scanCount() {
  const char* text = std::getenv("VDX_VMATH_SCAN");
  return text != nullptr ? std::atol(text) : 1000000;
}

// |got - exact| in units of the last place of the double nearest exact.
double ulpError(double got, long double exact) {
  if (std::isinf(got) || std::isinf(static_cast<double>(exact))) {
    return got == static_cast<double>(exact) ? 0.0 : kInf;
  }
  int e = 0;
  std::frexp(static_cast<double>(exact), &e);
  const int ulpExponent = e - 53 < -1074 ? -1074 : e - 53;
  return static_cast<double>(std::fabs(static_cast<long double>(got) - exact) /
                             std::ldexp(1.0L, ulpExponent));
}

struct Range {
  const char* name;
  std::function<double(double, double)> ours;
  std::function<long double(long double, long double)> exact;
  // Draws one argument pair; false to skip it.
  std::function<bool(Random&, double*, double*)> draw;
};

TEST(Vmath, ErrorBelowOneUlpOverRandomArguments) {
  const auto exp1 = [](double x, double) { return vm::exp(x); };
  const auto expL = [](long double x, long double) { return expl(x); };
  const auto log1 = [](double x, double) { return vm::log(x); };
  const auto logL = [](long double x, long double) { return logl(x); };
  const auto pow1 = [](double x, double y) { return vm::pow(x, y); };
  const auto powL = [](long double x, long double y) { return powl(x, y); };
  const auto cbrt1 = [](double x, double) { return vm::cbrt(x); };
  const auto cbrtL = [](long double x, long double) { return cbrtl(x); };
  const Range ranges[] = {
      {"exp on [-708, 709.7]", exp1, expL,
       [](Random& g, double* x, double*) { return *x = g.uniform(-708.0, 709.7), true; }},
      {"exp on [-745, -708] (subnormal results)", exp1, expL,
       [](Random& g, double* x, double*) { return *x = g.uniform(-745.0, -708.0), true; }},
      {"exp on |x| < 1", exp1, expL,
       [](Random& g, double* x, double*) {
         *x = std::ldexp(g.uniform(-1.0, 1.0), -static_cast<int>(g.next() % 60));
         return true;
       }},
      {"log of any positive double", log1, logL,
       [](Random& g, double* x, double*) {
         *x = std::fabs(g.bits());
         return std::isfinite(*x) && *x > 0.0;
       }},
      {"log near 1", log1, logL,
       [](Random& g, double* x, double*) {
         *x = 1.0 + std::ldexp(g.uniform(-1.0, 1.0), -static_cast<int>(g.next() % 50));
         return *x != 1.0;
       }},
      {"pow, x in [1e-10, 1e10], y in [-40, 40]", pow1, powL,
       [](Random& g, double* x, double* y) {
         *x = std::exp(g.uniform(-23.0, 23.0));
         *y = g.uniform(-40.0, 40.0);
         return std::fabs(*y * std::log(*x)) < 700.0;
       }},
      {"pow, x near 1, |y| up to 1e6", pow1, powL,
       [](Random& g, double* x, double* y) {
         *x = 1.0 + std::ldexp(g.uniform(-1.0, 1.0), -static_cast<int>(g.next() % 30));
         *y = g.uniform(-1e6, 1e6);
         return std::fabs(*y * std::log(*x)) < 700.0;
       }},
      {"pow, x in (0, 2], y in [-1, 1]", pow1, powL,
       [](Random& g, double* x, double* y) {
         *x = g.uniform(0.0, 2.0);
         *y = g.uniform(-1.0, 1.0);
         return *x > 0.0;
       }},
      {"pow, x < 0, integer y", pow1, powL,
       [](Random& g, double* x, double* y) {
         *x = -g.uniform(0.01, 100.0);
         *y = static_cast<double>(static_cast<int>(g.next() % 61) - 30);
         return true;
       }},
      {"cbrt of any double", cbrt1, cbrtL,
       [](Random& g, double* x, double*) {
         *x = g.bits();
         return std::isfinite(*x);
       }},
  };
  const long n = scanCount();
  for (const Range& range : ranges) {
    Random g{0x5eed0000ULL + static_cast<std::uint64_t>(range.name[0])};
    double worst = 0.0;
    double worstX = 0.0;
    double worstY = 0.0;
    long scanned = 0;
    for (long k = 0; k < n; ++k) {
      double x = 0.0;
      double y = 0.0;
      if (!range.draw(g, &x, &y)) continue;
      ++scanned;
      const double error = ulpError(range.ours(x, y), range.exact(x, y));
      if (!(error <= worst)) {
        worst = error;
        worstX = x;
        worstY = y;
      }
    }
    std::printf("%-42s %9ld arguments, max error %.4f ulp at (%.17g, %.17g)\n", range.name, scanned,
                worst, worstX, worstY);
    EXPECT_LT(worst, 1.0) << range.name << " at (" << worstX << ", " << worstY << ")";
  }
}

// Special arguments as the C standard has them: the same results as the C
// library, sign of zero and infinity included.
TEST(Vmath, SpecialArgumentsAsTheCStandard) {
  const double unary[] = {
      0.0,        -0.0,      kInf,  -kInf,  kNaN,   1.0,     -1.0,    0x1p-1074,
      -0x1p-1074, 0x1p-1022, 1e308, 709.78, 709.79, -745.13, -745.14, 0x1.fffffffffffffp1023,
      27.0,       -8.0,      1e-310};
  const auto same = [](double a, double b) {
    return (std::isnan(a) && std::isnan(b)) ||
           std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  };
  for (const double x : unary) {
    EXPECT_TRUE(same(vm::exp(x), std::exp(x))) << "exp " << x << ": " << vm::exp(x);
    EXPECT_TRUE(same(vm::log(x), std::log(x))) << "log " << x << ": " << vm::log(x);
    // glibc's cbrt is not correctly rounded: compared where it is exact.
    if (x == 0.0 || !std::isfinite(x)) {
      EXPECT_TRUE(same(vm::cbrt(x), std::cbrt(x))) << "cbrt " << x << ": " << vm::cbrt(x);
    }
  }
  const double bases[] = {
      0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 0.5, -0.5, kInf, -kInf, kNaN, 1e-300, 0x1.0000000000001p0};
  const double exponents[] = {0.0,    -0.0,   1.0,     -1.0,    2.0,
                              3.0,    -3.0,   0.5,     -0.5,    kInf,
                              -kInf,  kNaN,   1e300,   0x1p53,  0x1p53 + 2.0,
                              1023.0, 1024.0, -1074.0, -1075.0, 0x1.fffffffffffffp1023,
                              1e-320};
  for (const double x : bases) {
    for (const double y : exponents) {
      EXPECT_TRUE(same(vm::pow(x, y), std::pow(x, y)))
          << "pow(" << x << ", " << y << "): " << vm::pow(x, y) << " against " << std::pow(x, y);
    }
  }
}

// The logarithm forms r = z c - 1 without a rounding: its parts are
// multiples of 2^-61, so r is exact as long as |r| < 2^-8 (53 bits). |z c - 1|
// is largest at the ends of each sub-interval, where long double (64-bit
// significand) forms it exactly.
TEST(Vmath, LogarithmTableKeepsItsReducedArgumentExact) {
  namespace t = vapordex::vmath::tables;
  for (std::uint64_t i = 0; i < 256; ++i) {
    const std::uint64_t first = t::kLogOffsetBits + (i << 44);
    const std::uint64_t last = first + (std::uint64_t{1} << 44) - 1;
    for (std::uint64_t bits : {first, last}) {
      // The table's z: x's significand scaled into [0.70703125, 1.4140625).
      const double x = std::bit_cast<double>(bits);
      const std::uint64_t offset = bits - t::kLogOffsetBits;
      const double z = std::bit_cast<double>(bits - (offset & (std::uint64_t{0xfff} << 52)));
      EXPECT_EQ(&t::kLog[(offset >> 44) & 255], &t::kLog[i]) << x;
      const long double r = static_cast<long double>(z) * t::kLog[i].c - 1.0L;
      EXPECT_LT(std::fabs(r), 0x1p-8L) << "entry " << i << " at z = " << z;
    }
  }
}

// Where the processor has fused multiply-add, log and pow take their exact
// quantities (r, the rounding errors of r^2 and y log x) by that
// instruction: the same doubles as the split-and-product chains. pow over
// bases and exponents of every scale, exponents that make y log x tiny and
// products near exp's overflow and underflow; log over positive doubles of
// every scale (subnormals included) and near 1.
TEST(Vmath, FusedLogarithmAndPowerAreTheDekkerChains) {
#ifdef VDX_VMATH_FUSED
  namespace d = vapordex::vmath::detail;
  if (!d::kProcessorHasFma) GTEST_SKIP() << "the processor has no fused multiply-add";
  Random random{20261209};
  const long n = scanCount();
  long differ = 0;
  for (long k = 0; k < n; ++k) {
    double x = 0.0;
    double y = 0.0;
    switch (k % 5) {
      case 0:
        x = vm::exp(random.uniform(-740.0, 709.0));
        y = random.uniform(-3.0, 3.0);
        break;
      case 1:
        x = 1.0 + random.uniform(-1e-4, 1e-4);
        y = random.uniform(-1e6, 1e6);
        break;
      case 2:
        x = random.uniform(0.0, 2.0);
        y = random.uniform(-1.0, 1.0) * vm::exp(random.uniform(-700.0, 0.0));
        break;
      case 3:
        x = random.uniform(1.0, 1e10);
        y = random.uniform(-745.0, 709.0) / vm::log(x);
        break;
      default:
        x = std::fabs(random.bits());
        y = random.uniform(-40.0, 40.0);
        break;
    }
    const double z = k % 2 == 0 ? std::fabs(random.bits()) : 1.0 + random.uniform(-0.01, 0.01);
    if (z > 0.0 && z < kInf) {
      const double fusedLog = d::fusedPositiveLogarithm(z);
      const double plainLog = d::positiveLogarithm<false>(z);
      if (std::bit_cast<std::uint64_t>(fusedLog) != std::bit_cast<std::uint64_t>(plainLog)) {
        if (++differ <= 5) {
          ADD_FAILURE() << "log(" << z << "): " << fusedLog << " against " << plainLog;
        }
      }
    }
    if (!(x > 0.0 && x < kInf && x != 1.0)) continue;
    const double fused = d::fusedPositivePower(x, y);
    const double plain = d::positivePower<false>(x, y);
    if (std::bit_cast<std::uint64_t>(fused) != std::bit_cast<std::uint64_t>(plain)) {
      if (++differ <= 5)
        ADD_FAILURE() << "pow(" << x << ", " << y << "): " << fused << " against " << plain;
    }
  }
  EXPECT_EQ(differ, 0) << "of " << n;
#else
  GTEST_SKIP() << "fused multiply-add is looked for on x86 only";
#endif
}

// Results that are doubles exactly come out exactly.
TEST(Vmath, ExactResultsAreExact) {
  const struct {
    double got;
    double want;
  } cases[] = {
      {vm::pow(2.0, 10.0), 1024.0},
      {vm::pow(10.0, 3.0), 1000.0},
      {vm::pow(0.25, 0.5), 0.5},
      {vm::pow(-3.0, 3.0), -27.0},
      {vm::pow(9.0, -0.5), 1.0 / 3.0},
      {vm::cbrt(27.0), 3.0},
      {vm::cbrt(-0.125), -0.5},
      {vm::log(1.0), 0.0},
      {vm::exp(0.0), 1.0},
      {vm::pow(2.0, -1074.0), 0x1p-1074},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

}  // namespace
