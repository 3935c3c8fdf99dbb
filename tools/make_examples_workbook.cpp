// Writes the example workbook that ships with the add-in:
//   make_examples_workbook OUT.xlsx
// Every formula cell also stores its value, computed here by the very
// worksheet functions the add-in exports (called by name through the
// catalogue), so the workbook shows numbers before the add-in is loaded and
// Excel recalculates the same numbers with it. Nothing in the file depends on
// the time it was written: two runs give the same bytes.
#include <xlsxwriter.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "frontend/catalogue.hpp"
#include "frontend/units.hpp"

namespace {

// The result of one worksheet call, as the add-in computes it (NaN for
// #NUM!).
double call(const std::string& function, const std::vector<double>& args,
            const std::vector<int>& codes) {
  const vapordex::FunctionInfo* f = vapordex::findFunction(function);
  if (f == nullptr || args.size() > 2 || codes.size() > 2) {
    std::fprintf(stderr, "make_examples_workbook: no call %s\n", function.c_str());
    std::exit(1);
  }
  double numbers[2] = {0.0, 0.0};
  std::int32_t codeValues[2] = {0, 0};
  for (std::size_t k = 0; k < args.size(); ++k) numbers[k] = args[k];
  for (std::size_t k = 0; k < codes.size(); ++k) codeValues[k] = codes[k];
  const XLOPER* r = vapordex::callWorksheet(*f, numbers, codeValues);
  return r->xltype == xltypeNum ? r->val.num : NAN;
}

// A1 name of a cell (row and column from 0).
std::string cell(int row, int col) {
  std::string name;
  for (int c = col + 1; c > 0; c = (c - 1) / 26)
    name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
  return name + std::to_string(row + 1);
}
std::string absolute(int row, int col) {
  const std::string a = cell(row, col);
  std::size_t digits = a.find_first_of("0123456789");
  return "$" + a.substr(0, digits) + "$" + a.substr(digits);
}

// A formula and the value it stores.
void formula(lxw_worksheet* ws, int row, int col, const std::string& text, double value,
             lxw_format* format) {
  worksheet_write_formula_num(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                              text.c_str(), format, value);
}
void number(lxw_worksheet* ws, int row, int col, double value, lxw_format* format = nullptr) {
  worksheet_write_number(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), value,
                         format);
}
void text(lxw_worksheet* ws, int row, int col, const std::string& value,
          lxw_format* format = nullptr) {
  worksheet_write_string(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                         value.c_str(), format);
}

// A label that follows the sign of the code in codeCell: the English text
// for a positive code, the SI text otherwise (the stored text is the SI one,
// for the workbook's negative codes).
void unitLabel(lxw_worksheet* ws, int row, int col, const std::string& codeCell,
               const std::string& english, const std::string& si, lxw_format* format = nullptr) {
  const std::string f = "=IF(" + codeCell + ">0,\"" + english + "\",\"" + si + "\")";
  worksheet_write_formula_str(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                              f.c_str(), format, si.c_str());
}

// How a sheet prints: as wide as one page, its name and the page number in
// the header, and the given rows repeated on every page (none for -1).
void printSetup(lxw_worksheet* ws, bool landscape, int repeatFirst, int repeatLast) {
  if (landscape) worksheet_set_landscape(ws);
  worksheet_fit_to_pages(ws, 1, 0);
  worksheet_set_header(ws, "&L&A&RPage &P of &N");
  if (repeatFirst >= 0) {
    worksheet_repeat_rows(ws, static_cast<lxw_row_t>(repeatFirst),
                          static_cast<lxw_row_t>(repeatLast));
  }
}

// A worksheet call whose arguments are cells: "=F(B4,C4,D4)".
std::string callText(const std::string& function, const std::vector<std::string>& cells) {
  std::string t = "=" + function + "(";
  for (std::size_t k = 0; k < cells.size(); ++k) t += (k ? "," : "") + cells[k];
  return t + ")";
}

