// The add-in shell against a stand-in for Excel's callbacks.
#include "shell/shell.hpp"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "version.hpp"

namespace {

struct Call {
  int xlfn;
  std::vector<std::string> texts;  // string arguments (counted), "#<n>" for numbers/ints
  int count;
};

std::vector<Call> gCalls;
int gFailRegisterAt = 0;
int gRegisterCalls = 0;
// What GET.WORKSPACE(2) answers: a counted version text, or none (empty).
std::string gVersion;
char gVersionText[16];
char gModule[] =
    "\x0c"
    "C:\\addin.xll";

std::string describe(const XLOPER* x) {
  if (x->xltype == xltypeStr) {
    const auto n = static_cast<unsigned char>(x->val.str[0]);
    EXPECT_EQ(std::strlen(x->val.str + 1), n) << "length byte";
    return std::string(x->val.str + 1, n);
  }
  if (x->xltype == xltypeInt) return "#" + std::to_string(x->val.w);
  if (x->xltype == xltypeNum) return "#" + std::to_string(x->val.num);
  return "?";
}

int answer(int xlfn, LPXLOPER result, int count, LPXLOPER* opers) {
  Call call{xlfn, {}, count};
  for (int k = 0; k < count; ++k) call.texts.push_back(describe(opers[k]));
  gCalls.push_back(call);
  if (xlfn == xlGetName) {
    result->val.str = gModule;
    result->xltype = xltypeStr;
  } else if (xlfn == xlCoerce) {
    const XLOPER* x = opers[0];
    if (x->xltype == xltypeNum) {
      result->val.w = static_cast<short>(x->val.num);
      result->xltype = xltypeInt;
    } else if (x->xltype == xltypeStr && describe(x) == "1") {
      result->val.w = 1;
      result->xltype = xltypeInt;
    } else {
      return xlretFailed;
    }
  } else if (xlfn == xlfGetWorkspace) {
    if (gVersion.empty()) return xlretFailed;
    gVersionText[0] = static_cast<char>(gVersion.size());
    std::memcpy(gVersionText + 1, gVersion.c_str(), gVersion.size() + 1);
    result->val.str = gVersionText;
    result->xltype = xltypeStr;
  } else if (xlfn == xlfRegister) {
    ++gRegisterCalls;
    if (gRegisterCalls == gFailRegisterAt) return xlretFailed;
  }
  return xlretSuccess;
}

}  // namespace

extern "C" int Excel4(int xlfn, LPXLOPER result, int count, ...) {
  LPXLOPER opers[30];
  va_list ap;
  va_start(ap, count);
  for (int k = 0; k < count; ++k) opers[k] = va_arg(ap, LPXLOPER);
  va_end(ap);
  return answer(xlfn, result, count, opers);
}

extern "C" int Excel4v(int xlfn, LPXLOPER result, int count, LPXLOPER opers[]) {
  return answer(xlfn, result, count, opers);
}

namespace vapordex::shell {
namespace {

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    gCalls.clear();
    gFailRegisterAt = 0;
    gRegisterCalls = 0;
    gVersion.clear();
  }
  std::vector<Call> callsOf(int xlfn) const {
    std::vector<Call> out;
    for (const Call& c : gCalls) {
      if (c.xlfn == xlfn) out.push_back(c);
    }
    return out;
  }
};

const char* const kF = "67=ASME, 69=KKHM, 84=NBS/NRC, 95=SF95, 97=IF97, 20=2020";

TEST_F(Shell, RegistrationListEntryByEntry) {
  char** list = buildRegistrationList(catalogue());
  ASSERT_NE(list, nullptr);
  const std::vector<std::string> psat = {"Psat",
                                         "RBJ",
                                         "Ts,formulation",
                                         "saturation pressure [psia:MPa]",
                                         "saturation temperature [\xB0"
                                         "F:K]",
                                         kF};
  for (std::size_t k = 0; k < psat.size(); ++k) EXPECT_EQ(list[k], psat[k]) << k;
  EXPECT_EQ(list[psat.size()], nullptr);
  // Walk to HofTS and to the end.
  char** fn = list;
  int functions = 0;
  char** hofts = nullptr;
  while (*fn != nullptr) {
    if (std::strcmp(*fn, "HofTS") == 0) hofts = fn;
    while (*fn != nullptr) ++fn;
    ++fn;
    ++functions;
  }
  EXPECT_EQ(functions, 27);
  ASSERT_NE(hofts, nullptr);
  const std::vector<std::string> expected = {"HofTS",
                                             "RBBJJ",
                                             "T,S,formulation,formulation",
                                             "enthalpy [BTU/lbm:kJ/kg]",
                                             "temperature [\xB0"
                                             "F:K]",
                                             "entropy [BTU/lbm/\xB0"
                                             "R:kJ/kg/\xB0"
                                             "K]",
                                             "67=ASME, 69=KKHM, 84=NBS/NRC, 95=SF95, 97=IF97",
                                             kF};
  for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(hofts[k], expected[k]) << k;
  EXPECT_EQ(hofts[expected.size()], nullptr);
  // The list ends with two null entries in a row.
  EXPECT_EQ(fn[-1], nullptr);
  EXPECT_EQ(fn[0], nullptr);
  freeRegistrationList(list);
}

