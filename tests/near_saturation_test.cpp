// Scans near the saturation line and the critical point, per formulation:
// the inverse functions find single-phase states on the right side of the
// line, volumes near the critical point lie on the right branch, and the
// saturated states obey Clausius-Clapeyron.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "engines/helmholtz/iapws95.hpp"
#include "frontend/engine_ops.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex {
namespace {

using vapordex::testing::number;

// IAPWS-95 volume at (T, P) on the state's branch, solved tightly: a
// reference independent of the secant solver.
double referenceVolume(double T, double P) { return 1.0 / iapws95::referenceDensity(T, P); }

struct Formulation {
  std::int32_t code;
  double criticalTemperature;
  // Largest relative deviation of VofTP from the IAPWS-95 reference in the
  // critical box where both put the state in the same phase (measured, with
  // a margin): the formulations place their critical points differently.
  double boxBound;
  // Largest relative miss of Clausius-Clapeyron up to 646 K (measured, with
  // a margin): each formulation's saturation pressure is its own equation,
  // not the Maxwell construction of its equation of state.
  double clapeyronBound;
};

void PrintTo(const Formulation& f, std::ostream* os) { *os << "code " << f.code; }

class NearSaturation : public ::testing::TestWithParam<Formulation> {
 protected:
  std::int32_t si() const { return -GetParam().code; }
  double psat(double T) const { return number(Psat(T, si())); }
};

// Single-phase states from 0.01 K to 5 K either side of saturation: TofPH and
// TofPS reproduce h and s within their tolerances on the state's side of the
// line; SofPH and HofPS agree with the state. States that the formulation's
// own saturated values put inside the dome are answered as two-phase and are
// not single-phase round trips.
TEST_P(NearSaturation, InverseFunctionsFindTheSinglePhaseState) {
  const std::int32_t c = si();
  int tested = 0;
  for (double P : {0.001, 0.01, 0.1, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 18.0, 20.0, 21.5}) {
    const double ts = number(Tsat(P, c));
    const double hf = number(Hf(ts, c));
    const double hg = number(Hg(ts, c));
    const double sf = number(Sf(ts, c));
    const double sg = number(Sg(ts, c));
    for (double dT : {-5.0, -3.0, -1.0, -0.3, -0.1, -0.01, 0.01, 0.1, 0.3, 1.0, 3.0, 5.0}) {
      const double T = ts + dT;
      if (T < 273.16) continue;
      const std::string at = "P " + std::to_string(P) + " T " + std::to_string(T);
      const bool liquid = dT < 0.0;
      const double h = number(HofTP(T, P, c));
      const double s = number(SofTP(T, P, c));
      if (h < hf || h > hg) {
        const double t = number(TofPH(P, h, c));
        EXPECT_LE(std::fabs(number(HofTP(t, P, c)) - h), 0.01) << at;
        EXPECT_EQ(t < ts, liquid) << at << ": " << t;
        EXPECT_NEAR(number(SofPH(P, h, c)), s, 1e-3) << at;
        ++tested;
      }
      if (s < sf || s > sg) {
        const double t = number(TofPS(P, s, c));
        EXPECT_LE(std::fabs(number(SofTP(t, P, c)) - s), 1e-5) << at;
        EXPECT_EQ(t < ts, liquid) << at << ": " << t;
        // The loose density tolerance of the density-based formulations
        // makes s(T) flat to 1e-5 over a few 0.01 K.
        EXPECT_NEAR(number(HofPS(P, s, c)), h, 0.2) << at;
        ++tested;
      }
    }
  }
  EXPECT_GT(tested, 200);
}

// The critical box, 3 K either side of the critical temperature and 18 to
// 30 MPa: VofTP is finite, falls as P rises, and lies near the IAPWS-95
// state wherever the two formulations agree on the phase.
TEST_P(NearSaturation, CriticalBoxVolumesLieOnTheirBranch) {
  const std::int32_t c = si();
  const double tc95 = iapws95::kCriticalTemperature;
  for (double T = tc95 - 3.0; T <= tc95 + 3.0; T += 0.25) {
    double previous = INFINITY;
    for (double P = 18.0; P <= 30.0; P += 0.25) {
      const std::string at = "T " + std::to_string(T) + " P " + std::to_string(P);
      const double v = number(VofTP(T, P, c));
      ASSERT_TRUE(std::isfinite(v) && v > 0.0) << at << ": " << v;
      EXPECT_LE(v, previous * (1.0 + 1e-12)) << at;
      previous = v;
      const bool liquidHere = T < GetParam().criticalTemperature && P > psat(T);
      const bool liquid95 = T < tc95 && P > iapws95::saturationPressure(T);
      const bool gasHere = T < GetParam().criticalTemperature && P <= psat(T);
      const bool gas95 = T < tc95 && P <= iapws95::saturationPressure(T);
      if (liquidHere == liquid95 && gasHere == gas95) {
        EXPECT_NEAR(v / referenceVolume(T, P), 1.0, GetParam().boxBound) << at;
      }
    }
  }
}

// dPsat/dT = (hg - hf) / (T (vg - vf)) along the saturation line (MPa/K with
// kJ/kg and cm3/g).
TEST_P(NearSaturation, SaturatedStatesObeyClausiusClapeyron) {
  const std::int32_t c = si();
  for (double T = 280.0; T <= 646.0; T += 2.0) {
    const double slope = (psat(T + 0.01) - psat(T - 0.01)) / 0.02;
    const double latent =
        (number(Hg(T, c)) - number(Hf(T, c))) / (T * (number(Vg(T, c)) - number(Vf(T, c))));
    EXPECT_NEAR(latent / slope, 1.0, GetParam().clapeyronBound) << T;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formulations, NearSaturation,
    ::testing::Values(Formulation{67, 647.3, 0.45, 0.03}, Formulation{69, 647.245, 0.15, 0.03},
                      Formulation{84, 647.126, 0.2, 0.045}, Formulation{95, 647.096, 0.04, 0.006},
                      Formulation{97, 647.096, 0.04, 0.001}, Formulation{20, 647.096, 0.06, 0.012}),
    [](const auto& p) { return std::to_string(p.param.code); });

// IF97 region 3 just above the saturation pressure is compressed liquid.
TEST(If97Region3, LiquidJustAboveTheSaturationPressure) {
  for (double T : {623.5, 625.0, 630.0, 635.0, 640.0, 645.0}) {
    const double ps = number(Psat(T, -97));
    for (double f = 0.0; f <= 0.05; f += 0.0025) {
      const double P = ps * (1.0 + f) * (1.0 + 1e-12);
      const double v = number(VofTP(T, P, -97));
      EXPECT_NEAR(v / referenceVolume(T, P), 1.0, 0.01) << T << " " << P;
      EXPECT_LE(v, number(Vf(T, -97)) * (1.0 + 1e-9)) << T << " " << P;
    }
  }
}

// Each reproduction of a plainly wrong result that was mended, with its
// right value (IAPWS-95 or IF97 solved tightly) or the error value.
TEST(NearSaturation, MendedReproductions) {
  EXPECT_NEAR(number(TofPH(0.5, 2750.5126540438932, -97)), 425.99, 0.01);
  EXPECT_NEAR(number(SofPH(5, 2794.2714401717089, -97)), 5.974, 0.001);
  EXPECT_NEAR(number(VofTP(625, 17.2, -97)), 1.75, 0.01);
  EXPECT_NEAR(number(Hg(645, -97)), number(Hg(645, -95)), 6.0);
  EXPECT_NEAR(number(Vf(645, -97)) / number(Vf(645, -95)), 1.0, 0.01);
  EXPECT_NEAR(number(VofTP(646.6, 100, -84)), 1.37, 0.01);
  EXPECT_NEAR(number(Vf(646.3, -84)) / number(Vf(646.3, -95)), 1.0, 0.05);
  EXPECT_NEAR(number(Vf(646.6, -84)) / number(Vf(646.6, -95)), 1.0, 0.05);
  EXPECT_NEAR(number(HofTP(646.92225, 30, -84)), number(HofTP(646.92225, 30, -95)), 20.0);
  EXPECT_NEAR(number(HofTP(646.916, 25, -84)), number(HofTP(646.916, 25, -95)), 40.0);
  EXPECT_NEAR(number(VofTP(647.5, 22.5, -95)), 2.296, 0.001);
  EXPECT_NEAR(number(VofTP(647.0935, 22.5, -95)), 2.238, 0.001);
  const double s = number(SofTV(647.096, 3.10559, -95));
  EXPECT_NEAR(s, number(SofTV(647.1, 3.10559, -95)), 0.01);
  EXPECT_NEAR(number(VofTP(647.08, 100, -20)), 1.37, 0.01);
  EXPECT_EQ(number(TofPS(0.16159235711424794, 10.91120074889162, -95)), -999.0);
  EXPECT_EQ(number(HofPS(0.16159235711424794, 10.91120074889162, -95)), -999.0);
  EXPECT_EQ(number(HofPS(0.16159235711424794 * 145.0377377, 10.91120074889162 / 4.1868, 95)),
            -999.0);
}

}  // namespace
}  // namespace vapordex
