#include "engines/helmholtz/kkhm69.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "density_checks.hpp"
#include "engines/common/density_solver.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex::kkhm69 {
namespace {

using vapordex::testing::centralDifference;
using vapordex::testing::number;

double helmholtzEnergy(double T, double rho) {
  return psi0(T) + kR * T * (std::log(rho) + rho * qFunction(rho, 1000.0 / T).q);
}

TEST(Kkhm69Saturation, StatesAt373KAndTheTriplePoint) {
  EXPECT_NEAR(saturationPressure(373.15), 0.1014313, 5e-8);
  const double rhoF = densityFromTP(373.15, 0.0, Phase::kSaturatedLiquid);
  const double rhoG = densityFromTP(373.15, 0.0, Phase::kSaturatedVapour);
  EXPECT_NEAR(rhoF, 0.958288, 5e-7);
  EXPECT_NEAR(rhoG, 0.00059826, 5e-9);
  EXPECT_NEAR(enthalpyFromTD(373.15, rhoF), 419.09, 5e-3);
  EXPECT_NEAR(enthalpyFromTD(373.15, rhoG), 2676.05, 5e-3);
  EXPECT_NEAR(entropyFromTD(373.15, rhoF), 1.30675, 5e-6);
  EXPECT_NEAR(entropyFromTD(373.15, rhoG), 7.35441, 5e-6);
  const double rho = densityFromTP(273.16, 0.0, Phase::kSaturatedLiquid);
  EXPECT_NEAR(enthalpyFromTD(273.16, rho), 0.057, 5e-4);
  EXPECT_NEAR(entropyFromTD(273.16, rho), -0.00006, 5e-6);
  for (double T : {647.245, 800.0}) {
    EXPECT_EQ(densityFromTP(T, 0.0, Phase::kSaturatedLiquid), 0.316819637748426);
    EXPECT_EQ(densityFromTP(T, 3.0, Phase::kSaturatedVapour), 0.316819637748426);
  }
}

TEST(Kkhm69Density, SinglePhase) {
  EXPECT_NEAR(densityFromTP(1000.0, 0.1, Phase::kSinglePhase), 0.00021674, 5e-9);
  EXPECT_NEAR(densityFromTP(700.0, 30.0, Phase::kSinglePhase), 0.183989, 5e-7);
  // The floor holds the first supercritical step at a quarter of the pair.
  density::SecantOptions one;
  one.stepLimit = 1;
  one.floor = true;
  one.startRule = density::StartRule::kFirstStart;
  const double rho2 = 0.1 / (2.5 * kR * 1000.0);
  const double first =
      density::secantDensity(pressureFromTD, 1000.0, 0.1, 0.9504589132452779, rho2, one);
  EXPECT_NEAR(first, 0.2376, 1e-4);
  vapordex::testing::expectDensityBranches(densityFromTP, pressureFromTD, saturationPressure);
}

// The analytic pressure and entropy against finite differences of psi.
TEST(Kkhm69, ConsistentWithTheHelmholtzFunction) {
  struct State {
    double T, rho;
  };
  const State states[] = {{280, 1.0},  {280, 1e-5}, {400, 0.94}, {400, 0.001}, {600, 0.65},
                          {600, 0.05}, {645, 0.32}, {700, 0.3},  {1000, 1.0},  {1200, 0.01}};
  for (const auto [T, rho] : states) {
    const double p =
        rho * rho *
        centralDifference([&](double r) { return helmholtzEnergy(T, r); }, rho, rho * 1e-6);
    const double s =
        -centralDifference([&](double t) { return helmholtzEnergy(t, rho); }, T, T * 1e-6);
    EXPECT_NEAR(pressureFromTD(T, rho), p, 1e-6 * std::fabs(p) + 1e-6) << T << " " << rho;
    EXPECT_NEAR(entropyFromTD(T, rho), s, 1e-6) << T << " " << rho;
    // h = psi + T s + P / rho.
    EXPECT_NEAR(enthalpyFromTD(T, rho), helmholtzEnergy(T, rho) + T * s + p / rho, 1e-4)
        << T << " " << rho;
  }
}

}  // namespace
}  // namespace vapordex::kkhm69
