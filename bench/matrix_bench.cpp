// Cost per call of every worksheet function under every formulation, over a
// fixed mix of states: liquid, vapour and supercritical from 300 K to 900 K
// and 0.01 MPa to 50 MPa (the saturation functions over 280 K to 640 K).
// Benchmarks are named "Matrix/FUNCTION/CODE"; `make bench` prints them as a
// table (tools/bench_table.py).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cli.hpp"
#include "frontend/catalogue.hpp"
#include "state_mix.hpp"

namespace {

using vapordex::bench::Call;
using vapordex::bench::callsFor;
using vapordex::bench::kCodes;

double call(const char* name, double a, double b, std::int32_t code) {
  return vapordex::callFunction(name, a, b, code);
}

// Registers one benchmark per function and code; each iteration is one call,
// cycling through the state mix.
[[maybe_unused]] const bool kRegistered = [] {
  for (const vapordex::FunctionInfo& f : vapordex::catalogue()) {
    for (std::int32_t code : kCodes) {
      const std::string name = std::string("Matrix/") + f.name + "/" + std::to_string(code);
      benchmark::RegisterBenchmark(name.c_str(), [&f, code](benchmark::State& state) {
        const std::vector<Call> calls = callsFor(call, f.name, code);
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
