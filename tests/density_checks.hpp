// Checks shared by the density-based engines' tests: the single-phase
// density keeps to its branch of the saturated densities and meets its
// target pressure within the solver's tolerance.
#pragma once

#include <gtest/gtest.h>

#include "engines/common/phase.hpp"

namespace vapordex::testing {

inline void expectDensityBranches(double (*densityFromTP)(double, double, Phase),
                                  double (*pressureFromTD)(double, double),
                                  double (*saturationPressure)(double)) {
  for (double T = 280.0; T < 645.0; T += 25.0) {
    const double ps = saturationPressure(T);
    const double rhoF = densityFromTP(T, 0.0, Phase::kSaturatedLiquid);
    const double rhoG = densityFromTP(T, 0.0, Phase::kSaturatedVapour);
    for (double f : {1.0000001, 1.001, 1.01, 2.0, 3.0, 10.0, 50.0}) {
      const double rho = densityFromTP(T, ps * f, Phase::kSinglePhase);
      EXPECT_GE(rho, rhoF);
      EXPECT_NEAR(pressureFromTD(T, rho) / (ps * f), 1.0, 4e-4) << T << " " << f;
    }
    for (double f : {1.0, 0.99, 0.5, 0.01, 0.001}) {
      const double rho = densityFromTP(T, ps * f, Phase::kSinglePhase);
      EXPECT_LE(rho, rhoG);
      EXPECT_NEAR(pressureFromTD(T, rho) / (ps * f), 1.0, 4e-4) << T << " " << f;
    }
  }
  for (double P : {0.01, 1.0, 22.0, 60.0, 100.0}) {
    const double rho = densityFromTP(800.0, P, Phase::kSinglePhase);
    EXPECT_NEAR(pressureFromTD(800.0, rho) / P, 1.0, 4e-4) << P;
  }
}

}  // namespace vapordex::testing
