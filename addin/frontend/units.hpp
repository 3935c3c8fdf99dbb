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

// The name of the unit of a quantity ('T', 'P', 'v', 'h' or 's') in either
// unit system, as the tool's tables and the example workbook print it.
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
      return english ? "BTU/(lbm R)" : "kJ/(kg K)";
    default:
      return "";
  }
}

}  // namespace vapordex::units
