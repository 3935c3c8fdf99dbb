// Start values of the density solver (the IAPWS-95 scheme, which the
// NBS/NRC 1984 engine shares with its own critical constants and gas
// constant).
#pragma once

namespace vapordex::density {

// Saturated liquid: rho = 0.322 + x (a1 + x (a2 + ... x a6)) g/cm3 with
// x = (1 - T/Tc)^(1/3).
inline constexpr double kLiquidStartBase = 0.322;
inline constexpr double kLiquidStart[6] = {1.81999672256, -11.4769902281, 46.2620966218,
                                           -88.382040957, 82.6149432834,  -30.510632553};

// Saturated vapour: Psat / (Z R T) with Z = z0 - z1 Tr + z2 Tr^2 - z3 Tr^3 +
// z4 (1 - Tr)^(1/3), Tr = T/Tc (magnitudes; the signs are in the formula).
inline constexpr double kVapourStartZ[5] = {0.66743, 1.4087, 3.5799, 2.6054, 0.58211};

// Supercritical: Z = (1 - l) + 2 l Pr / (1 + Pr^2) with
// l = (T/Tc - 1) 0.767 / 1.5 + 0.233, clamped to [0.01, 15]; the density
// P / (Z R T) clamped to [2^-52, 3] g/cm3, and 1.1 times it.
inline constexpr double kSupercriticalSlope = 0.767;
inline constexpr double kSupercriticalSpan = 1.5;
inline constexpr double kSupercriticalBase = 0.233;
inline constexpr double kSupercriticalZMin = 0.01;
inline constexpr double kSupercriticalZMax = 15.0;
inline constexpr double kSupercriticalDensityMin = 2.220446049250313e-16;
inline constexpr double kSupercriticalDensityMax = 3.0;
inline constexpr double kSupercriticalSecondStart = 1.1;

}  // namespace vapordex::density
