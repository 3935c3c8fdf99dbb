#include "frontend/inverse.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "frontend/cores.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex {
namespace {

using vapordex::testing::number;

struct State {
  double T;
  double P;
};

// Compressed liquid, superheated vapour and supercritical states.
constexpr State kStates[] = {{300, 1},    {300, 50},  {400, 0.5}, {450, 10},  {550, 20},
                             {373, 0.05}, {500, 0.1}, {600, 5},   {800, 1},   {1200, 0.01},
                             {700, 30},   {900, 100}, {650, 25},  {1400, 60}, {290, 0.001}};

// The round trips of TofPH, TofPS, SofPH and HofPS for every formulation are
// in formulations_test.

TEST(Inverse, EnthalpyFromTemperatureAndEntropy) {
  for (const State& st : kStates) {
    if (st.P > 200) continue;
    const double s = SofTPCore(st.T, st.P, 97);
    const double h = HofTPCore(st.T, st.P, 97);
    // 32 halvings of ln(220.64 / 1e-6) leave ln P within 4.5e-9.
    EXPECT_NEAR(HofTSByPressure(st.T, s, 97), h, 1e-5 * std::fabs(h) + 1e-3) << st.T << " " << st.P;
  }
  // Compressed liquid is found above the saturation pressure, vapour below.
  const double T = 450.0;
  const double ps = PsatCore(T, 97);
  const double hLiquid = HofTSByPressure(T, SfCore(T, 97) - 0.01, 97);
  const double hVapour = HofTSByPressure(T, SgCore(T, 97) + 0.01, 97);
  EXPECT_GT(hLiquid, HofTPCore(T, ps * 1.0000001, 97) - 5.0);
  EXPECT_LT(hLiquid, HfCore(T, 97) + 5.0);
  EXPECT_GT(hVapour, HgCore(T, 97));
  // The fourth argument is ignored.
  EXPECT_EQ(number(HofTS(700.0, 6.0, -97, 0)), number(HofTS(700.0, 6.0, -97, 12345)));
  EXPECT_EQ(number(HofTS(700.0, 6.0, -97, -1)), HofTSByPressure(700.0, 6.0, 97));
}

TEST(Inverse, TwoPhaseStatesByQuality) {
  const double P = 1.0;
  const double ts = TsatCore(P, 97);
  const double hf = HfCore(ts, 97);
  const double hg = HgCore(ts, 97);
  const double sf = SfCore(ts, 97);
  const double sg = SgCore(ts, 97);
  EXPECT_EQ(TofPHCore(P, hf, 97), ts);
  EXPECT_EQ(TofPHCore(P, hg, 97), ts);
  EXPECT_EQ(TofPHCore(P, 0.5 * (hf + hg), 97), ts);
  EXPECT_EQ(TofPSCore(P, sf, 97), ts);
  EXPECT_EQ(TofPSCore(P, sg, 97), ts);
  EXPECT_EQ(SofPHCore(P, hf, 97), sf);
  EXPECT_EQ(HofPSCore(P, sf, 97), hf);
  const double x = 0.3;
  const double h = hf + x * (hg - hf);
  EXPECT_DOUBLE_EQ(SofPHCore(P, h, 97), sf + x * (sg - sf));
  EXPECT_DOUBLE_EQ(HofPSCore(P, sf + x * (sg - sf), 97), h);
  const double T = 400.0;
  EXPECT_DOUBLE_EQ(HofTSByPressure(T, SfCore(T, 97) + x * (SgCore(T, 97) - SfCore(T, 97)), 97),
                   HfCore(T, 97) + x * (HgCore(T, 97) - HfCore(T, 97)));
}

// An entropy the phase's interval reaches gives a temperature within it; one
// it does not reach (far below the triple-point liquid, far above the vapour
// at 1500 K) gives the error value, never the interval's end.
TEST(Inverse, TemperatureFromEntropyStaysWithinItsBounds) {
  for (double P : {0.001, 0.1, 1.0, 10.0, 20.0}) {
    const double ts = TsatCore(P, 97);
    for (double ds : {0.001, 0.1, 1.0, 5.0, 50.0}) {
      const double sBelow = SfCore(ts, 97) - ds;
      const double below = TofPSCore(P, sBelow, 97);
      if (sBelow >= SofTPCore(273.15, P, 97)) {
        EXPECT_GE(below, 273.15) << P << " " << ds;
        EXPECT_LE(below, ts) << P << " " << ds;
      } else {
        EXPECT_EQ(below, kErrorValue) << P << " " << ds;
      }
      const double sAbove = SgCore(ts, 97) + ds;
      const double above = TofPSCore(P, sAbove, 97);
      if (sAbove <= SofTPCore(1500.0, P, 97)) {
        EXPECT_GE(above, ts) << P << " " << ds;
        EXPECT_LE(above, 1500.0) << P << " " << ds;
      } else {
        EXPECT_EQ(above, kErrorValue) << P << " " << ds;
      }
    }
  }
}

TEST(Inverse, EnglishUnits) {
  // 1000 psia and 500 F, there and back.
  const double h = number(HofTP(500.0, 1000.0, 97));
  EXPECT_NEAR(number(TofPH(1000.0, h, 97)), 500.0, 0.02);
  const double s = number(SofTP(500.0, 1000.0, 97));
  EXPECT_NEAR(number(TofPS(1000.0, s, 97)), 500.0, 0.05);
  EXPECT_NEAR(number(HofPS(1000.0, s, 97)), h, 0.01);
  EXPECT_NEAR(number(SofPH(1000.0, h, 97)), s, 1e-5);
  EXPECT_NEAR(number(HofTS(500.0, s, 97, 97)), h, 0.01);
}

}  // namespace
}  // namespace vapordex
