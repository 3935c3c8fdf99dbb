#include "transport.hpp"

#include <cmath>
#include <numbers>

#include "../common/vmath.hpp"

namespace vapordex::transport {

namespace {

// Viscosity, dilute-gas part H_i and residual part H_ij (i: powers of
// 1/Tr - 1, j: of rhor - 1).
constexpr double kViscosityH[4] = {1.67752, 2.20462, 0.6366564, -0.241605};
constexpr double kViscosityHij[6][7] = {
    {5.20094e-1, 2.22531e-1, -2.81378e-1, 1.61913e-1, -3.25372e-2, 0.0, 0.0},
    {8.50895e-2, 9.99115e-1, -9.06851e-1, 2.57399e-1, 0.0, 0.0, 0.0},
    {-1.08374, 1.88797, -7.72479e-1, 0.0, 0.0, 0.0, 0.0},
    {-2.89555e-1, 1.26613, -4.89837e-1, 0.0, 6.98452e-2, 0.0, -4.35673e-3},
    {0.0, 0.0, -2.57040e-1, 0.0, 0.0, 8.72102e-3, 0.0},
    {0.0, 1.20573e-1, 0.0, 0.0, 0.0, 0.0, -5.93264e-4},
};

// Conductivity, dilute-gas part L_k and residual part L_ij.
constexpr double kConductivityL[5] = {2.443221e-3, 1.323095e-2, 6.770357e-3, -3.454586e-3,
                                      4.096266e-4};
constexpr double kConductivityLij[5][6] = {
    {1.60397357, -0.646013523, 0.111443906, 0.102997357, -0.0504123634, 0.00609859258},
    {2.33771842, -2.78843778, 1.53616167, -0.463045512, 0.0832827019, -0.00719201245},
    {2.19650529, -4.54580785, 3.55777244, -1.40944978, 0.275418278, -0.0205938816},
    {-1.21051378, 1.60812989, -0.621178141, 0.0716373224, 0.0, 0.0},
    {-2.7203370, 4.57586331, -3.18369245, 1.1168348, -0.19268305, 0.012913842},
};

// The critical enhancement's constants.
constexpr double kLambda = 177.8514;
constexpr double kQdInverse = 0.40;  // nm
constexpr double kNu = 0.630;
constexpr double kGamma = 1.239;
constexpr double kXi0 = 0.13;  // nm
constexpr double kBigGamma0 = 0.06;
constexpr double kGasConstant = 0.46151805;  // kJ/(kg K), of the reduced cp

// (d rhor / d pr)_T at the reference temperature for industrial use:
// 1 / sum a_ij rhor^i, by density range.
constexpr double kReferenceSlopeBounds[4] = {0.310559006, 0.776397516, 1.242236025, 1.863354037};
constexpr double kReferenceSlopeA[5][6] = {
    {6.53786807199516, -5.61149954923348, 3.39624167361325, -2.27492629730878, 10.2631854662709,
     1.97815050331519},
    {6.52717759281799, -6.30816983387575, 8.08379285492595, -9.82240510197603, 12.1358413791395,
     -5.54349664571295},
    {5.35500529896124, -3.96415689925446, 8.91990208918795, -12.0338729505790, 9.19494865194302,
     -2.16866274479712},
    {1.55225959906681, 0.464621290821181, 8.93237374861479, -11.0321960061126, 6.16780999933360,
     -0.965458722086812},
    {1.11999926419994, 0.595748562571649, 9.88952565078920, -10.3255051147040, 4.66861294457414,
     -0.503243546373828},
};

// Surface tension: B tau^mu (1 + b tau), tau = 1 - T/Tc.
constexpr double kTensionB = 235.8;  // mN/m
constexpr double kTensionSmallB = -0.625;
constexpr double kTensionMu = 1.256;

// exp(rhor sum_i (1/Tr - 1)^i sum_j c_ij (rhor - 1)^j).
template <int I, int J>
double residualFactor(const double (&c)[I][J], double tr, double rhor) {
  const double x = 1.0 / tr - 1.0;
  const double y = rhor - 1.0;
  double sum = 0.0;
  double xi = 1.0;
  for (int i = 0; i < I; ++i) {
    double inner = 0.0;
    for (int j = J - 1; j >= 0; --j) inner = inner * y + c[i][j];
    sum += xi * inner;
    xi *= x;
  }
  return vmath::exp(rhor * sum);
}

// sqrt(Tr) / sum_k c_k / Tr^k.
template <int K>
double dilutePart(const double (&c)[K], double tr) {
  double sum = 0.0;
  for (int k = K - 1; k >= 0; --k) sum = sum / tr + c[k];
  return std::sqrt(tr) / sum;
}

}  // namespace

double viscosity(double T, double rho) {
  const double tr = T / kReferenceTemperature;
  const double rhor = rho / kReferenceDensity;
  return 100.0 * dilutePart(kViscosityH, tr) * residualFactor(kViscosityHij, tr, rhor);
}

double thermalConductivityBackground(double T, double rho) {
  const double tr = T / kReferenceTemperature;
  const double rhor = rho / kReferenceDensity;
  return dilutePart(kConductivityL, tr) * residualFactor(kConductivityLij, tr, rhor);
}

double criticalExcess(double T, double rho, double drhodP, double drhodPReference) {
  const double tr = T / kReferenceTemperature;
  const double rhor = rho / kReferenceDensity;
  // zeta = (d rhor / d pr)_T.
  const double scale = kReferencePressure / kReferenceDensity;
  const double zeta = scale * drhodP;
  const double zetaReference = scale * drhodPReference;
  return std::fmax(
      0.0, rhor * (zeta - zetaReference *
                              (kEnhancementReferenceTemperature / kReferenceTemperature) / tr));
}

double correlationLength(double deltaChi) {
  return kXi0 * vmath::pow(deltaChi / kBigGamma0, kNu / kGamma);
}

double viscosityEnhancement(double xi) {
  constexpr double kQc = 1.0 / 1.9;  // 1/nm
  constexpr double kQd = 1.0 / 1.1;  // 1/nm
  constexpr double kXMu = 0.068;
  const double c = kQc * xi;
  const double d = kQd * xi;
  double y = 0.0;
  if (xi <= 0.3817016416) {
    const double d2 = d * d;
    y = 0.2 * c * (d2 * d2 * d) * (1.0 - c + c * c - 765.0 / 504.0 * d2);
  } else {
    const double psiD = std::acos(1.0 / std::sqrt(1.0 + d * d));
    const double w = std::sqrt(std::fabs((c - 1.0) / (c + 1.0))) * std::tan(psiD / 2.0);
    const double lw = c > 1.0 ? vmath::log((1.0 + w) / (1.0 - w)) : 2.0 * std::atan(std::fabs(w));
    y = std::sin(3.0 * psiD) / 12.0 - std::sin(2.0 * psiD) / (4.0 * c) +
        (1.0 - 1.25 * c * c) / (c * c) * std::sin(psiD) -
        ((1.0 - 1.5 * c * c) * psiD - vmath::pow(std::fabs(c * c - 1.0), 1.5) * lw) / (c * c * c);
  }
  return vmath::exp(kXMu * y);
}

double thermalConductivity(double T, double rho, const EnhancementInputs& in) {
  const double tr = T / kReferenceTemperature;
  const double rhor = rho / kReferenceDensity;
  const double xi = correlationLength(criticalExcess(T, rho, in.drhodP, in.drhodPReference));
  const double y = xi / kQdInverse;
  double z = 0.0;
  if (y >= 1.2e-7) {
    const double kappaInverse = in.cv / in.cp;
    z = 2.0 / (std::numbers::pi * y) *
        (((1.0 - kappaInverse) * std::atan(y) + kappaInverse * y) -
         (1.0 - vmath::exp(-1.0 / (1.0 / y + y * y / (3.0 * rhor * rhor)))));
  }
  const double enhancement = kLambda * rhor * (in.cp / kGasConstant) * tr / in.viscosity * z;
  return thermalConductivityBackground(T, rho) + enhancement;
}

double industrialReferenceSlope(double rho) {
  const double rhor = rho / kReferenceDensity;
  int range = 0;
  while (range < 4 && rhor > kReferenceSlopeBounds[range]) ++range;
  double sum = 0.0;
  for (int i = 5; i >= 0; --i) sum = sum * rhor + kReferenceSlopeA[range][i];
  return kReferenceDensity / kReferencePressure / sum;
}

double surfaceTension(double T) {
  if (!(T >= kSurfaceTensionLowest && T <= kReferenceTemperature)) return std::nan("");
  const double tau = 1.0 - T / kReferenceTemperature;
  if (tau == 0.0) return 0.0;
  return kTensionB * vmath::pow(tau, kTensionMu) * (1.0 + kTensionSmallB * tau);
}

}  // namespace vapordex::transport
