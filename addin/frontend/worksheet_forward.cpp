// The forward worksheet functions.
#include <cstdint>

#include "cores.hpp"
#include "units.hpp"
#include "worksheet.hpp"
#include "wrapper.hpp"

using namespace vapordex;
namespace u = vapordex::units;

VDX_WORKSHEET Psat(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, PsatCore, Guard::kNonPositive, u::pressureOut);
}
VDX_WORKSHEET Tsat(double P, std::int32_t code) {
  return oneArgument(P, code, u::pressureIn, TsatCore, Guard::kNonPositive, u::temperatureOut);
}
VDX_WORKSHEET Vf(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, VfCore, Guard::kNonPositive, u::volumeOut);
}
VDX_WORKSHEET Vg(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, VgCore, Guard::kNonPositive, u::volumeOut);
}
VDX_WORKSHEET Hf(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, HfCore, Guard::kNone, u::enthalpyOut);
}
VDX_WORKSHEET Hg(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, HgCore, Guard::kNone, u::enthalpyOut);
}
VDX_WORKSHEET Sf(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, SfCore, Guard::kNone, u::entropyOut);
}
VDX_WORKSHEET Sg(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, SgCore, Guard::kNone, u::entropyOut);
}
VDX_WORKSHEET VofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, VofTPCore,
                      Guard::kUnavailableOrNonPositive, u::volumeOut);
}
VDX_WORKSHEET HofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, HofTPCore,
                      Guard::kFailedSolve, u::enthalpyOut);
}
VDX_WORKSHEET SofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, SofTPCore,
                      Guard::kFailedSolve, u::entropyOut);
}
VDX_WORKSHEET PofTV(double T, double v, std::int32_t code) {
  return twoArguments(T, v, code, u::temperatureIn, u::volumeIn, Sign::kPositive, PofTVCore,
                      Guard::kUnavailableMarker, u::pressureOut);
}
VDX_WORKSHEET HofTV(double T, double v, std::int32_t code) {
  return twoArguments(T, v, code, u::temperatureIn, u::volumeIn, Sign::kPositive, HofTVCore,
                      Guard::kUnavailableMarker, u::enthalpyOut);
}
VDX_WORKSHEET SofTV(double T, double v, std::int32_t code) {
  return twoArguments(T, v, code, u::temperatureIn, u::volumeIn, Sign::kPositive, SofTVCore,
                      Guard::kUnavailableMarker, u::entropyOut);
}
VDX_WORKSHEET CpofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, CpofTPCore,
                      Guard::kFailedSolve, u::heatCapacityOut);
}
VDX_WORKSHEET CvofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, CvofTPCore,
                      Guard::kFailedSolve, u::heatCapacityOut);
}
VDX_WORKSHEET WofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, WofTPCore,
                      Guard::kFailedSolve, u::speedOut);
}
// The quality has no unit; only the arguments are converted.
VDX_WORKSHEET XofPH(double P, double h, std::int32_t code) {
  return twoArguments(P, h, code, u::pressureIn, u::enthalpyIn, Sign::kAny, XofPHCore,
                      Guard::kFailedSolve, u::unchanged);
}
VDX_WORKSHEET XofPS(double P, double s, std::int32_t code) {
  return twoArguments(P, s, code, u::pressureIn, u::entropyIn, Sign::kAny, XofPSCore,
                      Guard::kFailedSolve, u::unchanged);
}
VDX_WORKSHEET MuofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, MuofTPCore,
                      Guard::kFailedSolve, u::viscosityOut);
}
VDX_WORKSHEET KofTP(double T, double P, std::int32_t code) {
  return twoArguments(T, P, code, u::temperatureIn, u::pressureIn, Sign::kPositive, KofTPCore,
                      Guard::kFailedSolve, u::conductivityOut);
}
VDX_WORKSHEET SigmaofT(double T, std::int32_t code) {
  return oneArgument(T, code, u::temperatureIn, SigmaofTCore, Guard::kFailedSolve,
                     u::surfaceTensionOut);
}
