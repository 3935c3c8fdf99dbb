// Cost per call of every worksheet function under every formulation, over a
// fixed mix of states: liquid, vapour and supercritical from 300 K to 900 K
// and 0.01 MPa to 50 MPa (the saturation functions over 280 K to 640 K).
// Benchmarks are named "Matrix/FUNCTION/CODE"; `make bench` prints them as a
// table (tools/bench_table.py).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "cli.hpp"
#include "frontend/catalogue.hpp"

namespace {

using vapordex::cli::callFunction;

constexpr int kStates = 64;
constexpr std::int32_t kCodes[] = {97, 95, 84, 69, 67, 20};

struct Call {
  double a;
  double b;
};

// A fixed pseudo-random sequence (no library generator, so the mix is the
// same everywhere).
double unit(std::uint64_t* s) {
  *s = *s * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<double>(*s >> 11) * 0x1.0p-53;
}

struct State {
  double T;
  double P;
};
std::vector<State> singlePhaseStates() {
  std::vector<State> states;
  std::uint64_t sequence = 1997;
  while (static_cast<int>(states.size()) < kStates) {
    const double T = 300.0 + 600.0 * unit(&sequence);
    const double P = std::exp(std::log(0.01) + std::log(5000.0) * unit(&sequence));
    // Keep clear of the saturation line, where a state's phase is a matter
    // of formulation.
    const double ps = callFunction("Psat", T, 0.0, -95);
    if (T < 647.0 && std::fabs(P / ps - 1.0) < 0.05) continue;
    states.push_back({T, P});
  }
  return states;
}

std::vector<Call> callsFor(const std::string& f, std::int32_t code) {
  std::vector<Call> calls;
  const std::int32_t si = -code;
  if (f == "Psat" || f[1] == 'f' || f[1] == 'g') {
    for (int k = 0; k < kStates; ++k) calls.push_back({280.0 + 360.0 * k / (kStates - 1), 0.0});
    return calls;
  }
  if (f == "Tsat") {
    for (int k = 0; k < kStates; ++k) {
      calls.push_back({callFunction("Psat", 280.0 + 360.0 * k / (kStates - 1), 0.0, si), 0.0});
    }
    return calls;
  }
  for (const State& s : singlePhaseStates()) {
    if (f == "VofTP" || f == "HofTP" || f == "SofTP") {
      calls.push_back({s.T, s.P});
    } else if (f == "PofTV" || f == "HofTV" || f == "SofTV") {
      calls.push_back({s.T, callFunction("VofTP", s.T, s.P, si)});
    } else if (f == "TofPH" || f == "SofPH") {
      calls.push_back({s.P, callFunction("HofTP", s.T, s.P, si)});
    } else if (f == "TofPS" || f == "HofPS") {
      calls.push_back({s.P, callFunction("SofTP", s.T, s.P, si)});
    } else {  // HofTS
      calls.push_back({s.T, callFunction("SofTP", s.T, s.P, si)});
    }
  }
  return calls;
}

// Registers one benchmark per function and code; each iteration is one call,
// cycling through the state mix.
[[maybe_unused]] const bool kRegistered = [] {
  for (const vapordex::FunctionInfo& f : vapordex::catalogue()) {
    for (std::int32_t code : kCodes) {
      const std::string name = std::string("Matrix/") + f.name + "/" + std::to_string(code);
      benchmark::RegisterBenchmark(name.c_str(), [&f, code](benchmark::State& state) {
        const std::vector<Call> calls = callsFor(f.name, code);
        const std::int32_t si = -code;
        std::size_t k = 0;
        for (auto _ : state) {
          const Call& c = calls[k];
          k = k + 1 == calls.size() ? 0 : k + 1;
          if (f.one != nullptr) {
            benchmark::DoNotOptimize(f.one(c.a, si));
          } else if (f.two != nullptr) {
            benchmark::DoNotOptimize(f.two(c.a, c.b, si));
          } else {
            benchmark::DoNotOptimize(f.twoCodes(c.a, c.b, si, 0));
          }
        }
      });
    }
  }
  return true;
}();

}  // namespace