struct FunctionInfo {
  std::string name;
  std::vector<std::string> argNames;  // the numeric arguments
  int codes = 0;                      // formulation arguments (HofTS has two)
  std::string help;
};

std::vector<FunctionInfo> functions() {
  std::vector<FunctionInfo> out;
  for (const vapordex::FunctionInfo& fn : vapordex::catalogue()) {
    FunctionInfo f{fn.name, {}, 0, vapordex::toUtf8(fn.help)};
    for (const vapordex::ArgumentInfo& a : fn.arguments) {
      if (a.type == 'J') {
        ++f.codes;
      } else {
        f.argNames.emplace_back(a.name);
      }
    }
    out.push_back(f);
  }
  return out;
}

// Example arguments in SI units for each function (T in K, P in MPa, v in
// cm3/g, h in kJ/kg, s in kJ/(kg K)), and their English counterparts.
std::vector<double> siArguments(const std::string& f) {
  if (f == "Psat" || f == "Vf" || f == "Vg" || f == "Hf" || f == "Hg" || f == "Sf" || f == "Sg") {
    return {373.15};
  }
  if (f == "Tsat") return {0.101325};
  if (f == "VofTP" || f == "HofTP" || f == "SofTP") return {700.0, 10.0};
  if (f == "PofTV" || f == "HofTV" || f == "SofTV") return {700.0, 25.0};
  if (f == "TofPH" || f == "SofPH") return {10.0, 3000.0};
  if (f == "TofPS" || f == "HofPS") return {10.0, 6.5};
  if (f == "CpofTP" || f == "CvofTP" || f == "WofTP" || f == "MuofTP" || f == "KofTP") {
    return {500.0, 10.0};
  }
  if (f == "XofPH") return {1.0, 2000.0};
  if (f == "XofPS") return {1.0, 5.0};
  if (f == "SigmaofT") return {373.15};
  return {700.0, 6.5};  // HofTS
}
// Rounded to six decimals, so that the number in the file (which holds 16
// significant digits) is the very argument the stored value was computed for.
double toEnglish(char quantity, double x) {
  namespace u = vapordex::units;
  double e = x;
  switch (quantity) {
    case 'T':
      e = u::temperatureOut(x);
      break;
    case 'P':
      e = u::pressureOut(x);
      break;
    case 'V':
      e = u::volumeOut(x);
      break;
    case 'H':
      e = u::enthalpyOut(x);
      break;
    case 'S':
      e = u::entropyOut(x);
      break;
  }
  return std::round(e * 1e6) / 1e6;
}
// The quantity of each argument of a function, from its name: the letters
// after "of" (HofTP: "TP", SigmaofT: "T"), T for the saturation functions,
// P for Tsat.
std::string quantities(const std::string& f) {
  if (f == "Tsat") return "P";
  const std::size_t of = f.find("of");
  if (of == std::string::npos) return "T";  // Psat, Vf, ... take T
  return f.substr(of + 2);
}

// The unit of a quantity ('T', 'P', 'V', 'H', 'S', as quantities() names
// them) in either unit system.
std::string unitOf(char quantity, bool english) {
  const bool upper = quantity == 'T' || quantity == 'P';
  return vapordex::units::name(upper ? quantity : static_cast<char>(std::tolower(quantity)),
                               english);
}

constexpr int kCodes[] = {67, 69, 84, 95, 97, 20};
constexpr const char* kNames[] = {"IFC-67",   "KKHM 1969",  "NBS/NRC 1984",
                                  "IAPWS-95", "IAPWS-IF97", "compact 2020"};

struct Formats {
  lxw_format* title;
  lxw_format* bold;
  lxw_format* input;
  lxw_format* value;
  lxw_format* wrap;
};

