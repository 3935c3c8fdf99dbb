// The 2020 property table: 30,941 nodes (T, ln rho) carrying ln P, h and s,
// on 154 isotherms, generated from IAPWS-95 (tools/generate_fit2020_table),
// and its lookup in temperature and log-density.
#pragma once

#include <cstdint>

#include "../common/density_solver.hpp"

namespace vapordex::fit2020 {

inline constexpr int kTableRows = 30941;
inline constexpr int kIsotherms = 154;

enum Column { kT = 0, kLnRho = 1, kLnP = 2, kH = 3, kS = 4 };

struct PropertyTable {
  double rows[kTableRows][5];
  std::int32_t count;
};

// The isotherm index over the table: first row, row count and temperature
// of each isotherm.
struct IsothermIndex {
  std::int32_t count;
  std::int32_t first[kIsotherms];
  std::int32_t rows[kIsotherms];
  double temperature[kIsotherms];
};

extern const PropertyTable kPropertyTable;
extern const IsothermIndex kIsothermIndex;

struct TableState {
  double P;  // MPa
  double h;  // kJ/kg
  double s;  // kJ/(kg K)
};

// Interpolates linearly in ln rho along the two isotherms around T (ln P
// along them, P itself on the liquid branch below the critical
// temperature), then linearly in T between them (P, not ln P),
// extrapolating the end intervals. A non-positive density is looked up at
// 1 g/cm3.
TableState lookup(double T, double rho);

// h and s of lookup (the same doubles) without its pressure, whose
// exponentials the enthalpy and entropy do not need; P is 0.
TableState lookupEnergies(double T, double rho);

// The pressure of lookup (the same double) and its derivative in rho at
// constant T, for the density solver.
density::PressureSlope lookupPressure(double T, double rho);

// The searches of the lookup: the lower isotherm of the pair around T, and
// the lower row of the interval around lambda on one isotherm.
int isothermPair(double T);
int rowInterval(int isotherm, double lambda);

}  // namespace vapordex::fit2020
