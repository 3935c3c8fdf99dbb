// The five inverse worksheet functions.
#include <cstdint>

#include "engine_ops.hpp"
#include "inverse.hpp"
#include "units.hpp"
#include "worksheet.hpp"
#include "wrapper.hpp"

using namespace vapordex;
namespace u = vapordex::units;

namespace {

// HofTS bisects in pressure for the pressure-based engines, whose cores all
// take (T, P), and in specific volume for the density-based ones.
double HofTSCore(double T, double s, std::int32_t code) {
  const EngineOps* e = selectEngine(code);
  if (e != nullptr && isPressureBased(*e)) return HofTSByPressure(T, s, code);
  return HofTSByVolume(T, s, code);
}

}  // namespace

VDX_WORKSHEET TofPH(double P, double h, std::int32_t code) {
  return twoArguments(P, h, code, u::pressureIn, u::enthalpyIn, Sign::kAny, TofPHCore,
                      Guard::kNonPositive, u::temperatureOut);
}
VDX_WORKSHEET TofPS(double P, double s, std::int32_t code) {
  return twoArguments(P, s, code, u::pressureIn, u::entropyIn, Sign::kAny, TofPSCore,
                      Guard::kNonPositive, u::temperatureOut);
}
VDX_WORKSHEET HofPS(double P, double s, std::int32_t code) {
  return twoArguments(P, s, code, u::pressureIn, u::entropyIn, Sign::kAny, HofPSCore,
                      Guard::kFailedSolve, u::enthalpyOut);
}
VDX_WORKSHEET SofPH(double P, double h, std::int32_t code) {
  return twoArguments(P, h, code, u::pressureIn, u::enthalpyIn, Sign::kAny, SofPHCore,
                      Guard::kFailedSolve, u::entropyOut);
}
VDX_WORKSHEET HofTS(double T, double s, std::int32_t code, std::int32_t /*ignored*/) {
  return twoArguments(T, s, code, u::temperatureIn, u::entropyIn, Sign::kAny, HofTSCore,
                      Guard::kUnavailableOrFailedSolve, u::enthalpyOut);
}
