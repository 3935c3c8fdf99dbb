// NBS/NRC 1984 (Haar, Gallagher and Kell) coefficients, as this engine holds
// them: seven significant digits.
#pragma once

namespace vapordex::nbs84 {

// The base function: b(T) = b0 - b1 ln(T/T0) + b2 tau^3 - b3 tau^5 and
// B(T) = B0 - B1 tau - B2 tau^2 + B3 tau^4 (cm3/g, tau = T0/T), the
// magnitudes of the coefficients with the signs in the formulas.
inline constexpr double kBaseSmallB[4] = {0.7478629, 0.3540782, 0.007159876, 0.003528426};
inline constexpr double kBaseBigB[4] = {1.1278334, 0.5944001, 5.010996, 0.63684256};
// Its constants, from the exponents of the base function.
inline constexpr double kBase1 = 133.0 / 3.0 - 1.0;
inline constexpr double kBase2 = (11.0 + 133.0 / 3.0 + 1.0) / 2.0;
inline constexpr double kBase3 = -(11.0 - 133.0 / 3.0 + 3.0) / 2.0;
inline constexpr double kReferencePressure = 0.101325;  // MPa, of the base function's log
// Zero energy and entropy at the triple-point liquid.
inline constexpr double kReferenceSlope = 7.640203087;
inline constexpr double kReferenceOffset = 4321.900017;

// Terms 1 to 36: (g / k) tau^l (1 - exp(-rho))^k.
inline constexpr int kResidualK[36] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5,
                                       5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 9, 9, 9, 9, 3, 3, 1, 5};
inline constexpr int kResidualL[36] = {1, 2, 4, 6, 1, 2, 4, 6, 1, 2, 4, 6, 1, 2, 4, 6, 1, 2,
                                       4, 6, 1, 2, 4, 6, 1, 2, 4, 6, 1, 2, 4, 6, 0, 3, 3, 3};
inline constexpr double kResidualG[36] = {
    -530.6297,  2274.49,   787.7933,   -69.83053,  17863.83,  -39514.73,  33803.88,  -13855.05,
    -256374.4,  482125.8,  -341830.2,  122231.6,   1179743.0, -2173481.0, 1082995.0, -254420.0,
    -3137778.0, 5291191.0, -1380258.0, -251099.1,  4656183.0, -7275278.0, 417742.5,  1401636.0,
    -3155523.0, 4792967.0, 409126.7,   -1362637.0, 696252.2,  -1083490.0, -227228.3, 383654.9,
    6883.326,   21757.25,  -2662.794,  -70730.42};

// Terms 37 to 40: g delta_i^l exp(-alpha delta_i^k - beta tau_i^2) with
// delta_i = rho / rho_i - 1 and tau_i = T / T_i - 1.
inline constexpr double kCriticalG[4] = {-0.225, -1.68, 0.055, -93.0};
inline constexpr double kCriticalRho[4] = {0.319, 0.319, 0.319, 1.55};
inline constexpr double kCriticalT[4] = {640.0, 640.0, 641.6, 270.0};
inline constexpr double kCriticalAlpha[4] = {34.0, 40.0, 30.0, 1053.0};
inline constexpr double kCriticalBeta[4] = {20000.0, 20000.0, 40000.0, 25.0};
inline constexpr int kCriticalK[4] = {2, 2, 2, 4};
inline constexpr int kCriticalL[4] = {0, 2, 0, 0};

// What the evaluation's fast paths take from these tables
// (docs/fast-paths.md): terms 1 to 36 are taken two at a time (an even
// count), tau^l is kept for l = 0 .. 6, the (1 - e)^(k - 1) powers need
// k >= 1, and the critical terms (with their bound, which skips a term
// whose exponent -beta t^2 alone puts it below exp's least subnormal) need
// k >= 2 and even, so that -alpha d^k <= 0, and alpha, beta > 0.
constexpr bool termsFitTheFastPaths() {
  for (int i = 0; i < 36; ++i) {
    if (kResidualK[i] < 1 || kResidualL[i] < 0 || kResidualL[i] > 6) return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (kCriticalK[i] < 2 || kCriticalK[i] % 2 != 0 || kCriticalL[i] < 0) return false;
    if (!(kCriticalAlpha[i] > 0.0) || !(kCriticalBeta[i] > 0.0)) return false;
  }
  return true;
}
static_assert(termsFitTheFastPaths());
static_assert(sizeof kResidualK / sizeof kResidualK[0] % 2 == 0);

// Ideal-gas part: C1, C2, then C3 ... C18 (the coefficient of T_R^(i - 6)).
inline constexpr double kIdealC[18] = {
    19.73027,      20.96627,     -0.4834295,    6.057432,     22.56024,      -9.875324,
    -4.313554,     0.4581558,    -0.0477549,    0.004123846,  -0.0002792905, 1.448169e-05,
    -5.647366e-07, 1.620045e-08, -3.303823e-10, 4.519161e-12, -3.707341e-14, 1.375461e-16};

// Auxiliary vapour-pressure equation, a1 ... a8.
inline constexpr double kVapourA[8] = {-7.8889166, 2.5514255, -6.716169,  33.239495,
                                       -105.38479, 174.35319, -148.39348, 48.631602};

}  // namespace vapordex::nbs84
