#include "engines/fit2020/fit2020.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "engines/fit2020/bridging_cubic.hpp"
#include "engines/fit2020/cubic_parameters.hpp"
#include "engines/fit2020/property_table.hpp"
#include "engines/fit2020/spline.hpp"
#include "frontend/cores.hpp"
#include "frontend/worksheet.hpp"
#include "test_support.hpp"

namespace vapordex::fit2020 {
namespace {

using vapordex::testing::number;

const auto& kRows = kPropertyTable.rows;

// ---- The table ----

TEST(Fit2020Table, LayoutAndIndex) {
  ASSERT_EQ(kPropertyTable.count, 30941);
  ASSERT_EQ(kIsothermIndex.count, 154);
  // The index is what the build over the rows gives.
  int k = 0;
  for (int r = 0; r < kTableRows; ++r) {
    if (r == 0 || kRows[r][kT] > kRows[r - 1][kT]) {
      ASSERT_LT(k, 154);
      EXPECT_EQ(kIsothermIndex.first[k], r);
      EXPECT_EQ(kIsothermIndex.temperature[k], kRows[r][kT]);
      ++k;
    }
  }
  EXPECT_EQ(k, 154);
  for (int i = 0; i < 154; ++i) {
    const int next = i + 1 < 154 ? kIsothermIndex.first[i + 1] : kTableRows;
    EXPECT_EQ(kIsothermIndex.rows[i], next - kIsothermIndex.first[i]);
    const double T = kIsothermIndex.temperature[i];
    const int expected = T < 645.0 ? 202 : T == 645.0 ? 114 : 201;
    EXPECT_EQ(kIsothermIndex.rows[i], expected) << T;
    for (int r = kIsothermIndex.first[i] + 1; r < next; ++r) {
      EXPECT_GT(kRows[r][kLnRho], kRows[r - 1][kLnRho]) << r;
    }
    if (T < 647.096) {
      const int f = kIsothermIndex.first[i];
      EXPECT_EQ(kRows[f + 100][kLnP], kRows[f + 101][kLnP]) << T;  // the two-phase gap
    }
  }
}

// The telling reference rows. Rows away from the saturation line and the
// 2e5 MPa end are reproduced exactly; the others carry the reference rows'
// approximate saturation states or end densities, which a real
// IAPWS-95 phase equilibrium and end-point solve cannot reproduce. Each
// tolerance below states how far the regenerated value may lie.
TEST(Fit2020Table, TellingRows) {
  struct Telling {
    int row;
    double lnRho, lnP, h, s;
    double tolLnRho, tolLnP, tolH, tolS;  // 0: exact to the stored rounding
  };
  const Telling rows[] = {
      // Exact.
      {0, -17.9659, -13.1224, 2504.88, 11.811, 0, 0, 0, 0},
      {1, -17.9073, -13.0638, 2504.88, 11.784, 0, 0, 0, 0},
      {15062, -18.8216, -13.1224, 3226.56, 13.4593, 0, 0, 0, 0},
      {30740, -21.0486, -13.1224, 19279.0, 19.6159, 0, 0, 0, 0},
      // The critical-density row: P one unit of the last stored digit apart.
      {15162, -1.1332, 3.094, 2084.26, 4.407, 0, 1e-4, 0, 0},
      // Saturated rows: pressure within 1.5 %, vapour density within 0.6 %,
      // vapour enthalpy within 15 kJ/kg (645 K), liquid within 0.5 %.
      {100, -12.108, -7.2683, 2504.07, 9.106, 6e-3, 1.5e-2, 0.5, 1e-3},
      {101, -0.0001, -7.2683, 7.86, 0.0283, 1e-4, 1.5e-2, 0.2, 1e-4},
      {7170, -5.3366, -0.0714, 2774.39, 6.6091, 6e-3, 1.5e-2, 0.5, 1e-3},
      {7171, -0.1163, -0.0714, 748.77, 2.1096, 1e-4, 1.5e-2, 0.5, 1e-3},
      {15048, -1.4998, 3.0688, 2269.32, 4.6966, 6e-3, 1.5e-2, 15.0, 2e-2},
      {15049, -0.8581, 3.0688, 1934.23, 4.1772, 5e-3, 1.5e-2, 5.0, 1e-2},
      // First liquid node after the saturated liquid: spaced from it.
      {102, 0.0121, 3.2253, 32.72, 0.0281, 1e-4, 5e-3, 0.15, 1e-4},
      // Ends of the liquid branch at 2e5 MPa. At 275 K the reference rows'
      // pressures lie above IAPWS-95 there; at 645 K its end node sits at
      // 2.04e5 MPa; elsewhere the end enthalpy differs by under 1 kJ/kg.
      {201, 1.2153, 12.3013, 22179.2, -189.717, 0, 0.1, 1.0, 0.005},
      {15061, 1.1867, 12.2274, 77857.1, -1.0012, 4e-3, 0.025, 1310.0, 0.02},
      {15262, 1.1831, 12.2061, 76552.1, -0.9846, 0, 0, 1.0, 0},
      {30940, 1.1308, 12.2061, 97935.8, 7.6674, 0, 0, 1.0, 0},
  };
  for (const Telling& t : rows) {
    const double* r = kRows[t.row];
    EXPECT_NEAR(r[kLnRho], t.lnRho, t.tolLnRho + 1e-12) << t.row;
    EXPECT_NEAR(r[kLnP], t.lnP, t.tolLnP + 1e-12) << t.row;
    EXPECT_NEAR(r[kH], t.h, t.tolH + 1e-12) << t.row;
    EXPECT_NEAR(r[kS], t.s, t.tolS + 1e-12) << t.row;
  }
}

// ---- The lookup ----

// The searches as plain linear scans from the start: the reference that the
// engine's bisections must match row for row.
int linearIsothermPair(double T) {
  if (T <= kIsothermIndex.temperature[0]) return 0;
  for (int k = 1; k < kIsothermIndex.count; ++k) {
    if (kIsothermIndex.temperature[k] >= T) return k - 1;
  }
  return kIsothermIndex.count - 2;
}

int linearRowInterval(int isotherm, double lambda) {
  const int f = kIsothermIndex.first[isotherm];
  const int n = kIsothermIndex.rows[isotherm];
  if (lambda <= kRows[f][kLnRho]) return f;
  for (int k = 1; k < n; ++k) {
    if (kRows[f + k][kLnRho] >= lambda) return f + k - 1;
  }
  return f + n - 2;
}

TEST(Fit2020Lookup, BisectionSelectsTheSameRowsAsTheLinearScan) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::nan("");
  std::vector<double> temperatures = {nan,    inf,    -inf,  0.0,     -1.0,  270.0, 275.0,
                                      6000.0, 7000.0, 645.0, 647.096, 640.0, 1e300};
  std::vector<double> lambdas = {nan, inf, -inf, 0.0, -30.0, 5.0};
  for (int i = 0; i < 154; ++i) temperatures.push_back(kIsothermIndex.temperature[i]);
  for (int r = 0; r < kTableRows; r += 7) lambdas.push_back(kRows[r][kLnRho]);
  std::mt19937_64 generator(20201);
  std::uniform_real_distribution<double> t(260.0, 6100.0);
  std::uniform_real_distribution<double> l(-23.0, 2.0);
  for (int k = 0; k < 20000; ++k) {
    temperatures.push_back(t(generator));
    lambdas.push_back(l(generator));
  }
  for (double T : temperatures) ASSERT_EQ(isothermPair(T), linearIsothermPair(T)) << T;
  for (int i = 0; i < 154; ++i) {
    for (double lambda : lambdas) {
      ASSERT_EQ(rowInterval(i, lambda), linearRowInterval(i, lambda)) << i << " " << lambda;
    }
  }
}

TEST(Fit2020Lookup, NodesPairsAndGap) {
  // A node returns its own values.
  for (int r : {0, 57, 101, 150, 7171, 15162, 30940}) {
    const double T = kRows[r][kT];
    const TableState st = lookup(T, std::exp(kRows[r][kLnRho]));
    EXPECT_DOUBLE_EQ(st.P, std::exp(kRows[r][kLnP])) << r;
    EXPECT_NEAR(st.h, kRows[r][kH], 1e-9 * std::fabs(kRows[r][kH])) << r;
    EXPECT_NEAR(st.s, kRows[r][kS], 1e-12 + 1e-12 * std::fabs(kRows[r][kS])) << r;
  }
  EXPECT_EQ(isothermPair(275.0), 0);
  EXPECT_EQ(isothermPair(6000.0), 152);
  EXPECT_EQ(isothermPair(270.0), 0);
  EXPECT_EQ(isothermPair(642.0), 73);  // 640 K (202 rows) and 645 K (114 rows)
  EXPECT_EQ(rowInterval(74, 5.0), kIsothermIndex.first[74] + 112);
  // Extrapolation below the first isotherm continues the (275, 280) pair.
  const TableState a = lookup(275.0, 0.5);
  const TableState b = lookup(280.0, 0.5);
  const TableState c = lookup(270.0, 0.5);
  EXPECT_NEAR(c.h, 2.0 * a.h - b.h, 1e-9);
  // Inside the gap at 450 K: the saturation pressure of the isotherm.
  const int f450 = kIsothermIndex.first[35];
  ASSERT_EQ(kIsothermIndex.temperature[35], 450.0);
  const double gapP = std::exp(kRows[f450 + 100][kLnP]);
  for (double lnRho : {-5.0, -2.0, -0.2}) {
    EXPECT_NEAR(lookup(450.0, std::exp(lnRho)).P, gapP, 1e-15) << lnRho;
  }
  // A non-positive density is looked up at 1 g/cm3.
  EXPECT_EQ(lookup(500.0, 0.0).h, lookup(500.0, 1.0).h);
  EXPECT_EQ(lookup(500.0, -3.0).P, lookup(500.0, 1.0).P);
}

// The enthalpy and entropy take h and s without the pressure: the same
// doubles as the full lookup, on both branches of the liquid's pressure
// interpolation, at and beyond the table's ends, and at a non-positive
// density.
TEST(Fit2020Lookup, LookupEnergiesAreTheLookups) {
  std::mt19937_64 random(2020);
  std::uniform_real_distribution<double> temperature(260.0, 2300.0);
  std::uniform_real_distribution<double> lnRho(-14.0, 0.5);
  for (int k = 0; k < 20000; ++k) {
    const double T = k % 100 == 0 ? 6000.0 : temperature(random);
    const double rho = k % 97 == 0 ? 0.0 : std::exp(lnRho(random));
    const TableState full = lookup(T, rho);
    const TableState energies = lookupEnergies(T, rho);
    ASSERT_EQ(energies.h, full.h) << T << " " << rho;
    ASSERT_EQ(energies.s, full.s) << T << " " << rho;
  }
}

// ---- The splines ----

TEST(Fit2020Spline, RefusesBadNodes) {
  const double x2[] = {1.0, 1.0};
  const double q2[] = {1.0, 2.0};
  EXPECT_EQ(buildSpline(x2, q2, 2).n, 0);
  const double x3[] = {1.0, 3.0, 2.0};
  const double q3[] = {1.0, 2.0, 3.0};
  EXPECT_EQ(buildSpline(x3, q3, 3).n, 0);
  EXPECT_EQ(buildSpline(x3, q3, 1).n, 0);
  EXPECT_EQ(splineEvaluate(buildSpline(x3, q3, 1), 2.0), 0.0);
  // Two nodes: the straight line.
  const double xs[] = {1.0, 3.0};
  const Spline line = buildSpline(xs, q2, 2);
  EXPECT_EQ(splineEvaluate(line, 2.0), 1.5);
  EXPECT_EQ(splineEvaluate(line, 5.0), 3.0);
}

TEST(Fit2020Spline, ReproducesCubicsAndNodes) {
  // The end conditions make the spline exact for a cubic.
  double x[12];
  double q[12];
  auto cubic = [](double v) { return 2.0 - v + 0.5 * v * v - 0.25 * v * v * v; };
  for (int i = 0; i < 12; ++i) {
    x[i] = 0.3 * i + 0.01 * i * i;
    q[i] = cubic(x[i]);
  }
  const Spline s = buildSpline(x, q, 12);
  for (double v = -0.5; v < 5.0; v += 0.173) EXPECT_NEAR(splineEvaluate(s, v), cubic(v), 1e-9) << v;
  EXPECT_NEAR(splineEvaluate(s, 1.0, 1), -1.0 + 1.0 - 0.75, 1e-9);
  // The parameter splines pass through their nodes.
  for (int i = 0; i < kCubicNodes; ++i) {
    const double xi = kCubicParameters[i].T / kCriticalTemperature;
    EXPECT_NEAR(splineEvaluate(splineA(), xi), kCubicParameters[i].A, 1e-12) << i;
    EXPECT_NEAR(splineEvaluate(splineB(), xi), kCubicParameters[i].B, 1e-12) << i;
    EXPECT_NEAR(splineEvaluate(splineC(), xi), kCubicParameters[i].C, 1e-12) << i;
  }
  EXPECT_EQ(splineEvaluate(splineA(), 273.16 / kCriticalTemperature), kCubicParameters[0].A);
  EXPECT_EQ(splineEvaluate(splineC(), 1.0), kCubicParameters[99].C);
}

// ---- The engine ----

TEST(Fit2020, Correlations) {
  EXPECT_EQ(saturationPressure(273.16), 0.000611657);
  EXPECT_NEAR(saturationPressure(273.16 + 1e-9), 0.000612837, 5e-10);
  EXPECT_EQ(saturationPressure(647.096), 22.064);
  EXPECT_EQ(saturationPressure(999.0), 22.064);
  EXPECT_EQ(saturationTemperature(0.0), 273.16);
  EXPECT_EQ(saturationTemperature(9999.0), 647.096);
  EXPECT_NEAR(saturationTemperature(0.101325), 373.124875, 5e-7);
  EXPECT_NEAR(saturationPressure(373.15), 0.101416, 5e-7);
  EXPECT_NEAR(saturationPressure(500.0), 2.63879, 5e-6);
  EXPECT_NEAR(saturatedLiquidDensity(300.0), 0.996626, 5e-7);
  EXPECT_NEAR(saturatedLiquidDensity(500.0), 0.831763, 5e-7);
  EXPECT_NEAR(saturatedVapourCompressibility(300.0), 0.998849, 5e-7);
  EXPECT_NEAR(saturatedVapourDensity(300.0), 2.55722e-5, 5e-11);
  EXPECT_NEAR(saturatedVapourDensity(500.0), 0.0131975, 5e-8);
  for (double T : {647.096, 700.0}) {
    EXPECT_EQ(saturatedLiquidDensity(T), 0.322);
    EXPECT_EQ(saturatedVapourDensity(T), 0.322);
    EXPECT_EQ(densityFromTP(T, 50.0, Phase::kSaturatedLiquid), 0.322);
    EXPECT_EQ(densityFromTP(T, 0.01, Phase::kSaturatedVapour), 0.322);
  }
  EXPECT_EQ(saturatedLiquidDensity(250.0), saturatedLiquidDensity(273.16));
  EXPECT_EQ(saturatedVapourDensity(100.0), saturatedVapourDensity(273.16));
}

TEST(Fit2020, DomeBridging) {
  const double T = 400.0;
  const double rhoF = saturatedLiquidDensity(T);
  // The cubic's loop: negative pressure just inside the liquid edge.
  EXPECT_NEAR(pressureFromTD(T, rhoF * (1 - 1e-6)), -6.1, 0.1);
  EXPECT_FALSE(insideDome(T, rhoF));
  EXPECT_TRUE(insideDome(T, rhoF * (1 - 1e-6)));
  EXPECT_EQ(pressureFromTD(T, rhoF), lookup(T, rhoF).P);
  // Continuous at rho_f: the bridging term vanishes there.
  EXPECT_NEAR(enthalpyFromTD(T, rhoF * (1 - 1e-12)), enthalpyFromTD(T, rhoF), 1e-6);
  EXPECT_NEAR(entropyFromTD(T, rhoF * (1 - 1e-12)), entropyFromTD(T, rhoF), 1e-9);
  // Outside the cubic's domain the sentinel.
  EXPECT_EQ(helmholtzFunction(1.0, 0.3), kDomainSentinel);
  EXPECT_EQ(entropyFunction(0.7, 0.321), kDomainSentinel);
}

// The phase bounds hold the result to its side of the correlations'
// saturated densities. Just above the saturation pressure the table
// pressure at rho_f (its own saturation states differ slightly from the
// correlations) may already exceed the target; the bound then decides.
TEST(Fit2020, DensitySolverKeepsToItsBranch) {
  for (double T = 280.0; T < 645.0; T += 30.0) {
    const double ps = saturationPressure(T);
    const double rhoF = saturatedLiquidDensity(T);
    const double rhoG = saturatedVapourDensity(T);
    for (double P : {ps * 1.0001, ps * 2.0, 25.0, 60.0, 100.0}) {
      const double rho = densityFromTP(T, P, Phase::kSinglePhase);
      EXPECT_GE(rho, rhoF) << T << " " << P;
      if (P >= 25.0) {
        EXPECT_NEAR(lookup(T, rho).P / P, 1.0, 4e-4) << T << " " << P;
      }
    }
    for (double f : {1.0, 0.5, 0.01}) {
      const double rho = densityFromTP(T, ps * f, Phase::kSinglePhase);
      EXPECT_LE(rho, rhoG) << T << " " << f;
      if (f < 1.0) {
        EXPECT_NEAR(lookup(T, rho).P / (ps * f), 1.0, 4e-4) << T << " " << f;
      }
    }
  }
  for (double P : {0.01, 1.0, 30.0, 100.0}) {
    const double rho = densityFromTP(900.0, P, Phase::kSinglePhase);
    EXPECT_NEAR(lookup(900.0, rho).P / P, 1.0, 4e-4) << P;
  }
}

TEST(Fit2020Worksheet, AnswersWithTheEngine) {
  const double T = 450.0;
  // Saturated enthalpy and entropy use the correlations' densities.
  EXPECT_EQ(number(Hf(T, -20)), enthalpyFromTD(T, saturatedLiquidDensity(T)));
  EXPECT_EQ(number(Sg(T, -20)), entropyFromTD(T, saturatedVapourDensity(T)));
  EXPECT_EQ(number(Vg(T, -20)), 1.0 / saturatedVapourDensity(T));
  EXPECT_DOUBLE_EQ(number(Hg(T * 1.8 - 459.67, 20)),
                   enthalpyFromTD(T, saturatedVapourDensity(T)) / 2.326);
}

}  // namespace
}  // namespace vapordex::fit2020
