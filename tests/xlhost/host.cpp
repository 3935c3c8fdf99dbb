// The Excel stand-in's host: loads a real add-in as Excel would, checks what
// it registers and how it answers Excel's calls, then calls every worksheet
// function over a list of cases and prints the results.
//
//   xlhost ADDIN.xll CASES [--excel-version V] [--fail-register-at N]
//
// Plays Excel of version V (default 16.0): from 12.0 on it expects the
// functions registered thread-safe, and replays a workbook-like load of
// the cases from 8 threads at once against one thread's results.
// Prints "case <line>\t<result>" per case, followed by the checks; exits 1
// when any check failed.
#include <windows.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/catalogue.hpp"
#include "standin.hpp"
#include "version.hpp"
#include "xlcall/xlcall.hpp"

namespace {

int gFailures = 0;

void check(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAIL: %s\n", what.c_str());
    ++gFailures;
  }
}

using AutoInt = int(__stdcall*)();
using AutoOper = LPXLOPER(__stdcall*)(LPXLOPER);
using One = LPXLOPER(__stdcall*)(double, std::int32_t);
using Two = LPXLOPER(__stdcall*)(double, double, std::int32_t);
using TwoCodes = LPXLOPER(__stdcall*)(double, double, std::int32_t, std::int32_t);

std::string escape(const std::string& s) {
  std::string out;
  char hex[8];
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '\n') {
      out += "\\n";
    } else if (b < 0x20 || b >= 0x7F) {
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::string format(const XLOPER* r) {
  if (r == nullptr) return "null";
  if (r->xltype == xltypeNum) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", r->val.num);
    return buffer;
  }
  if (r->xltype == xltypeErr && r->val.err == xlerrNum) return "#NUM!";
  return "type " + std::to_string(r->xltype);
}

// The registrations Excel should see, from the add-in's own table.
struct Expected {
  std::string name, type, arguments, help;
  std::vector<std::string> argumentHelps;
};

std::vector<Expected> expectedRegistrations() {
  std::vector<Expected> out;
  for (const vapordex::FunctionInfo& fn : vapordex::catalogue()) {
    Expected e{fn.name, fn.typeText(), "", fn.help, {}};
    for (const vapordex::ArgumentInfo& a : fn.arguments) {
      if (!e.arguments.empty()) e.arguments += ",";
      e.arguments += a.name;
      e.argumentHelps.push_back(a.help);
    }
    out.push_back(e);
  }
  return out;
}

void checkRegistrations(const StandinLog& log, std::size_t expectedCount) {
  std::vector<Expected> expected = expectedRegistrations();
  if (std::atoi(log.excelVersion.c_str()) >= 12) {
    for (Expected& e : expected) e.type += "$";
  }
  check(log.registrations.size() == expectedCount,
        "registrations: " + std::to_string(log.registrations.size()));
  for (std::size_t k = 0; k < log.registrations.size() && k < expected.size(); ++k) {
    const Registration& r = log.registrations[k];
    const Expected& e = expected[k];
    std::printf("register %d %s\n", r.count, escape(r.texts[0] + "|" + r.texts[1]).c_str());
    std::vector<std::string> want = {e.name, e.type, e.name, e.arguments, "1", vapordex::kCategory,
                                     "",     "",     e.help};
    for (const std::string& h : e.argumentHelps) want.push_back(h);
    check(r.count == static_cast<int>(e.argumentHelps.size()) + 10, e.name + ": argument count");
    check(r.texts == want, e.name + ": registration texts");
  }
}

// x87 control and status words and the SSE control/status register.
unsigned short x87Control() {
  unsigned short cw = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  return cw;
}
void setX87Control(unsigned short cw) { __asm__ __volatile__("fldcw %0" : : "m"(cw)); }
unsigned short x87Status() {
  unsigned short sw = 0;
  __asm__ __volatile__("fnstsw %0" : "=m"(sw));
  return sw;
}
void clearX87Flags() { __asm__ __volatile__("fnclex"); }

struct Case {
  std::string line;
  std::string name;
  std::vector<double> numbers;
  std::vector<std::int32_t> codes;
};

