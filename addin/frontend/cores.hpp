// SI cores of the forward worksheet functions: functions of SI values and the
// formulation code, returning SI values. A code that selects no engine gives
// the error value, or the unavailable marker where noted.
#pragma once

#include <cstdint>

namespace vapordex {

inline constexpr double kErrorValue = -999.0;
inline constexpr double kUnavailable = -2e38;
inline constexpr double kUnavailableBelow = -1e38;

double PsatCore(double T, std::int32_t code);
double TsatCore(double P, std::int32_t code);
double VfCore(double T, std::int32_t code);
double VgCore(double T, std::int32_t code);
double HfCore(double T, std::int32_t code);
double HgCore(double T, std::int32_t code);
double SfCore(double T, std::int32_t code);
double SgCore(double T, std::int32_t code);
double VofTPCore(double T, double P, std::int32_t code);  // unavailable marker
double HofTPCore(double T, double P, std::int32_t code);
double SofTPCore(double T, double P, std::int32_t code);
double PofTVCore(double T, double v, std::int32_t code);  // unavailable marker
double HofTVCore(double T, double v, std::int32_t code);  // unavailable marker
double SofTVCore(double T, double v, std::int32_t code);  // unavailable marker

// The properties from second derivatives, quality, transport properties
// and surface tension (SI: kJ/(kg K), m/s, uPa s, mW/(m K), mN/m). Each
// gives the error value where the state or the formulation has no sound
// answer.
double CpofTPCore(double T, double P, std::int32_t code);
double CvofTPCore(double T, double P, std::int32_t code);
double WofTPCore(double T, double P, std::int32_t code);
double XofPHCore(double P, double h, std::int32_t code);
double XofPSCore(double P, double s, std::int32_t code);
double MuofTPCore(double T, double P, std::int32_t code);
double KofTPCore(double T, double P, std::int32_t code);
double SigmaofTCore(double T, std::int32_t code);

// Bounds of the pressure search that solves (T, v) states of the
// pressure-based engines, in MPa, and its number of halvings of ln P:
// 2^-40 of ln(2e8) is 2e-11, well below 1e-9 relative in P. The upper bound
// is twice the 100 MPa limit of the pressure-based formulations: their
// liquid equations stay monotonic that far, while far beyond it (region 1
// above about 500 MPa) the extrapolated volume turns and goes negative.
inline constexpr double kTvPressureMin = 1e-6;
inline constexpr double kTvPressureMax = 200.0;
inline constexpr int kTvHalvings = 40;

}  // namespace vapordex
