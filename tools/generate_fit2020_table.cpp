// Writes the 2020 property table as a C++ source: IAPWS-95 states on 154
// isotherms, nodes equally spaced in ln rho, rounded as stored.
//
//   generate_fit2020_table OUTPUT.cpp
//
// Subcritical isotherms (275 K to 645 K): 101 vapour nodes from the density
// where P = 2e-6 MPa to the saturated vapour, then the saturated liquid and
// the liquid branch up to the density where P = 2e5 MPa (101 nodes, 13 at
// 645 K). Saturated states come from a real IAPWS-95 phase equilibrium
// (equal pressure and Gibbs energy). At and above the critical temperature:
// 101 nodes up to 0.322 g/cm3 and 100 more up to the 2e5 MPa density.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engines/helmholtz/iapws95.hpp"

namespace {

using namespace vapordex::iapws95;

constexpr double kLowPressure = 2e-6;
constexpr double kHighPressure = 2e5;

double pressure(double T, double lnRho) { return pressureFromTD(T, std::exp(lnRho)); }
double gibbs(double T, double rho) { return enthalpyFromTD(T, rho) - T * entropyFromTD(T, rho); }

// ln rho at which ln P(T, rho) = ln target, by Newton steps with a
// difference-quotient slope.
double densityAtPressure(double T, double target, double lnRho) {
  const double goal = std::log(target);
  for (int k = 0; k < 200; ++k) {
    const double f = std::log(pressure(T, lnRho)) - goal;
    const double d = 1e-7;
    const double slope =
        (std::log(pressure(T, lnRho + d)) - std::log(pressure(T, lnRho - d))) / (2 * d);
    const double step = f / slope;
    lnRho -= step;
    if (std::fabs(step) < 1e-15 * std::fmax(1.0, std::fabs(lnRho))) break;
  }
  return lnRho;
}

// Phase equilibrium at T: liquid and vapour densities with equal pressure
// and equal Gibbs energy, by Newton's method in (ln rho', ln rho'') from the
// engine's saturated densities, until the steps fall below 1e-13.
struct Equilibrium {
  double lnLiquid, lnVapour, P;
};

Equilibrium equilibrium(double T) {
  double x[2] = {std::log(saturatedLiquidDensity(T)), std::log(saturatedVapourDensity(T))};
  auto residual = [&](const double* y, double* r) {
    const double rl = std::exp(y[0]);
    const double rv = std::exp(y[1]);
    const double pl = pressureFromTD(T, rl);
    const double pv = pressureFromTD(T, rv);
    r[0] = (pl - pv) / pv;
    r[1] = (gibbs(T, rl) - gibbs(T, rv)) / (kR * T);
  };
  for (int it = 0; it < 100; ++it) {
    double r[2];
    residual(x, r);
    double jac[2][2];
    for (int j = 0; j < 2; ++j) {
      double xp[2] = {x[0], x[1]};
      double xm[2] = {x[0], x[1]};
      const double d = 1e-6;
      xp[j] += d;
      xm[j] -= d;
      double rp[2], rm[2];
      residual(xp, rp);
      residual(xm, rm);
      jac[0][j] = (rp[0] - rm[0]) / (2 * d);
      jac[1][j] = (rp[1] - rm[1]) / (2 * d);
    }
    const double det = jac[0][0] * jac[1][1] - jac[0][1] * jac[1][0];
    const double dx0 = (r[0] * jac[1][1] - r[1] * jac[0][1]) / det;
    const double dx1 = (jac[0][0] * r[1] - jac[1][0] * r[0]) / det;
    x[0] -= dx0;
    x[1] -= dx1;
    if (std::fabs(dx0) < 1e-13 && std::fabs(dx1) < 1e-13) break;
  }
  // At the lowest temperatures the liquid's pressure is steep in its density
  // and noisy in its last digits, so the last step may land where the
  // pressures differ by that noise: the liquid density is then taken as the
  // best of its neighbours within a few units in the last place.
  double r0[2];
  residual(x, r0);
  if (!(std::fabs(r0[0]) < 1e-9)) {
    const double centre = std::exp(x[0]);
    double best = x[0];
    double bestMiss = std::fabs(r0[0]);
    double rho = centre;
    for (int k = 0; k < 64; ++k) rho = std::nextafter(rho, 0.0);
    for (int k = 0; k < 128; ++k, rho = std::nextafter(rho, 2.0)) {
      const double y[2] = {std::log(rho), x[1]};
      double r[2];
      residual(y, r);
      if (std::fabs(r[0]) < bestMiss) {
        bestMiss = std::fabs(r[0]);
        best = y[0];
      }
    }
    x[0] = best;
  }
  // The liquid pressure is a small difference of large terms, so equality of
  // pressures is resolved to about 1e-9 of the (small) saturation pressure at
  // the lowest temperatures; the densities themselves are settled to 1e-12.
  double r[2];
  residual(x, r);
  if (!(std::fabs(r[0]) < 1e-8 && std::fabs(r[1]) < 1e-12)) {
    std::fprintf(stderr, "phase equilibrium at %g K did not converge (%g, %g)\n", T, r[0], r[1]);
    std::exit(1);
  }
  return {x[0], x[1], pressureFromTD(T, std::exp(x[1]))};
}

// Rounded to the stored decimals and to at most six significant digits,
// written without trailing zeros.
std::string rounded(double x, int decimals) {
  if (x != 0.0) {
    const int integerDigits = static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 1;
    if (6 - integerDigits < decimals) decimals = std::max(0, 6 - integerDigits);
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
  std::size_t n = std::strlen(buffer);
  if (std::strchr(buffer, '.') != nullptr) {
    while (buffer[n - 1] == '0') buffer[--n] = '\0';
    if (buffer[n - 1] == '.') buffer[--n] = '\0';
  }
  const char* text = std::strcmp(buffer, "-0") == 0 ? "0" : buffer;
  // Keep every literal a double.
  return std::strchr(text, '.') != nullptr ? std::string(text) : std::string(text) + ".0";
}

struct Row {
  double T, lnRho, lnP, h, s;
};

Row state(double T, double lnRho) {
  const double rho = std::exp(lnRho);
  return {T, lnRho, std::log(pressureFromTD(T, rho)), enthalpyFromTD(T, rho),
          entropyFromTD(T, rho)};
}

std::vector<double> isothermTemperatures() {
  std::vector<double> t;
  for (int k = 275; k <= 640; k += 5) t.push_back(k);
  t.push_back(645.0);
  t.push_back(647.096);
  for (int k = 650; k <= 700; k += 10) t.push_back(k);
  for (int k = 725; k <= 1000; k += 25) t.push_back(k);
  for (int k = 1050; k <= 2000; k += 50) t.push_back(k);
  for (int k = 2100; k <= 6000; k += 100) t.push_back(k);
  return t;
}

void appendBranch(std::vector<Row>* rows, double T, double from, double to, int nodes, int skip) {
  for (int k = skip; k < nodes; ++k) {
    rows->push_back(state(T, from + (to - from) * k / (nodes - 1)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: generate_fit2020_table OUTPUT.cpp\n");
    return 2;
  }
  std::vector<Row> rows;
  for (double T : isothermTemperatures()) {
    const double low = densityAtPressure(T, kLowPressure, std::log(kLowPressure / (kR * T)));
    const double high = densityAtPressure(T, kHighPressure, std::log(3.3));
    if (T < kCriticalTemperature) {
      const Equilibrium e = equilibrium(T);
      appendBranch(&rows, T, low, e.lnVapour, 101, 0);
      rows.back().lnP = std::log(e.P);
      rows.push_back(state(T, e.lnLiquid));
      rows.back().lnP = std::log(e.P);
      appendBranch(&rows, T, e.lnLiquid, high, T == 645.0 ? 13 : 101, 1);
    } else {
      const double critical = std::log(kCriticalDensity);
      appendBranch(&rows, T, low, critical, 101, 0);
      appendBranch(&rows, T, critical, high, 101, 1);
    }
  }

  // The isotherm index over the rows.
  std::vector<int> first;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (k == 0 || rows[k].T > rows[k - 1].T) first.push_back(static_cast<int>(k));
  }

  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out,
               "// Generated by tools/generate_fit2020_table from the IAPWS-95 engine. Do not "
               "edit.\n"
               "// Rows: T (K), ln rho (g/cm3), ln P (MPa), h (kJ/kg), s (kJ/(kg K)).\n"
               "#include \"property_table.hpp\"\n\n"
               "namespace vapordex::fit2020 {\n\n"
               "const PropertyTable kPropertyTable = {{\n");
  for (const Row& r : rows) {
    std::fprintf(out, "    {%s, %s, %s, %s, %s},\n", rounded(r.T, 4).c_str(),
                 rounded(r.lnRho, 4).c_str(), rounded(r.lnP, 4).c_str(), rounded(r.h, 2).c_str(),
                 rounded(r.s, 4).c_str());
  }
  std::fprintf(out, "}, %zu};\n\nconst IsothermIndex kIsothermIndex = {\n    %zu,\n    {",
               rows.size(), first.size());
  for (std::size_t k = 0; k < first.size(); ++k) std::fprintf(out, "%s%d", k ? ", " : "", first[k]);
  std::fprintf(out, "},\n    {");
  for (std::size_t k = 0; k < first.size(); ++k) {
    const std::size_t next =
        k + 1 < first.size() ? static_cast<std::size_t>(first[k + 1]) : rows.size();
    std::fprintf(out, "%s%zu", k ? ", " : "", next - static_cast<std::size_t>(first[k]));
  }
  std::fprintf(out, "},\n    {");
  for (std::size_t k = 0; k < first.size(); ++k) {
    std::fprintf(out, "%s%s", k ? ", " : "",
                 rounded(rows[static_cast<std::size_t>(first[k])].T, 4).c_str());
  }
  std::fprintf(out, "},\n};\n\n}  // namespace vapordex::fit2020\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
