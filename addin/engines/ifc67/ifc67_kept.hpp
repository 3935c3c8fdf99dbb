// What the IFC-67 engine keeps between calls, its part of the per-thread
// kept values (../common/kept.hpp).
#pragma once

#include "../common/kept.hpp"
#include "../common/same_double.hpp"

namespace vapordex::ifc67 {

// What sub-region 2's Gibbs function takes from theta alone: the sums of
// powers of X = exp(b (1 - theta)) and the L function. Volume searches
// evaluate one isotherm many times, so the last theta's values are kept
// (one set per thread) and reused: the same doubles as computed afresh.
struct Subregion2Part {
  double theta = kEmptyKey;
  double x;
  double lnTheta;
  double poly;
  double dPoly;
  double sum[8];  // sum B X^z of rows mu = 1 ... 8, and its derivative
  double dSum[8];
  double denominatorTerm[3][2];  // B X^z of the denominators' rows, mu = 6 ... 8
  double dDenominator[3];
  double bl;
  double blSlope;
  double sum9;
  double dSum9;

  void compute(double t);
};

}  // namespace vapordex::ifc67

namespace vapordex {
template <>
ifc67::Subregion2Part& kept<ifc67::Subregion2Part>();
}  // namespace vapordex
