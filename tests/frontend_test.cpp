#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>

#include "engines/common/vmath.hpp"
#include "engines/if97/if97.hpp"
#include "frontend/cores.hpp"
#include "frontend/engine_ops.hpp"
#include "frontend/inverse.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex {
namespace {

using vapordex::testing::number;

constexpr double kPsia = 145.0377377;

TEST(Dispatch, SelectsByMagnitudeOnly) {
  ASSERT_NE(selectEngine(97), nullptr);
  EXPECT_EQ(selectEngine(97), selectEngine(-97));
  EXPECT_EQ(selectEngine(97)->code, 97);
  for (std::int32_t code : {0, 1, -1, 50, -50, 96, 98, 2147483647, INT32_MIN}) {
    EXPECT_EQ(selectEngine(code), nullptr) << code;
  }
  // Every engine of the build answers to its own code and nothing else.
  for (const EngineOps* e : availableEngines()) {
    EXPECT_EQ(selectEngine(e->code), e);
    EXPECT_EQ(selectEngine(-e->code), e);
  }
  EXPECT_EQ(availableEngines().size(), 6u);
}

// Each engine's saturation-line ends, carried as data, are its published
// values and what its saturation functions answer at the probes.
TEST(Dispatch, SaturationLineEndsAreTheProbesAnswers) {
  struct Ends {
    std::int32_t code;
    double triplePressure, criticalTemperature, criticalPressure;
  };
  for (const Ends& x :
       {Ends{67, 6.11244e-4, 647.3, 22.12}, Ends{69, 0.000612049, 647.245, 22.0894},
        Ends{84, 0.000610716, 647.126, 22.055}, Ends{95, 0.000611657, 647.096, 22.064},
        Ends{97, 6.11657e-4, 647.096, 22.064}, Ends{20, 0.000611657, 647.096, 22.064}}) {
    const EngineOps* e = selectEngine(x.code);
    EXPECT_EQ(e->saturationPressure(e->triplePointTemperature), x.triplePressure) << x.code;
    EXPECT_EQ(e->triplePointTemperature, 273.16) << x.code;
    EXPECT_EQ(e->criticalTemperature, x.criticalTemperature) << x.code;
    EXPECT_EQ(e->criticalPressure, x.criticalPressure) << x.code;
  }
  for (const EngineOps* e : availableEngines()) {
    EXPECT_EQ(e->triplePointTemperature, e->saturationTemperature(0.0)) << e->code;
    EXPECT_EQ(e->criticalTemperature, e->saturationTemperature(kCriticalTemperatureProbe))
        << e->code;
    EXPECT_EQ(e->criticalPressure, e->saturationPressure(kCriticalPressureProbe)) << e->code;
  }
}

TEST(Units, EnglishArgumentsAndResults) {
  const double psat = if97::saturationPressure(373.15);
  EXPECT_EQ(number(Psat(212.0, 97)), if97::saturationPressure((212.0 + 459.67) / 1.8) * kPsia);
  EXPECT_NEAR(number(Psat(212.0, 97)), psat * kPsia, 1e-12);
  EXPECT_EQ(number(Psat(373.15, -97)), psat);
  EXPECT_EQ(number(Psat(373.15, 0)), -999.0);
  // The example of the overview: region 1 at 533.15 K and 1000 psia.
  EXPECT_EQ(number(HofTP(500.0, 1000.0, 97)),
            if97::region1((500.0 + 459.67) / 1.8, 1000.0 / kPsia).h / 2.326);
  EXPECT_DOUBLE_EQ(number(Tsat(14.6959, 97)),
                   if97::saturationTemperature(14.6959 / kPsia) * 1.8 - 459.67);
  EXPECT_DOUBLE_EQ(
      number(VofTP(80.0, 14.7, 97)),
      if97::specificVolume((80.0 + 459.67) / 1.8, 14.7 / kPsia, Phase::kSinglePhase) / 62.42796058);
}

// Every entropy, saturated or not, converts with the one factor 4.1868.
TEST(Units, EveryEntropyUsesOneFactor) {
  const double T = 400.0;
  const double sfSi = number(Sf(T, -97));
  EXPECT_EQ(number(Sf(T * 1.8 - 459.67, 97)), sfSi / 4.1868);
  EXPECT_EQ(number(Sg(T * 1.8 - 459.67, 97)), number(Sg(T, -97)) / 4.1868);
  const double sTp = number(SofTP(T, 1.0, -97));
  EXPECT_EQ(sTp, if97::specificEntropy(T, 1.0, Phase::kSinglePhase));
  EXPECT_DOUBLE_EQ(number(SofTP(T * 1.8 - 459.67, 1.0 * kPsia, 97)), sTp / 4.1868);
}

TEST(SaturatedCores, AreTheEnginesSaturatedStates) {
  EXPECT_EQ(VfCore(300.0, 97), if97::specificVolume(300.0, 0.0, Phase::kSaturatedLiquid));
  EXPECT_EQ(HgCore(300.0, 97), if97::specificEnthalpy(300.0, 0.0, Phase::kSaturatedVapour));
}

TEST(Results, NonFiniteBecomesNumError) {
  const XLOPER* r = HofTP(NAN, 1.0, -97);
  EXPECT_EQ(r->xltype, xltypeErr);
  EXPECT_EQ(r->val.err, xlerrNum);
  r = HofTP(300.0, 1.0, -97);
  EXPECT_EQ(r->xltype, xltypeNum);
  // The same record serves every function.
  EXPECT_EQ(Psat(300.0, -97), HofTS(300.0, 1.0, -97, 0));
}

// (T, v) states of IAPWS-IF97 are solved in the front end.

TEST(TemperatureVolume, TwoPhaseByQualityAndContinuousAtTheSaturationLine) {
  const double T = 450.0;
  const double vf = number(Vf(T, -97));
  const double vg = number(Vg(T, -97));
  const double hf = number(Hf(T, -97));
  const double hg = number(Hg(T, -97));
  const double ps = number(Psat(T, -97));
  EXPECT_EQ(number(PofTV(T, vf, -97)), ps);
  EXPECT_EQ(number(PofTV(T, vg, -97)), ps);
  EXPECT_EQ(number(HofTV(T, vf, -97)), hf);
  EXPECT_DOUBLE_EQ(number(HofTV(T, vg, -97)), hg);
  const double vMid = vf + 0.25 * (vg - vf);
  EXPECT_DOUBLE_EQ(number(HofTV(T, vMid, -97)), hf + 0.25 * (hg - hf));
  EXPECT_DOUBLE_EQ(number(SofTV(T, vMid, -97)),
                   number(Sf(T, -97)) + 0.25 * (number(Sg(T, -97)) - number(Sf(T, -97))));
  // Just outside the dome the single-phase state meets the saturated one.
  for (double eps : {1e-7, 1e-5}) {
    EXPECT_NEAR(number(PofTV(T, vf * (1 - eps), -97)) / ps, 1.0, 0.2) << eps;
    EXPECT_NEAR(number(HofTV(T, vf * (1 - eps), -97)), hf, 0.05) << eps;
    EXPECT_NEAR(number(PofTV(T, vg * (1 + eps), -97)) / ps, 1.0, 1e-4) << eps;
    EXPECT_NEAR(number(HofTV(T, vg * (1 + eps), -97)), hg, 0.05) << eps;
  }
}

TEST(TemperatureVolume, UnreachableVolumesGiveTheErrorValue) {
  // (A NaN volume is no state either, but #NUM!, as every NaN argument.)
  for (double v : {0.0, -1.0, 0.05, 1e15}) {
    EXPECT_EQ(number(PofTV(300.0, v, -97)), -999.0) << v;
    EXPECT_EQ(number(HofTV(300.0, v, -97)), -999.0) << v;
    EXPECT_EQ(number(SofTV(300.0, v, -97)), -999.0) << v;
    EXPECT_EQ(number(SofTV(80.33, v / 62.42796058, 97)), -999.0) << v;
  }
  EXPECT_EQ(number(PofTV(900.0, 1e15, -97)), -999.0);
  EXPECT_EQ(number(PofTV(900.0, 1e-3, 97)), -999.0);
}

// The (T, v) search decides most of its halvings without evaluating the
// volume; its pressure must be the plain search's: 40 halvings of ln P, each
// comparing the single-phase volume with v, above the saturation pressure for
// compressed liquid and below it for vapour.
double plainTvPressure(const EngineOps& e, double T, double v) {
  double pLow = kTvPressureMin;
  double pHigh = kTvPressureMax;
  if (T < e.criticalTemperature) {
    const double ps = e.saturationPressure(T);
    if (v < e.specificVolume(T, 0.0, Phase::kSaturatedLiquid)) {
      pLow = ps;
    } else {
      pHigh = ps;
    }
  }
  double lnLow = vmath::log(pLow);
  double lnHigh = vmath::log(pHigh);
  double mid = lnLow;
  for (int k = 0; k < kTvHalvings; ++k) {
    mid = (lnLow + lnHigh) * 0.5;
    (e.specificVolume(T, vmath::exp(mid), Phase::kSinglePhase) > v ? lnLow : lnHigh) = mid;
  }
  return vmath::exp(mid);
}

TEST(TemperatureVolume, PressureIsThePlainSearchs) {
  for (const std::int32_t code : {97, 67}) {
    const EngineOps& e = *selectEngine(code);
    testing::UnitSequence draw(static_cast<std::uint64_t>(code));
    int states = 0;
    for (int k = 0; k < 3000; ++k) {
      // Temperatures over the formulations' range, a third of them in the
      // iterative region around the critical point; volumes of states from
      // 1e-5 MPa to 190 MPa, nudged off the values the search lands on.
      const double u = draw.next();
      const double T = k % 3 == 0 ? 615.0 + 60.0 * u : 273.16 + 800.0 * u;
      const double P = std::exp(std::log(1e-5) + std::log(1.9e7) * draw.next());
      const double vAtP = e.specificVolume(T, P, Phase::kSinglePhase);
      const double v = vAtP * (1.0 + 1e-6 * (draw.next() - 0.5));
      const double p = PofTVCore(T, v, -code);
      if (p == kUnavailable) continue;
      if (T < e.criticalTemperature && p == e.saturationPressure(T)) continue;  // two-phase
      ++states;
      ASSERT_EQ(p, plainTvPressure(e, T, v))
          << code << " T " << std::setprecision(17) << T << " v " << v;
    }
    EXPECT_GT(states, 2000) << code;
  }
}

}  // namespace
}  // namespace vapordex
