// The engines present in this build, in dispatch order (67, 69, 84, 95, 97,
// 20). Adding an engine means adding its instance here; the cores only ever
// see the operation set.
#include <cstdint>
#include <limits>

#include "../engines/fit2020/bridging_cubic.hpp"
#include "../engines/fit2020/fit2020.hpp"
#include "../engines/helmholtz/iapws95.hpp"
#include "../engines/helmholtz/kkhm69.hpp"
#include "../engines/helmholtz/nbs84.hpp"
#include "../engines/if97/if97.hpp"
#include "../engines/ifc67/ifc67.hpp"
#include "engine_ops.hpp"

namespace vapordex {

namespace {

constexpr EngineOps kIfc67{
    .code = 67,
    .triplePointTemperature = ifc67::kTriplePointTemperature,
    .criticalTemperature = ifc67::kCriticalTemperature,
    .criticalPressure = ifc67::kCriticalPressure,
    .saturationPressure = ifc67::saturationPressure,
    .saturationTemperature = ifc67::saturationTemperature,
    .specificVolume = ifc67::specificVolume,
    .specificEnthalpy = ifc67::specificEnthalpy,
    .specificEntropy = ifc67::specificEntropy,
    .solvedVolumeFrom = ifc67::solvedVolumeFrom,
    .solvedVolumeResolution = ifc67::kSolvedVolumeResolution,
    .solvedVolumeMax = ifc67::kRegion3VolumeHigh * ifc67::kCriticalVolume,
    .solvedVolumeSingleRootAbove = std::numeric_limits<double>::infinity(),
    .solvedVolumePressure = ifc67::solvedVolumePressure,
    .derivedFromTP = ifc67::derivedFromTP,
};

constexpr EngineOps kKkhm69{
    .code = 69,
    .triplePointTemperature = kkhm69::kTriplePointTemperature,
    .criticalTemperature = kkhm69::kCriticalTemperature,
    .criticalPressure = kkhm69::kCriticalPressure,
    .saturationPressure = kkhm69::saturationPressure,
    .saturationTemperature = kkhm69::saturationTemperature,
    .densityFromTP = kkhm69::densityFromTP,
    .pressureFromTD = kkhm69::pressureFromTD,
    .enthalpyFromTD = kkhm69::enthalpyFromTD,
    .entropyFromTD = kkhm69::entropyFromTD,
    .derivedFromTD = kkhm69::derivedFromTD,
    .pressureSlopeFromTD = kkhm69::pressureSlopeFromTD,
    .gasConstant = kkhm69::kR,
};

constexpr EngineOps kNbs84{
    .code = 84,
    .triplePointTemperature = nbs84::kTriplePointTemperature,
    .criticalTemperature = nbs84::kCriticalTemperature,
    .criticalPressure = nbs84::kCriticalPressure,
    .saturationPressure = nbs84::saturationPressure,
    .saturationTemperature = nbs84::saturationTemperature,
    .densityFromTP = nbs84::densityFromTP,
    .pressureFromTD = nbs84::pressureFromTD,
    .enthalpyFromTD = nbs84::enthalpyFromTD,
    .entropyFromTD = nbs84::entropyFromTD,
    .derivedFromTD = nbs84::derivedFromTD,
    .pressureSlopeFromTD = nbs84::pressureSlopeFromTD,
    .gasConstant = nbs84::kR,
};

constexpr EngineOps kIapws95{
    .code = 95,
    .triplePointTemperature = iapws95::kTriplePointTemperature,
    .criticalTemperature = iapws95::kCriticalTemperature,
    .criticalPressure = iapws95::kCriticalPressure,
    .saturationPressure = iapws95::saturationPressure,
    .saturationTemperature = iapws95::saturationTemperature,
    .densityFromTP = iapws95::densityFromTP,
    .pressureFromTD = iapws95::pressureFromTD,
    .enthalpyFromTD = iapws95::enthalpyFromTD,
    .entropyFromTD = iapws95::entropyFromTD,
    .derivedFromTD = iapws95::derivedFromTD,
    .pressureSlopeFromTD = iapws95::pressureSlopeFromTD,
    .gasConstant = iapws95::kR,
};

constexpr EngineOps kIf97{
    .code = 97,
    .triplePointTemperature = if97::kTriplePointTemperature,
    .criticalTemperature = if97::kCriticalTemperature,
    .criticalPressure = if97::kCriticalPressure,
    .saturationPressure = if97::saturationPressure,
    .saturationTemperature = if97::saturationTemperature,
    .specificVolume = if97::specificVolume,
    .specificEnthalpy = if97::specificEnthalpy,
    .specificEntropy = if97::specificEntropy,
    .solvedVolumeFrom = if97::solvedVolumeFrom,
    .solvedVolumeResolution = if97::kSolvedVolumeResolution,
    .solvedVolumeMax = if97::kRegion3VolumeHigh * 1000.0,
    .solvedVolumeSingleRootAbove = if97::kRegion3SingleRootAbove,
    .solvedVolumePressure = if97::solvedVolumePressure,
    .derivedFromTP = if97::derivedFromTP,
};

constexpr EngineOps kFit2020{
    .code = 20,
    .triplePointTemperature = fit2020::kTriplePointTemperature,
    .criticalTemperature = fit2020::kCriticalTemperature,
    .criticalPressure = fit2020::kCriticalPressure,
    .saturationPressure = fit2020::saturationPressure,
    .saturationTemperature = fit2020::saturationTemperature,
    .densityFromTP = fit2020::densityFromTP,
    .pressureFromTD = fit2020::pressureFromTD,
    .enthalpyFromTD = fit2020::enthalpyFromTD,
    .entropyFromTD = fit2020::entropyFromTD,
    .gasConstant = fit2020::kR,
};

constexpr const EngineOps* kEngines[] = {&kIfc67, &kKkhm69, &kNbs84, &kIapws95, &kIf97, &kFit2020};

}  // namespace

const EngineOps* selectEngine(std::int32_t code) {
  // Widen before negating: the magnitude of INT32_MIN does not fit in 32 bits.
  const std::int64_t magnitude = code < 0 ? -static_cast<std::int64_t>(code) : code;
  switch (magnitude) {
    case 67:
      return &kIfc67;
    case 69:
      return &kKkhm69;
    case 84:
      return &kNbs84;
    case 95:
      return &kIapws95;
    case 97:
      return &kIf97;
    case 20:
      return &kFit2020;
    default:
      return nullptr;
  }
}

std::span<const EngineOps* const> availableEngines() { return kEngines; }

}  // namespace vapordex
