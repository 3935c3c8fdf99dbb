// Throughput of `vapordex --batch` on IAPWS-IF97 forward calls: lines per
// second, parsing and printing included.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "cli.hpp"

namespace {

std::string makeInput(int lines) {
  const char* functions[] = {"VofTP", "HofTP", "SofTP"};
  std::string text;
  char line[96];
  for (int k = 0; k < lines; ++k) {
    const double T = 280.0 + (k % 900);
    const double P = 0.01 + 0.37 * (k % 271);
    std::snprintf(line, sizeof line, "%s %.6g %.6g -97\n", functions[k % 3], T, P);
    text += line;
  }
  return text;
}

void BM_BatchIf97Forward(benchmark::State& state) {
  const int lines = 100000;
  std::string input = makeInput(lines);
  std::FILE* sink = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    std::FILE* in = fmemopen(input.data(), input.size(), "r");
    benchmark::DoNotOptimize(vapordex::cli::runBatch(in, sink));
    std::fclose(in);
  }
  std::fclose(sink);
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_BatchIf97Forward)->Unit(benchmark::kMillisecond);

}  // namespace
