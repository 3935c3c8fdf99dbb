#include "ifc67.hpp"

#include <cmath>
#include <limits>

#include "../common/fast_path_check.hpp"
#include "../common/iapws_saturation.hpp"
#include "../common/int_power.hpp"
#include "../common/same_double.hpp"
#include "../common/saturation.hpp"
#include "engines/common/vmath.hpp"
#include "ifc67_coefficients.hpp"
#include "ifc67_kept.hpp"

namespace vapordex::ifc67 {

namespace {

// L-function nodes and curvature.
constexpr double kThetaB = 1.333462073;
constexpr double kBetaA = 0.7475191707;
constexpr double kBetaB = 4.52079566;
constexpr double kCurvature = 7.160997524;

const double* const kA1 = kSmallA;  // a1 ... a12 at indices 1 ... 12

// start + sum B X^z over a row of terms, and its theta-derivative:
// X = exp(b (1 - theta)), so X^z has the derivative -b z X^z.
inline void sumOfPowers(const Term* terms, int count, double x, double start, double* sum,
                        double* dSum) {
  *sum = start;
  *dSum = 0.0;
#pragma GCC unroll 4
  for (int l = 0; l < count; ++l) {
    const double xz = intPower(x, terms[l].z);
    *sum += terms[l].b * xz;
    *dSum -= kSmallB * terms[l].z * terms[l].b * xz;
  }
}

}  // namespace

namespace {

// ln K(theta), the exponent of the saturation line.
double kExponent(double theta) {
  const double u = 1.0 - theta;
  const double* k = kK;
  const double numerator = u * (k[0] + u * (k[1] + u * (k[2] + u * (k[3] + u * k[4]))));
  return numerator / (theta * (1.0 + k[5] * u + k[6] * u * u)) - u / (k[7] * u * u + k[8]);
}

}  // namespace

double kFunction(double theta) { return vmath::exp(kExponent(theta)); }

double lFunction(double theta) {
  return ((kThetaB - theta) * kBetaA + (theta - kTheta1) * kBetaB -
          (kThetaB - theta) * (theta - kTheta1) * kCurvature) /
         (kThetaB - kTheta1);
}

double lFunctionDerivative(double theta) {
  return (kBetaB - kBetaA - (kThetaB - 2.0 * theta + kTheta1) * kCurvature) / (kThetaB - kTheta1);
}

namespace {

// Sub-region 1's volume and, with Energy, its energy terms: the volume by
// the same operations either way.
template <bool Energy>
GibbsState subregion1Of(double beta, double theta) {
  const double* a = kA1;
  const double* A = kA;
  const double y = 1.0 - a[1] * theta * theta - a[2] * intPower(theta, -6);
  const double dy = -2.0 * a[1] * theta + 6.0 * a[2] * intPower(theta, -7);
  const double w = a[3] * y * y - 2.0 * a[4] * theta + 2.0 * a[5] * beta;
  const double rootW = std::sqrt(w);
  const double z = y + rootW;
  const double dzdTheta = dy + (a[3] * y * dy - a[4]) / rootW;
  const double z517 = vmath::pow(z, -5.0 / 17.0);
  const double z1217 = z * z517;  // z^(12/17)
  const double lnTheta = Energy ? vmath::logInline(theta) : 0.0;

  double poly = 0.0;
  double dPoly = 0.0;
  for (int nu = 10; nu >= 1; --nu) poly = poly * theta + A[nu];
  for (int nu = 10; nu >= 2; --nu) dPoly = dPoly * theta + (nu - 1) * A[nu];

  const double a6t = a[6] - theta;
  const double t18 = intPower(theta, 18);
  const double t19 = t18 * theta;
  const double t10 = intPower(theta, 10);
  const double t11 = t10 * theta;
  const double linear = A[12] + A[13] * theta + A[14] * theta * theta + A[15] * intPower(a6t, 10) +
                        A[16] / (a[7] + t19);
  const double dLinear = A[13] + 2.0 * A[14] * theta - 10.0 * A[15] * intPower(a6t, 9) -
                         19.0 * A[16] * t18 / ((a[7] + t19) * (a[7] + t19));
  const double cubic = A[17] * beta + A[18] * beta * beta + A[19] * beta * beta * beta;
  const double dCubic = A[17] + 2.0 * A[18] * beta + 3.0 * A[19] * beta * beta;
  const double d8 = a[8] + t11;
  const double shape = t18 * (a[9] + theta * theta);
  const double dShape = 18.0 * intPower(theta, 17) * (a[9] + theta * theta) + 2.0 * t19;
  const double inv = 1.0 / (a[10] + beta);
  const double tail = inv * inv * inv + a[11] * beta;
  const double dTail = -3.0 * inv * inv * inv * inv + a[11];
  const double t20 = intPower(theta, -20);

  GibbsState g{};
  if constexpr (Energy) {
    g.zeta = A[0] * theta * (1.0 - lnTheta) + poly +
             A[11] * z1217 * ((17.0 / 29.0) * z - (17.0 / 12.0) * y) + linear * beta - cubic / d8 -
             A[20] * shape * tail + A[21] * (a[12] - theta) * beta * beta * beta +
             A[22] * t20 * beta * beta * beta * beta;
  }
  // d/dZ of Z^(12/17) ((17/29) Z - (17/12) Y) is Z^(-5/17) (Z - Y), and
  // (Z - Y) dZ/dbeta = a5.
  g.chi = A[11] * a[5] * z517 + linear - dCubic / d8 - A[20] * shape * dTail +
          3.0 * A[21] * (a[12] - theta) * beta * beta + 4.0 * A[22] * t20 * beta * beta * beta;
  if constexpr (Energy) {
    const double dZeta =
        -A[0] * lnTheta + dPoly + A[11] * (z517 * (z - y) * dzdTheta - (17.0 / 12.0) * z1217 * dy) +
        dLinear * beta + 11.0 * t10 * cubic / (d8 * d8) - A[20] * dShape * tail -
        A[21] * beta * beta * beta - 20.0 * A[22] * t20 / theta * beta * beta * beta * beta;
    g.sigma = -dZeta;
    g.eps = g.zeta + theta * g.sigma;
  }
  return g;
}

}  // namespace

GibbsState subregion1(double beta, double theta) { return subregion1Of<true>(beta, theta); }

void Subregion2Part::compute(double t) {
  theta = t;
  const double b = kSmallB;
  x = vmath::exp(b * (1.0 - t));
  lnTheta = vmath::logInline(t);
  poly = 0.0;
  dPoly = 0.0;
  for (int nu = 4; nu >= 0; --nu) poly = poly * t + kB0v[nu];
  for (int nu = 4; nu >= 1; --nu) dPoly = dPoly * t + nu * kB0v[nu];
    // Unrolled, each row's exponents are constants.
#pragma GCC unroll 8
  for (int mu = 1; mu <= 8; ++mu) {
    sumOfPowers(kB[mu - 1], kTermCount[mu - 1], x, 0.0, &sum[mu - 1], &dSum[mu - 1]);
  }
#pragma GCC unroll 3
  for (int m = 0; m < 3; ++m) {
    const Term* terms = kSmallBmu[m];
    dDenominator[m] = 0.0;
#pragma GCC unroll 2
    for (int l = 0; l < kDenominatorCount[m]; ++l) {
      const double xz = intPower(x, terms[l].z);
      denominatorTerm[m][l] = terms[l].b * xz;
      dDenominator[m] -= kSmallB * terms[l].z * terms[l].b * xz;
    }
  }
  bl = lFunction(t);
  blSlope = lFunctionDerivative(t);
  sum9 = 0.0;
  dSum9 = 0.0;
  for (int l = 6; l >= 0; --l) sum9 = sum9 * x + kB9[l];
  for (int l = 6; l >= 1; --l) dSum9 = dSum9 * x + l * kB9[l];
  dSum9 *= -b;  // d/dtheta sum B9l X^l = -b sum l B9l X^l, with one X folded below
}

namespace {

const Subregion2Part& subregion2Part(double theta) {
  Subregion2Part& cached = kept<Subregion2Part>();
  if (!sameDouble(cached.theta, theta)) {
    cached.compute(theta);
  } else if constexpr (kCheckFastPaths) {
    Subregion2Part fresh{};
    fresh.compute(theta);
    const double kept[] = {cached.x,
                           cached.lnTheta,
                           cached.poly,
                           cached.dPoly,
                           cached.bl,
                           cached.blSlope,
                           cached.sum9,
                           cached.dSum9,
                           cached.dDenominator[0],
                           cached.dDenominator[1],
                           cached.dDenominator[2]};
    const double plain[] = {fresh.x,
                            fresh.lnTheta,
                            fresh.poly,
                            fresh.dPoly,
                            fresh.bl,
                            fresh.blSlope,
                            fresh.sum9,
                            fresh.dSum9,
                            fresh.dDenominator[0],
                            fresh.dDenominator[1],
                            fresh.dDenominator[2]};
    checkFastPath("IFC-67 kept sub-region 2 part", kept, plain, 11);
    checkFastPath("IFC-67 kept sums of X powers", cached.sum, fresh.sum, 8);
    checkFastPath("IFC-67 kept sums' derivatives", cached.dSum, fresh.dSum, 8);
    for (int m = 0; m < 3; ++m) {
      checkFastPath("IFC-67 kept denominators", cached.denominatorTerm[m], fresh.denominatorTerm[m],
                    kDenominatorCount[m]);
    }
  }
  return cached;
}

// The Gibbs function's volume and, with Energy, its energy terms: the
// volume by the same operations either way.
template <bool Energy>
GibbsState subregion2Of(double beta, double theta) {
  const Subregion2Part& p = subregion2Part(theta);
  const double lnTheta = p.lnTheta;
  GibbsState g{};
  double dZeta = 0.0;
  if constexpr (Energy) {
    g.zeta = kI1 * theta * vmath::logInline(beta) + kB0 * theta * (1.0 - lnTheta) + p.poly;
    dZeta = kI1 * vmath::logInline(beta) - kB0 * lnTheta + p.dPoly;
  }
  g.chi = kI1 * theta / beta;
  // Unrolled, each row's exponents are constants.
#pragma GCC unroll 5
  for (int mu = 1; mu <= 5; ++mu) {
    const double sum = p.sum[mu - 1];
    const double bm = intPower(beta, mu);
    if constexpr (Energy) g.zeta -= bm * sum;
    g.chi -= mu * intPower(beta, mu - 1) * sum;
    if constexpr (Energy) dZeta -= bm * p.dSum[mu - 1];
  }
#pragma GCC unroll 3
  for (int mu = 6; mu <= 8; ++mu) {
    const double num = p.sum[mu - 1];
    double den = intPower(beta, 2 - mu);
    for (int l = 0; l < kDenominatorCount[mu - 6]; ++l) den += p.denominatorTerm[mu - 6][l];
    g.chi += num * (2 - mu) * intPower(beta, 1 - mu) / (den * den);
    if constexpr (Energy) {
      g.zeta -= num / den;
      dZeta -= (p.dSum[mu - 1] * den - num * p.dDenominator[mu - 6]) / (den * den);
    }
  }
  const double ratio10 = intPower(beta / p.bl, 10);
  g.chi += 11.0 * ratio10 * p.sum9;
  if constexpr (Energy) {
    g.zeta += beta * ratio10 * p.sum9;
    dZeta += beta * ratio10 * (-10.0 * p.blSlope / p.bl * p.sum9 + p.dSum9 * p.x);
    g.sigma = -dZeta;
    g.eps = g.zeta + theta * g.sigma;
  }
  return g;
}

}  // namespace

GibbsState subregion2(double beta, double theta) { return subregion2Of<true>(beta, theta); }

namespace {

// R(chi) = C1 chi + Clog ln chi + sum_{nu=2}^{m-1} C_nu chi^(1 - nu) and its
// chi-derivative, for one row of the sub-region 3 table.
template <int N>
void row(const double (&c)[N], double cLog, double chi, double lnChi, double* r, double* dr) {
  *r = c[0] * chi + cLog * lnChi;
  *dr = c[0] + cLog / chi;
  double p = 1.0;  // chi^(1 - nu) from nu = 2
  for (int nu = 2; nu <= N; ++nu) {
    p /= chi;
    *r += c[nu - 1] * p;
    *dr += (1 - nu) * c[nu - 1] * p / chi;
  }
}

// The chi-derivative of one row alone, by the same operations.
template <int N>
double rowDerivative(const double (&c)[N], double cLog, double chi) {
  double dr = c[0] + cLog / chi;
  double p = 1.0;  // chi^(1 - nu) from nu = 2
#pragma GCC unroll 8
  for (int nu = 2; nu <= N; ++nu) {
    p /= chi;
    dr += (1 - nu) * c[nu - 1] * p / chi;
  }
  return dr;
}

// The terms of sub-region 3's psi that hold chi^6: sum C6j theta^(-2-j).
double subregion3Six(double theta) {
  double six = 0.0;
  for (int j = 0; j <= 4; ++j) six += kC6[j] * intPower(theta, -2 - j);
  return six;
}

}  // namespace

// Sub-region 3's reduced pressure alone, by the operations subregion3 takes
// for it (what its volume searches compare), without the logarithms.
double subregion3Beta(double chi, double theta) {
  const double s = theta - 1.0;
  const double dr0 = rowDerivative(kC0, kC0Log, chi);
  const double dr1 = rowDerivative(kC1, kC1Log, chi);
  const double dr2 = rowDerivative(kC2, kC2Log, chi);
  const double dr3 = rowDerivative(kC3, kC3Log, chi);
  const double t23 = intPower(theta, -23);
  const double chi5 = intPower(chi, -5);
  const double chi6 = chi * chi * chi * chi * chi * chi;
  const double six = subregion3Six(theta);
  const double dPsiDchi = dr0 + s * (dr1 + s * (dr2 + s * dr3)) -
                          5.0 * kC41 * chi5 / chi * t23 * s + 6.0 * chi6 / chi * six;
  return -dPsiDchi;
}

HelmholtzState subregion3(double chi, double theta) {
  const double s = theta - 1.0;
  const double lnChi = vmath::logInline(chi);
  double r[4];
  double dr[4];
  row(kC0, kC0Log, chi, lnChi, &r[0], &dr[0]);
  row(kC1, kC1Log, chi, lnChi, &r[1], &dr[1]);
  row(kC2, kC2Log, chi, lnChi, &r[2], &dr[2]);
  row(kC3, kC3Log, chi, lnChi, &r[3], &dr[3]);
  const double t23 = intPower(theta, -23);
  const double chi5 = intPower(chi, -5);
  const double chi6 = chi * chi * chi * chi * chi * chi;
  double six = 0.0;
  double dSix = 0.0;
  for (int j = 0; j <= 4; ++j) {
    six += kC6[j] * intPower(theta, -2 - j);
    dSix += (-2 - j) * kC6[j] * intPower(theta, -3 - j);
  }
  double seven = 0.0;
  double dSeven = 0.0;
  for (int i = 8; i >= 0; --i) {
    seven = seven * s + kC7[i];
    if (i < 8) dSeven = dSeven * s + (i + 2) * kC7[i + 1];
  }
  seven *= s;                    // sum C7i s^(i+1)
  dSeven = dSeven * s + kC7[0];  // sum (i+1) C7i s^i

  HelmholtzState h{};
  h.psi = kC00 + r[0] + s * (r[1] + s * (r[2] + s * r[3])) + (kC40 + kC41 * chi5) * t23 * s +
          chi6 * six + kC50 * theta * vmath::logInline(theta) + seven;
  const double dPsiDchi = dr[0] + s * (dr[1] + s * (dr[2] + s * dr[3])) -
                          5.0 * kC41 * chi5 / chi * t23 * s + 6.0 * chi6 / chi * six;
  // d/dtheta of theta^-23 (theta - 1) = theta^-24 (23 - 22 theta).
  const double dPsiDtheta = r[1] + 2.0 * s * r[2] + 3.0 * s * s * r[3] +
                            (kC40 + kC41 * chi5) * t23 / theta * (23.0 - 22.0 * theta) +
                            chi6 * dSix + kC50 * (vmath::logInline(theta) + 1.0) + dSeven;
  h.beta = -dPsiDchi;
  h.sigma = -dPsiDtheta;
  h.eps = h.psi + theta * h.sigma + chi * h.beta;
  return h;
}

namespace {

// Sub-region 4's terms' part of the reduced pressure, which subregion4 adds
// to sub-region 3's.
double subregion4BetaTerms(double chi, double theta) {
  const double oneMinusTheta1 = 1.0 - kTheta1;
  const double y = (1.0 - theta) / oneMinusTheta1;
  double dBeta = 0.0;
  for (int k = 0; k < 2; ++k) {
    const int nu = k + 3;
    const double ynu1 = intPower(y, nu - 1);
    for (int mu = 0; mu <= 4; ++mu) {
      dBeta += mu * kD[k][mu] * ynu1 * y * intPower(chi, -mu) / chi;
    }
  }
  const double y31 = intPower(y, 31);
  for (int mu = 0; mu <= 2; ++mu) {
    dBeta -= y31 * y * mu * kD5[mu] * (mu == 0 ? 0.0 : intPower(chi, mu - 1));
  }
  return dBeta;
}

}  // namespace

// Sub-region 4's reduced pressure alone, by the operations subregion4 takes
// for it.
double subregion4Beta(double chi, double theta) {
  return subregion3Beta(chi, theta) + subregion4BetaTerms(chi, theta);
}

HelmholtzState subregion4(double chi, double theta) {
  HelmholtzState h = subregion3(chi, theta);
  const double oneMinusTheta1 = 1.0 - kTheta1;
  const double y = (1.0 - theta) / oneMinusTheta1;
  double dPsi = 0.0;
  double dSigma = 0.0;
  double dEps = 0.0;
  for (int k = 0; k < 2; ++k) {
    const int nu = k + 3;
    const double ynu1 = intPower(y, nu - 1);
    for (int mu = 0; mu <= 4; ++mu) {
      const double d = kD[k][mu];
      const double cm = intPower(chi, -mu);
      dPsi += d * ynu1 * y * cm;
      dSigma += nu * d * ynu1 * cm;
      dEps += d * cm * ynu1 * ((1 + mu - nu) * y + nu / oneMinusTheta1);
    }
  }
  const double y31 = intPower(y, 31);
  for (int mu = 0; mu <= 2; ++mu) {
    const double cm = intPower(chi, mu);
    dPsi += y31 * y * kD5[mu] * cm;
    dSigma += 32.0 * y31 * kD5[mu] * cm;
    dEps += y31 * kD5[mu] * cm * (32.0 / oneMinusTheta1 - (31 + mu) * y);
  }
  h.psi += dPsi;
  h.beta += subregion4BetaTerms(chi, theta);
  h.sigma += dSigma / oneMinusTheta1;
  h.eps += dEps;
  return h;
}

namespace {

// Sub-region 3's (or 4's) reduced pressure on one isotherm, written as a
// polynomial in r = 1/chi with coefficients for that theta, plus its chi and
// chi^5 terms: the same function as subregion3Beta (subregion4Beta) at a
// fraction of its cost (products where those divide), but rounded
// differently. Alongside it, the same polynomial with every term's
// magnitude, S: neither evaluation can lie further than about 100 u S from
// the true value (u = 2^-53, from the counts of their roundings), so where
// this one lies further than 2^-44 S (some 5 times that) from a target,
// subregion3Beta (subregion4Beta) lies on the same side of it.
class ReducedPressureIsotherm {
 public:
  ReducedPressureIsotherm(double theta, bool subregion4) {
    const double s = theta - 1.0;
    addRow(kC0, kC0Log, 1.0);
    addRow(kC1, kC1Log, s);
    addRow(kC2, kC2Log, s * s);
    addRow(kC3, kC3Log, s * s * s);
    add(6, 5.0 * kC41 * intPower(theta, -23) * s);
    chi5_ = -6.0 * subregion3Six(theta);
    if (subregion4) {
      const double y = (1.0 - theta) / (1.0 - kTheta1);
      for (int k = 0; k < 2; ++k) {
        const double ynu = intPower(y, k + 3);
        for (int mu = 1; mu <= 4; ++mu) add(mu + 1, mu * kD[k][mu] * ynu);
      }
      const double y32 = intPower(y, 32);
      add(0, -y32 * kD5[1]);
      chi1_ = -2.0 * y32 * kD5[2];
    }
  }

