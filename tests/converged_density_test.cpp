// The density-based formulations answer from densities converged to their
// equations of state: the analytic slopes the solver steps with, the
// densities themselves, IAPWS-95 against a bisection of its own pressure,
// and the identity dh = T ds along isobars that every property built on a
// loosely converged density breaks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "engines/common/density_solver.hpp"
#include "engines/fit2020/bridging_cubic.hpp"
#include "engines/fit2020/fit2020.hpp"
#include "engines/fit2020/property_table.hpp"
#include "engines/helmholtz/iapws95.hpp"
#include "engines/helmholtz/kkhm69.hpp"
#include "engines/helmholtz/nbs84.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex {
namespace {

using vapordex::testing::number;

struct Engine {
  std::int32_t code;
  density::PressureFunction pressure;
  density::PressureSlopeFunction slope;
  double (*density)(double T, double P, Phase phase);
  double (*saturationPressure)(double T);
  double criticalTemperature;
  double R;
};

double tablePressure(double T, double rho) { return fit2020::lookup(T, rho).P; }

const Engine kHelmholtz[] = {
    {95, iapws95::pressureFromTD, iapws95::pressureSlopeFromTD, iapws95::densityFromTP,
     iapws95::saturationPressure, iapws95::kCriticalTemperature, iapws95::kR},
    {84, nbs84::pressureFromTD, nbs84::pressureSlopeFromTD, nbs84::densityFromTP,
     nbs84::saturationPressure, nbs84::kCriticalTemperature, nbs84::kR},
    {69, kkhm69::pressureFromTD, kkhm69::pressureSlopeFromTD, kkhm69::densityFromTP,
     kkhm69::saturationPressure, kkhm69::kCriticalTemperature, kkhm69::kR},
};
const Engine kFit2020 = {20,
                         tablePressure,
                         fit2020::lookupPressure,
                         fit2020::densityFromTP,
                         fit2020::saturationPressure,
                         fit2020::kCriticalTemperature,
                         fit2020::kR};

// The analytic dP/drho against a fourth-order difference of the pressure,
// across gas, liquid, the critical region and the supercritical range; the
// pressure that comes with the slope is the engine's pressure itself.
TEST(ConvergedDensity, AnalyticSlopeIsThePressuresDerivative) {
  for (const Engine& e : kHelmholtz) {
    for (double T : {275.0, 300.0, 373.15, 450.0, 550.0, 620.0, 647.5, 700.0, 900.0, 1073.0}) {
      for (double rho : {1e-5, 1e-3, 0.02, 0.1, 0.25, 0.3, 0.322, 0.36, 0.5, 0.7, 0.9, 1.0, 1.05}) {
        const std::string at =
            std::to_string(e.code) + " T " + std::to_string(T) + " rho " + std::to_string(rho);
        const density::PressureSlope ps = e.slope(T, rho);
        EXPECT_EQ(ps.p, e.pressure(T, rho)) << at;
        const double h = 1e-4 * rho;
        const double difference = (8.0 * (e.pressure(T, rho + h) - e.pressure(T, rho - h)) -
                                   (e.pressure(T, rho + 2 * h) - e.pressure(T, rho - 2 * h))) /
                                  (12.0 * h);
        // The ideal gas's slope R T sets the scale where the isotherm is flat.
        EXPECT_NEAR(ps.slope, difference, 1e-7 * (std::fabs(difference) + e.R * T)) << at;
      }
    }
  }
}

// What one more Newton step would change, relative to rho: at most a few
// units in the last place for a converged density.
double remainingStep(const Engine& e, double T, double target, double rho) {
  const density::PressureSlope ps = e.slope(T, rho);
  return std::fabs((ps.p - target) / ps.slope) / rho;
}

TEST(ConvergedDensity, SinglePhaseDensitiesMeetTheirPressure) {
  for (const Engine* e : {&kHelmholtz[0], &kHelmholtz[1], &kHelmholtz[2], &kFit2020}) {
    for (double T = 280.0; T <= 1073.0; T += 31.0) {
      for (double P = 0.001; P <= 100.0; P *= 2.2) {
        if (T < e->criticalTemperature && std::fabs(P / e->saturationPressure(T) - 1.0) < 1e-3) {
          continue;
        }
        const double rho = e->density(T, P, Phase::kSinglePhase);
        // Where the branch's first state already exceeds the pressure (the
        // 2020 table's liquid just above its saturation correlations), the
        // answer is that state.
        if (T < e->criticalTemperature && (rho == e->density(T, 0.0, Phase::kSaturatedLiquid) ||
                                           rho == e->density(T, 0.0, Phase::kSaturatedVapour))) {
          continue;
        }
        EXPECT_LT(remainingStep(*e, T, P, rho), 1e-11)
            << e->code << " T " << T << " P " << P << " rho " << rho;
      }
    }
  }
}

// Saturated densities meet the formulation's own saturation pressure (up to
// 10 K below its critical temperature, where both phases' isotherms still
// rise steeply enough to cross it).
TEST(ConvergedDensity, SaturatedDensitiesMeetTheSaturationPressure) {
  for (const Engine& e : kHelmholtz) {
    for (double T = 273.16; T < e.criticalTemperature - 10.0; T += 7.0) {
      const double ps = e.saturationPressure(T);
      for (Phase phase : {Phase::kSaturatedLiquid, Phase::kSaturatedVapour}) {
        const double rho = e.density(T, 0.0, phase);
        EXPECT_LT(remainingStep(e, T, ps, rho), 1e-11) << e.code << " T " << T;
      }
    }
  }
}

// IAPWS-95's v, h and s at (T, P) against the same functions at a density
// bisected to the resolution of doubles, away from the saturation line and
// the critical point.
TEST(ConvergedDensity, Iapws95MatchesABisectedDensity) {
  int states = 0;
  for (double T = 275.0; T <= 1073.15; T += 19.9) {
    for (double P = 0.001; P <= 100.0; P *= 1.6) {
      if (T < iapws95::kCriticalTemperature &&
          std::fabs(P / iapws95::saturationPressure(T) - 1.0) < 0.01) {
        continue;
      }
      if (T > 630.0 && T < 670.0 && P > 16.0 && P < 30.0) continue;
      const double rho = iapws95::referenceDensity(T, P);
      const std::string at = "T " + std::to_string(T) + " P " + std::to_string(P);
      const auto expectClose = [&](double value, double reference) {
        EXPECT_NEAR(value, reference, 1e-10 * std::fmax(std::fabs(reference), 1.0)) << at;
      };
      expectClose(number(VofTP(T, P, -95)), 1.0 / rho);
      expectClose(number(HofTP(T, P, -95)), iapws95::enthalpyFromTD(T, rho));
      expectClose(number(SofTP(T, P, -95)), iapws95::entropyFromTD(T, rho));
      ++states;
    }
  }
  EXPECT_GT(states, 800);
}

// Along an isobar dh = T ds. Over a step [T1, T2] the trapezoid rule in s
// misses by a term of third order, which a Richardson step (the same with
// the step halved) removes; what remains is the properties' own error.
TEST(ConvergedDensity, EnthalpyAndEntropyAgreeAlongIsobars) {
  for (const Engine& e : kHelmholtz) {
    const std::int32_t c = -e.code;
    double worst = 0.0;
    for (double P : {0.01, 0.1, 1.0, 5.0, 10.0, 20.0, 30.0, 50.0, 100.0}) {
      const double ts = number(Tsat(P, c));
      for (double T1 = 280.0; T1 < 1070.0; T1 += 1.0) {
        const double T2 = T1 + 1.0;
        const double Tm = T1 + 0.5;
        if (P < 22.0 && T2 > ts - 1.0 && T1 < ts + 1.0) continue;
        if (T2 > 620.0 && T1 < 680.0 && P > 15.0 && P < 35.0) continue;
        const double h1 = number(HofTP(T1, P, c));
        const double hm = number(HofTP(Tm, P, c));
        const double h2 = number(HofTP(T2, P, c));
        const double s1 = number(SofTP(T1, P, c));
        const double sm = number(SofTP(Tm, P, c));
        const double s2 = number(SofTP(T2, P, c));
        const double whole = (h2 - h1) - 0.5 * (T1 + T2) * (s2 - s1);
        const double halves =
            (hm - h1) - 0.5 * (T1 + Tm) * (sm - s1) + (h2 - hm) - 0.5 * (Tm + T2) * (s2 - sm);
        const double miss = std::fabs((4.0 * halves - whole) / 3.0) / std::fabs(h2 - h1);
        EXPECT_LT(miss, 1e-6) << e.code << " P " << P << " T " << T1;
        worst = std::fmax(worst, miss);
      }
    }
    RecordProperty("worst" + std::to_string(e.code), std::to_string(worst));
  }
}

}  // namespace
}  // namespace vapordex