const XLOPER* callCase(HMODULE addin, const std::string& type, const Case& c) {
  FARPROC f = GetProcAddress(addin, c.name.c_str());
  if (f == nullptr) return nullptr;
  if (type == "RBJ")
    return reinterpret_cast<One>(reinterpret_cast<void*>(f))(c.numbers[0], c.codes[0]);
  if (type == "RBBJ") {
    return reinterpret_cast<Two>(reinterpret_cast<void*>(f))(c.numbers[0], c.numbers[1],
                                                             c.codes[0]);
  }
  if (type == "RBBJJ") {
    return reinterpret_cast<TwoCodes>(reinterpret_cast<void*>(f))(c.numbers[0], c.numbers[1],
                                                                  c.codes[0], c.codes[1]);
  }
  return nullptr;
}

// A result as Excel reads it: the record's type and the number's bits.
std::uint64_t resultBits(const XLOPER* r) {
  if (r == nullptr) return 0xDEADull;
  if (r->xltype != xltypeNum) return 0xFFFF000000000000ULL | (r->xltype << 16) | r->val.err;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &r->val.num, sizeof bits);
  return bits;
}

// Several threads calling the add-in at once, as Excel 2007 and later do
// in a multithreaded recalculation: each replays every call from its own
// place in the list and counts results that differ from one thread's.
struct Replay {
  HMODULE addin;
  const std::vector<std::string>* types;
  const std::vector<Case>* calls;
  const std::vector<std::uint64_t>* reference;
  std::size_t start;
  volatile LONG* ready;
  LONG threads;
  int differences;
};

DWORD WINAPI replayThread(LPVOID parameter) {
  Replay& r = *static_cast<Replay*>(parameter);
  InterlockedIncrement(r.ready);
  while (*r.ready < r.threads) Sleep(0);
  const std::size_t n = r.calls->size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = (r.start + i) % n;
    if (resultBits(callCase(r.addin, (*r.types)[k], (*r.calls)[k])) != (*r.reference)[k]) {
      ++r.differences;
    }
  }
  return 0;
}

XLOPER numberOper(double x) {
  XLOPER o;
  o.val.num = x;
  o.xltype = xltypeNum;
  return o;
}

