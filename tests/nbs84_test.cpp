#include "engines/helmholtz/nbs84.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "density_checks.hpp"
#include "engines/helmholtz/iapws95.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex::nbs84 {
namespace {

using vapordex::testing::centralDifference;
using vapordex::testing::number;

TEST(Nbs84Saturation, PressureTemperatureAndClamps) {
  EXPECT_NEAR(saturationPressure(373.15), 0.1011510, 5e-8);
  EXPECT_NEAR(saturationTemperature(0.101325), 373.1982, 5e-5);
  // Its own vapour-pressure equation jumps at both clamps.
  EXPECT_NEAR(saturationPressure(273.16 + 1e-9), 0.0006107163, 5e-11);
  EXPECT_NEAR(saturationPressure(647.126 - 1e-9), 22.022, 5e-4);
}

TEST(Nbs84Saturation, StatesAt373K) {
  const double rhoF = densityFromTP(373.15, 0.0, Phase::kSaturatedLiquid);
  const double rhoG = densityFromTP(373.15, 0.0, Phase::kSaturatedVapour);
  EXPECT_NEAR(rhoF, 0.958466, 1e-6);
  EXPECT_NEAR(rhoG, 0.00059648, 5e-9);
  EXPECT_NEAR(enthalpyFromTD(373.15, rhoF), 416.02, 5e-3);
  EXPECT_NEAR(enthalpyFromTD(373.15, rhoG), 2672.71, 5e-3);
  EXPECT_NEAR(entropyFromTD(373.15, rhoF), 1.29680, 1e-5);
  EXPECT_NEAR(entropyFromTD(373.15, rhoG), 7.34507, 5e-6);
  for (double T : {647.126, 700.0}) {
    EXPECT_EQ(densityFromTP(T, 0.0, Phase::kSaturatedLiquid), 0.322);
    EXPECT_EQ(densityFromTP(T, 5.0, Phase::kSaturatedVapour), 0.322);
  }
}

// The reference-state terms put the zero of energy and entropy at the
// triple-point liquid.
TEST(Nbs84, TriplePointLiquid) {
  const double rho = densityFromTP(273.16, 0.0, Phase::kSaturatedLiquid);
  EXPECT_NEAR(rho, 0.999475, 2e-6);
  EXPECT_NEAR(enthalpyFromTD(273.16, rho), 0.0007, 3e-4);
  EXPECT_NEAR(entropyFromTD(273.16, rho), 0.0, 2e-6);
}

// In the ideal-gas limit the two formulations differ by their reference
// states only.
TEST(Nbs84, IdealGasLimitAgainstIapws95) {
  for (double T : {400.0, 600.0, 900.0}) {
    const double rho = 1e-9;
    EXPECT_NEAR(iapws95::enthalpyFromTD(T, rho) - enthalpyFromTD(T, rho), 3.58, 0.01) << T;
    EXPECT_NEAR(iapws95::entropyFromTD(T, rho) - entropyFromTD(T, rho), 0.01215, 1e-4) << T;
  }
}

TEST(Nbs84, CriticalTermsShapeTheEntropy) {
  EXPECT_NEAR(freeEnergy(645.0, 0.32).sCritical, -0.0206, 5e-5);
  EXPECT_NEAR(freeEnergy(400.0, 0.9).sCritical, 0.0, 1e-3);
}

// The analytic pressure and entropy against finite differences of A. The
// residual terms cancel to a small A from terms of order 1e6, so the steps
// are larger than usual.
TEST(Nbs84, ConsistentWithTheFreeEnergy) {
  struct State {
    double T, rho;
  };
  const State states[] = {{280, 1.0},  {280, 1e-5}, {400, 0.94}, {400, 0.001},
                          {600, 0.65}, {600, 0.05}, {645, 0.32}, {641, 0.3},
                          {700, 0.3},  {1000, 1.0}, {300, 1.5},  {1200, 0.01}};
  for (const auto [T, rho] : states) {
    const double p =
        rho * rho *
        centralDifference([&](double r) { return freeEnergy(T, r).a; }, rho, rho * 1e-4);
    const double s =
        -centralDifference([&](double t) { return freeEnergy(t, rho).a; }, T, T * 1e-5);
    EXPECT_NEAR(pressureFromTD(T, rho), p, 2e-6 * std::fabs(p) + 1e-6) << T << " " << rho;
    EXPECT_NEAR(entropyFromTD(T, rho), s, 2e-6) << T << " " << rho;
  }
}

TEST(Nbs84Density, BranchesAndTargets) {
  vapordex::testing::expectDensityBranches(densityFromTP, pressureFromTD, saturationPressure);
}

}  // namespace
}  // namespace vapordex::nbs84
