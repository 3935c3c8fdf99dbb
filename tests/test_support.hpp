// Helpers shared by the test programs.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "xlcall/xlcall.hpp"

namespace vapordex::testing {

// A fixed pseudo-random sequence in [0, 1) (a 64-bit linear congruential
// generator, so the states drawn are the same on every platform).
class UnitSequence {
 public:
  explicit UnitSequence(std::uint64_t start) : state_(start) {}
  double next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) * 0x1.0p-53;
  }

 private:
  std::uint64_t state_;
};

// Half a unit in the last digit of a printed reference value such as
// "0.100215168e-2": the largest difference that still rounds to it.
inline double halfUnitOfLastDigit(const std::string& printed) {
  const std::size_t e = printed.find_first_of("eE");
  const std::string mantissa = printed.substr(0, e);
  int digits = 0;
  bool leading = true;
  for (char c : mantissa) {
    if (c < '0' || c > '9') continue;
    if (leading && c == '0') continue;
    leading = false;
    ++digits;
  }
  const double value = std::fabs(std::strtod(printed.c_str(), nullptr));
  const double magnitude = std::floor(std::log10(value));
  return 0.5 * std::pow(10.0, magnitude - (digits - 1));
}

// Rows of a CSV file with a header row; fields split at commas (no quoting).
inline std::vector<std::vector<std::string>> readCsv(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, ',')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

// The central difference (f(x + dx) - f(x - dx)) / (2 dx).
template <class F>
double centralDifference(F f, double x, double dx) {
  return (f(x + dx) - f(x - dx)) / (2.0 * dx);
}

// The number in a result record, or NaN for an error record.
inline double number(const XLOPER* r) { return r->xltype == xltypeNum ? r->val.num : NAN; }

}  // namespace vapordex::testing
