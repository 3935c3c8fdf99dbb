// The catalogue of the worksheet functions: names, argument names
// and help texts (code page 1252: \xB0 is the degree sign, \xB3 the
// superscript three), and the exported functions themselves. The add-in
// registers from it, the command-line tool dispatches and lists from it.
#include "catalogue.hpp"

#include <cmath>
#include <string>

#include "worksheet.hpp"

namespace vapordex {

namespace {

// Help texts of the arguments, each written once.
constexpr const char kSaturationTemperatureHelp[] =
    "saturation temperature [\xB0"
    "F:K]";
constexpr const char kTemperatureHelp[] =
    "temperature [\xB0"
    "F:K]";
constexpr const char kPressureHelp[] = "pressure [psia:MPa]";
constexpr const char kEnthalpyHelp[] = "enthalpy [BTU/lbm:kJ/kg]";
constexpr const char kEntropyHelp[] =
    "entropy [BTU/lbm/\xB0"
    "R:kJ/kg/\xB0"
    "K]";
constexpr const char kSpecificVolumeHelp[] =
    "specific volume [ft\xB3"
    "/lbm:cm\xB3"
    "/g]";
constexpr const char kFormulations[] = "67=ASME, 69=KKHM, 84=NBS/NRC, 95=SF95, 97=IF97, 20=2020";

constexpr ArgumentInfo kPsatArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kTsatArguments[] = {
    {'B', "Ps", "saturation pressure [psia:MPa]", Quantity::kPressure},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kVfArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kVgArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kHfArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kHgArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kSfArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kSgArguments[] = {
    {'B', "Ts", kSaturationTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kVofTPArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kHofTPArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kSofTPArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kTofPHArguments[] = {
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'B', "H", kEnthalpyHelp, Quantity::kEnthalpy},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kTofPSArguments[] = {
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'B', "S", kEntropyHelp, Quantity::kEntropy},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kHofPSArguments[] = {
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'B', "S", kEntropyHelp, Quantity::kEntropy},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kSofPHArguments[] = {
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'B', "H", kEnthalpyHelp, Quantity::kEnthalpy},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
// HofTS registers a second formulation argument, which it ignores; its first
// one's help text (as registered since the first release) omits 20=2020.
constexpr ArgumentInfo kHofTSArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "S", kEntropyHelp, Quantity::kEntropy},
    {'J', "formulation", "67=ASME, 69=KKHM, 84=NBS/NRC, 95=SF95, 97=IF97", Quantity::kCode},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kPofTVArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "V", kSpecificVolumeHelp, Quantity::kVolume},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kHofTVArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "V", kSpecificVolumeHelp, Quantity::kVolume},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kSofTVArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "V", kSpecificVolumeHelp, Quantity::kVolume},
    {'J', "formulation", kFormulations, Quantity::kCode},
};

// The (T, P) functions of heat transfer and flow share their arguments.
constexpr ArgumentInfo kTemperaturePressureArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kXofPHArguments[] = {
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'B', "H", kEnthalpyHelp, Quantity::kEnthalpy},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kXofPSArguments[] = {
    {'B', "P", kPressureHelp, Quantity::kPressure},
    {'B', "S", kEntropyHelp, Quantity::kEntropy},
    {'J', "formulation", kFormulations, Quantity::kCode},
};
constexpr ArgumentInfo kSigmaofTArguments[] = {
    {'B', "T", kTemperatureHelp, Quantity::kTemperature},
    {'J', "formulation", kFormulations, Quantity::kCode},
};

