// The engines' fast paths answer as their full evaluations do, bit for bit:
// a pressure from the density derivative alone, a property from its own sums,
// values kept from the last temperature whatever temperatures came before,
// powers by fused multiply-add, the reduced pressures that IFC-67's volume
// searches compare, and the kept last answers of saturation temperatures and
// saturated densities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "engines/common/density_solver.hpp"
#include "engines/common/exact_power.hpp"
#include "engines/common/iapws_saturation.hpp"
#include "engines/common/saturation.hpp"
#include "engines/helmholtz/iapws95.hpp"
#include "engines/helmholtz/kkhm69.hpp"
#include "engines/helmholtz/nbs84.hpp"
#include "engines/if97/if97.hpp"
#include "engines/ifc67/ifc67.hpp"
#include "frontend/engine_ops.hpp"
#include "test_support.hpp"

namespace vapordex {
namespace {

using testing::UnitSequence;

struct State {
  double T;
  double rho;  // g/cm3
};

// States on a few isotherms, visited in an order that alternates between
// them, so that kept temperature parts are both reused and replaced.
std::vector<State> interleavedStates(std::uint64_t start) {
  UnitSequence draw(start);
  const double temperatures[] = {280.0, 373.15, 520.0, 640.0, 647.0, 700.0, 1000.0};
  std::vector<State> states;
  for (int k = 0; k < 3000; ++k) {
    const double T = temperatures[(k * 5 + k / 7) % 7];
    states.push_back({T, std::exp(std::log(1e-6) + std::log(1.2e6) * draw.next())});
  }
  return states;
}

TEST(FastPaths, HelmholtzPressuresEnthalpiesAndEntropiesAreTheFullEvaluations) {
  for (const State& s : interleavedStates(1)) {
    // IAPWS-95 from the full Helmholtz function.
    const double delta = s.rho / iapws95::kCriticalDensity;
    const double tau = iapws95::kCriticalTemperature / s.T;
    const iapws95::Helmholtz h = iapws95::helmholtz(delta, tau);
    const double rt = iapws95::kR * s.T;
    EXPECT_EQ(iapws95::pressureFromTD(s.T, s.rho),
              s.rho * iapws95::kR * s.T * (1.0 + delta * h.phirDelta))
        << s.T << " " << s.rho;
    EXPECT_EQ(iapws95::enthalpyFromTD(s.T, s.rho),
              rt * (1.0 + tau * (h.phi0Tau + h.phirTau) + delta * h.phirDelta))
        << s.T << " " << s.rho;
    EXPECT_EQ(iapws95::entropyFromTD(s.T, s.rho),
              iapws95::kR * (tau * (h.phi0Tau + h.phirTau) - h.phi0 - h.phir))
        << s.T << " " << s.rho;
    // NBS/NRC 1984 from its full free energy.
    const nbs84::FreeEnergy f = nbs84::freeEnergy(s.T, s.rho);
    EXPECT_EQ(nbs84::pressureFromTD(s.T, s.rho), s.rho * s.rho * f.dAdRho) << s.T << " " << s.rho;
    // KKHM 1969 from its full Q function.
    const kkhm69::QFunction q = kkhm69::qFunction(s.rho, 1000.0 / s.T);
    EXPECT_EQ(kkhm69::pressureFromTD(s.T, s.rho),
              s.rho * kkhm69::kR * s.T * (1.0 + s.rho * q.q + s.rho * s.rho * q.qRho))
        << s.T << " " << s.rho;
  }
}

// NBS/NRC 1984's pressure, entropy and enthalpy leave out the critical terms
// whose bounds show them below the last bits of their sums: they are the
// full free energy's, bit for bit, wherever those terms are alive (within about 124 K
// of their temperatures), from dilute vapour to dense liquid.
TEST(FastPaths, Nbs84SkippedCriticalTermsChangeNothing) {
  UnitSequence draw(6);
  for (int k = 0; k < 40000; ++k) {
    const double T = 500.0 + 280.0 * draw.next();
    const double rho = k % 2 == 0 ? std::exp(std::log(1e-5) + std::log(1.3e5) * draw.next())
                                  : 0.1 + 1.2 * draw.next();
    const nbs84::FreeEnergy f = nbs84::freeEnergy(T, rho);
    ASSERT_EQ(nbs84::pressureFromTD(T, rho), rho * rho * f.dAdRho) << T << " " << rho;
    ASSERT_EQ(nbs84::entropyFromTD(T, rho), -f.dAdT) << T << " " << rho;
    ASSERT_EQ(nbs84::enthalpyFromTD(T, rho), f.a - T * f.dAdT + rho * f.dAdRho) << T << " " << rho;
  }
}

// What a fresh thread computes: every kept value (one set per thread) is
// made for this call alone.
template <class F>
double inFreshThread(F f) {
  double r = 0.0;
  std::thread([&] { r = f(); }).join();
  return r;
}

// A temperature's kept values serve the next call only at that temperature:
// calls visiting several isotherms in turn answer as calls made afresh.
TEST(FastPaths, KeptTemperaturePartsFollowTheTemperature) {
  const std::vector<State> states = interleavedStates(2);
  for (std::size_t k = 0; k < states.size(); k += 10) {
    const State s = states[k];
    const double v = 0.0011 + 0.008 * s.rho / 1.2;  // a region-3 volume, m3/kg
    EXPECT_EQ(iapws95::enthalpyFromTD(s.T, s.rho),
              inFreshThread([s] { return iapws95::enthalpyFromTD(s.T, s.rho); }));
    EXPECT_EQ(iapws95::entropyFromTD(s.T, s.rho),
              inFreshThread([s] { return iapws95::entropyFromTD(s.T, s.rho); }));
    EXPECT_EQ(nbs84::enthalpyFromTD(s.T, s.rho),
              inFreshThread([s] { return nbs84::enthalpyFromTD(s.T, s.rho); }));
    EXPECT_EQ(if97::region3Pressure(s.T, v),
              inFreshThread([s, v] { return if97::region3Pressure(s.T, v); }));
    // An enthalpy or entropy just after a pressure at its density takes the
    // pressure's exponential.
    nbs84::pressureFromTD(s.T, s.rho);
    EXPECT_EQ(nbs84::entropyFromTD(s.T, s.rho),
              inFreshThread([s] { return nbs84::entropyFromTD(s.T, s.rho); }));
    kkhm69::pressureFromTD(s.T, s.rho);
    EXPECT_EQ(kkhm69::enthalpyFromTD(s.T, s.rho),
              inFreshThread([s] { return kkhm69::enthalpyFromTD(s.T, s.rho); }));
    kkhm69::pressureFromTD(s.T, s.rho * 1.001);
    EXPECT_EQ(kkhm69::entropyFromTD(s.T, s.rho),
              inFreshThread([s] { return kkhm69::entropyFromTD(s.T, s.rho); }));
    // IFC-67's sub-region 2 keeps its theta part.
    const double theta = s.T / ifc67::kCriticalTemperature;
    const double beta = s.rho * 10.0;
    const ifc67::GibbsState g = ifc67::subregion2(beta, theta);
    EXPECT_EQ(g.chi, inFreshThread([&] { return ifc67::subregion2(beta, theta).chi; }));
    EXPECT_EQ(g.eps, inFreshThread([&] { return ifc67::subregion2(beta, theta).eps; }));
    EXPECT_EQ(g.sigma, inFreshThread([&] { return ifc67::subregion2(beta, theta).sigma; }));
    // A neighbouring isotherm between the calls.
    iapws95::enthalpyFromTD(s.T + 1.0, s.rho);
    nbs84::enthalpyFromTD(s.T + 1.0, s.rho);
    if97::region3Pressure(s.T + 1.0, v);
    ifc67::subregion2(beta, theta * 1.001);
  }
  // 0 and -0 are different temperatures (tau is +inf or -inf).
  const double positive = inFreshThread([] { return iapws95::pressureFromTD(0.0, 0.5); });
  const double negative = inFreshThread([] { return iapws95::pressureFromTD(-0.0, 0.5); });
  iapws95::pressureFromTD(0.0, 0.5);
  EXPECT_EQ(std::signbit(iapws95::pressureFromTD(-0.0, 0.5)), std::signbit(negative));
  EXPECT_EQ(std::signbit(iapws95::pressureFromTD(0.0, 0.5)), std::signbit(positive));
}

// Each IF97 property computes only the Gibbs sums it needs; it is the value
// of the full evaluation.
TEST(FastPaths, If97PropertiesAreTheFullEvaluations) {
  UnitSequence draw(3);
  const Phase phases[] = {Phase::kSinglePhase, Phase::kSaturatedLiquid, Phase::kSaturatedVapour};
  for (int k = 0; k < 6000; ++k) {
    const double T = 273.16 + 800.0 * draw.next();
    const double P = std::exp(std::log(1e-4) + std::log(1e6) * draw.next());
    const Phase phase = phases[k % 3];
    double v = 0.0;
    double h = 0.0;
    double s = 0.0;
    if97::evaluateState(T, P, phase, &v, &h, &s);
    EXPECT_EQ(if97::specificVolume(T, P, phase), v * 1000.0) << T << " " << P;
    EXPECT_EQ(if97::specificEnthalpy(T, P, phase), h) << T << " " << P;
    EXPECT_EQ(if97::specificEntropy(T, P, phase), s) << T << " " << P;
  }
}

// IFC-67's volume alone (what the (T, v) search asks for) is the full
// evaluation's, in every sub-region and on the saturation line.
TEST(FastPaths, Ifc67VolumeIsTheFullEvaluations) {
  UnitSequence draw(5);
  const Phase phases[] = {Phase::kSinglePhase, Phase::kSaturatedLiquid, Phase::kSaturatedVapour};
  for (int k = 0; k < 6000; ++k) {
    // A third of the states between 600 K and 700 K, about sub-regions 3 and 4.
    const double T = k % 3 == 0 ? 600.0 + 100.0 * draw.next() : 273.16 + 800.0 * draw.next();
    const double P = std::exp(std::log(1e-3) + std::log(1e5) * draw.next());
    const Phase phase = phases[k % 3];
    double v = 0.0;
    double h = 0.0;
    double s = 0.0;
    ifc67::evaluateState(T, P, phase, &v, &h, &s);
    EXPECT_EQ(ifc67::specificVolume(T, P, phase), v) << T << " " << P;
  }
}

TEST(FastPaths, Ifc67ReducedPressuresAreTheHelmholtzFunctions) {
  UnitSequence draw(4);
  for (int k = 0; k < 20000; ++k) {
    const double chi = 0.4 + 2.5 * draw.next();
    const double theta = 0.95 + 0.3 * draw.next();
    EXPECT_EQ(ifc67::subregion3Beta(chi, theta), ifc67::subregion3(chi, theta).beta);
    EXPECT_EQ(ifc67::subregion4Beta(chi, theta), ifc67::subregion4(chi, theta).beta);
  }
}

// The powers by fused multiply-add are the Dekker chain's, where the
// processor has it.
TEST(FastPaths, FusedMultiplyAddPowersAreTheDekkerChains) {
#ifdef VDX_EXACT_POWER_FMA
  if (!exact_power_detail::processorHasFma()) GTEST_SKIP() << "no fused multiply-add";
  UnitSequence draw(5);
  for (int k = 0; k < 100000; ++k) {
    const double x = std::exp(std::log(1e-3) + std::log(4e3) * draw.next());
    double fused[51];
    exact_power_detail::exactPowersFma(x, fused, 51);
    double xHi = 0.0;
    double xLo = 0.0;
    exact_power_detail::split(x, &xHi, &xLo);
    double hi = 1.0;
    double lo = 0.0;
    ASSERT_EQ(fused[0], 1.0);
    for (int n = 1; n < 51; ++n) {
      exact_power_detail::multiply(&hi, &lo, x, xHi, xLo);
      ASSERT_EQ(fused[n], hi + lo) << x << "^" << n;
    }
  }
#else
  GTEST_SKIP() << "not an x86 build";
#endif
}

// The kept last answers are keyed on the engine and the argument: asking
// the engines in turn for one pressure, or for two pressures in turn, gives
// each its own answer.
// The IAPWS saturation line's temperature equation stands in for the
// located root of its saturation temperatures: it lies within rounding of
// the root regula falsi finds on ln psat, far inside the margin within which
// the replayed bisection evaluates, and the saturation temperatures are the
// plain bisection's, bit for bit.
TEST(FastPaths, IapwsSaturationEstimateIsTheRoot) {
  SaturationLine line{.pressure = iapws_saturation::pressure,
                      .triplePressure = water::kTriplePointPressure,
                      .criticalTemperature = water::kCriticalTemperature,
                      .criticalPressure = water::kCriticalPressure,
                      .temperatureEstimate = iapws_saturation::temperatureEstimate,
                      .estimateReach = 1e-6};
  const double lnLow = std::log(water::kTriplePointPressure);
  const double lnHigh = std::log(water::kCriticalPressure);
  double worst = 0.0;
  for (int k = 1; k < 20000; ++k) {
    const double P = std::exp(lnLow + (lnHigh - lnLow) * k / 20000.0);
    line.estimateIsRoot = false;
    const double located = saturation_detail::locateRoot(
        vmath::log(P), P, line, water::kTriplePointTemperature, water::kCriticalTemperature);
    ASSERT_FALSE(std::isnan(located)) << P;
    worst = std::fmax(worst, std::fabs(located - iapws_saturation::temperatureEstimate(P)));
    line.estimateIsRoot = true;
    ASSERT_EQ(bisectSaturationTemperature(P, line), saturation_detail::plainBisection(P, line))
        << P;
  }
  EXPECT_LT(worst, 1e-3 * saturation_detail::kReplayMargin);
}

TEST(FastPaths, KeptSaturationAnswersBelongToTheirEngineAndArgument) {
  const double pressures[] = {0.01, 1.0, 10.0, 20.0};
  std::vector<double> first;
  for (const EngineOps* e : availableEngines()) {
    for (double P : pressures) first.push_back(e->saturationTemperature(P));
  }
  for (int pass = 0; pass < 2; ++pass) {
    for (int j = 0; j < 4; ++j) {
      std::size_t k = 0;
      for (const EngineOps* e : availableEngines()) {
        EXPECT_EQ(e->saturationTemperature(pressures[j]), first[k * 4 + j]) << e->code;
        ++k;
      }
    }
  }
  for (double T : {300.0, 450.0, 600.0, 646.0}) {
    const double liquid95 = iapws95::saturatedLiquidDensity(T);
    const double liquid84 = nbs84::saturatedLiquidDensity(T);
    const double vapour95 = iapws95::saturatedVapourDensity(T);
    const double vapour84 = nbs84::saturatedVapourDensity(T);
    EXPECT_NE(liquid95, liquid84);
    EXPECT_EQ(iapws95::saturatedLiquidDensity(T), liquid95);
    EXPECT_EQ(nbs84::saturatedLiquidDensity(T), liquid84);
    EXPECT_EQ(iapws95::saturatedVapourDensity(T), vapour95);
    EXPECT_EQ(nbs84::saturatedVapourDensity(T), vapour84);
  }
  // The saturated densities keep recent answers in a small table: after
  // many other temperatures (which share its slots), each answer is still
  // the one solved afresh, for every density-based engine and both phases.
  UnitSequence draw(8);
  std::vector<double> temperatures;
  for (int k = 0; k < 200; ++k) temperatures.push_back(280.0 + 360.0 * draw.next());
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t k = 0; k < temperatures.size(); ++k) {
      // Every fifth call comes back to one temperature, as an inverse
      // function's fixed end does.
      const double T = k % 5 == 0 ? 273.15 : temperatures[k];
      for (const EngineOps* e : availableEngines()) {
        if (e->densityFromTP == nullptr) continue;
        for (Phase phase : {Phase::kSaturatedLiquid, Phase::kSaturatedVapour}) {
          EXPECT_EQ(e->densityFromTP(T, 0.0, phase),
                    inFreshThread([e, T, phase] { return e->densityFromTP(T, 0.0, phase); }))
              << e->code << " " << T;
        }
      }
    }
  }
}

