// Every worksheet function answers the fixed calls of tests/fixtures/golden.tsv
// as recorded there: texts (#NUM!, error messages) exactly, numbers within
// the rounding that speed work may change. Closed-form evaluations (Psat, and
// the (T, v) functions of the Helmholtz and 2020 formulations) within 1e-13
// relative; results of iterative solvers, whose stopping tests may flip on a
// last-bit change, within 1e-9 relative. tools/regenerate_golden.sh rewrites
// the file when a change of results is intended; tools/golden_diff.py says
// what moved.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.hpp"

namespace vapordex {
namespace {

// The relative tolerance of a call "FUNCTION ARG... CODE".
double tolerance(const std::string& call) {
  std::istringstream in(call);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  const std::string& function = words.front();
  // HofTS carries a second, ignored code after the formulation.
  const std::string& code = words[words.size() - (function == "HofTS" ? 2 : 1)];
  const long magnitude = std::labs(std::strtol(code.c_str(), nullptr, 10));
  const bool densityBased =
      magnitude == 69 || magnitude == 84 || magnitude == 95 || magnitude == 20;
  const bool closedForm =
      function == "Psat" ||
      (densityBased && (function == "PofTV" || function == "HofTV" || function == "SofTV"));
  return closedForm ? 1e-13 : 1e-9;
}

bool agrees(const std::string& result, const std::string& recorded, double relative) {
  if (result == recorded) return true;
  char* end = nullptr;
  const double a = std::strtod(result.c_str(), &end);
  if (*end != '\0' || result.empty()) return false;
  const double b = std::strtod(recorded.c_str(), &end);
  if (*end != '\0' || recorded.empty()) return false;
  return std::fabs(a - b) <= relative * std::fabs(b);
}

TEST(Golden, EveryCallAnswersAsRecorded) {
  std::ifstream in(VDX_FIXTURES_DIR "/golden.tsv");
  ASSERT_TRUE(in.good());
  std::string line;
  int calls = 0;
  int differences = 0;
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    const std::string call = line.substr(0, tab);
    const std::string recorded = line.substr(tab + 1);
    std::string result;
    if (!cli::evaluateLine(call.c_str(), &result)) result = "error: " + result;
    ++calls;
    if (!agrees(result, recorded, tolerance(call)) && ++differences <= 20) {
      ADD_FAILURE() << call << ": " << result << ", recorded " << recorded;
    }
  }
  EXPECT_EQ(differences, 0) << "of " << calls << " calls";
  EXPECT_GT(calls, 20000);
}

}  // namespace
}  // namespace vapordex