TEST_F(Shell, AutoOpenRegistersEveryFunction) {
  EXPECT_EQ(xlAutoOpen(), 1);
  const std::vector<Call> registers = callsOf(xlfRegister);
  ASSERT_EQ(registers.size(), 27u);
  const Call& psat = registers[0];
  EXPECT_EQ(psat.count, 12);
  const std::vector<std::string> want = {"C:\\addin.xll",
                                         "Psat",
                                         "RBJ",
                                         "Psat",
                                         "Ts,formulation",
                                         "1",
                                         VDX_ADDIN_TITLE,
                                         "",
                                         "",
                                         "saturation pressure [psia:MPa]",
                                         "saturation temperature [\xB0"
                                         "F:K]",
                                         kF};
  EXPECT_EQ(psat.texts, want);
  EXPECT_EQ(registers[15].count, 14);
  EXPECT_EQ(registers[15].texts[2], "RBBJJ");
  EXPECT_EQ(registers[15].texts[4], "T,S,formulation,formulation");
  // Excel's version is asked for first; the file name once, and released at
  // the end.
  EXPECT_EQ(gCalls[0].xlfn, xlfGetWorkspace);
  EXPECT_EQ(gCalls[0].texts, std::vector<std::string>{"#2.000000"});
  EXPECT_EQ(gCalls[1].xlfn, xlGetName);
  EXPECT_EQ(gCalls.back().xlfn, xlFree);
  EXPECT_TRUE(callsOf(xlcAlert).empty());
}

// Excel 97 to 2003 get the registration exactly as before; Excel 2007 and
// later the same texts with every type text marked thread-safe.
TEST_F(Shell, ThreadSafeFromExcel2007) {
  struct Case {
    const char* version;
    bool threadSafe;
  };
  for (const Case& c : {Case{"", false}, Case{"8.0", false}, Case{"11.0", false},
                        Case{"12.0", true}, Case{"16.0", true}, Case{"16.0x", true}}) {
    gCalls.clear();
    gRegisterCalls = 0;
    gVersion = c.version;
    EXPECT_EQ(xlAutoOpen(), 1) << c.version;
    const std::vector<Call> registers = callsOf(xlfRegister);
    ASSERT_EQ(registers.size(), catalogue().size()) << c.version;
    for (std::size_t k = 0; k < registers.size(); ++k) {
      const std::string want = catalogue()[k].typeText() + (c.threadSafe ? "$" : "");
      EXPECT_EQ(registers[k].texts[2], want) << c.version;
      EXPECT_EQ(registers[k].count, static_cast<int>(catalogue()[k].arguments.size()) + 10);
    }
    // The version text is released like the file name.
    EXPECT_EQ(callsOf(xlFree).size(), gVersion.empty() ? 1u : 2u) << c.version;
    EXPECT_EQ(xlAutoClose(), 1);
  }
  EXPECT_EQ(excelMajorVersion(), 16);
  gVersion = "9.0";
  EXPECT_EQ(excelMajorVersion(), 9);
  gVersion = "";
  EXPECT_EQ(excelMajorVersion(), 0);
}

TEST_F(Shell, FailedRegistrationStopsWithAnAlert) {
  gFailRegisterAt = 3;
  EXPECT_EQ(xlAutoOpen(), 0);
  EXPECT_EQ(callsOf(xlfRegister).size(), 3u);
  const std::vector<Call> alerts = callsOf(xlcAlert);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].texts[0], "Error: Failed to register the XLL!");
  EXPECT_EQ(alerts[0].texts[1], "#2");
  EXPECT_EQ(callsOf(xlFree).size(), 1u);
}