constexpr FunctionInfo kCatalogue[] = {
    {.name = "Psat",
     .help = "saturation pressure [psia:MPa]",
     .arguments = kPsatArguments,
     .one = Psat},
    {.name = "Tsat", .help = kSaturationTemperatureHelp, .arguments = kTsatArguments, .one = Tsat},
    {.name = "Vf",
     .help = "specific volume of saturated liquid [ft\xB3"
             "/lbm:cm\xB3"
             "/g]",
     .arguments = kVfArguments,
     .one = Vf},
    {.name = "Vg",
     .help = "specific volume of saturated vapor [ft\xB3"
             "/lbm:cm\xB3"
             "/g]",
     .arguments = kVgArguments,
     .one = Vg},
    {.name = "Hf",
     .help = "enthalpy of saturated liquid [BTU/lbm:kJ/kg]",
     .arguments = kHfArguments,
     .one = Hf},
    {.name = "Hg",
     .help = "enthalpy of saturated vapor [BTU/lbm:kJ/kg]",
     .arguments = kHgArguments,
     .one = Hg},
    {.name = "Sf",
     .help = "entropy of saturated liquid [BTU/lbm/\xB0"
             "R:kJ/kg/\xB0"
             "K]",
     .arguments = kSfArguments,
     .one = Sf},
    {.name = "Sg",
     .help = "entropy of saturated vapor [BTU/lbm/\xB0"
             "R:kJ/kg/\xB0"
             "K]",
     .arguments = kSgArguments,
     .one = Sg},
    {.name = "VofTP", .help = kSpecificVolumeHelp, .arguments = kVofTPArguments, .two = VofTP},
    {.name = "HofTP", .help = kEnthalpyHelp, .arguments = kHofTPArguments, .two = HofTP},
    {.name = "SofTP", .help = kEntropyHelp, .arguments = kSofTPArguments, .two = SofTP},
    {.name = "TofPH", .help = kTemperatureHelp, .arguments = kTofPHArguments, .two = TofPH},
    {.name = "TofPS", .help = kTemperatureHelp, .arguments = kTofPSArguments, .two = TofPS},
    {.name = "HofPS", .help = kEnthalpyHelp, .arguments = kHofPSArguments, .two = HofPS},
    {.name = "SofPH", .help = kEntropyHelp, .arguments = kSofPHArguments, .two = SofPH},
    {.name = "HofTS", .help = kEnthalpyHelp, .arguments = kHofTSArguments, .twoCodes = HofTS},
    {.name = "PofTV", .help = kPressureHelp, .arguments = kPofTVArguments, .two = PofTV},
    {.name = "HofTV", .help = kEnthalpyHelp, .arguments = kHofTVArguments, .two = HofTV},
    {.name = "SofTV", .help = kEntropyHelp, .arguments = kSofTVArguments, .two = SofTV},
    {.name = "CpofTP",
     .help = "isobaric heat capacity [BTU/lbm/\xB0"
             "R:kJ/kg/\xB0"
             "K]",
     .arguments = kTemperaturePressureArguments,
     .two = CpofTP},
    {.name = "CvofTP",
     .help = "isochoric heat capacity [BTU/lbm/\xB0"
             "R:kJ/kg/\xB0"
             "K]",
     .arguments = kTemperaturePressureArguments,
     .two = CvofTP},
    {.name = "WofTP",
     .help = "speed of sound [ft/s:m/s]",
     .arguments = kTemperaturePressureArguments,
     .two = WofTP},
    {.name = "XofPH",
     .help = "equilibrium quality (h-hf)/(hg-hf), below 0 subcooled, above 1 superheated",
     .arguments = kXofPHArguments,
     .two = XofPH},
    {.name = "XofPS",
     .help = "equilibrium quality (s-sf)/(sg-sf), below 0 subcooled, above 1 superheated",
     .arguments = kXofPSArguments,
     .two = XofPS},
    {.name = "MuofTP",
     .help = "dynamic viscosity [lbm/ft/h:\xB5Pa s]",
     .arguments = kTemperaturePressureArguments,
     .two = MuofTP},
    {.name = "KofTP",
     .help = "thermal conductivity [BTU/h/ft/\xB0"
             "F:mW/m/\xB0"
             "K]",
     .arguments = kTemperaturePressureArguments,
     .two = KofTP},
    {.name = "SigmaofT",
     .help = "surface tension of saturated liquid [lbf/ft:mN/m]",
     .arguments = kSigmaofTArguments,
     .one = SigmaofT},
};

}  // namespace

std::span<const FunctionInfo> catalogue() { return kCatalogue; }

// Names as Excel matches them: without regard to case.
const FunctionInfo* findFunction(std::string_view name) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  for (const FunctionInfo& f : kCatalogue) {
    const std::string_view candidate = f.name;
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < name.size() && same; ++k) {
      same = lower(candidate[k]) == lower(name[k]);
    }
    if (same) return &f;
  }
  return nullptr;
}

LPXLOPER callWorksheet(const FunctionInfo& f, const double* numbers, const std::int32_t* codes) {
  if (f.one != nullptr) return f.one(numbers[0], codes[0]);
  if (f.two != nullptr) return f.two(numbers[0], numbers[1], codes[0]);
  return f.twoCodes(numbers[0], numbers[1], codes[0], codes[1]);
}

double callFunction(std::string_view name, double a, double b, std::int32_t code) {
  const FunctionInfo* entry = findFunction(name);
  if (entry == nullptr) return std::nan("");
  const double numbers[2] = {a, b};
  const std::int32_t codes[2] = {code, 0};
  const XLOPER* r = callWorksheet(*entry, numbers, codes);
  return r->xltype == xltypeNum ? r->val.num : std::nan("");
}

std::string toUtf8(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte < 0x80) {
      out += *c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

}  // namespace vapordex