void aboutSheet(lxw_workbook* wb, const Formats& f) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, "About");
  // A column that fits a portrait page; each paragraph's row as high as its
  // wrapped lines (about 70 characters each at this width).
  worksheet_set_column(ws, 0, 0, 80, nullptr);
  printSetup(ws, false, -1, -1);
  const std::string title = vapordex::kCategory;
  text(ws, 0, 0, title + ": example workbook", f.title);
  const char* lines[] = {
      "This workbook shows the worksheet functions of the Vapordex add-in for the thermodynamic "
      "properties of water and steam, with real arguments, in SI and English units, a worked "
      "Rankine cycle and the water side of a heat exchanger.",
      "",
      "The add-in must be loaded for Excel to recalculate the formulas. Until then every formula "
      "cell shows the value stored in it when the workbook was made, computed by the same code "
      "as the add-in.",
      "",
      "To load the add-in: File > Options > Add-ins, Manage: Excel Add-ins, Go..., Browse..., "
      "pick Vapordex64.xll (64-bit Excel) or Vapordex32.xll (32-bit Excel) and tick it. "
      "Or run VapordexSetup.exe, then activate the add-in in the same dialog.",
      "",
      "The last argument of every function is the formulation code: 67 = IFC-67, 69 = KKHM 1969, "
      "84 = NBS/NRC 1984, 95 = IAPWS-95, 97 = IAPWS-IF97, 20 = compact 2020. A positive code "
      "selects English units (F, psia, ft3/lbm, BTU/lbm, BTU/(lbm R)), zero or a negative code "
      "SI units (K, MPa, cm3/g, kJ/kg, kJ/(kg K)). -999 marks an error. HofTS takes a second "
      "code after the first, which it does not use (Formulation 2 on the Functions sheet).",
      "",
      "Sheets: Functions (every function under every formulation), Saturation (a saturation "
      "table for the code in one cell), Compare (one state under all six formulations), Cycle "
      "(a simple Rankine cycle), Exchanger (Prandtl and Reynolds numbers of water in a tube).",
  };
  int row = 2;
  for (const char* line : lines) {
    const std::size_t wrapped = (std::string(line).size() + 69) / 70;
    if (wrapped > 1) {
      worksheet_set_row(ws, static_cast<lxw_row_t>(row), 15.0 * static_cast<double>(wrapped) + 3.0,
                        nullptr);
    }
    text(ws, row++, 0, line, f.wrap);
  }
}

void functionsSheet(lxw_workbook* wb, const Formats& f) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, "Functions");
  worksheet_set_column(ws, 0, 0, 10, nullptr);
  worksheet_set_column(ws, 1, 3, 13, nullptr);
  worksheet_set_column(ws, 4, 4, 24, nullptr);
  worksheet_set_column(ws, 5, 5, 20, nullptr);
  worksheet_set_column(ws, 6, 6, 60, nullptr);
  worksheet_set_column(ws, 7, 7, 22, nullptr);
  printSetup(ws, true, 1, 1);
  const std::vector<FunctionInfo> all = functions();
  int row = 0;
  for (bool english : {false, true}) {
    text(ws, row, 0, english ? "English units (positive codes)" : "SI units (negative codes)",
         f.title);
    ++row;
    const char* header[] = {"Function",
                            "Argument 1",
                            "Argument 2",
                            "Formulation",
                            "Formulation 2 (not used)",
                            "Result",
                            "Help",
                            "Units of the arguments"};
    for (int c = 0; c < 8; ++c) text(ws, row, c, header[c], f.bold);
    ++row;
    for (const FunctionInfo& fn : all) {
      const std::vector<double> si = siArguments(fn.name);
      const std::string q = quantities(fn.name);
      for (int magnitude : kCodes) {
        const int code = english ? magnitude : -magnitude;
        std::vector<double> args;
        for (std::size_t k = 0; k < si.size(); ++k) {
          args.push_back(english ? toEnglish(q[k], si[k]) : si[k]);
        }
        text(ws, row, 0, fn.name);
        std::vector<std::string> refs;
        for (std::size_t k = 0; k < args.size(); ++k) {
          number(ws, row, 1 + static_cast<int>(k), args[k], f.input);
          refs.push_back(cell(row, 1 + static_cast<int>(k)));
        }
        number(ws, row, 3, code, f.input);
        refs.push_back(cell(row, 3));
        std::vector<int> codes{code};
        if (fn.codes == 2) {
          number(ws, row, 4, 0, f.input);
          refs.push_back(cell(row, 4));
          codes.push_back(0);
        }
        formula(ws, row, 5, callText(fn.name, refs), call(fn.name, args, codes), f.value);
        text(ws, row, 6, fn.help);
        std::string units;
        for (const char quantity : q.substr(0, args.size())) {
          units += (units.empty() ? "" : ", ") + unitOf(quantity, english);
        }
        text(ws, row, 7, units);
        ++row;
      }
    }
    ++row;
  }
}

