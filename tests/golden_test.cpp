// Every worksheet function answers the fixed calls of tests/fixtures/golden.tsv
// exactly as recorded there (the text the command-line tool prints, so every
// bit of the double). tools/regenerate_golden.sh rewrites the file when a
// change of results is intended; tools/golden_diff.py says what moved.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli.hpp"

namespace vapordex {
namespace {

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
    if (result != recorded && ++differences <= 20) {
      ADD_FAILURE() << call << ": " << result << ", recorded " << recorded;
    }
  }
  EXPECT_EQ(differences, 0) << "of " << calls << " calls";
  EXPECT_GT(calls, 20000);
}

}  // namespace
}  // namespace vapordex
