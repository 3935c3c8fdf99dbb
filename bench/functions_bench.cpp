// Cost of single worksheet calls, IAPWS-IF97.
#include <benchmark/benchmark.h>

#include "frontend/worksheet.hpp"

namespace {

void BM_HofTP_Region1(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(HofTP(400.0, 10.0, -97));
}
BENCHMARK(BM_HofTP_Region1);

void BM_HofTP_Region2(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(HofTP(700.0, 1.0, -97));
}
BENCHMARK(BM_HofTP_Region2);

void BM_HofTP_Region3(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(HofTP(650.0, 30.0, -97));
}
BENCHMARK(BM_HofTP_Region3);

void BM_Tsat(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Tsat(1.0, -97));
}
BENCHMARK(BM_Tsat);

void BM_TofPH(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TofPH(10.0, 3000.0, -97));
}
BENCHMARK(BM_TofPH);

void BM_PofTV(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PofTV(700.0, 10.0, -97));
}
BENCHMARK(BM_PofTV);

}  // namespace
