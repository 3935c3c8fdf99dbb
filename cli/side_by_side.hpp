// The formulations side by side: `vapordex compare`, printed steam tables
// (`vapordex table`) and charts (`vapordex chart`). Everything is computed by
// the exported worksheet functions, with their unit conversions and guards.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vapordex::cli {

struct FormulationName {
  std::int32_t code;
  const char* name;
};
inline constexpr FormulationName kFormulations[] = {
    {67, "IFC-67"},   {69, "KKHM 1969"},  {84, "NBS/NRC 1984"},
    {95, "IAPWS-95"}, {97, "IAPWS-IF97"}, {20, "compact 2020"},
};
const char* formulationName(std::int32_t code);  // by magnitude; null when none

enum class Format { kText, kCsv, kMarkdown, kJson };
bool parseFormat(const std::string& text, Format* format);

// One cell: a number (NaN leaves the cell empty) or a text.
struct Cell {
  double number;
  std::string text;
  bool isText;
};
inline Cell numberCell(double x) { return {x, {}, false}; }
inline Cell textCell(std::string t) { return {0.0, std::move(t), true}; }

// Columns with names and units; rows of cells.
struct Table {
  std::string title;
  std::vector<std::string> names;
  std::vector<std::string> units;
  std::vector<std::vector<Cell>> rows;
};

// Text: aligned columns, units in a second header line, 6 significant
// digits. CSV (what Excel opens as is) and JSON: every digit (%.17g).
std::string formatTable(const Table& table, Format format);

// The call `function args...` under all six formulations (SI unless
// english). Columns: formulation, code, value, difference from IAPWS-95,
// relative difference. A formulation that fails shows "-999" or "#NUM!" and
// no difference. Returns false with a message for an unknown function or a
// wrong number of arguments.
bool compareTable(const std::string& function, const std::vector<double>& args, bool english,
                  Table* table, std::string* error);

// A list of values "a,b,c" or a range "from:to:step" (to included when the
// steps reach it within rounding). Errors: a bad number, a step of zero or of
// the wrong sign, an empty range, more than `limit` values.
bool parseValues(const std::string& text, std::size_t limit, std::vector<double>* values,
                 std::string* error);
bool rangeValues(double from, double to, double step, std::size_t limit,
                 std::vector<double>* values, std::string* error);

// The rows of a saturation table by temperature for a range of temperatures
// in the code's units: the range's temperatures on the saturation line, with
// those below the triple point replaced by the triple point and those at or
// above the critical temperature by the critical point, each once. A range
// with no temperature on the line and not spanning it is an error.
bool saturationTemperatures(const std::vector<double>& range, std::int32_t code,
                            std::vector<double>* rows, std::string* error);
// Saturation pressures must lie on the line: from the triple-point pressure
// to the critical pressure (the critical point).
bool checkSaturationPressures(const std::vector<double>& pressures, std::int32_t code,
                              std::string* error);
// A single-phase grid needs pressures above zero and temperatures above
// absolute zero.
bool checkGrid(const std::vector<double>& pressures, const std::vector<double>& temperatures,
               std::int32_t code, std::string* error);

// Steam tables for a formulation code (its sign selects the units).
Table saturationByTemperature(const std::vector<double>& temperatures, std::int32_t code,
                              const std::function<void(std::size_t)>& progress);
Table saturationByPressure(const std::vector<double>& pressures, std::int32_t code,
                           const std::function<void(std::size_t)>& progress);
// v, h, s at every (P, T), with the phase: supercritical at and above both
// the critical temperature and pressure, otherwise liquid above the
// saturation pressure and vapour at or below it (or above the critical
// temperature). States on the saturation line (a two-phase mixture of any
// quality) are left empty.
Table superheatTable(const std::vector<double>& pressures, const std::vector<double>& temperatures,
                     std::int32_t code, const std::function<void(std::size_t)>& progress);

// Writes text to path through a temporary file in the same folder and a
// rename, so a failed write never leaves a partial file. The temporary file
// is made by openOutput before any work, so an unwritable path fails first.
struct Output {
  std::string path;
  std::string temporary;
  std::FILE* file = nullptr;
};
bool openOutput(const std::string& path, Output* out, std::string* error);
bool commitOutput(Output* out, std::string* error);
void abandonOutput(Output* out);

// The subcommands; argv[0] is "compare", "table" or "chart". Returns the
// exit status (0, 2 for bad input or a failed write).
int runSubcommand(int argc, const char* const* argv);

}  // namespace vapordex::cli
