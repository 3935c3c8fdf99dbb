// SI cores of the inverse worksheet functions. They iterate only on the
// forward cores and the two saturation operations, so every engine works
// through them unchanged. Two-phase states are recognised first and answered
// by interpolation in the quality.
#pragma once

#include <cstdint>

namespace vapordex {

// Where the critical point is read off an engine's saturation functions:
// Psat(999 K) = Pc and Tsat(9999 MPa) = Tc (each engine's clamps). The
// engine operation set carries both values as data; the probes document
// them and the tests check that the two agree.
inline constexpr double kCriticalPressureProbe = 999.0;      // K
inline constexpr double kCriticalTemperatureProbe = 9999.0;  // MPa
inline constexpr double kSolverTemperatureLow = 273.15;
inline constexpr double kSolverTemperatureHigh = 1500.0;
inline constexpr double kEnthalpyCollapse = 0.001;
inline constexpr double kEnthalpyTolerance = 0.01;
inline constexpr double kEntropyCollapse = 1e-6;
inline constexpr double kEntropyTolerance = 1e-5;
inline constexpr double kSolverPressureLow = 1e-6;
inline constexpr double kSolverPressureHigh = 220.64;
inline constexpr double kSolverVolumeLow = 0.956;
inline constexpr double kSolverVolumeHigh = 1e6;
inline constexpr int kSolverIterations = 32;
// The bracketed solve that replaces an unsound estimate of TofPHCore or
// TofPSCore: its iteration limit and relative resolution in T.
inline constexpr int kBracketedIterations = 200;
inline constexpr double kBracketedResolution = 1e-15;

double TofPHCore(double P, double h, std::int32_t code);
double SofPHCore(double P, double h, std::int32_t code);
double TofPSCore(double P, double s, std::int32_t code);
double HofPSCore(double P, double s, std::int32_t code);
double HofTSByPressure(double T, double s, std::int32_t code);
double HofTSByVolume(double T, double s, std::int32_t code);

}  // namespace vapordex
