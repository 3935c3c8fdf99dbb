// Which state a (T, P) operation of an engine answers: the saturated liquid
// or vapour at T (the pressure is then ignored), or the single-phase state at
// (T, P), the engine choosing liquid, vapour or its other regions.
#pragma once

namespace vapordex {

enum class Phase { kSaturatedLiquid = 0, kSaturatedVapour = 1, kSinglePhase = 2 };

}  // namespace vapordex
