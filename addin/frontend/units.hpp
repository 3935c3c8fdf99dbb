// Unit conversions between the worksheet's English units and the SI units of
// the cores and engines. A positive formulation code selects English units.
#pragma once

namespace vapordex::units {

inline constexpr double kRankinePerKelvin = 1.8;
inline constexpr double kRankineOffset = 459.67;
inline constexpr double kPsiaPerMPa = 145.0377377;
inline constexpr double kCubicCmPerGramPerCubicFtPerLbm = 62.42796058;
inline constexpr double kKJPerKgPerBtuPerLbm = 2.326;
// The one entropy factor (the international table BTU), for every entropy
// argument and result.
inline constexpr double kKJPerKgKPerBtuPerLbmR = 4.1868;

inline constexpr double kMetresPerFoot = 0.3048;
// 1 lbm/(ft h) in uPa s, 1 BTU/(h ft F) in mW/(m K) (the international table
// BTU, as for the entropy), 1 lbf/ft in mN/m.
inline constexpr double kMicroPascalSecondsPerLbmPerFtHour =
    0.45359237e6 / (kMetresPerFoot * 3600.0);
inline constexpr double kMilliwattsPerMetreKelvinPerBtuPerHourFtF =
    kKJPerKgKPerBtuPerLbmR * 0.45359237e6 / (3600.0 * kMetresPerFoot);
inline constexpr double kMillinewtonsPerMetrePerLbfPerFt = 4.4482216152605e3 / kMetresPerFoot;

inline double temperatureIn(double x) { return (x + kRankineOffset) / kRankinePerKelvin; }
inline double temperatureOut(double x) { return x * kRankinePerKelvin - kRankineOffset; }
inline double pressureIn(double x) { return x / kPsiaPerMPa; }
inline double pressureOut(double x) { return x * kPsiaPerMPa; }
inline double volumeIn(double x) { return x * kCubicCmPerGramPerCubicFtPerLbm; }
inline double volumeOut(double x) { return x / kCubicCmPerGramPerCubicFtPerLbm; }
inline double enthalpyIn(double x) { return x * kKJPerKgPerBtuPerLbm; }
inline double enthalpyOut(double x) { return x / kKJPerKgPerBtuPerLbm; }
inline double entropyIn(double x) { return x * kKJPerKgKPerBtuPerLbmR; }
inline double entropyOut(double x) { return x / kKJPerKgKPerBtuPerLbmR; }
// The heat capacities share the entropy's unit and factor.
inline double heatCapacityOut(double x) { return entropyOut(x); }
inline double speedOut(double x) { return x / kMetresPerFoot; }
inline double viscosityOut(double x) { return x / kMicroPascalSecondsPerLbmPerFtHour; }
inline double conductivityOut(double x) { return x / kMilliwattsPerMetreKelvinPerBtuPerHourFtF; }
inline double surfaceTensionOut(double x) { return x / kMillinewtonsPerMetrePerLbfPerFt; }
inline double unchanged(double x) { return x; }

// The name of the unit of a quantity ('T', 'P', 'v', 'h', 's'; 'c' a heat
// capacity, 'w' a speed of sound, 'x' a quality, 'm' a viscosity, 'k' a
// thermal conductivity, 'g' a surface tension) in either unit system, as
// the tool's tables and the example workbook print it.
inline const char* name(char quantity, bool english) {
  switch (quantity) {
    case 'T':
      return english ? "F" : "K";
    case 'P':
      return english ? "psia" : "MPa";
    case 'v':
      return english ? "ft3/lbm" : "cm3/g";
    case 'h':
      return english ? "BTU/lbm" : "kJ/kg";
    case 's':
    case 'c':
      return english ? "BTU/(lbm R)" : "kJ/(kg K)";
    case 'w':
      return english ? "ft/s" : "m/s";
    case 'm':
      return english ? "lbm/(ft h)" : "uPa s";
    case 'k':
      return english ? "BTU/(h ft F)" : "mW/(m K)";
    case 'g':
      return english ? "lbf/ft" : "mN/m";
    default:
      return "";
  }
}

}  // namespace vapordex::units