  // +1 where the reduced pressure at chi exceeds beta for certain, -1 where
  // it is below beta for certain, 0 where only the full evaluation can tell.
  int compare(double chi, double beta) const {
    const double r = 1.0 / chi;
    const double r2 = r * r;
    const double r4 = r2 * r2;
    const double r8 = r4 * r4;
    const double chi2 = chi * chi;
    const double chi5 = chi2 * chi2 * chi;
    const double sum = polynomial(coefficient_, r, r2, r4, r8) + chi1_ * chi + chi5_ * chi5;
    const double size =
        polynomial(magnitude_, r, r2, r4, r8) + std::fabs(chi1_) * chi + std::fabs(chi5_) * chi5;
    const double difference = sum - beta;
    const double bound = 0x1p-44 * size;
    if (difference > bound) return 1;
    if (difference < -bound) return -1;
    return 0;  // also for NaN
  }

 private:
  static constexpr int kTerms = 12;  // powers r^0 ... r^11

  // A row's part of beta, -dR/dchi = -(C1 + Clog r + sum (1 - nu) C_nu
  // r^nu), with its factor s^k.
  template <int N>
  void addRow(const double (&c)[N], double cLog, double weight) {
    add(0, -weight * c[0]);
    add(1, -weight * cLog);
    for (int nu = 2; nu <= N; ++nu) add(nu, -weight * ((1 - nu) * c[nu - 1]));
  }
  void add(int power, double term) {
    coefficient_[power] += term;
    magnitude_[power] += std::fabs(term);
  }
  // sum a_n r^n, n = 0 ... 11, by Estrin's scheme.
  static double polynomial(const double* a, double r, double r2, double r4, double r8) {
    const double low = (a[0] + a[1] * r) + r2 * (a[2] + a[3] * r);
    const double middle = (a[4] + a[5] * r) + r2 * (a[6] + a[7] * r);
    const double high = (a[8] + a[9] * r) + r2 * (a[10] + a[11] * r);
    return low + r4 * middle + r8 * high;
  }