void saturationSheet(lxw_workbook* wb, const Formats& f) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, "Saturation");
  worksheet_set_column(ws, 0, 0, 18, nullptr);
  worksheet_set_column(ws, 1, 7, 14, nullptr);
  printSetup(ws, true, 3, 4);
  const int code = -97;
  text(ws, 0, 0, "Saturation table by temperature", f.title);
  text(ws, 1, 0, "Formulation code", f.bold);
  number(ws, 1, 1, code, f.input);
  text(ws, 1, 2, "change the code (the sign selects the units of the whole table)");
  const std::string codeCell = absolute(1, 1);
  const char* header[] = {"T", "Psat", "vf", "vg", "hf", "hg", "sf", "sg"};
  const char units[] = "TPVVHHSS";  // the quantity of each column
  const char* function[] = {nullptr, "Psat", "Vf", "Vg", "Hf", "Hg", "Sf", "Sg"};
  for (int c = 0; c < 8; ++c) {
    text(ws, 3, c, header[c], f.bold);
    unitLabel(ws, 4, c, codeCell, unitOf(units[c], true), unitOf(units[c], false));
  }
  int row = 5;
  for (double T = 280.0; T <= 640.0; T += 20.0, ++row) {
    number(ws, row, 0, T, f.input);
    for (int c = 1; c < 8; ++c) {
      formula(ws, row, c, callText(function[c], {cell(row, 0), codeCell}),
              call(function[c], {T}, {code}), f.value);
    }
  }
}

void compareSheet(lxw_workbook* wb, const Formats& f) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, "Compare");
  worksheet_set_column(ws, 0, 0, 16, nullptr);
  worksheet_set_column(ws, 1, 9, 16, nullptr);
  worksheet_set_column(ws, 8, 8, 20, nullptr);
  printSetup(ws, true, 4, 4);
  text(ws, 0, 0, "One state under all six formulations (SI units)", f.title);
  const double T = 550.0;
  const double P = 5.0;
  text(ws, 1, 0, "T (K)", f.bold);
  number(ws, 1, 1, T, f.input);
  text(ws, 2, 0, "P (MPa)", f.bold);
  number(ws, 2, 1, P, f.input);
  const char* header[] = {"Formulation", "Code",          "v (cm3/g)",
                          "h (kJ/kg)",   "s (kJ/(kg K))", "v - v95",
                          "h - h95",     "s - s95",       "h - h95 (relative)"};
  for (int c = 0; c < 9; ++c) text(ws, 4, c, header[c], f.bold);
  const int first = 5;
  const int row95 = first + 3;  // IAPWS-95 is the fourth row
  const char* function[] = {"VofTP", "HofTP", "SofTP"};
  double v95[3];
  for (int k = 0; k < 3; ++k) v95[k] = call(function[k], {T, P}, {-95});
  for (int i = 0; i < 6; ++i) {
    const int row = first + i;
    text(ws, row, 0, kNames[i]);
    number(ws, row, 1, -kCodes[i], f.input);
    for (int k = 0; k < 3; ++k) {
      const double value = call(function[k], {T, P}, {-kCodes[i]});
      formula(ws, row, 2 + k, callText(function[k], {absolute(1, 1), absolute(2, 1), cell(row, 1)}),
              value, f.value);
      formula(ws, row, 5 + k, "=" + cell(row, 2 + k) + "-" + absolute(row95, 2 + k), value - v95[k],
              f.value);
    }
    const double h = call("HofTP", {T, P}, {-kCodes[i]});
    formula(ws, row, 8, "=" + cell(row, 6) + "/" + absolute(row95, 3), (h - v95[1]) / v95[1],
            f.value);
  }
}