XLOPER textOper(char* counted) {
  XLOPER o;
  o.val.str = counted;
  o.xltype = xltypeStr;
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: xlhost ADDIN.xll CASES [--fail-register-at N]\n");
    return 2;
  }
  StandinLog& log = *xlhostLog();
  bool failMode = false;
  for (int k = 3; k + 1 < argc; k += 2) {
    if (std::strcmp(argv[k], "--fail-register-at") == 0) {
      failMode = true;
      log.failRegisterAt = std::atoi(argv[k + 1]);
    } else if (std::strcmp(argv[k], "--excel-version") == 0) {
      log.excelVersion = argv[k + 1];
    }
  }
  std::printf("excel version %s\n", log.excelVersion.c_str());

  HMODULE addin = LoadLibraryA(argv[1]);
  if (addin == nullptr) {
    std::printf("FAIL: LoadLibrary %s: error %lu\n", argv[1], GetLastError());
    return 1;
  }
  auto proc = [&](const char* name) { return GetProcAddress(addin, name); };
  auto autoOpen = reinterpret_cast<AutoInt>(reinterpret_cast<void*>(proc("xlAutoOpen")));
  auto autoClose = reinterpret_cast<AutoInt>(reinterpret_cast<void*>(proc("xlAutoClose")));
  auto autoAdd = reinterpret_cast<AutoInt>(reinterpret_cast<void*>(proc("xlAutoAdd")));
  auto autoRemove = reinterpret_cast<AutoInt>(reinterpret_cast<void*>(proc("xlAutoRemove")));
  auto autoRegister = reinterpret_cast<AutoOper>(reinterpret_cast<void*>(proc("xlAutoRegister")));
  auto managerInfo =
      reinterpret_cast<AutoOper>(reinterpret_cast<void*>(proc("xlAddInManagerInfo")));
  check(autoOpen && autoClose && autoAdd && autoRemove && autoRegister && managerInfo,
        "xlAuto* entry points exported");
  check(proc("xlAutoFree") == nullptr, "no xlAutoFree");
  if (gFailures != 0) return 1;

  const int opened = autoOpen();
  std::printf("xlAutoOpen %d\n", opened);
  check(log.outstandingNames == 0, "the xlGetName answer was released");
  for (const std::string& p : log.problems) check(false, "C API: " + p);

  if (failMode) {
    // Registration stops at the failing call; nothing after it is tried.
    check(opened == 0, "xlAutoOpen returns 0 when a registration fails");
    check(log.registerCalls == log.failRegisterAt, "no function tried after the failure");
    checkRegistrations(log, static_cast<std::size_t>(log.failRegisterAt));
    check(log.alerts.size() == 1 && log.alerts[0] == "Error: Failed to register the XLL!",
          "failure alert");
    for (const std::string& a : log.alerts) std::printf("alert %s\n", escape(a).c_str());
    std::printf("%s\n", gFailures == 0 ? "ALL CHECKS PASSED" : "CHECKS FAILED");
    return gFailures == 0 ? 0 : 1;
  }

  check(opened == 1, "xlAutoOpen returns 1");
  checkRegistrations(log, expectedRegistrations().size());
  check(log.alerts.empty(), "no alert while opening");

  // The add-in manager asks for the title with action 1.
  char one[] =
      "\x01"
      "1";
  char x[] =
      "\x01"
      "x";
  XLOPER actions[] = {numberOper(1), textOper(one), numberOper(2), textOper(x)};
  const char* actionNames[] = {"1", "\"1\"", "2", "\"x\""};
  for (int k = 0; k < 4; ++k) {
    const XLOPER* r = managerInfo(&actions[k]);
    std::string shown =
        r->xltype == xltypeStr
            ? "str " +
                  escape(std::string(r->val.str + 1, static_cast<unsigned char>(r->val.str[0])))
            : "err " + std::to_string(r->val.err);
    std::printf("xlAddInManagerInfo(%s) %s\n", actionNames[k], shown.c_str());
    if (k < 2) {
      check(shown == "str " VDX_ADDIN_TITLE, "manager info title");
    } else {
      check(r->xltype == xltypeErr && r->val.err == xlerrValue, "manager info #VALUE!");
    }
  }
  char psat[] =
      "\x04"
      "Psat";
  XLOPER name = textOper(psat);
  const XLOPER* reg = autoRegister(&name);
  std::printf("xlAutoRegister %s\n", reg->xltype == xltypeErr ? "err" : "other");
  check(reg->xltype == xltypeErr && reg->val.err == xlerrValue, "xlAutoRegister #VALUE!");
  std::printf("xlAutoAdd %d\n", autoAdd());
  std::printf("xlAutoRemove %d\n", autoRemove());
  check(log.alerts.size() == 2, "two alerts");
  const char* events[] = {"Loaded", "Removed"};
  for (std::size_t k = 0; k < log.alerts.size() && k < 2; ++k) {
    const std::string& a = log.alerts[k];
    std::printf("alert %s\n", escape(a).c_str());
    const std::string head = std::string(VDX_ADDIN_TITLE " ") + events[k] + "!\nbuilt on ";
    check(a.compare(0, head.size(), head) == 0 && a.find(" at ") != std::string::npos,
          std::string("alert text ") + events[k]);
  }

  // The worksheet functions, through their exported entry points.
  std::vector<std::string> typeOf;
  std::ifstream in(argv[2]);
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '=' || line[0] == '~') line = line.substr(2);
    Case c;
    c.line = line;
    std::istringstream words(line);
    words >> c.name;
    cases.push_back(c);
  }
  const std::vector<Expected> expected = expectedRegistrations();
  auto typeFor = [&](const std::string& n) {
    for (const Expected& e : expected) {
      if (e.name == n) return e.type;
    }
    return std::string();
  };
  for (Case& c : cases) {
    const std::string type = typeFor(c.name);
    std::istringstream words(c.line);
    std::string word;
    words >> word;
    for (std::size_t k = 1; k < type.size(); ++k) {
      words >> word;
      if (type[k] == 'B') {
        c.numbers.push_back(std::strtod(word.c_str(), nullptr));
      } else {
        c.codes.push_back(static_cast<std::int32_t>(std::strtoll(word.c_str(), nullptr, 10)));
      }
    }
    const XLOPER* r = callCase(addin, type, c);
    check(r != nullptr, "call " + c.line);
    if (r != nullptr && r->xltype == xltypeNum) {
      check(std::isfinite(r->val.num), "finite number from " + c.line);
    }
    std::printf("case %s\t%s\n", c.line.c_str(), format(r).c_str());
  }

  // A workbook-like load: every case at 30 nearby states, from 8 threads at
  // once, each result bit for bit as one thread computed it.
  if (std::atoi(log.excelVersion.c_str()) >= 12) {
    std::vector<Case> load;
    std::vector<std::string> loadTypes;
    for (int m = 0; m < 30; ++m) {
      for (const Case& c : cases) {
        Case v = c;
        for (double& number : v.numbers) number *= 1.0 + 0.003 * m;
        load.push_back(v);
        loadTypes.push_back(typeFor(c.name));
      }
    }
    std::vector<std::uint64_t> reference;
    for (std::size_t k = 0; k < load.size(); ++k) {
      reference.push_back(resultBits(callCase(addin, loadTypes[k], load[k])));
    }
    constexpr LONG kThreads = 8;
    volatile LONG ready = 0;
    Replay replays[kThreads];
    HANDLE handles[kThreads];
    for (LONG t = 0; t < kThreads; ++t) {
      replays[t] = Replay{addin,
                          &loadTypes,
                          &load,
                          &reference,
                          load.size() * static_cast<std::size_t>(t) / kThreads,
                          &ready,
                          kThreads,
                          0};
      handles[t] = CreateThread(nullptr, 0, replayThread, &replays[t], 0, nullptr);
      check(handles[t] != nullptr, "thread created");
    }
    WaitForMultipleObjects(kThreads, handles, TRUE, INFINITE);
    int differences = 0;
    for (LONG t = 0; t < kThreads; ++t) {
      differences += replays[t].differences;
      CloseHandle(handles[t]);
    }
    std::printf("threads: %zu calls x %ld threads, %d differ from one thread\n", load.size(),
                static_cast<long>(kThreads), differences);
    check(load.size() >= 3000, "a load of several thousand calls");
    check(differences == 0, "8 threads give one thread's results");
  }

  // The caller's x87 precision changes nothing: every case at 24, 53 and
  // 64 bits gives the bits of the first pass (the functions compute at 53).
  {
    const unsigned short saved = x87Control();
    std::vector<std::uint64_t> first;
    for (const Case& c : cases) first.push_back(resultBits(callCase(addin, typeFor(c.name), c)));
    int differences = 0;
    for (int precision : {0x0000, 0x0200, 0x0300}) {
      setX87Control(static_cast<unsigned short>((saved & ~0x0300) | precision));
      for (std::size_t k = 0; k < cases.size(); ++k) {
        if (resultBits(callCase(addin, typeFor(cases[k].name), cases[k])) != first[k]) {
          ++differences;
        }
      }
      check(x87Control() == static_cast<unsigned short>((saved & ~0x0300) | precision),
            "the caller's precision restored");
    }
    setX87Control(saved);
    std::printf("x87 precision 24/53/64 bits: %d results differ\n", differences);
    check(differences == 0, "results independent of the caller's x87 precision");
  }

  // Once more with invalid, divide-by-zero and overflow unmasked: no trap,
  // and the floating-point state exactly as the host left it.
  const unsigned short cw = static_cast<unsigned short>(x87Control() & ~(0x01 | 0x04 | 0x08));
  const unsigned int csr = _mm_getcsr() & ~(0x80u | 0x200u | 0x400u) & ~0x3Fu;
  int fpChecked = 0;
  for (const Case& c : cases) {
    setX87Control(cw);
    clearX87Flags();
    _mm_setcsr(csr);
    callCase(addin, typeFor(c.name), c);
    const bool same = x87Control() == cw && (x87Status() & 0x3F) == 0 && _mm_getcsr() == csr;
    check(same, "floating-point state unchanged by " + c.line);
    ++fpChecked;
  }
  setX87Control(static_cast<unsigned short>(cw | 0x3F));
  _mm_setcsr(csr | 0x1F80u);
  std::printf("fp unmasked pass: %d calls\n", fpChecked);

  std::printf("xlAutoClose %d\n", autoClose());
  check(log.problems.empty(), "no C API problem");
  for (const std::string& p : log.problems) std::printf("problem %s\n", p.c_str());
  FreeLibrary(addin);
  std::printf("%s\n", gFailures == 0 ? "ALL CHECKS PASSED" : "CHECKS FAILED");
  return gFailures == 0 ? 0 : 1;
}
