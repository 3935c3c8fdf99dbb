// Throughput on several cores: a mixed workload (every worksheet function
// under every formulation over the fixed state mix, as a workbook's cells
// would call them) on 1, 2 and all hardware threads at once, beside the same
// machine's scaling of a pure compute loop that shares nothing. The ratio of
// the two scalings says how much of the machine's parallelism the functions
// keep. `make bench` prints both (tools/bench_table.py).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "cli.hpp"
#include "frontend/catalogue.hpp"
#include "state_mix.hpp"

namespace {

using vapordex::bench::Call;

double call(const char* name, double a, double b, std::int32_t code) {
  return vapordex::callFunction(name, a, b, code);
}

struct MixedCall {
  const vapordex::FunctionInfo* function;
  Call c;
  std::int32_t code;
};

// Every function and code, its state mix interleaved: 19 x 6 x 64 calls.
const std::vector<MixedCall>& mixedWorkload() {
  static const std::vector<MixedCall> calls = [] {
    std::vector<MixedCall> out;
    for (const vapordex::FunctionInfo& f : vapordex::catalogue()) {
      for (std::int32_t code : vapordex::bench::kCodes) {
        for (const Call& c : vapordex::bench::callsFor(call, f.name, code)) {
          out.push_back({&f, c, -code});
        }
      }
    }
    // Interleave: a stride coprime with the size mixes functions and codes.
    std::vector<MixedCall> mixed;
    const std::size_t n = out.size();
    for (std::size_t k = 0, i = 0; k < n; ++k, i = (i + 7919) % n) mixed.push_back(out[i]);
    return mixed;
  }();
  return calls;
}

void BM_MixedWorkload(benchmark::State& state) {
  const std::vector<MixedCall>& calls = mixedWorkload();
  // Each thread starts at its own place in the list.
  std::size_t k = calls.size() * static_cast<std::size_t>(state.thread_index()) /
                  static_cast<std::size_t>(state.threads());
  for (auto _ : state) {
    const MixedCall& m = calls[k];
    k = k + 1 == calls.size() ? 0 : k + 1;
    const vapordex::FunctionInfo& f = *m.function;
    if (f.one != nullptr) {
      benchmark::DoNotOptimize(f.one(m.c.a, m.code)->val.num);
    } else if (f.two != nullptr) {
      benchmark::DoNotOptimize(f.two(m.c.a, m.c.b, m.code)->val.num);
    } else {
      benchmark::DoNotOptimize(f.twoCodes(m.c.a, m.c.b, m.code, 0)->val.num);
    }
  }
  state.SetItemsProcessed(state.iterations());
}

// A loop of dependent floating-point operations of about a worksheet call's
// length, touching no memory: the machine's own scaling.
void BM_ComputeLoop(benchmark::State& state) {
  double x = 1.0 + 1e-3 * state.thread_index();
  for (auto _ : state) {
    for (int i = 0; i < 256; ++i) x = x * 0.999999 + 1e-7;
    benchmark::DoNotOptimize(x);
  }
  state.SetItemsProcessed(state.iterations());
}

const int kAllThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

BENCHMARK(BM_MixedWorkload)->Threads(1)->Threads(2)->Threads(kAllThreads)->UseRealTime();
BENCHMARK(BM_ComputeLoop)->Threads(1)->Threads(2)->Threads(kAllThreads)->UseRealTime();

}  // namespace
