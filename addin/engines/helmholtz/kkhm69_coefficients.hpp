// Keenan, Keyes, Hill and Moore 1969 coefficients.
#pragma once

namespace vapordex::kkhm69 {

// A_ij of Q, row i = 1 ... 10, column j = 1 ... 7. Rows 5 to 8 are used in
// columns 1 and 2 only.
inline constexpr double kA[10][7] = {
    {29.492937, -5.198586, 6.8335354, -0.1564104, -6.3972405, -3.9661401, -0.69048554},
    {-132.13917, 7.7779182, -26.149751, -0.72546108, 26.409282, 15.453061, 2.7407416},
    {274.64632, -33.301902, 65.326396, -9.2734289, -47.740374, -29.14247, -5.102807},
    {-360.93828, -16.254622, -26.181978, 4.312584, 56.32313, 29.568796, 3.9636085},
    {342.18431, -177.31074, 0, 0, 0, 0, 0},
    {-244.50042, 127.48742, 0, 0, 0, 0, 0},
    {155.18535, 137.46153, 0, 0, 0, 0, 0},
    {5.9728487, 155.97836, 0, 0, 0, 0, 0},
    {-410.30848, 337.3118, -137.46618, 6.7874983, 136.87317, 79.84797, 13.041253},
    {-416.0586, -209.88866, -733.96848, 10.401717, 645.8188, 399.1757, 71.531353},
};

// The Q function takes columns 3 to 7 with their first four rows only
// (docs/fast-paths.md): rows 5 to 8 of those columns must be 0.
constexpr bool rowsFiveToEightVanishBeyondColumnTwo() {
  for (int i = 4; i < 8; ++i) {
    for (int j = 2; j < 7; ++j) {
      if (kA[i][j] != 0.0) return false;
    }
  }
  return true;
}
static_assert(rowsFiveToEightVanishBeyondColumnTwo());

// Ideal-gas function psi0, C1 ... C8.
inline constexpr double kC[8] = {1857.065, 3229.12, -419.465, 36.6649,
                                 -20.5516, 4.85233, 46.0,     -1011.249};

// Vapour-pressure equation, F1 ... F8.
inline constexpr double kF[8] = {-741.9242, -29.721,  -11.55286, -0.8685635,
                                 0.1094098, 0.439993, 0.2520658, 0.05218684};

// Start values of the saturated densities. Liquid: rho_c + y (a1 + y (a2 +
// y a3)) with y = (647.286 K - T)^0.333, fitted about 647.286 K rather than
// the engine's critical temperature. Vapour: Psat / (z R T) with z = z0 +
// w (z1 + w (z2 + w z3)) and w = (Tc - T)^0.4648.
inline constexpr double kLiquidStartTemperature = 647.286;
inline constexpr double kLiquidStartExponent = 0.333;
inline constexpr double kLiquidStart[3] = {0.0643931, 0.0112886, -0.000938708};
inline constexpr double kVapourStartExponent = 0.4648;
inline constexpr double kVapourStartZ[4] = {0.233396, 0.0525888, 0.00313438, -0.000215689};

}  // namespace vapordex::kkhm69
