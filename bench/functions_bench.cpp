// Cost of single worksheet calls, IAPWS-IF97: the forward functions over
// fixed mixes of 64 states in each region (region 1: 273.15 K to 623.15 K
// above the saturation pressure up to 100 MPa; region 2: up to 1073.15 K
// below the saturation pressure or the B23 line, from 0.01 MPa; region 3:
// 623.15 K to the B23 line's 100 MPa, from the B23 line up to 100 MPa), and
// a few single calls.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engines/if97/if97.hpp"
#include "frontend/worksheet.hpp"

namespace {

namespace if97 = vapordex::if97;

struct State {
  double T;
  double P;
};

double unit(std::uint64_t* s) {
  *s = *s * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<double>(*s >> 11) * 0x1.0p-53;
}

// Pressures log-uniform between the region's bounds at T.
std::vector<State> regionStates(int region) {
  std::vector<State> states;
  std::uint64_t sequence = 97 + static_cast<std::uint64_t>(region);
  while (states.size() < 64) {
    double T = 0.0;
    double low = 0.0;
    double high = 0.0;
    if (region == 1) {
      T = 273.15 + 350.0 * unit(&sequence);
      low = if97::saturationPressure(T);
      high = 100.0;
    } else if (region == 2) {
      T = 273.15 + 800.0 * unit(&sequence);
      low = 0.01;
      high = T < if97::kRegion3Temperature ? if97::saturationPressure(T)
                                           : std::fmin(if97::b23Pressure(T), 100.0);
    } else {
      T = if97::kRegion3Temperature + 240.0 * unit(&sequence);
      low = if97::b23Pressure(T);
      high = 100.0;
    }
    const double u = unit(&sequence);
    if (!(low < high)) continue;
    states.push_back({T, std::exp(std::log(low) + (std::log(high) - std::log(low)) * u)});
  }
  return states;
}

using Forward = LPXLOPER (*)(double, double, std::int32_t);

// Registered as "Region/N/FUNCTION".
[[maybe_unused]] const bool kRegionsRegistered = [] {
  const struct {
    const char* name;
    Forward f;
  } functions[] = {{"VofTP", VofTP}, {"HofTP", HofTP}, {"SofTP", SofTP}};
  for (int region = 1; region <= 3; ++region) {
    for (const auto& fn : functions) {
      const std::string name = "Region/" + std::to_string(region) + "/" + fn.name;
      benchmark::RegisterBenchmark(name.c_str(), [f = fn.f, region](benchmark::State& state) {
        const std::vector<State> states = regionStates(region);
        std::size_t k = 0;
        for (auto _ : state) {
          benchmark::DoNotOptimize(f(states[k].T, states[k].P, -97));
          k = k + 1 == states.size() ? 0 : k + 1;
        }
      });
    }
  }
  return true;
}();

void BM_TofPH(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TofPH(10.0, 3000.0, -97));
}
BENCHMARK(BM_TofPH);

void BM_PofTV(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PofTV(700.0, 10.0, -97));
}
BENCHMARK(BM_PofTV);

}  // namespace
