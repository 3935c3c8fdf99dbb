#include "cli.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frontend/catalogue.hpp"

namespace vapordex::cli {
namespace {

std::string call(std::initializer_list<const char*> words) {
  std::string result;
  const std::vector<const char*> argv(words);
  evaluate(static_cast<int>(argv.size()), argv.data(), &result);
  return result;
}

TEST(Cli, EveryRegisteredFunctionIsCallable) {
  int functions = 0;
  for (const FunctionInfo& fn : catalogue()) {
    std::string line = fn.name;
    for (const ArgumentInfo& a : fn.arguments) line += a.type == 'J' ? " -97" : " 1";
    std::string result;
    EXPECT_TRUE(evaluateLine(line.c_str(), &result)) << line << ": " << result;
    ++functions;
  }
  EXPECT_EQ(functions, 27);
}

TEST(Cli, ResultsAsExcelShowsThem) {
  EXPECT_EQ(call({"Psat", "300", "50"}), "-999");
  EXPECT_EQ(call({"VofTP", "300", "1", "50"}), "-999");
  EXPECT_EQ(call({"Tsat", "1", "50"}), "-999");
  EXPECT_EQ(call({"HofTP", "1e300", "1", "-97"}), "#NUM!");
  EXPECT_EQ(call({"HofTS", "500", "1.5", "-50", "7"}), "-999");
}

TEST(Cli, BadInputIsNamed) {
  struct Case {
    std::initializer_list<const char*> words;
    const char* message;
  };
  const std::string longWord(100, 'x');
  const std::string longMessage =
      "not a number: '" + std::string(64, 'x') + "... (100 characters)'";
  const Case cases[] = {
      {{"Pset", "300", "97"}, "unknown function: 'Pset'"},
      {{"Psat", "300"}, "wrong number of arguments: Psat takes 2, got 1"},
      {{"HofTS", "300", "1", "97"}, "wrong number of arguments: HofTS takes 4, got 3"},
      {{"Psat", "300x", "97"}, "not a number: '300x'"},
      {{"Psat", "", "97"}, "not a number: ''"},
      {{"Psat", "300", "97a"}, "not a number: '97a'"},
      {{"Psat", "300", "2147483648"}, "formulation code outside 32-bit range: '2147483648'"},
      {{"Psat", "300", "-2147483649"}, "formulation code outside 32-bit range: '-2147483649'"},
      {{"Psat", "300", "nan"}, "not a number: 'nan'"},
      {{"Psat", "300", "97.5"}, "formulation code is not an integer: '97.5'"},
      {{"Psat", "300", "97.0"}, "formulation code is not an integer: '97.0'"},
      {{"Psat", "300", "0x61"}, "not a number: '0x61'"},
      {{"Psat", "300", " 97"}, "not a number: ' 97'"},
      {{"Psat", "300", "99999999999999999999999"},
       "formulation code outside 32-bit range: '99999999999999999999999'"},
      {{"Psat", "1e999", "-97"}, "number out of range: '1e999'"},
      {{"Psat", "-1e999", "-97"}, "number out of range: '-1e999'"},
      {{"Psat", "1e-999", "-97"}, "number out of range: '1e-999'"},
      {{"Psat", "inf", "-97"}, "not a number: 'inf'"},
      {{"Psat", "-Infinity", "-97"}, "not a number: '-Infinity'"},
      {{"Psat", "nan", "-97"}, "not a number: 'nan'"},
      {{"Psat", "0x10", "-97"}, "not a number: '0x10'"},
      {{"Psat", " 373.15", "-97"}, "not a number: ' 373.15'"},
      {{"Psat", "373.15 ", "-97"}, "not a number: '373.15 '"},
      {{"Psat", ".", "-97"}, "not a number: '.'"},
      {{"Psat", "1e", "-97"}, "not a number: '1e'"},
      {{"Psat", "+-1", "-97"}, "not a number: '+-1'"},
      {{"Psat", longWord.c_str(), "-97"}, longMessage.c_str()},
  };
  for (const Case& c : cases) {
    std::string result;
    const std::vector<const char*> argv(c.words);
    EXPECT_FALSE(evaluate(static_cast<int>(argv.size()), argv.data(), &result));
    EXPECT_EQ(result, c.message);
  }
  EXPECT_EQ(call({"Psat", "300", "-2147483648"}), "-999");
  // Every plain decimal form Excel could pass is taken, down to denormals.
  EXPECT_EQ(call({"Psat", "+373.15", "-97"}), call({"Psat", "373.15", "-97"}));
  EXPECT_EQ(call({"Psat", "37315E-2", "-97"}), call({"Psat", "373.15", "-97"}));
  EXPECT_EQ(call({"Psat", "373.", "+97"}), call({"Psat", ".373e3", "97"}));
  EXPECT_EQ(call({"PofTV", "400", "4.9406564584124654e-324", "-97"}), "-999");
  EXPECT_EQ(call({"HofTP", "300", "0e5", "-97"}), "-999");
}

TEST(Cli, BatchAnswersEveryLineInPlace) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::fputs("Psat 300 50\n\nbogus 1 2\nHofTP 500 1000 97\nPsat 1 2 3 4 5 6 7 8 9\nTsat 1 -97", in);
  std::rewind(in);
  EXPECT_EQ(runBatch(in, out), 1);
  std::rewind(out);
  char buffer[4096];
  const std::size_t n = std::fread(buffer, 1, sizeof buffer, out);
  const std::string text(buffer, n);
  std::string expectedTsat;
  evaluateLine("Tsat 1 -97", &expectedTsat);
  // The blank line is skipped, an empty line in its place.
  EXPECT_EQ(text, "-999\n\nerror: unknown function: 'bogus'\n" +
                      call({"HofTP", "500", "1000", "97"}) + "\nerror: too many arguments: Psat\n" +
                      expectedTsat + "\n");
  std::fclose(in);
  std::fclose(out);
}

TEST(Cli, ListingIsUtf8) {
  const std::string text = listing();
  EXPECT_NE(text.find("Psat Ts formulation\n    saturation pressure [psia:MPa]\n"),
            std::string::npos);
  EXPECT_NE(text.find("[\xC2\xB0"
                      "F:K]"),
            std::string::npos);
  EXPECT_NE(text.find("ft\xC2\xB3/lbm:cm\xC2\xB3/g"), std::string::npos);
  // No code page 1252 byte is left unconverted.
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (static_cast<unsigned char>(text[k]) >= 0x80 &&
        static_cast<unsigned char>(text[k]) != 0xC2) {
      ASSERT_GT(k, 0u);
      EXPECT_EQ(static_cast<unsigned char>(text[k - 1]), 0xC2) << k;
    }
  }
  // HofTS's second code says that it is not used.
  EXPECT_NE(text.find("HofTS T S formulation [formulation]\n"), std::string::npos);
  EXPECT_NE(text.find("    [formulation]: a second code, not used (any integer)\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vapordex::cli