// A worked example sheet: a title, input cells under "Inputs" from B3 and
// result formulas under "Results"; every label follows the sign of the
// code in codeCell (an input). Labels are (English, SI) pairs.
struct Input {
  const char* english;
  const char* si;
  double value;
};
struct Step {
  const char* english;
  const char* si;
  std::string text;
  double value;
};

lxw_worksheet* workedSheet(lxw_workbook* wb, const Formats& f, const char* name,
                           const std::string& codeCell, const std::string& title) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, name);
  worksheet_set_column(ws, 0, 0, 52, nullptr);
  worksheet_set_column(ws, 1, 2, 18, nullptr);
  printSetup(ws, false, -1, -1);
  unitLabel(ws, 0, 0, "$" + codeCell.substr(0, 1) + "$" + codeCell.substr(1),
            title + " (English units)", title + " (SI units)", f.title);
  return ws;
}

void writeInputs(lxw_worksheet* ws, const Formats& f, const std::string& code,
                 std::span<const Input> inputs) {
  text(ws, 1, 0, "Inputs", f.bold);
  int row = 2;  // B3 is the first input
  for (const Input& in : inputs) {
    unitLabel(ws, row, 0, code, in.english, in.si);
    number(ws, row, 1, in.value, f.input);
    ++row;
  }
}

// The results from the row after the "Results" heading.
void writeSteps(lxw_worksheet* ws, const Formats& f, const std::string& code, int headingRow,
                std::span<const Step> steps) {
  text(ws, headingRow, 0, "Results", f.bold);
  int row = headingRow + 1;
  for (const Step& s : steps) {
    unitLabel(ws, row, 0, code, s.english, s.si);
    formula(ws, row, 1, s.text, s.value, f.value);
    ++row;
  }
}