  double coefficient_[kTerms] = {};
  double magnitude_[kTerms] = {};
  double chi1_ = 0.0;  // the coefficient of chi (sub-region 4)
  double chi5_ = 0.0;  // the coefficient of chi^5
};

}  // namespace

// Two passes of 32 halvings on beta3; the second, for theta >= 0.992678,
// starts from the first pass's last midpoint and the original upper end.
// Each midpoint's side is taken from the isotherm's polynomial where that
// is certain, and from subregion3Beta otherwise: the plain bisection's
// decisions, so its result, bit for bit.
double subregion3Volume(double theta, double beta) {
  const ReducedPressureIsotherm isotherm(theta, false);
  auto pass = [&](double lo) {
    double hi = kRegion3VolumeHigh;
    double mid = 0.0;
    for (int k = 0; k < 32; ++k) {
      mid = (hi + lo) * 0.5;
      const int side = isotherm.compare(mid, beta);
      if constexpr (kCheckFastPaths) {
        if (side != 0) {
          checkFastPath("IFC-67 sub-region 3 halving decided by the polynomial", side > 0,
                        subregion3Beta(mid, theta) > beta);
        }
      }
      if (side > 0 || (side == 0 && subregion3Beta(mid, theta) > beta)) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    return mid;
  };
  const double first = pass(kVolumeLow);
  return theta < kSecondPassTheta ? first : pass(first);
}

// 32 halvings between 12.02 theta - 10.94 and the lowest volume, returning
// the last midpoint. Each midpoint's side is taken from the isotherm's
// polynomial where that is certain, and from subregion4Beta otherwise: the
// plain bisection's decisions, so its result, bit for bit.
double subregion4Volume(double theta, double beta) {
  const ReducedPressureIsotherm isotherm(theta, true);
  double a = 12.02 * theta - 10.94;
  double b = kVolumeLow;
  double mid = 0.0;
  for (int k = 0; k < 32; ++k) {
    mid = (a + b) * 0.5;
    // beta >= the pressure at mid: the root lies at or below mid.
    const int side = isotherm.compare(mid, beta);
    if constexpr (kCheckFastPaths) {
      if (side != 0) {
        checkFastPath("IFC-67 sub-region 4 halving decided by the polynomial", side < 0,
                      beta >= subregion4Beta(mid, theta));
      }
    }
    const bool atOrAbove = side < 0 || (side == 0 && beta >= subregion4Beta(mid, theta));
    (atOrAbove ? a : b) = mid;
  }
  return mid;
}

namespace {

double saturationExponent(double T) { return kExponent(T / kCriticalTemperature); }

constexpr ExponentialLine kSaturationLine{kTriplePointTemperature, kTriplePointPressure,
                                          kCriticalTemperature, kCriticalPressure,
                                          // IF97's saturation line lies within 0.2 K of this one
                                          // below the critical points.
                                          iapws_saturation::temperatureEstimate, 0.2};
using Saturation = ExponentialSaturation<kSaturationLine, saturationExponent>;

}  // namespace

double saturationPressure(double T) { return Saturation::pressure(T); }

double saturationTemperature(double P) { return Saturation::temperature(P); }

namespace {

struct Reduced {
  int subregion;
  double chi, eps, sigma;
};

Reduced fromGibbs(int subregion, const GibbsState& g) { return {subregion, g.chi, g.eps, g.sigma}; }
Reduced fromHelmholtz(int subregion, double chi, const HelmholtzState& h) {
  return {subregion, chi, h.eps, h.sigma};
}

// With VolumeOnly, the state's volume alone (eps and sigma left 0), by the
// same operations as the full state's.
template <bool VolumeOnly>
Reduced inSubregion3(double theta, double beta) {
  const double chi = subregion3Volume(theta, beta);
  if constexpr (VolumeOnly) return {3, chi, 0.0, 0.0};
  return fromHelmholtz(3, chi, subregion3(chi, theta));
}

template <bool VolumeOnly>
Reduced inSubregion1(double theta, double beta) {
  return fromGibbs(1, subregion1Of<!VolumeOnly>(beta, theta));
}

template <bool VolumeOnly>
Reduced inSubregion2(double theta, double beta) {
  return fromGibbs(2, subregion2Of<!VolumeOnly>(beta, theta));
}

template <bool VolumeOnly>
Reduced inSubregion4(double theta, double chi) {
  if constexpr (VolumeOnly) return {4, chi, 0.0, 0.0};
  return fromHelmholtz(4, chi, subregion4(chi, theta));
}

template <bool VolumeOnly>
Reduced evaluate(double T, double P, Phase phase) {
  const double theta = T / kCriticalTemperature;
  const double beta = P / kCriticalPressure;
  if (phase == Phase::kSaturatedLiquid || phase == Phase::kSaturatedVapour) {
    if (theta >= 1.0) return {0, 1.0, kCriticalEps, kCriticalSigma};
    const double betaK = kFunction(theta);
    if (theta < kTheta1) {
      return phase == Phase::kSaturatedLiquid ? inSubregion1<VolumeOnly>(theta, betaK)
                                              : inSubregion2<VolumeOnly>(theta, betaK);
    }
    if (phase == Phase::kSaturatedVapour) return inSubregion3<VolumeOnly>(theta, betaK);
    return inSubregion4<VolumeOnly>(theta, subregion4Volume(theta, betaK));
  }
  if (theta < kTheta1) {
    return beta < kFunction(theta) ? inSubregion2<VolumeOnly>(theta, beta)
                                   : inSubregion1<VolumeOnly>(theta, beta);
  }
  if (beta < lFunction(theta)) return inSubregion2<VolumeOnly>(theta, beta);
  if (theta >= 1.0 || beta < kFunction(theta)) return inSubregion3<VolumeOnly>(theta, beta);
  const double chi = subregion4Volume(theta, beta);
  // subregion4Beta is subregion4's beta, by the same operations.
  const double beta4 = subregion4Beta(chi, theta);
  if (std::fabs(beta4 - beta) > kRegion4Acceptance) return inSubregion3<VolumeOnly>(theta, beta);
  return inSubregion4<VolumeOnly>(theta, chi);
}

}  // namespace

double solvedVolumeFrom(double T) {
  const double theta = T / kCriticalTemperature;
  return theta < kTheta1 ? std::numeric_limits<double>::infinity()
                         : lFunction(theta) * kCriticalPressure;
}

double solvedVolumePressure(double T, double v) {
  const double theta = T / kCriticalTemperature;
  const double chi = v / kCriticalVolume;
  // Near the ends of its range the search's volume stays pinned to the end
  // rather than following the equation.
  const double high = theta >= 1.0 ? kRegion3VolumeHigh : 12.02 * theta - 10.94;
  const double guard = 16.0 * kSolvedVolumeResolution / kCriticalVolume;
  if (!(chi > kVolumeLow + guard && chi < high - guard)) return std::nan("");
  return (theta >= 1.0 ? subregion3Beta(chi, theta) : subregion4Beta(chi, theta)) *
         kCriticalPressure;
}

int selectedSubregion(double T, double P, Phase phase) {
  return evaluate<true>(T, P, phase).subregion;
}

void evaluateState(double T, double P, Phase phase, double* v, double* h, double* s) {
  const Reduced r = evaluate<false>(T, P, phase);
  *v = r.chi * kCriticalVolume;
  *h = r.eps * kCriticalPressure * kCriticalVolume;
  *s = r.sigma * kCriticalPressure * kCriticalVolume / kCriticalTemperature;
}

double specificVolume(double T, double P, Phase phase) {
  return evaluate<true>(T, P, phase).chi * kCriticalVolume;
}

double specificEnthalpy(double T, double P, Phase phase) {
  double v = 0.0, h = 0.0, s = 0.0;
  evaluateState(T, P, phase, &v, &h, &s);
  return h;
}

double specificEntropy(double T, double P, Phase phase) {
  double v = 0.0, h = 0.0, s = 0.0;
  evaluateState(T, P, phase, &v, &h, &s);
  return s;
}

namespace {

// The slope of f at x by the fourth-order central difference over steps h
// and 2h: its error is about h^4 f^(5) / 30 plus the rounding of f over h.
template <typename F>
double slope(F f, double x, double h) {
  return (8.0 * (f(x + h) - f(x - h)) - (f(x + 2.0 * h) - f(x - 2.0 * h))) / (12.0 * h);
}

}  // namespace

// The sub-regions' functions are closed forms; their second derivatives
// are taken as differences of their analytic first derivatives (chi and
// sigma of the Gibbs functions, beta and sigma of the Helmholtz functions),
// in the sub-region the state falls in, whose function is analytic across
// the steps.
Derived derivedFromTP(double T, double P) {
  const Reduced r = evaluate<true>(T, P, Phase::kSinglePhase);
  const double theta = T / kCriticalTemperature;
  const double beta = P / kCriticalPressure;
  const double entropyUnit = kCriticalPressure * kCriticalVolume / kCriticalTemperature;
  if (r.subregion == 1 || r.subregion == 2) {
    const auto gibbs = [&](double b, double t) {
      return r.subregion == 1 ? subregion1(b, t) : subregion2(b, t);
    };
    const double hBeta = kDifferenceStep * beta;
    const double chiBeta = slope([&](double b) { return gibbs(b, theta).chi; }, beta, hBeta);
    const double chiTheta =
        slope([&](double t) { return gibbs(beta, t).chi; }, theta, kDifferenceStep);
    const double sigmaTheta =
        slope([&](double t) { return gibbs(beta, t).sigma; }, theta, kDifferenceStep);
    return vapordex::fromGibbs(
        T, r.chi * kCriticalVolume, chiBeta * kCriticalVolume / kCriticalPressure,
        chiTheta * kCriticalVolume / kCriticalTemperature, theta * sigmaTheta * entropyUnit);
  }
  if (r.subregion == 3 || r.subregion == 4) {
    const auto helmholtz = [&](double c, double t) {
      return r.subregion == 3 ? subregion3(c, t) : subregion4(c, t);
    };
    const double chi = r.chi;
    const double betaChi =
        slope([&](double c) { return helmholtz(c, theta).beta; }, chi, kDifferenceStep * chi);
    const double betaTheta =
        slope([&](double t) { return helmholtz(chi, t).beta; }, theta, kDifferenceStep);
    const double sigmaTheta =
        slope([&](double t) { return helmholtz(chi, t).sigma; }, theta, kDifferenceStep);
    // rho = 1 / (chi vc): d/drho = -chi^2 vc d/dchi.
    const double pRho = -kCriticalPressure * kCriticalVolume * chi * chi * betaChi;
    return vapordex::fromHelmholtz(T, 1.0 / (chi * kCriticalVolume), pRho,
                                   betaTheta * kCriticalPressure / kCriticalTemperature,
                                   theta * sigmaTheta * entropyUnit);
  }
  const double nan = std::nan("");
  return Derived{nan, nan, nan, nan, nan};
}

}  // namespace vapordex::ifc67
