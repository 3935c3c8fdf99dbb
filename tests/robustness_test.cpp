// Bad input of every kind goes through every worksheet function without a
// crash, a hang or a sanitizer report, and never reaches Excel as a
// non-finite number.
#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include "frontend/engine_ops.hpp"
#include "frontend/worksheet.hpp"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

const double kArguments[] = {kNaN,   kInf,   -kInf,  0.0,     -0.0,   -1.0, -1e300, 1e300,
                             1e-300, 5e-324, 273.16, 647.096, 22.064, 1.0,  500.0,  1e6};
const std::int32_t kCodes[] = {0,   1,  -1,  50, -50, 2147483647, INT32_MIN, 67, -67, 69,
                               -69, 84, -84, 95, -95, 97,         -97,       20, -20};

void expectValid(const XLOPER* r) {
  ASSERT_NE(r, nullptr);
  if (r->xltype == xltypeNum) {
    EXPECT_TRUE(std::isfinite(r->val.num));
  } else {
    EXPECT_EQ(r->xltype, xltypeErr);
    EXPECT_EQ(r->val.err, xlerrNum);
  }
}

using One = LPXLOPER (*)(double, std::int32_t);
using Two = LPXLOPER (*)(double, double, std::int32_t);

TEST(Robustness, OneArgumentFunctions) {
  const One functions[] = {Psat, Tsat, Vf, Vg, Hf, Hg, Sf, Sg};
  for (One f : functions) {
    for (double a : kArguments) {
      for (std::int32_t code : kCodes) expectValid(f(a, code));
    }
  }
}

TEST(Robustness, TwoArgumentFunctions) {
  const Two functions[] = {VofTP, HofTP, SofTP, PofTV, HofTV, SofTV, TofPH, TofPS, HofPS, SofPH};
  for (Two f : functions) {
    for (double a : kArguments) {
      for (double b : kArguments) {
        for (std::int32_t code : kCodes) expectValid(f(a, b, code));
      }
    }
  }
}

TEST(Robustness, HofTS) {
  for (double a : kArguments) {
    for (double b : kArguments) {
      for (std::int32_t code : kCodes) {
        for (std::int32_t ignored : {0, INT32_MIN, 2147483647}) {
          expectValid(HofTS(a, b, code, ignored));
        }
      }
    }
  }
}

// The functions leave the floating-point environment as they found it,
// and a host that unmasked exceptions sees no trap.
TEST(Robustness, FloatingPointEnvironmentIsRestored) {
  std::feclearexcept(FE_ALL_EXCEPT);
  fenv_t before;
  std::fegetenv(&before);
  expectValid(HofTP(kNaN, 0.0, -97));
  expectValid(PofTV(1e300, -1.0, -97));
  expectValid(Tsat(kInf, 97));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
  feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  for (double a : kArguments) {
    for (double b : kArguments) expectValid(HofTP(a, b, -97));
  }
  EXPECT_EQ(fegetexcept(), FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  std::fesetenv(&before);
}

}  // namespace