void cycleSheet(lxw_workbook* wb, const Formats& f) {
  // Every label with a unit follows the sign of the code in B8.
  const std::string code = "B8";
  lxw_worksheet* ws = workedSheet(wb, f, "Cycle", code, "A simple Rankine cycle");
  const Input inputs[] = {
      {"Boiler pressure P1 (psia)", "Boiler pressure P1 (MPa)", 10.0},
      {"Turbine inlet temperature T1 (F)", "Turbine inlet temperature T1 (K)", 823.15},
      {"Condenser pressure P2 (psia)", "Condenser pressure P2 (MPa)", 0.01},
      {"Turbine efficiency", "Turbine efficiency", 0.85},
      {"Pump efficiency", "Pump efficiency", 0.75},
      {"Formulation code (positive: English units)", "Formulation code (negative: SI units)", -97}};
  writeInputs(ws, f, code, inputs);
  const std::string p1 = "B3", t1 = "B4", p2 = "B5", etaT = "B6", etaP = "B7";
  const double P1 = inputs[0].value, T1 = inputs[1].value, P2 = inputs[2].value;
  const double eT = inputs[3].value, eP = inputs[4].value;
  const int c = static_cast<int>(inputs[5].value);

  const double h1 = call("HofTP", {T1, P1}, {c});
  const double s1 = call("SofTP", {T1, P1}, {c});
  const double h2s = call("HofPS", {P2, s1}, {c});
  const double h2 = h1 - eT * (h1 - h2s);
  const double T2 = call("TofPH", {P2, h2}, {c});
  const double T3 = call("Tsat", {P2}, {c});
  const double h3 = call("Hf", {T3}, {c});
  const double s3 = call("Sf", {T3}, {c});
  const double v3 = call("Vf", {T3}, {c});
  // v dP as an enthalpy: cm3/g times MPa is kJ/kg; ft3/lbm times psia is
  // 144 ft lbf/lbm, and 778.169262 ft lbf make one BTU.
  const double factor = 1.0;
  const double wp = v3 * (P1 - P2) / eP * factor;
  const double h4 = h3 + wp;
  const double wt = h1 - h2;
  const double qin = h1 - h4;
  const double eta = (wt - wp) / qin;

  const Step steps[] = {
      {"Turbine inlet enthalpy h1 (BTU/lbm)", "Turbine inlet enthalpy h1 (kJ/kg)",
       callText("HofTP", {t1, p1, code}), h1},
      {"Turbine inlet entropy s1 (BTU/(lbm R))", "Turbine inlet entropy s1 (kJ/(kg K))",
       callText("SofTP", {t1, p1, code}), s1},
      {"Isentropic turbine exit enthalpy h2s (BTU/lbm)",
       "Isentropic turbine exit enthalpy h2s (kJ/kg)", callText("HofPS", {p2, "B12", code}), h2s},
      {"Turbine exit enthalpy h2 (BTU/lbm)", "Turbine exit enthalpy h2 (kJ/kg)",
       "=B11-" + etaT + "*(B11-B13)", h2},
      {"Turbine exit temperature T2 (F)", "Turbine exit temperature T2 (K)",
       callText("TofPH", {p2, "B14", code}), T2},
      {"Condenser temperature T3 (F)", "Condenser temperature T3 (K)", callText("Tsat", {p2, code}),
       T3},
      {"Condensate enthalpy h3 (BTU/lbm)", "Condensate enthalpy h3 (kJ/kg)",
       callText("Hf", {"B16", code}), h3},
      {"Condensate entropy s3 (BTU/(lbm R))", "Condensate entropy s3 (kJ/(kg K))",
       callText("Sf", {"B16", code}), s3},
      {"Condensate volume v3 (ft3/lbm)", "Condensate volume v3 (cm3/g)",
       callText("Vf", {"B16", code}), v3},
      {"Pump work wp (BTU/lbm)", "Pump work wp (kJ/kg)",
       "=B19*(" + p1 + "-" + p2 + ")/" + etaP + "*B26", wp},
      {"Boiler inlet enthalpy h4 (BTU/lbm)", "Boiler inlet enthalpy h4 (kJ/kg)", "=B17+B20", h4},
      {"Turbine work wt (BTU/lbm)", "Turbine work wt (kJ/kg)", "=B11-B14", wt},
      {"Heat added qin (BTU/lbm)", "Heat added qin (kJ/kg)", "=B11-B21", qin},
      {"Thermal efficiency", "Thermal efficiency", "=(B22-B20)/B23", eta},
  };
  writeSteps(ws, f, code, 9, steps);  // B11 is the first result
  // B26: the unit factor of the pump work.
  unitLabel(ws, 25, 0, code, "v dP to BTU/lbm (144 / 778.169262)", "v dP to kJ/kg (1)");
  formula(ws, 25, 1, "=IF(" + code + ">0,144/778.169262,1)", factor, f.value);
}