// A table with one function of n double arguments.
struct Table {
  std::vector<ArgumentInfo> arguments;
  FunctionInfo function;
  std::span<const FunctionInfo> span() const { return {&function, 1}; }
};
Table tableWithArguments(int n) {
  Table t;
  t.arguments.assign(static_cast<std::size_t>(n),
                     {'B', "x", "an argument", Quantity::kTemperature});
  t.function = {.name = "Many", .help = "many arguments", .arguments = {}};
  return t;
}

TEST_F(Shell, ThirtyArgumentsAtMost) {
  Table tooMany = tableWithArguments(31);
  tooMany.function.arguments = tooMany.arguments;
  EXPECT_EQ(buildRegistrationList(tooMany.span()), nullptr);
  EXPECT_EQ(registerFunctions(tooMany.span()), 0);
  EXPECT_TRUE(callsOf(xlfRegister).empty());
  const std::vector<Call> alerts = callsOf(xlcAlert);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].texts[0], "Error: can't build function params!");

  gCalls.clear();
  Table thirty = tableWithArguments(30);
  thirty.function.arguments = thirty.arguments;
  EXPECT_EQ(registerFunctions(thirty.span()), 1);
  const std::vector<Call> registers = callsOf(xlfRegister);
  ASSERT_EQ(registers.size(), 1u);
  EXPECT_EQ(registers[0].count, 40);
  EXPECT_EQ(registers[0].texts[2], "R" + std::string(30, 'B'));
}

TEST_F(Shell, ArgumentTextMustFitItsBuffer) {
  const std::string longName(200, 'a');
  const ArgumentInfo arguments[] = {{'B', longName.c_str(), "h", Quantity::kTemperature},
                                    {'B', longName.c_str(), "h", Quantity::kTemperature}};
  const FunctionInfo table[] = {{.name = "Long", .help = "help", .arguments = arguments}};
  EXPECT_EQ(buildRegistrationList(table), nullptr);
}

TEST_F(Shell, AddInManagerAndRegisterRequests) {
  XLOPER one;
  one.val.num = 1;
  one.xltype = xltypeNum;
  const XLOPER* r = xlAddInManagerInfo(&one);
  ASSERT_EQ(r->xltype, xltypeStr);
  EXPECT_EQ(std::string(r->val.str + 1, static_cast<unsigned char>(r->val.str[0])),
            VDX_ADDIN_TITLE);
  char text1[] =
      "\x01"
      "1";
  char textX[] =
      "\x01"
      "x";
  XLOPER s1;
  s1.val.str = text1;
  s1.xltype = xltypeStr;
  EXPECT_EQ(xlAddInManagerInfo(&s1)->xltype, xltypeStr);
  XLOPER two = one;
  two.val.num = 2;
  XLOPER sx;
  sx.val.str = textX;
  sx.xltype = xltypeStr;
  for (XLOPER* action : {&two, &sx}) {
    r = xlAddInManagerInfo(action);
    EXPECT_EQ(r->xltype, xltypeErr);
    EXPECT_EQ(r->val.err, xlerrValue);
  }
  for (char* name : {text1, textX}) {
    XLOPER n;
    n.val.str = name;
    n.xltype = xltypeStr;
    r = xlAutoRegister(&n);
    EXPECT_EQ(r->xltype, xltypeErr);
    EXPECT_EQ(r->val.err, xlerrValue);
  }
}

TEST_F(Shell, AddAndRemoveAlerts) {
  EXPECT_EQ(xlAutoAdd(), 1);
  EXPECT_EQ(xlAutoRemove(), 1);
  EXPECT_EQ(xlAutoClose(), 1);
  const std::vector<Call> alerts = callsOf(xlcAlert);
  ASSERT_EQ(alerts.size(), 2u);
  const std::string built = std::string("\nbuilt on ") + __DATE__ + " at ";
  EXPECT_EQ(alerts[0].texts[0].rfind(VDX_ADDIN_TITLE " Loaded!" + built, 0), 0u);
  EXPECT_EQ(alerts[1].texts[0].rfind(VDX_ADDIN_TITLE " Removed!" + built, 0), 0u);
  EXPECT_EQ(alerts[0].texts[0].size(),
            std::string(VDX_ADDIN_TITLE " Loaded!").size() + built.size() + 8);
}

}  // namespace
}  // namespace vapordex::shell
