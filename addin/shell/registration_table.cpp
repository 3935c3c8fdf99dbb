#include "registration_table.hpp"

namespace vapordex::shell {

// Help text of every formulation argument.
constexpr const char kFormulations[] = "67=ASME, 69=KKHM, 84=NBS/NRC, 95=SF95, 97=IF97, 20=2020";

const RegistrationRow kRegistrationTable[] = {
    {'R', "Psat", "saturation pressure [psia:MPa]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Tsat",
     "saturation temperature [\xB0"
     "F:K]"},
    {'B', "Ps", "saturation pressure [psia:MPa]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Vf",
     "specific volume of saturated liquid [ft\xB3"
     "/lbm:cm\xB3"
     "/g]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Vg",
     "specific volume of saturated vapor [ft\xB3"
     "/lbm:cm\xB3"
     "/g]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Hf", "enthalpy of saturated liquid [BTU/lbm:kJ/kg]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Hg", "enthalpy of saturated vapor [BTU/lbm:kJ/kg]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Sf",
     "entropy of saturated liquid [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "Sg",
     "entropy of saturated vapor [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'B', "Ts",
     "saturation temperature [\xB0"
     "F:K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "VofTP",
     "specific volume [ft\xB3"
     "/lbm:cm\xB3"
     "/g]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "HofTP", "enthalpy [BTU/lbm:kJ/kg]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "SofTP",
     "entropy [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "TofPH",
     "temperature [\xB0"
     "F:K]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'B', "H", "enthalpy [BTU/lbm:kJ/kg]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "TofPS",
     "temperature [\xB0"
     "F:K]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'B', "S",
     "entropy [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "HofPS", "enthalpy [BTU/lbm:kJ/kg]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'B', "S",
     "entropy [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "SofPH",
     "entropy [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'B', "P", "pressure [psia:MPa]"},
    {'B', "H", "enthalpy [BTU/lbm:kJ/kg]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "HofTS", "enthalpy [BTU/lbm:kJ/kg]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "S",
     "entropy [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'J', "formulation", "67=ASME, 69=KKHM, 84=NBS/NRC, 95=SF95, 97=IF97"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "PofTV", "pressure [psia:MPa]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "V",
     "specific volume [ft\xB3"
     "/lbm:cm\xB3"
     "/g]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "HofTV", "enthalpy [BTU/lbm:kJ/kg]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "V",
     "specific volume [ft\xB3"
     "/lbm:cm\xB3"
     "/g]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {'R', "SofTV",
     "entropy [BTU/lbm/\xB0"
     "R:kJ/kg/\xB0"
     "K]"},
    {'B', "T",
     "temperature [\xB0"
     "F:K]"},
    {'B', "V",
     "specific volume [ft\xB3"
     "/lbm:cm\xB3"
     "/g]"},
    {'J', "formulation", kFormulations},
    {0, nullptr, nullptr},
    {0, nullptr, nullptr},
};

}  // namespace vapordex::shell
