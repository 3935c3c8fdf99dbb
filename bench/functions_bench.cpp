// Cost of single worksheet calls, IAPWS-IF97.
#include <benchmark/benchmark.h>

#include "frontend/worksheet.hpp"

namespace {

// The IF97 forward functions in each region: region 1 (400 K, 10 MPa),
// region 2 (700 K, 1 MPa) and region 3 (650 K, 30 MPa).
void volume(benchmark::State& state, double T, double P) {
  for (auto _ : state) benchmark::DoNotOptimize(VofTP(T, P, -97));
}
void enthalpy(benchmark::State& state, double T, double P) {
  for (auto _ : state) benchmark::DoNotOptimize(HofTP(T, P, -97));
}
void entropy(benchmark::State& state, double T, double P) {
  for (auto _ : state) benchmark::DoNotOptimize(SofTP(T, P, -97));
}
BENCHMARK_CAPTURE(volume, Region1, 400.0, 10.0);
BENCHMARK_CAPTURE(enthalpy, Region1, 400.0, 10.0);
BENCHMARK_CAPTURE(entropy, Region1, 400.0, 10.0);
BENCHMARK_CAPTURE(volume, Region2, 700.0, 1.0);
BENCHMARK_CAPTURE(enthalpy, Region2, 700.0, 1.0);
BENCHMARK_CAPTURE(entropy, Region2, 700.0, 1.0);
BENCHMARK_CAPTURE(volume, Region3, 650.0, 30.0);
BENCHMARK_CAPTURE(enthalpy, Region3, 650.0, 30.0);
BENCHMARK_CAPTURE(entropy, Region3, 650.0, 30.0);

void BM_TofPH(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TofPH(10.0, 3000.0, -97));
}
BENCHMARK(BM_TofPH);

void BM_PofTV(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PofTV(700.0, 10.0, -97));
}
BENCHMARK(BM_PofTV);

}  // namespace