// A kept value's empty entry is never taken for a NaN argument's answer: in
// a fresh thread, NaN temperatures and densities give what a computation
// gives (NaN pressures; the solver's answer for a saturated density).
TEST(FastPaths, NanArgumentsAreComputedInAFreshThread) {
  const double nan = std::nan("");
  EXPECT_TRUE(std::isnan(inFreshThread([nan] { return iapws95::pressureFromTD(nan, 0.5); })));
  EXPECT_TRUE(std::isnan(inFreshThread([nan] { return nbs84::pressureFromTD(nan, 0.5); })));
  EXPECT_TRUE(std::isnan(inFreshThread([nan] { return nbs84::enthalpyFromTD(500.0, nan); })));
  EXPECT_TRUE(std::isnan(inFreshThread([nan] { return kkhm69::enthalpyFromTD(500.0, nan); })));
  EXPECT_TRUE(std::isnan(inFreshThread([nan] { return ifc67::subregion2(0.1, nan).chi; })));
  EXPECT_TRUE(std::isnan(inFreshThread([nan] { return if97::region3Pressure(nan, 0.005); })));
  EXPECT_EQ(inFreshThread([nan] { return nbs84::saturatedLiquidDensity(nan); }),
            density::saturatedLiquidDensity(nbs84::pressureFromTD, nbs84::pressureSlopeFromTD,
                                            nbs84::saturationPressure, nan,
                                            nbs84::kCriticalTemperature, nbs84::kCriticalDensity));
  EXPECT_EQ(inFreshThread([nan] { return kkhm69::saturatedLiquidDensity(nan); }),
            kkhm69::kCriticalDensity);
}

// A single-phase density is kept for the next call at the same state of
// the same engine only: two engines asked in turn at one (T, P), and
// states asked in turn, answer as calls made afresh.
TEST(FastPaths, KeptDensityBelongsToItsEngineAndState) {
  UnitSequence draw(9);
  for (int k = 0; k < 300; ++k) {
    const double T = 280.0 + 700.0 * draw.next();
    const double P = std::exp(std::log(0.01) + std::log(1e4) * draw.next());
    for (int twice = 0; twice < 2; ++twice) {
      for (const EngineOps* e : availableEngines()) {
        if (e->densityFromTP == nullptr) continue;
        EXPECT_EQ(e->densityFromTP(T, P, Phase::kSinglePhase),
                  inFreshThread([e, T, P] { return e->densityFromTP(T, P, Phase::kSinglePhase); }))
            << e->code << " " << T << " " << P;
      }
    }
  }
}

}  // namespace
}  // namespace vapordex
