// Cost per call of the real add-in under Windows (or Wine): loads ADDIN.xll
// beside the stand-in XLCALL32.DLL and times every worksheet function under
// every formulation over the native benchmarks' state mixes, through the
// add-in's exported entry points.
//
//   xlbench ADDIN.xll [ROUNDS]
//
// Prints "FUNCTION CODE NS" per function and code: the best of ROUNDS
// (default 5) passes over the mix, in ns per call.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../bench/state_mix.hpp"
#include "frontend/catalogue.hpp"
#include "xlcall/xlcall.hpp"

namespace {

using One = LPXLOPER(__stdcall*)(double, std::int32_t);
using Two = LPXLOPER(__stdcall*)(double, double, std::int32_t);
using TwoCodes = LPXLOPER(__stdcall*)(double, double, std::int32_t, std::int32_t);

HMODULE gAddin = nullptr;

// What one access to a thread-local block costs with this compiler and C
// runtime (the add-in reaches its kept values and its result record the
// same way), against the same work on a block reached through a pointer.
struct Block {
  double values[64];
};
thread_local Block gBlock{};
Block gShared{};
Block* volatile gSharedAddress = &gShared;
[[gnu::noinline]] Block& threadBlock() { return gBlock; }
[[gnu::noinline]] Block& sharedBlock() { return *gSharedAddress; }

template <Block& (*Reach)()>
double accessCost(const LARGE_INTEGER& frequency) {
  constexpr int kAccesses = 20000000;
  double best = 1e300;
  double sum = 0.0;
  for (int r = 0; r < 5; ++r) {
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    QueryPerformanceCounter(&t0);
    for (int k = 0; k < kAccesses; ++k) {
      Block& b = Reach();
      b.values[k & 63] += 1.0;
      sum += b.values[(k * 7) & 63];
    }
    QueryPerformanceCounter(&t1);
    const double ns = static_cast<double>(t1.QuadPart - t0.QuadPart) * 1e9 /
                      static_cast<double>(frequency.QuadPart) / kAccesses;
    if (ns < best) best = ns;
  }
  if (sum == 0.5) std::printf("#\n");  // keeps the sums
  return best;
}

void threadLocalCost(const LARGE_INTEGER& frequency) {
  const double local = accessCost<threadBlock>(frequency);
  const double shared = accessCost<sharedBlock>(frequency);
  std::printf("# thread-local access %.2f ns, through a pointer %.2f ns: %.2f ns more\n", local,
              shared, local - shared);
}

double number(const XLOPER* r) {
  return r != nullptr && r->xltype == xltypeNum ? r->val.num : -999.0;
}

// One call of the add-in's function by name, with its catalogue entry's shape.
const XLOPER* callAddin(const vapordex::FunctionInfo& f, FARPROC p, double a, double b,
                        std::int32_t code) {
  void* fn = reinterpret_cast<void*>(p);
  if (f.one != nullptr) return reinterpret_cast<One>(fn)(a, code);
  if (f.two != nullptr) return reinterpret_cast<Two>(fn)(a, b, code);
  return reinterpret_cast<TwoCodes>(fn)(a, b, code, 0);
}

const vapordex::FunctionInfo* find(const char* name) {
  for (const vapordex::FunctionInfo& f : vapordex::catalogue()) {
    if (std::string(f.name) == name) return &f;
  }
  return nullptr;
}

double call(const char* name, double a, double b, std::int32_t code) {
  const vapordex::FunctionInfo* f = find(name);
  return number(callAddin(*f, GetProcAddress(gAddin, name), a, b, code));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xlbench ADDIN.xll [ROUNDS]\n");
    return 2;
  }
  gAddin = LoadLibraryA(argv[1]);
  if (gAddin == nullptr) {
    std::fprintf(stderr, "xlbench: cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (const vapordex::FunctionInfo& f : vapordex::catalogue()) {
    const FARPROC p = GetProcAddress(gAddin, f.name);
    if (p == nullptr) {
      std::fprintf(stderr, "xlbench: no export %s\n", f.name);
      return 1;
    }
    for (const std::int32_t code : vapordex::bench::kCodes) {
      const std::vector<vapordex::bench::Call> calls =
          vapordex::bench::callsFor(call, f.name, code);
      // Enough repetitions of the mix for about 20 ms at the first pass's pace.
      LARGE_INTEGER t0;
      LARGE_INTEGER t1;
      QueryPerformanceCounter(&t0);
      for (const vapordex::bench::Call& c : calls) callAddin(f, p, c.a, c.b, -code);
      QueryPerformanceCounter(&t1);
      const double once =
          static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart);
      const int repeats = once > 0.0 ? static_cast<int>(0.02 / once) + 1 : 1000;
      double best = 1e300;
      for (int r = 0; r < rounds; ++r) {
        QueryPerformanceCounter(&t0);
        for (int k = 0; k < repeats; ++k) {
          for (const vapordex::bench::Call& c : calls) callAddin(f, p, c.a, c.b, -code);
        }
        QueryPerformanceCounter(&t1);
        const double seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) /
                               static_cast<double>(frequency.QuadPart);
        const double ns =
            seconds * 1e9 / (static_cast<double>(repeats) * static_cast<double>(calls.size()));
        if (ns < best) best = ns;
      }
      std::printf("%s %d %.1f\n", f.name, static_cast<int>(code), best);
    }
  }
  threadLocalCost(frequency);
  return 0;
}
