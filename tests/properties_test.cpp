// cp, cv, speed of sound, quality, viscosity, thermal conductivity and
// surface tension: the releases' check values, the thermodynamic identities
// that tie cp, cv and w to the v and h every formulation already gives, and
// the worksheet functions' units and errors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "engines/helmholtz/iapws95.hpp"
#include "engines/transport/transport.hpp"
#include "frontend/catalogue.hpp"
#include "frontend/cores.hpp"
#include "frontend/units.hpp"
#include "test_support.hpp"

namespace vapordex {
namespace {

using vapordex::testing::halfUnitOfLastDigit;

struct Printed {
  double T;
  double rho;  // kg/m3
  const char* value;
};

// IAPWS 2008, Table 4: the viscosity without the critical enhancement, uPa s.
TEST(TransportCheckValues, Viscosity) {
  const Printed table[] = {
      {298.15, 998, "889.735100"}, {298.15, 1200, "1437.649467"}, {373.15, 1000, "307.883622"},
      {433.15, 1, "14.538324"},    {433.15, 1000, "217.685358"},  {873.15, 1, "32.619287"},
      {873.15, 100, "35.802262"},  {873.15, 600, "77.430195"},    {1173.15, 1, "44.217245"},
      {1173.15, 100, "47.640433"}, {1173.15, 400, "64.154608"},
  };
  for (const Printed& p : table) {
    EXPECT_LE(std::fabs(transport::viscosity(p.T, p.rho) - std::stod(p.value)),
              halfUnitOfLastDigit(p.value))
        << p.T << " K, " << p.rho << " kg/m3";
  }
}

// IAPWS 2011, Table 7: the conductivity without the critical enhancement,
// mW/(m K).
TEST(TransportCheckValues, ConductivityWithoutEnhancement) {
  const Printed table[] = {
      {298.15, 0, "18.4341883"},
      {298.15, 998, "607.712868"},
      {298.15, 1200, "799.038144"},
      {873.15, 0, "79.1034659"},
  };
  for (const Printed& p : table) {
    EXPECT_LE(std::fabs(transport::thermalConductivityBackground(p.T, p.rho) - std::stod(p.value)),
              halfUnitOfLastDigit(p.value))
        << p.T << " K, " << p.rho << " kg/m3";
  }
}

// IAPWS 2011, Table 8: the conductivity at 647.35 K with the critical
// enhancement, its inputs from IAPWS-95 (as KofTP computes them for 95).
TEST(TransportCheckValues, ConductivityNearTheCriticalPoint) {
  const Printed table[] = {
      {647.35, 1, "51.9298924"},   {647.35, 122, "130.922885"}, {647.35, 222, "367.787459"},
      {647.35, 272, "757.959776"}, {647.35, 322, "1443.75556"}, {647.35, 372, "650.319402"},
      {647.35, 422, "448.883487"}, {647.35, 750, "600.961346"},
  };
  for (const Printed& p : table) {
    const double rho = p.rho / 1000.0;
    const Derived d = iapws95::derivedFromTD(p.T, rho);
    const double reference =
        1000.0 /
        iapws95::pressureSlopeFromTD(transport::kEnhancementReferenceTemperature, rho).slope;
    const double drhodP = d.drhodP * 1000.0;
    const double mu = transport::viscosity(p.T, p.rho) *
                      transport::viscosityEnhancement(transport::correlationLength(
                          transport::criticalExcess(p.T, p.rho, drhodP, reference)));
    const transport::EnhancementInputs in{d.cp, d.cv, drhodP, reference, mu};
    EXPECT_LE(std::fabs(transport::thermalConductivity(p.T, p.rho, in) - std::stod(p.value)),
              halfUnitOfLastDigit(p.value))
        << p.rho << " kg/m3";
    // KofTP of IAPWS-95 computes the same at the state's pressure.
    const double P = iapws95::pressureFromTD(p.T, rho);
    EXPECT_NEAR(KofTPCore(p.T, P, -95), std::stod(p.value), 1e-6 * std::stod(p.value))
        << p.rho << " kg/m3";
  }
}

// IAPWS 2014: rows of the release's table (Celsius, mN/m), and the equation
// to ten digits where python-iapws 1.5.3 computes it (its _Tension).
TEST(TransportCheckValues, SurfaceTension) {
  const struct {
    double celsius;
    const char* value;
  } table[] = {{0.01, "75.65"}, {25, "71.97"}, {100, "58.91"}, {370, "0.39"}};
  for (const auto& row : table) {
    EXPECT_LE(std::fabs(transport::surfaceTension(row.celsius + 273.15) - std::stod(row.value)),
              halfUnitOfLastDigit(row.value))
        << row.celsius;
  }
  EXPECT_NEAR(transport::surfaceTension(300.0), 71.6859625, 5e-8);
  EXPECT_NEAR(transport::surfaceTension(450.0), 42.8914992, 5e-8);
  EXPECT_EQ(transport::surfaceTension(647.096), 0.0);
  EXPECT_TRUE(std::isnan(transport::surfaceTension(647.2)));
  EXPECT_TRUE(std::isnan(transport::surfaceTension(248.0)));
}

// The identities, checked with central differences of the functions every
// formulation already has:
//   cp = (dh/dT)_P,  cp - cv = T (dv/dT)_P^2 / -(dv/dP)_T,
//   w^2 = (cp / cv) v^2 / -(dv/dP)_T.
// The states keep clear of the saturation lines and region boundaries, so
// that the differences stay in one region.
TEST(SecondDerivatives, AgreeWithDifferencesOfVolumeAndEnthalpy) {
  const std::int32_t codes[] = {-67, -69, -84, -95, -97};
  const double temperatures[] = {300.0, 400.0, 500.0, 600.0, 700.0, 800.0, 1000.0};
  const double pressures[] = {0.005, 0.1, 1.0, 5.0, 10.0, 25.0, 50.0, 100.0};
  int checked = 0;
  for (std::int32_t code : codes) {
    for (double T : temperatures) {
      for (double P : pressures) {
        const double ps = T < 647.0 ? PsatCore(T, code) : 0.0;
        if (std::fabs(P / ps - 1.0) < 0.2) continue;
        // Steps wide enough that the volume searches' resolution (region 3
        // of IF97, sub-regions 3 and 4 of IFC-67) stays below the tolerances.
        const double dT = 0.02;
        const double dP = 1e-3 * P;
        const double cpDiff = (HofTPCore(T + dT, P, code) - HofTPCore(T - dT, P, code)) / (2 * dT);
        const double v = VofTPCore(T, P, code);
        const double vT = (VofTPCore(T + dT, P, code) - VofTPCore(T - dT, P, code)) / (2 * dT);
        const double vP = (VofTPCore(T, P + dP, code) - VofTPCore(T, P - dP, code)) / (2 * dP);
        const double cp = CpofTPCore(T, P, code);
        const double cv = CvofTPCore(T, P, code);
        const double w = WofTPCore(T, P, code);
        const std::string where =
            std::to_string(code) + " at " + std::to_string(T) + " K, " + std::to_string(P) + " MPa";
        EXPECT_NEAR(cp, cpDiff, 1e-5 * cp) << where;
        EXPECT_NEAR(cp - cv, T * vT * vT / -vP, 1e-5 * cp) << where;
        // A liquid's volume moves so little over dP at low pressure that the
        // density solvers' convergence swamps the difference.
        if (std::fabs(vP * dP / v) > 1e-6) {
          EXPECT_NEAR(w * w, cp / cv * v * v / -vP * 1000.0, 1e-5 * w * w) << where;
        }
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 200);
}

// The worksheet functions: units by the sign of the code, and the error
// value where no sound answer exists.
TEST(PropertyFunctions, EnglishUnitsAreTheSiResultConverted) {
  namespace u = units;
  const double T = 500.0;
  const double P = 10.0;
  const double F = u::temperatureOut(T);
  const double psia = u::pressureOut(P);
  const struct {
    const char* name;
    double factor;  // SI per English unit
  } cases[] = {
      {"CpofTP", u::kKJPerKgKPerBtuPerLbmR},
      {"CvofTP", u::kKJPerKgKPerBtuPerLbmR},
      {"WofTP", 0.3048},
      {"MuofTP", 413.37887321376496},
      {"KofTP", 1730.7346663713913},
  };
  for (const auto& c : cases) {
    const double si = callFunction(c.name, T, P, -97);
    const double english = callFunction(c.name, F, psia, 97);
    EXPECT_NEAR(english * c.factor, si, 1e-12 * std::fabs(si)) << c.name;
  }
  EXPECT_NEAR(callFunction("SigmaofT", u::temperatureOut(373.15), 0.0, 97) * 14593.902937206361,
              callFunction("SigmaofT", 373.15, 0.0, -97), 1e-12);
  // The quality has no unit: the same from either unit system's arguments.
  const double h = 2000.0;
  EXPECT_NEAR(callFunction("XofPH", u::pressureOut(1.0), u::enthalpyOut(h), 97),
              callFunction("XofPH", 1.0, h, -97), 1e-12);
}

TEST(PropertyFunctions, ErrorsWhereNoSoundAnswerExists) {
  const double kError = -999.0;
  const struct {
    const char* name;
    double a, b;
    std::int32_t code;
  } cases[] = {
      // The 2020 formulation interpolates linearly: no second derivatives.
      {"CpofTP", 500.0, 10.0, -20},
      {"CvofTP", 500.0, 10.0, -20},
      {"WofTP", 500.0, 10.0, -20},
      {"KofTP", 500.0, 10.0, -20},
      // Inside the dome, exactly on the saturation pressure.
      {"CpofTP", 400.0, PsatCore(400.0, -97), -97},
      {"WofTP", 400.0, PsatCore(400.0, -95), -95},
      {"CvofTP", 400.0, PsatCore(400.0, -84), -84},
      // No quality at or above the critical pressure, or below the triple
      // point's.
      {"XofPH", 22.064, 2000.0, -97},
      {"XofPS", 30.0, 5.0, -95},
      {"XofPH", 1e-4, 2000.0, -97},
      // Surface tension only from 248.15 K to the critical temperature.
      {"SigmaofT", 650.0, 0.0, -97},
      {"SigmaofT", 200.0, 0.0, -97},
      // An unknown formulation.
      {"CpofTP", 500.0, 10.0, 42},
      {"MuofTP", 500.0, 10.0, 42},
      {"SigmaofT", 300.0, 0.0, 42},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(callFunction(c.name, c.a, c.b, c.code), kError)
        << c.name << "(" << c.a << ", " << c.b << ", " << c.code << ")";
  }
  // Both sides of the saturation pressure answer.
  const double ps = PsatCore(400.0, -97);
  EXPECT_GT(callFunction("CpofTP", 400.0, ps * 1.0001, -97), 4.0);
  EXPECT_GT(callFunction("CpofTP", 400.0, ps * 0.9999, -97), 1.5);
}

TEST(PropertyFunctions, QualityFollowsTheSaturatedStates) {
  for (std::int32_t code : {-67, -69, -84, -95, -97, -20}) {
    for (double P : {0.001, 0.1, 1.0, 10.0, 20.0}) {
      const double Ts = TsatCore(P, code);
      const double hf = HfCore(Ts, code);
      const double hg = HgCore(Ts, code);
      const double sf = SfCore(Ts, code);
      const double sg = SgCore(Ts, code);
      for (double x : {-0.25, 0.0, 0.3, 1.0, 1.5}) {
        EXPECT_NEAR(XofPHCore(P, hf + x * (hg - hf), code), x, 1e-12) << code << " " << P;
        EXPECT_NEAR(XofPSCore(P, sf + x * (sg - sf), code), x, 1e-12) << code << " " << P;
      }
    }
  }
}

// The transport properties follow the density of the formulation named.
TEST(PropertyFunctions, TransportUsesTheFormulationsDensity) {
  const double T = 500.0;
  const double P = 10.0;
  for (std::int32_t code : {-67, -69, -84, -95, -97, -20}) {
    const double rho = 1000.0 / VofTPCore(T, P, code);
    const double mu = MuofTPCore(T, P, code);
    EXPECT_NEAR(mu, transport::viscosity(T, rho), 1e-14 * mu) << code;
  }
  // Far from the critical point the conductivity's enhancement is a small
  // part, and the industrial and the scientific formulation agree closely.
  const double rho = 1000.0 / VofTPCore(298.15, 0.101325, -95);
  const double k95 = KofTPCore(298.15, 0.101325, -95);
  EXPECT_NEAR(k95, transport::thermalConductivityBackground(298.15, rho), 1e-3 * k95);
  EXPECT_NEAR(KofTPCore(298.15, 0.101325, -97), k95, 1e-4 * k95);
}

TEST(PropertyFunctions, InTheCatalogue) {
  for (const char* name :
       {"CpofTP", "CvofTP", "WofTP", "XofPH", "XofPS", "MuofTP", "KofTP", "SigmaofT"}) {
    const FunctionInfo* f = findFunction(name);
    ASSERT_NE(f, nullptr) << name;
    EXPECT_EQ(f->arguments.back().quantity, Quantity::kCode) << name;
  }
}

}  // namespace
}  // namespace vapordex
