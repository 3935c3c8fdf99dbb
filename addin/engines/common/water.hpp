// Fixed points of water that several formulations share: the critical point
// of IAPWS (used by IAPWS-95, IAPWS-IF97 and the 2020 formulation) and the
// triple point (its temperature is the low end of every engine's saturation
// line; its IAPWS pressure is the one of IAPWS-95, IF97 and 2020). Each
// engine's own values (IFC-67, KKHM 1969, NBS/NRC 1984) stay in its header.
#pragma once

namespace vapordex::water {

inline constexpr double kTriplePointTemperature = 273.16;                     // K
inline constexpr double kTriplePointPressure = 0.000611657;                   // MPa
inline constexpr double kCriticalTemperature = 647.096;                       // K
inline constexpr double kCriticalPressure = 22.064;                           // MPa
inline constexpr double kCriticalDensityKgPerM3 = 322.0;                      // kg/m3
inline constexpr double kCriticalDensity = kCriticalDensityKgPerM3 / 1000.0;  // g/cm3

}  // namespace vapordex::water
