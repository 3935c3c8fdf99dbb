// The engines present in this build, in dispatch order (67, 69, 84, 95, 97,
// 20). Adding an engine means adding its instance here; the cores only ever
// see the operation set.
#include <cstdint>

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
    67,
    ifc67::saturationPressure,
    ifc67::saturationTemperature,
    ifc67::specificVolume,
    ifc67::specificEnthalpy,
    ifc67::specificEntropy,
    ifc67::pressureFromVolume,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

constexpr EngineOps kKkhm69{
    69,
    kkhm69::saturationPressure,
    kkhm69::saturationTemperature,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    kkhm69::densityFromTP,
    kkhm69::pressureFromTD,
    kkhm69::enthalpyFromTD,
    kkhm69::entropyFromTD,
    nullptr,
    nullptr,
};

constexpr EngineOps kNbs84{
    84,
    nbs84::saturationPressure,
    nbs84::saturationTemperature,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nbs84::densityFromTP,
    nbs84::pressureFromTD,
    nbs84::enthalpyFromTD,
    nbs84::entropyFromTD,
    nullptr,
    nullptr,
};

constexpr EngineOps kIapws95{
    95,
    iapws95::saturationPressure,
    iapws95::saturationTemperature,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    iapws95::densityFromTP,
    iapws95::pressureFromTD,
    iapws95::enthalpyFromTD,
    iapws95::entropyFromTD,
    nullptr,
    nullptr,
};

constexpr EngineOps kIf97{
    97,
    if97::saturationPressure,
    if97::saturationTemperature,
    if97::specificVolume,
    if97::specificEnthalpy,
    if97::specificEntropy,
    if97::pressureFromVolume,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

constexpr EngineOps kFit2020{
    20,
    fit2020::saturationPressure,
    fit2020::saturationTemperature,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    fit2020::densityFromTP,
    fit2020::pressureFromTD,
    fit2020::enthalpyFromTD,
    fit2020::entropyFromTD,
    fit2020::saturatedLiquidDensity,
    fit2020::saturatedVapourDensity,
};

constexpr const EngineOps* kEngines[] = {&kIfc67, &kKkhm69, &kNbs84, &kIapws95, &kIf97, &kFit2020};

}  // namespace

const EngineOps* selectEngine(std::int32_t code) {
  // Widen before negating: the magnitude of INT32_MIN does not fit in 32 bits.
  const std::int64_t magnitude = code < 0 ? -static_cast<std::int64_t>(code) : code;
  for (const EngineOps* e : kEngines) {
    if (e->code == magnitude) return e;
  }
  return nullptr;
}

EngineList availableEngines() {
  return {kEngines, static_cast<int>(sizeof(kEngines) / sizeof(kEngines[0]))};
}

}  // namespace vapordex