// Water heated in a tube: Prandtl and Reynolds numbers from cp, viscosity
// and conductivity, with the speed of sound and the equilibrium quality.
void exchangerSheet(lxw_workbook* wb, const Formats& f) {
  const std::string code = "B7";
  lxw_worksheet* ws = workedSheet(wb, f, "Exchanger", code, "Water in a heat-exchanger tube");
  const Input inputs[] = {
      {"Water temperature T (F)", "Water temperature T (K)", 450.0},
      {"Pressure P (psia)", "Pressure P (MPa)", 5.0},
      {"Mass flow m (lbm/h)", "Mass flow m (kg/s)", 0.5},
      {"Tube inner diameter D (ft)", "Tube inner diameter D (m)", 0.025},
      {"Formulation code (positive: English units)", "Formulation code (negative: SI units)", -97}};
  writeInputs(ws, f, code, inputs);
  const std::string t = "B3", p = "B4", m = "B5", d = "B6";
  const double T = inputs[0].value, P = inputs[1].value, flow = inputs[2].value;
  const double D = inputs[3].value;
  const int c = static_cast<int>(inputs[4].value);
  const double cp = call("CpofTP", {T, P}, {c});
  const double mu = call("MuofTP", {T, P}, {c});
  const double k = call("KofTP", {T, P}, {c});
  const double prandtl = mu * cp / k;
  // Re = 4 m / (pi D mu): mu in uPa s takes the factor 1e6; lbm/(ft h)
  // with m in lbm/h and D in ft none.
  const double reFactor = 1e6;
  const double reynolds = 4.0 * flow * reFactor / (3.14159265358979 * D * mu);
  const double w = call("WofTP", {T, P}, {c});
  const double h = call("HofTP", {T, P}, {c});
  const double x = call("XofPH", {P, h}, {c});
  const Step steps[] = {
      {"Isobaric heat capacity cp (BTU/(lbm R))", "Isobaric heat capacity cp (kJ/(kg K))",
       callText("CpofTP", {t, p, code}), cp},
      {"Viscosity mu (lbm/(ft h))", "Viscosity mu (uPa s)", callText("MuofTP", {t, p, code}), mu},
      {"Thermal conductivity k (BTU/(h ft F))", "Thermal conductivity k (mW/(m K))",
       callText("KofTP", {t, p, code}), k},
      // uPa s times kJ/(kg K) over mW/(m K), and the English units, are both
      // dimensionless as they stand.
      {"Prandtl number mu cp / k", "Prandtl number mu cp / k", "=B11*B10/B12", prandtl},
      {"Reynolds number factor (1)", "Reynolds number factor (1e6 for uPa s)",
       "=IF(" + code + ">0,1,1000000)", reFactor},
      {"Reynolds number 4 m / (pi D mu)", "Reynolds number 4 m / (pi D mu)",
       "=4*" + m + "*B14/(3.14159265358979*" + d + "*B11)", reynolds},
      {"Speed of sound w (ft/s)", "Speed of sound w (m/s)", callText("WofTP", {t, p, code}), w},
      {"Enthalpy h (BTU/lbm)", "Enthalpy h (kJ/kg)", callText("HofTP", {t, p, code}), h},
      {"Equilibrium quality (below 0: subcooled)", "Equilibrium quality (below 0: subcooled)",
       callText("XofPH", {p, "B17", code}), x},
  };
  writeSteps(ws, f, code, 8, steps);  // B10 is the first result
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_examples_workbook OUT.xlsx\n", stderr);
    return 2;
  }
  // A fixed creation date (the zip entries carry it too), so the bytes do not
  // depend on when the workbook is made.
  constexpr time_t kCreated = 1577836800;  // 2020-01-01 00:00:00 UTC
  lxw_workbook* wb = workbook_new(argv[1]);
  if (wb == nullptr) {
    std::fprintf(stderr, "make_examples_workbook: cannot create %s\n", argv[1]);
    return 1;
  }
  lxw_doc_properties properties = {};
  properties.title = const_cast<char*>("Vapordex examples");
  properties.created = kCreated;
  workbook_set_properties(wb, &properties);
  Formats f{};
  f.title = workbook_add_format(wb);
  format_set_bold(f.title);
  format_set_font_size(f.title, 14);
  f.bold = workbook_add_format(wb);
  format_set_bold(f.bold);
  f.input = workbook_add_format(wb);
  format_set_bg_color(f.input, 0xFFF2CC);
  f.value = workbook_add_format(wb);
  format_set_num_format(f.value, "0.000000");
  f.wrap = workbook_add_format(wb);
  format_set_text_wrap(f.wrap);

  aboutSheet(wb, f);
  functionsSheet(wb, f);
  saturationSheet(wb, f);
  compareSheet(wb, f);
  cycleSheet(wb, f);
  exchangerSheet(wb, f);
  const lxw_error error = workbook_close(wb);
  if (error != LXW_NO_ERROR) {
    std::fprintf(stderr, "make_examples_workbook: %s\n", lxw_strerror(error));
    return 1;
  }
  return 0;
}
