// What the IAPWS-IF97 engine keeps between calls, its part of the
// per-thread kept values (../common/kept.hpp).
#pragma once

#include "../common/kept.hpp"
#include "../common/same_double.hpp"

namespace vapordex::if97 {

// tau^k for k = -1 .. 26, tau = Tc / T, built as the single-chain table
// builds them. The volume searches evaluate many volumes on one isotherm, so
// the last temperature's table is kept (one per thread) and reused: the same
// doubles as built afresh.
struct Region3TauPowers {
  double T = kEmptyKey;
  double value[28];
  double operator[](int exponent) const { return value[exponent + 1]; }
};

}  // namespace vapordex::if97

namespace vapordex {
template <>
if97::Region3TauPowers& kept<if97::Region3TauPowers>();
}  // namespace vapordex
