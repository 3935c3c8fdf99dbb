#include "engines/if97/if97.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <string>
#include <vector>

#include "test_support.hpp"

namespace vapordex::if97 {
namespace {

using vapordex::testing::halfUnitOfLastDigit;

// Every value of the release's verification tables that this engine
// computes, to the printed digit.
TEST(If97Verification, ReproducesPublishedTables) {
  const auto rows = vapordex::testing::readCsv(VDX_FIXTURES_DIR "/if97_verification.csv");
  ASSERT_GE(rows.size(), 60u);
  int checked = 0;
  for (const auto& r : rows) {
    const std::string& table = r[0];
    const std::string& property = r[4];
    const std::string& printed = r[6];
    const double expected = std::stod(printed);
    double actual = NAN;
    double slack = 0.0;
    const double T = r[1].empty() ? 0.0 : std::stod(r[1]);
    const double P = r[2].empty() ? 0.0 : std::stod(r[2]);
    if (table.find("Table 5 ") != std::string::npos ||
        table.find("Table 15 ") != std::string::npos) {
      const Properties p =
          table.find("Table 5 ") != std::string::npos ? region1(T, P) : region2(T, P);
      if (property == "v") actual = p.v;
      if (property == "h") actual = p.h;
      if (property == "u") actual = p.u;
      if (property == "s") actual = p.s;
      // The table's regions are those the state at (T, P) falls in.
      if (property == "cp") actual = derivedFromTP(T, P).cp;
      if (property == "w") actual = derivedFromTP(T, P).w;
    } else if (table.find("Table 33") != std::string::npos) {
      double pressure = 0.0;
      const Properties p = region3(T, std::stod(r[3]), &pressure);
      if (property == "p") actual = pressure;
      if (property == "cp") actual = region3Derived(T, std::stod(r[3]) / 1000.0).cp;
      if (property == "w") actual = region3Derived(T, std::stod(r[3]) / 1000.0).w;
      if (property == "h") actual = p.h;
      if (property == "u") actual = p.u;
      if (property == "s") actual = p.s;
    } else if (table.find("Table 35") != std::string::npos) {
      actual = saturationPressure(T);
    } else if (table.find("Table 36") != std::string::npos) {
      // The fixed bisection carries its own resolution on top of the rounding.
      actual = saturationTemperature(P);
      slack = (kCriticalTemperature - kTriplePointTemperature) / 4294967296.0;
    } else if (property == "p_B23") {
      actual = b23Pressure(T);
    }
    if (std::isnan(actual)) continue;  // the backward B23 form is not computed
    EXPECT_LE(std::fabs(actual - expected), halfUnitOfLastDigit(printed) + slack)
        << table << " " << property << " printed " << printed << " computed " << actual;
    ++checked;
  }
  EXPECT_EQ(checked, 61);
}

TEST(If97Saturation, TemperatureIsTheLastBisectionMidpoint) {
  const double resolution = (kCriticalTemperature - kTriplePointTemperature) / 4294967296.0;
  for (double T = 274.0; T < 647.0; T += 7.3) {
    const double ts = saturationTemperature(saturationPressure(T));
    EXPECT_NEAR(ts, T, resolution) << T;
  }
  // The last midpoint is not the bracket end: at 0.101325 MPa it lies
  // within one resolution of the root of Psat(T) = P.
  const double ts = saturationTemperature(0.101325);
  EXPECT_NEAR(saturationPressure(ts), 0.101325, 1e-9);
  EXPECT_NEAR(ts, 373.1243, 5e-5);
}

TEST(If97State, RegionSelection) {
  double v = 0, h = 0, s = 0;
  // Exactly on the saturation pressure below 623.15 K: region 1.
  const double ps = saturationPressure(500.0);
  evaluateState(500.0, ps, Phase::kSinglePhase, &v, &h, &s);
  EXPECT_EQ(h, region1(500.0, ps).h);
  evaluateState(500.0, ps * (1 - 1e-12), Phase::kSinglePhase, &v, &h, &s);
  EXPECT_EQ(h, region2(500.0, ps * (1 - 1e-12)).h);
  // At 623.15 K the B23 test decides: on the line is region 3.
  const double pb = b23Pressure(623.15);
  evaluateState(623.15, pb * 0.999, Phase::kSinglePhase, &v, &h, &s);
  EXPECT_EQ(h, region2(623.15, pb * 0.999).h);
  evaluateState(623.15, pb, Phase::kSinglePhase, &v, &h, &s);
  EXPECT_NE(h, region2(623.15, pb).h);
  EXPECT_NEAR(region3Pressure(623.15, v), pb, 1e-6);
  // No region 5: 1500 K and 10 MPa is region 2.
  evaluateState(1500.0, 10.0, Phase::kSinglePhase, &v, &h, &s);
  EXPECT_EQ(h, region2(1500.0, 10.0).h);
}

TEST(If97State, SaturatedPhasesAboveCriticalUseTheCriticalPoint) {
  for (Phase phase : {Phase::kSaturatedLiquid, Phase::kSaturatedVapour}) {
    EXPECT_EQ(specificEnthalpy(700.0, 0.0, phase), specificEnthalpy(647.096, 0.0, phase));
    EXPECT_EQ(specificVolume(900.0, 5.0, phase), specificVolume(647.096, 0.0, phase));
  }
  // At the critical temperature the two saturated phases are one state.
  EXPECT_EQ(specificEnthalpy(647.096, 0.0, Phase::kSaturatedLiquid),
            specificEnthalpy(647.096, 0.0, Phase::kSaturatedVapour));
  EXPECT_NE(specificEnthalpy(647.0, 0.0, Phase::kSaturatedLiquid),
            specificEnthalpy(647.0, 0.0, Phase::kSaturatedVapour));
  // Below the triple point the liquid is region 1 at the given T and the
  // triple-point pressure.
  EXPECT_EQ(specificEnthalpy(260.0, 0.0, Phase::kSaturatedLiquid), region1(260.0, 6.11657e-4).h);
  EXPECT_EQ(specificVolume(300.0, 3.0, Phase::kSinglePhase), region1(300.0, 3.0).v * 1000.0);
}

// The region-3 bracket encloses the standard's region-3 states and resolves
// them to about 1e-9 relative: the found volume reproduces the pressure.
TEST(If97Region3, VolumeBracketCoversTheRange) {
  struct Case {
    double T;
    double P;
  };
  const Case cases[] = {
      {623.15, 16.5291643}, {623.15, 100.0},
      {650.0, 25.5837018},  {750.0, 78.3095639},
      {647.2, 22.1},        {700.0, 100.0},
      {863.15, 100.0},      {660.0, 30.0},
      {623.15, 50.0},       {800.0, b23Pressure(800.0)},
  };
  for (const Case& c : cases) {
    const double v = region3Volume(c.T, c.P);
    EXPECT_GT(v, kRegion3VolumeLow) << c.T << " " << c.P;
    EXPECT_LT(v, kRegion3VolumeHigh) << c.T << " " << c.P;
    // The pressure at one resolution step either side brackets P.
    const double step = 2.0 * (kRegion3VolumeHigh - kRegion3VolumeLow) / 4294967296.0;
    EXPECT_GE(region3Pressure(c.T, v - step), c.P) << c.T << " " << c.P;
    EXPECT_LE(region3Pressure(c.T, v + step), c.P) << c.T << " " << c.P;
    EXPECT_LT(step / v, 5e-9);
  }
  // Table 33 states come back from their pressures.
  EXPECT_NEAR(region3Volume(650.0, 25.5837018), 1.0 / 500.0, 2e-9 / 500.0 * 10);
  EXPECT_NEAR(region3Volume(750.0, 78.3095639), 1.0 / 500.0, 2e-9 / 500.0 * 10);
  // The densest state of the range sits inside the bracket with room.
  EXPECT_GT(region3Volume(623.15, 100.0), kRegion3VolumeLow * 1.3);
  // 1073.15 K and 100 MPa lies below B23: region 2.
  EXPECT_LT(100.0, b23Pressure(1073.15));
  // Above the range the result is still a number.
  for (const Case& c : {Case{2000.0, 1000.0}, Case{700.0, 1000.0}, Case{630.0, 5000.0}}) {
    EXPECT_TRUE(std::isfinite(specificVolume(c.T, c.P, Phase::kSinglePhase)));
    EXPECT_TRUE(std::isfinite(specificEnthalpy(c.T, c.P, Phase::kSinglePhase)));
    EXPECT_TRUE(std::isfinite(specificEntropy(c.T, c.P, Phase::kSinglePhase)));
  }
}

TEST(If97Region3, ContinuousWithRegion2OnTheB23Line) {
  for (double T = 650.0; T <= 860.0; T += 30.0) {
    const double pb = b23Pressure(T);
    double v3 = 0, h3 = 0, s3 = 0;
    evaluateState(T, pb, Phase::kSinglePhase, &v3, &h3, &s3);
    const Properties r2 = region2(T, pb);
    EXPECT_NEAR(v3 / r2.v, 1.0, 2e-3) << T;
    EXPECT_NEAR(h3, r2.h, 1.0) << T;
    EXPECT_NEAR(s3, r2.s, 2e-3) << T;
  }
}

// Region-3 volumes are the plain two-pass bisection's last midpoint, bit for
// bit, also where the halvings are replayed around a located root.
TEST(If97Region3, VolumeIsThePlainBisectionsLastMidpoint) {
  testing::UnitSequence draw(3);
  for (int k = 0; k < 4000; ++k) {
    const double u = draw.next();
    const double w = draw.next();
    const double T = 623.15 + 250.0 * u;
    const double P = b23Pressure(std::fmax(T, 623.15)) + (100.0 - b23Pressure(T)) * w;
    double lo = kRegion3VolumeLow;
    double hi = kRegion3VolumeHigh;
    double mid = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
      hi = kRegion3VolumeHigh;
      for (int step = 0; step < 32; ++step) {
        mid = (hi + lo) * 0.5;
        (region3Pressure(T, mid) > P ? lo : hi) = mid;
      }
    }
    const double v = region3Volume(T, P);
    ASSERT_EQ(v, mid) << std::setprecision(17) << T << " " << P << " " << v << " " << mid;
  }
}

// The replayed region-3 volume search below the critical temperature rests
// on this: past the liquid branch's minimum, the isotherm's pressure (its
// loop) stays below kRegion3SingleRootAbove, so that a pressure above it has
// the liquid branch's root alone.
TEST(If97Region3, LoopStaysBelowTheSingleRootPressure) {
  std::vector<double> temperatures;
  for (double T = 623.15; T < kCriticalTemperature; T += 0.5) temperatures.push_back(T);
  for (double d : {1e-2, 1e-4, 1e-6, 1e-8}) temperatures.push_back(kCriticalTemperature - d);
  for (double T : temperatures) {
    int stage = 0;  // 0 rising to the dense maximum, 1 the liquid branch, 2 past its minimum
    double last = region3Pressure(T, 0.0011);
    double loopTop = 0.0;
    for (double v = 0.0011 * 1.00002; v <= kRegion3VolumeHigh; v *= 1.00002) {
      const double p = region3Pressure(T, v);
      if (stage == 0 && p < last) stage = 1;
      if (stage == 1 && p > last) stage = 2;
      if (stage == 2) loopTop = std::max(loopTop, p);
      last = p;
    }
    EXPECT_EQ(stage, 2) << T;
    EXPECT_LT(loopTop, kRegion3SingleRootAbove) << T;
  }
}

}  // namespace
}  // namespace vapordex::if97
