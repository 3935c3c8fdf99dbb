// The catalogue of the worksheet functions: for each, its name, its
// help text, its arguments (registration type, name, help text and the
// quantity each one is) and the exported function. The add-in registers from
// it (under the category kCategory), the command-line tool dispatches and
// lists from it, the tests iterate it. Texts are code page 1252 bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "../xlcall/xlcall.hpp"
#include "version.hpp"

namespace vapordex {

// What an argument is: a state variable in the unit system the code's sign
// selects, or the formulation code.
enum class Quantity { kTemperature, kPressure, kVolume, kEnthalpy, kEntropy, kCode };

struct ArgumentInfo {
  char type;  // registration type: 'B' a double, 'J' a 32-bit integer
  const char* name;
  const char* help;
  Quantity quantity;
};

using OneArgumentFunction = LPXLOPER(VDX_EXCEL_API*)(double, std::int32_t);
using TwoArgumentFunction = LPXLOPER(VDX_EXCEL_API*)(double, double, std::int32_t);
using TwoArgumentTwoCodeFunction = LPXLOPER(VDX_EXCEL_API*)(double, double, std::int32_t,
                                                            std::int32_t);

struct FunctionInfo {
  const char* name;
  const char* help;  // of the result
  std::span<const ArgumentInfo> arguments;
  // The exported function: exactly one is set, by the number of arguments.
  OneArgumentFunction one = nullptr;
  TwoArgumentFunction two = nullptr;
  TwoArgumentTwoCodeFunction twoCodes = nullptr;

  // The registration type text: 'R' (the result record), then each
  // argument's type.
  std::string typeText() const {
    std::string t(1, 'R');
    for (const ArgumentInfo& a : arguments) t += a.type;
    return t;
  }
};

// The category of every function and the add-in's name in Excel.
inline constexpr const char* kCategory = VDX_ADDIN_TITLE;

std::span<const FunctionInfo> catalogue();
// The function of a name, without regard to case as in Excel; null when none.
const FunctionInfo* findFunction(std::string_view name);

// Calls a worksheet function through its exported entry point with its
// numeric arguments and formulation codes in registration order (the first
// one or two of each are taken) and returns the record it answers.
LPXLOPER callWorksheet(const FunctionInfo& f, const double* numbers, const std::int32_t* codes);

// Calls the worksheet function `name` (one or two numeric arguments; b is
// ignored by the one-argument functions, HofTS gets 0 as its second code) and
// returns its number, or NaN for #NUM! or an unknown name.
double callFunction(std::string_view name, double a, double b, std::int32_t code);

// A text of the catalogue (code page 1252) in UTF-8.
std::string toUtf8(const char* text);

}  // namespace vapordex
