// Bad input of every kind goes through every worksheet function without a
// crash, a hang or a sanitizer report, and never reaches Excel as a
// non-finite number.
#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

#include "frontend/catalogue.hpp"
#include "frontend/engine_ops.hpp"
#include "frontend/floating_point_guard.hpp"
#include "frontend/worksheet.hpp"

namespace {

using vapordex::catalogue;
using vapordex::FunctionInfo;
using vapordex::Quantity;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

const double kArguments[] = {kNaN,   kInf,   -kInf,   0.0,    -0.0, -1.0,  -1e300, 1e300, 1e-300,
                             5e-324, 273.16, 647.096, 22.064, 1.0,  500.0, 1e5,    1e6};
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

// Every function of the catalogue, every argument pair and code (HofTS
// with its ignored second code at its extremes too).
TEST(Robustness, EveryFunctionAndCode) {
  for (const FunctionInfo& f : catalogue()) {
    for (double a : kArguments) {
      for (double b : kArguments) {
        if (f.one != nullptr && b != kArguments[0]) break;  // one argument: b unused
        for (std::int32_t code : kCodes) {
          if (f.one != nullptr) {
            expectValid(f.one(a, code));
          } else if (f.two != nullptr) {
            expectValid(f.two(a, b, code));
          } else {
            for (std::int32_t ignored : {0, INT32_MIN, 2147483647}) {
              expectValid(f.twoCodes(a, b, code, ignored));
            }
          }
        }
      }
    }
  }
}

// Arguments no state has and codes that select no formulation give exactly
// the error value, in both unit systems. Each function's arguments are what
// the catalogue says: T (absolute temperature), P, v, or a quantity of any
// sign (h, s; and the second argument of the one-argument functions).
enum Kind { kT, kP, kV, kAny };
struct Signature {
  const FunctionInfo* f;
  Kind a;
  Kind b;
};
Kind kindOf(Quantity q) {
  switch (q) {
    case Quantity::kTemperature:
      return kT;
    case Quantity::kPressure:
      return kP;
    case Quantity::kVolume:
      return kV;
    default:
      return kAny;
  }
}
std::vector<Signature> signatures() {
  std::vector<Signature> out;
  for (const FunctionInfo& f : catalogue()) {
    const Kind a = kindOf(f.arguments[0].quantity);
    const Kind b = f.arguments[1].type == 'B' ? kindOf(f.arguments[1].quantity) : kAny;
    out.push_back({&f, a, b});
  }
  return out;
}
const Signature& signature(const char* name) {
  static const std::vector<Signature> all = signatures();
  for (const Signature& s : all) {
    if (std::string(s.f->name) == name) return s;
  }
  return all.front();
}

// An ordinary argument of each kind (SI, English), and impossible ones.
double ordinary(Kind k, bool english) {
  switch (k) {
    case kT:
      return english ? 300.0 : 450.0;
    case kP:
      return english ? 100.0 : 1.0;
    case kV:
      return english ? 2.0 : 100.0;
    case kAny:
      return english ? 1.5 : 6.0;
  }
  return 0.0;
}
std::vector<double> impossible(Kind k, bool english) {
  switch (k) {
    case kT:
      return english ? std::vector<double>{-459.67, -500.0, -1e300}
                     : std::vector<double>{0.0, -0.0, -1.0, -1e300};
    case kP:
    case kV:
      return {0.0, -0.0, -1.0, -5e-324, -kInf};
    case kAny:
      return {};
  }
  return {};
}

double callWith(const Signature& s, double a, double b, std::int32_t code) {
  const FunctionInfo& f = *s.f;
  const XLOPER* r = f.one != nullptr   ? f.one(a, code)
                    : f.two != nullptr ? f.two(a, b, code)
                                       : f.twoCodes(a, b, code, 0);
  return r->xltype == xltypeNum ? r->val.num : std::nan("");
}

// A NaN argument is no state: #NUM! from every function, formulation and
// unit system (a clamp or a search must not turn it into a number).
TEST(Robustness, NanArgumentsGiveNum) {
  int checked = 0;
  for (const FunctionInfo& f : catalogue()) {
    const int doubles = f.one != nullptr ? 1 : 2;
    for (std::int32_t code : {67, 69, 84, 95, 97, 20}) {
      for (std::int32_t c : {code, -code}) {
        for (int which = 0; which < doubles; ++which) {
          double numbers[2] = {500.0, 10.0};
          numbers[which] = kNaN;
          const std::int32_t codes[2] = {c, 0};
          const XLOPER* r = callWorksheet(f, numbers, codes);
          EXPECT_TRUE(r->xltype == xltypeErr && r->val.err == xlerrNum)
              << f.name << " argument " << which << " code " << c;
          ++checked;
        }
      }
    }
  }
  EXPECT_EQ(checked, 12 * (9 + 18 * 2));
}

TEST(Robustness, ImpossibleArgumentsAndCodesGiveTheErrorValue) {
  const std::int32_t formulations[] = {67, 69, 84, 95, 97, 20};
  const std::vector<std::int32_t> unrecognisedSi = {0, -1, -50, -96, INT32_MIN};
  const std::vector<std::int32_t> unrecognisedEnglish = {1, 50, 96, 2147483647};
  for (const Signature& f : signatures()) {
    for (bool english : {false, true}) {
      const double a = ordinary(f.a, english);
      const double b = ordinary(f.b, english);
      for (std::int32_t code : english ? unrecognisedEnglish : unrecognisedSi) {
        EXPECT_EQ(callWith(f, a, b, code), -999.0) << f.f->name << " code " << code;
      }
      for (std::int32_t magnitude : formulations) {
        const std::int32_t code = english ? magnitude : -magnitude;
        // The 2020 formulation has no second derivatives to answer from.
        const std::string name = f.f->name;
        const bool secondDerivatives =
            name == "CpofTP" || name == "CvofTP" || name == "WofTP" || name == "KofTP";
        if (!(magnitude == 20 && secondDerivatives)) {
          EXPECT_NE(callWith(f, a, b, code), -999.0) << name << " code " << code;
        }
        for (double bad : impossible(f.a, english)) {
          EXPECT_EQ(callWith(f, bad, b, code), -999.0)
              << f.f->name << " " << bad << " code " << code;
        }
        for (double bad : impossible(f.b, english)) {
          EXPECT_EQ(callWith(f, a, bad, code), -999.0)
              << f.f->name << " " << bad << " code " << code;
        }
      }
    }
  }
}

// Impossible results of the engines (a negative volume, a temperature below
// 0 K) are failures, not answers.
TEST(Robustness, ImpossibleResultsGiveTheErrorValue) {
  EXPECT_EQ(callWith(signature("VofTP"), 373.15, 9999.0, -67), -999.0);    // VofTP
  EXPECT_EQ(callWith(signature("VofTP"), 10000.0, 50.0, -97), -999.0);     // VofTP
  EXPECT_EQ(callWith(signature("TofPH"), 0.000611657, 0.0, -20), -999.0);  // TofPH
  EXPECT_EQ(callWith(signature("TofPH"), 0.0887, 0.0, 20), -999.0);        // TofPH, English
}

// Whatever rounding mode and denormal handling the host left set, results
// are those of round-to-nearest with denormals kept, and the host's setting
// is back afterwards.
TEST(Robustness, ResultsIgnoreTheHostsRoundingMode) {
  struct Call {
    const Signature* f;
    double a, b;
    std::int32_t code;
  };
  std::vector<Call> calls;
  static const std::vector<Signature> all = signatures();
  for (const Signature& f : all) {
    for (std::int32_t code : {67, 69, 84, 95, 97, 20}) {
      calls.push_back({&f, ordinary(f.a, false), ordinary(f.b, false), -code});
      calls.push_back({&f, ordinary(f.a, true), ordinary(f.b, true), code});
    }
  }
  calls.push_back({&signature("Psat"), 1e300, 0.0, -95});
  std::vector<double> nearest;
  for (const Call& c : calls) nearest.push_back(callWith(*c.f, c.a, c.b, c.code));
  for (int mode : {FE_TOWARDZERO, FE_UPWARD, FE_DOWNWARD}) {
    std::fesetround(mode);
#if defined(__x86_64__) || defined(__i386__)
    const unsigned host = _mm_getcsr() | 0x8040u;  // flush-to-zero and denormals-are-zero
    _mm_setcsr(host);
#endif
    for (std::size_t k = 0; k < calls.size(); ++k) {
      const double r = callWith(*calls[k].f, calls[k].a, calls[k].b, calls[k].code);
      EXPECT_TRUE(r == nearest[k] || (std::isnan(r) && std::isnan(nearest[k])))
          << calls[k].f->f->name << " " << calls[k].code << " mode " << mode << ": " << r << " vs "
          << nearest[k];
    }
    EXPECT_EQ(std::fegetround(), mode);
#if defined(__x86_64__) || defined(__i386__)
    EXPECT_EQ(_mm_getcsr() & ~0x3Fu, host & ~0x3Fu);
    _mm_setcsr(host & ~0x8040u);
#endif
    std::fesetround(FE_TONEAREST);
  }
}

#if defined(__x86_64__) || defined(__i386__)
unsigned short x87StatusWord() {
  unsigned short sw = 0;
  __asm__ __volatile__("fnstsw %0" : "=m"(sw));
  return sw;
}

// The guard gives the x87 unit back as it found it, whatever the computation
// did to its status: raised exception flags (as a C runtime's x87 exp does)
// on a status with none or with some already, or changed condition codes.
TEST(Robustness, X87StatusIsRestored) {
  struct Case {
    const char* what;
    bool callerFlag;      // the caller's status holds the precision flag
    bool conditionCodes;  // the computation changes C0-C3
  };
  for (const Case c :
       {Case{"flags on a clear status", false, false},
        Case{"flags on a flagged status", true, false}, Case{"condition codes", false, true}}) {
    __asm__ __volatile__("fnclex");
    if (c.callerFlag) {
      // 1 / 3 in x87 arithmetic raises the precision flag.
      double third = 0.0;
      const double one = 1.0;
      const double three = 3.0;
      __asm__ __volatile__("fldl %1\n\tfdivl %2\n\tfstpl %0" : "=m"(third) : "m"(one), "m"(three));
    }
    const unsigned short before = x87StatusWord();
    {
      const vapordex::FloatingPointGuard guard;
      double q = 0.0;
      const double one = 1.0;
      const double zero = 0.0;
      // Division by zero and an inexact quotient, masked under the guard.
      __asm__ __volatile__("fldl %1\n\tfdivl %2\n\tfstpl %0" : "=m"(q) : "m"(one), "m"(zero));
      if (c.conditionCodes) __asm__ __volatile__("fldz\n\tfxam\n\tfstp %%st(0)" : : : "memory");
      EXPECT_NE(x87StatusWord(), before) << c.what;
    }
    EXPECT_EQ(x87StatusWord(), before) << c.what;
  }
  __asm__ __volatile__("fnclex");
}
#endif

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
