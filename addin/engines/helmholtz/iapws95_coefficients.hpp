// IAPWS-95 coefficients: the ideal-gas part (with the first-edition n1 and
// n2) and the 56 residual terms, in the order of the release, split into
// the four groups of terms.
#pragma once

namespace vapordex::iapws95 {

// Ideal-gas part. n1 and n2 are the values of the first edition of the
// release, -8.32044648201 and 6.6832105268.
inline constexpr double kIdealN[8] = {-8.32044648201, 6.6832105268, 3.00632, 0.012436,
                                      0.97315,        1.2795,       0.96956, 0.24873};
// gamma0 of terms 4 to 8.
inline constexpr double kIdealGamma[5] = {1.28728967, 3.53734222, 7.74073708, 9.24437796,
                                          27.5075105};

// Terms 1 to 7: n delta^d tau^t.
struct PolynomialTerm {
  int d;
  double t;
  double n;
};
inline constexpr PolynomialTerm kPolynomialTerms[] = {
    {1, -0.5, 0.12533547935523e-1}, {1, 0.875, 0.78957634722828e1},
    {1, 1, -0.87803203303561e1},    {2, 0.5, 0.31802509345418},
    {2, 0.75, -0.26145533859358},   {3, 0.375, -0.78199751687981e-2},
    {4, 1, 0.88089493102134e-2},
};

// Terms 8 to 51: n delta^d tau^t exp(-delta^c).
struct ExponentialTerm {
  int c;
  int d;
  int t;
  double n;
};
inline constexpr ExponentialTerm kExponentialTerms[] = {
    {1, 1, 4, -0.66856572307965},     {1, 1, 6, 0.20433810950965},
    {1, 1, 12, -0.66212605039687e-4}, {1, 2, 1, -0.19232721156002},
    {1, 2, 5, -0.25709043003438},     {1, 3, 4, 0.16074868486251},
    {1, 4, 2, -0.40092828925807e-1},  {1, 4, 13, 0.39343422603254e-6},
    {1, 5, 9, -0.75941377088144e-5},  {1, 7, 3, 0.56250979351888e-3},
    {1, 9, 4, -0.15608652257135e-4},  {1, 10, 11, 0.11537996422951e-8},
    {1, 11, 4, 0.36582165144204e-6},  {1, 13, 13, -0.13251180074668e-11},
    {1, 15, 1, -0.62639586912454e-9}, {2, 1, 7, -0.10793600908932},
    {2, 2, 1, 0.17611491008752e-1},   {2, 2, 9, 0.22132295167546},
    {2, 2, 10, -0.40247669763528},    {2, 3, 10, 0.58083399985759},
    {2, 4, 3, 0.49969146990806e-2},   {2, 4, 7, -0.31358700712549e-1},
    {2, 4, 10, -0.74315929710341},    {2, 5, 10, 0.47807329915480},
    {2, 6, 6, 0.20527940895948e-1},   {2, 6, 10, -0.13636435110343},
    {2, 7, 10, 0.14180634400617e-1},  {2, 9, 1, 0.83326504880713e-2},
    {2, 9, 2, -0.29052336009585e-1},  {2, 9, 3, 0.38615085574206e-1},
    {2, 9, 4, -0.20393486513704e-1},  {2, 9, 8, -0.16554050063734e-2},
    {2, 10, 6, 0.19955571979541e-2},  {2, 10, 9, 0.15870308324157e-3},
    {2, 12, 8, -0.16388568342530e-4}, {3, 3, 16, 0.43613615723811e-1},
    {3, 4, 22, 0.34994005463765e-1},  {3, 4, 23, -0.76788197844621e-1},
    {3, 5, 23, 0.22446277332006e-1},  {4, 14, 10, -0.62689710414685e-4},
    {6, 3, 50, -0.55711118565645e-9}, {6, 6, 44, -0.19905718354408},
    {6, 6, 46, 0.31777497330738},     {6, 6, 50, -0.11841182425981},
};

// Terms 52 to 54: n delta^d tau^t exp(-alpha (delta - epsilon)^2 - beta (tau - gamma)^2).
struct GaussianTerm {
  int d;
  int t;
  double n;
  double beta;
  double gamma;
};
inline constexpr GaussianTerm kGaussianTerms[] = {
    {3, 0, -0.31306260323435e2, 150, 1.21},
    {3, 1, 0.31546140237781e2, 150, 1.21},
    {3, 4, -0.25213154341695e4, 250, 1.25},
};
inline constexpr double kGaussAlpha = 20.0;
inline constexpr double kGaussEpsilon = 1.0;

// Terms 55 and 56: n Delta^b delta psi, with
// Delta = theta^2 + B ((delta - 1)^2)^a, theta = (1 - tau) + A ((delta - 1)^2)^(1/(2 beta)),
// psi = exp(-C (delta - 1)^2 - D (tau - 1)^2).
struct NonAnalyticTerm {
  double n;
  double b;
  double beta;
  double C;
  double D;
};
inline constexpr NonAnalyticTerm kNonAnalyticTerms[] = {
    {-0.14874640856724, 0.85, 0.3, 28, 700},
    {0.31806110878444, 0.95, 0.3, 32, 800},
};
inline constexpr double kNonAnalyticA = 3.5;
inline constexpr double kNonAnalyticBigB = 0.2;
inline constexpr double kNonAnalyticBigA = 0.32;

// What the evaluation's fast paths take from these tables
// (docs/fast-paths.md): the power tables hold delta^0..15 and tau^0..50,
// exp(-delta^c) is built for c = 1, 2, 3, 4, 6, and the two non-analytic
// terms share their beta and so their powers of (delta - 1)^2.
constexpr bool exponentialTermsFitThePowerTables() {
  for (const ExponentialTerm& k : kExponentialTerms) {
    if (k.d < 1 || k.d > 15 || k.t < 0 || k.t > 50) return false;
    if (k.c != 1 && k.c != 2 && k.c != 3 && k.c != 4 && k.c != 6) return false;
  }
  for (const PolynomialTerm& k : kPolynomialTerms) {
    if (k.d < 1 || k.d > 15) return false;
  }
  for (const GaussianTerm& k : kGaussianTerms) {
    if (k.d < 1 || k.d > 15 || k.t < 0 || k.t > 50) return false;
  }
  return true;
}
static_assert(exponentialTermsFitThePowerTables());
static_assert(sizeof kNonAnalyticTerms / sizeof kNonAnalyticTerms[0] == 2);
static_assert(kNonAnalyticTerms[0].beta == kNonAnalyticTerms[1].beta);

}  // namespace vapordex::iapws95
