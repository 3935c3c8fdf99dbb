#include "property_table.hpp"

#include <cmath>

#include "../common/water.hpp"
#include "engines/common/vmath.hpp"

namespace vapordex::fit2020 {

namespace {

// The first index in [begin, end) whose value is >= x, or end: a bisection
// over ascending values, for x that is not NaN.
template <typename ValueAt>
int firstNotBelow(int begin, int end, double x, ValueAt valueAt) {
  while (begin < end) {
    const int mid = begin + (end - begin) / 2;
    if (valueAt(mid) < x) {
      begin = mid + 1;
    } else {
      end = mid;
    }
  }
  return begin;
}

// Row of the saturated liquid within a subcritical isotherm; the liquid
// branch runs from it.
constexpr int kSaturatedLiquidRow = 101;
constexpr double kCriticalTemperature = water::kCriticalTemperature;

// Along an isotherm ln P is interpolated linearly in ln rho, except on the
// liquid branch of a subcritical isotherm. There the pressure rises from the
// small saturation pressure to tens of MPa within one interval while the
// density barely changes: P, not ln P, is close to linear in ln rho, and the
// logarithm would put a compressed liquid at 1 MPa several tenths of a
// percent too dense (and its enthalpy more than 10 % off at 300 K).
bool interpolatePressureLinearly(int isotherm, int row) {
  return kIsothermIndex.temperature[isotherm] < kCriticalTemperature &&
         row >= kIsothermIndex.first[isotherm] + kSaturatedLiquidRow;
}

}  // namespace

// The first isotherm with temperature >= T, found by bisection over the
// ordered temperatures; the pair starts one below it. T at or below the
// first isotherm uses the first pair, T beyond the last (or NaN) the last.
int isothermPair(double T) {
  const int count = kIsothermIndex.count;
  if (T <= kIsothermIndex.temperature[0]) return 0;
  if (std::isnan(T)) return count - 2;
  const int k = firstNotBelow(1, count, T, [](int i) { return kIsothermIndex.temperature[i]; });
  return k == count ? count - 2 : k - 1;
}

// The row j with the first row of ln rho >= lambda at j + 1; lambda at or
// below the first node uses the first interval, beyond the last node the last.
int rowInterval(int isotherm, double lambda) {
  const int first = kIsothermIndex.first[isotherm];
  const int n = kIsothermIndex.rows[isotherm];
  if (lambda <= kPropertyTable.rows[first][kLnRho]) return first;
  if (std::isnan(lambda)) return first + n - 2;
  const int j = firstNotBelow(first + 1, first + n, lambda,
                              [](int r) { return kPropertyTable.rows[r][kLnRho]; });
  return j == first + n ? first + n - 2 : j - 1;
}

namespace {

// Where ln rho = lambda falls on one isotherm: its interval's rows, the
// fraction t of the way from the lower, and how its pressure interpolates.
struct IsothermPoint {
  const double* lo;
  const double* hi;
  double width;  // of the interval in ln rho
  double t;
  bool linearPressure;
};

IsothermPoint pointOn(int isotherm, double lambda) {
  const int j = rowInterval(isotherm, lambda);
  const double* lo = kPropertyTable.rows[j];
  const double* hi = kPropertyTable.rows[j + 1];
  const double width = hi[kLnRho] - lo[kLnRho];
  return {lo, hi, width, (lambda - lo[kLnRho]) / width, interpolatePressureLinearly(isotherm, j)};
}

// The pressure at the point: P or ln P linear in ln rho.
double pressureAt(const IsothermPoint& q) {
  if (q.linearPressure) return q.t * vmath::exp(q.hi[kLnP]) + (1.0 - q.t) * vmath::exp(q.lo[kLnP]);
  return vmath::exp(q.t * q.hi[kLnP] + (1.0 - q.t) * q.lo[kLnP]);
}

// The weight of the upper isotherm of the pair from k0 at T.
double temperatureWeight(int k0, double T) {
  const double tLo = kIsothermIndex.temperature[k0];
  const double tHi = kIsothermIndex.temperature[k0 + 1];
  return (T - tLo) / (tHi - tLo);
}

}  // namespace

// The pressure as lookup interpolates it, and its derivative in rho: the
// slope of the interpolant in ln rho along each isotherm (constant within an
// interval for P, P times the constant slope of ln P otherwise), weighted as
// the isotherms' pressures are, over rho.
density::PressureSlope lookupPressure(double T, double rho) {
  const int k0 = isothermPair(T);
  const double lambda = rho > 0.0 ? vmath::log(rho) : 0.0;
  double p[2];
  double dp[2];
  for (int i = 0; i < 2; ++i) {
    const IsothermPoint q = pointOn(k0 + i, lambda);
    p[i] = pressureAt(q);
    dp[i] = q.linearPressure ? (vmath::exp(q.hi[kLnP]) - vmath::exp(q.lo[kLnP])) / q.width
                             : p[i] * (q.hi[kLnP] - q.lo[kLnP]) / q.width;
  }
  const double u = temperatureWeight(k0, T);
  return {(1.0 - u) * p[0] + u * p[1], ((1.0 - u) * dp[0] + u * dp[1]) / rho};
}

namespace {

template <bool kWithPressure>
TableState lookupAt(double T, double rho) {
  const int k0 = isothermPair(T);
  const double lambda = rho > 0.0 ? vmath::log(rho) : 0.0;
  double p[2] = {0.0, 0.0};
  double h[2];
  double s[2];
  for (int i = 0; i < 2; ++i) {
    const IsothermPoint q = pointOn(k0 + i, lambda);
    if constexpr (kWithPressure) p[i] = pressureAt(q);
    h[i] = q.t * q.hi[kH] + (1.0 - q.t) * q.lo[kH];
    s[i] = q.t * q.hi[kS] + (1.0 - q.t) * q.lo[kS];
  }
  const double u = temperatureWeight(k0, T);
  return {kWithPressure ? (1.0 - u) * p[0] + u * p[1] : 0.0, (1.0 - u) * h[0] + u * h[1],
          (1.0 - u) * s[0] + u * s[1]};
}

}  // namespace

TableState lookup(double T, double rho) { return lookupAt<true>(T, rho); }

TableState lookupEnergies(double T, double rho) { return lookupAt<false>(T, rho); }

}  // namespace vapordex::fit2020
